#include "archivehdr.h"

#include "database.h"
#include "databasepoint.h"
#include "dialogservice.h"
#include "pagehost.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <memory>

namespace {

constexpr int kNoFreeCode = 0xFFFF;

// The grids' column widths, shared by the five logs.
std::unique_ptr<QSettings> widthStore()
{
    auto settings =
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KVT408"));
    settings->beginGroup(QStringLiteral("ArchiveHdr"));
    return settings;
}

QString pointName(const DataBase& database, std::uint16_t pointId)
{
    return QString::fromStdString(database.GetPointNameOrUnknown(pointId));
}

}  // namespace

TLogPointGrid::TLogPointGrid(QWidget* parent) : QAdvColumnGrid(parent)
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalHeader()->setSectionsMovable(true);
}

std::optional<std::uint16_t> TLogPointGrid::PointOf(const QMimeData* data)
{
    if (!data || !data->hasFormat(QString::fromLatin1(logcfg::kPointMime)))
        return std::nullopt;
    return logcfg::readPointPayload(data->data(QString::fromLatin1(logcfg::kPointMime)));
}

std::pair<logcfg::DropPlace, int> TLogPointGrid::PlaceAt(const QPoint& position) const
{
    const int row = rowAt(position.y());
    if (row < 0)
        return {logcfg::DropPlace::Below, rowCount() + 1};
    const bool pointCell = columnAt(position.x()) == TfraArchiveHdr::colPointName;
    return {pointCell ? logcfg::DropPlace::PointCell : logcfg::DropPlace::OtherCell, row + 1};
}

