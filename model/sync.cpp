#include "sync.h"

#include <algorithm>
#include <cstring>

void win32Semaphore::Wait()
{
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return count_ > 0; });
    --count_;
}

bool win32Semaphore::Signal()
{
    // Notified under the lock: a waiter may destroy this semaphore as soon as it has returned.
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ >= kMaximum)
        return false;
    ++count_;
    cv_.notify_one();
    return true;
}

void binarySemaphore::TakeOrQueueAndLeave()
{
    if (value_ == 1) {
        if (!waitingInV_.empty()) {
            // The waiting giver's give replaces this take: the value stays 1.
            win32Semaphore* giver = waitingInV_.front();
            waitingInV_.pop_front();
            giver->Signal();
        } else {
            value_ = 0;
        }
        section_.Leave();
        return;
    }
    win32Semaphore mine(0);
    waitingInP_.push_back(&mine);
    section_.Leave();
    mine.Wait();
}

void binarySemaphore::P()
{
    section_.Enter();
    TakeOrQueueAndLeave();
}

void binarySemaphore::V()
{
    section_.Enter();
    if (value_ == 0) {
        if (!waitingInP_.empty()) {
            // Handed over directly: the value stays 0 and the woken thread holds it.
            win32Semaphore* taker = waitingInP_.front();
            waitingInP_.pop_front();
            taker->Signal();
        } else {
            value_ = 1;
        }
        section_.Leave();
        return;
    }
    win32Semaphore mine(0);
    waitingInV_.push_back(&mine);
    section_.Leave();
    mine.Wait();
}

void binarySemaphore::SignalOtherAndWait(binarySemaphore& other)
{
    // Holding this section across the give keeps any V on this semaphore from running between
    // the give and the queueing. Lock order: this section, then the other's.
    section_.Enter();
    other.V();
    TakeOrQueueAndLeave();
}

void controlMonitorSU::Leave()
{
    if (urgentCount_ > 0)
        urgent_.V();
    else
        entry_.V();
}

void controlConditionVariable::Wait()
{
    ++waiting_;
    binarySemaphore& handOver = monitor_->urgentCount_ > 0 ? monitor_->urgent_ : monitor_->entry_;
    semaphore_.SignalOtherAndWait(handOver);
    --waiting_;
}

void controlConditionVariable::Signal()
{
    if (waiting_ > 0)
        semaphore_.V();  // the woken thread now owns the monitor
    else
        monitor_->Leave();
}

boundedBuffer::boundedBuffer(std::uint8_t* area, std::size_t capacity)
        : capacity_(capacity), area_(area), notFull_(this), notEmpty_(this)
{}

bool boundedBuffer::Put(std::uint8_t byte)
{
    return Put(&byte, 1) == 1;
}

std::size_t boundedBuffer::Put(const std::uint8_t* data, std::size_t count)
{
    Enter();
    std::size_t done = 0;
    for (;;) {
        if (closed_) {
            LeaveClosed();
            return done;
        }
        if (done == count) {
            Leave();
            return done;
        }
        if (count_ == capacity_) {
            notFull_.Wait();
            continue;
        }
        const std::size_t room = capacity_ - count_;
        std::size_t n = std::min(room, count - done);
        while (n > 0) {
            const std::size_t piece = std::min(n, capacity_ - putIndex_);
            std::memcpy(area_ + putIndex_, data + done, piece);
            putIndex_ = (putIndex_ + piece) % capacity_;
            count_ += piece;
            done += piece;
            n -= piece;
        }
        if (done == count) {
            if (notEmpty_.Waiting() > 0 && count_ >= wanted_)
                notEmpty_.Signal();
            else
                Leave();
            return done;
        }
        // Full with more to come: let a waiting taker in first, then carry on.
        if (notEmpty_.Waiting() > 0) {
            notEmpty_.Signal();
            Enter();
        }
    }
}

bool boundedBuffer::Get(std::uint8_t& byte)
{
    return Get(&byte, 1) == 1;
}

std::size_t boundedBuffer::Get(std::uint8_t* out, std::size_t max, std::size_t atLeast)
{
    if (max == 0)
        return 0;
    Enter();
    // Woken by a put that brought what is wanted (the monitor is handed over with the bytes
    // held), by a full buffer or by the close.
    wanted_ = std::max<std::size_t>(1, std::min({atLeast, max, capacity_}));
    while (count_ < wanted_ && !closed_)
        notEmpty_.Wait();
    if (count_ == 0) {
        LeaveClosed();
        return 0;
    }
    std::size_t n = std::min(max, count_);
    const std::size_t taken = n;
    std::size_t at = 0;
    while (n > 0) {
        const std::size_t piece = std::min(n, capacity_ - getIndex_);
        std::memcpy(out + at, area_ + getIndex_, piece);
        getIndex_ = (getIndex_ + piece) % capacity_;
        count_ -= piece;
        at += piece;
        n -= piece;
    }
    if (closed_)
        LeaveClosed();
    else
        notFull_.Signal();
    return taken;
}

void boundedBuffer::Close()
{
    Enter();
    closed_ = true;
    LeaveClosed();
}

bool boundedBuffer::IsClosed()
{
    Enter();
    const bool closed = closed_;
    Leave();
    return closed;
}

void boundedBuffer::LeaveClosed()
{
    if (notEmpty_.Waiting() > 0)
        notEmpty_.Signal();
    else if (notFull_.Waiting() > 0)
        notFull_.Signal();
    else
        Leave();
}
