#pragma once

#include "commdbpointfacade.h"
#include "databasepoint.h"
#include "expressscan.h"
#include "logrecord.h"
#include "modbuslist.h"
#include "numbertext.h"
#include "sequencer.h"
#include "timerxmanager.h"

#include <array>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// The toolkit's conversion error: a text that is not the number a translation needs.
using ConversionError = numtext::ConversionError;

// What the commands drive.
class IDatabaseDriver {
public:
    virtual ~IDatabaseDriver() = default;
    virtual void SetDatabaseConfigFileTypeID(const std::string& text) = 0;
    virtual void SetStatus(std::uint16_t status) = 0;
    virtual int ReadPoint(int pointId) = 0;
    virtual int WritePoint(int pointId) = 0;
    virtual bool IsModified() const = 0;
    virtual int GetPointCount() const = 0;
    virtual int GetWatchPointCount() const = 0;
    virtual void ReadAll() = 0;
    virtual int WriteAll() = 0;
    virtual void Connect() = 0;
};

// What the data-aware controls reach, handed to them with the registration broadcast.
class IDatabaseGlue {
public:
    virtual ~IDatabaseGlue() = default;
    virtual std::string GetPointName(int pointId) const = 0;
    // 1 when the map has no such point, else 0.
    virtual int AttachObserver(int pointId, IDBPointObserver* observer) = 0;
    virtual void DetachObserver(int pointId, IDBPointObserver* observer) = 0;
    // False when the edit was not stored.
    virtual bool SetPointText(int pointId, const std::string& text) = 0;
    virtual bool IsPointWritable(int pointId) const = 0;
    virtual int GetPointType(int pointId) const = 0;
};

// Point ids, without repeats, in the order of their first write since the list was emptied.
class WriteLogRecordsManager {
public:
    // Stands for the timer block; no point of the map has this id.
    static constexpr int kTimerBlockId = 0x10000;

    void Add(int pointId);
    void Clear() { ids_.clear(); }
    const std::vector<int>& Ids() const { return ids_; }
    bool Contains(int pointId) const;

private:
    std::vector<int> ids_;
};

// Status of WritePoint for a point the unit may not be sent (read-only, or not read since logon).
constexpr int kWritePointRefused = 32;

// The process-wide point database: one point per register-map entry, found by entry index
// and by point id.
class DataBase : public IDatabaseDriver, public IDatabaseGlue {
public:
    static DataBase* Instance();
    static void ReleaseInstance();

    // IDatabaseDriver
    void SetDatabaseConfigFileTypeID(const std::string& text) override;
    void SetStatus(std::uint16_t status) override { status_ = status; }
    int ReadPoint(int pointId) override;
    int WritePoint(int pointId) override;
    bool IsModified() const override;
    int GetPointCount() const override { return static_cast<int>(points_.size()); }
    int GetWatchPointCount() const override;
    void ReadAll() override;
    int WriteAll() override;
    void Connect() override;

    // IDatabaseGlue
    std::string GetPointName(int pointId) const override;
    int AttachObserver(int pointId, IDBPointObserver* observer) override;
    void DetachObserver(int pointId, IDBPointObserver* observer) override;
    // The controls' edit path.
    bool SetPointText(int pointId, const std::string& text) override;
    bool IsPointWritable(int pointId) const override;
    int GetPointType(int pointId) const override;

    std::string GetPointNameByIndex(int index) const;
    // The point's name, or ridovaz::unknownPointName for an id the map does not hold.
    std::string GetPointNameOrUnknown(int pointId) const;

    DatabasePoint* GetPointByIndex(int index) const;
    DatabasePoint* GetPointById(int pointId) const;
    std::string GetPointText(int pointId) const;
    // The commands' and pages' edit path: only points read from the unit take it.
    bool SetPointTextChecked(int pointId, const std::string& text);
    void MarkFresh(int pointId);
    void MarkAllStale();
    bool IsOffline() const { return offline_; }

    // Reads the listed points of the page (the alternate list for a poll) and the page's block.
    void ExpressRead(bool alternateWanted);
    // Loads one multi-read answer into the points it names; at most the request's count, and
    // only as far as the answer's bytes reach.
    void UnpackMultiRead(const MultiReadRequest& request, int answerCount, const std::uint8_t* values, int valuesLength,
                         bool markFresh);
    int CountExpressReadMessages() const;
    int CountPollReadMessages() const;
    int CountReadAllMessages() const;
    int WriteDirect();
    void TrimCalibrationStreams(int streams);

