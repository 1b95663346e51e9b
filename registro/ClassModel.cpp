#include "ClassModel.h"

#include "Figures.h"
#include "SafeText.h"
#include "Trend.h"

#include <limits>

void ClassModel::show(const QList<Classroom::Row> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int ClassModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ClassModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant ClassModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Classroom::Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return shown(row, index.column());
    case SortRole:
        return sortValue(row, index.column());
    case Qt::ToolTipRole:
        return index.column() == Name ? SafeText::shown(row.pupil.name, 200) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == Name || index.column() == Trend ? QVariant() : QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant ClassModel::shown(const Classroom::Row &row, int column) const
{
    const Measures::Summary &s = row.summary;
    switch (column) {
    case Name: return SafeText::shown(row.pupil.name);
    case Played: return s.played;
    case Last: return Figures::date(s.last);
    case Best: return s.best;
    case LastScore: return s.lastScore;
    case ShareRight: return Figures::percent(s.medianMs ? std::optional(s.shareRight) : std::nullopt); // no answers, no share
    case Median: return Figures::seconds(s.medianMs);
    case Trend: return Trend::text(s.recentMean, s.earlierMean);
    }
    return {};
}

QVariant ClassModel::sortValue(const Classroom::Row &row, int column) const
{
    const Measures::Summary &s = row.summary;
    switch (column) {
    case Name: return row.pupil.name.toCaseFolded();
    case Last: return s.last;
    case ShareRight: return s.shareRight;
    case Median: return s.medianMs ? QVariant(*s.medianMs) : QVariant(std::numeric_limits<qint64>::max());
    case Trend: return s.recentMean && s.earlierMean ? *s.recentMean - *s.earlierMean : -1e9;
    default: return shown(row, column);
    }
}

QVariant ClassModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const titles[] = {"Alunno", "Sfide", "Ultima sfida", "Migliore", "Ultimo punteggio",
                                         "Esatte", "Tempo mediano", "Ultime 5 e 5 prima"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Columns)
        return {};
    return QString::fromUtf8(titles[section]);
}
