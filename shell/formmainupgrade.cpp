// The firmware upgrade: the tool bar's flow (log on when needed, write the image into the unit,
// read it back, verify it, record the stage, reboot the unit and restart the program) and the
// service page's three steps, which share its image step, the status window and the files.
#include "formmain.h"

#include "activeobjectengine.h"
#include "database.h"
#include "dialogservice.h"
#include "imagecommands.h"
#include "securitychk.h"
#include "shellwindows.h"
#include "upgradefiles.h"
#include "upgradewindow.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QToolButton>

namespace {

void removeReadBack()
{
    const QString path = UpgradeDataFile(kReadBackFile);
    if (!path.isEmpty())
        QFile::remove(path);
}

}  // namespace

bool TFormMain::CompareImageFiles(const QString& imageFile, const QString& readBackFile)
{
    QFile image(imageFile);
    QFile readBack(readBackFile);
    if (!image.open(QIODevice::ReadOnly) || !readBack.open(QIODevice::ReadOnly))
        return false;
    // The unit never receives the image's last byte, so it cannot give it back.
    if (image.size() != readBack.size() + 1)
        return false;
    const QByteArray imageBytes = image.readAll();
    const QByteArray readBackBytes = readBack.readAll();
    if (imageBytes.size() != image.size() || readBackBytes.size() != readBack.size())
        return false;
    return imageBytes.first(imageBytes.size() - 1) == readBackBytes;
}

void TFormMain::tbtnUpgradeClick()
{
    WriteAndVerifyImage(false);
}

bool TFormMain::RunUpgradeStep(UpgradeStep step)
{
    if (!servicesReady_)
        return false;
    switch (step) {
    case UpgradeStep::ReadOldConfiguration:
        return ReadOldConfiguration();
    case UpgradeStep::WriteFirmware:
        return WriteAndVerifyImage(true);
    case UpgradeStep::MergeConfiguration:
        return MergeConfiguration();
    }
    return false;
}

void TFormMain::ShowUpgradeWindow()
{
    if (QAction* item = MenuItem("UpgradeWindow"); item && !item->isChecked())
        item->setChecked(true);
    if (auto* upgrade = shellwindows::Get<TfmUpgrade>("fmUpgrade"))
        upgrade->ShowWithBackground();
}

QString TFormMain::MergeCopyPath(const char* ending) const
{
    const auto text = [this](int id) { return QString::fromStdString(database_->GetPointText(id)); };
    return UpgradeDataFile(
        upgradefiles::MergeCopyName(text(0), text(1), text(2), QDateTime::currentDateTime(), ending));
}

