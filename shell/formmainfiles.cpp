// Configuration files (open, save, save as).
#include "formmain.h"

#include "activeobjectengine.h"
#include "communications.h"
#include "configfile.h"
#include "database.h"
#include "dialogservice.h"
#include "logconfigcommands.h"
#include "outputpage.h"
#include "securitychk.h"
#include "sequencerpage.h"
#include "statemgr.h"
#include "streamspage.h"
#include "upgradewindow.h"
#include "waitwindow.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr char kSaveFilter[] = "Sentrel515 Configuration (*.cfg *.CFG)";
constexpr char kOpenCaption[] = "Open Sentrel515 Configuraiton File";
constexpr char kOpenFilter[] = "Sentrel515 DataBase Config (*.cfg *.CFG)";
constexpr std::uint32_t kBtnFace = 0x8000000F;

constexpr char kReplaceQuestion[] = "File with this name already exists, do you want to overwrite?\n";

// Shows the Wait window with its progress bar for as long as a file is written or read.
class WaitScope {
public:
    WaitScope() { TWait::Instance()->ShowProgress(100); }
    ~WaitScope() { TWait::Instance()->hide(); }
};

}  // namespace

// The firmware upgrade keeps the unit's configuration across the change through the same
// file operations as the menus.
void TFormMain::ConnectUpgradeConfigFiles()
{
    UpgradeConfigFiles& files = UpgradeConfigFiles::Instance();
    files.save = [this](const QString& path) { return FetchAndSave(path); };
    files.load = [this](const QString& path) { return LoadConfigurationFile(path) == 0; };
}

// A file operation in the middle of a command's exchanges would read or write a half-updated
// database, and the commands it queues would not run in order.
bool TFormMain::RefuseWhileBusy()
{
    if (!EngineBusy())
        return false;
    DialogService::ask(QMessageBox::Warning, "Warning", kBusyText, QMessageBox::Yes);
    return true;
}

