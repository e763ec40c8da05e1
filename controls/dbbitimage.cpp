#include "dbbitimage.h"

#include "numbertext.h"

QTImage16::QTImage16(QWidget* parent) : TQImage(parent) {}

void QTImage16::setWatchBitNumber(dbctl::WatchBit bit)
{
    if (bit < dbctl::bnNone || bit > dbctl::bnBit15)
        return;
    watchBit_ = bit;
}

void QTImage16::ShowValue(const QString& value)
{
    if (watchBit_ == dbctl::bnNone) {
        TQImage::ShowValue(value);
        return;
    }
    // Masks travel as decimal numbers; a text that is none leaves every bit clear.
    const auto bits = numtext::tryStrToInt64(value).value_or(0);
    const bool on = ((static_cast<std::uint64_t>(bits) >> watchBit_) & 1u) != 0;
    TQImage::ShowValue(on ? TrueValue() : QString());
}
