#include "dialogservice.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

TEST(ScriptedDialogs, RecordAndAnswer)
{
    auto& d = testenv::dialogs();
    d.clear();
    EXPECT_EQ(DialogService::ask(QMessageBox::Question, "Confirm", "Sure?", QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No),
              QMessageBox::No);
    d.answerButton(QMessageBox::Yes);
    EXPECT_EQ(DialogService::ask(QMessageBox::Question, "Confirm", "Again?", QMessageBox::Yes | QMessageBox::No),
              QMessageBox::Yes);
    EXPECT_TRUE(DialogService::instance()->openFileName("Open", {}, "*.cfg").isEmpty());
    d.answerText("/tmp/a.cfg");
    EXPECT_EQ(DialogService::instance()->saveFileName("Save", {}, "*.cfg"), "/tmp/a.cfg");
    ASSERT_EQ(d.shown().size(), 4u);
    EXPECT_EQ(d.shown()[1].caption, "Confirm");
    EXPECT_EQ(d.shown()[1].text, "Again?");
}

// The toolkit's dialog given a name that exists: one question, the program's own, once the dialog
// has closed; not the dialog's as well.
TEST(QtDialogs, AnExistingFileIsAskedAboutOnce)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("kept.csv");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ScriptedDialogService& scripted = testenv::dialogs();
    QtDialogService qt;
    DialogService::install(&qt);
    QStringList questions;  // each with who asked it
    bool named = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            questions << (qobject_cast<QFileDialog*>(box->parentWidget()) ? "dialog: " : "program: ") + box->text();
            box->button(QMessageBox::Yes)->click();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal); files && !named) {
            named = true;
            files->selectFile(existing);
            // queued: this timer fires again while a question waits
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        }
    });
    user.start(10);
    const QString chosen =
        DialogService::saveFileNameWithExtension("Save", dir.path(), "CSV File (*.csv *.CSV)", "csv");
    user.stop();
    DialogService::install(&scripted);
    EXPECT_EQ(chosen, existing);
    EXPECT_EQ(questions.join(" | ").toStdString(), "program: kept.csv already exists.\nDo you want to replace it?");
}
