// The "Communications Setup" form: OK, Reset Defaults, closing, the port list, the trace log
// and the proxy dialog, and settings typed into it reaching the next exchange.
#include "appcontext.h"
#include "comm.h"
#include "commtestsupport.h"
#include "frmproxy.h"
#include "modemlink.h"
#include "portelle_api.h"
#include "testenv.h"
#include "unitemulator.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using commtest::bytes;

namespace {

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commtest::removeStore(testenv::configHome());
        QFile::remove(TComm::addressBookFile());
        testenv::dialogs().clear();
    }

    TComm& form(const CommSettings& settings = CommSettings())
    {
        settings.store();
        comm_ = std::make_unique<TComm>();
        return *comm_;
    }

    template <typename T>
    T* control(const char* name) const
    {
        return comm_->findChild<T*>(QString::fromLatin1(name));
    }
    QComboBox* connectType() const { return control<QComboBox>("cbConnectType"); }

    std::unique_ptr<TComm> comm_;
};

TEST_F(SetupTest, ResetDefaultsPutsBackTheDesignAndTheLastAppliedChoices)
{
    CommSettings s;
    s.connectType = TComm::Tcp;
    s.wsAddress = QStringLiteral("10.0.0.1");
    s.wsPort = QStringLiteral("502");
    s.retries = QStringLiteral("7");
    s.baud = 9600;
    form(s);
    control<QLineEdit>("ledModbusNodeAddress")->setText(QStringLiteral("42"));
    control<QComboBox>("ethAddr")->setEditText(QStringLiteral("10.9.9.9"));
    comm_->btnResetDefaultsClick();
    // Right after start no type has been applied yet.
    EXPECT_EQ(connectType()->currentIndex(), -1);
    EXPECT_EQ(control<QLineEdit>("edRetries")->text(), QStringLiteral("2"));
    EXPECT_EQ(comm_->commPort().baud(), 57600);
    EXPECT_EQ(control<QComboBox>("cbBaudRate")->currentText(), QStringLiteral("57600"));
    EXPECT_EQ(control<QLineEdit>("ledModbusNodeAddress")->text(), QStringLiteral("42"));
    EXPECT_EQ(control<QComboBox>("ethAddr")->currentText(), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(control<QLineEdit>("ledPort")->text(), QStringLiteral("502"));

    comm_->selectConnectType(TComm::Modem);
    comm_->btnOKClick();
    comm_->selectConnectType(TComm::Serial);
    comm_->btnResetDefaultsClick();
    EXPECT_EQ(connectType()->currentIndex(), TComm::Modem);
    EXPECT_EQ(comm_->connectionType(), TComm::Modem);
}

TEST_F(SetupTest, CloseBoxStoresTheControlsButNotANewlyTypedAddress)
{
    CommSettings s;
    s.connectType = TComm::Tcp;
    s.wsAddress = QStringLiteral("10.0.0.1");
    form(s);
    control<QComboBox>("ethAddr")->setEditText(QStringLiteral("10.0.0.2"));
    control<QLineEdit>("edBackoffTimer")->setText(QStringLiteral("11"));
    comm_->close();
    CommSettings stored = CommSettings::load();
    EXPECT_EQ(stored.wsAddress, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(stored.backoffTimer, QStringLiteral("11"));
    EXPECT_EQ(stored.connectType, TComm::Tcp);

    comm_->btnOKClick();
    stored = CommSettings::load();
    EXPECT_EQ(stored.wsAddress, QStringLiteral("10.0.0.2"));
    EXPECT_FALSE(comm_->isVisible());
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
}

TEST_F(SetupTest, OkUnlocksTheSettingsAndReportsTheLinkDown)
{
    commtest::MainFormSpy spy;
    appcontext::setMainForm(&spy);
    form();
    comm_->SetLinkState(TComm::LinkOnline);
    control<QGroupBox>("gbPortSetup")->setEnabled(false);
    connectType()->setEnabled(false);
    comm_->btnOKClick();
    EXPECT_TRUE(control<QGroupBox>("gbPortSetup")->isEnabled());
    EXPECT_TRUE(connectType()->isEnabled());
    EXPECT_EQ(spy.count(winmsg::WM_COMMSTATE, 0, 0), 1);
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
    appcontext::setMainForm(nullptr);
}

TEST_F(SetupTest, AStoredPortThatIsNotPresentIsKept)
{
    CommSettings s;
    s.portName = QStringLiteral("/dev/no-such-port");
    form(s);
    comm_->FillComPortList();
    EXPECT_EQ(control<QComboBox>("cbComPortNum")->currentIndex(), -1);
    EXPECT_LE(control<QComboBox>("cbComPortNum")->count(), 256);
    EXPECT_EQ(comm_->commPort().serialDeviceName(), QStringLiteral("/dev/no-such-port"));
    comm_->close();
    EXPECT_EQ(CommSettings::load().portName, QStringLiteral("/dev/no-such-port"));
}

TEST_F(SetupTest, ShowingWithoutTheInterfaceLeavesTheUsbLabelEmpty)
{
    form();
    comm_->show();
    // The test machine has no such interface.
    EXPECT_EQ(control<QLabel>("foundUSBport")->text(), QString());
    comm_->hide();
}

TEST_F(SetupTest, TheDialUpGroupFollowsTheConnectionType)
{
    form();
    comm_->selectConnectType(TComm::DialUp);
    EXPECT_TRUE(control<QGroupBox>("gbDialUp")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("btnDelete")->isEnabled());
    comm_->selectConnectType(TComm::Tcp);
    EXPECT_FALSE(control<QGroupBox>("gbDialUp")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("btnDelete")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("btnCCIDetect")->isEnabled());
}

TEST_F(SetupTest, ChoosingTheSameTypeKeepsTheLinkAnotherTypeClosesIt)
{
    auto unit = std::make_unique<UnitEmulator>(std::make_unique<commtest::EchoTypeHandler>(), 1);
    ASSERT_TRUE(unit->start());
    form(commtest::loopbackSettings(unit->tcpPort()));
    ASSERT_EQ(comm_->Connect(), 0);
    comm_->cbConnectTypeDropDown();
    connectType()->setCurrentIndex(TComm::Tcp);
    QMetaObject::invokeMethod(connectType(), "activated", Q_ARG(int, TComm::Tcp));
    EXPECT_TRUE(comm_->commPort().isOpen());
    comm_->cbConnectTypeDropDown();
    connectType()->setCurrentIndex(TComm::Serial);
    QMetaObject::invokeMethod(connectType(), "activated", Q_ARG(int, TComm::Serial));
    EXPECT_FALSE(comm_->commPort().isOpen());
    EXPECT_EQ(comm_->connectionType(), TComm::Serial);
    comm_.reset();
}

TEST_F(SetupTest, TheWinsockPanelDrawsTheLinkImage)
{
    const QImage none = TComm::imlWSstatus(0).toImage();
    const QImage down = TComm::imlWSstatus(1).toImage();
    const QImage up = TComm::imlWSstatus(2).toImage();
    EXPECT_EQ(down.width(), 25);
    EXPECT_NE(down, none);
    EXPECT_NE(up, none);
    EXPECT_NE(up, down);
    auto shown = [this] { return control<QLabel>("StatusBarPanel2")->pixmap().toImage(); };

    auto unit = std::make_unique<UnitEmulator>(std::make_unique<commtest::EchoTypeHandler>(), 1);
    ASSERT_TRUE(unit->start());
    form(commtest::loopbackSettings(unit->tcpPort()));
    EXPECT_EQ(comm_->winsockIcon(), 1);
    EXPECT_EQ(shown(), down);
    ASSERT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(comm_->winsockIcon(), 2);
    EXPECT_EQ(shown(), up);
    comm_->selectConnectType(TComm::Serial);
    EXPECT_EQ(shown(), none);
    comm_.reset();
}

TEST_F(SetupTest, TheModemBoxesKeepTheirRanges)
{
    CommSettings stored;
    stored.maxAttempts = QStringLiteral("500");
    stored.timeBtwnAttempts = QStringLiteral("0");
    form(stored);
    auto* attempts = control<QLineEdit>("ledMaxAttempts");
    auto* pause = control<QLineEdit>("ledTimeBtwnAttempts");
    // A stored text out of range never reaches the box: the design values stand.
    EXPECT_EQ(attempts->text(), QStringLiteral("2"));
    EXPECT_EQ(pause->text(), QStringLiteral("30"));

    struct Case {
        QLineEdit* box;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {attempts, "100", "100"}, {attempts, "101", "10"}, {attempts, "1000", "100"}, {attempts, "0", ""},
        {attempts, "7x", "7"},    {pause, "1000", "1000"}, {pause, "1001", "100"},    {pause, "9999", "999"},
        {pause, "05", "5"},       {pause, "-1", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        c.box->clear();
        QTest::keyClicks(c.box, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.box->text(), QString::fromLatin1(c.shown));
    }
    // Left empty, a box gives its last number in range to the store and shows it again.
    attempts->setText(QStringLiteral("42"));
    attempts->clear();
    EXPECT_EQ(comm_->currentSettings().maxAttempts, QStringLiteral("42"));
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(attempts, &out);
    EXPECT_EQ(attempts->text(), QStringLiteral("42"));
    EXPECT_EQ(comm_->tapiDevice().maxAttempts(), 42);
    comm_->close();
    const CommSettings reread = CommSettings::load();
    EXPECT_EQ(reread.maxAttempts, QStringLiteral("42"));
}

TEST_F(SetupTest, DiagnosticsShowsAndHidesTheLoggingGroup)
{
    form();
    auto* button = control<QPushButton>("btnDiagnostics");
    EXPECT_FALSE(control<QGroupBox>("gbLogging")->isVisibleTo(comm_.get()));
    comm_->btnDiagnosticsClick();
    EXPECT_TRUE(control<QGroupBox>("gbLogging")->isVisibleTo(comm_.get()));
    EXPECT_EQ(button->text(), QStringLiteral("Hide Diagnostics"));
    comm_->btnDiagnosticsClick();
    EXPECT_EQ(button->text(), QStringLiteral("Diagnostics"));
}

// ---- trace log ----

class TraceLogTest : public SetupTest {
protected:
    QPushButton* startStop() const { return control<QPushButton>("btnStartStopLog"); }
    QPushButton* pause() const { return control<QPushButton>("btnPauseLog"); }

    QString logFile() const { return QDir(testenv::dataHome()).filePath(QStringLiteral("trace.log")); }

    QByteArray fileContent() const
    {
        QFile file(logFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void startLogging()
    {
        control<QCheckBox>("ckCreateLog")->setChecked(true);
        control<QLineEdit>("ledLogFileName")->setText(QStringLiteral("  ") + logFile() + QStringLiteral(" "));
        comm_->btnStartStopLogClick();
    }
};

TEST_F(TraceLogTest, CaptionsAndControlsThroughTheStates)
{
    form();
    EXPECT_FALSE(startStop()->isEnabled());
    control<QCheckBox>("ckCreateLog")->setChecked(true);
    EXPECT_TRUE(startStop()->isEnabled());
    EXPECT_FALSE(pause()->isEnabled());
    startLogging();
    EXPECT_EQ(startStop()->text(), QStringLiteral("Send Log to File"));
    EXPECT_TRUE(pause()->isEnabled());
    EXPECT_FALSE(control<QCheckBox>("ckAppend")->isEnabled());
    EXPECT_TRUE(comm_->commPort().log().isOn());
    comm_->btnPauseLogClick();
    EXPECT_EQ(pause()->text(), QStringLiteral("Paused"));
    EXPECT_TRUE(pause()->styleSheet().contains(QStringLiteral("red")));
    EXPECT_TRUE(pause()->styleSheet().contains(QStringLiteral("bold")));
    comm_->WriteToCommLog(QStringLiteral("while paused"));
    comm_->btnPauseLogClick();
    EXPECT_EQ(pause()->text(), QStringLiteral("Pause"));
    EXPECT_TRUE(pause()->styleSheet().isEmpty());
    EXPECT_TRUE(comm_->commPort().log().isOn());
    EXPECT_FALSE(comm_->commPort().log().comments().contains(QStringLiteral("ProgComment:while paused")));
    control<QCheckBox>("ckCreateLog")->setChecked(false);
    EXPECT_EQ(comm_->commPort().log().state(), CommLog::State::Off);
    EXPECT_FALSE(startStop()->isEnabled());
}

TEST_F(TraceLogTest, ClearEmptiesTheBufferAndKeepsTheLoggingState)
{
    form();
    startLogging();
    comm_->WriteToCommLog(QStringLiteral("before clearing"));
    comm_->btnPauseLogClick();
    ASSERT_EQ(comm_->commPort().log().state(), CommLog::State::Pause);
    comm_->btnClearLogClick();
    EXPECT_TRUE(comm_->commPort().log().text().isEmpty());
    // Still paused, as the button says: nothing new is recorded.
    EXPECT_EQ(comm_->commPort().log().state(), CommLog::State::Pause);
    EXPECT_EQ(pause()->text(), QStringLiteral("Paused"));
    comm_->WriteToCommLog(QStringLiteral("while paused"));
    EXPECT_TRUE(comm_->commPort().log().text().isEmpty());
    // Resumed, cleared while on: it stays on.
    comm_->btnPauseLogClick();
    comm_->btnClearLogClick();
    EXPECT_TRUE(comm_->commPort().log().isOn());
    comm_->WriteToCommLog(QStringLiteral("after clearing"));
    EXPECT_EQ(comm_->commPort().log().comments(), QStringList{QStringLiteral("ProgComment:after clearing")});
}

TEST_F(TraceLogTest, TheFileHoldsTheTrafficAndTheTextLines)
{
    auto unit = std::make_unique<UnitEmulator>(std::make_unique<commtest::EchoTypeHandler>(), 1);
    ASSERT_TRUE(unit->start());
    form(commtest::loopbackSettings(unit->tcpPort()));
    startLogging();
    control<QLineEdit>("ledComment")->setText(QStringLiteral("before the exchange"));
    comm_->btnAddCommentClick();
    ASSERT_EQ(comm_->Connect(), 0);
    const std::uint8_t request[] = {0x02, 0x0E};
    ASSERT_EQ(comm_->SendReceive(request, 2, nullptr, nullptr, false), 0);
    comm_->WriteToCommLog(QStringLiteral("from the program"));
    comm_->btnStartStopLogClick();
    EXPECT_EQ(startStop()->text(), QStringLiteral("Start Logging"));
    const QByteArray first = fileContent();
    EXPECT_TRUE(first.contains("before the exchange\n"));
    EXPECT_TRUE(first.contains("ProgComment:from the program\n"));
    EXPECT_TRUE(first.contains("TX FF 12 02 0E")) << first.constData();
    EXPECT_TRUE(first.contains("RX 01 12 02 0F")) << first.constData();

    // Saved again with "Append": the earlier content stays.
    control<QCheckBox>("ckAppend")->setChecked(true);
    comm_->btnStartStopLogClick();
    comm_->WriteToCommLog(QStringLiteral("second run"));
    comm_->btnStartStopLogClick();
    const QByteArray second = fileContent();
    EXPECT_TRUE(second.startsWith(first));
    EXPECT_TRUE(second.contains("ProgComment:second run\n"));
    // Without it the file is replaced.
    control<QCheckBox>("ckAppend")->setChecked(false);
    comm_->btnStartStopLogClick();
    comm_->WriteToCommLog(QStringLiteral("third run"));
    comm_->btnStartStopLogClick();
    EXPECT_FALSE(fileContent().contains("second run"));
    EXPECT_TRUE(fileContent().contains("ProgComment:third run\n"));
    EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(TraceLogTest, FailuresAreShown)
{
    form();
    comm_->btnAddCommentClick();
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].text, QStringLiteral("Log file is not currently open."));
    testenv::dialogs().clear();
    control<QCheckBox>("ckCreateLog")->setChecked(true);
    control<QLineEdit>("ledLogFileName")->setText(QStringLiteral("no-such-folder/x/trace.log"));
    comm_->btnStartStopLogClick();
    comm_->btnStartStopLogClick();
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(
        testenv::dialogs().shown()[0].text,
        QStringLiteral("Error saving the log file.\n\nMake sure the directory exists and that you can write to it."));
    EXPECT_EQ(testenv::dialogs().shown()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(startStop()->text(), QStringLiteral("Start Logging"));
}

// ---- proxy ----

TEST_F(SetupTest, ProxyDialogCancelChangesNothingAndOkStoresTheChoices)
{
    CommSettings s;
    s.proxyAddress = QStringLiteral("proxy.example");
    s.proxyPort = 1080;
    s.socksVersion = 1;
    form(s);
    control<QCheckBox>("ckProxy")->setChecked(true);
    EXPECT_TRUE(control<QPushButton>("btnProxy")->isEnabled());

    auto answer = [](bool ok, std::function<void(TfrmProxy*)> fill) {
        QTimer::singleShot(0, [ok, fill] {
            auto* dialog = static_cast<TfrmProxy*>(_frmProxy);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->objectName(), QStringLiteral("frmProxy"));
            fill(dialog);
            (ok ? dialog->btnOK : dialog->btnCancel)->click();
        });
    };
    answer(false, [](TfrmProxy* d) {
        EXPECT_EQ(d->ledAddress->text(), QStringLiteral("proxy.example"));
        EXPECT_EQ(d->ledPort->text(), QStringLiteral("1080"));
        EXPECT_EQ(d->cbSocksVer->currentText(), QStringLiteral("Socks4"));
        d->ledAddress->setText(QStringLiteral("changed"));
    });
    comm_->btnProxyClick();
    EXPECT_EQ(comm_->commPort().socks().address, QStringLiteral("proxy.example"));
    EXPECT_EQ(_frmProxy, nullptr);

    answer(true, [](TfrmProxy* d) {
        d->ledAddress->setText(QStringLiteral("10.0.0.3"));
        d->ledPort->setText(QStringLiteral("9050"));
        d->ledUsername->setText(QStringLiteral("me"));
        d->ledPW->setText(QStringLiteral("pw"));
        d->cbSocksVer->setCurrentIndex(2);
    });
    comm_->btnProxyClick();
    const SocksInfo& socks = comm_->commPort().socks();
    EXPECT_EQ(socks.address, QStringLiteral("10.0.0.3"));
    EXPECT_EQ(socks.port, 9050);
    EXPECT_EQ(socks.userCode, QStringLiteral("me"));
    EXPECT_EQ(socks.password, QStringLiteral("pw"));
    EXPECT_EQ(socks.version, SocksInfo::Socks5);
    comm_->close();
    const CommSettings stored = CommSettings::load();
    EXPECT_EQ(stored.socksVersion, 3);
    EXPECT_EQ(stored.proxyPort, 9050);
}

// ---- settings typed into the form reach the next exchange ----

TEST_F(SetupTest, TypedSettingsReachTheNextExchange)
{
    auto unit = std::make_unique<UnitEmulator>(std::make_unique<commtest::EchoTypeHandler>(), 9);
    ASSERT_TRUE(unit->start());
    form(commtest::loopbackSettings(unit->tcpPort()));
    ASSERT_EQ(comm_->Connect(), 0);
    const std::uint8_t request[] = {0x02, 0x0E};
    ASSERT_EQ(comm_->SendReceive(request, 2, nullptr, nullptr, false), 0);
    control<QCheckBox>("ckAllStations")->setChecked(false);
    control<QLineEdit>("ledModbusNodeAddress")->setText(QStringLiteral("9"));
    ASSERT_EQ(comm_->SendReceive(request, 2, nullptr, nullptr, false), 0);
    // One send only, and a short wait, for a silent unit.
    control<QLineEdit>("edRetries")->setText(QStringLiteral("1"));
    control<QLineEdit>("edBackoffTimer")->setText(QStringLiteral("3"));
    unit->silence(5);
    EXPECT_EQ(comm_->SendReceive(request, 2, nullptr, nullptr, false), 4);
    // An address the unit cannot have is not sent: the form's own address goes instead.
    control<QLineEdit>("ledModbusNodeAddress")->setText(QStringLiteral("265"));
    EXPECT_EQ(comm_->SendReceive(request, 2, nullptr, nullptr, false), 4);
    ASSERT_TRUE(unit->waitForFrames(4, 3000));
    QThread::msleep(30);
    const auto frames = unit->frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(static_cast<std::uint8_t>(frames[0].bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<std::uint8_t>(frames[1].bytes[0]), 9);
    EXPECT_EQ(static_cast<std::uint8_t>(frames[2].bytes[0]), 9);
    EXPECT_EQ(static_cast<std::uint8_t>(frames[3].bytes[0]), 1);
    comm_.reset();
}

}  // namespace
