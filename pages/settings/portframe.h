#pragma once

#include <QStringList>
#include <QWidget>
#include <array>

class DataBase;
class QGroupBox;
class TQComboBox;
class TQRadioGroup;

namespace portframe {

// The baud rates a port offers, in the unit's order: the unit keeps the position of the chosen
// rate, not the rate.
QStringList standardBauds();

// One serial port of the unit: its five points (baud rate, data bits, parity, stop bits,
// envelope) and the baud items it offers.
struct PortPoints {
    std::array<int, 5> ids;
};

}  // namespace portframe

// One serial port's settings: four combos and the (hidden) envelope choice, each bound to its
// point. Edits are stored for the toolbar's write; the frame writes nothing itself. The ports
// page holds four, the factory page one more.
class TfraPort : public QWidget {
    Q_OBJECT
public:
    // bound false keeps the ids on the controls for the page's own use without attaching them.
    // The database is the page's, where the combos shown by text store their edits.
    TfraPort(DataBase& database, const portframe::PortPoints& points, bool bound, QWidget* parent = nullptr);

    // Replaces the baud items (a port with other rates); the selection goes to the first item.
    void SetBaudItems(const QStringList& items);

    QGroupBox* PortSetup() const { return gbPortSetup_; }
    TQComboBox* BaudRate() const { return cbBaudRate_; }
    TQComboBox* DataBits() const { return cbDataBits_; }
    TQComboBox* Parity() const { return cbParity_; }
    TQComboBox* StopBits() const { return cbStopBits_; }
    TQRadioGroup* Envelope() const { return rgEnvelope_; }

private:
    TQComboBox* MakeCombo(const char* name, const char* caption, const QStringList& items, int point, bool bound,
                          int row);
    // Data bits and stop bits are held by the unit as the numbers themselves, so they are shown
    // and stored by item text rather than by position.
    void cbOverrideDBPointValueChanged(TQComboBox* combo, const QString& value, bool& showValue);
    void cbOverridePutToDatabase(TQComboBox* combo, bool& storeValue);

    DataBase& database_;
    QGroupBox* gbPortSetup_ = nullptr;
    TQComboBox* cbBaudRate_ = nullptr;
    TQComboBox* cbDataBits_ = nullptr;
    TQComboBox* cbParity_ = nullptr;
    TQComboBox* cbStopBits_ = nullptr;
    TQRadioGroup* rgEnvelope_ = nullptr;
};
