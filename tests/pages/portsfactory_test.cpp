// The Ports page, its port frame, the Factory page and its analog supply frames alone against the
// point database.
#include "analogsupply.h"
#include "commportspage.h"
#include "dbchoices.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "factorypage.h"
#include "pagealone.h"
#include "pointids.h"
#include "portframe.h"
#include "testenv.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

// Also keeps each command's parameter, the windows shown and the password resets.
class FactoryHost : public RecordingHost {
public:
    void Queue(const char* command, const std::string& parameter) override
    {
        queued.push_back(std::string(command) + "(" + parameter + ")");
    }
    void ShowWindow(const char* name) override { shownWindows.push_back(name); }
    bool ResetPassword() override
    {
        ++passwordResets;
        return passwordStored;
    }

    std::vector<std::string> shownWindows;
    int passwordResets = 0;
    bool passwordStored = true;
};

template <typename Page>
using PortsFactoryPageTest = PageAlone<Page, FactoryHost>;

using PortsPageTest = PortsFactoryPageTest<TfraCommPorts>;
using FactoryPageTest = PortsFactoryPageTest<TfraFactory>;

}  // namespace

// --- Ports ---------------------------------------------------------------------------------------

TEST_F(PortsPageTest, FourPortFramesBoundToTheirPointsWithThePortsOwnBaudRates)
{
    struct Case {
        int port;
        int firstPoint;
        QStringList bauds;
    };
    const QStringList standard = {"300", "600", "1200", "2400", "4800", "9600", "19200"};
    const Case cases[] = {
        {1, 306, standard + QStringList{"38400", "57600"}},
        {2, 311, standard},
        {3, 316, {"300", "500", "1200", "2400", "4800", "9600", "19200"}},
        {4, 321, standard},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        TfraPort* port = page->Port(c.port);
        EXPECT_EQ(port->objectName(), QString("fraPort%1").arg(c.port));
        QStringList bauds;
        for (int i = 0; i < port->BaudRate()->count(); ++i)
            bauds << port->BaudRate()->itemText(i);
        EXPECT_EQ(bauds, c.bauds);
        const QWidget* controls[] = {port->BaudRate(), port->DataBits(), port->Parity(), port->StopBits(),
                                     port->Envelope()};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(controls[i]->property("DbId").toInt(), c.firstPoint + i);
        EXPECT_EQ(port->Envelope()->isHidden(), true);
    }
    EXPECT_EQ(find<QGroupBox>("gbSerPort3")->title(), "ISO 485 Port (RS-485)");
    EXPECT_EQ(find<QGroupBox>("gbSerPort4")->title(), "MODEM Port(RS-232)");
    // The sensor's port is never shown, read or stored here.
    EXPECT_TRUE(find<QGroupBox>("gbSerPort2")->isHidden());
    EXPECT_FALSE(find<QGroupBox>("gbSerPort2")->isEnabled());
    EXPECT_FALSE(page->Port(2)->BaudRate()->IsBound());
}

TEST_F(PortsPageTest, EachEntryListsPorts134AndLocksPort1AndTheDataBits)
{
    announce(pid::CommPort1BaudRate, "3");
    page->Port(3)->setEnabled(true);
    page->RegisterPoints();
    std::vector<int> expected;
    for (int id = 306; id <= 310; ++id)
        expected.push_back(id);
    for (int id = 316; id <= 325; ++id)
        expected.push_back(id);
    expected.push_back(pid::Streams);
    EXPECT_EQ(db->expressScan.MainList(), expected);
    EXPECT_EQ(db->expressScan.GetPage(), 6);
    EXPECT_EQ(page->Port(1)->BaudRate()->currentText(), "57600") << "until the read brings the unit's rate";

    EXPECT_FALSE(page->Port(1)->isEnabled());
    EXPECT_FALSE(page->Port(1)->BaudRate()->isEnabled());
    EXPECT_FALSE(page->Port(2)->isEnabled());
    for (int port : {3, 4}) {
        EXPECT_FALSE(page->Port(port)->DataBits()->isEnabled());
        EXPECT_TRUE(page->Port(port)->Parity()->isEnabled());
        EXPECT_TRUE(page->Port(port)->StopBits()->isEnabled());
        EXPECT_TRUE(page->Port(port)->BaudRate()->isEnabled());
    }
    // The whole page switched to read-only and back leaves what the entry locked locked.
    page->setEnabled(false);
    EXPECT_FALSE(page->Port(3)->Parity()->isEnabled());
    page->setEnabled(true);
    EXPECT_TRUE(page->Port(3)->Parity()->isEnabled());
    EXPECT_FALSE(page->Port(3)->DataBits()->isEnabled());
}

