#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;

// The start-up window: a picture, a progress bar of 20 steps and a line of text.
class TfrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    // Advances the bar one step; a non-empty text replaces the line.
    void Step(const QString& text = {});
    QProgressBar* ProgressBar1() const { return bar_; }
    QLabel* Label1() const { return label_; }

private:
    QProgressBar* bar_;
    QLabel* label_;
};

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
};

// Two dates picked by the user; the earlier is the start, the later the end.
class TfrmDateRangeDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDateRangeDlg(QWidget* parent = nullptr);
    QDateEdit* DateTime1() const { return date1_; }
    QDateEdit* DateTime2() const { return date2_; }
    QDate Start() const;
    QDate End() const;

private:
    QDateEdit* date1_;
    QDateEdit* date2_;
};

// The chart's vertical range; the edits keep their texts between uses.
class TfrmScaleDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmScaleDlg(QWidget* parent = nullptr);
    QLineEdit* ledMinY() const { return min_; }
    QLineEdit* ledMaxY() const { return max_; }
    // False when either text is not a number.
    bool Range(double& minimum, double& maximum) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* min_;
    QLineEdit* max_;
};

namespace helpdocs {
constexpr char kWiringBook[] = "515_WIRING_REV3.pdf";
constexpr char kManual[] = "515 manual - Rev 8 Feb 27 2012.pdf";
// Opens a document of the data directory with the desktop's viewer; a missing document is
// reported instead of failing silently. False when it could not be opened.
bool OpenDocument(const QString& fileName);
}  // namespace helpdocs

// The warning shown when the workstation suspends while the user is logged on.
void ShowSuspendWarning();
