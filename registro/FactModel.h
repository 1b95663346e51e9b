#pragma once

#include "Measures.h"

#include <QAbstractTableModel>

// The ten facts as columns, one row per pupil: the class grid, or a single
// row on a pupil's page. Each cell is coloured by its level and says in
// words what the colour means, for a screen reader as for a print in grey.
class FactModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Row
    {
        QString name;
        QList<Measures::Fact> facts;
    };
    enum class Cells { Brief, Full };

    explicit FactModel(Cells cells, QObject *parent = nullptr) : QAbstractTableModel(parent), m_cells(cells) {}

    void show(const QList<Row> &rows);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString cellText(const Measures::Fact &fact, Cells cells);
    static QString spoken(const Measures::Fact &fact);

private:
    Cells m_cells;
    QList<Row> m_rows;
};
