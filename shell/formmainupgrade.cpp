// The firmware upgrade started from the tool bar: log on when needed, write the image into the
// unit, read it back, verify it, record the stage, reboot the unit and restart the program.
#include "formmain.h"

#include "activeobjectengine.h"
#include "dialogservice.h"
#include "imagecommands.h"
#include "securitychk.h"
#include "shellwindows.h"
#include "upgradewindow.h"

#include <QAction>
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
    if (!servicesReady_)
        return;
    // Image blocks between the exchanges of another command would corrupt both.
    if (EngineBusy()) {
        DialogService::showMessage(kBusyText);
        return;
    }
    // A poll read between the image commands would meet a unit busy with its flash, and its
    // failure would log off in the middle of the upgrade.
    StopPoll();
    if (Button("tbtnLogon")->isEnabled()) {
        Queue("UpgradeCommand");
        if (Button("tbtnLogon")->isEnabled())
            return;  // the command told the user why
    }
    modeDisp_->setText("UPGRADE");
    SetEnabled("tbtnUpgrade", false);

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
    auto abort = [&] {
        hideWindows();
        logOff();
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
            return;
        }
    }
    // The stage flags change only once the firmware is verified: a flow aborted before then
    // leaves nothing in them that a later status write could record.
    removeReadBack();

    const QString imageFile = DialogService::instance()->openFileName("Open Sentrel515 Firmware File", QString(),
                                                                      "Sentrel515 Image (*.bin *.BIN)");
    security->ChangeToDataDirectory();
    if (imageFile.isEmpty()) {
        DialogService::showMessage("Upgrade firmware was terminated. GUI will LOG OFF.");
        logOff();
        return;
    }

    auto* writer = engine_->Find<WriteImageCommand>("WriteImage");
    auto* reader = engine_->Find<ReadImageCommand>("ReadImage");
    if (!writer) {
        finish();
        return;
    }
    if (QAction* item = MenuItem("UpgradeWindow"); item && !item->isChecked())
        item->setChecked(true);
    if (upgrade)
        upgrade->ShowWithBackground();
    SetState(framecomm::kDisablePages, true);

    checklist->SetStepState(2, -1, Step::Idle);
    checklist->SetStepState(1, -1, Step::Idle);
    checklist->SetStepState(1, 0, Step::InProgress);

    removeReadBack();
    if (!QFile::exists(imageFile)) {
        DialogService::ask(QMessageBox::Warning, "Warning", "Image file doesn't exist!\n", QMessageBox::Ok);
        abort();
        return;
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
        abort();
        return;
    }

    checklist->SetStepState(2, -1, Step::Idle);
    checklist->SetStepState(1, 0, Step::Done);
    checklist->SetStepState(1, 1, Step::InProgress);

    Queue("ReadImage");

    const QString readBack = UpgradeDataFile(kReadBackFile);
    if (!QFile::exists(imageFile) || readBack.isEmpty() || !QFile::exists(readBack)) {
        DialogService::showMessage("File " + imageFile + " or " + kReadBackFile + " are missing error.\n" +
                                   "current directory is " + security->GetDataDirectory());
        abort();
        return;
    }
    if (!CompareImageFiles(imageFile, readBack)) {
        DialogService::showMessage("Verification fail! Please Write Image again.");
        abort();
        return;
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
}
