#pragma once

#include <QObject>
#include <QPointer>

class DialUpDialer;
class QComboBox;
class QLineEdit;
class QWidget;

// The " Phonebook " group of the "Communications Setup" window: the phonebook path, its entries
// and the entry buttons, acting on the dial-up dialer. The handlers work on the controls they
// are given; attach() finds PhonebookEdit, PhonebookBtn, EntrySelect, btnPBAddEntry,
// btnPBEditEntry and btnPBDeleteEntry under a form by name and wires them.
class PhonebookHandlers : public QObject {
public:
    PhonebookHandlers(DialUpDialer& dialer, QObject* parent = nullptr);

    // Wires the controls found under form and remembers them for the handlers below; the form's
    // window is the one taken off the top while an entry dialog is open.
    void attach(QWidget* form);
    void setControls(QLineEdit* phonebookEdit, QComboBox* entrySelect, QWidget* window);

    void EntrySelectChange(const QString& text);
    // "...": a phonebook file ("*.pbk"); a cancelled dialog keeps the phonebook chosen before.
    void PhonebookBtnClick();
    // Lists the phonebook's entries into EntrySelect and selects the first; a failure leaves the
    // list as it was and shows nothing; an empty list keeps the dialer's entry.
    void FillPhonebookEntries();
    void btnPBAddEntryClick();
    void btnPBEditEntryClick();
    void btnPBDeleteEntryClick();

private:
    // Runs an entry dialog with the window taken off the top, and reports a failure.
    int runEntryDialog(int (DialUpDialer::*operation)(), bool leaveTop);
    void showError(int code);

    DialUpDialer& dialer_;
    QPointer<QLineEdit> phonebookEdit_;
    QPointer<QComboBox> entrySelect_;
    QPointer<QWidget> window_;
};
