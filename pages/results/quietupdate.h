#pragma once

#include "lamps.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QVariant>

// A poll delivers every value of a page again every two seconds, mostly unchanged. Setting an
// unchanged text, colour or picture still repaints the control, so the pages set only what
// changed.
namespace quiet {

inline void setText(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

inline void setText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

inline void setBase(QLineEdit* edit, const QColor& colour)
{
    if (edit->palette().color(QPalette::Base) == colour)
        return;
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

// Shows entry index of the 16 by 16 lamp list ("imlAlarms").
inline void setAlarmLamp(QLabel* lamp, int index)
{
    const int key = 1600 + index;
    const QVariant shown = lamp->property("kvtLamp");
    if (shown.isValid() && shown.toInt() == key)
        return;
    lamp->setProperty("kvtLamp", key);
    lamp->setPixmap(lamps::alarm(index));
}

// Shows entry index of the 32 by 32 lamp list ("imlSysAlarm").
inline void setSystemLamp(QLabel* lamp, int index)
{
    const int key = 3200 + index;
    const QVariant shown = lamp->property("kvtLamp");
    if (shown.isValid() && shown.toInt() == key)
        return;
    lamp->setProperty("kvtLamp", key);
    lamp->setPixmap(lamps::system(index));
}

}  // namespace quiet
