#include "auditview.h"

#include "auditgrid.h"
#include "datadir.h"
#include "dialogservice.h"
#include "gridtools.h"
#include "logfilterchoice.h"
#include "loggridview.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

constexpr int kImageHeight = 15;

void notWritten(const QString& name, const QString& error)
{
    gridfile::ErrorBox(QStringLiteral("The file \"%1\" could not be written: %2").arg(name, error));
}

}  // namespace

TAuditView::TAuditView(const AuditViewLayout& layout, PageHost& host, QWidget* pictured, QWidget* parent)
        : QWidget(parent), layout_(layout), host_(host), pictured_(pictured), model_(new AuditGridModel(this)),
          grid_(new LogGridView(this)), imGraph_(new QLabel), labPercent_(new QLabel(QStringLiteral("0.00%")))
{
    setObjectName(QStringLiteral("pnlAudit"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    grid_->setObjectName(QStringLiteral("gridAudit"));
    grid_->SetTable(model_);
    // Only the comment column takes edits (the model refuses the others).
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    for (int c = 0; c < AuditGridModel::kColumns; ++c)
        grid_->setColumnWidth(c, layout.columnWidths[static_cast<std::size_t>(c)]);
    grid_->SetWidthStore(QStringLiteral("KVT408Audit"), QStringLiteral("ArchReader"));
    const QList<LogGridView::FilterEntry> plain = {{"[All]", "*"}, {"[Custom]", "*"}};
    grid_->SetFilterList(AuditGridModel::colSeq, plain);
    grid_->SetFilterList(AuditGridModel::colTS, {{"[All]", "*"},
                                                 {"[Custom]", "*"},
                                                 {"Today", "*"},
                                                 {"Yesterday", "*"},
                                                 {"This Month", "*"},
                                                 {"Last Month", "*"}});
    for (int c : {AuditGridModel::colEvent, AuditGridModel::colAlarm, AuditGridModel::colState})
        grid_->SetFilterList(c, plain);
    grid_->FilterSelect = [this](int column, int, const QString& name, QString& condition) {
        gridAuditFilterSelect(column, name, condition);
    };
    BuildPopupMenu();
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popup_->popup(grid_->viewport()->mapToGlobal(pos)); });
    column->addWidget(grid_, 1);

    auto* bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("pnlUsage"));
    auto* row = new QHBoxLayout(bottom);
    row->setContentsMargins(6, 4, 6, 4);
    auto* caption = new QLabel(QString::fromLatin1(layout.usageCaption), bottom);
    caption->setObjectName(QStringLiteral("labUsage"));
    if (layout.usageCaptionBold) {
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
    }
    row->addWidget(caption);
    auto* sunken = new QFrame(bottom);
    sunken->setObjectName(QStringLiteral("pnlGraph"));
    sunken->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sunken->setLineWidth(1);
    auto* inside = new QHBoxLayout(sunken);
    inside->setContentsMargins(1, 1, 1, 1);
    imGraph_->setParent(sunken);
    imGraph_->setObjectName(QStringLiteral("imGraph"));
    imGraph_->setFixedSize(layout.imageWidth, kImageHeight);
    inside->addWidget(imGraph_);
    row->addWidget(sunken);
    labPercent_->setParent(bottom);
    labPercent_->setObjectName(QStringLiteral("labPercent"));
    labPercent_->setMinimumWidth(labPercent_->fontMetrics().horizontalAdvance(QStringLiteral("100.00%")) + 4);
    row->addWidget(labPercent_);
    row->addStretch(1);
    column->addWidget(bottom);

    QPixmap blank(layout.imageWidth, kImageHeight);
    blank.fill(palette().color(QPalette::Button));
    imGraph_->setPixmap(blank);
}

void TAuditView::BuildPopupMenu()
{
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("popAuditGrid"));
    auto add = [this](const char* name, const QString& caption, auto slot) {
        QAction* action = popup_->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
    };
    add("mnuLoadFile", QStringLiteral("Load from File"), &TAuditView::mnuLoadFileClick);
    add("mnuSaveFile", QStringLiteral("Save to File"), &TAuditView::mnuSaveFileClick);
    add("SaveasCSV", QStringLiteral("Save as CSV"), &TAuditView::SaveasCSVClick);
    add("mnuSaveasXLS", QStringLiteral("Save as XLS"), &TAuditView::mnuSaveasXLSClick);
    add("CopySelectiontoClipboard1", QStringLiteral("Copy Selection to Clipboard"),
        &TAuditView::CopySelectiontoClipboard1Click);
    add("mnuCopyImagetoClipboard", QStringLiteral("Copy Image to Clipboard"),
        &TAuditView::mnuCopyImagetoClipboardClick);
}

void TAuditView::ShowRows(std::vector<AuditGridRow> rows)
{
    model_->ShowEvents(std::move(rows));
    grid_->FitColumnsToTexts();
}

