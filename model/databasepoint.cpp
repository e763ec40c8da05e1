#include "databasepoint.h"

#include "commdbpointfacade.h"
#include "floatformat.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

void DBPointPublisher::Attach(IDBPointObserver* observer)
{
    observers_.push_back(observer);
}

void DBPointPublisher::Detach(IDBPointObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void DBPointPublisher::Notify(const std::string& value)
{
    // An observer may detach itself (or others) while being told: walk a copy, and skip
    // anyone detached meanwhile.
    const auto snapshot = observers_;
    for (IDBPointObserver* observer : snapshot)
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
            observer->OnValueChanged(value);
}

DatabasePoint::DatabasePoint(std::uint16_t entryIndex) : index_(entryIndex)
{
    const RidovazInterface* map = RidovazManager::Instance()->GetMap();
    typeCode_ = map->GetTypeCode(entryIndex);
    pointId_ = map->GetPointId(entryIndex);
    writable_ = map->IsWritable(entryIndex) == 1;
    name_ = map->GetName(entryIndex);
    usage_ = map->GetUsageFlags(entryIndex);
    group_ = ridovaz::findPointGroup(map->GetGroup(entryIndex));
}

std::string DatabasePoint::GetTypeName() const
{
    return RidovazManager::Instance()->GetMap()->GetTypeName(index_);
}

int DatabasePoint::GetUnitIndex() const
{
    constexpr std::uint16_t kVersionPointId = 500;
    if (pointId_ == kVersionPointId)
        return 0;
    const auto index = RidovazManager::Instance()->FindIndex(pointId_);
    return index ? *index : -1;
}

void DatabasePoint::SetAndNotify(const std::string& text)
{
    SetBoth(text);
    NotifyObservers();
}

CommDBPointFacade& DatabasePoint::facade() const
{
    return *CommDBPointFacade::Instance();
}

namespace pointtext {

bool parseBool(const std::string& text)
{
    static const char* const kFalse[] = {"False", "false", "FALSE", "F", "f", "0", ""};
    return std::none_of(std::begin(kFalse), std::end(kFalse), [&](const char* f) { return text == f; });
}

}  // namespace pointtext

namespace pointtraits {

template <typename T>
struct IntegerBase {
    static bool differ(T a, T b) { return a != b; }
    static std::string toText(T v) { return std::to_string(v); }
    static T parse(const std::string& text) { return static_cast<T>(numtext::cStrtol(text)); }
    static T parseLoad(const std::string& text) { return parse(text); }
    static T parsePending(T, const std::string& text) { return parse(text); }
};

struct U8 : IntegerBase<std::uint8_t> {
    static std::string toText(std::uint8_t v) { return std::to_string(static_cast<unsigned>(v)); }
    static void read(CommDBPointFacade& f, std::uint16_t k, std::uint8_t& v) { v = f.ReadU8(k); }
    static void write(CommDBPointFacade& f, std::uint16_t k, std::uint8_t v) { f.WriteU8(k, v); }
};
struct Baud : U8 {};
struct S8 : IntegerBase<std::int8_t> {
    static std::string toText(std::int8_t v) { return std::to_string(static_cast<int>(v)); }
    static void read(CommDBPointFacade& f, std::uint16_t k, std::int8_t& v) { v = f.ReadS8(k); }
    static void write(CommDBPointFacade& f, std::uint16_t k, std::int8_t v) { f.WriteS8(k, v); }
};
struct U16 : IntegerBase<std::uint16_t> {
    static void read(CommDBPointFacade& f, std::uint16_t k, std::uint16_t& v) { v = f.ReadU16(k); }
    static void write(CommDBPointFacade& f, std::uint16_t k, std::uint16_t v) { f.WriteU16(k, v); }
};
struct S16 : IntegerBase<std::int16_t> {
    static void read(CommDBPointFacade& f, std::uint16_t k, std::int16_t& v) { v = f.ReadS16(k); }
    static void write(CommDBPointFacade& f, std::uint16_t k, std::int16_t v) { f.WriteS16(k, v); }
};
struct U32 : IntegerBase<std::uint32_t> {
    static void read(CommDBPointFacade& f, std::uint16_t k, std::uint32_t& v) { v = f.ReadU32(k); }
    static void write(CommDBPointFacade& f, std::uint16_t k, std::uint32_t v) { f.WriteU32(k, v); }
};
struct S32 : IntegerBase<std::int32_t> {
    static void read(CommDBPointFacade& f, std::uint16_t k, std::int32_t& v) { v = f.ReadS32(k); }
    static void write(CommDBPointFacade& f, std::uint16_t k, std::int32_t v) { f.WriteS32(k, v); }
};

struct Float {
    // Compared as numbers; two NaNs are the same value, or a point the unit reports as NaN
    // would count as an edit forever.
    static bool differ(float a, float b) { return !(a == b) && !(std::isnan(a) && std::isnan(b)); }
    static std::string toText(float v) { return floatfmt::cFormat("%g", v); }
    static float parse(const std::string& text) { return static_cast<float>(numtext::cStrtod(text)); }
    static float parseLoad(const std::string& text) { return parse(text); }
    static float parsePending(float, const std::string& text) { return parse(text); }
    static void read(CommDBPointFacade& f, std::uint16_t k, float& v) { v = f.ReadFloat(k); }
    static void write(CommDBPointFacade& f, std::uint16_t k, float v) { f.WriteFloat(k, v); }
};

struct Bool {
    static bool differ(bool a, bool b) { return a != b; }
    static std::string toText(bool v) { return v ? "True" : "False"; }
    static bool parse(const std::string& text) { return pointtext::parseBool(text); }
    static bool parseLoad(const std::string& text) { return parse(text); }
    static bool parsePending(bool, const std::string& text) { return parse(text); }
    static void read(CommDBPointFacade& f, std::uint16_t k, bool& v) { v = f.ReadBool(k); }
    static void write(CommDBPointFacade& f, std::uint16_t k, bool v) { f.WriteBool(k, v); }
};

struct String {
    static bool differ(const std::string& a, const std::string& b) { return a != b; }
    static std::string toText(const std::string& v) { return v; }
    static std::string parse(const std::string& text) { return text; }
    static std::string parseLoad(const std::string& text) { return text; }
    static std::string parsePending(const std::string&, const std::string& text) { return text; }
    // A text the facade refuses (too long) leaves v as it was.
    static void read(CommDBPointFacade& f, std::uint16_t k, std::string& v) { f.ReadString(k, v); }
    static void write(CommDBPointFacade& f, std::uint16_t k, const std::string& v) { f.WriteString(k, v); }
};

// A single set bit sets that bit, a single clear bit clears it, anything else replaces the
// value: so one action or trigger bit can be changed through the plain text interface.
template <typename T>
bool isOneBit(T x)
{
    return x != 0 && (x & static_cast<T>(x - 1)) == 0;
}

template <typename T>
T combineBits(T pending, T v)
{
    if (isOneBit(v))
        return static_cast<T>(pending | v);
    if (isOneBit(static_cast<T>(~v)))
        return static_cast<T>(pending & v);
    return v;
}

struct Bits8 : U8 {
    static std::string toText(std::uint8_t v) { return std::string(1, static_cast<char>(v)); }
    static std::uint8_t parseLoad(const std::string& text)
    {
        return text.empty() ? 0 : static_cast<std::uint8_t>(text[0]);
    }
    // The single-bit rule looks at the code of the first character; any other text is a number.
    static std::uint8_t parsePending(std::uint8_t pending, const std::string& text)
    {
        const std::uint8_t code = parseLoad(text);
        if (isOneBit<std::uint8_t>(code) || isOneBit<std::uint8_t>(static_cast<std::uint8_t>(~code)))
            return combineBits<std::uint8_t>(pending, code);
        return parse(text);
    }
};

struct Bits16 : U16 {
    static std::uint16_t parsePending(std::uint16_t pending, const std::string& text)
    {
        return combineBits<std::uint16_t>(pending, parse(text));
    }
};

struct Bits32 : U32 {
    static std::string toText(std::uint32_t v) { return std::to_string(static_cast<std::int32_t>(v)); }
    static std::uint32_t parsePending(std::uint32_t pending, const std::string& text)
    {
        return combineBits<std::uint32_t>(pending, parse(text));
    }
};

}  // namespace pointtraits

template <typename T, typename Traits>
bool TypedDatabasePoint<T, Traits>::IsModified() const
{
    return Traits::differ(pending_, value_);
}

template <typename T, typename Traits>
std::string TypedDatabasePoint<T, Traits>::ToString() const
{
    return Traits::toText(pending_);
}

template <typename T, typename Traits>
void TypedDatabasePoint<T, Traits>::SetPending(const std::string& text)
{
    pending_ = Traits::parsePending(pending_, text);
}

template <typename T, typename Traits>
void TypedDatabasePoint<T, Traits>::Load(const std::string& text)
{
    pending_ = value_ = Traits::parseLoad(text);
}

template <typename T, typename Traits>
void TypedDatabasePoint<T, Traits>::SetBoth(const std::string& text)
{
    pending_ = value_ = Traits::parse(text);
}

template <typename T, typename Traits>
void TypedDatabasePoint<T, Traits>::ReadFromUnit()
{
    const int k = GetUnitIndex();
    if (k < 0)
        return;
    // A failed read leaves both values as they were.
    T v = pending_;
    Traits::read(facade(), static_cast<std::uint16_t>(k), v);
    value_ = pending_ = v;
    NotifyObservers();
}

template <typename T, typename Traits>
int TypedDatabasePoint<T, Traits>::WriteToUnit()
{
    const int k = GetUnitIndex();
    if (k < 0)
        return -1;
    Traits::write(facade(), static_cast<std::uint16_t>(k), pending_);
    value_ = pending_;
    NotifyObservers();
    return 0;
}

template class TypedDatabasePoint<std::uint8_t, pointtraits::U8>;
template class TypedDatabasePoint<std::int8_t, pointtraits::S8>;
template class TypedDatabasePoint<std::uint16_t, pointtraits::U16>;
template class TypedDatabasePoint<std::int16_t, pointtraits::S16>;
template class TypedDatabasePoint<std::uint32_t, pointtraits::U32>;
template class TypedDatabasePoint<std::int32_t, pointtraits::S32>;
template class TypedDatabasePoint<float, pointtraits::Float>;
template class TypedDatabasePoint<bool, pointtraits::Bool>;
template class TypedDatabasePoint<std::string, pointtraits::String>;
template class TypedDatabasePoint<std::uint8_t, pointtraits::Baud>;
template class TypedDatabasePoint<std::uint8_t, pointtraits::Bits8>;
template class TypedDatabasePoint<std::uint16_t, pointtraits::Bits16>;
template class TypedDatabasePoint<std::uint32_t, pointtraits::Bits32>;

std::unique_ptr<DatabasePoint> DBPointFactory::Create(std::uint16_t entryIndex)
{
    const auto valueType = ridovaz::typeTraits(RidovazManager::Instance()->GetMap()->GetTypeCode(entryIndex)).valueType;
    if (!valueType)
        return nullptr;
    switch (*valueType) {
    case ridovaz::TypeCode::Float:
        return std::make_unique<FloatDatabasePoint>(entryIndex);
    case ridovaz::TypeCode::U32:
        return std::make_unique<U32DatabasePoint>(entryIndex);
    case ridovaz::TypeCode::U16:
        return std::make_unique<U16DatabasePoint>(entryIndex);
    case ridovaz::TypeCode::U8:
        return std::make_unique<U8DatabasePoint>(entryIndex);
    case ridovaz::TypeCode::S32:
        return std::make_unique<S32DatabasePoint>(entryIndex);
    case ridovaz::TypeCode::S16:
        return std::make_unique<S16DatabasePoint>(entryIndex);
    case ridovaz::TypeCode::S8:
        return std::make_unique<S8DatabasePoint>(entryIndex);
    case ridovaz::TypeCode::Bits8:
        return std::make_unique<Bits8DatabasePoint>(entryIndex);
    case ridovaz::TypeCode::Bool:
        return std::make_unique<BoolDatabasePoint>(entryIndex);
    case ridovaz::TypeCode::Text:
        return std::make_unique<StringDatabasePoint>(entryIndex);
    case ridovaz::TypeCode::Baud:
        return std::make_unique<BaudDatabasePoint>(entryIndex);
    case ridovaz::TypeCode::Bits16:
        return std::make_unique<Bits16DatabasePoint>(entryIndex);
    case ridovaz::TypeCode::Bits32:
        return std::make_unique<Bits32DatabasePoint>(entryIndex);
    default:
        return nullptr;
    }
}
