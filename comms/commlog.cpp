#include "commlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QTime>

bool CommLog::setState(State state)
{
    switch (state) {
    case State::Dump:
    case State::Append: {
        // A written buffer starts afresh, so that repeated appends do not repeat lines.
        state_ = state;
        if (!writeFile(state == State::Append))
            return false;
        lines_.clear();
        size_ = 0;
        return true;
    }
    case State::Clear:
        // Only the buffer goes: a paused log stays paused, a log that is off stays off.
        lines_.clear();
        size_ = 0;
        return true;
    default:
        state_ = state;
        return true;
    }
}

void CommLog::setMaxSize(int bytes)
{
    maxSize_ = qBound(1, bytes, 16000000);
    while (size_ > maxSize_ && !lines_.empty()) {
        size_ -= lines_.front().stamped.size() + 1;
        lines_.pop_front();
    }
}

void CommLog::addString(const QString& text)
{
    add(true, text);
}

void CommLog::addData(const char* direction, const QByteArray& bytes)
{
    // Every frame passes here: its text is made only while the log records.
    if (bytes.isEmpty() || state_ != State::On)
        return;
    QString body = QString::fromLatin1(direction) + QLatin1Char(' ');
    if (allHex_) {
        body += QString::fromLatin1(bytes.toHex(' ').toUpper());
    } else {
        // Printable characters as they are, the others as hexadecimal in brackets.
        for (const char c : bytes) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x20 && u < 0x7F)
                body += QLatin1Char(c);
            else
                body += QStringLiteral("[%1]").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    add(false, body);
}

void CommLog::add(bool comment, const QString& body)
{
    if (state_ != State::On)
        return;
    Line line{comment, body, QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + body};
    size_ += line.stamped.size() + 1;
    lines_.push_back(std::move(line));
    while (size_ > maxSize_ && lines_.size() > 1) {
        size_ -= lines_.front().stamped.size() + 1;
        lines_.pop_front();
    }
}

QString CommLog::text() const
{
    QString out;
    for (const Line& line : lines_)
        out += line.stamped + QLatin1Char('\n');
    return out;
}

QStringList CommLog::comments() const
{
    QStringList out;
    for (const Line& line : lines_)
        if (line.comment)
            out << line.body;
    return out;
}

bool CommLog::writeFile(bool append) const
{
    // Names may come from a store written on Windows.
    QString name = fileName_;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.trimmed().isEmpty())
        return false;
    const QByteArray data = text().toUtf8();
    if (append) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
        return file.write(data) == data.size();
    }
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(data);
    return file.commit();
}
