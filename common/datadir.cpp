#include "datadir.h"

#include <QDir>
#include <QStandardPaths>

namespace datadir {

QString path()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString dir = base.isEmpty() ? QString() : QDir(base).filePath("KVT515");
    return (!dir.isEmpty() && QDir().mkpath(dir)) ? dir : QString();
}

QString filePath(const QString& name)
{
    const QString dir = path();
    return dir.isEmpty() ? QString() : QDir(dir).filePath(name);
}

bool makeCurrent()
{
    const QString dir = path();
    return !dir.isEmpty() && QDir::setCurrent(dir);
}

}  // namespace datadir
