// The Modbus page's edits without widgets: drops into each dialect, the pairing of the MODICON
// groups, the 100-entry limit, removal and moves with their register numbers.
#include "modbuscontroller.h"
#include "controlfixture.h"
#include "database.h"
#include "databasepoint.h"
#include "modbuslist.h"

#include <cstring>

using modbuspage::Controller;
using modbuspage::DropResult;
using modbuspage::GroupRef;
using modbuspage::NodeKind;

namespace {

class ModbusControllerTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        for (int i = 0; i < db->GetPointCount() && (points.size() < 120 || !textPoint); ++i) {
            DatabasePoint* p = db->GetPointByIndex(i);
            if (!p)
                continue;
            if (p->GetTypeName() == "text")
                textPoint = textPoint ? textPoint : p;
            else
                points.push_back(p);
        }
        ASSERT_GE(points.size(), 120u);
        ASSERT_NE(textPoint, nullptr);
        list = &db->GetModbusList();
    }

    Controller start(int mode)
    {
        Controller c(*list);
        c.NewList(mode);
        return c;
    }
    // Register numbers of a group's rows, in order.
    static std::vector<int> numbers(const Controller& c, GroupRef g)
    {
        std::vector<int> out;
        for (int i = 0; i < c.Count(g); ++i)
            out.push_back(c.RegisterNumber(g, i));
        return out;
    }
    static std::vector<DatabasePoint*> rows(const Controller& c, GroupRef g)
    {
        std::vector<DatabasePoint*> out;
        for (int i = 0; i < c.Count(g); ++i)
            out.push_back(c.PointAt(g, i));
        return out;
    }

    std::vector<DatabasePoint*> points;
    DatabasePoint* textPoint = nullptr;
    ModbusList* list = nullptr;
};

}  // namespace

