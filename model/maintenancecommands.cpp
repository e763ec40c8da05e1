#include "maintenancecommands.h"

#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "unitcommandsupport.h"

#include <QCoreApplication>

using unitcommand::status;

int IsDeviceAvaiableCommand::retryMs_ = IsDeviceAvaiableCommand::kRetryMs;

void UnitRequestCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), row_.startText);
    CommDBPointFacade* facade = CommDBPointFacade::Instance();
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    bool done = true;
    try {
        (facade->*row_.request)();
    } catch (const std::exception&) {
        DialogService::showMessage(row_.failureText);
        done = false;
    }
    // Only a request the unit acknowledged is reported as submitted.
    if (done && row_.doneText)
        status(frame(), row_.doneText);
    status(frame(), "");
}

ResetCommand::ResetCommand()
        : UnitRequestCommand({"Reboot...", &CommDBPointFacade::Reboot, " Reboot unit fail!", "Reboot Submitted"})
{}

SetDefaultConfigCommand::SetDefaultConfigCommand()
        : UnitRequestCommand({"Set Default Config.", &CommDBPointFacade::SetFactoryDefaults,
                              "Reset Factory Default fail!", "Reset Factory Default Submitted"})
{}

WipeALCommand::WipeALCommand()
        : UnitRequestCommand({"Wipe Archive.", &CommDBPointFacade::WipeArchive, " Wipe Archive fail!", nullptr})
{}

WipeLogCommand::WipeLogCommand()
        : UnitRequestCommand({"Wipe Event Log.", &CommDBPointFacade::WipeEventLog, " Wipe Event Log fail!", nullptr})
{}

void IsDeviceAvaiableCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    DataBase* db = DataBase::Instance();
    bool answered = false;
    for (int failures = 0; failures < kMaxFailures && !answered;) {
        try {
            db->ReadPoint(kVersionPoint);
            answered = true;
        } catch (const CommStatusError& e) {
            if (e.status == commstatus::kCancelled)
                return;
            // The window stays responsive while the unit starts; the engine is running this
            // command, so whatever is clicked meanwhile only queues behind it.
            unitcommand::pause(retryMs_, true);
            ++failures;
            status(frame(), "Please Wait...");
        }
    }
    if (answered)
        status(frame(), "Device is avaiable.");
    else
        DialogService::ask(QMessageBox::Information, QCoreApplication::applicationName(),
                           "Wait Device Avaiable Timeout, please check device.", QMessageBox::Ok);
    status(frame(), "");
}

void ReadModbusList::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Reading Modbus List.");
    ModbusList& list = DataBase::Instance()->GetModbusList();
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    try {
        list.LoadFromUnit();
        status(frame(), "Load Modbus Successful");
    } catch (const CommStatusError&) {
        status(frame(), "Load Modbus fail.");
        return;  // the failure stays in the status line
    }
    status(frame(), "");
}

void NewModbusListCommand::Execute()
{
    ModbusList& list = DataBase::Instance()->GetModbusList();
    list.SelectMode(mode_);
    list.Reset();
}
