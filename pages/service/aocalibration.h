#pragma once

#include "servicebindings.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class PageHost;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TQAdvToolButton;
class TQEdit;
class TQLabeledEdit;

// Up and down arrows beside a box (the toolkit's up-down with an associated box), over a position
// of their own: the box's number is the
// position plus the offset. A click moves the position by one within Min..Max and then reports
// itself; the box's text is the handler's to set.
class ArrowButtons : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(int Min READ Min)
    Q_PROPERTY(int Max READ Max)
    Q_PROPERTY(int Offset READ Offset)
public:
    ArrowButtons(int min, int max, int position, int offset, QLineEdit* associate, QWidget* parent = nullptr);

    int Position() const { return position_; }
    // Held to Min..Max.
    void setPosition(int position);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Offset() const { return offset_; }
    QLineEdit* Associate() const { return associate_; }

    // The arrows keep the box's text at their position (the toolkit's own association).
    void setOwnsText(bool owns) { ownsText_ = owns; }

    // As a click on the up (true) or down arrow.
    void Step(bool up);

signals:
    void Click(bool up);

private:
    int min_;
    int max_;
    int position_;
    int offset_;
    QLineEdit* associate_;
    bool ownsText_ = false;
};

// One analog current output's calibration and test: drive a raw converter count, step it until a
// meter on the output reads the wanted current (or derive it from one reading), store the zero,
// span and fail-safe points, and drive the output at a percentage of its calibrated range.
// Everything it sends is a single-point write of its own, at once; values come back through its
// bound edits.
class TfraAOCalibration : public QWidget {
    Q_OBJECT
public:
    using BoundIds = servicepage::AOBoundIds;

    // Its writes go through the owner's host.
    TfraAOCalibration(PageHost& host, int number, const BoundIds& bound, QWidget* parent = nullptr);

    // Filled by the owner before any handler can run.
    std::uint16_t RawBypassId = 0;
    std::uint16_t AnalogOutputId = 0;
    std::uint16_t ScalingFactorId = 0;
    std::uint16_t ZeroOffsetId = 0;
    std::uint16_t FactoryBypassId = 0;
    std::uint16_t ScaledOutputId = 0;

    bool RawBypassOn() const { return rawBypassOn_; }
    bool FactoryBypassOn() const { return factoryBypassOn_; }

    // Writes "False" to each bypass point that the frame last set "True", so no output stays
    // forced by a frame nobody sees.
    void ReleaseBypasses();

    TQAdvToolButton* CalibrateButton() const { return btnCalibrateAO1_; }

    void btnCalibrateAO1Click();
    void btnOutputZeroClick();
    void btnOutputSpanClick();
    void btnOutputFailSafeClick();
    void btnCaptureCalibrationClick();
    void btnOutputTestClick();
    void btnAutoCalZeroClick();
    void btnAutoCalSpanClick();
    void btnAutoCalFSClick();
    void udBitsClickb(ArrowButtons* sender);
    void ubBitsClicka(ArrowButtons* sender);
    void udTestClick();
    void RunOutputTest();
    void WritePoint(int pointId, const QString& text);

private:
    enum Column { Zero, Span, FailSafe, ColumnCount };

    void BuildForm(int number, const BoundIds& bound);
    QWidget* BuildTestGroup();
    void DriveColumn(Column column);
    void AutoCal(Column column);
    void WriteOwnBox(QWidget* box);
    void SwitchToRaw();
    std::optional<int> TestPercent() const;
    // The box's text when the box takes it and it is a number; else nothing, with the reason
    // shown when asked.
    std::optional<QString> CheckedText(QWidget* box, bool tell) const;
    void ValueArrived(int column, const QString& value);

    PageHost& host_;
    QGroupBox* gbScaling_ = nullptr;
    TQAdvToolButton* btnCalibrateAO1_ = nullptr;
    // Per column: the current box (edRawZero, edRawSpan, edFailSafeCurrent), the count box
    // (edScaledZero, edScaledSpan, edFailSafePos) and the meter box.
    std::array<QWidget*, ColumnCount> currentBoxes_{};
    std::array<QLineEdit*, ColumnCount> currentLines_{};
    std::array<QWidget*, ColumnCount> countBoxes_{};
    std::array<QLineEdit*, ColumnCount> countLines_{};
    std::array<QLineEdit*, ColumnCount> meterLines_{};
    std::array<ArrowButtons*, 6> arrows_{};
    TQLabeledEdit* ledCalTestPercent_ = nullptr;
    TQLabeledEdit* ledTestRaw_ = nullptr;
    ArrowButtons* udTest_ = nullptr;
    // Enabled and coloured by the calibration switch.
    std::vector<QWidget*> switched_;
    std::vector<QLineEdit*> coloured_;

    bool rawBypassOn_ = false;
    bool factoryBypassOn_ = false;
    bool inArrowClick_ = false;
};
