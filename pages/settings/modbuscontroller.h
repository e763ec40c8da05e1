#pragma once

#include "modmapadapterimage.h"

#include <QString>
#include <optional>
#include <vector>

class DatabasePoint;
class MBGroup;
class ModbusList;

namespace modbuspage {

// A group node of the Modbus page's list: a top-level group (root 0 to 3) or, under the
// MODICON32 register roots 2 and 3, one of their subgroups (sub 0 Short, 1 Long, 2 Float).
struct GroupRef {
    int root = 0;
    int sub = -1;
    bool operator==(const GroupRef& o) const { return root == o.root && sub == o.sub; }
    bool operator!=(const GroupRef& o) const { return !(*this == o); }
};

// The node a drag is over.
enum class NodeKind { Group, Subgroup, Entry };

enum class DropResult { Added, Full, Refused };

const char* ModeName(int mode);
// The group's name, without its count.
QString GroupName(int mode, GroupRef group);
// The register class a group holds; nothing for a node that holds no entries itself (a
// MODICON32 register root) or a place the mode does not have.
std::optional<TMBGProfile> ClassOf(int mode, GroupRef group);
// The group whose entries pair with this one's in the MODICON modes; nothing in ENRON.
std::optional<GroupRef> PairOf(int mode, GroupRef group);
// 4 groups in a known mode, none in another.
int RootCount(int mode);
// 3 under the MODICON32 register roots, else 0.
int SubgroupCount(int mode, int root);
// Whether a point may be dropped on the node: group is the node's own group (an entry row's is
// its parent's), groupHasEntries whether that group holds rows.
bool AcceptsDrop(int mode, NodeKind node, GroupRef group, bool groupHasEntries, const QString& typeName);

// The edits of the Modbus page on the database's Modbus list, without widgets. The list's
// groups are the truth: the page draws its rows, their offsets and their register numbers from
// here, and every edit rebuilds the list's image.
class Controller {
public:
    explicit Controller(ModbusList& list) : list_(list) {}

    int Mode() const;
    // Null for a place the mode does not have; for a MODICON32 register root, its extended group.
    MBGroup* Group(GroupRef group) const;
    // Entry rows directly in the group, or in all subgroups of a register root.
    int Count(GroupRef group) const;
    // "Coils (3)".
    QString Caption(GroupRef group) const;
    DatabasePoint* PointAt(GroupRef group, int position) const;
    int OffsetAt(GroupRef group, int position) const;
    int RegisterNumber(GroupRef group, int position) const;
    int TotalCount() const;

    // Adds the point to the group and, in the MODICON modes, first to its paired group; a pair is
    // added whole or not at all, so the two groups stay in step.
    DropResult Drop(GroupRef target, DatabasePoint* point);
    // Removes the row and, in the MODICON modes, the row at the same position of the paired group
    // when there is one. False when the group has no such row.
    bool Remove(GroupRef group, int position);
    // Moves the row one place up or down with its paired row; the moved row's new position, or
    // nothing when it stands at the end it moves towards.
    std::optional<int> Move(GroupRef group, int position, bool up);
    // Empty groups of the mode.
    void NewList(int mode);

    // Every group and subgroup of the mode, in list order.
    std::vector<GroupRef> Groups() const;

private:
    bool AddOne(GroupRef group, DatabasePoint* point);

    ModbusList& list_;
};

}  // namespace modbuspage
