// Entering the Streams tab after logon, against the emulated unit run as its own process over
// loopback TCP: the time from the tab's click to every control showing its value (goal: under
// 300 ms), and the messages the entry takes (one per twenty numeric points plus one per text
// point).
#include "activeobjectengine.h"
#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "formmain.h"
#include "modalrun.h"
#include "programbench.h"
#include "startup.h"
#include "streambindings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class CountingLink : public MessageLink {
public:
    explicit CountingLink(MessageLink& inner) : inner_(inner) {}
    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool notify) override
    {
        ++messages;
        QElapsedTimer clock;
        clock.start();
        const int n = inner_.SendReceive(message, answer, capacity, notify);
        linkMs += clock.nsecsElapsed() / 1e6;
        return n;
    }
    int messages = 0;
    double linkMs = 0;  // inside the exchanges: the line, the unit and the pumped events

private:
    MessageLink& inner_;
};

constexpr int kStreamsTab = 6;
constexpr int kStatusTab = 1;

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
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    QProcess unit;
    if (bench::startUnit(unit, "bench_streamspage") == 0)
        return 1;

    TFormMain* form = startup::CreateProgram();
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        std::fprintf(stderr, "bench_streamspage: the window was not exposed\n");
    CountingLink link(*Communications::Instance());
    CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));
    MyActiveObjectEngine* engine = MyActiveObjectEngine::Instance();

    if (!bench::logOnReadOnly(*form, dialogs, "bench_streamspage"))
        return 1;

    const auto* tabs = form->Frame(kStreamsTab)->findChild<QTabWidget*>("PageControlStreams");
    std::vector<double> ms;
    std::vector<double> link_ms;
    int messages = 0;
    for (int i = 0; i < runs; ++i) {
        form->PageControlMain()->setCurrentIndex(kStatusTab);
        while (engine->IsRunning() || engine->GetQueueCount() > 0)
            QCoreApplication::processEvents();
        link.messages = 0;
        link.linkMs = 0;
        QElapsedTimer clock;
        clock.start();
        form->PageControlMain()->setCurrentIndex(kStreamsTab);
        while (engine->IsRunning() || engine->GetQueueCount() > 0)
            QCoreApplication::processEvents();
        // The values are in the controls; the tabs paint once the page sees the read over.
        while (!tabs->updatesEnabled())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        ms.push_back(clock.nsecsElapsed() / 1e6);
        link_ms.push_back(link.linkMs);
        messages = link.messages;
    }
    std::sort(ms.begin(), ms.end());
    std::sort(link_ms.begin(), link_ms.end());
    const std::vector<int> ids = streamspage::scanList();
    int texts = 0;
    for (int id : ids) {
        const std::string type = DataBase::Instance()->GetPointById(id)->GetTypeName();
        texts += type == "text" || type == "Acceleration ";
    }
    const int expected = texts + (static_cast<int>(ids.size()) - texts + 19) / 20;
    std::printf("streams tab: %zu points (%d texts)\n", ids.size(), texts);
    std::printf(
        "click to every control showing its value, %d entries: median %.1f ms, worst %.1f ms (goal: under "
        "300 ms)\n",
        runs, ms[ms.size() / 2], ms.back());
    std::printf("of which inside the exchanges (line, unit, events pumped while waiting): median %.1f ms\n",
                link_ms[link_ms.size() / 2]);
    std::printf("messages per entry: %d (one per twenty numeric points plus one per text point: %d)\n", messages,
                expected);

    bench::closeProgram(form, unit);
    CommDBPointFacade::ReleaseInstance();
    return 0;
}
