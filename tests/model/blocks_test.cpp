#include "blocklink.h"
#include "logrecord.h"
#include "sequencer.h"
#include "timerxmanager.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class RecordingObserver : public ISObserver {
public:
    void Respond(int type, const void* st) override
    {
        types.push_back(type);
        images.push_back(st);
    }
    std::vector<int> types;
    std::vector<const void*> images;
};

template <typename Record>
Record countingRecord()
{
    Record record;
    auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
    for (std::size_t i = 0; i < sizeof record; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return record;
}

template <typename Record>
bool sameBytes(const Record& a, const Record& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class BlockTest : public ::testing::Test {
protected:
    void SetUp() override { CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link)); }
    void TearDown() override { CommDBPointFacade::ReleaseInstance(); }

    // The status a call raised, -1 for none.
    template <typename F>
    static int statusOf(F op)
    {
        try {
            op();
        } catch (const CommStatusError& e) {
            return e.status;
        }
        return -1;
    }

    BlockLink link;
};

SequencerConfiguration withAutomaticStreams(std::initializer_list<int> streams)
{
    SequencerConfiguration c{};
    for (int s : streams) {
        c.Automatic[c.Depth].Stream = static_cast<std::uint8_t>(s);
        c.Automatic[c.Depth].Run = static_cast<std::uint8_t>(c.Depth + 1);
        ++c.Depth;
    }
    return c;
}

}  // namespace

TEST_F(BlockTest, SequencerRoundTripsByteForByte)
{
    Sequencer sequencer;
    RecordingObserver observer;
    sequencer.Attach(&observer);

    EXPECT_FALSE(sequencer.WriteToUnit());
    EXPECT_TRUE(link.sent.empty()) << "a block never read or published is not sent";

    const auto unit = countingRecord<SequencerConfiguration>();
    link.answer(unitMessage(0x3D, recordBytes(unit)));
    sequencer.ReadFromUnit();
    EXPECT_TRUE(sameBytes(sequencer.GetImage(), unit));
    EXPECT_TRUE(sequencer.IsValid());
    ASSERT_EQ(observer.types.size(), 1u);
    EXPECT_EQ(observer.types[0], 0);
    EXPECT_TRUE(std::memcmp(observer.images[0], &unit, sizeof unit) == 0);

    EXPECT_TRUE(sequencer.WriteToUnit());
    ASSERT_EQ(link.sent.size(), 2u);
    EXPECT_EQ(link.sent[0], unitMessage(0x3C));
    EXPECT_EQ(link.sent[1], unitMessage(0x3E, recordBytes(unit)));

    link.answer(unitMessage(0x40));
    EXPECT_FALSE(sequencer.WriteToUnit()) << "an answer of another type is a refusal";
}

TEST_F(BlockTest, FailedSequencerReadChangesNothing)
{
    Sequencer sequencer;
    RecordingObserver observer;
    sequencer.Attach(&observer);
    const auto before = countingRecord<SequencerConfiguration>();
    sequencer.SetImage(before);

    // An answer of the wrong type or length fails like the link: the image is neither replaced
    // by zeros nor taken as the unit's.
    link.answer(unitMessage(0x3F, QByteArray(228, '\0')));
    link.answer(unitMessage(0x3D, QByteArray(10, '\x01')));
    link.fail(commstatus::kNoResponse);
    for (int status : {commstatus::kUnexpectedResponse, commstatus::kUnexpectedResponse, commstatus::kNoResponse}) {
        EXPECT_EQ(statusOf([&] { sequencer.ReadFromUnit(); }), status);
        EXPECT_TRUE(sameBytes(sequencer.GetImage(), before));
        EXPECT_FALSE(sequencer.IsValid());
        EXPECT_TRUE(observer.types.empty());
    }

    sequencer.Publish();
    EXPECT_TRUE(sequencer.IsValid());
    EXPECT_EQ(observer.types.size(), 1u);
}

TEST(SequencerTrim, KeepsTheStepsOfStreamsInUseInOrder)
{
    SequencerConfiguration c = withAutomaticStreams({0, 2, 1, 3});
    c.Enable = 1;
    c.ManualEnable = 1;
    c.ManualDigitalInput = 5;
    c.Manual[2] = ManualSequence{1, 1, 6, 3, {{3, 0}, {0, 4}, {1, 5}}};

    Sequencer sequencer;
    RecordingObserver observer;
    sequencer.Attach(&observer);
    sequencer.SetImage(c);
    sequencer.TrimToStreams(1);
    const SequencerConfiguration t = sequencer.GetImage();

    SequencerConfiguration expected{};
    expected.Enable = 1;
    expected.ManualEnable = 1;
    expected.ManualDigitalInput = 5;
    expected.Depth = 2;
    expected.Automatic[0] = c.Automatic[0];
    expected.Automatic[1] = c.Automatic[2];
    expected.Manual[2] = ManualSequence{1, 1, 6, 2, {{0, 4}, {1, 5}}};
    EXPECT_TRUE(sameBytes(t, expected));
    EXPECT_TRUE(observer.types.empty());
    EXPECT_FALSE(sequencer.IsValid());
}

