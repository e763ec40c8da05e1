#include "logoncommands.h"

#include "activeobjectengine.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "framecomm.h"
#include "pollcommands.h"
#include "unitcommandsupport.h"

#include <QThread>

int LogonCommand::settleMs_ = LogonCommand::kSettleMs;

namespace {
void status(FrameComm* frame, const char* text)
{
    frame->SetText(framecomm::kStatusLineSpecialPanel, text);
}
}  // namespace

int OpenLinkForLogon(Communications* comms)
{
    // A cancel left over from a logoff, an exit or a failed read must not abort this logon; but
    // a window that began closing after the command was taken off the queue has cancelled it,
    // and clearing that would hold the closing window through the unit's time-outs.
    if (!MyActiveObjectEngine::Instance()->IsStopRequested())
        comms->SetUserCancel(false);
    StopPolling = false;
    return comms->CommConnect();
}

void ReportLogonFailure(FrameComm* window)
{
    DialogService::showMessage("Logon fail!");
    window->SetState(framecomm::kTbtnLogon, true);
    window->SetState(framecomm::kTbtnLogoff, false);
    status(window, "Logon fail.");
    status(window, "");
}

void ReportLogonSuccess(FrameComm* window)
{
    status(window, "Logon Successful.");
    window->SetState(framecomm::kTbtnLogon, false);
    window->SetState(framecomm::kTbtnLogoff, true);
    window->SetState(framecomm::kSetLogOn, true);
    status(window, "");
}

void LogonCommand::Execute()
{
    FrameComm* window = frame();
    Communications* comms = Communications::Instance();
    status(window, "Logon...");
    int connected = 1;
    try {
        connected = OpenLinkForLogon(comms);
    } catch (...) {
        ReportLogonFailure(window);
        return;
    }
    if (connected == 1) {
        DialogService::showMessage("Logon cancelled.");
        window->SetState(framecomm::kTbtnLogon, true);
        return;
    }

    DataBase* db = DataBase::Instance();
    window->SetInt(framecomm::kLocalPBarMax, db->CountReadAllMessages() + 124);
    window->SetState(framecomm::kSetDatabaseConfigFileTypeID, true);
    try {
        db->Connect();
        // The unit settles after the long read; the window keeps handling its messages meanwhile.
        unitcommand::pause(settleMs_, true);
        MemoryInfo info;
        try {
            info = CommDBPointFacade::Instance()->ReadMemoryInfo();
        } catch (const CommStatusError& e) {
            // A unit that answers the memory question with something else has no archive size
            // to offer; the capacity figures then count none, and the logon stands.
            if (e.status != commstatus::kUnexpectedResponse)
                throw;
        }
        db->archiveMemoryLength = info.archiveLength;
    } catch (...) {
        DialogService::showMessage("Communication error!");
        window->SetState(framecomm::kTbtnLogon, true);
        status(window, "Logon error.");
        comms->CommDisconnect(true);
        status(window, "");
        StopPolling = true;
        return;
    }

    ReportLogonSuccess(window);
}

void LogoffCommand::Execute()
{
    FrameComm* window = frame();
    DataBase::Instance()->MarkAllStale();
    Communications* comms = Communications::Instance();
    comms->SetUserCancel(true);
    // Logged on, the link is closed; otherwise only its state is reset.
    comms->CommDisconnect(window->GetBool(framecomm::kLoggingOn));
    status(window, "Logoff Successful.");
    window->SetState(framecomm::kTbtnLogon, true);
    window->SetState(framecomm::kTbtnLogoff, false);
    window->SetState(framecomm::kSetLogOff, true);
    window->SetState(framecomm::kEnablePages, true);
    status(window, "");
}
