#include "crc16.h"

#include <gtest/gtest.h>

TEST(Crc16Modbus, KnownVectors)
{
    const std::uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16Modbus::compute(check, sizeof check), 0x4B37);
    EXPECT_EQ(Crc16Modbus::compute(nullptr, 0), 0xFFFF);
    // Fed in two pieces, the result is the same as in one.
    const auto first = Crc16Modbus::compute(check, 4);
    EXPECT_EQ(Crc16Modbus::compute(check + 4, 5, first), 0x4B37);
}