void TAuditView::ClearRows()
{
    model_->Clear();
}

void TAuditView::ClearUsage()
{
    QPixmap blank(layout_.imageWidth, kImageHeight);
    blank.fill(palette().color(QPalette::Button));
    imGraph_->setPixmap(blank);
    labPercent_->clear();
}

void TAuditView::ShowUsage(std::size_t used, std::size_t total)
{
    const int w = layout_.imageWidth;
    QPixmap image(w, kImageHeight);
    image.fill(palette().color(QPalette::Button));
    const int bar = auditrows::BarWidth(w, used, total);
    if (bar > 0) {
        QPainter painter(&image);
        painter.setBrush(QColor(0, 255, 0));
        painter.setPen(QPen(QColor(255, 255, 0), 2));
        // The pen is drawn inside the bar, which ends at its width.
        painter.drawRect(QRectF(1, 1, std::max(bar - 2, 0), kImageHeight - 2));
    }
    imGraph_->setPixmap(image);
    labPercent_->setText(auditrows::PercentText(auditrows::Percent(used, total)));
}

void TAuditView::gridAuditFilterSelect(int column, const QString& name, QString& condition)
{
    QString* typed = nullptr;
    if (column == AuditGridModel::colSeq)
        typed = &seqFilter_;
    else if (column > AuditGridModel::colTS &&
             column - AuditGridModel::colTS - 1 < static_cast<int>(typedFilters_.size()))
        typed = &typedFilters_[static_cast<std::size_t>(column - AuditGridModel::colTS - 1)];
    const QString before = model_->ColumnFilter(column);
    const QString offered = condition;
    logfilterchoice::Choose(host_, column, name, condition, AuditGridModel::colTS, typed);
    // A date-range dialog closed without OK changes nothing: the column keeps the filter it had.
    if (column == AuditGridModel::colTS && name == QLatin1String("[Custom]") && condition == offered)
        condition = before;
}

std::vector<int> TAuditView::ShownColumns() const
{
    std::vector<int> columns;
    for (int c = 0; c < model_->columnCount(); ++c)
        if (!grid_->isColumnHidden(c))
            columns.push_back(c);
    return columns;
}

void TAuditView::mnuLoadFileClick()
{
    const QString name =
        DialogService::instance()->openFileName(QStringLiteral("Open Sentrel515 Event Log Report"), QString(),
                                                QStringLiteral("Sentrel515 Event Log Report (*.tvau *.TVAU)"));
    if (!name.isEmpty()) {
        grid_->UnhideAllColumns();
        QString error;
        std::optional<gridfile::Cells> cells = gridfile::Load(name, &error);
        if (cells)
            error = auditrows::ReportProblem(cells->headers, cells->rows);
        // A file that is no whole event log report leaves the grid as it was.
        if (cells && error.isEmpty()) {
            model_->ShowCells(cells->headers, std::move(cells->rows));
            grid_->UnhideAllColumns();
            grid_->FitColumnsToTexts();
        } else {
            gridfile::ErrorBox(QStringLiteral("Error opening file \"%1\": %2").arg(name, error));
        }
    }
    datadir::makeCurrent();
}

void TAuditView::mnuSaveFileClick()
{
    const QString name =
        DialogService::saveFileNameWithExtension(QString(), QString(), QString::fromLatin1(layout_.saveFilter), "tvau");
    if (!name.isEmpty()) {
        QString error;
        if (!gridfile::Save(name, *model_, &error))
            notWritten(name, error);
    }
    datadir::makeCurrent();
}

void TAuditView::SaveasCSVClick()
{
    const QString name = DialogService::saveFileNameWithExtension(
        QString(), QString(), QStringLiteral("Microsoft Excel (*.csv *.CSV)"), "csv");
    if (!name.isEmpty()) {
        QString error;
        if (!gridexport::SaveCsv(name, *model_, ShownColumns(), &error))
            notWritten(name, error);
    }
    datadir::makeCurrent();
}

void TAuditView::mnuSaveasXLSClick()
{
    const QString name = DialogService::saveFileNameWithExtension(
        QString(), QString(), QStringLiteral("Microsoft Excel (*.xlsx *.XLSX)"), "xlsx");
    if (!name.isEmpty()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QString error;
        const bool saved = gridexport::SaveXlsx(name, *model_, ShownColumns(), &error);
        QApplication::restoreOverrideCursor();
        if (!saved)
            notWritten(name, error);
    }
    datadir::makeCurrent();
}

void TAuditView::CopySelectiontoClipboard1Click()
{
    grid_->CopySelectionToClipboard();
}

void TAuditView::mnuCopyImagetoClipboardClick()
{
    QApplication::clipboard()->setPixmap((pictured_ ? pictured_ : this)->grab());
}

void TAuditView::AutoSizeColumns()
{
    grid_->AutoSizeColumns(5);
}
