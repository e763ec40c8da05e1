#include "logconfigwindow.h"

#include "archivehdr.h"
#include "database.h"
#include "databasepoint.h"
#include "dialogservice.h"
#include "logconfigedit.h"
#include "pagehost.h"
#include "pointtreeadapter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct TabRow {
    const char* caption;
    const char* recordsLabel;
    const char* daysLabel;
};

// Log index = position; the leading blanks are part of the captions.
constexpr TabRow kTabs[TLogFrm::kTabs] = {
    {"Log On Run", "labOnRun", "labDayOnRun"},
    {" Log Hourly", "labHour", "labDayHourly"},
    {" Log Daily", "labDaily", "labDayDaily"},
    {" Log Periodic 1", "labPeriodic1", "labDayPeriodic1"},
    {" Log Periodic 2", "labPeriodic2", "labDayPeriodic2"},
};
constexpr int kDailyLog = 2;

}  // namespace

TLogPointTree::TLogPointTree(const DataBase& database, QWidget* parent) : QTreeWidget(parent), database_(database)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
}

int TLogPointTree::PointIdOf(const QTreeWidgetItem* item) const
{
    if (!item)
        return 0;
    const int index = item->data(0, PointTreeAdapter::DataRole).toInt();
    if (index < 0)
        return 0;
    const DatabasePoint* point = database_.GetPointByIndex(index);
    return point ? point->GetId() : 0;
}

QStringList TLogPointTree::mimeTypes() const
{
    return {QString::fromLatin1(logcfg::kPointMime)};
}

QMimeData* TLogPointTree::mimeData(const QList<QTreeWidgetItem*>& items) const
{
    const int id = items.isEmpty() ? 0 : PointIdOf(items.first());
    if (id <= 0)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(logcfg::kPointMime), logcfg::pointPayload(static_cast<std::uint16_t>(id)));
    return data;
}

void TLogPointTree::startDrag(Qt::DropActions supportedActions)
{
    // A group carries no point.
    if (PointIdOf(currentItem()) <= 0)
        return;
    QTreeWidget::startDrag(supportedActions & Qt::CopyAction);
}

void TLogPointTree::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
            setCurrentItem(item);
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

TLogFrm::TLogFrm(DataBase& database, PageHost& host, UniqueLogID& logIds, QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
          database_(database), host_(host), tree_(new TLogPointTree(database, this)), pcArchives_(new QTabWidget(this)),
          btnRead_(new QToolButton(this)), btnWrite_(new QToolButton(this))
{
    setObjectName(QStringLiteral("LogFrm"));
    setWindowTitle(QStringLiteral("Log Configuration"));
    tree_->setObjectName(QStringLiteral("OrgPointsTreeView"));
    pcArchives_->setObjectName(QStringLiteral("pcArchives"));
    pcArchives_->setTabPosition(QTabWidget::South);
    // Every log's tab in sight: the window is as wide as the five captions need.
    pcArchives_->setUsesScrollButtons(false);
    btnRead_->setObjectName(QStringLiteral("btnRead"));
    btnRead_->setText(QStringLiteral("Read Config. from Analyzer"));
    btnWrite_->setObjectName(QStringLiteral("btnWrite"));
    btnWrite_->setText(QStringLiteral("Write to Analyzer"));
    for (QToolButton* button : {btnRead_, btnWrite_})
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(btnRead_, &QToolButton::clicked, this, &TLogFrm::btnReadClick);
    connect(btnWrite_, &QToolButton::clicked, this, &TLogFrm::btnWriteClick);

    auto* capacities = new QGridLayout;
    capacities->addWidget(new QLabel(QStringLiteral("Records:"), this), 0, 0);
    capacities->addWidget(new QLabel(QStringLiteral("Days:"), this), 1, 0);
    for (int k = 0; k < kTabs; ++k) {
        const TabRow& row = ::kTabs[k];
        auto* frame = new TfraArchiveHdr(database, host, logIds, pcArchives_, k);
        frame->HideFrequencyColumn();
        if (k == kDailyLog)
            frame->SetDailyLog();
        else if (k < kDailyLog)
            frame->HideFrequency();
        frame->Changed = [this] { ShowCapacities(); };
        frames_[static_cast<std::size_t>(k)] = frame;
        pcArchives_->addTab(frame, QString::fromLatin1(row.caption));

        auto* records = new QLabel(this);
        records->setObjectName(QLatin1String(row.recordsLabel));
        auto* days = new QLabel(this);
        days->setObjectName(QLatin1String(row.daysLabel));
        records_[static_cast<std::size_t>(k)] = records;
        days_[static_cast<std::size_t>(k)] = days;
        capacities->addWidget(records, 0, k + 1);
        capacities->addWidget(days, 1, k + 1);
        capacities->setColumnStretch(k + 1, 1);
    }
    pcArchives_->setCurrentIndex(0);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Avaiable Points:"), this));
    left->addWidget(tree_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRead_);
    buttons->addWidget(btnWrite_);
    buttons->addStretch();
    auto* right = new QVBoxLayout;
    right->addLayout(buttons);
    right->addWidget(pcArchives_, 1);
    right->addLayout(capacities);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 2);
    resize(880, 560);
}

void TLogFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // On show, not on activation: a message box of the window closing reactivates it, and the
    // preparation (with its warning) must run once per opening.
    if (!event->spontaneous())
        FormActivate();
}

void TLogFrm::FormActivate()
{
    tree_->clear();
    PointTreeAdapter(tree_, QString::fromLatin1(PointTreeAdapter::kLogMode),
                     QString::fromLatin1(PointTreeAdapter::kRootCaption))
        .Fill();
    if (QTreeWidgetItem* root = tree_->topLevelItem(0))
        root->setExpanded(true);

    Queue("ReadLogConfig");
    DataBase* db = &database_;
    if (!db->AreLogIdCodesUnique()) {
        const auto answer = DialogService::ask(
            QMessageBox::Warning, QStringLiteral("Warning"),
            QStringLiteral("Invalid Log Configuration was found. Do you want to fix it automatically?\n"
                           "If YES, some historic Log data may be lost.\n"
                           "If NO, please call Quenrick for assistance."),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            SetEditing(false);
            return;
        }
        db->ResetLogIdCodes();
        Queue("WriteLogConfig");
        Queue("WriteConfig");
    }
    SetEditing(true);
    ReloadFrames();
    ShowCapacities();
    DialogService::warn(
        QStringLiteral("Warning:\n"
                       "Any changes to the archive setup will delete all previouse logs.\n"
                       "Save current archive logs before making any changes."));
}

void TLogFrm::Queue(const char* command)
{
    host_.Queue(command, "");
}

void TLogFrm::SetEditing(bool enabled)
{
    tree_->setEnabled(enabled);
    pcArchives_->setEnabled(enabled);
    btnRead_->setEnabled(enabled);
}

void TLogFrm::ReloadFrames()
{
    for (TfraArchiveHdr* frame : frames_)
        frame->LoadFromDatabase();
}

void TLogFrm::ShowCapacities()
{
    DataBase* db = &database_;
    try {
        db->ComputeLogCapacities();
    } catch (const ConversionError&) {
        // A sequence time that is no number gives no estimate; the labels keep the last one.
        return;
    }
    for (int k = 0; k < kTabs; ++k) {
        records_[static_cast<std::size_t>(k)]->setText(QString::number(db->GetLogRecordCount(k)));
        days_[static_cast<std::size_t>(k)]->setText(QString::fromStdString(db->GetLogDurationText(k)));
    }
}

void TLogFrm::btnReadClick()
{
    Queue("ReadLogConfig");
    ReloadFrames();
    ShowCapacities();
}

void TLogFrm::btnWriteClick()
{
    DataBase* db = &database_;
    do {
        if (!db->AreLogIdCodesUnique())
            db->ResetLogIdCodes();
        db->ShiftLogIdCodes();
    } while (!db->AreLogIdCodesUnique());
    Queue("WriteLogConfig");
    ReloadFrames();
}

void TLogFrm::done(int result)
{
    if (DialogService::ask(QMessageBox::Question, QStringLiteral("Attention"),
                           QStringLiteral("Do You Want Permanent Write To Analyzer"),
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        Queue("WriteConfig");
    QDialog::done(result);
}
