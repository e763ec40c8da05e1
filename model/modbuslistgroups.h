#pragma once

#include "modbuslistpublisher.h"
#include "modmapadapterimage.h"

#include <functional>
#include <memory>
#include <vector>

class DatabasePoint;
class ModmapAdapter;

// One point presented in a register group.
struct MBRegister {
    DatabasePoint* point;  // not owned
    std::uint8_t writable;
    int offset;  // position in the group times the group's registers per point
    int format;
};

// What sets one register group apart.
struct MBGroupTraits {
    TMBGProfile code;  // the register class of its entries
    int baseRegister;  // number of the group's first register
    int step;          // registers per point
    int format;        // 8 bit, 2 16-bit integer, 1 32-bit integer, 0 float; -1 none
    bool input;        // read-only for the Modbus master
};

// An ordered list of registers; offsets follow the positions.
class MBGroup : public MBPublisher {
public:
    explicit MBGroup(const MBGroupTraits& traits) : traits_(traits) {}
    ~MBGroup() override;

    // False for input groups and positions outside the group; else the point's writable flag.
    virtual bool IsWritable(int position) const;
    // Appends a register for the point; its offset, or -1 when the group takes no registers.
    virtual int AddPoint(DatabasePoint* point);
    // The group itself, or one of its subgroups, that holds class code; null when none does.
    virtual MBGroup* FindByCode(TMBGProfile code);
    virtual void WriteToImage(ModmapAdapter& adapter) const;
    virtual int GetCount() const { return static_cast<int>(registers_.size()); }
    // Takes an entry loaded from the unit or an image; the entry's access is not used.
    virtual void PlaceLoadedEntry(DatabasePoint* point, const ModmapEntry& entry) { AddPoint(point); }
    virtual void Clear() { registers_.clear(); }

    // Inserts before position (appends past the end); the new register's offset, or -1.
    int InsertPoint(int position, DatabasePoint* point);
    // False when there is no such position.
    bool RemoveAt(int position);
    // The position of the register at that offset; -1 when none.
    int FindPosition(int offset) const;
    // Takes the register at from out and puts it at to (the end when to lies past it); its new
    // position, or -1 when from is no position.
    int Move(int from, int to);
    const std::vector<MBRegister>& GetRegisters() const { return registers_; }
    void SetRegisterWritable(int position, bool writable);
    // The Modbus register number the master reads the position at.
    int GetRegisterNumber(int position) const;

    TMBGProfile GetCode() const { return traits_.code; }
    int GetBaseRegister() const { return traits_.baseRegister; }
    int GetStep() const { return traits_.step; }
    int GetFormat() const { return traits_.format; }
    bool IsInput() const { return traits_.input; }

protected:
    // Registers that lie before this group's own within the same base (its sibling subgroups).
    virtual int LeadingRegisters() const { return 0; }

private:
    void Renumber(int from);

    MBGroupTraits traits_;
    std::vector<MBRegister> registers_;
};

class EnronMBGroup : public MBGroup {
public:
    using MBGroup::MBGroup;
};
class Modicon16MBGroup : public MBGroup {
public:
    using MBGroup::MBGroup;
};
class Modicon32MBGroup : public MBGroup {
public:
    using MBGroup::MBGroup;
};

class CoilEnronMBGroup : public EnronMBGroup {
public:
    CoilEnronMBGroup() : EnronMBGroup({0, 1001, 1, 8, false}) {}
};
class ShortEnronMBGroup : public EnronMBGroup {
public:
    ShortEnronMBGroup() : EnronMBGroup({1, 3001, 1, 2, false}) {}
};
class LongEnronMBGroup : public EnronMBGroup {
public:
    LongEnronMBGroup() : EnronMBGroup({2, 5001, 1, 1, false}) {}
};
class FloatEnronMBGroup : public EnronMBGroup {
public:
    FloatEnronMBGroup() : EnronMBGroup({3, 7001, 1, 0, false}) {}
};
// The unit's archive registers: listed with the ENRON groups, but it never holds a point.
class ArchiveEnronMBGroup : public EnronMBGroup {
public:
    ArchiveEnronMBGroup() : EnronMBGroup({4, 701, 1, -1, false}) {}
    int AddPoint(DatabasePoint*) override { return -1; }
};

