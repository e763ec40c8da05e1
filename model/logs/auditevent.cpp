#include "auditevent.h"

#include "analyzer.h"
#include "crc16.h"

#include <memory>

namespace {

const char* const kEventTexts[] = {
    "Power Up",
    "Time Changed",
    "Bypass",
    "Configuration Changed",
    "Alarm",
    "Exceeded low temperature limit",
    "Exceeded high temperature limit",
    "Direct Control",
    "Bypass Timeout",
    "Run initiated",
    "Latch change",
    "Automatic Temperature Calibrate",
};

struct GeneralAlarm {
    std::uint8_t subCode;
    const char* text;
};

const GeneralAlarm kGeneralAlarms[] = {
    {0, "No Alarm"},
    {10, "Battery"},
    {11, "Sensor Communication"},
    {12, "High Temperature"},
    {13, "Sensor LED Current"},
    {14, "Maximum Tape Advance"},
    {15, "Maximum Analysis Time"},
    {16, "Low Tape"},
    {17, "Tape Length"},
    {18, "Tape Movement"},
    {19, "Low Temperature"},
    {20, "Sensor Calibration"},
    {21, "Bypass"},
    {22, "AC Power"},
    {23, "DC Power"},
    {30, "Digital Input 1-(DRY)"},
    {31, "Digital Input 2-(DRY)"},
    {32, "Digital Input 3-(DRY)"},
    {33, "Digital Input 4-(DRY)"},
    {34, "Digital Input 1-(WET)"},
    {35, "Digital Input 2-(WET)"},
    {36, "Digital Input 3-(WET)"},
    {37, "Digital Input 4-(WET)"},
    {38, "Analog Input 1 > limit"},
    {39, "Analog Input 2 > limit"},
    {40, "Analog Input 3 > limit"},
    {41, "Analog Input 4 > limit"},
    {42, "Analog Input 1 < limit"},
    {43, "Analog Input 2 < limit"},
    {44, "Analog Input 3 < limit"},
    {45, "Analog Input 4 < limit"},
};

// Each stream has sixteen alarms at 50 + 20 * (stream - 1) + k.
constexpr int kFirstStreamAlarm = 50;
constexpr int kStreamAlarmStride = 20;
const char* const kStreamAlarms[] = {
    " High High Alarm",         " H2S Deviation",
    " H2S High Alarm",          " Total Sulphur High High Alarm",
    " Total Sulphur Deviation", " Total Sulphur High Alarm",
    " Reference 1 Deviation",   " Reference 1 High Alarm",
    " Reference 2 Deviation",   " Reference 2 High Alarm",
    " Zero Deviation",          " Zero High Alarm",
    " Calibration Deviation",   " Calibration High Alarm",
    " H2S Lock Alarm",          " Total Sulphur Lock Alarm",
};

// A code the tables do not know still names itself, so that a row never hides what the unit wrote.
std::string unknownText(const char* word, int code)
{
    return std::string(word) + " (" + std::to_string(code) + ")";
}

std::string alarmText(std::uint8_t subCode)
{
    for (const auto& alarm : kGeneralAlarms)
        if (alarm.subCode == subCode)
            return alarm.text;
    if (subCode >= kFirstStreamAlarm) {
        const int offset = subCode - kFirstStreamAlarm;
        const int stream = offset / kStreamAlarmStride;
        const int k = offset % kStreamAlarmStride;
        if (stream < analyzer::kStreams && k < static_cast<int>(std::size(kStreamAlarms)))
            return "Stream " + std::to_string(stream + 1) + kStreamAlarms[k];
    }
    return unknownText("unknown", subCode);
}

std::string conditionText(std::uint8_t condition)
{
    switch (condition) {
    case 0:
        return "Condition On";
    case 1:
        return "Condition Off";
    default:
        return unknownText("Unknown", condition);
    }
}

std::string streamText(std::uint8_t subCode)
{
    return subCode < analyzer::kStreams ? "Stream " + std::to_string(subCode + 1) : unknownText("Unknown", subCode);
}

std::string runTypeText(std::uint8_t condition)
{
    if (analyzer::isRunType(condition))
        return analyzer::runTypeText(static_cast<analyzer::RunType>(condition));
    // The condition one past the run types stands for the runs as a whole.
    if (condition == analyzer::kRunTypes)
        return "Runs";
    return condition == 250 ? "Unset" : unknownText("Unknown", condition);
}

std::string latchText(std::uint8_t subCode)
{
    return subCode < 16 ? "Latch " + std::to_string(subCode + 1) : unknownText("Unknown", subCode);
}

}  // namespace

