#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/MODBUS (initial 0xFFFF, reflected polynomial 0xA001): the wire frame, the log frames
// and the event records all use it.
class Crc16Modbus {
public:
    static std::uint16_t compute(const std::uint8_t* data, std::size_t length, std::uint16_t crc = 0xFFFF);
};
