// The main window's tool bar and menus acting on the emulated unit through the real libraries,
// over loopback TCP: the writes, the flash write and reboot, the actions, the clock and a silent
// unit.
#include "formmainfixture.h"
#include "unitlinkfixture.h"

#include "commportspage.h"
#include "communications.h"
#include "database.h"
#include "logoncommands.h"
#include "pollcommands.h"
#include "startup.h"
#include "timestamptoken.h"
#include "unitemulator.h"
#include "unitmodel.h"
#include "writecommands.h"

#include <QDialog>
#include <QLabel>

namespace {

constexpr int kFlashStatus = 0x0A;
constexpr int kPurgeTime = 10;  // a writable 16-bit point

class UnitOperations : public FormMainFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startUnitOnLoopback(emulator, unit));
        WriteConfigCommand::SetPollDelay(10);
        FormMainFixture::SetUp();
        modals.answers = {ScriptedModals::press("btnUpdate"), ScriptedModals::password("qe$3916")};
        form->tbtnLogonClick();
        ASSERT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
        testenv::dialogs().clear();
        unit->clearReceived();
    }

    void TearDown() override
    {
        FormMainFixture::TearDown();
        LogonCommand::SetSettleDelay(LogonCommand::kSettleMs);
        WriteConfigCommand::SetPollDelay(WriteConfigCommand::kPollMs);
        StopPolling = false;
        RestartRequested = false;
        emulator.reset();
    }

    QString statusText() const { return form->findChild<QLabel*>("StatusLineSpecialPanel")->text(); }

    UnitModel* unit = nullptr;
    std::unique_ptr<UnitEmulator> emulator;
};

}  // namespace

TEST_F(UnitOperations, APermanentWriteOnThePortsPageStoresTheFlashAndRebootsTheUnit)
{
    shellwindows::SetFactory("frmChanges", [] { return new QDialog; });
    form->PageControlMain()->setCurrentIndex(TfraCommPorts::kDecl.tab);
    DataBase* db = DataBase::Instance();
    ASSERT_TRUE(db->SetPointTextChecked(kPurgeTime, "45"));
    unit->setFlashBusyPolls(2);
    modals.answers = {[](QDialog& d) { d.accept(); }};
    testenv::dialogs().answerButton(QMessageBox::Ok);

    form->SetDefaultConfigClick();

    EXPECT_EQ(unit->value(kPurgeTime).toInt(), 45);
    EXPECT_EQ(unit->counters().flashWrites, 1);
    EXPECT_EQ(unit->receivedCount(kFlashStatus), 3);
    ASSERT_EQ(shownTexts().size(), 1) << shownTexts().join(" | ").toStdString();
    EXPECT_TRUE(shownTexts()[0].startsWith("Changing the port setting requires the analyzer to be rebooted.\n"));
    EXPECT_EQ(unit->counters().reboots, 1);
    EXPECT_TRUE(form->GetBool("LoggingOn")) << "logged off for the reboot";
    EXPECT_TRUE(RestartRequested);
    shellwindows::SetFactory("frmChanges", {});
}

TEST_F(UnitOperations, AFlashThatFailsToFinishNeverRebootsTheUnit)
{
    form->PageControlMain()->setCurrentIndex(TfraCommPorts::kDecl.tab);
    UnitModel::MessageFault reject;
    reject.requestType = 0x08;
    reject.kind = UnitModel::MessageFault::Kind::Reject;
    unit->addFault(reject);

    form->SetDefaultConfigClick();

    ASSERT_EQ(shownTexts().size(), 1) << shownTexts().join(" | ").toStdString();
    EXPECT_TRUE(shownTexts()[0].startsWith(" Write Config. fail!\n"));
    EXPECT_EQ(unit->counters().reboots, 0);
    EXPECT_FALSE(form->GetBool("LoggingOn"));
    EXPECT_FALSE(RestartRequested);
    EXPECT_TRUE(form->PageControlMain()->isEnabled());
    EXPECT_EQ(statusText(), "");
}

TEST_F(UnitOperations, TheOperationButtonsWriteTheirRequestPoints)
{
    form->tbtnTapeAdvanceClick();
    form->tbtnAcknowledgeClick();
    form->Button("tbtnBypass")->setChecked(true);
    form->tbtnBypassClick();
    EXPECT_EQ(unit->value(331).toInt(), 1);
    EXPECT_EQ(unit->value(329).toInt(), 1);
    EXPECT_EQ(unit->value(330).toInt(), 1);
    form->Button("tbtnBypass")->setChecked(false);
    form->tbtnBypassClick();
    EXPECT_EQ(unit->value(330).toInt(), 0);
    EXPECT_EQ(statusText(), "");
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
}

TEST_F(UnitOperations, ASilentUnitIsReportedAndNothingIsSaidSubmitted)
{
    emulator->silence(2);  // both sends of the request
    form->tbtnTapeAdvanceClick();
    EXPECT_EQ(shownTexts(), QStringList{Communications::Instance()->GetErrorText(4)});
    EXPECT_EQ(unit->value(331).toInt(), 0);
    EXPECT_FALSE(form->GetBool("LoggingOn")) << "a failed action does not log off";
}

TEST_F(UnitOperations, TheClockButtonSetsTheUnitsClockAndDayOfWeek)
{
    // Saturday 4 May 2024, 12:00:00.
    const std::uint32_t token = *timestamp::fromDateAndTime(QDate(2024, 5, 4), QTime(12, 0, 0));
    shellwindows::SetFactory("TimeSyncDlg", [token] {
        auto* dialog = new QDialog;
        dialog->setProperty("TimestampToken", token);
        return dialog;
    });
    modals.answers = {[](QDialog& d) { d.accept(); }};
    form->tbtnSyncClick();
    const auto written = static_cast<std::uint32_t>(unit->value(388).toLongLong());
    EXPECT_GE(written, token);
    EXPECT_LE(written, token + 5) << "corrected by the write's delay, a few seconds at most";
    EXPECT_EQ(unit->value(460).toInt(), 7);
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
    shellwindows::SetFactory("TimeSyncDlg", {});
}

TEST_F(UnitOperations, TheRebootMenuRebootsTheUnitAndLogsOff)
{
    form->mnuRebootClick();
    EXPECT_EQ(
        shownTexts(),
        QStringList{"The analyzer will reboot. The GUI will LOG OFF.\nWhen analyzer is ready, please LOG ON again."});
    EXPECT_EQ(unit->counters().reboots, 1);
    EXPECT_TRUE(form->GetBool("LoggingOn"));
}
