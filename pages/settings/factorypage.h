#pragma once

#include "pageframe.h"

#include <array>
#include <vector>

class QLabel;
class TfmAnalogSupply;
class TfraPort;
class TQCheckBox;
class TQComboBox;
class TQLabel;

namespace factorypage {

// The page's express-scan list: the sensor, its port, the run counter, the stream count, both
// analog supplies, and the low-tape alarm with its actions.
std::vector<int> scanList();

// The questions the page asks before it acts on the unit or the password.
extern const char* const kResetConfigQuestion;
extern const char* const kWipeArchiveQuestion;
extern const char* const kWipeEventLogQuestion;
extern const char* const kResetPasswordQuestion;
extern const char* const kResetPasswordFailed;

}  // namespace factorypage

// The Factory tab, for the manufacturer: sensor parameters, the sensor's port (shown, not
// changed), the run counter, the number of streams, the two analog supplies, the low-tape alarm
// and the factory actions. Its controls stay hidden behind a notice until the main window has
// taken the factory access code.
class TfraFactory : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraFactory(const PageServices& services, QWidget* parent = nullptr);

    void ShowControls(bool show);
    void RegisterPoints() override;
    ScanIds ScanList() const override;

    TfraPort* PortFrame() const { return fraPortX_; }
    TfmAnalogSupply* Supply(int number) const { return number == 1 ? fmAnalogSupply1_ : fmAnalogSupply2_; }

public slots:
    void btnQCDocClick();

private:
    QWidget* BuildButtons();
    QWidget* BuildSensor();
    QWidget* BuildTapeAlarm();
    void butResetDefaultConfig();
    void btnWipeClick();
    void btnWipeLogClick();
    void btnResetPwClick();
    void LowTapeDBPointValueChanged();
    void LowTapeClick();

    QLabel* Qcomment_ = nullptr;
    TQLabel* lblStream2_ = nullptr;
    TfraPort* fraPortX_ = nullptr;
    TfmAnalogSupply* fmAnalogSupply1_ = nullptr;
    TfmAnalogSupply* fmAnalogSupply2_ = nullptr;
    TQCheckBox* LowTape_ = nullptr;
    std::vector<TQCheckBox*> lowTapeActions_;
};
