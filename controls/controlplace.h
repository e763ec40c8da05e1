#pragma once

#include <QString>

class QWidget;

// Where a box stands as a technician finds it, and bringing it into view: a write that a box
// refuses names the box and its place, shows it and puts the focus in it.
namespace controlplace {

// A frame that the page repeats (one per timer, ...) names itself for the place with this
// property: "Timer #3".
inline constexpr char kPlaceProperty[] = "PlaceCaption";

// The box's own caption: a labelled edit's label, the label that names it as its buddy, a
// button's text, its accessible name, else its object name without the type prefix, in words
// ("edHours" gives "Hours").
QString captionOf(const QWidget* box);

// The captions of the tabs (and named frames) that hold the box, outermost first, below its page
// or window, then the box's caption: "Stream 2, H2S: Hours".
QString placeOf(const QWidget* box);

// A message about the box that says where it is: "<place>: <text>".
QString placedText(const QWidget* box, const QString& text);

// Makes every tab that holds the box current and scrolls every scroll area that holds it to it,
// up to the top window (the main window's page control included), then gives it the focus (now,
// and again when the event loop next runs: a running write keeps the pages disabled).
void reveal(QWidget* box);

}  // namespace controlplace
