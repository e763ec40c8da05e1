#pragma once

#include <QDialog>
#include <QTreeWidget>
#include <array>

class DataBase;
class PageHost;
class QLabel;
class QTabWidget;
class QToolButton;
class TfraArchiveHdr;
class UniqueLogID;

// The tree of points that can be logged: a point node drags its point id (logconfigedit.h);
// groups do not drag.
class TLogPointTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TLogPointTree(const DataBase& database, QWidget* parent = nullptr);

    // The point id of a point node; 0 for a group or the root.
    int PointIdOf(const QTreeWidgetItem* item) const;

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const DataBase& database_;
};

// "Log Configuration": which points each of the five archive logs records, whether it records
// and how often, and the write to the unit. Made once at start-up and shown modally from the
// Archive page. Showing it rereads the configuration from the unit and reloads the tabs, which
// drops edits not yet written; edits go into the database's log table at once and reach the unit
// through "Write to Analyzer" (or Enter in a frequency edit). Whoever makes it hands it the
// database, the main window's host (which queues its reads and writes) and the list of log id
// codes in use; all three outlive it.
class TLogFrm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTabs = 5;

    TLogFrm(DataBase& database, PageHost& host, UniqueLogID& logIds, QWidget* parent = nullptr);

    TfraArchiveHdr* Frame(int logIndex) const { return frames_.at(static_cast<std::size_t>(logIndex)); }
    TLogPointTree* Tree() const { return tree_; }

    // What showing the window does: fill the tree, read the configuration, offer to repair
    // repeated id codes, reload the tabs and warn.
    void FormActivate();
    void ShowCapacities();

    // Closing offers the permanent write.
    void done(int result) override;

public slots:
    void btnReadClick();
    void btnWriteClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetEditing(bool enabled);
    void ReloadFrames();
    void Queue(const char* command);

    DataBase& database_;
    PageHost& host_;
    TLogPointTree* tree_;
    QTabWidget* pcArchives_;
    QToolButton* btnRead_;
    QToolButton* btnWrite_;
    std::array<TfraArchiveHdr*, kTabs> frames_{};
    std::array<QLabel*, kTabs> records_{};
    std::array<QLabel*, kTabs> days_{};
};
