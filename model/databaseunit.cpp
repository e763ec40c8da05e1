// Moving point values between the unit and the points. Nothing here catches the status
// exceptions of the exchanges: the command that called decides what the user sees.
#include "database.h"
#include "numbertext.h"

#include "floatformat.h"

#include <cstring>

namespace {
constexpr int kStreamsPointId = 20;
}

bool DataBase::IsReadSingly(const DatabasePoint& point)
{
    // Texts and baud rates have no multi-read width.
    const std::string type = point.GetTypeName();
    return type == "text" || type == "Acceleration ";
}

template <typename Selected>
void DataBase::ReadBatched(Selected selected)
{
    MultiReadRequest request;
    const auto flush = [&] {
        if (request.count == 0)
            return;
        const MultiReadAnswer answer = CommDBPointFacade::Instance()->MultiRead(request);
        UnpackMultiRead(request, answer.count, answer.values.data(), static_cast<int>(answer.values.size()), true);
        request = MultiReadRequest{};
    };
    for (const auto& p : points_) {
        if (!p || !selected(*p))
            continue;
        if (IsReadSingly(*p)) {
            p->ReadFromUnit();
            p->SetFresh(true);
            continue;
        }
        request.indexes[request.count++] = p->GetIndex();
        if (request.count == MultiReadRequest::kMaxIndexes)
            flush();
    }
    flush();
}

void DataBase::UnpackMultiRead(const MultiReadRequest& request, int answerCount, const std::uint8_t* values,
                               int valuesLength, bool markFresh)
{
    const int count = std::min<int>({answerCount, request.count, MultiReadRequest::kMaxIndexes});
    const RidovazInterface* map = RidovazManager::Instance()->GetMap();
    int at = 0;
    for (int k = 0; k < count; ++k) {
        const std::uint16_t index = request.indexes[static_cast<std::size_t>(k)];
        DatabasePoint* point = GetPointByIndex(index);
        const int width = ridovaz::valueSize(map->GetTypeCode(index));
        if (width == 0 || at + width > valuesLength)
            break;
        const std::uint8_t* v = values + at;
        at += width;
        if (!point)
            continue;
        const std::string type = point->GetTypeName();
        std::string text;
        if (type == "float") {
            float f;
            std::memcpy(&f, v, 4);
            text = floatfmt::toolkitText(f);
        } else if (type == "unsigned short") {
            text = std::to_string(v[0] | (v[1] << 8));
        } else if (type == "unsigned long") {
            const std::uint32_t u = v[0] | (v[1] << 8) | (v[2] << 16) | (static_cast<std::uint32_t>(v[3]) << 24);
            text = std::to_string(static_cast<std::int32_t>(u));
        } else if (type == "unsigned char") {
            text = std::to_string(v[0]);
        } else if (type == "boolean") {
            text = v[0] ? "True" : "False";
        } else {
            continue;
        }
        point->Load(text);
        if (markFresh)
            point->SetFresh(true);
        try {
            point->NotifyObservers();
        } catch (...) {
            // An observer's failure must not stop the other values from loading.
        }
    }
}

int DataBase::CountMessages(const std::vector<int>& ids) const
{
    int messages = 0;
    int batch = 0;
    for (int id : ids) {
        const DatabasePoint* point = GetPointById(id);
        if (!point)
            continue;
        if (IsReadSingly(*point)) {
            ++messages;
        } else if (++batch == MultiReadRequest::kMaxIndexes) {
            ++messages;
            batch = 0;
        }
    }
    return messages + (batch > 0 ? 1 : 0);
}

int DataBase::CountExpressReadMessages() const
{
    return CountMessages(expressScan.MainList());
}

int DataBase::CountPollReadMessages() const
{
    return CountMessages(expressScan.PolledList());
}

int DataBase::CountReadAllMessages() const
{
    std::vector<int> ids;
    for (const auto& p : points_)
        if (p && HasUsage(*p))
            ids.push_back(p->GetId());
    return CountMessages(ids);
}

void DataBase::Connect()
{
    auto version = DBPointFactory::Create(0);
    version->ReadFromUnit();
    const std::string text = version->ToString();
    version.reset();
    RidovazManager::Instance()->ReselectMap(text);
    ReadAll();
    sequencer_.ReadFromUnit();
    offline_ = false;
}

void DataBase::ReadAll()
{
    ReadBatched([](const DatabasePoint& p) { return HasUsage(p); });
    modbusList_.LoadFromUnit();
    sequencer_.ReadFromUnit();
    timers_.ReadFromUnit();
}

void DataBase::ExpressRead(bool alternateWanted)
{
    const int page = expressScan.GetPage();
    if (page == 16)
        timers_.ReadFromUnit();
    ReadBatched([&](const DatabasePoint& p) { return expressScan.Contains(p.GetId(), alternateWanted); });
    if (page == 12)
        sequencer_.ReadFromUnit();
    else if (page == 7)
        modbusList_.LoadFromUnit();
}

void DataBase::TrimCalibrationStreams(int streams)
{
    int lastClamped;
    std::string limitText;
    switch (streams) {
    case 0:
        lastClamped = 1617;
        limitText = "0";
        break;
    case 1:
        lastClamped = 1621;
        limitText = "1";
        break;
    case 3:
        lastClamped = 1625;
        limitText = "3";
        break;
    default:
        return;
    }
    const int limit = streams;
    for (int id = 1614; id <= lastClamped; ++id) {
        DatabasePoint* p = GetPointById(id);
        if (!p || !p->IsFresh() || !HasUsage(*p))
            continue;
        if (numtext::cStrtol(p->ToString()) > limit)
            p->SetPending(limitText);
    }
}

int DataBase::WriteAll()
{
    DatabasePoint* streams = GetPointById(kStreamsPointId);
    const int s = streams ? static_cast<int>(numtext::cStrtol(streams->ToString())) : 0;
    const int page = expressScan.GetPage();
    bool writeTimers = page == 16;
    if (page == 16)
        timers_.TrimToStreams(s);
    if (page == 8 && s == 0) {
        timers_.TrimToStreams(0);
        writeTimers = true;
    }
    streamsModified_ = streams && streams->IsModified();
    if (page == 3 || streamsModified_)
        TrimCalibrationStreams(s);
    if (page == 7) {
        TraceModbusList();
        modbusList_.UploadToUnit();
    }
    if (page == 12 || streamsModified_) {
        sequencer_.TrimToStreams(s);
        sequencer_.WriteToUnit();
        TraceSequencerConfig();
        sequencer_.ReadFromUnit();
    }
    TracePoints(false);
    if (writeTimers && timers_.IsDirty())
        timers_.WriteToUnit();
    for (const auto& p : points_)
        if (p && p->IsFresh() && HasUsage(*p) && p->IsModified() && p->IsWritable())
            p->WriteToUnit();
    return 0;
}

int DataBase::WriteDirect()
{
    TracePoints(true);
    for (const auto& p : points_)
        if (p && HasUsage(*p) && (p->GetUsageFlags() & ridovaz::kUseConfig) && p->IsWritable())
            p->WriteToUnit();
    TraceModbusList();
    modbusList_.UploadToUnit();
    timers_.WriteToUnit();
    return 0;
}

int DataBase::WritePoint(int pointId)
{
    DatabasePoint* point = GetPointById(pointId);
    if (!point)
        return 30;
    if (!HasUsage(*point) || !point->IsFresh() || !point->IsWritable())
        return kWritePointRefused;
    TracePoints(false, point);
    point->WriteToUnit();
    return 0;
}
