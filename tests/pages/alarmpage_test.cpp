// The Alarms page alone against the point database: its list, its lights and its stream panels.
#include "alarmpage.h"
#include "alarmbindings.h"
#include "dbdisplays.h"
#include "lamps.h"
#include "pagealone.h"

#include <QFrame>
#include <QImage>

namespace {

class AlarmPageTest : public PageAlone<TfrmAlarm> {
protected:
    static bool shows(const QLabel* light, const QPixmap& picture)
    {
        return light->pixmap().toImage() == picture.toImage();
    }
    std::vector<bool> panelsShown() const
    {
        std::vector<bool> shown;
        for (int i = 0; i < 4; ++i)
            shown.push_back(!page->StreamPanel(i)->isHidden());
        return shown;
    }
};

}  // namespace

TEST_F(AlarmPageTest, EnteringListsTheEightySevenPointsInThePollsOrder)
{
    page->RegisterPoints();
    const std::vector<int> expected = {
        20,   407,  347,  532,  348,  469,  346,  473,  518,  519,  152,  539,  602,  349,  350,  504,  1096, 1097,
        1095, 352,  353,  355,  1415, 356,  1416, 358,  359,  361,  362,  505,  1099, 1100, 1098, 364,  365,  367,
        1417, 368,  1418, 370,  371,  1102, 1103, 1101, 1105, 1106, 1104, 1107, 1108, 1109, 1419, 1110, 1420, 1111,
        1112, 1114, 1115, 1113, 1117, 1118, 1116, 1119, 1120, 1121, 1421, 1122, 1422, 1123, 1124, 1438, 1437, 1467,
        1468, 1469, 1470, 1471, 1472, 1473, 1474, 1680, 1681, 1682, 1683, 1684, 1685, 1686, 1687};
    EXPECT_EQ(db->expressScan.MainList(), expected);
    EXPECT_TRUE(db->expressScan.AlternateList().empty());
    EXPECT_EQ(db->expressScan.GetPage(), 11);
    EXPECT_FALSE(db->expressScan.ShowsWaitOnRead());
    EXPECT_FALSE(page->FirstEntry());

    // Every light shows the point its name says: the names come from the map.
    const struct {
        const char* light;
        const char* pointName;
    } named[] = {
        {"SystemAlarm", "Alarm State: System"},
        {"SensorCommAlarm", "Alarm State: Sensor Communication"},
        {"DCPowerAlarm", "Alarm State: DC Power"},
        {"imS1ND", "Stream 1: H2S: Deviation"},
        {"imS3R2A", "Stream 3: Reference 2: High Alarm"},
        {"imS4TP", "Stream 4: Total Sulphur: High High Alarm"},
        {"imgLockT2", "Stream 2: Total Sulphur: Lock Alarm"},
        {"imDIOLL3", "Alarm State: Analog Input #3: Less Than"},
    };
    for (const auto& n : named) {
        auto* light = page->findChild<TQImage*>(n.light);
        ASSERT_NE(light, nullptr) << n.light;
        EXPECT_EQ(db->GetPointName(light->DbId()), n.pointName) << n.light;
    }
    EXPECT_EQ(page->findChildren<TQImage*>().size(), 14u + 4u * 16u + 8u);
}

TEST_F(AlarmPageTest, LightsAreRedWhileTheirAlarmIsTrueAndGreenOtherwise)
{
    auto* light = page->findChild<TQImage*>("imS2CA");
    auto* system = page->findChild<TQImage*>("SystemAlarm");
    // Nothing read yet: neither claims the unit is well.
    EXPECT_TRUE(shows(light, lamps::alarm(lamps::AlarmGrey)));
    EXPECT_TRUE(shows(system, lamps::system(lamps::SystemBlueGrey)));

    announce(light->DbId(), "True");
    announce(system->DbId(), "True");
    EXPECT_TRUE(shows(light, lamps::alarm(lamps::AlarmRed)));
    EXPECT_TRUE(shows(system, lamps::system(lamps::SystemRed)));

    announce(light->DbId(), "False");
    announce(system->DbId(), "False");
    EXPECT_TRUE(shows(light, lamps::alarm(lamps::AlarmGreen)));
    EXPECT_TRUE(shows(system, lamps::system(lamps::SystemGreen)));
    EXPECT_TRUE(host.writes.empty()) << "the page writes nothing";
}

TEST_F(AlarmPageTest, TheStreamCountShowsPanelsAndTheStreamDisplay)
{
    const struct {
        const char* value;
        std::vector<bool> panels;
        const char* display;
    } cases[] = {
        {"1", {true, true, false, false}, "2-STREAMS"},
        {"0", {true, false, false, false}, "1-STREAM"},
        {"3", {true, true, true, true}, "4-STREAMS"},
        {"2", {true, true, true, false}, "3-STREAMS"},
        // Outside 0..3: both keep what they showed.
        {"5", {true, true, true, false}, "3-STREAMS"},
        {"-1", {true, true, true, false}, "3-STREAMS"},
    };
    for (const auto& c : cases) {
        announce(20, c.value);
        EXPECT_EQ(panelsShown(), c.panels) << c.value;
        EXPECT_EQ(host.streamDisplay, c.display) << c.value;
    }
    // The head keeps its caption, the hidden counter its own.
    EXPECT_EQ(page->findChild<QLabel*>("lblStream4")->text(), "Stream 4");
    EXPECT_EQ(page->findChild<QLabel*>("QLabel71")->text(), "Stream 2");
}
