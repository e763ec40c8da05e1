#pragma once

#include <QSize>
#include <QString>

// Where this test process keeps its settings and data (fresh temporary folders).
namespace testenv {
QString configHome();
QString dataHome();
// Points the communications library's stored settings at a unit on this loopback TCP port,
// with this time-out (in ticks) and two tries; the library reads them when it starts.
void pointLinkAtLoopback(int tcpPort, const char* backoffTicks = "4");
// The room a page has on its tab of the main window at the window's default size (1020 x 735,
// the tabs in two rows), on the test platform; the page walk checks it against the window.
inline constexpr QSize kTabSize{1016, 557};
}  // namespace testenv

#include "dialogservice.h"
namespace testenv {
// The scripted dialog service that the test entry installed.
ScriptedDialogService& dialogs();
}  // namespace testenv
