#pragma once

#include "pageframe.h"

#include <QString>
#include <array>
#include <cfloat>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class TQCheckBox;
class TQLabeledEdit;

namespace Ui {
class TfraAnalyzerGlobal;
}

// The Global tab: the unit-wide settings, the twelve global alarms with their relay and solenoid
// actions, the tape advance and the display decimal places of the analysis page. Edits take the
// deferred road (the toolbar's write); the alarm enable and action boxes are also written to the
// unit at once when the user clicks them.
class TfraAnalyzerGlobal : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraAnalyzerGlobal(const PageServices& services, QWidget* parent = nullptr);
    ~TfraAnalyzerGlobal() override;

    void RegisterPoints() override;
    ScanIds ScanList() const override;

    // True from construction until the first page entry ends: the action boxes write nothing.
    bool Loading() const { return FirstEntry(); }
    bool IsImperial() const;

    // A row's enable box and its fourteen action boxes, relays first.
    struct AlarmRowBoxes {
        TQCheckBox* enable = nullptr;
        std::vector<TQCheckBox*> actions;
    };
    const AlarmRowBoxes& AlarmBoxes(int index) const { return rows_[static_cast<std::size_t>(index)]; }

    // The handlers, as the user's actions reach them.
    void btnSWPAcceptClick();
    void btnTapeLengthResetClick();
    void cbDispPlaceSelect(int index);

private:
    void BuildAlarmRows();
    void BuildAutoTempCalTriggers();
    void WireGeneral();
    void WireTape();
    bool eventFilter(QObject* watched, QEvent* event) override;

    void chkCheckBoxClick(TQCheckBox* box);
    void ckCheckBoxClick(TQCheckBox* box, int bit);
    void AlarmDBPointValueChanged(int row);
    void VersionDBPointValueChanged(const QString& value, bool& showValue, TQLabeledEdit* edit);
    void edtBypassTimeoutActionsDBPointValueChanged(const QString& value, bool& showValue);
    void TrendFilterLengthChange();
    bool edFurancePulseWidthEnter();

    void edtTapeMeasurementUnitsDBPointValueChanged(const QString& value);
    void UnitsSelected(bool imperial);
    void SelectUnits(bool imperial);
    void AdvanceLengthDBPointValueChanged(const QString& value);
    void AdvancePulsesDBPointValueChanged(const QString& value);
    void ShowStainWidth(double stainWidth);
    void RefreshTapeDays(float stainWidth);
    void TapeRemainingDBPointValueChanged();
    void LoadDispPlace();
    // A number the user typed in an unbound field, within +-largest (by default what single
    // precision holds); nothing (after saying why) when it is none.
    static std::optional<double> UserNumber(QWidget* field, const QString& text, double largest = FLT_MAX);

    std::unique_ptr<Ui::TfraAnalyzerGlobal> ui_;
    std::array<AlarmRowBoxes, 12> rows_{};
    bool selectingUnits_ = false;  // undoing a refused switch
    bool fromUnit_ = false;        // the unit's units flag selects
    // The stain width whose tape days wait for the queued read of the tape remaining.
    std::optional<float> tapeDaysWidth_;
    bool tapeRemainingAsked_ = false;
};
