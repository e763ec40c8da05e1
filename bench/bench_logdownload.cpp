// The archive and event log downloads through the program's real path: the main window, the
// Archive page's "Read Archive from Analyzer", the commands, libPortelle.so over loopback TCP and
// the log database worker, against the emulated unit in a process of its own. In the same run a
// minimal client reads the same blocks over a socket of its own to the same unit, one request at
// a time; the ratio of the two is the program's share of the wait (goal: at most 2). The time
// from the click to the first answer shows what a download costs before its first block (the
// window painting its pages disabled, the memory sizes asked for); the processor time of the
// user-interface thread per block, beside the client's, shows the program's own work even where
// the machine's other work moves the elapsed times. Resident
// memory is read before the click, at its peak and once the grid shows (goals for 200,000
// records: at most 80 MB and 40 MB above the figure before).
//
//   bench_logdownload [records ...]   (default: 60000 200000; each size in a fresh process)
#include "activeobjectengine.h"
#include "archiveviewer.h"
#include "dialogservice.h"
#include "formmain.h"
#include "frame.h"
#include "logdbmgr.h"
#include "logrecord.h"
#include "programbench.h"
#include "startup.h"
#include "winmsg.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

namespace {

constexpr int kEventRecords = 30000;  // about 1,500 blocks of event memory
constexpr int kBlock = 200;

// A field of /proc/self/status in megabytes.
double statusMegabytes(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression re(QString::fromLatin1(field) + R"(:\s+(\d+) kB)");
    const auto match = re.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : -1;
}

// Starts the peak resident size (VmHWM) afresh from the current one.
bool resetPeak()
{
    QFile refs("/proc/self/clear_refs");
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

QString hex(const LogRecord& record)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(&record), sizeof record).toHex());
}

// Five logs whose frames average about 29 bytes, as a unit recording a few values per run and
// several analog values on its periodic logs stores them; some values store a 0xDE.
QString writeScenario(const QString& folder, int records)
{
    const LogRecord logs[6] = {
        {0, 1, 0, 0x11, 8, {0, 392, 393, 21, 29, 10, 388, 15}},
        {1, 1, 3600, 0x12, 8, {0, 12, 15, 302, 18, 157, 514, 1444}},
        {2, 1, 6, 0x13, 4, {0, 21, 12, 29}},
        {3, 1, 60, 0xDE, 4, {0, 1447, 1450, 1453}},
        {4, 1, 120, 0x15, 8, {0, 1456, 1459, 21, 12, 15, 302, 10}},
        {5, 0, 60, 0x16, 1, {0}},
    };
    QJsonArray config;
    for (const LogRecord& log : logs)
        config.append(hex(log));
    const QJsonObject values{{"21", 1.25},   {"12", 0.1},   {"15", 45.5},         {"302", -5.0},   {"18", 22.0},
                             {"157", 30.0},  {"514", 1e6},  {"1444", 20.75},      {"1447", 4.0},   {"1450", 7.125},
                             {"1453", 19.0}, {"1456", 3.5}, {"1459", 0.001},      {"10", 57054.0}, {"29", 123456.0},
                             {"392", 2.0},   {"393", 7.0},  {"388", 3735928559.0}};
    const QJsonObject scenario{
        {"values", values},
        {"logConfig", config},
        {"archive",
         QJsonObject{{"records", records}, {"start", "2020-01-01T00:00:00"}, {"interval", 60}, {"wrap", records / 3}}},
        {"events", QJsonObject{{"records", kEventRecords},
                               {"start", "2020-01-01T00:00:00"},
                               {"interval", 600},
                               {"wrap", kEventRecords / 4}}},
    };
    const QString path = folder + "/download.json";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QJsonDocument(scenario).toJson());
    return path;
}

// The minimal client: one blocking socket, one request at a time, nothing else.
class RawClient {
public:
    ~RawClient()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    bool Connect(quint16 port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int one = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }

    // The answer message of one request; nothing when the link fails.
    std::optional<std::array<std::uint8_t, frame::kMaxFrame>> Exchange(const std::uint8_t* message, int length)
    {
        std::array<std::uint8_t, frame::kFrameBufferSize> out{};
        const int n = frame::build(frame::kAllStations, message, length, out.data());
        if (::write(fd_, out.data(), static_cast<std::size_t>(n)) != n)
            return std::nullopt;
        std::array<std::uint8_t, frame::kMaxFrame> in{};
        int have = 0;
        int want = 3;
        while (have < want) {
            const ssize_t got = ::read(fd_, in.data() + have, static_cast<std::size_t>(want - have));
            if (got <= 0)
                return std::nullopt;
            have += static_cast<int>(got);
            if (have >= 3)
                want = in[2] + frame::kOverhead;
        }
        std::array<std::uint8_t, frame::kMaxFrame> answer{};
        std::memcpy(answer.data(), in.data() + 2, static_cast<std::size_t>(in[2]));
        return answer;
    }

private:
    int fd_ = -1;
};

