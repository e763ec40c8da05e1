#include "writecommands.h"

#include "activeobjectengine.h"
#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "unitcommandsupport.h"

#include <QCoreApplication>

using unitcommand::kSendError;
using unitcommand::status;

int WriteConfigCommand::pollMs_ = WriteConfigCommand::kPollMs;
int DirectControlConfirmCommand::retryMs_ = DirectControlConfirmCommand::kRetryMs;

namespace {

void showError(const QString& text)
{
    DialogService::ask(QMessageBox::Critical, QCoreApplication::applicationName(), text, QMessageBox::Ok);
}

constexpr int kSkipped = -1;

// The bulk writes share their result and failure handling; a write that was skipped
// (kSkipped) shows nothing. True when everything was written.
template <typename Write>
bool runBulkWrite(FrameComm* frame, Write write)
{
    unitcommand::BusyScope scope(frame);
    try {
        const int result = write();
        if (result == kSkipped)
            return false;
        if (result != 0) {
            DialogService::showMessage(kSendError);
            return false;
        }
        status(frame, "Write Successful");
        return true;
    } catch (const std::exception& e) {
        // Points written before the failure keep their new values; the user learns why it stopped.
        showError("Error writing to database\n" + unitcommand::failureText(e));
        return false;
    }
}

}  // namespace

void WriteSinglePointCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    const auto& [pointId, value] = fields_;
    status(frame(), "Writing...");
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    DataBase* db = DataBase::Instance();
    // No text writes the pending value as it stands: an empty text would otherwise replace a
    // bit mask's pending value with 0.
    if (!value.empty()) {
        try {
            db->SetPointTextChecked(pointId, value);
        } catch (...) {
            status(frame(), "");
            return;
        }
    }
    try {
        // Only a write the unit accepted is reported as done; a refused one (not read since
        // logon, read-only, not in the map) is said to have failed.
        if (db->WritePoint(pointId) == 0) {
            ++accepted_;
            status(frame(), "One Point Write");
        } else {
            DialogService::showMessage(kSendError);
        }
    } catch (const CommStatusError& e) {
        if (e.status != commstatus::kCancelled)
            DialogService::showMessage(unitcommand::failureText(e));
    } catch (const std::exception& e) {
        DialogService::showMessage(unitcommand::failureText(e));
    }
    status(frame(), "");
}

void WriteMainCommand::Execute()
{
    SetSucceeded(false);
    refused_ = false;
    const std::string then = GetParam();
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Writing...");
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    SetSucceeded(runBulkWrite(frame(), [this]() -> int {
        // A page that refuses its data has told the user why; nothing is written.
        if (frame()->GetInt(framecomm::kSendToDatabase, nullptr) != 0) {
            refused_ = true;
            return kSkipped;
        }
        return DataBase::Instance()->WriteAll();
    }));
    status(frame(), "");
    if (!refused_ && !then.empty())
        MyActiveObjectEngine::Instance()->ExecuteCommand(then, "");
}

void WriteDirectCommand::Execute()
{
    SetSucceeded(false);
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Writing Parameters...");
    frame()->SetInt(framecomm::kLocalPBarMax, numtext::StrToInt(GetParam()));
    SetSucceeded(runBulkWrite(frame(), [] { return DataBase::Instance()->WriteDirect(); }));
    status(frame(), "");
}

void WriteConfigCommand::Execute()
{
    SetSucceeded(false);
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    bool clearStatus = false;
    {
        unitcommand::BusyScope scope(frame());
        clearStatus = WriteFlash();
    }
    if (clearStatus)
        status(frame(), "");
}

bool WriteConfigCommand::WriteFlash()
{
    CommDBPointFacade* facade = CommDBPointFacade::Instance();
    try {
        facade->WriteFlash();
    } catch (const std::exception& e) {
        showError(" Write Config. fail!\n" + unitcommand::failureText(e));
        return false;
    }
    frame()->SetInt(framecomm::kLocalPBarMax, 35);
    bool busy = true;
    int polls = 0;
    try {
        while (busy && polls < kMaxPolls) {
            status(frame(), "Writing to Flash...");
            busy = facade->FlashStatus();
            ++polls;
            // The window stays responsive between the polls; the engine is running this command,
            // so whatever is clicked meanwhile only queues behind it.
            if (busy && polls < kMaxPolls)
                unitcommand::pause(pollMs_, true);
        }
    } catch (const std::exception& e) {
        frame()->SetInt(framecomm::kLocalPBarMax, 1);
        status(frame(), "Write Flash fail!");
        // A cancel is the user's own doing (an exit among them): the status line says enough.
        const auto* link = dynamic_cast<const CommStatusError*>(&e);
        if (!link || link->status != commstatus::kCancelled)
            showError("Write Flash fail!\n" + unitcommand::failureText(e));
        return false;  // the status line keeps the failure
    }
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    if (busy) {
        status(frame(), "Write Flash fail!");
        showError(QStringLiteral("Write Flash fail!\nThe unit still reported its flash busy after %1 status requests.")
                      .arg(kMaxPolls));
    } else {
        status(frame(), "Write Flash Finished.");
        SetSucceeded(true);
    }
    return true;
}

void DirectControlConfirmCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    DataBase* db = DataBase::Instance();
    bool confirmed = false;
    for (int attempts = 0; attempts < kAttempts && !confirmed;) {
        try {
            db->ReadPoint(kConfirmationPoint);
        } catch (const CommStatusError& e) {
            if (e.status == commstatus::kCancelled)
                return;
            unitcommand::pause(retryMs_, false);
            ++attempts;
            status(frame(), "Please Wait...");
            continue;
        }
        const DatabasePoint* point = db->GetPointById(kConfirmationPoint);
        if (point && point->ToString() == "True") {
            confirmed = true;
        } else {
            status(frame(), "Please Wait...");
            unitcommand::pause(retryMs_, false);
            ++attempts;
        }
    }
    if (confirmed)
        status(frame(), "Control Confirmed.");
    else
        DialogService::ask(QMessageBox::Information, QCoreApplication::applicationName(),
                           "Direct Control Confirm Timeout, please check device.", QMessageBox::Ok);
    status(frame(), "");
}
