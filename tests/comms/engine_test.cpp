// The frame engine against the emulated unit, over loopback TCP and over a pseudo-terminal.
#include "appcontext.h"
#include "comm.h"
#include "commtestsupport.h"
#include "testenv.h"
#include "unitemulator.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <limits>

using commtest::bytes;
using commtest::Message;
using Fault = UnitEmulator::Fault;

namespace {

enum class Link { Tcp, Pty };

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commtest::removeStore(testenv::configHome());
        startUnit(std::make_unique<commtest::EchoTypeHandler>());
        appcontext::setMainForm(&form_);
    }

    void TearDown() override
    {
        comm_.reset();
        appcontext::setMainForm(nullptr);
        unit_.reset();
    }

    void startUnit(std::unique_ptr<MessageHandler> handler)
    {
        unit_ = std::make_unique<UnitEmulator>(std::move(handler), 7);
        ASSERT_TRUE(unit_->start());
    }

    // A generous time-out for answers, so that a loaded machine does not turn them into
    // retries; the silent cases shorten it (setBackoff) to stay quick.
    CommSettings settingsFor(Link link) const
    {
        CommSettings s;
        s.backoffTimer = QStringLiteral("20");
        s.retries = QStringLiteral("2");
        if (link == Link::Tcp) {
            s.connectType = TComm::Tcp;
            s.wsAddress = QStringLiteral("127.0.0.1");
            s.wsPort = QString::number(unit_->tcpPort());
        } else {
            s.connectType = TComm::Serial;
            s.portName = unit_->ptyPath();
        }
        return s;
    }

    TComm& engine(const CommSettings& settings, bool connect = true)
    {
        settings.store();
        comm_ = std::make_unique<TComm>();
        comm_->commPort().log().setState(CommLog::State::On);
        if (connect)
            EXPECT_EQ(comm_->Connect(), 0);
        form_.received.clear();
        return *comm_;
    }

    int exchange(const QByteArray& message, QByteArray* reply = nullptr, bool notify = false)
    {
        std::uint8_t answer[255] = {};
        int length = -1;
        const int status = comm_->SendReceive(reinterpret_cast<const std::uint8_t*>(message.constData()),
                                              int(message.size()), answer, &length, notify);
        if (reply)
            *reply = status == 0 ? QByteArray(reinterpret_cast<const char*>(answer), length) : QByteArray();
        return status;
    }

    // Exactly n frames reached the unit.
    void expectSends(int n)
    {
        if (n > 0)
            EXPECT_TRUE(unit_->waitForFrames(n, 3000));
        QThread::msleep(30);
        EXPECT_EQ(unit_->frameCount(), n);
    }

    void setBackoff(int ticks) { control<QLineEdit>("edBackoffTimer")->setText(QString::number(ticks)); }

    int traceCount(const QString& line) const { return int(comm_->commPort().log().comments().count(line)); }

    template <typename T>
    T* control(const char* name) const
    {
        return comm_->findChild<T*>(QString::fromLatin1(name));
    }

    commtest::MainFormSpy form_;
    std::unique_ptr<UnitEmulator> unit_;
    std::unique_ptr<TComm> comm_;
};

class EngineLinkTest : public EngineTest, public ::testing::WithParamInterface<Link> {};

