#pragma once

// The entries of libPortelle.so, the communications engine. The program loads the library and
// binds these entries by name (the names below are the exported symbols, exactly).
//
// Conventions that hold for every entry:
// - All entries are called on the application's user-interface thread. SendReceive, CommConnect
//   and SetUserCancel pump the event loop while they run.
// - No C++ exception leaves an entry; failures are reported by the results below.
// - Every entry is safe before _Initialize and after _Cleanup: SendReceive returns 5 ("Com port
//   not open."), CommConnect returns 1, IsOnline/IsUpdateMode/IsFactoryMode return false, the
//   others do nothing. GetCommErrText, IsValidFlt and FormatFlt never need the engine.
// - Texts leave the library as const char*: either static storage that stays valid while the
//   library is loaded, or a buffer supplied by the caller. Texts entering it are 8-bit,
//   NUL-terminated; a null pointer counts as the empty text.

#include "commstatus.h"
#include "exportmacro.h"

class QWidget;

// Status of one exchange (SendReceive's result): commstatus::Status 0..6, whose texts
// GetCommErrText gives (commstatus.h).
using PortelleCommStatus = commstatus::Status;

// Largest answer message SendReceive can hand back: the buffer given as reply must hold this many.
constexpr int kPortelleMaxReply = 255;

// Creates the engine (its hidden "Communications Setup" form, loading the stored settings).
// A second call keeps the first engine.
KVT_EXPORT void _Initialize();
// Destroys the engine (closing the link, writing no settings). Safe without an engine.
KVT_EXPORT void _Cleanup();

// Shows the "Communications Setup" window without waiting.
KVT_EXPORT void ShowCommSetup();

// One exchange with the unit. request: the message ([L][type][payload], L = its own length);
// length: number of request bytes, 1..255 (anything else returns 2, "Invalid response was
// received.", and sends nothing: the request cannot be framed);
// reply: null, or a buffer of at least kPortelleMaxReply bytes that receives the answer message
// (L bytes, L being the answer's own first byte); replyLength: null or receives L.
// Both reply and replyLength are written only when the result is 0. notify: send the progress
// step (WM_COMMPROGRESS 1,1) to the main form on success.
// Result: a PortelleCommStatus value; 1 when called while another exchange or connect of the
// engine is still running (from an event handled during its wait): nothing is sent then.
KVT_EXPORT int SendReceive(const unsigned char* request, int length, unsigned char* reply, int* replyLength,
                           bool notify);

// The text of a status 0..6, in static storage; the empty text "" (never null) for any other value.
KVT_EXPORT const char* GetCommErrText(int status);

// Sets or clears the user-cancel flag, then pumps events once and sleeps 100 ms so that a
// waiting exchange ends with 6 before the caller goes on. While set, every exchange returns 6.
KVT_EXPORT void SetUserCancel(bool cancel);

// True while the link state is 4 (online).
KVT_EXPORT bool IsOnline();

// Opens the link of the chosen connection type: 0 connected, 1 not connected (also when the
// connection fails or times out, for the modem and dial-up types, and while an exchange runs).
KVT_EXPORT int CommConnect();

// Closes the link; with onlyReset only the window state and the link state are reset.
KVT_EXPORT void CommDisconnect(bool onlyReset);

// Adds "ProgComment:" + text to the trace log while logging is on.
KVT_EXPORT void WriteToCommLog(const char* text);

// Stores the link state byte (4 = online).
KVT_EXPORT void SetGUILogonState(unsigned char state);

// The library keeps no access mode: both always answer false.
KVT_EXPORT bool IsUpdateMode();
KVT_EXPORT bool IsFactoryMode();

// False when the float's exponent field is 0xFE or 0xFF (or value is null).
KVT_EXPORT bool IsValidFlt(const float* value);

// The float's text with a precision chosen by its magnitude ("NAN" when invalid), written
// NUL-terminated into buffer (at most size - 1 characters, truncated when longer). Returns the
// length of the whole text, so a result >= size means it was cut; buffer may be null when size is 0.
KVT_EXPORT int FormatFlt(float value, char* buffer, int size);

// Data: the engine's form (null before _Initialize and after _Cleanup) and the proxy dialog
// while it is open. Nothing outside the library needs them.
extern "C" __attribute__((visibility("default"))) QWidget* _Comm;
extern "C" __attribute__((visibility("default"))) QWidget* _frmProxy;

// Function-pointer types for binding the entries by name.
using PortelleInitializeFn = void (*)();
using PortelleCleanupFn = void (*)();
using PortelleShowCommSetupFn = void (*)();
using PortelleSendReceiveFn = int (*)(const unsigned char* request, int length, unsigned char* reply, int* replyLength,
                                      bool notify);
using PortelleGetCommErrTextFn = const char* (*)(int status);
using PortelleSetUserCancelFn = void (*)(bool cancel);
using PortelleIsOnlineFn = bool (*)();
using PortelleCommConnectFn = int (*)();
using PortelleCommDisconnectFn = void (*)(bool onlyReset);
using PortelleWriteToCommLogFn = void (*)(const char* text);
using PortelleSetGUILogonStateFn = void (*)(unsigned char state);
using PortelleIsUpdateModeFn = bool (*)();
using PortelleIsFactoryModeFn = bool (*)();
using PortelleIsValidFltFn = bool (*)(const float* value);
using PortelleFormatFltFn = int (*)(float value, char* buffer, int size);

// The entries the program binds, in the order it looks them up.
inline constexpr const char* kPortelleBoundEntries[] = {
    "_Initialize", "_Cleanup",      "GetCommErrText", "CommConnect", "CommDisconnect",
    "SendReceive", "ShowCommSetup", "SetUserCancel",  "IsOnline",
};
