// The modem link against the emulated unit behind the emulator's Hayes modem on a pseudo-terminal,
// and the modem controls' handlers.
#include "appcontext.h"
#include "comm.h"
#include "commtestsupport.h"
#include "modemlink.h"
#include "modemsetup.h"
#include "testenv.h"
#include "unitemulator.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using commtest::bytes;
using commtest::Message;
using DialAnswer = UnitEmulator::DialAnswer;

namespace {

class ModemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commtest::removeStore(testenv::configHome());
        testenv::dialogs().clear();
        unit_ = std::make_unique<UnitEmulator>(std::make_unique<commtest::EchoTypeHandler>(), 7);
        ASSERT_TRUE(unit_->start());
        unit_->setModemMode(true);
        unit_->setDialDelayMs(100);
        unit_->setModemGuardTimeMs(100);
        unit_->setConnectRate(14400);
        appcontext::setMainForm(&form_);
    }

    void TearDown() override
    {
        comm_.reset();
        appcontext::setMainForm(nullptr);
        unit_.reset();
    }

    // One second between attempts (the least the settings allow), short modem times.
    TComm& engine(const QString& number = QStringLiteral("5551234"))
    {
        CommSettings s;
        s.connectType = TComm::Modem;
        s.portName = unit_->ptyPath();
        s.dialNum = number;
        s.maxAttempts = QStringLiteral("2");
        s.timeBtwnAttempts = QStringLiteral("1");
        s.backoffTimer = QStringLiteral("20");
        s.store();
        comm_ = std::make_unique<TComm>();
        ModemDevice& modem = comm_->tapiDevice();
        modem.setGuardTimeMs(100);
        modem.setCommandTimeoutMs(3000);
        modem.setAnswerTimeoutMs(5000);
        form_.received.clear();
        return *comm_;
    }

    int exchange(const QByteArray& message, QByteArray* reply = nullptr)
    {
        std::uint8_t answer[255] = {};
        int length = -1;
        const int status = comm_->SendReceive(reinterpret_cast<const std::uint8_t*>(message.constData()),
                                              int(message.size()), answer, &length, false);
        if (reply)
            *reply = status == 0 ? QByteArray(reinterpret_cast<const char*>(answer), length) : QByteArray();
        return status;
    }

    template <typename T>
    T* control(const char* name) const
    {
        return comm_->findChild<T*>(QString::fromLatin1(name));
    }

    commtest::MainFormSpy form_;
    std::unique_ptr<UnitEmulator> unit_;
    std::unique_ptr<TComm> comm_;
};

TEST_F(ModemTest, DialCarriesFramesAndHangsUp)
{
    engine();
    ASSERT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkOnline);
    EXPECT_EQ(form_.received, (std::vector<Message>{{winmsg::WM_COMMSTATE, 1, 0}}));
    EXPECT_EQ(unit_->modemDialled(), QStringList{QStringLiteral("5551234")});
    EXPECT_EQ(unit_->modemCommands(),
              (QStringList{QStringLiteral("AT"), QStringLiteral("ATE0V1&C1&D2"), QStringLiteral("ATDT5551234")}));
    EXPECT_EQ(control<QLabel>("lblModemInfo")->text(), QStringLiteral("Connected at 14400 baud"));
    EXPECT_TRUE(comm_->tapiDevice().portOpen());
    EXPECT_FALSE(control<QComboBox>("cbConnectType")->isEnabled());

    QByteArray reply;
    EXPECT_EQ(exchange(bytes({0x02, 0x0E}), &reply), 0);
    EXPECT_EQ(reply, bytes({0x02, 0x0F}));
    EXPECT_EQ(unit_->frames().back().bytes, bytes({0xFF, 0x12, 0x02, 0x0E, 0x10, 0x91}));
    // A second connect while the call is up keeps it.
    EXPECT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(unit_->modemDialled().size(), 1);
    EXPECT_EQ(exchange(bytes({0x02, 0x10}), &reply), 0);

    form_.received.clear();
    comm_->Disconnect(false);
    EXPECT_EQ(unit_->modemHangups(), 1);
    EXPECT_FALSE(unit_->modemOnline());
    EXPECT_FALSE(comm_->tapiDevice().portOpen());
    EXPECT_FALSE(comm_->commPort().isOpen());
    EXPECT_EQ(control<QLabel>("lblModemInfo")->text(), QStringLiteral("Not Connected"));
    EXPECT_EQ(form_.count(winmsg::WM_COMMSTATE, 0, 0), 1);
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 5);
    // The modem is ready for the next call.
    EXPECT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
}

