#include "ContestJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace ContestJson {

namespace {

const QString format = QStringLiteral("decalumo/sfida");
constexpr int version = 1;

constexpr std::array endings = {Ending::TimeUp, Ending::Exit, Ending::CloseBox, Ending::Interrupted};

// A whole number that a double holds exactly, within [low, high].
std::optional<qint64> whole(const QJsonValue &v, qint64 low, qint64 high)
{
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (!(d >= double(low) && d <= double(high)) || d != double(qint64(d)))
        return std::nullopt;
    return qint64(d);
}

std::optional<Answer> answerOf(const QJsonValue &value, int n)
{
    const QJsonArray a = value.toArray();
    if (a.size() != 5 || !a.at(2).isString() || !a.at(3).isBool())
        return std::nullopt;
    const auto place = whole(a.at(0), n, n);
    const auto factor = whole(a.at(1), 1, 10);
    const auto ms = whole(a.at(4), 0, qint64(1) << 50);
    if (!place || !factor || !ms)
        return std::nullopt;
    return Answer{n, int(*factor), a.at(2).toString(), a.at(3).toBool(), *ms};
}

} // namespace

QByteArray encode(const Contest &contest)
{
    QJsonArray answers;
    for (const Answer &a : contest.answers)
        answers.append(QJsonArray{a.n, a.factor, a.typed, a.right, a.timeMs});
    QJsonObject o{
        {QStringLiteral("formato"), format},
        {QStringLiteral("versione"), version},
        {QStringLiteral("id"), contest.id},
        {QStringLiteral("alunno"), contest.pupil},
        {QStringLiteral("computer"), contest.computer},
        {QStringLiteral("inizio"), isoWithOffset(contest.start)},
        {QStringLiteral("durata_ms"), contest.durationMs},
        {QStringLiteral("risposte"), answers},
    };
    if (contest.ending)
        o.insert(QStringLiteral("fine"), endingName(contest.ending));
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<Contest> decode(const QByteArray &bytes, QString *problem)
{
    const auto fail = [problem](const char *why) {
        *problem = QString::fromUtf8(why);
        return std::nullopt;
    };
    if (bytes.trimmed().isEmpty())
        return fail("file vuoto");
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        // What a cut-short file looks like: everything read fine up to its end.
        if (error.offset >= bytes.trimmed().size())
            return fail("file troncato");
        return fail("file danneggiato");
    }
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("formato")).toString() != format)
        return fail("non è un file di Decalumo");
    if (o.value(QStringLiteral("versione")) != QJsonValue(version))
        return fail("scritto da una versione più recente di Decalumo");

    Contest c;
    const QJsonValue id = o.value(QStringLiteral("id")), pupil = o.value(QStringLiteral("alunno")),
                     computer = o.value(QStringLiteral("computer")), start = o.value(QStringLiteral("inizio"));
    if (!id.isString() || id.toString().isEmpty() || !pupil.isString() || !computer.isString() || !start.isString())
        return fail("file danneggiato");
    c.id = id.toString();
    c.pupil = pupil.toString();
    c.computer = computer.toString();
    c.start = QDateTime::fromString(start.toString(), Qt::ISODate);
    if (!c.start.isValid() || c.start.timeSpec() == Qt::LocalTime)
        return fail("file danneggiato: data d'inizio non valida");
    const auto duration = whole(o.value(QStringLiteral("durata_ms")), 0, qint64(1) << 50);
    if (!duration)
        return fail("file danneggiato: durata non valida");
    c.durationMs = *duration;
    if (o.contains(QStringLiteral("fine"))) {
        const QString name = o.value(QStringLiteral("fine")).toString();
        for (Ending e : endings)
            if (endingName(e) == name)
                c.ending = e;
        if (!c.ending)
            return fail("file danneggiato: fine non valida");
    }
    const QJsonArray answers = o.value(QStringLiteral("risposte")).toArray();
    if (!o.value(QStringLiteral("risposte")).isArray())
        return fail("file danneggiato: mancano le risposte");
    c.answers.reserve(answers.size());
    for (const QJsonValue &v : answers) {
        const std::optional<Answer> a = answerOf(v, int(c.answers.size()) + 1);
        if (!a)
            return fail("file danneggiato: risposta non valida");
        c.answers.append(*a);
    }
    return c;
}

} // namespace ContestJson
