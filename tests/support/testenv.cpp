#include "testenv.h"

#include <QSettings>
#include <QtGlobal>

namespace testenv {
QString configHome()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME");
}
QString dataHome()
{
    return qEnvironmentVariable("XDG_DATA_HOME");
}
}  // namespace testenv

#include "dialogservice.h"

ScriptedDialogService& testenv::dialogs()
{
    return *static_cast<ScriptedDialogService*>(DialogService::instance());
}

void testenv::pointLinkAtLoopback(int tcpPort, const char* backoffTicks)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Desktop515");
    settings.clear();
    settings.setValue("Comm/ConnectType", 3);
    settings.setValue("WinSock/Address", "127.0.0.1");
    settings.setValue("WinSock/Port", QString::number(tcpPort));
    settings.setValue("Comm/BackoffTimer", backoffTicks);
    settings.setValue("Comm/Retries", "2");
    settings.sync();
}
