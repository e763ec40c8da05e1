#include "dialogservice.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTemporaryDir>

// Every test binary runs against its own settings and data folders and a scripted dialog
// service, so nothing blocks on a window and nothing touches the user's files.
int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedDialogService dialogs;
    DialogService::install(&dialogs);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    DialogService::install(nullptr);
    return rc;
}
