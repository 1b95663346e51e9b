#include "Announcer.h"

#include "ScreenReaderWatch.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QEvent>
#include <QWidget>

Announcer::Announcer(const ScreenReaderWatch &watch, QObject *parent)
    : QObject(parent)
    , m_watch(watch)
{
}

Announcer::~Announcer()
{
    for (auto it = m_said.cbegin(); it != m_said.cend(); ++it)
        it.key()->removeEventFilter(this);
}

bool Announcer::running() const
{
    return m_watch.running();
}

void Announcer::say(const QString &text)
{
    if (!running() || text.trimmed().isEmpty())
        return;
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(target, text);
    QAccessible::updateAccessibility(&event);
#else
    if (!m_said.contains(target)) {
        target->installEventFilter(this);
        connect(target, &QObject::destroyed, this, [this](QObject *gone) { m_said.remove(gone); });
    }
    // Readers skip a name that has not changed: the same words again, such
    // as two right products in a row, differ by a blank that is not heard.
    QString words = text;
    if (words == m_said.value(target))
        words += QLatin1Char(' ');
    m_said.insert(target, words);
    sendName(*target, words);
#endif
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// This toolkit sends a changed name without the name itself, which readers
// cannot say; the signal is sent here, on the toolkit's own accessibility
// connection and object path, with the words in it. The control keeps its
// real name for everything that asks for it.
void Announcer::sendName(QWidget &target, const QString &name)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&target);
    if (!iface)
        return;
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(iface));
    QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"),
                                                     QStringLiteral("PropertyChange"));
    signal << QStringLiteral("accessible-name") << 0 << 0 << QVariant::fromValue(QDBusVariant(name))
           << QVariantMap();
    QDBusConnection(QStringLiteral("a11y")).send(signal);
}
#endif

bool Announcer::eventFilter(QObject *watched, QEvent *event)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Readers keep the last name they were sent: the real one goes back
    // before the reader hears of the focus, so it is not said then.
    if (event->type() == QEvent::FocusIn && m_said.contains(watched)) {
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(watched))
            sendName(*static_cast<QWidget *>(watched), iface->text(QAccessible::Name));
    }
#endif
    return QObject::eventFilter(watched, event);
}
