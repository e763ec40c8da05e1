#include "unitemulator.h"

#include "crc16.h"

#include <QHostAddress>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <map>

namespace {

using Clock = UnitEmulator::Clock;

constexpr std::uint8_t kFrameKind = 0x12;
constexpr std::uint8_t kAllStations = 0xFF;
// A pause this long between bytes ends a partial frame, as a silent line does on the unit.
constexpr auto kInterFrameGap = std::chrono::milliseconds(100);

QByteArray frameOf(std::uint8_t station, const QByteArray& message)
{
    QByteArray frame;
    frame.append(static_cast<char>(station));
    frame.append(static_cast<char>(kFrameKind));
    frame.append(message);
    const std::uint16_t crc = Crc16Modbus::compute(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                                   static_cast<std::size_t>(frame.size()));
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}

bool crcMatches(const QByteArray& frame)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(frame.constData());
    const auto n = static_cast<std::size_t>(frame.size());
    const std::uint16_t stored = static_cast<std::uint16_t>(data[n - 2] | (data[n - 1] << 8));
    return Crc16Modbus::compute(data, n - 2) == stored;
}

Clock::duration byteTime(int baud)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(10.0 / baud));
}

}  // namespace

// Lives in the emulator's thread: owns the listener, the connections and the pseudo-terminal.
class EmulatorWorker : public QObject {
public:
    EmulatorWorker(std::shared_ptr<UnitEmulator::Shared> shared, std::shared_ptr<HayesModem::Control> modem,
                   MessageHandler* handler)
            : shared_(std::move(shared)), handler_(handler)
    {
        modem_ = new HayesModem(
            std::move(modem), [this](const QByteArray& bytes) { writePty(bytes); },
            [this](const QByteArray& bytes) { received(ptyLink_, bytes); }, this);
    }

    void dropCarrier() { modem_->dropCarrier(); }

    bool open(quint16 port, quint16* tcpPort, QString* ptyPath)
    {
        pump_ = new QTimer(this);
        pump_->setSingleShot(true);
        pump_->setTimerType(Qt::PreciseTimer);
        connect(pump_, &QTimer::timeout, this, [this] { runDueEvents(); });

        server_ = new QTcpServer(this);
        if (!server_->listen(QHostAddress::LocalHost, port))
            return false;
        *tcpPort = server_->serverPort();
        connect(server_, &QTcpServer::newConnection, this, [this] { acceptConnections(); });
        return openPty(ptyPath);
    }

    void close()
    {
        if (pump_)
            pump_->stop();
        events_.clear();
        for (auto& [id, link] : links_)
            if (link.socket) {
                link.socket->disconnect(this);
                link.socket->abort();
                link.socket->deleteLater();
            }
        links_.clear();
        delete notifier_;
        notifier_ = nullptr;
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
        master_ = slave_ = -1;
        if (server_)
            server_->close();
    }

private:
    struct Link {
        UnitEmulator::LinkKind kind = UnitEmulator::LinkKind::Tcp;
        QTcpSocket* socket = nullptr;
        QByteArray rx;
        Clock::time_point lastRx;
        Clock::time_point lineFreeIn;
        Clock::time_point lineFreeOut;
        bool gatewaySelected = false;
    };
    struct Event {
        enum class What { Deliver, Write, Close } what = What::Write;
        int link = 0;
        QByteArray bytes;
        std::uint64_t frameId = 0;  // the frame answered, set on the answer's last write
    };

    bool openPty(QString* path)
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            return false;
        char name[256];
        if (::ptsname_r(master_, name, sizeof name) != 0)
            return false;
        // Holding the slave open keeps the master readable while no client has it open, and
        // raw mode keeps the line discipline from echoing or translating before a client sets it.
        slave_ = ::open(name, O_RDWR | O_NOCTTY);
        if (slave_ < 0)
            return false;
        termios tio{};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        *path = QString::fromLocal8Bit(name);

