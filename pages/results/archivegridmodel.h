#pragma once

#include "filteredtablemodel.h"

#include <QStringList>
#include <array>
#include <vector>

struct ALOGPOINTRECORD;
class LogDBMgr;

// The archive grid's table: "Seq", "Log Name", "Timestamp" and eight value columns over the last
// N records of one log of the log database, read in place. It can also hold the cells of a grid
// file instead (Load from File), which then stand alone until the next log is shown.
//
// The model points into the log database's per-log list: whoever clears or refills the database
// (a download, an archive file) calls Clear() first, and shows the log again afterwards.
class ArchiveGridModel : public FilteredTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 11;
    static constexpr int kFixedColumns = 3;
    static constexpr int kValueColumns = 8;
    enum Column { colSeq = 0, colLogID = 1, colTS = 2 };

    explicit ArchiveGridModel(QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;

    // Shows records count - shown to count - 1 of the log's list (distributed), the log's first
    // valueCount values, under the given value-column headers (at most eight are used).
    void ShowLog(const LogDBMgr& db, int log, int shown, int valueCount, const QStringList& valueHeaders);
    // Cells of a grid file: the headers and rows as they were saved.
    void ShowCells(const QStringList& headers, std::vector<QStringList> rows);
    // No rows; the value headers are emptied.
    void Clear();

    // The value headers alone (for a refill that keeps them).
    void SetValueHeaders(const QStringList& valueHeaders);

    int Log() const { return log_; }
    // The record behind a shown row; null for a row of grid-file cells or outside the table.
    const ALOGPOINTRECORD* RecordAt(int row) const;

    // The archive's name: "On Run", "Hourly", "Daily", "Periodic 1", "Periodic 2", "Periodic 3",
    // "unknown".
    static QString ArchiveName(int log);
    // A record's time as the grid shows it: the time alone below one day, the date alone at
    // midnight, else both.
    static QString TimeText(double dateTime);

protected:
    int CountSourceRows() const override;
    QString SourceText(int sourceRow, int column) const override;
    QString SourceHeader(int column) const override;
    double SourceDate(int sourceRow, int column) const override;
    bool SourceMatches(int sourceRow, int column, const gridfilter::Condition& condition) const override;

private:
    std::array<QString, kColumns> headers_;
    // The log's records (not owned) and the part of them shown.
    const std::vector<ALOGPOINTRECORD*>* records_ = nullptr;
    int log_ = 0;
    int first_ = 0;
    int shown_ = 0;
    int valueCount_ = 0;
    QString logName_;
    // Grid-file cells, used when records_ is null.
    std::vector<QStringList> cells_;
};
