#include "Contest.h"

#include <algorithm>

int Contest::right() const
{
    return int(std::count_if(answers.cbegin(), answers.cend(), [](const Answer &a) { return a.right; }));
}

int Contest::wrong() const
{
    return int(answers.size()) - right();
}

QString endingName(const std::optional<Ending> &ending)
{
    switch (ending.value_or(Ending::Interrupted)) {
    case Ending::TimeUp: return QStringLiteral("tempo scaduto");
    case Ending::Exit: return QStringLiteral("uscita");
    case Ending::CloseBox: return QStringLiteral("finestra chiusa");
    case Ending::Interrupted: break;
    }
    return QStringLiteral("interrotta");
}

QString isoWithOffset(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
        + QStringLiteral("%1%2:%3")
              .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
              .arg(minutes / 60, 2, 10, QLatin1Char('0'))
              .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}
