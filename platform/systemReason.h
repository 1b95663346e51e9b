#pragma once

#include <QString>

// The system's reason for errno value errnum, in Italian where we know it, for
// the tail of a Failure message.
QString systemReason(int errnum);
