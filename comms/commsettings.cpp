#include "commsettings.h"

#include "numbertext.h"

#include <QSettings>

#include <climits>

namespace {

QSettings openStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, CommSettings::storeName());
}

bool isWholeNumber(const QString& text, long long low, long long high)
{
    const std::optional<std::int64_t> value = numtext::tryStrToInt64(text);
    return value && *value >= low && *value <= high;
}

// Integer values: anything that is not a whole number in range keeps the default.
int readInt(QSettings& store, const char* key, int fallback, int low = INT_MIN, int high = INT_MAX)
{
    const QVariant value = store.value(QLatin1String(key));
    if (!value.isValid())
        return fallback;
    const std::optional<std::int64_t> n = numtext::tryStrToInt64(value.toString());
    return n && *n >= low && *n <= high ? static_cast<int>(*n) : fallback;
}

// Texts that the form's digit-only boxes hold.
QString readNumberText(QSettings& store, const char* key, const QString& fallback, long long low, long long high)
{
    const QVariant value = store.value(QLatin1String(key));
    if (!value.isValid())
        return fallback;
    const QString text = value.toString();
    return isWholeNumber(text, low, high) ? text.trimmed() : fallback;
}

QString readText(QSettings& store, const char* key, const QString& fallback)
{
    return store.value(QLatin1String(key), fallback).toString();
}

// Flags may be stored as true/false or as 1/0.
bool readFlag(QSettings& store, const char* key, bool fallback)
{
    const QVariant value = store.value(QLatin1String(key));
    if (!value.isValid())
        return fallback;
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

}  // namespace

const char* CommSettings::storeName()
{
    return "Desktop515";
}

CommSettings CommSettings::load(const CommSettings& d)
{
    QSettings s = openStore();
    CommSettings r;
    r.comNumber = readInt(s, "Comm/ComNumber", d.comNumber, 1, 256);
    r.portName = readText(s, "Comm/PortName", d.portName);
    r.baud = readInt(s, "Comm/Baud", d.baud, 1, INT_MAX);
    r.dataBits = readInt(s, "Comm/DataBits", d.dataBits, 5, 8);
    r.parity = readInt(s, "Comm/Parity", d.parity, 0, 4);
    r.stopBits = readInt(s, "Comm/StopBits", d.stopBits, 1, 2);
    r.backoffTimer = readNumberText(s, "Comm/BackoffTimer", d.backoffTimer, 0, INT_MAX);
    r.retries = readNumberText(s, "Comm/Retries", d.retries, 0, INT_MAX);
    r.createLog = readFlag(s, "Comm/CreateLog", d.createLog);
    r.append = readFlag(s, "Comm/Append", d.append);
    r.writeReset = readFlag(s, "Comm/WriteReset", d.writeReset);
    r.allHex = readFlag(s, "Comm/AllHex", d.allHex);
    r.logFileName = readText(s, "Comm/LogFileName", d.logFileName);
    r.maxLogSize = readNumberText(s, "Comm/MaxLogSize", d.maxLogSize, 1, 16000000);
    r.comment = readText(s, "Comm/Comment", d.comment);
    r.connectType = readInt(s, "Comm/ConnectType", d.connectType);
    r.dialNum = readText(s, "Tapi/DialNum", d.dialNum);
    r.maxAttempts = readNumberText(s, "Tapi/MaxAttempts", d.maxAttempts, 1, 100);
    r.timeBtwnAttempts = readNumberText(s, "Tapi/TimeBtwnAttempts", d.timeBtwnAttempts, 1, 1000);
    r.createTapiLog = readFlag(s, "Tapi/CreateTapiLog", d.createTapiLog);
    r.allStations = readFlag(s, "Comm/AllStations", d.allStations);
    r.modbusNodeAddress = readNumberText(s, "Comm/ModbusNodeAddress", d.modbusNodeAddress, 1, 255);
    r.useProxy = readFlag(s, "Proxy/UseProxy", d.useProxy);
    r.proxyPort = readInt(s, "Proxy/ProxyPort", d.proxyPort, 0, 0xFFFF);
    r.socksVersion = readInt(s, "Proxy/SocksVersion", d.socksVersion, 0, 3);
    r.wsAddress = readText(s, "WinSock/Address", d.wsAddress);
    r.wsPort = readText(s, "WinSock/Port", d.wsPort);
    r.ws2Address = readText(s, "WinSock2/Address", d.ws2Address);
    r.ws2Port = readText(s, "WinSock2/Port", d.ws2Port);
    r.proxyAddress = readText(s, "Proxy/Address", d.proxyAddress);
    r.proxyUsername = readText(s, "Proxy/Username", d.proxyUsername);
    r.proxyPw = readText(s, "Proxy/pw", d.proxyPw);
    return r;
}

void CommSettings::store() const
{
    QSettings s = openStore();
    s.setValue("Comm/ComNumber", comNumber);
    s.setValue("Comm/PortName", portName);
    s.setValue("Comm/Baud", baud);
    s.setValue("Comm/DataBits", dataBits);
    s.setValue("Comm/Parity", parity);
    s.setValue("Comm/StopBits", stopBits);
    s.setValue("Comm/BackoffTimer", backoffTimer);
    s.setValue("Comm/Retries", retries);
    s.setValue("Comm/CreateLog", createLog);
    s.setValue("Comm/Append", append);
    s.setValue("Comm/WriteReset", writeReset);
    s.setValue("Comm/AllHex", allHex);
    s.setValue("Comm/LogFileName", logFileName);
    s.setValue("Comm/MaxLogSize", maxLogSize);
    s.setValue("Comm/Comment", comment);
    s.setValue("Comm/ConnectType", connectType);
    s.setValue("Tapi/DialNum", dialNum);
    s.setValue("Tapi/MaxAttempts", maxAttempts);
    s.setValue("Tapi/TimeBtwnAttempts", timeBtwnAttempts);
    s.setValue("Tapi/CreateTapiLog", createTapiLog);
    s.setValue("Comm/AllStations", allStations);
    s.setValue("Comm/ModbusNodeAddress", modbusNodeAddress);
    s.setValue("Proxy/UseProxy", useProxy);
    s.setValue("Proxy/ProxyPort", proxyPort);
    s.setValue("Proxy/SocksVersion", socksVersion);
    s.setValue("WinSock/Address", wsAddress);
    s.setValue("WinSock/Port", wsPort);
    s.setValue("WinSock2/Address", ws2Address);
    s.setValue("WinSock2/Port", ws2Port);
    s.setValue("Proxy/Address", proxyAddress);
    s.setValue("Proxy/Username", proxyUsername);
    s.setValue("Proxy/pw", proxyPw);
    s.sync();
}
