#include "QtAudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <utility>

QtAudioOutput::QtAudioOutput(QObject *parent)
    : QObject(parent)
{
}

QtAudioOutput::~QtAudioOutput()
{
    drop();
}

bool QtAudioOutput::open(int sampleRate)
{
    if (m_device && m_rate == sampleRate)
        return true;
    drop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return false;
    m_sink = new QAudioSink(device, format, this);
    // A quarter of a second ahead is enough to ride over a busy GUI thread
    // and small enough that the words stay in step with the balloon.
    m_sink->setBufferSize(sampleRate / 2);
    m_device = m_sink->start();
    if (!m_device || m_sink->error() != QAudio::NoError) {
        drop();
        return false;
    }
    connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State) {
        if (m_sink && m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError)
            drop();
    });
    m_rate = sampleRate;
    return true;
}

qint64 QtAudioOutput::push(const char *data, qint64 size)
{
    if (!m_device)
        return 0;
    const qint64 room = qMin<qint64>(size, m_sink->bytesFree());
    const qint64 written = room > 0 ? m_device->write(data, room & ~qint64(1)) : 0;
    if (written > 0)
        m_taken += written;
    return qMax<qint64>(0, written);
}

qint64 QtAudioOutput::playedUs() const
{
    return m_sink ? m_sink->processedUSecs() : 0;
}

void QtAudioOutput::drop()
{
    // Stopping emits stateChanged again, so forget the sink first.
    QAudioSink *sink = std::exchange(m_sink, nullptr);
    m_device = nullptr;
    m_rate = 0;
    if (sink) {
        sink->disconnect(this);
        sink->stop();
        sink->deleteLater();
    }
}
