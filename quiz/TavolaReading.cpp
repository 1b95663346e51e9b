#include "Tavola.h"

#include "FormLabel.h"

#include <QLineEdit>

namespace {

QString count(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

} // namespace

// Plain function keys: screen readers leave them alone, and they type nothing.
QString Tavola::readingFor(int key) const
{
    switch (key) {
    case Qt::Key_F2:
        return Text1->text() + QStringLiteral(" per ") + Text6->text();
    case Qt::Key_F3:
        return QStringLiteral("Risposte esatte %1, errate %2, totali %3")
            .arg(correctCount)
            .arg(wrongCount)
            .arg(correctCount + wrongCount);
    case Qt::Key_F4:
        return QStringLiteral("Tempo restante %1 e %2")
            .arg(count(clockHours * 60 + clockMinutes, "minuto", "minuti"),
                 count(int(clockSeconds), "secondo", "secondi"));
    case Qt::Key_F5: {
        const QString holder = lblnome->caption().trimmed();
        const QString points = lblpunti->caption().trimmed();
        if (points.isEmpty() && holder.isEmpty())
            return QStringLiteral("Non c'è ancora un record");
        return QStringLiteral("Il record è di %1 con punti %2").arg(holder, points);
    }
    default:
        return {};
    }
}
