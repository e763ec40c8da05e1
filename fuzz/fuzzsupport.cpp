#include "fuzzsupport.h"

#include "dialogservice.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace fuzzsupport {

namespace {
ScriptedDialogService* dialogs = nullptr;
}

void initApplication()
{
    if (QCoreApplication::instance())
        return;
    // Kept for the process: the folders stay until it ends.
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kvtfuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    dialogs = new ScriptedDialogService;
    DialogService::install(dialogs);
}

void forgetDialogs()
{
    if (dialogs)
        dialogs->clear();
}

}  // namespace fuzzsupport
