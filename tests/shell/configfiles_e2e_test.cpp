// Save, Save As and Open of the main window: logged off against the database alone, logged on
// against the emulated unit through the real libraries over loopback TCP.
#include "formmainfixture.h"
#include "unitlinkfixture.h"

#include "configfile.h"
#include "database.h"
#include "logoncommands.h"
#include "pollcommands.h"
#include "qadvcolumngrid.h"
#include "unitemulator.h"
#include "unitmodel.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr char kWrongFile[] = "Configuration File Is Wrong!";
constexpr char kBusy[] = "Please wait for current task to finish, then proceed.";
constexpr char kNotWritten[] =
    "The configuration was not written completely into the unit; it was not stored "
    "permanently and the analyzer was not rebooted.";

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

class ConfigFiles : public FormMainFixture {
protected:
    // The message boxes shown, without the file dialogs.
    static QStringList messages()
    {
        QStringList texts;
        for (const auto& shown : testenv::dialogs().shown())
            if (shown.kind == DialogService::Kind::Message)
                texts << shown.text;
        return texts;
    }
    static int fileDialogs()
    {
        int n = 0;
        for (const auto& shown : testenv::dialogs().shown())
            n += shown.kind != DialogService::Kind::Message;
        return n;
    }
    std::vector<std::string> ranOf(std::initializer_list<const char*> names) const
    {
        std::vector<std::string> out;
        for (const auto& name : ran)
            for (const char* wanted : names)
                if (name == wanted)
                    out.push_back(name);
        return out;
    }

    QTemporaryDir dir;
};

class ConfigFilesWithUnit : public ConfigFiles {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startUnitOnLoopback(emulator, unit));
        ConfigFiles::SetUp();
    }

    void TearDown() override
    {
        ConfigFiles::TearDown();
        LogonCommand::SetSettleDelay(LogonCommand::kSettleMs);
        StopPolling = false;
        emulator.reset();
    }

    void logOn()
    {
        modals.answers = {ScriptedModals::press("btnReadOnly")};
        form->tbtnLogonClick();
        ASSERT_FALSE(form->GetBool("LoggingOn")) << messages().join(" | ").toStdString();
        // Nothing polls behind the file operations.
        form->PageControlMain()->setCurrentIndex(5);
        testenv::dialogs().clear();
        unit->clearReceived();
        ran.clear();
    }

    // The commands of the write road that another part of the program brings, as stand-ins that
    // end as the real ones do.
    void writeStandIns(bool directSucceeds)
    {
        standIn("WriteDirect", [this] { directParam = engine()->FindCommand("WriteDirect")->GetParam(); });
        succeeds("WriteDirect", directSucceeds);
        standIn({"WriteConfig", "Reboot"});
    }

    // A configuration file whose blocks differ from what the unit holds.
    QString fileWithBlocks()
    {
        DataBase* db = DataBase::Instance();
        SequencerConfiguration s = db->GetSequencer().GetImage();
        s.Enable = 1;
        s.Depth = 2;
        s.Automatic[1] = {2, 3};
        db->GetSequencer().SetImage(s);
        db->GetSequencer().Publish();
        TimerXConfiguration t = db->GetTimerXManager().GetImage();
        t.Timers[4].ScheduleHour = 17;
        db->GetTimerXManager().SetImage(t);
        db->GetTimerXManager().Publish();
        db->LogRecords()[3].LogIDCode = 41;
        const QString path = dir.filePath("unit.cfg");
        EXPECT_TRUE(SaveConfigurationFile(path));
        sequencerInFile = QByteArray(reinterpret_cast<const char*>(&s), sizeof s);
        timersInFile = QByteArray(reinterpret_cast<const char*>(&t), sizeof t);
        // What the window holds now differs from the file.
        db->GetSequencer().SetImage({});
        db->GetTimerXManager().SetImage({});
        return path;
    }

    UnitModel* unit = nullptr;
    std::unique_ptr<UnitEmulator> emulator;
    std::string directParam;
    QByteArray sequencerInFile;
    QByteArray timersInFile;
};

}  // namespace

// --- logged off ------------------------------------------------------------------------------

