#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// The busy window long commands show (not modal): an animation while the unit is read, or a
// progress bar for transfers.
class TWait : public QDialog {
    Q_OBJECT
public:
    explicit TWait(QWidget* parent = nullptr);

    // The one Wait window of the program, made on first use.
    static TWait* Instance();
    static void ReleaseInstance();

    void ShowAnimated();
    void ShowProgress(int maximum);
    QLabel* AniIcon1() const { return aniIcon_; }
    QProgressBar* Progress() const { return progress_; }

private:
    QLabel* aniIcon_;
    QProgressBar* progress_;
};
