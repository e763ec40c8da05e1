#include "database.h"

#include "analogoutputcollection.h"
#include "floatformat.h"
#include "numbertext.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

DataBase* gDataBase = nullptr;

constexpr int kBypassTimeoutId = 284;

// Points whose unit value is the point id of an analog-output choice while the pages show the
// choice's ordinal.
const std::set<int> kAnalogOutputPoints = {
    50,  54,  73,  77,  96,   100,  119,  123,  163,  167,  186,  190,  209,  213,  232,  236,  616,  621,
    641, 646, 673, 678, 701,  706,  728,  733,  758,  763,  788,  793,  823,  828,  851,  856,  878,  883,
    908, 913, 938, 943, 1275, 1278, 1301, 1304, 1327, 1330, 1353, 1356, 1247, 1250, 1253, 1256, 1259, 1262,
};

}  // namespace

void WriteLogRecordsManager::Add(int pointId)
{
    if (!Contains(pointId))
        ids_.push_back(pointId);
}

bool WriteLogRecordsManager::Contains(int pointId) const
{
    return std::find(ids_.begin(), ids_.end(), pointId) != ids_.end();
}

DataBase* DataBase::Instance()
{
    if (!gDataBase)
        gDataBase = new DataBase;
    return gDataBase;
}

void DataBase::ReleaseInstance()
{
    delete gDataBase;
    gDataBase = nullptr;
    RidovazManager::ReleaseInstance();
}

DataBase::DataBase() : idToIndex_(0x10000, -1)
{
    RidovazManager* manager = RidovazManager::Instance();
    manager->SelectMap(std::to_string(17041417));
    const RidovazInterface* map = manager->GetMap();
    const int count = map->GetCount();
    points_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::uint16_t>(i);
        points_.push_back(DBPointFactory::Create(index));
        auto& slot = idToIndex_[map->GetPointId(index)];
        if (slot < 0)
            slot = i;
    }
}

DataBase::~DataBase() = default;

void DataBase::SetDatabaseConfigFileTypeID(const std::string& text)
{
    configFileTypeId_ = text;
    configFileTypeId_.resize(25, ' ');
}

DatabasePoint* DataBase::GetPointByIndex(int index) const
{
    if (index < 0 || index >= static_cast<int>(points_.size()))
        return nullptr;
    return points_[static_cast<std::size_t>(index)].get();
}

DatabasePoint* DataBase::GetPointById(int pointId) const
{
    if (pointId < 0 || pointId > 0xFFFF)
        return nullptr;
    return GetPointByIndex(idToIndex_[static_cast<std::size_t>(pointId)]);
}

int DataBase::ReadPoint(int pointId)
{
    DatabasePoint* point = GetPointById(pointId);
    if (!point)
        return 31;
    point->ReadFromUnit();
    point->SetFresh(true);
    return 0;
}

bool DataBase::IsModified() const
{
    return std::any_of(points_.begin(), points_.end(), [](const auto& p) { return p && p->IsModified(); });
}

int DataBase::GetWatchPointCount() const
{
    return static_cast<int>(std::count_if(points_.begin(), points_.end(), [](const auto& p) {
        return p && p->GetGroupRecord() && p->GetGroupRecord()->watch != 0;
    }));
}

std::string DataBase::GetPointName(int pointId) const
{
    const DatabasePoint* point = GetPointById(pointId);
    return point ? point->GetName() : "0";
}

std::string DataBase::GetPointNameOrUnknown(int pointId) const
{
    const DatabasePoint* point = GetPointById(pointId);
    return point ? point->GetName() : ridovaz::unknownPointName(pointId);
}

std::string DataBase::GetPointNameByIndex(int index) const
{
    const DatabasePoint* point = GetPointByIndex(index);
    return point ? point->GetName() : "0";
}

int DataBase::GetPointType(int pointId) const
{
    const DatabasePoint* point = GetPointById(pointId);
    return point ? point->GetType() : 0;
}

