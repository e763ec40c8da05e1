#include "frame.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<std::uint8_t> framed(std::uint8_t station, std::vector<std::uint8_t> message)
{
    std::vector<std::uint8_t> out(frame::kFrameBufferSize);
    out.resize(static_cast<std::size_t>(frame::build(station, message.data(), int(message.size()), out.data())));
    return out;
}

TEST(Frame, RebootRequestToStationSevenAndToAll)
{
    EXPECT_EQ(framed(7, {0x02, 0x0E}), (std::vector<std::uint8_t>{0x07, 0x12, 0x02, 0x0E, 0x21, 0xF1}));
    const auto all = framed(0xFF, {0x02, 0x0E});
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[0], 0xFF);
    EXPECT_EQ(frame::checkCrc(6, all.data()), 4);
}

TEST(Frame, CheckCrc)
{
    const std::uint8_t good[] = {0x07, 0x12, 0x02, 0x0E, 0x21, 0xF1};
    EXPECT_EQ(frame::checkCrc(6, good), 4);
    const std::uint8_t bad[] = {0x07, 0x12, 0x02, 0x0E, 0xF1, 0x21};
    EXPECT_EQ(frame::checkCrc(6, bad), -1);
    // Too short to carry a CRC: returned unchanged and counted as good.
    EXPECT_EQ(frame::checkCrc(3, bad), 3);
    EXPECT_EQ(frame::checkCrc(0, bad), 0);
}

struct JudgeCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    frame::Verdict verdict;
};

class FrameJudge : public ::testing::TestWithParam<JudgeCase> {};

TEST_P(FrameJudge, Verdict)
{
    const JudgeCase& c = GetParam();
    EXPECT_EQ(frame::judge(c.bytes.data(), int(c.bytes.size())), c.verdict);
}

const std::vector<std::uint8_t> kAnswer = framed(1, {0x02, 0x0F});

std::vector<std::uint8_t> prefix(const std::vector<std::uint8_t>& v, std::size_t n)
{
    return {v.begin(), v.begin() + long(n)};
}

std::vector<std::uint8_t> withByte(std::vector<std::uint8_t> v, std::uint8_t b)
{
    v.push_back(b);
    return v;
}

std::vector<std::uint8_t> spoilt(std::vector<std::uint8_t> v)
{
    v.back() ^= 0x01;
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameJudge,
    ::testing::Values(JudgeCase{"Empty", {}, frame::Verdict::NeedMore},
                      JudgeCase{"TwoBytes", {0x01, 0x12}, frame::Verdict::NeedMore},
                      JudgeCase{"HeaderOnly", prefix(kAnswer, 3), frame::Verdict::NeedMore},
                      JudgeCase{"AllButLast", prefix(kAnswer, 5), frame::Verdict::NeedMore},
                      JudgeCase{"Complete", kAnswer, frame::Verdict::Complete},
                      JudgeCase{"OneTooMany", withByte(kAnswer, 0), frame::Verdict::TooLong},
                      JudgeCase{"BadCrc", spoilt(kAnswer), frame::Verdict::BadCrc},
                      // A rejection is known from its fourth byte; the rest is not awaited.
                      JudgeCase{"RejectedAtFourthByte", {0x01, 0x12, 0x02, 0xFF}, frame::Verdict::Rejected},
                      JudgeCase{"Gateway", {'C', 'C', 'I'}, frame::Verdict::Gateway},
                      JudgeCase{"GatewayList", {'C', 'C', 'I', 'C', 'g', ','}, frame::Verdict::Gateway},
                      JudgeCase{"UnframedWaitsForFourthByte", {0x01, 0x13, 0x02}, frame::Verdict::NeedMore},
                      JudgeCase{"Unframed", {0x01, 0x13, 0x02, 0x0F}, frame::Verdict::Unframed},
                      JudgeCase{"UnframedRejection", {0x01, 0x13, 0x02, 0xFF}, frame::Verdict::Rejected}),
    [](const ::testing::TestParamInfo<JudgeCase>& info) { return std::string(info.param.name); });

// The line behind a TCP link, as the answers' pace shows it. Times in nanoseconds; 1,041,667 ns
// a byte is a 9600-baud line.
TEST(FarLine, LearnsTheLeastByteTimeOfAnswersThatSpreadAndAllowsForAFrame)
{
    constexpr std::int64_t ms = 1'000'000;
    frame::FarLine line;
    // Answers that come whole, or nearly so, teach nothing: nothing is allowed.
    line.AnswerBegan(0, 90);
    line.AnswerEnded(1 * ms, 90);
    line.AnswerBegan(0, 85);
    line.AnswerEnded(50 * ms, 90);
    EXPECT_EQ(line.Ticks(234, 55), 0);

    // 80 bytes over 83.3 ms after the first chunk: 9600 baud. A slower-looking answer (a stall on
    // the way) does not lengthen it, a stall beyond any line is taken as 300 baud at most.
    line.AnswerBegan(0, 10);
    line.AnswerEnded(83'333'360, 90);
    line.AnswerBegan(0, 10);
    line.AnswerEnded(400 * ms, 90);
    EXPECT_EQ(line.ByteNs(), 1'041'667);
    EXPECT_EQ(line.Ticks(234, 55), 5) << "244 ms, rounded up to whole ticks";
    EXPECT_EQ(line.Ticks(6, 55), 1);

    line.Reset();
    line.AnswerBegan(0, 1);
    line.AnswerEnded(60'000 * ms, 10);
    EXPECT_EQ(line.ByteNs(), 33'333'333);
}

}  // namespace