TEST(SequencerTrim, DepthsBeyondTheBlockStayInsideIt)
{
    // Steps past a depth are not looked at, even when they hold a stream in use; depths larger
    // than the room count as the room.
    SequencerConfiguration c = countingRecord<SequencerConfiguration>();
    for (auto& step : c.Automatic)
        step.Stream = 0;
    c.Depth = 200;
    for (auto& manual : c.Manual) {
        for (auto& step : manual.Sequence)
            step.Stream = 0;
        manual.Depth = 9;
    }
    c.Manual[7].Depth = 255;
    const SequencerConfiguration t = Sequencer::Trimmed(c, 3);
    EXPECT_EQ(t.Depth, 32);
    for (int m = 0; m < 8; ++m)
        EXPECT_EQ(t.Manual[m].Depth, 8) << m;
    EXPECT_TRUE(std::memcmp(t.Automatic, c.Automatic, sizeof t.Automatic) == 0);

    SequencerConfiguration shallow = withAutomaticStreams({0, 0});
    shallow.Automatic[5].Stream = 0;  // past the depth
    shallow.Automatic[5].Run = 3;
    EXPECT_EQ(Sequencer::Trimmed(shallow, 3).Automatic[5].Run, 0);
    EXPECT_EQ(Sequencer::Trimmed(shallow, 3).Depth, 2);
}

TEST_F(BlockTest, TimerBlockRoundTripsByteForByte)
{
    TimerXManager timers;
    RecordingObserver observer;
    timers.Attach(&observer);

    EXPECT_FALSE(timers.WriteToUnit());
    EXPECT_TRUE(link.sent.empty());

    const auto unit = countingRecord<TimerXConfiguration>();
    timers.SetImage(countingRecord<TimerXConfiguration>());
    timers.SetImage(TimerXConfiguration{});
    ASSERT_TRUE(timers.IsDirty());
    link.answer(unitMessage(0x41, recordBytes(unit)));
    timers.ReadFromUnit();
    EXPECT_TRUE(sameBytes(timers.GetImage(), unit));
    EXPECT_FALSE(timers.IsDirty());
    EXPECT_TRUE(timers.IsValid());
    EXPECT_EQ(observer.types.size(), 1u);

    timers.SetImage(TimerXConfiguration{});
    EXPECT_TRUE(timers.WriteToUnit());
    EXPECT_FALSE(timers.IsDirty());
    ASSERT_EQ(link.sent.size(), 2u);
    EXPECT_EQ(link.sent[0], unitMessage(0x40));
    EXPECT_EQ(link.sent[1], unitMessage(0x42, QByteArray(144, '\0')));
}

TEST_F(BlockTest, RefusedOrFailedTimerWriteKeepsTheBlockChanged)
{
    TimerXManager timers;
    timers.Publish();
    timers.SetImage(countingRecord<TimerXConfiguration>());
    ASSERT_TRUE(timers.IsDirty());

    link.answer(unitMessage(0x3F));  // not the timer write's answer
    EXPECT_FALSE(timers.WriteToUnit());
    EXPECT_TRUE(timers.IsDirty());

    link.fail(commstatus::kNoResponse);
    EXPECT_EQ(statusOf([&] { timers.WriteToUnit(); }), commstatus::kNoResponse);
    EXPECT_TRUE(timers.IsDirty());

    link.answer(unitMessage(0x43, QByteArray(144, '\0')));  // the write's answer to a read
    EXPECT_EQ(statusOf([&] { timers.ReadFromUnit(); }), commstatus::kUnexpectedResponse);
    EXPECT_TRUE(timers.IsDirty());
    EXPECT_TRUE(sameBytes(timers.GetImage(), countingRecord<TimerXConfiguration>()));
}

TEST(TimerBlock, SetImageMarksOnlyRealChanges)
{
    TimerXManager timers;
    timers.SetImage(TimerXConfiguration{});
    EXPECT_FALSE(timers.IsDirty());
    TimerXConfiguration changed{};
    changed.Timers[11].Sequencer = 0x0100;  // the last byte of the block
    timers.SetImage(changed);
    EXPECT_TRUE(timers.IsDirty());
    timers.SetImage(changed);
    EXPECT_TRUE(timers.IsDirty()) << "an equal image does not undo an earlier change";
}

