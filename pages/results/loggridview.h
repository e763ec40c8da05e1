#pragma once

#include <QHeaderView>
#include <QList>
#include <QPair>
#include <QString>
#include <QTableView>
#include <functional>
#include <map>

class FilteredTableModel;
class QFontMetrics;

namespace loggrid {
// What a cell shows of a number wider than its room: the number rounded to as many decimals as
// fit (its exponent kept), so the digits shown are its leading ones; "#" across the room when not
// even its whole part fits. Any other text, and a number that fits, comes back as it is.
QString FitNumber(const QString& text, const QFontMetrics& metrics, int room);
}  // namespace loggrid

// The column heads of a log grid: a name wider than its column is cut at its end with an
// ellipsis ("Stream (Str..."), never at both ends; the model's tooltip gives it whole.
class LogGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit LogGridHeader(QWidget* parent = nullptr);

    // The width that shows the column's name whole.
    int NameWidth(int logicalIndex) const { return sectionSizeFromContents(logicalIndex).width(); }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};

// The view of a log grid (archive records, events): read-only cells of a FilteredTableModel, one
// rectangular selection reported in grid coordinates (the header is row 0, data rows start at
// 1), columns hidden and shown again, per-column filter lists opened from the header, the
// selected cells copied as text, and column widths kept under a registry key and section.
class LogGridView : public QTableView {
    Q_OBJECT
public:
    // A filter entry: friendly name and condition ("Today" = "*").
    using FilterEntry = QPair<QString, QString>;
    // Called when the user picks an entry, before its condition is applied; may change it.
    using FilterSelectFn = std::function<void(int column, int entry, const QString& name, QString& condition)>;

    explicit LogGridView(QWidget* parent = nullptr);
    ~LogGridView() override;

    void SetTable(FilteredTableModel* model);
    FilteredTableModel* Table() const { return table_; }

    // The column's filter list; an empty list offers none.
    void SetFilterList(int column, const QList<FilterEntry>& entries);
    QList<FilterEntry> FilterList(int column) const;
    FilterSelectFn FilterSelect;
    // Picks an entry as the user does from the header's list: FilterSelect, then the filter.
    void ChooseFilter(int column, int entry);

    void HideColumns(int left, int right);
    void UnhideAllColumns();

    // The selected cells as text, hidden columns left out.
    QString SelectionText() const;
    void CopySelectionToClipboard() const;

    // Sizes every column to its contents plus the margin.
    void AutoSizeColumns(int margin = 12);
    // Sizes every shown column that holds texts to its cells' texts plus the margin, and at least
    // to its name up to some twenty characters (a longer name is cut at its end and shown whole
    // in its tooltip). Run after every fill.
    void FitColumnsToTexts(int margin = 12);

    // Loads the widths kept under the key and section and keeps every later change there.
    void SetWidthStore(const QString& key, const QString& section);

signals:
    // The selection rectangle: columns left to right, grid rows top to bottom (header row 0).
    void SelectionRectChanged(int left, int top, int right, int bottom);

protected:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void ShowFilterMenu(int column, const QPoint& globalPos);
    void SaveWidth(int column, int width);

    FilteredTableModel* table_ = nullptr;
    std::map<int, QList<FilterEntry>> filterLists_;
    QString widthKey_;
    QString widthSection_;
    bool loadingWidths_ = false;
};
