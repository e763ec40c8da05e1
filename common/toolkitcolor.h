#pragma once

#include <QColor>
#include <cstdint>

// The toolkit's colour values: 0x00BBGGRR for a plain colour, 0x80000000 | index for one of the
// system colours (0x8000000F button faces, 0x80000005 window background, 0x80000008 window text,
// 0x80000011 grey text, ...), taken here from the application's palette.
namespace toolkitcolor {

constexpr std::uint32_t clScrollBar = 0x80000000;
constexpr std::uint32_t clBtnFace = 0x8000000F;
constexpr std::uint32_t clWindow = 0x80000005;
constexpr std::uint32_t clWindowText = 0x80000008;
constexpr std::uint32_t clGrayText = 0x80000011;
constexpr std::uint32_t clNone = 0x1FFFFFFF;
constexpr std::uint32_t clDefault = 0x20000000;

// An invalid QColor for clNone and clDefault (keep the widget's own colour).
QColor toQColor(std::uint32_t colour);

}  // namespace toolkitcolor
