#pragma once

#include <QString>

// The link settings as stored under the "Desktop515" key: names, order and defaults. The
// defaults are the setup form's own values, so they are also what "Reset Defaults" restores.
struct CommSettings {
    // Comm
    int comNumber = 1;
    QString portName;  // a serial device path; empty: derived from comNumber
    int baud = 57600;
    int dataBits = 8;
    int parity = 0;
    int stopBits = 1;
    QString backoffTimer = QStringLiteral("5");
    QString retries = QStringLiteral("2");
    bool createLog = false;
    bool append = false;
    bool writeReset = false;
    bool allHex = true;
    QString logFileName = QStringLiteral("./Logs/TorvaComm.LOG");
    QString maxLogSize = QStringLiteral("20000");
    QString comment = QStringLiteral("Enter comment here");
    int connectType = -1;
    // Tapi
    QString dialNum;
    QString maxAttempts = QStringLiteral("2");
    QString timeBtwnAttempts = QStringLiteral("30");
    bool createTapiLog = false;
    // Comm
    bool allStations = true;
    QString modbusNodeAddress = QStringLiteral("1");
    // Proxy
    bool useProxy = false;
    int proxyPort = 0;
    int socksVersion = 0;
    // WinSock, WinSock2
    QString wsAddress;
    QString wsPort = QStringLiteral("telnet");
    QString ws2Address;
    QString ws2Port = QStringLiteral("telnet");
    // Proxy
    QString proxyAddress;
    QString proxyUsername;
    QString proxyPw;

    // Reads every value, each with its counterpart in defaults as the fallback: a missing value,
    // and a value that should be a number but is not, take the default.
    static CommSettings load(const CommSettings& defaults);
    static CommSettings load() { return load(CommSettings()); }
    // Writes every value and flushes the store.
    void store() const;

    // The store's name: "Desktop515" in the user's scope, native format.
    static const char* storeName();
};
