#include "securitychk.h"

#include "datadir.h"

#include <tomcrypt.h>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
SecurityChk* gSecurity = nullptr;
constexpr char kMasterPassword[] = "qe$3916";
constexpr char kFactoryPassword[] = "7315";
}  // namespace

SecurityChk* SecurityChk::Instance()
{
    if (!gSecurity)
        gSecurity = new SecurityChk;
    return gSecurity;
}

void SecurityChk::ReleaseInstance()
{
    delete gSecurity;
    gSecurity = nullptr;
}

std::array<std::uint8_t, 16> SecurityChk::Md5(const std::string& text)
{
    std::array<std::uint8_t, 16> out{};
    hash_state md;
    md5_init(&md);
    md5_process(&md, reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned long>(text.size()));
    md5_done(&md, out.data());
    return out;
}

bool SecurityChk::CheckPassword(const std::string& password)
{
    if (password == kMasterPassword)
        return true;
    ChangeToDataDirectory();
    const QString path = DataFilePath(kPasswordFile);
    if (!QFile::exists(path))
        return false;
    if (ReadPasswordFile(path) != 0)
        return false;
    return Md5(password) == digest_;
}

bool SecurityChk::SetPassword(const std::string& password)
{
    ChangeToDataDirectory();
    const auto previous = digest_;
    digest_ = Md5(password);
    if (WritePasswordFile(DataFilePath(kPasswordFile)) != 0) {
        digest_ = previous;
        return false;
    }
    return true;
}

bool SecurityChk::ResetPassword()
{
    ChangeToDataDirectory();
    return SetPassword(kFactoryPassword);
}

int SecurityChk::ReadPasswordFile(const QString& fileName)
{
    digest_.fill(0);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    // A digest is exactly 16 bytes; a shorter or longer file is damaged, not a password.
    const QByteArray bytes = file.read(17);
    if (bytes.size() != 16)
        return 1;
    std::copy(bytes.begin(), bytes.end(), digest_.begin());
    return 0;
}

int SecurityChk::WritePasswordFile(const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(reinterpret_cast<const char*>(digest_.data()), static_cast<qint64>(digest_.size()));
    return file.commit() ? 0 : 1;
}

void SecurityChk::SetDataDirectory()
{
    dataDirectory_ = datadir::path();
}

void SecurityChk::SetStartDirectory()
{
    startDirectory_ = QDir::currentPath();
}

bool SecurityChk::ChangeToDataDirectory() const
{
    return !dataDirectory_.isEmpty() && QDir::setCurrent(dataDirectory_);
}

QString SecurityChk::DataFilePath(const QString& name) const
{
    return dataDirectory_.isEmpty() ? name : QDir(dataDirectory_).filePath(name);
}
