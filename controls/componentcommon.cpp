#include "componentcommon.h"

#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

QWidget* BringControlToFront(QWidget* control)
{
    if (!control || !control->parentWidget())
        return nullptr;
    QWidget* form = control->window();

    if (!form->isVisible())
        form->show();
    if (form->isMinimized())
        form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
    if (!form->isActiveWindow()) {
        form->raise();
        form->activateWindow();
    }

    // A tab page is a page of the tab widget's own stack; turn the tab widget, not its stack, so
    // that its tab bar follows.
    for (QWidget* w = control; w && w != form; w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (!stack)
            continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
            tabs->setCurrentWidget(w);
        else
            stack->setCurrentWidget(w);
    }
    return form;
}
