#include "Trend.h"

#include <QLocale>

Trend::Way Trend::way(std::optional<double> recent, std::optional<double> earlier)
{
    if (!recent || !earlier)
        return Way::Unknown;
    const double change = *recent - *earlier;
    if (change >= steadyWithin)
        return Way::Up;
    if (change <= -steadyWithin)
        return Way::Down;
    return Way::Steady;
}

QString Trend::text(std::optional<double> recent, std::optional<double> earlier)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const auto change = [&] {
        const double d = *recent - *earlier;
        return (d > 0 ? QStringLiteral("+") : QStringLiteral("−")) + italian.toString(qAbs(d), 'f', 1);
    };
    switch (way(recent, earlier)) {
    case Way::Up:
        return QStringLiteral("in crescita (%1)").arg(change());
    case Way::Down:
        return QStringLiteral("in calo (%1)").arg(change());
    case Way::Steady:
        return QStringLiteral("stabile");
    case Way::Unknown:
        break;
    }
    return QStringLiteral("poche sfide");
}
