#pragma once

#include "aicalmath.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

class PageHost;
class QLabel;
class TQAdvToolButton;
class TQGroupBox;
class TQLabeledEdit;

// One analog current input: its description, range, live value, raw count, current and ratio,
// and its calibration by two captured points. With a known current applied the technician
// captures the live raw count as the zero or the span count; the frame then sends both pairs and
// the line through them (gain and offset) to the unit, one single-point write each.
//
// Every value is checked before the first write; a write the unit does not take stops the rest,
// and the user is told what was written and what was not.
class TTfraAICalibration : public QWidget {
    Q_OBJECT
public:
    // input: 1 to 4, for the captions; the owner stores the line's two point ids afterwards. The
    // writes go through the owner's host.
    TTfraAICalibration(PageHost& host, const AIFramePoints& points, int input, QWidget* parent = nullptr);

    std::uint16_t ScalingFactorId = 0;
    std::uint16_t ZeroOffsetId = 0;

    // The two pairs and the line, to the unit; false when a value was refused (the user was told
    // why) and nothing was sent.
    bool WriteCalibration();

    void btnCalibrateAI1Click();
    void btnCaptureZeroClick();
    void btnCaptureSpanClick();

    // The bound controls in the page's express-scan order: description, minimum, maximum, value,
    // raw zero, raw span, scaled zero, scaled span, ratio, current, raw, units; and the four the
    // poll reads: value, ratio, current, raw.
    std::vector<int> ScanIds() const;
    std::vector<int> PolledIds() const;

private:
    void Build(int input);
    void SwitchCalibration(bool on);
    void Capture(TQLabeledEdit* box);
    void RunWrites();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ScaledEnter(TQLabeledEdit* box);

    PageHost& host_;
    AIFramePoints points_;
    TQGroupBox* group_ = nullptr;
    TQAdvToolButton* calibrate_ = nullptr;
    TQLabeledEdit* desc_ = nullptr;
    TQLabeledEdit* min_ = nullptr;
    TQLabeledEdit* range_ = nullptr;
    TQLabeledEdit* value_ = nullptr;
    TQLabeledEdit* units_ = nullptr;
    TQGroupBox* scaling_ = nullptr;
    TQLabeledEdit* rawZero_ = nullptr;
    TQLabeledEdit* rawSpan_ = nullptr;
    TQLabeledEdit* scaledZero_ = nullptr;
    TQLabeledEdit* scaledSpan_ = nullptr;
    TQLabeledEdit* raw_ = nullptr;
    TQLabeledEdit* current_ = nullptr;
    TQLabeledEdit* ratio_ = nullptr;
    TQAdvToolButton* captureZero_ = nullptr;
    TQAdvToolButton* captureSpan_ = nullptr;

    // A calibration waits here while another command runs, so that each of its writes runs on
    // its own and its outcome is known before the next is sent.
    std::optional<std::vector<aicalmath::Write>> waiting_;
    bool writing_ = false;
    QTimer retry_;
};
