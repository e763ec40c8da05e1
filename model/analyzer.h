#pragma once

#include "pointids.h"

#include <array>
#include <cstdint>
#include <optional>

// The unit's vocabulary: how many streams, run types, relays and solenoids it has, how it numbers
// its run types, how its masks lay out their bits, which point requests a run, and what its
// "Streams" point means. The model and every page take these facts from here.
namespace analyzer {

constexpr int kStreams = 4;
constexpr int kRunTypes = 6;
constexpr int kRelays = 6;
constexpr int kSolenoids = 8;

// The run types in the unit's numbering: point 391 "Run Type (0=H2S 1=TS 2=R1 3=R2 4=Z 5=C)", the
// sequencer block's run byte, the timer block's analysis mask, the discrete inputs' run-selector
// mask and the event log's run condition.
enum RunType : int { H2S, TotalSulphur, Reference1, Reference2, Zero, Calibration };

constexpr bool isRunType(int run)
{
    return run >= 0 && run < kRunTypes;
}

// The order in which the streams page lists a stream's run types (its tabs and set frames, and
// the rows of its run requests); the alarms page's stream groups and the QC form's switching rows
// follow it too.
constexpr std::array<RunType, kRunTypes> kStreamsPageOrder = {H2S,        TotalSulphur, Calibration,
                                                              Reference1, Reference2,   Zero};
// A run type's place in kStreamsPageOrder.
constexpr int streamsPageIndex(RunType run)
{
    for (int i = 0; i < kRunTypes; ++i)
        if (kStreamsPageOrder[static_cast<std::size_t>(i)] == run)
            return i;
    return -1;
}

// The run type's name in the register map ("Stream 3: Reference 2: Name").
constexpr const char* runTypeName(RunType run)
{
    constexpr std::array<const char*, kRunTypes> kNames = {"H2S",         "Total Sulphur", "Reference 1",
                                                           "Reference 2", "Zero",          "Calibration"};
    return kNames[static_cast<std::size_t>(run)];
}
// The unit's own word for it in the sequencer and the event log: Calibration is "Calibrate".
constexpr const char* runTypeText(RunType run)
{
    return run == Calibration ? "Calibrate" : runTypeName(run);
}

// The run masks (the timer block's analysis, a discrete input's run selector) have one bit per
// stream 1..4 and run type: bit 6 x (stream - 1) + run type, 24 bits in all.
constexpr int kRunMaskBits = kStreams * kRunTypes;
constexpr int runMaskBit(int stream, int run)
{
    return kRunTypes * (stream - 1) + run;
}

// The action masks (alarm actions, switching, a discrete input's actions) have relay 1..6 on
// bits 0..5 and solenoid 1..8 on bits 8..15; bits 6 and 7 switch nothing.
constexpr int kFirstSolenoidBit = 8;
constexpr int relayBit(int relay)
{
    return relay - 1;
}
constexpr int solenoidBit(int solenoid)
{
    return kFirstSolenoidBit + solenoid - 1;
}
constexpr int actionBit(bool relay, int number)
{
    return relay ? relayBit(number) : solenoidBit(number);
}

// The point a run request of stream 1..4 and a run type writes "True" to ("Calibrate" command).
constexpr std::uint16_t runRequestPoint(int stream, RunType run)
{
    using namespace pid;
    constexpr std::uint16_t kPoints[kStreams][kRunTypes] = {
        {Stream1H2SRequest, Stream1TotalSulphurRequest, Stream1Reference1Request, Stream1Reference2Request,
         Stream1ZeroRequest, Stream1CalibrationRequest},
        {Stream2H2SRequest, Stream2TotalSulphurRequest, Stream2Reference1Request, Stream2Reference2Request,
         Stream2ZeroRequest, Stream2CalibrationRequest},
        {Stream3H2SRequest, Stream3TotalSulphurRequest, Stream3Reference1Request, Stream3Reference2Request,
         Stream3ZeroRequest, Stream3CalibrationRequest},
        {Stream4H2SRequest, Stream4TotalSulphurRequest, Stream4Reference1Request, Stream4Reference2Request,
         Stream4ZeroRequest, Stream4CalibrationRequest},
    };
    return kPoints[stream - 1][run];
}
constexpr bool isRunRequestPoint(int pointId)
{
    for (int s = 1; s <= kStreams; ++s)
        for (int r = 0; r < kRunTypes; ++r)
            if (runRequestPoint(s, static_cast<RunType>(r)) == pointId)
                return true;
    return false;
}

// Point 20 "Streams" holds the number of streams less one: the streams 1..4 its value 0..3 gives.
constexpr std::optional<int> streamsOf(std::int64_t streamsValue)
{
    if (streamsValue < 0 || streamsValue >= kStreams)
        return std::nullopt;
    return static_cast<int>(streamsValue) + 1;
}
// The stream-count text of the main window's display: "1-STREAM", "2-STREAMS" ... "4-STREAMS"
// for the Streams value 0..3, null for any other value.
constexpr const char* streamCountText(std::int64_t streamsValue)
{
    constexpr std::array<const char*, kStreams> kTexts = {"1-STREAM", "2-STREAMS", "3-STREAMS", "4-STREAMS"};
    return streamsOf(streamsValue) ? kTexts[static_cast<std::size_t>(streamsValue)] : nullptr;
}

}  // namespace analyzer