class OutputStatusModicon16MBGroup : public Modicon16MBGroup {
public:
    OutputStatusModicon16MBGroup() : Modicon16MBGroup({5, 1, 1, 8, false}) {}
};
class InputStatusModicon16MBGroup : public Modicon16MBGroup {
public:
    InputStatusModicon16MBGroup() : Modicon16MBGroup({6, 10001, 1, 8, true}) {}
};
class InputRegisterModicon16MBGroup : public Modicon16MBGroup {
public:
    InputRegisterModicon16MBGroup() : Modicon16MBGroup({7, 30001, 1, 2, true}) {}
};
class OutputHoldingRegisterModicon16MBGroup : public Modicon16MBGroup {
public:
    OutputHoldingRegisterModicon16MBGroup() : Modicon16MBGroup({8, 40001, 1, 2, false}) {}
};

class OutputStatusModicon32MBGroup : public Modicon32MBGroup {
public:
    OutputStatusModicon32MBGroup() : Modicon32MBGroup({9, 1, 1, 8, false}) {}
};
class InputStatusModicon32MBGroup : public Modicon32MBGroup {
public:
    InputStatusModicon32MBGroup() : Modicon32MBGroup({10, 10001, 1, 8, true}) {}
};

class Modicon32MBSubgroup;

// A group that holds subgroups instead of registers.
class IExtendedGroup {
public:
    virtual ~IExtendedGroup() = default;
    // Registers of the subgroups before the given one.
    virtual int RegistersBefore(const Modicon32MBSubgroup* subgroup) const = 0;
};

// A MODICON32 register range shared by shorts, longs and floats, in that order.
class ExtendedModicon32MBGroup : public Modicon32MBGroup, public IExtendedGroup {
public:
    ~ExtendedModicon32MBGroup() override;

    int AddPoint(DatabasePoint*) override { return -1; }
    MBGroup* FindByCode(TMBGProfile code) override;
    void WriteToImage(ModmapAdapter& adapter) const override;
    int GetCount() const override;
    // Short entries carry format 2 and LSMS 0, longs 1 and 1, floats 0 and 1; others are dropped.
    void PlaceLoadedEntry(DatabasePoint* point, const ModmapEntry& entry) override;
    void Clear() override;
    int RegistersBefore(const Modicon32MBSubgroup* subgroup) const override;

    Modicon32MBSubgroup* GetSubgroup(int index) const { return subgroups_[index].get(); }
    static constexpr int kSubgroups = 3;

protected:
    ExtendedModicon32MBGroup(const MBGroupTraits& traits, std::unique_ptr<Modicon32MBSubgroup> shorts,
                             std::unique_ptr<Modicon32MBSubgroup> longs, std::unique_ptr<Modicon32MBSubgroup> floats);

private:
    std::unique_ptr<Modicon32MBSubgroup> subgroups_[kSubgroups];
};

class Modicon32MBSubgroup : public Modicon32MBGroup {
public:
    using Modicon32MBGroup::Modicon32MBGroup;
    const IExtendedGroup* GetExtendedGroup() const { return extended_; }

protected:
    int LeadingRegisters() const override { return extended_ ? extended_->RegistersBefore(this) : 0; }

private:
    friend class ExtendedModicon32MBGroup;
    const IExtendedGroup* extended_ = nullptr;
};

class ShortInputRegisterModicon32MBSubgroup : public Modicon32MBSubgroup {
public:
    ShortInputRegisterModicon32MBSubgroup() : Modicon32MBSubgroup({11, 30001, 1, 2, true}) {}
};
class LongInputRegisterModicon32MBSubgroup : public Modicon32MBSubgroup {
public:
    LongInputRegisterModicon32MBSubgroup() : Modicon32MBSubgroup({12, 30001, 2, 1, true}) {}
};
class FloatInputRegisterModicon32MBSubgroup : public Modicon32MBSubgroup {
public:
    FloatInputRegisterModicon32MBSubgroup() : Modicon32MBSubgroup({13, 30001, 2, 0, true}) {}
};
class ShortOutputHoldingRegisterModicon32MBSubgroup : public Modicon32MBSubgroup {
public:
    ShortOutputHoldingRegisterModicon32MBSubgroup() : Modicon32MBSubgroup({14, 40001, 1, 2, false}) {}
};
class LongOutputHoldingRegisterModicon32MBSubgroup : public Modicon32MBSubgroup {
public:
    LongOutputHoldingRegisterModicon32MBSubgroup() : Modicon32MBSubgroup({15, 40001, 2, 1, false}) {}
};
class FloatOutputHoldingRegisterModicon32MBSubgroup : public Modicon32MBSubgroup {
public:
    FloatOutputHoldingRegisterModicon32MBSubgroup() : Modicon32MBSubgroup({16, 40001, 2, 0, false}) {}
};

