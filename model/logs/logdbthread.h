#pragma once

#include "logframeparser.h"

#include <QThread>
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

class LogDBMgr;
class boundedBuffer;

// The archive download's worker: takes the log memory out of the bounded buffer while the
// download is still putting it in, parses it into the log database, releases the downloaded
// image and distributes the records over the six logs.
//
// Made without starting it (start() resumes it). It takes `expectedBytes` bytes, or fewer when
// the buffer is closed first: a download that stops short closes the buffer, and the worker then
// files what it has. When it stops taking, it closes the buffer itself, so a producer never waits
// for a worker that has ended. The database and the buffer are not owned and must outlive the
// thread; the owner waits for the thread to end before it reads the database or drops the buffer.
class LogDBThread : public QThread {
public:
    LogDBThread(LogDBMgr* database, boundedBuffer* buffer, std::size_t expectedBytes, LogFrameLayout layout,
                TokenToDateFn toDate, QObject* parent = nullptr);

    // Run once every byte has been taken: the owner lets go of the downloaded image here.
    void SetImageRelease(std::function<void()> release) { releaseImage_ = std::move(release); }

    // The thread's body; run() calls it.
    void Execute();

    // Read after the thread has ended.
    std::size_t BytesTaken() const { return taken_; }
    bool Complete() const { return taken_ == expected_; }
    // An error inside the worker does not lose the records filed before it: they are still put
    // in order and distributed, and the error's text is kept here.
    bool Failed() const { return !error_.empty(); }
    const std::string& ErrorText() const { return error_; }
    const LogParseStats& Stats() const { return parser_.Stats(); }

protected:
    void run() override { Execute(); }

private:
    void Note(const char* what);

    LogDBMgr* database_;
    boundedBuffer* buffer_;
    std::size_t expected_;
    LogFrameLayout layout_;
    TokenToDateFn toDate_;
    std::function<void()> releaseImage_;
    LogFrameParser parser_;
    std::size_t taken_ = 0;
    std::string error_;
};
