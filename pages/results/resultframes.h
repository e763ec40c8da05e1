#pragma once

#include "analysispage.h"
#include "archiveviewer.h"
#include "auditpage.h"
#include "iostatuspage.h"
#include "pageframe.h"
