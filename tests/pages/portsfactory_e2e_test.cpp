// The Ports and Factory tabs in the main window, logged on to the emulated unit: what they read,
// the port settings through the main and permanent writes, the factory actions and the analog
// supply writes as the unit receives them.
#include "pagefixture.h"

#include "analogsupply.h"
#include "commportspage.h"
#include "dbchoices.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "factorypage.h"
#include "portframe.h"
#include "securitychk.h"
#include "startup.h"
#include "writecommands.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QToolButton>

namespace {

constexpr int kPortsWriteEntry = 0x04;

class PortsAndFactory : public PageWithUnit {
protected:
    void SetUp() override
    {
        PageWithUnit::SetUp();
        WriteConfigCommand::SetPollDelay(10);
    }
    void TearDown() override
    {
        WriteConfigCommand::SetPollDelay(WriteConfigCommand::kPollMs);
        RestartRequested = false;
        PageWithUnit::TearDown();
    }
    TfraCommPorts* ports() const { return qobject_cast<TfraCommPorts*>(form->Frame(TfraCommPorts::kDecl.tab)); }
    TfraFactory* factory() const { return qobject_cast<TfraFactory*>(form->Frame(TfraFactory::kDecl.tab)); }
    void settle()
    {
        waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    }
    // As the user picks an item.
    static void choose(TQComboBox* combo, const QString& text)
    {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    // Enters the factory tab (from another one) and answers the access code prompt.
    void enterFactory(const QString& code)
    {
        enterTab(TfraCommPorts::kDecl.tab);
        modals.answers = {ScriptedModals::password(code)};
        enterTab(TfraFactory::kDecl.tab);
    }
};

}  // namespace

TEST_F(PortsAndFactory, PortSettingsReachTheUnitThroughTheWritesAndAPermanentWriteReboots)
{
    ASSERT_TRUE(unit->setValue(316, 5));  // 9600
    ASSERT_TRUE(unit->setValue(317, 7));
    ASSERT_TRUE(unit->setValue(318, 1));
    ASSERT_TRUE(unit->setValue(319, 1));
    ASSERT_TRUE(unit->setValue(306, 3));
    ASSERT_TRUE(unit->setValue(311, 2));
    logOn();
    enterTab(TfraCommPorts::kDecl.tab);
    ASSERT_NE(ports(), nullptr);
    TfraPort* rs485 = ports()->Port(3);
    EXPECT_EQ(rs485->BaudRate()->currentText(), "9600");
    EXPECT_EQ(rs485->DataBits()->currentText(), "7");
    EXPECT_EQ(rs485->Parity()->currentText(), "Odd");
    EXPECT_EQ(rs485->StopBits()->currentText(), "1");
    EXPECT_EQ(ports()->Port(1)->BaudRate()->currentText(), "2400") << "the unit's rate replaced 57600";

    unit->clearReceived();
    choose(rs485->Parity(), "Even");
    choose(rs485->BaudRate(), "500");
    choose(ports()->Port(4)->StopBits(), "2");
    form->tbtnWriteClick();
    settle();
    EXPECT_EQ(unit->value(318).toInt(), 2);
    EXPECT_EQ(unit->value(316).toInt(), 1) << "the unit keeps the position of the rate";
    EXPECT_EQ(unit->value(324).toInt(), 2);
    EXPECT_EQ(unit->value(317).toInt(), 7);
    EXPECT_EQ(unit->value(311).toInt(), 2) << "the sensor's port is not this page's";
    EXPECT_EQ(unit->receivedCount(kPortsWriteEntry), 3);

    // A permanent write from this tab stores the flash and then reboots the unit.
    shellwindows::SetFactory("frmChanges", [] { return new QDialog; });
    choose(rs485->StopBits(), "2");
    modals.answers = {[](QDialog& d) { d.accept(); }};
    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::Ok);
    form->SetDefaultConfigClick();
    settle();
    EXPECT_EQ(unit->value(319).toInt(), 2);
    EXPECT_EQ(unit->counters().flashWrites, 1);
    ASSERT_EQ(shownTexts().size(), 1) << shownTexts().join(" | ").toStdString();
    EXPECT_EQ(shownTexts()[0],
              "Changing the port setting requires the analyzer to be rebooted.\n"
              "After pressing OK button, analyzer will automatically reboot, and GUI will restart.\n"
              "After reboot, you can LOG ON again.");
    EXPECT_EQ(unit->counters().reboots, 1);
    EXPECT_TRUE(RestartRequested);
    shellwindows::SetFactory("frmChanges", {});
}

TEST_F(PortsAndFactory, TheFactoryPageShowsItsControlsOnlyForTheCodeAndReadsTheUnitsValues)
{
    ASSERT_TRUE(unit->setValue(386, 12));
    ASSERT_TRUE(unit->setValue(512, 0x0102));
    ASSERT_TRUE(unit->setValue(511, 1));
    ASSERT_TRUE(unit->setValue(313, 2));
    ASSERT_TRUE(unit->setValue(1029, 20000));
    logOn();
    auto* notice = factory()->findChild<QLabel*>("Qcomment");
    auto* sensor = factory()->findChild<QWidget*>("gbSensor");

    enterFactory("WIRP");
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(sensor->isHidden());

    enterFactory("wirp");
    EXPECT_TRUE(notice->isHidden());
    EXPECT_FALSE(sensor->isHidden());
    EXPECT_EQ(factory()->findChild<TQLabeledEdit*>("edtSampleBoxCarSize")->Text(), "12");
    EXPECT_EQ(factory()->PortFrame()->Parity()->currentText(), "Even");
    EXPECT_FALSE(factory()->PortFrame()->isEnabled());
    EXPECT_EQ(factory()->Supply(1)->OutputRaw()->Text(), "20000");
    // The low-tape actions shown are the unit's, locked while the alarm is on.
    auto* relay2 = factory()->findChild<TQCheckBox*>("ckLowTapR2");
    auto* solenoid1 = factory()->findChild<TQCheckBox*>("ckLowTapS1");
    EXPECT_TRUE(relay2->isChecked());
    EXPECT_TRUE(solenoid1->isChecked());
    EXPECT_FALSE(factory()->findChild<TQCheckBox*>("ckLowTapR1")->isChecked());
    EXPECT_FALSE(relay2->isEnabled());

    unit->clearReceived();
    factory()->findChild<TQCheckBox*>("LowTape")->click();
    settle();
    EXPECT_EQ(unit->value(511).toInt(), 0);
    EXPECT_EQ(unit->receivedCount(kPortsWriteEntry), 1);
    EXPECT_TRUE(relay2->isEnabled());
}

