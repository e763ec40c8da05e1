#include "librarybinder.h"

#include "dialogservice.h"

#include <QCoreApplication>
#include <QDir>

LibraryBinder::~LibraryBinder()
{
    unload();
}

bool LibraryBinder::load(const QString& dir, const QString& fileName, const std::vector<const char*>& entries)
{
    unload();
    fileName_ = fileName;
    error_.clear();
    library_.setFileName(QDir(dir).absoluteFilePath(fileName));
    library_.setLoadHints(QLibrary::LoadHints());
    if (!library_.load()) {
        error_ = library_.errorString();
        return false;
    }
    for (const char* name : entries) {
        QFunctionPointer fn = library_.resolve(name);
        if (!fn) {
            error_ = QStringLiteral("The entry point %1 could not be located in %2.")
                         .arg(QString::fromLatin1(name), fileName);
            unload();
            return false;
        }
        entries_[name] = fn;
    }
    return true;
}

void LibraryBinder::reportLoadFailure() const
{
    DialogService::showMessage(error_);
    DialogService::showMessage(QStringLiteral("Unable to load %1.").arg(fileName_));
}

void LibraryBinder::unload()
{
    entries_.clear();
    if (library_.isLoaded())
        library_.unload();
}

QString LibraryBinder::programDir()
{
    return QCoreApplication::applicationDirPath();
}
