#pragma once

#include "memoryframes.h"
#include "messagehandler.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

// The emulated unit's message level: it holds a value for every entry of the register map, the
// sequencer and timer blocks, the Modbus map, the six log configuration records, the archive and
// event log memories and the firmware image, and answers every request message as the unit does.
//
// Its state can be given by a scenario file (JSON) and dumped in the same form, together with
// what it received; tests may also set and inspect it directly. Every public operation is safe
// to call from another thread than the emulator's.
//
// Scenario keys (all optional):
//   "values":    {"<point id>": number | true/false | "text", ...}; floats also "nan", "inf", "-inf"
//   "sequencer": hex (228 bytes), "timers": hex (144 bytes), "modmap": hex (517 bytes)
//   "logConfig": [hex (22 bytes), ...] for logs 0-5
//   "archive", "events", "image": hex, or {"file": "<path, relative to the scenario>"}, or
//                {"length": n} (bytes 0, 1, 2 ... 255, 0, 1 ...)
//   "archive", "events": also {"records": n, "start": "2026-03-01T00:00:00", "interval": seconds,
//                "wrap": n}: valid frames as the unit writes them (the archive from "logConfig" and
//                the current "values", so give those first or in the same scenario); "end" (a
//                date and time, or "now") in place of "start" places the newest record there
//                scenarios/logs.json is such a unit: four logs recording, both memories wrapped;
//                scenarios/demo.json is the unit scripts/run shows a new user
//   "clock":     "now" or a date and time of 2000 to 2063: the unit's clock ("Time (proprietary)")
//                runs from that moment on, counted from when the scenario is applied; a write of
//                the point sets it, and it runs on from there
//   "memoryInfoReserved": n (the first value of the memory information)
//   "flashBusyPolls": n    flash status polls answered busy after each flash write
//   "imageBusyPolls": n    image polls answered busy after each firmware block
//   "imageNeverStored": true   every image poll is answered busy: no block is ever stored
//   "imageCorruptAt": n    the image byte at offset n is read back inverted (-1: none)
//   "rebootSilenceMs": n   how long the unit stays silent after answering a reboot
//   "faults": [{"type": request type, "kind": "silence" | "reject" | "answerType" | "length" | "count",
//               "answerType": n, "length": n, "count": n, "after": n, "times": n}, ...]
//   "dump":      path the state is written to when the unit is destroyed
// Hex texts may contain blanks.
class UnitModel : public MessageHandler {
public:
    static constexpr int kSequencerSize = 228;
    static constexpr int kTimerSize = 144;
    static constexpr int kModmapSize = 517;
    static constexpr int kModmapHeaderSize = 17;
    static constexpr int kModmapEntrySize = 5;
    static constexpr int kModmapEntries = 100;
    static constexpr int kLogRecordSize = 22;
    static constexpr int kLogCount = 6;
    static constexpr int kBlockData = 200;
    static constexpr int kMaxImageSize = 16 * 1024 * 1024;
    static constexpr std::uint32_t kMapVersion = 17041417;

    // A message-level fault for requests of one type.
    struct MessageFault {
        enum class Kind {
            Silence,     // no answer; the request is not carried out
            Reject,      // the rejection answer [0x02][0xFF]; the request is not carried out
            AnswerType,  // carried out, answered with another type
            Length,      // carried out, the answer cut or padded with zeros to length bytes
            Count,       // a memory block answered with the count byte `count`: shorter, its
                         // bytes past the count zeroed; longer, zeros past the bytes it has
        };
        int requestType = 0;
        Kind kind = Kind::Silence;
        int answerType = -1;  // AnswerType: -1 gives the request's type plus two
        int length = 2;       // Length: 1-255, the answer's length byte set to it
        int count = 0;        // Count: 0-200, the block answer's count byte
        int after = 0;        // requests of the type answered normally before the fault applies
        int times = 1;        // requests it spoils; 0: every one
    };

    struct Counters {
        int flashWrites = 0;
        int factoryDefaults = 0;
        int reboots = 0;
        int archiveWipes = 0;
        int eventWipes = 0;
        int imageBlocksWritten = 0;
    };

    // A unit with every value zero (texts empty) but its map version, empty blocks and memories.
    UnitModel();
    ~UnitModel() override;

    bool loadScenario(const QString& path, QString* error = nullptr);
    bool applyScenario(const QJsonObject& scenario, const QString& baseDir = {}, QString* error = nullptr);
    QJsonObject dump() const;
    bool saveDump(const QString& path, QString* error = nullptr) const;