    // Appends a separator, then one line per point being written to the write trace (all configuration points when
    // direct, else the points a main write sends, or only the one given) and records them in the
    // change list. 2 when the trace failed; the write goes on either way.
    int TracePoints(bool direct, const DatabasePoint* only = nullptr);

    // "-1" when the translation does not apply to the point; throws ConversionError for a text
    // that is not a number, and for an ordinal that names no analog-output choice.
    static std::string TranslateAnalogOutputText(int pointId, const std::string& text);
    static std::string TranslateBypassTimeoutText(int pointId, const std::string& text);

    const std::string& GetDatabaseConfigFileTypeID() const { return configFileTypeId_; }
    std::uint16_t GetStatus() const { return status_; }
    WriteLogRecordsManager& GetChangeList() { return changeList_; }
    ModbusList& GetModbusList() { return modbusList_; }
    Sequencer& GetSequencer() { return sequencer_; }
    TimerXManager& GetTimerXManager() { return timers_; }

    // The six log configuration records, record i for log number i.
    std::array<LogRecord, logrecord::kLogs>& LogRecords() { return logRecords_; }
    // True when no two of logs 0 to 4 share an id code (the sixth is not compared).
    bool AreLogIdCodesUnique() const;
    void ResetLogIdCodes();
    void ShiftLogIdCodes();

    // Block dumps of the write trace.
    void TraceSequencerConfig();
    void TraceModbusList();
    void TraceLogConfig();

    // Estimates from the pending values of the points and the blocks held here; nothing is sent
    // to the unit but the read of the tape remaining. A point text that is not a number throws
    // ConversionError.
    //
    // Seconds per measurement run (H2S or total sulphur) of one pass through the automatic
    // sequence; leaves the pass's sample time in GetSequenceTime.
    float ComputeCycleTime();
    float GetSequenceTime() const { return sequenceTime_; }
    // Whole days the tape on the unit lasts at this stain width per analysis, from the remaining
    // length the point holds: a caller that wants it fresh has it read through the command engine
    // first, as nothing reaches the unit from outside a command. -1 for a width of 0.
    int GetTapeDaysRemaining(float stainWidth);
    // Whole days until the tape-length alarm limit is reached; 0 while the alarm is disabled,
    // -1 for a width of 0.
    int GetTapeAlarmDays(float stainWidth);
    // Shares the archive memory among logs 0 to 4 and keeps, per log, the records it holds and
    // the days the memory lasts as text; returns the sum of the record counts.
    std::int64_t ComputeLogCapacities();
    int GetLogRecordCount(int log) const;
    std::string GetLogDurationText(int log) const;

    ExpressScan expressScan;

    // Raw memories downloaded from the unit; the download commands fill and replace them.
    std::vector<std::uint8_t> archiveMemory;
    std::vector<std::uint8_t> eventMemory;
    std::uint32_t archiveFillPosition = 0;
    std::uint32_t archiveMemoryLength = 0;

private:
    DataBase();
    ~DataBase() override;

    bool StoreTranslated(DatabasePoint* point, const std::string& text);
    template <typename Selected>
    void ReadBatched(Selected selected);
    int CountMessages(const std::vector<int>& ids) const;
    static bool IsReadSingly(const DatabasePoint& point);
    static std::string TraceValueText(const DatabasePoint& point);
    void TraceTimerBlock(class WriteTrace& trace, bool direct);
    static bool HasUsage(const DatabasePoint& point) { return point.GetUsageFlags() & ridovaz::kUseAny; }

    std::vector<std::unique_ptr<DatabasePoint>> points_;
    // Point id to entry index, -1 where the map has no such id.
    std::vector<std::int32_t> idToIndex_;
    std::uint16_t status_ = 0;
    std::string configFileTypeId_ = std::string(25, ' ');
    WriteLogRecordsManager changeList_;
    std::array<LogRecord, logrecord::kLogs> logRecords_{};
    ModbusList modbusList_;
    Sequencer sequencer_;
    TimerXManager timers_;
    bool streamsModified_ = false;
    float sequenceTime_ = 0;
    std::array<int, logrecord::kLogs> logRecordCounts_{};
    std::array<std::string, logrecord::kLogs> logDurationTexts_;
    bool offline_ = true;
};
