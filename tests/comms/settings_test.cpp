// The engine's settings: the "Desktop515" store, its defaults and what the form makes of them.
#include "comm.h"
#include "commtestsupport.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSettings>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { commtest::removeStore(testenv::configHome()); }

    QString storePath() const { return testenv::configHome() + QStringLiteral("/Desktop515.conf"); }

    void write(const std::map<QString, QString>& values)
    {
        QSettings store(storePath(), QSettings::IniFormat);
        for (const auto& [key, value] : values)
            store.setValue(key, value);
        store.sync();
    }

    template <typename T>
    T* control(const TComm& comm, const char* name) const
    {
        return comm.findChild<T*>(QString::fromLatin1(name));
    }
};

TEST_F(SettingsTest, FirstStartHasTheFormDefaults)
{
    TComm comm;
    EXPECT_EQ(comm.objectName(), QStringLiteral("Comm"));
    EXPECT_EQ(comm.windowTitle(), QStringLiteral("Communications Setup"));
    EXPECT_FALSE(comm.isVisible());
    EXPECT_EQ(comm.commPort().comNumber(), 1);
    EXPECT_EQ(comm.commPort().serialDeviceName(), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(comm.commPort().baud(), 57600);
    EXPECT_EQ(comm.commPort().dataBits(), 8);
    EXPECT_EQ(comm.commPort().parity(), 0);
    EXPECT_EQ(comm.commPort().stopBits(), 1);
    EXPECT_EQ(control<QLineEdit>(comm, "edBackoffTimer")->text(), QStringLiteral("5"));
    EXPECT_EQ(control<QLineEdit>(comm, "edRetries")->text(), QStringLiteral("2"));
    EXPECT_TRUE(control<QCheckBox>(comm, "ckAllStations")->isChecked());
    EXPECT_EQ(control<QLineEdit>(comm, "ledModbusNodeAddress")->text(), QStringLiteral("1"));
    EXPECT_FALSE(control<QLineEdit>(comm, "ledModbusNodeAddress")->isEnabled());
    EXPECT_EQ(control<QComboBox>(comm, "cbConnectType")->currentIndex(), -1);
    EXPECT_EQ(control<QComboBox>(comm, "cbBaudRate")->currentText(), QStringLiteral("57600"));
    EXPECT_EQ(control<QLineEdit>(comm, "ledPort")->text(), QStringLiteral("telnet"));
    EXPECT_EQ(comm.connectionType(), TComm::Serial);
    EXPECT_EQ(comm.GetLinkState(), TComm::LinkDown);
    // Nothing is written until the form closes.
    EXPECT_FALSE(QFile::exists(storePath()));
}

TEST_F(SettingsTest, StoredValuesReachTheFormAndThePort)
{
    write({{"Comm/ComNumber", "3"},
           {"Comm/Baud", "9600"},
           {"Comm/Parity", "2"},
           {"Comm/StopBits", "2"},
           {"Comm/Retries", "4"},
           {"Comm/BackoffTimer", "9"},
           {"Comm/AllStations", "false"},
           {"Comm/ModbusNodeAddress", "12"},
           {"Comm/ConnectType", "3"},
           {"WinSock/Address", "10.1.2.3"},
           {"WinSock/Port", "5020"},
           {"Proxy/SocksVersion", "3"},
           {"Proxy/ProxyPort", "1080"},
           {"Proxy/Address", "proxy.example"},
           {"Proxy/Username", "me"},
           {"Proxy/pw", "secret"}});
    TComm comm;
    EXPECT_EQ(comm.commPort().serialDeviceName(), QStringLiteral("/dev/ttyS2"));
    EXPECT_EQ(comm.commPort().baud(), 9600);
    EXPECT_EQ(control<QComboBox>(comm, "cbParity")->currentText(), QStringLiteral("Even"));
    EXPECT_EQ(comm.commPort().stopBits(), 2);
    EXPECT_EQ(control<QLineEdit>(comm, "edRetries")->text(), QStringLiteral("4"));
    EXPECT_EQ(control<QLineEdit>(comm, "edBackoffTimer")->text(), QStringLiteral("9"));
    EXPECT_TRUE(control<QLineEdit>(comm, "ledModbusNodeAddress")->isEnabled());
    EXPECT_EQ(comm.connectionType(), TComm::Tcp);
    EXPECT_EQ(comm.commPort().layer(), CommPort::Layer::Winsock);
    EXPECT_EQ(control<QComboBox>(comm, "ethAddr")->currentText(), QStringLiteral("10.1.2.3"));
    EXPECT_EQ(control<QLineEdit>(comm, "ledPort")->text(), QStringLiteral("5020"));
    EXPECT_EQ(comm.commPort().socks().version, SocksInfo::Socks5);
    EXPECT_EQ(comm.commPort().socks().port, 1080);
    EXPECT_EQ(comm.commPort().socks().password, QStringLiteral("secret"));
}

TEST_F(SettingsTest, PortNameWinsOverTheNumber)
{
    write({{"Comm/ComNumber", "3"}, {"Comm/PortName", "/dev/ttyUSB0"}});
    TComm comm;
    EXPECT_EQ(comm.commPort().serialDeviceName(), QStringLiteral("/dev/ttyUSB0"));
}

TEST_F(SettingsTest, ValuesThatAreNotNumbersTakeTheirDefaults)
{
    write({{"Comm/Baud", "fast"},
           {"Comm/Retries", "two"},
           {"Comm/BackoffTimer", ""},
           {"Comm/ModbusNodeAddress", "300"},
           {"Comm/ConnectType", "7"},
           {"Comm/AllHex", "maybe"},
           {"Proxy/ProxyPort", "x"}});
    TComm comm;
    EXPECT_EQ(comm.commPort().baud(), 57600);
    EXPECT_EQ(control<QLineEdit>(comm, "edRetries")->text(), QStringLiteral("2"));
    EXPECT_EQ(control<QLineEdit>(comm, "edBackoffTimer")->text(), QStringLiteral("5"));
    EXPECT_EQ(control<QLineEdit>(comm, "ledModbusNodeAddress")->text(), QStringLiteral("1"));
    // A type outside the list selects nothing and leaves the serial link in effect.
    EXPECT_EQ(control<QComboBox>(comm, "cbConnectType")->currentIndex(), -1);
    EXPECT_EQ(comm.connectionType(), TComm::Serial);
    EXPECT_TRUE(control<QCheckBox>(comm, "ckAllHex")->isChecked());
    EXPECT_EQ(comm.commPort().socks().port, 0);
}

TEST_F(SettingsTest, ClosingTheFormStoresEverySetting)
{
    {
        TComm comm;
        control<QLineEdit>(comm, "edRetries")->setText(QStringLiteral("3"));
        control<QCheckBox>(comm, "ckAllStations")->setChecked(false);
        comm.selectConnectType(TComm::Tcp);
        comm.commPort().setPortName(QStringLiteral("/dev/pts/42"));
        comm.close();
    }
    ASSERT_TRUE(QFile::exists(storePath()));
    const CommSettings stored = CommSettings::load();
    EXPECT_EQ(stored.retries, QStringLiteral("3"));
    EXPECT_FALSE(stored.allStations);
    EXPECT_EQ(stored.connectType, 3);
    EXPECT_EQ(stored.portName, QStringLiteral("/dev/pts/42"));
    EXPECT_EQ(stored.wsPort, QStringLiteral("telnet"));
    EXPECT_EQ(stored.logFileName, QStringLiteral("./Logs/TorvaComm.LOG"));
    QSettings raw(storePath(), QSettings::IniFormat);
    for (const char* key : {"Comm/ComNumber", "Comm/MaxLogSize", "Tapi/TimeBtwnAttempts", "Proxy/SocksVersion",
                            "WinSock2/Port", "Proxy/pw"})
        EXPECT_TRUE(raw.contains(QString::fromLatin1(key))) << key;
}

TEST_F(SettingsTest, ChangingTheConnectTypeClosesThePreviousLink)
{
    TComm comm;
    comm.selectConnectType(TComm::Tcp);
    EXPECT_EQ(comm.connectionType(), TComm::Tcp);
    comm.selectConnectType(TComm::Serial);
    EXPECT_EQ(comm.connectionType(), TComm::Serial);
    EXPECT_EQ(comm.commPort().layer(), CommPort::Layer::Serial);
    // No selection changes nothing.
    comm.selectConnectType(-1);
    EXPECT_EQ(comm.connectionType(), TComm::Serial);
}

}  // namespace

