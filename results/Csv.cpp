#include "Csv.h"

namespace Csv {

namespace {

// What every row of one contest begins with.
QByteArray contestFields(const Contest &c)
{
    return field(c.pupil).toUtf8() + ';' + isoWithOffset(c.start).toUtf8() + ';' + field(c.computer).toUtf8() + ';';
}

} // namespace

QString field(const QString &text)
{
    QString f = text;
    // A pupil's name is typed by a pupil: a spreadsheet must show it, not run it.
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!f.isEmpty() && formulaStarts.contains(f.front()))
        f.prepend(QLatin1Char('\''));
    if (f.contains(QLatin1Char(';')) || f.contains(QLatin1Char('"')) || f.contains(QLatin1Char('\n'))
        || f.contains(QLatin1Char('\r')))
        f = QLatin1Char('"') + f.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return f;
}

QByteArray risposte(const QList<Contest> &contests)
{
    QByteArray out = "alunno;inizio;computer;n;fattore;risposta;esatta;tempo_ms\r\n";
    qsizetype answers = 0;
    for (const Contest &c : contests)
        answers += c.answers.size();
    out.reserve(answers * 64);
    for (const Contest &c : contests) {
        const QByteArray prefix = contestFields(c);
        for (const Answer &a : c.answers) {
            out += prefix;
            out += QByteArray::number(a.n) + ';' + QByteArray::number(a.factor) + ';';
            out += field(a.typed).toUtf8();
            out += a.right ? ";1;" : ";0;";
            out += QByteArray::number(a.timeMs) + "\r\n";
        }
    }
    return out;
}

QByteArray sfide(const QList<Contest> &contests)
{
    QByteArray out = "alunno;inizio;computer;durata_s;esatte;errate;totali;fine\r\n";
    for (const Contest &c : contests)
        out += contestFields(c) + QByteArray::number((c.durationMs + 500) / 1000) + ';' + QByteArray::number(c.right())
            + ';' + QByteArray::number(c.wrong()) + ';' + QByteArray::number(c.answers.size()) + ';'
            + endingName(c.ending).toUtf8() + "\r\n";
    return out;
}

} // namespace Csv
