#include "commdbpointfacade.h"

#include "communications.h"
#include "ridovaz.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

CommDBPointFacade* gFacade = nullptr;

constexpr int kBlockHeader = 5;  // offset and count before a block's data

std::uint8_t typeByte(UnitMessageType type)
{
    return static_cast<std::uint8_t>(type);
}

// The width of an entry's value in a multi-read answer; 0 for an index the map does not hold.
int multiReadWidth(std::uint16_t index)
{
    const Ridovaz17041417 map;
    return index < map.GetCount() ? map.GetValueSize(index) : 0;
}

}  // namespace

CommDBPointFacade* CommDBPointFacade::Instance()
{
    if (!gFacade)
        gFacade = new CommDBPointFacade(*Communications::Instance());
    return gFacade;
}

void CommDBPointFacade::ReleaseInstance()
{
    delete gFacade;
    gFacade = nullptr;
}

void CommDBPointFacade::InstallInstance(std::unique_ptr<CommDBPointFacade> facade)
{
    ReleaseInstance();
    gFacade = facade.release();
}

CommDBPointFacade::CommDBPointFacade(MessageLink& link) : link_(link) {}

CommDBPointFacade::~CommDBPointFacade() = default;

// --- the exchange -----------------------------------------------------------------------------

void CommDBPointFacade::Begin()
{
    request_.fill(0);
    answer_.fill(0);
    answerLength_ = 0;
}

void CommDBPointFacade::Send(UnitMessageType type, int payloadLength, bool notify)
{
    request_[0] = static_cast<std::uint8_t>(payloadLength + 2);
    request_[1] = typeByte(type);
    answerLength_ = link_.SendReceive(request_.data(), answer_.data(), kAreaSize, notify);
}

void CommDBPointFacade::ExpectLength(int length) const
{
    if (answerLength_ < length)
        throw CommStatusError(commstatus::kUnexpectedResponse);
}

bool CommDBPointFacade::AnswerTypeIs(UnitMessageType request) const
{
    ExpectLength(2);
    return answer_[1] == static_cast<std::uint8_t>(typeByte(request) + 1);
}

void CommDBPointFacade::ExpectType(UnitMessageType request) const
{
    if (!AnswerTypeIs(request))
        throw CommStatusError(commstatus::kUnexpectedResponse);
}

