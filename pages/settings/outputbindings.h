#pragma once

#include "analyzer.h"

#include <array>
#include <cstdint>
#include <vector>

// The outputs page's rows as data: the points of each relay, solenoid and analog output.
namespace outputpage {

// One relay or solenoid row.
struct DigitalOutput {
    int number;                // 1-6 relays, 1-8 solenoids: the name's and position buttons' number
    int latchNumber;           // ckLatchEnable, Lat and btnLatch number: relays 1-6, solenoids 9-16
    const char* latchCaption;  // "Latch R1", "Latch S8"
    std::uint16_t name;
    std::uint16_t failSafe;
    std::uint16_t latchMask;
    std::uint16_t latchState;
};
extern const std::array<DigitalOutput, analyzer::kRelays> kRelays;
extern const std::array<DigitalOutput, analyzer::kSolenoids> kSolenoids;

struct AnalogOutput {
    int number;  // 1-6
    std::uint16_t description;
    std::uint16_t minimum;
    std::uint16_t range;
    std::uint16_t parameter;  // the point id of the measured value the output carries
};
extern const std::array<AnalogOutput, 6> kAnalogOutputs;

// The 81 ids of the page's express-scan list: name, fail-safe position and latch mask of every
// relay, then of every solenoid; the latch states; description, minimum, range and parameter of
// every analog output; "Streams".
std::vector<int> scanList();

}  // namespace outputpage
