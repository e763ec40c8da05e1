#pragma once

#include <QByteArray>
#include <QString>
#include <deque>

// The link's trace: the bytes the port carries and the engine's text lines, kept in a buffer of
// bounded size and written to a file on request.
class CommLog {
public:
    enum class State { Off, On, Dump, Append, Clear, Pause };

    // Switching to Dump or Append writes the buffer to the file (replacing or appending) and
    // empties it, returning false (and keeping the buffer) when that fails; Clear empties the
    // buffer and leaves the logging state as it was.
    bool setState(State state);
    State state() const { return state_; }
    bool isOn() const { return state_ == State::On; }

    void setFileName(const QString& name) { fileName_ = name; }
    QString fileName() const { return fileName_; }
    // Size of the buffer in bytes (1 .. 16000000); the oldest lines make room for new ones.
    void setMaxSize(int bytes);
    int maxSize() const { return maxSize_; }
    void setAllHex(bool allHex) { allHex_ = allHex; }
    bool allHex() const { return allHex_; }

    // Recorded only while logging is on.
    void addString(const QString& text);
    void addSent(const QByteArray& bytes) { addData("TX", bytes); }
    void addReceived(const QByteArray& bytes) { addData("RX", bytes); }

    // The buffer as it would be written.
    QString text() const;
    // The text lines added with addString, oldest first.
    QStringList comments() const;

private:
    struct Line {
        bool comment;
        QString body;
        QString stamped;
    };
    void add(bool comment, const QString& body);
    void addData(const char* direction, const QByteArray& bytes);
    bool writeFile(bool append) const;

    State state_ = State::Off;
    QString fileName_;
    int maxSize_ = 20000;
    bool allHex_ = true;
    std::deque<Line> lines_;
    qint64 size_ = 0;
};
