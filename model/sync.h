#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

// The synchronisation used between the user-interface thread and the log download worker: a
// critical section with its scope guard, counting and binary semaphores, a signal-and-urgent
// monitor with condition variables, and the bounded byte buffer built on that monitor.
// Everything rests on the standard library's mutexes and condition variables.

// A section that its owning thread may enter again.
class win32Critical_Section {
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    // Lockable, so that the standard guards can hold a section too.
    void lock() { Enter(); }
    void unlock() { Leave(); }

private:
    std::recursive_mutex mutex_;
};

// Holds a section for the lifetime of the guard.
template <class Section>
class mutexLocker {
public:
    explicit mutexLocker(Section* section) : section_(section) { section_->Enter(); }
    ~mutexLocker() { section_->Leave(); }
    mutexLocker(const mutexLocker&) = delete;
    mutexLocker& operator=(const mutexLocker&) = delete;

private:
    Section* section_;
};

// A counting semaphore; each thread that waits in a binary semaphore waits on one of its own,
// so that a give can wake exactly the chosen thread.
class win32Semaphore {
public:
    static constexpr long kMaximum = 0x7FFFFFFF;

    explicit win32Semaphore(long initial = 0) : count_(initial) {}
    void Wait();
    // False, and the count unchanged, when the count is already at its maximum.
    bool Signal();

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    long count_;
};

class semaphore {
public:
    virtual ~semaphore() = default;
    virtual void P() = 0;
    virtual void V() = 0;

protected:
    explicit semaphore(int value) : value_(value) {}

    win32Critical_Section section_;
    int value_;
};

// A semaphore whose value is 0 or 1. Threads blocked in P and in V are woken strictly in the
// order they arrived, and a wake-up hands the value over directly: no third thread can slip in.
class binarySemaphore : public semaphore {
public:
    explicit binarySemaphore(int initial) : semaphore(initial ? 1 : 0) {}

    void P() override;
    void V() override;
    // Gives `other` and takes this one as one step: no V on this semaphore can come between.
    // `other` must be held by the caller (its V must not block).
    void SignalOtherAndWait(binarySemaphore& other);

private:
    // Called inside the section; leaves it.
    void TakeOrQueueAndLeave();

    std::deque<win32Semaphore*> waitingInP_;
    std::deque<win32Semaphore*> waitingInV_;
};

// A monitor with signal-and-urgent-wait semantics: a thread that signals a condition hands the
// monitor straight to the woken thread.
class controlMonitorSU {
public:
    controlMonitorSU() : entry_(1), urgent_(0) {}
    void Enter() { entry_.P(); }
    void Leave();

private:
    friend class controlConditionVariable;
    binarySemaphore entry_;
    binarySemaphore urgent_;
    int urgentCount_ = 0;
};

class controlConditionVariable {
public:
    explicit controlConditionVariable(controlMonitorSU* monitor) : semaphore_(0), monitor_(monitor) {}
    // Leaves the monitor and waits, as one step; returns owning the monitor again.
    void Wait();
    // Hands the monitor to the longest-waiting thread, or leaves it when nobody waits. Either
    // way the caller no longer owns the monitor.
    void Signal();
    // Read only while owning the monitor.
    int Waiting() const { return waiting_; }

private:
    binarySemaphore semaphore_;
    int waiting_ = 0;
    controlMonitorSU* monitor_;
};

// A byte ring over storage that the caller owns, for one producer and one consumer.
// Closing it ends the exchange early: puts are refused from then on, takes drain what is held
// and then report the end instead of waiting for ever.
class boundedBuffer : public controlMonitorSU {
public:
    boundedBuffer(std::uint8_t* area, std::size_t capacity);
    boundedBuffer(const boundedBuffer&) = delete;
    boundedBuffer& operator=(const boundedBuffer&) = delete;

    // Waits while the buffer is full. False when the buffer is closed: the byte is not stored.
    bool Put(std::uint8_t byte);
    // A whole block in one monitor entry, waiting for room as needed. Returns how many bytes
    // went in: fewer than `count` only when the buffer was closed.
    std::size_t Put(const std::uint8_t* data, std::size_t count);

    // Waits while the buffer is empty. False when the buffer is closed and nothing is left.
    bool Get(std::uint8_t& byte);
    // Takes what is held, up to `max` bytes, once at least `atLeast` bytes (or `max`, if fewer)
    // are held or the buffer is closed; a waiting taker is woken only then, so a producer that
    // puts small pieces does not wake it for each. Returns 0 only when the buffer is closed and
    // nothing is left (or `max` is 0).
    std::size_t Get(std::uint8_t* out, std::size_t max, std::size_t atLeast = 1);

    // Refuses further puts and wakes every waiting thread. Safe to call more than once.
    void Close();
    bool IsClosed();
    std::size_t Capacity() const { return capacity_; }

private:
    // Leaves a closed buffer so that every other waiting thread gets to see it closed.
    void LeaveClosed();

    std::size_t count_ = 0;
    std::size_t capacity_;
    std::uint8_t* area_;
    std::size_t putIndex_ = 0;
    std::size_t getIndex_ = 0;
    bool closed_ = false;
    std::size_t wanted_ = 1;  // what the waiting taker waits for
    controlConditionVariable notFull_;
    controlConditionVariable notEmpty_;
};
