#include "rangebox.h"

#include "numbertext.h"

#include <QValidator>

namespace {

// Digits only, no leading zero, and no more than the upper bound. An empty box is allowed while
// typing; a number below the lower bound cannot arise once leading zeros are refused, unless
// the lower bound is above 1, in which case it is accepted while typing and put right on leaving.
class RangeValidator : public QValidator {
public:
    RangeValidator(int low, int high, QObject* parent) : QValidator(parent), low_(low), high_(high) {}

    State validate(QString& input, int&) const override
    {
        if (input.isEmpty())
            return Intermediate;
        if (input.size() > 10 || input.front() == QLatin1Char('0'))
            return Invalid;
        for (const QChar c : input)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        const qint64 value = input.toLongLong();
        if (value > high_)
            return Invalid;
        return value < low_ ? Intermediate : Acceptable;
    }

private:
    int low_;
    int high_;
};

}  // namespace

RangeBox::RangeBox(const QString& name, const QString& text, int low, int high, QWidget* parent)
        : QLineEdit(parent), low_(low), high_(high)
{
    setObjectName(name);
    setValidator(new RangeValidator(low, high, this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (inRange(t))
            lastGood_ = t;
    });
    setStoredText(text, QString::number(low));
}

bool RangeBox::inRange(const QString& text) const
{
    const std::optional<int> value = numtext::tryStrToInt(text);
    return value && *value >= low_ && *value <= high_;
}

QString RangeBox::storedText() const
{
    return inRange(text()) ? text().trimmed() : lastGood_;
}

void RangeBox::setStoredText(const QString& text, const QString& fallback)
{
    const QString value = inRange(text) ? QString::number(*numtext::tryStrToInt(text)) : fallback;
    // A fallback out of range itself leaves the box as it was.
    if (inRange(value))
        setText(value);
}

void RangeBox::focusOutEvent(QFocusEvent* event)
{
    if (!inRange(text()) && !lastGood_.isEmpty())
        setText(lastGood_);
    QLineEdit::focusOutEvent(event);
}
