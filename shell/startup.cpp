#include "startup.h"

#include "dialogservice.h"
#include "formmain.h"
#include "shareddialogs.h"
#include "shellwindows.h"

#include <QApplication>
#include <QProcess>

TfrmSplash* frmSplash = nullptr;
bool RestartRequested = false;

namespace {
QStringList* gSplashTrace = nullptr;
}

namespace startup {

void SetSplashTrace(QStringList* trace)
{
    gSplashTrace = trace;
}
QStringList* SplashTrace()
{
    return gSplashTrace;
}

TFormMain* CreateProgram()
{
    frmSplash = new TfrmSplash;
    frmSplash->show();
    QCoreApplication::processEvents();

    auto* form = new TFormMain;
    form->FormCreate();
    shellwindows::CreateStartupWindows();

    delete frmSplash;
    frmSplash = nullptr;
    return form;
}

void DestroyProgram(TFormMain* form)
{
    shellwindows::DestroyAll();
    delete form;
}

bool StartNewInstance()
{
    const QString program = QCoreApplication::applicationFilePath();
    // No arguments; the new process inherits the current directory of this one.
    if (QProcess::startDetached(program, {}))
        return true;
    DialogService::showMessage(QStringLiteral("Unable to start %1 again.").arg(program));
    return false;
}

int Run(QApplication& app)
{
    int status = 0;
    TFormMain* form = nullptr;
    try {
        form = CreateProgram();
        form->show();
        // The loop's own code goes to the caller, so a scripted or failing run is not reported
        // as a success; without the GUI routines the program could do nothing with a unit.
        status = app.exec();
        if (status == 0 && !form->ModulesLoaded())
            status = 1;
    } catch (const std::exception& e) {
        DialogService::showMessage(QString::fromLocal8Bit(e.what()));
        status = 1;
    } catch (...) {
        DialogService::showMessage(QString());
        status = 1;
    }
    delete frmSplash;
    frmSplash = nullptr;
    // The old program has let go of the link and its files before the new one starts.
    DestroyProgram(form);
    if (RestartRequested && !StartNewInstance())
        status = 1;
    return status;
}

}  // namespace startup
