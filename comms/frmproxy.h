#pragma once

#include "commport.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// "Proxy Settings": edits the SOCKS server in front of a TCP link.
class TfrmProxy : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProxy(QWidget* parent = nullptr);

    // Fills the fields from socks (version 0 selects no item).
    void load(const SocksInfo& socks);
    // The fields into socks: the port as a 16-bit number (a text that is not one keeps the old
    // port), the version as the chosen item + 1.
    void store(SocksInfo& socks) const;

    QLineEdit* ledAddress = nullptr;
    QLineEdit* ledPort = nullptr;
    QLineEdit* ledUsername = nullptr;
    QLineEdit* ledPW = nullptr;
    QComboBox* cbSocksVer = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
