#include "ClipPlayer.h"

#include "SoundOutput.h"

#include <QtGlobal>

namespace {

constexpr qint64 loudnessSpanMs = 40;
// espeak's speech sits well below full scale; this makes a loud vowel open
// the mouth fully.
constexpr double mouthGain = 5.0;
// A clip that has not begun to sound by then will not be heard in step; the
// words go on without it rather than keep the pupil waiting.
constexpr qint64 startLimitMs = 500;
// Some servers report a long clip played up to 2% behind what they really
// play; the clock from the clip's first sound keeps the words in step, but
// never runs further ahead of the server than this.
constexpr qint64 clockLeadMs = 250;
// A server that stops playing halfway is not waited for.
constexpr qint64 stallLimitMs = 500;

} // namespace

ClipPlayer::ClipPlayer(SoundOutput &output)
    : m_output(output)
{
}

void ClipPlayer::prepare(const Clip &clip)
{
    if (clip.error.isEmpty() && !m_muted)
        m_output.prepare();
}

void ClipPlayer::start(const Clip &clip)
{
    m_clip = clip;
    m_heard = 0;
    m_clockBehind = 0;
    m_firstSoundAt = -1;
    m_played = 0;
    m_playedSince = -1;
    m_sounding = !m_muted && clip.error.isEmpty() && clip.sampleCount() > 0;
    if (m_sounding) {
        const auto *first = reinterpret_cast<const qint16 *>(clip.samples.constData());
        m_output.play(std::vector<std::int16_t>(first, first + clip.sampleCount()), clip.sampleRate);
    }
}

qint64 ClipPlayer::follow(qint64 elapsed)
{
    // Muted halfway: the rest goes by the clock, unheard.
    if (m_sounding && m_muted) {
        m_output.stop();
        goByTheClock(elapsed);
    }
    if (m_sounding) {
        const SoundOutput::Progress p = m_output.progress();
        switch (p.state) {
        case SoundOutput::State::Starting:
            if (elapsed > startLimitMs) {
                m_output.stop();
                goByTheClock(elapsed);
            }
            break;
        case SoundOutput::State::Playing:
            keepUp(p.playedMs, elapsed);
            break;
        case SoundOutput::State::Played:
            m_heard = qMax(m_heard, m_clip.durationMs());
            break;
        case SoundOutput::State::Silent:
            goByTheClock(elapsed);
            break;
        }
    }
    if (!m_sounding)
        m_heard = qMax(m_heard, elapsed - m_clockBehind);
    m_mouth = qMin(1.0, mouthGain * m_clip.loudness(m_heard, loudnessSpanMs));
    return m_heard;
}

void ClipPlayer::keepUp(qint64 playedMs, qint64 elapsed)
{
    if (m_firstSoundAt < 0)
        m_firstSoundAt = elapsed - playedMs;
    if (playedMs > m_played || m_playedSince < 0) {
        m_played = playedMs;
        m_playedSince = elapsed;
    } else if (elapsed - m_playedSince > stallLimitMs) {
        m_output.stop();
        goByTheClock(elapsed);
        return;
    }
    const qint64 byTheClock = qMin(elapsed - m_firstSoundAt, playedMs + clockLeadMs);
    m_heard = qMax(m_heard, qMin(qMax(playedMs, byTheClock), m_clip.durationMs()));
}

void ClipPlayer::goByTheClock(qint64 elapsed)
{
    // From where the listener was, so the words neither jump nor go back.
    m_sounding = false;
    m_clockBehind = qMax<qint64>(0, elapsed - m_heard);
}

void ClipPlayer::finish()
{
    // A clip heard to its end plays out on its own.
    if (m_sounding && m_heard < m_clip.durationMs())
        m_output.stop();
    m_clip = Clip();
    m_sounding = false;
    m_mouth = 0;
}
