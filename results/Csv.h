#pragma once

#include "Contest.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Exports for a spreadsheet: UTF-8, ';'-separated, one header line, fields
// quoted as RFC 4180 says, and no field that a spreadsheet would run as a
// formula.
namespace Csv {

// alunno;inizio;computer;n;fattore;risposta;esatta;tempo_ms
QByteArray risposte(const QList<Contest> &contests);
// alunno;inizio;computer;durata_s;esatte;errate;totali;fine
QByteArray sfide(const QList<Contest> &contests);

QString field(const QString &text);

} // namespace Csv
