#pragma once

#include <QPixmap>

// The pages' lamp pictures, drawn once and kept by index as the image lists they stand for.
namespace lamps {

// imlAlarms: 16 x 16; 0 green, 1 yellow, 2 red, 3 grey, 4 olive.
enum Alarm { AlarmGreen, AlarmYellow, AlarmRed, AlarmGrey, AlarmOlive, AlarmCount };
// imlSysAlarm: 32 x 32; 0 blue-grey, 1 amber, 2 red, 3 green.
enum System { SystemBlueGrey, SystemAmber, SystemRed, SystemGreen, SystemCount };

QPixmap alarm(int index);
QPixmap system(int index);

}  // namespace lamps
