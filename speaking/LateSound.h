#pragma once

#include "SoundOutput.h"

#include <memory>

// The module's sound output, brought in when the first clip is made ready
// rather than when the program starts. Silent without the module.
class LateSound : public SoundOutput
{
public:
    void prepare() override;
    void play(std::vector<std::int16_t> samples, int sampleRate) override;
    void stop() override;
    Progress progress() const override;

private:
    SoundOutput *real();

    std::unique_ptr<SoundOutput> m_real;
    bool m_looked = false;
};
