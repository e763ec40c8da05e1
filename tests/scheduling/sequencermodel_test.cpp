#include "sequencermodel.h"
#include "sequencer.h"
#include "streamcount.h"
#include "unitmodel.h"

#include <gtest/gtest.h>
#include <cstring>

using namespace seqpage;

namespace {

QByteArray bytesOf(const SequencerConfiguration& c)
{
    return QByteArray(reinterpret_cast<const char*>(&c), sizeof c);
}

SequencerConfiguration blockOf(const QByteArray& bytes)
{
    SequencerConfiguration c{};
    EXPECT_EQ(bytes.size(), static_cast<int>(sizeof c));
    std::memcpy(&c, bytes.constData(), sizeof c);
    return c;
}

// A block in the form the encoder writes: every list full or partly full, radios set, one loop.
SequencerConfiguration richBlock()
{
    SequencerConfiguration c{};
    c.Enable = 1;
    c.Depth = 32;
    for (int i = 0; i < 32; ++i)
        c.Automatic[i] = {static_cast<std::uint8_t>(i % 4), static_cast<std::uint8_t>(i % 6)};
    c.ManualEnable = 1;
    c.ManualDigitalInput = 7;
    for (int m = 0; m < 8; ++m) {
        ManualSequence& ms = c.Manual[m];
        ms.Enable = m % 2;
        ms.LoopEnable = m == 5;
        ms.DigitalInput = static_cast<std::uint8_t>(7 - m);
        ms.Depth = static_cast<std::uint8_t>(m + 1);
        for (int i = 0; i <= m; ++i)
            ms.Sequence[i] = {static_cast<std::uint8_t>((m + i) % 4), static_cast<std::uint8_t>((m * 3 + i) % 6)};
    }
    return c;
}

PageModel decoded(const SequencerConfiguration& c)
{
    RunState state;
    return decode(c, state);
}

}  // namespace

TEST(SequencerCodec, EmptyAndDefaultBlocksGiveZeroBytes)
{
    // Nothing decoded yet: no lists, no steps, and no garbage in the block.
    EXPECT_EQ(bytesOf(encode(PageModel{})), QByteArray(228, '\0'));

    UnitModel unit;
    const SequencerConfiguration fromUnit = blockOf(unit.sequencer());
    const PageModel m = decoded(fromUnit);
    EXPECT_TRUE(m.hasLists);
    EXPECT_EQ(m.manualDigitalInput, 0);  // stored 0 is input 1
    EXPECT_EQ(bytesOf(encode(m)), unit.sequencer());
}

TEST(SequencerCodec, RoundTripIsByteExact)
{
    const SequencerConfiguration c = richBlock();
    const PageModel m = decoded(c);
    ASSERT_EQ(m.lists[0].size(), 32u);
    for (int list = 1; list <= 8; ++list)
        EXPECT_EQ(m.lists[list].size(), static_cast<size_t>(list));
    EXPECT_EQ(m.manualDigitalInput, 7);
    EXPECT_EQ(m.manual[0].digitalInput, 7);
    EXPECT_TRUE(m.manual[5].loopEnable);
    EXPECT_EQ(bytesOf(encode(m)), bytesOf(c));
}

TEST(SequencerCodec, StepTextsFollowTheBlockNumbering)
{
    SequencerConfiguration c{};
    c.Depth = 2;
    c.Automatic[0] = {1, 5};
    c.Automatic[1] = {1, 4};
    const PageModel m = decoded(c);
    ASSERT_EQ(m.lists[0].size(), 2u);
    EXPECT_EQ(stepText(m.lists[0][0].stream, m.lists[0][0].run), "Stream 2:Calibrate");
    EXPECT_EQ(stepText(m.lists[0][1].stream, m.lists[0][1].run), "Stream 2:Zero");
    const SequencerConfiguration back = encode(m);
    EXPECT_EQ(back.Automatic[0].Stream, 1);
    EXPECT_EQ(back.Automatic[0].Run, 5);
}

