#include "blocklink.h"
#include "database.h"
#include "databasepoint.h"
#include "modbuslist.h"
#include "sequencer.h"
#include "statemgr.h"
#include "timerxmanager.h"
#include "unitmodel.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// The device messages straight into the emulated unit's message level.
class EmulatedUnitLink : public MessageLink {
public:
    explicit EmulatedUnitLink(UnitModel& unit) : unit_(unit) {}
    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool) override
    {
        const auto reply = unit_.handleMessage(QByteArray(reinterpret_cast<const char*>(message), message[0]));
        if (!reply)
            throw CommStatusError(commstatus::kNoResponse);
        if (reply->size() > capacity)
            throw CommStatusError(commstatus::kUnexpectedResponse);
        std::memcpy(answer, reply->constData(), static_cast<std::size_t>(reply->size()));
        return static_cast<int>(reply->size());
    }

private:
    UnitModel& unit_;
};

class EmulatedUnitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));
        db = DataBase::Instance();
        for (int i = 0; i < db->GetPointCount() && points.size() < 40; ++i) {
            if (DatabasePoint* p = db->GetPointByIndex(i))
                points.push_back(p);
        }
    }
    void TearDown() override
    {
        DataBase::ReleaseInstance();
        CommDBPointFacade::ReleaseInstance();
        StateMgr::ReleaseInstance();
    }

    std::vector<int> receivedTypes() const
    {
        std::vector<int> types;
        for (const QByteArray& m : unit.received())
            types.push_back(static_cast<std::uint8_t>(m[1]));
        return types;
    }

    UnitModel unit;
    EmulatedUnitLink link{unit};
    DataBase* db = nullptr;
    std::vector<DatabasePoint*> points;
};

// The points of each register class, in group order.
std::map<int, std::vector<DatabasePoint*>> groupsOf(const ModbusList& list)
{
    std::map<int, std::vector<DatabasePoint*>> groups;
    for (int code = 0; code <= 16; ++code) {
        if (MBGroup* group = list.GetCollection().FindByCode(static_cast<TMBGProfile>(code))) {
            for (const MBRegister& reg : group->GetRegisters())
                groups[code].push_back(reg.point);
        }
    }
    return groups;
}

}  // namespace

TEST_F(EmulatedUnitTest, SequencerAndTimersRoundTripThroughTheUnit)
{
    QByteArray sequencerBytes(228, '\0');
    for (int i = 0; i < 228; ++i)
        sequencerBytes[i] = static_cast<char>(i % 4);
    unit.setSequencer(sequencerBytes);
    Sequencer sequencer;
    sequencer.ReadFromUnit();
    EXPECT_EQ(recordBytes(sequencer.GetImage()), sequencerBytes);
    SequencerConfiguration edited = sequencer.GetImage();
    edited.Enable = 1;
    edited.Manual[7].Sequence[7].Run = 5;  // the block's last byte
    sequencer.SetImage(edited);
    ASSERT_TRUE(sequencer.WriteToUnit());
    EXPECT_EQ(unit.sequencer(), recordBytes(edited));

    TimerXManager timers;
    timers.ReadFromUnit();
    TimerXConfiguration t = timers.GetImage();
    t.Timers[3].Analysis = 0x00ABCDEF;
    t.Timers[11].Sequencer = 0x01FF;
    timers.SetImage(t);
    unit.addFault({0x42, UnitModel::MessageFault::Kind::AnswerType});
    EXPECT_FALSE(timers.WriteToUnit());
    EXPECT_TRUE(timers.IsDirty());
    EXPECT_TRUE(timers.WriteToUnit());
    EXPECT_FALSE(timers.IsDirty());
    EXPECT_EQ(unit.timers(), recordBytes(t));
    EXPECT_EQ(receivedTypes(), (std::vector<int>{0x3C, 0x3E, 0x40, 0x42, 0x42}));
}

TEST_F(EmulatedUnitTest, TheModbusMapRoundTripsThroughTheUnitInEveryMode)
{
    struct Case {
        int mode;
        std::vector<TMBGProfile> codes;  // one point each, added in this order
        std::vector<int> uploadTypes;
        ModmapHeader header;
    };
    const std::vector<Case> cases = {
        {0, {3, 0, 1, 0, 2}, {0x16, 0x18, 0x18, 0x18, 0x18, 0x18, 0x16}, header(0, {{0, 2}, {2, 1}, {3, 1}, {4, 1}})},
        {1, {8, 6, 5, 7, 6}, {0x16, 0x18, 0x18, 0x18, 0x18, 0x18, 0x16}, header(1, {{1, 2}, {0, 1}, {3, 1}, {4, 1}})},
        {2,
         {16, 12, 10, 11, 9, 14, 13},
         {0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x16, 0x16},
         header(2, {{1, 1}, {0, 1}, {2, 3}, {5, 2}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        unit.clearReceived();
        ModbusList& list = db->GetModbusList();
        list.SelectMode(c.mode);
        for (std::size_t i = 0; i < c.codes.size(); ++i)
            ASSERT_GE(list.AddPoint(points[i], c.codes[i]), 0);
        list.RebuildImage();
        list.UploadToUnit();
        EXPECT_EQ(receivedTypes(), c.uploadTypes);

        ModmapImage expected = list.GetImage();
        expected.Header = c.header;
        EXPECT_EQ(unit.modmap().toHex(), recordBytes(expected).toHex());

        const auto uploaded = groupsOf(list);
        list.SelectMode(modmap::kEnron);
        list.Reset();
        unit.clearReceived();
        list.LoadFromUnit();
        EXPECT_EQ(list.GetMode(), c.mode);
        EXPECT_EQ(groupsOf(list), uploaded);
        EXPECT_EQ(static_cast<int>(unit.received().size()), 1 + static_cast<int>(c.codes.size()));
        EXPECT_EQ(unit.receivedCount(0x14), static_cast<int>(c.codes.size()));
        EXPECT_EQ(recordBytes(list.GetHeader()).toHex(), recordBytes(c.header).toHex());
    }
}
