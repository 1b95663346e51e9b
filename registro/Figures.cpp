#include "Figures.h"

#include <QLocale>

namespace {
const QString dash = QStringLiteral("–");
QLocale italian() { return QLocale(QLocale::Italian, QLocale::Italy); }
}

QString Figures::percent(std::optional<double> share)
{
    return share ? QStringLiteral("%1%").arg(qRound(*share * 100)) : dash;
}

QString Figures::seconds(std::optional<qint64> ms)
{
    return ms ? italian().toString(double(*ms) / 1000, 'f', 1) + QStringLiteral(" s") : dash;
}

QString Figures::date(const QDateTime &when)
{
    return when.isValid() ? when.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : dash;
}

QString Figures::duration(qint64 ms)
{
    const qint64 s = qMax<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}
