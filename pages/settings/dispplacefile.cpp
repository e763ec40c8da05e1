#include "dispplacefile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {
// Far more than a digit with blanks: anything longer is not this file.
constexpr qint64 kMaxContent = 64;
}  // namespace

DispPlaceFile::DispPlaceFile(const QString& folder) : path_(QDir(folder).filePath(QString::fromLatin1(kFileName))) {}

std::optional<QByteArray> DispPlaceFile::Encode(int places)
{
    if (places < 0 || places > kMaxPlaces)
        return std::nullopt;
    return QByteArray(1, static_cast<char>('0' + places));
}

std::optional<int> DispPlaceFile::Decode(const QByteArray& content)
{
    const QByteArray digit = content.trimmed();
    if (digit.size() != 1 || digit[0] < '0' || digit[0] > '0' + kMaxPlaces)
        return std::nullopt;
    return digit[0] - '0';
}

std::optional<int> DispPlaceFile::Read() const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.read(kMaxContent + 1);
    if (content.size() > kMaxContent)
        return std::nullopt;
    return Decode(content);
}

bool DispPlaceFile::Write(int places) const
{
    const std::optional<QByteArray> content = Encode(places);
    if (!content)
        return false;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(*content) != content->size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString DispPlaceFile::ResultFormat(int places)
{
    if (places < 0 || places > kMaxPlaces)
        places = kDefaultPlaces;
    return places == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(places, QLatin1Char('0'));
}
