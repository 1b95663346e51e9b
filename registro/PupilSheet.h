#pragma once

#include "Classroom.h"

#include <QRect>

class QPainter;
class QPagedPaintDevice;

// A pupil's page for a parent meeting: the chart, the fact grid and as many
// of the last contests as fit, always on a single page.
namespace PupilSheet {

struct Layout
{
    QRect title, chart, grid, legend, contests;
    int contestRows = 0; // below the list's own heading
};
// The page is split top to bottom; `line` is the height of one line of text.
Layout layout(const QRect &page, int line);

void paint(QPainter &painter, const QRect &page, const Classroom::Row &row);
// Prints on a printer or a PDF writer, already set up for its page.
void print(QPagedPaintDevice &device, const Classroom::Row &row);

} // namespace PupilSheet
