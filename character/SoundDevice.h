#pragma once

#include <QAudioDevice>
#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QTimer>
#include <memory>

class QAudioSink;
class QIODevice;

// What the window's thread and the sound thread share, under the mutex.
struct SoundLine
{
    QMutex mutex;
    int rate = 0; // of the sink that plays now; 0 while there is none
    bool asking = false; // a sink was asked for and has not answered yet
    bool feeding = false; // the sound thread will look at `queued` again
    QByteArray queued; // taken from the caller, not yet in the sink
    qint64 capacity = 0;
    qint64 taken = 0;
    qint64 playedUs = 0;
};

// The default sound device, on the sound thread: every call here may wait on
// the sound server, which is why nothing else runs on that thread.
class SoundDevice : public QObject
{
public:
    explicit SoundDevice(std::shared_ptr<SoundLine> line);
    ~SoundDevice() override;

    void lookUp();
    void open(int sampleRate);
    void feed();
    void close();

private:
    void drop();
    void answer(int rate);

    std::shared_ptr<SoundLine> m_line;
    QAudioDevice m_output;
    QAudioSink *m_sink = nullptr;
    QIODevice *m_io = nullptr;
    QTimer m_tick;
};
