// The program's start-up and its idle and polling costs, against the emulated unit run as its own
// process: cold start to the main window shown (goal: under 1 s), resident memory when idle (goal:
// under 150 MB), processor use while the analysis page polls (goal: under 2% of a core).
#include "activeobjectengine.h"
#include "analysispage.h"
#include "database.h"
#include "dialogservice.h"
#include "formmain.h"
#include "logondialogs.h"
#include "modalrun.h"
#include "programbench.h"
#include "startup.h"

#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

double residentMegabytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression rss(R"(VmRSS:\s+(\d+) kB)");
    const auto match = rss.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop, as the program's idle message loop does.
void pump(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedDialogService dialogs;
    DialogService::install(&dialogs);

    // The emulated unit, in a process of its own so that its work is not counted here.
    QProcess unit;
    if (bench::startUnit(unit, "bench_startup") == 0)
        return 1;

    TFormMain* form = startup::CreateProgram();
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        std::fprintf(stderr, "bench_startup: the window was not exposed\n");
    std::printf("cold start to the main window shown: %lld ms (goal: under 1000 ms)\n",
                static_cast<long long>(sinceStart.elapsed()));

    pump(2000);
    std::printf("resident memory when idle, logged off: %.1f MB (goal: under 150 MB)\n", residentMegabytes());

    // Logged on in read-only mode, the analysis page polls forty points every two seconds.
    for (int i = 0; i < 40; ++i) {
        auto* value = new QLabel(form->Frame(TfraWW::kDecl.tab));
        value->setProperty("DbId", DataBase::Instance()->GetPointByIndex(10 + i)->GetId());
    }
    QElapsedTimer logon;
    logon.start();
    if (!bench::logOnReadOnly(*form, dialogs, "bench_startup"))
        return 1;
    std::printf("logon (every point read): %lld ms\n", static_cast<long long>(logon.elapsed()));
    std::printf("resident memory when idle, logged on: %.1f MB (goal: under 150 MB)\n", residentMegabytes());

    constexpr int kPollingMs = 20000;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    pump(kPollingMs);
    const double share = 100.0 * (cpuSeconds() - cpuBefore) / (wall.elapsed() / 1000.0);
    std::printf("processor use while the analysis page polls: %.2f%% of a core (goal: under 2%%)\n", share);

    bench::closeProgram(form, unit);
    return 0;
}
