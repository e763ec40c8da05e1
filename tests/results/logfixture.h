#pragma once

#include "logframeparser.h"
#include "memoryimage.h"

#include <array>
#include <cmath>
#include <cstdint>

// The log configuration the log tests download against (point types from the register map):
//   log 0, id 0x11: Stream (392, one byte), Run Number (393, one byte), Stream 1: Gain (21, float)
//   log 1, id 0x22: Time (proprietary) (388, type 19, four bytes), Stream 1: Gain (float)
//   log 2, id 0xDE: Purge Time (10, two bytes), Total Run Counter (29, four bytes)
//   log 3, id 0x44: the time stamp alone
//   log 4, id 0x11: same id as log 0, so it never receives a frame
//   log 5, id 0x66: the sixth log, never downloaded
namespace logfixture {

using memimage::Bytes;

inline std::array<LogConfigEntry, 6> entries()
{
    std::array<LogConfigEntry, 6> e{};
    e[0] = {0x11, 4, {0, 392, 393, 21}};
    e[1] = {0x22, 3, {0, 388, 21}};
    e[2] = {0xDE, 3, {0, 10, 29}};
    e[3] = {0x44, 1, {0}};
    e[4] = {0x11, 2, {0, 21}};
    e[5] = {0x66, 2, {0, 21}};
    return e;
}

inline LogFrameLayout layout(char decimalSeparator = '.')
{
    const auto e = entries();
    return LogFrameLayout::Build(e.data(), e.size(), RegisterMapPointType, decimalSeparator);
}

// A stand-in for the toolkit conversion: distinct, and easy to check.
inline double tokenDate(std::uint32_t token)
{
    return token / 1000.0;
}

inline Bytes log0(std::uint32_t token, std::uint8_t stream, std::uint8_t run, float gain)
{
    Bytes v{stream, run};
    memimage::putFloat(v, gain);
    return memimage::logFrame(0x11, memimage::logPayload(token, v));
}

inline Bytes log1(std::uint32_t token, std::uint32_t time, float gain)
{
    Bytes v;
    memimage::putU32(v, time);
    memimage::putFloat(v, gain);
    return memimage::logFrame(0x22, memimage::logPayload(token, v));
}

inline Bytes log2(std::uint32_t token, std::uint16_t purge, std::uint32_t runs)
{
    Bytes v;
    memimage::putU16(v, purge);
    memimage::putU32(v, runs);
    return memimage::logFrame(0xDE, memimage::logPayload(token, v));
}

}  // namespace logfixture
