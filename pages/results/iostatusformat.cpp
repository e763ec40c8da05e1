#include "iostatusformat.h"

#include "numbertext.h"
#include "resultnumbers.h"

namespace iostatus {

QString analogText(const QString& value)
{
    return resultnum::formatMasked(QStringLiteral("0.000"), numtext::cStrtod(value));
}

PowerLamp powerLamp(const QString& word, bool on)
{
    if (on)
        return {kLampGrey, word + QStringLiteral(" Power Disconnected")};
    return {kLampRed, word + QStringLiteral(" Power Connected")};
}

}  // namespace iostatus
