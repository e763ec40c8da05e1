#pragma once

#include "dbcontrol.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>

// Two-state controls. They take the state an arriving value gives them before their page's
// OnDBPointValueChanged handler runs, so the handler reads the control as the new value; their
// own toggled signal runs whenever the state changes, whoever changed it. Only the user's clicks
// store: a state set from code stays on screen.

// A box on a Boolean point (checked while the value is TrueValue), or, with WatchBitNumber, on
// one bit of a bit-mask point. A bit box stores its bit's value when checked and the mask of
// every other bit of the point's width when cleared, which the database turns into setting or
// clearing that one bit; boxes on other bits of the same point are left alone.
class TQCheckBox : public QCheckBox, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(QString TrueValue READ TrueValue WRITE setTrueValue)
    Q_PROPERTY(QString FalseValue READ FalseValue WRITE setFalseValue)
    Q_PROPERTY(dbctl::WatchBit WatchBitNumber READ WatchBitNumber WRITE setWatchBitNumber)
public:
    explicit TQCheckBox(QWidget* parent = nullptr);

    dbctl::WatchBit WatchBitNumber() const { return watchBit_; }
    // A bit beyond the box's reach (bnBit15 here) is refused and the box keeps its bit.
    void setWatchBitNumber(dbctl::WatchBit bit);

protected:
    TQCheckBox(QWidget* parent, int highestBit);

    Shows ShowsAs() const override { return Shows::State; }
    void ShowValue(const QString& value) override;
    bool Editable() const override { return true; }
    std::optional<std::string> TextToStore(QString* problem) const override;

private:
    int highestBit_;
    dbctl::WatchBit watchBit_ = dbctl::bnNone;
};

// The same box over 32-bit masks.
class TQCheckBox32 : public TQCheckBox {
    Q_OBJECT
public:
    explicit TQCheckBox32(QWidget* parent = nullptr);
};

// On while the point's value is TrueValue; a click stores TrueValue. An On/Off pair on one
// Boolean point has the TrueValues "True" and "False".
class TQRadioButton : public QRadioButton, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(QString TrueValue READ TrueValue WRITE setTrueValue)
public:
    explicit TQRadioButton(QWidget* parent = nullptr);

protected:
    Shows ShowsAs() const override { return Shows::State; }
    void ShowValue(const QString& value) override;
    bool Editable() const override { return true; }
    std::optional<std::string> TextToStore(QString* problem) const override;
};

// A tool button. A two-state (checkable) one is down while the point's value is TrueValue and
// stores TrueValue or FalseValue when the user switches it; any other shows the value as its
// caption.
class TQAdvToolButton : public QToolButton, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(QString TrueValue READ TrueValue WRITE setTrueValue)
    Q_PROPERTY(QString FalseValue READ FalseValue WRITE setFalseValue)
public:
    explicit TQAdvToolButton(QWidget* parent = nullptr);

protected:
    Shows ShowsAs() const override { return isCheckable() ? Shows::State : Shows::Text; }
    void ShowValue(const QString& value) override;
    bool Editable() const override { return isCheckable(); }
    std::optional<std::string> TextToStore(QString* problem) const override;
};
