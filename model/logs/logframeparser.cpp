#include "logframeparser.h"

#include "crc16.h"
#include "logdbmgr.h"
#include "ridovaz.h"

#include <QLocale>
#include <algorithm>
#include <memory>
#include <unordered_map>

namespace {
// The run counters are stored from 0 and shown from 1.
constexpr std::uint16_t kStreamPointId = 392;
constexpr std::uint16_t kRunNumberPointId = 393;

std::uint32_t readUnsigned(const std::uint8_t* bytes, int width)
{
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}
}  // namespace

int RegisterMapPointType(std::uint16_t pointId)
{
    static const std::unordered_map<std::uint16_t, int> types = [] {
        std::unordered_map<std::uint16_t, int> map;
        const Ridovaz17041417 ridovaz;
        const int count = ridovaz.GetCount();
        for (int i = 0; i < count; ++i) {
            const auto index = static_cast<std::uint16_t>(i);
            map.emplace(ridovaz.GetPointId(index), ridovaz.GetTypeCode(index));
        }
        return map;
    }();
    const auto it = types.find(pointId);
    return it == types.end() ? 0 : it->second;
}

char LocaleDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    const char c = point.isEmpty() ? '\0' : point.at(0).toLatin1();
    return c ? c : '.';
}

LogFrameLayout LogFrameLayout::Build(const LogConfigEntry* entries, std::size_t count, const PointTypeFn& typeOf,
                                     char decimalSeparator)
{
    LogFrameLayout layout;
    layout.decimalSeparator_ = decimalSeparator;
    const std::size_t logs = std::min<std::size_t>(count, kLogs);
    for (std::size_t k = 0; k < logs; ++k) {
        const LogConfigEntry& entry = entries[k];
        Log& log = layout.logs_[k];
        log.present = true;
        log.idCode = entry.LogIDCode;
        // A parameter count beyond the eight ids a record holds reads no further id.
        log.valueCount = std::clamp(static_cast<int>(entry.ParametersInLog) - 1, 0, kMaxValues);
        for (int j = 0; j < log.valueCount; ++j) {
            Value& value = log.values[static_cast<std::size_t>(j)];
            value.pointId = entry.Parameters[static_cast<std::size_t>(j) + 1];
            value.typeCode = typeOf ? typeOf(value.pointId) : 0;
            value.width = LogValueWidth(value.typeCode);
        }
    }
    return layout;
}

int LogFrameLayout::FindLog(std::uint8_t idCode) const
{
    for (int k = 0; k < kLogs; ++k)
        if (logs_[static_cast<std::size_t>(k)].present && logs_[static_cast<std::size_t>(k)].idCode == idCode)
            return k;
    return -1;
}

void LogFrameParser::Attach(LogDBMgr* owner, const LogFrameLayout* layout, TokenToDateFn toDate)
{
    Reset();
    owner_ = owner;
    layout_ = layout;
    toDate_ = toDate;
    stats_ = {};
}

void LogFrameParser::Reset()
{
    state_ = kIdle;
    deEscaper_.Reset();
    count_ = 0;
}

void LogFrameParser::Put(const std::uint8_t* data, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        PutByte(data[i]);
}

void LogFrameParser::PutByte(std::uint8_t byte)
{
    const DeEscaper::Result result = deEscaper_.Put(byte, state_ != kIdle);
    if (result.newFrame) {
        // The 0xDE was no escape but the start marker of a frame that cut this one short:
        // the frame it starts is read from this byte on.
        ++stats_.abandoned;
        state_ = kLogId;
    }
    if (result.hasByte)
        Step(result.byte);
}

void LogFrameParser::Step(std::uint8_t byte)
{
    switch (state_) {
    case kIdle:
        if (byte == DeEscaper::kMarker)
            state_ = kLogId;
        break;
    case kLogId:
        frame_[0] = byte;
        state_ = kLength;
        break;
    case kLength:
        if (byte < kMinLength || byte > kMaxLength) {
            ++stats_.abandoned;
            state_ = kIdle;
            break;
        }
        frame_[1] = byte;
        count_ = 0;
        state_ = kPayload;
        break;
    case kPayload:
        frame_[2u + count_] = byte;
        ++count_;
        if (count_ == frame_[1] - 2)
            state_ = kCrcLow;
        break;
    case kCrcLow:
        receivedCrc_ = byte;
        state_ = kCrcHigh;
        break;
    case kCrcHigh:
        receivedCrc_ = static_cast<std::uint16_t>(receivedCrc_ | (byte << 8));
        state_ = kIdle;
        if (Crc16Modbus::compute(frame_.data(), frame_[1]) == receivedCrc_)
            Decode();
        else
            ++stats_.badCrc;
        break;
    default:
        state_ = kIdle;
        break;
    }
}

void LogFrameParser::Decode()
{
    const int logIndex = layout_ ? layout_->FindLog(frame_[0]) : -1;
    if (logIndex < 0 || !owner_) {
        ++stats_.unknownLog;
        return;
    }
    const LogFrameLayout::Log& log = layout_->GetLog(logIndex);
    const std::uint8_t* payload = frame_.data() + 2;
    const int payloadLength = frame_[1] - 2;

    auto record = std::make_unique<ALOGPOINTRECORD>();
    record->dateTime = DTLogPoint::ToDateTime(payload, toDate_);
    record->rawTime = DTLogPoint::ToInt(payload);
    record->logIndex = logIndex;
    int at = 4;
    for (int j = 0; j < log.valueCount; ++j) {
        const LogFrameLayout::Value& value = log.values[static_cast<std::size_t>(j)];
        // Values the frame does not carry stay empty rather than show another frame's bytes.
        if (at + value.width > payloadLength)
            break;
        // The number is kept and written as MakeLogPointText would write it: a float by its four
        // bytes, any other type as the unsigned number of its width.
        LogValueKind kind = LogValueKind::Unsigned;
        if (value.typeCode == 0)
            kind = LogValueKind::Float;
        else if (value.pointId == kStreamPointId || value.pointId == kRunNumberPointId)
            kind = LogValueKind::Counter;
        record->SetValue(logIndex * 8 + j, kind, readUnsigned(payload + at, value.width), layout_->DecimalSeparator());
        at += value.width;
    }
    owner_->AppendRecord(std::move(record));
    ++stats_.filed;
}

void LogFrameParser::Finish()
{
    if (state_ != kIdle)
        ++stats_.abandoned;
    Reset();
    if (owner_)
        owner_->SortByTime();
}
