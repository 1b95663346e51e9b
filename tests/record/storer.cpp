// Test helper, run as: record_storer KILL-AT-STEP DIR NAME-PREFIX SCORE...
// A copy of the program leaving once for each score, in order, storing it under
// the name prefix followed by the score. With KILL-AT-STEP above 0 it kills
// itself right after that step of its first store, as a crash would.
#include "Failure.h"
#include "RecordStore.h"

#include <csignal>
#include <unistd.h>

int main(int argc, char *argv[])
{
    const PairSwitch::Hooks hooks{::fsync, [killAt = QByteArray(argv[1]).toInt()](int step) { if (step == killAt) ::raise(SIGKILL); }};
    try {
        for (int i = 4; i < argc; ++i)
            RecordStore::store(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[3]) + argv[i], hooks);
    } catch (const Failure &failure) {
        qWarning("%s", failure.what());
        return 1;
    }
}
