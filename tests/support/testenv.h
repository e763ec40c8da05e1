#pragma once

#include <QString>

// Where this test process keeps its settings and data (fresh temporary folders).
namespace testenv {
QString configHome();
QString dataHome();
}

#include "dialogservice.h"
namespace testenv {
// The scripted dialog service that the test entry installed.
ScriptedDialogService& dialogs();
}
