#pragma once

#include "analysispage.h"
#include "archiveviewer.h"
#include "iostatuspage.h"
#include "pageframe.h"

// The event log page reads nothing when it is entered.
class TfrmAudit : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmAudit(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};
