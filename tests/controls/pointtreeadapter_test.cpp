#include "pointtreeadapter.h"
#include "ridovaz.h"

#include <gtest/gtest.h>
#include <QTreeWidget>

#include <map>
#include <vector>

namespace {

// A few entries to show what the real map does not: a nameless entry, both usage bits,
// a group code no node takes.
class SmallMap : public RidovazInterface {
public:
    explicit SmallMap(std::vector<ridovaz::Entry> entries) : entries_(std::move(entries)) {}
    std::string GetTypeName(std::uint16_t) const override { return "U8"; }
    int GetTypeCode(std::uint16_t) const override { return 3; }
    int GetCount() const override { return static_cast<int>(entries_.size()); }
    std::string GetUnitName(std::uint16_t) const override { return {}; }
    std::string GetName(std::uint16_t i) const override { return entries_[i].name; }
    std::uint16_t GetPointId(std::uint16_t i) const override { return entries_[i].pointId; }
    std::uint8_t GetGroup(std::uint16_t i) const override { return entries_[i].group; }
    std::uint8_t GetSpare(std::uint16_t) const override { return 0; }
    std::uint8_t IsWritable(std::uint16_t i) const override { return entries_[i].writable; }
    std::uint8_t GetUsageFlags(std::uint16_t i) const override { return entries_[i].usage; }
    std::string GetVersion() const override { return "test"; }

private:
    std::vector<ridovaz::Entry> entries_;
};

QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

std::map<QString, int> groupCounts(const QTreeWidgetItem* root)
{
    std::map<QString, int> counts;
    for (int i = 0; i < root->childCount(); ++i)
        counts[root->child(i)->text(0)] = root->child(i)->childCount();
    return counts;
}

}  // namespace

TEST(PointTreeAdapter, ModbusAndLogTreesOfTheProgramMap)
{
    Ridovaz17041417 map;
    struct Case {
        const char* mode;
        int total;
        std::map<QString, int> groups;
    };
    const Case cases[] = {
        {PointTreeAdapter::kModbusMode,
         315,
         {{"Stream 1", 28},
          {"Stream 2", 28},
          {"Stream 3", 28},
          {"Stream 4", 28},
          {"Input/Output", 22},
          {"Alarms/Status", 143},
          {"Actions", 38}}},
        {PointTreeAdapter::kLogMode,
         260,
         {{"Stream 1", 28},
          {"Stream 2", 28},
          {"Stream 3", 28},
          {"Stream 4", 28},
          {"Input/Output", 22},
          {"Alarms/Status", 124},
          {"Actions", 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        QTreeWidget tree;
        PointTreeAdapter adapter(&tree, c.mode, PointTreeAdapter::kRootCaption, &map);
        QTreeWidgetItem* root = adapter.Fill();
        ASSERT_EQ(tree.topLevelItemCount(), 1);
        EXPECT_EQ(tree.topLevelItem(0), root);
        EXPECT_EQ(root->text(0), "Avaiable Points");
        EXPECT_TRUE(root->isExpanded());
        EXPECT_TRUE(tree.updatesEnabled());
        // Groups keep their fixed order; the empty ones are gone.
        EXPECT_EQ(childTexts(root), QStringList({"Stream 1", "Stream 2", "Stream 3", "Stream 4", "Input/Output",
                                                 "Alarms/Status", "Actions"}));
        EXPECT_EQ(groupCounts(root), c.groups);
        int total = 0;
        int previous = -1;
        for (int g = 0; g < root->childCount(); ++g) {
            const QTreeWidgetItem* group = root->child(g);
            EXPECT_EQ(group->data(0, PointTreeAdapter::DataRole).toInt(), -1);
            EXPECT_EQ(group->data(0, PointTreeAdapter::ImageRole).toInt(), 1);
            previous = -1;
            for (int p = 0; p < group->childCount(); ++p, ++total) {
                const QTreeWidgetItem* point = group->child(p);
                const int index = point->data(0, PointTreeAdapter::DataRole).toInt();
                EXPECT_GT(index, previous);  // map order
                previous = index;
                EXPECT_EQ(point->text(0).toStdString(), map.GetName(static_cast<std::uint16_t>(index)));
                EXPECT_EQ(point->data(0, PointTreeAdapter::ImageRole).toInt(), 0);
                EXPECT_EQ(point->data(0, PointTreeAdapter::SelectedImageRole).toInt(), 0);
                EXPECT_EQ(point->data(0, PointTreeAdapter::StateImageRole).toInt(), 0);
            }
        }
        EXPECT_EQ(total, c.total);
    }
}

TEST(PointTreeAdapter, GroupsBitsAndNamesOfSingleEntries)
{
    SmallMap map({
        {1, "both trees", 3, 0x22, 0, 1, 0x03},
        {2, "stream 2 reference 2", 3, 0x36, 0, 1, 0x02},
        {3, "", 3, 0x10, 0, 1, 0x02},
        {4, "no group node", 3, 0x37, 0, 1, 0x03},
        {5, "config only", 3, 0x90, 0, 1, 0x04},
        {6, "factory, not persistent", 3, 0x71, 0, 1, 0x01},
        {7, "communication", 3, 0x83, 0, 1, 0x01},
        {8, "io", 3, 0x64, 0, 1, 0x01},
    });

    QTreeWidget modbusTree;
    QTreeWidgetItem* root =
        PointTreeAdapter(&modbusTree, PointTreeAdapter::kModbusMode, "Avaiable Points", &map).Fill();
    EXPECT_EQ(childTexts(root), QStringList({"Globals", "Stream 1", "Stream 2"}));
    EXPECT_EQ(childTexts(root->child(0)), QStringList({"unknown point 3"}));
    EXPECT_EQ(childTexts(root->child(1)), QStringList({"both trees"}));
    EXPECT_EQ(childTexts(root->child(2)), QStringList({"stream 2 reference 2"}));
    EXPECT_EQ(root->child(2)->child(0)->data(0, PointTreeAdapter::DataRole).toInt(), 1);

    QTreeWidget logTree;
    root = PointTreeAdapter(&logTree, PointTreeAdapter::kLogMode, "Avaiable Points", &map).Fill();
    EXPECT_EQ(childTexts(root), QStringList({"Stream 1", "IO", "Communication", "Non-Persistant Factory Entries"}));
    EXPECT_EQ(childTexts(root->child(0)), QStringList({"both trees"}));
}

TEST(PointTreeAdapter, OtherModeShowsTheRootAloneAndRefillingAddsASecondRoot)
{
    Ridovaz17041417 map;
    QTreeWidget tree;
    PointTreeAdapter other(&tree, "Other.xml", "Avaiable Points", &map);
    QTreeWidgetItem* root = other.Fill();
    EXPECT_EQ(root->childCount(), 0);
    EXPECT_EQ(root->data(0, PointTreeAdapter::DataRole).toInt(), -1);

    tree.clear();
    PointTreeAdapter log(&tree, PointTreeAdapter::kLogMode);  // the program's map
    log.Fill();
    log.Fill();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(1)->childCount(), tree.topLevelItem(0)->childCount());
}
