#include "controlplace.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

namespace controlplace {

namespace {

// A caption as a place shows it: no accelerator marks, blanks or closing colon.
QString plain(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

// "ledSampleDelay" gives "Sample Delay", "edHours" "Hours".
QString wordsOfName(const QString& name)
{
    QString rest = name;
    rest.remove(QRegularExpression(QStringLiteral("^[a-z]+(?=[A-Z])")));
    rest.replace(QRegularExpression(QStringLiteral("([a-z0-9])([A-Z])")), QStringLiteral("\\1 \\2"));
    return rest;
}

QString buddyCaption(const QWidget* box)
{
    const QWidget* parent = box->parentWidget();
    if (!parent)
        return {};
    for (const QLabel* label : parent->findChildren<QLabel*>()) {
        const QWidget* buddy = label->buddy();
        if (buddy && (buddy == box || buddy == box->focusProxy() || box->isAncestorOf(buddy)))
            return plain(label->text());
    }
    return {};
}

// The tab widget that shows this widget as one of its pages, if any.
QTabWidget* tabsShowing(const QWidget* widget)
{
    auto* stack = qobject_cast<QStackedWidget*>(widget->parentWidget());
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

}  // namespace

QString captionOf(const QWidget* box)
{
    if (!box)
        return {};
    const QVariant label = box->property("LabelCaption");
    if (label.isValid() && !plain(label.toString()).isEmpty())
        return plain(label.toString());
    if (QString buddy = buddyCaption(box); !buddy.isEmpty())
        return buddy;
    if (const auto* button = qobject_cast<const QAbstractButton*>(box); button && !plain(button->text()).isEmpty())
        return plain(button->text());
    if (!box->accessibleName().trimmed().isEmpty())
        return plain(box->accessibleName());
    return wordsOfName(box->objectName());
}

QString placeOf(const QWidget* box)
{
    if (!box)
        return {};
    QStringList places;
    for (const QWidget* w = box->parentWidget(); w && !w->inherits("TPageFrame") && !w->isWindow();
         w = w->parentWidget()) {
        if (const QTabWidget* tabs = tabsShowing(w)) {
            places.prepend(plain(tabs->tabText(tabs->indexOf(const_cast<QWidget*>(w)))));
        } else {
            const QVariant named = w->property(kPlaceProperty);
            if (named.isValid() && !named.toString().isEmpty())
                places.prepend(named.toString());
        }
    }
    places.removeAll(QString());
    const QString caption = captionOf(box);
    if (places.isEmpty())
        return caption;
    return caption.isEmpty() ? places.join(QStringLiteral(", ")) : places.join(QStringLiteral(", ")) + ": " + caption;
}

QString placedText(const QWidget* box, const QString& text)
{
    const QString place = placeOf(box);
    return place.isEmpty() ? text : place + ": " + text;
}

void reveal(QWidget* box)
{
    if (!box)
        return;
    // Outermost first, so that each tab shown is inside a tab already current.
    QList<QWidget*> chain;
    for (QWidget* w = box; w && !w->isWindow(); w = w->parentWidget())
        chain.prepend(w);
    for (QWidget* w : chain)
        if (QTabWidget* tabs = tabsShowing(w))
            tabs->setCurrentWidget(w);
    for (QWidget* w = box->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(w))
            scroll->ensureWidgetVisible(box);
    box->setFocus(Qt::OtherFocusReason);
    // A write disables the pages while it runs, and a disabled box takes no focus: it is given
    // again once the event loop runs, after the write.
    QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
}

}  // namespace controlplace
