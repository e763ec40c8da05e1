// The "Communications Setup" form's own handlers: OK, Reset Defaults, showing, the serial port
// list, the trace log, the proxy dialog, the gateway detection and the TCP address book.
#include "comm.h"
#include "numbertext.h"

#include "dialogservice.h"
#include "frmproxy.h"
#include "modemsetup.h"
#include "usbsearch.h"
#include "winmsg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QShowEvent>
#include <QStatusBar>
#include <QThread>

#include "portelle_api.h"

// The proxy dialog while it is open (an export of the library).
QWidget* _frmProxy = nullptr;

namespace {
constexpr int kMaxPortEntries = 256;
const char kGatewayListRequest[] = "CCICommand,CRC";
const char kGatewaySelect[] = "CCIS";
}  // namespace

// ---- OK, Reset Defaults, showing, diagnostics ----

void TComm::btnOKClick()
{
    commPort_->close();
    sendWinMessage(winmsg::WM_COMMSTATE, 0, 0);
    setSettingsLocked(false);
    linkState_ = LinkDown;
    rememberedConnectType_ = cbConnectType->currentIndex();
    if (rememberedConnectType_ == Tcp) {
        rememberedTcpAddress_ = ethAddr->currentText();
        rememberedTcpPort_ = ledPort->text();
        addTypedAddress(false);
    }
    hide();
    close();
}

void TComm::btnResetDefaultsClick()
{
    CommSettings d = design_;
    // The Modbus address stays as typed; the type and the TCP pair are those last applied.
    d.modbusNodeAddress = ledModbusNodeAddress->text();
    d.connectType = rememberedConnectType_;
    d.wsAddress = rememberedTcpAddress_;
    d.wsPort = rememberedTcpPort_;
    d.ws2Address = secondTcpAddress_;
    d.ws2Port = secondTcpPort_;
    applySettings(d);
    ethAddr->setEditText(rememberedTcpAddress_);
    ledPort->setText(rememberedTcpPort_);
    ckAllStationsClick();
    ckProxyClick();
    previousConnectType_ = -1;
    cbConnectTypeSelect();
}

void TComm::btnDiagnosticsClick()
{
    if (!gbLogging->isHidden()) {
        gbLogging->hide();
        btnDiagnostics->setText(QStringLiteral("Diagnostics"));
    } else {
        gbLogging->show();
        btnDiagnostics->setText(QStringLiteral("Hide Diagnostics"));
    }
    adjustSize();
}

void TComm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TComm::FormShow()
{
    lblSelDevice->setText(tapiSetup_->selectedDeviceName());
    if (cbConnectType->currentIndex() == Tcp)
        btnCCIDetect->setEnabled(true);
    const QString usbPort = usbsearch::FindUsbSerialPort();
    foundUSBport->setText(usbPort.isEmpty() ? QString()
                                            : QStringLiteral("QUENRICK USB INTERFACE was found at ") + usbPort);

    addrBook_.Load(addressBookFile());
    comDesc->clear();
    ethAddr->clear();
    for (int i = 0; i < addrBook_.Count(); ++i) {
        const _item item = addrBook_.Get(i);
        comDesc->addItem(item.description);
        ethAddr->addItem(item.address);
    }
    if (addrBook_.Count() > 0) {
        const int position = addrBook_.IndexOfAddress(rememberedTcpAddress_);
        ethAddr->setCurrentIndex(position);
        comDesc->setCurrentIndex(position);
        addrPosition_ = position;
    }
    // Clearing the lists empties their edit texts; the address in use stays shown.
    if (ethAddr->currentIndex() < 0 && cbConnectType->currentIndex() == Tcp)
        ethAddr->setEditText(rememberedTcpAddress_);
}

void TComm::cbConnectTypeDropDown()
{
    previousConnectType_ = cbConnectType->currentIndex();
}

void TComm::FillComPortList()
{
    // A stored port that is not present keeps its name in the port until the user picks another.
    const QString device = commPort_->serialDeviceName();
    cbComPortNum->setUpdatesEnabled(false);
    cbComPortNum->clear();
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (cbComPortNum->count() >= kMaxPortEntries)
            break;
        cbComPortNum->addItem(info.portName(), info.systemLocation());
    }
    cbComPortNum->setCurrentIndex(cbComPortNum->findData(device));
    cbComPortNum->setUpdatesEnabled(true);
}

// ---- trace log ----

void TComm::setLogControlsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{btnStartStopLog, ckAppend, ckAllHex, ckWriteReset, edMaxLogSize,
                                                      ledLogFileName, lblMaxLogSize, lblBytes, ledComment})
        w->setEnabled(enabled);
}

