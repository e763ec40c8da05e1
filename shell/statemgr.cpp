#include "statemgr.h"

namespace {
StateMgr* gStateMgr = nullptr;
}

StateMgr* StateMgr::Instance()
{
    if (!gStateMgr)
        gStateMgr = new StateMgr;
    return gStateMgr;
}

void StateMgr::ReleaseInstance()
{
    delete gStateMgr;
    gStateMgr = nullptr;
}
