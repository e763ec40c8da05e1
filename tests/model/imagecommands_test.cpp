// The firmware image commands against the emulated unit behind the real device messages: the
// blocks they send, the busy polls, the read-back file and their failures.
#include "imagecommands.h"
#include "commandfixture.h"
#include "formmain.h"

#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>
#include <algorithm>

namespace {

constexpr std::uint8_t kWriteBlock = 0x2E;
constexpr std::uint8_t kPoll = 0x30;
constexpr std::uint8_t kReadBlock = 0x3A;

QByteArray imageBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return bytes;
}

class ImageCommandTest : public CommandFixture<> {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        WriteImageCommand::SetPollPause(0);
        writer = engine->Find<WriteImageCommand>("WriteImage");
        reader = engine->Find<ReadImageCommand>("ReadImage");
        readBack = SecurityChk::Instance()->DataFilePath(kReadBackFile);
        QFile::remove(readBack);
    }
    void TearDown() override
    {
        WriteImageCommand::SetPollPause(WriteImageCommand::kPollPauseMs);
        CommandFixture::TearDown();
    }

    QString imageFile(const QByteArray& bytes, const char* name = "image.bin")
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    void transfer(const QString& path)
    {
        writer->SetFileName(path);
        reader->SetFileName(path);
        engine->ExecuteCommand("WriteImage", "");
        engine->ExecuteCommand("ReadImage", "");
    }

    // The (offset, count) of every block request of a type, in order.
    std::vector<std::pair<std::uint32_t, int>> blocks(std::uint8_t type) const
    {
        std::vector<std::pair<std::uint32_t, int>> out;
        for (const auto& m : link.sent)
            if (m[1] == type)
                out.emplace_back(m[2] | m[3] << 8 | m[4] << 16 | static_cast<std::uint32_t>(m[5]) << 24, m[6]);
        return out;
    }

    QByteArray readBackBytes() const
    {
        QFile file(readBack);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    WriteImageCommand* writer = nullptr;
    ReadImageCommand* reader = nullptr;
    QString readBack;
};

}  // namespace

TEST(ImageTransferPlan, TheLastByteIsNeverSentAndTheFinalBlockAlwaysIs)
{
    struct Case {
        qint64 size, fullBlocks;
        int last;
        qint64 requests;
    };
    for (const Case& c : {Case{1, 0, 0, 1}, Case{2, 0, 1, 1}, Case{201, 1, 0, 2}, Case{400, 1, 199, 2},
                          Case{401, 2, 0, 3}, Case{450, 2, 49, 3}, Case{1001, 5, 0, 6}}) {
        SCOPED_TRACE(c.size);
        const ImageTransferPlan plan(c.size);
        EXPECT_EQ(plan.fullBlocks, c.fullBlocks);
        EXPECT_EQ(plan.last, c.last);
        EXPECT_EQ(plan.requests, c.requests);
        EXPECT_EQ(plan.offset(plan.fullBlocks), 200 * c.fullBlocks);
    }
}

TEST_F(ImageCommandTest, BlocksGoToTheUnitAndComeBackIntoTheReadBackFile)
{
    using Blocks = std::vector<std::pair<std::uint32_t, int>>;
    const std::vector<std::pair<int, Blocks>> cases = {
        {201, {{0, 200}, {200, 0}}},
        {400, {{0, 200}, {200, 199}}},
        {401, {{0, 200}, {200, 200}, {400, 0}}},
        {450, {{0, 200}, {200, 200}, {400, 49}}},
        {1001, {{0, 200}, {200, 200}, {400, 200}, {600, 200}, {800, 200}, {1000, 0}}},
    };
    for (const auto& [size, expected] : cases) {
        SCOPED_TRACE(size);
        link.sent.clear();
        frame.calls.clear();
        link.unit.setImage({});
        const QByteArray bytes = imageBytes(size);
        const QString path = imageFile(bytes);
        transfer(path);
        EXPECT_EQ(blocks(kWriteBlock), expected);
        EXPECT_EQ(blocks(kReadBlock), expected);
        EXPECT_EQ(link.countType(kPoll), static_cast<int>(expected.size()))
            << "one poll per block when the unit is quick";
        EXPECT_EQ(link.unit.image(), bytes.left(size - 1));
        EXPECT_EQ(readBackBytes(), bytes.left(size - 1));
        EXPECT_TRUE(TFormMain::CompareImageFiles(path, readBack));
        EXPECT_EQ(writer->Outcome(), ImageOutcome::Done);
        EXPECT_EQ(reader->Outcome(), ImageOutcome::Done);
        EXPECT_EQ(reader->ImageLength(), size);
        const int requests = static_cast<int>(expected.size());
        EXPECT_EQ(frame.upgradeMaximum, 2 * requests);
        EXPECT_EQ(frame.upgradeValue, 2 * requests) << "the write fills one half, the read-back the other";
        EXPECT_TRUE(frame.has("localPBarMax=" + std::to_string(requests)));
    }
    // The write's own texts and states, in order, for the last image.
    const std::vector<std::string> head(frame.calls.begin(), frame.calls.begin() + 4);
    EXPECT_EQ(head, (std::vector<std::string>{"StatusLineSpecialPanel:Writing Image...", "localPBarMax=6",
                                              "DisablePages=1", "StatusLineSpecialPanel:Writing Image..."}));
    EXPECT_TRUE(frame.has("StatusLineSpecialPanel:Write Image Finished."));
    EXPECT_TRUE(frame.has("StatusLineSpecialPanel:Read Image Finished."));
    EXPECT_EQ(frame.calls.back(), "StatusLineSpecialPanel:");
    EXPECT_TRUE(testenv::dialogs().texts().isEmpty());
}

