#include "floatformat.h"

#include <gtest/gtest.h>
#include <clocale>
#include <cmath>
#include <limits>

TEST(ToolkitText, MatchesTheToolkitsGeneralFormat)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {1, "1"},
        {-2.5, "-2.5"},
        {123.456, "123.456"},
        {0.1, "0.1"},
        {0.00001, "0.00001"},
        {1e-6, "1E-6"},
        {static_cast<double>(9.99999974737875E-6f), "9.99999974737875E-6"},
        {static_cast<double>(0.1f), "0.100000001490116"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {-1.5e20, "-1.5E20"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(floatfmt::toolkitText(c.value), c.text) << c.value;
    EXPECT_EQ(floatfmt::toolkitText(2.5, ','), "2,5");
}

TEST(FormatFlt, PrecisionFollowsMagnitude)
{
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {123.456f, "123.46"},
        {12.3456f, "12.346"},
        {1.5f, "1.5000"},
        {0.5f, "0.50000"},
        {-250.f, "-250.00"},
        {100.f, "100.000"},
        {10.f, "10.0000"},
        {1.f, "1.00000"},
        {0.f, "0"},
        {std::numeric_limits<float>::infinity(), "NAN"},
        {std::numeric_limits<float>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(floatfmt::formatFlt(c.value), c.text) << c.value;
}

TEST(FormatFlt, IgnoresTheProcessLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE locale not installed";
    EXPECT_EQ(floatfmt::formatFlt(1.5f), "1.5000");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(IsValidFlt, RejectsTheTwoTopExponents)
{
    EXPECT_TRUE(floatfmt::isValidFlt(0.f));
    EXPECT_TRUE(floatfmt::isValidFlt(-3.25f));
    EXPECT_TRUE(floatfmt::isValidFlt(std::ldexp(1.f, 126) * 1.99f));
    EXPECT_FALSE(floatfmt::isValidFlt(std::ldexp(1.f, 127)));
    EXPECT_FALSE(floatfmt::isValidFlt(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(floatfmt::isValidFlt(std::numeric_limits<float>::quiet_NaN()));
}