TEST(SequencerCodec, DepthZeroShowsNoStepsWhateverTheSlots)
{
    SequencerConfiguration c = richBlock();
    c.Depth = 0;
    for (auto& ms : c.Manual)
        ms.Depth = 0;
    const PageModel m = decoded(c);
    for (const auto& list : m.lists)
        EXPECT_TRUE(list.empty());
    const SequencerConfiguration back = encode(m);
    EXPECT_EQ(back.Depth, 0);
    EXPECT_EQ(bytesOf(back).mid(2, 64), QByteArray(64, '\0'));
}

TEST(SequencerCodec, DepthAboveTheRoomIsClampedToIt)
{
    SequencerConfiguration c = richBlock();
    c.Depth = 255;
    c.Manual[0].Depth = 9;
    c.Manual[7].Depth = 200;
    const PageModel m = decoded(c);
    EXPECT_EQ(m.lists[0].size(), 32u);
    EXPECT_EQ(m.lists[1].size(), 8u);
    EXPECT_EQ(m.lists[8].size(), 8u);
    const SequencerConfiguration back = encode(m);
    EXPECT_EQ(back.Depth, 32);
    EXPECT_EQ(back.Manual[0].Depth, 8);
    EXPECT_EQ(back.Manual[7].Depth, 8);
    // The manual-enable bytes behind the automatic slots are not taken for steps.
    EXPECT_EQ(back.ManualEnable, 1);
    EXPECT_EQ(back.ManualDigitalInput, 7);
}

TEST(SequencerCodec, InvalidSlotsAreSkippedAndTheRestMovesUp)
{
    SequencerConfiguration c{};
    c.Depth = 4;
    c.Automatic[0] = {0, 0};
    c.Automatic[1] = {4, 0};
    c.Automatic[2] = {0, 6};
    c.Automatic[3] = {3, 2};
    const SequencerConfiguration back = encode(decoded(c));
    EXPECT_EQ(back.Depth, 2);
    EXPECT_EQ(back.Automatic[1].Stream, 3);
    EXPECT_EQ(back.Automatic[1].Run, 2);
    EXPECT_EQ(back.Automatic[2].Stream, 0);
    EXPECT_EQ(back.Automatic[3].Stream, 0);
}

TEST(SequencerCodec, NonZeroBytesReadTrueAndRadiosAboveSevenCheckNothing)
{
    SequencerConfiguration c{};
    c.Enable = 9;
    c.ManualDigitalInput = 8;
    c.Manual[2].LoopEnable = 200;
    c.Manual[2].DigitalInput = 255;
    const PageModel m = decoded(c);
    EXPECT_TRUE(m.enableSequencer);
    EXPECT_EQ(m.manualDigitalInput, -1);
    EXPECT_EQ(m.manual[2].digitalInput, -1);
    const SequencerConfiguration back = encode(m);
    EXPECT_EQ(back.Enable, 1);
    EXPECT_EQ(back.ManualDigitalInput, 0);
    EXPECT_EQ(back.Manual[2].LoopEnable, 1);
    EXPECT_EQ(back.Manual[2].DigitalInput, 0);
}

TEST(SequencerCodec, CurrentStepMarks)
{
    SequencerConfiguration c = richBlock();
    c.Automatic[1] = {5, 0};  // skipped, so it is not counted for the mark
    struct Case {
        int state, pointer, list, index;  // index -1: nothing marked anywhere
    } cases[] = {
        {1, 3, 0, 2},                                      // the third step shown (the fourth slot: slot 1 is skipped)
        {5, 1, 3, 0},                                      // manual sequence 3
        {10, 8, 8, 7},                                     // manual sequence 8, last step
        {2, 1, -1, -1},                                    // manual sequencer without a sequence
        {0, 1, -1, -1},  {1, 0, -1, -1}, {1, 32, -1, -1},  // beyond the 31 steps shown
        {11, 1, -1, -1},
    };
    for (const Case& k : cases) {
        RunState state{k.pointer, k.state};
        const PageModel m = decode(c, state);
        int marks = 0;
        for (int list = 0; list < kLists; ++list)
            for (size_t i = 0; i < m.lists[list].size(); ++i)
                if (m.lists[list][i].marked) {
                    ++marks;
                    EXPECT_EQ(list, k.list) << "state " << k.state;
                    EXPECT_EQ(static_cast<int>(i), k.index) << "state " << k.state;
                }
        EXPECT_EQ(marks, k.index < 0 ? 0 : 1) << "state " << k.state << " pointer " << k.pointer;
    }
}

