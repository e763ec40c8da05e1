#include "logdbthread.h"
#include "logdbmgr.h"
#include "logfixture.h"
#include "sync.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

using namespace logfixture;
using memimage::Bytes;

namespace {

// Only a hang may fail these tests, never a slow machine.
constexpr unsigned long kHangMs = 30000;

// Frames of all three value-carrying logs with 0xDE bytes scattered through them.
Bytes memoryOf(int frames)
{
    Bytes m;
    for (int i = 0; i < frames; ++i) {
        const std::uint32_t t = 0x100 + static_cast<std::uint32_t>(i) * 0x6F;
        Bytes f;
        switch (i % 3) {
        case 0:
            f = log0(t, static_cast<std::uint8_t>(i), 0xDE, 0.5f * i);
            break;
        case 1:
            f = log1(t, 0xDEDE0000u + i, -1.0f * i);
            break;
        default:
            f = log2(t, static_cast<std::uint16_t>(i), 0xDE00DE00u);
            break;
        }
        m.insert(m.end(), f.begin(), f.end());
        m.push_back(0x00);  // filler between frames
    }
    return m;
}

std::vector<std::string> describe(const LogDBMgr& db)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < db.RecordCount(); ++i) {
        const ALOGPOINTRECORD& r = db.Record(i);
        std::string s = std::to_string(r.rawTime) + "/" + std::to_string(r.logIndex);
        for (int j = 0; j < 7; ++j)
            s += "|" + r.ValueText(r.logIndex * 8 + j);
        out.push_back(s);
    }
    return out;
}

std::vector<std::string> parsedDirectly(const Bytes& memory, const LogFrameLayout& layout)
{
    LogDBMgr db;
    LogFrameParser parser;
    parser.Attach(&db, &layout, tokenDate);
    parser.Put(memory.data(), memory.size());
    parser.Finish();
    return describe(db);
}

double throwingDate(std::uint32_t token)
{
    if (token == 0xBAD)
        throw std::runtime_error("clock fault");
    return token;
}

}  // namespace

TEST(LogDBThread, ParsesWhatTheDownloadPutsWhateverThePiecesAre)
{
    const auto layout = logfixture::layout();
    const Bytes memory = memoryOf(60);
    const auto expected = parsedDirectly(memory, layout);
    ASSERT_EQ(expected.size(), 60u);

    // Frames and escape pairs torn across every kind of piece boundary.
    for (std::size_t piece : {1u, 2u, 3u, 7u, 200u}) {
        Bytes image(memory.size());
        LogDBMgr db;
        db.AppendRecord(std::make_unique<ALOGPOINTRECORD>());  // a previous download's record
        boundedBuffer buffer(image.data(), image.size());
        bool released = false;
        LogDBThread worker(&db, &buffer, image.size(), layout, tokenDate);
        worker.SetImageRelease([&] { released = true; });
        worker.start();
        for (std::size_t at = 0; at < memory.size(); at += piece)
            ASSERT_EQ(buffer.Put(memory.data() + at, std::min(piece, memory.size() - at)),
                      std::min(piece, memory.size() - at));
        ASSERT_TRUE(worker.wait(kHangMs)) << piece;

        EXPECT_TRUE(worker.Complete());
        EXPECT_FALSE(worker.Failed());
        EXPECT_TRUE(released);
        EXPECT_EQ(image, memory);  // the image holds the whole memory in order
        EXPECT_EQ(describe(db), expected) << piece;
        EXPECT_EQ(db.PerLog().logs[0].count, 20);
        EXPECT_EQ(db.PerLog().logs[1].records.size(), 20u);
        EXPECT_EQ(db.PerLog().logs[2].records.size(), 20u);
    }
}

TEST(LogDBThread, ADownloadThatStopsShortClosesTheBufferAndKeepsWhatArrived)
{
    const auto layout = logfixture::layout();
    const Bytes memory = memoryOf(30);
    const std::size_t arrived = memory.size() / 2;
    const auto expected = parsedDirectly(Bytes(memory.begin(), memory.begin() + arrived), layout);

    Bytes image(memory.size());
    LogDBMgr db;
    boundedBuffer buffer(image.data(), image.size());
    bool released = false;
    LogDBThread worker(&db, &buffer, image.size(), layout, tokenDate);
    worker.SetImageRelease([&] { released = true; });
    worker.start();
    ASSERT_EQ(buffer.Put(memory.data(), arrived), arrived);
    buffer.Close();  // a block failed: nothing more will come
    ASSERT_TRUE(worker.wait(kHangMs));

    EXPECT_FALSE(worker.Complete());
    EXPECT_EQ(worker.BytesTaken(), arrived);
    EXPECT_TRUE(released);
    EXPECT_EQ(describe(db), expected);
    EXPECT_GT(db.RecordCount(), 10u);
    EXPECT_EQ(db.PerLog().logs[0].count + db.PerLog().logs[1].count + db.PerLog().logs[2].count,
              static_cast<int>(db.RecordCount()));
}

TEST(LogDBThread, EmptyMemoryAndMoreBytesThanExpectedNeverHang)
{
    const auto layout = logfixture::layout();
    {
        LogDBMgr db;
        db.AppendRecord(std::make_unique<ALOGPOINTRECORD>());
        boundedBuffer buffer(nullptr, 0);
        LogDBThread worker(&db, &buffer, 0, layout, tokenDate);
        worker.start();
        ASSERT_TRUE(worker.wait(kHangMs));
        EXPECT_TRUE(worker.Complete());
        EXPECT_EQ(db.RecordCount(), 0u);
        EXPECT_TRUE(buffer.IsClosed());
    }
    {
        // The worker takes what it expects and ends; the surplus is refused, not waited on.
        const Bytes memory = memoryOf(20);
        const std::size_t expectedBytes = memory.size() / 3;
        Bytes area(64);
        LogDBMgr db;
        boundedBuffer buffer(area.data(), area.size());
        LogDBThread worker(&db, &buffer, expectedBytes, layout, tokenDate);
        worker.start();
        const std::size_t put = buffer.Put(memory.data(), memory.size());
        ASSERT_TRUE(worker.wait(kHangMs));
        EXPECT_GE(put, expectedBytes);
        EXPECT_LT(put, memory.size());
        EXPECT_EQ(worker.BytesTaken(), expectedBytes);
        EXPECT_EQ(describe(db), parsedDirectly(Bytes(memory.begin(), memory.begin() + expectedBytes), layout));
    }
}

TEST(LogDBThread, AnErrorInsideTheWorkerKeepsTheRecordsFiledBeforeIt)
{
    const auto layout = logfixture::layout();
    const Bytes memory =
        memimage::concat({log0(0x300, 1, 1, 1), log0(0x200, 2, 2, 2), log0(0xBAD, 3, 3, 3), log0(0x400, 4, 4, 4)});
    Bytes image(memory.size());
    LogDBMgr db;
    boundedBuffer buffer(image.data(), image.size());
    LogDBThread worker(&db, &buffer, image.size(), layout, throwingDate);
    worker.start();
    buffer.Put(memory.data(), memory.size());
    ASSERT_TRUE(worker.wait(kHangMs));

    EXPECT_TRUE(worker.Failed());
    EXPECT_EQ(worker.ErrorText(), "clock fault");
    EXPECT_TRUE(buffer.IsClosed());
    ASSERT_EQ(db.RecordCount(), 2u);
    EXPECT_EQ(db.Record(0).rawTime, 0x200u);            // still put in order
    EXPECT_EQ(db.PerLog().logs[0].records.size(), 2u);  // and distributed
}
