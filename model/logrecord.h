#pragma once

#include "sequencerconfiguration.h"  // byte-order check of the unit's records

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace logrecord {
constexpr int kLogs = 6;
constexpr int kParameters = 8;
}  // namespace logrecord

#pragma pack(push, 1)

// What one archive log records (messages 0x24/0x26).
struct LogRecord {
    std::uint8_t LOG_NUMBER;  // 0-5
    std::uint8_t Enable;
    // A period in seconds for the periodic logs, the hour of the day for the daily log.
    std::uint16_t Frequency;
    std::uint8_t LogIDCode;                            // tags the log's frames in the log memory
    std::uint8_t ParametersInLog;                      // 0-8; the parameters past it are not significant
    std::uint16_t Parameters[logrecord::kParameters];  // point ids
};

#pragma pack(pop)

static_assert(sizeof(LogRecord) == 22);
static_assert(offsetof(LogRecord, LogIDCode) == 4);
static_assert(offsetof(LogRecord, Parameters) == 6);
static_assert(std::is_trivially_copyable_v<LogRecord>);

// The id codes of the six logs in use. The codes tag frames in the log memory, so a log whose
// parameter list changes takes a code that no log holds.
class UniqueLogID {
public:
    // Created holding the single code 0.
    static UniqueLogID* Instance();
    static void ReleaseInstance();

    void Clear();
    // Listed once, however often it is added.
    void Add(int code);
    bool Contains(int code) const;
    // The first unlisted code above the given one in steps of 8 below 256, else LowestFreeId.
    int NextFreeId(int code) const;
    // The first unlisted code of 9, 17, 25, ...
    int LowestFreeId() const;

private:
    UniqueLogID() = default;
    std::vector<int> codes_{0};
};
