// Timing of a window-message broadcast over a 5,000-control tree, the size of the main window
// with all its pages: directly through the shared routine and through libPanekit.so's
// DoMyBroadcast, as the main window calls it. Goal: under 5 ms per broadcast.
#include "broadcast.h"
#include "panekit_api.h"
#include "winmsg.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

namespace {

constexpr int kMsg = winmsg::WM_REGISTER_DATABASE;
constexpr int kRuns = 200;

// A control that takes part in the broadcasts, as the data-aware controls do.
class Receiver : public QLabel {
public:
    using QLabel::QLabel;
    static inline long delivered = 0;
    bool answer = false;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != static_cast<QEvent::Type>(kMsg))
            return QLabel::event(e);
        ++delivered;
        if (answer)
            static_cast<WinMessageEvent*>(e)->result = 1;
        return true;
    }
};

int countControls(QWidget* w)
{
    int n = 1;
    for (QObject* c : w->children())
        if (c->isWidgetType())
            n += countControls(static_cast<QWidget*>(c));
    return n;
}

// 16 pages, each with 14 group boxes of 6 edits, 6 check boxes and 9 receiving labels, and loose
// receiving labels on the root up to 5,000 controls in all.
Receiver* buildTree(QWidget& root)
{
    Receiver* last = nullptr;
    int made = 1;
    for (int page = 0; page < 16; ++page) {
        auto* frame = new QWidget(&root);
        ++made;
        for (int box = 0; box < 14; ++box) {
            auto* group = new QGroupBox(frame);
            ++made;
            for (int i = 0; i < 6; ++i, made += 2) {
                new QLineEdit(group);
                new QCheckBox(group);
            }
            for (int i = 0; i < 9; ++i, ++made)
                last = new Receiver(group);
        }
    }
    while (made < 5000) {
        last = new Receiver(&root);
        ++made;
    }
    return last;
}

struct Figures {
    double min, median, mean, max;
};

Figures time(const std::function<void()>& run)
{
    for (int i = 0; i < 5; ++i)
        run();
    std::vector<double> ms;
    ms.reserve(kRuns);
    QElapsedTimer timer;
    for (int i = 0; i < kRuns; ++i) {
        timer.start();
        run();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2], std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size()),
            ms.back()};
}

void report(const char* what, const Figures& f)
{
    std::printf("%-58s min %.3f  median %.3f  mean %.3f  max %.3f ms  %s\n", what, f.min, f.median, f.mean, f.max,
                f.median < 5.0 ? "(goal < 5 ms met)" : "(goal < 5 ms MISSED)");
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QWidget root;
    Receiver* last = buildTree(root);
    std::printf("controls in the tree: %d, runs per figure: %d\n", countControls(&root), kRuns);

    report("shared routine, every control", time([&] {
               WinMessageEvent m(kMsg);
               broadcast::send(&root, &m, false, false);
           }));
    last->answer = true;
    report("shared routine, stop when handled (last control answers)", time([&] {
               WinMessageEvent m(kMsg);
               broadcast::send(&root, &m, false, true);
           }));
    last->answer = false;

    // Loaded the way the program loads it: by absolute path from the program's folder.
    QLibrary panekit(QCoreApplication::applicationDirPath() + "/libPanekit.so");
    const auto doMyBroadcast = reinterpret_cast<PanekitDoMyBroadcastFn>(panekit.resolve("DoMyBroadcast"));
    if (!doMyBroadcast) {
        std::printf("libPanekit.so: %s\n", qPrintable(panekit.errorString()));
        return 1;
    }
    Receiver::delivered = 0;
    report("libPanekit.so DoMyBroadcast, every control", time([&] {
               WinMessageEvent m(kMsg);
               doMyBroadcast(&root, &m, false, false);
           }));
    std::printf("messages handled per broadcast by receiving controls: %ld\n", Receiver::delivered / (kRuns + 5));
    return 0;
}
