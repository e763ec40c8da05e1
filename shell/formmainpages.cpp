// Entering a page: the mode's buttons and frames, the poll stopped or started, the page's list of
// points rebuilt and, logged on, its read queued. Leaving the maintenance page ends direct control.
#include "formmain.h"

#include "activeobjectengine.h"
#include "analysispage.h"
#include "boardtester.h"
#include "database.h"
#include "dialogservice.h"
#include "discreteinputpage.h"
#include "factorypage.h"
#include "logondialogs.h"
#include "modalrun.h"
#include "outputpage.h"
#include "pagecatalog.h"
#include "securitychk.h"
#include "shareddialogs.h"
#include "shellwindows.h"
#include "statemgr.h"
#include "waitwindow.h"
#include "writecommands.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <any>
#include <utility>

namespace {

constexpr int kDirectControlPoint = 332;  // "Direct Board Control Enable"

void enterRoutine(QWidget* frame)
{
    if (auto* page = qobject_cast<TPageFrame*>(frame))
        page->RegisterPoints();
}

void applyMode(SecurityChk* security)
{
    if (security->IsReadOnly())
        StateMgr::Instance()->SetReadOnly();
    else
        StateMgr::Instance()->SetUpdateMode();
}

}  // namespace

void TFormMain::EnterPage(int pageIndex)
{
    // Without the GUI routines there is no database, no engine and no link to enter a page with.
    if (!servicesReady_ || pageIndex < 0 || pageIndex >= kTabCount)
        return;
    if (pageIndex == TfraWW::kDecl.tab) {
        enterRoutine(frames_[pageIndex]);
        if (!LoggedOn())
            return;
        AllowPoll();
        StateMgr::Instance()->SetBusy();
        return;
    }
    if (pageIndex == TfraFactory::kDecl.tab) {
        FactoryAccess();
        return;
    }

    const PageEntry& row = pageDeclForTab(pageIndex)->entry;
    if (row.setsMode)
        applyMode(security_);
    if (row.stopsPoll)
        StopPoll();
    if (row.enterRoutine)
        enterRoutine(frames_[pageIndex]);
    const bool loggedOn = LoggedOn();
    if (loggedOn && row.read && !sendingToDatabase_)
        Queue(row.read);
    if (loggedOn && row.polls)
        AllowPoll();
    switch (row.closing) {
    case EntryClose::Busy:
        StateMgr::Instance()->SetBusy();
        break;
    case EntryClose::Idle:
        StateMgr::Instance()->SetIdle();
        break;
    case EntryClose::FileButtonsOff:
        StateMgr::Instance()->DisableFileButtons();
        break;
    case EntryClose::MaintenanceCaution:
        DialogService::warn(
            QStringLiteral("Changing parameters in Maintenance Page may affect operation of the unit.\n") +
            "It is recommended that any change in this page be done by authorised personal only.");
        break;
    case EntryClose::None:
        break;
    }
}

void TFormMain::FactoryAccess()
{
    auto* factory = PageFrame<TfraFactory>();
    if (!factory)
        return;
    factory->ShowControls(false);
    factory->RegisterPoints();
    applyMode(security_);
    StopPoll();
    auto* logon = shellwindows::Get<TfrmLogon>("frmLogon");
    if (!logon->Ask("Factory Mode Logon")) {
        DisableChildControls(factory, false);
        return;
    }
    if (logon->Password() == kFactoryCode) {
        DisableChildControls(factory, false);
        StateMgr::Instance()->SetIdle();
        factory->ShowControls(true);
    }
    if (LoggedOn() && !sendingToDatabase_)
        Queue("ExpressRead");
}

