#pragma once

#include <cstddef>
#include <cstdint>

// The unit's frame: [station][0x12][message (L bytes, L = its first byte)][CRC low][CRC high],
// the CRC-16/MODBUS covering everything before it.
namespace frame {

constexpr std::uint8_t kFrameKind = 0x12;
constexpr std::uint8_t kAllStations = 0xFF;
constexpr std::uint8_t kRejectType = 0xFF;
constexpr int kMaxMessage = 255;
constexpr int kOverhead = 4;
constexpr int kMaxFrame = kMaxMessage + kOverhead;
// Buffer sizes of the engine.
constexpr int kReceiveBufferSize = 1024;
constexpr int kReplyAreaSize = 523;
constexpr int kTransmitAreaSize = 512;
constexpr int kFrameBufferSize = 268;

// Stores the CRC of the first position bytes at position (low byte first); returns position + 2.
int appendCrc(int position, std::uint8_t* buffer);

// length - 2 when the last two bytes (little-endian) are the CRC of the bytes before them,
// -1 when not; a length of 3 or less is returned unchanged.
int checkCrc(int length, const std::uint8_t* buffer);

// Builds the frame of a message into out (kFrameBufferSize bytes); returns the frame length.
int build(std::uint8_t station, const std::uint8_t* message, int length, std::uint8_t* out);

// What the bytes gathered so far for an answer amount to.
enum class Verdict {
    NeedMore,  // incomplete: wait for more bytes
    Rejected,  // the unit refused the request (answer type 0xFF); the rest is not awaited
    Gateway,   // a gateway text reply beginning "CCI"
    TooLong,   // more bytes than the frame's length says: garbage
    Unframed,  // not a frame of the unit (its second byte is not 0x12): garbage
    BadCrc,    // the expected length, but the CRC does not match
    Complete,  // a whole frame with a good CRC
};

// Judges the gathered bytes in the engine's order: length, rejection, gateway text, size, CRC.
Verdict judge(const std::uint8_t* buffer, int count);

// The serial line at the far end of a TCP link (a serial server in front of the unit), as the
// unit's answers show it: their bytes after the first chunk trickle in at the line's speed. Its
// byte time is the least seen (delays on the way only ever stretch an answer); unknown (0) until
// an answer has spread over enough bytes, and then the time-out of a frame allows for the line to
// carry the frame to the unit. A link whose answers come whole learns nothing and allows nothing.
class FarLine {
public:
    // Bytes after the first chunk an answer must spread over to be measured.
    static constexpr int kMinSpread = 8;

    void Reset() { byteNs_ = 0; }
    void AnswerBegan(std::int64_t ns, int firstChunkBytes)
    {
        beganNs_ = ns;
        firstChunk_ = firstChunkBytes;
    }
    void AnswerEnded(std::int64_t ns, int bytes);
    std::int64_t ByteNs() const { return byteNs_; }
    // Timer ticks of tickMs the line needs to carry length bytes: 0 while unknown, else rounded up.
    int Ticks(int length, int tickMs) const;

private:
    std::int64_t byteNs_ = 0;
    std::int64_t beganNs_ = 0;
    int firstChunk_ = 0;
};

}  // namespace frame
