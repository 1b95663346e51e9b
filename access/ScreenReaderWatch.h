#pragma once

#include <QByteArray>
#include <QObject>
#include <QThread>

class BusLook;

// Whether a screen reader is really at work in this session: a screen reader
// process connected to this session's accessibility bus. Desktops may switch
// the bus's screen-reader flag on for everyone, so the flag is not trusted.
// Looks again every half second, so a reader started or stopped mid-contest
// is noticed within a second. The looking waits on the bus, never on the
// caller's thread: the first answer comes a moment after start-up.
class ScreenReaderWatch : public QObject
{
    Q_OBJECT

public:
    explicit ScreenReaderWatch(QObject *parent = nullptr);
    ~ScreenReaderWatch() override;

    bool running() const { return m_running; }

    // From a process's /proc comm and NUL-separated cmdline.
    static bool isScreenReader(const QByteArray &comm, const QByteArray &cmdline);

signals:
    void runningChanged(bool running);

private:
    QThread m_thread;
    BusLook *m_look;
    bool m_running = false;
};
