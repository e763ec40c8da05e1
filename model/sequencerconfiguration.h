#pragma once

#include <QtGlobal>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// The unit's memory layouts are little-endian and packed; these records are copied to and from
// messages byte for byte, so the host must share the byte order.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the unit's records are copied as they lie in memory");

namespace unitrecord {
// The raw bytes of a record as they travel in a message, and back.
template <typename Record>
std::array<std::uint8_t, sizeof(Record)> toBytes(const Record& record)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    std::array<std::uint8_t, sizeof(Record)> bytes;
    std::memcpy(bytes.data(), &record, sizeof(Record));
    return bytes;
}

template <typename Record, std::size_t N>
Record fromBytes(const std::array<std::uint8_t, N>& bytes)
{
    static_assert(std::is_trivially_copyable_v<Record> && sizeof(Record) == N);
    Record record;
    std::memcpy(&record, bytes.data(), N);
    return record;
}
}  // namespace unitrecord

namespace sequencer {
constexpr int kAutomaticSteps = 32;
constexpr int kManualSequences = 8;
constexpr int kManualSteps = 8;
}  // namespace sequencer

#pragma pack(push, 1)

// One step: Stream 0 is stream 1; Run 0 H2S, 1 Total Sulphur, 2 Reference 1, 3 Reference 2,
// 4 Zero, 5 Calibrate.
struct SequencerEntry {
    std::uint8_t Stream;
    std::uint8_t Run;
};

struct ManualSequence {
    std::uint8_t Enable;
    std::uint8_t LoopEnable;
    std::uint8_t DigitalInput;
    std::uint8_t Depth;  // valid steps, 0-8; the steps past it are zero
    SequencerEntry Sequence[sequencer::kManualSteps];
};

// The sequencer block as the unit keeps it (messages 0x3C/0x3E).
struct SequencerConfiguration {
    std::uint8_t Enable;
    std::uint8_t Depth;  // valid automatic steps, 0-32; the steps past it are zero
    SequencerEntry Automatic[sequencer::kAutomaticSteps];
    std::uint8_t ManualEnable;
    std::uint8_t ManualDigitalInput;
    ManualSequence Manual[sequencer::kManualSequences];
};

#pragma pack(pop)

static_assert(sizeof(SequencerEntry) == 2);
static_assert(sizeof(ManualSequence) == 20);
static_assert(sizeof(SequencerConfiguration) == 228);
static_assert(offsetof(SequencerConfiguration, Automatic) == 2);
static_assert(offsetof(SequencerConfiguration, ManualEnable) == 66);
static_assert(offsetof(SequencerConfiguration, Manual) == 68);
static_assert(offsetof(ManualSequence, Sequence) == 4);
static_assert(std::is_trivially_copyable_v<SequencerConfiguration>);
