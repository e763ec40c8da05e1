// The emulated unit's wire level, seen from a plain client on TCP and on the pseudo-terminal.
#include "crc16.h"
#include "messagehandler.h"
#include "unitemulator.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using Fault = UnitEmulator::Fault;

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(static_cast<char>(b));
    return out;
}

QByteArray withCrc(QByteArray frame)
{
    const std::uint16_t crc = Crc16Modbus::compute(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                                   static_cast<std::size_t>(frame.size()));
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}

class EchoTypeHandler : public MessageHandler {
public:
    std::optional<QByteArray> handleMessage(const QByteArray& message) override
    {
        QByteArray answer(2, '\x02');
        answer[1] = static_cast<char>(static_cast<unsigned char>(message[1]) + 1);
        return answer;
    }
};

// A plain client of one link: bytes in, bytes out, nothing interpreted.
class Client {
public:
    virtual ~Client() = default;
    virtual void send(const QByteArray& data) = 0;
    // Reads until count bytes have come or the time is up.
    virtual QByteArray receive(int count, int timeoutMs) = 0;
    virtual bool closedByPeer(int timeoutMs) = 0;
};

class TcpClient : public Client {
public:
    explicit TcpClient(quint16 port)
    {
        socket_.connectToHost(QStringLiteral("127.0.0.1"), port);
        EXPECT_TRUE(socket_.waitForConnected(3000));
    }
    void send(const QByteArray& data) override
    {
        socket_.write(data);
        socket_.waitForBytesWritten(1000);
    }
    QByteArray receive(int count, int timeoutMs) override
    {
        QElapsedTimer clock;
        clock.start();
        QByteArray out;
        while (out.size() < count && clock.elapsed() < timeoutMs) {
            if (socket_.bytesAvailable() == 0)
                socket_.waitForReadyRead(int(std::max<qint64>(1, timeoutMs - clock.elapsed())));
            out += socket_.read(count - out.size());
        }
        return out;
    }
    bool closedByPeer(int timeoutMs) override
    {
        if (socket_.state() == QAbstractSocket::UnconnectedState)
            return true;
        return socket_.waitForDisconnected(timeoutMs);
    }

private:
    QTcpSocket socket_;
};

class PtyClient : public Client {
public:
    explicit PtyClient(const QString& path)
    {
        fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd_, 0);
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
        ::tcflush(fd_, TCIOFLUSH);
    }
    ~PtyClient() override { ::close(fd_); }
    void send(const QByteArray& data) override
    {
        EXPECT_EQ(::write(fd_, data.constData(), size_t(data.size())), data.size());
    }
    QByteArray receive(int count, int timeoutMs) override
    {
        QElapsedTimer clock;
        clock.start();
        QByteArray out;
        while (out.size() < count && clock.elapsed() < timeoutMs) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, int(std::max<qint64>(1, timeoutMs - clock.elapsed()))) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = ::read(fd_, buffer, std::min<size_t>(sizeof buffer, size_t(count - out.size())));
            if (n > 0)
                out.append(buffer, int(n));
        }
        return out;
    }
    bool closedByPeer(int) override { return false; }

private:
    int fd_ = -1;
};

enum class Link { Tcp, Pty };

class EmulatorTest : public ::testing::TestWithParam<Link> {
protected:
    void SetUp() override
    {
        unit_ = std::make_unique<UnitEmulator>(std::make_unique<EchoTypeHandler>(), 7);
        ASSERT_TRUE(unit_->start());
        EXPECT_TRUE(unit_->ptyPath().startsWith(QStringLiteral("/dev/")));
        if (GetParam() == Link::Tcp)
            client_ = std::make_unique<TcpClient>(unit_->tcpPort());
        else
            client_ = std::make_unique<PtyClient>(unit_->ptyPath());
    }

    // Reboot request 0x02 0x0E to a station, and the unit's answer 0x02 0x0F.
    static QByteArray request(int station = 7) { return withCrc(bytes({station, 0x12, 0x02, 0x0E})); }
    static QByteArray answer() { return withCrc(bytes({0x07, 0x12, 0x02, 0x0F})); }

    std::unique_ptr<UnitEmulator> unit_;
    std::unique_ptr<Client> client_;
};

