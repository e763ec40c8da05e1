// The firmware upgrade from the tool bar against the emulated unit behind the real device
// messages, and the upgrade status window with its checklist and its status file.
#include "formmainfixture.h"

#include "commdbpointfacade.h"
#include "imagecommands.h"
#include "pointfixture.h"
#include "securitychk.h"
#include "startup.h"
#include "upgradefiles.h"
#include "upgradewindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

constexpr std::uint32_t kBlack = CommandLine::kIdleColour;
constexpr std::uint32_t kYellow = CommandLine::kBlinkColour;
constexpr std::uint32_t kBlue = CommandLine::kDoneColour;
const char* const kLabels[] = {"belStep2", "step2", "Step2_1", "Step2_2"};

const QString kFinalQuestion =
    "If firmware writing and verification were successful, please press OK button.\n"
    "After pressing OK button, analyzer will automatically reboot, and GUI will restart.\n"
    "After reboot, you have to LOG ON again.";

QString dataFile(const char* name)
{
    return QDir(testenv::dataHome()).filePath(QString("KVT515/") + name);
}

void writeUpgradeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The message boxes shown, without the file dialogs.
QStringList messages()
{
    QStringList texts;
    for (const auto& shown : testenv::dialogs().shown())
        if (shown.kind == DialogService::Kind::Message)
            texts << shown.text;
    return texts;
}

std::uint32_t colour(TfmUpgrade* window, const char* label)
{
    return CommandLine::PaintedColour(window->Label(label));
}

// The main window with the real image commands over the emulated unit; the logon, logoff and
// reboot are stand-ins that report what the real ones would.
class UpgradeFlowTest : public FormMainFixture {
protected:
    void SetUp() override
    {
        QFile::remove(dataFile(TfmUpgrade::kStatusFile));
        QFile::remove(dataFile(TfmUpgrade::kOldConfigFile));
        QFile::remove(dataFile(kReadBackFile));
        CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));
        WriteImageCommand::SetPollPause(0);
        FormMainFixture::SetUp();
        standIn("UpgradeCommand", [this] { reportLoggedOn(); });
        standIn("Logoff", [this] {
            form->SetState("tbtnLogon", true);
            form->SetState("tbtnLogoff", false);
            form->SetState("EnablePages", true);
        });
        standIn("Reboot");
        upgrade = shellwindows::Get<TfmUpgrade>("fmUpgrade");
        back = shellwindows::Window("Back");
        ASSERT_NE(upgrade, nullptr);
        form->show();
    }
    void TearDown() override
    {
        FormMainFixture::TearDown();
        WriteImageCommand::SetPollPause(WriteImageCommand::kPollPauseMs);
        RestartRequested = false;
    }

    QString image(int size)
    {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 13 + 1);
        const QString path = dir.filePath("firmware.bin");
        writeUpgradeFile(path, bytes);
        return path;
    }

    // Starts the flow with the old configuration saved and the image chosen.
    void upgradeWith(const QString& imageFile, QMessageBox::StandardButton finalAnswer = QMessageBox::Cancel)
    {
        writeUpgradeFile(dataFile(TfmUpgrade::kOldConfigFile), "<ConfigurationDatabase/>");
        testenv::dialogs().answerText(imageFile);
        testenv::dialogs().answerButton(finalAnswer);
        form->tbtnUpgradeClick();
    }

    // What every way out that keeps the program leaves: logged off, windows hidden, pages and
    // the upgrade button enabled again.
    void expectAborted()
    {
        EXPECT_TRUE(enabled("tbtnLogon"));
        EXPECT_TRUE(enabled("tbtnUpgrade"));
        EXPECT_TRUE(form->PageControlMain()->isEnabled());
        EXPECT_EQ(form->ModeDisp()->text(), "OFF LINE");
        EXPECT_FALSE(upgrade->isVisible());
        EXPECT_FALSE(back->isVisible());
        EXPECT_TRUE(form->isVisible()) << "the program stays";
    }

    TableLink link;
    QTemporaryDir dir;
    TfmUpgrade* upgrade = nullptr;
    QWidget* back = nullptr;
};

}  // namespace

