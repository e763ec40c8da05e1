#pragma once

#include "dbcontrol.h"

#include <QLineEdit>
#include <QSpinBox>

class QBoxLayout;
class QLabel;

// What the two text entries share: the line they edit and its checks. Typing is held to the data
// type (digits only for the integer types) and to the typing limit; the range and Required are
// checked when the edit is stored, and a refused edit stays in the box with a warning saying why.
class DbTextEntry : public DbControl {
public:
    dbctl::DataType DataType() const { return checks_.dataType; }
    void setDataType(dbctl::DataType type);
    bool RangeEdit() const { return checks_.rangeEdit; }
    void setRangeEdit(bool on) { checks_.rangeEdit = on; }
    double RangeLow() const { return checks_.rangeLow; }
    void setRangeLow(double low) { checks_.rangeLow = low; }
    double RangeHigh() const { return checks_.rangeHigh; }
    void setRangeHigh(double high) { checks_.rangeHigh = high; }
    bool Required() const { return checks_.required; }
    void setRequired(bool required) { checks_.required = required; }
    const dbctl::EditChecks& Checks() const { return checks_; }

    // At most this many characters may be typed (0: no limit). The limit is on typing only: a
    // text the unit sends is shown whole, and a longer text may be shortened but not lengthened.
    int TypingLimit() const;
    void setTypingLimit(int limit);

    // The box's text as its own checks take it (data type, Required, range), trimmed for the
    // number types; nullopt with *problem set.
    std::optional<QString> CheckedText(QString* problem) const;
    // The same for an Enter or a button that acts on the box at once: a refusal is shown, and the
    // box's own check as the edit ends then stays quiet about the same text.
    std::optional<QString> CheckedText();

protected:
    DbTextEntry(QWidget* self, QLineEdit* line);

    QLineEdit* Line() const { return line_; }
    void ShowValue(const QString& value) override;
    bool Editable() const override { return !line_->isReadOnly(); }
    QString EditText() const override { return line_->text(); }
    std::optional<std::string> TextToStore(QString* problem) const override;

private:
    class Validator;
    class EnterWatch;

    QLineEdit* line_;
    Validator* validator_;
    dbctl::EditChecks checks_;
};

class TQEdit : public QLineEdit, public DbTextEntry {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(dbctl::DataType DataType READ DataType WRITE setDataType)
    Q_PROPERTY(bool RangeEdit READ RangeEdit WRITE setRangeEdit)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE setRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE setRangeHigh)
    Q_PROPERTY(bool Required READ Required WRITE setRequired)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
public:
    explicit TQEdit(QWidget* parent = nullptr);
};

// An edit with its caption beside it.
class TQLabeledEdit : public QWidget, public DbTextEntry {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(dbctl::DataType DataType READ DataType WRITE setDataType)
    Q_PROPERTY(bool RangeEdit READ RangeEdit WRITE setRangeEdit)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE setRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE setRangeHigh)
    Q_PROPERTY(bool Required READ Required WRITE setRequired)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(QString LabelCaption READ LabelCaption WRITE setLabelCaption)
    Q_PROPERTY(LabelPosition LabelPos READ LabelPos WRITE setLabelPos)
    Q_PROPERTY(int MaxLength READ TypingLimit WRITE setTypingLimit)
public:
    enum LabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
    Q_ENUM(LabelPosition)

    explicit TQLabeledEdit(QWidget* parent = nullptr);

    bool ReadOnly() const { return Line()->isReadOnly(); }
    void setReadOnly(bool readOnly) { Line()->setReadOnly(readOnly); }
    QString Text() const { return Line()->text(); }
    void setText(const QString& text) { ShowValue(text); }
    // The Part's name for the typing limit.
    void setMaxLength(int limit) { setTypingLimit(limit); }
    QLabel* EditLabel() const { return label_; }
    QLineEdit* Edit() const { return Line(); }
    QString LabelCaption() const;
    void setLabelCaption(const QString& caption);
    LabelPosition LabelPos() const { return position_; }
    void setLabelPos(LabelPosition position);

private:
    QLabel* label_;
    QBoxLayout* layout_;
    LabelPosition position_ = lpAbove;
};

// Up and down arrows over a whole number.
class TQUpDown : public QSpinBox, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
public:
    explicit TQUpDown(QWidget* parent = nullptr);

    void stepBy(int steps) override;

protected:
    void ShowValue(const QString& value) override;
    bool Editable() const override { return !isReadOnly(); }
    std::optional<std::string> TextToStore(QString* problem) const override;
};
