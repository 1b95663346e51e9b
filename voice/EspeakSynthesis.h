#pragma once

#include "Synthesis.h"

// The Italian voice of espeak-ng, synthesised into memory. The library keeps
// global state: one of these in a process, on one thread.
class EspeakSynthesis : public Synthesis
{
public:
    QString start() override;
    Clip say(const QString &text) override;

    static std::unique_ptr<Synthesis> make() { return std::make_unique<EspeakSynthesis>(); }

private:
    int m_sampleRate = 0;
};
