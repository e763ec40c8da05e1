#include "pageframe.h"

#include "database.h"
#include "dialogservice.h"

#include <QVariant>

TPageFrame::TPageFrame(const PageDecl& decl, const PageServices& services, QWidget* parent)
        : TPageFrame(decl.frameName, decl.scan, services, parent)
{}

TPageFrame::TPageFrame(const char* objectName, ScanPage page, const PageServices& services, QWidget* parent)
        : QWidget(parent), database_(services.database), host_(services.host), page_(page)
{
    setObjectName(objectName);
}

TPageFrame::ScanIds TPageFrame::BoundIds() const
{
    ScanIds ids;
    for (QWidget* control : findChildren<QWidget*>()) {
        bool ok = false;
        const int id = control->property("DbId").toInt(&ok);
        if (!ok || id < 0)
            continue;
        ids.main.push_back(id);
        if (control->property("DbPolled").toBool())
            ids.polled.push_back(id);
    }
    return ids;
}

TPageFrame::ScanIds TPageFrame::ScanList() const
{
    return BoundIds();
}

void TPageFrame::RegisterPoints()
{
    ExpressScan& scan = database_.expressScan;
    scan.Clear();
    const ScanIds ids = ScanList();
    for (int id : ids.main)
        scan.AddPoint(id);
    for (int id : ids.polled)
        scan.AddSecondary(id);
    scan.SetPage(page_.number, page_.useAlternate, page_.showWait);
    firstEntry_ = false;
}

void TPageFrame::FollowReadOnly(bool readOnly)
{
    setEnabled(!readOnly);
}

void TPageFrame::CautionBox(const QString& pageWord)
{
    DialogService::warn("Changing parameters in " + pageWord +
                        " Page may affect operation of the analyzer.\n"
                        "It is recommended that any change in this page be done by authorised personal only.");
}

void DisableChildControls(QWidget* container, bool disable)
{
    for (QWidget* child : container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setEnabled(!disable);
}
