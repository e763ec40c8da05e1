#include "timetext.h"
#include "dialogservice.h"
#include "testenv.h"

#include <gtest/gtest.h>

using timetext::Status;

TEST(TimeText, MillisecondsAndSamplesAsSeconds)
{
    struct Case {
        std::uint32_t count;
        const char* msec;
        const char* samples;
    };
    const Case cases[] = {
        {0, "0.000", "0.000"},
        {5, "0.005", "0.083"},
        {61, "0.061", "1.016"},
        {90, "0.090", "1.500"},
        {1234, "1.234", "20.566"},
        {60000, "60.000", "1000.000"},
        {4294967295u, "4294967.295", "71582788.250"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(timetext::msecToSeconds(c.count), c.msec) << c.count;
        EXPECT_EQ(timetext::samplesToSeconds(c.count), c.samples) << c.count;
    }
}

TEST(TimeText, SecondsTextToMilliseconds)
{
    struct Case {
        const char* text;
        int value;
        Status status;
    };
    const Case cases[] = {
        {"1.5", 1500, Status::Ok},
        {"2.05", 2050, Status::Ok},
        {".25", 250, Status::Ok},
        {"0.1234", 123, Status::Ok},
        {"  7 ", 7000, Status::Ok},
        {"3.", 3000, Status::Ok},
        {"", 0, Status::Ok},
        {"   ", 0, Status::Ok},
        {"0.001", 1, Status::Ok},
        {"-1.5", -1500, Status::Ok},
        {"-0.5", -500, Status::Ok},
        {"+2.5", 2500, Status::Ok},
        {"abc", 0, Status::NotNumeric},
        {"1,5", 0, Status::NotNumeric},
        {".", 0, Status::NotNumeric},
        {"1.2.3", 0, Status::NotNumeric},
        {"1e3", 0, Status::NotInteger},
        {"1.5e3", 0, Status::NotInteger},
        {"2147483.647", 2147483647, Status::Ok},
        {"2147484", 0, Status::OutOfRange},
        {"99999999999999999999", 0, Status::OutOfRange},
    };
    for (const auto& c : cases) {
        const auto r = timetext::secondsToMsec(c.text);
        EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(r.status, c.status) << '"' << c.text << '"';
    }
}

TEST(TimeText, SecondsTextToSamples)
{
    struct Case {
        const char* text;
        int value;
        Status status;
    };
    const Case cases[] = {
        {"1.5", 90, Status::Ok},        {"1.016", 60, Status::Ok},      {"1.017", 61, Status::Ok},
        {" 2 ", 120, Status::Ok},       {".5", 30, Status::Ok},         {"-1.5", -90, Status::Ok},
        {"", 0, Status::NotNumeric},    {"abc", 0, Status::NotNumeric}, {"1.50000abc", 0, Status::NotNumeric},
        {"1e3", 0, Status::NotInteger},
    };
    for (const auto& c : cases) {
        const auto r = timetext::secondsToSamples(c.text);
        EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(r.status, c.status) << '"' << c.text << '"';
    }
    // What msecToSeconds writes reads back to the same count.
    for (std::uint32_t ms : {0u, 1u, 999u, 1000u, 61001u, 2147483647u})
        EXPECT_EQ(timetext::secondsToMsec(timetext::msecToSeconds(ms)).value, static_cast<int>(ms)) << ms;
}

TEST(TimeText, NonNumericTextIsReportedInQuotes)
{
    auto& d = testenv::dialogs();
    d.clear();
    bool ok = true;
    EXPECT_EQ(timetext::secA2msec("  abc ", &ok), 0);
    EXPECT_FALSE(ok);
    ASSERT_EQ(d.shown().size(), 1u);
    EXPECT_EQ(d.shown()[0].text, "\"abc\" is not numeric");

    // The exponent form fails without a message; so does every samples failure.
    d.clear();
    EXPECT_EQ(timetext::secA2msec("1e3", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(timetext::secA2samp("abc", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(timetext::secA2msec("1.5", nullptr), 1500);
    EXPECT_EQ(timetext::secA2samp("1.5", &ok), 90);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(d.shown().empty());
}
