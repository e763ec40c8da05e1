#pragma once

#include "command.h"

// Opens the link and brings the database in line with the unit: the map version, every point,
// the blocks and the size of the unit's archive memory. Every way it fails ends with the Logon
// button enabled again, which is how the window tells a failed logon from a good one.
class LogonCommand : public Command {
public:
    static constexpr int kSettleMs = 1000;

    void Execute() override;

    // The pause between the read of every point and the memory information; the unit needs it.
    // Tests shorten it.
    static void SetSettleDelay(int ms) { settleMs_ = ms; }

private:
    static int settleMs_;
};

class Communications;
class FrameComm;

// The link's opening shared by the logon and the upgrade's logon: clears a cancel left over from
// a logoff, an exit or a failed read, and connects. CommConnect's result; throws what it throws.
int OpenLinkForLogon(Communications* comms);
// What the user sees when the communications library failed under a logon.
void ReportLogonFailure(FrameComm* window);
// The window's logged-on state, once the link is open.
void ReportLogonSuccess(FrameComm* window);

// Forgets what was read, refuses further exchanges and closes the link (or, when the program was
// not logged on, only resets the link's state).
class LogoffCommand : public Command {
public:
    void Execute() override;
};
