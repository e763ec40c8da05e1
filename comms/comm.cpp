#include "comm.h"

#include "appcontext.h"
#include "commstatus.h"
#include "controlgroup.h"
#include "dialogservice.h"
#include "dialup.h"
#include "frame.h"
#include "modemlink.h"
#include "modemsetup.h"
#include "numbertext.h"
#include "phonebook.h"
#include "rangebox.h"
#include "usbsearch.h"
#include "winmsg.h"

#include <QAbstractSocket>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSerialPortInfo>
#include <QStatusBar>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

// While an exchange or a connect runs; a nested call made from an event handled during the
// wait is refused, as it would overwrite the running exchange's state.
class BusyScope {
public:
    explicit BusyScope(int& counter) : counter_(counter) { ++counter_; }
    ~BusyScope() { --counter_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& counter_;
};

// Holds the main window for the length of one exchange.
class FormScope {
public:
    explicit FormScope(QPointer<QWidget>& form) : form_(form) { form_ = appcontext::mainForm(); }
    ~FormScope() { form_.clear(); }
    FormScope(const FormScope&) = delete;
    FormScope& operator=(const FormScope&) = delete;

private:
    QPointer<QWidget>& form_;
};

// One pass of the wait: let the port's events and timers run, then give the processor back.
void pumpOnce()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::msleep(1);
}

QLineEdit* positiveIntegerBox(const QString& name, const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
    return edit;
}

// A drop-down list that reports when its list is about to open.
class DropDownComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> onDropDown;

    void showPopup() override
    {
        if (onDropDown)
            onDropDown();
        QComboBox::showPopup();
    }
};

QComboBox* dropDownList(const QString& name, const QStringList& items, QWidget* parent)
{
    auto* box = new DropDownComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

QCheckBox* checkBox(const QString& name, const QString& caption, bool checked, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QLabel* label(const QString& name, const QString& caption, QWidget* parent)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

void selectText(QComboBox* box, const QString& text)
{
    box->setCurrentIndex(box->findText(text));
}

}  // namespace

TComm::TComm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Comm"));
    setWindowTitle(QStringLiteral("Communications Setup"));
    setAttribute(Qt::WA_QuitOnClose, false);

    commPort_ = new CommPort(this);
    commPort_->setObjectName(QStringLiteral("CommPort"));
    connect(commPort_, &CommPort::triggerOutSent, this, &TComm::CommPortTriggerOutSent);
    connect(commPort_, &CommPort::triggerAvail, this, &TComm::CommPortTriggerAvail);
    connect(commPort_, &CommPort::triggerTimer, this, &TComm::CommPortTriggerTimer);
    connect(commPort_, &CommPort::wsConnect, this, &TComm::CommPortWsConnect);
    connect(commPort_, &CommPort::wsDisconnect, this, &TComm::CommPortWsDisconnect);
    connect(commPort_, &CommPort::wsError, this, &TComm::CommPortWsError);

    createDialers();
    buildControls();
    // The form's own values are the defaults of every stored setting.
    rememberedTcpPort_ = secondTcpPort_ = ledPort->text();
    design_ = currentSettings();
    rememberedConnectType_ = design_.connectType;
    btnCCIDetect->setEnabled(false);
    cbCCIConnInfo->setEnabled(false);

    applySettings(CommSettings::load(design_));
    ckAllStationsClick();
    ckProxyClick();
    previousConnectType_ = -1;
    cbConnectTypeSelect();
    adjustSize();
    tapiSetup_->attach(this);
    phonebook_->attach(this);
    phonebook_->FillPhonebookEntries();
}

void TComm::createDialers()
{
    TapiDevice = new ModemDevice(commPort_, this);
    connect(TapiDevice, &ModemDevice::tapiStatus, this, &TComm::setStatusText);
    tapiSetup_ = new TapiSetupHandlers(*TapiDevice, this);
    RasDialer = new DialUpDialer(this);
    connect(RasDialer, &DialUpDialer::connected, this, &TComm::RasDialerConnected);
    connect(RasDialer, &DialUpDialer::dialError, this, &TComm::RasDialerDialError);
    connect(RasDialer, &DialUpDialer::disconnected, this, &TComm::RasDialerDisconnected);
    phonebook_ = new PhonebookHandlers(*RasDialer, this);
}

TComm::~TComm()
{
    // The port's own destruction must not call back into a half-destroyed engine.
    commPort_->disconnect(this);
    RasDialer->disconnect(this);
    TapiDevice->disconnect(this);
    commPort_->close();
}

