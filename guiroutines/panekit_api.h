#pragma once

// The entries of libPanekit.so, the GUI routines that the program's windows share. The program
// loads the library and binds these entries by name (the names below are the exported symbols,
// exactly).
//
// Conventions that hold for every entry:
// - Called on the application's user-interface thread, except the pure routines (the timestamp
//   token conversions, the time texts without a message, FormatFlt, StdDevAndMean, the unit
//   table), which keep no state and may run on any thread.
// - No C++ exception leaves an entry.
// - Texts entering the library are NUL-terminated; a null pointer counts as the empty text.
//   LocalStatusBarMsg reads UTF-8, the seconds texts are plain ASCII numbers.
// - Texts leaving it are either static storage that stays valid while the library is loaded
//   (GetDUTDesc, GetUnitsDesc) or written into a caller's buffer: at most size - 1 bytes and a
//   NUL, and the result is the length of the whole text, so a result >= size means it was cut;
//   buffer may be null when size is 0.
// - String lists cross as QStringList*, widgets and objects as Qt pointers (both sides link the
//   same Qt).

#include "exportmacro.h"

#include <cstdint>

class QObject;
#include <QtContainerFwd>
class QWidget;
class WinMessageEvent;

// The unit's packed clock value (year - 2000, month, day, hour, minute, second from bit 31 down).
using PanekitTimestampToken = std::uint32_t;
// DateToTimestampToken's answer for a date-time the token cannot hold (a year outside 2000..2063,
// or no date at all). It never comes from a real date: its hour field would be 31, and
// TimestampTokenToDate gives 0.0 for it.
constexpr PanekitTimestampToken kPanekitRefusedToken = 0xFFFFFFFFu;

// Nothing to set up; kept because the program calls it once after binding.
KVT_EXPORT void _Initialize();
KVT_EXPORT void _Cleanup();

// Enable or disable a control and its direct children (one level). A group box also gets the
// window-text colour (enable) or the grey-text colour (disable) for its caption. Null does nothing.
KVT_EXPORT void EnableGroup(QWidget* control);
KVT_EXPORT void DisableGroup(QWidget* control);

// Shows text in the first status bar among parent's direct children (the main form when parent
// is null): in panel 0 when the bar has panels (see common/statuspanels.h), else as the bar's
// whole-width message. colour is a toolkit colour (0x00BBGGRR, or 0x80000000 | system colour
// index such as 0x8000000F for button faces) given to the bar's background. beep sounds the
// system bell. Without a status bar nothing happens, and nothing beeps.
KVT_EXPORT void LocalStatusBarMsg(QWidget* parent, const char* text, std::uint32_t colour, bool beep);

// The text held in a fixed character field: the bytes up to the first zero byte, the first byte
// above 0xB0 or maxLength bytes, whichever comes first, without trailing blanks. Nothing is read
// beyond the first zero byte. The bytes are copied as they are (8-bit text).
KVT_EXPORT int CharArr2AnsiString(const char* data, int maxLength, char* buffer, int size);

// Sends message to root (unless skipRoot) and then to every control below it, depth first in
// creation order, synchronously. With stopWhenHandled, the walk ends as soon as a receiver has
// left a non-zero message->result; the result is shared by all receivers and never reset.
// Separate windows parented to a control (dialogs, menus) are not part of the walk.
KVT_EXPORT void DoMyBroadcast(QWidget* root, WinMessageEvent* message, bool skipRoot, bool stopWhenHandled);

// The float's text with a precision chosen by its magnitude ("NAN" when invalid).
KVT_EXPORT int FormatFlt(float value, char* buffer, int size);

// The help context of an object that implements IQTORVAHelp (common/iqtorvahelp.h); 0 otherwise.
KVT_EXPORT int GetHelpContextTORVA(QObject* object);

// The token as a toolkit date-time (days since 1899-12-30, time of day as the fraction). A month
// of 0 or above 12 reads as January, a day of 0 as the 1st; a token that still forms no valid
// date and time gives 0.0.
KVT_EXPORT double TimestampTokenToDate(PanekitTimestampToken token);
// The token of a toolkit date-time, milliseconds dropped; kPanekitRefusedToken for a date-time
// outside the years 2000..2063 (or not a number).
KVT_EXPORT PanekitTimestampToken DateToTimestampToken(double dateTime);

// The library keeps no access mode: both always answer false.
KVT_EXPORT bool IsUpdateMode();
KVT_EXPORT bool IsFactoryMode();

