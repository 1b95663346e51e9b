#pragma once

#include "Classroom.h"

#include <QAbstractTableModel>

// One row per pupil, for the class table. SortRole gives each column's
// value as a number or a date, so that "10" sorts after "9".
class ClassModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Name, Played, Last, Best, LastScore, ShareRight, Median, Trend, Columns };
    static constexpr int SortRole = Qt::UserRole;

    explicit ClassModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    void show(const QList<Classroom::Row> &rows);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant shown(const Classroom::Row &row, int column) const;
    QVariant sortValue(const Classroom::Row &row, int column) const;

    QList<Classroom::Row> m_rows;
};
