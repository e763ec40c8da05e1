// The tool bars' and menus' handlers: each queues its command by name or opens its dialog.
#include "formmain.h"

#include "activeobjectengine.h"
#include "analysispage.h"
#include "commportspage.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "modalrun.h"
#include "shareddialogs.h"
#include "shellwindows.h"
#include "winmsg.h"
#include "writecommands.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QToolBar>
#include <any>

namespace {

constexpr int kClockPoint = 388;  // "Time (proprietary)"

void toggle(QAction* item)
{
    item->setChecked(!item->isChecked());
}

}  // namespace

void TFormMain::tbtnCommClick()
{
    if (communications_)
        communications_->ShowCommSetup();
}

void TFormMain::tbtnWriteClick()
{
    // The read follows only a write that no page refused: a refused write keeps every edit on
    // every page, and the read would put the unit's values back over them.
    Queue("WriteMain", "ExpressRead");
}

bool TFormMain::WriteRefused() const
{
    const auto* write = engine_ ? engine_->Find<WriteMainCommand>("WriteMain") : nullptr;
    return write && write->Refused();
}

void TFormMain::SetDefaultConfigClick()
{
    if (!servicesReady_)
        return;
    const bool writesNow = !engine_->IsRunning();
    Queue("WriteMain");
    // A refused write keeps the edits for the user to mend: nothing goes to the flash and no read
    // follows.
    if (writesNow && WriteRefused())
        return;
    bool writeFlash = true;
    if (!database_->GetChangeList().Ids().empty()) {
        if (auto* changes = qobject_cast<QDialog*>(shellwindows::Window("frmChanges"))) {
            const int answer = modal::exec(*changes);
            changes->hide();
            if (answer != QDialog::Accepted) {
                DialogService::showMessage(
                    "Operation cancelled. Data was written to the SRAM, but no data has been written to the Flash.");
                writeFlash = false;
            }
        }
    }
    bool flashed = false;
    if (writeFlash) {
        Queue("WriteConfig");
        flashed = CommandSucceeded("WriteConfig");
    }
    Queue("ExpressRead");
    // The unit is rebooted for new port settings only once they are safely in its flash.
    if (pageControl_->currentIndex() != TfraCommPorts::kDecl.tab || !flashed)
        return;
    const auto answer =
        DialogService::ask(QMessageBox::Warning, "Warning",
                           QStringLiteral("Changing the port setting requires the analyzer to be rebooted.\n") +
                               "After pressing OK button, analyzer will automatically reboot, and GUI will restart.\n" +
                               "After reboot, you can LOG ON again.",
                           QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    Queue("Reboot");
    tbtnLogoffClick();
    modeDisp_->setText("OFF LINE");
    RestartGui();
}

void TFormMain::tbtnPollClick()
{
    Queue("ExpressRead");
}

void TFormMain::tbtnSyncClick()
{
    if (!servicesReady_)
        return;
    auto* dialog = qobject_cast<QDialog*>(shellwindows::Window("TimeSyncDlg"));
    if (!dialog)
        return;
    const int answer = modal::exec(*dialog);
    dialog->hide();
    const quint32 token = dialog->property("TimestampToken").toUInt();
    delete dialog;
    if (answer != QDialog::Accepted)
        return;
    // Only a confirmed dialog lets the clock point be written.
    database_->MarkFresh(kClockPoint);
    if (Command* sync = engine_->FindCommand("SyncClock")) {
        try {
            sync->LoadFields(std::any(static_cast<std::uint32_t>(token)));
        } catch (const std::bad_any_cast&) {
            return;
        }
        engine_->ExecuteCommand("SyncClock", "");
    }
}

void TFormMain::tbtnAcknowledgeClick()
{
    Queue("ResetLatches");
}
void TFormMain::tbtnBypassClick()
{
    Queue("SetBypass");
}
void TFormMain::tbtnTapeAdvanceClick()
{
    Queue("TapeAdvance");
}
void TFormMain::WriteConfigClick()
{
    Queue("WriteConfig");
}
void TFormMain::btnAuditClick()
{
    Queue("ReadAudit");
}
void TFormMain::tbtnCalibrateClick()
{
    Queue("Calibrate");
}
void TFormMain::tbtnReferenceClick()
{
    Queue("Reference");
}
void TFormMain::tbtnZeroRefClick()
{
    Queue("ZeroRef");
}

void TFormMain::mnuRebootClick()
{
    StopPoll();
    DialogService::showMessage(QStringLiteral("The analyzer will reboot. The GUI will LOG OFF.\n") +
                               "When analyzer is ready, please LOG ON again.");
    Queue("Reboot");
    tbtnLogoffClick();
}

void TFormMain::Print1Click()
{
    if (QWidget* analysis = PageFrame<TfraWW>()) {
        WinMessageEvent message(winmsg::WM_PRINT_PAGE, 0, 0);
        QApplication::sendEvent(analysis, &message);
    }
}

void TFormMain::PrintSetup1Click()
{
    QPrinter printer;
    QPageSetupDialog dialog(&printer, this);
    modal::exec(dialog);
}

void TFormMain::About1Click()
{
    if (auto* about = qobject_cast<QDialog*>(shellwindows::Window("AboutForm")))
        modal::exec(*about);
}

void TFormMain::WiringBookClick()
{
    helpdocs::OpenDocument(helpdocs::kWiringBook);
}
void TFormMain::ManualClick()
{
    helpdocs::OpenDocument(helpdocs::kManual);
}
// The tutorial program is not part of this build.
void TFormMain::Tutorial1Click() {}

void TFormMain::UpgradeWindowClick()
{
    QAction* item = MenuItem("UpgradeWindow");
    toggle(item);
    QWidget* back = shellwindows::Window("Back");
    QWidget* upgrade = shellwindows::Window("fmUpgrade");
    if (item->isChecked()) {
        if (back)
            back->show();
        if (upgrade)
            upgrade->show();
    } else {
        if (upgrade)
            upgrade->hide();
        if (back)
            back->hide();
    }
}

void TFormMain::CommunicateBarClick()
{
    toggle(MenuItem("CommunicateBar"));
    findChild<QToolBar*>("AdvToolBarComm")->setVisible(MenuItem("CommunicateBar")->isChecked());
}

void TFormMain::OperationBarClick()
{
    toggle(MenuItem("OperationBar"));
    findChild<QToolBar*>("AdvToolBarOp")->setVisible(MenuItem("OperationBar")->isChecked());
}

void TFormMain::GeneralBarClick()
{
    toggle(MenuItem("GeneralBar"));
    findChild<QToolBar*>("AdvToolBarGen")->setVisible(MenuItem("GeneralBar")->isChecked());
}

void TFormMain::AdvToolBarCommClose()
{
    MenuItem("CommunicateBar")->setChecked(false);
}
void TFormMain::AdvToolBarOpClose()
{
    MenuItem("OperationBar")->setChecked(false);
}
void TFormMain::AdvToolBarGenClose()
{
    MenuItem("GeneralBar")->setChecked(false);
}
