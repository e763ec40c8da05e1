#pragma once

#include <QString>
#include <string>

// The service trace of what the program sends to the unit, appended to "LogWrite.dbg" in the
// data directory. One WriteTrace serves one dump: if the file cannot be opened the user is told
// once, and the write to the unit goes on.
class WriteTrace {
public:
    static constexpr char kFileName[] = "LogWrite.dbg";
    static const std::string kSeparator;

    explicit WriteTrace(const QString& path = defaultPath());

    // Appends text, a blank and a line feed. False when the file could not be written.
    bool Line(const std::string& text);
    bool Separator() { return Line(kSeparator); }
    bool Failed() const { return failed_; }

    static QString defaultPath();
    // Cut to width, or filled with blanks up to it.
    static std::string Pad(const std::string& text, std::size_t width);
    // The local clock as year/month/day hour:minute:second millisecondsms, no leading zeros.
    static std::string TimeStamp();

private:
    QString path_;
    bool failed_ = false;
};
