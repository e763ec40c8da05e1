#pragma once

#include "gridfilter.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

// A read-only table over rows kept elsewhere, narrowed by one condition per column. It copies no
// cell: the rows shown are a list of source row numbers, rebuilt when a condition changes, and
// every text is asked of the subclass when the view paints it. The log grids (archive, events)
// build on it so that hundreds of thousands of records open and filter at once.
class FilteredTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FilteredTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The column's condition ("*" or empty shows every row); the rows are filtered at once.
    void SetColumnFilter(int column, const QString& condition);
    QString ColumnFilter(int column) const;
    // Every column shows all rows again.
    void ClearFilters();

    // Text of a shown cell; empty outside the table.
    QString CellText(int row, int column) const;
    QString HeaderText(int column) const;
    int SourceRow(int row) const;
    int SourceRowCount() const { return sourceRows_; }

protected:
    // The subclass calls these around every change of its rows (they keep the filters).
    void BeginReset() { beginResetModel(); }
    void EndReset();

    virtual int CountSourceRows() const = 0;
    virtual QString SourceText(int sourceRow, int column) const = 0;
    virtual QString SourceHeader(int column) const = 0;
    // The cell's date-time when the column holds date-times, NaN otherwise.
    virtual double SourceDate(int sourceRow, int column) const;
    // Whether the cell meets the condition. The default asks SourceText (and SourceDate); a
    // subclass with faster access to its texts may answer itself.
    virtual bool SourceMatches(int sourceRow, int column, const gridfilter::Condition& condition) const;

private:
    void Refilter();

    int sourceRows_ = 0;
    bool filtered_ = false;
    std::vector<std::int32_t> rows_;  // the source rows shown, when a filter is set
    std::map<int, gridfilter::Condition> filters_;
};