TEST_P(EmulatorTest, AnswersItsStationAndAllStationsOnly)
{
    client_->send(request(7));
    EXPECT_EQ(client_->receive(6, 2000), answer());
    client_->send(request(0xFF));
    EXPECT_EQ(client_->receive(6, 2000), answer());
    client_->send(request(8));
    QByteArray spoilt = request(7);
    spoilt[5] = static_cast<char>(spoilt[5] ^ 1);
    client_->send(spoilt);
    EXPECT_TRUE(client_->receive(1, 200).isEmpty());

    ASSERT_TRUE(unit_->waitForFrames(4, 2000));
    const auto frames = unit_->frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].bytes, request(7));
    EXPECT_TRUE(frames[0].crcOk && frames[0].forUs && frames[0].answered);
    EXPECT_GE(frames[0].answeredAt, frames[0].receivedAt);
    EXPECT_TRUE(frames[1].forUs && frames[1].answered);
    EXPECT_TRUE(frames[2].crcOk && !frames[2].forUs && !frames[2].answered);
    EXPECT_TRUE(!frames[3].crcOk && !frames[3].answered);
    EXPECT_LE(frames[0].receivedAt, frames[1].receivedAt);
    EXPECT_EQ(frames[0].link, GetParam() == Link::Tcp ? UnitEmulator::LinkKind::Tcp : UnitEmulator::LinkKind::Pty);
}

