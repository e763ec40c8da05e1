#include "deescape.h"

DeEscaper::Result DeEscaper::Put(std::uint8_t byte, bool inFrame)
{
    Result result;
    if (held_) {
        held_ = false;
        if (byte == kEscapeTail) {
            result.escaped = true;
            result.hasByte = true;
            result.byte = kMarker;
            return result;
        }
        result.newFrame = true;
        inFrame = true;
    }
    if (inFrame && byte == kMarker) {
        held_ = true;
        return result;
    }
    result.hasByte = true;
    result.byte = byte;
    return result;
}
