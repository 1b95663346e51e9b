#pragma once

#include "AudioOutput.h"

#include <QObject>

class QAudioSink;
class QIODevice;

// The default sound device through a QAudioSink in push mode. When there is
// no device, no sound server or the sink fails, it takes nothing.
class QtAudioOutput : public QObject, public AudioOutput
{
    Q_OBJECT

public:
    explicit QtAudioOutput(QObject *parent = nullptr);
    ~QtAudioOutput() override;

    bool open(int sampleRate) override;
    qint64 push(const char *data, qint64 size) override;

    // What the sink took and what it says it has played, for checking the path.
    qint64 bytesTaken() const { return m_taken; }
    qint64 playedUs() const;

private:
    void drop();

    QAudioSink *m_sink = nullptr;
    QIODevice *m_device = nullptr;
    int m_rate = 0;
    qint64 m_taken = 0;
};