void TComm::buildControls()
{
    auto* outer = new QHBoxLayout(this);
    auto* top = new QVBoxLayout;
    outer->addLayout(top);

    auto* typeRow = new QHBoxLayout;
    auto* typeLabel = label(QStringLiteral("lblConnectType"), QStringLiteral("Connection Type :"), this);
    QFont bold = typeLabel->font();
    bold.setBold(true);
    typeLabel->setFont(bold);
    cbConnectType = dropDownList(QStringLiteral("cbConnectType"),
                                 {QStringLiteral("Com Port Direct"), QStringLiteral("Modem"),
                                  QStringLiteral("Dial-up Networking (RAS)"), QStringLiteral("Ethernet (TCP)")},
                                 this);
    cbConnectType->setFont(bold);
    connect(cbConnectType, &QComboBox::activated, this, &TComm::cbConnectTypeSelect);
    static_cast<DropDownComboBox*>(cbConnectType)->onDropDown = [this] { cbConnectTypeDropDown(); };
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(cbConnectType);
    top->addLayout(typeRow);
    // Time-outs and options on the left; the three setup groups share one place on the right,
    // the connection type deciding which is visible.
    auto* columns = new QHBoxLayout;
    auto* leftColumn = new QVBoxLayout;
    auto* setupColumn = new QVBoxLayout;
    columns->addLayout(leftColumn);
    columns->addLayout(setupColumn, 1);
    top->addLayout(columns);

    auto* gbTimeOuts = new QGroupBox(QStringLiteral("TimeOuts"), this);
    gbTimeOuts->setObjectName(QStringLiteral("gbTimeOuts"));
    auto* timeOuts = new QFormLayout(gbTimeOuts);
    edBackoffTimer = positiveIntegerBox(QStringLiteral("edBackoffTimer"), design_.backoffTimer, gbTimeOuts);
    auto* backoffRow = new QHBoxLayout;
    backoffRow->addWidget(edBackoffTimer);
    backoffRow->addWidget(label(QStringLiteral("lblTicks"), QStringLiteral("Ticks"), gbTimeOuts));
    timeOuts->addRow(QStringLiteral("Backoff Timer"), backoffRow);
    edRetries = positiveIntegerBox(QStringLiteral("edRetries"), design_.retries, gbTimeOuts);
    timeOuts->addRow(QStringLiteral("Retries"), edRetries);
    leftColumn->addWidget(gbTimeOuts);

    auto* gbOptions = new QGroupBox(QStringLiteral("Communications Options"), this);
    gbOptions->setObjectName(QStringLiteral("gbCommOptions"));
    auto* options = new QFormLayout(gbOptions);
    ckAllStations =
        checkBox(QStringLiteral("ckAllStations"), QStringLiteral("\"All Stations\""), design_.allStations, gbOptions);
    connect(ckAllStations, &QCheckBox::toggled, this, &TComm::ckAllStationsClick);
    options->addRow(ckAllStations);
    ledModbusNodeAddress = new QLineEdit(design_.modbusNodeAddress, gbOptions);
    ledModbusNodeAddress->setObjectName(QStringLiteral("ledModbusNodeAddress"));
    ledModbusNodeAddress->setValidator(new QIntValidator(1, 255, ledModbusNodeAddress));
    ledModbusNodeAddress->setEnabled(false);
    options->addRow(QStringLiteral("Modbus Address"), ledModbusNodeAddress);
    btnCCIDetect = button(QStringLiteral("btnCCIDetect"), QStringLiteral("CCI Detect"), gbOptions);
    cbCCIConnInfo = dropDownList(QStringLiteral("cbCCIConnInfo"), {}, gbOptions);
    options->addRow(btnCCIDetect, cbCCIConnInfo);
    connect(btnCCIDetect, &QPushButton::clicked, this, &TComm::btnCCIDetectClick);
    connect(cbCCIConnInfo, &QComboBox::activated, this, &TComm::cbCCIConnInfoSelect);
    leftColumn->addWidget(gbOptions);
    leftColumn->addStretch(1);

    gbPortSetup = new QGroupBox(QStringLiteral("Port Setup"), this);
    gbPortSetup->setObjectName(QStringLiteral("gbPortSetup"));
    auto* port = new QFormLayout(gbPortSetup);
    cbComPortNum = dropDownList(QStringLiteral("cbComPortNum"), {}, gbPortSetup);
    static_cast<DropDownComboBox*>(cbComPortNum)->onDropDown = [this] { FillComPortList(); };
    connect(cbComPortNum, &QComboBox::activated, this, [this](int index) {
        const QString name = cbComPortNum->itemData(index).toString();
        commPort_->setPortName(name);
        static const QRegularExpression ttyS(QStringLiteral("^/dev/ttyS(\\d+)$"));
        const auto match = ttyS.match(name);
        if (match.hasMatch())
            commPort_->setComNumber(match.captured(1).toInt() + 1);
    });
    port->addRow(QStringLiteral("Com Port"), cbComPortNum);
    cbBaudRate =
        dropDownList(QStringLiteral("cbBaudRate"),
                     {QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"), QStringLiteral("2400"),
                      QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
                      QStringLiteral("57600"), QStringLiteral("115200")},
                     gbPortSetup);
    connect(cbBaudRate, &QComboBox::activated, this, [this] { commPort_->setBaud(cbBaudRate->currentText().toInt()); });
    port->addRow(QStringLiteral("Baud Rate"), cbBaudRate);
    cbDataBits =
        dropDownList(QStringLiteral("cbDataBits"),
                     {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")}, gbPortSetup);
    connect(cbDataBits, &QComboBox::activated, this,
            [this] { commPort_->setDataBits(cbDataBits->currentText().toInt()); });
    port->addRow(QStringLiteral("Data Bits"), cbDataBits);
    cbParity = dropDownList(QStringLiteral("cbParity"),
                            {QStringLiteral("None"), QStringLiteral("Odd"), QStringLiteral("Even"),
                             QStringLiteral("Mark"), QStringLiteral("Space")},
                            gbPortSetup);
    connect(cbParity, &QComboBox::activated, this, [this](int index) { commPort_->setParity(index); });
    port->addRow(QStringLiteral("Parity"), cbParity);
    cbStopBits = dropDownList(QStringLiteral("cbStopBits"), {QStringLiteral("1"), QStringLiteral("2")}, gbPortSetup);
    connect(cbStopBits, &QComboBox::activated, this,
            [this] { commPort_->setStopBits(cbStopBits->currentText().toInt()); });
    port->addRow(QStringLiteral("Stop Bits"), cbStopBits);
    setupColumn->addWidget(gbPortSetup);

    gbModemSetup = new QGroupBox(QStringLiteral("Modem Setup"), this);
    gbModemSetup->setObjectName(QStringLiteral("gbModemSetup"));
    auto* modem = new QFormLayout(gbModemSetup);
    ledDialNumber = new QLineEdit(design_.dialNum, gbModemSetup);
    ledDialNumber->setObjectName(QStringLiteral("ledDialNumber"));
    btnSelDevice = button(QStringLiteral("btnSelDevice"), QStringLiteral("Select Device"), gbModemSetup);
    lblSelDevice = label(QStringLiteral("lblSelDevice"), QString(), gbModemSetup);
    modem->addRow(btnSelDevice, lblSelDevice);
    btnTapiCfg = button(QStringLiteral("btnTapiCfg"), QStringLiteral("Configure"), gbModemSetup);
    modem->addRow(btnTapiCfg);
    modem->addRow(QStringLiteral("Dial Number"), ledDialNumber);
    ledMaxAttempts = new RangeBox(QStringLiteral("ledMaxAttempts"), design_.maxAttempts, 1, 100, gbModemSetup);
    modem->addRow(QStringLiteral("Maximum Attempts"), ledMaxAttempts);
    ledTimeBtwnAttempts =
        new RangeBox(QStringLiteral("ledTimeBtwnAttempts"), design_.timeBtwnAttempts, 1, 1000, gbModemSetup);
    auto* attemptsRow = new QHBoxLayout;
    attemptsRow->addWidget(ledTimeBtwnAttempts);
    attemptsRow->addWidget(label(QStringLiteral("lblSeconds"), QStringLiteral("Seconds"), gbModemSetup));
    modem->addRow(QStringLiteral("Time Between Attempts"), attemptsRow);
    ckCreateTapiLog = checkBox(QStringLiteral("ckCreateTapiLog"), QStringLiteral("Create Tapi Log"),
                               design_.createTapiLog, gbModemSetup);
    modem->addRow(ckCreateTapiLog);
    lblModemInfo = label(QStringLiteral("lblModemInfo"), QString(), gbModemSetup);
    lblModemInfo->setAlignment(Qt::AlignCenter);
    lblModemInfo->setStyleSheet(QStringLiteral("color: blue"));
    modem->addRow(lblModemInfo);
    setupColumn->addWidget(gbModemSetup);

    gbWinsock = new QGroupBox(QStringLiteral("Ethernet (TCP)  Setup"), this);
    gbWinsock->setObjectName(QStringLiteral("gbWinsock"));
    auto* winsock = new QFormLayout(gbWinsock);
    ethAddr = new QComboBox(gbWinsock);
    ethAddr->setObjectName(QStringLiteral("ethAddr"));
    ethAddr->setEditable(true);
    // The book decides what the lists hold; Enter must not add items of its own.
    ethAddr->setInsertPolicy(QComboBox::NoInsert);
    lblEthAddr = label(QStringLiteral("lblEthAddr"), QStringLiteral("Analyzer IP Address:"), gbWinsock);
    winsock->addRow(lblEthAddr, ethAddr);
    comDesc = new QComboBox(gbWinsock);
    comDesc->setObjectName(QStringLiteral("comDesc"));
    comDesc->setEditable(true);
    comDesc->setInsertPolicy(QComboBox::NoInsert);
    // Whichever of the two takes the focus, the box has received it.
    comDesc->installEventFilter(this);
    comDesc->lineEdit()->installEventFilter(this);
    lblComDesc = label(QStringLiteral("lblComDesc"), QStringLiteral("Description:"), gbWinsock);
    winsock->addRow(lblComDesc, comDesc);
    btnDelete = new QPushButton(QStringLiteral("Delete"), gbWinsock);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));
    winsock->addRow(btnDelete);
    ledPort = new QLineEdit(design_.wsPort, gbWinsock);
    ledPort->setObjectName(QStringLiteral("ledPort"));
    lblPort = label(QStringLiteral("lblPort"), QStringLiteral("Port"), gbWinsock);
    winsock->addRow(lblPort, ledPort);
    connect(ethAddr, &QComboBox::activated, this, &TComm::ethAddrSelect);
    connect(comDesc, &QComboBox::activated, this, &TComm::comDescSelect);
    connect(ethAddr->lineEdit(), &QLineEdit::returnPressed, this, &TComm::ethAddrKeyPress);
    connect(comDesc->lineEdit(), &QLineEdit::returnPressed, this, &TComm::comDescKeyDown);
    connect(ledPort, &QLineEdit::returnPressed, this, &TComm::ledPortKeyPress);
    connect(btnDelete, &QPushButton::clicked, this, &TComm::btnDeleteClick);
    ckProxy = checkBox(QStringLiteral("ckProxy"), QStringLiteral("Use Proxy"), design_.useProxy, gbWinsock);
    connect(ckProxy, &QCheckBox::toggled, this, &TComm::ckProxyClick);
    btnProxy = button(QStringLiteral("btnProxy"), QStringLiteral("Proxy Settings..."), gbWinsock);
    btnProxy->setEnabled(false);
    connect(btnProxy, &QPushButton::clicked, this, &TComm::btnProxyClick);
    winsock->addRow(ckProxy, btnProxy);
    ckProxy->setVisible(false);
    btnProxy->setVisible(false);

    // Dial-up networking: the phonebook and its entry.
    gbDialUp = new QGroupBox(QStringLiteral("Dial-Up Access"), gbWinsock);
    gbDialUp->setObjectName(QStringLiteral("gbDialUp"));
    auto* dialUp = new QVBoxLayout(gbDialUp);
    gbPhonebook = new QGroupBox(QStringLiteral(" Phonebook "), gbDialUp);
    gbPhonebook->setObjectName(QStringLiteral("gbPhonebook"));
    auto* phonebook = new QFormLayout(gbPhonebook);
    PhonebookEdit = new QLineEdit(QStringLiteral("Default"), gbPhonebook);
    PhonebookEdit->setObjectName(QStringLiteral("PhonebookEdit"));
    PhonebookBtn = button(QStringLiteral("PhonebookBtn"), QStringLiteral("..."), gbPhonebook);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(PhonebookEdit);
    pathRow->addWidget(PhonebookBtn);
    phonebook->addRow(QStringLiteral("Path"), pathRow);
    dialUp->addWidget(gbPhonebook);
    auto* entryRow = new QFormLayout;
    EntrySelect = dropDownList(QStringLiteral("EntrySelect"), {}, gbDialUp);
    entryRow->addRow(QStringLiteral("Entry"), EntrySelect);
    dialUp->addLayout(entryRow);
    auto* entryButtons = new QHBoxLayout;
    btnPBAddEntry = button(QStringLiteral("btnPBAddEntry"), QStringLiteral("Add"), gbDialUp);
    btnPBEditEntry = button(QStringLiteral("btnPBEditEntry"), QStringLiteral("Edit"), gbDialUp);
    btnPBDeleteEntry = button(QStringLiteral("btnPBDeleteEntry"), QStringLiteral("Delete"), gbDialUp);
    entryButtons->addWidget(btnPBAddEntry);
    entryButtons->addWidget(btnPBEditEntry);
    entryButtons->addWidget(btnPBDeleteEntry);
    dialUp->addLayout(entryButtons);
    winsock->addRow(gbDialUp);
    setupColumn->addWidget(gbWinsock);
    setupColumn->addStretch(1);

    outer->addWidget(buildLoggingGroup());

    auto* bottom = new QHBoxLayout;
    btnOK = button(QStringLiteral("btnOK"), QStringLiteral("OK"), this);
    connect(btnOK, &QPushButton::clicked, this, &TComm::btnOKClick);
    btnResetDefaults = button(QStringLiteral("btnResetDefaults"), QStringLiteral("Reset Defaults"), this);
    connect(btnResetDefaults, &QPushButton::clicked, this, &TComm::btnResetDefaultsClick);
    btnDiagnostics = button(QStringLiteral("btnDiagnostics"), QStringLiteral("Diagnostics"), this);
    btnDiagnostics->setVisible(false);
    connect(btnDiagnostics, &QPushButton::clicked, this, &TComm::btnDiagnosticsClick);
    foundUSBport = label(QStringLiteral("foundUSBport"), QString(), this);
    foundUSBport->setFont(bold);
    bottom->addWidget(foundUSBport, 1);
    bottom->addWidget(btnResetDefaults);
    bottom->addWidget(btnOK);
    bottom->addWidget(btnDiagnostics);
    top->addLayout(bottom);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    statusPanels_[0] = label(QStringLiteral("StatusBarPanel0"), QString(), StatusBar);
    statusPanels_[0]->setMinimumWidth(641);
    statusPanels_[1] = label(QStringLiteral("StatusBarPanel1"), QString(), StatusBar);
    statusPanels_[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusPanels_[1]->setMinimumWidth(
        std::max(85, statusPanels_[1]->fontMetrics().horizontalAdvance(QStringLiteral("Winsock Status:")) + 8));
    statusPanels_[2] = label(QStringLiteral("StatusBarPanel2"), QString(), StatusBar);
    statusPanels_[2]->setMinimumWidth(50);
    StatusBar->addWidget(statusPanels_[0], 1);
    StatusBar->addPermanentWidget(statusPanels_[1]);
    StatusBar->addPermanentWidget(statusPanels_[2]);
    top->addWidget(StatusBar);
}

QWidget* TComm::buildLoggingGroup()
{
    gbLogging = new QGroupBox(QStringLiteral("Logging"), this);
    gbLogging->setObjectName(QStringLiteral("gbLogging"));
    auto* logging = new QFormLayout(gbLogging);
    ckCreateLog = checkBox(QStringLiteral("ckCreateLog"), QStringLiteral("Create Log"), design_.createLog, gbLogging);
    connect(ckCreateLog, &QCheckBox::toggled, this, &TComm::ckCreateLogClick);
    ckAppend = checkBox(QStringLiteral("ckAppend"), QStringLiteral("Append"), design_.append, gbLogging);
    ckAllHex = checkBox(QStringLiteral("ckAllHex"), QStringLiteral("All Hex"), design_.allHex, gbLogging);
    connect(ckAllHex, &QCheckBox::toggled, this, &TComm::ckAllHexClick);
    ckWriteReset = checkBox(QStringLiteral("ckWriteReset"), QStringLiteral("Write && Reset after success"),
                            design_.writeReset, gbLogging);
    logging->addRow(ckCreateLog, ckAppend);
    logging->addRow(ckAllHex, ckWriteReset);
    ledLogFileName = new QLineEdit(design_.logFileName, gbLogging);
    ledLogFileName->setObjectName(QStringLiteral("ledLogFileName"));
    logging->addRow(QStringLiteral("Log File Name"), ledLogFileName);
    edMaxLogSize = positiveIntegerBox(QStringLiteral("edMaxLogSize"), design_.maxLogSize, gbLogging);
    lblMaxLogSize = label(QStringLiteral("lblMaxLogSize"), QStringLiteral("Max Log Size"), gbLogging);
    lblBytes = label(QStringLiteral("lblBytes"), QStringLiteral("bytes"), gbLogging);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(edMaxLogSize);
    sizeRow->addWidget(lblBytes);
    logging->addRow(lblMaxLogSize, sizeRow);
    ledComment = new QLineEdit(design_.comment, gbLogging);
    ledComment->setObjectName(QStringLiteral("ledComment"));
    logging->addRow(QStringLiteral("Comment"), ledComment);
    btnStartStopLog = button(QStringLiteral("btnStartStopLog"), QStringLiteral("Start Logging"), gbLogging);
    btnPauseLog = button(QStringLiteral("btnPauseLog"), QStringLiteral("Pause"), gbLogging);
    btnClearLog = button(QStringLiteral("btnClearLog"), QStringLiteral("Clear"), gbLogging);
    btnAddComment = button(QStringLiteral("btnAddComment"), QStringLiteral("Add Comment to Log"), gbLogging);
    for (QPushButton* b : {btnStartStopLog, btnPauseLog, btnClearLog, btnAddComment})
        b->setEnabled(false);
    logging->addRow(btnStartStopLog, btnPauseLog);
    logging->addRow(btnClearLog, btnAddComment);
    connect(btnStartStopLog, &QPushButton::clicked, this, &TComm::btnStartStopLogClick);
    connect(btnPauseLog, &QPushButton::clicked, this, &TComm::btnPauseLogClick);
    connect(btnClearLog, &QPushButton::clicked, this, &TComm::btnClearLogClick);
    connect(btnAddComment, &QPushButton::clicked, this, &TComm::btnAddCommentClick);
    gbLogging->setVisible(false);
    return gbLogging;
}

CommSettings TComm::currentSettings() const
{
    CommSettings s;
    s.comNumber = commPort_->comNumber();
    s.portName = commPort_->portName();
    s.baud = commPort_->baud();
    s.dataBits = commPort_->dataBits();
    s.parity = commPort_->parity();
    s.stopBits = commPort_->stopBits();
    s.backoffTimer = edBackoffTimer->text();
    s.retries = edRetries->text();
    s.createLog = ckCreateLog->isChecked();
    s.append = ckAppend->isChecked();
    s.writeReset = ckWriteReset->isChecked();
    s.allHex = ckAllHex->isChecked();
    s.logFileName = ledLogFileName->text();
    s.maxLogSize = edMaxLogSize->text();
    s.comment = ledComment->text();
    s.connectType = cbConnectType->currentIndex();
    s.dialNum = ledDialNumber->text();
    s.maxAttempts = ledMaxAttempts->storedText();
    s.timeBtwnAttempts = ledTimeBtwnAttempts->storedText();
    s.createTapiLog = ckCreateTapiLog->isChecked();
    s.allStations = ckAllStations->isChecked();
    s.modbusNodeAddress = ledModbusNodeAddress->text();
    s.useProxy = ckProxy->isChecked();
    s.proxyPort = commPort_->socks().port;
    s.socksVersion = commPort_->socks().version;
    s.wsAddress = rememberedTcpAddress_;
    s.wsPort = rememberedTcpPort_;
    s.ws2Address = secondTcpAddress_;
    s.ws2Port = secondTcpPort_;
    s.proxyAddress = commPort_->socks().address;
    s.proxyUsername = commPort_->socks().userCode;
    s.proxyPw = commPort_->socks().password;
    return s;
}

void TComm::applySettings(const CommSettings& s)
{
    commPort_->setComNumber(s.comNumber);
    commPort_->setPortName(s.portName);
    commPort_->setBaud(s.baud);
    commPort_->setDataBits(s.dataBits);
    commPort_->setParity(s.parity);
    commPort_->setStopBits(s.stopBits);
    edBackoffTimer->setText(s.backoffTimer);
    edRetries->setText(s.retries);
    ckCreateLog->setChecked(s.createLog);
    ckAppend->setChecked(s.append);
    ckWriteReset->setChecked(s.writeReset);
    ckAllHex->setChecked(s.allHex);
    commPort_->log().setAllHex(s.allHex);
    ledLogFileName->setText(s.logFileName);
    edMaxLogSize->setText(s.maxLogSize);
    ledComment->setText(s.comment);
    cbConnectType->setCurrentIndex(s.connectType >= Serial && s.connectType <= Tcp ? s.connectType : -1);
    ledDialNumber->setText(s.dialNum);
    // A stored number out of range (or no number) cannot reach the modem: the design value stands.
    ledMaxAttempts->setStoredText(s.maxAttempts, design_.maxAttempts);
    ledTimeBtwnAttempts->setStoredText(s.timeBtwnAttempts, design_.timeBtwnAttempts);
    ckCreateTapiLog->setChecked(s.createTapiLog);
    ckAllStations->setChecked(s.allStations);
    ledModbusNodeAddress->setText(s.modbusNodeAddress);
    ckProxy->setChecked(s.useProxy);
    SocksInfo& socks = commPort_->socks();
    socks.port = static_cast<quint16>(s.proxyPort);
    socks.version = s.socksVersion;
    socks.address = s.proxyAddress;
    socks.userCode = s.proxyUsername;
    socks.password = s.proxyPw;
    rememberedTcpAddress_ = s.wsAddress;
    rememberedTcpPort_ = s.wsPort;
    secondTcpAddress_ = s.ws2Address;
    secondTcpPort_ = s.ws2Port;

    // The serial lists show the port's values.
    FillComPortList();
    selectText(cbBaudRate, QString::number(commPort_->baud()));
    selectText(cbDataBits, QString::number(commPort_->dataBits()));
    selectText(cbStopBits, QString::number(commPort_->stopBits()));
    cbParity->setCurrentIndex(commPort_->parity() >= 0 && commPort_->parity() <= 4 ? commPort_->parity() : -1);
}

void TComm::selectConnectType(int type)
{
    previousConnectType_ = cbConnectType->currentIndex();
    cbConnectType->setCurrentIndex(type >= Serial && type <= Tcp ? type : -1);
    cbConnectTypeSelect();
}

void TComm::cbConnectTypeSelect()
{
    const int n = cbConnectType->currentIndex();
    if (n == previousConnectType_) {
        if (n == Tcp)
            btnCCIDetect->setEnabled(true);
        return;
    }
    lblModemInfo->setText(QStringLiteral("Not Connected"));
    if (previousConnectType_ == Modem)
        TapiDevice->CancelCall();
    else if (previousConnectType_ == DialUp)
        RasDialer->Hangup();
    if (previousConnectType_ != -1)
        commPort_->close();
    switch (n) {
    case Serial:
    case Modem:
        gbPortSetup->setVisible(n == Serial);
        gbModemSetup->setVisible(n == Modem);
        gbWinsock->setVisible(false);
        connectType_ = n;
        commPort_->setLayer(CommPort::Layer::Serial);
        statusPanels_[1]->clear();
        setWinsockIcon(0);
        btnCCIDetect->setEnabled(false);
        cbCCIConnInfo->setEnabled(false);
        break;
    case DialUp:
    case Tcp: {
        gbPortSetup->setVisible(false);
        gbModemSetup->setVisible(false);
        gbWinsock->setVisible(true);
        if (n == Tcp) {
            ethAddr->setEditText(rememberedTcpAddress_);
            ledPort->setText(rememberedTcpPort_);
        }
        for (QWidget* w :
             std::initializer_list<QWidget*>{ethAddr, comDesc, ledPort, lblEthAddr, lblComDesc, lblPort, btnDelete})
            w->setEnabled(n == Tcp);
        controlgroup::setGroupEnabled(gbDialUp, n == DialUp);
        connectType_ = n;
        commPort_->setLayer(CommPort::Layer::Winsock);
        statusPanels_[1]->setText(QStringLiteral("Winsock Status:"));
        setWinsockIcon(1);
        btnCCIDetect->setEnabled(n == Tcp);
        StatusBar->repaint();
        cbCCIConnInfo->setEnabled(false);
        break;
    }
    default:
        break;
    }
    previousConnectType_ = n;
}

void TComm::ckAllStationsClick()
{
    ledModbusNodeAddress->setEnabled(!ckAllStations->isChecked());
}

void TComm::closeEvent(QCloseEvent* event)
{
    currentSettings().store();
    event->accept();
}

// ---- the exchange ----

int TComm::settingNumber(const QLineEdit* edit, const QString& fallback) const
{
    return numtext::tryStrToInt(edit->text()).value_or(fallback.toInt());
}

int TComm::retries() const
{
    return std::max(1, settingNumber(edRetries, design_.retries));
}

int TComm::backoffTicks() const
{
    return std::clamp(settingNumber(edBackoffTimer, design_.backoffTimer), 0, CommPort::kMaxTimerTicks);
}

std::uint8_t TComm::stationAddress() const
{
    if (ckAllStations->isChecked())
        return frame::kAllStations;
    // A number the box let through while being typed (0, 256 and up) would address another
    // station than the one shown: the form's own address is used instead.
    const int address = settingNumber(ledModbusNodeAddress, design_.modbusNodeAddress);
    return static_cast<std::uint8_t>(address >= 1 && address <= 255 ? address : design_.modbusNodeAddress.toInt());
}

void TComm::trace(const QString& line)
{
    commPort_->log().addString(line);
}

void TComm::trace(const char* line, qint64 number)
{
    // Most lines are written for every frame: their text is made only while the log records.
    if (commPort_->log().isOn())
        trace(QString::fromLatin1(line).arg(number));
}

void TComm::sendWinMessage(int message, std::intptr_t wParam, std::intptr_t lParam)
{
    // Every block of a download sends several messages: the window is looked up once for the
    // exchange (by a property of the application) rather than for each of them.
    if (QWidget* form = exchangeForm_ ? exchangeForm_.data() : appcontext::mainForm()) {
        WinMessageEvent event(message, wParam, lParam);
        QCoreApplication::sendEvent(form, &event);
    }
}

void TComm::delayTicks(int ticks)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < qint64(ticks) * CommPort::kTickMs)
        pumpOnce();
}

