#pragma once

#include <cstdint>

// Undoes the escaping of the frames the unit stores in its log and event memory. A frame starts
// with the marker 0xDE; inside a frame every later 0xDE is stored as the pair 0xDE 0xAD. A 0xDE
// inside a frame that is not followed by 0xAD is the marker of a new frame that cut the open one
// short.
class DeEscaper {
public:
    static constexpr std::uint8_t kMarker = 0xDE;
    static constexpr std::uint8_t kEscapeTail = 0xAD;

    // What one input byte gives the parser.
    struct Result {
        // The held 0xDE started a new frame: the parser abandons the open frame and starts the
        // new one (the marker already taken) before it takes this byte.
        bool newFrame = false;
        // byte is the 0xDE of an escape pair.
        bool escaped = false;
        // byte is the next byte for the parser; false while a 0xDE is held back.
        bool hasByte = false;
        std::uint8_t byte = 0;
    };

    // inFrame: whether the parser has a frame open (outside a frame a 0xDE is a marker, never an
    // escape, and is handed on).
    Result Put(std::uint8_t byte, bool inFrame);
    void Reset() { held_ = false; }

private:
    bool held_ = false;
};