class InputRegisterExtModicon32MBGroup : public ExtendedModicon32MBGroup {
public:
    InputRegisterExtModicon32MBGroup();
};
class OutputHoldingRegisterExtModicon32MBGroup : public ExtendedModicon32MBGroup {
public:
    OutputHoldingRegisterExtModicon32MBGroup();
};

// The groups of one Modbus dialect, in the order their entries lie in the map. This base class
// stands for a mode the program does not know: it has no groups and exchanges nothing.
class MBGroupCollection {
public:
    explicit MBGroupCollection(std::uint8_t mode) : mode_(mode) {}
    // Sets the image's mode byte and lets each group append its entries.
    virtual void WriteToImage(ModmapAdapter& adapter) const;
    virtual ~MBGroupCollection();
    // Reads the entries of the header's blocks from the unit into the groups.
    virtual void ReadFromUnit(const ModmapHeader& header) {}
    // Takes the entries of the header's blocks from the adapter's image into the groups.
    virtual void LoadFromImage(const ModmapHeader& header, const ModmapAdapter& adapter) {}
    // Sends the adapter's entries and a header counted from the groups (the image must be
    // current).
    virtual void UploadToUnit(const ModmapAdapter& adapter) {}
    // Empties every group and subgroup.
    virtual void ClearGroups();

    std::uint8_t GetMode() const { return mode_; }
    int GetGroupCount() const { return static_cast<int>(groups_.size()); }
    MBGroup* GetGroup(int index) const { return groups_[index].group.get(); }
    // The header block of a group; -1 for a group that has none.
    int GetHeaderBlock(int index) const { return groups_[index].headerBlock; }
    MBGroup* FindByCode(TMBGProfile code) const;
    // Registers in all groups.
    int GetTotalCount() const;
    // The header with its blocks cut, in the order the groups read them, so that they name only
    // entries of the image and at most 100 of them in all.
    ModmapHeader CappedHeader(const ModmapHeader& header) const;

protected:
    void AddGroup(std::unique_ptr<MBGroup> group, int headerBlock);
    // Places the entries of the header's blocks, as entryAt gives them, in the groups; entries
    // whose id no point has are skipped.
    void LoadBlocks(const ModmapHeader& header, const std::function<ModmapEntry(int)>& entryAt);
    // Entries first, then the header; zeroHeaderFirst sends the cleared header before the
    // entries instead of after them.
    void Upload(const ModmapAdapter& adapter, bool zeroHeaderFirst) const;

private:
    struct Slot {
        std::unique_ptr<MBGroup> group;
        int headerBlock;
    };
    std::uint8_t mode_;
    std::vector<Slot> groups_;
};

class EnronMBGroupCollection : public MBGroupCollection {
public:
    EnronMBGroupCollection();
    void ReadFromUnit(const ModmapHeader& header) override;
    void LoadFromImage(const ModmapHeader& header, const ModmapAdapter& adapter) override;
    void UploadToUnit(const ModmapAdapter& adapter) override;
};

class Modicon16MBGroupCollection : public MBGroupCollection {
public:
    Modicon16MBGroupCollection();
    void ReadFromUnit(const ModmapHeader& header) override;
    void LoadFromImage(const ModmapHeader& header, const ModmapAdapter& adapter) override;
    void UploadToUnit(const ModmapAdapter& adapter) override;
};

class Modicon32MBGroupCollection : public MBGroupCollection {
public:
    Modicon32MBGroupCollection();
    void ReadFromUnit(const ModmapHeader& header) override;
    void LoadFromImage(const ModmapHeader& header, const ModmapAdapter& adapter) override;
    void UploadToUnit(const ModmapAdapter& adapter) override;
};
