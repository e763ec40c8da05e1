// The write trace of the database: what each write sends, in "LogWrite.dbg".
#include "database.h"
#include "numbertext.h"

#include "timestamptoken.h"
#include "toolkitdate.h"
#include "writetrace.h"

#include <bitset>

namespace {
constexpr int kClockPointId = 388;  // "Time (proprietary)"
}

std::string DataBase::TraceValueText(const DatabasePoint& point)
{
    if (const auto* bits = dynamic_cast<const Bits8DatabasePoint*>(&point))
        return std::bitset<8>(bits->GetPending()).to_string();
    if (point.GetId() == kClockPointId) {
        const auto token = static_cast<timestamp::TimestampToken>(numtext::cStrtol(point.ToString()));
        return toolkitdate::formatDateTime("mmmm d, yyyy h:nn:ss ampm", timestamp::toDateTime(token)).toStdString();
    }
    return point.ToString();
}

int DataBase::TracePoints(bool direct, const DatabasePoint* only)
{
    try {
        WriteTrace trace;
        trace.Separator();
        const std::string stamp = WriteTrace::TimeStamp();
        for (const auto& p : points_) {
            if (!p)
                continue;
            const bool selected = only ? p.get() == only
                                  : direct
                                      ? HasUsage(*p) && (p->GetUsageFlags() & ridovaz::kUseConfig) && p->IsWritable()
                                      : p->IsFresh() && HasUsage(*p) && p->IsModified() && p->IsWritable();
            if (!selected)
                continue;
            trace.Line(WriteTrace::Pad(std::to_string(p->GetId()), 10) + WriteTrace::Pad(p->GetName(), 60) +
                       WriteTrace::Pad(TraceValueText(*p), 35) + stamp);
            if (!direct && p->GetId() != kClockPointId)
                changeList_.Add(p->GetId());
        }
        TraceTimerBlock(trace, direct);
    } catch (const std::exception&) {
        return 2;
    }
    return 0;
}

namespace {
std::string field(const std::string& label, long long value, std::size_t width = 20)
{
    return WriteTrace::Pad(label + std::to_string(value), width);
}
}  // namespace

void DataBase::TraceTimerBlock(WriteTrace& trace, bool direct)
{
    const int page = expressScan.GetPage();
    if (!direct && !(timers_.IsDirty() && (page == 16 || page == 8)))
        return;
    if (!direct)
        changeList_.Add(WriteLogRecordsManager::kTimerBlockId);
    trace.Line("TimerXConfiguration");
    const TimerXConfiguration image = timers_.GetImage();
    for (int t = 0; t < timerx::kTimers; ++t) {
        const TimerXEntry& e = image.Timers[t];
        trace.Line(field("Timer ", t, 10) + field("Schedule Enable=", e.ScheduleEnable) +
                   field("DayOfWeek=", e.ScheduleDayOfWeek) + field("Schedule Hour=", e.ScheduleHour) +
                   field("Schedule Minute=", e.ScheduleMinute) + field("Analysis Enable=", e.AnalysisEnable) +
                   field("Analysis=", e.Analysis) + field("Sequencer Enable=", e.SequencerEnable) +
                   field("Sequencer=", e.Sequencer));
    }
    trace.Separator();
}

void DataBase::TraceSequencerConfig()
{
    WriteTrace trace;
    trace.Separator();
    const SequencerConfiguration c = sequencer_.GetImage();
    trace.Line(WriteTrace::Pad("Sequencer Configuration", 30) + WriteTrace::TimeStamp());
    trace.Line(field("Enable=", c.Enable) + field("Depth=", c.Depth) + field("Manual Enable=", c.ManualEnable) +
               field("Manual Digital Input=", c.ManualDigitalInput, 30));
    trace.Line("Automatic Sequencer");
    for (const SequencerEntry& e : c.Automatic)
        trace.Line(field("Stream=", e.Stream) + field("Run=", e.Run));
    for (const ManualSequence& m : c.Manual) {
        trace.Line(WriteTrace::Pad("Manual Sequence", 20) + field("Enable=", m.Enable) + field("Loop=", m.LoopEnable) +
                   field("Digital Input=", m.DigitalInput) + field("Depth=", m.Depth));
        for (const SequencerEntry& e : m.Sequence)
            trace.Line(field("Stream=", e.Stream) + field("Run=", e.Run));
    }
    trace.Separator();
}

void DataBase::TraceModbusList()
{
    WriteTrace trace;
    trace.Separator();
    const ModmapHeader header = modbusList_.GetHeader();
    const ModmapImage image = modbusList_.GetImage();
    static const char* const kModes[] = {"ENRON", "MODICON16", "MODICON32"};
    const std::string mode = header.mode < 3 ? kModes[header.mode] : "";
    trace.Line(WriteTrace::Pad("Modbus List", 20) + WriteTrace::Pad("Mode=" + mode, 20) + WriteTrace::TimeStamp());
    static const char* const kEnronLabels[] = {"coils", "shorts", "longs", "floats"};
    static const char* const kModiconLabels[] = {"status inputs", "status outputs", "register inputs",
                                                 "register outputs"};
    for (int b = 0; b < 4; ++b)
        trace.Line(WriteTrace::Pad(header.mode == 0 ? kEnronLabels[b] : kModiconLabels[b], 20) +
                   WriteTrace::Pad(std::to_string(header.Blocks[b].Address), 20) +
                   WriteTrace::Pad(std::to_string(header.Blocks[b].BlockSize), 20));
    trace.Line(WriteTrace::Pad("ModbusMap", 20));
    trace.Line(WriteTrace::Pad("LSMS", 20) + WriteTrace::Pad("FORMAT", 20) + WriteTrace::Pad("ACCESS", 20) +
               WriteTrace::Pad("UNIQUEID", 20));
    for (const ModmapEntry& e : image.Entries)
        trace.Line(WriteTrace::Pad(std::to_string(e.LSMS), 20) + WriteTrace::Pad(std::to_string(e.FORMAT), 20) +
                   WriteTrace::Pad(std::to_string(e.ACCESS), 20) + WriteTrace::Pad(std::to_string(e.UNIQUEID), 20));
    trace.Separator();
}

void DataBase::TraceLogConfig()
{
    WriteTrace trace;
    trace.Separator();
    trace.Line(WriteTrace::Pad("Log Configuration", 20) + WriteTrace::TimeStamp());
    for (const LogRecord& r : logRecords_) {
        trace.Line(WriteTrace::Pad("LogRecord", 20) + field("LOG_NUMBER", r.LOG_NUMBER) +
                   field("LOG Enable=", r.Enable) + field("Frequency=", r.Frequency) +
                   field("LogIdCode=", r.LogIDCode) + field("ParametersInLog=", r.ParametersInLog));
        for (std::uint16_t id : r.Parameters)
            trace.Line(field("UniqueId=", id));
    }
    trace.Separator();
}
