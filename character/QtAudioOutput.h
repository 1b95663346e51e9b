#pragma once

#include "AudioOutput.h"

#include <QObject>
#include <memory>

class QThread;
class SoundDevice;
struct SoundLine;

// The default sound device through a QAudioSink, run from a thread of its
// own: finding the device, opening it and feeding it can each wait on a
// sound server for as long as the server likes, and none of that may reach
// the window. open() and push() return at once. When there is no device, no
// sound server, a hung one, or the sink fails, it takes nothing.
// Once one has been destroyed, the process skips the libraries' clean-up
// when it exits.
class QtAudioOutput : public QObject, public AudioOutput
{
    Q_OBJECT

public:
    explicit QtAudioOutput(QObject *parent = nullptr);
    ~QtAudioOutput() override;

    // False until the device plays at the rate; the first call asks for it.
    bool open(int sampleRate) override;
    qint64 push(const char *data, qint64 size) override;

    // What was taken and what the sink says it has played, for checking the path.
    qint64 bytesTaken() const;
    qint64 playedUs() const;

private:
    std::shared_ptr<SoundLine> m_line;
    QThread *m_thread;
    SoundDevice *m_device;
};
