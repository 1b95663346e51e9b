#include "ScoreChart.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>

QChart *ScoreChart::make(const QList<Contest> &contests)
{
    auto *chart = new QChart;
    auto *score = new QLineSeries(chart);
    score->setName(QStringLiteral("Esatte (punteggio)"));
    auto *wrong = new QLineSeries(chart);
    wrong->setName(QStringLiteral("Errate"));
    score->setPen(QPen(QColor(0x1f, 0x5f, 0xbf), 2.5));
    wrong->setPen(QPen(QColor(0xc0, 0x30, 0x30), 2.5, Qt::DashLine));
    score->setPointsVisible(contests.size() < 60);
    wrong->setPointsVisible(contests.size() < 60);

    int top = 1;
    for (const Contest &contest : contests) {
        const qreal when = qreal(contest.start.toMSecsSinceEpoch());
        score->append(when, contest.right());
        wrong->append(when, contest.wrong());
        top = qMax(top, qMax(contest.right(), contest.wrong()));
    }
    chart->addSeries(score);
    chart->addSeries(wrong);

    auto *time = new QDateTimeAxis(chart);
    time->setFormat(QStringLiteral("dd/MM"));
    time->setTitleText(QStringLiteral("Data"));
    if (!contests.isEmpty()) {
        const QDateTime first = contests.first().start, last = contests.last().start;
        time->setRange(first.addSecs(-1800), qMax(last, first.addSecs(1800)).addSecs(1800));
    }
    auto *count = new QValueAxis(chart);
    // Steps of ten, like the score itself.
    const int ceiling = (top / 10 + 1) * 10;
    count->setRange(0, ceiling);
    count->setTickCount(ceiling / 10 + 1);
    count->setLabelFormat(QStringLiteral("%d"));
    count->setTitleText(QStringLiteral("Risposte"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(count, Qt::AlignLeft);
    for (QLineSeries *series : {score, wrong}) {
        series->attachAxis(time);
        series->attachAxis(count);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setTitle(QStringLiteral("Punteggio ed errori di ogni sfida"));
    return chart;
}
