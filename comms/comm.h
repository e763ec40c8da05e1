#pragma once

#include "commport.h"
#include "commsettings.h"
#include "frame.h"
#include "portaddrmgr.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

class DialUpDialer;
class ModemDevice;
class PhonebookHandlers;
class TapiSetupHandlers;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;
class QStatusBar;
class RangeBox;

// The communications engine and its "Communications Setup" form. The engine reads its settings
// from the form's controls at the moment it needs them, so the form exists (hidden) for the whole
// life of the engine; the stored settings are loaded into the controls when it is created.
class TComm : public QWidget {
    Q_OBJECT
public:
    // Connection types, in the order of the "Connection Type" list.
    enum ConnectType { Serial = 0, Modem = 1, DialUp = 2, Tcp = 3 };
    // Link state byte.
    enum LinkState : std::uint8_t { LinkDown = 0, LinkConnecting = 1, LinkOnline = 4 };

    explicit TComm(QWidget* parent = nullptr);
    ~TComm() override;

    // One exchange: request is the message, length its size (1..255); reply (null or at least
    // 255 bytes) and replyLength (null or set) receive the answer message on success.
    int SendReceive(const std::uint8_t* request, int length, std::uint8_t* reply, int* replyLength, bool notify);
    bool GetUserCancel() const { return userCancel_; }
    void SetUserCancel(bool cancel);
    int Connect();
    void Disconnect(bool onlyReset);
    std::uint8_t GetLinkState() const { return linkState_; }
    void SetLinkState(std::uint8_t state) { linkState_ = state; }
    void WriteToCommLog(const QString& text);
    void HandleCciReply(const QByteArray& text);

    // An exchange or a connect is running (their waits pump events).
    bool isBusy() const { return busy_ > 0; }

    CommPort& commPort() { return *commPort_; }
    // The modem link's telephony device, the dial-up dialer and the handlers of their controls.
    ModemDevice& tapiDevice() { return *TapiDevice; }
    DialUpDialer& rasDialer() { return *RasDialer; }
    TapiSetupHandlers& tapiSetup() { return *tapiSetup_; }
    PhonebookHandlers& phonebook() { return *phonebook_; }
    // 1 while dialling; 0 connected, 2 disconnected, 3 dial error.
    int dialWaitState() const { return dialWaitState_; }
    int connectionType() const { return connectType_; }
    std::uint32_t packetCount() const { return packetCounter_; }
    QStringList gatewayConnections() const { return cciConnections_; }

    // The form's current values in the store's shape, and the form loaded from such values.
    CommSettings currentSettings() const;
    void applySettings(const CommSettings& settings);
    // Selects a connection type as the user would in the list (-1: none).
    void selectConnectType(int type);

    // The address book and the current position in it (-1: none).
    const PortAddrMgr& addressBook() const { return addrBook_; }
    int addressPosition() const { return addrPosition_; }
    static QString addressBookFile() { return PortAddrMgr::DefaultFileName(); }
    // The status bar's link images (25 pixels wide): 0 none, 1 disconnected, 2 connected.
    static QPixmap imlWSstatus(int index);
    int winsockIcon() const { return winsockIcon_; }

public slots:
    // The form's handlers, under the names the form binds.
    void btnOKClick();
    void btnResetDefaultsClick();
    void btnDiagnosticsClick();
    void FillComPortList();
    void cbConnectTypeDropDown();
    // Trace log and proxy.
    void ckCreateLogClick();
    void btnStartStopLogClick();
    void btnPauseLogClick();
    void btnClearLogClick();
    void btnAddCommentClick();
    void ckAllHexClick();
    void ckProxyClick();
    void btnProxyClick();
    // Gateway detection.
    void btnCCIDetectClick();
    void cbCCIConnInfoSelect(int index);
    // Address book.
    void ethAddrSelect(int index);
    void comDescSelect(int index);
    void comDescEnter();
    void ethAddrKeyPress();
    void comDescKeyDown();
    void ledPortKeyPress();
    void btnDeleteClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void CommPortTriggerOutSent();
    void CommPortTriggerAvail(int count);
    void CommPortTriggerTimer(int handle);
    void CommPortWsConnect();
    void CommPortWsDisconnect();
    void CommPortWsError(int code, const QString& text);
    void ckAllStationsClick();
    void cbConnectTypeSelect();
    void RasDialerConnected();
    void RasDialerDialError(int code);
    void RasDialerDisconnected();

private:
    void buildControls();
    QWidget* buildLoggingGroup();
    void FormShow();
    // Adds the typed address to the book (Enter in the address box, or "OK" with checks off).
    void addTypedAddress(bool checkTexts);
    // Choosing an entry in either list: it becomes the current entry, the other list follows.
    void selectAddressEntry(int index, QComboBox* otherList);
    // The three texts an entry needs, each reported with its message when empty.
    bool checkEntryTexts(bool description);
    void saveAddressBook();
    void attention(const QString& text);
    void setLogControlsEnabled(bool enabled);
    bool saveLog();
    bool waitForGateway();
    void judgeGatewayText();
    int SendFrame(int length, bool notify);
    void SendBlock(const std::uint8_t* frame, int length);
    void ArmBackoffTimer(int ticks);
    void AcceptReply(int frameLength);
    void ResetComm();
    void removeBackoffTimer();
    void trace(const QString& line);
    // `line` with %1 replaced by the number.
    void trace(const char* line, qint64 number);
    void sendWinMessage(int message, std::intptr_t wParam, std::intptr_t lParam);
    // A setting's text as a number; a text that is not one falls back to the form's default.
    int settingNumber(const QLineEdit* edit, const QString& fallback) const;
    int retries() const;
    int backoffTicks() const;
    std::uint8_t stationAddress() const;
    void delayTicks(int ticks);
    // The Port Setup, Modem Setup and Ethernet groups with the controls placed on them.
    void setSetupGroupsEnabled(bool enabled);
    // While connected the settings cannot change: the setup groups and the type list are off.
    void setSettingsLocked(bool locked);
    void setStatusText(const QString& text);
    void setWinsockIcon(int index);
    bool waitForTcp();
    void createDialers();
    bool connectModem();
    bool dialUp();

