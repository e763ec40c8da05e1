#include "loggridview.h"

#include "filteredtablemodel.h"
#include "gridtools.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QSettings>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <cmath>

namespace loggrid {

QString FitNumber(const QString& text, const QFontMetrics& metrics, int room)
{
    if (metrics.horizontalAdvance(text) <= room)
        return text;
    // A decimal number with a point or a comma, perhaps an exponent ("9.99999974737875E-6").
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?\\d+)(?:([.,])(\\d*))?([eE][+-]?\\d+)?\\s*$"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return text;
    const QString separator = m.captured(2).isEmpty() ? QStringLiteral(".") : m.captured(2);
    const QString exponent = m.captured(4);
    bool ok = false;
    const double mantissa = (m.captured(1) + QLatin1Char('.') + m.captured(3)).toDouble(&ok);
    if (!ok)
        return text;
    for (int decimals = static_cast<int>(m.captured(3).size()) - 1; decimals >= 0; --decimals) {
        QString shown = QString::number(mantissa, 'f', decimals);
        shown.replace(QLatin1Char('.'), separator);
        shown += exponent;
        if (metrics.horizontalAdvance(shown) <= room)
            return shown;
    }
    // Not even the whole part fits: the spreadsheet's sign that the column is too narrow, never a
    // digit that reads as another number.
    const int hash = std::max(1, metrics.horizontalAdvance(QLatin1Char('#')));
    return QString(std::max(1, room / hash), QLatin1Char('#'));
}

}  // namespace loggrid

namespace {

// Draws a number too wide for its cell as its leading digits (loggrid::FitNumber) instead of the
// view's elided "3..." that reads as another number.
class NumberCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const int room = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).width() - 2 * margin;
        const QString fitted = loggrid::FitNumber(opt.text, opt.fontMetrics, room);
        if (fitted != opt.text) {
            opt.text = fitted;
            opt.textElideMode = Qt::ElideNone;
        }
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }
};

}  // namespace

LogGridHeader::LogGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(true);
}

void LogGridHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    // The label's room as the style lays it out; a highlighted head is drawn bold.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
    int room = sectionSize(logicalIndex) - 2 * margin;
    if (option->sortIndicator != QStyleOptionHeader::None)
        room -= style()->pixelMetric(QStyle::PM_HeaderMarkSize, option, this) + margin;
    QFont bold = font();
    bold.setBold(true);
    option->text = QFontMetrics(bold).elidedText(option->text, Qt::ElideRight, std::max(0, room));
}

LogGridView::LogGridView(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new LogGridHeader(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(21);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(64);
    setItemDelegate(new NumberCellDelegate(this));
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

void LogGridView::FitColumnsToTexts(int margin)
{
    constexpr int kHeadCharacters = 20;
    if (!model())
        return;
    for (int c = 0; c < model()->columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        // A column without a text (a value the log does not record) keeps its width.
        bool texts = false;
        for (int r = 0, rows = std::min(model()->rowCount(), 1000); r < rows && !texts; ++r)
            texts = !model()->index(r, c).data(Qt::DisplayRole).toString().isEmpty();
        const int cells = texts ? sizeHintForColumn(c) : 0;
        if (cells <= 0)
            continue;
        // A short value under a long name still shows the name's first words.
        const int head = std::min(static_cast<const LogGridHeader*>(horizontalHeader())->NameWidth(c),
                                  fontMetrics().averageCharWidth() * kHeadCharacters);
        setColumnWidth(c, std::max(cells + margin, head));
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
