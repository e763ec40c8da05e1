#include "timermodel.h"
#include "timerxmanager.h"
#include "unitmodel.h"

#include <gtest/gtest.h>
#include <cstring>
#include <functional>

using namespace timerpage;

namespace {

// Packed fields are compared through a copy: a reference to one may be misaligned.
template <typename T>
unsigned copy(T value)
{
    return value;
}

QByteArray bytesOf(const TimerXConfiguration& c)
{
    return QByteArray(reinterpret_cast<const char*>(&c), sizeof c);
}

TimerXConfiguration timersOf(const QByteArray& bytes)
{
    TimerXConfiguration c{};
    EXPECT_EQ(bytes.size(), static_cast<int>(sizeof c));
    std::memcpy(&c, bytes.constData(), sizeof c);
    return c;
}

// Every field used, in the form the encoder writes it.
TimerXConfiguration richTimers()
{
    TimerXConfiguration c{};
    for (int t = 0; t < timerx::kTimers; ++t) {
        TimerXEntry& e = c.Timers[t];
        e.ScheduleEnable = t % 3 != 0;
        e.ScheduleDayOfWeek = t <= 7 ? static_cast<std::uint8_t>(t) : 0xFF;
        e.ScheduleHour = static_cast<std::uint8_t>(t * 2);
        e.ScheduleMinute = static_cast<std::uint8_t>(t * 5);
        e.AnalysisEnable = t % 2;
        e.Analysis = 0x00A5C3F1u >> t;
        e.SequencerEnable = t % 4 == 0;
        e.Sequencer = t % 2 == 0 ? static_cast<std::uint16_t>(0x1FF >> (t / 2)) : (t % 3 == 0 ? 1 : 0);
    }
    return c;
}

}  // namespace

TEST(TimerCodec, DefaultAndRichBlocksRoundTripByteForByte)
{
    UnitModel unit;
    const PageValues fromUnit = decode(timersOf(unit.timers()));
    EXPECT_EQ(fromUnit[0].dayIndex(), 0);
    EXPECT_EQ(bytesOf(encode(fromUnit)), unit.timers());

    const TimerXConfiguration rich = richTimers();
    EXPECT_EQ(bytesOf(encode(decode(rich))), bytesOf(rich));
}

TEST(TimerCodec, FreshPageStoresTheFormsInitialValues)
{
    const TimerXConfiguration c = encode(PageValues{});
    for (const TimerXEntry& e : c.Timers) {
        EXPECT_EQ(e.ScheduleDayOfWeek, 0xFF);  // no day selected
        EXPECT_EQ(e.ScheduleHour, 8);
        EXPECT_EQ(e.ScheduleMinute, 0);
        EXPECT_EQ(copy(e.Analysis), 0u);
        EXPECT_EQ(copy(e.Sequencer), 0u);
    }
}

TEST(TimerCodec, StoreNormalisesWhatThePageCannotShow)
{
    TimerXConfiguration c{};
    TimerXEntry& odd = c.Timers[0];
    odd.ScheduleEnable = 7;
    odd.AnalysisEnable = 2;
    odd.SequencerEnable = 0x80;
    odd.Analysis = 0xFF000001u;  // bits 24-31 are not the page's
    odd.Sequencer = 0xFE03;      // bits 9-15 neither
    TimerXEntry& even = c.Timers[1];
    even.Sequencer = 0x01FF;  // a stop timer carries no manual sequence
    const TimerXConfiguration back = encode(decode(c));
    EXPECT_EQ(back.Timers[0].ScheduleEnable, 1);
    EXPECT_EQ(back.Timers[0].AnalysisEnable, 1);
    EXPECT_EQ(back.Timers[0].SequencerEnable, 1);
    EXPECT_EQ(copy(back.Timers[0].Analysis), 1u);
    EXPECT_EQ(copy(back.Timers[0].Sequencer), 3u);
    EXPECT_EQ(copy(back.Timers[1].Sequencer), 1u);
}

TEST(TimerCodec, AnUnknownDayIsKeptUntilTheUserPicksOne)
{
    TimerXConfiguration c{};
    c.Timers[3].ScheduleDayOfWeek = 0x80;
    c.Timers[4].ScheduleDayOfWeek = 9;
    PageValues v = decode(c);
    EXPECT_EQ(v[3].dayIndex(), -1);
    EXPECT_EQ(v[4].dayIndex(), -1);
    EXPECT_EQ(encode(v).Timers[3].ScheduleDayOfWeek, 0x80);
    EXPECT_EQ(encode(v).Timers[4].ScheduleDayOfWeek, 9);
    v[4].day = 3;
    EXPECT_EQ(encode(v).Timers[4].ScheduleDayOfWeek, 3);
}

