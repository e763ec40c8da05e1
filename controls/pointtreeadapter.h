#pragma once

#include <QString>
#include <Qt>

class QTreeWidget;
class QTreeWidgetItem;
class RidovazInterface;

// Fills a tree view with the register-map entries that may be picked for one purpose (mapped to
// Modbus registers, or logged), under fixed group nodes. The windows that use it drag points out
// of the tree by the entry index each point node carries (DataRole). Short-lived: build one,
// Fill, drop it; the tree keeps the nodes.
class PointTreeAdapter {
public:
    // The mode key texts. They look like file names but only choose the usage-flag bit.
    static constexpr char kModbusMode[] = "ModbusUsePoint.xml";
    static constexpr char kLogMode[] = "LogUsePoint.xml";
    static constexpr char kRootCaption[] = "Avaiable Points";

    enum NodeKind { PointNode = 1, GroupNode = 2 };

    // A node's data value: the entry index for a point node, -1 for the root and the groups.
    static constexpr int DataRole = Qt::UserRole;
    // Indexes into the owner's image list: 0 for points, 1 for the root and the groups.
    static constexpr int ImageRole = Qt::UserRole + 1;
    static constexpr int SelectedImageRole = Qt::UserRole + 2;
    static constexpr int StateImageRole = Qt::UserRole + 3;

    // tree is not owned. A null map is the program's register map.
    PointTreeAdapter(QTreeWidget* tree, const QString& modeKey, const QString& rootCaption = kRootCaption,
                     const RidovazInterface* map = nullptr);
    virtual ~PointTreeAdapter() = default;

    // A point node under parent named by the entry ("unknown point <id>" for a nameless one).
    virtual QTreeWidgetItem* AddPointNode(QTreeWidgetItem* parent, int entryIndex);
    // A child of parent, or a top-level node when parent is null.
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, NodeKind kind, int data);
    // Adds the root with its groups and the points under them; the caller clears the tree first
    // when it wants an empty start. Returns the root.
    QTreeWidgetItem* Fill();

    QTreeWidget* Tree() const { return tree_; }
    const QString& ModeKey() const { return modeKey_; }
    const QString& RootCaption() const { return rootCaption_; }

protected:
    const RidovazInterface& Map() const { return *map_; }

private:
    QTreeWidget* tree_;
    QString modeKey_;
    QString rootCaption_;
    const RidovazInterface* map_;
};
