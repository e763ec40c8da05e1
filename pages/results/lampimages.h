#pragma once

#include <QPixmap>

// The lamp pictures of the analysis and I/O status pages, drawn rather than stored.
namespace lamps {

// The 16 by 16 list ("imlAlarms"): 0 green, 1 yellow, 2 red, 3 grey, 4 dark yellow.
QPixmap small(int index);
// The 32 by 32 list ("imlSysAlarm"): 0 grey, 1 yellow, 2 red, 3 green.
QPixmap large(int index);

}  // namespace lamps
