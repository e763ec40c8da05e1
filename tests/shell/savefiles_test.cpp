// Every save of the main window whose dialog adds an extension to a name typed without one: the
// file that name reaches is asked about before it is replaced, No keeps it byte for byte, Yes
// replaces it.
#include "formmainfixture.h"

#include "archiveviewer.h"
#include "auditpage.h"
#include "auditview.h"
#include "modbuspage.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

constexpr char kOld[] = "old contents, to be kept";
constexpr char kConfigQuestion[] = "File with this name already exists, do you want to overwrite?\n";

QByteArray content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<DialogService::Kind> kinds()
{
    std::vector<DialogService::Kind> out;
    for (const auto& shown : testenv::dialogs().shown())
        out.push_back(shown.kind);
    return out;
}

class SaveFiles : public FormMainFixture {
protected:
    TfraArchiveViewer* archive() const { return form->findChild<TfraArchiveViewer*>("fraArchiveViewer"); }
    TAuditView* events() const { return qobject_cast<TfrmAudit*>(form->Frame(TfrmAudit::kDecl.tab))->View(); }
    TfraModbus* modbus() const { return qobject_cast<TfraModbus*>(form->Frame(TfraModbus::kDecl.tab)); }
};

TEST_F(SaveFiles, ANameWithoutExtensionOverAnExistingFileIsAskedAbout)
{
    using Kind = DialogService::Kind;
    // The CSV exports then ask for their columns.
    const ScriptedModals::Answer columns = ScriptedModals::press("SaveExit");
    const struct {
        const char* saver;
        const char* extension;
        std::function<void()> save;
        const char* caption;  // of the question
        bool noEndsTheSave;   // else No goes back to the file dialog
        bool asksColumns;
    } savers[] = {
        {"archive XML file", "xml", [&] { archive()->SaveLogFile(); }, "Save Sentrel515 Archive File", false, false},
        {"archive grid file", "tvar", [&] { archive()->mnuSaveFileClick(); }, "Save As", false, false},
        {"archive legal CSV", "csv", [&] { archive()->SaveasCSVClick(); }, "Save As", false, true},
        {"archive packet CSV", "csv", [&] { archive()->SaveAsPacketCSVClick(); }, "Save As", false, true},
        {"archive spreadsheet", "xlsx", [&] { archive()->mnuSaveasXLSClick(); }, "Save As", false, false},
        {"event report", "tvau", [&] { events()->mnuSaveFileClick(); }, "Save As", false, false},
        {"event CSV", "csv", [&] { events()->SaveasCSVClick(); }, "Save As", false, false},
        {"event spreadsheet", "xlsx", [&] { events()->mnuSaveasXLSClick(); }, "Save As", false, false},
        {"Modbus list", "515mb", [&] { modbus()->mnuSaveModbusListClick(); }, "Save This Modbus List to a File", false,
         false},
        // Save first: after a save it writes to the current file without a dialog.
        {"configuration Save", "cfg", [&] { form->tbtnSaveClick(); }, "Warning", true, false},
        {"configuration Save As", "cfg", [&] { form->tbtnSaveAsClick(); }, "Warning", true, false},
    };
    ASSERT_TRUE(archive() && events() && modbus());
    for (const auto& s : savers) {
        SCOPED_TRACE(s.saver);
        QTemporaryDir dir;
        const QString typed = dir.filePath("out");
        const QString file = typed + '.' + s.extension;
        {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(kOld);
        }
        const QString question =
            s.noEndsTheSave ? QString(kConfigQuestion)
                            : QStringLiteral("out.%1 already exists.\nDo you want to replace it?").arg(s.extension);

        auto& dialogs = testenv::dialogs();
        dialogs.clear();
        dialogs.answerText(typed);
        dialogs.answerButton(QMessageBox::No);
        dialogs.answerText(QString());  // back in the dialog, cancelled
        s.save();
        EXPECT_EQ(content(file), kOld);
        ASSERT_GE(dialogs.shown().size(), 2u);
        EXPECT_EQ(dialogs.shown()[1].caption, s.caption);
        EXPECT_EQ(dialogs.shown()[1].text, question);
        EXPECT_EQ(kinds(), s.noEndsTheSave ? std::vector<Kind>({Kind::SaveFile, Kind::Message})
                                           : std::vector<Kind>({Kind::SaveFile, Kind::Message, Kind::SaveFile}));

        dialogs.clear();
        dialogs.answerText(typed);
        dialogs.answerButton(QMessageBox::Yes);
        if (s.asksColumns)
            modals.answers = {columns};
        s.save();
        EXPECT_NE(content(file), kOld);
        EXPECT_FALSE(content(file).isEmpty());
        EXPECT_FALSE(QFile::exists(typed));
        ASSERT_GE(dialogs.shown().size(), 2u);
        EXPECT_EQ(dialogs.shown()[1].text, question);
        EXPECT_TRUE(modals.answers.empty());
    }
}

// Save As refused over an existing file leaves no current file: the next Save asks for a name
// instead of replacing the file the user refused.
TEST_F(SaveFiles, ARefusedConfigurationFileIsNotSavedByTheNextSave)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("kept.cfg");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(kOld);
    }
    auto& dialogs = testenv::dialogs();
    dialogs.answerText(file);
    dialogs.answerButton(QMessageBox::No);
    form->tbtnSaveAsClick();
    dialogs.clear();
    form->tbtnSaveClick();  // its dialog cancelled
    EXPECT_EQ(content(file), kOld);
    EXPECT_EQ(kinds(), std::vector<DialogService::Kind>{DialogService::Kind::SaveFile});
}

}  // namespace