TEST_F(UpgradeFlowTest, AVerifiedImageIsRecordedAndOkRebootsTheUnitAndRestarts)
{
    const QString path = image(401);
    upgradeWith(path, QMessageBox::Ok);
    EXPECT_EQ(messages(), QStringList{kFinalQuestion});
    EXPECT_EQ(testenv::dialogs().shown().back().caption, "Warning");
    EXPECT_EQ(ran, (std::vector<std::string>{"UpgradeCommand", "Reboot", "Logoff"}));
    EXPECT_EQ(link.unit.image(), readFile(path).left(400));
    EXPECT_EQ(link.countType(0x3A), 3);
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "1\n1\n0\n");
    EXPECT_FALSE(QFile::exists(dataFile(kReadBackFile)));
    for (const char* label : kLabels)
        EXPECT_EQ(colour(upgrade, label), kBlue) << label;
    EXPECT_EQ(upgrade->Progress()->value(), 6);
    EXPECT_TRUE(RestartRequested);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(upgrade->isVisible());
    EXPECT_TRUE(upgrade->AskOnHide());

    // The new copy of the program finds the stages and shows the window about 1.1 s after start.
    form.reset();
    shellwindows::DestroyAll();
    shellwindows::CreateStartupWindows();
    form = std::make_unique<TFormMain>();
    form->FormCreate();
    auto* again = shellwindows::Get<TfmUpgrade>("fmUpgrade");
    EXPECT_TRUE(again->StageFlag(1) && again->StageFlag(2) && !again->StageFlag(3));
    for (int tick = 0; tick < 11; ++tick)
        form->Timer1Timer();
    EXPECT_TRUE(again->isVisible());
    EXPECT_TRUE(shellwindows::Existing("Back")->isVisible());
    EXPECT_TRUE(form->MenuItem("UpgradeWindow")->isChecked());
    for (const char* label : kLabels)
        EXPECT_EQ(colour(again, label), kBlue) << label;
}

namespace {
// The scripted dialogs, with a file dialog that leaves another folder current, as a real one may.
class WanderingDialogs : public DialogService {
public:
    WanderingDialogs(ScriptedDialogService& scripted, QString folder) : scripted_(scripted), folder_(std::move(folder))
    {}
    QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        return scripted_.message(icon, caption, text, buttons, defaultButton);
    }
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override
    {
        QDir::setCurrent(folder_);
        return scripted_.openFileName(caption, dir, filter);
    }
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override
    {
        return scripted_.saveFileName(caption, dir, filter);
    }
    bool inputText(const QString& caption, const QString& prompt, QString& value, bool password) override
    {
        return scripted_.inputText(caption, prompt, value, password);
    }
    int execDialog(QDialog& dialog) override { return scripted_.execDialog(dialog); }

private:
    ScriptedDialogService& scripted_;
    QString folder_;
};
}  // namespace

TEST_F(UpgradeFlowTest, TheReadBackFileIsTouchedOnlyInTheDataDirectory)
{
    QTemporaryDir elsewhere;
    writeUpgradeFile(QDir(elsewhere.path()).filePath(kReadBackFile), "not ours");
    ScriptedDialogService& scripted = testenv::dialogs();
    WanderingDialogs wandering(scripted, elsewhere.path());
    link.unit.setImageCorruptAt(3);  // the read-back then stays for inspection
    writeUpgradeFile(dataFile(TfmUpgrade::kOldConfigFile), "<ConfigurationDatabase/>");
    scripted.answerText(image(401));
    DialogService::install(&wandering);
    form->tbtnUpgradeClick();
    DialogService::install(&scripted);
    EXPECT_EQ(messages(), QStringList{"Verification fail! Please Write Image again."});
    EXPECT_EQ(readFile(QDir(elsewhere.path()).filePath(kReadBackFile)), "not ours");
    EXPECT_EQ(readFile(dataFile(kReadBackFile)).size(), 400);
    EXPECT_EQ(QDir::currentPath(), QDir(testenv::dataHome()).filePath("KVT515"));
}

