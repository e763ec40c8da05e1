#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QDialog;

// Every message box, file dialog and prompt goes through here, so that tests can answer them
// without a modal window and read the exact caption and text shown.
class DialogService : public QObject {
public:
    enum class Kind { Message, OpenFile, SaveFile, Input, Dialog };

    // Returns the button pressed.
    virtual QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    // Empty when cancelled.
    virtual QString openFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
    // The name as typed, without a question about an existing file: saves go through
    // chooseSaveFile, which asks. A dir naming a file opens the dialog with that file chosen.
    virtual QString saveFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
    // False when cancelled; value holds the text on entry and on return.
    virtual bool inputText(const QString& caption, const QString& prompt, QString& value, bool password) = 0;
    // Runs a ready-made standard dialog (print, colour) modally; returns its result
    // (QDialog::Accepted or Rejected).
    virtual int execDialog(QDialog& dialog) = 0;

    // The service every module shares; a Qt one is made on first use when none was installed.
    static DialogService* instance();
    // Installs a service for the process (the caller keeps ownership); null restores the default.
    static void install(DialogService* service);

    // What the user answers when a save would replace files.
    enum class Replace { Yes, Again, Cancel };  // Again: back to the save dialog

    // A save dialog and what its answer would replace. The dialog itself never asks about an
    // existing file (saveFileName): the question is asked here, once, about the files the save
    // would really write, which a name typed without its extension does not name.
    struct SaveChoice {
        QString caption;
        QString dir;
        QString filter;
        // Added to a name typed without one ("pdf"); empty: the name is taken as typed.
        QString extension;
        // The existing files a save under the chosen name (its extension added) replaces;
        // unset: that name, when it exists.
        std::function<QStringList(const QString& name)> replaced;
        // Asked when there are any; unset: the dialog's own question ("<file> already exists.
        // Do you want to replace it?", No by default), whose No goes back to the dialog.
        std::function<Replace(const QStringList& existing)> replace;
    };
    // The chosen name, its extension added; empty when cancelled.
    static QString chooseSaveFile(const SaveChoice& choice);
    // A save dialog with a default extension, added to a name typed without one, asking before
    // anything is replaced as the dialog would.
    static QString saveFileNameWithExtension(const QString& caption, const QString& dir, const QString& filter,
                                             const QString& extension);
    // A plain box with an OK button and the application's title as caption.
    static void showMessage(const QString& text);
    // A warning box ("Warning") with its OK button.
    static void warn(const QString& text);
    static QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
};

class QtDialogService : public DialogService {
public:
    QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override;
    bool inputText(const QString& caption, const QString& prompt, QString& value, bool password) override;
    int execDialog(QDialog& dialog) override;
};

// Answers from a script and records what was shown. Without a scripted answer a message box
// takes its default button (or OK, or the first button), and other dialogs are cancelled.
class ScriptedDialogService : public DialogService {
public:
    // Answers a standard dialog in place of the user: sets its choices and returns its result.
    using DialogAnswer = std::function<int(QDialog& dialog)>;

    struct Shown {
        Kind kind;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override;
    bool inputText(const QString& caption, const QString& prompt, QString& value, bool password) override;
    // Records the dialog's title as caption and its objectName as text.
    int execDialog(QDialog& dialog) override;

    void answerButton(QMessageBox::StandardButton button) { buttons_.push_back(button); }
    // An empty text cancels the dialog.
    void answerText(const QString& text) { texts_.push_back(text); }
    void answerDialog(DialogAnswer answer) { dialogs_.push_back(std::move(answer)); }

    const std::vector<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    void clear()
    {
        shown_.clear();
        buttons_.clear();
        texts_.clear();
        dialogs_.clear();
    }

private:
    QString nextText();

    std::vector<Shown> shown_;
    std::deque<QMessageBox::StandardButton> buttons_;
    std::deque<QString> texts_;
    std::deque<DialogAnswer> dialogs_;
};
