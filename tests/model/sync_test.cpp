#include "sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Generous: only a hang (a lost wake-up) may fail these tests, never a slow machine.
constexpr auto kHang = 30s;

template <class F>
bool finishes(std::future<F>& f)
{
    return f.wait_for(kHang) == std::future_status::ready;
}

}  // namespace

TEST(BoundedBuffer, KeepsOrderAcrossTheRingEdgeAndHoldsTheBytesInItsArea)
{
    std::vector<std::uint8_t> area(5);
    boundedBuffer buffer(area.data(), area.size());
    std::vector<std::uint8_t> out;
    std::uint8_t next = 0;
    for (int round = 0; round < 7; ++round) {
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(buffer.Put(next++));
        for (int i = 0; i < 3; ++i) {
            std::uint8_t b;
            ASSERT_TRUE(buffer.Get(b));
            out.push_back(b);
        }
        std::uint8_t rest[8];
        const std::size_t n = buffer.Get(rest, sizeof rest);
        out.insert(out.end(), rest, rest + n);
    }
    ASSERT_EQ(out.size(), 28u);
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(out[i], static_cast<std::uint8_t>(i));

    // With the capacity equal to the whole length, the area ends up holding everything in order.
    std::vector<std::uint8_t> whole(300);
    boundedBuffer full(whole.data(), whole.size());
    std::vector<std::uint8_t> data(300);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 7);
    EXPECT_EQ(full.Put(data.data(), 200), 200u);
    EXPECT_EQ(full.Put(data.data() + 200, 100), 100u);
    EXPECT_EQ(whole, data);
}

TEST(BoundedBuffer, ProducerAndConsumerOnTwoThreadsThroughASmallRing)
{
    // A ring much smaller than the data makes both sides wait many times.
    std::vector<std::uint8_t> area(7);
    boundedBuffer buffer(area.data(), area.size());
    constexpr std::size_t kTotal = 60000;

    auto consumer = std::async(std::launch::async, [&] {
        std::vector<std::uint8_t> got;
        got.reserve(kTotal);
        std::uint8_t piece[5];
        while (got.size() < kTotal) {
            if (got.size() % 3 == 0) {
                std::uint8_t b;
                if (!buffer.Get(b))
                    break;
                got.push_back(b);
            } else {
                // Every other piece waits for five bytes, which the producer's small puts and
                // the full ring must both be able to bring.
                const std::size_t atLeast = got.size() % 3 == 1 ? 1 : sizeof piece;
                const std::size_t n = buffer.Get(piece, std::min(sizeof piece, kTotal - got.size()), atLeast);
                if (n == 0)
                    break;
                got.insert(got.end(), piece, piece + n);
            }
        }
        return got;
    });

    std::vector<std::uint8_t> data(kTotal);
    for (std::size_t i = 0; i < kTotal; ++i)
        data[i] = static_cast<std::uint8_t>((i * 31) ^ (i >> 8));
    std::size_t at = 0;
    std::size_t size = 1;
    while (at < kTotal) {
        const std::size_t n = std::min(size, kTotal - at);
        if (n == 1)
            ASSERT_TRUE(buffer.Put(data[at]));
        else
            ASSERT_EQ(buffer.Put(data.data() + at, n), n);
        at += n;
        size = size % 13 + 1;  // pieces of 1 to 13 bytes, some larger than the ring
    }
    ASSERT_TRUE(finishes(consumer));
    EXPECT_EQ(consumer.get(), data);
}

TEST(BoundedBuffer, CloseReleasesAWaitingTakerAfterWhatIsHeld)
{
    std::vector<std::uint8_t> area(16);
    boundedBuffer buffer(area.data(), area.size());
    const std::uint8_t bytes[] = {1, 2, 3};
    ASSERT_EQ(buffer.Put(bytes, 3), 3u);

    auto taker = std::async(std::launch::async, [&] {
        std::vector<std::uint8_t> got;
        std::uint8_t b;
        while (buffer.Get(b))  // waits on the empty buffer until it is closed
            got.push_back(b);
        return got;
    });
    std::this_thread::sleep_for(20ms);
    buffer.Close();
    ASSERT_TRUE(finishes(taker));
    EXPECT_EQ(taker.get(), (std::vector<std::uint8_t>{1, 2, 3}));

    // Closed: puts are refused, takes report the end at once, closing again is harmless.
    EXPECT_FALSE(buffer.Put(9));
    EXPECT_EQ(buffer.Put(bytes, 3), 0u);
    std::uint8_t b;
    EXPECT_FALSE(buffer.Get(b));
    buffer.Close();
    EXPECT_TRUE(buffer.IsClosed());
}