bool TFormMain::WriteAndVerifyImage(bool fromPage)
{
    if (!servicesReady_)
        return false;
    // Image blocks between the exchanges of another command would corrupt both.
    if (EngineBusy()) {
        DialogService::showMessage(kBusyText);
        return false;
    }
    // A poll read between the image commands would meet a unit busy with its flash, and its
    // failure would log off in the middle of the upgrade.
    StopPoll();
    if (Button("tbtnLogon")->isEnabled()) {
        Queue("UpgradeCommand");
        if (Button("tbtnLogon")->isEnabled())
            return false;  // the command told the user why
    }
    if (!fromPage) {
        modeDisp_->setText("UPGRADE");
        SetEnabled("tbtnUpgrade", false);
    }

    SecurityChk* security = SecurityChk::Instance();
    security->ChangeToDataDirectory();
    auto* upgrade = shellwindows::Get<TfmUpgrade>("fmUpgrade");
    if (upgrade)
        upgrade->SetAskOnHide(false);
    CommandLine* checklist = CommandLine::Instance();

    auto hideWindows = [&] {
        if (upgrade) {
            upgrade->SetAskOnHide(true);
            upgrade->HideWithBackground();
        }
        security->ChangeToDataDirectory();
    };
    // Every way out that keeps the program running ends logged off with the pages usable.
    auto logOff = [&] {
        tbtnLogoffClick();
        modeDisp_->setText("OFF LINE");
        SetState(framecomm::kEnablePages, true);
    };
    // The tool bar's flow ends logged off; the page's step leaves the user logged on, on the page.
    auto abort = [&] {
        hideWindows();
        if (fromPage) {
            SetState(framecomm::kEnablePages, true);
            AllowPoll();
        } else {
            logOff();
        }
        return false;
    };
    bool restart = false;
    auto finish = [&] {
        hideWindows();
        if (restart)
            RestartGui();
        else
            close();
    };

    const QString oldConfig = UpgradeDataFile(TfmUpgrade::kOldConfigFile);
    if (oldConfig.isEmpty() || !QFile::exists(oldConfig)) {
        const auto answer =
            DialogService::ask(QMessageBox::Warning, "Warning",
                               "Are you sure you want to write firmware without Reading Old Configuration first?",
                               QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            if (upgrade)
                upgrade->SetAskOnHide(true);
            logOff();
            return false;
        }
    }
    // The stage flags change only once the firmware is verified: a flow aborted before then
    // leaves nothing in them that a later status write could record.
    removeReadBack();

    const QString imageFile = DialogService::instance()->openFileName("Open Sentrel515 Firmware File", QString(),
                                                                      "Sentrel515 Image (*.bin *.BIN)");
    security->ChangeToDataDirectory();
    if (imageFile.isEmpty()) {
        if (fromPage) {
            DialogService::showMessage("Upgrade firmware was terminated. Application will restart.");
            logOff();
            RestartGui();
        } else {
            DialogService::showMessage("Upgrade firmware was terminated. GUI will LOG OFF.");
            logOff();
        }
        return false;
    }

    auto* writer = engine_->Find<WriteImageCommand>("WriteImage");
    auto* reader = engine_->Find<ReadImageCommand>("ReadImage");
    if (!writer)
        return abort();
    ShowUpgradeWindow();
    SetState(framecomm::kDisablePages, true);

    checklist->SetStepState(2, -1, Step::Idle);
    checklist->SetStepState(1, -1, Step::Idle);
    checklist->SetStepState(1, 0, Step::InProgress);

    removeReadBack();
    if (!QFile::exists(imageFile)) {
        DialogService::warn("Image file doesn't exist!\n");
        return abort();
    }
    writer->SetFileName(imageFile);
    if (reader)
        reader->SetFileName(imageFile);

    Queue("WriteImage");
    // Reading back an image the unit did not take whole would only end in a failed compare,
    // after as many exchanges again.
    if (writer->Outcome() != ImageOutcome::Done) {
        if (!writer->FailureShown())
            DialogService::showMessage("Write Image fail!");
        return abort();
    }

    checklist->SetStepState(2, -1, Step::Idle);
    checklist->SetStepState(1, 0, Step::Done);
    checklist->SetStepState(1, 1, Step::InProgress);

    Queue("ReadImage");

    const QString readBack = UpgradeDataFile(kReadBackFile);
    if (!QFile::exists(imageFile) || readBack.isEmpty() || !QFile::exists(readBack)) {
        DialogService::showMessage("File " + imageFile + " or " + kReadBackFile + " are missing error.\n" +
                                   "current directory is " + security->GetDataDirectory());
        return abort();
    }
    if (!CompareImageFiles(imageFile, readBack)) {
        DialogService::showMessage("Verification fail! Please Write Image again.");
        return abort();
    }
    QFile::remove(readBack);
    checklist->SetStepState(2, -1, Step::Idle);
    checklist->SetStepState(1, 1, Step::Done);
    checklist->SetStepState(1, 2, Step::InProgress);

    if (upgrade) {
        upgrade->SetStageFlag(1, true);
        upgrade->SetStageFlag(2, true);
        upgrade->SetStageFlag(3, false);
        upgrade->WriteStatusFile(security->GetDataDirectory() + "/" + TfmUpgrade::kStatusFile);
    }
    checklist->SetStepState(1, 1, Step::Done);
    checklist->SetStepState(1, -1, Step::Done);

    SetState(framecomm::kDisablePages, true);
    const auto answer = DialogService::ask(
        QMessageBox::Warning, "Warning",
        QStringLiteral("If firmware writing and verification were successful, please press OK button.\n") +
            "After pressing OK button, analyzer will automatically reboot, and GUI will restart.\n" +
            "After reboot, you have to LOG ON again.",
        QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Ok) {
        Queue("Reboot");
        restart = true;
    }
    tbtnLogoffClick();
    modeDisp_->setText("OFF LINE");
    finish();
    return true;
}

