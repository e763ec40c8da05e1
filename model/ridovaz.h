#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

// Read-only view of one register map, addressed by entry index. Callers keep the index
// below GetCount(); the map itself does not check it.
class RidovazInterface {
public:
    virtual ~RidovazInterface() = default;
    virtual std::string GetTypeName(std::uint16_t index) const = 0;
    virtual int GetTypeCode(std::uint16_t index) const = 0;
    virtual int GetCount() const = 0;
    virtual std::string GetUnitName(std::uint16_t index) const = 0;
    virtual std::string GetName(std::uint16_t index) const = 0;
    virtual std::uint16_t GetPointId(std::uint16_t index) const = 0;
    virtual std::uint8_t GetGroup(std::uint16_t index) const = 0;
    virtual std::uint8_t GetSpare(std::uint16_t index) const = 0;
    virtual std::uint8_t IsWritable(std::uint16_t index) const = 0;
    virtual std::uint8_t GetUsageFlags(std::uint16_t index) const = 0;
    virtual std::string GetVersion() const = 0;
};

namespace ridovaz {

constexpr char kVersion[] = "17041417";

// Usage flag bits.
constexpr std::uint8_t kUseLogTree = 0x01;
constexpr std::uint8_t kUseModbusTree = 0x02;
constexpr std::uint8_t kUseConfig = 0x04;
constexpr std::uint8_t kUseAnalogOutChoice = 0x08;
constexpr std::uint8_t kUseDirectControl = 0x10;
constexpr std::uint8_t kUseAny = 0x1F;

struct Entry {
    std::uint16_t pointId;
    const char* name;
    std::int8_t typeCode;
    std::uint8_t group;
    std::uint8_t spare;
    std::uint8_t writable;
    std::uint8_t usage;
};

struct PointGroup {
    std::uint8_t code;
    std::uint8_t major;
    std::uint8_t minor;
    const char* majorName;
    const char* minorName;
    std::uint8_t watch;
    std::uint8_t flag2;
    std::uint8_t flag3;
};

// The data type of an entry's value (its type code). Several codes share a value type; the codes
// not named here (14, 16 to 18, 23, above 25, negative) have no point class.
enum class TypeCode : int {
    Float = 0,
    U32 = 1,
    U16 = 2,
    U8 = 3,
    S32 = 4,
    S16 = 5,
    S8 = 6,
    Bits8 = 7,
    Bool = 8,
    Bool9 = 9,
    Bool10 = 10,
    Bool11 = 11,
    Bool12 = 12,
    Text = 13,
    Baud = 15,
    U32Code19 = 19,
    U32Code20 = 20,
    Bits16 = 21,
    Bits32 = 22,
    U8Code24 = 24,
    U8Code25 = 25,
};

// What a type code stands for. valueType is the code whose value type (and point class) the
// code shares, none for a code without a point class; typeName the type name the map answers;
// valueSize the bytes of the value in a multi-read answer, 0 for a point never multi-read.
struct TypeTraits {
    std::optional<TypeCode> valueType;
    const char* typeName;
    int valueSize;
};
TypeTraits typeTraits(int typeCode);

// Type name and multi-read value width of a type code.
std::string typeName(int typeCode);
int valueSize(int typeCode);
// The row of the point-group table for a group code; null for the groups without one.
const PointGroup* findPointGroup(std::uint8_t groupCode);
int pointGroupCount();
const PointGroup& pointGroupAt(int row);
// The unit word the map gives a point id.
std::string unitNameForPointId(std::uint16_t pointId);
// The one name the program shows for a point id the map has no name for ("unknown point 5000"),
// in grids, headers, files and exports alike.
std::string unknownPointName(int pointId);

}  // namespace ridovaz

class Ridovaz17041417 : public RidovazInterface {
public:
    std::string GetTypeName(std::uint16_t index) const override;
    int GetTypeCode(std::uint16_t index) const override;
    int GetCount() const override;
    std::string GetUnitName(std::uint16_t index) const override;
    std::string GetName(std::uint16_t index) const override;
    std::uint16_t GetPointId(std::uint16_t index) const override;
    std::uint8_t GetGroup(std::uint16_t index) const override;
    std::uint8_t GetSpare(std::uint16_t index) const override;
    std::uint8_t IsWritable(std::uint16_t index) const override;
    std::uint8_t GetUsageFlags(std::uint16_t index) const override;
    std::string GetVersion() const override;
    int GetValueSize(std::uint16_t index) const;

    static const ridovaz::Entry& entry(std::uint16_t index);
};

class RidovazFactory {
public:
    // A new map for the version text; an unknown version warns and clears update permission.
    std::unique_ptr<RidovazInterface> Create(const std::string& version);

    // Whether the unit's map allows update mode: 1 after a map of this program's version, 0 after
    // another. The state manager reads it when the user asks for update mode.
    static int UpdateAllowed();
    static void SetUpdateAllowed(int allowed);

private:
    std::string text_;
};

class RidovazManager {
public:
    static RidovazManager* Instance();
    static void ReleaseInstance();

    void SelectMap(const std::string& version);
    RidovazInterface* GetMap() const { return startupMap_.get(); }
    void ReselectMap(const std::string& version);
    RidovazInterface* GetReselectedMap() const { return reselectedMap_.get(); }
    std::optional<std::uint16_t> FindIndex(std::uint16_t pointId) const;

private:
    RidovazManager() = default;

    std::unique_ptr<RidovazInterface> startupMap_;
    std::unique_ptr<RidovazInterface> reselectedMap_;
    std::map<std::uint16_t, std::uint16_t> idToIndex_;
};
