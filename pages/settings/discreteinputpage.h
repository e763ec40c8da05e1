#pragma once

#include "inputmasks.h"
#include "pageframe.h"

#include <array>
#include <vector>

class QGroupBox;
class TQCheckBox;
class TQLabel;
class TQLabeledEdit;
class TQRadioButton;

// One discrete input page: four inputs, each with its enable switch, name, alarm switch,
// polarity, run-selector mask and action mask. The dry and the wet page are this one design over
// their own table (inputmasks::kDryPage, kWetPage).
//
// Switches, polarity and mask boxes write their point to the unit at once; the names wait for the
// toolbar's write. A mask box changes only its own bit: the database takes the one-bit text into
// the mask's pending value and the whole mask is written.
class DiscreteInputPage : public TPageFrame {
    Q_OBJECT
public:
    struct InputControls {
        TQCheckBox* enable = nullptr;
        TQLabeledEdit* name = nullptr;
        TQCheckBox* audit = nullptr;
        QGroupBox* polarity = nullptr;
        TQRadioButton* polarityOn = nullptr;
        TQRadioButton* polarityOff = nullptr;
        QGroupBox* runSelector = nullptr;
        QGroupBox* actions = nullptr;
        // [stream - 1][run type]
        std::array<std::array<TQCheckBox*, analyzer::kRunTypes>, analyzer::kStreams> runBoxes{};
        std::vector<TQCheckBox*> actionBoxes;  // relays 1-6, then solenoids 1-8
    };

    void RegisterPoints() override;
    ScanIds ScanList() const override;

    const InputControls& Input(int index) const { return inputs_[static_cast<std::size_t>(index)]; }
    const inputmasks::InputPageKind& Kind() const { return kind_; }

protected:
    DiscreteInputPage(const PageDecl& decl, const inputmasks::InputPageKind& kind, const PageServices& services,
                      QWidget* parent);

private:
    void BuildInput(int index, QWidget* parent);
    TQCheckBox* MakeMaskBox(bool wide, const std::string& name, const std::string& caption, int point, int bit,
                            QWidget* parent);
    bool OwnScanPage() const;

    void chkDIEnableClick(TQCheckBox* box);
    void palPolarityClick(TQRadioButton* button, const char* value);
    void MaskClick(TQCheckBox* box, bool runSelector);
    void RevertMaskBox(TQCheckBox* box, int width);
    void chkDIEnableDBPointValueChanged(int index);
    void lblStream2DBPointValueChanged(const QString& value, bool& showValue);

    const inputmasks::InputPageKind& kind_;
    std::array<InputControls, 4> inputs_;
    QGroupBox* group_ = nullptr;
    TQLabel* streams_ = nullptr;
};

// Inputs 1-4, the dry contacts.
class TfraIO : public DiscreteInputPage {
    Q_OBJECT
public:
    static const PageDecl kDecl;
    explicit TfraIO(const PageServices& services, QWidget* parent = nullptr)
            : DiscreteInputPage(kDecl, inputmasks::kDryPage, services, parent)
    {}
};

// Inputs 5-8, the wet contacts.
class TfrmInput2 : public DiscreteInputPage {
    Q_OBJECT
public:
    static const PageDecl kDecl;
    explicit TfrmInput2(const PageServices& services, QWidget* parent = nullptr)
            : DiscreteInputPage(kDecl, inputmasks::kWetPage, services, parent)
    {}
};