bool TFormMain::ExecuteSaveDialog()
{
    saveFileName_.clear();
    security_->ChangeToDataDirectory();
    // Save and Save As alike ask before they replace a file, about the name with its ".cfg"; No
    // ends the save, and the refused file does not become the current one.
    saveFileName_ = DialogService::chooseSaveFile(
        {QString(), security_->GetDataDirectory(), kSaveFilter, QStringLiteral("cfg"), {}, [](const QStringList&) {
             return DialogService::ask(QMessageBox::Warning, "Warning", kReplaceQuestion,
                                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
                        ? DialogService::Replace::Yes
                        : DialogService::Replace::Cancel;
         }});
    return !saveFileName_.isEmpty();
}

bool TFormMain::SaveConfigurationFile(const QString& fileName, QString* error)
{
    WaitScope wait;
    return ::SaveConfigurationFile(fileName, error);
}

int TFormMain::LoadConfigurationFile(const QString& fileName)
{
    WaitScope wait;
    return ::LoadConfigurationFile(fileName, &loadedPointCount_);
}

bool TFormMain::FetchFromUnit()
{
    Queue("ReadFull");
    // A failed read has told the user and logged the window off; a file of stale values would
    // look like the unit's configuration.
    bool readFailed = !LoggedOn();
    if (!readFailed) {
        Queue("ReadLogConfig");
        const auto* logRead = engine_->Find<ReadLogConfig>("ReadLogConfig");
        readFailed = logRead && !logRead->Succeeded();
    }
    return !readFailed;
}

// Brings DataBase up to date (the pages' edits while logged off, the unit's values while logged
// on) and writes it to the file. False when nothing was written.
bool TFormMain::FetchAndSave(const QString& fileName)
{
    if (!LoggedOn()) {
        // A page that refuses has told the user why; the file would miss its edits.
        if (SendToDatabase() != 0)
            return false;
        CallSlot(PageFrame<TfrSequencer>(), "StoreSequencerConfiguration");
        Queue("ReadLogConfig");
    } else if (!FetchFromUnit()) {
        DialogService::warn("The configuration could not be read from the unit; the file was not saved.");
        return false;
    }
    QString error;
    if (!SaveConfigurationFile(fileName, &error)) {
        DialogService::warn(
            QStringLiteral("Configuration could not be saved to file \"%1\".\n%2").arg(fileName, error));
        return false;
    }
    if (LocalStatusBarMsg)
        LocalStatusBarMsg(this, ("Configuration successfully saved to file \"" + fileName + "\"").toUtf8().constData(),
                          kBtnFace, false);
    return true;
}

void TFormMain::tbtnSaveClick()
{
    if (!servicesReady_ || RefuseWhileBusy())
        return;
    StateMgr::Instance()->SetBusy();
    if (!saveFileName_.isEmpty() && QFileInfo::exists(saveFileName_)) {
        FetchAndSave(saveFileName_);
    } else if (ExecuteSaveDialog()) {
        FetchAndSave(saveFileName_);
    }
    security_->ChangeToDataDirectory();
    StateMgr::Instance()->SetIdle();
}

void TFormMain::tbtnSaveAsClick()
{
    if (!servicesReady_)
        return;
    StateMgr::Instance()->SetBusy();
    if (!RefuseWhileBusy() && ExecuteSaveDialog())
        FetchAndSave(saveFileName_);
    security_->ChangeToDataDirectory();
    StateMgr::Instance()->SetIdle();
}

void TFormMain::tbtnOpenClick()
{
    if (!servicesReady_ || RefuseWhileBusy())
        return;
    StateMgr::Instance()->SetBusy();
    security_->ChangeToDataDirectory();
    const QString fileName =
        DialogService::instance()->openFileName(kOpenCaption, security_->GetDataDirectory(), kOpenFilter);
    if (fileName.isEmpty()) {
        StateMgr::Instance()->SetIdle();
    } else {
        const bool loggedOn = LoggedOn();
        if (!loggedOn) {
            driver_->SetDatabaseConfigFileTypeID(configfile::kTypeId);
            if (auto* streams = PageFrame<TfraAnalyzerStreams>())
                streams->RegisterPoints();
            CallSlot(PageFrame<TfraOutput>(), "FillAOFunctions");
        }
        if (LoadConfigurationFile(fileName) != 0) {
            // Nothing of the file has been applied; logged off too the user must know that the
            // pages do not show it.
            DialogService::warn("Configuration File Is Wrong!");
        } else {
            saveFileName_ = fileName;
            if (loggedOn) {
                SetEnabled("tbtnSave", true);
                SetEnabled("tbtnSaveAs", true);
                const auto answer = DialogService::ask(
                    QMessageBox::Warning, "Warning",
                    QStringLiteral("Do you wish to write this configuration into the unit?\n") +
                        "If the answer is NO, only the GUI will be updated with the configuration file.",
                    QMessageBox::Yes | QMessageBox::No);
                if (answer == QMessageBox::Yes)
                    WriteOpenedFileIntoUnit();
            }
        }
        security_->ChangeToDataDirectory();
        StateMgr::Instance()->SetIdle();
    }
    if (!LoggedOn()) {
        SetEnabled("tbtnSave", true);
        SetEnabled("tbtnSaveAs", true);
    }
}

// Sends the opened file's configuration, makes it permanent and reboots the unit.
void TFormMain::WriteOpenedFileIntoUnit()
{
    security_->ChangeToDataDirectory();
    QString why;
    if (!SendLoadedConfiguration(true, &why)) {
        DialogService::warn(
            QStringLiteral("The configuration was not written completely into the unit; it was not stored "
                           "permanently and the analyzer was not rebooted.") +
            (why.isEmpty() ? QString() : "\n" + why));
        return;
    }
    DialogService::warn(QStringLiteral("Please press OK button.\n") +
                        "After pressing OK button, analyzer will automatically reboot, and GUI will LOG OFF.\n" +
                        "After reboot, you will have to LOG ON again.");
    Queue("Reboot");
    tbtnLogoffClick();
}

// Each write runs only when the one before it succeeded: a flash write after a partial write
// would make a half-written configuration permanent.
bool TFormMain::SendLoadedConfiguration(bool logAndTimers, QString* why)
{
    auto stopped = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    engine_->ExecuteCommand("WriteDirect", std::to_string(loadedPointCount_));
    if (!CommandSucceeded("WriteDirect") || !LoggedOn())
        return stopped({});

    if (logAndTimers) {
        Queue("WriteLogConfig");
        const auto* logWrite = engine_->Find<WriteLogConfig>("WriteLogConfig");
        if ((logWrite && !logWrite->Succeeded()) || !LoggedOn())
            return stopped({});
    }

    // A block that neither the file nor the unit has given is not sent, and that is no failure.
    try {
        Sequencer& sequencer = database_->GetSequencer();
        if (!sequencer.WriteToUnit() && sequencer.IsValid())
            return stopped("The unit did not take the sequencer configuration.");
        database_->TraceSequencerConfig();
        if (logAndTimers) {
            TimerXManager& timers = database_->GetTimerXManager();
            if (!timers.WriteToUnit() && timers.IsValid())
                return stopped("The unit did not take the timer configuration.");
        }
    } catch (const CommStatusError& e) {
        return stopped(Communications::Instance()->GetErrorText(e.status));
    }

    Queue("WriteConfig");
    if (!CommandSucceeded("WriteConfig"))
        return stopped({});
    return true;
}