TEST(SequencerCodec, DisabledSequencerResetsTheRunState)
{
    SequencerConfiguration c = richBlock();
    c.Enable = 0;
    RunState state{3, 1};
    const PageModel m = decode(c, state);
    EXPECT_EQ(state.sePointer, -1);
    EXPECT_EQ(state.seState, 0);
    EXPECT_EQ(m.lists[0].size(), 32u);
    for (const Step& s : m.lists[0])
        EXPECT_FALSE(s.marked);
}

TEST(SequencerEdits, ListsTakeStepsUpToTheirRoom)
{
    PageModel m;
    EXPECT_FALSE(appendStep(m, 0, 1, 0)) << "no lists before the first decode";
    m = decoded(SequencerConfiguration{});
    for (int i = 0; i < 32; ++i)
        EXPECT_TRUE(appendStep(m, 0, 1 + i % 4, i % 6));
    EXPECT_FALSE(appendStep(m, 0, 1, 0));
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(appendStep(m, 1, 2, 1));
    EXPECT_FALSE(appendStep(m, 1, 2, 1));
    EXPECT_FALSE(appendStep(m, 2, 5, 0));
    EXPECT_FALSE(appendStep(m, 2, 1, 6));
    EXPECT_FALSE(appendStep(m, 9, 1, 0));
    const SequencerConfiguration c = encode(m);
    EXPECT_EQ(c.Depth, 32);
    EXPECT_EQ(c.Manual[0].Depth, 8);
    EXPECT_EQ(c.Manual[0].Sequence[7].Stream, 1);
    EXPECT_EQ(c.Manual[0].Sequence[7].Run, 1);
}

TEST(SequencerEdits, DeleteAndMoveStayInsideTheList)
{
    PageModel m = decoded(SequencerConfiguration{});
    appendStep(m, 4, 1, 0);
    appendStep(m, 4, 2, 1);
    appendStep(m, 4, 3, 2);
    EXPECT_FALSE(moveStepUp(m, 4, 0));
    EXPECT_FALSE(moveStepDown(m, 4, 2));
    EXPECT_TRUE(moveStepDown(m, 4, 1));  // the last but one becomes the last
    EXPECT_EQ(m.lists[4][2].stream, 2);
    EXPECT_TRUE(moveStepUp(m, 4, 1));
    EXPECT_EQ(m.lists[4][0].stream, 3);
    EXPECT_TRUE(deleteStep(m, 4, 0));
    EXPECT_FALSE(deleteStep(m, 4, 2));
    const SequencerConfiguration c = encode(m);
    EXPECT_EQ(c.Manual[3].Depth, 2);
    EXPECT_EQ(c.Manual[3].Sequence[0].Stream, 0);
    EXPECT_EQ(c.Manual[3].Sequence[1].Stream, 1);
    EXPECT_EQ(c.Manual[3].Sequence[2].Stream, 0);
}

TEST(SequencerEdits, OnlyOneManualSequenceLoops)
{
    PageModel m;
    setLoopEnable(m, 4, true);
    setLoopEnable(m, 2, true);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m.manual[i].loopEnable, i == 2);
    setLoopEnable(m, 2, false);
    for (const auto& s : m.manual)
        EXPECT_FALSE(s.loopEnable);
}

TEST(SequencerDrag, PayloadCarriesStreamAndRun)
{
    const auto ref = decodePayload(encodePayload({3, 5}));
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->stream, 3);
    EXPECT_EQ(ref->run, 5);
    EXPECT_FALSE(decodePayload(encodePayload({2, -1}))->isRunType());
    for (const char* bad : {"", "3", "3 5 1", "x 5", "3 y", "3  5", "99999999999999 1"})
        EXPECT_FALSE(decodePayload(QByteArray(bad))) << bad;
}

