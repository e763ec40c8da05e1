// Timing of the archive and event downloads' data half: parsing 1 MiB of log memory, alone and
// through the bounded buffer and the worker thread, and ordering 50,000 events of a wrapped event
// memory. Prints its figures; goals: worker path under 1 s, parser alone under 100 ms, events
// under 1 s.

#include "auditevent.h"
#include "logdbmgr.h"
#include "logdbthread.h"
#include "logframeparser.h"
#include "memoryimage.h"
#include "sync.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using memimage::Bytes;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kLogMemory = 1024 * 1024;
constexpr int kEvents = 50000;
constexpr int kRuns = 5;

double dateOf(std::uint32_t token)
{
    return token / 86400.0;
}

std::array<LogConfigEntry, 6> configuration()
{
    std::array<LogConfigEntry, 6> e{};
    e[0] = {1, 8, {0, 392, 393, 21, 21, 21, 21, 21}};  // On Run: stream, run, five floats
    e[1] = {2, 4, {0, 21, 21, 29}};                    // Hourly
    e[2] = {3, 3, {0, 21, 388}};                       // Daily
    e[3] = {4, 2, {0, 21}};                            // Periodic 1
    e[4] = {5, 5, {0, 10, 21, 21, 21}};                // Periodic 2
    e[5] = {6, 1, {0}};
    return e;
}

// A full log memory that has wrapped: the newest frames first, then the older ones.
Bytes logMemory()
{
    std::vector<Bytes> frames;
    std::size_t total = 0;
    std::uint32_t token = memimage::token(2012, 1, 1, 0, 0, 0);
    for (int i = 0; total < kLogMemory; ++i, token += 7) {
        Bytes values;
        const int log = i % 5;
        switch (log) {
        case 0:
            values = {static_cast<std::uint8_t>(i % 4), static_cast<std::uint8_t>(i % 200)};
            for (int v = 0; v < 5; ++v)
                memimage::putFloat(values, 0.37f * i + v);
            break;
        case 1:
            memimage::putFloat(values, 12.5f);
            memimage::putFloat(values, -0.001f * i);
            memimage::putU32(values, 0xDE000000u + i);
            break;
        case 2:
            memimage::putFloat(values, 1e-7f * i);
            memimage::putU32(values, token);
            break;
        case 3:
            memimage::putFloat(values, 222.0f);
            break;
        default:
            memimage::putU16(values, static_cast<std::uint16_t>(i));
            for (int v = 0; v < 3; ++v)
                memimage::putFloat(values, 3.0f * v + i);
        }
        frames.push_back(memimage::logFrame(static_cast<std::uint8_t>(log + 1), memimage::logPayload(token, values)));
        total += frames.back().size();
    }
    Bytes memory;
    memory.reserve(total);
    const std::size_t split = frames.size() * 2 / 5;
    for (std::size_t i = split; i < frames.size(); ++i)
        memory.insert(memory.end(), frames[i].begin(), frames[i].end());
    for (std::size_t i = 0; i < split; ++i)
        memory.insert(memory.end(), frames[i].begin(), frames[i].end());
    memory.resize(kLogMemory);  // the last frame is cut where the memory ends
    return memory;
}

Bytes eventMemory()
{
    Bytes memory;
    std::vector<Bytes> frames;
    std::uint32_t token = memimage::token(2011, 6, 1, 0, 0, 0);
    for (int i = 0; i < kEvents; ++i) {
        if (i % 3 != 0)
            token += 1 + i % 5;  // several events share a second
        frames.push_back(memimage::eventFrame(token, static_cast<std::uint8_t>(i % 12),
                                              static_cast<std::uint8_t>(i % 126), static_cast<std::uint8_t>(i % 2)));
    }
    const std::size_t split = frames.size() * 3 / 10;
    for (std::size_t i = split; i < frames.size(); ++i)
        memory.insert(memory.end(), frames[i].begin(), frames[i].end());
    for (std::size_t i = 0; i < split; ++i)
        memory.insert(memory.end(), frames[i].begin(), frames[i].end());
    return memory;
}

// Best and median of kRuns runs, in milliseconds.
void report(const char* what, const std::function<void()>& run, double goalMs)
{
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        run();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-62s best %8.1f ms  median %8.1f ms", what, ms.front(), ms[ms.size() / 2]);
    if (goalMs > 0)
        std::printf("  (goal: under %.0f ms)", goalMs);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto config = configuration();
    const LogFrameLayout layout = LogFrameLayout::Build(config.data(), config.size());
    const Bytes memory = logMemory();
    const Bytes events = eventMemory();

    std::size_t records = 0;
    report(
        "log memory 1 MiB: parser alone",
        [&] {
            LogDBMgr db;
            LogFrameParser parser;
            parser.Attach(&db, &layout, dateOf);
            parser.Put(memory.data(), memory.size());
            parser.Finish();
            db.DistributeRecords();
            records = db.RecordCount();
        },
        100);

    auto throughWorker = [&](std::size_t piece) {
        Bytes image(memory.size());
        LogDBMgr db;
        boundedBuffer buffer(image.data(), image.size());
        LogDBThread worker(&db, &buffer, image.size(), layout, dateOf);
        worker.start();
        for (std::size_t at = 0; at < memory.size(); at += piece) {
            const std::size_t n = std::min(piece, memory.size() - at);
            if (n == 1)
                buffer.Put(memory[at]);
            else
                buffer.Put(memory.data() + at, n);
        }
        worker.wait();
        if (db.RecordCount() != records)
            std::printf("  records differ: %zu against %zu\n", db.RecordCount(), records);
    };
    report(
        "log memory 1 MiB: 200-byte blocks through buffer and worker", [&] { throughWorker(200); }, 1000);
    report(
        "log memory 1 MiB: one byte at a time through buffer and worker", [&] { throughWorker(1); }, 0);
    std::printf("  %zu records from %zu bytes\n", records, memory.size());

    std::size_t eventCount = 0;
    report(
        "event memory, 50,000 events, wrapped: parse and order",
        [&] {
            TAuditParser parser(dateOf);
            parser.Parse(events.data(), events.size());
            eventCount = parser.RecordCount();
        },
        1000);
    std::printf("  %zu events from %zu bytes\n", eventCount, events.size());
    return eventCount == static_cast<std::size_t>(kEvents) ? 0 : 1;
}