    CommPort* commPort_ = nullptr;
    ModemDevice* TapiDevice = nullptr;
    DialUpDialer* RasDialer = nullptr;
    TapiSetupHandlers* tapiSetup_ = nullptr;
    PhonebookHandlers* phonebook_ = nullptr;
    int dialWaitState_ = 0;
    CommSettings design_;

    // Engine state.
    int exchangeStatus_ = 0;  // a commstatus value, 0..6
    std::array<std::uint8_t, 1024> receiveBuffer_{};
    int receiveCount_ = 0;
    int hOutSent_ = 0;
    int hCharTimer_ = 0;
    int hBackoffTimer_ = 0;
    bool awaitingOutSent_ = false;
    // The serial line behind a TCP link, learnt from the answers' pace, and what the frame being
    // sent needs of it: the time-out allows for it (a long block must reach the unit before the
    // time-out can mean that the unit did not answer, or the block is sent twice).
    frame::FarLine farLine_;
    int farLineTicks_ = 0;
    QElapsedTimer lineClock_;
    std::uint32_t packetCounter_ = 0;
    std::array<std::uint8_t, 512> transmitArea_{};
    std::array<std::uint8_t, 523> replyArea_{};
    int replyLength_ = 0;
    bool userCancel_ = false;
    std::uint8_t linkState_ = LinkDown;
    int connectType_ = Serial;
    int previousConnectType_ = -1;
    int winsockIcon_ = 0;
    int busy_ = 0;
    // The main window, found once per exchange for the messages the exchange sends.
    QPointer<QWidget> exchangeForm_;
    QString rememberedTcpAddress_;
    QString rememberedTcpPort_;
    QString secondTcpAddress_;
    QString secondTcpPort_;
    QStringList cciConnections_;
    int rememberedConnectType_ = -1;
    PortAddrMgr addrBook_;
    int addrPosition_ = -1;

    // Controls the engine reads or keeps in line.
    QComboBox* cbConnectType = nullptr;
    QLineEdit* edBackoffTimer = nullptr;
    QLineEdit* edRetries = nullptr;
    QCheckBox* ckAllStations = nullptr;
    QLineEdit* ledModbusNodeAddress = nullptr;
    QPushButton* btnCCIDetect = nullptr;
    QComboBox* cbCCIConnInfo = nullptr;
    QGroupBox* gbPortSetup = nullptr;
    QComboBox* cbComPortNum = nullptr;
    QComboBox* cbBaudRate = nullptr;
    QComboBox* cbDataBits = nullptr;
    QComboBox* cbParity = nullptr;
    QComboBox* cbStopBits = nullptr;
    QGroupBox* gbModemSetup = nullptr;
    QLineEdit* ledDialNumber = nullptr;
    RangeBox* ledMaxAttempts = nullptr;
    RangeBox* ledTimeBtwnAttempts = nullptr;
    QCheckBox* ckCreateTapiLog = nullptr;
    QLabel* lblModemInfo = nullptr;
    QPushButton* btnSelDevice = nullptr;
    QLabel* lblSelDevice = nullptr;
    QPushButton* btnTapiCfg = nullptr;
    QGroupBox* gbWinsock = nullptr;
    QComboBox* ethAddr = nullptr;
    QComboBox* comDesc = nullptr;
    QLineEdit* ledPort = nullptr;
    QLabel* lblEthAddr = nullptr;
    QLabel* lblComDesc = nullptr;
    QLabel* lblPort = nullptr;
    QPushButton* btnDelete = nullptr;
    QGroupBox* gbDialUp = nullptr;
    QGroupBox* gbPhonebook = nullptr;
    QLineEdit* PhonebookEdit = nullptr;
    QPushButton* PhonebookBtn = nullptr;
    QComboBox* EntrySelect = nullptr;
    QPushButton* btnPBAddEntry = nullptr;
    QPushButton* btnPBEditEntry = nullptr;
    QPushButton* btnPBDeleteEntry = nullptr;
    QCheckBox* ckProxy = nullptr;
    QPushButton* btnProxy = nullptr;
    QGroupBox* gbLogging = nullptr;
    QCheckBox* ckCreateLog = nullptr;
    QCheckBox* ckAppend = nullptr;
    QCheckBox* ckWriteReset = nullptr;
    QCheckBox* ckAllHex = nullptr;
    QLineEdit* ledLogFileName = nullptr;
    QLineEdit* edMaxLogSize = nullptr;
    QLineEdit* ledComment = nullptr;
    QLabel* lblMaxLogSize = nullptr;
    QLabel* lblBytes = nullptr;
    QPushButton* btnStartStopLog = nullptr;
    QPushButton* btnPauseLog = nullptr;
    QPushButton* btnClearLog = nullptr;
    QPushButton* btnAddComment = nullptr;
    QPushButton* btnDiagnostics = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnResetDefaults = nullptr;
    QLabel* foundUSBport = nullptr;
    QStatusBar* StatusBar = nullptr;
    std::array<QLabel*, 3> statusPanels_{};
};
