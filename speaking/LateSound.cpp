#include "LateSound.h"

#include "SpeakingModule.h"

SoundOutput *LateSound::real()
{
    if (!m_looked) {
        m_looked = true;
        m_real = SpeakingModule::sound();
    }
    return m_real.get();
}

void LateSound::prepare()
{
    // Making the real output gets it ready.
    real();
}

void LateSound::play(std::vector<std::int16_t> samples, int sampleRate)
{
    if (SoundOutput *sound = real())
        sound->play(std::move(samples), sampleRate);
}

void LateSound::stop()
{
    if (m_real)
        m_real->stop();
}

SoundOutput::Progress LateSound::progress() const
{
    return m_real ? m_real->progress() : Progress{};
}
