// The archive and event log downloads of the main window from the emulated unit through the real
// libraries, over loopback TCP: whole downloads, and a block the unit never answers.
#include "formmainfixture.h"
#include "unitlinkfixture.h"

#include "archiveviewer.h"
#include "database.h"
#include "logcommands.h"
#include "logdbmgr.h"
#include "logoncommands.h"
#include "memoryframes.h"
#include "unitemulator.h"
#include "unitmodel.h"
#include "waitwindow.h"

#include <cstring>

namespace {

constexpr int kArchiveBlock = 0x28;
constexpr int kEventBlock = 0x2C;

class LogDownloadWithUnit : public FormMainFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startUnitOnLoopback(emulator, unit));
        FormMainFixture::SetUp();
        LogDBMgr::Instance()->Clear();

        // Log 0 records Stream 1: Gain, log 1 (id 0xDE, stored escaped) Purge Time.
        const LogRecord records[2] = {{0, 1, 60, 0x21, 2, {0, 21}}, {1, 1, 60, 0xDE, 2, {0, 10}}};
        for (int k = 0; k < 2; ++k) {
            QByteArray bytes(sizeof(LogRecord), '\0');
            std::memcpy(bytes.data(), &records[k], sizeof(LogRecord));
            unit->setLogRecord(k, bytes);
        }
        unit->setValue(21, 2.25);
        unit->setValue(10, 0xDEDE);
        memoryframes::Plan plan;
        plan.records = 400;
        plan.wrap = 150;
        unit->setArchive(unit->makeArchive(plan));
        plan.records = 300;
        unit->setEvents(memoryframes::events(plan));

        modals.answers = {ScriptedModals::press("btnUpdate"), ScriptedModals::password("qe$3916")};
        form->tbtnLogonClick();
        ASSERT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
        // What "ReadLogConfig" leaves in the database before the archive viewer downloads.
        for (int k = 0; k < 2; ++k)
            DataBase::Instance()->LogRecords()[static_cast<std::size_t>(k)] = records[k];
        unit->clearReceived();
        testenv::dialogs().clear();
    }

    void TearDown() override
    {
        FormMainFixture::TearDown();
        LogDBMgr::ReleaseInstance();
        LogonCommand::SetSettleDelay(LogonCommand::kSettleMs);
        emulator.reset();
    }

    // The message boxes shown; the save dialog that the archive viewer opens after every download
    // is no message.
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const auto& shown : testenv::dialogs().shown())
            if (shown.kind == DialogService::Kind::Message)
                texts << shown.text;
        return texts;
    }

    static bool saveDialogShown()
    {
        for (const auto& shown : testenv::dialogs().shown())
            if (shown.kind == DialogService::Kind::SaveFile && shown.caption == "Save Sentrel515 Archive File")
                return true;
        return false;
    }

    UnitModel* unit = nullptr;
    std::unique_ptr<UnitEmulator> emulator;
};

}  // namespace

TEST_F(LogDownloadWithUnit, WholeArchiveAndEventDownloads)
{
    engine()->ExecuteCommand("ReadALog", "");
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
    const int archiveBlocks = static_cast<int>((unit->archive().size() + 199) / 200);
    EXPECT_EQ(unit->receivedCount(kArchiveBlock), archiveBlocks);
    EXPECT_EQ(form->LocalPBarMax(), static_cast<int>(unit->archive().size() / 200));
    LogDBMgr* logs = LogDBMgr::Instance();
    ASSERT_EQ(logs->RecordCount(), 400u);
    EXPECT_EQ(logs->Count(0), 200);
    EXPECT_EQ(logs->Count(1), 200);
    for (std::size_t i = 1; i < logs->RecordCount(); ++i)
        ASSERT_LT(logs->Record(i - 1).rawTime, logs->Record(i).rawTime);
    EXPECT_EQ(logs->Record(0).ValueText(logs->Record(0).logIndex == 0 ? 0 : 8),
              logs->Record(0).logIndex == 0 ? "2.25" : std::to_string(0xDEDE));

    engine()->ExecuteCommand("ReadAudit", "");
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
    const QByteArray events = unit->events();
    DataBase* db = DataBase::Instance();
    ASSERT_EQ(db->eventMemory.size(), static_cast<std::size_t>(events.size()));
    EXPECT_EQ(0, std::memcmp(db->eventMemory.data(), events.constData(), db->eventMemory.size()));
    EXPECT_TRUE(enabled("tbtnLogoff"));
}

TEST_F(LogDownloadWithUnit, ABlockThatNeverAnswersEndsTheDownloadWithWhatArrived)
{
    UnitModel::MessageFault silent;
    silent.requestType = kArchiveBlock;
    silent.kind = UnitModel::MessageFault::Kind::Silence;
    silent.after = 5;
    silent.times = 0;
    unit->addFault(silent);

    // The save is offered in its own words, and declined: no file dialog follows.
    testenv::dialogs().answerButton(QMessageBox::Ok);
    testenv::dialogs().answerButton(QMessageBox::Ok);
    testenv::dialogs().answerButton(QMessageBox::No);
    engine()->ExecuteCommand("ReadALog", "");
    EXPECT_EQ(shownTexts(), (QStringList{"read device memory fail.", logdownload::kIncompleteText,
                                         TfraArchiveViewer::kIncompleteSaveQuestion}));
    EXPECT_FALSE(saveDialogShown());
    // Three attempts of two sends each for the silent block, nothing after it.
    EXPECT_EQ(unit->receivedCount(kArchiveBlock), 5 + 3 * 2);
    const std::size_t filed = LogDBMgr::Instance()->RecordCount();
    EXPECT_GT(filed, 0u);
    EXPECT_LT(filed, 400u);
    EXPECT_FALSE(TWait::Instance()->isVisible());

    // The link still works for the next download, whose save dialog comes without a question.
    unit->clearFaults();
    testenv::dialogs().clear();
    engine()->ExecuteCommand("ReadALog", "");
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
    EXPECT_TRUE(saveDialogShown());
    EXPECT_EQ(LogDBMgr::Instance()->RecordCount(), 400u);
}
