#include "frame.h"

#include "crc16.h"

#include <algorithm>
#include <cstring>

namespace frame {

int appendCrc(int position, std::uint8_t* buffer)
{
    const std::uint16_t crc = Crc16Modbus::compute(buffer, static_cast<std::size_t>(position));
    buffer[position] = static_cast<std::uint8_t>(crc & 0xFF);
    buffer[position + 1] = static_cast<std::uint8_t>(crc >> 8);
    return position + 2;
}

int checkCrc(int length, const std::uint8_t* buffer)
{
    if (length <= 3)
        return length;
    const std::uint16_t stored = static_cast<std::uint16_t>(buffer[length - 2] | (buffer[length - 1] << 8));
    return Crc16Modbus::compute(buffer, static_cast<std::size_t>(length - 2)) == stored ? length - 2 : -1;
}

int build(std::uint8_t station, const std::uint8_t* message, int length, std::uint8_t* out)
{
    out[0] = station;
    out[1] = kFrameKind;
    std::memcpy(out + 2, message, static_cast<std::size_t>(length));
    return appendCrc(length + 2, out);
}

Verdict judge(const std::uint8_t* buffer, int count)
{
    if (count < 3)
        return Verdict::NeedMore;
    const bool framed = buffer[1] == kFrameKind;
    const int expected = buffer[2] + kOverhead;
    if (count > 3 && buffer[3] == kRejectType)
        return Verdict::Rejected;
    if (buffer[0] == 'C' && buffer[1] == 'C' && buffer[2] == 'I')
        return Verdict::Gateway;
    if (!framed)
        // The fourth byte may still turn it into a rejection.
        return count > 3 ? Verdict::Unframed : Verdict::NeedMore;
    if (count < expected)
        return Verdict::NeedMore;
    if (count > expected)
        return Verdict::TooLong;
    return checkCrc(count, buffer) < 0 ? Verdict::BadCrc : Verdict::Complete;
}

void FarLine::AnswerEnded(std::int64_t ns, int bytes)
{
    // No line is slower than 300 baud (ten bits a character): a longer spread is a stall on the
    // way, not the line.
    constexpr std::int64_t kSlowestByteNs = 1'000'000'000LL * 10 / 300;
    const int spread = bytes - firstChunk_;
    if (spread < kMinSpread || ns <= beganNs_)
        return;
    const std::int64_t perByte = std::min((ns - beganNs_) / spread, kSlowestByteNs);
    byteNs_ = byteNs_ == 0 ? perByte : std::min(byteNs_, perByte);
}

int FarLine::Ticks(int length, int tickMs) const
{
    if (byteNs_ <= 0 || length <= 0 || tickMs <= 0)
        return 0;
    const std::int64_t tickNs = std::int64_t{tickMs} * 1'000'000;
    return static_cast<int>((byteNs_ * length + tickNs - 1) / tickNs);
}

}  // namespace frame
