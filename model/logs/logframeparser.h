#pragma once

#include "deescape.h"
#include "logpoint.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

class LogDBMgr;

// What the frame decoder reads of one log configuration record: the id byte the unit writes
// into every frame of the log, the parameter count (parameter 0 is the time stamp) and the
// parameters' point ids.
struct LogConfigEntry {
    std::uint8_t LogIDCode = 0;
    std::uint8_t ParametersInLog = 0;
    std::array<std::uint16_t, 8> Parameters{};
};

// A point's register-map type code; 0 (a four-byte float) for an id the map does not hold.
using PointTypeFn = std::function<int(std::uint16_t pointId)>;
int RegisterMapPointType(std::uint16_t pointId);

// The decimal separator of the user's locale. Ask on the user-interface thread.
char LocaleDecimalSeparator();

// The meaning of the log frames of one download, fixed before the download starts: for each of
// the five downloaded logs its id byte and, per value, the point, its type code and its width.
// Built on the user-interface thread, so that the worker needs neither the database nor the
// locale.
class LogFrameLayout {
public:
    static constexpr int kLogs = 5;       // the sixth log never receives downloaded frames
    static constexpr int kMaxValues = 7;  // eight parameters, the first being the time stamp

    struct Value {
        std::uint16_t pointId = 0;
        int typeCode = 0;
        int width = 4;
    };
    struct Log {
        bool present = false;
        std::uint8_t idCode = 0;
        int valueCount = 0;
        std::array<Value, kMaxValues> values{};
    };

    // A layout in which no log matches any frame.
    LogFrameLayout() = default;

    // From the first five of `count` entries (fewer entries leave the other logs absent).
    static LogFrameLayout Build(const LogConfigEntry* entries, std::size_t count,
                                const PointTypeFn& typeOf = RegisterMapPointType,
                                char decimalSeparator = LocaleDecimalSeparator());

    // From any table of records with the fields LogIDCode, ParametersInLog and Parameters (the
    // database's log configuration records).
    template <class Table>
    static LogFrameLayout FromLogRecords(const Table& table, const PointTypeFn& typeOf = RegisterMapPointType,
                                         char decimalSeparator = LocaleDecimalSeparator())
    {
        std::array<LogConfigEntry, kLogs> entries{};
        std::size_t n = 0;
        for (const auto& record : table) {
            if (n == entries.size())
                break;
            entries[n].LogIDCode = record.LogIDCode;
            entries[n].ParametersInLog = record.ParametersInLog;
            for (std::size_t i = 0; i < entries[n].Parameters.size(); ++i)
                entries[n].Parameters[i] = record.Parameters[i];
            ++n;
        }
        return Build(entries.data(), n, typeOf, decimalSeparator);
    }

    // The first of the five logs whose id byte matches; -1 when none does.
    int FindLog(std::uint8_t idCode) const;
    const Log& GetLog(int index) const { return logs_.at(static_cast<std::size_t>(index)); }
    char DecimalSeparator() const { return decimalSeparator_; }

private:
    std::array<Log, kLogs> logs_{};
    char decimalSeparator_ = '.';
};

// What became of the frames of one parse.
struct LogParseStats {
    std::size_t filed = 0;       // good frames filed as records
    std::size_t badCrc = 0;      // complete frames whose CRC did not match
    std::size_t unknownLog = 0;  // good frames whose id byte matches none of the five logs
    std::size_t abandoned = 0;   // frames cut short, or with an impossible length byte
};

// Turns the downloaded log memory, fed one byte or one piece at a time in order, into records
// of the log database. Frames: 0xDE, log id, length L (log id + length + payload), payload
// (TimestampToken, then the values), CRC-16/MODBUS low and high over the L bytes; every later
// 0xDE stored as 0xDE 0xAD.
class LogFrameParser {
public:
    // Resets the parser and binds it to the database that receives its records. The layout
    // must outlive the parse.
    void Attach(LogDBMgr* owner, const LogFrameLayout* layout, TokenToDateFn toDate);
    void Reset();
    void PutByte(std::uint8_t byte);
    void Put(const std::uint8_t* data, std::size_t count);
    // After the last byte: puts the records filed into time order (records of the same time
    // keep their memory order) and counts a frame still open as abandoned.
    void Finish();

    const LogParseStats& Stats() const { return stats_; }

private:
    enum State : std::uint8_t {
        kIdle = 0,
        kLogId = 2,
        kLength = 3,
        kPayload = 4,
        kCrcLow = 5,
        kCrcHigh = 6,
    };
    // The payload starts with the four-byte time stamp, and a log carries at most seven
    // four-byte values.
    static constexpr std::uint8_t kMinLength = 6;
    static constexpr std::uint8_t kMaxLength = 34;

    void Step(std::uint8_t byte);
    void Decode();

    LogDBMgr* owner_ = nullptr;
    const LogFrameLayout* layout_ = nullptr;
    TokenToDateFn toDate_ = nullptr;
    // Log id, length and payload, in the order the CRC covers them.
    std::array<std::uint8_t, kMaxLength> frame_{};
    std::uint16_t receivedCrc_ = 0;
    std::uint8_t state_ = kIdle;
    DeEscaper deEscaper_;
    std::uint8_t count_ = 0;
    LogParseStats stats_;
};
