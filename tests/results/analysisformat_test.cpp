#include "analysisformat.h"
#include "analysispoints.h"
#include "dispplacefile.h"
#include "iostatusformat.h"
#include "numbertext.h"
#include "registernames.h"
#include "resultnumbers.h"
#include "streamcount.h"
#include "testenv.h"
#include "timestamptoken.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using analysis::TextUpdate;

TEST(ResultNumbers, MaskedFormatRoundsHalfAwayOnFifteenDigits)
{
    struct Case {
        const char* mask;
        double value;
        char separator;
        const char* expected;
    } cases[] = {
        {"0.000", 12.3456, '.', "12.346"},
        {"0.000", 12.3456, ',', "12,346"},
        {"0", 12.3456, '.', "12"},
        {"0.00", 12.3456, '.', "12.35"},
        {"0.00", 12.345, '.', "12.35"},
        {"0.00", 1.005, '.', "1.01"},
        {"0.00", -0.001, '.', "0.00"},
        {"0.00", -1.5, '.', "-1.50"},
        {"0.00", 99.999, '.', "100.00"},
        {"0.0000", 0.00005, '.', "0.0001"},
        {"0", 0.5, '.', "1"},
        {"0", -2.5, '.', "-3"},
        {"0", 0.49, '.', "0"},
        {"0.00", 0, '.', "0.00"},
        {"0.00", 1e-20, '.', "0.00"},
        {"0.000", 123456789.5, '.', "123456789.500"},
        {"0.0", 1234567.0, '.', "1234567.0"},
        {"0.00", 0.006, '.', "0.01"},
        {"0.00", 0.004, '.', "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resultnum::formatMasked(QString::fromLatin1(c.mask), c.value, QLatin1Char(c.separator)),
                  QString::fromLatin1(c.expected))
            << c.mask << " " << c.value;
}

TEST(ResultNumbers, LeadingNumberReadsLikeTheCLibrary)
{
    struct Case {
        const char* text;
        double expected;
    } cases[] = {{"12.3456", 12.3456}, {"abc", 0}, {"12,5", 12}, {"  -3.5e2x", -350}, {"", 0}, {"+7", 7},
                 {"+-7", 0},           {"-", 0},   {".5", 0.5},  {"1e999", HUGE_VAL}};
    for (const auto& c : cases)
        EXPECT_EQ(numtext::cStrtod(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(ResultNumbers, WholeIntegerTakesOnlyWholeNumbers)
{
    EXPECT_EQ(numtext::tryStrToInt64(" 42 "), 42);
    EXPECT_EQ(numtext::tryStrToInt64("-3"), -3);
    EXPECT_EQ(numtext::tryStrToInt64("+3"), 3);
    EXPECT_FALSE(numtext::tryStrToInt64(""));
    EXPECT_FALSE(numtext::tryStrToInt64("1.5"));
    EXPECT_FALSE(numtext::tryStrToInt64("12abc"));
    EXPECT_FALSE(numtext::tryStrToInt64("+-3"));
}

TEST(AnalysisFormat, LastResultsFollowTheDecimalPlacesFile)
{
    QTemporaryDir dir;
    const DispPlaceFile file(dir.path());
    EXPECT_EQ(file.Path(), dir.path() + "/dispPlace.cfg");
    auto formatWith = [&](const char* content) {
        QFile::remove(file.Path());
        if (content) {
            QFile f(file.Path());
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        return analysis::lastResultText("12.3456", analysis::displayFormatFor(file.Read()));
    };
    EXPECT_EQ(formatWith("3"), "12.346");
    EXPECT_EQ(formatWith("0"), "12");
    EXPECT_EQ(formatWith("4"), "12.3456");
    EXPECT_EQ(formatWith(nullptr), "12.35");
    EXPECT_EQ(formatWith("7"), "12.35");
    EXPECT_EQ(formatWith("x"), "12.35");
    EXPECT_EQ(formatWith(""), "12.35");
    EXPECT_EQ(formatWith(" 1\r\n"), "12.3");
    EXPECT_EQ(analysis::lastResultText("abc", "0.00"), "0.00");
}

TEST(AnalysisFormat, ScheduleColoursTheLastResult)
{
    EXPECT_EQ(analysis::scheduleColour("0"), analysis::kScheduleOff);
    EXPECT_EQ(analysis::scheduleColour("1"), 0x0000FFFFu);
    EXPECT_EQ(analysis::scheduleColour("2"), 0x00FFFF00u);
    for (const char* keep : {"3", "-1", "", "yes"})
        EXPECT_FALSE(analysis::scheduleColour(keep)) << keep;
}

TEST(AnalysisFormat, ValueTexts)
{
    EXPECT_EQ(analysis::activeStreamOf("0"), 1);
    EXPECT_EQ(analysis::activeStreamOf("2"), 3);
    EXPECT_FALSE(analysis::activeStreamOf("7"));
    EXPECT_FALSE(analysis::activeStreamOf(""));
    EXPECT_EQ(analysis::streamBannerText(3), "Stream 3 Active");

    const struct {
        const char* value;
        TextUpdate expected;
    } states[] = {{"0", TextUpdate::set("Calibrate")},      {"3", TextUpdate::set("Tape Advance Halt")},
                  {"11", TextUpdate::set("No Stream Run")}, {"12", TextUpdate::showValue()},
                  {"-1", TextUpdate::showValue()},          {"abc", TextUpdate::keep()}};
    for (const auto& c : states)
        EXPECT_EQ(analysis::analysisStateText(c.value), c.expected) << c.value;

    const struct {
        const char* value;
        TextUpdate expected;
    } sequencer[] = {{"0", TextUpdate::set("Sequencer Off")},
                     {"1", TextUpdate::set("Automatic Sequencer On")},
                     {"2", TextUpdate::set("Manual Sequencer On")},
                     {"3", TextUpdate::set("Manual Sequencer 1 On")},
                     {"10", TextUpdate::set("Manual Sequencer 8 On")},
                     {"11", TextUpdate::keep()},
                     {"", TextUpdate::keep()}};
    for (const auto& c : sequencer)
        EXPECT_EQ(analysis::sequencerStateText(c.value), c.expected) << c.value;

    const struct {
        const char* run;
        const char* total;
        TextUpdate expected;
    } runs[] = {{"4", "10", TextUpdate::set("5")},   {"10", "10", TextUpdate::set("10")},
                {"12", "10", TextUpdate::set("10")}, {"3", "", TextUpdate::set("4")},
                {"3", "n/a", TextUpdate::set("4")},  {"x", "10", TextUpdate::keep()}};
    for (const auto& c : runs)
        EXPECT_EQ(analysis::runNumberText(c.run, c.total), c.expected) << c.run << " of " << c.total;

    EXPECT_EQ(streamcount::displayText("0", streamcount::Words::Count), QString("1-STREAM"));
    EXPECT_EQ(streamcount::displayText("1", streamcount::Words::Count), QString("2-STREAMS"));
    EXPECT_EQ(streamcount::displayText("3", streamcount::Words::Count), QString("4-STREAMS"));
    EXPECT_FALSE(streamcount::displayText("4", streamcount::Words::Count));
    EXPECT_FALSE(streamcount::displayText("", streamcount::Words::Count));

    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(analysis::resultLabel(n), QString("Stream %1 Result: ").arg(n));
    EXPECT_EQ(analysis::alarmText(407, true), " System Alarm");
    EXPECT_EQ(analysis::alarmText(473, true), " Max Tape Adv. Alarm");
    EXPECT_EQ(analysis::alarmText(407, false), "");
    EXPECT_EQ(analysis::alarmText(408, true), "");
}

TEST(AnalysisFormat, UnitClockText)
{
    const auto token = timestamp::fromDateAndTime(QDate(2026, 12, 11), QTime(15, 4, 5));
    ASSERT_TRUE(token);
    EXPECT_EQ(analysis::unitDateTimeText(QString::number(*token)), TextUpdate::set("December 11, 2026 3:04:05 PM"));
    // A token of a year from 2032 on no longer fits a signed 32-bit integer.
    const auto late = timestamp::fromDateAndTime(QDate(2040, 1, 2), QTime(0, 0, 1));
    EXPECT_EQ(analysis::unitDateTimeText(QString::number(*late)), TextUpdate::set("January 2, 2040 12:00:01 AM"));
    EXPECT_EQ(analysis::unitDateTimeText(""), TextUpdate::set("January 1, 2000 12:00:00 AM"));
    EXPECT_EQ(analysis::unitDateTimeText("noon"), TextUpdate::keep());
}

TEST(AnalysisFormat, CurrentAnalysisNamesThePointOfStreamAndRunType)
{
    EXPECT_EQ(analysis::currentAnalysisNamePoint(2, "1"), 636);
    EXPECT_EQ(registerName(636), "Stream 2: Total Sulphur: Name");
    EXPECT_EQ(analysis::currentAnalysisNamePoint(4, "5"), 871);
    EXPECT_FALSE(analysis::currentAnalysisNamePoint(0, "1"));
    EXPECT_FALSE(analysis::currentAnalysisNamePoint(2, "6"));
    EXPECT_FALSE(analysis::currentAnalysisNamePoint(2, "H2S"));
}

TEST(AnalysisPoints, TablesNameTheirPointsInTheRegisterMap)
{
    const char* runTypes[] = {"H2S", "Total Sulphur", "Reference 1", "Reference 2", "Zero", "Calibration"};
    for (int s = 0; s < analyzer::kStreams; ++s) {
        const std::string stream = "Stream " + std::to_string(s + 1) + ": ";
        for (int r = 0; r < analyzer::kRunTypes; ++r) {
            EXPECT_EQ(registerName(analysis::kNamePoint[s][r]), stream + runTypes[r] + ": Name");
            EXPECT_EQ(registerName(analysis::kSchedulePoint[s][r]), stream + runTypes[r] + " Run");
            EXPECT_EQ(registerName(analysis::kLastResultPoint[s][r]), stream + runTypes[r] + " Reading");
        }
        EXPECT_EQ(registerName(analysis::kGainPoint[s]), stream + "Gain");
        EXPECT_EQ(registerName(analysis::kZeroOffsetPoint[s]), stream + "Zero");
        EXPECT_EQ(registerName(analysis::kUnitsPoint[s]), stream + "Analysis Units");
    }
}

TEST(IOStatusFormat, AnalogValuesAndLamps)
{
    EXPECT_EQ(iostatus::analogText("12.3456"), "12.346");
    EXPECT_EQ(iostatus::analogText("abc"), "0.000");
    EXPECT_EQ(iostatus::analogText("12,5"), "12.000");
    EXPECT_EQ(iostatus::analogText("4"), "4.000");
    EXPECT_EQ(resultnum::formatMasked("0.000", 12.3456, QLatin1Char(',')), "12,346");

    EXPECT_EQ(iostatus::lampIndex(true), 2);
    EXPECT_EQ(iostatus::lampIndex(false), 3);
    EXPECT_EQ(iostatus::systemAlarmIndex(true), 2);
    EXPECT_EQ(iostatus::systemAlarmIndex(false), 3);
    const auto off = iostatus::powerLamp("DC", true);
    EXPECT_EQ(off.index, 3);
    EXPECT_EQ(off.text, "DC Power Disconnected");
    const auto on = iostatus::powerLamp("AC", false);
    EXPECT_EQ(on.index, 2);
    EXPECT_EQ(on.text, "AC Power Connected");
}