TEST_F(UpgradeFlowTest, CancelInTheFinalBoxClosesWithoutRebootButKeepsTheRecord)
{
    upgradeWith(image(1001));
    EXPECT_EQ(ran, (std::vector<std::string>{"UpgradeCommand", "Logoff"}));
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "1\n1\n0\n");
    EXPECT_FALSE(RestartRequested);
    EXPECT_FALSE(form->isVisible()) << "the program ends";
}

TEST_F(UpgradeFlowTest, AnUpgradeWhileLoggedOnPollsNoMoreFromItsStart)
{
    reportLoggedOn();
    engine()->SetPollingEnabled(true);
    bool pollingAtReboot = true;
    standIn("Reboot", [&] { pollingAtReboot = engine()->IsPollingEnabled(); });
    upgradeWith(image(201), QMessageBox::Ok);
    EXPECT_EQ(ran, (std::vector<std::string>{"Reboot", "Logoff"})) << "already logged on: no upgrade logon";
    EXPECT_FALSE(pollingAtReboot) << "no poll read may come between the image commands";
}

TEST_F(UpgradeFlowTest, WithoutTheOldConfigurationNoEndsLoggedOffAndYesGoesOn)
{
    const QByteArray before = readFile(dataFile(TfmUpgrade::kStatusFile));
    testenv::dialogs().answerButton(QMessageBox::No);
    form->tbtnUpgradeClick();
    EXPECT_EQ(shownTexts(),
              QStringList{"Are you sure you want to write firmware without Reading Old Configuration first?"});
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Warning");
    EXPECT_EQ(ran, (std::vector<std::string>{"UpgradeCommand", "Logoff"}));
    expectAborted();
    EXPECT_TRUE(link.sent.empty());

    testenv::dialogs().clear();
    ran.clear();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    testenv::dialogs().answerText(image(201));
    form->tbtnUpgradeClick();
    EXPECT_EQ(link.countType(0x2E), 2);
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "1\n1\n0\n");
    EXPECT_NE(before, "1\n1\n0\n");
}

TEST_F(UpgradeFlowTest, CancellingTheFileDialogLogsOffAndLeavesTheRecord)
{
    const QByteArray before = readFile(dataFile(TfmUpgrade::kStatusFile));
    writeUpgradeFile(dataFile(TfmUpgrade::kOldConfigFile), "<ConfigurationDatabase/>");
    form->tbtnUpgradeClick();
    ASSERT_EQ(testenv::dialogs().shown().size(), 2u);
    EXPECT_EQ(testenv::dialogs().shown()[0].kind, DialogService::Kind::OpenFile);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Open Sentrel515 Firmware File");
    EXPECT_EQ(testenv::dialogs().shown()[1].text, "Upgrade firmware was terminated. GUI will LOG OFF.");
    expectAborted();
    EXPECT_FALSE(upgrade->AskOnHide()) << "the flow cleared it and this way out leaves it";
    EXPECT_FALSE(upgrade->IsStagePending()) << "no stage is claimed for firmware that was never written";
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), before);
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(UpgradeFlowTest, ACorruptedReadBackFailsVerificationAndKeepsTheReadBackFile)
{
    const QByteArray before = readFile(dataFile(TfmUpgrade::kStatusFile));
    link.unit.setImageCorruptAt(250);
    upgradeWith(image(450));
    EXPECT_EQ(messages(), QStringList{"Verification fail! Please Write Image again."});
    expectAborted();
    EXPECT_EQ(ran, (std::vector<std::string>{"UpgradeCommand", "Logoff"}));
    EXPECT_EQ(readFile(dataFile(kReadBackFile)).size(), 449) << "kept for inspection";
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), before);
    EXPECT_TRUE(upgrade->AskOnHide());
    EXPECT_EQ(colour(upgrade, "step2"), kBlue) << "the write itself was done";
}