bool DataBase::IsPointWritable(int pointId) const
{
    const DatabasePoint* point = GetPointById(pointId);
    return point && point->IsWritable();
}

int DataBase::AttachObserver(int pointId, IDBPointObserver* observer)
{
    DatabasePoint* point = GetPointById(pointId);
    if (!point)
        return 1;
    point->Attach(observer);
    return 0;
}

void DataBase::DetachObserver(int pointId, IDBPointObserver* observer)
{
    if (DatabasePoint* point = GetPointById(pointId))
        point->Detach(observer);
}

std::string DataBase::GetPointText(int pointId) const
{
    const DatabasePoint* point = GetPointById(pointId);
    return point ? point->ToString() : std::string();
}

std::string DataBase::TranslateAnalogOutputText(int pointId, const std::string& text)
{
    if (!kAnalogOutputPoints.count(pointId))
        return "-1";
    const int ordinal = numtext::StrToInt(text);
    const int id = AnalogOutputCollection::Instance()->GetIdByOrdinal(ordinal);
    // An ordinal that names no choice would otherwise travel as 65535, a real point id.
    if (id < 0)
        throw ConversionError("'" + text + "' is not an analog output choice");
    return std::to_string(id);
}

std::string DataBase::TranslateBypassTimeoutText(int pointId, const std::string& text)
{
    if (pointId != kBypassTimeoutId)
        return "-1";
    const float seconds = static_cast<float>(numtext::StrToFloat(text));
    return floatfmt::toolkitText(static_cast<double>(seconds) * 1000.0);
}

bool DataBase::StoreTranslated(DatabasePoint* point, const std::string& text)
{
    const int id = point->GetId();
    std::string t = TranslateAnalogOutputText(id, text);
    if (t == "-1") {
        t = TranslateBypassTimeoutText(id, text);
        if (t == "-1")
            t = text;
    }
    point->SetPending(t);
    return true;
}

bool DataBase::SetPointText(int pointId, const std::string& text)
{
    DatabasePoint* point = GetPointById(pointId);
    if (!point)
        return false;
    // Offline every edit is kept, so a configuration can be prepared without a unit; online
    // only the page's own points that were read from the unit take edits.
    if (!offline_ && !(expressScan.Contains(pointId, false) && point->IsFresh()))
        return false;
    return StoreTranslated(point, text);
}

bool DataBase::SetPointTextChecked(int pointId, const std::string& text)
{
    DatabasePoint* point = GetPointById(pointId);
    if (!point || !point->IsFresh())
        return false;
    return StoreTranslated(point, text);
}

void DataBase::MarkFresh(int pointId)
{
    if (DatabasePoint* point = GetPointById(pointId))
        point->SetFresh(true);
}

void DataBase::MarkAllStale()
{
    for (auto& p : points_)
        if (p)
            p->SetFresh(false);
    offline_ = true;
}

bool DataBase::AreLogIdCodesUnique() const
{
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            if (logRecords_[static_cast<std::size_t>(i)].LogIDCode ==
                logRecords_[static_cast<std::size_t>(j)].LogIDCode)
                return false;
    return true;
}

void DataBase::ResetLogIdCodes()
{
    UniqueLogID* ids = UniqueLogID::Instance();
    ids->Clear();
    for (int i = 0; i < logrecord::kLogs; ++i) {
        logRecords_[static_cast<std::size_t>(i)].LogIDCode = static_cast<std::uint8_t>(i + 1);
        ids->Add(i + 1);
    }
}

void DataBase::ShiftLogIdCodes()
{
    UniqueLogID* ids = UniqueLogID::Instance();
    ids->Clear();
    for (auto& record : logRecords_) {
        record.LogIDCode = static_cast<std::uint8_t>((record.LogIDCode + 6) % 255);
        ids->Add(record.LogIDCode);
    }
}
