#include "scanorder.h"

#include "expressscan.h"

#include <QSet>
#include <QVariant>
#include <QWidget>

namespace {

void addControl(const QWidget* control, ExpressScan& scan)
{
    bool ok = false;
    const int id = control->property("DbId").toInt(&ok);
    if (!ok || id < 0)
        return;
    scan.AddPoint(id);
    if (control->property("DbPolled").toBool())
        scan.AddSecondary(id);
}

}  // namespace

void addControlsInOrder(const QWidget* page, const QStringList& names, ExpressScan& scan)
{
    QSet<const QWidget*> done;
    for (const QString& name : names) {
        if (const QWidget* control = page->findChild<QWidget*>(name)) {
            addControl(control, scan);
            done.insert(control);
        }
    }
    for (const QWidget* control : page->findChildren<QWidget*>())
        if (!done.contains(control))
            addControl(control, scan);
}
