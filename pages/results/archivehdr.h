#pragma once

#include "logconfigedit.h"
#include "qadvcolumngrid.h"

#include <QWidget>
#include <functional>
#include <optional>

class DataBase;
class PageHost;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QMimeData;
class UniqueLogID;

// The grid of a log's points: takes points dragged from the window's tree and lets the user move
// rows by their headers. What a drop means is the frame's business.
class TLogPointGrid : public QAdvColumnGrid {
    Q_OBJECT
public:
    explicit TLogPointGrid(QWidget* parent = nullptr);

    std::function<logcfg::DropVerdict(std::optional<std::uint16_t> point, logcfg::DropPlace place, int row)> JudgeDrop;
    std::function<void(std::optional<std::uint16_t> point, logcfg::DropPlace place, int row)> DropPoint;

    // Where a position of the viewport lies: the place and the row (from 1).
    std::pair<logcfg::DropPlace, int> PlaceAt(const QPoint& position) const;
    static std::optional<std::uint16_t> PointOf(const QMimeData* data);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// One archive log on its tab of the "Log Configuration" window: the points it records, its
// enable switch and its frequency. Every change goes into the log's LogRecord in the database at
// once; only Enter in the frequency edit also sends the configuration to the unit. The database,
// the host and the list of id codes in use are its window's, and outlive it.
class TfraArchiveHdr : public QWidget {
    Q_OBJECT
public:
    enum Columns { colSeq = 0, colPointName, colEnable, colFrequency, colLogID, kColumns };

    TfraArchiveHdr(DataBase& database, PageHost& host, UniqueLogID& logIds, QWidget* owner, int logIndex);
    ~TfraArchiveHdr() override;

    void LoadFromDatabase();

    // The window's settings for the daily log: hour column and labels, hours 0 to 23.
    void SetDailyLog();
    // The window's settings for the logs without a frequency.
    void HideFrequency();
    void HideFrequencyColumn();

    // Called after every change of the log (the window refreshes its capacity labels).
    std::function<void()> Changed;

    int LogIndex() const { return logIndex_; }
    TLogPointGrid* Grid() const { return grid_; }
    QCheckBox* EnableBox() const { return chkEnable_; }
    QLineEdit* FrequencyEdit() const { return edtFrequency_; }

    // The user's actions, as the widgets call them.
    void DropPoint(std::optional<std::uint16_t> point, logcfg::DropPlace place, int row);
    void mnuDeleteCurrItemClick();
    void chkEnableClick();
    void edtFrequencyEnter();
    // Rows from 1.
    void MoveRow(int from, int to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LogRecord& Record() const;
    void Render();
    // Gives the log a code no log holds; false when none is left.
    bool DrawNewId();
    void gridArchiveHdrRightClickCell(const QPoint& position);
    void gridArchiveHdrRowMoved(int logical, int oldVisual, int newVisual);
    void AfterChange();
    // Under "KVT408", section "ArchiveHdr".
    void LoadColumnWidths();

    DataBase& database_;
    PageHost& host_;
    UniqueLogID& logIds_;
    int logIndex_;
    bool newIdDrawn_ = false;
    bool dailyLog_ = false;
    bool loadingWidths_ = false;
    std::optional<std::pair<int, int>> hourRange_;
    TLogPointGrid* grid_;
    QCheckBox* chkEnable_;
    QLabel* edtFrequencyLabel_;
    QLineEdit* edtFrequency_;
    QLabel* edtUnit_;
    QMenu* popArchiveHdr_;
    QAction* mnuDeleteCurrItem_;
};
