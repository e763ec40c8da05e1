#pragma once

#include "analyzer.h"

#include <array>
#include <cstdint>
#include <vector>

// The Alarms page's lights as data: which point each light shows, its name and caption. The page
// builds its repeated rows and panels from these tables and its express-scan list from them.
namespace alarmpage {

struct Light {
    const char* name;
    const char* caption;
    std::uint16_t point;
};

// The unit alarms below the system light, in the page's order.
extern const std::array<Light, 13> kUnitLights;

// One group of a stream panel: its letters in the light names, caption, and the points of its
// lights (Deviation, High Alarm, High High Alarm, Lock; the last two only where the group has
// four).
struct StreamGroup {
    const char* letters;
    const char* caption;
    int lights;
};
// The run types in the streams page's order (analyzer::kStreamsPageOrder).
extern const std::array<StreamGroup, analyzer::kRunTypes> kStreamGroups;
// Captions of a group's lights, in order.
extern const std::array<const char*, 4> kLightCaptions;

// Points of every light of one stream, by group and light (unused slots 0).
using StreamPoints = std::array<std::array<std::uint16_t, 4>, analyzer::kRunTypes>;
extern const std::array<StreamPoints, analyzer::kStreams> kStreamPoints;

// "imS1ND", "imS3R2A", "imgLock2", "imgLockT4": the name of a stream's light.
const char* lightName(int stream, int group, int light);

// The analog-input alarms: four greater-than, then four less-than.
extern const std::array<Light, 8> kAnalogInputLights;

// The page's express-scan list, in the order the unit's poll expects.
std::vector<int> scanList();

}  // namespace alarmpage
