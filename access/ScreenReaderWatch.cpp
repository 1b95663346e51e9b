#include "ScreenReaderWatch.h"

#include "BusLook.h"

#include <QStringList>

namespace {

const QStringList screenReaders = {QStringLiteral("orca")};
// A look's calls each wait at most a quarter of a second.
constexpr auto firstLookWait = std::chrono::seconds(2);

QString baseName(const QByteArray &path)
{
    const QString p = QString::fromLocal8Bit(path);
    return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

ScreenReaderWatch::ScreenReaderWatch(QObject *parent)
    : QObject(parent)
    , m_seen(std::make_shared<Seen>())
    , m_look(new BusLook(m_seen))
{
    m_thread.setObjectName(QStringLiteral("lettore di schermo"));
    m_look->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_look, &BusLook::begin);
    connect(&m_thread, &QThread::finished, m_look, &QObject::deleteLater);
    connect(m_look, &BusLook::looked, this, [this](bool found) {
        if (found != m_running) {
            m_running = found;
            emit runningChanged(found);
        }
    });
    m_thread.start();
}

ScreenReaderWatch::~ScreenReaderWatch()
{
    // A look under way ends within its calls' bounded waits.
    m_thread.quit();
    m_thread.wait();
}

bool ScreenReaderWatch::running() const
{
    std::unique_lock lock(m_seen->mutex);
    m_seen->answered.wait_for(lock, firstLookWait, [this] { return m_seen->looked; });
    return m_seen->found;
}

bool ScreenReaderWatch::isScreenReader(const QByteArray &comm, const QByteArray &cmdline)
{
    if (screenReaders.contains(QString::fromLocal8Bit(comm.trimmed())))
        return true;
    // A reader written in a scripting language runs as its interpreter, with
    // the script as the first argument.
    const QList<QByteArray> args = cmdline.split('\0');
    if (args.size() >= 2 && baseName(args[0]).startsWith(QLatin1String("python")))
        return screenReaders.contains(baseName(args[1]));
    return false;
}
