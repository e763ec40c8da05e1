#include "writetrace.h"

#include "datadir.h"
#include "dialogservice.h"

#include <QDateTime>
#include <QFile>

const std::string WriteTrace::kSeparator(52, '-');

WriteTrace::WriteTrace(const QString& path) : path_(path) {}

QString WriteTrace::defaultPath()
{
    datadir::makeCurrent();
    const QString path = datadir::filePath(kFileName);
    return path.isEmpty() ? QString(kFileName) : path;
}

bool WriteTrace::Line(const std::string& text)
{
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        // Once per dump, not once per line: a long write would otherwise bury the user.
        if (!failed_)
            DialogService::showMessage("There was a problem opening the WriteLog file");
        failed_ = true;
        return false;
    }
    const std::string line = text + " \n";
    const bool ok = file.write(line.data(), static_cast<qint64>(line.size())) == static_cast<qint64>(line.size());
    file.close();
    return ok;
}

std::string WriteTrace::Pad(const std::string& text, std::size_t width)
{
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

std::string WriteTrace::TimeStamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return std::to_string(d.year()) + "/" + std::to_string(d.month()) + "/" + std::to_string(d.day()) + " " +
           std::to_string(t.hour()) + ":" + std::to_string(t.minute()) + ":" + std::to_string(t.second()) + " " +
           std::to_string(t.msec()) + "ms";
}
