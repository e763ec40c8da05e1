#pragma once

#include <QLineEdit>
#include <QString>

// A positive-integer box with a range: it takes digits only, refuses a keystroke that would
// leave the range, and puts back its last value in range when it is left empty. What it gives
// to be stored is always in range.
class RangeBox : public QLineEdit {
    Q_OBJECT
public:
    RangeBox(const QString& name, const QString& text, int low, int high, QWidget* parent = nullptr);

    int low() const { return low_; }
    int high() const { return high_; }
    // The text when it is a number in range, otherwise the last one that was.
    QString storedText() const;
    // A text from the store or the design; one that is not a number in range gives the fallback.
    void setStoredText(const QString& text, const QString& fallback);
    bool inRange(const QString& text) const;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    int low_;
    int high_;
    QString lastGood_;
};
