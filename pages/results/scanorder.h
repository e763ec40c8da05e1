#pragma once

#include "pageframe.h"

#include <QStringList>

class QWidget;

// The bound points of a page's controls for its scan lists: first the controls of these names in
// this order, then any other control of the page in widget order. Each control's DbId goes to the
// main list, and to the poll's list too when the control is marked DbPolled. A name the page does
// not hold, or a control without a point, adds nothing.
TPageFrame::ScanIds controlsInOrder(const QWidget* page, const QStringList& names);