TEST_F(UpgradeFlowTest, AFailedWriteStopsBeforeTheReadBack)
{
    link.unit.setImageNeverStored(true);
    upgradeWith(image(401));
    EXPECT_EQ(link.countType(0x30), 80);
    EXPECT_EQ(link.countType(0x3A), 0) << "nothing is read back";
    EXPECT_EQ(messages(), QStringList{"Write Image fail!"});
    expectAborted();

    // A block the unit refuses: the command's own box is the only one.
    testenv::dialogs().clear();
    link.unit.setImageNeverStored(false);
    link.sent.clear();
    UnitModel::MessageFault reject;
    reject.requestType = 0x2E;
    reject.kind = UnitModel::MessageFault::Kind::Reject;
    link.unit.addFault(reject);
    upgradeWith(image(401));
    EXPECT_EQ(messages(), QStringList{" Write Image fail!"});
    EXPECT_EQ(link.countType(0x3A), 0);
    expectAborted();
}

TEST_F(UpgradeFlowTest, AMissingImageIsReportedAndNothingIsSent)
{
    upgradeWith(dir.filePath("gone.bin"));
    EXPECT_EQ(messages(), QStringList{"Image file doesn't exist!\n"});
    EXPECT_TRUE(link.sent.empty());
    expectAborted();
}

TEST_F(UpgradeFlowTest, AFailedUpgradeLogonEndsSilently)
{
    standIn("UpgradeCommand");  // the connection was refused: the Logon button stays enabled
    form->tbtnUpgradeClick();
    EXPECT_TRUE(shownTexts().isEmpty());
    EXPECT_EQ(form->ModeDisp()->text(), "OFF LINE");
    EXPECT_TRUE(enabled("tbtnUpgrade"));
    EXPECT_EQ(ran, (std::vector<std::string>{"UpgradeCommand"}));
}

TEST_F(UpgradeFlowTest, TheUpgradeIsRefusedWhileACommandRuns)
{
    standIn("ExpressRead", [this] { form->tbtnUpgradeClick(); });
    engine()->ExecuteCommand("ExpressRead", "");
    EXPECT_EQ(shownTexts(), QStringList{"Please wait for current task to finish, then proceed."});
    EXPECT_EQ(ran, (std::vector<std::string>{"ExpressRead"}));
}

// --- the status window ------------------------------------------------------------------------

class UpgradeWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::dialogs().clear();
        QFile::remove(dataFile(TfmUpgrade::kStatusFile));
        QFile::remove(dataFile(TfmUpgrade::kOldConfigFile));
        TfmUpgrade::ResetBlinkPhase();
    }
    void TearDown() override
    {
        shellwindows::DestroyAll();
        testenv::dialogs().clear();
    }
    // The window as the program creates it at start, from the status file as it is.
    TfmUpgrade* start()
    {
        shellwindows::DestroyAll();
        shellwindows::CreateStartupWindows();
        return shellwindows::Get<TfmUpgrade>("fmUpgrade");
    }
};