namespace {

// The first close writes every key with its default, in the store's own encoding.
TEST_F(SettingsTest, FirstCloseWritesTheDefaultsTable)
{
    {
        TComm comm;
        comm.close();
    }
    const std::pair<const char*, const char*> table[] = {
        {"Comm/ComNumber", "1"},
        {"Comm/Baud", "57600"},
        {"Comm/DataBits", "8"},
        {"Comm/Parity", "0"},
        {"Comm/StopBits", "1"},
        {"Comm/BackoffTimer", "5"},
        {"Comm/Retries", "2"},
        {"Comm/CreateLog", "false"},
        {"Comm/Append", "false"},
        {"Comm/WriteReset", "false"},
        {"Comm/AllHex", "true"},
        {"Comm/LogFileName", "./Logs/TorvaComm.LOG"},
        {"Comm/MaxLogSize", "20000"},
        {"Comm/Comment", "Enter comment here"},
        {"Comm/ConnectType", "-1"},
        {"Tapi/DialNum", ""},
        {"Tapi/MaxAttempts", "2"},
        {"Tapi/TimeBtwnAttempts", "30"},
        {"Tapi/CreateTapiLog", "false"},
        {"Comm/AllStations", "true"},
        {"Comm/ModbusNodeAddress", "1"},
        {"Proxy/UseProxy", "false"},
        {"Proxy/ProxyPort", "0"},
        {"Proxy/SocksVersion", "0"},
        {"WinSock/Address", ""},
        {"WinSock/Port", "telnet"},
        {"WinSock2/Address", ""},
        {"WinSock2/Port", "telnet"},
        {"Proxy/Address", ""},
        {"Proxy/Username", ""},
        {"Proxy/pw", ""},
    };
    QSettings raw(storePath(), QSettings::IniFormat);
    for (const auto& [key, value] : table) {
        ASSERT_TRUE(raw.contains(QString::fromLatin1(key))) << key;
        EXPECT_EQ(raw.value(QString::fromLatin1(key)).toString(), QString::fromLatin1(value)) << key;
    }
}

// Every value the form holds comes back from the store as it was.
TEST_F(SettingsTest, EveryValueRoundTrips)
{
    CommSettings s;
    s.comNumber = 4;
    s.portName = QStringLiteral("/dev/ttyUSB1");
    s.baud = 19200;
    s.dataBits = 7;
    s.parity = 3;
    s.stopBits = 2;
    s.backoffTimer = QStringLiteral("12");
    s.retries = QStringLiteral("3");
    s.createLog = true;
    s.append = true;
    s.writeReset = true;
    s.allHex = false;
    s.logFileName = QStringLiteral("Logs/other.log");
    s.maxLogSize = QStringLiteral("4096");
    s.comment = QStringLiteral("a comment, with a comma");
    s.connectType = TComm::Modem;
    s.dialNum = QStringLiteral("5551234");
    s.maxAttempts = QStringLiteral("5");
    s.timeBtwnAttempts = QStringLiteral("60");
    s.createTapiLog = true;
    s.allStations = false;
    s.modbusNodeAddress = QStringLiteral("17");
    s.useProxy = true;
    s.proxyPort = 1080;
    s.socksVersion = 2;
    s.wsAddress = QStringLiteral("10.0.0.4");
    s.wsPort = QStringLiteral("502");
    s.ws2Address = QStringLiteral("10.0.0.5");
    s.ws2Port = QStringLiteral("503");
    s.proxyAddress = QStringLiteral("proxy");
    s.proxyUsername = QStringLiteral("user");
    s.proxyPw = QStringLiteral("pw");
    s.store();
    {
        TComm comm;
        EXPECT_EQ(comm.currentSettings().dialNum, s.dialNum);
        comm.close();
    }
    const CommSettings r = CommSettings::load();
    EXPECT_EQ(r.comNumber, s.comNumber);
    EXPECT_EQ(r.portName, s.portName);
    EXPECT_EQ(r.baud, s.baud);
    EXPECT_EQ(r.dataBits, s.dataBits);
    EXPECT_EQ(r.parity, s.parity);
    EXPECT_EQ(r.stopBits, s.stopBits);
    EXPECT_EQ(r.backoffTimer, s.backoffTimer);
    EXPECT_EQ(r.retries, s.retries);
    EXPECT_EQ(r.createLog, s.createLog);
    EXPECT_EQ(r.append, s.append);
    EXPECT_EQ(r.writeReset, s.writeReset);
    EXPECT_EQ(r.allHex, s.allHex);
    EXPECT_EQ(r.logFileName, s.logFileName);
    EXPECT_EQ(r.maxLogSize, s.maxLogSize);
    EXPECT_EQ(r.comment, s.comment);
    EXPECT_EQ(r.connectType, s.connectType);
    EXPECT_EQ(r.dialNum, s.dialNum);
    EXPECT_EQ(r.maxAttempts, s.maxAttempts);
    EXPECT_EQ(r.timeBtwnAttempts, s.timeBtwnAttempts);
    EXPECT_EQ(r.createTapiLog, s.createTapiLog);
    EXPECT_EQ(r.allStations, s.allStations);
    EXPECT_EQ(r.modbusNodeAddress, s.modbusNodeAddress);
    EXPECT_EQ(r.useProxy, s.useProxy);
    EXPECT_EQ(r.proxyPort, s.proxyPort);
    EXPECT_EQ(r.socksVersion, s.socksVersion);
    EXPECT_EQ(r.wsAddress, s.wsAddress);
    EXPECT_EQ(r.wsPort, s.wsPort);
    EXPECT_EQ(r.ws2Address, s.ws2Address);
    EXPECT_EQ(r.ws2Port, s.ws2Port);
    EXPECT_EQ(r.proxyAddress, s.proxyAddress);
    EXPECT_EQ(r.proxyUsername, s.proxyUsername);
    EXPECT_EQ(r.proxyPw, s.proxyPw);
}

}  // namespace
