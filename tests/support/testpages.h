#pragma once

// Pages made without the main window: what the window would hand them.
#include "activeobjectengine.h"
#include "analogoutputcollection.h"
#include "logdbmgr.h"
#include "pagehost.h"
#include "pageservices.h"

namespace testenv {

// The test's database and host (by default one that does nothing and is logged off), with the
// program's log database, analog-output choices and command engine.
inline PageServices pageServices(DataBase& database, PageHost& host = PageHost::None())
{
    return {database, host, *LogDBMgr::Instance(), *AnalogOutputCollection::Instance(),
            *MyActiveObjectEngine::Instance()};
}

}  // namespace testenv