TEST(SequencerDrag, DropRule)
{
    const DropQuery ok{false, false, RunTypeRef{2, 0}, 1, true, 0, true, 0};
    struct Case {
        const char* what;
        void (*edit)(DropQuery&);
        DropVerdict verdict;
    } cases[] = {
        {"offline", [](DropQuery&) {}, DropVerdict::Accept},
        {"logged on, update mode", [](DropQuery& q) { q.loggedOn = true; }, DropVerdict::Accept},
        {"logged on, read-only", [](DropQuery& q) { q.loggedOn = q.readOnlyMode = true; }, DropVerdict::ReadOnly},
        {"offline, read-only flag", [](DropQuery& q) { q.readOnlyMode = true; }, DropVerdict::Accept},
        {"stream node",
         [](DropQuery& q) {
             q.dragged = RunTypeRef{2, -1};
         },
         DropVerdict::NotARunType},
        {"root",
         [](DropQuery& q) {
             q.dragged = RunTypeRef{-1, -1};
         },
         DropVerdict::NotARunType},
        {"bad payload", [](DropQuery& q) { q.dragged.reset(); }, DropVerdict::NotARunType},
        {"stream 3 of two",
         [](DropQuery& q) {
             q.dragged = RunTypeRef{3, 1};
         },
         DropVerdict::StreamNotConfigured},
        {"stream 4 of four",
         [](DropQuery& q) {
             q.dragged = RunTypeRef{4, 1};
             q.streamsValue = 3;
         },
         DropVerdict::Accept},
        {"streams unknown", [](DropQuery& q) { q.streamsValue.reset(); }, DropVerdict::StreamNotConfigured},
        {"other source", [](DropQuery& q) { q.fromCatalogue = false; }, DropVerdict::WrongSource},
        {"empty space", [](DropQuery& q) { q.targetList = -1; }, DropVerdict::NoTarget},
        {"onto a step",
         [](DropQuery& q) {
             q.targetIsRoot = false;
             q.stepsInTarget = 3;
         },
         DropVerdict::NotARoot},
        {"automatic with 31", [](DropQuery& q) { q.stepsInTarget = 31; }, DropVerdict::Accept},
        {"automatic with 32", [](DropQuery& q) { q.stepsInTarget = 32; }, DropVerdict::ListFull},
        {"manual with 7",
         [](DropQuery& q) {
             q.targetList = 1;
             q.stepsInTarget = 7;
         },
         DropVerdict::Accept},
        {"manual with 8",
         [](DropQuery& q) {
             q.targetList = 8;
             q.stepsInTarget = 8;
         },
         DropVerdict::ListFull},
    };
    for (const Case& k : cases) {
        DropQuery q = ok;
        k.edit(q);
        EXPECT_EQ(judgeDrop(q), k.verdict) << k.what;
    }
}

TEST(SequencerTexts, StateAndStreamCount)
{
    EXPECT_EQ(stateText(0), "Sequencer Off");
    EXPECT_EQ(stateText(1), "Automatic Sequencer On");
    EXPECT_EQ(stateText(2), "Manual Sequencer On");
    EXPECT_EQ(stateText(5), "Manual Sequencer 3 On");
    EXPECT_EQ(stateText(10), "Manual Sequencer 8 On");
    EXPECT_FALSE(stateText(11));
    EXPECT_FALSE(stateText(-1));
    EXPECT_EQ(streamcount::displayText("0", streamcount::Words::Count), "1-STREAM");
    EXPECT_EQ(streamcount::displayText("3", streamcount::Words::Count), "4-STREAMS");
    EXPECT_FALSE(streamcount::displayText("4", streamcount::Words::Count));
    EXPECT_EQ(listCaption(0), "Automatic Entries");
    EXPECT_EQ(listCaption(8), "Manual Entries #8");
}

TEST(SequencerStore, TheDatabaseBlockTakesTheEncodedModel)
{
    Sequencer sequencer;
    PageModel m = decoded(richBlock());
    deleteStep(m, 0, 0);
    store(m, sequencer);
    EXPECT_EQ(bytesOf(sequencer.GetImage()), bytesOf(encode(m)));
    EXPECT_EQ(sequencer.GetImage().Depth, 31);
    EXPECT_FALSE(sequencer.IsValid());
}