        ptyLink_ = nextLink_++;
        links_[ptyLink_].kind = UnitEmulator::LinkKind::Pty;
        notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            char buffer[4096];
            for (;;) {
                const ssize_t n = ::read(master_, buffer, sizeof buffer);
                if (n <= 0)
                    break;
                const QByteArray bytes(buffer, static_cast<int>(n));
                if (modem_->enabled())
                    modem_->fromHost(bytes);
                else
                    received(ptyLink_, bytes);
            }
        });
        return true;
    }

    void acceptConnections()
    {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            socket->setParent(this);
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            const int id = nextLink_++;
            links_[id].socket = socket;
            {
                std::lock_guard<std::mutex> lock(shared_->mutex);
                ++shared_->connections;
            }
            connect(socket, &QTcpSocket::readyRead, this, [this, id, socket] { received(id, socket->readAll()); });
            connect(socket, &QTcpSocket::disconnected, this, [this, id, socket] {
                links_.erase(id);
                socket->deleteLater();
            });
        }
    }

    int baud() const
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        return shared_->baud;
    }

    void received(int id, const QByteArray& bytes)
    {
        if (bytes.isEmpty())
            return;
        const int rate = baud();
        const Clock::time_point now = Clock::now();
        if (rate <= 0) {
            deliver(id, bytes, now);
            return;
        }
        // The bytes reach the unit only as fast as its line carries them.
        Link& link = links_[id];
        const Clock::time_point at = std::max(now, link.lineFreeIn) + byteTime(rate) * bytes.size();
        link.lineFreeIn = at;
        schedule(at, {Event::What::Deliver, id, bytes, 0});
    }

    void deliver(int id, const QByteArray& bytes, Clock::time_point at)
    {
        auto it = links_.find(id);
        if (it == links_.end())
            return;
        Link& link = it->second;
        if (!link.rx.isEmpty() && at - link.lastRx > kInterFrameGap)
            link.rx.clear();
        link.rx.append(bytes);
        link.lastRx = at;
        if (gatewayInput(id, link))
            return;
        for (;;) {
            if (link.rx.size() < 3)
                return;
            if (static_cast<std::uint8_t>(link.rx[1]) != kFrameKind) {
                link.rx.remove(0, 1);  // not a frame start: look for the next one
                continue;
            }
            const int need = static_cast<std::uint8_t>(link.rx[2]) + 4;
            if (link.rx.size() < need)
                return;
            const QByteArray frame = link.rx.left(need);
            link.rx.remove(0, need);
            handleFrame(id, link.kind, frame, at);
            if (links_.find(id) == links_.end())
                return;
        }
    }

    std::optional<UnitEmulator::Gateway> gateway() const
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        return shared_->gateway;
    }

    void recordGatewayText(const QByteArray& text)
    {
        {
            std::lock_guard<std::mutex> lock(shared_->mutex);
            shared_->gatewayTexts.push_back(text);
        }
        shared_->changed.notify_all();
    }

    void gatewayAnswer(int id, const UnitEmulator::Gateway& gw, const QByteArray& text)
    {
        const int size = gw.chunkSize > 0 ? gw.chunkSize : int(text.size());
        Clock::time_point t = Clock::now();
        for (int i = 0; i < text.size(); i += size) {
            schedule(t, {Event::What::Write, id, text.mid(i, size), 0});
            t += std::chrono::milliseconds(gw.gapMs);
        }
    }

    // Takes the gateway's text commands at the front of a TCP link's input. True when the input
    // is (the start of) gateway text, taken or waiting for the rest of its command.
    bool gatewayInput(int id, Link& link)
    {
        if (link.kind != UnitEmulator::LinkKind::Tcp)
            return false;
        const std::optional<UnitEmulator::Gateway> gw = gateway();
        if (!gw)
            return false;
        static const QByteArray kPrefix("CCI");
        static const QByteArray kList("CCICommand,CRC");
        static const QByteArray kSelect("CCIS");
        QByteArray& rx = link.rx;
        while (!rx.isEmpty()) {
            if (!(rx.size() < kPrefix.size() ? kPrefix.startsWith(rx) : rx.startsWith(kPrefix)))
                return false;
            if (kList.startsWith(rx) && rx.size() < kList.size())
                return true;
            if (rx.startsWith(kList)) {
                recordGatewayText(kList);
                rx.remove(0, kList.size());
                QByteArray answer("CCIC");
                for (const auto& c : gw->connections)
                    answer += c.name + ',';
                gatewayAnswer(id, *gw, answer);
                continue;
            }
            if (rx.startsWith(kSelect)) {
                const QByteArray name = rx.mid(kSelect.size());
                for (const auto& c : gw->connections) {
                    if (c.name == name) {
                        recordGatewayText(rx);
                        rx.clear();
                        link.gatewaySelected = true;
                        gatewayAnswer(id, *gw, "CCIA" + QByteArray::number(c.address));
                        return true;
                    }
                }
                for (const auto& c : gw->connections)
                    if (c.name.startsWith(name))
                        return true;
            }
            // Text the gateway does not know: no answer.
            recordGatewayText(rx);
            rx.clear();
        }
        return true;
    }

    void handleFrame(int id, UnitEmulator::LinkKind kind, const QByteArray& frame, Clock::time_point at)
    {
        UnitEmulator::ReceivedFrame record;
        record.link = kind;
        record.bytes = frame;
        record.receivedAt = at;
        record.crcOk = crcMatches(frame);
        std::uint8_t station;
        int rate;
        int turnaroundMs;
        std::optional<UnitEmulator::Fault> fault;
        std::uint64_t frameId;
        {
            std::lock_guard<std::mutex> lock(shared_->mutex);
            station = shared_->station;
            rate = shared_->baud;
            turnaroundMs = shared_->turnaroundMs;
            const auto address = static_cast<std::uint8_t>(frame[0]);
            record.forUs = address == station || address == kAllStations;
            if (record.crcOk && record.forUs && !shared_->faults.empty()) {
                fault = shared_->faults.front();
                shared_->faults.pop_front();
            }
            frameId = ++frameIds_;
            shared_->frames.push_back(record);
            shared_->frameIds.push_back(frameId);
        }
        shared_->changed.notify_all();
        if (!record.crcOk || !record.forUs)
            return;
        if (kind == UnitEmulator::LinkKind::Tcp && !links_[id].gatewaySelected && gateway())
            return;

        using Kind = UnitEmulator::Fault::Kind;
        if (fault && fault->kind == Kind::Silence)
            return;
        if (fault && fault->kind == Kind::Drop) {
            if (kind == UnitEmulator::LinkKind::Tcp)
                schedule(at, {Event::What::Close, id, {}, 0});
            return;
        }
        QByteArray message;
        if (fault && fault->kind == Kind::Reject) {
            message = QByteArray("\x02\xFF", 2);
        } else {
            const std::optional<QByteArray> answer = handler_->handleMessage(frame.mid(2, frame.size() - 4));
            if (!answer)
                return;
            message = *answer;
        }
        QByteArray out = frameOf(station, message);
        if (fault && fault->kind == Kind::BadCrc)
            out[out.size() - 1] = static_cast<char>(out[out.size() - 1] ^ 0x5A);
        if (fault && fault->kind == Kind::ExtraByte)
            out.append('\0');

        Clock::time_point start = at + std::chrono::milliseconds(turnaroundMs);
        if (fault && fault->kind == Kind::Late)
            start += std::chrono::milliseconds(fault->delayMs);
        std::vector<QByteArray> pieces;
        if (fault && fault->kind == Kind::Chunks) {
            const int size = std::max(1, fault->chunkSize);
            for (int i = 0; i < out.size(); i += size)
                pieces.push_back(out.mid(i, size));
        } else {
            pieces.push_back(out);
        }
        const auto gap = std::chrono::milliseconds(fault && fault->kind == Kind::Chunks ? fault->gapMs : 0);
        Link& link = links_[id];
        const bool immediate = rate <= 0 && pieces.size() == 1 && start <= Clock::now();
        if (immediate) {
            // Recorded first, so that whoever reads the answer also finds it in the record.
            markAnswered(frameId);
            write(id, out);
            return;
        }
        Clock::time_point t = start;
        for (std::size_t p = 0; p < pieces.size(); ++p) {
            if (p > 0)
                t += gap;
            if (rate > 0) {
                // Each byte leaves when the line has carried the one before it.
                for (int i = 0; i < pieces[p].size(); ++i) {
                    t = std::max(t, link.lineFreeOut) + byteTime(rate);
                    link.lineFreeOut = t;
                    const bool last = p + 1 == pieces.size() && i + 1 == pieces[p].size();
                    schedule(t, {Event::What::Write, id, pieces[p].mid(i, 1), last ? frameId : 0});
                }
            } else {
                schedule(t, {Event::What::Write, id, pieces[p], p + 1 == pieces.size() ? frameId : 0});
            }
        }
    }

    void markAnswered(std::uint64_t frameId)
    {
        const Clock::time_point now = Clock::now();
        {
            std::lock_guard<std::mutex> lock(shared_->mutex);
            auto& ids = shared_->frameIds;
            for (std::size_t i = ids.size(); i-- > 0;) {
                if (ids[i] == frameId) {
                    shared_->frames[i].answered = true;
                    shared_->frames[i].answeredAt = now;
                    break;
                }
                if (ids[i] < frameId)
                    break;
            }
        }
        shared_->changed.notify_all();
    }

    void write(int id, const QByteArray& bytes)
    {
        auto it = links_.find(id);
        if (it == links_.end())
            return;
        if (it->second.socket) {
            it->second.socket->write(bytes);
            it->second.socket->flush();
        } else {
            // Behind a modem the unit reaches the client only while a call is up.
            if (modem_->enabled() && !modem_->carriesData())
                return;
            writePty(bytes);
        }
    }

    void writePty(const QByteArray& bytes)
    {
        if (master_ < 0)
            return;
        // A full pseudo-terminal (no reader) loses the rest, as a line would.
        [[maybe_unused]] const ssize_t n = ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
    }

    void schedule(Clock::time_point at, Event event)
    {
        events_.emplace(at, std::move(event));
        armPump();
    }

    void armPump()
    {
        if (events_.empty()) {
            pump_->stop();
            return;
        }
        const auto wait = events_.begin()->first - Clock::now();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(wait).count();
        pump_->start(static_cast<int>(std::max<long long>(0, ms)));
    }

    void runDueEvents()
    {
        while (!events_.empty() && events_.begin()->first <= Clock::now()) {
            const Clock::time_point at = events_.begin()->first;
            Event event = std::move(events_.begin()->second);
            events_.erase(events_.begin());
            switch (event.what) {
            case Event::What::Deliver:
                deliver(event.link, event.bytes, at);
                break;
            case Event::What::Write:
                if (event.frameId)
                    markAnswered(event.frameId);
                write(event.link, event.bytes);
                break;
            case Event::What::Close: {
                auto it = links_.find(event.link);
                if (it != links_.end() && it->second.socket)
                    it->second.socket->close();
                break;
            }
            }
        }
        armPump();
    }

    std::shared_ptr<UnitEmulator::Shared> shared_;
    MessageHandler* handler_;
    HayesModem* modem_ = nullptr;
    QTcpServer* server_ = nullptr;
    QTimer* pump_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    int master_ = -1;
    int slave_ = -1;
    int ptyLink_ = 0;
    int nextLink_ = 1;
    std::map<int, Link> links_;
    std::multimap<Clock::time_point, Event> events_;
    std::uint64_t frameIds_ = 0;
};

