#include "archiveviewer.h"

#include "numbertext.h"
#include "ui_archiveviewer.h"

#include "archivechart.h"
#include "archivegridmodel.h"
#include "archivexmlfile.h"
#include "database.h"
#include "datadir.h"
#include "dialogservice.h"
#include "framecomm.h"
#include "gridfilter.h"
#include "gridtools.h"
#include "logdbmgr.h"
#include "logfilterchoice.h"
#include "loggridview.h"
#include "pagehost.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QFileInfo>
#include <QIntValidator>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>

namespace {

const QString kPreparing = QStringLiteral("Preparing Display...");
const QString kArchiveFilter = QStringLiteral("Sentrel515 Archive (*.xml *.XML)");
const QString kOpenArchiveTitle = QStringLiteral("Open Sentrel515 Archive File");

TfraArchiveViewer::CsvExport gLegalCsv;
TfraArchiveViewer::CsvExport gPacketCsv;

}  // namespace

const PageDecl TfraArchiveViewer::kDecl = {
    .frameName = "fraArchiveViewer",
    .sheetName = "TabSheetAV",
    .caption = "Archive ",
    .tab = 3,
    .level = 1,
    .scan = {.number = 1, .showWait = true},
    .entry = {.setsMode = true,
              .stopsPoll = true,
              .enterRoutine = true,
              .read = "ReadLogConfig",
              .closing = EntryClose::Idle},
    .splash = "Loading Sentrel515 Desktop...Archive",
};

TfraArchiveViewer::TfraArchiveViewer(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), logDb_(services.logDatabase),
          ui_(std::make_unique<Ui::TfraArchiveViewer>()), model_(new ArchiveGridModel(this))
{
    ui_->setupUi(this);
    setObjectName(QStringLiteral("fraArchiveViewer"));
    ui_->edtDispRange->setValidator(new QIntValidator(0, 99999999, ui_->edtDispRange));
    ui_->edtDispRange->installEventFilter(this);
    ui_->cbArchive->installEventFilter(this);
    ui_->tbtnZoomMode->setVisible(false);
    ui_->tbtnAutoScale->setVisible(false);
    ui_->tbtnFullGraph->setVisible(false);

    LogGridView* grid = ui_->gridArchive;
    grid->SetTable(model_);
    // Wide enough for a date and a long time in the default font.
    grid->setColumnWidth(ArchiveGridModel::colTS, 150);
    grid->SetWidthStore(QStringLiteral("KVT408"), QStringLiteral("ArchReader"));
    grid->SetFilterList(ArchiveGridModel::colSeq, {{"[All]", "*"}, {"[Custom]", "*"}});
    grid->SetFilterList(ArchiveGridModel::colTS, {{"[All]", "*"},
                                                  {"[Custom]", "*"},
                                                  {"Today", "*"},
                                                  {"Yesterday", "*"},
                                                  {"This Month", "*"},
                                                  {"Last Month", "*"}});
    SetValueFilterLists();
    grid->FilterSelect = [this](int column, int entry, const QString& name, QString& condition) {
        gridArchiveFilterSelect(column, entry, name, condition);
    };
    connect(grid, &LogGridView::SelectionRectChanged, this, &TfraArchiveViewer::gridArchiveSelectionChanged);
    BuildPopupMenu();
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& pos) { popArchGrid_->popup(grid->viewport()->mapToGlobal(pos)); });

    connect(ui_->btnReadFromUnit, &QToolButton::clicked, this, &TfraArchiveViewer::btnReadFromUnitClick);
    connect(ui_->btnReadFromFile, &QToolButton::clicked, this, &TfraArchiveViewer::btnReadFromFileClick);
    connect(ui_->btnAutoSizeCols, &QToolButton::clicked, this, &TfraArchiveViewer::btnAutoSizeColsClick);
    connect(ui_->btnLogSetup, &QToolButton::clicked, this, &TfraArchiveViewer::btnLogSetupClick);
    connect(ui_->cbArchive, qOverload<int>(&QComboBox::activated), this, &TfraArchiveViewer::cbArchiveSelect);
    connect(ui_->pcViewer, &QTabWidget::currentChanged, this, &TfraArchiveViewer::pcViewerChange);

    chart_ = new TArchiveChart(Host(), ui_->tsGraph);
    ui_->layoutGraph->addWidget(chart_);
    chart_->SetToolButtons(ui_->tbtnAutoScale, ui_->tbtnFullGraph);
    connect(ui_->btnGraphSelCol, &QToolButton::clicked, this, &TfraArchiveViewer::btnGraphSelColClick);
    connect(ui_->tbtnZoomMode, &QToolButton::toggled, chart_, &TArchiveChart::tbtnZoomModeClick);
    connect(ui_->tbtnAutoScale, &QToolButton::clicked, chart_, &TArchiveChart::tbtnAutoScaleClick);
    connect(ui_->tbtnFullGraph, &QToolButton::clicked, chart_, &TArchiveChart::mnuShowEntireGraphClick);

    ui_->cbArchive->setPlaceholderText(QStringLiteral("Select an archive to view"));
    FillArchiveList();
    ui_->cbArchive->setCurrentIndex(-1);
}