TEST_F(ConfigFiles, LoggedOffSaveWritesTheDatabaseAndSaveThenReusesTheFile)
{
    DataBase::Instance()->LogRecords()[1].LogIDCode = 57;
    const QString path = dir.filePath("first");  // the dialog adds the extension
    testenv::dialogs().answerText(path);
    form->tbtnSaveClick();
    const QString saved = path + ".cfg";
    ASSERT_TRUE(QFile::exists(saved)) << messages().join(" | ").toStdString();
    EXPECT_TRUE(fileContent(saved).contains("LogIDCode=\"57\""));
    EXPECT_EQ(form->SaveDialogFileName(), saved);
    EXPECT_EQ(form->StatusPanelText(0), "Configuration successfully saved to file \"" + saved + "\"");
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].text, "Sentrel515 Configuration (*.cfg *.CFG)");

    // The file exists: the next Save writes to it without a dialog.
    DataBase::Instance()->LogRecords()[1].LogIDCode = 58;
    form->tbtnSaveClick();
    EXPECT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_TRUE(fileContent(saved).contains("LogIDCode=\"58\""));
}

// A page that refuses to store its edits stops a logged-off save: the file would not hold them.
TEST_F(ConfigFiles, APageThatRefusesItsEditsStopsTheSave)
{
    auto* grid = new QAdvColumnGrid(form->PageControlMain()->widget(0));
    grid->BeforePost = [](QAdvColumnGrid*, bool& canPost) { canPost = false; };
    const QString kept = dir.filePath("kept.cfg");
    writeFile(kept, "previous");
    const QString fresh = dir.filePath("fresh.cfg");

    testenv::dialogs().answerText(fresh);
    form->tbtnSaveClick();
    testenv::dialogs().answerText(kept);
    testenv::dialogs().answerButton(QMessageBox::Yes);
    form->tbtnSaveAsClick();

    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(fileContent(kept), "previous");
    EXPECT_EQ(messages(), QStringList{"File with this name already exists, do you want to overwrite?\n"});
    EXPECT_FALSE(form->StatusPanelText(0).startsWith("Configuration successfully saved"));
}

TEST_F(ConfigFiles, SaveAsAsksBeforeReplacingAndAFailedSaveKeepsTheFile)
{
    const QString path = dir.filePath("kept.cfg");
    writeFile(path, "previous");
    testenv::dialogs().answerText(path);
    testenv::dialogs().answerButton(QMessageBox::No);
    form->tbtnSaveAsClick();
    EXPECT_EQ(messages(), QStringList{"File with this name already exists, do you want to overwrite?\n"});
    EXPECT_EQ(fileContent(path), "previous");

    testenv::dialogs().clear();
    testenv::dialogs().answerText(dir.filePath("no/such/folder.cfg"));
    form->tbtnSaveAsClick();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(
        messages()[0].startsWith("Configuration could not be saved to file \"" + dir.filePath("no/such/folder.cfg")));
    EXPECT_FALSE(form->StatusPanelText(0).startsWith("Configuration successfully saved"));
}

TEST_F(ConfigFiles, LoggedOffOpenAppliesASoundFileAndRefusesAWrongOne)
{
    DataBase* db = DataBase::Instance();
    db->LogRecords()[2].Frequency = 900;
    const QString good = dir.filePath("good.cfg");
    ASSERT_TRUE(SaveConfigurationFile(good));
    db->LogRecords()[2].Frequency = 1;
    testenv::dialogs().answerText(good);
    form->tbtnOpenClick();
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    EXPECT_EQ(db->LogRecords()[2].Frequency, 900);
    EXPECT_EQ(form->LoadedPointCount(), 977);
    EXPECT_EQ(form->SaveDialogFileName(), good);
    EXPECT_EQ(db->GetDatabaseConfigFileTypeID(), "Sentrel515 DataBase Confi");  // its 25-character field
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Open Sentrel515 Configuraiton File");
    EXPECT_TRUE(form->Button("tbtnSave")->isEnabled());
    EXPECT_TRUE(form->Button("tbtnSaveAs")->isEnabled());

    // A wrong file changes nothing and says so, logged off too.
    QByteArray broken = fileContent(good).replace("Frequency=\"900\"", "Frequency=\"70000\"");
    const QString wrong = dir.filePath("wrong.cfg");
    writeFile(wrong, broken);
    db->LogRecords()[2].Frequency = 5;
    testenv::dialogs().clear();
    testenv::dialogs().answerText(wrong);
    form->tbtnOpenClick();
    EXPECT_EQ(messages(), QStringList{kWrongFile});
    EXPECT_EQ(db->LogRecords()[2].Frequency, 5);
    EXPECT_EQ(form->SaveDialogFileName(), good);
}