void TComm::ckCreateLogClick()
{
    if (ckCreateLog->isChecked()) {
        setLogControlsEnabled(true);
        for (QPushButton* b : {btnClearLog, btnPauseLog, btnAddComment})
            b->setEnabled(false);
        btnStartStopLog->setText(QStringLiteral("Start Logging"));
        btnPauseLog->setText(QStringLiteral("Pause"));
        btnPauseLog->setStyleSheet(QString());
    } else {
        setLogControlsEnabled(false);
        for (QPushButton* b : {btnClearLog, btnPauseLog, btnAddComment})
            b->setEnabled(false);
        commPort_->log().setState(CommLog::State::Off);
    }
}

bool TComm::saveLog()
{
    CommLog& log = commPort_->log();
    log.setFileName(ledLogFileName->text().trimmed());
    if (log.setState(ckAppend->isChecked() ? CommLog::State::Append : CommLog::State::Dump))
        return true;
    DialogService::ask(QMessageBox::Critical, QStringLiteral("Error"),
                       QStringLiteral("Error saving the log file.\n\nMake sure the directory exists and that you "
                                      "can write to it."),
                       QMessageBox::Ok);
    return false;
}

void TComm::btnStartStopLogClick()
{
    CommLog& log = commPort_->log();
    if (btnStartStopLog->text() == QLatin1String("Start Logging")) {
        btnClearLog->setEnabled(true);
        btnPauseLog->setEnabled(true);
        for (QWidget* w : std::initializer_list<QWidget*>{ckAppend, ckAllHex, ckWriteReset, edMaxLogSize,
                                                          ledLogFileName, lblMaxLogSize, lblBytes})
            w->setEnabled(false);
        ledComment->setEnabled(true);
        btnAddComment->setEnabled(true);
        log.setFileName(ledLogFileName->text().trimmed());
        const int size = numtext::tryStrToInt(edMaxLogSize->text()).value_or(0);
        log.setMaxSize(size > 0 ? size : design_.maxLogSize.toInt());
        log.setAllHex(ckAllHex->isChecked());
        log.setState(CommLog::State::On);
        btnStartStopLog->setText(QStringLiteral("Send Log to File"));
        btnPauseLog->setText(QStringLiteral("Pause"));
        btnPauseLog->setStyleSheet(QString());
    } else {
        for (QPushButton* b : {btnClearLog, btnPauseLog, btnAddComment})
            b->setEnabled(false);
        setLogControlsEnabled(true);
        btnStartStopLog->setText(QStringLiteral("Start Logging"));
        saveLog();
    }
}

void TComm::btnPauseLogClick()
{
    if (btnPauseLog->text() == QLatin1String("Pause")) {
        btnPauseLog->setText(QStringLiteral("Paused"));
        btnPauseLog->setStyleSheet(QStringLiteral("font-weight: bold; color: red"));
        commPort_->log().setState(CommLog::State::Pause);
    } else {
        btnPauseLog->setText(QStringLiteral("Pause"));
        btnPauseLog->setStyleSheet(QString());
        commPort_->log().setState(CommLog::State::On);
    }
}

void TComm::btnClearLogClick()
{
    commPort_->log().setState(CommLog::State::Clear);
}

void TComm::btnAddCommentClick()
{
    if (commPort_->log().isOn())
        trace(ledComment->text());
    else
        DialogService::showMessage(QStringLiteral("Log file is not currently open."));
}

void TComm::ckAllHexClick()
{
    commPort_->log().setAllHex(ckAllHex->isChecked());
}

// ---- proxy ----

void TComm::ckProxyClick()
{
    btnProxy->setEnabled(ckProxy->isChecked());
}

void TComm::btnProxyClick()
{
    QPointer<TfrmProxy> dialog = new TfrmProxy(this);
    _frmProxy = dialog;
    dialog->load(commPort_->socks());
    const int result = dialog->exec();
    if (dialog && result == QDialog::Accepted)
        dialog->store(commPort_->socks());
    _frmProxy = nullptr;
    delete dialog;
}

// ---- gateway detection ----