TfraArchiveViewer::~TfraArchiveViewer() = default;

LogGridView* TfraArchiveViewer::Grid() const
{
    return ui_->gridArchive;
}

void TfraArchiveViewer::SetCsvExports(CsvExport legal, CsvExport packet)
{
    gLegalCsv = std::move(legal);
    gPacketCsv = std::move(packet);
}

void TfraArchiveViewer::BuildPopupMenu()
{
    popArchGrid_ = new QMenu(this);
    popArchGrid_->setObjectName(QStringLiteral("popArchGrid"));
    auto add = [this](const char* name, const QString& caption, auto slot) {
        QAction* action = popArchGrid_->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("mnuLoadFile", QStringLiteral("Load from File"), &TfraArchiveViewer::mnuLoadFileClick);
    add("mnuSaveFile", QStringLiteral("Save to File"), &TfraArchiveViewer::mnuSaveFileClick);
    add("SaveAsPacketCSV", QStringLiteral("Save as Packet CSV"), &TfraArchiveViewer::SaveAsPacketCSVClick);
    add("SaveasCSV", QStringLiteral("Save as Legal CSV"), &TfraArchiveViewer::SaveasCSVClick);
    add("mnuSaveasXLS", QStringLiteral("Save as XLS"), &TfraArchiveViewer::mnuSaveasXLSClick);
    add("CopySelectiontoClipboard1", QStringLiteral("Copy Selection to Clipboard"),
        &TfraArchiveViewer::CopySelectiontoClipboard1Click);
    add("mnuCopyImagetoClipboard", QStringLiteral("Copy Image to Clipboard"),
        &TfraArchiveViewer::mnuCopyImagetoClipboardClick);
    popArchGrid_->addSeparator();
    mnuHideSelectedColumn_ = add("mnuHideSelectedColumn", QStringLiteral("Hide Selected Column(s)"),
                                 &TfraArchiveViewer::mnuHideSelectedColumnClick);
    mnuUnhideAllColumns_ =
        add("mnuUnhideAllColumns", QStringLiteral("Unhide All Columns"), &TfraArchiveViewer::mnuUnhideAllColumnsClick);
    mnuHideSelectedColumn_->setVisible(false);
    mnuUnhideAllColumns_->setVisible(false);
}

void TfraArchiveViewer::SetValueFilterLists()
{
    for (int j = 0; j < ArchiveGridModel::kValueColumns; ++j)
        ui_->gridArchive->SetFilterList(ArchiveGridModel::kFixedColumns + j, {{"[All]", "*"}, {"[Custom]", "*"}});
}

void TfraArchiveViewer::SetStatus(const QString& text)
{
    Host().SetStatusText(text);
}

void TfraArchiveViewer::ChangeToDataDirectory()
{
    datadir::makeCurrent();
}

void TfraArchiveViewer::FillArchiveList()
{
    QComboBox* box = ui_->cbArchive;
    box->clear();
    for (int n = 0; n < 5; ++n)
        box->addItem(ArchiveGridModel::ArchiveName(n), n);
}

void TfraArchiveViewer::SetHeadersFromLogTable(int archive)
{
    SetValueFilterLists();
    valueHeaders_.clear();
    if (archive < 0 || archive >= logrecord::kLogs)
        return;
    const LogRecord& log = Database().LogRecords()[static_cast<std::size_t>(archive)];
    const int values = std::min<int>(log.ParametersInLog, logrecord::kParameters) - 1;
    for (int j = 0; j < values; ++j)
        valueHeaders_ << ArchiveXmlFile::RegisterMapName(Database(), log.Parameters[j + 1]);
}

void TfraArchiveViewer::SetHeadersFromFile(int archive)
{
    SetValueFilterLists();
    valueHeaders_.clear();
    // The names were read with the file, whole; a file whose ArchiveNames is not its first
    // child names no column.
    if (fileHeaders_ && archive >= 0 && archive < logrecord::kLogs)
        valueHeaders_ = (*fileHeaders_)[static_cast<std::size_t>(archive)];
}

void TfraArchiveViewer::FillGrid(int archive)
{
    if (fromFile_)
        SetHeadersFromFile(archive);
    else
        SetHeadersFromLogTable(archive);
    LogGridView* grid = ui_->gridArchive;
    grid->UnhideAllColumns();
    const LogDBMgr& db = logDb_;
    const int parameters = archive >= 0 && archive < logrecord::kLogs
                               ? Database().LogRecords()[static_cast<std::size_t>(archive)].ParametersInLog
                               : 0;
    if (parameters == 0) {
        model_->ShowLog(db, archive, 0, 0, valueHeaders_);
        return;
    }
    const int count = static_cast<int>(db.PerLog().logs[static_cast<std::size_t>(archive)].records.size());
    if (count == 0) {
        ui_->LogRecordNum->setText(QStringLiteral("0"));
        model_->ShowLog(db, archive, 0, 0, valueHeaders_);
        return;
    }
    const std::optional<int> typed = numtext::tryStrToInt(ui_->edtDispRange->text());
    int shown = typed.value_or(-1);
    if (shown < 0) {
        // An emptied box shows the records it showed at first.
        shown = 100;
        ui_->edtDispRange->setText(QStringLiteral("100"));
    }
    shown = std::min(shown, kMaxDisplayRange);
    if (shown > count) {
        shown = count;
        ui_->edtDispRange->setText(QString::number(count));
    }
    model_->ShowLog(db, archive, shown, std::min(parameters, logrecord::kParameters) - 1, valueHeaders_);
    // Every value readable whole: the columns take the width of what they now show.
    grid->FitColumnsToTexts();
    ui_->LogRecordNum->setText(QString::number(count));
    Host().ShowWait(PageHost::Wait::Hidden);
}

void TfraArchiveViewer::UpdateLogView()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetStatus(kPreparing);
    ui_->edtDispRange->setText(QStringLiteral("50"));
    FillGrid(0);
    Host().ShowWait(PageHost::Wait::Hidden);
    ui_->cbArchive->setEnabled(true);
    ui_->cbArchive->setCurrentIndex(0);
    chosenArchive_ = 0;
    QApplication::restoreOverrideCursor();
}

