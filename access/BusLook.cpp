#include "BusLook.h"

#include "ScreenReaderWatch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QTimer>

namespace {

constexpr int lookEveryMs = 500;
// A bus that does not answer at once is not waited for: the next look asks again.
constexpr int answerWithinMs = 250;

QString accessibilityBusAddress()
{
    const QString fromEnvironment = qEnvironmentVariable("AT_SPI_BUS_ADDRESS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected())
        return {};
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"),
        QStringLiteral("GetAddress"));
    const QDBusReply<QString> reply = session.call(call, QDBus::Block, answerWithinMs);
    return reply.isValid() ? reply.value() : QString();
}

QByteArray readProc(uint pid, const char *entry)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

BusLook::BusLook(std::shared_ptr<Seen> seen)
    : m_seen(std::move(seen))
    , m_timer(new QTimer(this))
    , m_busName(QStringLiteral("decalumo-screen-reader-watch-%1").arg(quintptr(this), 0, 16))
{
    m_timer->setInterval(lookEveryMs);
    connect(m_timer, &QTimer::timeout, this, &BusLook::look);
}

BusLook::~BusLook()
{
    if (m_onBus)
        QDBusConnection::disconnectFromBus(m_busName);
}

void BusLook::begin()
{
    m_timer->start();
    look();
}

bool BusLook::connected()
{
    if (m_onBus && QDBusConnection(m_busName).isConnected())
        return true;
    if (m_onBus) {
        QDBusConnection::disconnectFromBus(m_busName);
        m_onBus = false;
        m_known.clear();
    }
    const QString address = accessibilityBusAddress();
    if (address.isEmpty())
        return false;
    m_onBus = true;
    QDBusConnection bus = QDBusConnection::connectToBus(address, m_busName);
    if (bus.interface())
        bus.interface()->setTimeout(answerWithinMs);
    return bus.isConnected();
}

bool BusLook::isScreenReaderConnection(const QString &uniqueName)
{
    const auto known = m_known.constFind(uniqueName);
    if (known != m_known.cend())
        return *known;
    QDBusConnectionInterface *bus = QDBusConnection(m_busName).interface();
    const QDBusReply<uint> pid = bus ? bus->servicePid(uniqueName) : QDBusReply<uint>();
    const bool reader = pid.isValid() && ScreenReaderWatch::isScreenReader(readProc(pid.value(), "comm"), readProc(pid.value(), "cmdline"));
    m_known.insert(uniqueName, reader);
    return reader;
}

void BusLook::look()
{
    bool found = false;
    if (connected()) {
        QDBusConnectionInterface *bus = QDBusConnection(m_busName).interface();
        const QDBusReply<QStringList> names = bus ? bus->registeredServiceNames() : QDBusReply<QStringList>();
        const QStringList list = names.isValid() ? names.value() : QStringList();
        for (const QString &name : list) {
            if (name.startsWith(QLatin1Char(':')) && isScreenReaderConnection(name)) {
                found = true;
                break;
            }
        }
        for (auto it = m_known.begin(); it != m_known.end();)
            it = list.contains(it.key()) ? std::next(it) : m_known.erase(it);
    }
    {
        std::lock_guard lock(m_seen->mutex);
        m_seen->looked = true;
        m_seen->found = found;
    }
    m_seen->answered.notify_all();
    emit looked(found);
}
