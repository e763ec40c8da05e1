#include "broadcast.h"
#include "controlgroup.h"
#include "winmsg.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kMsg = winmsg::WM_REGISTER_DATABASE;

// Records every delivery of the test message; answers with its own result when asked to.
class Receiver : public QWidget {
public:
    Receiver(const char* name, QWidget* parent, std::vector<std::string>& log, std::intptr_t answer = 0)
            : QWidget(parent), log_(log), answer_(answer)
    {
        setObjectName(name);
    }
    std::function<void()> onMessage;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != static_cast<QEvent::Type>(kMsg))
            return QWidget::event(e);
        log_.push_back(objectName().toStdString());
        auto* m = static_cast<WinMessageEvent*>(e);
        if (answer_)
            m->result = answer_;
        if (onMessage)
            onMessage();
        return true;
    }

private:
    std::vector<std::string>& log_;
    std::intptr_t answer_;
};

using Log = std::vector<std::string>;

// root
//   a
//     a1
//     a2
//   b
//     b1
//   c
struct Tree {
    Log log;
    std::unique_ptr<Receiver> root{new Receiver("root", nullptr, log)};
    Receiver* a = new Receiver("a", root.get(), log);
    Receiver* a1 = new Receiver("a1", a, log);
    Receiver* a2 = new Receiver("a2", a, log);
    Receiver* b = new Receiver("b", root.get(), log);
    Receiver* b1 = new Receiver("b1", b, log);
    Receiver* c = new Receiver("c", root.get(), log);
};

}  // namespace

TEST(Broadcast, DepthFirstInCreationOrder)
{
    Tree t;
    WinMessageEvent m(kMsg, 7, 9);
    broadcast::send(t.root.get(), &m, false, false);
    EXPECT_EQ(t.log, (Log{"root", "a", "a1", "a2", "b", "b1", "c"}));
    EXPECT_EQ(m.wParam, 7);
    EXPECT_EQ(m.lParam, 9);
}

TEST(Broadcast, SkipRootNeverDeliversToTheRoot)
{
    Tree t;
    WinMessageEvent m(kMsg);
    broadcast::send(t.root.get(), &m, true, true);
    EXPECT_EQ(t.log, (Log{"a", "a1", "a2", "b", "b1", "c"}));
    t.log.clear();
    broadcast::send(t.a, &m, true, false);
    EXPECT_EQ(t.log, (Log{"a1", "a2"}));
}

TEST(Broadcast, StopWhenHandledEndsAtTheFirstNonZeroResult)
{
    struct Case {
        const char* answering;
        Log expected;
    };
    const Case cases[] = {
        {"root", {"root"}},
        {"a", {"root", "a"}},  // neither a's children nor its siblings
        {"a1", {"root", "a", "a1"}},
        {"a2", {"root", "a", "a1", "a2"}},
        {"b1", {"root", "a", "a1", "a2", "b", "b1"}},
    };
    for (const auto& c : cases) {
        Log log;
        Receiver root("root", nullptr, log);
        auto* a = new Receiver("a", &root, log, std::string(c.answering) == "a");
        new Receiver("a1", a, log, std::string(c.answering) == "a1");
        new Receiver("a2", a, log, std::string(c.answering) == "a2");
        auto* b = new Receiver("b", &root, log);
        new Receiver("b1", b, log, std::string(c.answering) == "b1");
        new Receiver("c", &root, log);
        if (std::string(c.answering) == "root") {
            // The root answers through an event filter here: filters see the message too.
            struct Answer : QObject {
                bool eventFilter(QObject*, QEvent* e) override
                {
                    if (e->type() == static_cast<QEvent::Type>(kMsg))
                        static_cast<WinMessageEvent*>(e)->result = 1;
                    return false;
                }
            } answer;
            root.installEventFilter(&answer);
            WinMessageEvent m(kMsg);
            broadcast::send(&root, &m, false, true);
            root.removeEventFilter(&answer);
            EXPECT_EQ(log, c.expected) << c.answering;
            continue;
        }
        WinMessageEvent m(kMsg);
        broadcast::send(&root, &m, false, true);
        EXPECT_EQ(log, c.expected) << c.answering;
        EXPECT_EQ(m.result, 1);
    }
}

