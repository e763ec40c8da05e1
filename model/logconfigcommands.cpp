#include "logconfigcommands.h"

#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "framecomm.h"
#include "logrecord.h"
#include "unitcommandsupport.h"

using unitcommand::status;

namespace {

constexpr std::uint16_t kClockPoint = 388;  // "Time (proprietary)": every log records it first
constexpr int kAlwaysDisabledLog = 5;

}  // namespace

void ReadLogConfig::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    SetSucceeded(false);
    status(frame(), "Reading Log Config.");
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    DataBase* db = DataBase::Instance();
    CommDBPointFacade* facade = CommDBPointFacade::Instance();
    UniqueLogID* codes = UniqueLogID::Instance();
    codes->Clear();
    try {
        for (int i = 0; i < logrecord::kLogs; ++i) {
            const LogRecord record =
                unitrecord::fromBytes<LogRecord>(facade->ReadLogRecord(static_cast<std::uint8_t>(i)));
            db->LogRecords()[static_cast<std::size_t>(i)] = record;
            codes->Add(record.LogIDCode);
            status(frame(), "Read Log Config. Successful");
        }
        SetSucceeded(true);
    } catch (const CommStatusError&) {
        DialogService::showMessage("Read Log Config. error!");
    }
    status(frame(), "");
}

void WriteLogConfig::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    SetSucceeded(false);
    status(frame(), "Writing Log Config.");
    frame()->SetInt(framecomm::kLocalPBarMax, logrecord::kLogs);
    DataBase* db = DataBase::Instance();
    CommDBPointFacade* facade = CommDBPointFacade::Instance();
    bool allTaken = true;
    try {
        for (int i = 0; i < logrecord::kLogs; ++i) {
            LogRecord& record = db->LogRecords()[static_cast<std::size_t>(i)];
            record.LOG_NUMBER = static_cast<std::uint8_t>(i);
            record.Parameters[0] = kClockPoint;
            if (i == kAlwaysDisabledLog)
                record.Enable = 0;
            const bool taken = facade->WriteLogRecord(unitrecord::toBytes(record));
            allTaken = allTaken && taken;
            status(frame(), taken ? "Write Log Config. Successful" : "Write Log Config. Fail");
        }
        db->TraceLogConfig();
        SetSucceeded(allTaken);
        // The per-record status text is overwritten by the next record's; a refusal must not
        // pass unnoticed.
        if (!allTaken)
            DialogService::showMessage("Write Log Config. Fail");
    } catch (const CommStatusError&) {
        DialogService::showMessage("Write Log Config. error!");
    }
    status(frame(), "");
}
