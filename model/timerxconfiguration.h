#pragma once

#include "sequencerconfiguration.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace timerx {
constexpr int kTimers = 12;
}

#pragma pack(push, 1)

struct TimerXEntry {
    std::uint8_t ScheduleEnable;
    std::uint8_t ScheduleDayOfWeek;  // 0 every day, 1 Sunday ... 7 Saturday
    std::uint8_t ScheduleHour;
    std::uint8_t ScheduleMinute;
    std::uint8_t AnalysisEnable;
    // Bit 6 * (stream - 1) + run for streams 1-4 and runs 0-5; bits 24-31 unused.
    std::uint32_t Analysis;
    std::uint8_t SequencerEnable;
    // Bit 0 manual sequencing enable, bits 1-8 manual sequences 1-8.
    std::uint16_t Sequencer;
};

// The twelve timers as the unit keeps them (messages 0x40/0x42).
struct TimerXConfiguration {
    TimerXEntry Timers[timerx::kTimers];
};

#pragma pack(pop)

static_assert(sizeof(TimerXEntry) == 12);
static_assert(offsetof(TimerXEntry, Analysis) == 5);
static_assert(offsetof(TimerXEntry, SequencerEnable) == 9);
static_assert(offsetof(TimerXEntry, Sequencer) == 10);
static_assert(sizeof(TimerXConfiguration) == 144);
static_assert(std::is_trivially_copyable_v<TimerXConfiguration>);
