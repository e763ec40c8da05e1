// The update-mode password file "Passw.dat" (a 16-byte digest).
#include "fuzzsupport.h"
#include "securitychk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::initApplication();
    static const QString path =
        QDir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath())
            .filePath(QStringLiteral("kvtfuzz-%1-Passw.dat").arg(QCoreApplication::applicationPid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    SecurityChk* security = SecurityChk::Instance();
    security->ReadPasswordFile(path);
    security->CheckPassword(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
