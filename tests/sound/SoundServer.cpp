#include "SoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

#include <csignal>

namespace {

constexpr int answerMs = 15000;

// Asks again until `ready` has nothing to complain of, or the time is up;
// returns its last complaint.
QString waitFor(const std::function<QString()> &ready)
{
    const QDeadlineTimer deadline(answerMs);
    QString last;
    while (!(last = ready()).isEmpty() && !deadline.hasExpired())
        QThread::msleep(20);
    return last;
}

} // namespace

SoundServer::SoundServer(Kind kind)
    : m_kind(kind)
    , m_env(QProcessEnvironment::systemEnvironment())
{
    const QString root = m_dir.path();
    for (const char *folder : {"runtime", "home", "config", "state"})
        QDir(root).mkpath(QLatin1String(folder));
    QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_env.insert("XDG_RUNTIME_DIR", root + "/runtime");
    m_env.insert("PIPEWIRE_RUNTIME_DIR", root + "/runtime");
    m_env.insert("HOME", root + "/home");
    m_env.insert("XDG_CONFIG_HOME", root + "/config");
    m_env.insert("XDG_STATE_HOME", root + "/state");
    m_env.insert("PULSE_SERVER", QString::fromLocal8Bit(address()));
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "PULSE_RUNTIME_PATH", "PIPEWIRE_REMOTE"})
        m_env.remove(QLatin1String(name));
}

SoundServer::~SoundServer()
{
    stop();
    if (m_bus) {
        m_bus->kill();
        m_bus->waitForFinished();
    }
}

QByteArray SoundServer::address() const
{
    return "unix:" + QFile::encodeName(m_dir.path()) + "/runtime/pulse/native";
}

QString SoundServer::launch(const QString &program, const QStringList &arguments)
{
    auto *process = new QProcess;
    process->setProcessEnvironment(m_env);
    process->setStandardOutputFile(m_dir.filePath(QFileInfo(program).fileName() + ".log"), QIODevice::Append);
    process->setProcessChannelMode(QProcess::MergedChannels);
    m_processes << process;
    process->start(program, arguments);
    return process->waitForStarted() ? QString() : program + ": " + process->errorString();
}

QString SoundServer::start()
{
    if (m_kind == Kind::PulseAudio) {
        if (QString e = launch("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
                                              "--load=module-native-protocol-unix",
                                              "--load=module-null-sink sink_name=nulla norewinds=1"});
            !e.isEmpty())
            return e;
        return waitForDefault("nulla");
    }
    if (!m_bus) {
        m_bus = std::make_unique<QProcess>();
        m_bus->setProcessEnvironment(m_env);
        m_bus->start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!m_bus->waitForReadyRead(answerMs))
            return "dbus-daemon: " + m_bus->errorString();
        m_env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromLocal8Bit(m_bus->readLine().trimmed()));
    }
    if (QString e = launch("pipewire", {}); !e.isEmpty())
        return e;
    // Its clients give up at once when its socket is not there yet.
    if (QString e = waitFor([this] {
            return QFile::exists(m_dir.filePath("runtime/pipewire-0")) ? QString() : "pipewire opened no socket";
        });
        !e.isEmpty())
        return e;
    for (const char *program : {"wireplumber", "pipewire-pulse"})
        if (QString e = launch(QLatin1String(program), {}); !e.isEmpty())
            return e;
    return plugIn("nulla");
}

void SoundServer::stop()
{
    // The pulse server first, as a session ends.
    while (!m_processes.isEmpty()) {
        std::unique_ptr<QProcess> process(m_processes.takeLast());
        ::kill(pid_t(process->processId()), SIGCONT);
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished();
        }
    }
}

void SoundServer::freeze()
{
    if (!m_processes.isEmpty())
        ::kill(pid_t(m_processes.last()->processId()), SIGSTOP);
}

QString SoundServer::plugIn(const QString &sink)
{
    // PipeWire's pulse server opens its socket a moment after it starts.
    if (QString e = waitFor([this] { return pactl({"info"}); }); !e.isEmpty())
        return e;
    // PulseAudio's null sink rewinds what it has played, which its monitor
    // records twice; WirePlumber suspends an idle sink, and on its return the
    // monitor's time stamps are a tenth of a second out for a while.
    const QString settled = m_kind == Kind::PulseAudio ? "norewinds=1"
                                                       : "sink_properties=session.suspend-timeout-seconds=0";
    if (QString error = pactl({"load-module", "module-null-sink", "sink_name=" + sink, settled}); !error.isEmpty())
        return error;
    return waitForDefault(sink);
}

QString SoundServer::waitForDefault(const QString &sink) const
{
    return waitFor([&] {
        QByteArray info;
        if (QString e = pactl({"info"}, &info); !e.isEmpty())
            return e;
        if (info.contains("Default Sink: " + sink.toUtf8() + "\n"))
            return QString();
        // Until the server has a default at all, it cannot take another.
        if (info.contains("Default Sink:"))
            pactl({"set-default-sink", sink});
        return "the sound server did not take " + sink + " as its default: " + QString::fromLocal8Bit(info);
    });
}

QString SoundServer::pactl(const QStringList &arguments, QByteArray *output) const
{
    QProcess p;
    p.setProcessEnvironment(m_env);
    p.start("pactl", arguments);
    if (!p.waitForFinished(answerMs)) {
        p.kill();
        p.waitForFinished();
        return "pactl " + arguments.join(' ') + " did not answer";
    }
    if (output)
        *output = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return "pactl " + arguments.join(' ') + ": " + QString::fromLocal8Bit(p.readAllStandardError());
    return {};
}
