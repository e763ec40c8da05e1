// The search for the unit's USB serial interface among the friendly names of the ports present.
#include "usbsearch.h"

#include <gtest/gtest.h>

namespace {

TEST(UsbSearch, FriendlyNames)
{
    struct Case {
        QStringList names;
        const char* found;
    };
    const Case cases[] = {
        {{}, ""},
        {{QStringLiteral("408 H2S ANALYZER (COM7)")}, "COM7"},
        {{QStringLiteral("QUENRICK USB INTERFACE (ttyUSB0)")}, "ttyUSB0"},
        {{QStringLiteral("LINX SDM-USB-QS-S (ttyUSB3)")}, "ttyUSB3"},
        // Shorter than a prefix, or a prefix in another case: no match.
        {{QStringLiteral("408 H2S ANALYZE")}, ""},
        {{QStringLiteral("quenrick usb interface (ttyUSB0)")}, ""},
        {{QStringLiteral("USB Serial (ttyUSB1)")}, ""},
        // The last matching device wins.
        {{QStringLiteral("408 H2S ANALYZER (ttyUSB0)"), QStringLiteral("Other (ttyS0)"),
          QStringLiteral("QUENRICK USB INTERFACE (ttyUSB2)")},
         "ttyUSB2"},
        // Without "(": the whole name but its last character.
        {{QStringLiteral("408 H2S ANALYZER X")}, "408 H2S ANALYZER "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(usbsearch::FindUsbSerialPort(c.names), QString::fromUtf8(c.found))
            << c.names.join(u'|').toStdString();
}

}  // namespace
