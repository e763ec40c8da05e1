// Modbus list files ("*.515mb"): the 517-byte map image read and laid out into the groups.
#include "database.h"
#include "fuzzdatabase.h"
#include "modbuslist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::initDatabase();
    static const QString path =
        QDir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath())
            .filePath(QStringLiteral("kvtfuzz-%1.515mb").arg(QCoreApplication::applicationPid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    ModbusList& list = DataBase::Instance()->GetModbusList();
    if (list.LoadFromFile(path) == 0)
        list.RebuildImage();
    fuzzsupport::forgetDialogs();
    return 0;
}
