#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class MessageLink;

// Request types of the unit's messages ([length][type][payload]); an answer carries the request's
// type plus one.
enum class UnitMessageType : std::uint8_t {
    ReadEntry = 0x01,
    WriteEntry = 0x04,
    WriteStringEntry = 0x06,
    WriteFlash = 0x08,
    FlashStatus = 0x0A,
    SetFactoryDefaults = 0x0C,
    Reboot = 0x0E,
    ReadModmapHeader = 0x12,
    ReadModmapEntry = 0x14,
    WriteModmapHeader = 0x16,
    WriteModmapEntry = 0x18,
    ReadLogConfig = 0x24,
    WriteLogConfig = 0x26,
    ReadArchiveBlock = 0x28,
    ReadMemoryInfo = 0x2A,
    ReadEventBlock = 0x2C,
    WriteImageBlock = 0x2E,
    FinishImageWrite = 0x30,
    MultiRead = 0x32,
    WipeEventLog = 0x34,
    WipeArchive = 0x36,
    ReadImageBlock = 0x3A,
    ReadSequencerConfig = 0x3C,
    WriteSequencerConfig = 0x3E,
    ReadTimerConfig = 0x40,
    WriteTimerConfig = 0x42,
};

// Records the unit exchanges whole, as the raw little-endian bytes of the unit's layout.
using ModmapHeaderBytes = std::array<std::uint8_t, 17>;  // bytes 0-16 of a ModmapImage
using ModmapEntryBytes = std::array<std::uint8_t, 5>;    // one entry of a ModmapImage
using LogRecordBytes = std::array<std::uint8_t, 22>;     // one LogRecord
using SequencerBytes = std::array<std::uint8_t, 228>;    // a SequencerConfiguration
using TimerBytes = std::array<std::uint8_t, 144>;        // a TimerXConfiguration

struct ModmapEntryAnswer {
    std::uint16_t index = 0;  // as the unit echoes it; not compared with the request
    ModmapEntryBytes entry{};
};

struct MemoryInfo {
    std::uint32_t reserved = 0;  // first value of the answer; the program does not use it
    std::uint32_t archiveLength = 0;
    std::uint32_t eventLength = 0;
};

// A block of the archive log memory, the event log memory or the firmware image (205 bytes on
// the wire: offset, count, 200 data bytes of which the first count are valid).
struct MemoryBlock {
    static constexpr int kDataSize = 200;
    std::uint32_t offset = 0;
    std::uint8_t count = 0;
    std::array<std::uint8_t, kDataSize> data{};
};

// The first five bytes of a block: what the unit answers to a firmware block write.
struct BlockHeader {
    std::uint32_t offset = 0;
    std::uint8_t count = 0;
};

struct MultiReadRequest {
    static constexpr int kMaxIndexes = 20;
    std::uint8_t count = 0;                            // 1-20
    std::array<std::uint16_t, kMaxIndexes> indexes{};  // register-map indexes, the first count significant
};

// The values follow in request order, each in its entry's multi-read width, packed without gaps.
struct MultiReadAnswer {
    std::uint8_t count = 0;
    std::array<std::uint8_t, 80> values{};
};

// The only builder and checker of the messages exchanged with the unit. Each operation sends one
// request and checks its answer; a failed exchange reaches the caller as the CommStatusError of
// the link, and an answer that does not fit the request (wrong type where the type is checked,
// too short for the fields read from it, too long for the answer area) as status 21.
// Operations given arguments that cannot be sent (a text longer than the request area holds, a
// block count above 200, a multi-read count outside 1-20) raise std::invalid_argument and send
// nothing.
class CommDBPointFacade {
public:
    static constexpr int kAreaSize = 230;
    static constexpr int kMaxReadText = 20;
    static constexpr int kMaxWriteText = kAreaSize - 5;

    // The process-wide facade over Communications::Instance(), created on first use.
    static CommDBPointFacade* Instance();
    static void ReleaseInstance();
    // Puts a facade of the caller's in place of the process-wide one (tests: a facade over a
    // scripted link); it is owned, and destroyed by ReleaseInstance.
    static void InstallInstance(std::unique_ptr<CommDBPointFacade> facade);

    explicit CommDBPointFacade(MessageLink& link);
    virtual ~CommDBPointFacade();
    CommDBPointFacade(const CommDBPointFacade&) = delete;
    CommDBPointFacade& operator=(const CommDBPointFacade&) = delete;