// Processor time of the calling thread: unlike the elapsed time, hardly moved by the machine's
// other work, so it shows the program's own share per block even on a busy host.
double threadCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

std::uint32_t u32At(const std::uint8_t* b)
{
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct RawRun {
    double seconds = -1;
    double cpuSeconds = 0;
    int blocks = 0;
};

// Reads a whole memory (type 0x28 archive, 0x2C events) block by block; its length from 0x2A.
RawRun rawDownload(quint16 port, std::uint8_t type)
{
    RawClient client;
    if (!client.Connect(port))
        return {};
    const std::uint8_t info[2] = {2, 0x2A};
    const auto sizes = client.Exchange(info, 2);
    if (!sizes)
        return {};
    const std::uint32_t length = u32At(sizes->data() + (type == 0x28 ? 6 : 10));
    RawRun run;
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = threadCpuSeconds();
    for (std::uint32_t offset = 0; offset < length; offset += kBlock) {
        const auto count = static_cast<std::uint8_t>(std::min<std::uint32_t>(kBlock, length - offset));
        const std::uint8_t request[7] = {7,
                                         type,
                                         static_cast<std::uint8_t>(offset),
                                         static_cast<std::uint8_t>(offset >> 8),
                                         static_cast<std::uint8_t>(offset >> 16),
                                         static_cast<std::uint8_t>(offset >> 24),
                                         count};
        if (!client.Exchange(request, 7))
            return {};
        ++run.blocks;
    }
    run.seconds = clock.nsecsElapsed() / 1e9;
    run.cpuSeconds = threadCpuSeconds() - cpuStart;
    return run;
}

// Times a download from the click: to the last block's answer (the last progress step while the
// status line still says the memory is being read) and to the end of the command.
class DownloadClock : public QObject {
public:
    DownloadClock(QWidget* form, QLabel* status, QString readingText)
            : form_(form), status_(status), readingText_(std::move(readingText))
    {
        form_->installEventFilter(this);
        clock_.start();
        cpuStart_ = threadCpuSeconds();
    }
    ~DownloadClock() override { form_->removeEventFilter(this); }
    double FirstBlockSeconds() const { return firstBlockNs_ / 1e9; }
    double LastBlockSeconds() const { return lastBlockNs_ / 1e9; }
    // The user-interface thread's processor time from the click to the last block.
    double LastBlockCpuSeconds() const { return lastBlockCpu_ - cpuStart_; }
    double Seconds() const { return clock_.nsecsElapsed() / 1e9; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == winmsg::WM_COMMPROGRESS && status_->text() == readingText_) {
            lastBlockNs_ = clock_.nsecsElapsed();
            lastBlockCpu_ = threadCpuSeconds();
            if (firstBlockNs_ == 0)
                firstBlockNs_ = lastBlockNs_;
        }
        return false;
    }

private:
    QWidget* form_;
    QLabel* status_;
    QString readingText_;
    QElapsedTimer clock_;
    qint64 firstBlockNs_ = 0;
    qint64 lastBlockNs_ = 0;
    double cpuStart_ = 0;
    double lastBlockCpu_ = 0;
};

