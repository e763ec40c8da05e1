#include "scanorder.h"

#include <QSet>
#include <QVariant>
#include <QWidget>

namespace {

void addControl(const QWidget* control, TPageFrame::ScanIds& ids)
{
    bool ok = false;
    const int id = control->property("DbId").toInt(&ok);
    if (!ok || id < 0)
        return;
    ids.main.push_back(id);
    if (control->property("DbPolled").toBool())
        ids.polled.push_back(id);
}

}  // namespace

TPageFrame::ScanIds controlsInOrder(const QWidget* page, const QStringList& names)
{
    TPageFrame::ScanIds ids;
    QSet<const QWidget*> done;
    for (const QString& name : names) {
        if (const QWidget* control = page->findChild<QWidget*>(name)) {
            addControl(control, ids);
            done.insert(control);
        }
    }
    for (const QWidget* control : page->findChildren<QWidget*>())
        if (!done.contains(control))
            addControl(control, ids);
    return ids;
}
