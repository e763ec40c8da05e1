// TCP links through SOCKS servers: SOCKS5 through a real microsocks, SOCKS4 and 4a through a
// small relay of the test's own.
#include "appcontext.h"
#include "comm.h"
#include "commtestsupport.h"
#include "testenv.h"
#include "unitemulator.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpSocket>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

using commtest::bytes;

namespace {

// A SOCKS4/4a server for one client at a time: records the request, answers with the given
// reply code and, when granted, relays bytes between the client and the target.
class Socks4Server {
public:
    explicit Socks4Server(std::uint8_t reply = 0x5A) : reply_(reply)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 4);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }

    ~Socks4Server()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }

    quint16 port() const { return port_; }

    QByteArray request() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return request_;
    }

private:
    bool readUntilNul(int fd, QByteArray& into)
    {
        char c;
        while (::recv(fd, &c, 1, 0) == 1) {
            into.append(c);
            if (c == '\0')
                return true;
        }
        return false;
    }

    void run()
    {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client >= 0) {
                serve(client);
                ::close(client);
            }
        }
    }

    void serve(int client)
    {
        QByteArray request(8, '\0');
        if (::recv(client, request.data(), 8, MSG_WAITALL) != 8 || !readUntilNul(client, request))
            return;
        std::uint8_t b[8];
        std::memcpy(b, request.constData(), sizeof b);
        const bool named = b[4] == 0 && b[5] == 0 && b[6] == 0 && b[7] != 0;
        if (named && !readUntilNul(client, request))
            return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            request_ = request;
        }
        char answer[8] = {0, static_cast<char>(reply_), 0, 0, 0, 0, 0, 0};
        if (reply_ != 0x5A) {
            ::send(client, answer, sizeof answer, MSG_NOSIGNAL);
            return;
        }
        const int port = (b[2] << 8) | b[3];
        std::string host;
        if (named) {
            const int userEnd = request.indexOf('\0', 8);
            host = request.mid(userEnd + 1, request.size() - userEnd - 2).toStdString();
        } else {
            host = std::to_string(b[4]) + "." + std::to_string(b[5]) + "." + std::to_string(b[6]) + "." +
                   std::to_string(b[7]);
        }
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
            return;
        const int target = ::socket(AF_INET, SOCK_STREAM, 0);
        const bool connected = ::connect(target, found->ai_addr, found->ai_addrlen) == 0;
        ::freeaddrinfo(found);
        if (!connected) {
            ::close(target);
            return;
        }
        ::send(client, answer, sizeof answer, MSG_NOSIGNAL);
        relay(client, target);
        ::close(target);
    }

    void relay(int a, int b)
    {
        char buffer[4096];
        while (!stop_) {
            pollfd p[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
            if (::poll(p, 2, 50) <= 0)
                continue;
            for (int i = 0; i < 2; ++i) {
                if (!(p[i].revents & (POLLIN | POLLHUP)))
                    continue;
                const ssize_t n = ::recv(p[i].fd, buffer, sizeof buffer, 0);
                if (n <= 0)
                    return;
                ::send(i == 0 ? b : a, buffer, static_cast<size_t>(n), MSG_NOSIGNAL);
            }
        }
    }

    std::uint8_t reply_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    QByteArray request_;
};

class SocksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commtest::removeStore(testenv::configHome());
        unit_ = std::make_unique<UnitEmulator>(std::make_unique<commtest::EchoTypeHandler>(), 1);
        ASSERT_TRUE(unit_->start());
        appcontext::setMainForm(&form_);
    }

    void TearDown() override
    {
        comm_.reset();
        appcontext::setMainForm(nullptr);
        unit_.reset();
    }

    TComm& engine(const QString& target, int version, quint16 proxyPort, const QString& user = {},
                  const QString& password = {})
    {
        CommSettings s;
        s.connectType = TComm::Tcp;
        s.wsAddress = target;
        s.wsPort = QString::number(unit_->tcpPort());
        s.socksVersion = version;
        s.proxyAddress = QStringLiteral("127.0.0.1");
        s.proxyPort = proxyPort;
        s.proxyUsername = user;
        s.proxyPw = password;
        s.backoffTimer = QStringLiteral("20");
        s.store();
        comm_ = std::make_unique<TComm>();
        return *comm_;
    }

    int exchange()
    {
        const std::uint8_t request[] = {0x02, 0x0E};
        std::uint8_t reply[255];
        int length = 0;
        const int status = comm_->SendReceive(request, 2, reply, &length, false);
        if (status == 0)
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(reply), length), bytes({0x02, 0x0F}));
        return status;
    }

    QByteArray portBytes() const { return bytes({unit_->tcpPort() >> 8, unit_->tcpPort() & 0xFF}); }

    commtest::MainFormSpy form_;
    std::unique_ptr<UnitEmulator> unit_;
    std::unique_ptr<TComm> comm_;
};

