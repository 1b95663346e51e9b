#include "PupilSheet.h"

#include "FactLevel.h"
#include "FactModel.h"
#include "Figures.h"
#include "SafeText.h"
#include "ScoreChart.h"

#include <QChart>
#include <QGraphicsScene>
#include <QPagedPaintDevice>
#include <QPainter>

PupilSheet::Layout PupilSheet::layout(const QRect &page, int line)
{
    Layout l;
    int y = page.top();
    const auto take = [&](int height) {
        const QRect band(page.left(), y, page.width(), qMax(0, qMin(height, page.bottom() + 1 - y)));
        y += band.height() + line / 2;
        return band;
    };
    l.title = take(3 * line);
    l.chart = take(page.height() * 36 / 100);
    l.grid = take(5 * line);
    l.legend = take(line);
    l.contests = take(page.bottom() + 1 - y);
    l.contestRows = qMax(0, l.contests.height() / line - 1);
    return l;
}

namespace {

void drawChart(QPainter &painter, const QRect &target, const QList<Contest> &contests)
{
    // The chart is laid out at screen size and scaled onto the page, so its
    // text keeps a readable size whatever the printer's resolution.
    const qreal scale = qMax<qreal>(1, painter.device()->logicalDpiX() / 96.0);
    QGraphicsScene scene;
    QChart *chart = ScoreChart::make(contests);
    scene.addItem(chart);
    const QSizeF size(target.width() / scale, target.height() / scale);
    chart->resize(size);
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    scene.render(&painter, QRectF(target), scene.sceneRect());
}

void drawGrid(QPainter &painter, const QRect &area, const QList<Measures::Fact> &facts, int line)
{
    const int width = area.width() / 10;
    for (int i = 0; i < facts.size() && i < 10; ++i) {
        const QRect head(area.left() + i * width, area.top(), width, line + line / 2);
        const QRect cell(head.left(), head.bottom() + 1, width, area.bottom() - head.bottom());
        painter.setPen(Qt::black);
        painter.drawText(head, Qt::AlignCenter, QStringLiteral("10×%1").arg(i + 1));
        painter.fillRect(cell, FactLevel::colour(FactLevel::of(facts.at(i))));
        painter.drawRect(cell);
        painter.drawText(cell, Qt::AlignCenter, FactModel::cellText(facts.at(i), FactModel::Cells::Full));
    }
}

void drawLegend(QPainter &painter, const QRect &area, int line)
{
    using FactLevel::Level;
    int x = area.left();
    for (const Level level : {Level::Sure, Level::Nearly, Level::Weak, Level::Untried}) {
        const QRect swatch(x, area.top() + line / 6, line * 2 / 3, line * 2 / 3);
        painter.fillRect(swatch, FactLevel::colour(level));
        painter.drawRect(swatch);
        const QRect label(swatch.right() + line / 3, area.top(), area.width() / 4, area.height());
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, FactLevel::word(level));
        x += area.width() / 4;
    }
}

void drawContests(QPainter &painter, const QRect &area, const QList<Contest> &contests, int rows, int line)
{
    static const int stops[] = {0, 30, 48, 62, 76, 100};
    const QString heads[] = {QStringLiteral("Ultime sfide"), QStringLiteral("Esatte"), QStringLiteral("Errate"),
                             QStringLiteral("Durata"), QStringLiteral("Fine")};
    const auto drawRow = [&](int y, const QString (&cells)[5]) {
        for (int c = 0; c < 5; ++c) {
            const int left = area.left() + area.width() * stops[c] / 100;
            const int right = area.left() + area.width() * stops[c + 1] / 100;
            painter.drawText(QRect(left, y, right - left, line), Qt::AlignLeft | Qt::AlignVCenter, cells[c]);
        }
    };
    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    drawRow(area.top(), heads);
    painter.restore();
    const int shown = qMin(rows, int(contests.size()));
    for (int i = 0; i < shown; ++i) {
        const Contest &c = contests.at(contests.size() - 1 - i);
        const QString cells[] = {Figures::date(c.start), QString::number(c.right()), QString::number(c.wrong()),
                                 Figures::duration(c.durationMs), endingName(c.ending)};
        drawRow(area.top() + (i + 1) * line, cells);
    }
}

} // namespace

void PupilSheet::paint(QPainter &painter, const QRect &page, const Classroom::Row &row)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const int line = painter.fontMetrics().height() * 13 / 10;
    const Layout l = layout(page, line);

    QFont title = font;
    title.setPointSizeF(18);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::black);
    painter.drawText(l.title, Qt::AlignLeft | Qt::AlignTop,
                     painter.fontMetrics().elidedText(SafeText::shown(row.pupil.name, 200), Qt::ElideRight, l.title.width()));
    painter.setFont(font);
    const Measures::Summary &s = row.summary;
    painter.drawText(l.title, Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("%1 sfide, l'ultima il %2 · migliore %3, ultima %4 · esatte %5 · tempo mediano %6")
                         .arg(s.played).arg(Figures::date(s.last)).arg(s.best).arg(s.lastScore)
                         .arg(Figures::percent(s.shareRight), Figures::seconds(s.medianMs)));

    drawChart(painter, l.chart, row.pupil.contests);
    drawGrid(painter, l.grid, row.facts, line);
    drawLegend(painter, l.legend, line);
    drawContests(painter, l.contests, row.pupil.contests, l.contestRows, line);
}

void PupilSheet::print(QPagedPaintDevice &device, const Classroom::Row &row)
{
    QPainter painter(&device);
    paint(painter, QRect(0, 0, device.width(), device.height()), row);
}