TEST_F(ImageCommandTest, TheUnitIsPolledUntilItHasStoredEachBlockAndNoLonger)
{
    link.unit.setImageBusyPolls(3);
    const QString path = imageFile(imageBytes(401));
    writer->SetFileName(path);
    engine->ExecuteCommand("WriteImage", "");
    EXPECT_EQ(writer->Outcome(), ImageOutcome::Done);
    EXPECT_EQ(link.countType(kWriteBlock), 3);
    EXPECT_EQ(link.countType(kPoll), 3 * 4);
    // Each poll follows its block: no block is sent while the unit is still storing one.
    int pollsSinceBlock = 0;
    for (const auto& m : link.sent) {
        if (m[1] == kWriteBlock) {
            EXPECT_TRUE(&m == &link.sent.front() || pollsSinceBlock == 4);
            pollsSinceBlock = 0;
        } else if (m[1] == kPoll) {
            ++pollsSinceBlock;
        }
    }
}

TEST_F(ImageCommandTest, AUnitThatNeverStoresTheBlockIsPolledEightyTimesThenTheWriteStops)
{
    link.unit.setImageNeverStored(true);
    const QString path = imageFile(imageBytes(401));
    writer->SetFileName(path);
    engine->ExecuteCommand("WriteImage", "");
    EXPECT_EQ(link.countType(kWriteBlock), 1) << "no further block";
    EXPECT_EQ(link.countType(kPoll), 80);
    EXPECT_EQ(writer->Outcome(), ImageOutcome::Failed);
    EXPECT_FALSE(writer->FailureShown());
    const std::vector<std::string> tail(frame.calls.end() - 4, frame.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"StatusLineSpecialPanel:Writing Image...", "localPBarMax=1",
                                              "StatusLineSpecialPanel:Write Image fail!", "EnablePages=1"}));
    EXPECT_TRUE(testenv::dialogs().texts().isEmpty()) << "the status line tells it";
}

TEST_F(ImageCommandTest, LinkFailuresEndTheTransferWithTheirTexts)
{
    const QString path = imageFile(imageBytes(401));
    writer->SetFileName(path);
    reader->SetFileName(path);

    // The block itself cannot be sent.
    link.failWithStatus = 4;
    engine->ExecuteCommand("WriteImage", "");
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{" Write Image fail!"});
    EXPECT_EQ(link.countType(kPoll), 0);
    EXPECT_TRUE(writer->FailureShown());
    EXPECT_EQ(frame.calls.back(), "EnablePages=1");

    // A poll fails.
    testenv::dialogs().clear();
    link.sent.clear();
    UnitModel::MessageFault silence;
    silence.requestType = kPoll;
    link.unit.addFault(silence);
    engine->ExecuteCommand("WriteImage", "");
    EXPECT_EQ(link.countType(kWriteBlock), 1);
    EXPECT_TRUE(frame.has("localPBarMax=0"));
    EXPECT_TRUE(frame.has("StatusLineSpecialPanel:Write Image fail!"));
    EXPECT_EQ(writer->Outcome(), ImageOutcome::Failed);

    // A block cannot be read back: the rest are not asked for, and the file is incomplete.
    link.sent.clear();
    UnitModel::MessageFault reject;
    reject.requestType = kReadBlock;
    reject.kind = UnitModel::MessageFault::Kind::Reject;
    reject.after = 1;
    link.unit.addFault(reject);
    engine->ExecuteCommand("ReadImage", "");
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{" Read Image fail!"});
    EXPECT_EQ(link.countType(kReadBlock), 2);
    EXPECT_EQ(reader->Outcome(), ImageOutcome::Failed);
    EXPECT_FALSE(TFormMain::CompareImageFiles(path, readBack));
}

