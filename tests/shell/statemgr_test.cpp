#include "statemgr.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QToolButton>
#include <QWidget>

namespace {

// A page frame with its own read-only switch.
class SwitchFrame : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    bool readOnly = false;
    bool editing = false;
public slots:
    void SetReadOnly(bool value) { readOnly = value; }
    void EnableEditing(bool value) { editing = value; }
};

const char* const kButtons[] = {"tbtnWrite",       "tbtnPoll", "tbtnSync", "tbtnAcknowledge", "tbtnBypass",
                                "tbtnTapeAdvance", "tbtnOpen", "tbtnSave", "tbtnSaveAs"};

class StateMgrTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StateMgr::ReleaseInstance();
        for (const char* name : kButtons) {
            auto* b = new QToolButton(&window);
            b->setObjectName(name);
        }
        writeConfig = new QAction(&window);
        writeConfig->setObjectName("WriteConfig");
        for (const char* name : {"fraArchiveViewer", "fraAnalyzerStreams", "fraModbus", "frSequencer", "fraIO"}) {
            auto* f = new SwitchFrame(&window);
            f->setObjectName(name);
        }
        sm = StateMgr::Instance();
        sm->SetRoot(&window);
    }
    void TearDown() override { StateMgr::ReleaseInstance(); }

    // The enabled state of the ten buttons in table order, as E/D.
    std::string buttons() const
    {
        std::string out;
        for (const char* name : {"tbtnWrite", "WriteConfig", "tbtnPoll", "tbtnSync", "tbtnAcknowledge", "tbtnBypass",
                                 "tbtnTapeAdvance", "tbtnOpen", "tbtnSave", "tbtnSaveAs"})
            out += window.findChild<QObject*>(name)->property("enabled").toBool() ? 'E' : 'D';
        return out;
    }
    void setAll(bool enabled)
    {
        for (auto* o : window.findChildren<QObject*>())
            o->setProperty("enabled", enabled);
    }
    SwitchFrame* frame(const char* name) { return window.findChild<SwitchFrame*>(name); }

    QWidget window;
    QAction* writeConfig = nullptr;
    StateMgr* sm = nullptr;
};

}  // namespace

TEST_F(StateMgrTest, ModeOperationsNeedALogon)
{
    setAll(true);
    sm->SetReadOnly();
    sm->SetBusy();
    EXPECT_EQ(buttons(), "EEEEEEEEEE");
    sm->DisableFileButtons();
    EXPECT_EQ(buttons(), "EEEEEEEDDD");
}

TEST_F(StateMgrTest, ButtonTable)
{
    struct Step {
        std::function<void()> op;
        bool startEnabled;
        const char* expected;
    };
    const Step steps[] = {
        {[&] { sm->SetLogOff(); }, true, "DDDDDDDEDD"},
        {[&] { sm->SetLogOn(); }, false, "DDEDDDDEEE"},
        {[&] { sm->SetReadOnly(); }, true, "DDEDDDDEEE"},
        {[&] { sm->SetUpdateMode(); }, false, "EEDEEEEDDD"},
        {[&] { sm->SetBusy(); }, true, "DDEDEEEDDD"},
        {[&] {
             sm->SetReadOnly();
             sm->SetIdle();
         },
         true, "DDEDDDDDDD"},
        {[&] {
             sm->SetUpdateMode();
             sm->SetIdle();
         },
         false, "EEEEEEEEEE"},
    };
    sm->SetLogOn();
    for (const auto& step : steps) {
        setAll(step.startEnabled);
        step.op();
        EXPECT_EQ(buttons(), step.expected) << step.expected;
    }
}

TEST_F(StateMgrTest, AButtonMadeAgainOrAnotherWindowIsStillSwitched)
{
    sm->SetLogOn();
    sm->SetBusy();
    EXPECT_EQ(buttons().substr(0, 1), "D");
    // The buttons found for the busy state are kept; one that is made again is found again.
    delete window.findChild<QObject*>("tbtnWrite");
    auto* again = new QToolButton(&window);
    again->setObjectName("tbtnWrite");
    again->setEnabled(false);
    sm->SetUpdateMode();
    sm->SetIdle();
    EXPECT_TRUE(again->isEnabled());

    QWidget other;
    auto* write = new QToolButton(&other);
    write->setObjectName("tbtnWrite");
    sm->SetRoot(&other);
    sm->SetBusy();
    EXPECT_FALSE(write->isEnabled());
    EXPECT_TRUE(again->isEnabled()) << "the first window is left alone";
}

TEST_F(StateMgrTest, FramesFollowTheMode)
{
    sm->SetLogOn();
    sm->SetUpdateMode();
    EXPECT_TRUE(frame("fraIO")->isEnabled());
    EXPECT_TRUE(frame("fraAnalyzerStreams")->editing);
    sm->SetReadOnly();
    EXPECT_TRUE(frame("fraArchiveViewer")->isEnabled());
    EXPECT_TRUE(frame("fraArchiveViewer")->readOnly);
    EXPECT_TRUE(frame("fraAnalyzerStreams")->isEnabled());
    EXPECT_FALSE(frame("fraAnalyzerStreams")->editing);
    EXPECT_TRUE(frame("fraModbus")->isEnabled());
    EXPECT_TRUE(frame("fraModbus")->readOnly);
    EXPECT_FALSE(frame("frSequencer")->isEnabled());
    EXPECT_TRUE(frame("frSequencer")->readOnly);
    EXPECT_FALSE(frame("fraIO")->isEnabled());
}

#include "statemgr_test.moc"