TEST_F(ModemTest, FailedDialsAreRetriedThenReportNotConnected)
{
    struct Case {
        const char* name;
        std::vector<DialAnswer> answers;
        int result;
        QString status;
    };
    const std::vector<Case> cases = {
        {"busy twice", {DialAnswer::Busy, DialAnswer::Busy}, 1, QStringLiteral("Dialing failed: BUSY")},
        {"no carrier, no answer",
         {DialAnswer::NoCarrier, DialAnswer::NoAnswer},
         1,
         QStringLiteral("Dialing failed: NO ANSWER")},
        {"busy, then connected", {DialAnswer::Busy}, 0, QStringLiteral("Connected at 14400 baud")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int dialledBefore = static_cast<int>(unit_->modemDialled().size());
        for (DialAnswer a : c.answers)
            unit_->queueDialAnswer(a);
        engine();
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(comm_->Connect(), c.result);
        // The second attempt waits the time between attempts.
        EXPECT_GE(clock.elapsed(), 900);
        EXPECT_EQ(unit_->modemDialled().size() - dialledBefore, 2);
        EXPECT_EQ(control<QLabel>("StatusBarPanel0")->text(), c.status);
        if (c.result == 1) {
            EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
            EXPECT_EQ(form_.received, (std::vector<Message>{{winmsg::WM_COMMSTATE, 0, 0}}));
            EXPECT_FALSE(comm_->commPort().isOpen());
            EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 5);
        } else {
            EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
            comm_->Disconnect(false);
        }
        comm_.reset();
    }
}

TEST_F(ModemTest, CarrierLostMidExchange)
{
    engine();
    ASSERT_EQ(comm_->Connect(), 0);
    // The unit is slow to answer and the line dies meanwhile.
    unit_->injectFault({UnitEmulator::Fault::Kind::Late, 1, 0, 1500});
    QTimer::singleShot(200, [this] { unit_->dropCarrier(); });
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 5);
    EXPECT_EQ(unit_->modemCarrierDrops(), 1);
    EXPECT_FALSE(comm_->tapiDevice().portOpen());
    EXPECT_EQ(control<QLabel>("lblModemInfo")->text(), QStringLiteral("Not Connected"));
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 5);
    // Connecting again dials again.
    EXPECT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(unit_->modemDialled().size(), 2);
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
}

TEST_F(ModemTest, DialThatCannotStartFailsTheConnect)
{
    engine(QString());
    EXPECT_EQ(comm_->Connect(), 1);
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
    EXPECT_TRUE(unit_->modemDialled().isEmpty());
    EXPECT_EQ(control<QLabel>("StatusBarPanel0")->text(), QStringLiteral("No number to dial."));

    comm_->tapiDevice().setSelectedDevice(QStringLiteral("/dev/no-such-modem"));
    control<QLineEdit>("ledDialNumber")->setText(QStringLiteral("123"));
    form_.received.clear();
    EXPECT_EQ(comm_->Connect(), 1);
    EXPECT_EQ(form_.received, (std::vector<Message>{{winmsg::WM_COMMSTATE, 0, 0}}));
    EXPECT_TRUE(
        control<QLabel>("StatusBarPanel0")->text().startsWith(QStringLiteral("Unable to open /dev/no-such-modem")));
}

TEST_F(ModemTest, SilentModemAndCancelledDialEndInTime)
{
    engine();
    unit_->setModemMode(false);  // nothing answers AT
    comm_->tapiDevice().setCommandTimeoutMs(300);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(comm_->Connect(), 1);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(control<QLabel>("StatusBarPanel0")->text(), QStringLiteral("The modem does not answer."));

    // A dial the user cancels.
    unit_->setModemMode(true);
    unit_->setDialDelayMs(20000);
    QTimer::singleShot(300, [this] { comm_->SetUserCancel(true); });
    clock.restart();
    EXPECT_EQ(comm_->Connect(), 1);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_FALSE(unit_->modemOnline());
    EXPECT_FALSE(comm_->commPort().isOpen());
}

