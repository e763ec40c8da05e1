#pragma once

#include "pageframe.h"
#include "servicebindings.h"

#include <QString>
#include <array>
#include <cstdint>

class TfraAOCalibration;
class TQAdvToolButton;
class TQCheckBox;
class TQGroupBox;
class TQImage;
class TQLabel;
class TQLabeledEdit;

// The Maintenance tab: direct board control of the unit's relays and solenoids with the state
// the unit reports for each, the tape encoder count, the six analog output calibration frames
// (whose calibrate switches work only under direct control) and the firmware upgrade group,
// which the page keeps hidden.
class TfraBoardTester : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraBoardTester(const PageServices& services, QWidget* parent = nullptr);

    void RegisterPoints() override;
    ScanIds ScanList() const override;

    // "True" only for exactly "True"; any other text writes "False".
    void WriteBoolPoint(std::uint16_t pointId, const QString& value);

    // The tab is being left: every bypass point that a frame set "True" is written "False", so
    // no output stays forced by a page the user no longer sees.
    void ReleaseOutputs();

    TQCheckBox* DirectControlEnable() const { return directControl_; }
    // Relays 1 to 6, then solenoids 1 to 8.
    TQCheckBox* OutputBox(int index) const { return boxes_[static_cast<std::size_t>(index)]; }
    TQImage* OutputLamp(int index) const { return lamps_[static_cast<std::size_t>(index)]; }
    TfraAOCalibration* Calibration(int index) const { return frames_[static_cast<std::size_t>(index)]; }
    TQGroupBox* FirmwareGroup() const { return gbFirmware_; }

    void DirectControlEnableClick();
    void DirectControlEnableDBPointValueChanged();
    // ckRelay1Click to ckRelay6Click, ckSolenoid1Click to ckSolenoid8Click.
    void OutputBoxClick(int index);
    void imRelayDBPointValueChanged(QWidget* sender);
    void lblStream2DBPointValueChanged(const QString& value, bool& showValue);
    // The firmware upgrade's steps 1 to 3; the group is hidden, so only code reaches them.
    void btnReadOldConfigClick();
    void btnWriteFirmwareClick();
    void btnMergeFirmwareClick();
    TQAdvToolButton* FirmwareButton(int step) const;

private:
    QWidget* BuildOutputs();
    QWidget* BuildOutputGroup(const char* name, const char* caption, const char* boxPrefix, const char* lampPrefix,
                              int first, int count);
    QWidget* BuildFirmwareGroup();
    void EnableOutputs(bool enable);
    void CalibrateToggled(TfraAOCalibration* frame, bool down);
    void RunUpgradeStep(int step);

    TQCheckBox* directControl_ = nullptr;
    std::array<TQCheckBox*, servicepage::kOutputCount> boxes_{};
    std::array<TQImage*, servicepage::kOutputCount> lamps_{};
    // The lamps' states: the unit's report, or what a box last set.
    std::array<bool, servicepage::kOutputCount> lampOn_{};
    std::array<TfraAOCalibration*, 6> frames_{};
    TQLabeledEdit* pulseCount_ = nullptr;
    TQLabel* lblStream2_ = nullptr;
    TQGroupBox* gbFirmware_ = nullptr;
    TQAdvToolButton* btnReadOldConfig_ = nullptr;
    TQAdvToolButton* btnWriteFirmware_ = nullptr;
    TQAdvToolButton* btnMergeFirmware_ = nullptr;
};
