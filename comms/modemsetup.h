#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class ModemDevice;
class QLabel;
class QWidget;

// The "Modem Setup" controls of the "Communications Setup" window and the modem's events: what
// each control sets on the telephony device, and what the device's events show. The handlers
// take the controls or their values, so that they work with any form holding controls of these
// names; attach() finds them by name and wires them.
class TapiSetupHandlers : public QObject {
public:
    explicit TapiSetupHandlers(ModemDevice& device, QObject* parent = nullptr);

    // Connects btnSelDevice, btnTapiCfg, ledMaxAttempts, ledTimeBtwnAttempts, ckCreateTapiLog,
    // lblSelDevice and lblModemInfo found under form (absent ones are left out), and applies the
    // values the controls hold now.
    void attach(QWidget* form);

    // "Select Device": the device's selection dialog (the modem's serial line); a cancelled
    // dialog keeps the device. The label shows the device chosen.
    void btnSelDeviceClick(QLabel* lblSelDevice);
    // "Configure": the device's configuration dialog (its initialisation command).
    void btnTapiCfgClick();
    // A text that is not a whole number in range leaves the device's value as it was.
    void ledMaxAttemptsChange(const QString& text);
    void ledTimeBtwnAttemptsChange(const QString& text);
    // The call history goes to "APROTAPI.HIS" in the data directory while checked.
    void ckCreateTapiLogClick(bool checked);
    // The device's events, as the modem state label shows them.
    static void TapiDeviceTapiPortClose(QLabel* lblModemInfo);
    void TapiDeviceTapiConnect(QLabel* lblModemInfo) const;
    // What "Select Device"'s label shows.
    QString selectedDeviceName() const;

private:
    ModemDevice& device_;
};