TEST_F(ModbusControllerTest, ADropLandsInTheGroupAndItsPairAndTheImageFollows)
{
    struct Case {
        int mode;
        GroupRef target;
        GroupRef pair;  // root -1: none
        int targetNumber;
        int pairNumber;
        std::vector<TMBGProfile> imageClasses;  // in image order
    };
    const Case cases[] = {
        {0, {0, -1}, {-1, -1}, 1001, 0, {0}},        {0, {1, -1}, {-1, -1}, 3001, 0, {1}},
        {0, {2, -1}, {-1, -1}, 5001, 0, {2}},        {0, {3, -1}, {-1, -1}, 7001, 0, {3}},
        {1, {0, -1}, {1, -1}, 1, 10001, {5, 6}},     {1, {2, -1}, {3, -1}, 30001, 40001, {7, 8}},
        {1, {3, -1}, {2, -1}, 40001, 30001, {7, 8}}, {2, {1, -1}, {0, -1}, 10001, 1, {9, 10}},
        {2, {2, 1}, {3, 1}, 30001, 40001, {12, 15}}, {2, {3, 2}, {2, 2}, 40001, 30001, {13, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " root " << c.target.root << " sub " << c.target.sub);
        Controller ctl = start(c.mode);
        ASSERT_EQ(ctl.Drop(c.target, points[0]), DropResult::Added);
        EXPECT_EQ(rows(ctl, c.target), std::vector<DatabasePoint*>{points[0]});
        EXPECT_EQ(numbers(ctl, c.target), std::vector<int>{c.targetNumber});
        if (c.pair.root >= 0) {
            EXPECT_EQ(numbers(ctl, c.pair), std::vector<int>{c.pairNumber});
        }
        const ModmapAdapter& image = *ModmapAdapter::Instance();
        EXPECT_EQ(image.GetMode(), c.mode);
        ASSERT_EQ(image.GetEntryCount(), static_cast<int>(c.imageClasses.size()));
        for (int i = 0; i < image.GetEntryCount(); ++i)
            EXPECT_EQ(image.GetEntryProfile(i), c.imageClasses[static_cast<std::size_t>(i)]);
    }
}

TEST_F(ModbusControllerTest, GroupCaptionsCountTheRowsAndRegisterRootsCountTheirSubgroups)
{
    Controller ctl = start(2);
    ctl.Drop({2, 0}, points[0]);
    ctl.Drop({2, 2}, points[1]);
    EXPECT_EQ(ctl.Caption({2, -1}), "Input Register (2)");
    EXPECT_EQ(ctl.Caption({2, 0}), "Input Register Short (1)");
    EXPECT_EQ(ctl.Caption({3, 2}), "Holding Register Float (1)");
    EXPECT_EQ(ctl.Caption({0, -1}), "Output \"Coils\" Status (0)");
    Controller enron = start(0);
    enron.Drop({0, -1}, points[0]);
    enron.Drop({0, -1}, points[1]);
    enron.Drop({0, -1}, points[2]);
    EXPECT_EQ(enron.Caption({0, -1}), "Coils (3)");
    EXPECT_EQ(enron.Caption({3, -1}), "Floating Point (0)");
}

TEST_F(ModbusControllerTest, Modicon32ShortsPushTheLongsAndFloatsAndRemovingALongPullsTheFloatsBack)
{
    Controller ctl = start(2);
    for (int i = 0; i < 3; ++i)
        ctl.Drop({2, 1}, points[static_cast<std::size_t>(i)]);
    ctl.Drop({2, 2}, points[3]);
    ctl.Drop({2, 0}, points[4]);
    ctl.Drop({2, 0}, points[5]);
    EXPECT_EQ(numbers(ctl, {2, 0}), (std::vector<int>{30001, 30002}));
    EXPECT_EQ(numbers(ctl, {2, 1}), (std::vector<int>{30003, 30005, 30007}));
    EXPECT_EQ(numbers(ctl, {2, 2}), (std::vector<int>{30009}));
    EXPECT_EQ(numbers(ctl, {3, 2}), (std::vector<int>{40009}));

    ASSERT_TRUE(ctl.Remove({2, 1}, 1));
    EXPECT_EQ(rows(ctl, {2, 1}), (std::vector<DatabasePoint*>{points[0], points[2]}));
    EXPECT_EQ(rows(ctl, {3, 1}), (std::vector<DatabasePoint*>{points[0], points[2]}));
    EXPECT_EQ(numbers(ctl, {2, 2}), (std::vector<int>{30007}));
    EXPECT_EQ(numbers(ctl, {3, 2}), (std::vector<int>{40007}));
    EXPECT_EQ(ctl.OffsetAt({2, 1}, 1), 2);
    EXPECT_EQ(ModmapAdapter::Instance()->GetEntryCount(), 10);
}

TEST_F(ModbusControllerTest, TheLimitOfOneHundredEntriesTakesAPairWholeOrNotAtAll)
{
    struct Case {
        int mode;
        GroupRef target;
        int filled;
        DropResult result;
        int countAfter;
    };
    const Case cases[] = {
        {0, {1, -1}, 99, DropResult::Added, 100}, {0, {1, -1}, 100, DropResult::Full, 100},
        {1, {2, -1}, 98, DropResult::Added, 100}, {1, {2, -1}, 99, DropResult::Full, 99},
        {2, {2, 1}, 98, DropResult::Added, 100},  {2, {2, 1}, 99, DropResult::Full, 99},
        {2, {0, -1}, 100, DropResult::Full, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " filled " << c.filled);
        Controller ctl = start(c.mode);
        // Fill with pairs where the mode pairs, one odd entry in the coil group when needed.
        GroupRef fill = {0, -1};
        int filled = 0;
        while (filled + (c.mode == 0 ? 1 : 2) <= c.filled) {
            ASSERT_EQ(ctl.Drop(fill, points[static_cast<std::size_t>(filled % 100)]), DropResult::Added);
            filled += c.mode == 0 ? 1 : 2;
        }
        if (filled < c.filled) {
            ASSERT_GE(list->AddPoint(points[0], c.mode == 1 ? 5 : 9), 0);  // a lone coil, out of step
        }
        ASSERT_EQ(ctl.TotalCount(), c.filled);
        const int targetBefore = ctl.Count(c.target);
        EXPECT_EQ(ctl.Drop(c.target, points[110]), c.result);
        EXPECT_EQ(ctl.TotalCount(), c.countAfter);
        EXPECT_EQ(ctl.Count(c.target), targetBefore + (c.result == DropResult::Added ? 1 : 0));
    }
}

TEST_F(ModbusControllerTest, TextPointsAndPlacesTheModeLacksAreRefused)
{
    Controller ctl = start(2);
    EXPECT_EQ(ctl.Drop({0, -1}, textPoint), DropResult::Refused);
    EXPECT_EQ(ctl.Drop({2, -1}, points[0]), DropResult::Refused);  // a register root holds no rows
    EXPECT_EQ(ctl.Drop({0, 1}, points[0]), DropResult::Refused);
    EXPECT_EQ(ctl.TotalCount(), 0);
}

TEST_F(ModbusControllerTest, RemovalTakesThePairedRowAtTheSamePosition)
{
    Controller ctl = start(1);
    ctl.Drop({1, -1}, points[0]);
    ctl.Drop({1, -1}, points[1]);
    ctl.Drop({1, -1}, points[2]);
    ASSERT_TRUE(ctl.Remove({1, -1}, 0));
    EXPECT_EQ(rows(ctl, {1, -1}), (std::vector<DatabasePoint*>{points[1], points[2]}));
    EXPECT_EQ(rows(ctl, {0, -1}), (std::vector<DatabasePoint*>{points[1], points[2]}));
    EXPECT_EQ(numbers(ctl, {0, -1}), (std::vector<int>{1, 2}));
    EXPECT_FALSE(ctl.Remove({1, -1}, 5));

    // Out of step (as a file may bring it): the selected row still goes.
    ASSERT_GE(list->AddPoint(points[3], 6), 0);
    ASSERT_TRUE(ctl.Remove({1, -1}, 2));
    EXPECT_EQ(ctl.Count({1, -1}), 2);
    EXPECT_EQ(ctl.Count({0, -1}), 2);

    Controller enron = start(0);
    enron.Drop({2, -1}, points[0]);
    enron.Drop({3, -1}, points[1]);
    ASSERT_TRUE(enron.Remove({2, -1}, 0));
    EXPECT_EQ(enron.Count({3, -1}), 1);
    EXPECT_EQ(ModmapAdapter::Instance()->GetEntryCount(), 1);
}

TEST_F(ModbusControllerTest, MovesSwapNeighboursWithTheirPairsAndStopAtTheEnds)
{
    struct Case {
        int position;
        bool up;
        std::optional<int> moved;
        std::vector<int> order;  // indexes into points after the move
    };
    const Case cases[] = {
        {0, true, std::nullopt, {0, 1, 2}}, {1, true, 0, {1, 0, 2}},  {2, true, 1, {0, 2, 1}},
        {0, false, 1, {1, 0, 2}},           {1, false, 2, {0, 2, 1}}, {2, false, std::nullopt, {0, 1, 2}},
    };
    for (int mode : {0, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " position " << c.position << " up " << c.up);
            Controller ctl = start(mode);
            const GroupRef g = mode == 0 ? GroupRef{2, -1} : GroupRef{3, 1};
            for (int i = 0; i < 3; ++i)
                ctl.Drop(g, points[static_cast<std::size_t>(i)]);
            EXPECT_EQ(ctl.Move(g, c.position, c.up), c.moved);
            std::vector<DatabasePoint*> expected;
            for (int i : c.order)
                expected.push_back(points[static_cast<std::size_t>(i)]);
            EXPECT_EQ(rows(ctl, g), expected);
            if (mode == 2) {
                EXPECT_EQ(rows(ctl, {2, 1}), expected);
                EXPECT_EQ(numbers(ctl, g), (std::vector<int>{40001, 40003, 40005}));
                EXPECT_EQ(ctl.OffsetAt(g, 2), 4);
            }
            // The image follows the new order.
            const ModmapAdapter& image = *ModmapAdapter::Instance();
            const std::uint16_t lastId = image.GetEntry(image.GetEntryCount() - 1).UNIQUEID;  // packed: copied
            EXPECT_EQ(lastId, expected.back()->GetId());
        }
    }
}

