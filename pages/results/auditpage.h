#pragma once

#include "pageframe.h"

class TAuditView;
class QToolButton;

// The Events page: reads the unit's event log only when asked ("Read from Analyzer"), shows the
// events oldest first with the share of the event memory they fill, and offers the event grid's
// filters, report files, exports and clipboard copies. Entering the tab reads nothing.
class TfrmAudit : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmAudit(const PageServices& services, QWidget* parent = nullptr);

    // Read-only mode leaves the page as it is: reading and saving the event log change nothing
    // in the unit.
    void FollowReadOnly(bool) override {}

    TAuditView* View() const { return view_; }

public slots:
    // Fills the grid and the usage bar from the event memory the last "ReadAudit" left behind;
    // the main window calls it when the command reports "AuditFinish".
    void ShowEvents();
    // "Read from Analyzer".
    void btnBackClick();
    void btnAutoSizeColsClick();

private:
    QToolButton* btnReadAudit_;
    QToolButton* btnAutoSizeCols_;
    TAuditView* view_;
};
