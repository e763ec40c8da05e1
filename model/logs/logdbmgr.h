#pragma once

#include "compareinterface.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// How a record keeps one of its values.
enum class LogValueKind : std::uint8_t {
    Empty = 0,
    Float = 1,     // the unit's IEEE single: the toolkit's float text
    Unsigned = 2,  // an unsigned number of one to four bytes: its decimal digits
    Counter = 3,   // a run counter the unit stores from 0: the digits of the number plus one
};

// One logged sample of one archive log.
//
// A download keeps each value as the number the unit stored, and its text is made whenever it is
// asked for: the texts are the same as if they had been made when the frame was decoded, and a
// record takes 56 bytes instead of a string per value. Texts that come as texts (an archive file)
// are kept as they are.
struct ALOGPOINTRECORD : ICompareInterface<ALOGPOINTRECORD> {
    // Value j of a sample of log k lives in slot k * 8 + j; seven values for each of six logs.
    static constexpr int kValueSlots = 47;
    // The values a record keeps as numbers: the first seven slots of one log.
    static constexpr int kNumbers = 7;

    double dateTime = 0;        // the toolkit's date-time of the time stamp
    std::uint32_t rawTime = 0;  // the unit's TimestampToken: the ordering key
    std::int32_t logIndex = 0;  // 0 to 5

    ALOGPOINTRECORD() = default;
    ALOGPOINTRECORD(const ALOGPOINTRECORD& other);
    ALOGPOINTRECORD& operator=(const ALOGPOINTRECORD& other);
    ALOGPOINTRECORD(ALOGPOINTRECORD&&) noexcept = default;
    ALOGPOINTRECORD& operator=(ALOGPOINTRECORD&&) noexcept = default;
    ~ALOGPOINTRECORD() = default;

    // +1, 0 or -1 as this record's raw time is later, equal or earlier (unsigned).
    int Compare(const ALOGPOINTRECORD& other) const;

    // The slot's text; empty for a slot never set. Throws std::out_of_range for a slot outside 0
    // to 46.
    std::string ValueText(int slot) const;
    // A text, kept as it is.
    void SetValueText(int slot, std::string text);
    // A number as the unit stored it (the value's bytes, little-endian, as an unsigned number),
    // written as `kind` says when its text is asked for; floats with the given decimal separator.
    // The numbers of one record belong to one log (the first slot given decides which); a value
    // of another log, or past the seventh, is kept as its text.
    void SetValue(int slot, LogValueKind kind, std::uint32_t bits, char decimalSeparator = '.');

private:
    static constexpr std::uint32_t kNoLog = 7;

    LogValueKind NumberKind(int j) const { return static_cast<LogValueKind>((layout_ >> (2 * j)) & 3u); }
    void SetNumberKind(int j, LogValueKind kind);
    std::uint32_t NumbersLog() const { return (layout_ >> 14) & 7u; }
    char Separator() const { return static_cast<char>(layout_ >> 24); }
    // The number's position for a slot of the numbers' log; -1 for any other slot.
    int NumberIndex(int slot) const;

    std::array<std::uint32_t, kNumbers> numbers_{};
    // Bits 0-13: each number's kind (two bits each); 14-16: the log whose values the numbers
    // are (kNoLog while none is set); 24-31: the decimal separator of the float texts.
    std::uint32_t layout_ = kNoLog << 14 | std::uint32_t{'.'} << 24;
    // Slots held as texts (an archive file's values; none in a download), packed in one block:
    // its used length (four bytes), then per slot the slot (one byte), the text's length (four
    // bytes) and the text.
    std::unique_ptr<char[]> texts_;
};

using LogSelection = std::array<std::array<std::uint8_t, 8>, 6>;

// All records of all logs in time order, with the per-log counts and the CSV column choice.
struct LOGDB {
    std::array<std::int32_t, 6> counts{};
    LogSelection selection{};
    std::vector<std::unique_ptr<ALOGPOINTRECORD>> records;  // owns the records
};

// The same three fields over copies of the records, for work that must leave the database as
// it is.
struct ALOGDB {
    std::array<std::int32_t, 6> counts{};
    LogSelection selection{};
    std::vector<ALOGPOINTRECORD> records;
};

// One log's records, in the order of the list of all records, as of the last distribution.
struct ALOGDB2 {
    std::int32_t count = 0;
    std::vector<ALOGPOINTRECORD*> records;  // not owned
};

struct LOGDB2 {
    std::array<ALOGDB2, 6> logs;
};

// The store of archive log records: a download files into it on the log download worker, an
// archive file loads into it on the user-interface thread. It has no lock: while a download
// runs only the worker touches it, at all other times only the user-interface thread.
class LogDBMgr {
public:
    static constexpr int kLogCount = 6;

    static LogDBMgr* Instance();
    // Clears (ignoring any failure of the clearing) and destroys the singleton.
    static void ReleaseInstance();

    LogDBMgr() = default;
    LogDBMgr(const LogDBMgr&) = delete;
    LogDBMgr& operator=(const LogDBMgr&) = delete;

    // Deletes every record and empties every count and list; the CSV column choice stays.
    void Clear();
    // Appends at the end of the list of all records and counts it for its log. Throws
    // std::out_of_range for a log index outside 0 to 5 (the record is then dropped).
    void AppendRecord(std::unique_ptr<ALOGPOINTRECORD> record);
    // Moves the last record to its place in time order, after every record of the same time.
    void InsertByTime();
    // Puts the whole list in time order; records of the same time keep their order.
    void SortByTime();
    // Rebuilds the per-log lists from the list of all records.
    void DistributeRecords();

    // Value slot logIndex * 8 + valueIndex of the record at that position of the list of all
    // records. Throws std::out_of_range past the end or outside the slots.
    std::string GetValueText(int logIndex, int valueIndex, std::size_t position) const;

    std::size_t RecordCount() const { return db_.records.size(); }
    // Throws std::out_of_range past the end.
    const ALOGPOINTRECORD& Record(std::size_t position) const { return *db_.records.at(position); }
    std::int32_t Count(int logIndex) const { return db_.counts.at(static_cast<std::size_t>(logIndex)); }
    LogSelection& Selection() { return db_.selection; }
    const LOGDB& Db() const { return db_; }
    const LOGDB2& PerLog() const { return db2_; }
    ALOGDB Copy() const;

private:
    LOGDB db_;
    LOGDB2 db2_;
};