void TfraArchiveViewer::btnReadFromUnitClick()
{
    PageHost* host = &Host();
    if (!host->LoggedOn()) {
        DialogService::warn(QStringLiteral("Please logon first, then do this."));
        return;
    }
    fromFile_ = false;
    archiveFileName_.clear();
    fileHeaders_.reset();
    Host().ShowWait(PageHost::Wait::Animated);
    ui_->btnReadFromUnit->setEnabled(false);
    ui_->btnLogSetup->setEnabled(false);
    ui_->btnReadFromFile->setEnabled(false);
    // The download refills the database from its worker thread: the grid lets go of the records
    // first, and shows nothing old should the download fail before it starts.
    const bool chooser = ui_->cbArchive->isEnabled();
    ui_->cbArchive->setEnabled(false);
    model_->ShowLog(logDb_, chosenArchive_, 0, 0, {});
    ui_->LogRecordNum->setText(QStringLiteral("0"));
    logDb_.Clear();

    host->Queue("ReadLogConfig", "");
    host->Queue("ReadALog", "");

    // Shown records enable the chooser; otherwise it is as it was.
    if (!ui_->cbArchive->isEnabled())
        ui_->cbArchive->setEnabled(chooser);

    ui_->btnLogSetup->setEnabled(!readOnly_);
    ui_->btnReadFromUnit->setEnabled(true);
    ui_->btnReadFromFile->setEnabled(true);
}

