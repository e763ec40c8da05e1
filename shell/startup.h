#pragma once

#include <QStringList>

class QApplication;
class TfrmSplash;
class TFormMain;

// The splash window while start-up runs; null before and after.
extern TfrmSplash* frmSplash;
// Set by TFormMain::RestartGui: after its message loop the program starts a fresh copy of itself.
extern bool RestartRequested;

namespace startup {

// The program entry: splash, main window, the sixteen further windows, the message loop,
// teardown and, when asked for, the restart. The exit status is the message loop's; it is 1 when
// the loop ended with 0 but the GUI routines could not be loaded or the restart could not start.
int Run(QApplication& app);

// Steps 2 to 6 of the entry (no message loop): returns the main window, not yet shown.
TFormMain* CreateProgram();
// Destroys the further windows and then the main window, as the entry does at its end.
void DestroyProgram(TFormMain* form);
// Starts a new process of the program's own file; false (and a message) when it could not.
bool StartNewInstance();

// When set, every splash step appends its text (empty for a bare step) here.
void SetSplashTrace(QStringList* trace);
QStringList* SplashTrace();

}  // namespace startup
