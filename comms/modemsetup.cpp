#include "modemsetup.h"

#include "dialogservice.h"
#include "modemlink.h"
#include "numbertext.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QWidget>

TapiSetupHandlers::TapiSetupHandlers(ModemDevice& device, QObject* parent) : QObject(parent), device_(device) {}

QString TapiSetupHandlers::selectedDeviceName() const
{
    return device_.selectedDevice();
}

void TapiSetupHandlers::attach(QWidget* form)
{
    auto* lblSelDevice = form->findChild<QLabel*>(QStringLiteral("lblSelDevice"));
    auto* lblModemInfo = form->findChild<QLabel*>(QStringLiteral("lblModemInfo"));
    if (auto* b = form->findChild<QPushButton*>(QStringLiteral("btnSelDevice")))
        connect(b, &QPushButton::clicked, this, [this, lblSelDevice] { btnSelDeviceClick(lblSelDevice); });
    if (auto* b = form->findChild<QPushButton*>(QStringLiteral("btnTapiCfg")))
        connect(b, &QPushButton::clicked, this, [this] { btnTapiCfgClick(); });
    if (auto* e = form->findChild<QLineEdit*>(QStringLiteral("ledMaxAttempts"))) {
        connect(e, &QLineEdit::textChanged, this, [this](const QString& t) { ledMaxAttemptsChange(t); });
        ledMaxAttemptsChange(e->text());
    }
    if (auto* e = form->findChild<QLineEdit*>(QStringLiteral("ledTimeBtwnAttempts"))) {
        connect(e, &QLineEdit::textChanged, this, [this](const QString& t) { ledTimeBtwnAttemptsChange(t); });
        ledTimeBtwnAttemptsChange(e->text());
    }
    if (auto* c = form->findChild<QCheckBox*>(QStringLiteral("ckCreateTapiLog"))) {
        connect(c, &QCheckBox::toggled, this, [this](bool on) { ckCreateTapiLogClick(on); });
        ckCreateTapiLogClick(c->isChecked());
    }
    if (lblSelDevice)
        lblSelDevice->setText(selectedDeviceName());
    if (lblModemInfo) {
        connect(&device_, &ModemDevice::tapiPortClose, lblModemInfo,
                [lblModemInfo] { TapiDeviceTapiPortClose(lblModemInfo); });
        connect(&device_, &ModemDevice::tapiConnect, lblModemInfo,
                [this, lblModemInfo] { TapiDeviceTapiConnect(lblModemInfo); });
    }
}

void TapiSetupHandlers::btnSelDeviceClick(QLabel* lblSelDevice)
{
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
    QString value = device_.selectedDevice();
    const QString prompt = ports.isEmpty()
                               ? QStringLiteral("Serial port of the modem:")
                               : QStringLiteral("Serial port of the modem (%1):").arg(ports.join(QStringLiteral(", ")));
    if (DialogService::instance()->inputText(QStringLiteral("Select Device"), prompt, value, false) &&
        !value.trimmed().isEmpty())
        device_.setSelectedDevice(value);
    if (lblSelDevice)
        lblSelDevice->setText(selectedDeviceName());
}

void TapiSetupHandlers::btnTapiCfgClick()
{
    QString value = device_.initCommand();
    if (DialogService::instance()->inputText(
            QStringLiteral("Configure"), QStringLiteral("Modem initialisation command (sent after AT):"), value, false))
        device_.setInitCommand(value);
}

namespace {
bool wholeNumberIn(const QString& text, int low, int high, int& value)
{
    const std::optional<int> number = numtext::tryStrToInt(text);
    value = number.value_or(0);
    return number && value >= low && value <= high;
}
}  // namespace

void TapiSetupHandlers::ledMaxAttemptsChange(const QString& text)
{
    int value = 0;
    if (wholeNumberIn(text, 1, 100, value))
        device_.setMaxAttempts(value);
}

void TapiSetupHandlers::ledTimeBtwnAttemptsChange(const QString& text)
{
    int value = 0;
    if (wholeNumberIn(text, 1, 1000, value))
        device_.setRetryWaitSeconds(value);
}

void TapiSetupHandlers::ckCreateTapiLogClick(bool checked)
{
    device_.setLogFile(checked ? ModemDevice::defaultLogPath() : QString());
}

void TapiSetupHandlers::TapiDeviceTapiPortClose(QLabel* lblModemInfo)
{
    if (lblModemInfo)
        lblModemInfo->setText(QStringLiteral("Not Connected"));
}

void TapiSetupHandlers::TapiDeviceTapiConnect(QLabel* lblModemInfo) const
{
    if (lblModemInfo)
        lblModemInfo->setText(QStringLiteral("Connected at %1 baud").arg(device_.connectionRate()));
}