void TComm::SetUserCancel(bool cancel)
{
    userCancel_ = cancel;
    QCoreApplication::processEvents();
    QThread::msleep(100);
}

int TComm::SendReceive(const std::uint8_t* request, int length, std::uint8_t* reply, int* replyLength, bool notify)
{
    if (busy_ > 0)
        return commstatus::kWaiting;
    if (!request || length < 1 || length > frame::kMaxMessage)
        return commstatus::kInvalidResponse;
    BusyScope busy(busy_);
    FormScope form(exchangeForm_);
    std::memcpy(transmitArea_.data(), request, static_cast<std::size_t>(length));
    if (userCancel_)
        return commstatus::kCancelled;
    const int result = SendFrame(length, notify);
    if (result == commstatus::kSuccess) {
        if (reply)
            std::memcpy(reply, replyArea_.data(), static_cast<std::size_t>(replyLength_));
        if (replyLength)
            *replyLength = replyLength_;
    }
    return result;
}

int TComm::SendFrame(int length, bool notify)
{
    if ((connectType_ == DialUp || connectType_ == Tcp) && !commPort_->isOpen())
        Connect();
    if (!commPort_->isOpen())
        return commstatus::kPortNotOpen;
    if (hOutSent_ == 0)
        hOutSent_ = commPort_->addStatusTrigger();
    exchangeStatus_ = commstatus::kSuccess;
    trace(QStringLiteral("Action is acRead"));

    std::array<std::uint8_t, frame::kFrameBufferSize> frameBuffer{};
    const int frameLength = frame::build(stationAddress(), transmitArea_.data(), length, frameBuffer.data());

    const int tries = retries();
    for (int attempt = 0; attempt < tries; ++attempt) {
        // A link that dropped during the previous attempt cannot carry this one.
        if (!commPort_->isOpen()) {
            exchangeStatus_ = commstatus::kPortNotOpen;
            break;
        }
        exchangeStatus_ = commstatus::kWaiting;
        SendBlock(frameBuffer.data(), frameLength);
        // Each pass handles the window messages waiting and, when there are none, sleeps in the
        // event dispatcher until the next one: the answer's bytes, a timer (the back-off timer is
        // always armed) or the user's input. The processor stays free as with a short sleep, and
        // the answer is taken the moment it arrives instead of after the rest of a sleep.
        while (exchangeStatus_ == commstatus::kWaiting && !userCancel_)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (userCancel_) {
            exchangeStatus_ = commstatus::kCancelled;
            break;
        }
        if (commPort_->isOpen())
            trace("NAKState is %1", exchangeStatus_);
        if (exchangeStatus_ != commstatus::kNoResponse)
            break;
        trace(QStringLiteral("Retrying..."));
    }

    const int status = exchangeStatus_;
    switch (status) {
    case commstatus::kSuccess:
        if (notify)
            sendWinMessage(winmsg::WM_COMMPROGRESS, 1, 1);
        break;
    case commstatus::kNoResponse:
        sendWinMessage(winmsg::WM_COMMSTATE, 4, 0);
        if (commPort_->isOpen())
            trace(QString::fromLatin1(commstatus::text(commstatus::kNoResponse)));
        break;
    case commstatus::kCancelled:
        ResetComm();
        break;
    case commstatus::kWaiting:
        DialogService::showMessage(QStringLiteral("This should never happen."));
        break;
    default:
        break;
    }
    return status;
}

