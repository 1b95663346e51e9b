#include "ClipPlayer.h"

#include "AudioOutput.h"

#include <QtGlobal>

namespace {

constexpr qint64 loudnessSpanMs = 40;
// espeak's speech sits well below full scale; this makes a loud vowel open
// the mouth fully.
constexpr double mouthGain = 5.0;

} // namespace

ClipPlayer::ClipPlayer(AudioOutput &audio)
    : m_audio(audio)
{
}

void ClipPlayer::prepare(const Clip &clip)
{
    if (clip.error.isEmpty())
        m_audio.open(clip.sampleRate);
}

void ClipPlayer::start(const Clip &clip)
{
    m_clip = clip;
    m_pushed = 0;
    m_open = clip.error.isEmpty() && m_audio.open(clip.sampleRate);
}

void ClipPlayer::play(qint64 elapsed)
{
    push();
    m_mouth = qMin(1.0, mouthGain * m_clip.loudness(elapsed, loudnessSpanMs));
}

void ClipPlayer::finish()
{
    push();
    m_clip = Clip();
    m_open = false;
    m_mouth = 0;
}

void ClipPlayer::push()
{
    if (!m_open || m_pushed >= m_clip.samples.size())
        return;
    // The output takes only what it has room for; the rest goes on the
    // following frames, so the voice stays a fraction of a second ahead.
    m_pushed += m_audio.push(m_clip.samples.constData() + m_pushed, m_clip.samples.size() - m_pushed);
}
