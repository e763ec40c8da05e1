#include "usbsearch.h"

#include <QSerialPortInfo>

namespace usbsearch {

QString FindUsbSerialPort(const QStringList& friendlyNames)
{
    static const char* const kPrefixes[] = {"408 H2S ANALYZER", "QUENRICK USB INT", "LINX SDM-USB-QS-"};
    constexpr int kPrefixLength = 16;
    QString result;
    for (const QString& name : friendlyNames) {
        if (name.size() < kPrefixLength)
            continue;
        const QString head = name.left(kPrefixLength);
        bool match = false;
        for (const char* prefix : kPrefixes)
            match = match || head == QLatin1String(prefix);
        if (!match)
            continue;
        const qsizetype open = name.indexOf(QLatin1Char('('));
        result = name.mid(open + 1, name.size() - 1 - (open + 1));
    }
    return result;
}

QStringList PresentFriendlyNames()
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.description() + QStringLiteral(" (") + info.portName() + QLatin1Char(')');
    return names;
}

}  // namespace usbsearch
