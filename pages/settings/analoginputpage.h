#pragma once

#include "pageframe.h"

#include <array>

class TQLabel;
class TTfraAICalibration;

// The Analog Input tab: the unit's four analog current inputs, each in its calibration frame,
// and the eight analog-input alarms with their limits and relay and solenoid actions. It is
// polled while shown (the inputs' live values only). The page itself writes nothing: its edits
// go with the toolbar's write, and the calibration frames send their own values.
class TfrAnalogInputs : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrAnalogInputs(const PageServices& services, QWidget* parent = nullptr);

    ScanIds ScanList() const override;

    TTfraAICalibration* Calibration(int index) const { return frames_[static_cast<std::size_t>(index)]; }

private:
    QWidget* BuildAlarms(QWidget* parent);

    std::array<TTfraAICalibration*, 4> frames_{};
    TQLabel* streams_ = nullptr;
};
