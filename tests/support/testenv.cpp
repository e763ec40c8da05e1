#include "testenv.h"

#include <QtGlobal>

namespace testenv {
QString configHome() { return qEnvironmentVariable("XDG_CONFIG_HOME"); }
QString dataHome() { return qEnvironmentVariable("XDG_DATA_HOME"); }
}

#include "dialogservice.h"

ScriptedDialogService& testenv::dialogs()
{
    return *static_cast<ScriptedDialogService*>(DialogService::instance());
}
