#include "qcformwindow.h"

#include "database.h"
#include "formmain.h"
#include "librarybinder.h"
#include "qcform.h"
#include "securitychk.h"
#include "shellwindows.h"

#include <QLabel>

QWidget* MakeQCFormWindow()
{
    QCFormServices services;
    services.pointText = [](int pointId) { return DataBase::Instance()->GetPointText(pointId); };
    services.loggedOn = [] { return FormMain && FormMain->LoggedOn(); };
    services.dataDirectory = [] { return SecurityChk::Instance()->GetDataDirectory(); };
    services.guiVersion = [] {
        QWidget* about = shellwindows::Window("AboutForm");
        const QLabel* release = about ? about->findChild<QLabel*>("ReleaseTime") : nullptr;
        return release ? release->text() : QString();
    };
    services.programDirectory = [] { return LibraryBinder::programDir(); };
    return new TQCForm(std::move(services));
}