TEST_F(ModemTest, ChangingTheConnectionTypeHangsUp)
{
    engine();
    ASSERT_EQ(comm_->Connect(), 0);
    // A port closed under the call: the next connect dials again.
    comm_->commPort().close();
    unit_->dropCarrier();
    EXPECT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(unit_->modemDialled().size(), 2);
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    comm_->Disconnect(true);  // only the window's state: the call stays up
    EXPECT_TRUE(unit_->modemOnline());
    comm_->selectConnectType(TComm::Serial);
    EXPECT_EQ(unit_->modemHangups(), 1);
    EXPECT_FALSE(comm_->tapiDevice().portOpen());
}

// The handlers on controls of their own, without the setup window.
TEST(TapiSetupHandlersTest, ControlsSetTheDevice)
{
    commtest::removeStore(testenv::configHome());
    testenv::dialogs().clear();
    CommPort port;
    ModemDevice device(&port);
    QWidget form;
    auto* attempts = new QLineEdit(QStringLiteral("5"), &form);
    attempts->setObjectName(QStringLiteral("ledMaxAttempts"));
    auto* wait = new QLineEdit(QStringLiteral("12"), &form);
    wait->setObjectName(QStringLiteral("ledTimeBtwnAttempts"));
    auto* log = new QCheckBox(&form);
    log->setObjectName(QStringLiteral("ckCreateTapiLog"));
    auto* select = new QPushButton(&form);
    select->setObjectName(QStringLiteral("btnSelDevice"));
    auto* selected = new QLabel(&form);
    selected->setObjectName(QStringLiteral("lblSelDevice"));
    auto* configure = new QPushButton(&form);
    configure->setObjectName(QStringLiteral("btnTapiCfg"));
    auto* info = new QLabel(&form);
    info->setObjectName(QStringLiteral("lblModemInfo"));

    TapiSetupHandlers handlers(device);
    handlers.attach(&form);
    EXPECT_EQ(device.maxAttempts(), 5);
    EXPECT_EQ(device.retryWaitSeconds(), 12);
    EXPECT_EQ(selected->text(), QStringLiteral("/dev/ttyS0"));

    attempts->setText(QStringLiteral("7"));
    EXPECT_EQ(device.maxAttempts(), 7);
    for (const char* bad : {"", "abc", "0", "101"}) {
        attempts->setText(QString::fromLatin1(bad));
        EXPECT_EQ(device.maxAttempts(), 7) << bad;
    }
    wait->setText(QStringLiteral("1001"));
    EXPECT_EQ(device.retryWaitSeconds(), 12);

    log->setChecked(true);
    EXPECT_TRUE(device.logFile().endsWith(QStringLiteral("/KVT515/APROTAPI.HIS")));
    log->setChecked(false);
    EXPECT_TRUE(device.logFile().isEmpty());

    testenv::dialogs().answerText(QStringLiteral("/dev/ttyUSB3"));
    select->click();
    EXPECT_EQ(selected->text(), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(port.portName(), QStringLiteral("/dev/ttyUSB3"));
    select->click();  // cancelled: the device stays
    EXPECT_EQ(selected->text(), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(testenv::dialogs().shown().back().caption, QStringLiteral("Select Device"));

    EXPECT_EQ(device.initCommand(), QString::fromLatin1(ModemDevice::kDefaultInitCommand));
    testenv::dialogs().answerText(QStringLiteral("ATZ"));
    configure->click();
    EXPECT_EQ(device.initCommand(), QStringLiteral("ATZ"));
    // Kept for the next run.
    EXPECT_EQ(ModemDevice(&port).initCommand(), QStringLiteral("ATZ"));

    emit device.tapiPortClose();
    EXPECT_EQ(info->text(), QStringLiteral("Not Connected"));
}

}  // namespace
