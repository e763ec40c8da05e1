#include "logdbthread.h"

#include "logdbmgr.h"
#include "sync.h"
#include "unitmemory.h"

#include <algorithm>
#include <array>
#include <exception>

LogDBThread::LogDBThread(LogDBMgr* database, boundedBuffer* buffer, std::size_t expectedBytes, LogFrameLayout layout,
                         TokenToDateFn toDate, QObject* parent)
        : QThread(parent), database_(database), buffer_(buffer), expected_(unitmemory::CappedLength(expectedBytes)),
          layout_(layout), toDate_(toDate)
{}

void LogDBThread::Note(const char* what)
{
    if (error_.empty())
        error_ = (what && *what) ? what : "Unknown error while reading the archive log.";
}

void LogDBThread::Execute()
{
    taken_ = 0;
    error_.clear();
    try {
        database_->Clear();
        parser_.Attach(database_, &layout_, toDate_);
        // A piece of some twenty blocks at a time: the download is not interrupted by a wake-up
        // of this thread for every block, and the last piece is taken as soon as it is complete.
        std::array<std::uint8_t, 4096> piece;
        while (taken_ < expected_) {
            const std::size_t want = std::min(piece.size(), expected_ - taken_);
            const std::size_t n = buffer_->Get(piece.data(), want, want);
            if (n == 0)
                break;  // closed: the download stopped short
            taken_ += n;
            parser_.Put(piece.data(), n);
        }
    } catch (const std::exception& e) {
        Note(e.what());
    } catch (...) {
        Note(nullptr);
    }
    // From here on nothing more is taken: a producer still putting must not wait for room. The
    // close also waits for a put in progress, so nothing is stored into the image after it and
    // the image may be released.
    buffer_->Close();
    try {
        if (releaseImage_)
            releaseImage_();
    } catch (const std::exception& e) {
        Note(e.what());
    } catch (...) {
        Note(nullptr);
    }
    try {
        parser_.Finish();
        database_->DistributeRecords();
    } catch (const std::exception& e) {
        Note(e.what());
    } catch (...) {
        Note(nullptr);
    }
}
