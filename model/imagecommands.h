#pragma once

#include "command.h"

#include <QFile>
#include <QString>
#include <cstdint>

struct MemoryBlock;

// How a firmware image is cut into blocks. The last byte of the image file is never sent (the
// unit receives, and returns, the first size - 1 bytes); the final block is sent even when it
// carries nothing.
struct ImageTransferPlan {
    static constexpr int kBlockSize = 200;

    explicit ImageTransferPlan(qint64 fileSize);

    qint64 transferred = 0;  // size - 1
    qint64 fullBlocks = 0;
    int last = 0;         // 0-199: the count of the final block
    qint64 requests = 0;  // fullBlocks + 1

    std::uint32_t offset(qint64 block) const { return static_cast<std::uint32_t>(block * kBlockSize); }
    int count(qint64 block) const { return block < fullBlocks ? kBlockSize : last; }
};

// How an image command ended, for the flow that queued it.
enum class ImageOutcome {
    NotRun,   // not logged on, or not executed since the file name was given
    Refused,  // the image file is missing, empty, too short or unreadable: nothing was sent
    Failed,   // a block could not be transferred; the rest were not tried
    Done,
};

// The read-back file of the firmware flows, in the data directory.
constexpr char kReadBackFile[] = "515rb.tmp";

// The absolute path of one of the upgrade's files in the data directory; empty when there is no
// data directory (the upgrade then touches no file rather than one in some other folder).
QString UpgradeDataFile(const QString& name);

// The pieces the two image commands share: the image file name they were given and how their
// last execution ended.
class ImageCommand : public Command {
public:
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    const QString& FileName() const { return fileName_; }
    ImageOutcome Outcome() const { return outcome_; }
    // True when the last execution told the user of its failure in a message box.
    bool FailureShown() const { return failureShown_; }

    std::any SaveFields() const override { return fileName_; }
    void LoadFields(const std::any& fields) override { fileName_ = std::any_cast<QString>(fields); }

protected:
    // Opens the image for reading and takes its length; false (after telling the user why)
    // when no block may be transferred for it.
    bool OpenImage(QFile& image);
    // Shows a failure in a plain message box.
    void Tell(const QString& text);
    // The upgrade window's progress bar, when that window exists.
    void ResetUpgradeProgress(int maximum);
    void StepUpgradeProgress();

    QString fileName_;
    ImageOutcome outcome_ = ImageOutcome::NotRun;
    bool failureShown_ = false;
};

// "WriteImage": sends the image to the unit block by block, and after each block polls the unit
// until it has stored it.
class WriteImageCommand : public ImageCommand {
public:
    static constexpr int kMaxPolls = 80;
    static constexpr int kPollPauseMs = 200;

    void Execute() override;
    // Sends the block and waits until the unit has stored it; false on failure (already shown).
    bool WriteBlock(const MemoryBlock& block, QFile& image);

    // The pause after each poll; the unit needs it. Tests shorten it.
    static void SetPollPause(int ms) { pollPauseMs_ = ms; }

private:
    static int pollPauseMs_;
};

// "ReadImage": reads back as many bytes as "WriteImage" sent into the read-back file in the data
// directory, for the flow to compare with the image.
class ReadImageCommand : public ImageCommand {
public:
    void Execute() override;
    // Reads one block and appends its data to the read-back file; false on failure (shown).
    bool ReadBlock(std::uint32_t offset, int count, QFile& readBack);
    std::int32_t ImageLength() const { return imageLength_; }

private:
    std::int32_t imageLength_ = 0;
};

// "UpgradeCommand": connects to the unit without reading it, so that an upgrade can start from
// the off-line state.
class UpgradeCommand : public Command {
public:
    void Execute() override;
};
