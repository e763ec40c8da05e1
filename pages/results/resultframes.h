#pragma once

#include "analysispage.h"
#include "iostatuspage.h"
#include "pageframe.h"

// The archive viewer shows no point of its own: entering it empties the scan list.
class TfraArchiveViewer : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraArchiveViewer(QWidget* parent = nullptr);
    bool IsReadOnly() const { return readOnly_; }
public slots:
    void SetReadOnly(bool readOnly);

private:
    bool readOnly_ = true;
};

// The event log page reads nothing when it is entered.
class TfrmAudit : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmAudit(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};