void CommDBPointFacade::PutU16(int at, std::uint16_t value)
{
    request_[at] = static_cast<std::uint8_t>(value);
    request_[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void CommDBPointFacade::PutU32(int at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        request_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint16_t CommDBPointFacade::AnswerU16(int at) const
{
    return static_cast<std::uint16_t>(answer_[at] | (answer_[at + 1] << 8));
}

std::uint32_t CommDBPointFacade::AnswerU32(int at) const
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | answer_[at + i];
    return v;
}

// --- single entries ---------------------------------------------------------------------------

void CommDBPointFacade::ReadEntry(std::uint16_t index)
{
    Begin();
    PutU16(2, index);
    Send(UnitMessageType::ReadEntry, 2);
}

const std::uint8_t* CommDBPointFacade::EntryValue(std::uint16_t index, int width)
{
    ReadEntry(index);
    ExpectLength(4 + width);
    return &answer_[4];
}

float CommDBPointFacade::ReadFloat(std::uint16_t index)
{
    float v;
    std::memcpy(&v, EntryValue(index, 4), 4);
    return v;
}

bool CommDBPointFacade::ReadBool(std::uint16_t index)
{
    return *EntryValue(index, 1) != 0;
}

std::uint8_t CommDBPointFacade::ReadU8(std::uint16_t index)
{
    return *EntryValue(index, 1);
}

std::uint16_t CommDBPointFacade::ReadU16(std::uint16_t index)
{
    EntryValue(index, 2);
    return AnswerU16(4);
}

std::uint32_t CommDBPointFacade::ReadU32(std::uint16_t index)
{
    EntryValue(index, 4);
    return AnswerU32(4);
}

std::int8_t CommDBPointFacade::ReadS8(std::uint16_t index)
{
    return static_cast<std::int8_t>(ReadU8(index));
}

std::int16_t CommDBPointFacade::ReadS16(std::uint16_t index)
{
    return static_cast<std::int16_t>(ReadU16(index));
}

std::int32_t CommDBPointFacade::ReadS32(std::uint16_t index)
{
    return static_cast<std::int32_t>(ReadU32(index));
}

int CommDBPointFacade::ReadString(std::uint16_t index, std::string& text)
{
    ReadEntry(index);
    ExpectLength(5);
    const int n = answer_[4];
    if (n > kMaxReadText)
        return 0;
    ExpectLength(5 + n);
    text.assign(reinterpret_cast<const char*>(&answer_[5]), static_cast<std::size_t>(n));
    return n;
}

void CommDBPointFacade::WriteEntry(std::uint16_t index, const std::array<std::uint8_t, 4>& valueField)
{
    Begin();
    PutU16(2, index);
    std::copy(valueField.begin(), valueField.end(), request_.begin() + 4);
    Send(UnitMessageType::WriteEntry, 6);
    ExpectType(UnitMessageType::WriteEntry);
}

namespace {
// The value field of a write: the value's little-endian bytes first, the rest zero.
template <typename T>
std::array<std::uint8_t, 4> valueField(T value)
{
    static_assert(sizeof(T) <= 4);
    std::array<std::uint8_t, 4> field{};
    std::memcpy(field.data(), &value, sizeof(T));
    return field;
}
}  // namespace

void CommDBPointFacade::WriteFloat(std::uint16_t index, float value)
{
    WriteEntry(index, valueField(value));
}

void CommDBPointFacade::WriteBool(std::uint16_t index, bool value)
{
    WriteEntry(index, valueField<std::uint8_t>(value ? 1 : 0));
}

void CommDBPointFacade::WriteU8(std::uint16_t index, std::uint8_t value)
{
    WriteEntry(index, valueField(value));
}

void CommDBPointFacade::WriteU16(std::uint16_t index, std::uint16_t value)
{
    WriteEntry(index, valueField(value));
}

void CommDBPointFacade::WriteU32(std::uint16_t index, std::uint32_t value)
{
    WriteEntry(index, valueField(value));
}

void CommDBPointFacade::WriteS8(std::uint16_t index, std::int8_t value)
{
    WriteEntry(index, valueField(value));
}

void CommDBPointFacade::WriteS16(std::uint16_t index, std::int16_t value)
{
    WriteEntry(index, valueField(value));
}

void CommDBPointFacade::WriteS32(std::uint16_t index, std::int32_t value)
{
    WriteEntry(index, valueField(value));
}

void CommDBPointFacade::WriteString(std::uint16_t index, std::string text)
{
    if (text.size() > static_cast<std::size_t>(kMaxWriteText))
        throw std::invalid_argument("A text of " + std::to_string(text.size()) +
                                    " characters cannot be sent to the unit (at most " + std::to_string(kMaxWriteText) +
                                    ").");
    const int n = static_cast<int>(text.size());
    Begin();
    PutU16(2, index);
    request_[4] = static_cast<std::uint8_t>(n);
    std::memcpy(&request_[5], text.data(), text.size());
    Send(UnitMessageType::WriteStringEntry, 3 + n);
    ExpectType(UnitMessageType::WriteStringEntry);
}

// --- unit actions -----------------------------------------------------------------------------

void CommDBPointFacade::WriteFlash()
{
    Begin();
    Send(UnitMessageType::WriteFlash, 0);
    ExpectType(UnitMessageType::WriteFlash);
}

bool CommDBPointFacade::FlashStatus()
{
    Begin();
    Send(UnitMessageType::FlashStatus, 0);
    ExpectType(UnitMessageType::FlashStatus);
    ExpectLength(3);
    return answer_[2] != 0;
}

void CommDBPointFacade::SetFactoryDefaults()
{
    Begin();
    Send(UnitMessageType::SetFactoryDefaults, 0);
    ExpectType(UnitMessageType::SetFactoryDefaults);
}

void CommDBPointFacade::Reboot()
{
    Begin();
    Send(UnitMessageType::Reboot, 0);
    ExpectType(UnitMessageType::Reboot);
}

void CommDBPointFacade::WipeEventLog()
{
    Begin();
    Send(UnitMessageType::WipeEventLog, 0);
    ExpectType(UnitMessageType::WipeEventLog);
}

void CommDBPointFacade::WipeArchive()
{
    Begin();
    Send(UnitMessageType::WipeArchive, 0);
    ExpectType(UnitMessageType::WipeArchive);
}

// --- Modbus map -------------------------------------------------------------------------------

ModmapHeaderBytes CommDBPointFacade::ReadModmapHeader()
{
    Begin();
    Send(UnitMessageType::ReadModmapHeader, 0);
    ModmapHeaderBytes header;
    ExpectLength(2 + static_cast<int>(header.size()));
    std::copy_n(answer_.begin() + 2, header.size(), header.begin());
    return header;
}

ModmapEntryAnswer CommDBPointFacade::ReadModmapEntry(std::uint16_t entryIndex)
{
    Begin();
    PutU16(2, entryIndex);
    Send(UnitMessageType::ReadModmapEntry, 2);
    ModmapEntryAnswer result;
    ExpectLength(4 + static_cast<int>(result.entry.size()));
    result.index = AnswerU16(2);
    std::copy_n(answer_.begin() + 4, result.entry.size(), result.entry.begin());
    return result;
}

bool CommDBPointFacade::WriteModmapHeader(const ModmapHeaderBytes& header)
{
    Begin();
    std::copy(header.begin(), header.end(), request_.begin() + 2);
    Send(UnitMessageType::WriteModmapHeader, static_cast<int>(header.size()));
    ExpectType(UnitMessageType::WriteModmapHeader);
    return true;
}

std::uint16_t CommDBPointFacade::WriteModmapEntry(std::uint16_t entryIndex, const ModmapEntryBytes& entry)
{
    Begin();
    PutU16(2, entryIndex);
    std::copy(entry.begin(), entry.end(), request_.begin() + 4);
    Send(UnitMessageType::WriteModmapEntry, 2 + static_cast<int>(entry.size()));
    ExpectType(UnitMessageType::WriteModmapEntry);
    ExpectLength(4);
    return AnswerU16(2);
}

// --- log configuration ------------------------------------------------------------------------

LogRecordBytes CommDBPointFacade::ReadLogRecord(std::uint8_t logNumber)
{
    Begin();
    request_[2] = logNumber;
    Send(UnitMessageType::ReadLogConfig, 1);
    ExpectType(UnitMessageType::ReadLogConfig);
    LogRecordBytes record;
    ExpectLength(2 + static_cast<int>(record.size()));
    std::copy_n(answer_.begin() + 2, record.size(), record.begin());
    return record;
}

bool CommDBPointFacade::WriteLogRecord(const LogRecordBytes& record)
{
    Begin();
    std::copy(record.begin(), record.end(), request_.begin() + 2);
    Send(UnitMessageType::WriteLogConfig, static_cast<int>(record.size()));
    return AnswerTypeIs(UnitMessageType::WriteLogConfig);
}

// --- memories and the firmware image ----------------------------------------------------------

MemoryInfo CommDBPointFacade::ReadMemoryInfo()
{
    Begin();
    Send(UnitMessageType::ReadMemoryInfo, 0);
    ExpectType(UnitMessageType::ReadMemoryInfo);
    ExpectLength(14);
    MemoryInfo info;
    info.reserved = AnswerU32(2);
    info.archiveLength = AnswerU32(6);
    info.eventLength = AnswerU32(10);
    return info;
}

MemoryBlock CommDBPointFacade::ReadBlock(UnitMessageType type, std::uint32_t offset, std::uint8_t count)
{
    if (count > MemoryBlock::kDataSize)
        throw std::invalid_argument("A block holds at most 200 bytes.");
    Begin();
    PutU32(2, offset);
    request_[6] = count;
    Send(type, kBlockHeader);
    ExpectType(type);
    ExpectLength(2 + kBlockHeader);
    MemoryBlock block;
    block.offset = AnswerU32(2);
    block.count = answer_[6];
    // The count says how many data bytes are valid: they must all have arrived.
    if (block.count > MemoryBlock::kDataSize)
        throw CommStatusError(commstatus::kUnexpectedResponse);
    ExpectLength(2 + kBlockHeader + block.count);
    const int available = std::min(answerLength_ - 2 - kBlockHeader, MemoryBlock::kDataSize);
    std::copy_n(answer_.begin() + 2 + kBlockHeader, available, block.data.begin());
    return block;
}

MemoryBlock CommDBPointFacade::ReadArchiveBlock(std::uint32_t offset, std::uint8_t count)
{
    return ReadBlock(UnitMessageType::ReadArchiveBlock, offset, count);
}

MemoryBlock CommDBPointFacade::ReadEventBlock(std::uint32_t offset, std::uint8_t count)
{
    return ReadBlock(UnitMessageType::ReadEventBlock, offset, count);
}

MemoryBlock CommDBPointFacade::ReadImageBlock(std::uint32_t offset, std::uint8_t count)
{
    return ReadBlock(UnitMessageType::ReadImageBlock, offset, count);
}

BlockHeader CommDBPointFacade::WriteImageBlock(const MemoryBlock& block)
{
    if (block.count > MemoryBlock::kDataSize)
        throw std::invalid_argument("A block holds at most 200 bytes.");
    Begin();
    PutU32(2, block.offset);
    request_[6] = block.count;
    std::copy(block.data.begin(), block.data.end(), request_.begin() + 2 + kBlockHeader);
    Send(UnitMessageType::WriteImageBlock, kBlockHeader + MemoryBlock::kDataSize);
    ExpectType(UnitMessageType::WriteImageBlock);
    ExpectLength(2 + kBlockHeader);
    BlockHeader header;
    header.offset = AnswerU32(2);
    header.count = answer_[6];
    return header;
}

bool CommDBPointFacade::FinishImageWrite()
{
    Begin();
    Send(UnitMessageType::FinishImageWrite, 0, false);
    ExpectType(UnitMessageType::FinishImageWrite);
    ExpectLength(3);
    return answer_[2] != 0;
}

// --- multi-read -------------------------------------------------------------------------------

MultiReadAnswer CommDBPointFacade::MultiRead(const MultiReadRequest& request)
{
    if (request.count < 1 || request.count > MultiReadRequest::kMaxIndexes)
        throw std::invalid_argument("A multi-read asks for 1 to 20 entries.");
    Begin();
    request_[2] = request.count;
    // The slots past the count stay 0 whatever the caller left in them.
    for (int k = 0; k < request.count; ++k)
        PutU16(3 + 2 * k, request.indexes[k]);
    Send(UnitMessageType::MultiRead, 1 + 2 * MultiReadRequest::kMaxIndexes);
    ExpectType(UnitMessageType::MultiRead);
    ExpectLength(3);
    MultiReadAnswer result;
    result.count = answer_[2];
    if (result.count > request.count)
        throw CommStatusError(commstatus::kUnexpectedResponse);
    int needed = 3;
    for (int k = 0; k < result.count; ++k)
        needed += multiReadWidth(request.indexes[k]);
    ExpectLength(needed);
    const int available = std::min(answerLength_ - 3, static_cast<int>(result.values.size()));
    std::copy_n(answer_.begin() + 3, available, result.values.begin());
    return result;
}

// --- sequencer and timers ---------------------------------------------------------------------

SequencerBytes CommDBPointFacade::ReadSequencerConfig()
{
    Begin();
    Send(UnitMessageType::ReadSequencerConfig, 0);
    ExpectType(UnitMessageType::ReadSequencerConfig);
    SequencerBytes config;
    ExpectLength(2 + static_cast<int>(config.size()));
    std::copy_n(answer_.begin() + 2, config.size(), config.begin());
    return config;
}

bool CommDBPointFacade::WriteSequencerConfig(const SequencerBytes& config)
{
    Begin();
    std::copy(config.begin(), config.end(), request_.begin() + 2);
    Send(UnitMessageType::WriteSequencerConfig, static_cast<int>(config.size()));
    return AnswerTypeIs(UnitMessageType::WriteSequencerConfig);
}

TimerBytes CommDBPointFacade::ReadTimerConfig()
{
    Begin();
    Send(UnitMessageType::ReadTimerConfig, 0);
    ExpectType(UnitMessageType::ReadTimerConfig);
    TimerBytes config;
    ExpectLength(2 + static_cast<int>(config.size()));
    std::copy_n(answer_.begin() + 2, config.size(), config.begin());
    return config;
}

bool CommDBPointFacade::WriteTimerConfig(const TimerBytes& config)
{
    Begin();
    std::copy(config.begin(), config.end(), request_.begin() + 2);
    Send(UnitMessageType::WriteTimerConfig, static_cast<int>(config.size()));
    return AnswerTypeIs(UnitMessageType::WriteTimerConfig);
}
