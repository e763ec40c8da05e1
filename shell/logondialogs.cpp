#include "logondialogs.h"

#include "dialogservice.h"
#include "modalrun.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* maskedEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QPushButton* button(const char* name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

void fixedDialog(QDialog* dialog, const char* name, const QString& caption)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    dialog->setModal(true);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

}  // namespace

TfrmLogon::TfrmLogon(QWidget* parent) : QDialog(parent)
{
    fixedDialog(this, "frmLogon", "Factory Logon");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    password_ = maskedEdit("ledPassword", this);
    password_->setMaxLength(64);
    form->addRow(new QLabel("Password:", this), password_);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    auto* ok = button("OKBtn", "OK", this);
    ok->setDefault(true);
    auto* cancel = button("CancelBtn", "Cancel", this);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmLogon::Ask(const QString& caption)
{
    setWindowTitle(caption);
    password_->clear();
    password_->setFocus();
    return modal::exec(*this) == QDialog::Accepted;
}

QString TfrmLogon::Password() const
{
    return password_->text();
}

TUpdModeDlg::TUpdModeDlg(QWidget* parent) : QDialog(parent)
{
    fixedDialog(this, "UpdModeDlg", "Select Mode...");
    auto* layout = new QHBoxLayout(this);
    readOnly_ = button("btnReadOnly", "Read Only", this);
    readOnly_->setDefault(true);
    update_ = button("btnUpdate", "Update", this);
    layout->addWidget(readOnly_);
    layout->addWidget(update_);
    connect(readOnly_, &QPushButton::clicked, this, [this] { done(No); });
    connect(update_, &QPushButton::clicked, this, [this] { done(Yes); });
}

TSetUpdPwdDlg::TSetUpdPwdDlg(QWidget* parent) : QDialog(parent)
{
    fixedDialog(this, "SetUpdPwdDlg", "Update Password Dialog");
    auto* layout = new QVBoxLayout(this);
    old_ = maskedEdit("edOldPwd", this);
    new1_ = maskedEdit("edNewPwd1", this);
    new2_ = maskedEdit("edNewPwd2", this);
    layout->addWidget(new QLabel("Enter Old Password:", this));
    layout->addWidget(old_);
    layout->addWidget(new QLabel("Enter New Password (twice):", this));
    layout->addWidget(new1_);
    layout->addWidget(new2_);
    auto* row = new QHBoxLayout;
    ok_ = button("OKBtn", "OK", this);
    ok_->setDefault(true);
    auto* cancel = button("CancelBtn", "Cancel", this);
    row->addStretch();
    row->addWidget(ok_);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, &TSetUpdPwdDlg::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSetUpdPwdDlg::OKBtnClick()
{
    bool complete = true;
    if (new1_->text() != new2_->text()) {
        QApplication::beep();
        DialogService::ask(QMessageBox::Critical, "Error", "New password doesn't match", QMessageBox::Ok);
        complete = false;
    }
    if (new1_->text().isEmpty() || new2_->text().isEmpty() || old_->text().isEmpty()) {
        QApplication::beep();
        DialogService::ask(QMessageBox::Critical, "Error", "Please complete all fields", QMessageBox::Ok);
        complete = false;
    }
    if (complete)
        accept();
}
