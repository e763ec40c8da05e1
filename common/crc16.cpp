#include "crc16.h"

#include <array>

namespace {
constexpr std::array<std::uint16_t, 256> makeTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t c = static_cast<std::uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? static_cast<std::uint16_t>((c >> 1) ^ 0xA001) : static_cast<std::uint16_t>(c >> 1);
        table[i] = c;
    }
    return table;
}
constexpr auto kTable = makeTable();
}  // namespace

std::uint16_t Crc16Modbus::compute(const std::uint8_t* data, std::size_t length, std::uint16_t crc)
{
    for (std::size_t i = 0; i < length; ++i)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ kTable[(crc ^ data[i]) & 0xFF]);
    return crc;
}
