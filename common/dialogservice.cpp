#include "dialogservice.h"

#include "appcontext.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>

namespace {
constexpr char kServiceName[] = "kvt.dialogService";
}

DialogService* DialogService::instance()
{
    // The object may come from another module's copy of this class: same layout, and every
    // call goes through its own vtable.
    if (auto* service = appcontext::sharedObject(kServiceName))
        return static_cast<DialogService*>(service);
    auto* fallback = new QtDialogService;
    if (QCoreApplication::instance())
        fallback->setParent(QCoreApplication::instance());
    appcontext::setSharedObject(kServiceName, fallback);
    return fallback;
}

void DialogService::install(DialogService* service)
{
    appcontext::setSharedObject(kServiceName, service);
}

QString DialogService::chooseSaveFile(const SaveChoice& choice)
{
    QString dir = choice.dir;
    for (;;) {
        const QString typed = instance()->saveFileName(choice.caption, dir, choice.filter);
        if (typed.isEmpty())
            return typed;
        const QString name = choice.extension.isEmpty() || !QFileInfo(typed).suffix().isEmpty()
                                 ? typed
                                 : typed + QLatin1Char('.') + choice.extension;
        QStringList existing;
        if (choice.replaced)
            existing = choice.replaced(name);
        else if (QFileInfo::exists(name))
            existing << name;
        if (existing.isEmpty())
            return name;
        Replace answer = Replace::Again;
        if (choice.replace) {
            answer = choice.replace(existing);
        } else {
            // The toolkit's dialog is titled "Save As" when it is given no caption.
            const QString caption = choice.caption.isEmpty() ? QStringLiteral("Save As") : choice.caption;
            const QString first = QFileInfo(existing.first()).fileName();
            const QString text = existing.size() == 1
                                     ? QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(first)
                                     : QStringLiteral("%1 and %2 more already exist.\nDo you want to replace them?")
                                           .arg(first)
                                           .arg(existing.size() - 1);
            if (ask(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
                QMessageBox::Yes)
                answer = Replace::Yes;
        }
        if (answer == Replace::Yes)
            return name;
        if (answer == Replace::Cancel)
            return {};
        dir = typed;  // back where the user was, the name as typed
    }
}

QString DialogService::saveFileNameWithExtension(const QString& caption, const QString& dir, const QString& filter,
                                                 const QString& extension)
{
    return chooseSaveFile({caption, dir, filter, extension, {}, {}});
}

void DialogService::showMessage(const QString& text)
{
    instance()->message(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                        QMessageBox::Ok);
}

void DialogService::warn(const QString& text)
{
    ask(QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::Ok);
}

QMessageBox::StandardButton DialogService::ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    return instance()->message(icon, caption, text, buttons, defaultButton);
}

QMessageBox::StandardButton QtDialogService::message(QMessageBox::Icon icon, const QString& caption,
                                                     const QString& text, QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    box.setObjectName("MessageBox");
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString QtDialogService::openFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, dir, filter);
}

QString QtDialogService::saveFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, dir, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool QtDialogService::inputText(const QString& caption, const QString& prompt, QString& value, bool password)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), caption, prompt,
                                               password ? QLineEdit::Password : QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

int QtDialogService::execDialog(QDialog& dialog)
{
    return dialog.exec();
}

QMessageBox::StandardButton ScriptedDialogService::message(QMessageBox::Icon, const QString& caption,
                                                           const QString& text, QMessageBox::StandardButtons buttons,
                                                           QMessageBox::StandardButton defaultButton)
{
    shown_.push_back({Kind::Message, caption, text, buttons});
    if (!buttons_.empty()) {
        const auto answer = buttons_.front();
        buttons_.pop_front();
        return answer;
    }
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    if (buttons.testFlag(QMessageBox::Ok))
        return QMessageBox::Ok;
    for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1)
        if (buttons & bit)
            return static_cast<QMessageBox::StandardButton>(bit);
    return QMessageBox::NoButton;
}

QString ScriptedDialogService::nextText()
{
    if (texts_.empty())
        return {};
    QString text = texts_.front();
    texts_.pop_front();
    return text;
}

QString ScriptedDialogService::openFileName(const QString& caption, const QString&, const QString& filter)
{
    shown_.push_back({Kind::OpenFile, caption, filter, {}});
    return nextText();
}

QString ScriptedDialogService::saveFileName(const QString& caption, const QString&, const QString& filter)
{
    shown_.push_back({Kind::SaveFile, caption, filter, {}});
    return nextText();
}

bool ScriptedDialogService::inputText(const QString& caption, const QString& prompt, QString& value, bool)
{
    shown_.push_back({Kind::Input, caption, prompt, {}});
    if (texts_.empty())
        return false;
    const QString text = nextText();
    if (text.isEmpty())
        return false;
    value = text;
    return true;
}

int ScriptedDialogService::execDialog(QDialog& dialog)
{
    shown_.push_back({Kind::Dialog, dialog.windowTitle(), dialog.objectName(), {}});
    if (dialogs_.empty())
        return QDialog::Rejected;
    DialogAnswer answer = std::move(dialogs_.front());
    dialogs_.pop_front();
    return answer(dialog);
}

QStringList ScriptedDialogService::texts() const
{
    QStringList out;
    for (const auto& s : shown_)
        out << s.text;
    return out;
}
