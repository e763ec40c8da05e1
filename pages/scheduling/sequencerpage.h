#pragma once

#include "pageframe.h"
#include "sequencermodel.h"

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QMimeData;
class QKeyEvent;
class QRadioButton;
class QTreeWidgetItem;
class TQStructOberver;
namespace Ui {
class TfrSequencer;
}

// The sequencer page: the unit's automatic sequence and eight manual sequences, built by
// dragging run types from the catalogue onto the lists, with the switches of the sequencer block,
// the point-bound manual requests, the state text and the current-step marks.
//
// The page holds the block as a seqpage::PageModel; the widgets are drawn from it and the user's
// edits go into it. Nothing is sent from here: the block reaches the database on
// WM_SEND_TO_DATABASE, and the main window's write sends it while this page is shown. An edit
// made while logged on that the user leaves without such a write is pointed out when the tab is
// left, as it would otherwise be lost at the next read of the block.
class TfrSequencer : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrSequencer(const PageServices& services, QWidget* parent = nullptr);
    ~TfrSequencer() override;

    // Read-only mode disables the page as a whole and sets its own flag (SetReadOnly), which
    // refuses drops and deletions while logged on.
    void FollowReadOnly(bool readOnly) override;

    void RegisterPoints() override;
    ScanIds ScanList() const override;

    SequencerConfiguration EncodeSequencerConfiguration() const { return seqpage::encode(model_); }
    void DecodeSequencerConfiguration(SequencerConfiguration block);
    // Reloads the page from the database's block.
    void QSequencerObserverSEChanged();

    const seqpage::PageModel& Model() const { return model_; }
    const seqpage::RunState& RunState() const { return runState_; }
    bool IsReadOnly() const { return readOnly_; }
    bool IsLoading() const { return FirstEntry(); }
    // A change made on the page that no write from the page has sent yet.
    bool HasUnsentChange() const { return unsent_; }

    // Whether the user is logged on to the unit (the page host's answer); replaceable for tests
    // that have no main window.
    std::function<bool()> LoggedOn;

    // The drop test and the drop itself, as the lists call them.
    bool AcceptDrop(const QMimeData* data, QTreeWidgetItem* target, QWidget* source) const;
    void DropOnto(const QMimeData* data, QTreeWidgetItem* target);
    // The list's handling of Delete and Alt+Up/Down; true when the key was consumed (Delete never
    // is: it goes on to the list).
    bool tlSequencerKeyDown(QKeyEvent* event);

    static QString UnsentChangeText();

public slots:
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    void StoreSequencerConfiguration();

protected:
    bool event(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool Locked() const;
    void Show();
    void ShowLists();
    void ShowSwitches();
    void Edited();
    void SelectStep(int list, int index);
    void SequencerStateDBPointValueChanged(const QString& value, bool& showValue);
    void MSOnDBPointValueChanged();
    void MSLoopEnableClick(int manualIndex);

    std::unique_ptr<Ui::TfrSequencer> ui_;
    TQStructOberver* observer_;
    std::array<QRadioButton*, 8> manualInputs_{};
    std::array<QCheckBox*, 8> msEnable_{};
    std::array<QCheckBox*, 8> loopEnableBoxes_{};
    std::array<std::array<QRadioButton*, 8>, 8> sequenceInputs_{};
    seqpage::PageModel model_;
    seqpage::RunState runState_;
    bool readOnly_ = true;
    bool unsent_ = false;
};