UnitEmulator::UnitEmulator(std::unique_ptr<MessageHandler> handler, std::uint8_t station)
        : shared_(std::make_shared<Shared>()), modem_(std::make_shared<HayesModem::Control>()),
          handler_(std::move(handler))
{
    shared_->station = station;
}

UnitEmulator::~UnitEmulator()
{
    stop();
}

bool UnitEmulator::start(quint16 port)
{
    if (thread_)
        return true;
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("UnitEmulator"));
    worker_ = new EmulatorWorker(shared_, modem_, handler_.get());
    worker_->moveToThread(thread_);
    thread_->start();
    bool ok = false;
    QMetaObject::invokeMethod(
        worker_, [&] { ok = worker_->open(port, &tcpPort_, &ptyPath_); }, Qt::BlockingQueuedConnection);
    if (!ok)
        stop();
    return ok;
}

void UnitEmulator::stop()
{
    if (!thread_)
        return;
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            worker_->close();
            delete worker_;
        },
        Qt::BlockingQueuedConnection);
    worker_ = nullptr;
    thread_->quit();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

void UnitEmulator::setStation(std::uint8_t station)
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->station = station;
}

std::uint8_t UnitEmulator::station() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->station;
}

void UnitEmulator::setBaudRate(int baud)
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->baud = std::max(0, baud);
}