void TfraArchiveViewer::btnReadFromFileClick()
{
    ui_->btnReadFromFile->setEnabled(false);
    ui_->btnReadFromUnit->setEnabled(false);
    Host().Queue("ReadALog2", "");
    ui_->cbArchive->setEnabled(true);
    ui_->cbArchive->setCurrentIndex(0);
    chosenArchive_ = 0;
    ui_->btnReadFromFile->setEnabled(true);
    ui_->btnReadFromUnit->setEnabled(true);
}

void TfraArchiveViewer::cbArchiveSelect(int index)
{
    if (index < 0)
        return;
    chosenArchive_ = ui_->cbArchive->itemData(index).toInt();
    FillGrid(chosenArchive_);
}

void TfraArchiveViewer::cbArchiveDropDown()
{
    FillArchiveList();
    ui_->cbArchive->setCurrentIndex(-1);
}

void TfraArchiveViewer::edtDispRangeKeyDown(int key)
{
    if (numtext::tryStrToInt64(ui_->edtDispRange->text()).value_or(0) > kMaxDisplayRange)
        ui_->edtDispRange->setText(QString::number(kMaxDisplayRange));
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        FillGrid(chosenArchive_);
}

bool TfraArchiveViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->edtDispRange && event->type() == QEvent::KeyPress)
        edtDispRangeKeyDown(static_cast<QKeyEvent*>(event)->key());
    if (watched == ui_->cbArchive && ui_->cbArchive->isEnabled()) {
        const bool opens =
            event->type() == QEvent::MouseButtonPress ||
            (event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4 ||
                                                   (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down &&
                                                    (static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier))));
        if (opens)
            cbArchiveDropDown();
    }
    return TPageFrame::eventFilter(watched, event);
}

void TfraArchiveViewer::btnAutoSizeColsClick()
{
    ui_->gridArchive->AutoSizeColumns();
}

void TfraArchiveViewer::btnGraphSelColClick()
{
    const int column =
        ui_->gridArchive->currentIndex().isValid() ? ui_->gridArchive->currentIndex().column() : selLeft_;
    // The point behind a value column decides how its texts are read: unsigned 8-bit points
    // (type 3) as integers, every other one as floating-point numbers.
    int type = 0;
    const int k = column - ArchiveGridModel::kFixedColumns;
    if (k >= 0 && k + 1 < logrecord::kParameters && chosenArchive_ >= 0 && chosenArchive_ < logrecord::kLogs) {
        const LogRecord& log = Database().LogRecords()[static_cast<std::size_t>(chosenArchive_)];
        type = Database().GetPointType(log.Parameters[k + 1]);
    }
    // The selection counts the header as row 0.
    const chartstats::Column points = chartstats::ReadColumn(
        *model_, selTop_ - 1, selBottom_ - 1, column, ArchiveGridModel::colSeq, ArchiveGridModel::colTS, type == 3);
    chart_->Plot(QStringLiteral("Archive: ") + ui_->cbArchive->currentText() + QStringLiteral(" - Column: ") +
                     model_->HeaderText(column),
                 points, selBottom_ - selTop_ <= 50);
    ui_->pcViewer->setCurrentIndex(1);
    pcViewerChange(1);
    ui_->btnGraphSelCol->setEnabled(false);
}

void TfraArchiveViewer::btnLogSetupClick()
{
    Host().ExecWindow("LogFrm");
}

void TfraArchiveViewer::ExportCsv(const CsvExport& exporter)
{
    const QString name =
        DialogService::saveFileNameWithExtension(QString(), QString(), QStringLiteral("CSV File (*.csv *.CSV)"), "csv");
    if (!name.isEmpty() && exporter) {
        QString error;
        if (!exporter(Database(), logDb_, name, &error))
            gridfile::ErrorBox(QStringLiteral("The file \"%1\" could not be written: %2").arg(name, error));
    }
    ChangeToDataDirectory();
}

void TfraArchiveViewer::SaveasCSVClick()
{
    ExportCsv(gLegalCsv);
}