TEST_F(PortsPageTest, DataAndStopBitsAreShownAndStoredByTheirNumbers)
{
    TfraPort* port = page->Port(4);
    struct Case {
        std::string value;
        int index;
    };
    for (const Case& c : {Case{"7", 2}, Case{"5", 0}, Case{"9", -1}, Case{"4", -1}, Case{"8", 3}}) {
        announce(322, c.value);
        EXPECT_EQ(port->DataBits()->currentIndex(), c.index) << c.value;
    }
    announce(324, "2");
    EXPECT_EQ(port->StopBits()->currentText(), "2");

    // Not read since logon: the choice is not stored.
    port->StopBits()->setCurrentIndex(0);
    emit port->StopBits()->activated(0);
    EXPECT_EQ(pending(324), "2");

    enter();
    load(324, "1");
    port->StopBits()->setCurrentIndex(1);
    emit port->StopBits()->activated(1);
    EXPECT_EQ(pending(324), "2");
    // Parity and baud rate go by position, as the unit keeps them.
    port->Parity()->setCurrentIndex(2);
    emit port->Parity()->activated(2);
    EXPECT_EQ(pending(323), "2");
    page->Port(3)->BaudRate()->setCurrentIndex(1);
    emit page->Port(3)->BaudRate()->activated(1);
    EXPECT_EQ(pending(316), "1");
}

TEST_F(PortsPageTest, TheStreamCountShowsAsSingleOrDual)
{
    for (const auto& [value, display] : std::vector<std::pair<std::string, QString>>{
             {"0", "SINGLE STREAM"}, {"1", "DUAL STREAM"}, {"3", "DUAL STREAM"}, {"0", "SINGLE STREAM"}}) {
        announce(pid::Streams, value);
        EXPECT_EQ(host.streamDisplay, display) << value;
    }
}

// --- Factory -------------------------------------------------------------------------------------

TEST_F(FactoryPageTest, HidesEverythingButTheNoticeUntilTheCodeIsGiven)
{
    auto* notice = find<QLabel>("Qcomment");
    EXPECT_FALSE(notice->isHidden());
    for (const char* name : {"gbSensor", "gbTapeAlarm", "gbAnalogSupply", "cbStreams", "RunCounter"})
        EXPECT_TRUE(find<QWidget>(name)->isHidden()) << name;
    page->ShowControls(true);
    EXPECT_TRUE(notice->isHidden());
    for (const char* name : {"gbSensor", "gbTapeAlarm", "gbAnalogSupply", "cbStreams", "RunCounter", "btnWipe"})
        EXPECT_FALSE(find<QWidget>(name)->isHidden()) << name;
    EXPECT_TRUE(find<QWidget>("lblStream2")->isHidden());
}

TEST_F(FactoryPageTest, EnteringListsThePagesPointsWithTheLowTapeActionsAndLocksTheSensorPort)
{
    page->RegisterPoints();
    const std::vector<int> expected = {386,  285,  470,  471,  472,  311,  312,  313,  314,  315,  29,  20,
                                       1031, 1029, 1030, 1027, 1203, 1039, 1037, 1038, 1035, 1204, 511, 512};
    EXPECT_EQ(db->expressScan.MainList(), expected);
    EXPECT_EQ(db->expressScan.GetPage(), 8);
    EXPECT_FALSE(page->PortFrame()->isEnabled());
    // Every bound control's point is on the list, so none shows a value the unit never sent.
    for (QWidget* control : page->findChildren<QWidget*>()) {
        bool ok = false;
        const int id = control->property("DbId").toInt(&ok);
        if (ok && id >= 0)
            EXPECT_NE(std::find(expected.begin(), expected.end(), id), expected.end())
                << control->objectName().toStdString();
    }
}