TEST_F(SocksTest, Socks4WithAnAddress)
{
    Socks4Server server;
    engine(QStringLiteral("127.0.0.1"), SocksInfo::Socks4, server.port(), QStringLiteral("kvt"));
    ASSERT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(exchange(), 0);
    EXPECT_EQ(server.request(), bytes({4, 1}) + portBytes() + bytes({127, 0, 0, 1}) + QByteArray("kvt", 4));
    EXPECT_EQ(unit_->connectionsAccepted(), 1);
}

TEST_F(SocksTest, Socks4ResolvesANameItself)
{
    Socks4Server server;
    engine(QStringLiteral("localhost"), SocksInfo::Socks4, server.port());
    ASSERT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(exchange(), 0);
    EXPECT_EQ(server.request(), bytes({4, 1}) + portBytes() + bytes({127, 0, 0, 1, 0}));
}

TEST_F(SocksTest, Socks4aHandsTheNameToTheServer)
{
    Socks4Server server;
    engine(QStringLiteral("localhost"), SocksInfo::Socks4a, server.port(), QStringLiteral("kvt"));
    ASSERT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(exchange(), 0);
    EXPECT_EQ(server.request(),
              bytes({4, 1}) + portBytes() + bytes({0, 0, 0, 1}) + QByteArray("kvt", 4) + QByteArray("localhost", 10));
}

TEST_F(SocksTest, Socks4RefusalIsAFailedConnect)
{
    Socks4Server server(0x5B);
    engine(QStringLiteral("127.0.0.1"), SocksInfo::Socks4, server.port());
    EXPECT_EQ(comm_->Connect(), 1);
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
    EXPECT_TRUE(comm_->findChild<QLabel*>(QStringLiteral("StatusBarPanel0"))
                    ->text()
                    .startsWith(QStringLiteral("Message: (91) ")));
    EXPECT_EQ(unit_->connectionsAccepted(), 0);
}

// microsocks on a free loopback port, with a user name and password.
class Microsocks {
public:
    Microsocks()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("microsocks"));
        if (program.isEmpty())
            return;
        port_ = commtest::freePort();
        process_.start(program,
                       {QStringLiteral("-i"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port_),
                        QStringLiteral("-u"), QStringLiteral("kvt"), QStringLiteral("-P"), QStringLiteral("pw515")});
        if (!process_.waitForStarted(5000))
            return;
        for (int i = 0; i < 200 && !ready_; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QStringLiteral("127.0.0.1"), port_);
            ready_ = probe.waitForConnected(100);
            if (!ready_)
                QThread::msleep(10);
        }
    }
    ~Microsocks()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(3000))
                process_.kill();
            process_.waitForFinished(3000);
        }
    }
    bool ready() const { return ready_; }
    quint16 port() const { return port_; }

private:
    QProcess process_;
    quint16 port_ = 0;
    bool ready_ = false;
};

TEST_F(SocksTest, Socks5WithUserAndPasswordThroughMicrosocks)
{
    Microsocks proxy;
    if (!proxy.ready())
        GTEST_SKIP() << "microsocks is not installed (scripts/deps installs it)";
    engine(QStringLiteral("127.0.0.1"), SocksInfo::Socks5, proxy.port(), QStringLiteral("kvt"),
           QStringLiteral("pw515"));
    ASSERT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(exchange(), 0);
    EXPECT_EQ(unit_->connectionsAccepted(), 1);

    // The wrong password gets no link.
    comm_.reset();
    engine(QStringLiteral("127.0.0.1"), SocksInfo::Socks5, proxy.port(), QStringLiteral("kvt"),
           QStringLiteral("wrong"));
    EXPECT_EQ(comm_->Connect(), 1);
    EXPECT_EQ(unit_->connectionsAccepted(), 1);
}

}  // namespace
