#pragma once

class QWidget;
class WinMessageEvent;

namespace broadcast {

// Delivers a window message to root (unless skipRoot) and then to every control below it, depth
// first in creation order, synchronously, through each control's event handling (filters
// included). The message is shared: with stopWhenHandled, the walk ends as soon as message->result
// is non-zero, and the result is never reset between receivers. A control's children are re-read
// before each step, so receivers may add or remove controls: a deleted control gets nothing more
// and its siblings still get the message. Separate windows parented to a control (dialogs, menus) are not controls
// and are left out. Null root or message does nothing.
void send(QWidget* root, WinMessageEvent* message, bool skipRoot, bool stopWhenHandled);

}  // namespace broadcast
