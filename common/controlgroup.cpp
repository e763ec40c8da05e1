#include "controlgroup.h"

#include <QApplication>
#include <QGroupBox>
#include <QPalette>
#include <QWidget>

namespace controlgroup {

void setGroupEnabled(QWidget* control, bool enabled)
{
    if (!control)
        return;
    control->setEnabled(enabled);
    for (QObject* child : control->children())
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
            static_cast<QWidget*>(child)->setEnabled(enabled);

    if (auto* box = qobject_cast<QGroupBox*>(control)) {
        const QPalette system = QApplication::palette(box);
        QPalette palette = box->palette();
        const QColor grey = system.color(QPalette::Disabled, QPalette::WindowText);
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::WindowText, enabled ? system.color(group, QPalette::WindowText) : grey);
        box->setPalette(palette);
    }
}

}  // namespace controlgroup