TEST(Broadcast, WithoutStopEveryoneSeesTheResultItIsNeverReset)
{
    std::vector<std::intptr_t> seen;
    Log log;
    Receiver root("root", nullptr, log);
    auto* answering = new Receiver("x", &root, log, 5);
    auto* after = new Receiver("y", &root, log);
    (void)answering;
    WinMessageEvent m(kMsg);
    after->onMessage = [&] { seen.push_back(m.result); };
    broadcast::send(&root, &m, false, false);
    EXPECT_EQ(log, (Log{"root", "x", "y"}));
    EXPECT_EQ(seen, (std::vector<std::intptr_t>{5}));
    EXPECT_EQ(m.result, 5);

    // A result left from before stops a stop-when-handled walk after the root.
    log.clear();
    broadcast::send(&root, &m, false, true);
    EXPECT_EQ(log, (Log{"root"}));
}

TEST(Broadcast, LeafControlReceivesAloneAndOnlyControlsAreVisited)
{
    Log log;
    Receiver root("root", nullptr, log);
    auto* leaf = new Receiver("leaf", &root, log);
    new QTimer(&root);                  // an owned component, not a control
    auto* dialog = new QDialog(&root);  // a separate window of its own
    new Receiver("inDialog", dialog, log);
    new Receiver("last", &root, log);

    WinMessageEvent m(kMsg);
    broadcast::send(leaf, &m, false, false);
    EXPECT_EQ(log, (Log{"leaf"}));
    log.clear();
    broadcast::send(&root, &m, false, false);
    EXPECT_EQ(log, (Log{"root", "leaf", "last"}));
}

TEST(Broadcast, NullRootOrMessageDoesNothing)
{
    Tree t;
    WinMessageEvent m(kMsg);
    broadcast::send(nullptr, &m, false, false);
    broadcast::send(t.root.get(), nullptr, false, false);
    EXPECT_TRUE(t.log.empty());
}

TEST(Broadcast, ReceiversMayChangeTheTreeDuringTheWalk)
{
    Tree t;
    // a deletes its first child before the walk reaches it, c adds one.
    t.a->onMessage = [&] { delete t.a1; };
    t.c->onMessage = [&] { new Receiver("c1", t.c, t.log); };
    WinMessageEvent m(kMsg);
    broadcast::send(t.root.get(), &m, false, false);
    EXPECT_EQ(t.log, (Log{"root", "a", "a2", "b", "b1", "c", "c1"}));

    Log log;
    auto* root = new Receiver("root", nullptr, log);
    auto* doomed = new Receiver("doomed", root, log);
    new Receiver("doomedChild", doomed, log);
    new Receiver("after", root, log);
    // A receiver that deletes itself: nothing below it, and its next sibling is not skipped.
    doomed->onMessage = [&] { delete doomed; };
    WinMessageEvent m2(kMsg);
    broadcast::send(root, &m2, false, false);
    EXPECT_EQ(log, (Log{"root", "doomed", "after"}));
    delete root;
}

TEST(ControlGroup, OneLevelOnlyAndTheCaptionColour)
{
    QWidget window;
    auto* box = new QGroupBox("Port Setup", &window);
    auto* edit = new QLineEdit(box);
    auto* panel = new QWidget(box);
    auto* inner = new QLabel("inner", panel);
    auto* outside = new QLineEdit(&window);

    controlgroup::disableGroup(box);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(box->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_TRUE(edit->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_TRUE(panel->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_FALSE(inner->testAttribute(Qt::WA_ForceDisabled));  // the panel's own children keep their state
    EXPECT_TRUE(outside->isEnabled());
    const QPalette system = QApplication::palette(box);
    EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::WindowText),
              system.color(QPalette::Disabled, QPalette::WindowText));

    controlgroup::enableGroup(box);
    EXPECT_TRUE(box->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(panel->isEnabled());
    EXPECT_TRUE(inner->isEnabled());
    EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::WindowText),
              system.color(QPalette::Active, QPalette::WindowText));

    // A grandchild disabled on its own stays disabled when the group is enabled.
    inner->setEnabled(false);
    controlgroup::disableGroup(box);
    controlgroup::enableGroup(box);
    EXPECT_FALSE(inner->isEnabled());

    // A plain control: only itself; null: nothing.
    controlgroup::disableGroup(outside);
    EXPECT_FALSE(outside->isEnabled());
    controlgroup::enableGroup(nullptr);
}
