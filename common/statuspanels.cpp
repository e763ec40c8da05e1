#include "statuspanels.h"

#include "appcontext.h"
#include "toolkitcolor.h"

#include <QApplication>
#include <QLabel>
#include <QSizeGrip>
#include <QStatusBar>
#include <QVariant>
#include <algorithm>

namespace statuspanels {

namespace {
constexpr char kPanelProperty[] = "kvt.statusPanel";
}

void setPanel(QWidget* widget, int index)
{
    if (widget)
        widget->setProperty(kPanelProperty, index);
}

QList<QWidget*> panels(QStatusBar* bar)
{
    QList<QWidget*> marked;
    QList<QWidget*> placed;
    if (!bar)
        return marked;
    for (QObject* child : bar->children()) {
        if (!child->isWidgetType())
            continue;
        auto* widget = static_cast<QWidget*>(child);
        if (widget->isWindow() || qobject_cast<QSizeGrip*>(widget))
            continue;
        if (widget->property(kPanelProperty).isValid())
            marked << widget;
        else
            placed << widget;
    }
    if (marked.isEmpty())
        return placed;
    std::stable_sort(marked.begin(), marked.end(), [](QWidget* a, QWidget* b) {
        return a->property(kPanelProperty).toInt() < b->property(kPanelProperty).toInt();
    });
    return marked;
}

bool setPanelText(QStatusBar* bar, int index, const QString& text)
{
    const QList<QWidget*> list = panels(bar);
    if (index < 0 || index >= list.size())
        return false;
    QWidget* panel = list.at(index);
    if (auto* label = qobject_cast<QLabel*>(panel)) {
        label->setText(text);
        return true;
    }
    if (panel->metaObject()->indexOfProperty("text") < 0)
        return false;
    return panel->setProperty("text", text);
}

QStatusBar* firstStatusBar(QWidget* parent)
{
    if (!parent)
        return nullptr;
    for (QObject* child : parent->children())
        if (auto* bar = qobject_cast<QStatusBar*>(child))
            return bar;
    return nullptr;
}

void showLocalMessage(QWidget* parent, const QString& text, std::uint32_t colour, bool beep)
{
    QStatusBar* bar = firstStatusBar(parent ? parent : appcontext::mainForm());
    if (!bar)
        return;
    if (panels(bar).isEmpty())
        bar->showMessage(text);
    else
        setPanelText(bar, 0, text);
    const QColor background = toolkitcolor::toQColor(colour);
    if (background.isValid()) {
        QPalette palette = bar->palette();
        palette.setColor(QPalette::Window, background);
        bar->setPalette(palette);
        bar->setAutoFillBackground(true);
    }
    bar->repaint();
    if (beep)
        QApplication::beep();
}

}  // namespace statuspanels
