#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The arithmetic of the analog output calibration frame, kept apart from its widgets.
namespace aocal {

// The counts an output's converter takes.
constexpr std::int64_t kCountLow = 0;
constexpr std::int64_t kCountHigh = 65535;

// An arrow beside a box: its position has already been moved by its step when it is clicked.
// When the box was typed into since the last click (it differs from the arrow by more than a
// step) the arrow takes the box's number and the click's step is dropped; otherwise the box takes
// the arrow's number.
struct ArrowClick {
    int position;  // the arrow's position afterwards
    bool stepped;  // the box takes `text`; false: the box keeps what was typed
    QString text;
};
ArrowClick arrowClick(std::int64_t boxValue, int position, int offset, int step = 1);

// The count that gives the wanted current, from one meter reading taken while the output is
// driven with `raw`: (wanted / meter) x raw cut toward zero. Nothing when the meter reads 0 or
// the count is no converter count (outside 0..65535, or not finite).
std::optional<std::int64_t> autoCalCount(double wanted, double meter, double raw);

// The expected test current at a fraction of the calibrated range.
double testCurrent(double zeroCurrent, double spanCurrent, double fraction);

// The toolkit's general float text of a test percentage as a fraction (50 gives "0.5").
QString fractionText(int percent);

}  // namespace aocal