TEST_P(EngineLinkTest, RebootFrameToStationSevenAndItsAnswer)
{
    CommSettings s = settingsFor(GetParam());
    s.allStations = false;
    s.modbusNodeAddress = QStringLiteral("7");
    engine(s);
    QByteArray reply;
    ASSERT_EQ(exchange(bytes({0x02, 0x0E}), &reply, true), 0);
    expectSends(1);
    EXPECT_EQ(unit_->frames()[0].bytes, bytes({0x07, 0x12, 0x02, 0x0E, 0x21, 0xF1}));
    // The answer message only: its own length byte, then its type.
    EXPECT_EQ(reply, bytes({0x02, 0x0F}));
    EXPECT_EQ(form_.count(winmsg::WM_COMMSTATE, 2, 0), 1);
    EXPECT_GE(form_.count(winmsg::WM_COMMSTATE, 3, 0), 1);
    EXPECT_EQ(form_.received.back(), (Message{winmsg::WM_COMMPROGRESS, 1, 1}));
    EXPECT_EQ(comm_->packetCount(), 1u);

    // "All Stations" addresses every station with 0xFF.
    control<QCheckBox>("ckAllStations")->setChecked(true);
    unit_->clearFrames();
    form_.received.clear();
    ASSERT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    expectSends(1);
    EXPECT_EQ(static_cast<std::uint8_t>(unit_->frames()[0].bytes[0]), 0xFF);
    EXPECT_EQ(form_.count(winmsg::WM_COMMPROGRESS, 1, 1), 0);
}

TEST_P(EngineLinkTest, StatusOfEachAnswerWithItsSends)
{
    engine(settingsFor(GetParam()));
    struct Case {
        const char* name;
        std::vector<Fault> faults;
        int backoffTicks;
        int status;
        int sends;
    };
    const Fault silence{Fault::Kind::Silence};
    const std::vector<Case> cases = {
        {"answer", {}, 20, 0, 1},
        {"bad CRC", {{Fault::Kind::BadCrc}}, 20, 2, 1},
        {"rejected", {{Fault::Kind::Reject}}, 20, 3, 1},
        {"silent", {silence, silence}, 2, 4, 2},
        {"one byte too many", {{Fault::Kind::ExtraByte}, {Fault::Kind::ExtraByte}}, 2, 4, 2},
        {"silent once", {silence}, 6, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setBackoff(c.backoffTicks);
        unit_->clearFrames();
        form_.received.clear();
        comm_->commPort().log().setState(CommLog::State::Clear);
        for (const Fault& f : c.faults)
            unit_->injectFault(f);
        QByteArray reply;
        EXPECT_EQ(exchange(bytes({0x02, 0x20}), &reply), c.status);
        expectSends(c.sends);
        EXPECT_EQ(unit_->pendingFaults(), 0);
        EXPECT_EQ(reply, c.status == 0 ? bytes({0x02, 0x21}) : QByteArray());
        EXPECT_EQ(form_.count(winmsg::WM_COMMSTATE, 4, 0), c.status == 4 ? 1 : 0);
        EXPECT_EQ(form_.count(winmsg::WM_COMMSTATE, 2, 0), c.sends);
        EXPECT_EQ(traceCount(QStringLiteral("NAKState is %1").arg(c.status == 0 && c.sends == 2 ? 4 : c.status)),
                  c.status == 4 ? 2 : 1);
        EXPECT_EQ(traceCount(QStringLiteral("Retrying...")), c.status == 4 ? 2 : c.sends - 1);
        EXPECT_EQ(traceCount(QStringLiteral("No Response from unit.")), c.status == 4 ? 1 : 0);
    }
    EXPECT_EQ(traceCount(QStringLiteral("Action is acRead")), 1);
}

TEST_P(EngineLinkTest, TrickledAnswerRestartsTheTimeOutAtEachChunk)
{
    engine(settingsFor(GetParam()));
    // Six bytes one by one, 60 ms apart: 300 ms in all against a time-out of 220 ms.
    setBackoff(4);
    unit_->injectFault({Fault::Kind::Chunks, 1, 60});
    QByteArray reply;
    EXPECT_EQ(exchange(bytes({0x02, 0x0E}), &reply), 0);
    EXPECT_EQ(reply, bytes({0x02, 0x0F}));
    expectSends(1);
    EXPECT_GE(traceCount(QStringLiteral("TriggerAvail: 1 characters received")), 2);
}

TEST_P(EngineLinkTest, LateAnswerIsNotTakenForTheNextOne)
{
    CommSettings s = settingsFor(GetParam());
    s.retries = QStringLiteral("1");
    engine(s);
    setBackoff(2);
    unit_->injectFault({Fault::Kind::Late, 1, 0, 600});
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 4);
    // The late answer arrives while nobody reads.
    QThread::msleep(900);
    setBackoff(20);
    QByteArray reply;
    EXPECT_EQ(exchange(bytes({0x02, 0x20}), &reply), 0);
    EXPECT_EQ(reply, bytes({0x02, 0x21}));
}

