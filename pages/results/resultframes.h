#pragma once

#include "archiveviewer.h"
#include "pageframe.h"

// The analysis page.
class TfraWW : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraWW(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

class TfrmIOStatus : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmIOStatus(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

// The event log page reads nothing when it is entered.
class TfrmAudit : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmAudit(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};
