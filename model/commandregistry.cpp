#include "commandregistry.h"

#include "activeobjectengine.h"
#include "imagecommands.h"
#include "logcommands.h"
#include "logconfigcommands.h"
#include "logoncommands.h"
#include "maintenancecommands.h"
#include "pollcommands.h"
#include "readcommands.h"
#include "unitactioncommands.h"
#include "writecommands.h"

void RegisterCommands(MyActiveObjectEngine* engine, FrameComm* frame)
{
    engine->RegisterCommand("Logoff", std::make_unique<LogoffCommand>());
    engine->RegisterCommand("Logon", std::make_unique<LogonCommand>());
    engine->RegisterCommand("ReadFull", std::make_unique<ReadFullCommand>());
    engine->RegisterCommand("WriteMain", std::make_unique<WriteMainCommand>());
    engine->RegisterCommand("WriteDirect", std::make_unique<WriteDirectCommand>());
    engine->RegisterCommand("SyncClock", std::make_unique<SyncClockCommand>());
    engine->RegisterCommand("Calibrate", std::make_unique<CalibrateCommand>());
    engine->RegisterCommand("Reference", std::make_unique<ReferenceCommand>());
    engine->RegisterCommand("ZeroRef", std::make_unique<ZeroRefCommand>());
    engine->RegisterCommand("ResetLatches", std::make_unique<ResetLatchesCommand>());
    engine->RegisterCommand("SetBypass", std::make_unique<SetBypassCommand>());
    engine->RegisterCommand("TapeAdvance", std::make_unique<TapeAdvanceCommand>());
    engine->RegisterCommand("LoadModbusList", std::make_unique<ReadModbusList>());
    engine->RegisterCommand("WriteSinglePoint", std::make_unique<WriteSinglePointCommand>());
    engine->RegisterCommand("NewModbusList", std::make_unique<NewModbusListCommand>());
    engine->RegisterCommand("ExpressRead", std::make_unique<ExpressReadCommand>());
    engine->RegisterCommand("ExpressRead2", std::make_unique<ExpressRead2Command>());
    engine->RegisterCommand("Reboot", std::make_unique<ResetCommand>());
    engine->RegisterCommand("WriteConfig", std::make_unique<WriteConfigCommand>());
    engine->RegisterCommand("SetDefaultConfig", std::make_unique<SetDefaultConfigCommand>());
    engine->RegisterCommand("ReadLogConfig", std::make_unique<ReadLogConfig>());
    engine->RegisterCommand("WriteLogConfig", std::make_unique<WriteLogConfig>());
    engine->RegisterCommand("ReadALog", std::make_unique<ReadALog>());
    engine->RegisterCommand("ReadALog2", std::make_unique<ReadALog2>());
    engine->RegisterCommand("ReadAudit", std::make_unique<ReadAuditCommand>());
    engine->RegisterCommand("WriteImage", std::make_unique<WriteImageCommand>());
    engine->RegisterCommand("ReadImage", std::make_unique<ReadImageCommand>());
    engine->RegisterCommand("IsDeviceAvaiable", std::make_unique<IsDeviceAvaiableCommand>());
    engine->RegisterCommand("WipeAL", std::make_unique<WipeALCommand>());
    engine->RegisterCommand("WipeLog", std::make_unique<WipeLogCommand>());
    engine->RegisterCommand("ReadSinglePoint", std::make_unique<ReadSinglePointCommand>());
    engine->RegisterCommand("PeriodicPoll", std::make_unique<PeriodicPollCommand>(engine));
    engine->RegisterCommand("StopPoll", std::make_unique<StopPollCommand>(engine));
    engine->RegisterCommand("DirectControlConfirm", std::make_unique<DirectControlConfirmCommand>());
    engine->RegisterCommand("UpgradeCommand", std::make_unique<UpgradeCommand>());
    engine->SetFrameCommForAll(frame);
}
