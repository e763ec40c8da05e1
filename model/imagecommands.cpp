#include "imagecommands.h"

#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "datadir.h"
#include "dialogservice.h"
#include "framecomm.h"
#include "logoncommands.h"
#include "pollcommands.h"
#include "unitcommandsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <optional>
#include <stdexcept>

using unitcommand::status;

int WriteImageCommand::pollPauseMs_ = WriteImageCommand::kPollPauseMs;

namespace {

constexpr char kMissing[] = "Image file doesn't exist!\n";
constexpr char kEmpty[] = "Image file length is zero!";
// One byte would send nothing: the last byte of an image is never transferred.
constexpr char kTooShort[] = "Image file is too short!";

}  // namespace

QString UpgradeDataFile(const QString& name)
{
    return datadir::filePath(name);
}

ImageTransferPlan::ImageTransferPlan(qint64 fileSize)
{
    transferred = fileSize > 0 ? fileSize - 1 : 0;
    fullBlocks = transferred / kBlockSize;
    last = static_cast<int>(transferred - kBlockSize * fullBlocks);
    requests = fullBlocks + 1;
}

void ImageCommand::Tell(const QString& text)
{
    failureShown_ = true;
    DialogService::showMessage(text);
}

bool ImageCommand::OpenImage(QFile& image)
{
    outcome_ = ImageOutcome::Refused;
    image.setFileName(fileName_);
    if (fileName_.isEmpty() || !QFileInfo(fileName_).isFile()) {
        failureShown_ = true;
        DialogService::warn(kMissing);
        return false;
    }
    if (!image.open(QIODevice::ReadOnly)) {
        Tell("Image file can't be opened!\n" + image.errorString());
        return false;
    }
    const qint64 size = image.size();
    if (size <= 0) {
        Tell(kEmpty);
        return false;
    }
    if (size < 2) {
        Tell(kTooShort);
        return false;
    }
    return true;
}

void ImageCommand::ResetUpgradeProgress(int maximum)
{
    frame()->SetInt(framecomm::kUpgradeProgressMax, maximum);
}

void ImageCommand::StepUpgradeProgress()
{
    frame()->SetInt(framecomm::kUpgradeProgressStep, 1);
}

// --- WriteImage -------------------------------------------------------------------------------

void WriteImageCommand::Execute()
{
    outcome_ = ImageOutcome::NotRun;
    failureShown_ = false;
    FrameComm* window = frame();
    if (window->GetBool(framecomm::kLoggingOn))
        return;
    status(window, "Writing Image...");
    QFile image;
    if (!OpenImage(image))
        return;
    const ImageTransferPlan plan(image.size());
    window->SetInt(framecomm::kLocalPBarMax, static_cast<int>(plan.requests));
    ResetUpgradeProgress(static_cast<int>(2 * plan.requests));

    std::optional<unitcommand::BusyScope> scope(std::in_place, window, unitcommand::BusyScope::Wait::NotShown);
    outcome_ = ImageOutcome::Failed;
    for (qint64 i = 0; i < plan.requests; ++i) {
        const bool final = i == plan.fullBlocks;
        MemoryBlock block;
        try {
            block.offset = plan.offset(i);
            block.count = static_cast<std::uint8_t>(plan.count(i));
            // A file that shrank under us must not send zeros as firmware.
            if (image.read(reinterpret_cast<char*>(block.data.data()), block.count) != block.count)
                throw std::runtime_error("short read");
        } catch (...) {
            Tell(final ? " Write Image fail!" : "Write Image fail!");
            return;
        }
        if (!WriteBlock(block, image))
            return;
    }
    image.close();
    outcome_ = ImageOutcome::Done;
    status(window, "Write Image Finished.");
    scope.reset();
    status(window, "");
}

