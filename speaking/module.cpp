// The part of the program that links espeak-ng and the sound server's
// client library, loaded on demand.
#include "EspeakSynthesis.h"
#include "ModuleEntry.h"
#include "PulseOutput.h"

extern "C" Q_DECL_EXPORT std::unique_ptr<Synthesis> decalumoMakeSynthesis()
{
    return EspeakSynthesis::make();
}

extern "C" Q_DECL_EXPORT std::unique_ptr<SoundOutput> decalumoMakeSound()
{
    return std::make_unique<PulseOutput>();
}
