#include "streamcount.h"

#include <gtest/gtest.h>

TEST(StreamCount, DisplayTextsByStreamsValue)
{
    using W = streamcount::Words;
    const struct {
        const char* value;
        W words;
        std::optional<QString> text;
    } cases[] = {
        {"0", W::Count, "1-STREAM"},        {"1", W::Count, "2-STREAMS"},          {"2", W::Count, "3-STREAMS"},
        {"3", W::Count, "4-STREAMS"},       {" 3 ", W::Count, "4-STREAMS"},        {"4", W::Count, std::nullopt},
        {"-1", W::Count, std::nullopt},     {"", W::Count, std::nullopt},          {"two", W::Count, std::nullopt},
        {"1.5", W::Count, std::nullopt},    {"0", W::SingleDual, "SINGLE STREAM"}, {"1", W::SingleDual, "DUAL STREAM"},
        {"2", W::SingleDual, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(streamcount::displayText(c.value, c.words), c.text) << c.value;
}