bool WriteImageCommand::WriteBlock(const MemoryBlock& block, QFile&)
{
    FrameComm* window = frame();
    CommDBPointFacade* facade = CommDBPointFacade::Instance();
    try {
        facade->WriteImageBlock(block);
    } catch (...) {
        Tell(" Write Image fail!");
        return false;
    }
    bool busy = true;
    for (int polls = 0; busy && polls < kMaxPolls; ++polls) {
        status(window, "Writing Image...");
        try {
            busy = facade->FinishImageWrite();
        } catch (...) {
            window->SetInt(framecomm::kLocalPBarMax, 0);
            status(window, "Write Image fail!");
            return false;
        }
        QThread::msleep(static_cast<unsigned long>(pollPauseMs_));
    }
    if (busy) {
        window->SetInt(framecomm::kLocalPBarMax, 1);
        status(window, "Write Image fail!");
        return false;
    }
    status(window, "Writing Image...");
    StepUpgradeProgress();
    return true;
}

// --- ReadImage --------------------------------------------------------------------------------

void ReadImageCommand::Execute()
{
    outcome_ = ImageOutcome::NotRun;
    failureShown_ = false;
    FrameComm* window = frame();
    if (window->GetBool(framecomm::kLoggingOn))
        return;
    status(window, "Reading Image...");
    datadir::makeCurrent();
    imageLength_ = 0;
    outcome_ = ImageOutcome::Refused;
    // Always by its full path: whatever folder a file dialog left current, the read-back file
    // belongs to the data directory.
    QFile readBack(UpgradeDataFile(kReadBackFile));
    if (!readBack.fileName().isEmpty())
        QFile::remove(readBack.fileName());
    if (readBack.fileName().isEmpty() || !readBack.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Tell("The read-back file " + readBack.fileName() + " can't be created.\n" + readBack.errorString());
        return;
    }
    QFile image;
    if (!OpenImage(image))
        return;
    imageLength_ = static_cast<std::int32_t>(std::min<qint64>(image.size(), INT32_MAX));
    image.close();

    const ImageTransferPlan plan(imageLength_);
    window->SetInt(framecomm::kLocalPBarMax, static_cast<int>(plan.requests));
    outcome_ = ImageOutcome::Failed;
    for (qint64 i = 0; i < plan.requests; ++i) {
        bool read = false;
        try {
            read = ReadBlock(plan.offset(i), plan.count(i), readBack);
        } catch (...) {
            Tell(i == plan.fullBlocks ? " Read Image fail!" : "Read Image fail!");
            return;
        }
        if (!read)
            return;
    }
    readBack.close();
    outcome_ = ImageOutcome::Done;
    status(window, "Read Image Finished.");
    status(window, "");
}

bool ReadImageCommand::ReadBlock(std::uint32_t offset, int count, QFile& readBack)
{
    try {
        const MemoryBlock block =
            CommDBPointFacade::Instance()->ReadImageBlock(offset, static_cast<std::uint8_t>(count));
        // More bytes than were asked for is not the block that was asked for.
        if (block.count > count)
            throw CommStatusError(commstatus::kUnexpectedResponse);
        if (readBack.write(reinterpret_cast<const char*>(block.data.data()), block.count) != block.count)
            throw std::runtime_error("read-back file not written");
    } catch (...) {
        Tell(" Read Image fail!");
        return false;
    }
    StepUpgradeProgress();
    status(frame(), "Reading Image...");
    return true;
}

// --- UpgradeCommand ---------------------------------------------------------------------------

void UpgradeCommand::Execute()
{
    FrameComm* window = frame();
    status(window, "Logon...");
    window->SetState(framecomm::kDisablePages, true);
    DataBase::Instance();
    Communications* comms = Communications::Instance();

    int result = 1;
    try {
        result = OpenLinkForLogon(comms);
    } catch (...) {
        window->SetState(framecomm::kEnablePages, true);
        ReportLogonFailure(window);
        return;
    }
    if (result != 0) {
        window->SetState(framecomm::kEnablePages, true);
        if (result == 1)
            DialogService::showMessage("Logon cancelled.");
        return;
    }
    window->SetState(framecomm::kEnablePages, true);
    ReportLogonSuccess(window);
}
