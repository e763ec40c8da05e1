#include "globalbindings.h"

#include "floatformat.h"
#include "numbertext.h"
#include "pointids.h"

#include <QLocale>
#include <cmath>
#include <cstdlib>
#include <string>

namespace globalpage {

const std::array<AlarmRow, 12> kAlarmRows = {{
    {"ckAlarmSensorCurrent", "Sensor LED Current (mA)", pid::AlarmSensorCurrentEnable, "edAlarmSensorCurrentLimit",
     pid::AlarmSensorCurrentLimit, Limit::PosFloat, pid::AlarmSensorCurrentActions, "ckAlmSensorCurrR",
     "ckAlmSensorCurrS"},
    {"ckAlarmSensorTemp", "HighTemp. (Degree C)", pid::AlarmHighTempuratureEnable, "edAlarmSensorTempLimit",
     pid::AlarmHighTempuratureLimit, Limit::Float, pid::AlarmHighTempuratureActions, "ckAlmSensorTempR",
     "ckAlmSensorTempS"},
    {"LowTemp", "Low Temp. (Degree C)", pid::AlarmLowTempuratureEnable, "LowTempLimit", pid::AlarmLowTempuratureLimit,
     Limit::Float, pid::AlarmLowTempuratureActions, "LowTempAction", "LowTempS"},
    {"ckAlarmBatt", "RTC Battery", pid::AlarmBatteryEnable, nullptr, 0, Limit::None, pid::AlarmBatteryActions,
     "ckAlmBattR", "ckAlmBattS"},
    {"chkMaxTapAdv", "Max Tape Adv. (s)", pid::AlarmMaxTapeAdvanceEnable, "MaxTapAdvLimit",
     pid::AlarmMaxTapeAdvanceLimit, Limit::Float, pid::AlarmMaxTapeAdvanceActions, "ckMaxTapAdvR", "ckMaxTapAdvS"},
    {"SensorComm", "Sensor Comm.", pid::AlarmSensorCommunicationEnable, nullptr, 0, Limit::None,
     pid::AlarmSensorCommunicationActions, "ckSenComR", "ckSenComS"},
    {"TapeLength", "Tape Length Remaining (feet)", pid::AlarmTapeLengthEnable, "TapeLengthAlarm",
     pid::AlarmTapeLengthLimit, Limit::Float, pid::AlarmTapeLengthActions, "ckTapLenR", "ckTapLenS"},
    {"Pluse", "Tape Movement", pid::AlarmTapeBreakEnable, nullptr, 0, Limit::None, pid::AlarmTapeBreakActions,
     "ckTapMovR", "ckTapMovS"},
    {"SensorCal", "Sensor Calibration", pid::AlarmSensorCalibrationEnable, nullptr, 0, Limit::None,
     pid::AlarmSensorCalibrationActions, "SensorCalR", "SensorCalS"},
    {"chkBypassAlarm", "Bypasss", pid::AlarmBypassEnable, nullptr, 0, Limit::None, pid::AlarmBypassActions,
     "chkBypassR", "chkBypassS"},
    {"chkACPower", "AC Power", pid::AlarmACPowerEnable, nullptr, 0, Limit::None, pid::AlarmACPowerActions,
     "chkACPowerR", "chkACPowerS"},
    {"chkDCPower", "DC Power", pid::AlarmDCPowerEnable, nullptr, 0, Limit::None, pid::AlarmDCPowerActions,
     "chkDCPowerR", "chkDCPowerS"},
}};

// The unit expects the page's points in this order; each is taken from the control showing it.
const std::vector<const char*> kEntryControls = {
    "ledId",
    "ledSite",
    "ledLocation",
    "ledPurgeTime",
    "ckAlmSensorCurrR1",
    "ckAlarmSensorTemp",
    "ckAlarmBatt",
    "edAlarmSensorCurrentLimit",
    "edAlarmSensorTempLimit",
    "ckAlmSensorTempR1",
    "ckAlmBattR1",
    "chkBypassTimeout",
    "edtBypassTimeoutActions",
    "chkMaxTapAdv",
    "MaxTapAdvLimit",
    "SensorComm",
    "LivePPM",
    "LivemVEnable",
    "FirmwareVersion",
    "RidovazVer",
    "SensorMVer",
    "TapeLengthAlarm",
    "TapeLength",
    "TrendFilterLength",
    "BacklighLock",
    "Pluse",
    "AdvanceLength",
    "AdvancePulses",
    "edFurancePulseWidth",
    "TpRm",
    "LowTemp",
    "LowTempLimit",
    "LowTempAction1",
    "SensorCal",
    "edtTapeMeasurementUnits",
    "chkBypassAlarm",
    "Streams",
    "ckMaxTapAdvR1",
    "ckSenComR1",
    "ckTapLenR1",
    "ckTapMovR1",
    "SensorCalR1",
    "chkBypassR1",
    "ckAlarmSensorCurrent",
    "chkACPower",
    "chkACPowerR1",
    "chkDCPower",
    "chkDCPowerR1",
    "chkAutoTempCal",
    "edAutoTempCalDeviation",
    "ckAutoTempCalT1",
};

QString actionBoxName(const AlarmRow& row, bool relay, int n)
{
    return QString::fromLatin1(relay ? row.relayPrefix : row.solenoidPrefix) + QString::number(n);
}

std::string actionBitText(int bit, bool checked)
{
    const unsigned value = 1u << bit;
    return std::to_string(checked ? value : 0xFFFFu - value);
}

QString versionText(const QString& value)
{
    const auto bits = static_cast<std::uint32_t>(numtext::cStrtol(value));
    return QStringLiteral("%1").arg(bits, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<QString> bypassSecondsText(const QString& milliseconds)
{
    const std::optional<double> value = numtext::tryStrToFloat(milliseconds);
    if (!value)
        return std::nullopt;
    const float seconds = static_cast<float>(*value * 0.001);
    return QString::fromStdString(floatfmt::toolkitText(static_cast<double>(seconds)));
}

std::optional<QString> clampTrendFilter(const QString& text)
{
    if (numtext::cStrtod(text) > 10)
        return QStringLiteral("10");
    return std::nullopt;
}

const char* const kPulseWidthWarning =
    "The valid input range should be between 0 and 75.\nFor more information, please contact Quenrick.";

}  // namespace globalpage
