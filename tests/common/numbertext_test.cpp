// The two rules by which numbers are read from texts, each as one table: the toolkit's whole-text
// conversions and the C library's reading of a leading number.
#include "numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Two doubles are the same reading when both are NaN or both are equal.
::testing::AssertionResult sameReading(const std::optional<double>& got, const std::optional<double>& want)
{
    if (got.has_value() != want.has_value() || (got && !(*got == *want || (std::isnan(*got) && std::isnan(*want)))))
        return ::testing::AssertionFailure() << (got ? std::to_string(*got) : "nothing");
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(NumberText, TheToolkitsConversionsTakeTheWholeText)
{
    const std::optional<std::int64_t> no;
    const std::optional<double> none;
    struct Case {
        const char* text;
        std::optional<std::int64_t> int64;  // StrToInt64; StrToInt the same within 32 bits
        std::optional<double> floating;     // StrToFloat
    } cases[] = {
        {"12", 12, 12.0},
        {" \t12\r\n", 12, 12.0},
        {"\v7\f", 7, 7.0},
        {"+12", 12, 12.0},
        {"-12", -12, -12.0},
        {"-0", 0, -0.0},
        {"007", 7, 7.0},
        {"+-1", no, none},
        {"--1", no, none},
        {"+", no, none},
        {"-", no, none},
        {"", no, none},
        {"   ", no, none},
        {"12a", no, none},
        {"1 2", no, none},
        {"+ 5", no, none},
        {"$1F", no, none},
        {"0x1F", no, none},
        {"1.5", no, 1.5},
        {".5", no, 0.5},
        {"5.", no, 5.0},
        {"-.5", no, -0.5},
        {".", no, none},
        {"1,5", no, none},
        {"1,000", no, none},
        {"1e3", no, 1000.0},
        {"1E-3", no, 0.001},
        {"1e+3", no, 1000.0},
        {"1e", no, none},
        {"1.2.3", no, none},
        {"1e999", no, none},
        {"inf", no, kInf},
        {"-INF", no, -kInf},
        {"NAN", no, std::nan("")},
        {"2147483647", 2147483647, 2147483647.0},
        {"2147483648", 2147483648LL, 2147483648.0},
        {"-2147483648", -2147483648LL, -2147483648.0},
        {"-2147483649", -2147483649LL, -2147483649.0},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max(), 9223372036854775807.0},
        {"99999999999999999999", no, 1e20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString q = QString::fromLatin1(c.text);
        EXPECT_EQ(numtext::tryStrToInt64(c.text), c.int64);
        EXPECT_EQ(numtext::tryStrToInt64(q), c.int64);
        const bool inInt = c.int64 && *c.int64 >= INT32_MIN && *c.int64 <= INT32_MAX;
        EXPECT_EQ(numtext::tryStrToInt(c.text), inInt ? std::optional<int>(int(*c.int64)) : std::nullopt);
        EXPECT_EQ(numtext::tryStrToInt(q), numtext::tryStrToInt(c.text));
        EXPECT_TRUE(sameReading(numtext::tryStrToFloat(c.text), c.floating));
        EXPECT_TRUE(sameReading(numtext::tryStrToFloat(q), c.floating));
        const bool finite = c.floating && std::isfinite(*c.floating);
        EXPECT_TRUE(sameReading(numtext::tryStrToFiniteFloat(q), finite ? c.floating : none));
    }
    // A QString also loses the white space Qt knows beyond ASCII.
    EXPECT_EQ(numtext::tryStrToInt(QStringLiteral("\u00a012\u2003")), 12);
    EXPECT_EQ(numtext::tryStrToInt(QStringLiteral("1\u0663")), std::nullopt);
}

TEST(NumberText, TheRaisingConversionsNameTheText)
{
    EXPECT_EQ(numtext::StrToInt(" 42 "), 42);
    EXPECT_EQ(numtext::StrToInt64("4294967295"), 4294967295LL);
    EXPECT_EQ(numtext::StrToFloat("2.5"), 2.5);
    const struct {
        std::function<void()> convert;
        const char* message;
    } failures[] = {
        {[] { numtext::StrToInt("12a"); }, "'12a' is not a valid integer value"},
        {[] { numtext::StrToInt("2147483648"); }, "'2147483648' is not a valid integer value"},
        {[] { numtext::StrToInt64(""); }, "'' is not a valid integer value"},
        {[] { numtext::StrToFloat("1,5"); }, "'1,5' is not a valid floating point value"},
    };
    for (const auto& f : failures) {
        try {
            f.convert();
            ADD_FAILURE() << f.message;
        } catch (const numtext::ConversionError& e) {
            EXPECT_STREQ(e.what(), f.message);
        }
    }
}

TEST(NumberText, TheCLibraryReadsTheLeadingNumber)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    struct Case {
        const char* text;
        std::int64_t strtol;
        double strtod;
    } cases[] = {
        {"12.3456", 12, 12.3456},
        {"  -3.5e2x", -3, -350},
        {"\t+7 apples", 7, 7},
        {"12,5", 12, 12},
        {"abc", 0, 0},
        {"", 0, 0},
        {"-", 0, 0},
        {"+-7", 0, 0},
        {"- 7", 0, 0},
        {".5", 0, 0.5},
        {"1e", 1, 1},
        {"0x10", 0, 0},
        {"4294967295", 4294967295LL, 4294967295.0},
        {"-1", -1, -1},
        {"99999999999999999999", kMax, 1e20},
        {"-99999999999999999999", kMin, -1e20},
        {"1e999", 1, kInf},
        {"-1e999x", -1, -kInf},
        {"1e-999", 1, 0},
        {"1e999-", 1, kInf},
        {"inf", 0, kInf},
        {"nan", 0, std::nan("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(numtext::cStrtol(c.text), c.strtol);
        EXPECT_EQ(numtext::cStrtol(QString::fromLatin1(c.text)), c.strtol);
        EXPECT_TRUE(sameReading(numtext::cStrtod(c.text), c.strtod));
        EXPECT_TRUE(sameReading(numtext::cStrtod(QString::fromLatin1(c.text)), c.strtod));
    }
}