TEST_F(ImageCommandTest, MissingEmptyAndOneByteImagesSendNothing)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {dir.filePath("none.bin"), "Image file doesn't exist!\n"},
        {imageFile({}, "empty.bin"), "Image file length is zero!"},
        {imageFile("x", "one.bin"), "Image file is too short!"},
    };
    for (const auto& [path, text] : cases) {
        SCOPED_TRACE(text.toStdString());
        testenv::dialogs().clear();
        // A read-back left from before is replaced by an empty one, whatever the image.
        QFile old(readBack);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stale");
        old.close();
        transfer(path);
        EXPECT_EQ(testenv::dialogs().texts(), (QStringList{text, text}));
        EXPECT_EQ(link.sent.size(), 0u);
        EXPECT_EQ(writer->Outcome(), ImageOutcome::Refused);
        EXPECT_EQ(reader->Outcome(), ImageOutcome::Refused);
        EXPECT_EQ(readBackBytes(), QByteArray());
        // Only the missing file is a warning.
        EXPECT_EQ(testenv::dialogs().shown()[0].caption == "Warning", text.startsWith("Image file doesn't"));
    }
}

TEST_F(ImageCommandTest, NothingIsTransferredWhileLoggedOff)
{
    frame.loggingOn = true;
    transfer(imageFile(imageBytes(401)));
    EXPECT_TRUE(link.sent.empty());
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_EQ(writer->Outcome(), ImageOutcome::NotRun);
}

TEST_F(ImageCommandTest, ACorruptedReadBackByteFailsTheCompare)
{
    const QByteArray bytes = imageBytes(450);
    const QString path = imageFile(bytes);
    link.unit.setImageCorruptAt(333);
    transfer(path);
    EXPECT_EQ(reader->Outcome(), ImageOutcome::Done);
    EXPECT_EQ(readBackBytes().size(), 449);
    EXPECT_FALSE(TFormMain::CompareImageFiles(path, readBack));
    link.unit.setImageCorruptAt(-1);
    engine->ExecuteCommand("ReadImage", "");
    EXPECT_TRUE(TFormMain::CompareImageFiles(path, readBack));
}

TEST_F(ImageCommandTest, TheCompareWantsTheImageOneByteLongerAndIgnoresItsLastByte)
{
    const QString image = imageFile("abcdX", "a.bin");
    const auto compare = [&](const QByteArray& back) {
        return TFormMain::CompareImageFiles(image, imageFile(back, "back.tmp"));
    };
    EXPECT_TRUE(compare("abcd"));
    EXPECT_TRUE(TFormMain::CompareImageFiles(imageFile("abcdY", "b.bin"), dir.filePath("back.tmp")));
    EXPECT_FALSE(compare("abcdX")) << "equal sizes";
    EXPECT_FALSE(compare("abc")) << "two bytes shorter";
    EXPECT_FALSE(compare("abce"));
    EXPECT_FALSE(TFormMain::CompareImageFiles(image, dir.filePath("nothing.tmp")));
}

TEST_F(ImageCommandTest, UpgradeLogonRefusedLeavesTheUserOffLine)
{
    // Without its library the link refuses every connection.
    QTemporaryDir empty;
    Communications::InstallInstance(std::make_unique<Communications>(empty.path()));
    testenv::dialogs().clear();
    engine->ExecuteCommand("UpgradeCommand", "");
    Communications::ReleaseInstance();
    ASSERT_FALSE(testenv::dialogs().texts().isEmpty());
    EXPECT_EQ(testenv::dialogs().texts().back(), "Logon cancelled.");
    EXPECT_EQ(frame.calls,
              (std::vector<std::string>{"StatusLineSpecialPanel:Logon...", "DisablePages=1", "EnablePages=1"}));
    EXPECT_TRUE(link.sent.empty()) << "no point is read";
}
