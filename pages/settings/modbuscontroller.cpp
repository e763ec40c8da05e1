#include "modbuscontroller.h"

#include "databasepoint.h"
#include "modbuslist.h"

#include <array>

namespace modbuspage {

namespace {

constexpr std::array<const char*, 4> kEnronGroups = {"Coils", "Short Integers", "Long Integers", "Floating Point"};
constexpr std::array<const char*, 4> kModiconGroups = {"Output \"Coils\" Status", "Input Status", "Input Register",
                                                       "Output \"Holding\" Register"};
constexpr std::array<const char*, 3> kInputSubgroups = {"Input Register Short", "Input Register Long",
                                                        "Input Register Float"};
constexpr std::array<const char*, 3> kHoldingSubgroups = {"Holding Register Short", "Holding Register Long",
                                                          "Holding Register Float"};

bool knownMode(int mode)
{
    return mode == modmap::kEnron || mode == modmap::kModicon16 || mode == modmap::kModicon32;
}

bool hasSubgroups(int mode, int root)
{
    return mode == modmap::kModicon32 && (root == 2 || root == 3);
}

// Whether the place exists in the mode: a root, or a subgroup under a register root.
bool validPlace(int mode, GroupRef group)
{
    if (!knownMode(mode) || group.root < 0 || group.root > 3)
        return false;
    if (group.sub < 0)
        return true;
    return hasSubgroups(mode, group.root) && group.sub < 3;
}

}  // namespace

const char* ModeName(int mode)
{
    switch (mode) {
    case modmap::kEnron:
        return "ENRON";
    case modmap::kModicon16:
        return "MODICON16";
    case modmap::kModicon32:
        return "MODICON32";
    default:
        return "";
    }
}

QString GroupName(int mode, GroupRef group)
{
    if (!validPlace(mode, group))
        return {};
    const auto root = static_cast<std::size_t>(group.root);
    if (group.sub >= 0) {
        const auto sub = static_cast<std::size_t>(group.sub);
        return group.root == 2 ? kInputSubgroups[sub] : kHoldingSubgroups[sub];
    }
    return mode == modmap::kEnron ? kEnronGroups[root] : kModiconGroups[root];
}

std::optional<TMBGProfile> ClassOf(int mode, GroupRef group)
{
    if (!validPlace(mode, group))
        return std::nullopt;
    switch (mode) {
    case modmap::kEnron:
        return static_cast<TMBGProfile>(group.root);
    case modmap::kModicon16:
        return static_cast<TMBGProfile>(5 + group.root);
    default:
        if (group.root < 2)
            return static_cast<TMBGProfile>(9 + group.root);
        if (group.sub < 0)
            return std::nullopt;
        return static_cast<TMBGProfile>((group.root == 2 ? 11 : 14) + group.sub);
    }
}

std::optional<GroupRef> PairOf(int mode, GroupRef group)
{
    if (mode == modmap::kEnron || !validPlace(mode, group))
        return std::nullopt;
    return GroupRef{group.root ^ 1, group.sub};
}

int RootCount(int mode)
{
    return knownMode(mode) ? 4 : 0;
}

int SubgroupCount(int mode, int root)
{
    return hasSubgroups(mode, root) ? 3 : 0;
}

bool AcceptsDrop(int mode, NodeKind node, GroupRef group, bool groupHasEntries, const QString& typeName)
{
    if (typeName == "text" || !validPlace(mode, group))
        return false;
    if (mode == modmap::kModicon32) {
        if (node == NodeKind::Group && hasSubgroups(mode, group.root))
            return false;
        if (node == NodeKind::Subgroup)
            return true;
        if (node == NodeKind::Entry && group.sub >= 0)
            return false;  // a row inside a subgroup lies below level 1
    }
    // A group that holds rows is reached by dropping onto one of them.
    return node == NodeKind::Entry || !groupHasEntries;
}

int Controller::Mode() const
{
    return list_.GetMode();
}

MBGroup* Controller::Group(GroupRef group) const
{
    const int mode = Mode();
    if (!validPlace(mode, group))
        return nullptr;
    const MBGroupCollection& collection = list_.GetCollection();
    if (group.root >= collection.GetGroupCount())
        return nullptr;
    MBGroup* root = collection.GetGroup(group.root);
    if (group.sub < 0)
        return root;
    auto* extended = dynamic_cast<ExtendedModicon32MBGroup*>(root);
    return extended ? extended->GetSubgroup(group.sub) : nullptr;
}

int Controller::Count(GroupRef group) const
{
    const MBGroup* g = Group(group);
    return g ? g->GetCount() : 0;
}

QString Controller::Caption(GroupRef group) const
{
    return QStringLiteral("%1 (%2)").arg(GroupName(Mode(), group)).arg(Count(group));
}

DatabasePoint* Controller::PointAt(GroupRef group, int position) const
{
    const MBGroup* g = Group(group);
    if (!g || position < 0 || position >= static_cast<int>(g->GetRegisters().size()))
        return nullptr;
    return g->GetRegisters()[static_cast<std::size_t>(position)].point;
}

int Controller::OffsetAt(GroupRef group, int position) const
{
    const MBGroup* g = Group(group);
    if (!g || position < 0 || position >= static_cast<int>(g->GetRegisters().size()))
        return -1;
    return g->GetRegisters()[static_cast<std::size_t>(position)].offset;
}

int Controller::RegisterNumber(GroupRef group, int position) const
{
    const MBGroup* g = Group(group);
    return g ? g->GetRegisterNumber(position) : 0;
}

int Controller::TotalCount() const
{
    return list_.GetCollection().GetTotalCount();
}

bool Controller::AddOne(GroupRef group, DatabasePoint* point)
{
    const std::optional<TMBGProfile> code = ClassOf(Mode(), group);
    return code && list_.AddPoint(point, *code) >= 0;
}

DropResult Controller::Drop(GroupRef target, DatabasePoint* point)
{
    const int mode = Mode();
    if (!point || !ClassOf(mode, target) || QString::fromStdString(point->GetTypeName()) == "text")
        return DropResult::Refused;
    const std::optional<GroupRef> pair = PairOf(mode, target);
    // A pair that does not fit whole is not begun: half a pair would leave the two groups out of
    // step, and every later removal or move pairs rows by position.
    if (TotalCount() + (pair ? 2 : 1) > modmap::kEntries)
        return DropResult::Full;
    if (pair && !AddOne(*pair, point))
        return DropResult::Refused;
    if (!AddOne(target, point)) {
        if (pair)
            Remove(*pair, Count(*pair) - 1);
        return DropResult::Refused;
    }
    list_.RebuildImage();
    return DropResult::Added;
}

bool Controller::Remove(GroupRef group, int position)
{
    const std::optional<TMBGProfile> code = ClassOf(Mode(), group);
    const int offset = OffsetAt(group, position);
    if (!code || offset < 0)
        return false;
    // Groups loaded out of step (from the unit or a file) may lack the paired row: the selected
    // row goes all the same.
    if (const std::optional<GroupRef> pair = PairOf(Mode(), group)) {
        const int pairOffset = OffsetAt(*pair, position);
        if (pairOffset >= 0)
            list_.RemovePoint(*ClassOf(Mode(), *pair), pairOffset);
    }
    list_.RemovePoint(*code, offset);
    list_.RebuildImage();
    return true;
}

std::optional<int> Controller::Move(GroupRef group, int position, bool up)
{
    const std::optional<TMBGProfile> code = ClassOf(Mode(), group);
    const int count = Count(group);
    if (!code || position < 0 || position >= count)
        return std::nullopt;
    const int to = up ? position - 1 : position + 1;
    if (to < 0 || to >= count) {
        list_.RebuildImage();
        return std::nullopt;
    }
    if (const std::optional<GroupRef> pair = PairOf(Mode(), group)) {
        if (to < Count(*pair))
            list_.MovePoint(*ClassOf(Mode(), *pair), position, *ClassOf(Mode(), *pair), to);
    }
    list_.MovePoint(*code, position, *code, to);
    list_.RebuildImage();
    return to;
}

void Controller::NewList(int mode)
{
    list_.SelectMode(mode);
    list_.Reset();
    list_.RebuildImage();
}

std::vector<GroupRef> Controller::Groups() const
{
    std::vector<GroupRef> groups;
    const int mode = Mode();
    for (int root = 0; root < RootCount(mode); ++root) {
        groups.push_back({root, -1});
        for (int sub = 0; sub < SubgroupCount(mode, root); ++sub)
            groups.push_back({root, sub});
    }
    return groups;
}

}  // namespace modbuspage
