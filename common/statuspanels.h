#pragma once

#include <QList>
#include <QString>
#include <cstdint>

class QStatusBar;
class QWidget;

// A status bar's panels. The toolkit's status bars have numbered panels; here a panel is a widget
// placed in the bar and marked with its number (setPanel). A bar with no marked widget counts its
// child widgets (the size grip left out) as its panels, in the order they were placed in it.
namespace statuspanels {

// Marks widget as panel index of the status bar it is (or will be) placed in.
void setPanel(QWidget* widget, int index);
// The bar's panels, ordered by their number.
QList<QWidget*> panels(QStatusBar* bar);
// Sets a panel's text (a label's text, or any widget's "text" property). False when the bar
// has no such panel or the panel shows no text.
bool setPanelText(QStatusBar* bar, int index, const QString& text);
// The first status bar among parent's direct children, or null.
QStatusBar* firstStatusBar(QWidget* parent);

// The status-bar message of a window: in the first status bar among parent's direct children
// (the main form's when parent is null), the text goes to panel 0, or, for a bar without panels,
// across the whole bar; the bar takes the toolkit colour (toolkitcolor.h) as its background and
// is repainted; beep sounds the bell. Without a status bar nothing happens.
void showLocalMessage(QWidget* parent, const QString& text, std::uint32_t colour, bool beep);

}  // namespace statuspanels
