// The address book file "addrInfo.cfg": lines split into address, description and port.
#include "fuzzsupport.h"
#include "portaddrmgr.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::initApplication();
    // A file in memory where there is one: the book is read from a file, as the form reads it.
    static const QString path =
        QDir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath())
            .filePath(QStringLiteral("kvtfuzz-addrInfo-%1.cfg").arg(QCoreApplication::applicationPid()));
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    PortAddrMgr book;
    book.Load(path);
    for (int i = 0; i < book.Count(); ++i)
        book.IndexOfAddress(book.Get(i).address);
    PortAddrMgr::LeadingNumber(QString::fromLatin1(bytes));
    SearchToken tokens(QString::fromUtf8(bytes), QStringLiteral(","));
    for (int i = 0; i <= tokens.Count(); ++i)
        tokens.Token(i);
    // Every entry read is one the file's format can hold again: its line reads back the same.
    for (int i = 0; i < book.Count(); ++i) {
        const _item item = book.Get(i);
        _item again;
        const QString line =
            item.address + QLatin1Char(',') + item.description + QLatin1Char(',') + QString::number(item.port);
        if (!PortAddrMgr::ParseLine(line, again) || again.address != item.address ||
            again.description != item.description || again.port != item.port)
            std::abort();
    }
    return 0;
}
