#pragma once

#include "archiveviewer.h"
#include "pageframe.h"

// The analysis page.
class TfraWW : public TPageFrame {
    Q_OBJECT
public:
    explicit TfraWW(QWidget* parent = nullptr) : TPageFrame("fraWW", {0, false, false}, parent) {}
};

class TfrmIOStatus : public TPageFrame {
    Q_OBJECT
public:
    explicit TfrmIOStatus(QWidget* parent = nullptr) : TPageFrame("frmIOStatus", {15, true, false}, parent) {}
};

// The event log page reads nothing when it is entered.
class TfrmAudit : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAudit(QWidget* parent = nullptr) : QWidget(parent) { setObjectName("frmAudit"); }
};
