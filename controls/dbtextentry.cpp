#include "dbtextentry.h"

#include "textroom.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <limits>

DbTextEntry::DbTextEntry(QWidget* self, QLineEdit* line) : DbControl(self), line_(line)
{
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
        nullptr,
        R"(^[+-]?\d*$)",
        R"(^\+?\d*$)",
        R"(^[+-]?(\d+\.?\d*|\.\d*)?([eE][+-]?\d*)?$)",
        R"(^\+?(\d+\.?\d*|\.\d*)?([eE][+-]?\d*)?$)",
    };
    delete line_->validator();
    const char* pattern = patterns[type];
    line_->setValidator(pattern ? new QRegularExpressionValidator(QRegularExpression(pattern), line_) : nullptr);
}

std::optional<std::string> DbTextEntry::TextToStore(QString* problem) const
{
    const std::optional<QString> text = dbctl::checkEdit(line_->text(), checks_, problem);
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
    const auto v = dbctl::parseInteger(value);
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
