#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

// A real sound server of the tests' own, in a runtime folder and D-Bus
// session of its own, with a null sink "nulla" as its default output. It
// leaves the machine's own sound set-up alone.
class SoundServer
{
public:
    enum class Kind { PulseAudio, PipeWire };

    explicit SoundServer(Kind kind);
    ~SoundServer() { stop(); }

    // Waits until the server answers; returns what went wrong, or nothing.
    QString start();
    void stop();
    // Adds a null sink and makes it the default output, as a headset that is
    // plugged in does.
    QString plugIn(const QString &sink);
    // Stops the whole server where it stands: it takes connections and never
    // answers, as a stuck server does.
    void freeze() const { signal(SIGSTOP); }

    // For PULSE_SERVER.
    QByteArray address() const;

private:
    void signal(int number) const;
    QString pactl(const QStringList &arguments, QByteArray *output = nullptr) const;

    Kind m_kind;
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    std::unique_ptr<QProcess> m_server;
    qint64 m_group = 0;
};
