#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;

// "Create Modbus": the mode of a new Modbus list. Made once at start-up and reused, so the last
// choice stays selected.
class TNewModbusDlg : public QDialog {
    Q_OBJECT
public:
    // The modal results of the two buttons.
    enum Result { Ok = 1, Cancel = 2 };

    explicit TNewModbusDlg(QWidget* parent = nullptr);

    // 0 ENRON, 1 MODICON16, 2 MODICON32; 0 when no item is chosen.
    int ChosenMode() const;
    void SetChosenMode(int mode);
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QGroupBox* group_;
    QButtonGroup* buttons_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