TEST_P(EmulatorTest, FaultsShapeTheAnswer)
{
    QByteArray badCrc = answer();
    badCrc[5] = static_cast<char>(badCrc[5] ^ 0x5A);
    struct Case {
        const char* name;
        Fault fault;
        QByteArray expected;
    };
    const Case cases[] = {
        {"bad CRC", {Fault::Kind::BadCrc}, badCrc},
        {"rejection", {Fault::Kind::Reject}, withCrc(bytes({0x07, 0x12, 0x02, 0xFF}))},
        {"one byte too many", {Fault::Kind::ExtraByte}, answer() + bytes({0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unit_->injectFault(c.fault);
        client_->send(request());
        EXPECT_EQ(client_->receive(int(c.expected.size()), 2000), c.expected);
        EXPECT_TRUE(client_->receive(1, 50).isEmpty());
    }

    // Silence is used up one request at a time.
    unit_->silence(2);
    client_->send(request());
    EXPECT_TRUE(client_->receive(1, 150).isEmpty());
    client_->send(request());
    EXPECT_TRUE(client_->receive(1, 150).isEmpty());
    client_->send(request());
    EXPECT_EQ(client_->receive(6, 2000), answer());
}

TEST_P(EmulatorTest, ChunksAndLateAnswersTakeTheirTime)
{
    unit_->injectFault({Fault::Kind::Chunks, 2, 60});
    QElapsedTimer clock;
    clock.start();
    client_->send(request());
    const QByteArray first = client_->receive(2, 2000);
    EXPECT_EQ(first, answer().left(2));
    EXPECT_EQ(first + client_->receive(4, 2000), answer());
    EXPECT_GE(clock.elapsed(), 100);

    unit_->injectFault({Fault::Kind::Late, 1, 0, 150});
    clock.restart();
    client_->send(request());
    EXPECT_TRUE(client_->receive(1, 60).isEmpty());
    EXPECT_EQ(client_->receive(6, 2000), answer());
    EXPECT_GE(clock.elapsed(), 140);
}

TEST_P(EmulatorTest, PacedLineAndTurnaround)
{
    // 1200 baud, 10 bits a byte: about 8.3 ms a byte, each way.
    unit_->setBaudRate(1200);
    unit_->setTurnaroundMs(30);
    QElapsedTimer clock;
    clock.start();
    client_->send(request());
    EXPECT_EQ(client_->receive(6, 3000), answer());
    EXPECT_GE(clock.elapsed(), 6 * 8 + 30 + 6 * 8);
    ASSERT_TRUE(unit_->waitForFrames(1, 1000));
    const auto frame = unit_->frames().front();
    EXPECT_GE(frame.answeredAt - frame.receivedAt, std::chrono::milliseconds(30 + 6 * 8));
}

TEST_P(EmulatorTest, FindsTheNextFrameAfterGarbage)
{
    client_->send(bytes({0x00, 0x33, 0x44, 0x55}) + request());
    EXPECT_EQ(client_->receive(6, 2000), answer());
}

INSTANTIATE_TEST_SUITE_P(Links, EmulatorTest, ::testing::Values(Link::Tcp, Link::Pty),
                         [](const ::testing::TestParamInfo<Link>& info) {
                             return std::string(info.param == Link::Tcp ? "Tcp" : "Pty");
                         });

TEST(EmulatorTcp, DropClosesTheConnection)
{
    UnitEmulator unit(std::make_unique<EchoTypeHandler>(), 7);
    ASSERT_TRUE(unit.start());
    TcpClient client(unit.tcpPort());
    unit.injectFault({Fault::Kind::Drop});
    client.send(withCrc(bytes({0x07, 0x12, 0x02, 0x0E})));
    EXPECT_TRUE(client.closedByPeer(2000));
    TcpClient again(unit.tcpPort());
    again.send(withCrc(bytes({0x07, 0x12, 0x02, 0x0E})));
    EXPECT_EQ(again.receive(6, 2000).size(), 6);
    EXPECT_EQ(unit.connectionsAccepted(), 2);
}

TEST(EmulatorTcp, GatewayTextCommands)
{
    UnitEmulator unit(std::make_unique<EchoTypeHandler>(), 7);
    UnitEmulator::Gateway gateway;
    gateway.connections = {{"north", 3}, {"south", 7}};
    unit.setGateway(gateway);
    ASSERT_TRUE(unit.start());
    TcpClient client(unit.tcpPort());
    const QByteArray frame = withCrc(bytes({0x07, 0x12, 0x02, 0x0E}));
    // Before a connection is chosen no frame reaches the unit.
    client.send(frame);
    EXPECT_TRUE(client.receive(1, 300).isEmpty());
    // A command split over two writes is taken whole.
    client.send("CCIComm");
    QThread::msleep(20);
    client.send("and,CRC");
    EXPECT_EQ(client.receive(16, 2000), QByteArray("CCICnorth,south,"));
    // An unknown connection gets no answer; a known one its address.
    client.send("CCISwest");
    EXPECT_TRUE(client.receive(1, 300).isEmpty());
    client.send("CCISsouth");
    EXPECT_EQ(client.receive(5, 2000), QByteArray("CCIA7"));
    client.send(frame);
    EXPECT_EQ(client.receive(6, 2000), withCrc(bytes({0x07, 0x12, 0x02, 0x0F})));
    EXPECT_EQ(unit.gatewayTexts(), (std::vector<QByteArray>{"CCICommand,CRC", "CCISwest", "CCISsouth"}));
}

TEST(Emu515, ServesTheUnitOnTcp)
{
    QProcess program;
    program.start(QStringLiteral(KVT_BIN_DIR "/emu515"), {QStringLiteral("--station"), QStringLiteral("3")});
    ASSERT_TRUE(program.waitForStarted(5000));
    QByteArray banner;
    while (banner.count('\n') < 2 && program.waitForReadyRead(5000))
        banner += program.readAllStandardOutput();
    const QList<QByteArray> lines = banner.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << banner.toStdString();
    EXPECT_TRUE(lines[1].startsWith("pty /dev/"));
    const quint16 port = lines[0].mid(lines[0].lastIndexOf(':') + 1).toUShort();
    ASSERT_NE(port, 0);
    {
        TcpClient client(port);
        // A read of the first register-map entry: whatever the unit says, it is a frame of station 3.
        client.send(withCrc(bytes({0x03, 0x12, 0x04, 0x01, 0x00, 0x00})));
        const QByteArray head = client.receive(3, 3000);
        ASSERT_EQ(head.size(), 3);
        EXPECT_EQ(head.left(2), bytes({0x03, 0x12}));
        const QByteArray frame = head + client.receive(static_cast<std::uint8_t>(head[2]) + 1, 3000);
        ASSERT_EQ(frame.size(), static_cast<std::uint8_t>(head[2]) + 4);
        EXPECT_EQ(withCrc(frame.left(frame.size() - 2)), frame);
    }
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(5000));
}

TEST(Emu515, RefusesBadArguments)
{
    const QStringList bad[] = {{QStringLiteral("--station"), QStringLiteral("0")},
                               {QStringLiteral("--gateway"), QStringLiteral("north")},
                               {QStringLiteral("--gateway"), QStringLiteral("a,b=3")}};
    for (const QStringList& arguments : bad) {
        QProcess program;
        program.start(QStringLiteral(KVT_BIN_DIR "/emu515"), arguments);
        ASSERT_TRUE(program.waitForFinished(5000));
        EXPECT_EQ(program.exitCode(), 2) << arguments.join(u' ').toStdString();
    }
}

// scripts/run's link to the demonstration unit (scripts/demolink.sh), run by bash as the script
// runs it: the unit is started only while the link is the script's, and the link is set to the
// port the unit really opened.
class DemoLinkScript : public ::testing::Test {
protected:
    struct Outcome {
        QString said;  // "port=<n>" or "not ours"
        bool unitAnswered = false;
        QString errors;
    };

    // scripts/run's steps with the given preferred port for a new link; the unit is asked for
    // its first register-map entry on the port the script reports, then stopped.
    Outcome run(quint16 preferred)
    {
        static const char* steps = R"(set -euo pipefail
source "$1"
if ! demo_link_ours "$3"; then echo "not ours"; exit 0; fi
demo_unit_start "$2" "$4" "$3" "$5" > /dev/null
echo "port=$demo_unit_port"
read -r _ || true
kill "$demo_unit_pid"
wait "$demo_unit_pid" || true
)";
        QProcess bash;
        bash.start(
            QStringLiteral("bash"),
            {QStringLiteral("-c"), QString::fromLatin1(steps), QStringLiteral("run"),
             QStringLiteral(KVT_SOURCE_DIR "/scripts/demolink.sh"), QStringLiteral(KVT_BIN_DIR "/emu515"), config,
             QStringLiteral(KVT_SOURCE_DIR "/tools/emulator/scenarios/demo.json"), QString::number(preferred)});
        Outcome outcome;
        QByteArray out;
        while (!out.contains('\n') && bash.waitForReadyRead(15000))
            out += bash.readAllStandardOutput();
        outcome.said = QString::fromLatin1(out.trimmed());
        if (outcome.said.startsWith(QLatin1String("port="))) {
            TcpClient client(static_cast<quint16>(outcome.said.mid(5).toUInt()));
            client.send(withCrc(bytes({0x01, 0x12, 0x04, 0x01, 0x00, 0x00})));
            outcome.unitAnswered = client.receive(2, 3000) == bytes({0x01, 0x12});
        }
        bash.closeWriteChannel();
        EXPECT_TRUE(bash.waitForFinished(10000));
        EXPECT_EQ(bash.exitCode(), 0);
        outcome.errors = QString::fromLocal8Bit(bash.readAllStandardError());
        return outcome;
    }

    QString link(const char* key) const { return QSettings(config, QSettings::IniFormat).value(key).toString(); }
    void writeConfig(const QByteArray& text) const
    {
        QFile f(config);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // A port nobody listens on (for the moment).
    static quint16 freePort()
    {
        QTcpServer probe;
        EXPECT_TRUE(probe.listen(QHostAddress::LocalHost));
        return probe.serverPort();
    }

    QTemporaryDir dir;
    QString config = dir.filePath(QStringLiteral("Desktop515.conf"));
};

TEST_F(DemoLinkScript, ANewLinkIsSetToThePortTheUnitOpened)
{
    const quint16 free = freePort();
    Outcome outcome = run(free);
    EXPECT_EQ(outcome.said, "port=" + QString::number(free)) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.unitAnswered);
    EXPECT_EQ(link("Comm/ConnectType"), "3");
    EXPECT_EQ(link("WinSock/Address"), "127.0.0.1");
    EXPECT_EQ(link("WinSock/Port"), QString::number(free));
    EXPECT_EQ(link("DemoUnit/Port"), QString::number(free));

    // Its port taken by a stranger since: the unit takes another, and the link follows it.
    QTcpServer stranger;
    ASSERT_TRUE(stranger.listen(QHostAddress::LocalHost, free));
    outcome = run(free);
    ASSERT_TRUE(outcome.said.startsWith("port=")) << outcome.errors.toStdString();
    EXPECT_NE(outcome.said, "port=" + QString::number(free));
    EXPECT_TRUE(outcome.unitAnswered);
    EXPECT_EQ("port=" + link("WinSock/Port"), outcome.said);
    EXPECT_EQ("port=" + link("DemoUnit/Port"), outcome.said);
    EXPECT_FALSE(stranger.waitForNewConnection(0)) << "the stranger was never called";
}

TEST_F(DemoLinkScript, APreferredPortTakenGivesAFreeOneAndKeepsTheRestOfTheSettings)
{
    QTcpServer stranger;
    ASSERT_TRUE(stranger.listen(QHostAddress::LocalHost));
    const QByteArray taken = QByteArray::number(stranger.serverPort());
    writeConfig("[Comm]\nConnectType=3\nRetries=4\n\n[WinSock]\nAddress=127.0.0.1\nPort=" + taken +
                "\n\n[DemoUnit]\nPort=" + taken + "\n");
    const Outcome outcome = run(freePort());
    ASSERT_TRUE(outcome.said.startsWith("port=")) << outcome.errors.toStdString();
    EXPECT_NE(outcome.said, "port=" + taken);
    EXPECT_TRUE(outcome.unitAnswered);
    EXPECT_EQ("port=" + link("WinSock/Port"), outcome.said);
    EXPECT_EQ(link("Comm/Retries"), "4");
    EXPECT_FALSE(stranger.waitForNewConnection(0)) << "the stranger was never called";
}

TEST_F(DemoLinkScript, ALinkTheUserSetUpIsLeftAlone)
{
    const std::pair<QByteArray, bool> links[] = {
        {"[Comm]\nConnectType=3\n[WinSock]\nAddress=10.1.2.3\nPort=502\n", false},
        {"[Comm]\nConnectType=0\n[WinSock]\nAddress=127.0.0.1\nPort=15515\n", false},
        // The user pointed the link at another local port after scripts/run had set it up.
        {"[Comm]\nConnectType=3\n[WinSock]\nAddress=127.0.0.1\nPort=4001\n[DemoUnit]\nPort=15515\n", false},
        // Set up by scripts/run before it recorded its port.
        {"[Comm]\nConnectType=3\n[WinSock]\nAddress=127.0.0.1\nPort=15515\n", true},
    };
    for (const auto& [text, ours] : links) {
        writeConfig(text);
        QProcess bash;
        bash.start(QStringLiteral("bash"),
                   {QStringLiteral("-c"), QStringLiteral("source \"$1\" && demo_link_ours \"$2\""),
                    QStringLiteral("ours"), QStringLiteral(KVT_SOURCE_DIR "/scripts/demolink.sh"), config});
        ASSERT_TRUE(bash.waitForFinished(10000));
        EXPECT_EQ(bash.exitCode() == 0, ours) << text.toStdString();
        if (ours)
            continue;
        EXPECT_EQ(run(freePort()).said, "not ours") << text.toStdString();
        QFile f(config);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), text);
    }
}

}  // namespace

