// The rules the QC form fills its controls with: action-mask digits, point texts into grid cells,
// and 8-bit texts widened.

#include "qcformfill.h"
#include "qcreportframe.h"

#include <gtest/gtest.h>
#include <QTableWidget>

using namespace qcreport;

namespace {

TEST(QCFormFill, MaskDigitsAreTheHighestSetOutputBit)
{
    const struct {
        const char* mask;
        const char* relay;
        const char* solenoid;
    } cases[] = {
        {"0", "", ""},      {"1", "1", ""},      {"3", "2", ""},    {"32", "6", ""},
        {"64", "", ""},     {"255", "6", ""},    {"256", "", "1"},  {"768", "", "2"},
        {"32768", "", "8"}, {"33025", "1", "8"}, {" 12 ", "4", ""}, {"-1", "6", "8"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RelayMaskDigit(c.mask), c.relay) << c.mask;
        EXPECT_EQ(SolenoidMaskDigit(c.mask), c.solenoid) << c.mask;
    }
    for (const char* bad : {"", "0x10", "12a", "99999999999"}) {
        EXPECT_THROW(RelayMaskDigit(bad), QCConversionError) << bad;
        EXPECT_THROW(SolenoidMaskDigit(bad), QCConversionError) << bad;
    }
}

TEST(QCFormFill, PointTextsFillTheValueColumn)
{
    QTableWidget grid(3, 2);
    const std::map<int, std::string> points = {{10, "255"}, {11, "caf\xE9"}, {12, ""}, {13, "-1"}, {14, "abc"}};
    const PointTextReader read = [&](int id) { return points.at(id); };

    SetGridCellFromPoint(&grid, read, 10, 0, true, true);
    EXPECT_EQ(grid.item(0, 1)->text(), "000000FF");
    EXPECT_FALSE(grid.item(0, 1)->flags() & Qt::ItemIsEditable);
    SetGridCellFromPoint(&grid, read, 11, 1, false, false);
    EXPECT_EQ(grid.item(1, 1)->text(), QString::fromUtf8("café"));
    EXPECT_TRUE(grid.item(1, 1)->flags() & Qt::ItemIsEditable);
    // An empty text leaves the cell as it was, read-only state included.
    SetGridCellFromPoint(&grid, read, 12, 0, true, false);
    EXPECT_EQ(grid.item(0, 1)->text(), "000000FF");
    EXPECT_FALSE(grid.item(0, 1)->flags() & Qt::ItemIsEditable);
    SetGridCellFromPoint(&grid, read, 13, 5, true, false);
    EXPECT_EQ(grid.rowCount(), 6);
    EXPECT_EQ(grid.item(5, 1)->text(), "FFFFFFFF");
    EXPECT_THROW(SetGridCellFromPoint(&grid, read, 14, 2, true, false), QCConversionError);
    EXPECT_EQ(grid.item(2, 1), nullptr);
}

// A version point is 32 unsigned bits: every value the unit can hold shows as eight hex digits.
TEST(QCFormFill, VersionsOfAllThirtyTwoBitsShowAsEightHexDigits)
{
    QTableWidget grid(1, 2);
    std::string text;
    const PointTextReader read = [&](int) { return text; };
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"386143255", "17041417"},  {"10", "0000000A"},          {"2147483648", "80000000"}, {"3000000000", "B2D05E00"},
        {"4294967295", "FFFFFFFF"}, {"-2147483648", "80000000"}, {" +7 ", "00000007"},       {"-1", "FFFFFFFF"},
    };
    for (const auto& c : cases) {
        text = c.text;
        SetGridCellFromPoint(&grid, read, 507, 0, true, true);
        EXPECT_EQ(grid.item(0, 1)->text(), c.shown) << c.text;
    }
    for (const char* bad : {"4294967296", "-2147483649", "1e3", "0x10"}) {
        text = bad;
        EXPECT_THROW(SetGridCellFromPoint(&grid, read, 507, 0, true, true), QCConversionError) << bad;
    }
}

TEST(QCFormFill, AnsiTextsWidenToUtf16UpToTheTerminator)
{
    EXPECT_EQ(AnsiToWide(""), QString());
    EXPECT_EQ(AnsiToWide("Customer"), "Customer");
    EXPECT_EQ(AnsiToWide("\xB0"
                         "C \xE9"),
              QString::fromUtf8("°C é"));
    EXPECT_EQ(AnsiToWide(std::string("abc\0def", 7)), "abc");
}

}  // namespace
