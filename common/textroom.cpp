#include "textroom.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <algorithm>
#include <memory>

namespace textroom {

QString capitals(int n)
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += QLatin1Char(static_cast<char>('A' + i % 26));
    return text;
}

void keepStartInView(QLineEdit* line)
{
    // A typed change raises textEdited before textChanged; only texts set from code move the
    // cursor, and only when they are wider than the box (a short text shows whole anyway).
    auto typed = std::make_shared<bool>(false);
    QObject::connect(line, &QLineEdit::textEdited, line, [typed] { *typed = true; });
    QObject::connect(line, &QLineEdit::textChanged, line, [line, typed](const QString& text) {
        const bool fromUser = *typed;
        *typed = false;
        if (!fromUser && !line->hasFocus() && lineEditWidthFor(line, text) > line->width())
            line->setCursorPosition(0);
    });
}

int lineEditWidthFor(const QLineEdit* line, const QString& text)
{
    // What QLineEdit keeps around its text: the style's frame, the text margins, two pixels on
    // either side and one for the cursor.
    QStyleOptionFrame option;
    option.initFrom(line);
    option.rect = QRect(0, 0, 1000, line->sizeHint().height());
    option.lineWidth = line->hasFrame() ? line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, line) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = line->style()->subElementRect(QStyle::SE_LineEditContents, &option, line);
    const QMargins margins = line->textMargins();
    const int around = 1000 - contents.width() + margins.left() + margins.right() + 2 * 2 + 1;
    return line->fontMetrics().horizontalAdvance(text) + around;
}

void fitWidthTo(QLineEdit* line, const QString& sample)
{
    const int needed = lineEditWidthFor(line, sample);
    if (line->minimumWidth() < needed)
        line->setMinimumWidth(needed);
}

void fitWidthToItems(QComboBox* combo)
{
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    // The item's text and the margins a line edit or the style's label keeps around it.
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    const QSize contents(widest + 2 * 2 + 1, combo->fontMetrics().height());
    const int needed = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, combo).width();
    if (combo->minimumWidth() < needed)
        combo->setMinimumWidth(needed);
}

}  // namespace textroom
