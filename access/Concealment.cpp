#include "Concealment.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

constexpr const char *concealed = "decalumoConcealed";

QAccessibleInterface *plainObject(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType() || !object->property(concealed).toBool())
        return nullptr;
    // No text interface: the toolkit then sends no text events for it either.
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Client);
}

} // namespace

void Concealment::conceal(QWidget &widget)
{
    static const bool installed = [] {
        QAccessible::installFactory(plainObject);
        return true;
    }();
    Q_UNUSED(installed);
    widget.setProperty(concealed, true);
    // An interface made before, for an event, would still show it all.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(&widget);
    if (made && made->textInterface())
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
