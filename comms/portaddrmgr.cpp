#include "portaddrmgr.h"

#include "numbertext.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <climits>
#include <cstdio>

int PortAddrMgr::Load(const QString& fileName)
{
    items_.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fputs("fail to open file\n", stdout);
        return -1;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return -1;
    for (QByteArray line : data.split('\n')) {
        // Books written on Windows end their lines with a carriage return as well.
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        _item item;
        if (ParseLine(QString::fromUtf8(line), item))
            items_.push_back(item);
    }
    return 0;
}

int PortAddrMgr::Save(const QString& fileName) const
{
    QByteArray data;
    for (const _item& item : items_)
        data += item.address.toUtf8() + ',' + item.description.toUtf8() + ',' + QByteArray::number(item.port) + '\n';
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    file.write(data);
    return file.commit() ? 0 : -1;
}

_item PortAddrMgr::Get(int position) const
{
    return valid(position) ? items_[std::size_t(position)] : _item{};
}

void PortAddrMgr::Add(const QString& address, const QString& description, int port)
{
    items_.push_back({address, description, port});
}

void PortAddrMgr::Insert(int position, const QString& address, const QString& description, int port)
{
    if (items_.empty())
        items_.push_back({address, description, port});
    else if (valid(position))
        items_.insert(items_.begin() + position, {address, description, port});
}

void PortAddrMgr::Set(int position, const QString& address, const QString& description, int port)
{
    if (valid(position))
        items_[std::size_t(position)] = {address, description, port};
}

void PortAddrMgr::Remove(int position)
{
    if (valid(position))
        items_.erase(items_.begin() + position);
}

int PortAddrMgr::IndexOfAddress(const QString& address) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].address == address)
            return static_cast<int>(i);
    return -1;
}

bool PortAddrMgr::ParseLine(const QString& line, _item& item)
{
    const qsizetype first = line.indexOf(QLatin1Char(','));
    const qsizetype last = line.lastIndexOf(QLatin1Char(','));
    if (first < 0 || last == first)
        return false;
    item.address = line.left(first);
    item.description = line.mid(first + 1, last - first - 1);
    item.port = LeadingNumber(line.mid(last + 1));
    return true;
}

int PortAddrMgr::LeadingNumber(const QString& text)
{
    // A number beyond the int range is no port, never one cut to another.
    const std::int64_t number = numtext::cStrtol(text);
    return number < INT_MIN || number > INT_MAX ? 0 : static_cast<int>(number);
}

QString PortAddrMgr::DefaultFileName()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString dir = QDir(base).filePath(QStringLiteral("KVT515"));
    QDir().mkpath(dir);
    return QDir(dir).filePath(QStringLiteral("addrInfo.cfg"));
}

SearchToken::SearchToken(const QString& source, const QString& delimiter)
        : source_(source), remaining_(source), delimiter_(delimiter)
{
    if (delimiter.isEmpty())
        return;
    lastDelimiter_ = remaining_.indexOf(delimiter);
    if (lastDelimiter_ < 0)
        return;
    // The whole rest is kept each time: a long field is never cut into a lost line.
    while (lastDelimiter_ >= 0) {
        tokens_ << remaining_.left(lastDelimiter_);
        remaining_ = remaining_.mid(lastDelimiter_ + delimiter.size());
        lastDelimiter_ = remaining_.indexOf(delimiter);
    }
    tokens_ << remaining_;
}

QString SearchToken::Token(int index) const
{
    return index >= 0 && index < Count() ? tokens_[index] : QString();
}