int runOne(int records)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    ScriptedDialogService dialogs;
    DialogService::install(&dialogs);

    QProcess unit;
    const quint16 port =
        bench::startUnit(unit, "bench_logdownload", {"--scenario", writeScenario(home.path(), records)});
    if (port == 0)
        return 1;

    TFormMain* form = startup::CreateProgram();
    form->show();
    if (!bench::logOnReadOnly(*form, dialogs, "bench_logdownload"))
        return 1;
    auto* viewer = form->PageFrame<TfraArchiveViewer>();
    form->PageControlMain()->setCurrentWidget(viewer->parentWidget());
    QCoreApplication::processEvents();

    // Rounds of the minimal client and the program in turn, on connections of their own to the
    // same unit: the machine's other work falls on both alike, and the medians are compared.
    constexpr int kRounds = 3;
    std::vector<double> rawArchive, archive, archiveShown, rawEvents, events, eventsShown, archiveFirst, eventsFirst;
    std::vector<double> rawArchiveCpu, archiveCpu, rawEventsCpu, eventsCpu;
    int archiveBlocks = 0;
    int eventBlocks = 0;
    double before = 0;
    double peak = -1;
    double after = 0;
    for (int round = 0; round < kRounds; ++round) {
        const RawRun raw = rawDownload(port, 0x28);
        if (raw.seconds < 0) {
            std::fprintf(stderr, "bench_logdownload: the minimal client could not read the unit\n");
            return 1;
        }
        rawArchive.push_back(raw.seconds);
        rawArchiveCpu.push_back(raw.cpuSeconds);
        archiveBlocks = raw.blocks;

        dialogs.clear();
        dialogs.answerText("");  // no file for the save question that follows the download
        if (round == 0) {
            before = statusMegabytes("VmRSS");
            if (!resetPeak())
                std::fprintf(stderr, "bench_logdownload: the peak resident size cannot be reset here\n");
        }
        {
            DownloadClock clock(form, form->SpecialPanel(), "Reading Log...");
            viewer->findChild<QToolButton*>("btnReadFromUnit")->click();
            archiveShown.push_back(clock.Seconds());
            archiveFirst.push_back(clock.FirstBlockSeconds());
            archive.push_back(clock.LastBlockSeconds());
            archiveCpu.push_back(clock.LastBlockCpuSeconds());
        }
        if (round == 0) {
            peak = statusMegabytes("VmHWM");
            QCoreApplication::processEvents();
            after = statusMegabytes("VmRSS");
        }
        const std::size_t filed = LogDBMgr::Instance()->RecordCount();
        if (filed != static_cast<std::size_t>(records))
            std::fprintf(stderr, "bench_logdownload: %zu records filed of %d (%s)\n", filed, records,
                         qPrintable(dialogs.texts().join(" | ")));

        const RawRun rawEvent = rawDownload(port, 0x2C);
        rawEvents.push_back(rawEvent.seconds);
        rawEventsCpu.push_back(rawEvent.cpuSeconds);
        eventBlocks = rawEvent.blocks;
        DownloadClock clock(form, form->SpecialPanel(), "Reading Event Log...");
        MyActiveObjectEngine::Instance()->ExecuteCommand("ReadAudit", "");
        eventsShown.push_back(clock.Seconds());
        eventsFirst.push_back(clock.FirstBlockSeconds());
        events.push_back(clock.LastBlockSeconds());
        eventsCpu.push_back(clock.LastBlockCpuSeconds());
    }

    const double seconds = median(archive);
    const double rawSeconds = median(rawArchive);
    std::printf(
        "archive download, %d records, %d blocks, median of %d: click to last block %.2f s, %.0f blocks/s; "
        "minimal client %.2f s, %.0f blocks/s; ratio %.2f (goal: at most 2); click to first answer %.1f ms; "
        "click to grid shown %.2f s\n",
        records, archiveBlocks, kRounds, seconds, archiveBlocks / seconds, rawSeconds, archiveBlocks / rawSeconds,
        seconds / rawSeconds, median(archiveFirst) * 1e3, median(archiveShown));
    std::printf(
        "  resident memory: %.1f MB before, %.1f MB at the peak (+%.1f), %.1f MB with the grid shown (+%.1f)%s\n",
        before, peak, peak - before, after, after - before, records >= 200000 ? " (goals: +80 and +40 MB)" : "");
    const double eventSeconds = median(events);
    const double rawEventSeconds = median(rawEvents);
    std::printf(
        "event download, %d blocks, median of %d: click to last block %.3f s, %.0f blocks/s; minimal client "
        "%.3f s; ratio %.2f (goal: at most 2); click to first answer %.1f ms; click to events shown %.3f s\n",
        eventBlocks, kRounds, eventSeconds, eventBlocks / eventSeconds, rawEventSeconds, eventSeconds / rawEventSeconds,
        median(eventsFirst) * 1e3, median(eventsShown));
    std::printf(
        "  processor time of the user-interface thread per block: archive %.1f us (minimal client %.1f us), "
        "events %.1f us (minimal client %.1f us)\n",
        median(archiveCpu) / archiveBlocks * 1e6, median(rawArchiveCpu) / archiveBlocks * 1e6,
        median(eventsCpu) / eventBlocks * 1e6, median(rawEventsCpu) / eventBlocks * 1e6);
    std::fflush(stdout);

    bench::closeProgram(form, unit);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == "--one")
        return runOne(args[1].toInt());
    if (args.isEmpty())
        args = {"60000", "200000"};
    // Each size in a fresh process, so that one download's memory does not count in the next.
    int rc = 0;
    for (const QString& records : args) {
        QProcess one;
        one.setProcessChannelMode(QProcess::ForwardedChannels);
        one.start(QCoreApplication::applicationFilePath(), {"--one", records});
        one.waitForFinished(-1);
        rc |= one.exitCode();
    }
    return rc;
}
