#include "commandregistry.h"

#include "activeobjectengine.h"
#include "imagecommands.h"
#include "logoncommands.h"
#include "pollcommands.h"
#include "readcommands.h"

void RegisterCommands(MyActiveObjectEngine* engine, FrameComm* frame)
{
    engine->RegisterCommand("Logoff", std::make_unique<LogoffCommand>());
    engine->RegisterCommand("Logon", std::make_unique<LogonCommand>());
    engine->RegisterCommand("ReadFull", std::make_unique<ReadFullCommand>());
    engine->RegisterCommand("ExpressRead", std::make_unique<ExpressReadCommand>());
    engine->RegisterCommand("ExpressRead2", std::make_unique<ExpressRead2Command>());
    engine->RegisterCommand("WriteImage", std::make_unique<WriteImageCommand>());
    engine->RegisterCommand("ReadImage", std::make_unique<ReadImageCommand>());
    engine->RegisterCommand("ReadSinglePoint", std::make_unique<ReadSinglePointCommand>());
    engine->RegisterCommand("PeriodicPoll", std::make_unique<PeriodicPollCommand>(engine));
    engine->RegisterCommand("StopPoll", std::make_unique<StopPollCommand>(engine));
    engine->RegisterCommand("UpgradeCommand", std::make_unique<UpgradeCommand>());
    engine->SetFrameCommForAll(frame);
}
