// The analog input calibration's arithmetic and checks, without a window.
#include "aicalmath.h"

#include "floatformat.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

constexpr aicalmath::Points kPoints{1498, 1499, 1496, 1497, 1502, 1503};

std::string text(float value)
{
    return floatfmt::toolkitText(static_cast<double>(value));
}

}  // namespace

TEST(AICalMath, TheLineThroughTwoCapturedPointsIsHeldInSinglePrecision)
{
    struct Case {
        double rawZero, rawSpan, scaledZero, scaledSpan;
        const char* gain;
        const char* offset;  // null: checked apart
    };
    const Case cases[] = {
        {13107, 52428, 4, 20, "0.000406907260185108", "-1.33333349227905"},
        {10000, 50000, 4, 20, "0.00039999998989515", nullptr},
        // Captured the other way round: the same line, its offset taken from the other end.
        {52428, 13107, 20, 4, "0.000406907260185108", "-1.33333384990692"},
        {0, 65535, 0, 20, "0.000305180437862873", "0"},
    };
    for (const Case& c : cases) {
        const std::optional<aicalmath::Line> line = aicalmath::line(c.rawZero, c.rawSpan, c.scaledZero, c.scaledSpan);
        ASSERT_TRUE(line) << c.rawZero << " " << c.rawSpan;
        EXPECT_EQ(text(line->gain), c.gain) << c.rawZero << " " << c.rawSpan;
        if (c.offset) {
            EXPECT_EQ(text(line->offset), c.offset) << c.rawZero << " " << c.rawSpan;
        }
    }
    // 0.0004 is not a single-precision number: the offset comes out near 1E-7, not 0.
    const auto off = aicalmath::line(10000, 50000, 4, 20);
    EXPECT_NE(off->offset, 0.0f);
    EXPECT_LT(std::fabs(off->offset), 1e-6f);

    EXPECT_FALSE(aicalmath::line(20000, 20000, 4, 20)) << "one point gives no line";
}

TEST(AICalMath, APlanSendsBothPairsThenTheLineInTheUnitsOrder)
{
    const aicalmath::Plan plan = aicalmath::plan({"4", " 20 ", "13107", "52428"}, kPoints);
    ASSERT_TRUE(plan.refusal.isEmpty()) << plan.refusal.toStdString();
    ASSERT_EQ(plan.writes.size(), 6u);
    const std::pair<int, std::string> expected[] = {{1498, "4"},
                                                    {1499, "20"},
                                                    {1496, "13107"},
                                                    {1497, "52428"},
                                                    {1502, "0.000406907260185108"},
                                                    {1503, "-1.33333349227905"}};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(plan.writes[i].pointId, expected[i].first) << i;
        EXPECT_EQ(plan.writes[i].text, expected[i].second) << i;
    }
}

TEST(AICalMath, AValueThatCannotBeWrittenRefusesTheWholeCalibration)
{
    struct Case {
        aicalmath::Boxes boxes;
        const char* refusal;
    };
    const Case cases[] = {
        {{"abc", "20", "13107", "52428"}, "Scaled Zero: 'abc' is not a valid floating point value."},
        {{"4", "", "13107", "52428"}, "Scaled Span: "},
        {{"4", "30", "13107", "52428"}, "Scaled Span: "},  // outside the box's 3 to 23
        {{"4", "20", "1.5", "52428"}, "Raw Zero: '1.5' is not a valid integer value."},
        {{"4", "20", "13107", "70000"}, "Raw Span: "},  // beyond the point's 16 bits
        {{"4", "20", "13107", "-1"}, "Raw Span: "},
        {{"4", "20", "20000", "20000"}, "The raw zero and the raw span are both 20000"},
    };
    for (const Case& c : cases) {
        const aicalmath::Plan plan = aicalmath::plan(c.boxes, kPoints);
        EXPECT_TRUE(plan.writes.empty()) << c.refusal;
        EXPECT_TRUE(plan.refusal.startsWith(QString::fromLatin1(c.refusal))) << plan.refusal.toStdString();
        EXPECT_TRUE(plan.refusal.endsWith("The calibration was not written.")) << plan.refusal.toStdString();
    }
}

TEST(AICalMath, LiveRatioAndCurrentTexts)
{
    EXPECT_EQ(aicalmath::ratioPercentText("0.999"), QString("99"));
    EXPECT_EQ(aicalmath::ratioPercentText("1"), QString("100"));
    EXPECT_EQ(aicalmath::ratioPercentText("0"), QString("0"));
    EXPECT_FALSE(aicalmath::ratioPercentText(""));
    EXPECT_FALSE(aicalmath::ratioPercentText("NAN"));

    EXPECT_EQ(aicalmath::currentText("12.346"), "12.35");
    EXPECT_EQ(aicalmath::currentText("4"), "4.00");
    EXPECT_EQ(aicalmath::currentText(""), "0.00");
    EXPECT_EQ(aicalmath::currentText("abc"), "0.00");
}

TEST(AICalMath, APartWrittenCalibrationNamesWhatArrivedAndWhatDidNot)
{
    const aicalmath::Plan plan = aicalmath::plan({"4", "20", "13107", "52428"}, kPoints);
    EXPECT_EQ(aicalmath::partialWriteText("Analog Input 2 Calibration", plan.writes, 2),
              "The calibration of Analog Input 2 Calibration was not completed.\n"
              "Written: Scaled Zero, Scaled Span.\n"
              "Not written: Raw Zero, Raw Span, Scaling Factor, Zero Offset.");
    EXPECT_EQ(aicalmath::partialWriteText("Analog Input 1 Calibration", plan.writes, 0),
              "The calibration of Analog Input 1 Calibration was not completed.\n"
              "Written: nothing.\n"
              "Not written: Scaled Zero, Scaled Span, Raw Zero, Raw Span, Scaling Factor, Zero Offset.");
}
