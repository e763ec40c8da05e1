// Link figures of the communications library, measured as the program uses it (libPortelle.so
// loaded by path, entries bound by name) against the emulated unit in this process:
//  - round trip of a short exchange over loopback TCP and over a pseudo-terminal, 10,000 times:
//    median and 99th percentile, and the same above the emulated unit's own turnaround
//    (goal: median overhead at most 2 ms);
//  - processor use of the waiting thread during a long wait for a silent unit (goal: under 5%);
//  - duration of a silent exchange at the default settings (goal: 550 ms within 10%).
#include "commsettings.h"
#include "messagehandler.h"
#include "portelle_api.h"
#include "unitemulator.h"

#include <QApplication>
#include <QLibrary>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class EchoTypeHandler : public MessageHandler {
public:
    std::optional<QByteArray> handleMessage(const QByteArray& message) override
    {
        QByteArray answer(2, '\x02');
        answer[1] = static_cast<char>(static_cast<unsigned char>(message[1]) + 1);
        return answer;
    }
};

struct Entries {
    PortelleInitializeFn initialize = nullptr;
    PortelleCleanupFn cleanup = nullptr;
    PortelleSendReceiveFn sendReceive = nullptr;
    PortelleCommConnectFn commConnect = nullptr;
    PortelleCommDisconnectFn commDisconnect = nullptr;
};

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// What the machine itself charges for the wait's 1 ms sleeps, with nothing else going on: on a
// virtual machine each wake-up can cost a good share of the figure below.
void sleepBaseline()
{
    const int passes = 1000;
    const double cpu0 = threadCpuMs();
    const auto start = Clock::now();
    for (int i = 0; i < passes; ++i)
        QThread::msleep(1);
    const double wall = ms(Clock::now() - start);
    std::printf("baseline: a 1 ms sleep lasts %.3f ms and costs %.2f%% of a core on this machine\n", wall / passes,
                100.0 * (threadCpuMs() - cpu0) / wall);
}

int exchange(const Entries& e)
{
    static const unsigned char request[] = {0x03, 0x01, 0x05};
    unsigned char reply[kPortelleMaxReply];
    int length = 0;
    return e.sendReceive(request, int(sizeof request), reply, &length, false);
}

void roundTrips(const char* name, const Entries& e, UnitEmulator& unit, const CommSettings& settings, int count)
{
    settings.store();
    e.initialize();
    if (e.commConnect() != 0) {
        std::printf("%s: no link\n", name);
        e.cleanup();
        return;
    }
    for (int i = 0; i < 200; ++i)
        exchange(e);
    unit.clearFrames();
    std::vector<double> trips;
    trips.reserve(std::size_t(count));
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        failures += exchange(e) != 0;
        trips.push_back(ms(Clock::now() - start));
    }
    const auto frames = unit.frames();
    std::vector<double> turnaround;
    std::vector<double> overhead;
    for (std::size_t i = 0; i < frames.size() && i < trips.size(); ++i) {
        if (!frames[i].answered)
            continue;
        const double own = ms(frames[i].answeredAt - frames[i].receivedAt);
        turnaround.push_back(own);
        overhead.push_back(trips[i] - own);
    }
    std::printf(
        "%-4s %d exchanges, %d failed: round trip median %.3f ms, p99 %.3f ms; unit turnaround median %.3f ms; "
        "overhead median %.3f ms, p99 %.3f ms (goal: median <= 2 ms)\n",
        name, count, failures, percentile(trips, 0.5), percentile(trips, 0.99), percentile(turnaround, 0.5),
        percentile(overhead, 0.5), percentile(overhead, 0.99));
    e.commDisconnect(false);
    e.cleanup();
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;

    QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/libPortelle.so"));
    Entries e;
    if (library.load()) {
        e.initialize = reinterpret_cast<PortelleInitializeFn>(library.resolve("_Initialize"));
        e.cleanup = reinterpret_cast<PortelleCleanupFn>(library.resolve("_Cleanup"));
        e.sendReceive = reinterpret_cast<PortelleSendReceiveFn>(library.resolve("SendReceive"));
        e.commConnect = reinterpret_cast<PortelleCommConnectFn>(library.resolve("CommConnect"));
        e.commDisconnect = reinterpret_cast<PortelleCommDisconnectFn>(library.resolve("CommDisconnect"));
    }
    if (!e.initialize || !e.cleanup || !e.sendReceive || !e.commConnect || !e.commDisconnect) {
        std::fprintf(stderr, "cannot load libPortelle.so: %s\n", qPrintable(library.errorString()));
        return 1;
    }

    UnitEmulator unit(std::make_unique<EchoTypeHandler>(), 1);
    if (!unit.start()) {
        std::fprintf(stderr, "cannot start the emulated unit\n");
        return 1;
    }

    sleepBaseline();

    CommSettings tcp;
    tcp.connectType = 3;
    tcp.wsAddress = QStringLiteral("127.0.0.1");
    tcp.wsPort = QString::number(unit.tcpPort());
    tcp.backoffTimer = QStringLiteral("20");
    roundTrips("tcp", e, unit, tcp, count);

    CommSettings pty;
    pty.connectType = 0;
    pty.portName = unit.ptyPath();
    pty.baud = 115200;
    pty.backoffTimer = QStringLiteral("20");
    roundTrips("pty", e, unit, pty, count);

    // A long wait: one send to a silent unit with a time-out of 36 ticks (about 2 s).
    {
        CommSettings s = tcp;
        s.backoffTimer = QStringLiteral("36");
        s.retries = QStringLiteral("1");
        s.store();
        e.initialize();
        e.commConnect();
        unit.silence(1);
        const double thread0 = threadCpuMs();
        const double process0 = processCpuMs();
        const auto start = Clock::now();
        const int status = exchange(e);
        const double wall = ms(Clock::now() - start);
        const double thread = threadCpuMs() - thread0;
        const double process = processCpuMs() - process0;
        std::printf(
            "wait status %d for %.0f ms: waiting thread %.2f%% of a core, whole process %.2f%% "
            "(goal: under 5%%)\n",
            status, wall, 100.0 * thread / wall, 100.0 * process / wall);
        e.commDisconnect(false);
        e.cleanup();
    }

    // A silent exchange at the default time-out and retries: 2 sends of 5 ticks.
    {
        CommSettings s = tcp;
        s.backoffTimer = CommSettings().backoffTimer;
        s.retries = CommSettings().retries;
        s.store();
        e.initialize();
        e.commConnect();
        std::vector<double> durations;
        for (int i = 0; i < 5; ++i) {
            unit.silence(2);
            const auto start = Clock::now();
            exchange(e);
            durations.push_back(ms(Clock::now() - start));
        }
        const double median = percentile(durations, 0.5);
        std::printf("silent exchange at defaults: median %.1f ms, min %.1f, max %.1f (goal: 550 ms +/- 10%%: %s)\n",
                    median, *std::min_element(durations.begin(), durations.end()),
                    *std::max_element(durations.begin(), durations.end()),
                    median >= 495 && median <= 605 ? "met" : "missed");
        e.commDisconnect(false);
        e.cleanup();
    }
    return 0;
}