TEST_F(BlockTest, TimerTrimMasksTheAnalysesOfSequenceTimers)
{
    struct Case {
        int highestStream;
        std::uint32_t kept;
    };
    for (const Case c : {Case{0, 0x3F}, Case{1, 0xFFF}, Case{2, 0x3FFFF}, Case{3, 0xFFFFFF}, Case{4, 0xFFFFFFFF},
                         Case{-1, 0xFFFFFFFF}}) {
        SCOPED_TRACE(c.highestStream);
        TimerXConfiguration image{};
        image.Timers[0].SequencerEnable = 1;
        image.Timers[0].Analysis = 0xFFFFFFFF;
        image.Timers[1].AnalysisEnable = 1;  // starts analyses only: untouched
        image.Timers[1].Analysis = 0xFFFFFFFF;
        TimerXManager timers;
        link.answer(unitMessage(0x41, recordBytes(image)));
        timers.ReadFromUnit();
        ASSERT_FALSE(timers.IsDirty());
        RecordingObserver observer;
        timers.Attach(&observer);

        timers.TrimToStreams(c.highestStream);
        EXPECT_EQ(+timers.GetImage().Timers[0].Analysis, c.kept);
        EXPECT_EQ(+timers.GetImage().Timers[1].Analysis, 0xFFFFFFFFu);
        EXPECT_EQ(timers.IsDirty(), c.highestStream >= 0 && c.highestStream <= 3);
        EXPECT_EQ(observer.types.size(), 1u) << "the trim always tells the observers";
    }
}

TEST(SPublisherTest, AnObserverListedTwiceIsToldTwiceAndDetachedOnce)
{
    TimerXManager timers;
    RecordingObserver twice, once;
    timers.Attach(&twice);
    timers.Attach(&once);
    timers.Attach(&twice);
    timers.Publish();
    EXPECT_EQ(twice.types.size(), 2u);
    EXPECT_EQ(once.types.size(), 1u);
    timers.Detach(&twice);
    timers.Publish();
    EXPECT_EQ(twice.types.size(), 2u);
    EXPECT_EQ(once.types.size(), 2u);
}

TEST(LogRecordTest, FieldsLieAtTheUnitsOffsets)
{
    const auto bytes = QByteArray::fromHex("0301e80311040102030405060708090a0b0c0d0e0f10");
    LogRecord record;
    ASSERT_EQ(bytes.size(), static_cast<int>(sizeof record));
    std::memcpy(&record, bytes.constData(), sizeof record);
    EXPECT_EQ(record.LOG_NUMBER, 3);
    EXPECT_EQ(record.Enable, 1);
    EXPECT_EQ(+record.Frequency, 1000);
    EXPECT_EQ(record.LogIDCode, 0x11);
    EXPECT_EQ(record.ParametersInLog, 4);
    EXPECT_EQ(+record.Parameters[0], 0x0201);
    EXPECT_EQ(+record.Parameters[7], 0x100F);
}

TEST(UniqueLogIDTest, HandsOutCodesNoLogHolds)
{
    struct Case {
        std::vector<int> listed;  // empty: the fresh list {0}
        int from;
        int next;
        int lowest;
    };
    const std::vector<Case> cases = {
        {{}, 1, 9, 9},           {{}, 0, 8, 9},
        {{1, 9, 17}, 1, 25, 25}, {{250}, 242, 9, 9},  // 258 is out of range: the lowest free code instead
        {{9, 17}, 1, 25, 25},    {{9, 17, 25, 33, 41, 49, 57}, 248, 65, 65},
    };
    for (const Case& c : cases) {
        UniqueLogID::ReleaseInstance();
        UniqueLogID* ids = UniqueLogID::Instance();
        if (!c.listed.empty()) {
            ids->Clear();
            for (int code : c.listed)
                ids->Add(code);
        }
        EXPECT_EQ(ids->NextFreeId(c.from), c.next) << c.from;
        EXPECT_EQ(ids->LowestFreeId(), c.lowest) << c.from;
        EXPECT_FALSE(ids->Contains(c.next)) << "asking does not take the code";
    }
    UniqueLogID* ids = UniqueLogID::Instance();
    ids->Clear();
    EXPECT_FALSE(ids->Contains(0));
    UniqueLogID::ReleaseInstance();
    EXPECT_TRUE(UniqueLogID::Instance()->Contains(0)) << "a new list starts with 0";
    UniqueLogID::ReleaseInstance();
}
