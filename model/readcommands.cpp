#include "readcommands.h"

#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "framecomm.h"
#include "unitcommandsupport.h"

#include <optional>

namespace {

using unitcommand::status;

template <typename Read>
void runRead(FrameComm* frame, bool busy, Read read)
{
    try {
        // Whatever ends a long read (success, a link failure, any other error), the Wait window,
        // the busy state and the pages it disabled are restored.
        std::optional<unitcommand::BusyScope> scope;
        if (busy)
            scope.emplace(frame);
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
    frame->SetState(framecomm::kEnablePages, true);
    frame->SetState(framecomm::kTbtnLogon, true);
    frame->SetState(framecomm::kTbtnLogoff, false);
    frame->SetState(framecomm::kSetLogOff, true);
    status(frame, "");
}

void ExpressReadCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Express Reading...");
    DataBase* db = DataBase::Instance();
    frame()->SetInt(framecomm::kLocalPBarMax, db->CountExpressReadMessages());
    runRead(frame(), db->expressScan.ShowsWaitOnRead(), [db] { db->ExpressRead(false); });
}

void ExpressRead2Command::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Express Reading...");
    DataBase* db = DataBase::Instance();
    frame()->SetInt(framecomm::kLocalPBarMax, db->CountPollReadMessages());
    runRead(frame(), false, [db] { db->ExpressRead(true); });
}

void ReadFullCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Reading All...");
    DataBase* db = DataBase::Instance();
    frame()->SetInt(framecomm::kLocalPBarMax, db->CountReadAllMessages() + 10);
    runRead(frame(), true, [db] { db->ReadAll(); });
}

void ReadSinglePointCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Reading...");
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    DataBase::Instance()->ReadPoint(pointId_);
    status(frame(), "One Point Read");
    status(frame(), "");
}
