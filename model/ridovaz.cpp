#include "ridovaz.h"

#include "dialogservice.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

const ridovaz::Entry kEntries[] = {
#include "ridovaz17041417.inc"
};
constexpr int kEntryCount = static_cast<int>(std::size(kEntries));
static_assert(std::size(kEntries) == 1357);

const ridovaz::PointGroup kGroups[] = {
    {0x00, 0x00, 0, "Watch Window", "General", 1, 1, 0},
    {0x01, 0x00, 1, "Watch Window", "Current Stream Stats", 1, 1, 0},
    {0x02, 0x00, 2, "Watch Window", "IO States", 1, 1, 0},
    {0x03, 0x00, 3, "Watch Window", "Analysis Alarm States", 1, 1, 0},
    {0x10, 0x10, 0, "Global", "", 0, 1, 1},
    {0x20, 0x20, 0, "Stream 1", "", 0, 1, 1},
    {0x21, 0x20, 1, "Stream 1", "Normal", 0, 1, 1},
    {0x23, 0x20, 3, "Stream 1", "Calibration", 0, 1, 1},
    {0x24, 0x20, 4, "Stream 1", "Reference 1", 0, 1, 1},
    {0x25, 0x20, 5, "Stream 1", "Zero", 0, 1, 1},
    {0x30, 0x30, 0, "Stream 2", "", 0, 1, 1},
    {0x31, 0x30, 1, "Stream 2", "Normal", 0, 1, 1},
    {0x33, 0x30, 3, "Stream 2", "Calibration", 0, 1, 1},
    {0x34, 0x30, 4, "Stream 2", "Reference 1", 0, 1, 1},
    {0x35, 0x30, 5, "Stream 2", "Zero", 0, 1, 1},
    {0x60, 0x60, 0, "IO Subsystem", "Other (PWM for now)", 0, 1, 1},
    {0x61, 0x60, 1, "IO Subsystem", "Relays", 0, 1, 1},
    {0x62, 0x60, 2, "IO Subsystem", "Solenoids", 0, 1, 1},
    {0x63, 0x60, 3, "IO Subsystem", "Discrete Inputs", 0, 1, 1},
    {0x64, 0x60, 4, "IO Subsystem", "Analog Outputs", 0, 1, 1},
    {0x70, 0x70, 0, "Persistant Factory Settings", "", 0, 1, 1},
    {0x71, 0x70, 1, "Non-Persistant Factory Settings (Direct Control)", "", 0, 1, 0},
    {0x80, 0x80, 0, "Communications Settings", "Port 1", 0, 1, 1},
    {0x81, 0x80, 1, "Communications Settings", "Port 2", 0, 1, 1},
    {0x82, 0x80, 2, "Communications Settings", "Port 3", 0, 1, 1},
    {0x83, 0x80, 3, "Communications Settings", "Port 4", 0, 1, 1},
    {0x90, 0x90, 0, "Toolbar IO", "", 0, 1, 0},
    {0xA0, 0xA0, 0, "Hidden - Do not put in Modbus Picklist", "", 1, 0, 1},
};

RidovazManager* gManager = nullptr;

}  // namespace

namespace ridovaz {

TypeTraits typeTraits(int typeCode)
{
    static constexpr char kLong[] = "unsigned long";
    static constexpr char kShort[] = "unsigned short";
    static constexpr char kChar[] = "unsigned char";
    static constexpr char kBoolean[] = "boolean";
    // The map's own name for a code it gives no value type.
    static constexpr char kNone[] = "Acceleration ";
    switch (static_cast<TypeCode>(typeCode)) {
    case TypeCode::Float:
        return {TypeCode::Float, "float", 4};
    case TypeCode::U32:
    case TypeCode::U32Code19:
    case TypeCode::U32Code20:
        return {TypeCode::U32, kLong, 4};
    case TypeCode::U16:
        return {TypeCode::U16, kShort, 2};
    case TypeCode::U8:
    case TypeCode::U8Code24:
    case TypeCode::U8Code25:
        return {TypeCode::U8, kChar, 1};
    case TypeCode::S32:
        return {TypeCode::S32, kLong, 4};
    case TypeCode::S16:
        return {TypeCode::S16, kShort, 2};
    case TypeCode::S8:
        return {TypeCode::S8, kChar, 1};
    case TypeCode::Bits8:
        return {TypeCode::Bits8, kChar, 1};
    case TypeCode::Bool:
    case TypeCode::Bool9:
    case TypeCode::Bool10:
    case TypeCode::Bool11:
    case TypeCode::Bool12:
        return {TypeCode::Bool, kBoolean, 1};
    case TypeCode::Text:
        return {TypeCode::Text, "text", 0};
    // The baud rate is one byte on the unit, but the map names no type for it, so it is never multi-read.
    case TypeCode::Baud:
        return {TypeCode::Baud, kNone, 0};
    case TypeCode::Bits16:
        return {TypeCode::Bits16, kShort, 2};
    case TypeCode::Bits32:
        return {TypeCode::Bits32, kLong, 4};
    }
    return {std::nullopt, kNone, 0};
}

std::string typeName(int typeCode)
{
    return typeTraits(typeCode).typeName;
}

int valueSize(int typeCode)
{
    return typeTraits(typeCode).valueSize;
}

const PointGroup* findPointGroup(std::uint8_t groupCode)
{
    for (const auto& g : kGroups)
        if (g.code == groupCode)
            return &g;
    return nullptr;
}

int pointGroupCount()
{
    return static_cast<int>(std::size(kGroups));
}

const PointGroup& pointGroupAt(int row)
{
    return kGroups[row];
}

std::string unknownPointName(int pointId)
{
    return "unknown point " + std::to_string(pointId);
}

std::string unitNameForPointId(std::uint16_t id)
{
    auto in = [id](std::initializer_list<std::uint16_t> ids) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    };
    if (in({9, 307, 309, 312, 314, 317, 319, 322, 324}))
        return "bits";
    if (in({10, 25, 26, 138, 139}))
        return "seconds";
    if (in({30, 40, 143, 148, 153}))
        return "days";
    if (in({31, 41, 144, 149, 154}))
        return "hours";
    if (in({306, 311, 316, 321}))
        return "bps";
    return "unknown";
}

}  // namespace ridovaz