TEST_F(FactoryPageTest, EachActionAsksFirstAndSendsOnlyOnYes)
{
    struct Case {
        const char* button;
        const char* question;
        std::string command;
    };
    const Case cases[] = {
        {"butWriteConfigFlash", factorypage::kResetConfigQuestion, "SetDefaultConfig()"},
        {"btnWipe", factorypage::kWipeArchiveQuestion, "WipeAL()"},
        {"btnWipeLog", factorypage::kWipeEventLogQuestion, "WipeLog()"},
    };
    page->ShowControls(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            host.queued.clear();
            testenv::dialogs().clear();
            testenv::dialogs().answerButton(answer);
            find<QToolButton>(c.button)->click();
            ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
            EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Warning");
            EXPECT_EQ(testenv::dialogs().shown()[0].text, c.question);
            EXPECT_EQ(testenv::dialogs().shown()[0].buttons, QMessageBox::Yes | QMessageBox::No);
            EXPECT_EQ(host.queued,
                      answer == QMessageBox::Yes ? std::vector<std::string>{c.command} : std::vector<std::string>{});
        }
    }
    EXPECT_EQ(QString(factorypage::kResetConfigQuestion),
              "Are you sure you want to reset the configuration on the unit?\nIf YES, please Write Configuration to "
              "Flash if you want to keep these changes.");

    find<QToolButton>("btnQCDoc")->click();
    EXPECT_EQ(host.shownWindows, std::vector<std::string>{"QCForm"});
    EXPECT_EQ(find<QToolButton>("btnQCDoc")->text(), "Analyzer Configuration and Q.C.Documentation");
}

TEST_F(FactoryPageTest, APasswordResetThatCannotBeStoredIsReported)
{
    const QString question =
        "This will reset the \"Update Mode\" Password to the factory default setting.\n\nContinue?";
    testenv::dialogs().answerButton(QMessageBox::No);
    find<QToolButton>("btnResetPw")->click();
    EXPECT_EQ(shownTexts(), QStringList{question});
    EXPECT_EQ(host.passwordResets, 0);

    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    find<QToolButton>("btnResetPw")->click();
    EXPECT_EQ(host.passwordResets, 1);
    EXPECT_EQ(shownTexts(), QStringList{question}) << "a stored reset says nothing more";

    testenv::dialogs().clear();
    host.passwordStored = false;
    testenv::dialogs().answerButton(QMessageBox::Yes);
    find<QToolButton>("btnResetPw")->click();
    EXPECT_EQ(shownTexts(), (QStringList{question, factorypage::kResetPasswordFailed}));
}

TEST_F(FactoryPageTest, LowTapeLocksItsActionsAndWritesOnlyTheUsersClickOnItsOwnScanPage)
{
    auto* lowTape = find<TQCheckBox>("LowTape");
    auto* relay1 = find<TQCheckBox>("ckLowTapR1");
    auto* solenoid8 = find<TQCheckBox>("ckLowTapS8");
    EXPECT_EQ(static_cast<int>(solenoid8->WatchBitNumber()), 15);
    EXPECT_EQ(find<TQCheckBox>("ckLowTapR6")->WatchBitNumber(), dbctl::bnBit5);

    announce(pid::AlarmLowTapeEnable, "True");
    EXPECT_FALSE(relay1->isEnabled());
    EXPECT_FALSE(solenoid8->isEnabled());
    EXPECT_TRUE(host.writes.empty()) << "an arriving value is never written back";
    announce(pid::AlarmLowTapeEnable, "False");
    EXPECT_TRUE(relay1->isEnabled());

    // Another page's scan list is current: nothing is written.
    goOnline({});
    lowTape->click();
    EXPECT_TRUE(host.writes.empty());

    page->ShowControls(true);
    page->RegisterPoints();
    lowTape->setChecked(false);
    lowTape->click();
    EXPECT_EQ(host.writes, (std::vector<std::pair<int, std::string>>{{511, "True"}}));

    // The action boxes take the deferred road: one box changes only its bit of the pending mask.
    load(pid::AlarmLowTapeActions, "257");
    announce(pid::AlarmLowTapeActions, "257");
    EXPECT_TRUE(relay1->isChecked());
    EXPECT_TRUE(find<TQCheckBox>("ckLowTapS1")->isChecked());
    relay1->setEnabled(true);
    find<TQCheckBox>("ckLowTapR2")->click();
    EXPECT_EQ(pending(pid::AlarmLowTapeActions), "259");
    EXPECT_EQ(host.writes.size(), 1u);
}

