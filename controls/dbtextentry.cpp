#include "dbtextentry.h"

#include "numbertext.h"
#include "textroom.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <limits>

// The data type's pattern and the typing limit in one validator (a line has one). A text longer
// than the limit is refused only when it grows: the unit's longer text stays, and may be shortened.
class DbTextEntry::Validator : public QRegularExpressionValidator {
public:
    explicit Validator(QLineEdit* line) : QRegularExpressionValidator(line)
    {
        QObject::connect(line, &QLineEdit::textChanged, this, [this](const QString& text) { held = text.size(); });
    }

    State validate(QString& input, int& position) const override
    {
        if (limit > 0 && input.size() > limit && input.size() > held)
            return Invalid;
        if (regularExpression().pattern().isEmpty())
            return Acceptable;
        return QRegularExpressionValidator::validate(input, position);
    }

    int limit = 0;
    // The length of the text the line holds before an edit.
    qsizetype held = 0;
};

// An Enter is a new act of the user's: a warning given for an earlier one does not silence the
// check of this one. Installed first, so a page's own Enter handler (installed later) runs before.
class DbTextEntry::EnterWatch : public QObject {
public:
    EnterWatch(DbTextEntry* entry, QLineEdit* line) : QObject(line), entry_(entry) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                entry_->ForgetTold();
        }
        return false;
    }

private:
    DbTextEntry* entry_;
};

DbTextEntry::DbTextEntry(QWidget* self, QLineEdit* line) : DbControl(self), line_(line), validator_(new Validator(line))
{
    line_->setValidator(validator_);
    line_->installEventFilter(new EnterWatch(this, line_));
    // A value wider than its box shows where its digits begin, never only its end.
    textroom::keepStartInView(line_);
    // textEdited and editingFinished come from the user only; setText raises neither.
    QObject::connect(line_, &QLineEdit::textEdited, self, [this] { UserChanged(); });
    QObject::connect(line_, &QLineEdit::editingFinished, self, [this] {
        if (HasUserEdit())
            UserCommitted();
    });
}

void DbTextEntry::setDataType(dbctl::DataType type)
{
    checks_.dataType = type;
    // Patterns that also pass the unfinished texts met while typing ("-", "1.", "2e").
    static const char* const patterns[] = {
        "",
        R"(^[+-]?\d*$)",
        R"(^\+?\d*$)",
        R"(^[+-]?(\d+\.?\d*|\.\d*)?([eE][+-]?\d*)?$)",
        R"(^\+?(\d+\.?\d*|\.\d*)?([eE][+-]?\d*)?$)",
    };
    validator_->setRegularExpression(QRegularExpression(QString::fromLatin1(patterns[type])));
}

int DbTextEntry::TypingLimit() const
{
    return validator_->limit;
}

void DbTextEntry::setTypingLimit(int limit)
{
    validator_->limit = std::max(limit, 0);
}

void DbTextEntry::ShowValue(const QString& value)
{
    // The line checks a text set from code too: the unit's text is let through whole.
    validator_->held = std::max(validator_->held, value.size());
    line_->setText(value);
}

std::optional<QString> DbTextEntry::CheckedText(QString* problem) const
{
    return dbctl::checkEdit(line_->text(), checks_, problem);
}

std::optional<QString> DbTextEntry::CheckedText()
{
    QString problem;
    std::optional<QString> text = CheckedText(&problem);
    if (!text)
        Complain(problem, Occasion::Act);
    return text;
}

std::optional<std::string> DbTextEntry::TextToStore(QString* problem) const
{
    const std::optional<QString> text = CheckedText(problem);
    if (!text)
        return std::nullopt;
    return dbctl::toPointText(*text);
}

TQEdit::TQEdit(QWidget* parent) : QLineEdit(parent), DbTextEntry(this, this) {}

TQLabeledEdit::TQLabeledEdit(QWidget* parent)
        : QWidget(parent), DbTextEntry(this, new QLineEdit(this)), label_(new QLabel(this)),
          layout_(new QBoxLayout(QBoxLayout::TopToBottom, this))
{
    // The editor is found by its box's name plus "Edit" (the box is named after construction).
    Line()->setObjectName(QStringLiteral("Edit"));
    label_->setObjectName(QStringLiteral("EditLabel"));
    connect(this, &QObject::objectNameChanged, this,
            [this](const QString& name) { Line()->setObjectName(name + QStringLiteral("Edit")); });
    label_->setBuddy(Line());
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(3);
    layout_->addWidget(label_);
    layout_->addWidget(Line());
    setFocusProxy(Line());
}

QString TQLabeledEdit::LabelCaption() const
{
    return label_->text();
}

void TQLabeledEdit::setLabelCaption(const QString& caption)
{
    label_->setText(caption);
    // A box without a caption takes no room for one.
    label_->setHidden(caption.isEmpty());
    // Accessibility tools name the box by its label.
    const QString name = caption.trimmed();
    setAccessibleName(name);
    Line()->setAccessibleName(name);
}

void TQLabeledEdit::setLabelPos(LabelPosition position)
{
    position_ = position;
    static const QBoxLayout::Direction directions[] = {QBoxLayout::TopToBottom, QBoxLayout::BottomToTop,
                                                       QBoxLayout::LeftToRight, QBoxLayout::RightToLeft};
    layout_->setDirection(directions[position]);
}

TQUpDown::TQUpDown(QWidget* parent) : QSpinBox(parent), DbControl(this)
{
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { UserChanged(); });
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
        if (HasUserEdit())
            UserCommitted();
    });
}

void TQUpDown::stepBy(int steps)
{
    // The arrows, the arrow keys and the wheel come here; a value set from code does not.
    const int before = value();
    QSpinBox::stepBy(steps);
    if (value() != before && !isReadOnly())
        UserCommitted();
}

void TQUpDown::ShowValue(const QString& value)
{
    const auto v = numtext::tryStrToInt64(value);
    if (!v)
        return;
    // A value outside the arrows' range is shown as it is, not pinned to the nearer end.
    if (*v < minimum())
        setMinimum(static_cast<int>(std::max<std::int64_t>(*v, std::numeric_limits<int>::min())));
    if (*v > maximum())
        setMaximum(static_cast<int>(std::min<std::int64_t>(*v, std::numeric_limits<int>::max())));
    setValue(static_cast<int>(std::clamp<std::int64_t>(*v, minimum(), maximum())));
}

std::optional<std::string> TQUpDown::TextToStore(QString*) const
{
    return std::to_string(value());
}
