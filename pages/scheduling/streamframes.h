#pragma once

#include "streambindings.h"

#include <QWidget>
#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QTabWidget;
class TQAdvToolButton;
class TQCheckBox;
class TQComboBox;
class TQEdit;
class TQLabeledEdit;

// One run type of one stream: name, counts, schedule, sampling times, switching outputs,
// analog-output overrides, alarms and the button that requests a run. The frame binds nothing
// itself; Bind gives every box its point from the page's table and hides the boxes the run type
// has no point for.
class TfraAnaSetDefn : public QWidget {
    Q_OBJECT
public:
    explicit TfraAnaSetDefn(QWidget* parent = nullptr);

    // Shapes the frame for its run type on its stream (captions, input rules, hidden boxes) and
    // binds its boxes.
    void Bind(int stream, int runType);

    int SetIndex() const { return setIndex_; }
    void setSetIndex(int index) { setIndex_ = index; }

    TQAdvToolButton* btnRequest() const { return btnRequest_; }
    TQComboBox* Function(int combo) const { return combo == 1 ? cbAOMgr1Function_ : cbAOMgr2Function_; }
    // The bound widget of a box (for a mask, its relay-1 box); null for the run request.
    QWidget* BoxWidget(streamspage::Box box) const;
    // Every relay and solenoid box of a mask, relays first.
    const std::array<TQCheckBox*, analyzer::kRelays + analyzer::kSolenoids>& MaskBoxes(streamspage::Box mask) const;
    // The alarm enables and every mask box: what the hidden test switches.
    std::vector<TQCheckBox*> AlarmAndMaskBoxes() const;

    // Shows or hides the schedule panel.
    void rbScheduledClick();
    void rbNormSeqClick();

private:
    QWidget* BuildTop();
    QWidget* BuildSchedule();
    QWidget* BuildOverride();
    QWidget* BuildSwitching();
    QWidget* BuildAlarms();
    // The relay and solenoid boxes of a mask from the grid's row and column on: relays above
    // solenoids, or (oneLine) solenoids after the relays on the same row. Returns what it added.
    std::vector<QWidget*> AddMaskRows(class QGridLayout* grid, int row, int column, streamspage::Box mask,
                                      QWidget* parent, bool oneLine = false);

    int setIndex_ = 0;
    TQAdvToolButton* btnRequest_ = nullptr;
    TQComboBox* cbAOMgr1Function_ = nullptr;
    TQComboBox* cbAOMgr2Function_ = nullptr;
    QWidget* pnlSheduledFreq_ = nullptr;
    QWidget* pnlExtra_ = nullptr;
    QLabel* lblStrmCalUsed_ = nullptr;
    std::vector<QWidget*> highHighAndLock_;  // hidden with the boxes on runs that have none
    std::array<QWidget*, streamspage::kBoxCount> boxes_{};
    std::array<std::array<TQCheckBox*, analyzer::kRelays + analyzer::kSolenoids>, streamspage::kMasks.size()> masks_{};
};

// One stream: its gain, zero offset and analysis units, and its six run types on tabs.
class TfraStream : public QWidget {
    Q_OBJECT
public:
    explicit TfraStream(int stream, QWidget* parent = nullptr);

    TQLabeledEdit* ledGainFactor() const { return ledGainFactor_; }
    TQLabeledEdit* ledZeroOffset() const { return ledZeroOffset_; }
    TQLabeledEdit* glAnalysisUnit() const { return glAnalysisUnit_; }
    QTabWidget* PageControlAnaSetDefns() const { return tabs_; }
    // In page order: H2S, Total Sulphur, Calibration, Reference 1, Reference 2, Zero.
    const std::array<TfraAnaSetDefn*, analyzer::kRunTypes>& SetFrames() const { return setFrames_; }

private:
    TQLabeledEdit* ledGainFactor_ = nullptr;
    TQLabeledEdit* ledZeroOffset_ = nullptr;
    TQLabeledEdit* glAnalysisUnit_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<TfraAnaSetDefn*, analyzer::kRunTypes> setFrames_{};
};