TEST_F(PortsAndFactory, EachFactoryActionAsksAndSendsExactlyItsMessage)
{
    logOn();
    enterFactory("wirp");
    struct Case {
        const char* button;
        int requestType;
        int UnitModel::Counters::*counter;
    };
    const Case cases[] = {
        {"butWriteConfigFlash", 0x0C, &UnitModel::Counters::factoryDefaults},
        {"btnWipe", 0x36, &UnitModel::Counters::archiveWipes},
        {"btnWipeLog", 0x34, &UnitModel::Counters::eventWipes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        auto* button = factory()->findChild<QToolButton*>(c.button);
        unit->clearReceived();
        testenv::dialogs().answerButton(QMessageBox::No);
        button->click();
        settle();
        EXPECT_TRUE(unit->received().empty());
        EXPECT_EQ(unit->counters().*c.counter, 0);

        testenv::dialogs().answerButton(QMessageBox::Yes);
        button->click();
        settle();
        ASSERT_EQ(unit->received().size(), 1u);
        EXPECT_EQ(unit->receivedCount(c.requestType), 1);
        EXPECT_EQ(unit->counters().*c.counter, 1);
    }
}

TEST_F(PortsAndFactory, TheSupplyFramesWriteTheirOwnPoints)
{
    ASSERT_TRUE(unit->setValue(1037, 20000));
    logOn();
    enterFactory("wirp");
    TfmAnalogSupply* supply = factory()->Supply(2);
    supply->CalibrateButton()->click();
    unit->clearReceived();
    supply->Arrow(2)->Up()->click();
    settle();
    supply->Arrow(2)->Up()->click();
    settle();
    EXPECT_EQ(unit->value(1037).toInt(), 20001);
    EXPECT_EQ(supply->OutputRaw()->Text(), "20001");

    supply->OutputVoltage()->setText("24.5");
    supply->FailSafeCurrent()->setText("1.5");
    supply->FailSafePos()->setText("300");
    supply->CaptureButton()->click();
    settle();
    EXPECT_DOUBLE_EQ(unit->value(1039).toDouble(), 24.5);
    EXPECT_DOUBLE_EQ(unit->value(1038).toDouble(), 1.5);
    EXPECT_EQ(unit->value(1035).toInt(), 300);
    EXPECT_EQ(unit->value(1029).toInt(), 0) << "supply 1 is untouched";
    EXPECT_EQ(unit->receivedCount(kPortsWriteEntry), 6);
}

TEST_F(PortsAndFactory, ThePasswordResetStoresTheFactoryPasswordOrKeepsTheOldOne)
{
    logOn();
    enterFactory("wirp");
    SecurityChk* security = SecurityChk::Instance();
    ASSERT_TRUE(security->SetPassword("old one"));
    auto* reset = factory()->findChild<QToolButton*>("btnResetPw");
    unit->clearReceived();

    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    reset->click();
    EXPECT_TRUE(security->CheckPassword("7315"));
    EXPECT_EQ(shownTexts().size(), 1) << "only the question";

    // The password file cannot be written (a folder stands in its place): said, and the factory
    // password is not taken.
    ASSERT_TRUE(security->SetPassword("old one"));
    const QString file = security->DataFilePath(SecurityChk::kPasswordFile);
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkpath(file));
    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    reset->click();
    EXPECT_EQ(shownTexts(), (QStringList{"This will reset the \"Update Mode\" Password to the factory default "
                                         "setting.\n\nContinue?",
                                         factorypage::kResetPasswordFailed}));
    EXPECT_TRUE(unit->received().empty()) << "the password is the program's, not the unit's";
    // The password in force is still the old one: written out again, it is what the file holds.
    QDir(file).removeRecursively();
    ASSERT_EQ(security->WritePasswordFile(file), 0);
    EXPECT_TRUE(security->CheckPassword("old one"));
}

// Behind a serial server the unit's line carries the sequencer block (a 234-byte frame) for longer
// than the time-out counted from the hand-over to the network: the time-out must allow for that
// line, learnt from the pace of the unit's answers, or the block is sent twice and its second
// answer is taken for the answer to the next request.
TEST_F(PortsAndFactory, AWriteAfterChangingTheStreamsSendsTheSequencerBlockOnceOverASlowLine)
{
    constexpr int kWriteSequencer = 0x3E;
    ASSERT_TRUE(unit->setValue(20, 3));
    logOn();
    emulator->setBaudRate(9600);
    enterFactory("wirp");
    unit->clearReceived();
    choose(factory()->findChild<TQComboBox*>("cbStreams"), "2-Streams");
    form->tbtnWriteClick();
    settle();
    EXPECT_EQ(unit->receivedCount(kWriteSequencer), 1);
    EXPECT_EQ(unit->value(20).toInt(), 1);
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
}