bool TComm::waitForGateway()
{
    commPort_->open();
    QElapsedTimer clock;
    clock.start();
    while (commPort_->isConnecting() && clock.elapsed() < CommPort::kConnectTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
    if (commPort_->isConnecting())
        commPort_->close();
    return commPort_->isOpen();
}

void TComm::btnCCIDetectClick()
{
    // An exchange waiting for its answer owns the port.
    if (busy_ > 0)
        return;
    commPort_->setWsAddress(ethAddr->currentText());
    commPort_->setWsPort(ledPort->text());
    setWinsockIcon(2);
    linkState_ = LinkDown;
    const bool open = waitForGateway();
    sendWinMessage(winmsg::WM_COMMSTATE, 1, 0);
    setSetupGroupsEnabled(false);
    lblModemInfo->setEnabled(false);
    cbConnectType->setEnabled(false);
    linkState_ = LinkDown;
    cbCCIConnInfo->setEnabled(true);
    cciConnections_.clear();
    cbCCIConnInfo->clear();
    // A gateway that cannot be reached simply gives no list.
    if (open) {
        receiveCount_ = 0;
        commPort_->putBlock(reinterpret_cast<const std::uint8_t*>(kGatewayListRequest),
                            int(sizeof kGatewayListRequest - 1));
    }
}

void TComm::cbCCIConnInfoSelect(int index)
{
    if (busy_ > 0 || index < 0 || index >= cbCCIConnInfo->count())
        return;
    commPort_->close();
    if (waitForGateway()) {
        receiveCount_ = 0;
        const QByteArray command = QByteArray(kGatewaySelect) + cbCCIConnInfo->itemText(index).toLatin1();
        commPort_->putBlock(reinterpret_cast<const std::uint8_t*>(command.constData()), int(command.size()));
    }
    setSetupGroupsEnabled(true);
    lblModemInfo->setEnabled(true);
    cbConnectType->setEnabled(false);
    btnCCIDetect->setEnabled(false);
    linkState_ = LinkDown;
}

// ---- TCP address book ----

void TComm::attention(const QString& text)
{
    DialogService::ask(QMessageBox::NoIcon, QStringLiteral("Attention"), text, QMessageBox::Ok);
}

void TComm::saveAddressBook()
{
    if (addrBook_.Save(addressBookFile()) != 0)
        attention(QStringLiteral("The address book could not be saved to %1.").arg(addressBookFile()));
}

bool TComm::checkEntryTexts(bool description)
{
    if (description && comDesc->currentText().isEmpty()) {
        attention(QStringLiteral("Description should not be empty, please input valid Description"));
        return false;
    }
    if (ethAddr->currentText().isEmpty()) {
        attention(QStringLiteral("IP Address should not be empty, please input valid IP Address"));
        return false;
    }
    if (ledPort->text().isEmpty()) {
        attention(QStringLiteral("Port should not be empty, please input valid Port Value"));
        return false;
    }
    return true;
}

void TComm::addTypedAddress(bool checkTexts)
{
    if (checkTexts && !checkEntryTexts(false))
        return;
    const QString address = ethAddr->currentText();
    if (addrBook_.ContainsAddress(address))
        return;
    const int p = addrPosition_ < 0 ? 0 : addrPosition_;
    addrPosition_ = p;
    const QString port = ledPort->text();
    ethAddr->insertItem(p, address);
    comDesc->insertItem(p, address);
    comDesc->setCurrentIndex(p);
    ethAddr->setCurrentIndex(p);
    ledPort->setText(port);
    addrBook_.Insert(p, address, address, PortAddrMgr::LeadingNumber(port));
    saveAddressBook();
}

void TComm::selectAddressEntry(int index, QComboBox* otherList)
{
    addrPosition_ = index;
    otherList->setCurrentIndex(index);
    if (index >= 0 && index < addrBook_.Count())
        ledPort->setText(QString::number(addrBook_.Get(index).port));
}

void TComm::ethAddrSelect(int index)
{
    selectAddressEntry(index, comDesc);
}

void TComm::comDescSelect(int index)
{
    selectAddressEntry(index, ethAddr);
}

void TComm::comDescEnter()
{
    addrPosition_ = comDesc->currentIndex();
}

void TComm::ethAddrKeyPress()
{
    addTypedAddress(true);
}

void TComm::comDescKeyDown()
{
    if (!checkEntryTexts(true))
        return;
    const QString description = comDesc->currentText();
    const QString address = ethAddr->currentText();
    const int port = PortAddrMgr::LeadingNumber(ledPort->text());
    if (addrPosition_ < 0) {
        addrPosition_ = 0;
        comDesc->insertItem(0, description);
        ethAddr->insertItem(0, address);
        comDesc->setCurrentIndex(0);
        addrBook_.Insert(0, address, description, port);
    } else {
        const int p = addrPosition_;
        comDesc->insertItem(p, description);
        comDesc->removeItem(p + 1);
        comDesc->setCurrentIndex(p);
        addrBook_.Set(p, address, description, port);
    }
    saveAddressBook();
}

void TComm::ledPortKeyPress()
{
    if (!checkEntryTexts(true))
        return;
    if (addrPosition_ < 0)
        addrPosition_ = 0;
    addrBook_.Set(addrPosition_, ethAddr->currentText(), comDesc->currentText(),
                  PortAddrMgr::LeadingNumber(ledPort->text()));
    saveAddressBook();
}

void TComm::btnDeleteClick()
{
    if (ethAddr->count() == 0 || addrPosition_ < 0)
        return;
    const int p = addrPosition_;
    ethAddr->removeItem(p);
    comDesc->removeItem(p);
    ethAddr->setCurrentIndex(p < ethAddr->count() ? p : -1);
    comDesc->setCurrentIndex(p < comDesc->count() ? p : -1);
    addrBook_.Remove(p);
    saveAddressBook();
    if (p >= addrBook_.Count())
        addrPosition_ = -1;
}

bool TComm::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == comDesc || watched == comDesc->lineEdit()) && event->type() == QEvent::FocusIn)
        comDescEnter();
    return QWidget::eventFilter(watched, event);
}