namespace {

// The pseudo-terminal in modem mode, driven as a terminal program would drive a Hayes modem.
TEST(EmulatorModemTest, HayesDialogueAroundTheUnitsFrames)
{
    UnitEmulator unit(std::make_unique<EchoTypeHandler>(), 7);
    ASSERT_TRUE(unit.start());
    unit.setModemMode(true);
    unit.setDialDelayMs(50);
    unit.setModemGuardTimeMs(100);
    PtyClient modem(unit.ptyPath());
    const QByteArray frame = withCrc(bytes({0x07, 0x12, 0x02, 0x0E}));
    const QByteArray answer = withCrc(bytes({0x07, 0x12, 0x02, 0x0F}));
    const auto expect = [&](const QByteArray& text) { EXPECT_EQ(modem.receive(int(text.size()), 3000), text); };

    modem.send("AT\r");
    expect("AT\r\r\nOK\r\n");  // echoed while E1
    modem.send("ATE0\r");
    expect("ATE0\r\r\nOK\r\n");
    modem.send(frame);  // no call: nothing reaches the unit
    modem.send("\r");
    EXPECT_EQ(unit.frameCount(), 0);

    unit.queueDialAnswer(UnitEmulator::DialAnswer::Busy);
    modem.send("ATDT5551234\r");
    expect("\r\nBUSY\r\n");
    modem.send("ATDT5551234\r");
    expect("\r\nCONNECT 9600\r\n");
    EXPECT_TRUE(unit.modemOnline());
    EXPECT_EQ(unit.modemDialled(), (QStringList{QStringLiteral("5551234"), QStringLiteral("5551234")}));
    modem.send(frame);
    expect(answer);

    // The escape needs the guard time's silence around it; ATO goes back on line.
    QThread::msleep(150);
    modem.send("+++");
    expect("\r\nOK\r\n");
    modem.send("ATO\r");
    expect("\r\nCONNECT 9600\r\n");
    modem.send(frame);
    expect(answer);
    // Pluses with data after them are data: no escape, and the frame is answered.
    modem.send(QByteArray("+++") + frame);
    expect(answer);
    EXPECT_TRUE(unit.modemOnline());

    QThread::msleep(150);
    modem.send("+++");
    expect("\r\nOK\r\n");
    modem.send("ATH\r");
    expect("\r\nOK\r\n");
    EXPECT_FALSE(unit.modemOnline());
    EXPECT_EQ(unit.modemHangups(), 1);

    modem.send("ATD1\r");
    expect("\r\nCONNECT 9600\r\n");
    unit.dropCarrier();
    expect("\r\nNO CARRIER\r\n");
    EXPECT_EQ(unit.modemCarrierDrops(), 1);
    EXPECT_TRUE(unit.modemCommands().contains(QStringLiteral("ATH")));
}

}  // namespace
