#pragma once

class QWidget;

// Enabling and disabling a control together with the controls placed directly on it.
namespace controlgroup {

// Sets the enabled state of control and of each of its direct child controls (one level: the
// children's own children keep their state, though Qt shows them disabled while an ancestor is).
// A group box also gets the window-text colour (enabled) or the grey-text colour (disabled) for
// its caption. Null does nothing.
void setGroupEnabled(QWidget* control, bool enabled);
inline void enableGroup(QWidget* control)
{
    setGroupEnabled(control, true);
}
inline void disableGroup(QWidget* control)
{
    setGroupEnabled(control, false);
}

}  // namespace controlgroup