TEST_F(UpgradeWindowTest, TheStatusFileSetsTheStagesAndTheLabelsAtStart)
{
    struct Case {
        QByteArray file;
        bool pending;
        std::array<bool, 3> flags;
        std::uint32_t labels;
    };
    const std::vector<Case> cases = {
        {"1\n0\n0\n", true, {true, false, false}, kBlue},
        {"1\n1\n0\n", true, {true, true, false}, kBlue},
        {"0\n0\n1\n", false, {false, false, false}, kBlack},
        {"0\n0\n0\n", false, {false, false, false}, kBlack},
        {"2\n0\n0\n", false, {false, false, false}, kBlack},
        {" 1 \n01\nx\n", true, {true, true, false}, kBlue},
        {"1", true, {true, false, false}, kBlue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        writeUpgradeFile(dataFile(TfmUpgrade::kStatusFile), c.file);
        TfmUpgrade* window = start();
        EXPECT_EQ(window->IsStagePending(), c.pending);
        for (int stage = 1; stage <= 3; ++stage)
            EXPECT_EQ(window->StageFlag(stage), c.flags[stage - 1]) << stage;
        for (const char* label : kLabels)
            EXPECT_EQ(colour(window, label), c.labels) << label;
        EXPECT_TRUE(window->AskOnHide());
        EXPECT_FALSE(window->isVisible());
    }

    // Missing: created with three clear stages.
    QFile::remove(dataFile(TfmUpgrade::kStatusFile));
    EXPECT_FALSE(start()->IsStagePending());
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "0\n0\n0\n");
}

TEST_F(UpgradeWindowTest, TheStatusFileCannotBeWrittenWhereNoFileCanBe)
{
    TfmUpgrade* window = start();
    window->SetStageFlag(1, true);
    EXPECT_EQ(window->WriteStatusFile(dataFile("no/such/folder/UpgradeStatus.dat")), 1);
    EXPECT_EQ(window->ReadStatusFile(dataFile("no/such/folder/UpgradeStatus.dat")), 1);
    EXPECT_TRUE(window->StageFlag(1)) << "the flags stay as they were";
}

TEST_F(UpgradeWindowTest, InProgressBlinksBlackThenYellowAndDoneStaysBlue)
{
    TfmUpgrade* window = start();
    CommandLine* list = CommandLine::Instance();
    ASSERT_EQ(list->GetStepCount(), 3);
    list->SetStepState(1, 0, Step::InProgress);
    window->Timer1Timer();
    EXPECT_EQ(colour(window, "step2"), kBlack);
    window->Timer1Timer();
    EXPECT_EQ(colour(window, "step2"), kYellow);
    EXPECT_EQ(colour(window, "belStep2"), kYellow) << "the step itself is in progress too";
    list->SetStepState(1, 0, Step::Done);
    EXPECT_EQ(colour(window, "step2"), kBlue);
    window->Timer1Timer();
    window->Timer1Timer();
    EXPECT_EQ(colour(window, "step2"), kBlue) << "done no longer blinks";
    EXPECT_EQ(colour(window, "belStep2"), kYellow) << "the title keeps its last blink colour";

    list->SetStepState(2, -1, Step::Done);
    for (const char* label : kLabels)
        EXPECT_EQ(colour(window, label), kBlue) << label;
    list->SetStepState(2, 5, Step::Done);  // no such sub-step: nothing happens
    list->SetStepState(2, -1, Step::Idle);
    for (const char* label : kLabels)
        EXPECT_EQ(colour(window, label), kBlack) << label;

    // The blink runs only while the window is shown.
    EXPECT_FALSE(window->Timer1()->isActive());
    window->show();
    EXPECT_TRUE(window->Timer1()->isActive());
    EXPECT_EQ(window->Timer1()->interval(), 1000);
    window->hide();
    EXPECT_FALSE(window->Timer1()->isActive());
}

