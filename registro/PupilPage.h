#pragma once

#include "Classroom.h"

#include <QWidget>

class FactModel;
class QChartView;
class QLabel;
class QTableView;
class QTableWidget;

// One pupil: the chart of the contests, the fact grid and the list of
// contests, newest first; activating a contest opens its answers.
class PupilPage : public QWidget
{
    Q_OBJECT
public:
    explicit PupilPage(QWidget *parent = nullptr);

    void showPupil(const Classroom::Row &row);
    void clear();
    bool hasPupil() const { return m_row.has_value(); }
    const Classroom::Row &row() const { return *m_row; }

    QTableView *factGrid() const { return m_grid; }
    QTableWidget *contestList() const { return m_contests; }
    void openAnswers(int listRow);

private:
    std::optional<Classroom::Row> m_row;
    QLabel *m_title;
    QChartView *m_chart;
    FactModel *m_facts;
    QTableView *m_grid;
    QTableWidget *m_contests;
};
