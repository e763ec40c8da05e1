#pragma once

// What the benchmarks of the whole program share: the emulated unit as a process of its own (so
// that its work is not counted in the program's), the link pointed at it, a read-only logon and
// the closing.
#include "dialogservice.h"
#include "formmain.h"
#include "modalrun.h"
#include "startup.h"

#include <QCoreApplication>
#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <cstdio>

namespace bench {

// Starts emu515 from the benchmark's folder on a free loopback port, with further arguments (a
// scenario), and points the program's link at it (TCP, the settings read at start-up). The port;
// 0 when the unit did not start, which is printed.
inline quint16 startUnit(QProcess& unit, const char* benchmark, const QStringList& arguments = {})
{
    unit.start(QCoreApplication::applicationDirPath() + "/emu515", QStringList{"--port", "0"} + arguments);
    quint16 port = 0;
    if (unit.waitForReadyRead(30000)) {
        const QRegularExpression opened(R"(tcp 127\.0\.0\.1:(\d+))");
        port = static_cast<quint16>(opened.match(QString::fromLatin1(unit.readLine())).captured(1).toUInt());
    }
    if (port == 0) {
        std::fprintf(stderr, "%s: the emulated unit did not start\n", benchmark);
        return 0;
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Desktop515");
    settings.setValue("Comm/ConnectType", 3);
    settings.setValue("WinSock/Address", "127.0.0.1");
    settings.setValue("WinSock/Port", QString::number(port));
    settings.sync();
    return port;
}

// Logs on in read-only mode. False when the logon failed; the texts shown are printed.
inline bool logOnReadOnly(TFormMain& form, const ScriptedDialogService& dialogs, const char* benchmark)
{
    modal::setRunner([](QDialog& dialog) {
        if (auto* read = dialog.findChild<QPushButton*>("btnReadOnly"))
            read->click();
        return dialog.result();
    });
    form.tbtnLogonClick();
    if (!form.GetBool("LoggingOn"))
        return true;
    std::fprintf(stderr, "%s: the logon failed: %s\n", benchmark, qPrintable(dialogs.texts().join(" | ")));
    return false;
}

// Logs off, closes the program and stops the unit.
inline void closeProgram(TFormMain* form, QProcess& unit)
{
    form->tbtnLogoffClick();
    modal::setRunner({});
    startup::DestroyProgram(form);
    DialogService::install(nullptr);
    unit.kill();
    unit.waitForFinished();
}

}  // namespace bench
