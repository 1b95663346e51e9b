#pragma once

#include <QByteArray>
#include <QObject>
#include <QThread>

#include <memory>

class BusLook;
struct Seen;

// Whether a screen reader is really at work in this session: a screen reader
// process connected to this session's accessibility bus. Desktops may switch
// the bus's screen-reader flag on for everyone, so the flag is not trusted.
// Looks again every half second, so a reader started or stopped mid-contest
// is noticed within a second. The looking waits on the bus on a thread of
// its own; only running() may wait for the first answer.
class ScreenReaderWatch : public QObject
{
    Q_OBJECT

public:
    explicit ScreenReaderWatch(QObject *parent = nullptr);
    ~ScreenReaderWatch() override;

    // Waits, the first time, for the first look to end: a reader's user
    // must not miss the first words. Ask it only when the answer is due.
    bool running() const;

    // From a process's /proc comm and NUL-separated cmdline.
    static bool isScreenReader(const QByteArray &comm, const QByteArray &cmdline);

signals:
    void runningChanged(bool running);

private:
    std::shared_ptr<Seen> m_seen;
    QThread m_thread;
    BusLook *m_look;
    // What runningChanged() last said.
    bool m_running = false;
};
