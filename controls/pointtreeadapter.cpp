#include "pointtreeadapter.h"

#include "ridovaz.h"

#include <QTreeWidget>
#include <array>

namespace {

// The group nodes, in the order they hang under the root.
enum Group {
    Globals,
    Stream1,
    Stream2,
    Stream3,
    Stream4,
    IO,
    Factory,
    Communication,
    InputOutput,
    NonPersistantFactory,
    AlarmsStatus,
    Actions,
    GroupCount,
    NoGroup = -1
};

constexpr std::array<const char*, GroupCount> kGroupNames = {
    "Globals",       "Stream 1",
    "Stream 2",      "Stream 3",
    "Stream 4",      "IO",
    "Factory",       "Communication",
    "Input/Output",  "Non-Persistant Factory Entries",
    "Alarms/Status", "Actions",
};

int groupOf(std::uint8_t code)
{
    const int high = code >> 4;
    const int low = code & 0x0F;
    switch (code) {
    case 0x10:
        return Globals;
    case 0x70:
        return Factory;
    case 0x71:
        return NonPersistantFactory;
    case 0x90:
        return InputOutput;
    case 0x00:
    case 0x02:
    case 0x03:
    case 0xA0:
        return AlarmsStatus;
    case 0x01:
        return Actions;
    default:
        break;
    }
    if (high >= 2 && high <= 5 && low <= 6)
        return Stream1 + (high - 2);
    if (high == 6 && low <= 4)
        return IO;
    if (high == 8 && low <= 3)
        return Communication;
    return NoGroup;
}

const RidovazInterface& programMap()
{
    if (const RidovazInterface* map = RidovazManager::Instance()->GetMap())
        return *map;
    static const Ridovaz17041417 compiledIn;
    return compiledIn;
}

}  // namespace

PointTreeAdapter::PointTreeAdapter(QTreeWidget* tree, const QString& modeKey, const QString& rootCaption,
                                   const RidovazInterface* map)
        : tree_(tree), modeKey_(modeKey), rootCaption_(rootCaption), map_(map ? map : &programMap())
{}

QTreeWidgetItem* PointTreeAdapter::AddNode(QTreeWidgetItem* parent, const QString& text, NodeKind kind, int data)
{
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    node->setText(0, text);
    node->setData(0, DataRole, data);
    const int image = kind == PointNode ? 0 : 1;
    node->setData(0, ImageRole, image);
    node->setData(0, SelectedImageRole, image);
    node->setData(0, StateImageRole, image);
    return node;
}

QTreeWidgetItem* PointTreeAdapter::AddPointNode(QTreeWidgetItem* parent, int entryIndex)
{
    const auto index = static_cast<std::uint16_t>(entryIndex);
    QString text = QString::fromStdString(map_->GetName(index));
    if (text.isEmpty())
        text = QString::fromStdString(ridovaz::unknownPointName(map_->GetPointId(index)));
    return AddNode(parent, text, PointNode, entryIndex);
}

QTreeWidgetItem* PointTreeAdapter::Fill()
{
    const bool updates = tree_->updatesEnabled();
    tree_->setUpdatesEnabled(false);

    QTreeWidgetItem* root = AddNode(nullptr, rootCaption_, GroupNode, -1);
    std::array<QTreeWidgetItem*, GroupCount> groups{};
    for (int g = 0; g < GroupCount; ++g)
        groups[static_cast<std::size_t>(g)] = AddNode(root, kGroupNames[static_cast<std::size_t>(g)], GroupNode, -1);
    root->setExpanded(true);

    std::uint8_t wanted = 0;
    if (modeKey_ == kModbusMode)
        wanted = ridovaz::kUseModbusTree;
    else if (modeKey_ == kLogMode)
        wanted = ridovaz::kUseLogTree;
    if (wanted) {
        const int count = map_->GetCount();
        for (int i = 0; i < count; ++i) {
            const auto index = static_cast<std::uint16_t>(i);
            if (!(map_->GetUsageFlags(index) & wanted))
                continue;
            const int group = groupOf(map_->GetGroup(index));
            if (group != NoGroup)
                AddPointNode(groups[static_cast<std::size_t>(group)], i);
        }
    }

    for (QTreeWidgetItem* group : groups)
        if (group->childCount() == 0)
            delete group;

    tree_->setUpdatesEnabled(updates);
    return root;
}
