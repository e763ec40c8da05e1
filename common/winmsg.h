#pragma once

#include <QEvent>
#include <cstdint>

// The private window messages travel as Qt events whose type is the message number.
namespace winmsg {
constexpr int WM_BEFORE_SEND_TO_DATABASE = 0x8194;
constexpr int WM_SEND_TO_DATABASE = 0x8196;
constexpr int WM_AFTER_SEND_TO_DATABASE = 0x8193;
constexpr int WM_COMMSTATE = 0x81A0;
constexpr int WM_COMMPROGRESS = 0x81A1;
constexpr int WM_PRINT_PAGE = 0x81A5;
constexpr int WM_REQUEST_POLL = 0x81A7;
constexpr int WM_REQUEST_READ = 0x81A8;
constexpr int WM_UNREGISTER_DATABASE = 0x81AC;
constexpr int WM_REGISTER_DATABASE = 0x81AF;

static_assert(WM_BEFORE_SEND_TO_DATABASE > QEvent::User && WM_REGISTER_DATABASE < QEvent::MaxUser);
}  // namespace winmsg

// A window message: wParam and lParam in, result out (what SendMessage would return).
class WinMessageEvent : public QEvent {
public:
    WinMessageEvent(int msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0)
            : QEvent(static_cast<QEvent::Type>(msg)), wParam(wParam), lParam(lParam)
    {}

    int message() const { return static_cast<int>(type()); }

    std::intptr_t wParam;
    std::intptr_t lParam;
    std::intptr_t result = 0;
};
