#include "SoundDevice.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <utility>

namespace {
// How often the sink is topped up while there is something to play.
constexpr int feedMs = 10;
}

SoundDevice::SoundDevice(std::shared_ptr<SoundLine> line)
    : m_line(std::move(line))
    , m_tick(this)
{
    m_tick.setInterval(feedMs);
    connect(&m_tick, &QTimer::timeout, this, &SoundDevice::feed);
}

SoundDevice::~SoundDevice()
{
    drop();
}

void SoundDevice::lookUp()
{
    if (m_output.isNull())
        m_output = QMediaDevices::defaultAudioOutput();
}

void SoundDevice::open(int sampleRate)
{
    drop();
    lookUp();
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (m_output.isNull() || !m_output.isFormatSupported(format)) {
        // A sound server may come up later; look again next time.
        m_output = QAudioDevice();
        answer(0);
        return;
    }
    // Without a parent: Qt 6.4 gives the sink's backend the same parent as
    // the sink, and deleting that parent would then delete the backend twice.
    m_sink = new QAudioSink(m_output, format);
    // A quarter of a second ahead is enough to ride over a busy moment and
    // small enough that the words stay in step with the balloon.
    m_sink->setBufferSize(sampleRate / 2);
    m_io = m_sink->start();
    if (!m_io || m_sink->error() != QAudio::NoError) {
        drop();
        m_output = QAudioDevice();
        answer(0);
        return;
    }
    connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State) {
        if (m_sink && m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError) {
            drop();
            answer(0);
        }
    });
    answer(sampleRate);
}

void SoundDevice::feed()
{
    QByteArray chunk;
    const qint64 room = m_io ? m_sink->bytesFree() : 0;
    {
        QMutexLocker lock(&m_line->mutex);
        const qint64 n = qMin<qint64>(room, m_line->queued.size()) & ~qint64(1);
        chunk = m_line->queued.left(n);
        m_line->queued.remove(0, n);
    }
    if (!chunk.isEmpty()) {
        const qint64 written = qMax<qint64>(0, m_io->write(chunk));
        if (written < chunk.size()) {
            QMutexLocker lock(&m_line->mutex);
            m_line->queued.prepend(chunk.mid(written));
        }
    }
    // Writing can report an error, which drops the sink.
    const bool playing = m_sink && m_sink->state() == QAudio::ActiveState;
    QMutexLocker lock(&m_line->mutex);
    if (m_sink)
        m_line->playedUs = m_sink->processedUSecs();
    // Keep looking while the sink plays, so the played time stays current.
    if (m_sink && (playing || !m_line->queued.isEmpty())) {
        if (!m_tick.isActive())
            m_tick.start();
    } else {
        m_line->queued.clear();
        m_line->feeding = false;
        m_tick.stop();
    }
}

void SoundDevice::close()
{
    drop();
    answer(0);
}

void SoundDevice::drop()
{
    // Stopping emits stateChanged again, so forget the sink first.
    QAudioSink *sink = std::exchange(m_sink, nullptr);
    m_io = nullptr;
    if (sink) {
        sink->disconnect(this);
        sink->stop();
        sink->deleteLater();
    }
}

void SoundDevice::answer(int rate)
{
    m_tick.stop();
    QMutexLocker lock(&m_line->mutex);
    m_line->rate = rate;
    m_line->asking = false;
    m_line->feeding = false;
    m_line->queued.clear();
    // As much again as the sink holds.
    m_line->capacity = rate / 2;
}