    // Typed reads and writes of one register-map entry, by entry index.
    virtual float ReadFloat(std::uint16_t index);
    virtual bool ReadBool(std::uint16_t index);
    virtual std::uint8_t ReadU8(std::uint16_t index);
    virtual std::uint16_t ReadU16(std::uint16_t index);
    virtual std::uint32_t ReadU32(std::uint16_t index);
    virtual std::int8_t ReadS8(std::uint16_t index);
    virtual std::int16_t ReadS16(std::uint16_t index);
    virtual std::int32_t ReadS32(std::uint16_t index);
    virtual void WriteFloat(std::uint16_t index, float value);
    virtual void WriteBool(std::uint16_t index, bool value);
    virtual void WriteU8(std::uint16_t index, std::uint8_t value);
    virtual void WriteU16(std::uint16_t index, std::uint16_t value);
    virtual void WriteU32(std::uint16_t index, std::uint32_t value);
    virtual void WriteS8(std::uint16_t index, std::int8_t value);
    virtual void WriteS16(std::uint16_t index, std::int16_t value);
    virtual void WriteS32(std::uint16_t index, std::int32_t value);
    // The text into text and its length; a text longer than 20 characters gives 0 and leaves
    // text as it was.
    virtual int ReadString(std::uint16_t index, std::string& text);
    virtual void WriteString(std::uint16_t index, std::string text);

    // Message 0x01; the answer stays in the answer area for the typed reads.
    void ReadEntry(std::uint16_t index);
    // Message 0x04 with the 4-byte value field as given.
    void WriteEntry(std::uint16_t index, const std::array<std::uint8_t, 4>& valueField);
    void WriteFlash();
    // True while the unit is still writing its flash.
    bool FlashStatus();
    void SetFactoryDefaults();
    void Reboot();
    ModmapHeaderBytes ReadModmapHeader();
    ModmapEntryAnswer ReadModmapEntry(std::uint16_t entryIndex);
    bool WriteModmapHeader(const ModmapHeaderBytes& header);
    std::uint16_t WriteModmapEntry(std::uint16_t entryIndex, const ModmapEntryBytes& entry);
    LogRecordBytes ReadLogRecord(std::uint8_t logNumber);
    // False when the unit answers with another type.
    bool WriteLogRecord(const LogRecordBytes& record);
    MemoryBlock ReadArchiveBlock(std::uint32_t offset, std::uint8_t count);
    MemoryInfo ReadMemoryInfo();
    MemoryBlock ReadEventBlock(std::uint32_t offset, std::uint8_t count);
    BlockHeader WriteImageBlock(const MemoryBlock& block);
    // True while the unit is still storing the last block (polled without a progress step).
    bool FinishImageWrite();
    MultiReadAnswer MultiRead(const MultiReadRequest& request);
    void WipeEventLog();
    void WipeArchive();
    MemoryBlock ReadImageBlock(std::uint32_t offset, std::uint8_t count);
    SequencerBytes ReadSequencerConfig();
    bool WriteSequencerConfig(const SequencerBytes& config);
    TimerBytes ReadTimerConfig();
    bool WriteTimerConfig(const TimerBytes& config);

private:
    // Clears both areas: a request carries no byte of the previous one.
    void Begin();
    // Sends the request built in the areas (payload from byte 2) with its length and type.
    void Send(UnitMessageType type, int payloadLength, bool notify = true);
    bool AnswerTypeIs(UnitMessageType request) const;
    // Raises 21 unless the answer has the request's type plus one.
    void ExpectType(UnitMessageType request) const;
    // Raises 21 unless the answer holds at least length bytes.
    void ExpectLength(int length) const;
    MemoryBlock ReadBlock(UnitMessageType type, std::uint32_t offset, std::uint8_t count);
    // Reads a value of the given width at answer byte 4 after a ReadEntry.
    const std::uint8_t* EntryValue(std::uint16_t index, int width);
    void PutU16(int at, std::uint16_t value);
    void PutU32(int at, std::uint32_t value);
    std::uint16_t AnswerU16(int at) const;
    std::uint32_t AnswerU32(int at) const;

    MessageLink& link_;
    std::array<std::uint8_t, kAreaSize> request_{};
    std::array<std::uint8_t, kAreaSize> answer_{};
    int answerLength_ = 0;
};