void TLogPointGrid::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(logcfg::kPointMime)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TLogPointGrid::dragMoveEvent(QDragMoveEvent* event)
{
    const auto [place, row] = PlaceAt(event->position().toPoint());
    if (JudgeDrop && logcfg::acceptsDragOver(JudgeDrop(PointOf(event->mimeData()), place, row)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TLogPointGrid::dropEvent(QDropEvent* event)
{
    const auto [place, row] = PlaceAt(event->position().toPoint());
    event->acceptProposedAction();
    if (DropPoint)
        DropPoint(PointOf(event->mimeData()), place, row);
}

TfraArchiveHdr::TfraArchiveHdr(DataBase& database, PageHost& host, UniqueLogID& logIds, QWidget* owner, int logIndex)
        : QWidget(owner), database_(database), host_(host), logIds_(logIds), logIndex_(logIndex),
          grid_(new TLogPointGrid(this)), chkEnable_(new QCheckBox(QStringLiteral("Enable"), this)),
          edtFrequencyLabel_(new QLabel(QStringLiteral("Frequency"), this)), edtFrequency_(new QLineEdit(this)),
          edtUnit_(new QLabel(QStringLiteral("seconds"), this)), popArchiveHdr_(new QMenu(this)),
          mnuDeleteCurrItem_(popArchiveHdr_->addAction(QStringLiteral("Delete Item")))
{
    setObjectName(QStringLiteral("fraLog%1%2").arg(QDateTime::currentMSecsSinceEpoch()).arg(logIndex));
    grid_->setObjectName(QStringLiteral("gridArchiveHdr"));
    chkEnable_->setObjectName(QStringLiteral("chkEnable"));
    edtFrequencyLabel_->setObjectName(QStringLiteral("edtFrequencyLabel"));
    edtFrequency_->setObjectName(QStringLiteral("edtFrequency"));
    edtFrequency_->setToolTip(QStringLiteral("After change value, you should press ENTER key."));
    edtUnit_->setObjectName(QStringLiteral("edtUnit"));
    popArchiveHdr_->setObjectName(QStringLiteral("popArchiveHdr"));
    mnuDeleteCurrItem_->setObjectName(QStringLiteral("mnuDeleteCurrItem"));

    grid_->setColumnCount(kColumns);
    grid_->setHorizontalHeaderLabels({QStringLiteral("Item"), QStringLiteral("Data Point"), QStringLiteral("Enable"),
                                      QStringLiteral("Frequency (seconds)"), QStringLiteral("Log ID")});
    const char* names[kColumns] = {"colSeq", "colPointName", "colEnable", "colFrequency", "colLogID"};
    for (int c = 0; c < kColumns; ++c) {
        grid_->horizontalHeaderItem(c)->setData(Qt::UserRole, QString::fromLatin1(names[c]));
        grid_->Column(c).Editor = GridEditor::None;
    }
    grid_->setColumnHidden(colEnable, true);
    grid_->setColumnHidden(colLogID, true);
    grid_->horizontalHeader()->setSectionResizeMode(colPointName, QHeaderView::Stretch);
    grid_->setColumnWidth(colSeq, 50);
    LoadColumnWidths();
    // The "Data Point" column takes what is left, so its width is not kept.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column != colPointName && width > 0 && !loadingWidths_)
            widthStore()->setValue(QStringLiteral("Col%1").arg(column), width);
    });
    grid_->setRowCount(1);
    grid_->installEventFilter(this);
    grid_->JudgeDrop = [this](std::optional<std::uint16_t> point, logcfg::DropPlace place, int row) {
        return logcfg::judgeDrop(Record(), point, place, row);
    };
    grid_->DropPoint = [this](std::optional<std::uint16_t> point, logcfg::DropPlace place, int row) {
        DropPoint(point, place, row);
    };
    grid_->BeforePost = [this](QAdvColumnGrid*, bool&) {
        if (logcfg::pointCount(Record()) == 0)
            grid_->FindMe();
    };
    connect(grid_, &QWidget::customContextMenuRequested, this, &TfraArchiveHdr::gridArchiveHdrRightClickCell);
    connect(grid_->verticalHeader(), &QHeaderView::sectionMoved, this, &TfraArchiveHdr::gridArchiveHdrRowMoved);
    connect(mnuDeleteCurrItem_, &QAction::triggered, this, &TfraArchiveHdr::mnuDeleteCurrItemClick);
    connect(chkEnable_, &QCheckBox::clicked, this, &TfraArchiveHdr::chkEnableClick);
    connect(edtFrequency_, &QLineEdit::returnPressed, this, &TfraArchiveHdr::edtFrequencyEnter);

    auto* controls = new QHBoxLayout;
    controls->addWidget(chkEnable_);
    controls->addSpacing(16);
    controls->addWidget(edtFrequencyLabel_);
    controls->addWidget(edtFrequency_);
    controls->addWidget(edtUnit_);
    controls->addStretch();
    edtFrequency_->setMaximumWidth(90);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(grid_);
    layout->addLayout(controls);
}

void TfraArchiveHdr::LoadColumnWidths()
{
    loadingWidths_ = true;
    const auto settings = widthStore();
    for (int c = 0; c < kColumns; ++c) {
        bool ok = false;
        const int width = settings->value(QStringLiteral("Col%1").arg(c)).toInt(&ok);
        if (c != colPointName && ok && width > 0 && width < 4000)
            grid_->setColumnWidth(c, width);
    }
    loadingWidths_ = false;
}

TfraArchiveHdr::~TfraArchiveHdr()
{
    // The codes drawn while the window was open are forgotten with it: the list starts again
    // from the single code 0, as a new one does.
    logIds_.Clear();
    logIds_.Add(0);
}

LogRecord& TfraArchiveHdr::Record() const
{
    return database_.LogRecords()[static_cast<std::size_t>(logIndex_)];
}

void TfraArchiveHdr::SetDailyLog()
{
    dailyLog_ = true;
    hourRange_ = std::make_pair(0, 23);
    grid_->horizontalHeaderItem(colFrequency)->setText(QStringLiteral("Hour Taken"));
    edtUnit_->setText(QStringLiteral("Hour"));
    edtFrequencyLabel_->setText(QStringLiteral("Hour Taken"));
}

void TfraArchiveHdr::HideFrequency()
{
    edtFrequency_->setReadOnly(true);
    QPalette greyed = edtFrequency_->palette();
    greyed.setColor(QPalette::Base, palette().color(QPalette::Button));
    edtFrequency_->setPalette(greyed);
    edtFrequency_->hide();
    edtFrequencyLabel_->hide();
    edtUnit_->hide();
}

void TfraArchiveHdr::HideFrequencyColumn()
{
    grid_->setColumnHidden(colFrequency, true);
}

void TfraArchiveHdr::LoadFromDatabase()
{
    newIdDrawn_ = false;
    const LogRecord& record = Record();
    chkEnable_->setChecked(record.Enable != 0);
    edtFrequency_->setText(QString::number(record.Frequency));
    Render();
}

// The grid always shows the record: row r is parameter r.
void TfraArchiveHdr::Render()
{
    const LogRecord& record = Record();
    const int points = logcfg::pointCount(record);
    const QSignalBlocker quiet(grid_);
    grid_->clearContents();
    grid_->setRowCount(std::max(points, 1));
    const QString enableText = record.Enable ? QStringLiteral("Y") : QStringLiteral("N");
    for (int r = 1; r <= points; ++r) {
        grid_->SetCells(colSeq, r - 1, QString::number(r));
        grid_->SetCells(colPointName, r - 1, pointName(database_, record.Parameters[r]));
        grid_->SetCells(colEnable, r - 1, enableText);
        grid_->SetCells(colFrequency, r - 1, QString::number(record.Frequency));
        grid_->SetCells(colLogID, r - 1, QString::number(record.LogIDCode));
    }
}

bool TfraArchiveHdr::DrawNewId()
{
    UniqueLogID* codes = &logIds_;
    const int code = codes->NextFreeId(Record().LogIDCode);
    // The record holds one byte: a code that does not fit is no code.
    if (code >= kNoFreeCode || code > 0xFF)
        return false;
    codes->Add(code);
    Record().LogIDCode = static_cast<std::uint8_t>(code);
    newIdDrawn_ = true;
    return true;
}

void TfraArchiveHdr::AfterChange()
{
    Render();
    if (Changed)
        Changed();
}

void TfraArchiveHdr::DropPoint(std::optional<std::uint16_t> point, logcfg::DropPlace place, int row)
{
    LogRecord& record = Record();
    const logcfg::DropVerdict verdict = logcfg::judgeDrop(record, point, place, row);
    if (verdict == logcfg::DropVerdict::RefuseDuplicate) {
        DialogService::warn(QStringLiteral("\"%1\" is already in this log.").arg(pointName(database_, *point)));
        return;
    }
    if (verdict != logcfg::DropVerdict::Append && verdict != logcfg::DropVerdict::Replace)
        return;
    if ((!newIdDrawn_ || logcfg::pointCount(record) <= 1) && !DrawNewId())
        return;
    newIdDrawn_ = true;
    if (logcfg::pointCount(record) == 0) {
        chkEnable_->setChecked(true);
        edtFrequency_->setText(QStringLiteral("1"));
    }
    if (verdict == logcfg::DropVerdict::Append) {
        // A log given a point records.
        record.Enable = 1;
        chkEnable_->setChecked(true);
        logcfg::appendPoint(record, logIndex_, *point);
    } else {
        logcfg::replacePoint(record, logIndex_, row, *point);
    }
    const QString frequency = edtFrequency_->text();
    if (frequency.trimmed().isEmpty()) {
        record.Frequency = 1000;
    } else {
        const logcfg::FrequencyCheck check = logcfg::checkFrequency(frequency, hourRange_);
        // A text that is no valid frequency (not yet confirmed with Enter) leaves the stored one.
        if (check.verdict == logcfg::FrequencyVerdict::Ok)
            record.Frequency = check.value;
        else
            edtFrequency_->setText(QString::number(record.Frequency));
    }
    AfterChange();
}

void TfraArchiveHdr::mnuDeleteCurrItemClick()
{
    LogRecord& record = Record();
    if (record.ParametersInLog <= 1)
        return;
    const int row = grid_->currentRow() + 1;
    if (row >= 1 && row <= logcfg::pointCount(record)) {
        const QString text =
            QStringLiteral("Are you sure you want to remove \"%1\"?").arg(grid_->Cells(colPointName, row - 1));
        if (DialogService::ask(QMessageBox::Question, QStringLiteral("Confirm"), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
            logcfg::removePoint(record, logIndex_, row);
    }
    if (!newIdDrawn_)
        DrawNewId();
    newIdDrawn_ = true;
    AfterChange();
}

void TfraArchiveHdr::chkEnableClick()
{
    Record().Enable = chkEnable_->isChecked() ? 1 : 0;
    AfterChange();
}

void TfraArchiveHdr::edtFrequencyEnter()
{
    const QString text = edtFrequency_->text();
    if (text.isEmpty())
        return;
    const logcfg::FrequencyCheck check = logcfg::checkFrequency(text, hourRange_);
    if (check.verdict == logcfg::FrequencyVerdict::NotInteger) {
        DialogService::showMessage(logcfg::frequencyMessage(check, text));
        return;
    }
    if (check.verdict != logcfg::FrequencyVerdict::Ok) {
        DialogService::warn(logcfg::frequencyMessage(check, text));
        return;
    }
    Record().Frequency = check.value;
    AfterChange();
    host_.Queue("WriteLogConfig", "");
}

void TfraArchiveHdr::gridArchiveHdrRowMoved(int, int oldVisual, int newVisual)
{
    // The header shows the order of the record, not its own: the header's move is taken back
    // and the record's parameters are moved instead.
    {
        const QSignalBlocker quiet(grid_->verticalHeader());
        grid_->verticalHeader()->moveSection(newVisual, oldVisual);
    }
    MoveRow(oldVisual + 1, newVisual + 1);
}

void TfraArchiveHdr::MoveRow(int from, int to)
{
    if (logcfg::movePoint(Record(), logIndex_, from, to))
        AfterChange();
}

void TfraArchiveHdr::gridArchiveHdrRightClickCell(const QPoint& position)
{
    const int row = grid_->rowAt(position.y());
    if (row < 0)
        return;
    grid_->setCurrentCell(row, std::max(0, grid_->columnAt(position.x())));
    mnuDeleteCurrItem_->setVisible(row + 1 <= logcfg::pointCount(Record()) &&
                                   !grid_->Cells(colPointName, row).isEmpty());
    popArchiveHdr_->popup(grid_->viewport()->mapToGlobal(position));
}

bool TfraArchiveHdr::eventFilter(QObject* watched, QEvent* event)
{
    // The grid's own delete-row key removes the point as the menu does.
    if (watched == grid_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        mnuDeleteCurrItemClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
