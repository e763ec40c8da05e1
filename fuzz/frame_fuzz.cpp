// Frame judging and the receive path: bytes arriving from the port in pieces of any size are
// gathered, judged after each piece as the engine does, and a complete frame's message is taken
// into the reply area. Also: every message framed by the engine is judged complete.
#include "frame.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte sets the size of the pieces the port hands over (1..16).
    const std::size_t piece = (data[0] & 0x0F) + 1;
    ++data;
    --size;

    std::array<std::uint8_t, frame::kReceiveBufferSize> receive{};
    std::array<std::uint8_t, frame::kReplyAreaSize> reply{};
    int count = 0;
    for (std::size_t at = 0; at < size; at += piece) {
        const std::size_t n = std::min(piece, size - at);
        if (count + static_cast<int>(n) > frame::kReceiveBufferSize)
            count = 0;
        std::memcpy(receive.data() + count, data + at, n);
        count += static_cast<int>(n);
        switch (frame::judge(receive.data(), count)) {
        case frame::Verdict::NeedMore:
        case frame::Verdict::Gateway:
            break;
        case frame::Verdict::Complete: {
            const int length = count - frame::kOverhead;
            if (length < 1 || length > frame::kMaxMessage || frame::checkCrc(count, receive.data()) != count - 2)
                std::abort();
            std::memcpy(reply.data(), receive.data() + 2, static_cast<std::size_t>(length));
            count = 0;
            break;
        }
        default:
            count = 0;
            break;
        }
    }

    // What the engine frames, it judges complete.
    if (size >= 1) {
        std::array<std::uint8_t, frame::kMaxMessage> message{};
        const int length = static_cast<int>(std::min<std::size_t>(size, frame::kMaxMessage));
        std::memcpy(message.data(), data, static_cast<std::size_t>(length));
        message[0] = static_cast<std::uint8_t>(length);
        // A rejection answer is judged as such before its CRC is looked at.
        if (length >= 2 && message[1] == frame::kRejectType)
            return 0;
        std::array<std::uint8_t, frame::kFrameBufferSize> framed{};
        const int framedLength = frame::build(0x01, message.data(), length, framed.data());
        if (frame::judge(framed.data(), framedLength) != frame::Verdict::Complete)
            std::abort();
    }
    return 0;
}