// --- Analog supply frame -------------------------------------------------------------------------

TEST(AnalogSupplyRules, AnArrowAlignsWithANewValueFirstThenSteps)
{
    struct Case {
        QString text;
        int position;
        std::optional<analogsupply::ArrowResult> result;
    };
    using R = analogsupply::ArrowResult;
    const Case cases[] = {
        {"20000", 1, R{20000 - 32768, "20000"}},  // the unit's value: align, keep, write it
        {"20000", 20001 - 32768, R{20001 - 32768, "20001"}},
        {"20000", 19999 - 32768, R{19999 - 32768, "19999"}},
        {"32769", 1, R{1, "32769"}},
        {"65535", 32767, R{32767, "65535"}},
        {"0", -32768, R{-32768, "0"}},
        {"0", 5, R{-32768, "0"}},
        {"12.5", 0, std::nullopt},
        {"", 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto result = analogsupply::rawArrowClick(c.text, c.position);
        ASSERT_EQ(result.has_value(), c.result.has_value()) << c.text.toStdString();
        if (result) {
            EXPECT_EQ(result->position, c.result->position) << c.text.toStdString();
            EXPECT_EQ(result->text, c.result->text) << c.text.toStdString();
        }
    }
    EXPECT_EQ(analogsupply::voltageArrowClick("12.5", 1), "12.6");
    EXPECT_EQ(analogsupply::voltageArrowClick("0", -1), "-0.1");
    EXPECT_EQ(analogsupply::voltageArrowClick("x", 1), std::nullopt);
}

TEST_F(FactoryPageTest, TheSupplyFrameSwitchesItsCalibrationControls)
{
    TfmAnalogSupply* supply = page->Supply(2);
    EXPECT_EQ(supply->CalibrateButton()->text(), "Calibrate AS2");
    EXPECT_EQ(find<QGroupBox>("gbScaling", supply)->title(), "Analog Supply 2 Calibration");
    EXPECT_EQ(find<QLabel>("lblDescription", supply)->text(), "Supply 2 Description:");
    EXPECT_EQ(supply->OutputRaw()->DbId(), 1037);
    EXPECT_EQ(supply->FailSafeCurrent()->DbId(), 1038);
    EXPECT_EQ(supply->Description()->DbId(), 1204);

    const QColor grey = QApplication::palette().color(QPalette::Button);
    const QColor white = QApplication::palette().color(QPalette::Base);
    QWidget* controls[] = {supply->OutputVoltage(),
                           supply->OutputRaw(),
                           supply->FailSafeCurrent(),
                           supply->FailSafePos(),
                           supply->CaptureButton(),
                           find<QLabel>("lblOutput", supply),
                           find<QLabel>("labFailSafe", supply)};
    for (bool down : {false, true, false}) {
        if (down != supply->CalibrateButton()->isChecked())
            supply->CalibrateButton()->click();
        for (QWidget* control : controls)
            EXPECT_EQ(control->isEnabled(), down) << control->objectName().toStdString();
        EXPECT_EQ(supply->OutputRaw()->Edit()->palette().color(QPalette::Base), down ? white : grey);
        EXPECT_EQ(supply->FailSafeCurrent()->palette().color(QPalette::Base), down ? white : grey);
    }
    EXPECT_TRUE(host.writes.empty()) << "the switch writes nothing";
}

TEST_F(FactoryPageTest, TheSupplyFrameWritesStepsEnterAndCaptureToTheirOwnPoints)
{
    TfmAnalogSupply* supply = page->Supply(1);
    supply->CalibrateButton()->click();
    announce(pid::AnalogSupply1OperatingPosition, "20000");
    ASSERT_EQ(supply->OutputRaw()->Text(), "20000");

    supply->Arrow(2)->Up()->click();
    supply->Arrow(2)->Up()->click();
    EXPECT_EQ(supply->OutputRaw()->Text(), "20001");
    EXPECT_EQ(host.writes, (std::vector<std::pair<int, std::string>>{{1029, "20000"}, {1029, "20001"}}));

    host.writes.clear();
    supply->FailSafeCurrent()->setText("12.5");
    supply->Arrow(3)->Down()->click();
    EXPECT_EQ(supply->FailSafeCurrent()->text(), "12.4");
    supply->OutputVoltage()->Edit()->setText("24");
    QTest::keyClick(supply->OutputVoltage()->Edit(), Qt::Key_Return);
    EXPECT_EQ(host.writes, (std::vector<std::pair<int, std::string>>{{1030, "12.4"}, {1031, "24"}}));

    host.writes.clear();
    supply->FailSafePos()->Edit()->setText("100");
    supply->CaptureButton()->click();
    EXPECT_EQ(host.writes,
              (std::vector<std::pair<int, std::string>>{{1031, "24"}, {1029, "20001"}, {1030, "12.4"}, {1027, "100"}}));

    // A count the point cannot hold, or no number, is refused: cut to 16 bits it would be
    // another position.
    host.writes.clear();
    testenv::dialogs().clear();
    supply->FailSafePos()->Edit()->setText("70000");
    QTest::keyClick(supply->FailSafePos()->Edit(), Qt::Key_Return);
    supply->FailSafePos()->Edit()->setText("");
    supply->Arrow(4)->Up()->click();
    supply->Arrow(4)->Up()->click();
    EXPECT_TRUE(host.writes.empty());
    EXPECT_GE(shownTexts().size(), 2);
    // The arrow is free again after a refused click.
    supply->FailSafePos()->Edit()->setText("5");
    supply->Arrow(4)->Up()->click();
    EXPECT_EQ(host.writes, (std::vector<std::pair<int, std::string>>{{1027, "5"}}));
}

TEST_F(FactoryPageTest, OneEnterGivesOneWarningAndACaptureStoresAllItsValuesOrNone)
{
    TfmAnalogSupply* supply = page->Supply(1);
    supply->CalibrateButton()->click();
    QLineEdit* raw = supply->OutputRaw()->Edit();
    const QStringList refused = {"Please enter a value between 0 and 65535."};
    QTest::keyClicks(raw, "70000");
    QTest::keyClick(raw, Qt::Key_Return);
    EXPECT_EQ(shownTexts(), refused);
    // The message box's focus change ends the edit again: no second warning. Another Enter is
    // another act, with its own warning.
    emit raw->editingFinished();
    EXPECT_EQ(shownTexts(), refused);
    QTest::keyClick(raw, Qt::Key_Return);
    EXPECT_EQ(shownTexts(), refused + refused);
    EXPECT_TRUE(host.writes.empty());

    // The other three values are good, but the capture stores none of them.
    testenv::dialogs().clear();
    supply->OutputVoltage()->setText("24");
    supply->FailSafeCurrent()->setText("1.5");
    supply->FailSafePos()->setText("300");
    supply->CaptureButton()->click();
    EXPECT_EQ(shownTexts(), refused);
    EXPECT_TRUE(host.writes.empty());

    raw->selectAll();
    QTest::keyClicks(raw, "1000");
    supply->CaptureButton()->click();
    EXPECT_EQ(host.writes,
              (std::vector<std::pair<int, std::string>>{{1031, "24"}, {1029, "1000"}, {1030, "1.5"}, {1027, "300"}}));
}

// With KVT_GRAB_DIR set, the factory page is saved with its controls shown (the framework's grab
// shows it locked), at the size a tab has in the main window.
TEST_F(FactoryPageTest, GrabsTheUnlockedPageWhenAskedTo)
{
    const QString folder = qEnvironmentVariable("KVT_GRAB_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "KVT_GRAB_DIR not set";
    QDir().mkpath(folder);
    page->ShowControls(true);
    page->Supply(1)->CalibrateButton()->click();
    announce(pid::AlarmLowTapeEnable, "True");
    page->resize(testenv::kTabSize);
    page->show();
    EXPECT_TRUE(page->grab().save(QDir(folder).filePath("fraFactory-unlocked.png")));
}