void UnitEmulator::setTurnaroundMs(int ms)
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->turnaroundMs = std::max(0, ms);
}

void UnitEmulator::injectFault(const Fault& fault, int times)
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    for (int i = 0; i < times; ++i)
        shared_->faults.push_back(fault);
}

void UnitEmulator::clearFaults()
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->faults.clear();
}

int UnitEmulator::pendingFaults() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return static_cast<int>(shared_->faults.size());
}

std::vector<UnitEmulator::ReceivedFrame> UnitEmulator::frames() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->frames;
}

int UnitEmulator::frameCount() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return static_cast<int>(shared_->frames.size());
}

void UnitEmulator::clearFrames()
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->frames.clear();
    shared_->frameIds.clear();
}

bool UnitEmulator::waitForFrames(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(shared_->mutex);
    return shared_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [&] { return static_cast<int>(shared_->frames.size()) >= count; });
}

void UnitEmulator::setGateway(std::optional<Gateway> gateway)
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->gateway = std::move(gateway);
}

std::vector<QByteArray> UnitEmulator::gatewayTexts() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->gatewayTexts;
}

int UnitEmulator::connectionsAccepted() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->connections;
}

void UnitEmulator::setModemMode(bool on)
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    modem_->enabled = on;
}

void UnitEmulator::queueDialAnswer(DialAnswer answer, int times)
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    for (int i = 0; i < times; ++i)
        modem_->answers.push_back(answer);
}

void UnitEmulator::setDialDelayMs(int ms)
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    modem_->dialDelayMs = std::max(0, ms);
}

void UnitEmulator::setConnectRate(int rate)
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    modem_->connectRate = rate;
}

void UnitEmulator::setModemGuardTimeMs(int ms)
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    modem_->guardTimeMs = std::max(0, ms);
}

void UnitEmulator::dropCarrier()
{
    if (worker_)
        QMetaObject::invokeMethod(
            worker_, [this] { worker_->dropCarrier(); }, Qt::BlockingQueuedConnection);
}

bool UnitEmulator::modemOnline() const
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    return modem_->online;
}

QStringList UnitEmulator::modemCommands() const
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    return modem_->commands;
}

QStringList UnitEmulator::modemDialled() const
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    return modem_->dialled;
}

int UnitEmulator::modemHangups() const
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    return modem_->hangups;
}

int UnitEmulator::modemCarrierDrops() const
{
    std::lock_guard<std::mutex> lock(modem_->mutex);
    return modem_->carrierDrops;
}