TEST_P(EngineLinkTest, CancelEndsTheWaitAndRefusesLaterExchanges)
{
    CommSettings s = settingsFor(GetParam());
    s.backoffTimer = QStringLiteral("40");
    engine(s);
    unit_->silence(2);
    QTimer::singleShot(100, comm_.get(), [this] { comm_->SetUserCancel(true); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 6);
    EXPECT_LT(clock.elapsed(), 2000);
    expectSends(1);
    EXPECT_EQ(form_.count(winmsg::WM_COMMPROGRESS, 0, 1), 1);
    EXPECT_EQ(traceCount(QStringLiteral("Communications reset successfully.")), 1);

    // While the flag stays set nothing is sent at all.
    form_.received.clear();
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 6);
    expectSends(1);
    EXPECT_TRUE(form_.received.empty());

    comm_->SetUserCancel(false);
    unit_->clearFaults();
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
}

TEST_P(EngineLinkTest, TheLargestBackoffStillWaitsForTheAnswer)
{
    // Ticks near the integer limit once overflowed into a time-out at once or a negative one.
    CommSettings s = settingsFor(GetParam());
    s.backoffTimer = QString::number(std::numeric_limits<int>::max());
    engine(s);
    unit_->silence(1);
    QTimer::singleShot(300, comm_.get(), [this] { comm_->SetUserCancel(true); });
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 6) << "still waiting when cancelled";
    expectSends(1);
}

INSTANTIATE_TEST_SUITE_P(Links, EngineLinkTest, ::testing::Values(Link::Tcp, Link::Pty),
                         [](const ::testing::TestParamInfo<Link>& info) {
                             return std::string(info.param == Link::Tcp ? "Tcp" : "Pty");
                         });

TEST_F(EngineTest, RetriesSettingGivesTheNumberOfSends)
{
    struct Case {
        const char* retries;
        int sends;
    };
    // Below 1 still sends once; a text that is not a number takes the default of 2.
    const Case cases[] = {{"1", 1}, {"3", 3}, {"0", 1}, {"x", 2}};
    CommSettings s = settingsFor(Link::Tcp);
    s.backoffTimer = QStringLiteral("1");
    engine(s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.retries);
        unit_->clearFrames();
        unit_->clearFaults();
        unit_->silence(5);
        control<QLineEdit>("edRetries")->setText(QString::fromLatin1(c.retries));
        EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 4);
        expectSends(c.sends);
    }
}

TEST_F(EngineTest, ALongRunOfExchangesInsideAnEventHandlerKeepsItsTimersFew)
{
    // A download runs inside a click's handler, where removed timers are never deleted later:
    // each exchange must reuse them, and a reused timer must still fire under its new handle.
    CommSettings s = settingsFor(Link::Tcp);
    s.backoffTimer = QStringLiteral("2");
    engine(s);
    int statusOfSilent = -1;
    int timers = 0;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        for (int i = 0; i < 300; ++i)
            if (exchange(bytes({0x02, 0x20})) != 0) {
                ADD_FAILURE() << "exchange " << i;
                break;
            }
        timers = int(comm_->commPort().findChildren<QTimer*>().size());
        unit_->silence(2);
        statusOfSilent = exchange(bytes({0x02, 0x20}));
        loop.quit();
    });
    loop.exec();
    EXPECT_LE(timers, 5);
    EXPECT_EQ(statusOfSilent, 4);
}

