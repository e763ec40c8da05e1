#include "dispplacefile.h"

#include <QFile>
#include <charconv>

DispPlaceFile::DispPlaceFile(const QString& dataDirectory)
    : path_(dataDirectory + QLatin1Char('/') + QLatin1String(kFileName))
{
}

std::optional<int> DispPlaceFile::Read() const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The file holds one digit; a little more allows blanks and a line end written by hand.
    const QByteArray bytes = file.read(64);
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    if (p < end && *p == '+')
        ++p;
    int value = 0;
    const auto res = std::from_chars(p, end, value, 10);
    if (res.ec != std::errc())
        return std::nullopt;
    return value;
}
