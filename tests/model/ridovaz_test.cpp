#include "ridovaz.h"
#include "dialogservice.h"
#include "statemgr.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <map>
#include <set>

namespace {

const char kWarning[] =
    "Unknow version of database was found!\n"
    "The data may not display correctly and Firmware should be upgraded!\n"
    "The GUI will automatically switch into Read Only mode.";

class RidovazTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::dialogs().clear();
        RidovazManager::ReleaseInstance();
        StateMgr::ReleaseInstance();
    }
    void TearDown() override
    {
        RidovazManager::ReleaseInstance();
        StateMgr::ReleaseInstance();
    }
};

}  // namespace

TEST_F(RidovazTest, TableInvariants)
{
    Ridovaz17041417 map;
    ASSERT_EQ(map.GetCount(), 1357);
    std::set<std::uint16_t> ids;
    std::set<std::string> names;
    std::map<int, int> types, usages;
    int writable = 0;
    for (int i = 0; i < map.GetCount(); ++i) {
        const auto idx = static_cast<std::uint16_t>(i);
        ids.insert(map.GetPointId(idx));
        names.insert(map.GetName(idx));
        ++types[map.GetTypeCode(idx)];
        ++usages[map.GetUsageFlags(idx)];
        writable += map.IsWritable(idx);
        EXPECT_EQ(map.GetUsageFlags(idx) & 0xE0, 0) << i;
    }
    EXPECT_EQ(ids.size(), 1357u);
    EXPECT_EQ(names.size(), 1357u);
    EXPECT_EQ(writable, 1073);
    const std::map<int, int> expectedTypes{{0, 329}, {1, 6},    {2, 146}, {3, 209}, {8, 296}, {9, 14},
                                           {10, 6},  {11, 88},  {12, 30}, {13, 72}, {15, 4},  {19, 1},
                                           {20, 1},  {21, 121}, {22, 9},  {24, 24}, {25, 1}};
    EXPECT_EQ(types, expectedTypes);
    const std::map<int, int> expectedUsage{{0, 34}, {2, 56}, {3, 143}, {4, 953}, {9, 1}, {11, 92}, {15, 24}, {16, 54}};
    EXPECT_EQ(usages, expectedUsage);

    EXPECT_EQ(map.GetName(0), "Ridovaz Version");
    EXPECT_EQ(map.GetPointId(0), 500);
    EXPECT_EQ(map.GetName(1356), "Diagnostics");
    EXPECT_EQ(map.GetPointId(1356), 65535);
    EXPECT_EQ(map.GetName(25), "Alarm: High Tempurature: Enable");
    EXPECT_EQ(map.GetVersion(), "17041417");
}

TEST_F(RidovazTest, SpareByteOnTheEightEntries)
{
    Ridovaz17041417 map;
    std::set<std::string> spare;
    for (int i = 0; i < map.GetCount(); ++i)
        if (map.GetSpare(static_cast<std::uint16_t>(i)) != 0) {
            EXPECT_EQ(map.GetSpare(static_cast<std::uint16_t>(i)), 2);
            spare.insert(map.GetName(static_cast<std::uint16_t>(i)));
        }
    const std::set<std::string> expected{"MODBUS Address",
                                         "MODBUS Endian Swap",
                                         "MODBUS Register Swap",
                                         "Current Alarm Stat",
                                         "Digital Output Positions (BITS)",
                                         "Time (proprietary)",
                                         "Date",
                                         "Day Of Week (1 - 7)"};
    EXPECT_EQ(spare, expected);
}

TEST_F(RidovazTest, TypeNamesAndWidths)
{
    struct Case {
        int code;
        const char* name;
        int width;
    };
    const Case cases[] = {
        {0, "float", 4},
        {1, "unsigned long", 4},
        {2, "unsigned short", 2},
        {3, "unsigned char", 1},
        {4, "unsigned long", 4},
        {5, "unsigned short", 2},
        {6, "unsigned char", 1},
        {7, "unsigned char", 1},
        {8, "boolean", 1},
        {12, "boolean", 1},
        {13, "text", 0},
        {14, "Acceleration ", 0},
        {15, "Acceleration ", 0},
        {18, "Acceleration ", 0},
        {19, "unsigned long", 4},
        {20, "unsigned long", 4},
        {21, "unsigned short", 2},
        {22, "unsigned long", 4},
        {23, "Acceleration ", 0},
        {24, "unsigned char", 1},
        {25, "unsigned char", 1},
        {26, "Acceleration ", 0},
        {127, "Acceleration ", 0},
        {-1, "Acceleration ", 0},
        {-128, "Acceleration ", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ridovaz::typeName(c.code), c.name) << c.code;
        EXPECT_EQ(ridovaz::valueSize(c.code), c.width) << c.code;
    }
    // Through the map: entry 0 is an unsigned long, entry 2 ("Unit ID") text.
    Ridovaz17041417 map;
    EXPECT_EQ(map.GetTypeName(0), "unsigned long");
    EXPECT_EQ(map.GetValueSize(0), 4);
    EXPECT_EQ(map.GetTypeName(2), "text");
    EXPECT_EQ(map.GetValueSize(2), 0);
}

