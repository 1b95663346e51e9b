#include "SoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace {
constexpr int answerMs = 15000;
}

SoundServer::SoundServer(Kind kind)
    : m_kind(kind)
    , m_env(QProcessEnvironment::systemEnvironment())
{
    QDir(m_dir.path()).mkdir("runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_env.insert("HOME", m_dir.path());
    m_env.insert("XDG_RUNTIME_DIR", m_dir.filePath("runtime"));
    m_env.insert("PIPEWIRE_RUNTIME_DIR", m_dir.filePath("runtime"));
    m_env.insert("PULSE_SERVER", QString::fromLocal8Bit(address()));
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "DISPLAY", "WAYLAND_DISPLAY", "PULSE_RUNTIME_PATH",
                             "PIPEWIRE_REMOTE", "DBUS_SESSION_BUS_ADDRESS"})
        m_env.remove(QLatin1String(name));
}

QByteArray SoundServer::address() const
{
    return "unix:" + QFile::encodeName(m_dir.path()) + "/runtime/pulse/native";
}

QString SoundServer::start()
{
    m_server = std::make_unique<QProcess>();
    m_server->setProcessEnvironment(m_env);
    m_server->setStandardOutputFile(m_dir.filePath("server.log"), QIODevice::Append);
    m_server->setProcessChannelMode(QProcess::MergedChannels);
    // A process group of its own, so that a signal reaches every part of the server.
    m_server->setChildProcessModifier([] { ::setsid(); });
    if (m_kind == Kind::PulseAudio)
        m_server->start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
                                       "--load=module-native-protocol-unix"});
    else // whose clients give up at once while pipewire has no socket yet, or one left by the last server
        m_server->start("dbus-run-session", {"--", "sh", "-c",
                                             "s=$PIPEWIRE_RUNTIME_DIR/pipewire-0; rm -f \"$s\"; pipewire & until [ -S "
                                             "\"$s\" ]; do sleep 0.02; done; wireplumber & exec pipewire-pulse"});
    if (!m_server->waitForStarted())
        return m_server->program() + ": " + m_server->errorString();
    m_group = m_server->processId();
    QString error = plugIn("nulla");
    if (QFile log(m_dir.filePath("server.log")); !error.isEmpty() && log.open(QIODevice::ReadOnly))
        error += "; the server said: " + QString::fromLocal8Bit(log.readAll());
    return error;
}

void SoundServer::stop()
{
    // All of the server, woken if frozen, and at last whatever part outlived its first process.
    for (const int number : {SIGCONT, SIGTERM, SIGKILL}) {
        signal(number);
        if (m_server && number != SIGCONT && m_server->waitForFinished(number == SIGTERM ? 5000 : -1))
            m_server.reset();
    }
    m_group = 0;
}

void SoundServer::signal(int number) const
{
    if (m_group > 0)
        ::kill(-pid_t(m_group), number);
}

QString SoundServer::plugIn(const QString &sink)
{
    // PulseAudio's null sink rewinds what it has played, which its monitor
    // records twice; WirePlumber suspends an idle sink, and on its return the
    // monitor's time stamps are a tenth of a second out for a while.
    const QString settled = m_kind == Kind::PulseAudio ? "norewinds=1"
                                                       : "sink_properties=session.suspend-timeout-seconds=0";
    const QDeadlineTimer deadline(answerMs);
    // The pulse server opens its socket a moment after it starts.
    QString error;
    while (!(error = pactl({"load-module", "module-null-sink", "sink_name=" + sink, settled})).isEmpty()) {
        if (deadline.hasExpired())
            return error;
        QThread::msleep(20);
    }
    // A server that has no default output yet takes no other one either.
    for (QByteArray chosen; !deadline.hasExpired(); QThread::msleep(20)) {
        if (pactl({"get-default-sink"}, &chosen).isEmpty() && chosen.trimmed() == sink.toUtf8())
            return {};
        pactl({"set-default-sink", sink});
    }
    return "the sound server did not take " + sink + " as its default";
}

QString SoundServer::pactl(const QStringList &arguments, QByteArray *output) const
{
    QProcess p;
    p.setProcessEnvironment(m_env);
    p.start("pactl", arguments);
    const bool answered = p.waitForFinished(answerMs);
    if (output)
        *output = p.readAllStandardOutput();
    if (answered && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return {};
    return "pactl " + arguments.join(' ') + ": " + (answered ? QString::fromLocal8Bit(p.readAllStandardError()) : "no answer");
}
