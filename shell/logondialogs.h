#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// The password prompt of the update mode and the factory page; the caller sets its caption.
class TfrmLogon : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogon(QWidget* parent = nullptr);

    // Empties the edit, gives it the focus and runs the dialog modally under the caption.
    // True for OK; the text is then Password().
    bool Ask(const QString& caption);
    QString Password() const;
    QLineEdit* ledPassword() const { return password_; }

private:
    QLineEdit* password_;
};

// The choice after a logon: read-only or update mode.
class TUpdModeDlg : public QDialog {
    Q_OBJECT
public:
    // "Update" ends the dialog with Yes; "Read Only", Escape and the close box with No.
    enum Result { No = 7, Yes = 6 };

    explicit TUpdModeDlg(QWidget* parent = nullptr);
    void reject() override { done(No); }

    QPushButton* btnReadOnly() const { return readOnly_; }
    QPushButton* btnUpdate() const { return update_; }

private:
    QPushButton* readOnly_;
    QPushButton* update_;
};

// The change of the update-mode password. OK closes it only when the new password was typed
// the same twice and no field is empty; the edits keep their texts between uses.
class TSetUpdPwdDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSetUpdPwdDlg(QWidget* parent = nullptr);

    QLineEdit* edOldPwd() const { return old_; }
    QLineEdit* edNewPwd1() const { return new1_; }
    QLineEdit* edNewPwd2() const { return new2_; }
    QPushButton* OKBtn() const { return ok_; }

public slots:
    void OKBtnClick();

private:
    QLineEdit* old_;
    QLineEdit* new1_;
    QLineEdit* new2_;
    QPushButton* ok_;
};
