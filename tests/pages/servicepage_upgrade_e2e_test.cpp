// The service page's three firmware upgrade steps in the main window, logged on to the emulated
// unit: the configuration kept before the change, the image written and verified, and the kept
// configuration merged back into the unit.
#include "pagefixture.h"

#include "boardtester.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "imagecommands.h"
#include "ridovaz.h"
#include "startup.h"
#include "upgradefiles.h"
#include "upgradewindow.h"
#include "writecommands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kUpgradeServiceTab = 15;
constexpr char kBusy[] = "Please wait for current task to finish, then proceed.";

QString dataFile(const QString& name)
{
    return QDir(testenv::dataHome()).filePath("KVT515/" + name);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The merge copies in the data directory with the ending.
QStringList copies(const char* ending)
{
    return QDir(dataFile({})).entryList({QString("*") + ending}, QDir::Files);
}

class ServiceUpgrade : public PageWithUnit {
protected:
    void SetUp() override
    {
        for (const char* ending : {upgradefiles::kPreMerge, upgradefiles::kPostMerge})
            for (const QString& name : copies(ending))
                QFile::remove(dataFile(name));
        for (const char* name : {TfmUpgrade::kStatusFile, TfmUpgrade::kOldConfigFile, kReadBackFile})
            QFile::remove(dataFile(name));
        WriteImageCommand::SetPollPause(0);
        WriteConfigCommand::SetPollDelay(1);
        PageWithUnit::SetUp();
        standIn("Reboot");
        upgrade = shellwindows::Get<TfmUpgrade>("fmUpgrade");
        ASSERT_NE(upgrade, nullptr);
    }
    void TearDown() override
    {
        PageWithUnit::TearDown();
        WriteImageCommand::SetPollPause(WriteImageCommand::kPollPauseMs);
        WriteConfigCommand::SetPollDelay(WriteConfigCommand::kPollMs);
        RestartRequested = false;
    }

    TfraBoardTester* page() const { return qobject_cast<TfraBoardTester*>(form->Frame(kUpgradeServiceTab)); }

    void onTheTab()
    {
        logOn();
        enterTab(kUpgradeServiceTab);
        ASSERT_NE(page(), nullptr);
        testenv::dialogs().clear();
        unit->clearReceived();
    }

    bool buttonsEnabled() const
    {
        for (int step = 1; step <= 3; ++step)
            if (!page()->FirmwareButton(step)->isEnabledTo(page()->FirmwareGroup()))
                return false;
        return true;
    }

    // Writable configuration points that the unit holds as integers: what a merge must bring back.
    std::vector<std::uint16_t> configIntegers(std::size_t wanted) const
    {
        std::vector<std::uint16_t> ids;
        for (int id = 3; id < 2000 && ids.size() < wanted; ++id) {
            const DatabasePoint* p = DataBase::Instance()->GetPointById(id);
            bool number = false;
            QString::fromStdString(DataBase::Instance()->GetPointText(id)).toLongLong(&number);
            if (p && (p->GetUsageFlags() & ridovaz::kUseConfig) && p->IsWritable() && number &&
                unit->value(static_cast<std::uint16_t>(id)).typeId() == QMetaType::LongLong)
                ids.push_back(static_cast<std::uint16_t>(id));
        }
        return ids;
    }

    QString image(int size)
    {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 + 3);
        const QString path = dir.filePath("firmware.bin");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    TfmUpgrade* upgrade = nullptr;
};

}  // namespace

TEST_F(ServiceUpgrade, StepOneSavesTheUnitsConfigurationAndASafelyNamedCopy)
{
    unit->setValue(0, QString("A7/../x"));
    unit->setValue(1, QString("North\tSite"));
    unit->setValue(2, QString(".."));
    onTheTab();
    // Changed behind the program's back: the step reads the unit, not what logon read.
    const auto ids = configIntegers(3);
    ASSERT_EQ(ids.size(), 3u);
    for (const auto id : ids)
        unit->setValue(id, unit->value(id).toLongLong() + 1);

    page()->btnReadOldConfigClick();
    EXPECT_TRUE(testenv::dialogs().texts().isEmpty()) << testenv::dialogs().texts().join(" | ").toStdString();
    const QString saved = dataFile(TfmUpgrade::kOldConfigFile);
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "1\n0\n0\n");
    EXPECT_TRUE(upgrade->StageFlag(1) && upgrade->StageFlag(2) && !upgrade->StageFlag(3));
    EXPECT_TRUE(upgrade->AskOnHide());
    EXPECT_TRUE(upgrade->isVisible());
    EXPECT_TRUE(buttonsEnabled());

    // The file is the unit's configuration: loaded into a database of other values, it gives
    // back the unit's.
    std::map<std::uint16_t, qint64> inUnit;
    for (const auto id : ids) {
        inUnit[id] = unit->value(id).toLongLong();
        DataBase::Instance()->GetPointById(id)->SetAndNotify("0");
    }
    ASSERT_EQ(form->LoadConfigurationFile(saved), 0);
    for (const auto id : ids)
        EXPECT_EQ(DataBase::Instance()->GetPointText(id), std::to_string(inUnit[id])) << id;

    const QStringList pre = copies(upgradefiles::kPreMerge);
    ASSERT_EQ(pre.size(), 1);
    EXPECT_TRUE(pre[0].startsWith("A7___x_North_Site___")) << pre[0].toStdString();
    EXPECT_EQ(readFile(dataFile(pre[0])), readFile(saved));
}

