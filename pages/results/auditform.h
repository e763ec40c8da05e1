#pragma once

#include <QWidget>

class DataBase;
class PageHost;
class TAuditView;

// The "Event Log" window: the event memory left by the last "ReadAudit", read as packed 9-byte
// records in memory order, in the same grid as the Events page, with its own usage bar (the
// share of 9-byte slots that hold a good record). It has no read button and rebuilds its grid
// from the memory each time it is activated. The program makes it hidden at start-up; nothing in
// the program shows it. It is handed the database it reads and the host its grid asks for date
// ranges; both must outlive it.
class TAuditForm : public QWidget {
    Q_OBJECT
public:
    TAuditForm(const DataBase& database, PageHost& host, QWidget* parent = nullptr);

    TAuditView* View() const { return view_; }

public slots:
    void FormActivate();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const DataBase& database_;
    TAuditView* view_;
};
