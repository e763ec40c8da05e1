#include "filteredtablemodel.h"

#include <cmath>
#include <limits>

int FilteredTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return filtered_ ? static_cast<int>(rows_.size()) : sourceRows_;
}

QVariant FilteredTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return CellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

QVariant FilteredTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The tip carries the whole header where a narrow column cuts it.
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    return HeaderText(section);
}

Qt::ItemFlags FilteredTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;  // never editable
}

void FilteredTableModel::SetColumnFilter(int column, const QString& condition)
{
    beginResetModel();
    gridfilter::Condition parsed = gridfilter::Condition::Parse(condition);
    if (parsed.IsAll())
        filters_.erase(column);
    else
        filters_[column] = std::move(parsed);
    Refilter();
    endResetModel();
}

QString FilteredTableModel::ColumnFilter(int column) const
{
    const auto it = filters_.find(column);
    return it == filters_.end() ? QStringLiteral("*") : it->second.Text();
}

void FilteredTableModel::ClearFilters()
{
    beginResetModel();
    filters_.clear();
    Refilter();
    endResetModel();
}

QString FilteredTableModel::CellText(int row, int column) const
{
    const int source = SourceRow(row);
    if (source < 0 || column < 0 || column >= columnCount())
        return {};
    return SourceText(source, column);
}

QString FilteredTableModel::HeaderText(int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    return SourceHeader(column);
}

int FilteredTableModel::SourceRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return filtered_ ? rows_[static_cast<std::size_t>(row)] : row;
}

void FilteredTableModel::EndReset()
{
    Refilter();
    endResetModel();
}

double FilteredTableModel::SourceDate(int, int) const
{
    return std::numeric_limits<double>::quiet_NaN();
}

bool FilteredTableModel::SourceMatches(int sourceRow, int column, const gridfilter::Condition& condition) const
{
    const double date = SourceDate(sourceRow, column);
    if (!std::isnan(date))
        return condition.MatchesDate(condition.DateOnly() ? QString() : SourceText(sourceRow, column), date);
    return condition.Matches(SourceText(sourceRow, column));
}

void FilteredTableModel::Refilter()
{
    sourceRows_ = CountSourceRows();
    rows_.clear();
    filtered_ = !filters_.empty();
    if (!filtered_) {
        rows_.shrink_to_fit();
        return;
    }
    for (int r = 0; r < sourceRows_; ++r) {
        bool keep = true;
        for (const auto& [column, condition] : filters_)
            if (column < columnCount() && !SourceMatches(r, column, condition)) {
                keep = false;
                break;
            }
        if (keep)
            rows_.push_back(r);
    }
}
