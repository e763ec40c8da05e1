#include "dialogservice.h"
#include "testenv.h"

#include <gtest/gtest.h>

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
