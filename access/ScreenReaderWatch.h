#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class QTimer;

// Whether a screen reader is really at work in this session: a screen reader
// process connected to this session's accessibility bus. Desktops may switch
// the bus's screen-reader flag on for everyone, so the flag is not trusted.
// Looks again every half second, so a reader started or stopped mid-contest
// is noticed within a second.
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
    void look();
    bool connected();
    bool isScreenReaderConnection(const QString &uniqueName);

    QTimer *m_timer;
    QString m_busName;
    bool m_onBus = false;
    // Unique names are never reused on a bus, so each is asked about once.
    QHash<QString, bool> m_known;
    bool m_running = false;
};