TEST_F(ConfigFiles, ACancelledOpenStillOffersSave)
{
    form->tbtnOpenClick();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(form->Button("tbtnSave")->isEnabled());
    EXPECT_TRUE(form->Button("tbtnSaveAs")->isEnabled());
}

TEST_F(ConfigFiles, NothingStartsWhileACommandRunsOrWaits)
{
    standIn("Busy", [this] {
        // The engine runs this command and holds another in its queue.
        engine()->ExecuteCommand("Waiting", "");
        form->tbtnSaveClick();
        form->tbtnSaveAsClick();
        form->tbtnOpenClick();
    });
    standIn("Waiting");
    engine()->ExecuteCommand("Busy", "");
    EXPECT_EQ(messages(), (QStringList{kBusy, kBusy, kBusy}));
    EXPECT_EQ(fileDialogs(), 0);
    ASSERT_EQ(testenv::dialogs().shown().size(), 3u);
    EXPECT_EQ(testenv::dialogs().shown()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    EXPECT_EQ(ranOf({"Busy", "Waiting"}), (std::vector<std::string>{"Busy", "Waiting"}));
}

TEST_F(ConfigFiles, ThePermanentWriteGoesOnOnlyAfterTheChangesAreAccepted)
{
    standIn({"WriteMain", "WriteConfig", "ExpressRead"});
    auto& changes = DataBase::Instance()->GetChangeList();
    changes.Add(WriteLogRecordsManager::kTimerBlockId);
    modals.answers = {ScriptedModals::press("Button2"), ScriptedModals::press("Button1")};
    form->SetDefaultConfigClick();
    EXPECT_EQ(ranOf({"WriteConfig"}).size(), 0u);
    EXPECT_EQ(changes.Ids().size(), 1u);
    form->SetDefaultConfigClick();
    EXPECT_EQ(ranOf({"WriteConfig"}).size(), 1u);
    EXPECT_TRUE(changes.Ids().empty());
    EXPECT_EQ(modals.captions, (QStringList{"Confirm Changes", "Confirm Changes"}));
}

// --- logged on -------------------------------------------------------------------------------

TEST_F(ConfigFilesWithUnit, LoggedOnSaveReadsTheUnitFirst)
{
    logOn();
    QByteArray record(22, '\0');
    record[0] = 4;
    record[4] = 73;
    unit->setLogRecord(4, record);
    const QString path = dir.filePath("fromunit.cfg");
    testenv::dialogs().answerText(path);
    form->tbtnSaveClick();
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    EXPECT_GT(unit->receivedCount(0x32), 10) << "every point is read";
    EXPECT_EQ(unit->receivedCount(0x24), 6);
    EXPECT_TRUE(
        fileContent(path).contains("<LogRecord LOG_NUMBER=\"4\"><LOG Enable=\"0\" Frequency=\"0\" "
                                   "LogIDCode=\"73\""));
}

TEST_F(ConfigFilesWithUnit, AFailedReadBeforeASaveWritesNoFile)
{
    logOn();
    const QString path = dir.filePath("stale.cfg");
    writeFile(path, "previous");
    UnitModel::MessageFault fault;
    fault.requestType = 0x24;
    fault.kind = UnitModel::MessageFault::Kind::Silence;
    fault.times = 0;
    unit->addFault(fault);
    testenv::dialogs().answerText(path);
    testenv::dialogs().answerButton(QMessageBox::Yes);
    form->tbtnSaveAsClick();
    EXPECT_EQ(messages(),
              (QStringList{"File with this name already exists, do you want to overwrite?\n", "Read Log Config. error!",
                           "The configuration could not be read from the unit; the file was not saved."}));
    EXPECT_EQ(fileContent(path), "previous");
}

TEST_F(ConfigFilesWithUnit, OpeningAGoodFileAndAnsweringYesWritesItMakesItPermanentAndReboots)
{
    logOn();
    writeStandIns(true);
    const QString path = fileWithBlocks();
    testenv::dialogs().answerText(path);
    testenv::dialogs().answerButton(QMessageBox::Yes);
    form->tbtnOpenClick();
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 2) << shown.join(" | ").toStdString();
    EXPECT_EQ(shown[0],
              "Do you wish to write this configuration into the unit?\n"
              "If the answer is NO, only the GUI will be updated with the configuration file.");
    EXPECT_EQ(shown[1],
              "Please press OK button.\n"
              "After pressing OK button, analyzer will automatically reboot, and GUI will LOG OFF.\n"
              "After reboot, you will have to LOG ON again.");
    EXPECT_EQ(ranOf({"WriteDirect", "WriteConfig", "Reboot"}),
              (std::vector<std::string>{"WriteDirect", "WriteConfig", "Reboot"}));
    EXPECT_EQ(directParam, "977");
    EXPECT_EQ(unit->receivedCount(0x26), 6);
    EXPECT_EQ(static_cast<std::uint8_t>(unit->logRecord(3)[4]), 41);
    EXPECT_EQ(unit->sequencer(), sequencerInFile);
    EXPECT_EQ(unit->timers(), timersInFile);
    EXPECT_TRUE(form->GetBool("LoggingOn")) << "logged off";
    EXPECT_TRUE(form->Button("tbtnSave")->isEnabled());
}

