#pragma once

#include <QString>
#include <QStringList>

// The unit's USB serial interface among the serial devices present, found by its friendly name
// (the device's description, a blank and the port name in parentheses).
namespace usbsearch {

// The port name of the last friendly name whose first 16 characters are one of the interface's
// prefixes: the text after its first "(" up to, not including, its last character (the whole
// name but its last character when it holds no "("). Empty when none matches.
QString FindUsbSerialPort(const QStringList& friendlyNames);

// The friendly names of the serial ports present.
QStringList PresentFriendlyNames();

// The search over the ports present.
inline QString FindUsbSerialPort()
{
    return FindUsbSerialPort(PresentFriendlyNames());
}

}  // namespace usbsearch
