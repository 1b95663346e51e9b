#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A real sound server of the tests' own, in a runtime folder and D-Bus
// session of its own, with a null sink "nulla" as its default output. It
// leaves the machine's own sound set-up alone.
class SoundServer
{
public:
    enum class Kind { PulseAudio, PipeWire };

    explicit SoundServer(Kind kind);
    ~SoundServer();

    // Both wait until the server answers or is gone; start() returns what
    // went wrong, or nothing.
    QString start();
    void stop();
    // Adds a null sink and makes it the default output, as a headset that is
    // plugged in does.
    QString plugIn(const QString &sink);
    // Stops the process that serves the clients where it stands: it takes
    // connections and never answers, as a stuck server does.
    void freeze();

    // For PULSE_SERVER.
    QByteArray address() const;

private:
    QString launch(const QString &program, const QStringList &arguments);
    QString pactl(const QStringList &arguments, QByteArray *output = nullptr) const;
    QString waitForDefault(const QString &sink) const;

    Kind m_kind;
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    std::unique_ptr<QProcess> m_bus;
    QList<QProcess *> m_processes;
};