TEST_F(ServiceUpgrade, AFailedReadInStepOneSavesNothingAndMarksNothing)
{
    onTheTab();
    UnitModel::MessageFault fault;
    fault.requestType = 0x24;
    fault.kind = UnitModel::MessageFault::Kind::Silence;
    fault.times = 0;
    unit->addFault(fault);
    page()->btnReadOldConfigClick();
    EXPECT_TRUE(
        testenv::dialogs().texts().contains("The configuration could not be read from the unit; it was not saved."))
        << testenv::dialogs().texts().join(" | ").toStdString();
    EXPECT_FALSE(QFile::exists(dataFile(TfmUpgrade::kOldConfigFile)));
    EXPECT_FALSE(readFile(dataFile(TfmUpgrade::kStatusFile)).startsWith("1"));
    EXPECT_FALSE(upgrade->StageFlag(1));
    EXPECT_EQ(CommandLine::Instance()->GetStep(0)->GetState(), Step::Idle);
    EXPECT_TRUE(copies(upgradefiles::kPreMerge).isEmpty());
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ServiceUpgrade, AStepIsRefusedWhileACommandRuns)
{
    onTheTab();
    standIn("Busy", [this] { page()->btnReadOldConfigClick(); });
    form->Queue("Busy", "");
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{kBusy});
    EXPECT_FALSE(QFile::exists(dataFile(TfmUpgrade::kOldConfigFile)));
}

TEST_F(ServiceUpgrade, StepTwoWritesAndVerifiesTheImageThenRecordsAndRestarts)
{
    onTheTab();
    page()->btnReadOldConfigClick();
    testenv::dialogs().clear();
    const QString path = image(401);
    testenv::dialogs().answerText(path);
    testenv::dialogs().answerButton(QMessageBox::Ok);
    page()->btnWriteFirmwareClick();
    EXPECT_EQ(testenv::dialogs().texts().size(), 2) << testenv::dialogs().texts().join(" | ").toStdString();
    EXPECT_EQ(unit->image(), readFile(path).left(400));
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "1\n1\n0\n");
    EXPECT_FALSE(QFile::exists(dataFile(kReadBackFile)));
    EXPECT_TRUE(RestartRequested);
    EXPECT_EQ(CommandLine::Instance()->GetStep(1)->GetState(), Step::Done);
}

