#pragma once

#include "framecomm.h"

#include <QString>
#include <exception>
#include <optional>
#include <string>

// What the commands that act on the unit share: the status line, the window's busy span and the
// pauses between their requests.
namespace unitcommand {

// What a command that could not reach the unit says.
inline constexpr char kSendError[] = "Error sending data to unit.";

inline void status(FrameComm* frame, const std::string& text)
{
    frame->SetText(framecomm::kStatusLineSpecialPanel, text);
}

// Disables the pages, marks the program busy and, unless told otherwise, shows the Wait window;
// whatever ends the command (success, a refusal, a link failure, any other error) undoes them.
class BusyScope {
public:
    enum class Wait { Shown, NotShown };

    explicit BusyScope(FrameComm* frame, Wait wait = Wait::Shown);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FrameComm* frame_;
    Wait wait_;
};

// Waits ms milliseconds. Responsive, it handles window messages meanwhile, as an exchange with
// the unit does: the window repaints and clicks queue their commands, which run only after the
// current one because the engine is running it.
void pause(int ms, bool responsive);

// The user's words for a failure that left an exchange: the link's text for a status, else the
// exception's own.
QString failureText(const std::exception& e);

}  // namespace unitcommand