TEST(TimerCodec, EachFieldKindEditsItsBytes)
{
    struct Case {
        const char* what;
        int timer;  // 1-12
        std::function<void(TimerValues&)> edit;
        int offset;  // of the changed bytes within the block
        QByteArray bytes;
    } cases[] = {
        {"schedule enable", 5, [](TimerValues& v) { v.enable = true; }, 48, QByteArray("\x01", 1)},
        {"day", 12, [](TimerValues& v) { v.day = 7; }, 133, QByteArray("\x07", 1)},
        {"hour", 1, [](TimerValues& v) { v.hour = 23; }, 2, QByteArray("\x17", 1)},
        {"minute", 2, [](TimerValues& v) { v.minute = 59; }, 15, QByteArray("\x3b", 1)},
        {"analysis enable", 3, [](TimerValues& v) { v.analysisEnable = true; }, 28, QByteArray("\x01", 1)},
        {"stream 3 reference 2", 1, [](TimerValues& v) { v.runs[6 * 2 + 3] = true; }, 5,
         QByteArray("\x00\x80\x00\x00", 4)},
        {"stream 4 calibration", 7, [](TimerValues& v) { v.runs[23] = true; }, 77, QByteArray("\x00\x00\x80\x00", 4)},
        {"sequencer enable", 8, [](TimerValues& v) { v.sequencerEnable = true; }, 93, QByteArray("\x01", 1)},
        {"manual enable", 9, [](TimerValues& v) { v.manEnable = true; }, 106, QByteArray("\x01\x00", 2)},
        {"manual sequence 8", 11, [](TimerValues& v) { v.manual[7] = true; }, 130, QByteArray("\x00\x01", 2)},
    };
    const TimerXConfiguration zero{};
    for (const Case& k : cases) {
        PageValues v = decode(zero);
        k.edit(v[k.timer - 1]);
        QByteArray expected = bytesOf(zero);
        expected.replace(k.offset, k.bytes.size(), k.bytes);
        EXPECT_EQ(bytesOf(encode(v)).toHex(' '), expected.toHex(' ')) << k.what;
    }
}

TEST(TimerRules, ClickRules)
{
    TimerValues start;
    start.sequencerEnable = true;
    startClicked(start);
    EXPECT_TRUE(start.enable);
    EXPECT_TRUE(start.manEnable);
    start.sequencerEnable = false;
    startClicked(start);
    EXPECT_FALSE(start.enable);
    EXPECT_FALSE(start.manEnable);

    TimerValues stop;
    stop.manEnable = true;
    stop.sequencerEnable = true;
    analysisEnableClicked(stop);
    EXPECT_TRUE(stop.enable);
    stop.sequencerEnable = false;
    analysisEnableClicked(stop);
    EXPECT_FALSE(stop.enable);
    EXPECT_TRUE(stop.manEnable) << "Stop leaves the manual-enable bit alone";

    TimerValues both;
    both.sequencerEnable = true;
    both.analysisEnable = false;
    analysisEnableClicked(both);
    EXPECT_TRUE(both.enable);
}

TEST(TimerRules, SelfTestGivesTheTracedNumbers)
{
    PageValues v;
    applySelfTest(v, true);
    TimerXConfiguration c = encode(v);
    for (const TimerXEntry& e : c.Timers) {
        EXPECT_EQ(copy(e.Analysis), 16777215u);
        EXPECT_EQ(copy(e.Sequencer), 511u);
        EXPECT_EQ(e.ScheduleEnable, 1);
        EXPECT_EQ(e.ScheduleDayOfWeek, 0);
        EXPECT_EQ(e.ScheduleHour, 8);
    }
    applySelfTest(v, false);
    c = encode(v);
    for (const TimerXEntry& e : c.Timers) {
        EXPECT_EQ(copy(e.Analysis), 0u);
        EXPECT_EQ(copy(e.Sequencer), 0u);
        EXPECT_EQ(e.SequencerEnable, 0);
    }
    EXPECT_EQ(selfTestText(true),
              "If Analysis=16777215 and Sequencer=511 in file LogWrite.dbg, the TEST will be passed.");
}

TEST(TimerRules, HourAndMinuteAreCheckedWhenEntered)
{
    struct Case {
        const char* text;
        int hour, minute;  // -1: refused
    } cases[] = {
        {"0", 0, 0},     {"8", 8, 8},    {" 23 ", 23, 23}, {"24", -1, 24}, {"59", -1, 59}, {"60", -1, -1},
        {"300", -1, -1}, {"-1", -1, -1}, {"+5", -1, -1},   {"", -1, -1},   {"7a", -1, -1}, {"1.5", -1, -1},
    };
    for (const Case& k : cases) {
        QString problem;
        const auto h = parseHour(QString::fromLatin1(k.text), &problem);
        EXPECT_EQ(h ? *h : -1, k.hour) << k.text;
        if (!h) {
            EXPECT_EQ(problem, "The hour must be a whole number from 0 to 23.");
        }
        problem.clear();
        const auto m = parseMinute(QString::fromLatin1(k.text), &problem);
        EXPECT_EQ(m ? *m : -1, k.minute) << k.text;
        if (!m) {
            EXPECT_EQ(problem, "The minute must be a whole number from 0 to 59.");
        }
    }
}

TEST(TimerRules, StreamsAndRunBoxes)
{
    EXPECT_EQ(analyzer::streamsOf(0), 1);
    EXPECT_EQ(analyzer::streamsOf(3), 4);
    EXPECT_FALSE(analyzer::streamsOf(4));
    EXPECT_FALSE(analyzer::streamsOf(-1));
    EXPECT_EQ(runBoxName(2, 0), "S2H2S");
    EXPECT_EQ(runBoxName(4, 5), "S4C");
    EXPECT_EQ(runBoxCaption(1, 1), "Stream 1 Total Sulpur ");
    EXPECT_EQ(runBoxCaption(1, 4), "Stream 1 Zero");
    EXPECT_EQ(runBoxCaption(2, 5), "Stream 2 Calibration");
    EXPECT_EQ(dayText(0), "Everyday");
    EXPECT_EQ(dayText(7), "Saturday");
}

TEST(TimerStore, MarksTheBlockChangedOnlyWhenABytesDiffers)
{
    TimerXManager fresh;
    fresh.SetImage(TimerXConfiguration{});
    EXPECT_FALSE(fresh.IsDirty());
    store(decode(TimerXConfiguration{}), fresh);
    EXPECT_FALSE(fresh.IsDirty());
    PageValues v = decode(TimerXConfiguration{});
    v[0].hour = 9;
    store(v, fresh);
    EXPECT_TRUE(fresh.IsDirty());
    EXPECT_EQ(fresh.GetImage().Timers[0].ScheduleHour, 9);
}
