// Test helper: stores each score given, in order, under the given name prefix,
// as a leaving contest does. With DECALUMO_TEST_KILL_AT_STEP=n it kills itself
// with SIGKILL right after step n of its first store.
#include "Failure.h"
#include "RecordStore.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fputs("usage: storer DIR NAME-PREFIX SCORE...\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int killAt = qEnvironmentVariableIntValue("DECALUMO_TEST_KILL_AT_STEP");
    const PairSwitch::Hooks hooks{::fsync, [killAt](int step) {
                                      if (step == killAt)
                                          ::raise(SIGKILL);
                                  }};
    try {
        for (int i = 3; i < argc; ++i) {
            const QString score = QString::fromLocal8Bit(argv[i]);
            RecordStore::store(dir, score, prefix + score, hooks);
        }
    } catch (const Failure &failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}
