#include "auditpage.h"

#include "auditgrid.h"
#include "auditprogress.h"
#include "auditview.h"
#include "database.h"
#include "pagehost.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

const PageDecl TfrmAudit::kDecl = {
    .frameName = "frmAudit",
    .sheetName = "TabAudit",
    .caption = "Events ",
    .tab = 4,
    .level = 1,
    .scan = {.number = -1},
    .entry = {.setsMode = true, .stopsPoll = true, .closing = EntryClose::Idle},
    .splash = "Loading Sentrel515 Desktop...Audit",
    .bareStepFirst = true,
};

namespace {

const AuditViewLayout kPageLayout = {
    "Event Log Memory Usage:", true, 237, {45, 150, 200, 200, 150, 150}, "Sentrel515 Event Log (*.tvau *.TVAU)",
};

}  // namespace

TfrmAudit::TfrmAudit(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), btnReadAudit_(new QToolButton), btnAutoSizeCols_(new QToolButton),
          view_(new TAuditView(kPageLayout, Host(), this, this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);

    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("pnlTop"));
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(6, 2, 6, 2);
    auto* caption = new QLabel(QStringLiteral("Event Log Records:"), top);
    caption->setObjectName(QStringLiteral("labRecords"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    row->addWidget(caption);
    btnReadAudit_->setParent(top);
    btnReadAudit_->setObjectName(QStringLiteral("btnReadAudit"));
    btnReadAudit_->setText(QStringLiteral("Read from Analyzer"));
    btnReadAudit_->setToolTip(QStringLiteral("Reading Events from Analyzer"));
    row->addWidget(btnReadAudit_);
    btnAutoSizeCols_->setParent(top);
    btnAutoSizeCols_->setObjectName(QStringLiteral("btnAutoSizeCols"));
    btnAutoSizeCols_->setText(QStringLiteral("Auto Size Columns"));
    btnAutoSizeCols_->setToolTip(QStringLiteral("Auto-Size Columns"));
    row->addWidget(btnAutoSizeCols_);
    row->addStretch(1);
    column->addWidget(top);
    column->addWidget(view_, 1);

    connect(btnReadAudit_, &QToolButton::clicked, this, &TfrmAudit::btnBackClick);
    connect(btnAutoSizeCols_, &QToolButton::clicked, this, &TfrmAudit::btnAutoSizeColsClick);
}

void TfrmAudit::btnBackClick()
{
    view_->ClearRows();
    view_->ClearUsage();
    btnReadAudit_->setEnabled(false);
    // Idle, the engine runs the read (and ShowEvents) inside this call; busy, it only queues it.
    Host().Queue("ReadAudit", "");
    btnReadAudit_->setEnabled(true);
}

void TfrmAudit::ShowEvents()
{
    const std::vector<std::uint8_t>& memory = Database().eventMemory;
    MainFormAuditProgress progress([this](int maximum) { Host().SetProgressMaximum(maximum); });
    auditrows::Framed events = auditrows::FromFrames(memory.data(), memory.size(), &progress);
    view_->ShowRows(std::move(events.rows));
    // An empty memory leaves the bar as it was.
    if (!memory.empty())
        view_->ShowUsage(events.used, memory.size());
}

void TfrmAudit::btnAutoSizeColsClick()
{
    view_->AutoSizeColumns();
}
