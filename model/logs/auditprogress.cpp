#include "auditprogress.h"

#include "appcontext.h"
#include "winmsg.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

void MainFormAuditProgress::Begin(int maximum)
{
    QCoreApplication::processEvents();
    QThread::msleep(1);
    if (setMaximum_)
        setMaximum_(maximum);
    QCoreApplication::processEvents();
}

void MainFormAuditProgress::Step()
{
    if (QWidget* form = appcontext::mainForm()) {
        WinMessageEvent progress(winmsg::WM_COMMPROGRESS, 1, 1);
        QCoreApplication::sendEvent(form, &progress);
    }
}