void TfraArchiveViewer::SaveAsPacketCSVClick()
{
    ExportCsv(gPacketCsv);
}

void TfraArchiveViewer::pcViewerChange(int index)
{
    const bool graph = index == 1;
    ui_->tbtnZoomMode->setVisible(graph);
    ui_->tbtnAutoScale->setVisible(graph);
    ui_->tbtnFullGraph->setVisible(graph);
    ui_->btnGraphSelCol->setVisible(!graph);
    ui_->btnAutoSizeCols->setVisible(!graph);
}

void TfraArchiveViewer::FollowReadOnly(bool readOnly)
{
    setEnabled(true);
    SetReadOnly(readOnly);
}

void TfraArchiveViewer::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    ui_->btnLogSetup->setEnabled(!readOnly);
}

// The XML archive file.

void TfraArchiveViewer::SaveLogFile()
{
    const QString name = DialogService::saveFileNameWithExtension(QStringLiteral("Save Sentrel515 Archive File"),
                                                                  QString(), kArchiveFilter, "xml");
    if (!name.isEmpty()) {
        window()->repaint();
        WriteXmlArchive(name);
    }
    ChangeToDataDirectory();
}

void TfraArchiveViewer::SaveIncompleteLogFile()
{
    if (DialogService::ask(QMessageBox::Warning, QStringLiteral("Warning"),
                           QString::fromLatin1(kIncompleteSaveQuestion),
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        SaveLogFile();
}

bool TfraArchiveViewer::WriteXmlArchive(const QString& fileName)
{
    PageHost* wait = &Host();
    wait->ShowWait(PageHost::Wait::Progress);
    QString error;
    DataBase& database = Database();
    const bool written = ArchiveXmlFile::Write(
        fileName, logDb_, database.LogRecords(),
        [&database](std::uint16_t id) { return ArchiveXmlFile::RegisterMapName(database, id); }, &error);
    wait->ShowWait(PageHost::Wait::Hidden);
    if (!written)
        gridfile::ErrorBox(QStringLiteral("The archive could not be saved to \"%1\": %2").arg(fileName, error));
    return written;
}

bool TfraArchiveViewer::LoadXmlArchive()
{
    // The window that holds the page (the main window) is drawn before the long work.
    window()->repaint();
    PageHost* wait = &Host();
    wait->ShowWait(PageHost::Wait::Progress);
    const QString name = DialogService::instance()->openFileName(kOpenArchiveTitle, QString(), kArchiveFilter);
    ChangeToDataDirectory();
    if (name.isEmpty()) {
        wait->ShowWait(PageHost::Wait::Hidden);
        SetStatus(kPreparing);
        return false;
    }
    if (!QFileInfo::exists(name)) {
        wait->ShowWait(PageHost::Wait::Hidden);
        return false;
    }
    SetStatus(QStringLiteral("Loading file..."));
    QString error;
    std::optional<ArchiveXmlFile::Contents> contents = ArchiveXmlFile::Read(name, &error);
    if (!contents) {
        wait->ShowWait(PageHost::Wait::Hidden);
        SetStatus(QString());
        gridfile::ErrorBox(QStringLiteral("Error opening file \"%1\": %2").arg(QFileInfo(name).fileName(), error));
        return false;
    }
    SetStatus(QStringLiteral("Searching Records..."));
    const int badTimeStamps = contents->badTimeStamps;
    fileHeaders_ = contents->headers;
    // The grid lets go of the records the file replaces.
    model_->ShowLog(logDb_, chosenArchive_, 0, 0, valueHeaders_);
    ArchiveXmlFile::Apply(std::move(*contents), logDb_, Database().LogRecords());
    fromFile_ = true;
    archiveFileName_ = name;
    wait->ShowWait(PageHost::Wait::Hidden);
    if (badTimeStamps > 0)
        DialogService::ask(QMessageBox::Warning, QStringLiteral("Attention"),
                           QStringLiteral("Invalide Time Stamp found.\n\n%1 of the records have no readable time stamp "
                                          "and are listed at midnight of 30 December 1899.")
                               .arg(badTimeStamps),
                           QMessageBox::Ok);
    SetStatus(kPreparing);
    return true;
}

// The grid's tools.

void TfraArchiveViewer::gridArchiveFilterSelect(int column, int, const QString& name, QString& condition)
{
    // The Seq and value columns keep the condition last typed for them.
    QString* typed = nullptr;
    if (column >= ArchiveGridModel::kFixedColumns && name == QLatin1String("[Custom]"))
        typed = &valueFilterTexts_.at(static_cast<std::size_t>(column - ArchiveGridModel::kFixedColumns));
    else if (column == ArchiveGridModel::colSeq)
        typed = &seqFilterText_;
    logfilterchoice::Choose(Host(), column, name, condition, ArchiveGridModel::colTS, typed);
}

void TfraArchiveViewer::gridArchiveSelectionChanged(int left, int top, int right, int bottom)
{
    selLeft_ = left;
    selTop_ = top;
    selRight_ = right;
    selBottom_ = bottom;
    ui_->btnGraphSelCol->setEnabled(top != bottom);
    mnuHideSelectedColumn_->setVisible(top == 1 && bottom == model_->rowCount());
}

void TfraArchiveViewer::mnuHideSelectedColumnClick()
{
    ui_->gridArchive->HideColumns(selLeft_, selRight_);
    mnuHideSelectedColumn_->setVisible(false);
    mnuUnhideAllColumns_->setVisible(true);
}

void TfraArchiveViewer::mnuUnhideAllColumnsClick()
{
    ui_->gridArchive->UnhideAllColumns();
}

void TfraArchiveViewer::LoadGridFile()
{
    const QString name = DialogService::instance()->openFileName(kOpenArchiveTitle, QString(),
                                                                 QStringLiteral("Sentrel Archive (*.tvar *.TVAR)"));
    if (!name.isEmpty()) {
        ui_->pcViewer->setCurrentIndex(0);
        ui_->gridArchive->UnhideAllColumns();
        QString error;
        std::optional<gridfile::Cells> cells = gridfile::Load(name, &error);
        if (cells) {
            model_->ShowCells(cells->headers, std::move(cells->rows));
            ui_->gridArchive->UnhideAllColumns();
            ui_->gridArchive->FitColumnsToTexts();
        } else {
            gridfile::ErrorBox(QStringLiteral("Error opening file \"%1\"").arg(name));
        }
    }
    ChangeToDataDirectory();
}

bool TfraArchiveViewer::AskGridFileName()
{
    gridFileName_ = DialogService::saveFileNameWithExtension(
        QString(), QString(), QStringLiteral("Sentrel515 Archive (*.tvar *.TVAR)"), "tvar");
    return !gridFileName_.isEmpty();
}

void TfraArchiveViewer::SaveGridFile()
{
    if (AskGridFileName())
        WriteGridFile();
    ChangeToDataDirectory();
}

void TfraArchiveViewer::WriteGridFile()
{
    QString error;
    if (gridfile::Save(gridFileName_, *model_, &error))
        return;
    // A file that cannot be made there: one more chance at another name.
    if (!AskGridFileName())
        return;
    if (!gridfile::Save(gridFileName_, *model_, &error))
        gridfile::ErrorBox(QStringLiteral("The file \"%1\" could not be written: %2").arg(gridFileName_, error));
}

void TfraArchiveViewer::mnuSaveasXLSClick()
{
    const QString name = DialogService::saveFileNameWithExtension(
        QString(), QString(), QStringLiteral("Microsoft Excel (*.xlsx *.XLSX)"), "xlsx");
    if (!name.isEmpty()) {
        std::vector<int> columns;
        for (int c = 0; c < model_->columnCount(); ++c)
            if (!ui_->gridArchive->isColumnHidden(c))
                columns.push_back(c);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QString error;
        const bool saved = gridexport::SaveXlsx(name, *model_, columns, &error);
        QApplication::restoreOverrideCursor();
        if (!saved)
            gridfile::ErrorBox(QStringLiteral("The file \"%1\" could not be written: %2").arg(name, error));
    }
    ChangeToDataDirectory();
}

void TfraArchiveViewer::CopySelectiontoClipboard1Click()
{
    ui_->gridArchive->CopySelectionToClipboard();
}

void TfraArchiveViewer::mnuCopyImagetoClipboardClick()
{
    QApplication::clipboard()->setPixmap(grab());
}
