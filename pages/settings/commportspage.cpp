#include "commportspage.h"

#include "dbchoices.h"
#include "dbdisplays.h"
#include "pointids.h"
#include "portframe.h"
#include "streamcount.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

const PageDecl TfraCommPorts::kDecl = {
    .frameName = "fraCommPorts",
    .sheetName = "TabPorts",
    .caption = "Ports",
    .tab = 11,
    .level = 1,
    .scan = {.number = 6, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel515 Desktop...Communication Ports",
};

namespace commports {

const std::array<PortRow, 4> kPorts = {{
    {"gbSerPort1", "Front Panel Serial Port (RS-232)", "fraPort1", pid::CommPort1BaudRate, 0, 0},
    {"gbSerPort2", "Serial Port 2 (RS-232)", "fraPort2", pid::CommPort2BaudRate, 1, 1},
    {"gbSerPort3", "ISO 485 Port (RS-485)", "fraPort3", pid::CommPort3BaudRate, 0, 1},
    {"gbSerPort4", "MODEM Port(RS-232)", "fraPort4", pid::CommPort4BaudRate, 1, 0},
}};

std::vector<int> scanList()
{
    std::vector<int> ids;
    for (int port : {1, 3, 4})
        for (int i = 0; i < 5; ++i)
            ids.push_back(kPorts[static_cast<std::size_t>(port - 1)].firstPoint + i);
    ids.push_back(pid::Streams);
    return ids;
}

}  // namespace commports

TfraCommPorts::TfraCommPorts(const PageServices& services, QWidget* parent) : TPageFrame(kDecl, services, parent)
{
    auto* grid = new QGridLayout(this);
    for (std::size_t i = 0; i < commports::kPorts.size(); ++i) {
        const commports::PortRow& row = commports::kPorts[i];
        auto* group = new QGroupBox(row.caption, this);
        group->setObjectName(row.groupName);
        auto* inside = new QVBoxLayout(group);
        const int first = row.firstPoint;
        // Port 2 is the sensor's: the frame keeps its ids but shows, reads and stores nothing.
        const bool sensorPort = i == 1;
        auto* port =
            new TfraPort(Database(), {{first, first + 1, first + 2, first + 3, first + 4}}, !sensorPort, group);
        port->setObjectName(row.frameName);
        inside->addWidget(port);
        grid->addWidget(group, row.row, row.column);
        ports_[i] = port;
        if (sensorPort) {
            group->setEnabled(false);
            group->setVisible(false);
        }
    }
    // Port 1 offers the two faster rates and starts at the fastest.
    Port(1)->SetBaudItems(portframe::standardBauds() << "38400"
                                                     << "57600");
    Port(1)->BaudRate()->setCurrentIndex(8);
    // The RS-485 port's second rate reads "500"; the unit keeps the position, so the rate it
    // runs is its own.
    QStringList rs485 = portframe::standardBauds();
    rs485[1] = "500";
    Port(3)->SetBaudItems(rs485);
    Port(3)->BaudRate()->setCurrentIndex(6);

    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    lblStream2_ = new TQLabel(this);
    lblStream2_->setObjectName("lblStream2");
    lblStream2_->setDbId(pid::Streams);
    lblStream2_->setVisible(false);
    streamcount::bindDisplay(lblStream2_, streamcount::Words::SingleDual, Host());
}

TPageFrame::ScanIds TfraCommPorts::ScanList() const
{
    return {commports::scanList(), {}};
}

void TfraCommPorts::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    // Each entry shows port 1 at its fastest rate until the unit's value arrives; port 1 is the
    // technician's own link and is not changed from here.
    TfraPort* port1 = Port(1);
    port1->BaudRate()->setCurrentIndex(8);
    port1->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{port1->BaudRate(), port1->DataBits(), port1->Parity(),
                                                            port1->StopBits(), port1->Envelope()})
        control->setEnabled(false);
    Port(2)->setEnabled(false);
    Port(3)->DataBits()->setEnabled(false);
    Port(4)->DataBits()->setEnabled(false);
}