void TComm::SendBlock(const std::uint8_t* frameBytes, int length)
{
    if (userCancel_) {
        ResetComm();
        exchangeStatus_ = commstatus::kCancelled;
        return;
    }
    // Whatever is still waiting belongs to an earlier exchange and must not be taken for this answer.
    commPort_->flushIn();
    receiveCount_ = 0;
    commPort_->setStatusTrigger(hOutSent_, true);
    sendWinMessage(winmsg::WM_COMMSTATE, 2, 0);
    // The time-out counts from the frame's last byte leaving the port (the out-sent trigger
    // restarts it then). Until that happens it also allows for the time the line needs to carry
    // the frame, so that a port that never reports the frame sent still times out. Armed before
    // the frame is handed over, as the port may report it sent at once.
    // Over TCP the port reports the frame sent as soon as the network has it; a serial server in
    // front of the unit then still has to carry it at its line's speed, learnt from the answers.
    int lineTicks = 0;
    farLineTicks_ = 0;
    if (commPort_->layer() == CommPort::Layer::Serial)
        lineTicks = static_cast<int>(commPort_->byteTimeSeconds() * 1000.0 * length / CommPort::kTickMs) + 1;
    else
        farLineTicks_ = farLine_.Ticks(length, CommPort::kTickMs);
    lineTicks += farLineTicks_;
    ArmBackoffTimer(std::min(backoffTicks(), CommPort::kMaxTimerTicks - lineTicks) + lineTicks);
    awaitingOutSent_ = true;
    commPort_->putBlock(frameBytes, length);
}

