#pragma once

#include <QPixmap>

// The lamp pictures of the analysis and I/O status pages, drawn once rather than stored.
namespace lamps {

// The 16 by 16 list ("imlAlarms"): 0 green, 1 yellow, 2 red, 3 grey, 4 dark yellow.
QPixmap small(int index);
// The 32 by 32 list ("imlSysAlarm"): 0 grey, 1 yellow, 2 red, 3 green.
QPixmap large(int index);

// Keys for quiet::setLamp: which list, which entry.
inline int smallKey(int index) { return 16 * 100 + index; }
inline int largeKey(int index) { return 32 * 100 + index; }

}  // namespace lamps