TEST_F(EngineTest, SilentUnitAtDefaultSettings)
{
    CommSettings s = settingsFor(Link::Tcp);
    s.backoffTimer = CommSettings().backoffTimer;
    s.retries = CommSettings().retries;
    engine(s);
    unit_->silence(2);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 4);
    // Two sends of five ticks each: about 550 ms.
    EXPECT_GE(clock.elapsed(), 500);
    EXPECT_LT(clock.elapsed(), 5000);
    expectSends(2);
    EXPECT_EQ(form_.count(winmsg::WM_COMMSTATE, 4, 0), 1);
}

TEST_F(EngineTest, TimeOutStartsWhenTheFrameHasLeftASlowLine)
{
    // 124 bytes at 2400 baud take about half a second on the line, far beyond 4 ticks.
    unit_->setBaudRate(2400);
    CommSettings s = settingsFor(Link::Pty);
    s.backoffTimer = QStringLiteral("4");
    s.baud = 2400;
    s.retries = QStringLiteral("1");
    engine(s);
    QByteArray request(120, '\x55');
    request[0] = 120;
    request[1] = 0x20;
    QByteArray reply;
    EXPECT_EQ(exchange(request, &reply), 0);
    EXPECT_EQ(reply, bytes({0x02, 0x21}));
    expectSends(1);
}

TEST_F(EngineTest, RequestLengthOutsideOneTo255IsRefused)
{
    engine(settingsFor(Link::Tcp));
    const QByteArray big(256, '\x02');
    EXPECT_EQ(exchange(QByteArray()), 2);
    EXPECT_EQ(exchange(big), 2);
    std::uint8_t reply[255];
    int length = 0;
    EXPECT_EQ(comm_->SendReceive(nullptr, 2, reply, &length, false), 2);
    expectSends(0);
    EXPECT_TRUE(form_.received.empty());
}

TEST_F(EngineTest, ExchangeStartedDuringTheWaitIsRefusedWithOne)
{
    engine(settingsFor(Link::Tcp));
    int nested = -1;
    form_.onMessage = [&](const Message& m) {
        if (m == Message{winmsg::WM_COMMSTATE, 2, 0} && nested == -1)
            nested = exchange(bytes({0x02, 0x20}));
    };
    QByteArray reply;
    EXPECT_EQ(exchange(bytes({0x02, 0x0E}), &reply), 0);
    form_.onMessage = nullptr;
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(reply, bytes({0x02, 0x0F}));
    expectSends(1);
}

TEST_F(EngineTest, ClosedSerialPortGivesFiveAndSendsNothing)
{
    engine(settingsFor(Link::Pty), false);
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 5);
    expectSends(0);
    EXPECT_TRUE(form_.received.empty());
}

TEST_F(EngineTest, TcpConnectsOnDemand)
{
    engine(settingsFor(Link::Tcp), false);
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    EXPECT_EQ(unit_->connectionsAccepted(), 1);
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkOnline);
}

TEST_F(EngineTest, DroppedConnectionEndsWithPortNotOpenAndReconnects)
{
    engine(settingsFor(Link::Tcp));
    setBackoff(2);
    unit_->injectFault({Fault::Kind::Drop});
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 5);
    expectSends(1);
    setBackoff(20);
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    EXPECT_EQ(unit_->connectionsAccepted(), 2);
}

class FloodHandler : public MessageHandler {
public:
    std::optional<QByteArray> handleMessage(const QByteArray&) override { return QByteArray(5000, '\x02'); }
};

TEST_F(EngineTest, FloodOfBytesIsDroppedWithoutOverrun)
{
    unit_.reset();
    startUnit(std::make_unique<FloodHandler>());
    CommSettings s = settingsFor(Link::Tcp);
    s.retries = QStringLiteral("1");
    s.backoffTimer = QStringLiteral("2");
    engine(s);
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 4);
    EXPECT_GE(comm_->commPort().log().comments().filter(QStringLiteral("got garbage.")).size(), 1);
}