void TComm::ArmBackoffTimer(int ticks)
{
    removeBackoffTimer();
    hBackoffTimer_ = commPort_->addTimerTrigger();
    while (hBackoffTimer_ == hCharTimer_) {
        commPort_->removeTrigger(hBackoffTimer_);
        hBackoffTimer_ = commPort_->addTimerTrigger();
    }
    commPort_->setTimerTrigger(hBackoffTimer_, ticks, true);
    trace(QStringLiteral("Adding hBackoffTimer trigger"));
}

void TComm::removeBackoffTimer()
{
    if (hBackoffTimer_ != 0) {
        commPort_->removeTrigger(hBackoffTimer_);
        hBackoffTimer_ = 0;
    }
}

void TComm::CommPortTriggerOutSent()
{
    if (hCharTimer_ == 0)
        hCharTimer_ = commPort_->addTimerTrigger();
    commPort_->setTimerTrigger(hCharTimer_, 1, true);
    if (awaitingOutSent_ && exchangeStatus_ == commstatus::kWaiting && hBackoffTimer_ != 0)
        ArmBackoffTimer(std::min(backoffTicks(), CommPort::kMaxTimerTicks - farLineTicks_) + farLineTicks_);
    awaitingOutSent_ = false;
}

void TComm::CommPortTriggerAvail(int count)
{
    sendWinMessage(winmsg::WM_COMMSTATE, 3, 0);
    if (hCharTimer_ == 0)
        hCharTimer_ = commPort_->addTimerTrigger();
    commPort_->setTimerTrigger(hCharTimer_, 1, true);
    trace("TriggerAvail: %1 characters received", count);
    // The time-out runs from the last chunk, so a slowly trickling answer is not cut off.
    awaitingOutSent_ = false;
    ArmBackoffTimer(backoffTicks());
    if (!lineClock_.isValid())
        lineClock_.start();
    if (receiveCount_ == 0)
        farLine_.AnswerBegan(lineClock_.nsecsElapsed(), count);

    int left = std::min(count, commPort_->inCount());
    while (left > 0) {
        if (receiveCount_ >= frame::kReceiveBufferSize) {
            // Nothing the unit sends is this long: drop it and let the time-out decide.
            trace("got garbage. %1 chars. refpoint4.", receiveCount_);
            receiveCount_ = 0;
        }
        const int room = frame::kReceiveBufferSize - receiveCount_;
        const int taken = commPort_->getBlock(receiveBuffer_.data() + receiveCount_, std::min(left, room));
        if (taken <= 0)
            break;
        left -= taken;
        receiveCount_ += taken;
        trace("numReturnChars in this packet: %1", receiveCount_);

        switch (frame::judge(receiveBuffer_.data(), receiveCount_)) {
        case frame::Verdict::NeedMore:
            break;
        case frame::Verdict::Rejected:
            trace(QStringLiteral("unit says: bad request. "));
            receiveCount_ = 0;
            if (exchangeStatus_ == commstatus::kWaiting)
                exchangeStatus_ = commstatus::kRejected;
            break;
        case frame::Verdict::Gateway:
            // The gateway's texts carry no length or end mark: the whole text is judged once the
            // line has been quiet for the character timer's tick.
            break;
        case frame::Verdict::TooLong:
            trace("got garbage. %1 chars. refpoint3.", receiveCount_);
            receiveCount_ = 0;
            break;
        case frame::Verdict::Unframed:
            trace("got garbage. %1 chars. refpoint1.", receiveCount_);
            receiveCount_ = 0;
            break;
        case frame::Verdict::BadCrc:
            removeBackoffTimer();
            trace("got garbage. %1 chars. refpoint2.", receiveCount_);
            receiveCount_ = 0;
            if (exchangeStatus_ == commstatus::kWaiting)
                exchangeStatus_ = commstatus::kInvalidResponse;
            break;
        case frame::Verdict::Complete:
            removeBackoffTimer();
            if (commPort_->layer() == CommPort::Layer::Winsock)
                farLine_.AnswerEnded(lineClock_.nsecsElapsed(), receiveCount_);
            AcceptReply(receiveCount_);
            break;
        }
    }
}

