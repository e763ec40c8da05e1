// The address book file "addrInfo.cfg": lines split into address, description and port.
#include "fuzzsupport.h"
#include "portaddrmgr.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::initApplication();
    static const QString path = QDir::temp().filePath(QStringLiteral("kvtfuzz-addrInfo-%1.cfg").arg(QCoreApplication::applicationPid()));
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
    // What is saved reads back the same.
    if (book.Save(path) == 0) {
        PortAddrMgr again;
        again.Load(path);
        if (again.Count() != book.Count())
            std::abort();
    }
    return 0;
}