TEST_F(ServiceUpgrade, ACorruptedReadBackByteFailsStepTwoWithoutMarkingTheStage)
{
    onTheTab();
    page()->btnReadOldConfigClick();
    testenv::dialogs().clear();
    unit->setImageCorruptAt(123);
    testenv::dialogs().answerText(image(401));
    page()->btnWriteFirmwareClick();
    EXPECT_TRUE(testenv::dialogs().texts().contains("Verification fail! Please Write Image again."))
        << testenv::dialogs().texts().join(" | ").toStdString();
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "1\n0\n0\n");
    EXPECT_NE(CommandLine::Instance()->GetStep(1)->GetState(), Step::Done);
    EXPECT_FALSE(RestartRequested);
    EXPECT_TRUE(form->LoggedOn()) << "the page's step leaves the user where he was";
    EXPECT_TRUE(form->PageControlMain()->isEnabled());
    EXPECT_FALSE(upgrade->isVisible());
    EXPECT_TRUE(upgrade->AskOnHide());
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ServiceUpgrade, StepThreeWritesTheKeptConfigurationIntoTheUnit)
{
    onTheTab();
    const auto ids = configIntegers(4);
    ASSERT_EQ(ids.size(), 4u);
    std::map<std::uint16_t, qint64> kept;
    for (const auto id : ids)
        kept[id] = unit->value(id).toLongLong();
    page()->btnReadOldConfigClick();
    ASSERT_TRUE(QFile::exists(dataFile(TfmUpgrade::kOldConfigFile)));
    // The new firmware came up with other values.
    for (const auto id : ids)
        unit->setValue(id, kept[id] + 2);
    const int flashWrites = unit->counters().flashWrites;
    testenv::dialogs().clear();

    page()->btnMergeFirmwareClick();
    EXPECT_EQ(testenv::dialogs().texts(),
              QStringList{"Please power cycle your analyzer.\n"
                          "After pressing OK button, GUI will automatically LOG OFF.\n"
                          "After power cycling the analyzer, you will have to LOG ON again."});
    for (const auto id : ids)
        EXPECT_EQ(unit->value(id).toLongLong(), kept[id]) << id;
    EXPECT_EQ(unit->counters().flashWrites, flashWrites + 1);
    EXPECT_FALSE(QFile::exists(dataFile(TfmUpgrade::kOldConfigFile)));
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "0\n0\n0\n");
    EXPECT_EQ(copies(upgradefiles::kPostMerge).size(), 1);
    EXPECT_FALSE(form->LoggedOn());
    EXPECT_TRUE(buttonsEnabled());

    // A second merge finds nothing to merge (and reads nothing, so the window's logged-on state
    // is enough).
    testenv::dialogs().clear();
    reportLoggedOn();
    page()->btnMergeFirmwareClick();
    EXPECT_EQ(testenv::dialogs().texts(),
              QStringList{"Please Read Old Configuration, \n\nand then Write Firmware.\n\nThanks."});
}

TEST_F(ServiceUpgrade, AFailingWriteInStepThreeKeepsTheFilesAndSaysSo)
{
    onTheTab();
    page()->btnReadOldConfigClick();
    const QByteArray saved = readFile(dataFile(TfmUpgrade::kOldConfigFile));
    const QByteArray record = readFile(dataFile(TfmUpgrade::kStatusFile));
    testenv::dialogs().clear();
    UnitModel::MessageFault fault;
    fault.requestType = 0x04;
    fault.kind = UnitModel::MessageFault::Kind::Reject;
    fault.times = 0;
    unit->addFault(fault);
    const int flashWrites = unit->counters().flashWrites;

    page()->btnMergeFirmwareClick();
    const QString told = testenv::dialogs().texts().join(" | ");
    EXPECT_TRUE(told.contains("was not written completely into the unit")) << told.toStdString();
    EXPECT_TRUE(told.contains(TfmUpgrade::kOldConfigFile)) << told.toStdString();
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kOldConfigFile)), saved);
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), record);
    EXPECT_EQ(unit->counters().flashWrites, flashWrites) << "nothing half-written is made permanent";
    EXPECT_TRUE(copies(upgradefiles::kPostMerge).isEmpty());
    EXPECT_TRUE(form->PageControlMain()->isEnabled());
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ServiceUpgrade, CancellingTheImageChoiceLogsOffAndRestartsTheProgram)
{
    onTheTab();
    page()->btnReadOldConfigClick();
    testenv::dialogs().clear();
    page()->btnWriteFirmwareClick();
    EXPECT_EQ(testenv::dialogs().texts().last(), "Upgrade firmware was terminated. Application will restart.");
    EXPECT_EQ(unit->receivedCount(0x2E), 0);
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "1\n0\n0\n");
    EXPECT_FALSE(form->LoggedOn());
    EXPECT_TRUE(RestartRequested);
}

TEST_F(ServiceUpgrade, AMergeWithoutRecordedFirmwareAsksAndNoSendsNothing)
{
    onTheTab();
    page()->btnReadOldConfigClick();
    upgrade->SetStageFlag(2, false);  // as after a restart with only stage 1 recorded
    testenv::dialogs().clear();
    unit->clearReceived();
    testenv::dialogs().answerButton(QMessageBox::No);
    page()->btnMergeFirmwareClick();
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{"Have you written new Firmware? Continue?"});
    EXPECT_TRUE(unit->received().empty());
    EXPECT_TRUE(QFile::exists(dataFile(TfmUpgrade::kOldConfigFile)));
    EXPECT_TRUE(form->LoggedOn());
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ServiceUpgrade, WhileAStepRunsOnlyItsOwnButtonStaysEnabled)
{
    onTheTab();
    std::vector<bool> during;
    standIn("ReadLogConfig", [&] {
        for (int step = 1; step <= 3; ++step)
            during.push_back(page()->FirmwareButton(step)->isEnabledTo(page()->FirmwareGroup()));
    });
    page()->btnReadOldConfigClick();
    EXPECT_EQ(during, (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(buttonsEnabled());
}
