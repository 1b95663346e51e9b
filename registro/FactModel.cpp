#include "FactModel.h"

#include "FactLevel.h"
#include "Figures.h"
#include "SafeText.h"

#include <QBrush>

void FactModel::show(const QList<Row> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int FactModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FactModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 10;
}

QString FactModel::cellText(const Measures::Fact &fact, Cells cells)
{
    const FactLevel::Level level = FactLevel::of(fact);
    if (level == FactLevel::Level::Untried)
        return cells == Cells::Full ? FactLevel::word(level) : QStringLiteral("–");
    const QString share = Figures::percent(fact.shareRight);
    if (cells == Cells::Brief)
        return fact.sure ? share + QStringLiteral(" ✓") : share;
    QString text = share + QLatin1Char('\n') + Figures::seconds(fact.medianMs);
    if (fact.sure)
        text += QStringLiteral("\nsicuro");
    return text;
}

QString FactModel::spoken(const Measures::Fact &fact)
{
    const FactLevel::Level level = FactLevel::of(fact);
    QString text = QStringLiteral("10 per %1: ").arg(fact.factor);
    if (level == FactLevel::Level::Untried)
        return text + FactLevel::word(level);
    return text + QStringLiteral("%1 esatte su %2 (%3), tempo mediano %4, %5")
                      .arg(fact.right).arg(fact.tries).arg(Figures::percent(fact.shareRight),
                                                            Figures::seconds(fact.medianMs), FactLevel::word(level));
}

QVariant FactModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_rows.at(index.row()).facts.size())
        return {};
    const Measures::Fact &fact = m_rows.at(index.row()).facts.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(fact, m_cells);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        return spoken(fact);
    case Qt::BackgroundRole:
        return QBrush(FactLevel::colour(FactLevel::of(fact)));
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant FactModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (orientation == Qt::Horizontal)
        return role == Qt::DisplayRole ? QStringLiteral("10×%1").arg(section + 1) : QStringLiteral("10 per %1").arg(section + 1);
    if (section < 0 || section >= m_rows.size())
        return {};
    return SafeText::shown(m_rows.at(section).name, role == Qt::DisplayRole ? 24 : 200);
}
