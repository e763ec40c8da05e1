#include "statemgr.h"

#include "archiveviewer.h"
#include "database.h"
#include "modbuspage.h"
#include "pagecatalog.h"
#include "sequencerpage.h"
#include "streamframes.h"
#include "streamspage.h"
#include "testenv.h"
#include "testpages.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QToolButton>
#include <QWidget>
#include <map>

namespace {

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

TEST_F(StateMgrTest, EveryPageFollowsTheModeAsItSays)
{
    // How each page follows the mode: D disabled in read-only mode, E enabled in both modes,
    // - left as it is in both.
    const std::map<std::string, char> kReadOnly = {
        {"fraWW", '-'},
        {"frmIOStatus", 'D'},
        {"frmAlarm", '-'},
        {"fraArchiveViewer", 'E'},
        {"fraAnalyzerGlobal", 'D'},
        {"fraAnalyzerStreams", 'E'},
        {"fraIO", 'D'},
        {"frmInput2", 'D'},
        {"fraOutput", 'D'},
        {"fraCommPorts", 'D'},
        {"fraModbus", 'E'},
        {"fraFactory", 'D'},
        {"frAnalogInputs", 'D'},
        {"frmTimer1", '-'},
        {"fraBoardTester", 'D'},
        {"frSequencer", 'D'},
        {"frmAudit", '-'},
    };
    std::vector<TPageFrame*> pages;
    for (const PageMaker& maker : pageCatalog())
        pages.push_back(maker.create(testenv::pageServices(*DataBase::Instance()), &window));
    ASSERT_EQ(pages.size(), kReadOnly.size());
    auto* viewer = window.findChild<TfraArchiveViewer*>();
    auto* modbus = window.findChild<TfraModbus*>();
    auto* sequencer = window.findChild<TfrSequencer*>();
    auto* streamSet = window.findChild<TfraAnalyzerStreams*>()->findChild<TfraAnaSetDefn*>();

    for (const bool before : {true, false}) {
        SCOPED_TRACE(before ? "pages enabled before" : "pages disabled before");
        sm->SetLogOff();
        for (TPageFrame* page : pages)
            page->setEnabled(before);
        sm->SetReadOnly();
        for (TPageFrame* page : pages)
            EXPECT_EQ(page->isEnabled(), before) << "logged off: " << page->objectName().toStdString();

        sm->SetLogOn();
        sm->SetReadOnly();
        for (TPageFrame* page : pages) {
            const char how = kReadOnly.at(page->objectName().toStdString());
            EXPECT_EQ(page->isEnabled(), how == '-' ? before : how == 'E') << page->objectName().toStdString();
        }
        EXPECT_TRUE(viewer->IsReadOnly());
        EXPECT_TRUE(modbus->IsReadOnly());
        EXPECT_TRUE(sequencer->IsReadOnly());
        EXPECT_FALSE(streamSet->isEnabled());

        sm->SetUpdateMode();
        for (TPageFrame* page : pages) {
            const char how = kReadOnly.at(page->objectName().toStdString());
            EXPECT_EQ(page->isEnabled(), how == '-' ? before : true) << page->objectName().toStdString();
        }
        EXPECT_FALSE(viewer->IsReadOnly());
        EXPECT_FALSE(modbus->IsReadOnly());
        EXPECT_FALSE(sequencer->IsReadOnly());
        EXPECT_TRUE(streamSet->isEnabled());
    }
    qDeleteAll(pages);
    DataBase::ReleaseInstance();
}
