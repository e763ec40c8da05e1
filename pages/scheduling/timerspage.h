#pragma once

#include "pageframe.h"
#include "timermodel.h"

#include <QFrame>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QTabWidget;
class TQAdvToolButton;
class TQLabel;
class TQStructOberver;
namespace Ui {
class TfrmTimerSetup;
}

// One timer of the timers page. It shows a TimerValues and writes the user's edits back into it;
// values shown from code never count as edits. Hour and minute are checked when the user ends
// the edit: a text outside 0-23 / 0-59 is refused with a message and the box shows the last good
// value again, so nothing out of range reaches the block. Before a write they are checked again:
// a box that holds no hour or minute (the unit's own out-of-range value among them) stops the
// write, named by its timer and shown.
class TfrmTimerSetup : public QFrame {
    Q_OBJECT
public:
    // timerNumber 1-12: odd timers start the sequencer, even ones stop it.
    explicit TfrmTimerSetup(int timerNumber, QWidget* parent = nullptr);
    ~TfrmTimerSetup() override;

    int TimerNumber() const { return number_; }
    const timerpage::TimerValues& Values() const { return values_; }
    void SetValues(const timerpage::TimerValues& values);
    // Shows the run boxes of streams 1 to count and hides the others; checked states stay.
    void ShowStreams(int count);
    QCheckBox* RunBox(int stream, int run) const { return runBoxes_[analyzer::runMaskBit(stream, run)]; }
    // Takes what the hour and minute boxes hold if the user has not ended the edit yet; false,
    // after telling the user, when a box holds a text that is not an hour or minute (at a write,
    // with the timer named and the box shown).
    bool CommitTexts(bool atWrite = false);

signals:
    void Edited();

private:
    void Show();
    void DayChosen(int index);
    using Parse = std::optional<std::uint8_t> (*)(const QString& text, QString* problem);
    bool HourEntered(bool atWrite);
    bool MinuteEntered(bool atWrite);
    bool BoxEntered(QLineEdit* box, Parse parse, std::uint8_t& value, bool atWrite);
    void BoxClicked();
    void AnalysisEnableClick();
    void SequencerEnableClick();

    std::unique_ptr<Ui::TfrmTimerSetup> ui_;
    int number_;
    timerpage::TimerValues values_;
    std::array<QCheckBox*, analyzer::kRunMaskBits> runBoxes_{};
    std::array<QCheckBox*, timerpage::kManualSequences> manualBoxes_{};
    bool checking_ = false;
};

// The timers page: twelve timers on two tabs, exchanged with the unit's timer block. Its scan list
// is its one bound control, the Streams label (point 20). The page has no read-only state of its own and stays editable in read-only mode, where the main window's
// write buttons are disabled.
class TfrmTimer1 : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmTimer1(const PageServices& services, QWidget* parent = nullptr);
    ~TfrmTimer1() override;

    // The page stays enabled in both modes.
    void FollowReadOnly(bool) override {}

    TimerXConfiguration EncodeTimerXConfiguration() const;
    void DecodeTimerXConfiguration(TimerXConfiguration block);
    TfrmTimerSetup* Timer(int number) const { return timers_[number - 1]; }
    bool IsLoading() const { return FirstEntry(); }

protected:
    bool event(QEvent* e) override;

private:
    void StreamsDBPointValueChanged(const QString& value, bool& showValue);
    void btnTestClick();

    QTabWidget* pageControl_;
    std::array<TfrmTimerSetup*, timerx::kTimers> timers_{};
    TQLabel* streams_;
    TQAdvToolButton* btnTest_;
    TQStructOberver* observer_;
};
