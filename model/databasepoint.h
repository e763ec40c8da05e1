#pragma once

#include "numbertext.h"
#include "ridovaz.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CommDBPointFacade;

class IDBPointObserver {
public:
    virtual ~IDBPointObserver() = default;
    virtual void OnValueChanged(const std::string& value) = 0;
};

// Observers are not owned; one observer may be listed more than once.
class DBPointPublisher {
public:
    virtual ~DBPointPublisher() = default;
    virtual void Attach(IDBPointObserver* observer);
    virtual void Detach(IDBPointObserver* observer);
    virtual void Notify(const std::string& value);

private:
    std::vector<IDBPointObserver*> observers_;
};

// The program's copy of one point of the unit: the value last exchanged with the unit and a
// pending value that edits change. Values cross every interface as text.
class DatabasePoint : public DBPointPublisher {
public:
    explicit DatabasePoint(std::uint16_t entryIndex);

    virtual bool IsModified() const = 0;
    virtual std::string ToString() const = 0;
    virtual void SetPending(const std::string& text) = 0;
    virtual void Load(const std::string& text) = 0;
    void SetAndNotify(const std::string& text);
    virtual void ReadFromUnit() = 0;
    // -1 when the connected map does not have the point; 0 once written.
    virtual int WriteToUnit() = 0;

    const std::string& GetName() const { return name_; }
    int GetType() const { return typeCode_; }
    std::uint16_t GetId() const { return pointId_; }
    bool IsWritable() const { return writable_; }
    std::uint8_t GetUsageFlags() const { return usage_; }
    std::uint16_t GetIndex() const { return index_; }
    const ridovaz::PointGroup* GetGroupRecord() const { return group_; }
    std::string GetTypeName() const;
    bool IsFresh() const { return fresh_; }
    void SetFresh(bool fresh) { fresh_ = fresh; }
    void NotifyObservers() { Notify(ToString()); }
    // The index single-point messages address: the connected map's index of the id, or -1.
    // "Ridovaz Version" is always 0, so it can be read before the map is reselected.
    int GetUnitIndex() const;

protected:
    virtual void SetBoth(const std::string& text) = 0;
    CommDBPointFacade& facade() const;

private:
    std::uint16_t index_;
    bool fresh_ = false;
    int typeCode_;
    std::uint16_t pointId_;
    bool writable_;
    std::string name_;
    std::uint8_t usage_;
    const ridovaz::PointGroup* group_;
};

// Integer points read their texts with the C library's strtol (numtext::cStrtol: widened to 64
// bits, so that every unsigned 32-bit value survives its own text) and truncate to their width;
// float points with its strtod (numtext::cStrtod).
namespace pointtext {
bool parseBool(const std::string& text);
}  // namespace pointtext

// One class per value type; Traits give the texts and the facade calls (defined with the
// thirteen instantiations in databasepoint.cpp).
template <typename T, typename Traits>
class TypedDatabasePoint : public DatabasePoint {
public:
    using DatabasePoint::DatabasePoint;

    bool IsModified() const override;
    std::string ToString() const override;
    void SetPending(const std::string& text) override;
    void Load(const std::string& text) override;
    void ReadFromUnit() override;
    int WriteToUnit() override;

    T GetValue() const { return value_; }
    T GetPending() const { return pending_; }

protected:
    void SetBoth(const std::string& text) override;

private:
    T value_{};
    T pending_{};
};

namespace pointtraits {
struct U8;
struct S8;
struct U16;
struct S16;
struct U32;
struct S32;
struct Float;
struct Bool;
struct String;
struct Baud;
struct Bits8;
struct Bits16;
struct Bits32;
}  // namespace pointtraits

using U8DatabasePoint = TypedDatabasePoint<std::uint8_t, pointtraits::U8>;
using S8DatabasePoint = TypedDatabasePoint<std::int8_t, pointtraits::S8>;
using U16DatabasePoint = TypedDatabasePoint<std::uint16_t, pointtraits::U16>;
using S16DatabasePoint = TypedDatabasePoint<std::int16_t, pointtraits::S16>;
using U32DatabasePoint = TypedDatabasePoint<std::uint32_t, pointtraits::U32>;
using S32DatabasePoint = TypedDatabasePoint<std::int32_t, pointtraits::S32>;
using FloatDatabasePoint = TypedDatabasePoint<float, pointtraits::Float>;
using BoolDatabasePoint = TypedDatabasePoint<bool, pointtraits::Bool>;
using StringDatabasePoint = TypedDatabasePoint<std::string, pointtraits::String>;
using BaudDatabasePoint = TypedDatabasePoint<std::uint8_t, pointtraits::Baud>;
using Bits8DatabasePoint = TypedDatabasePoint<std::uint8_t, pointtraits::Bits8>;
using Bits16DatabasePoint = TypedDatabasePoint<std::uint16_t, pointtraits::Bits16>;
using Bits32DatabasePoint = TypedDatabasePoint<std::uint32_t, pointtraits::Bits32>;

class DBPointFactory {
public:
    // The class the entry's type code calls for; null for the codes without one.
    static std::unique_ptr<DatabasePoint> Create(std::uint16_t entryIndex);
};
