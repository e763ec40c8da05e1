#pragma once

#include "pageframe.h"
#include "sequencerpage.h"
#include "streamspage.h"
#include "timerspage.h"