void TComm::AcceptReply(int frameLength)
{
    receiveCount_ = 0;
    replyLength_ = frameLength - frame::kOverhead;
    ++packetCounter_;
    trace("tot. packets recd = %1", packetCounter_);
    replyArea_.fill(0);
    std::memcpy(replyArea_.data(), receiveBuffer_.data() + 2, static_cast<std::size_t>(replyLength_));
    CommLog& log = commPort_->log();
    if (ckWriteReset->isChecked() && log.isOn()) {
        log.setState(ckAppend->isChecked() ? CommLog::State::Append : CommLog::State::Dump);
        log.setState(CommLog::State::On);
    }
    exchangeStatus_ = commstatus::kSuccess;
}

void TComm::CommPortTriggerTimer(int handle)
{
    sendWinMessage(winmsg::WM_COMMSTATE, 1, 0);
    if (handle == hCharTimer_)
        judgeGatewayText();
    if (handle == hBackoffTimer_) {
        trace(QStringLiteral("BackoffTimer trigger fired"));
        if (exchangeStatus_ == commstatus::kWaiting)
            exchangeStatus_ = commstatus::kNoResponse;
    }
}

void TComm::ResetComm()
{
    removeBackoffTimer();
    if (commPort_->isOpen()) {
        commPort_->flushIn();
        commPort_->flushOut();
    }
    receiveCount_ = 0;
    delayTicks(2);
    exchangeStatus_ = commstatus::kSuccess;
    if (commPort_->isOpen())
        trace(QStringLiteral("Communications reset successfully."));
    sendWinMessage(winmsg::WM_COMMPROGRESS, 0, 1);
}

