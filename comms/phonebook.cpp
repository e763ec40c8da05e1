#include "phonebook.h"

#include "dialogservice.h"
#include "dialup.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWidget>

PhonebookHandlers::PhonebookHandlers(DialUpDialer& dialer, QObject* parent) : QObject(parent), dialer_(dialer) {}

void PhonebookHandlers::setControls(QLineEdit* phonebookEdit, QComboBox* entrySelect, QWidget* window)
{
    phonebookEdit_ = phonebookEdit;
    entrySelect_ = entrySelect;
    window_ = window;
}

void PhonebookHandlers::attach(QWidget* form)
{
    setControls(form->findChild<QLineEdit*>(QStringLiteral("PhonebookEdit")),
                form->findChild<QComboBox*>(QStringLiteral("EntrySelect")), form->window());
    if (entrySelect_)
        connect(entrySelect_, &QComboBox::activated, this, [this] { EntrySelectChange(entrySelect_->currentText()); });
    const std::pair<const char*, void (PhonebookHandlers::*)()> buttons[] = {
        {"PhonebookBtn", &PhonebookHandlers::PhonebookBtnClick},
        {"btnPBAddEntry", &PhonebookHandlers::btnPBAddEntryClick},
        {"btnPBEditEntry", &PhonebookHandlers::btnPBEditEntryClick},
        {"btnPBDeleteEntry", &PhonebookHandlers::btnPBDeleteEntryClick},
    };
    for (const auto& [name, handler] : buttons)
        if (auto* b = form->findChild<QPushButton*>(QString::fromLatin1(name)))
            connect(b, &QPushButton::clicked, this, [this, h = handler] { (this->*h)(); });
}

void PhonebookHandlers::EntrySelectChange(const QString& text)
{
    dialer_.setEntryName(text);
}

void PhonebookHandlers::PhonebookBtnClick()
{
    const QString file = DialogService::instance()->openFileName(QString(), QString(), QStringLiteral("*.pbk"));
    // A cancelled dialog used to put "Default" back, silently dropping a phonebook chosen before.
    if (file.isEmpty())
        return;
    const QString path = QFileInfo(file).absoluteFilePath();
    if (phonebookEdit_)
        phonebookEdit_->setText(path);
    dialer_.setPhonebook(path);
    FillPhonebookEntries();
}

void PhonebookHandlers::FillPhonebookEntries()
{
    QStringList entries;
    if (dialer_.ListEntries(entries) != DialUpDialer::Success)
        return;
    if (entrySelect_) {
        const QSignalBlocker block(entrySelect_);
        entrySelect_->clear();
        entrySelect_->addItems(entries);
        entrySelect_->setCurrentIndex(entries.isEmpty() ? -1 : 0);
    }
    if (!entries.isEmpty())
        dialer_.setEntryName(entries.first());
}

void PhonebookHandlers::showError(int code)
{
    DialogService::ask(QMessageBox::Critical, QStringLiteral("Error"), dialer_.GetErrorText(code), QMessageBox::Ok);
}

int PhonebookHandlers::runEntryDialog(int (DialUpDialer::*operation)(), bool leaveTop)
{
    QWidget* window = window_;
    const bool wasOnTop = window && leaveTop && (window->windowFlags() & Qt::WindowStaysOnTopHint);
    const bool wasVisible = window && window->isVisible();
    if (wasOnTop) {
        window->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        if (wasVisible)
            window->show();
    }
    const int result = (dialer_.*operation)();
    if (wasOnTop && window_) {
        window_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (wasVisible)
            window_->show();
    }
    if (result != DialUpDialer::Success)
        showError(result);
    return result;
}

void PhonebookHandlers::btnPBAddEntryClick()
{
    if (runEntryDialog(&DialUpDialer::CreatePhonebookEntry, true) == DialUpDialer::Success)
        FillPhonebookEntries();
}

void PhonebookHandlers::btnPBEditEntryClick()
{
    runEntryDialog(&DialUpDialer::EditPhonebookEntry, true);
}

void PhonebookHandlers::btnPBDeleteEntryClick()
{
    if (runEntryDialog(&DialUpDialer::DeletePhonebookEntry, false) == DialUpDialer::Success)
        FillPhonebookEntries();
}