// Step 1: the unit's configuration is kept in "OldConfig.cfg" (and a dated copy) before the
// firmware changes, and the stage record says so.
bool TFormMain::ReadOldConfiguration()
{
    if (Button("tbtnLogon")->isEnabled()) {
        DialogService::showMessage("Please Logon first.");
        return false;
    }
    // The read would come after the running command, and the file would be saved before it.
    if (EngineBusy()) {
        DialogService::showMessage(kBusyText);
        return false;
    }
    security_->ChangeToDataDirectory();
    auto* upgrade = shellwindows::Get<TfmUpgrade>("fmUpgrade");
    const QString oldConfig = UpgradeDataFile(TfmUpgrade::kOldConfigFile);
    const QString status = UpgradeDataFile(TfmUpgrade::kStatusFile);
    if (!upgrade || oldConfig.isEmpty()) {
        DialogService::showMessage("The data directory is not available; the configuration was not saved.");
        return false;
    }
    upgrade->SetAskOnHide(false);
    for (int stage = 1; stage <= 3; ++stage)
        upgrade->SetStageFlag(stage, false);
    CommandLine* checklist = CommandLine::Instance();
    for (int s = 0; s < 3; ++s)
        checklist->SetStepState(s, -1, Step::Idle);
    ShowUpgradeWindow();

    // Nothing is marked done that did not happen: the stage goes back to idle and the record
    // and the old file stay as they were.
    auto failed = [&](const QString& text) {
        checklist->SetStepState(0, -1, Step::Idle);
        upgrade->SetAskOnHide(true);
        security_->ChangeToDataDirectory();
        DialogService::showMessage(text);
        return false;
    };

    checklist->SetStepState(0, 0, Step::InProgress);
    if (!FetchFromUnit())
        return failed("The configuration could not be read from the unit; it was not saved.");
    checklist->SetStepState(0, 0, Step::Done);

    checklist->SetStepState(0, 1, Step::InProgress);
    SendToDatabase();
    checklist->SetStepState(0, 1, Step::Done);

    checklist->SetStepState(0, 2, Step::InProgress);
    QString error;
    if (!SaveConfigurationFile(oldConfig, &error))
        return failed(QStringLiteral("Configuration could not be saved to file \"%1\".\n%2").arg(oldConfig, error));
    upgrade->SetStageFlag(1, true);
    checklist->SetStepState(0, -1, Step::Done);
    upgrade->WriteStatusFile(status);

    const QString copy = MergeCopyPath(upgradefiles::kPreMerge);
    if (!copy.isEmpty()) {
        QFile::remove(copy);
        QFile::copy(oldConfig, copy);
    }
    // A merge later in this run asks nothing: the firmware comes next in the same sitting.
    upgrade->SetStageFlag(2, true);
    upgrade->SetStageFlag(3, false);
    upgrade->SetAskOnHide(true);
    security_->ChangeToDataDirectory();
    return true;
}

