#include "sequencertrees.h"

#include "sequencermodel.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>

TRunTypeTree::TRunTypeTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIndentation(10);
}

void TRunTypeTree::BuildRunTypeTree()
{
    setUpdatesEnabled(false);
    clear();
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon runIcon = style()->standardIcon(QStyle::SP_FileIcon);
    auto* root = new QTreeWidgetItem(this, {QStringLiteral("Available Run Types")});
    root->setIcon(0, folder);
    root->setData(0, kStreamRole, -1);
    root->setData(0, kRunRole, -1);
    for (int s = 1; s <= analyzer::kStreams; ++s) {
        auto* stream = new QTreeWidgetItem(root, {QStringLiteral("Stream %1").arg(s)});
        stream->setIcon(0, folder);
        stream->setData(0, kStreamRole, s);
        stream->setData(0, kRunRole, -1);
        for (int r = 0; r < analyzer::kRunTypes; ++r) {
            auto* run = new QTreeWidgetItem(stream, {seqpage::runTypeText(r)});
            run->setIcon(0, runIcon);
            run->setData(0, kStreamRole, s);
            run->setData(0, kRunRole, r);
        }
    }
    expandAll();
    setUpdatesEnabled(true);
}

QStringList TRunTypeTree::mimeTypes() const
{
    return {QString::fromLatin1(seqpage::kRunTypeMime)};
}

QMimeData* TRunTypeTree::mimeData(const QList<QTreeWidgetItem*>& items) const
{
    if (items.isEmpty())
        return nullptr;
    const QTreeWidgetItem* item = items.first();
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(seqpage::kRunTypeMime),
                  seqpage::encodePayload({item->data(0, kStreamRole).toInt(), item->data(0, kRunRole).toInt()}));
    return data;
}

void TRunTypeTree::startDrag(Qt::DropActions supportedActions)
{
    if (CanStartDrag && !CanStartDrag())
        return;
    // Only ever a copy: a move would take the node out of the catalogue.
    QTreeWidget::startDrag(supportedActions & Qt::CopyAction);
}

void TRunTypeTree::mousePressEvent(QMouseEvent* event)
{
    // The right button only selects the node under the mouse.
    if (event->button() == Qt::RightButton) {
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
            setCurrentItem(item);
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

TSequenceTree::TSequenceTree(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderLabels({QStringLiteral("Sequencer Items")});
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIndentation(12);
}

void TSequenceTree::dragEnterEvent(QDragEnterEvent* event)
{
    // Entering is always allowed so that the move events can judge each node under the mouse.
    if (event->mimeData()->hasFormat(QString::fromLatin1(seqpage::kRunTypeMime)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TSequenceTree::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    auto* source = qobject_cast<QWidget*>(event->source());
    if (AcceptDrop && AcceptDrop(event->mimeData(), target, source)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TSequenceTree::dropEvent(QDropEvent* event)
{
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    auto* source = qobject_cast<QWidget*>(event->source());
    if (!AcceptDrop || !AcceptDrop(event->mimeData(), target, source)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (DropOnto)
        DropOnto(event->mimeData(), target);
}

void TSequenceTree::keyPressEvent(QKeyEvent* event)
{
    if (KeyDown && KeyDown(event)) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