TEST_F(UpgradeWindowTest, TheHideButtonAsksAndKeepsTheOldConfigurationUnlessToldOtherwise)
{
    const QString question = "Delete historical record and do not display this message automaticlly again?";
    writeUpgradeFile(dataFile(TfmUpgrade::kStatusFile), "1\n1\n0\n");
    writeUpgradeFile(dataFile(TfmUpgrade::kOldConfigFile), "<ConfigurationDatabase/>");

    // No: only hidden.
    TfmUpgrade* window = start();
    window->ShowWithBackground();
    testenv::dialogs().answerButton(QMessageBox::No);
    window->HideBClick();
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{question});
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(shellwindows::Existing("Back")->isVisible());
    EXPECT_EQ(readFile(dataFile(TfmUpgrade::kStatusFile)), "1\n1\n0\n");

    // Yes: the record goes; the old configuration only after its own question, naming it.
    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    testenv::dialogs().answerButton(QMessageBox::No);
    window->HideBClick();
    const QStringList texts = testenv::dialogs().texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[1].contains(dataFile(TfmUpgrade::kOldConfigFile))) << texts[1].toStdString();
    EXPECT_FALSE(QFile::exists(dataFile(TfmUpgrade::kStatusFile)));
    EXPECT_TRUE(QFile::exists(dataFile(TfmUpgrade::kOldConfigFile)));
    EXPECT_FALSE(window->IsStagePending());
    for (const char* label : kLabels)
        EXPECT_EQ(colour(window, label), kBlack) << label;

    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    testenv::dialogs().answerButton(QMessageBox::Yes);
    window->HideBClick();
    EXPECT_FALSE(QFile::exists(dataFile(TfmUpgrade::kOldConfigFile)));

    // During a flow (the flag cleared) and from the pop-up menu nothing is asked.
    testenv::dialogs().clear();
    window->SetAskOnHide(false);
    window->ShowWithBackground();
    window->HideBClick();
    EXPECT_FALSE(window->isVisible());
    window->SetAskOnHide(true);
    window->ShowWithBackground();
    window->PopupMenu1()->actions().at(0)->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(shellwindows::Existing("Back")->isVisible());
    EXPECT_TRUE(testenv::dialogs().texts().isEmpty());
}

TEST(UpgradeConfigFiles, NotAvailableUntilTheConfigurationFilesAreConnected)
{
    UpgradeConfigFiles& files = UpgradeConfigFiles::Instance();
    EXPECT_FALSE(files.Available());
    EXPECT_FALSE(files.Save(dataFile(TfmUpgrade::kOldConfigFile)));
    EXPECT_FALSE(files.Load(dataFile(TfmUpgrade::kOldConfigFile)));
    QStringList calls;
    files.save = [&](const QString& path) {
        calls << "save " + path;
        return true;
    };
    files.load = [&](const QString& path) {
        calls << "load " + path;
        return false;
    };
    EXPECT_TRUE(files.Available());
    EXPECT_TRUE(files.Save("a.cfg"));
    EXPECT_FALSE(files.Load("b.cfg"));
    EXPECT_EQ(calls, (QStringList{"save a.cfg", "load b.cfg"}));
    files = {};
}

TEST(MergeCopyName, JoinsTheUnitTextsAndTheMomentWithoutLeadingZeros)
{
    const QDateTime moment(QDate(2013, 3, 5), QTime(14, 7, 9, 45));
    EXPECT_EQ(upgradefiles::MergeCopyName("A7", "North", "Pad2", moment, upgradefiles::kPreMerge),
              "A7_North_Pad2_2013_3_5_14_7_9_45_PreMerge.cfg");
    EXPECT_EQ(upgradefiles::MergeCopyName("", "", "", moment, upgradefiles::kPostMerge),
              "___2013_3_5_14_7_9_45_PostMerge.cfg");
}

TEST(MergeCopyName, UnitTextsCannotLeaveTheDataDirectory)
{
    const struct {
        const char* text;
        const char* piece;
    } cases[] = {
        {"../../etc", "____etc"},  {"a/b\\c", "a_b_c"}, {"...", "_."},  {"x\ty\nz", "x_y_z"},
        {"C:*?\"<>|", "C_______"}, {"Pad.2", "Pad.2"},  {"Süd", "Süd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(upgradefiles::SafeNamePiece(QString::fromUtf8(c.text)), QString::fromUtf8(c.piece)) << c.text;
}
