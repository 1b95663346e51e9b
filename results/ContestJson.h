#pragma once

#include "Contest.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A contest as the bytes of its file: one compact JSON object, which any
// teacher's tool can read, and whose end a cut-short file never has.
namespace ContestJson {

QByteArray encode(const Contest &contest);

// The contest, or nothing with problem set to why these bytes are not one.
std::optional<Contest> decode(const QByteArray &bytes, QString *problem);

} // namespace ContestJson