// "s.mmm" texts of milliseconds, and of samples at 60 per second (milliseconds truncated).
KVT_EXPORT int msec2secA(std::uint32_t milliseconds, char* buffer, int size);
KVT_EXPORT int samp2secA(std::uint32_t samples, char* buffer, int size);
// Milliseconds of a seconds text ("1.5" -> 1500; at most three decimals count). A blank text is 0.
// A text that is not a number shows the message "\"<text>\" is not numeric" and gives 0; ok
// (may be null) is false then, and also, without a message, for a text whose parts are no
// integers (an exponent form) or whose value does not fit an int.
KVT_EXPORT int secA2msec(const char* text, bool* ok);
// Samples (60 per second) of a seconds text; 0 and ok false for anything but a number, the empty
// text included. Shows no message.
KVT_EXPORT int secA2samp(const char* text, bool* ok);

// The path of the INI file, "TORVA.INI" in the data directory ($XDG_DATA_HOME/KVT515).
KVT_EXPORT int GetIniFile(char* buffer, int size);

// Send WM_REQUEST_POLL respectively WM_REQUEST_READ (wParam n, lParam 0) to the main form
// synchronously. A failed delivery (no main form, or an exception) shows
// "Error in sending Message from DLL".
KVT_EXPORT void RequestPoll(int n);
KVT_EXPORT void RequestRead(int n);

// Mean and sample standard deviation of count values. With one value the deviation is 0; with
// none both are 0. Either output may be null.
KVT_EXPORT void StdDevAndMean(const double* values, int count, double* mean, double* stdDev);

// Measurement types and their units.
// Clears list, adds the 22 type names in index order; returns the list's count (0 for null).
KVT_EXPORT int GetDUTDescriptions(QStringList* list);
// Clears list, adds the unit names of type; returns their number (0 outside 0..21 or for null).
KVT_EXPORT int GetUnitDescriptions(signed char type, QStringList* list);
// The type's name, or "unknown type".
KVT_EXPORT const char* GetDUTDesc(unsigned char type);
// The name of a unit: type in the low byte, unit index in the high byte; or "unknown units".
KVT_EXPORT const char* GetUnitsDesc(std::uint16_t typeAndUnit);
// value converted from one unit of type to another. Temperatures (type 11) and the real-time
// clock units (type 21, value unchanged) follow their own rules; a type or unit index the table
// does not hold gives NaN.
KVT_EXPORT double UnitConvert(signed char type, int fromUnit, int toUnit, float value);

// Function-pointer types for binding the entries by name.
using PanekitInitializeFn = void (*)();
using PanekitCleanupFn = void (*)();
using PanekitEnableGroupFn = void (*)(QWidget* control);
using PanekitDisableGroupFn = void (*)(QWidget* control);
using PanekitLocalStatusBarMsgFn = void (*)(QWidget* parent, const char* text, std::uint32_t colour, bool beep);
using PanekitCharArr2AnsiStringFn = int (*)(const char* data, int maxLength, char* buffer, int size);
using PanekitDoMyBroadcastFn = void (*)(QWidget* root, WinMessageEvent* message, bool skipRoot, bool stopWhenHandled);
using PanekitFormatFltFn = int (*)(float value, char* buffer, int size);
using PanekitGetHelpContextTORVAFn = int (*)(QObject* object);
using PanekitTimestampTokenToDateFn = double (*)(PanekitTimestampToken token);
using PanekitDateToTimestampTokenFn = PanekitTimestampToken (*)(double dateTime);
using PanekitIsUpdateModeFn = bool (*)();
using PanekitIsFactoryModeFn = bool (*)();
using PanekitMsec2secAFn = int (*)(std::uint32_t milliseconds, char* buffer, int size);
using PanekitSamp2secAFn = int (*)(std::uint32_t samples, char* buffer, int size);
using PanekitSecA2msecFn = int (*)(const char* text, bool* ok);
using PanekitSecA2sampFn = int (*)(const char* text, bool* ok);
using PanekitGetIniFileFn = int (*)(char* buffer, int size);
using PanekitRequestPollFn = void (*)(int n);
using PanekitRequestReadFn = void (*)(int n);
using PanekitStdDevAndMeanFn = void (*)(const double* values, int count, double* mean, double* stdDev);
using PanekitGetDUTDescriptionsFn = int (*)(QStringList* list);
using PanekitGetUnitDescriptionsFn = int (*)(signed char type, QStringList* list);
using PanekitGetDUTDescFn = const char* (*)(unsigned char type);
using PanekitGetUnitsDescFn = const char* (*)(std::uint16_t typeAndUnit);
using PanekitUnitConvertFn = double (*)(signed char type, int fromUnit, int toUnit, float value);

// The entries the program binds at start-up, in the order it looks them up.
inline constexpr const char* kPanekitBoundEntries[] = {
    "_Initialize",          "_Cleanup",      "EnableGroup", "DisableGroup",        "LocalStatusBarMsg",
    "CharArr2AnsiString",   "DoMyBroadcast", "FormatFlt",   "GetHelpContextTORVA", "TimestampTokenToDate",
    "DateToTimestampToken",
};