AUDITRECORD DecodeAuditEvent(AuditEventBytes record, TokenToDateFn toDate)
{
    AUDITRECORD out;
    out.date = DTLogPoint::ToDateTime(record.data(), toDate);
    const std::uint8_t type = record[4];
    const std::uint8_t subCode = record[5];
    const std::uint8_t condition = record[6];
    out.eventText = type < std::size(kEventTexts) ? std::string(kEventTexts[type]) : unknownText("Unknown", type);
    switch (type) {
    case 0:
    case 1:
    case 3:
        break;
    case 9:
        out.description1 = streamText(subCode);
        out.description2 = runTypeText(condition);
        break;
    case 10:
        out.description1 = latchText(subCode);
        out.description2 = conditionText(condition);
        break;
    case 2:
    case 5:
    case 6:
    case 7:
    case 8:
    case 11:
        out.description2 = conditionText(condition);
        break;
    default:  // 4, and the types the unit may add later
        out.description1 = alarmText(subCode);
        out.description2 = conditionText(condition);
        break;
    }
    return out;
}

int AAUDITPOINTRECORD::Compare(const AAUDITPOINTRECORD& other) const
{
    if (token > other.token)
        return 1;
    return token == other.token ? 0 : -1;
}

TAuditParser::TAuditParser(TokenToDateFn toDate, IAuditProgress* progress) : toDate_(toDate), progress_(progress) {}

TAuditParser::~TAuditParser()
{
    ClearRecords();
}

void TAuditParser::ClearRecords()
{
    for (AAUDITPOINTRECORD* record : records_)
        delete record;
    records_.clear();
}

void TAuditParser::Parse(const std::uint8_t* buffer, std::size_t length)
{
    escapeCount_ = 0;
    badCrc_ = 0;
    usedBytes_ = 0;
    frameEscapes_ = 0;
    ClearRecords();
    state_ = kHunting;
    deEscaper_.Reset();
    dataIndex_ = 0;
    cursor_ = buffer;
    ScanBuffer(length);

    orderedArrayListType<AAUDITPOINTRECORD> list;
    list.SetList(records_);
    records_ = list.SortedList();
}

void TAuditParser::ScanBuffer(std::size_t length)
{
    if (progress_)
        progress_->Begin(static_cast<int>(std::min<std::size_t>(length / 10, 0x7FFFFFFF)));
    int countdown = 10;
    for (std::size_t i = 0; i < length; ++i) {
        if (countdown > 0) {
            --countdown;
        } else {
            countdown = 10;
            if (progress_)
                progress_->Step();
        }
        const std::uint8_t byte = *cursor_++;
        const DeEscaper::Result result = deEscaper_.Put(byte, state_ != kHunting);
        if (result.newFrame) {
            // The 0xDE was no escape but the start byte of a frame that cut this one short:
            // the frame it starts is read from this byte on.
            state_ = kData;
            dataIndex_ = 0;
            frameEscapes_ = 0;
        }
        if (result.escaped) {
            ++escapeCount_;
            ++frameEscapes_;
        }
        if (result.hasByte)
            Step(result.byte);
    }
}

void TAuditParser::Step(std::uint8_t byte)
{
    switch (state_) {
    case kHunting:
        if (byte == DeEscaper::kMarker) {
            dataIndex_ = 0;
            frameEscapes_ = 0;
            state_ = kData;
        }
        break;
    case kData:
        data_[dataIndex_++] = byte;
        if (dataIndex_ == data_.size())
            state_ = kCrcLow;
        break;
    case kCrcLow:
        receivedCrc_ = byte;
        state_ = kCrcHigh;
        break;
    case kCrcHigh:
        receivedCrc_ = static_cast<std::uint16_t>(receivedCrc_ | (byte << 8));
        state_ = kHunting;
        if (Crc16Modbus::compute(data_.data(), data_.size()) == receivedCrc_)
            MakeRecord();
        else
            ++badCrc_;
        break;
    default:
        state_ = kHunting;
        break;
    }
}

void TAuditParser::MakeRecord()
{
    AuditEventBytes bytes{};
    std::copy(data_.begin(), data_.end(), bytes.begin());
    bytes[7] = static_cast<std::uint8_t>(receivedCrc_ & 0xFF);
    bytes[8] = static_cast<std::uint8_t>(receivedCrc_ >> 8);
    const AUDITRECORD decoded = DecodeAuditEvent(bytes, toDate_);

    auto record = std::make_unique<AAUDITPOINTRECORD>();
    record->date = decoded.date;
    record->token = DTLogPoint::ToInt(data_.data());
    record->eventText = decoded.eventText;
    record->description1 = decoded.description1;
    record->description2 = decoded.description2;
    records_.push_back(record.get());
    record.release();
    usedBytes_ += 10 + static_cast<std::size_t>(frameEscapes_);
}
