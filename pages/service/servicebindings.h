#pragma once

#include "analyzer.h"

#include <array>
#include <vector>

// The service page's points as data: the outputs it switches, the six analog output calibration
// frames and the order in which the page's points are read.
namespace servicepage {

// Relays 1 to 6, then solenoids 1 to 8: the point each box switches and its lamp shows.
constexpr int kOutputCount = analyzer::kRelays + analyzer::kSolenoids;
extern const std::array<int, kOutputCount> kOutputPoints;

// The points of a calibration frame's six bound edits.
struct AOBoundIds {
    int rawZero;          // edRawZero: "Analog Output n: Scaled Zero Value"
    int rawSpan;          // edRawSpan: "Analog Output n: Scaled Span Value"
    int scaledZero;       // edScaledZero: "Analog Output n: Raw Zero Value"
    int scaledSpan;       // edScaledSpan: "Analog Output n: Raw Span Value"
    int failSafePos;      // edFailSafePos: "Analog Output n: Fail-Safe Position"
    int failSafeCurrent;  // edFailSafeCurrent: "Analog Output n: Fail Safe Current"
};

// The points a frame drives and stores besides its edits.
struct AOSwitchIds {
    int rawBypass;
    int analogOutput;
    int scalingFactor;
    int zeroOffset;
    int factoryBypass;
    int scaledOutput;
};

struct AOFrame {
    AOBoundIds bound;
    AOSwitchIds ids;
};
extern const std::array<AOFrame, 6> kAOFrames;

// The page's points in the order the unit is read, each once.
std::vector<int> scanList();

}  // namespace servicepage