    std::optional<QByteArray> handleMessage(const QByteArray& message) override;

    // Register-map values: the value's little-endian bytes in the width the unit answers a single
    // read with, or a text's characters.
    std::optional<int> indexOf(std::uint16_t pointId) const;
    QByteArray rawValue(int index) const;
    void setRawValue(int index, const QByteArray& bytes);
    // Integer types as qint64 (signed types sign-extended), floats as double, texts as QString;
    // setValue also takes bools for integer types. Texts hold at most 250 characters.
    QVariant value(std::uint16_t pointId) const;
    bool setValue(std::uint16_t pointId, const QVariant& value);

    QByteArray sequencer() const;
    void setSequencer(const QByteArray& bytes);
    QByteArray timers() const;
    void setTimers(const QByteArray& bytes);
    QByteArray modmap() const;
    void setModmap(const QByteArray& bytes);
    QByteArray logRecord(int logNumber) const;
    void setLogRecord(int logNumber, const QByteArray& bytes);
    QByteArray archive() const;
    void setArchive(const QByteArray& bytes);
    // An archive log memory as the unit writes it with its log configuration and its current
    // values: the plan's frames go to the enabled logs in turn, each value in its point's width
    // (four zero bytes for an id the map does not hold).
    QByteArray makeArchive(const memoryframes::Plan& plan) const;
    QByteArray events() const;
    void setEvents(const QByteArray& bytes);
    QByteArray image() const;
    void setImage(const QByteArray& bytes);
    void setMemoryInfoReserved(std::uint32_t value);
    // The unit's clock runs from this moment on (a UTC-spec date and time read as the unit's
    // local time). Without it the clock point holds still at whatever was last stored.
    void runClock(const QDateTime& from);

    void setFlashBusyPolls(int polls);
    void setImageBusyPolls(int polls);
    // The unit never finishes storing a firmware block: every poll answers busy.
    void setImageNeverStored(bool never);
    // The read-back serves the image byte at this offset inverted; -1 serves the image as stored.
    void setImageCorruptAt(qint64 offset);
    void setRebootSilenceMs(int ms);
    bool rebooting() const;

    void addFault(const MessageFault& fault);
    void clearFaults();

    // Every message received, in order (also those it stayed silent on).
    std::vector<QByteArray> received() const;
    int receivedCount(int requestType) const;
    void clearReceived();
    Counters counters() const;

private:
    using Clock = std::chrono::steady_clock;

    // The clock's reading `at` was taken at `since`; it reads `at` plus the time gone by.
    struct RunningClock {
        QDateTime at;
        Clock::time_point since;
    };

    // What factory defaults bring back.
    struct Configuration {
        std::vector<QByteArray> values;
        QByteArray sequencer;
        QByteArray timers;
        QByteArray modmap;
        std::array<QByteArray, kLogCount> logRecords;
    };

    QByteArray answer(const QByteArray& message);
    QByteArray readBlock(int type, const QByteArray& memory, const QByteArray& message) const;
    QByteArray makeArchiveLocked(const memoryframes::Plan& plan) const;
    QByteArray multiRead(const QByteArray& message) const;
    std::optional<MessageFault> takeFault(int type);
    bool applyLocked(const QJsonObject& scenario, const QString& baseDir, QString* error);
    bool setValueLocked(int index, const QVariant& value);
    QVariant valueLocked(int index) const;
    // The value's bytes as the unit answers them now (the running clock read at this moment).
    QByteArray valueBytesLocked(int index) const;
    // A value just stored into the clock point sets a running clock to it.
    void storedLocked(int index);

    mutable std::mutex mutex_;
    Configuration config_;
    Configuration defaults_;
    QByteArray archive_;
    QByteArray events_;
    QByteArray image_;
    std::uint32_t memoryInfoReserved_ = 0;
    int flashBusyPolls_ = 0;
    int imageBusyPolls_ = 0;
    bool imageNeverStored_ = false;
    qint64 imageCorruptAt_ = -1;
    std::optional<RunningClock> clock_;
    int rebootSilenceMs_ = 2000;
    int flashBusy_ = 0;
    int imageBusy_ = 0;
    Clock::time_point silentUntil_{};
    std::vector<MessageFault> faults_;
    std::vector<QByteArray> received_;
    Counters counters_;
    QString dumpPath_;
};
