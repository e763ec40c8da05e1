#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;

// "Confirm Changes": what the last write sent to the unit (the database's change list), shown
// before the unit stores its configuration permanently. Accept empties the list; Cancel and the
// close box keep it.
class TfrmChanges : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChanges(QWidget* parent = nullptr);

    // Refills the list from the change list, in its order.
    void FormShow();
    void Button1Click();
    void Button2Click();

    QTableWidget* lvChanges() const { return list_; }
    QPushButton* Button1() const { return accept_; }
    QPushButton* Button2() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTableWidget* list_;
    QPushButton* accept_;
    QPushButton* cancel_;
};
