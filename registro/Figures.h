#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Numbers and dates as an Italian teacher writes them: "87%", "2,4 s",
// "09/12/2026 08:15"; a dash when there is nothing to show.
namespace Figures {
QString percent(std::optional<double> share);
QString seconds(std::optional<qint64> ms);
QString date(const QDateTime &when);
// "7:00": minutes and seconds.
QString duration(qint64 ms);
}
