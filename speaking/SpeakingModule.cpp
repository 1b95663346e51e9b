#include "SpeakingModule.h"

#include "ModuleEntry.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>
#include <cstdio>
#include <mutex>

namespace {

struct Entries
{
    SynthesisMaker synthesis = nullptr;
    SoundMaker sound = nullptr;
};

// Beside the program in the build tree, and under the prefix it is installed in.
QStringList places()
{
    const QString here = QCoreApplication::applicationDirPath();
    return {here, here + QStringLiteral("/../lib/games/decalumo")};
}

Entries load()
{
    QString reason;
    for (const QString &place : places()) {
        // Kept loaded for the rest of the process: its threads may outlive any owner.
        auto *library = new QLibrary(place + QLatin1Char('/') + QLatin1String(ModuleEntry::fileName));
        if (!library->load()) {
            reason = library->errorString();
            delete library;
            continue;
        }
        const Entries entries{reinterpret_cast<SynthesisMaker>(library->resolve(ModuleEntry::synthesis)),
                              reinterpret_cast<SoundMaker>(library->resolve(ModuleEntry::sound))};
        if (entries.synthesis && entries.sound)
            return entries;
        reason = library->errorString();
    }
    std::fputs(qPrintable(QStringLiteral("Decalumo: il mago parlerà solo per scritto e senza suono, perché "
                                         "manca il suo modulo %1 (%2). Reinstallare il pacchetto Debian "
                                         "decalumo.\n")
                              .arg(QLatin1String(ModuleEntry::fileName), reason)),
               stderr);
    return {};
}

const Entries &entries()
{
    static std::once_flag once;
    static Entries loaded;
    std::call_once(once, [] { loaded = load(); });
    return loaded;
}

} // namespace

std::unique_ptr<Synthesis> SpeakingModule::synthesis()
{
    return entries().synthesis ? entries().synthesis() : nullptr;
}

std::unique_ptr<SoundOutput> SpeakingModule::sound()
{
    return entries().sound ? entries().sound() : nullptr;
}
