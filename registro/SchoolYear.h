#pragma once

#include <QDate>

// 1 September of the school year that `today` falls in.
namespace SchoolYear {
QDate start(const QDate &today);
}
