#pragma once

#include <QTreeWidget>
#include <functional>

class QMimeData;

// The two trees of the sequencer page. They know how to drag and drop; what a drop means is the
// page's (the drop rule and the model live beside it), reached through the callbacks below.

// The catalogue of run types, the drag source: root "Available Run Types", "Stream 1" ...
// "Stream 4", and the six run types under each. A drag carries the stream number and run type of
// the node (run type -1 for a stream node or the root, which no list accepts).
class TRunTypeTree : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kStreamRole = Qt::UserRole;
    static constexpr int kRunRole = Qt::UserRole + 1;

    explicit TRunTypeTree(QWidget* parent = nullptr);

    // Rebuilds the whole catalogue, expanded.
    void BuildRunTypeTree();
    void FreeRunTypeTree() { clear(); }

    // Asked when a drag is about to start; false refuses it.
    std::function<bool()> CanStartDrag;

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// The nine sequence lists, the drop target. Roots carry their list number in kListRole; steps
// carry their list and their place in it.
class TSequenceTree : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kListRole = Qt::UserRole;
    static constexpr int kStepRole = Qt::UserRole + 1;  // -1 on a root

    explicit TSequenceTree(QWidget* parent = nullptr);

    // Whether a drop of the data over the item (null: empty space) is taken; source is the tree
    // the drag came from (null when it came from elsewhere).
    std::function<bool(const QMimeData* data, QTreeWidgetItem* target, QWidget* source)> AcceptDrop;
    std::function<void(const QMimeData* data, QTreeWidgetItem* target)> DropOnto;
    // A key on the lists; true when the page consumed it.
    std::function<bool(QKeyEvent* event)> KeyDown;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