TEST_F(EngineTest, ConnectLocksTheSettingsAndDisconnectFreesThem)
{
    engine(settingsFor(Link::Tcp), false);
    EXPECT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(form_.received, (std::vector<Message>{{winmsg::WM_COMMSTATE, 1, 0}}));
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkOnline);
    for (const char* name : {"gbPortSetup", "gbModemSetup", "gbWinsock"})
        EXPECT_FALSE(control<QGroupBox>(name)->isEnabled()) << name;
    EXPECT_FALSE(control<QComboBox>("cbConnectType")->isEnabled());
    EXPECT_TRUE(comm_->commPort().log().comments().contains(QStringLiteral("winsock connect")));

    // Only a reset: the port stays open, the form and the state go back.
    form_.received.clear();
    comm_->Disconnect(true);
    EXPECT_TRUE(comm_->commPort().isOpen());
    EXPECT_EQ(form_.received, (std::vector<Message>{{winmsg::WM_COMMSTATE, 0, 0}}));
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
    EXPECT_TRUE(control<QGroupBox>("gbWinsock")->isEnabled());
    EXPECT_TRUE(control<QComboBox>("cbConnectType")->isEnabled());

    comm_->Disconnect(false);
    EXPECT_FALSE(comm_->commPort().isOpen());
}

TEST_F(EngineTest, FailedConnectsReportNotConnected)
{
    struct Case {
        const char* name;
        std::function<void(CommSettings&)> change;
        QString statusPrefix;
    };
    const quint16 closedPort = commtest::freePort();
    const std::vector<Case> cases = {
        {"refused", [&](CommSettings& s) { s.wsPort = QString::number(closedPort); }, QStringLiteral("Message: (")},
        {"unknown service", [](CommSettings& s) { s.wsPort = QStringLiteral("no-such-service"); },
         QStringLiteral("Message: (")},
        {"missing serial port",
         [](CommSettings& s) {
             s.connectType = TComm::Serial;
             s.portName = QStringLiteral("/dev/no-such-port");
         },
         QStringLiteral("Unable to open /dev/no-such-port")},
        {"modem", [](CommSettings& s) { s.connectType = TComm::Modem; }, QString()},
        {"dial-up", [](CommSettings& s) { s.connectType = TComm::DialUp; }, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommSettings s = settingsFor(Link::Tcp);
        c.change(s);
        engine(s, false);
        EXPECT_EQ(comm_->Connect(), 1);
        EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
        EXPECT_EQ(form_.received, (std::vector<Message>{{winmsg::WM_COMMSTATE, 0, 0}}));
        EXPECT_TRUE(control<QLabel>("StatusBarPanel0")->text().startsWith(c.statusPrefix))
            << control<QLabel>("StatusBarPanel0")->text().toStdString();
        EXPECT_TRUE(control<QComboBox>("cbConnectType")->isEnabled());
        EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 5);
    }
    EXPECT_EQ(unit_->connectionsAccepted(), 0);
}

TEST_F(EngineTest, CommentsAndWriteAndResetOfTheTrace)
{
    engine(settingsFor(Link::Tcp));
    comm_->WriteToCommLog(QStringLiteral("hello"));
    comm_->commPort().log().setState(CommLog::State::Pause);
    comm_->WriteToCommLog(QStringLiteral("while paused"));
    comm_->commPort().log().setState(CommLog::State::On);
    const QStringList comments = comm_->commPort().log().comments();
    EXPECT_TRUE(comments.contains(QStringLiteral("ProgComment:hello")));
    EXPECT_FALSE(comments.filter(QStringLiteral("while paused")).size());

    // After each accepted answer the trace goes to its file, appended when "Append" is checked.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("trace.log"));
    comm_->commPort().log().setFileName(file);
    control<QCheckBox>("ckWriteReset")->setChecked(true);
    control<QCheckBox>("ckAppend")->setChecked(true);
    ASSERT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    ASSERT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_EQ(text.count(QStringLiteral("tot. packets recd = ")), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("TX FF 12 02 0E")));
    EXPECT_TRUE(comm_->commPort().log().isOn());
}

}  // namespace
