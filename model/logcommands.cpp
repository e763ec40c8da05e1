#include "logcommands.h"

#include "commdbpointfacade.h"
#include "database.h"
#include "dialogservice.h"
#include "framecomm.h"
#include "logdbmgr.h"
#include "logdbthread.h"
#include "sync.h"
#include "timestamptoken.h"
#include "unitcommandsupport.h"
#include "unitmemory.h"

#include <algorithm>
#include <optional>

using unitcommand::BusyScope;
using unitcommand::status;

namespace {

constexpr int kAttempts = 3;
constexpr const char* kBlockFailText = "read device memory fail.";

void inform(const QString& text)
{
    DialogService::ask(QMessageBox::Information, "Information", text, QMessageBox::Ok);
}

// One block of a memory, up to three attempts. Any exception fails an attempt; so does an answer
// that claims more bytes than were asked for, since its bytes cannot be trusted to belong to the
// block. Nothing when every attempt failed.
template <typename Read>
std::optional<MemoryBlock> readBlock(Read read, std::uint32_t offset, std::uint8_t count)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        try {
            MemoryBlock block = read(offset, count);
            if (block.count <= count)
                return block;
        } catch (...) {
        }
    }
    return std::nullopt;
}

// The memory in requested blocks: whole blocks first, the remainder last. `take` gets each
// block with its requested offset and count; false from it, or a block that failed three times,
// ends the reading. True when every block was read.
template <typename Read, typename Take>
bool readMemory(std::size_t length, int blockSize, Read read, Take take)
{
    const std::size_t fullBlocks = length / static_cast<std::size_t>(blockSize);
    const std::size_t rest = length % static_cast<std::size_t>(blockSize);
    const std::size_t blocks = fullBlocks + (rest > 0 ? 1 : 0);
    for (std::size_t i = 0; i < blocks; ++i) {
        const auto offset = static_cast<std::uint32_t>(i * static_cast<std::size_t>(blockSize));
        const auto count = static_cast<std::uint8_t>(i < fullBlocks ? blockSize : rest);
        const std::optional<MemoryBlock> block = readBlock(read, offset, count);
        if (!block) {
            inform(kBlockFailText);
            return false;
        }
        take(*block, offset, count);
    }
    return true;
}

// Whatever leaves the download, the worker is told that no more bytes come and has ended before
// the buffer it takes from goes away.
class WorkerStop {
public:
    WorkerStop(boundedBuffer& buffer, LogDBThread& worker) : buffer_(buffer), worker_(worker) {}
    ~WorkerStop() { Stop(); }
    void Stop()
    {
        buffer_.Close();
        worker_.wait();
    }

private:
    boundedBuffer& buffer_;
    LogDBThread& worker_;
};

// The raw memory's length is its size; the database's archive memory length is the logon's
// figure for the archive capacities and stays as it is.
void freeArchiveMemory(DataBase* db)
{
    std::vector<std::uint8_t>().swap(db->archiveMemory);
    db->archiveFillPosition = 0;
}

}  // namespace

void ReadALog::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Reading Log...");
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    CommDBPointFacade* facade = CommDBPointFacade::Instance();
    DataBase* db = DataBase::Instance();
    freeArchiveMemory(db);

    std::optional<BusyScope> busy;
    busy.emplace(frame());
    MemoryInfo info;
    try {
        info = facade->ReadMemoryInfo();
    } catch (...) {
        DialogService::ask(QMessageBox::Warning, "Warning", "Read memory has exception", QMessageBox::Cancel);
        throw;
    }

    const std::size_t length = unitmemory::CappedLength(info.archiveLength);
    db->archiveMemory.assign(length, 0);
    db->archiveFillPosition = 0;
    frame()->SetInt(framecomm::kLocalPBarMax, static_cast<int>(length / kBlockSize));

    // The log configuration and the locale are read here, on this thread: the worker needs
    // neither the database nor the user interface.
    boundedBuffer buffer(db->archiveMemory.data(), length);
    LogDBThread worker(LogDBMgr::Instance(), &buffer, length, LogFrameLayout::FromLogRecords(db->LogRecords()),
                       &timestamp::toDateTime);
    // The worker lets go of the raw memory once it has taken its last byte; from the start of the
    // worker on this thread touches the memory only through the buffer.
    worker.SetImageRelease([db] { std::vector<std::uint8_t>().swap(db->archiveMemory); });
    worker.start();
    WorkerStop stop(buffer, worker);

    std::size_t put = 0;
    const bool allBlocks = readMemory(
        length, kBlockSize,
        [facade](std::uint32_t offset, std::uint8_t count) { return facade->ReadArchiveBlock(offset, count); },
        [&](const MemoryBlock& block, std::uint32_t, std::uint8_t) {
            const std::size_t n = std::min<std::size_t>(block.count, length - put);
            const std::size_t stored = buffer.Put(block.data.data(), n);
            put += stored;
            db->archiveFillPosition = static_cast<std::uint32_t>(put);
        });
    const bool whole = allBlocks && put == length;
    if (whole)
        status(frame(), "Read Log Successful");

    stop.Stop();
    if (worker.Failed())
        inform(QString::fromStdString(logdownload::kWorkerErrorText + worker.ErrorText()));
    const bool complete = whole && worker.Complete();
    if (!complete)
        inform(logdownload::kIncompleteText);
    frame()->SetState(framecomm::kUpdateLogView, true);
    frame()->SetState(framecomm::kSaveLogFile, complete);
    busy.reset();
    status(frame(), "");
}

void ReadALog2::Execute()
{
    status(frame(), "Reading Log from file...");
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    {
        BusyScope busy(frame());
        frame()->SetState(framecomm::kReadALog2, true);
    }
    status(frame(), "");
}

void ReadAuditCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), "Reading Event Log...");
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    CommDBPointFacade* facade = CommDBPointFacade::Instance();
    DataBase* db = DataBase::Instance();
    std::vector<std::uint8_t>().swap(db->eventMemory);

    {
        BusyScope busy(frame(), BusyScope::Wait::NotShown);
        const MemoryInfo info = facade->ReadMemoryInfo();
        const std::size_t length = unitmemory::CappedLength(info.eventLength);
        db->eventMemory.assign(length, 0);
        frame()->SetInt(framecomm::kLocalPBarMax, static_cast<int>(length / kBlockSize));
        const bool whole = readMemory(
            length, kBlockSize,
            [facade](std::uint32_t offset, std::uint8_t count) { return facade->ReadEventBlock(offset, count); },
            [db](const MemoryBlock& block, std::uint32_t offset, std::uint8_t) {
                // A short block leaves zeros behind it: every block's bytes land at its own
                // offset, so no later event is shifted out of place.
                std::copy_n(block.data.begin(), block.count, db->eventMemory.begin() + offset);
            });
        if (whole) {
            status(frame(), "Processing Event Data...");
            frame()->SetState(framecomm::kAuditFinish, true);
        }
    }
    status(frame(), "");
}
