// The analysis page polled for a minute against the emulated unit run as its own process:
// processor use of the program (goal: under 2% of a core), and the time from each answer of a
// poll to the page's controls updated with its values (goal: under 20 ms).
//
// The answer-to-controls time of one answer runs from the moment the link returns it to the
// moment the next request leaves (or the poll ends): in between the values are parsed, the points
// notify the controls and the page's handlers format them.
#include "activeobjectengine.h"
#include "command.h"
#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "formmain.h"
#include "modalrun.h"
#include "pollcommands.h"
#include "programbench.h"
#include "readcommands.h"
#include "startup.h"

#include <sys/resource.h>
#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void pump(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Times what happens between an answer and the next request.
struct AnswerTimes {
    bool inPoll = false;
    Clock::time_point answered{};
    bool pending = false;
    std::vector<double> perAnswerMs;
    std::vector<double> perPollMs;
    double pollSum = 0;

    void closeAnswer()
    {
        if (!pending)
            return;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - answered).count();
        perAnswerMs.push_back(ms);
        pollSum += ms;
        pending = false;
    }
};

class TimingLink : public MessageLink {
public:
    TimingLink(MessageLink& inner, AnswerTimes& times) : inner_(inner), times_(times) {}
    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool notify) override
    {
        if (times_.inPoll)
            times_.closeAnswer();
        const int n = inner_.SendReceive(message, answer, capacity, notify);
        if (times_.inPoll) {
            times_.answered = Clock::now();
            times_.pending = true;
        }
        return n;
    }

private:
    MessageLink& inner_;
    AnswerTimes& times_;
};

// The program's poll, marked so that the link times only the poll's answers.
class TimedPoll : public Command {
public:
    TimedPoll(std::unique_ptr<Command> inner, AnswerTimes& times) : inner_(std::move(inner)), times_(times) {}
    void Execute() override
    {
        times_.inPoll = true;
        times_.pollSum = 0;
        inner_->SetParam(GetParam());
        try {
            inner_->Execute();
        } catch (...) {
            times_.closeAnswer();
            times_.inPoll = false;
            throw;
        }
        times_.closeAnswer();
        times_.inPoll = false;
        times_.perPollMs.push_back(times_.pollSum);
    }

private:
    std::unique_ptr<Command> inner_;
    AnswerTimes& times_;
};

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5))];
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedDialogService dialogs;
    DialogService::install(&dialogs);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;

    QProcess unit;
    if (bench::startUnit(unit, "bench_analysispage") == 0)
        return 1;

    TFormMain* form = startup::CreateProgram();
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        std::fprintf(stderr, "bench_analysispage: the window was not exposed\n");

    AnswerTimes times;
    TimingLink link(*Communications::Instance(), times);
    CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));
    MyActiveObjectEngine* engine = MyActiveObjectEngine::Instance();
    // The program's poll command, timed.
    auto poll = std::make_unique<ExpressRead2Command>();
    poll->SetFrameComm(form);
    engine->RegisterCommand("ExpressRead2", std::make_unique<TimedPoll>(std::move(poll), times));

    if (!bench::logOnReadOnly(*form, dialogs, "bench_analysispage"))
        return 1;
    std::printf("analysis page: %zu points polled every 2 s\n", DataBase::Instance()->expressScan.MainList().size());

    times.perAnswerMs.clear();
    times.perPollMs.clear();
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = Clock::now();
    pump(seconds * 1000);
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    const double share = 100.0 * (cpuSeconds() - cpuBefore) / wall;
    std::printf("polls in %d s: %zu, answers: %zu\n", seconds, times.perPollMs.size(), times.perAnswerMs.size());
    std::printf("processor use while the analysis page polls: %.2f%% of a core (goal: under 2%%)\n", share);
    std::printf(
        "answer to controls updated: median %.3f ms, 99th percentile %.3f ms, worst %.3f ms (goal: under 20 ms)\n",
        percentile(times.perAnswerMs, 0.5), percentile(times.perAnswerMs, 0.99), percentile(times.perAnswerMs, 1.0));
    std::printf("all answers of one poll to controls updated: median %.3f ms, worst %.3f ms\n",
                percentile(times.perPollMs, 0.5), percentile(times.perPollMs, 1.0));

    bench::closeProgram(form, unit);
    CommDBPointFacade::ReleaseInstance();
    return 0;
}
