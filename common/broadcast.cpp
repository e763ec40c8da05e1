#include "broadcast.h"

#include "winmsg.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace broadcast {

void send(QWidget* root, WinMessageEvent* message, bool skipRoot, bool stopWhenHandled)
{
    if (!root || !message)
        return;
    const QPointer<QWidget> alive(root);
    if (!skipRoot) {
        QCoreApplication::sendEvent(root, message);
        if (!alive || (stopWhenHandled && message->result != 0))
            return;
    }
    for (int i = 0;; ++i) {
        const QObjectList& children = root->children();
        if (i >= children.size())
            return;
        if (stopWhenHandled && message->result != 0)
            return;
        QObject* child = children.at(i);
        if (!child->isWidgetType())
            continue;
        auto* control = static_cast<QWidget*>(child);
        if (control->isWindow())
            continue;
        send(control, message, false, stopWhenHandled);
        if (!alive)
            return;
        // A receiver that removed controls of this level must not make a sibling miss the message.
        const QObjectList& now = root->children();
        if (i >= now.size() || now.at(i) != child) {
            const auto at = now.indexOf(child);
            i = at >= 0 ? static_cast<int>(at) : i - 1;
        }
    }
}

}  // namespace broadcast
