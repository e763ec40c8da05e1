#pragma once

#include "filteredtablemodel.h"

#include <QStringList>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class IAuditProgress;

// One event as the event grids show it.
struct AuditGridRow {
    double date = 0;
    QString timestamp;  // empty: the grid writes the date's text when the cell is first asked for
    QString eventText;
    QString description1;
    QString description2;
};

// The event grids' table (the Events page and the Event Log window): "Seq", "Timestamp", "Event",
// "Description 1", "Description 2" and the operator's comment column, the only one that can be
// edited. It holds either decoded events (numbered from 1) or the cells of an event log report
// file.
class AuditGridModel : public FilteredTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;
    enum Column { colSeq = 0, colTS = 1, colEvent = 2, colAlarm = 3, colState = 4, colComment = 5 };

    explicit AuditGridModel(QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The events in the order given, Seq 1, 2, ...; the comments empty.
    void ShowEvents(std::vector<AuditGridRow> rows);
    // The cells of a report file (kColumns cells a row); time stamps that read back as
    // date-times filter as dates.
    void ShowCells(const QStringList& headers, std::vector<QStringList> rows);
    void Clear();

protected:
    int CountSourceRows() const override;
    QString SourceText(int sourceRow, int column) const override;
    QString SourceHeader(int column) const override;
    double SourceDate(int sourceRow, int column) const override;

private:
    struct Row {
        std::array<QString, kColumns> cells;
        double date = 0;  // NaN when the time stamp is no date-time
        bool timeTextDue = false;
    };
    std::array<QString, kColumns> headers_;
    // Time stamp texts are written when first asked for: a view paints only the rows it shows,
    // and date filters compare the dates, so a large read fills at once.
    mutable std::vector<Row> rows_;
};

namespace auditrows {

// The event memory as the unit keeps it (framed, escaped records), in time order, and the bytes
// the good frames occupy.
struct Framed {
    std::vector<AuditGridRow> rows;
    std::size_t used = 0;
};
Framed FromFrames(const std::uint8_t* memory, std::size_t length, IAuditProgress* progress);

// The event memory read as packed 9-byte records (token, type, sub-code, condition, CRC low and
// high), in buffer order; a slot whose CRC does not match gives no row. Bytes after the last
// whole slot are ignored.
struct Slots {
    std::vector<AuditGridRow> rows;
    std::size_t slotCount = 0;
    std::size_t good = 0;
};
Slots FromSlots(const std::uint8_t* memory, std::size_t length);

// The usage share in percent (single precision, as the bar's figures are), at most 100.
float Percent(std::size_t used, std::size_t total);
// The percentage label's text: three significant digits shown with two decimals and "%"
// (45.678 reads "45.70%").
QString PercentText(float percent);
// The green bar's width in an image of the given width.
int BarWidth(int width, std::size_t used, std::size_t total);

// Why cells loaded from a file are no event log report; empty when they are one.
QString ReportProblem(const QStringList& headers, const std::vector<QStringList>& rows);

}  // namespace auditrows