TEST_F(ConfigFilesWithUnit, AnsweringNoLeavesTheUnitUntouched)
{
    logOn();
    writeStandIns(true);
    const QString path = fileWithBlocks();
    testenv::dialogs().answerText(path);
    testenv::dialogs().answerButton(QMessageBox::No);
    form->tbtnOpenClick();
    EXPECT_TRUE(ranOf({"WriteDirect", "WriteConfig", "Reboot"}).empty());
    EXPECT_TRUE(unit->received().empty());
    EXPECT_EQ(DataBase::Instance()->GetTimerXManager().GetImage().Timers[4].ScheduleHour, 17);
    EXPECT_FALSE(form->GetBool("LoggingOn"));
}

TEST_F(ConfigFilesWithUnit, AWrongFileLoggedOnAsksNothingMoreAndSendsNothing)
{
    logOn();
    writeStandIns(true);
    const QString path = dir.filePath("garbage.cfg");
    writeFile(path, "<ConfigurationDatabase><TimerXConfiguration/></ConfigurationDatabase>");
    testenv::dialogs().answerText(path);
    form->tbtnOpenClick();
    EXPECT_EQ(messages(), QStringList{kWrongFile});
    EXPECT_TRUE(unit->received().empty());
    EXPECT_TRUE(ran.empty());
}

// Each step of the write road runs only after the one before it succeeded.
TEST_F(ConfigFilesWithUnit, AFailedStepStopsBeforeTheFlashWriteAndTheReboot)
{
    struct Case {
        const char* what;
        bool directSucceeds;
        int faultType;
        std::vector<std::string> ran;
        int sequencerWrites;
    };
    const std::vector<Case> cases = {
        {"direct write fails", false, 0, {"WriteDirect"}, 0},
        {"log record refused", true, 0x26, {"WriteDirect"}, 0},
        {"sequencer refused", true, 0x3E, {"WriteDirect"}, 1},
        {"timers refused", true, 0x42, {"WriteDirect"}, 1},
    };
    logOn();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeStandIns(c.directSucceeds);
        const QString path = fileWithBlocks();
        unit->clearFaults();
        if (c.faultType) {
            UnitModel::MessageFault fault;
            fault.requestType = c.faultType;
            fault.kind = UnitModel::MessageFault::Kind::AnswerType;
            unit->addFault(fault);
        }
        unit->clearReceived();
        ran.clear();
        testenv::dialogs().clear();
        testenv::dialogs().answerText(path);
        testenv::dialogs().answerButton(QMessageBox::Yes);
        form->tbtnOpenClick();
        EXPECT_EQ(ranOf({"WriteDirect", "WriteConfig", "Reboot"}), c.ran);
        EXPECT_EQ(unit->receivedCount(0x3E), c.sequencerWrites);
        ASSERT_FALSE(messages().isEmpty());
        EXPECT_TRUE(messages().last().startsWith(kNotWritten)) << messages().join(" | ").toStdString();
        EXPECT_FALSE(form->GetBool("LoggingOn")) << "still logged on";
    }
}
