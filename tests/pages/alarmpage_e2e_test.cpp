// The Alarms tab in the main window, logged on to the emulated unit: its panels follow the unit's
// stream count, its lights the unit's alarm states, and its points are polled only while shown.
#include "pagefixture.h"

#include "alarmpage.h"
#include "dbdisplays.h"
#include "lamps.h"

#include <QLabel>
#include <QTest>

namespace {

constexpr int kAlarmsTab = 2;
constexpr int kGlobalTab = 5;
constexpr int kMultiRead = 0x32;

class AlarmsTab : public PageWithUnit {
protected:
    TfrmAlarm* page() const { return qobject_cast<TfrmAlarm*>(form->Frame(kAlarmsTab)); }
    bool red(const char* light) const
    {
        return page()->findChild<QLabel*>(light)->pixmap().toImage() == lamps::alarm(lamps::AlarmRed).toImage();
    }
};

}  // namespace

TEST_F(AlarmsTab, ShowsTheUnitsStreamsAndAlarmsAndPollsThemOnlyWhileShown)
{
    ASSERT_TRUE(unit->setValue(20, 2));       // three streams
    ASSERT_TRUE(unit->setValue(1102, true));  // stream 3 H2S deviation
    logOn();
    unit->clearReceived();

    enterTab(kAlarmsTab);
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(DataBase::Instance()->expressScan.MainList().size(), 87u);
    EXPECT_GE(unit->receivedCount(kMultiRead), 1) << "entering reads the page's points";
    EXPECT_TRUE(!page()->StreamPanel(2)->isHidden() && page()->StreamPanel(3)->isHidden());
    EXPECT_EQ(form->StreamDisp()->text(), "3-STREAMS");
    EXPECT_TRUE(red("imS3ND"));
    EXPECT_FALSE(red("imS3NA"));

    // While shown, the poll brings the unit's changes.
    ASSERT_TRUE(poll()->Timer().isActive());
    EXPECT_EQ(poll()->Timer().interval(), 2000);
    poll()->Timer().setInterval(50);
    ASSERT_TRUE(unit->setValue(1102, false));
    ASSERT_TRUE(unit->setValue(1437, true));  // AC power
    EXPECT_TRUE(waitFor([&] { return red("ACPowerAlarm") && !red("imS3ND"); }));

    // Leaving the tab stops the poll.
    enterTab(kGlobalTab);
    EXPECT_TRUE(waitFor([&] { return !poll()->Timer().isActive(); }));
    unit->clearReceived();
    QTest::qWait(300);
    EXPECT_EQ(unit->receivedCount(kMultiRead), 0);
}

TEST_F(AlarmsTab, EnteredLoggedOffListsThePointsButReadsNothing)
{
    unit->clearReceived();
    enterTab(kAlarmsTab);
    EXPECT_EQ(DataBase::Instance()->expressScan.MainList().size(), 87u);
    EXPECT_EQ(DataBase::Instance()->expressScan.GetPage(), 11);
    QTest::qWait(100);
    EXPECT_TRUE(unit->received().empty());
    EXPECT_FALSE(poll()->Timer().isActive());
}
