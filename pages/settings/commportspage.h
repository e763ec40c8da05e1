#pragma once

#include "pageframe.h"

#include <array>

class TfraPort;
class TQLabel;

namespace commports {

// The page's four ports as it lays them out, with the points each shows.
struct PortRow {
    const char* groupName;
    const char* caption;
    const char* frameName;
    int firstPoint;  // baud rate; data bits, parity, stop bits and envelope follow
    int row, column;
};
extern const std::array<PortRow, 4> kPorts;

// The express-scan list of the page: ports 1, 3 and 4 (baud rate to envelope each), then the
// stream count. Port 2 belongs to the sensor and is not read here.
std::vector<int> scanList();

}  // namespace commports

// The Ports tab: the unit's serial ports, one port frame each. Edits are stored for the
// toolbar's write; a permanent write made while this tab is shown has the main window reboot the
// unit, so the new settings take effect.
class TfraCommPorts : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraCommPorts(const PageServices& services, QWidget* parent = nullptr);

    void RegisterPoints() override;
    ScanIds ScanList() const override;

    // fraPort1 to fraPort4.
    TfraPort* Port(int number) const { return ports_[static_cast<std::size_t>(number - 1)]; }

private:
    std::array<TfraPort*, 4> ports_{};
    TQLabel* lblStream2_ = nullptr;
};
