#include "dbchoices.h"

#include "numbertext.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidgetItemIterator>

namespace dbctl {

int choiceIndex(const QString& value, const QStringList& values, int count)
{
    if (!values.isEmpty()) {
        const int i = static_cast<int>(values.indexOf(value));
        if (i >= 0)
            return i < count ? i : -1;
        // "5" and "05" name the same number.
        const auto v = numtext::tryStrToInt64(value);
        for (int k = 0; v && k < values.size() && k < count; ++k)
            if (numtext::tryStrToInt64(values[k]) == v)
                return k;
        return -1;
    }
    const auto v = numtext::tryStrToInt64(value);
    return v && *v >= 0 && *v < count ? static_cast<int>(*v) : -1;
}

QString choiceValue(int index, const QStringList& values)
{
    if (index < 0)
        return {};
    if (values.isEmpty())
        return QString::number(index);
    return index < values.size() ? values[index] : QString();
}

}  // namespace dbctl

TQComboBox::TQComboBox(QWidget* parent) : QComboBox(parent), DbControl(this)
{
    // activated comes from the user only; setCurrentIndex raises just currentIndexChanged.
    connect(this, &QComboBox::activated, this, [this] { UserCommitted(); });
}

QString TQComboBox::CurrentValue() const
{
    if (isEditable() && values_.isEmpty())
        return currentText();
    return dbctl::choiceValue(currentIndex(), values_);
}

void TQComboBox::ShowValue(const QString& value)
{
    if (isEditable() && values_.isEmpty()) {
        const int i = findText(value);
        setCurrentIndex(i);
        if (i < 0)
            setEditText(value);
        return;
    }
    setCurrentIndex(dbctl::choiceIndex(value, values_, count()));
}

std::optional<std::string> TQComboBox::TextToStore(QString*) const
{
    const QString value = CurrentValue();
    if (value.isEmpty() && !(isEditable() && values_.isEmpty()))
        return std::nullopt;
    return dbctl::toPointText(value);
}

void TQComboBox::showPopup()
{
    if (!readOnly_)
        QComboBox::showPopup();
}

void TQComboBox::keyPressEvent(QKeyEvent* event)
{
    if (readOnly_) {
        event->ignore();
        return;
    }
    WatchLine();
    QComboBox::keyPressEvent(event);
}

void TQComboBox::focusInEvent(QFocusEvent* event)
{
    WatchLine();
    QComboBox::focusInEvent(event);
}

void TQComboBox::wheelEvent(QWheelEvent* event)
{
    if (readOnly_)
        event->ignore();
    else
        QComboBox::wheelEvent(event);
}

void TQComboBox::WatchLine()
{
    // An editable box gets its line when it becomes editable, which raises no signal; the user
    // cannot type before the box has the focus or a key, so that is soon enough.
    QLineEdit* line = lineEdit();
    if (!line || line == watchedLine_)
        return;
    watchedLine_ = line;
    connect(line, &QLineEdit::textEdited, this, [this] { UserChanged(); });
    connect(line, &QLineEdit::editingFinished, this, [this] {
        if (HasUserEdit())
            UserCommitted();
    });
}

TQRadioGroup::TQRadioGroup(QWidget* parent)
        : QGroupBox(parent), DbControl(this), buttons_(new QButtonGroup(this)), grid_(new QGridLayout(this))
{
    connect(buttons_, &QButtonGroup::idClicked, this, [this] { UserCommitted(); });
}

void TQRadioGroup::setItems(const QStringList& items)
{
    items_ = items;
    Rebuild();
}

void TQRadioGroup::setColumns(int columns)
{
    columns_ = std::max(1, columns);
    Rebuild();
}

void TQRadioGroup::Rebuild()
{
    const int chosen = ItemIndex();
    for (QAbstractButton* b : buttons_->buttons()) {
        buttons_->removeButton(b);
        delete b;
    }
    const int count = static_cast<int>(items_.size());
    const int rows = (count + columns_ - 1) / columns_;
    for (int i = 0; i < count; ++i) {
        auto* button = new QRadioButton(items_[i], this);
        buttons_->addButton(button, i);
        grid_->addWidget(button, i % rows, i / rows);
    }
    setItemIndex(chosen);
}

int TQRadioGroup::ItemIndex() const
{
    return buttons_->checkedId();
}

void TQRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* b = buttons_->button(index)) {
        b->setChecked(true);
        return;
    }
    if (QAbstractButton* on = buttons_->checkedButton()) {
        buttons_->setExclusive(false);
        on->setChecked(false);
        buttons_->setExclusive(true);
    }
}

QString TQRadioGroup::CurrentValue() const
{
    return dbctl::choiceValue(ItemIndex(), values_);
}

void TQRadioGroup::ShowValue(const QString& value)
{
    setItemIndex(dbctl::choiceIndex(value, values_, static_cast<int>(items_.size())));
}

std::optional<std::string> TQRadioGroup::TextToStore(QString*) const
{
    const QString value = CurrentValue();
    if (value.isEmpty())
        return std::nullopt;
    return dbctl::toPointText(value);
}

TQTreeList::TQTreeList(QWidget* parent) : QTreeWidget(parent), DbControl(this)
{
    connect(this, &QTreeWidget::currentItemChanged, this, [this] {
        if (userInput_)
            UserCommitted();
    });
}

QString TQTreeList::ItemValue(const QTreeWidgetItem* item)
{
    const QVariant data = item->data(0, Qt::UserRole);
    return data.isValid() ? data.toString() : item->text(0);
}

void TQTreeList::ShowValue(const QString& value)
{
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if (ItemValue(*it) == value) {
            setCurrentItem(*it);
            return;
        }
    }
    setCurrentItem(nullptr);
    clearSelection();
}

std::optional<std::string> TQTreeList::TextToStore(QString*) const
{
    if (!currentItem())
        return std::nullopt;
    return dbctl::toPointText(ItemValue(currentItem()));
}

// The current item changes under the user's hand only inside these two; setCurrentItem from
// code does not count.
void TQTreeList::keyPressEvent(QKeyEvent* event)
{
    userInput_ = true;
    QTreeWidget::keyPressEvent(event);
    userInput_ = false;
}

void TQTreeList::mousePressEvent(QMouseEvent* event)
{
    userInput_ = true;
    QTreeWidget::mousePressEvent(event);
    userInput_ = false;
}
