// Logon, logoff and the access modes: read-only, update (behind its password) and the tabs each
// shows; the password change.
#include "formmain.h"

#include "activeobjectengine.h"
#include "analysispage.h"
#include "database.h"
#include "dialogservice.h"
#include "logondialogs.h"
#include "modalrun.h"
#include "pagecatalog.h"
#include "securitychk.h"
#include "shellwindows.h"
#include "statemgr.h"
#include "waitwindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

// The toolkit's 8-bit text of what was typed: the password file holds the digest of these bytes.
std::string passwordBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

}  // namespace

void TFormMain::EnterReadOnlyMode()
{
    security_->SetReadOnly(true);
    StateMgr::Instance()->SetReadOnly();
    MenuItem("mnuUpdateMode")->setChecked(false);
    MenuItem("mnuReboot")->setEnabled(false);
    StateMgr::Instance()->SetBusy();
    modeDisp_->setText("READ ONLY");
}

void TFormMain::EnterUpdateMode()
{
    security_->SetReadOnly(false);
    MenuItem("mnuUpdateMode")->setChecked(true);
    MenuItem("mnuReboot")->setEnabled(true);
    StateMgr::Instance()->SetUpdateMode();
    StateMgr::Instance()->SetIdle();
    modeDisp_->setText("UPDATE");
}

bool TFormMain::UpdatePasswordAccepted(const QString& password, bool tellWhyNot)
{
    const bool passwordOk = security_->CheckPassword(passwordBytes(password));
    const bool allowed = StateMgr::Instance()->IsUpdateAllowed() != 0;
    if (passwordOk && allowed)
        return true;
    if (!tellWhyNot)
        return false;
    // A right password on a unit of another map version is not a wrong password.
    if (passwordOk)
        DialogService::warn(
            "The unit's database version does not match this program: changes cannot be written.\n Read Only Mode");
    else
        DialogService::warn("Invalid password!\n Read Only Mode");
    return false;
}

void TFormMain::ApplyTabAccess()
{
    const int limit = MenuItem("mnuUpdateMode")->isChecked() ? 4 : 2;
    for (int i = 0; i < pageControl_->count(); ++i)
        pageControl_->setTabVisible(i, pageControl_->widget(i)->property("Tag").toInt() < limit);
}

void TFormMain::tbtnLogonClick()
{
    if (!servicesReady_)
        return;
    // A logon in the middle of another exchange would interleave with it on the link.
    if (EngineBusy()) {
        DialogService::showMessage(kBusyText);
        return;
    }
    pageControl_->setCurrentIndex(TfraWW::kDecl.tab);
    StopPoll();
    stepWaitProgress_ = true;
    TWait* wait = TWait::Instance();
    wait->ShowProgress(database_->CountReadAllMessages() + 12);
    SetEnabled("tbtnLogon", false);
    SetEnabled("tbtnUpgrade", false);
    SetEnabled("tbtnComm", false);

    Queue("Logon");
    if (Button("tbtnLogon")->isEnabled()) {
        SetEnabled("tbtnUpgrade", true);
        SetEnabled("tbtnComm", true);
        return;
    }

    wait->hide();
    auto* modeDialog = shellwindows::Get<TUpdModeDlg>("UpdModeDlg");
    if (modal::exec(*modeDialog) == TUpdModeDlg::No) {
        EnterReadOnlyMode();
    } else {
        auto* logon = shellwindows::Get<TfrmLogon>("frmLogon");
        if (!logon->Ask("Update Mode Logon") || logon->Password().isEmpty())
            EnterReadOnlyMode();
        else if (UpdatePasswordAccepted(logon->Password(), true))
            EnterUpdateMode();
        else
            EnterReadOnlyMode();
    }
    ApplyTabAccess();
    MenuItem("mnuUpdateMode")->setEnabled(true);

    // The page in front starts its poll when it is a polling page.
    const int tab = pageControl_->currentIndex();
    const PageDecl* page = pageDeclForTab(tab);
    if (tab == TfraWW::kDecl.tab) {
        if (auto* analysis = PageFrame<TfraWW>())
            analysis->RegisterPoints();
        AllowPoll();
        StateMgr::Instance()->SetBusy();
    } else if (page && page->entry.polls) {
        AllowPoll();
    } else {
        for (const char* name : {"tbtnPoll", "tbtnSave", "tbtnSaveAs", "tbtnOpen"})
            SetEnabled(name, true);
    }
    wait->Progress()->setRange(0, 100);
}

void TFormMain::tbtnLogoffClick()
{
    if (!servicesReady_)
        return;
    if (IsAnalysisActive())
        StopPoll();
    SetEnabled("tbtnLogoff", false);
    Queue("Logoff");
    security_->SetReadOnly(true);
    StateMgr::Instance()->SetReadOnly();
    database_->GetChangeList().Clear();
    ShowOffLine();
}

void TFormMain::mnuUpdateModeClick()
{
    if (!servicesReady_)
        return;
    QAction* item = MenuItem("mnuUpdateMode");
    item->setChecked(!item->isChecked());
    if (item->isChecked()) {
        auto* logon = shellwindows::Get<TfrmLogon>("frmLogon");
        if (!logon->Ask("Update Mode Logon"))
            EnterReadOnlyMode();
        else if (logon->Password().isEmpty())
            item->setChecked(false);
        else if (UpdatePasswordAccepted(logon->Password(), true))
            EnterUpdateMode();
        else
            EnterReadOnlyMode();
    } else {
        EnterReadOnlyMode();
    }
    ApplyTabAccess();
    if (IsAnalysisActive())
        StateMgr::Instance()->SetBusy();
}

void TFormMain::mnuChangePasswordClick()
{
    auto* dialog = shellwindows::Get<TSetUpdPwdDlg>("SetUpdPwdDlg");
    if (!dialog || modal::exec(*dialog) != QDialog::Accepted)
        return;
    SecurityChk* security = SecurityChk::Instance();
    if (!security->CheckPassword(passwordBytes(dialog->edOldPwd()->text()))) {
        DialogService::warn("Old password is invalid. Please try again.");
        return;
    }
    if (!security->SetPassword(passwordBytes(dialog->edNewPwd1()->text())))
        DialogService::warn("The new password could not be stored; the old one is still in force.");
}

void TFormMain::ShowOffLine()
{
    modeDisp_->setText("OFF LINE");
    streamDisp_->setText(" ");
    MenuItem("mnuUpdateMode")->setEnabled(false);
    MenuItem("mnuUpdateMode")->setChecked(false);
    // Off line, nothing may reboot the unit.
    MenuItem("mnuReboot")->setEnabled(false);
    SetEnabled("tbtnComm", true);
    SetEnabled("tbtnUpgrade", true);
    stepWaitProgress_ = true;
}