void TComm::judgeGatewayText()
{
    if (receiveCount_ < 3 || frame::judge(receiveBuffer_.data(), receiveCount_) != frame::Verdict::Gateway)
        return;
    const QByteArray text(reinterpret_cast<const char*>(receiveBuffer_.data()) + 3, receiveCount_ - 3);
    receiveCount_ = 0;
    HandleCciReply(text);
}

void TComm::HandleCciReply(const QByteArray& text)
{
    if (text.isEmpty())
        return;
    if (text[0] == 'C') {
        // Each list is the gateway's whole list: it replaces the one shown.
        cciConnections_.clear();
        cbCCIConnInfo->clear();
        QString item;
        for (int i = 1; i < text.size(); ++i) {
            if (text[i] == ',') {
                cciConnections_ << item;
                item.clear();
            } else {
                item += QLatin1Char(text[i]);
            }
        }
        for (const QString& entry : cciConnections_)
            cbCCIConnInfo->addItem(entry);
    } else if (text[0] == 'A') {
        const QString rest = QString::fromLatin1(text.mid(1));
        const int address = numtext::tryStrToInt(rest).value_or(0);
        // Only a station address can be used; anything else leaves the address as it was.
        if (address >= 1 && address <= 255)
            ledModbusNodeAddress->setText(rest.trimmed());
    }
}

void TComm::WriteToCommLog(const QString& text)
{
    if (commPort_->log().isOn())
        trace(QStringLiteral("ProgComment:") + text);
}

// ---- the link ----

void TComm::setStatusText(const QString& text)
{
    statusPanels_[0]->setText(text);
}

QPixmap TComm::imlWSstatus(int index)
{
    // 0 none, 1 disconnected (a red plug with a gap), 2 connected (a green plug, joined).
    QPixmap picture(25, 16);
    picture.fill(Qt::transparent);
    if (index != 1 && index != 2)
        return picture;
    const bool connected = index == 2;
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(connected ? QColor(0, 170, 0) : QColor(210, 0, 0));
    const int gap = connected ? 0 : 4;
    // The plug on the left with its two pins, the socket on the right.
    painter.drawRoundedRect(QRectF(1.5, 3.5, 8, 9), 2, 2);
    painter.drawLine(QPointF(9.5, 6.5), QPointF(12.5 - gap / 2.0, 6.5));
    painter.drawLine(QPointF(9.5, 9.5), QPointF(12.5 - gap / 2.0, 9.5));
    painter.drawRoundedRect(QRectF(12.5 + gap / 2.0, 3.5, 8, 9), 2, 2);
    painter.drawLine(QPointF(0, 8), QPointF(1.5, 8));
    painter.drawLine(QPointF(20.5 + gap / 2.0, 8), QPointF(25, 8));
    return picture;
}

