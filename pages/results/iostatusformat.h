#pragma once

#include <QString>

// What the I/O status page shows for the values its points deliver.
namespace iostatus {

// An analog output current or analog input value: the value as the C library reads it, three
// decimals in the locale's decimal separator ("abc" shows 0.000).
QString analogText(const QString& value);

// Lamp pictures: entries of the page's two lamp lists.
constexpr int kLampRed = 2;    // both lists
constexpr int kLampGrey = 3;   // the 16 by 16 list
constexpr int kLampGreen = 3;  // the 32 by 32 list

// A relay, solenoid, latch or discrete-input lamp: red when on, grey otherwise.
inline int lampIndex(bool on)
{
    return on ? kLampRed : kLampGrey;
}
// The system alarm's 32 by 32 lamp: red when on, green otherwise.
inline int systemAlarmIndex(bool on)
{
    return on ? kLampRed : kLampGreen;
}

struct PowerLamp {
    int index;
    QString text;
};
// The AC or DC power lamp and its label; "on" is the point's disconnected state.
// word: "AC" or "DC".
PowerLamp powerLamp(const QString& word, bool on);

}  // namespace iostatus
