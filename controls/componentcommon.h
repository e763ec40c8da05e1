#pragma once

class QWidget;

// Makes any control visible to the user: shows and restores the window that holds it and turns
// every tab page (and stacked page) on the way to it, so nested page controls all show it.
// Returns that window; null for a control that sits on no window (it has no parent), in which
// case nothing changes.
QWidget* BringControlToFront(QWidget* control);
