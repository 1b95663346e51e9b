#include "SchoolYear.h"

QDate SchoolYear::start(const QDate &today)
{
    return QDate(today.month() >= 9 ? today.year() : today.year() - 1, 9, 1);
}
