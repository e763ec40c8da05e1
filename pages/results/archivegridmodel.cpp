#include "archivegridmodel.h"

#include "logdbmgr.h"
#include "toolkitdate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

ArchiveGridModel::ArchiveGridModel(QObject* parent) : FilteredTableModel(parent)
{
    headers_[colSeq] = QStringLiteral("Seq");
    headers_[colLogID] = QStringLiteral("Log Name");
    headers_[colTS] = QStringLiteral("Timestamp");
}

int ArchiveGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QString ArchiveGridModel::ArchiveName(int log)
{
    static const char* const names[] = {"On Run", "Hourly", "Daily", "Periodic 1", "Periodic 2", "Periodic 3"};
    return log >= 0 && log < 6 ? QString::fromLatin1(names[log]) : QStringLiteral("unknown");
}

QString ArchiveGridModel::TimeText(double dateTime)
{
    if (dateTime < 1 && dateTime >= 0)
        return toolkitdate::timeToStr(dateTime);
    return toolkitdate::dateTimeToStr(dateTime);
}

void ArchiveGridModel::ShowLog(const LogDBMgr& db, int log, int shown, int valueCount, const QStringList& valueHeaders)
{
    BeginReset();
    cells_.clear();
    log_ = log;
    logName_ = ArchiveName(log);
    records_ = nullptr;
    first_ = shown_ = 0;
    if (log >= 0 && log < LogDBMgr::kLogCount) {
        records_ = &db.PerLog().logs[static_cast<std::size_t>(log)].records;
        const int count = static_cast<int>(records_->size());
        shown_ = std::clamp(shown, 0, count);
        first_ = count - shown_;
    }
    valueCount_ = std::clamp(valueCount, 0, kValueColumns);
    for (int j = 0; j < kValueColumns; ++j)
        headers_[static_cast<std::size_t>(kFixedColumns + j)] = j < valueHeaders.size() ? valueHeaders[j] : QString();
    EndReset();
}

void ArchiveGridModel::ShowCells(const QStringList& headers, std::vector<QStringList> rows)
{
    BeginReset();
    records_ = nullptr;
    first_ = shown_ = valueCount_ = 0;
    for (int c = 0; c < kColumns; ++c)
        headers_[static_cast<std::size_t>(c)] = c < headers.size() ? headers[c] : QString();
    cells_ = std::move(rows);
    EndReset();
}

void ArchiveGridModel::Clear()
{
    ShowCells({headers_[colSeq], headers_[colLogID], headers_[colTS]}, {});
}

void ArchiveGridModel::SetValueHeaders(const QStringList& valueHeaders)
{
    for (int j = 0; j < kValueColumns; ++j)
        headers_[static_cast<std::size_t>(kFixedColumns + j)] = j < valueHeaders.size() ? valueHeaders[j] : QString();
    emit headerDataChanged(Qt::Horizontal, kFixedColumns, kColumns - 1);
}

const ALOGPOINTRECORD* ArchiveGridModel::RecordAt(int row) const
{
    const int source = SourceRow(row);
    if (source < 0 || !records_)
        return nullptr;
    return (*records_)[static_cast<std::size_t>(first_ + source)];
}

int ArchiveGridModel::CountSourceRows() const
{
    return records_ ? shown_ : static_cast<int>(cells_.size());
}

QString ArchiveGridModel::SourceText(int sourceRow, int column) const
{
    if (!records_) {
        const QStringList& row = cells_[static_cast<std::size_t>(sourceRow)];
        return column < row.size() ? row[column] : QString();
    }
    const ALOGPOINTRECORD& record = *(*records_)[static_cast<std::size_t>(first_ + sourceRow)];
    switch (column) {
    case colSeq:
        return QString::number(first_ + sourceRow + 1);
    case colLogID:
        return logName_;
    case colTS:
        return TimeText(record.dateTime);
    default:
        break;
    }
    const int j = column - kFixedColumns;
    if (j >= valueCount_)
        return {};
    return QString::fromStdString(record.ValueText(log_ * 8 + j));
}

QString ArchiveGridModel::SourceHeader(int column) const
{
    return headers_[static_cast<std::size_t>(column)];
}

double ArchiveGridModel::SourceDate(int sourceRow, int column) const
{
    if (column != colTS)
        return std::numeric_limits<double>::quiet_NaN();
    if (records_)
        return (*records_)[static_cast<std::size_t>(first_ + sourceRow)]->dateTime;
    // Cells of a grid file: the time stamp as the grid wrote it.
    return toolkitdate::strToDateTime(SourceText(sourceRow, column)).value_or(std::numeric_limits<double>::quiet_NaN());
}

bool ArchiveGridModel::SourceMatches(int sourceRow, int column, const gridfilter::Condition& condition) const
{
    if (records_ && column >= kFixedColumns) {
        const int j = column - kFixedColumns;
        if (j >= valueCount_)
            return condition.Matches(std::string_view());
        const std::string text = (*records_)[static_cast<std::size_t>(first_ + sourceRow)]->ValueText(log_ * 8 + j);
        return condition.Matches(std::string_view(text));
    }
    if (records_ && column == colSeq) {
        char buffer[16];
        const int n = std::snprintf(buffer, sizeof buffer, "%d", first_ + sourceRow + 1);
        return condition.Matches(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    return FilteredTableModel::SourceMatches(sourceRow, column, condition);
}