TEST(BoundedBuffer, ATakerWaitingForAPieceWakesOnceItIsThereOrClosed)
{
    std::vector<std::uint8_t> area(64);
    boundedBuffer buffer(area.data(), area.size());
    const std::uint8_t bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    auto taker = std::async(std::launch::async, [&] {
        std::uint8_t piece[16];
        const std::size_t n = buffer.Get(piece, sizeof piece, 10);
        return std::vector<std::uint8_t>(piece, piece + n);
    });
    ASSERT_EQ(buffer.Put(bytes, 3), 3u);
    ASSERT_EQ(buffer.Put(bytes + 3, 3), 3u);
    EXPECT_EQ(taker.wait_for(30ms), std::future_status::timeout) << "six of ten bytes wake nobody";
    ASSERT_EQ(buffer.Put(bytes + 6, 4), 4u);
    ASSERT_TRUE(finishes(taker));
    EXPECT_EQ(taker.get(), std::vector<std::uint8_t>(bytes, bytes + 10));

    // A close hands over what there is.
    ASSERT_EQ(buffer.Put(bytes, 2), 2u);
    auto rest = std::async(std::launch::async, [&] {
        std::uint8_t piece[16];
        return buffer.Get(piece, sizeof piece, 10);
    });
    std::this_thread::sleep_for(20ms);
    buffer.Close();
    ASSERT_TRUE(finishes(rest));
    EXPECT_EQ(rest.get(), 2u);
}

TEST(BoundedBuffer, CloseReleasesAProducerWaitingForRoom)
{
    std::vector<std::uint8_t> area(4);
    boundedBuffer buffer(area.data(), area.size());
    const std::vector<std::uint8_t> data(10, 0x55);
    auto producer = std::async(std::launch::async, [&] { return buffer.Put(data.data(), data.size()); });
    std::this_thread::sleep_for(20ms);
    buffer.Close();
    ASSERT_TRUE(finishes(producer));
    EXPECT_EQ(producer.get(), 4u);  // what fitted before the close

    // A ring of no room at all never stores and never hangs once closed.
    boundedBuffer none(nullptr, 0);
    auto waiting = std::async(std::launch::async, [&] {
        std::uint8_t b;
        return none.Get(b);
    });
    std::this_thread::sleep_for(10ms);
    none.Close();
    ASSERT_TRUE(finishes(waiting));
    EXPECT_FALSE(waiting.get());
}

TEST(BinarySemaphore, HandsTheValueOverAndKeepsThreadsApart)
{
    binarySemaphore gate(0);
    std::atomic<bool> passed{false};
    auto waiter = std::async(std::launch::async, [&] {
        gate.P();
        passed = true;
    });
    std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(passed);
    gate.V();
    ASSERT_TRUE(finishes(waiter));
    EXPECT_TRUE(passed);

    // Used as a lock, the semaphore lets one thread at a time through.
    binarySemaphore lock(1);
    long counter = 0;
    std::vector<std::future<void>> workers;
    for (int t = 0; t < 4; ++t)
        workers.push_back(std::async(std::launch::async, [&] {
            for (int i = 0; i < 20000; ++i) {
                lock.P();
                ++counter;
                lock.V();
            }
        }));
    for (auto& w : workers)
        ASSERT_TRUE(finishes(w));
    EXPECT_EQ(counter, 80000);
}

TEST(CriticalSection, MayBeEnteredAgainByItsOwner)
{
    win32Critical_Section section;
    {
        mutexLocker<win32Critical_Section> outer(&section);
        mutexLocker<win32Critical_Section> inner(&section);
    }
    // Free again: another thread gets in.
    auto other = std::async(std::launch::async, [&] {
        mutexLocker<win32Critical_Section> guard(&section);
        return true;
    });
    ASSERT_TRUE(finishes(other));
    EXPECT_TRUE(other.get());
}
