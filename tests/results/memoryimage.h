#pragma once

// Builds log memory and event memory the way the unit writes it: CRC-16/MODBUS over the
// unescaped bytes, then every 0xDE after the start byte stored as 0xDE 0xAD.

#include "crc16.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace memimage {

using Bytes = std::vector<std::uint8_t>;

inline void appendEscaped(Bytes& out, std::uint8_t byte)
{
    out.push_back(byte);
    if (byte == 0xDE)
        out.push_back(0xAD);
}

inline void putU16(Bytes& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void putU32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void putFloat(Bytes& b, float f)
{
    std::uint32_t v;
    std::memcpy(&v, &f, sizeof v);
    putU32(b, v);
}

// The payload of a log frame: the time stamp, then the value bytes as given.
inline Bytes logPayload(std::uint32_t token, const Bytes& values = {})
{
    Bytes p;
    putU32(p, token);
    p.insert(p.end(), values.begin(), values.end());
    return p;
}

// One log frame. `lengthByte` < 0 takes the true length; `crcDelta` spoils the CRC.
inline Bytes logFrame(std::uint8_t logId, const Bytes& payload, int lengthByte = -1, std::uint16_t crcDelta = 0)
{
    Bytes covered{logId, static_cast<std::uint8_t>(lengthByte < 0 ? payload.size() + 2 : lengthByte)};
    covered.insert(covered.end(), payload.begin(), payload.end());
    const std::uint16_t crc =
        static_cast<std::uint16_t>(Crc16Modbus::compute(covered.data(), covered.size()) ^ crcDelta);
    Bytes out{0xDE};
    for (std::uint8_t b : covered)
        appendEscaped(out, b);
    appendEscaped(out, static_cast<std::uint8_t>(crc & 0xFF));
    appendEscaped(out, static_cast<std::uint8_t>(crc >> 8));
    return out;
}

// One event frame: 0xDE, token, type, sub-code, condition, CRC low, CRC high.
inline Bytes eventFrame(std::uint32_t token, std::uint8_t type, std::uint8_t subCode, std::uint8_t condition,
                        std::uint16_t crcDelta = 0)
{
    Bytes data;
    putU32(data, token);
    data.push_back(type);
    data.push_back(subCode);
    data.push_back(condition);
    const std::uint16_t crc = static_cast<std::uint16_t>(Crc16Modbus::compute(data.data(), data.size()) ^ crcDelta);
    Bytes out{0xDE};
    for (std::uint8_t b : data)
        appendEscaped(out, b);
    appendEscaped(out, static_cast<std::uint8_t>(crc & 0xFF));
    appendEscaped(out, static_cast<std::uint8_t>(crc >> 8));
    return out;
}

inline Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The unit's packed clock: year - 2000, month, day, hour, minute, second from bit 31 down.
constexpr std::uint32_t token(int year, int month, int day, int hour, int minute, int second)
{
    return (static_cast<std::uint32_t>(year - 2000) << 26) | (static_cast<std::uint32_t>(month) << 22) |
           (static_cast<std::uint32_t>(day) << 17) | (static_cast<std::uint32_t>(hour) << 12) |
           (static_cast<std::uint32_t>(minute) << 6) | static_cast<std::uint32_t>(second);
}

}  // namespace memimage