// Step 3: the configuration kept by step 1 goes back into the unit running the new firmware.
bool TFormMain::MergeConfiguration()
{
    if (Button("tbtnLogon")->isEnabled()) {
        DialogService::showMessage("Please Logon first.");
        return false;
    }
    if (EngineBusy()) {
        DialogService::showMessage(kBusyText);
        return false;
    }
    security_->ChangeToDataDirectory();
    auto* upgrade = shellwindows::Get<TfmUpgrade>("fmUpgrade");
    if (!upgrade)
        return false;
    upgrade->SetAskOnHide(false);
    const QString oldConfig = UpgradeDataFile(TfmUpgrade::kOldConfigFile);
    if (oldConfig.isEmpty() || !QFile::exists(oldConfig)) {
        DialogService::warn("Please Read Old Configuration, \n\nand then Write Firmware.\n\nThanks.");
        return false;
    }
    if (!upgrade->StageFlag(2) &&
        DialogService::ask(QMessageBox::Warning, "Warning", "Have you written new Firmware? Continue?",
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;

    ShowUpgradeWindow();
    SetState(framecomm::kDisablePages, true);
    CommandLine* checklist = CommandLine::Instance();
    checklist->SetStepState(0, -1, Step::Done);
    checklist->SetStepState(1, -1, Step::Done);
    checklist->SetStepState(2, 0, Step::InProgress);

    // "OldConfig.cfg" and the stage record stay, so the merge can be run again once the cause is
    // mended; the user learns what did not reach the unit.
    auto failed = [&](const QString& what, const QString& why) {
        checklist->SetStepState(2, -1, Step::Idle);
        upgrade->SetAskOnHide(true);
        upgrade->HideWithBackground();
        SetState(framecomm::kEnablePages, true);
        security_->ChangeToDataDirectory();
        DialogService::warn(what + "\n" + (why.isEmpty() ? QString() : why + "\n") + "The file " + oldConfig +
                            " and the upgrade record were kept; merge again once the unit answers.");
        return false;
    };

    // The values the file does not hold come from the unit running the new firmware.
    Queue("ReadFull");
    if (!LoggedOn())
        return failed("The unit could not be read; nothing was written into it.", {});
    checklist->SetStepState(2, 0, Step::Done);
    checklist->SetStepState(2, 1, Step::InProgress);
    if (LoadConfigurationFile(oldConfig) != 0)
        return failed("The file " + oldConfig + " could not be read; nothing was written into the unit.", {});
    checklist->SetStepState(2, 1, Step::Done);
    checklist->SetStepState(2, 2, Step::InProgress);
    QString why;
    if (!SendLoadedConfiguration(false, &why))
        return failed(
            "The saved configuration was not written completely into the unit; it was not stored "
            "permanently.",
            why);
    checklist->SetStepState(2, 2, Step::Done);
    checklist->SetStepState(2, 3, Step::Done);
    checklist->SetStepState(2, -1, Step::Done);

    QFile::remove(oldConfig);
    for (int stage = 1; stage <= 3; ++stage)
        upgrade->SetStageFlag(stage, false);
    upgrade->WriteStatusFile(UpgradeDataFile(TfmUpgrade::kStatusFile));
    for (int s = 0; s < 3; ++s)
        checklist->SetStepState(s, -1, Step::Idle);
    if (QAction* item = MenuItem("UpgradeWindow"); item && item->isChecked()) {
        item->setChecked(false);
        upgrade->HideWithBackground();
    }
    SetState(framecomm::kDisablePages, true);
    const QString copy = MergeCopyPath(upgradefiles::kPostMerge);
    if (!copy.isEmpty())
        SaveConfigurationFile(copy);
    upgrade->SetAskOnHide(true);
    SetState(framecomm::kDisablePages, true);
    DialogService::warn(QStringLiteral("Please power cycle your analyzer.\n") +
                        "After pressing OK button, GUI will automatically LOG OFF.\n" +
                        "After power cycling the analyzer, you will have to LOG ON again.");
    tbtnLogoffClick();
    return true;
}
