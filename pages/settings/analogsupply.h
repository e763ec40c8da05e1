#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class PageHost;
class QToolButton;
class TQAdvToolButton;
class TQEdit;
class TQLabeledEdit;
class QLabel;
class QGroupBox;
class QLineEdit;

namespace analogsupply {

// One analog supply's points and its number (1 or 2) for the captions.
struct SupplyPoints {
    int number;
    int operatingVoltage;
    int operatingPosition;
    int bypassVoltage;
    int bypassPosition;
    int description;
};
extern const SupplyPoints kSupply1;
extern const SupplyPoints kSupply2;

// Arrows hold a position from -32768 to 32767 that stands for the raw count position + 32768.
constexpr int kArrowOffset = 32768;

// What an arrow click on a raw box does, once the arrow has moved its position by its step.
struct ArrowResult {
    int position;  // the arrow's position afterwards
    QString text;  // the box's text afterwards, and the value written
};
// A box whose count is more than one step away from the arrow was typed into or got the unit's
// value since the last click: the arrow aligns with it and the count stays. Otherwise the box
// takes the arrow's count. Nothing when the box's text is no whole number.
std::optional<ArrowResult> rawArrowClick(const QString& boxText, int position, int step = 1);

// The voltage arrows step the voltage shown by a tenth of a volt; nothing when it is no number.
std::optional<QString> voltageArrowClick(const QString& boxText, int direction);

}  // namespace analogsupply

// A pair of arrows beside a box: a click moves the position by one within its limits and then
// reports the click with its direction.
class SupplyUpDown : public QWidget {
    Q_OBJECT
public:
    explicit SupplyUpDown(QWidget* parent = nullptr);

    int Position() const { return position_; }
    void setPosition(int position);
    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

    std::function<void(int direction)> OnClick;

private:
    void Step(int direction);

    int position_ = 0;
    QToolButton* up_;
    QToolButton* down_;
};

// One analog supply's calibration: the description and the operating and bypass points, each a
// voltage with the raw converter position that gives it. Raw positions stepped with the arrows,
// Enter in a box and the capture button write at once; the description and typed values are also
// stored for the toolbar's write. The writes go through its page's host.
class TfmAnalogSupply : public QWidget {
    Q_OBJECT
public:
    TfmAnalogSupply(PageHost& host, const analogsupply::SupplyPoints& points, QWidget* parent = nullptr);

    TQAdvToolButton* CalibrateButton() const { return btnCalibrateAS1_; }
    TQLabeledEdit* OutputVoltage() const { return edOutputVoltage_; }
    TQLabeledEdit* OutputRaw() const { return edOutputRaw_; }
    TQEdit* FailSafeCurrent() const { return edFailSafeCurrent_; }
    TQLabeledEdit* FailSafePos() const { return edFailSafePos_; }
    TQLabeledEdit* Description() const { return edASDesc1_; }
    SupplyUpDown* Arrow(int number) const { return arrows_[number - 1]; }
    QToolButton* CaptureButton() const { return btnCaptureCalibration_; }

private:
    void btnCalibrateAS1Click();
    void udBitsClick(int arrow, int direction);
    void btnCaptureCalibrationClick();
    // The box's text as its checks take it; nothing, after saying why, when they refuse it.
    std::optional<QString> CheckedText(QWidget* box) const;
    void WriteBox(QWidget* box);
    QLineEdit* LineOf(QWidget* box) const;
    int PointOf(QWidget* box) const;

    PageHost& host_;
    TQAdvToolButton* btnCalibrateAS1_ = nullptr;
    TQLabeledEdit* edASDesc1_ = nullptr;
    QGroupBox* gbScaling_ = nullptr;
    QLabel* lblOutput_ = nullptr;
    QLabel* labFailSafe_ = nullptr;
    TQLabeledEdit* edOutputVoltage_ = nullptr;
    TQLabeledEdit* edOutputRaw_ = nullptr;
    TQEdit* edFailSafeCurrent_ = nullptr;
    TQLabeledEdit* edFailSafePos_ = nullptr;
    SupplyUpDown* arrows_[4] = {};
    QToolButton* btnCaptureCalibration_ = nullptr;
    bool InArrowClick = false;
};
