#include "loggridview.h"

#include "filteredtablemodel.h"
#include "gridtools.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QSettings>

LogGridView::LogGridView(QWidget* parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(21);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QHeaderView::customContextMenuRequested, this, [this](const QPoint& pos) {
        ShowFilterMenu(horizontalHeader()->logicalIndexAt(pos), horizontalHeader()->mapToGlobal(pos));
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { SaveWidth(column, width); });
}

LogGridView::~LogGridView() = default;

void LogGridView::SetTable(FilteredTableModel* model)
{
    table_ = model;
    setModel(model);
}

void LogGridView::SetFilterList(int column, const QList<FilterEntry>& entries)
{
    if (entries.isEmpty())
        filterLists_.erase(column);
    else
        filterLists_[column] = entries;
}

QList<LogGridView::FilterEntry> LogGridView::FilterList(int column) const
{
    const auto it = filterLists_.find(column);
    return it == filterLists_.end() ? QList<FilterEntry>() : it->second;
}

void LogGridView::ChooseFilter(int column, int entry)
{
    const QList<FilterEntry> list = FilterList(column);
    if (!table_ || entry < 0 || entry >= list.size())
        return;
    QString condition = list[entry].second;
    if (FilterSelect)
        FilterSelect(column, entry, list[entry].first, condition);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    table_->SetColumnFilter(column, condition);
    QApplication::restoreOverrideCursor();
}

void LogGridView::ShowFilterMenu(int column, const QPoint& globalPos)
{
    const QList<FilterEntry> list = FilterList(column);
    if (column < 0 || list.isEmpty())
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuFilter"));
    for (int i = 0; i < list.size(); ++i) {
        QAction* action = menu.addAction(list[i].first);
        action->setData(i);
    }
    if (QAction* chosen = menu.exec(globalPos))
        ChooseFilter(column, chosen->data().toInt());
}

void LogGridView::HideColumns(int left, int right)
{
    for (int c = std::max(left, 0); c <= right && c < (model() ? model()->columnCount() : 0); ++c)
        setColumnHidden(c, true);
}

void LogGridView::UnhideAllColumns()
{
    const int columns = model() ? model()->columnCount() : 0;
    for (int c = 0; c < columns; ++c)
        setColumnHidden(c, false);
}

QString LogGridView::SelectionText() const
{
    if (!model() || !selectionModel())
        return {};
    return gridexport::SelectionText(*model(), selectionModel()->selectedIndexes(),
                                     [this](int column) { return !isColumnHidden(column); });
}

void LogGridView::CopySelectionToClipboard() const
{
    QApplication::clipboard()->setText(SelectionText());
}

void LogGridView::AutoSizeColumns(int margin)
{
    if (!model())
        return;
    for (int c = 0; c < model()->columnCount(); ++c) {
        resizeColumnToContents(c);
        setColumnWidth(c, columnWidth(c) + margin);
    }
}

void LogGridView::SetWidthStore(const QString& key, const QString& section)
{
    widthKey_ = key;
    widthSection_ = section;
    if (!model())
        return;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, key);
    settings.beginGroup(section);
    loadingWidths_ = true;
    for (int c = 0; c < model()->columnCount(); ++c) {
        bool ok = false;
        const int width = settings.value(QStringLiteral("Col%1").arg(c)).toInt(&ok);
        if (ok && width > 0 && width < 4000)
            setColumnWidth(c, width);
    }
    loadingWidths_ = false;
}

void LogGridView::SaveWidth(int column, int width)
{
    if (loadingWidths_ || widthKey_.isEmpty() || width <= 0)
        return;  // a hidden column reports width 0: keep its last real width
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, widthKey_);
    settings.beginGroup(widthSection_);
    settings.setValue(QStringLiteral("Col%1").arg(column), width);
}

void LogGridView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    const QItemSelection all = selectionModel() ? selectionModel()->selection() : QItemSelection();
    if (all.isEmpty()) {
        emit SelectionRectChanged(0, 0, 0, 0);
        return;
    }
    int left = all.first().left(), right = all.first().right();
    int top = all.first().top(), bottom = all.first().bottom();
    for (const QItemSelectionRange& range : all) {
        left = std::min(left, range.left());
        right = std::max(right, range.right());
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
    }
    emit SelectionRectChanged(left, top + 1, right, bottom + 1);
}