TEST_F(ModbusControllerTest, DropRuleFollowsTheNodeUnderTheMouse)
{
    struct Case {
        int mode;
        NodeKind node;
        GroupRef group;
        bool hasEntries;
        const char* type;
        bool accepted;
    };
    const Case cases[] = {
        {0, NodeKind::Group, {0, -1}, false, "byte", true},   // an empty group itself
        {0, NodeKind::Group, {0, -1}, true, "byte", false},   // a group with rows: drop on a row
        {0, NodeKind::Entry, {0, -1}, true, "byte", true},    // onto one of its rows
        {0, NodeKind::Group, {0, -1}, false, "text", false},  // text points never
        {1, NodeKind::Group, {3, -1}, false, "float", true},
        {2, NodeKind::Group, {2, -1}, false, "float", false},   // the register root itself
        {2, NodeKind::Subgroup, {2, 1}, false, "float", true},  // its Long subgroup
        {2, NodeKind::Subgroup, {3, 2}, true, "float", true},   // a subgroup with rows all the same
        {2, NodeKind::Entry, {2, 1}, true, "float", false},     // a row inside a subgroup
        {2, NodeKind::Entry, {0, -1}, true, "float", true},     // a coil row
        {2, NodeKind::Group, {1, -1}, false, "float", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " root " << c.group.root << " sub " << c.group.sub);
        EXPECT_EQ(modbuspage::AcceptsDrop(c.mode, c.node, c.group, c.hasEntries, c.type), c.accepted);
    }
}