void TComm::setWinsockIcon(int index)
{
    winsockIcon_ = index;
    statusPanels_[2]->setProperty("winsockIcon", index);
    // The panel shows the image of the list at its left and top.
    statusPanels_[2]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    statusPanels_[2]->setPixmap(imlWSstatus(index));
}

void TComm::setSetupGroupsEnabled(bool enabled)
{
    for (QGroupBox* group : {gbPortSetup, gbModemSetup, gbWinsock})
        controlgroup::setGroupEnabled(group, enabled);
}

void TComm::setSettingsLocked(bool locked)
{
    setSetupGroupsEnabled(!locked);
    if (locked)
        lblModemInfo->setEnabled(true);
    cbConnectType->setEnabled(!locked);
}

bool TComm::waitForTcp()
{
    QElapsedTimer clock;
    clock.start();
    while (commPort_->isConnecting() && !userCancel_ && clock.elapsed() < CommPort::kConnectTimeoutMs)
        pumpOnce();
    if (commPort_->isConnecting()) {
        commPort_->close();
        if (!userCancel_)
            CommPortWsError(QAbstractSocket::SocketTimeoutError, QStringLiteral("Connection timed out"));
    }
    return commPort_->isOpen();
}

int TComm::Connect()
{
    BusyScope busy(busy_);
    // Another connection may end in another line.
    farLine_.Reset();
    // A call the modem holds is the link itself: closing the port would end it.
    if (!(connectType_ == Modem && TapiDevice->portOpen()))
        commPort_->close();
    linkState_ = LinkDown;
    if (connectType_ == Modem && !connectModem()) {
        sendWinMessage(winmsg::WM_COMMSTATE, 0, 0);
        return 1;
    }
    if (connectType_ == Tcp || connectType_ == DialUp) {
        commPort_->setWsAddress(ethAddr->currentText());
        commPort_->setWsPort(ledPort->text());
        setWinsockIcon(2);
    }
    linkState_ = LinkConnecting;
    if (connectType_ == DialUp && !dialUp()) {
        linkState_ = LinkDown;
        sendWinMessage(winmsg::WM_COMMSTATE, 0, 0);
        return 1;
    }
    // The modem's device has opened the port itself.
    bool opened = connectType_ == Modem ? commPort_->isOpen() : commPort_->open();
    if (opened && (connectType_ == Tcp || connectType_ == DialUp))
        opened = waitForTcp();
    if (!opened) {
        if (connectType_ == Serial) {
            trace(commPort_->lastError());
            setStatusText(commPort_->lastError());
        }
        linkState_ = LinkDown;
        sendWinMessage(winmsg::WM_COMMSTATE, 0, 0);
        return 1;
    }
    QThread::msleep(20);
    sendWinMessage(winmsg::WM_COMMSTATE, 1, 0);
    setSettingsLocked(true);
    linkState_ = LinkOnline;
    return 0;
}

bool TComm::connectModem()
{
    if (TapiDevice->portOpen()) {
        if (commPort_->isOpen())
            return true;
        // The port was closed under the call (the setup window's OK does so): end it and dial anew.
        TapiDevice->CancelCall();
    }
    // A dial that cannot start is a failed connect, not a link.
    if (TapiDevice->Dial(ledDialNumber->text()) != 0)
        return false;
    QElapsedTimer clock;
    clock.start();
    const qint64 bound = TapiDevice->worstCaseMs() + 5000;
    while (TapiDevice->GetTapiState() != ModemDevice::Connected && !TapiDevice->stopped() && !userCancel_ &&
           clock.elapsed() < bound)
        pumpOnce();
    if (!TapiDevice->portOpen()) {
        TapiDevice->CancelCall();
        return false;
    }
    return true;
}

bool TComm::dialUp()
{
    // Bringing up a connection that is already up would drop it for a moment: only the TCP
    // link over it has to be opened again.
    if (RasDialer->confirmConnected()) {
        dialWaitState_ = 0;
        return true;
    }
    const int result = RasDialer->Dial();
    if (result != 0) {
        // Going on as connected after a dial that never started only postponed the failure.
        DialogService::ask(QMessageBox::Critical, QStringLiteral("Error"), RasDialer->GetErrorText(result),
                           QMessageBox::Ok);
        return false;
    }
    dialWaitState_ = 1;
    QElapsedTimer clock;
    clock.start();
    const qint64 bound = RasDialer->worstCaseMs() + 5000;
    while (dialWaitState_ == 1 && !userCancel_ && clock.elapsed() < bound)
        pumpOnce();
    if (dialWaitState_ == 1) {
        RasDialer->Hangup();
        dialWaitState_ = 3;
    }
    return dialWaitState_ == 0;
}

void TComm::RasDialerConnected()
{
    dialWaitState_ = 0;
}

void TComm::RasDialerDisconnected()
{
    dialWaitState_ = 2;
}

void TComm::RasDialerDialError(int code)
{
    if (code != DialUpDialer::ErrorPortDisconnected)
        DialogService::ask(QMessageBox::Critical, QStringLiteral("Error"), RasDialer->GetErrorText(code),
                           QMessageBox::Ok);
    dialWaitState_ = 3;
}

void TComm::Disconnect(bool onlyReset)
{
    if (!onlyReset) {
        if (connectType_ == Modem)
            TapiDevice->CancelCall();
        else if (connectType_ == DialUp)
            RasDialer->Hangup();
        commPort_->close();
    }
    sendWinMessage(winmsg::WM_COMMSTATE, 0, 0);
    setSettingsLocked(false);
    linkState_ = LinkDown;
}

void TComm::CommPortWsConnect()
{
    setWinsockIcon(2);
    trace(QStringLiteral("winsock connect"));
    setStatusText(QStringLiteral("Winsock connected"));
    StatusBar->repaint();
}

void TComm::CommPortWsDisconnect()
{
    setWinsockIcon(1);
    commPort_->close();
}

void TComm::CommPortWsError(int code, const QString& text)
{
    const QString message = QStringLiteral("Message: (%1) %2").arg(code).arg(text);
    trace(message);
    setStatusText(message);
    StatusBar->repaint();
}
