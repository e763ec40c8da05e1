// The discrete inputs' masks as data: which bit each box stands for, and the texts a click hands
// to the database.
#include "inputmasks.h"

#include <gtest/gtest.h>

using namespace inputmasks;

TEST(InputMasks, RunSelectorBitsFollowStreamAndRunType)
{
    // Rows: run types H2S, TS, Ref1, Ref2, Zero, Cal; columns: streams 1 to 4.
    const int bits[6][4] = {{0, 6, 12, 18}, {1, 7, 13, 19},  {2, 8, 14, 20},
                            {3, 9, 15, 21}, {4, 10, 16, 22}, {5, 11, 17, 23}};
    const char* prefixes[6] = {"chkRunSelectorSNR",  "chkRunSelectorSTS", "chkRunSelectorSRR",
                               "chkRunSelectorSRR2", "chkRunSelectorSZR", "chkRunSelectorSCR"};
    const char* captions[6] = {"H2S Reading",  "TS Reading",   "Ref1 Reading",
                               "Ref2 Reading", "Zero Reading", "Cal Reading"};
    for (int k = 0; k < 6; ++k)
        for (int s = 1; s <= 4; ++s) {
            EXPECT_EQ(analyzer::runMaskBit(s, k), bits[k][s - 1]) << "stream " << s << " run type " << k;
            EXPECT_EQ(runSelectorBoxName(s, k, 7), prefixes[k] + std::to_string(s) + "_7");
            EXPECT_EQ(runSelectorCaption(s, k), "Stream " + std::to_string(s) + " " + captions[k]);
        }
    EXPECT_EQ(runSelectorBoxName(3, 5, 2), "chkRunSelectorSCR3_2");
    EXPECT_EQ(analyzer::runMaskBit(3, 5), 17);
}

TEST(InputMasks, ActionBitsAreRelaysThenSolenoidsFromBitEight)
{
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(analyzer::relayBit(r), r - 1);
    for (int s = 1; s <= 8; ++s)
        EXPECT_EQ(analyzer::solenoidBit(s), s + 7);
    EXPECT_EQ(relayBoxName(6, 1), "chkDIAR6_1");
    EXPECT_EQ(solenoidBoxName(8, 5), "chkDIAS8_5");
}

TEST(InputMasks, ClickTextsSetOrClearOneBit)
{
    struct Case {
        int width;
        int bit;
        bool checked;
        const char* text;
    };
    const Case cases[] = {
        {32, 0, true, "1"},   {32, 0, false, "4294967294"}, {32, 23, true, "8388608"}, {32, 23, false, "4286578687"},
        {16, 0, true, "1"},   {16, 0, false, "65534"},      {16, 15, true, "32768"},   {16, 15, false, "32767"},
        {16, 8, true, "256"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clickText(c.width, c.bit, c.checked), c.text) << c.width << " bit " << c.bit << " " << c.checked;
}

TEST(InputMasks, BitOfReadsSignedAndUnsignedTexts)
{
    EXPECT_TRUE(bitOf("-1", 31));
    EXPECT_TRUE(bitOf("4294967295", 23));
    EXPECT_FALSE(bitOf("4286578687", 23));
    EXPECT_TRUE(bitOf("256", 8));
    EXPECT_FALSE(bitOf("", 0));
    EXPECT_FALSE(bitOf("x1", 0));
}

TEST(InputMasks, PagesListSixPointsPerInputThenStreams)
{
    const std::vector<int> dry = scanList(kDryPage);
    ASSERT_EQ(dry.size(), 25u);
    EXPECT_EQ(std::vector<int>(dry.begin(), dry.begin() + 6), (std::vector<int>{264, 263, 533, 540, 442, 265}));
    EXPECT_EQ(std::vector<int>(dry.begin() + 18, dry.end()), (std::vector<int>{273, 272, 536, 543, 458, 274, 20}));
    const std::vector<int> wet = scanList(kWetPage);
    ASSERT_EQ(wet.size(), 25u);
    EXPECT_EQ(std::vector<int>(wet.begin(), wet.begin() + 6), (std::vector<int>{974, 971, 973, 972, 976, 975}));
    EXPECT_EQ(std::vector<int>(wet.begin() + 18, wet.end()), (std::vector<int>{992, 989, 991, 990, 994, 993, 20}));
    EXPECT_EQ(kDryPage.scanPage, 4);
    EXPECT_EQ(kWetPage.scanPage, 13);
}
