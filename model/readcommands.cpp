#include "readcommands.h"

#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "framecomm.h"
#include "statemgr.h"
#include "waitwindow.h"

namespace {

// Whatever ends a long read (success, a link failure, any other error), the Wait window, the
// busy state and the pages it disabled are restored.
class BusyScope {
public:
    BusyScope(FrameComm* frame, bool active) : frame_(frame), active_(active)
    {
        if (!active_)
            return;
        frame_->SetState("DisablePages", true);
        StateMgr::Instance()->SetBusy();
        TWait::Instance()->ShowAnimated();
    }
    ~BusyScope()
    {
        if (!active_)
            return;
        TWait::Instance()->hide();
        StateMgr::Instance()->SetIdle();
        frame_->SetState("EnablePages", true);
    }

private:
    FrameComm* frame_;
    bool active_;
};

void status(FrameComm* frame, const char* text) { frame->SetText("StatusLineSpecialPanel", text); }

template <typename Read>
void runRead(FrameComm* frame, bool busy, Read read)
{
    try {
        BusyScope scope(frame, busy);
        read();
    } catch (const CommStatusError& e) {
        HandleReadFailure(frame, e.status);
        return;
    }
    status(frame, "Read Successful.");
    status(frame, "");
}

}  // namespace

void HandleReadFailure(FrameComm* frame, int code)
{
    Communications* comms = Communications::Instance();
    DialogService::showMessage("Read error: " + comms->GetErrorText(code));
    DataBase::Instance()->MarkAllStale();
    // Only the exchanges fail from now on; the link stays up, since closing a modem or dial-up
    // link would hang up the call. The next logon connects afresh.
    comms->SetUserCancel(true);
    frame->SetState("EnablePages", true);
    frame->SetState("tbtnLogon", true);
    frame->SetState("tbtnLogoff", false);
    frame->SetState("SetLogOff", true);
    status(frame, "");
}

void ExpressReadCommand::Execute()
{
    if (frame()->GetBool("LoggingOn"))
        return;
    status(frame(), "Express Reading...");
    DataBase* db = DataBase::Instance();
    frame()->SetInt("localPBarMax", db->CountExpressReadMessages());
    runRead(frame(), db->expressScan.ShowsWaitOnRead(), [db] { db->ExpressRead(false); });
}

void ExpressRead2Command::Execute()
{
    if (frame()->GetBool("LoggingOn"))
        return;
    status(frame(), "Express Reading...");
    DataBase* db = DataBase::Instance();
    frame()->SetInt("localPBarMax", db->CountPollReadMessages());
    runRead(frame(), false, [db] { db->ExpressRead(true); });
}

void ReadFullCommand::Execute()
{
    if (frame()->GetBool("LoggingOn"))
        return;
    status(frame(), "Reading All...");
    DataBase* db = DataBase::Instance();
    frame()->SetInt("localPBarMax", db->CountReadAllMessages() + 10);
    runRead(frame(), true, [db] { db->ReadAll(); });
}

void ReadSinglePointCommand::Execute()
{
    if (frame()->GetBool("LoggingOn"))
        return;
    status(frame(), "Reading...");
    frame()->SetInt("localPBarMax", 1);
    DataBase::Instance()->ReadPoint(pointId_);
    status(frame(), "One Point Read");
    status(frame(), "");
}