void TFormMain::TabSheetFCHide()
{
    if (!servicesReady_)
        return;
    // No output stays forced by a calibration frame the user no longer sees.
    if (auto* tester = PageFrame<TfraBoardTester>()) {
        tester->ReleaseOutputs();
        if (auto* box = tester->findChild<QCheckBox*>("DirectControlEnable"))
            box->setChecked(false);
    }
    const bool runsNow = !engine_->IsRunning();
    WriteSinglePoint(kDirectControlPoint, "False");
    // The unit's outputs stay under direct control when the write did not reach it: say so.
    if (!runsNow || !LoggedOn())
        return;
    const DatabasePoint* point = database_->GetPointById(kDirectControlPoint);
    // A refused write leaves the text the point was given pending beside the unit's value.
    if (point && point->IsFresh() && (point->IsModified() || database_->GetPointText(kDirectControlPoint) != "False"))
        DialogService::warn(
            "\"Direct Board Control Enable\" could not be written: direct control of the unit's "
            "outputs may still be on.");
}

bool TFormMain::CommandRunning() const
{
    return engine_ && engine_->IsRunning();
}

std::uint64_t TFormMain::SinglePointWritesAccepted() const
{
    const auto* command = engine_ ? engine_->Find<WriteSinglePointCommand>("WriteSinglePoint") : nullptr;
    return command ? command->Accepted() : 0;
}

void TFormMain::WriteSinglePoint(int pointId, const std::string& value)
{
    if (!engine_)
        return;
    Command* command = engine_->FindCommand("WriteSinglePoint");
    if (!command)
        return;
    // An id outside the map's 16 bits would name a different point once cut, so it is refused.
    if (pointId < 0 || pointId > 0xFFFF)
        return;
    // The command's data travel as its queue fields: the point id and the text.
    try {
        command->LoadFields(
            std::any(std::pair<std::uint16_t, std::string>(static_cast<std::uint16_t>(pointId), value)));
    } catch (const std::bad_any_cast&) {
        return;
    }
    engine_->ExecuteCommand("WriteSinglePoint", "");
}

void TFormMain::ReadSinglePoint(int pointId)
{
    if (!engine_ || pointId < 0 || pointId > 0xFFFF)
        return;
    Command* command = engine_->FindCommand("ReadSinglePoint");
    if (!command)
        return;
    try {
        command->LoadFields(std::any(static_cast<std::uint16_t>(pointId)));
    } catch (const std::bad_any_cast&) {
        return;
    }
    engine_->ExecuteCommand("ReadSinglePoint", "");
}

// --- what the pages ask of the window (PageHost) -------------------------------------------------

void TFormMain::SetStatusText(const QString& text)
{
    SetText(framecomm::kStatusLineSpecialPanel, text.toStdString());
}

void TFormMain::SetProgressMaximum(int maximum)
{
    SetInt(framecomm::kLocalPBarMax, maximum);
}

void TFormMain::ShowWait(Wait wait)
{
    TWait* window = TWait::Instance();
    switch (wait) {
    case Wait::Hidden:
        window->hide();
        break;
    case Wait::Animated:
        window->ShowAnimated();
        break;
    case Wait::Progress:
        window->ShowProgress(0);
        break;
    }
}

bool TFormMain::ResetPassword()
{
    return SecurityChk::Instance()->ResetPassword();
}

bool TFormMain::ExecWindow(const char* name)
{
    auto* dialog = qobject_cast<QDialog*>(shellwindows::Window(name));
    if (!dialog)
        return false;
    modal::exec(*dialog);
    return true;
}

std::optional<std::pair<QDate, QDate>> TFormMain::AskDateRange()
{
    TfrmDateRangeDlg dialog(this);
    if (modal::exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(dialog.DateTime1()->date(), dialog.DateTime2()->date());
}

std::optional<std::pair<QString, QString>> TFormMain::AskScale()
{
    // The start-up instance, made again should it be gone; it keeps its texts for the next use.
    auto* dialog = shellwindows::Get<TfrmScaleDlg>("frmScaleDlg");
    if (!dialog)
        return std::nullopt;
    const int result = modal::exec(*dialog);
    dialog->hide();
    if (result != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(dialog->ledMinY()->text(), dialog->ledMaxY()->text());
}