TEST_F(RidovazTest, UnitNamesAndGroups)
{
    EXPECT_EQ(ridovaz::unitNameForPointId(9), "bits");
    EXPECT_EQ(ridovaz::unitNameForPointId(308), "unknown");
    EXPECT_EQ(ridovaz::unitNameForPointId(26), "seconds");
    EXPECT_EQ(ridovaz::unitNameForPointId(153), "days");
    EXPECT_EQ(ridovaz::unitNameForPointId(154), "hours");
    EXPECT_EQ(ridovaz::unitNameForPointId(321), "bps");
    Ridovaz17041417 map;
    EXPECT_EQ(map.GetUnitName(8), "seconds");  // "Purge Time", id 10

    EXPECT_EQ(ridovaz::pointGroupCount(), 28);
    const auto* g = ridovaz::findPointGroup(0x71);
    ASSERT_NE(g, nullptr);
    EXPECT_STREQ(g->majorName, "Non-Persistant Factory Settings (Direct Control)");
    EXPECT_EQ(g->flag3, 0);
    EXPECT_EQ(ridovaz::findPointGroup(0x22), nullptr);
    EXPECT_EQ(ridovaz::findPointGroup(0xA0)->watch, 1);

    // Every group-0x71 entry carries the direct-control flag.
    int directControl = 0;
    for (int i = 0; i < map.GetCount(); ++i)
        if (map.GetGroup(static_cast<std::uint16_t>(i)) == 0x71) {
            ++directControl;
            EXPECT_TRUE(map.GetUsageFlags(static_cast<std::uint16_t>(i)) & ridovaz::kUseDirectControl);
        }
    EXPECT_EQ(directControl, 41);
}

TEST_F(RidovazTest, StartupSelectionAllowsUpdateSilently)
{
    auto* manager = RidovazManager::Instance();
    EXPECT_EQ(manager->GetMap(), nullptr);
    manager->SelectMap(std::to_string(17041417));
    ASSERT_NE(manager->GetMap(), nullptr);
    EXPECT_EQ(StateMgr::Instance()->IsUpdateAllowed(), 1);
    EXPECT_TRUE(testenv::dialogs().shown().empty());
    EXPECT_FALSE(manager->FindIndex(65535).has_value());
    EXPECT_FALSE(manager->FindIndex(500).has_value());
}

TEST_F(RidovazTest, ReselectionChecksTheUnitsVersion)
{
    auto* manager = RidovazManager::Instance();
    manager->SelectMap("17041417");

    manager->ReselectMap("17041417");
    EXPECT_EQ(StateMgr::Instance()->IsUpdateAllowed(), 1);
    EXPECT_TRUE(testenv::dialogs().shown().empty());
    EXPECT_EQ(manager->FindIndex(65535), 1356);
    EXPECT_EQ(manager->FindIndex(500), 0);
    EXPECT_EQ(manager->FindIndex(0), 2);
    EXPECT_FALSE(manager->FindIndex(9999).has_value());

    for (const char* other : {"17041418", ""}) {
        testenv::dialogs().clear();
        manager->ReselectMap(other);
        EXPECT_EQ(StateMgr::Instance()->IsUpdateAllowed(), 0) << other;
        ASSERT_EQ(testenv::dialogs().shown().size(), 1u) << other;
        EXPECT_EQ(testenv::dialogs().shown()[0].text, kWarning);
        EXPECT_EQ(testenv::dialogs().shown()[0].buttons, QMessageBox::Ok);
        // Same entries whatever the version.
        EXPECT_EQ(manager->FindIndex(65535), 1356);
        EXPECT_EQ(manager->GetReselectedMap()->GetCount(), 1357);
    }

    testenv::dialogs().clear();
    manager->ReselectMap("17041417");
    EXPECT_EQ(StateMgr::Instance()->IsUpdateAllowed(), 1);
    EXPECT_TRUE(testenv::dialogs().shown().empty());
}

// pointids.h is generated from the map's table: each constant must still name its point.
TEST(PointIds, TheGeneratedHeaderMatchesTheRegisterMap)
{
    Ridovaz17041417 map;
    std::map<int, std::string> names;
    for (int i = 0; i < map.GetCount(); ++i)
        names[map.GetPointId(static_cast<std::uint16_t>(i))] = map.GetName(static_cast<std::uint16_t>(i));

    QFile header(QStringLiteral(KVT_SOURCE_DIR "/model/pointids.h"));
    ASSERT_TRUE(header.open(QIODevice::ReadOnly));
    const QRegularExpression line(R"re(constexpr std::uint16_t \w+ = (\d+);\s+// "(.*)"$)re");
    std::set<int> seen;
    for (const QByteArray& raw : header.readAll().split('\n')) {
        const QRegularExpressionMatch m = line.match(QString::fromLatin1(raw));
        if (!m.hasMatch())
            continue;
        const int id = m.captured(1).toInt();
        ASSERT_TRUE(names.count(id)) << id;
        EXPECT_EQ(m.captured(2).toStdString(), names[id]) << "run scripts/gen-pointids";
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), names.size()) << "run scripts/gen-pointids";
}
