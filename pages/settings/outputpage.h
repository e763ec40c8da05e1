#pragma once

#include "outputbindings.h"
#include "pageframe.h"

#include <array>

class AnalogOutputCollection;
class TQComboBox;
class TQImage;
class TQLabel;

// The Outputs tab: name, fail-safe position and latch enable of the six relays and eight
// solenoids, their latch lamps with an acknowledge button each, and the six analog outputs with
// description, minimum, range and the measured value each carries. Everything is stored by its
// control and written with the toolbar's write, but the latch acknowledgement, which is written
// at once.
class TfraOutput : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraOutput(const PageServices& services, QWidget* parent = nullptr);

    void RegisterPoints() override;
    ScanIds ScanList() const override;

    TQComboBox* ParameterCombo(int index) const { return combos_[static_cast<std::size_t>(index)]; }

public slots:
    // Refills the six parameter combos with the analog-output choices; the main window calls it
    // by name before it opens a configuration file logged off.
    void FillAOFunctions();

private:
    QWidget* BuildDigitalGroup(const char* name, const char* caption, const outputpage::DigitalOutput* rows, int count,
                               const char* namePrefix, const char* offPrefix, const char* onPrefix);
    QWidget* BuildAnalogGroup();
    void Lat1DBPointValueChanged(QWidget* sender);
    void btnLatchClick(int latchState);
    void cbAOMgrFunctionDBPointValueChanged(TQComboBox* combo, const QString& value, bool& showValue);
    void lblStream2DBPointValueChanged(const QString& value, bool& showValue);

    // The analog-output choices the function boxes offer.
    const AnalogOutputCollection& analogOutputs_;
    std::array<TQComboBox*, 6> combos_{};
    TQLabel* streams_ = nullptr;
};
