#pragma once

// The main window with its real libraries, dialogs answered from a script, and commands that
// can be replaced by recording stand-ins.
#include "activeobjectengine.h"
#include "command.h"
#include "formmain.h"
#include "logondialogs.h"
#include "modalrun.h"
#include "shellwindows.h"
#include "statemgr.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Answers the program's own modal dialogs in turn; with no answer left a dialog is cancelled.
class ScriptedModals {
public:
    using Answer = std::function<void(QDialog&)>;

    void install()
    {
        modal::setRunner([this](QDialog& dialog) {
            captions.push_back(dialog.windowTitle());
            if (answers.empty())
                return static_cast<int>(QDialog::Rejected);
            Answer answer = std::move(answers.front());
            answers.pop_front();
            answer(dialog);
            return dialog.result();
        });
    }
    static void uninstall() { modal::setRunner({}); }

    // Presses the named button of the dialog.
    static Answer press(const char* button)
    {
        return [name = QString(button)](QDialog& d) { d.findChild<QPushButton*>(name)->click(); };
    }
    // Types into the password prompt and presses OK.
    static Answer password(const QString& text)
    {
        return [text](QDialog& d) {
            static_cast<TfrmLogon&>(d).ledPassword()->setText(text);
            d.findChild<QPushButton*>("OKBtn")->click();
        };
    }

    std::deque<Answer> answers;
    QStringList captions;
};

// A command that only records that it ran (and may do what a test needs). Its run succeeds
// unless the test says otherwise (FormMainFixture::succeeds).
class StandInCommand : public Command {
public:
    StandInCommand(std::vector<std::string>* log, std::string name, std::function<void()> body)
            : log_(log), name_(std::move(name)), body_(std::move(body))
    {}
    void Execute() override
    {
        log_->push_back(name_);
        if (body_)
            body_();
        SetSucceeded(succeeds);
    }

    bool succeeds = true;

private:
    std::vector<std::string>* log_;
    std::string name_;
    std::function<void()> body_;
};

class FormMainFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::dialogs().clear();
        modals.install();
        form = std::make_unique<TFormMain>();
        form->FormCreate();
        // No poll ever reaches for a unit here.
        standIn("ExpressRead2");
    }

    void TearDown() override
    {
        ScriptedModals::uninstall();
        shellwindows::DestroyAll();
        form.reset();
        testenv::dialogs().clear();
    }

    MyActiveObjectEngine* engine() const { return MyActiveObjectEngine::Instance(); }

    void standIn(const char* name, std::function<void()> body = {})
    {
        engine()->RegisterCommand(name, std::make_unique<StandInCommand>(&ran, name, std::move(body)));
    }
    void standIn(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            standIn(name);
    }
    // How the stand-in's runs end from now on.
    void succeeds(const char* name, bool succeeded)
    {
        if (auto* command = dynamic_cast<StandInCommand*>(engine()->FindCommand(name)))
            command->succeeds = succeeded;
    }

    // What a successful "Logon" tells the window.
    void reportLoggedOn()
    {
        form->SetState("tbtnLogon", false);
        form->SetState("tbtnLogoff", true);
        form->SetState("SetLogOn", true);
    }

    bool enabled(const char* name) const { return form->findChild<QObject*>(name)->property("enabled").toBool(); }

    int visibleTabs() const
    {
        int n = 0;
        for (int i = 0; i < form->PageControlMain()->count(); ++i)
            n += form->PageControlMain()->isTabVisible(i);
        return n;
    }

    QStringList shownTexts() const { return testenv::dialogs().texts(); }

    std::unique_ptr<TFormMain> form;
    ScriptedModals modals;
    std::vector<std::string> ran;
};
