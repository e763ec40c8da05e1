#pragma once

#include <QString>

class QComboBox;
class QFontMetrics;
class QLineEdit;

// Boxes too narrow for their text. Qt's line edit leaves its cursor at the end of a text set from
// code, so a value wider than its box shows its end: "1.23399996757507" reads ".23399996757507".
namespace textroom {

// The longest text the unit answers a read of a text point with.
constexpr int kUnitTextLength = 20;
// The toolkit's general float text of a single-precision value at its longest in practice
// (sixteen characters and a sign), e.g. a reading of 1234.56 shown as "1234.56005859375".
inline constexpr const char* kFloatText = "-1234.56005859375";

// A sample of n capitals (A, B, C, ...): the box that holds it holds a unit's text of that length.
QString capitals(int n);

// The box shows the start of every text set from code that is wider than the box while it has no
// focus (typing keeps the cursor where the user puts it).
void keepStartInView(QLineEdit* line);

// Makes the box wide enough for `sample` (a text of the longest kind it holds) in its own font and
// frame, or wider than it is already.
void fitWidthTo(QLineEdit* line, const QString& sample);

// The width a line edit needs to show `text` whole: the text, its frame and margins.
int lineEditWidthFor(const QLineEdit* line, const QString& text);

// Makes the combo box wide enough to show each of its items whole (typed into, when editable).
void fitWidthToItems(QComboBox* combo);

}  // namespace textroom
