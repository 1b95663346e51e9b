#include "Measures.h"

#include <QHash>

#include <algorithm>

namespace Measures {

namespace {

std::optional<qint64> median(QList<qint64> values)
{
    if (values.isEmpty())
        return std::nullopt;
    const qsizetype mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    if (values.size() % 2)
        return values[mid];
    const qint64 below = *std::max_element(values.begin(), values.begin() + mid);
    return (below + values[mid]) / 2;
}

std::optional<double> meanScore(const QList<Contest> &contests, qsizetype from, qsizetype to)
{
    from = qMax<qsizetype>(from, 0);
    if (from >= to)
        return std::nullopt;
    double sum = 0;
    for (qsizetype i = from; i < to; ++i)
        sum += contests[i].right();
    return sum / double(to - from);
}

bool earlier(const Contest &a, const Contest &b)
{
    return a.start != b.start ? a.start < b.start : a.id < b.id;
}

} // namespace

QString pupilKey(const QString &name)
{
    return name.trimmed().toCaseFolded();
}

QList<Pupil> pupils(const QList<Contest> &contests)
{
    QList<Pupil> list;
    QHash<QString, qsizetype> index;
    for (const Contest &c : contests) {
        const QString key = pupilKey(c.pupil);
        auto it = index.constFind(key);
        if (it == index.constEnd()) {
            it = index.insert(key, list.size());
            list.append(Pupil{});
        }
        list[*it].contests.append(c);
    }
    for (Pupil &p : list) {
        std::stable_sort(p.contests.begin(), p.contests.end(), earlier);
        p.name = p.contests.constLast().pupil.trimmed();
    }
    std::sort(list.begin(), list.end(), [](const Pupil &a, const Pupil &b) {
        const QString ka = pupilKey(a.name), kb = pupilKey(b.name);
        return ka != kb ? ka.localeAwareCompare(kb) < 0 : a.name < b.name;
    });
    return list;
}

Summary summary(const Pupil &pupil)
{
    Summary s;
    const QList<Contest> &cs = pupil.contests;
    s.played = int(cs.size());
    if (cs.isEmpty())
        return s;
    s.last = cs.constLast().start;
    s.lastScore = cs.constLast().right();
    qsizetype answers = 0, right = 0;
    QList<qint64> times;
    for (const Contest &c : cs) {
        s.best = qMax(s.best, c.right());
        for (const Answer &a : c.answers) {
            ++answers;
            right += a.right;
            times.append(a.timeMs);
        }
    }
    s.shareRight = answers ? double(right) / double(answers) : 0;
    s.medianMs = median(std::move(times));
    s.recentMean = meanScore(cs, cs.size() - 5, cs.size());
    s.earlierMean = meanScore(cs, cs.size() - 10, cs.size() - 5);
    return s;
}

QList<Fact> facts(const QList<Contest> &contests)
{
    QList<const Contest *> order;
    for (const Contest &c : contests)
        order.append(&c);
    std::stable_sort(order.begin(), order.end(), [](const Contest *a, const Contest *b) { return earlier(*a, *b); });

    QList<QList<const Answer *>> tries(10);
    for (const Contest *c : std::as_const(order))
        for (const Answer &a : c->answers)
            if (a.factor >= 1 && a.factor <= 10)
                tries[a.factor - 1].append(&a);

    QList<Fact> grid;
    for (int factor = 1; factor <= 10; ++factor) {
        const QList<const Answer *> &all = tries[factor - 1];
        Fact f;
        f.factor = factor;
        f.tries = int(all.size());
        QList<qint64> times;
        for (const Answer *a : all) {
            f.right += a->right;
            times.append(a->timeMs);
        }
        if (f.tries) {
            f.shareRight = double(f.right) / f.tries;
            f.medianMs = median(std::move(times));
        }
        int quick = 0;
        for (qsizetype i = qMax<qsizetype>(0, all.size() - 3); i < all.size(); ++i)
            quick += all[i]->right && all[i]->timeMs <= sureWithinMs;
        f.sure = quick >= 2;
        grid.append(f);
    }
    return grid;
}

} // namespace Measures
