#pragma once

// Every data-aware control, for pages that use several kinds.
#include "dbchoices.h"
#include "dbcontrol.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