const ridovaz::Entry& Ridovaz17041417::entry(std::uint16_t index)
{
    return kEntries[index];
}

std::string Ridovaz17041417::GetTypeName(std::uint16_t index) const
{
    return ridovaz::typeName(GetTypeCode(index));
}
int Ridovaz17041417::GetTypeCode(std::uint16_t index) const
{
    return kEntries[index].typeCode;
}
int Ridovaz17041417::GetCount() const
{
    return kEntryCount;
}
std::string Ridovaz17041417::GetUnitName(std::uint16_t index) const
{
    return ridovaz::unitNameForPointId(kEntries[index].pointId);
}
std::string Ridovaz17041417::GetName(std::uint16_t index) const
{
    return kEntries[index].name;
}
std::uint16_t Ridovaz17041417::GetPointId(std::uint16_t index) const
{
    return kEntries[index].pointId;
}
std::uint8_t Ridovaz17041417::GetGroup(std::uint16_t index) const
{
    return kEntries[index].group;
}
std::uint8_t Ridovaz17041417::GetSpare(std::uint16_t index) const
{
    return kEntries[index].spare;
}
std::uint8_t Ridovaz17041417::IsWritable(std::uint16_t index) const
{
    return kEntries[index].writable;
}
std::uint8_t Ridovaz17041417::GetUsageFlags(std::uint16_t index) const
{
    return kEntries[index].usage;
}
std::string Ridovaz17041417::GetVersion() const
{
    return ridovaz::kVersion;
}
int Ridovaz17041417::GetValueSize(std::uint16_t index) const
{
    return ridovaz::valueSize(GetTypeCode(index));
}

std::unique_ptr<RidovazInterface> RidovazFactory::Create(const std::string& version)
{
    if (version == ridovaz::kVersion) {
        SetUpdateAllowed(1);
    } else {
        DialogService::warn(
            "Unknow version of database was found!\n"
            "The data may not display correctly and Firmware should be upgraded!\n"
            "The GUI will automatically switch into Read Only mode.");
        SetUpdateAllowed(0);
    }
    return std::make_unique<Ridovaz17041417>();
}

namespace {
int gUpdateAllowed = 1;
}

int RidovazFactory::UpdateAllowed()
{
    return gUpdateAllowed;
}

void RidovazFactory::SetUpdateAllowed(int allowed)
{
    gUpdateAllowed = allowed;
}

RidovazManager* RidovazManager::Instance()
{
    if (!gManager)
        gManager = new RidovazManager;
    return gManager;
}

void RidovazManager::ReleaseInstance()
{
    delete gManager;
    gManager = nullptr;
}

void RidovazManager::SelectMap(const std::string& version)
{
    startupMap_ = RidovazFactory().Create(version);
}

void RidovazManager::ReselectMap(const std::string& version)
{
    reselectedMap_.reset();
    reselectedMap_ = RidovazFactory().Create(version);
    idToIndex_.clear();
    const int count = reselectedMap_->GetCount();
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::uint16_t>(i);
        idToIndex_.emplace(reselectedMap_->GetPointId(index), index);
    }
}

std::optional<std::uint16_t> RidovazManager::FindIndex(std::uint16_t pointId) const
{
    const auto it = idToIndex_.find(pointId);
    if (it == idToIndex_.end())
        return std::nullopt;
    return it->second;
}
