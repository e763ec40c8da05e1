#include "auditgrid.h"

#include "archivegridmodel.h"
#include "auditevent.h"
#include "crc16.h"
#include "floatformat.h"
#include "numbertext.h"
#include "timestamptoken.h"
#include "toolkitdate.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

AuditGridModel::AuditGridModel(QObject* parent) : FilteredTableModel(parent)
{
    Clear();
}

int AuditGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant AuditGridModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && index.column() == colComment) {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        if (role == Qt::EditRole)
            return CellText(index.row(), index.column());
    }
    return FilteredTableModel::data(index, role);
}

Qt::ItemFlags AuditGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = FilteredTableModel::flags(index);
    if (index.isValid() && index.column() == colComment)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool AuditGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != colComment)
        return false;
    const int source = SourceRow(index.row());
    if (source < 0)
        return false;
    rows_[static_cast<std::size_t>(source)].cells[colComment] = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

void AuditGridModel::ShowEvents(std::vector<AuditGridRow> rows)
{
    BeginReset();
    headers_ = {QStringLiteral("Seq"),           QStringLiteral("Timestamp"),     QStringLiteral("Event"),
                QStringLiteral("Description 1"), QStringLiteral("Description 2"), QString()};
    rows_.clear();
    rows_.reserve(rows.size());
    int seq = 0;
    for (AuditGridRow& event : rows) {
        Row row;
        row.cells[colSeq] = QString::number(++seq);
        row.cells[colTS] = std::move(event.timestamp);
        row.timeTextDue = row.cells[colTS].isEmpty();
        row.cells[colEvent] = std::move(event.eventText);
        row.cells[colAlarm] = std::move(event.description1);
        row.cells[colState] = std::move(event.description2);
        row.date = event.date;
        rows_.push_back(std::move(row));
    }
    EndReset();
}

void AuditGridModel::ShowCells(const QStringList& headers, std::vector<QStringList> rows)
{
    BeginReset();
    for (int c = 0; c < kColumns; ++c)
        headers_[static_cast<std::size_t>(c)] = c < headers.size() ? headers[c] : QString();
    rows_.clear();
    rows_.reserve(rows.size());
    for (QStringList& cells : rows) {
        Row row;
        for (int c = 0; c < kColumns && c < cells.size(); ++c)
            row.cells[static_cast<std::size_t>(c)] = std::move(cells[c]);
        const std::optional<double> date = toolkitdate::strToDateTime(row.cells[colTS]);
        row.date = date ? *date : std::numeric_limits<double>::quiet_NaN();
        rows_.push_back(std::move(row));
    }
    EndReset();
}

void AuditGridModel::Clear()
{
    ShowEvents({});
}

int AuditGridModel::CountSourceRows() const
{
    return static_cast<int>(rows_.size());
}

QString AuditGridModel::SourceText(int sourceRow, int column) const
{
    Row& row = rows_[static_cast<std::size_t>(sourceRow)];
    if (column == colTS && row.timeTextDue) {
        row.cells[colTS] = ArchiveGridModel::TimeText(row.date);
        row.timeTextDue = false;
    }
    return row.cells[static_cast<std::size_t>(column)];
}

QString AuditGridModel::SourceHeader(int column) const
{
    return headers_[static_cast<std::size_t>(column)];
}

double AuditGridModel::SourceDate(int sourceRow, int column) const
{
    if (column != colTS)
        return std::numeric_limits<double>::quiet_NaN();
    return rows_[static_cast<std::size_t>(sourceRow)].date;
}

namespace auditrows {

namespace {

AuditGridRow gridRow(double date, const std::string& event, const std::string& d1, const std::string& d2)
{
    AuditGridRow row;
    row.date = date;
    row.eventText = QString::fromStdString(event);
    row.description1 = QString::fromStdString(d1);
    row.description2 = QString::fromStdString(d2);
    return row;
}

}  // namespace

Framed FromFrames(const std::uint8_t* memory, std::size_t length, IAuditProgress* progress)
{
    Framed out;
    TAuditParser parser(&timestamp::toDateTime, progress);
    parser.Parse(memory, length);
    out.rows.reserve(parser.RecordCount());
    for (std::size_t i = 0; i < parser.RecordCount(); ++i) {
        const AAUDITPOINTRECORD& r = parser.Record(i);
        out.rows.push_back(gridRow(r.date, r.eventText, r.description1, r.description2));
    }
    out.used = parser.UsedBytes();
    return out;
}

Slots FromSlots(const std::uint8_t* memory, std::size_t length)
{
    Slots out;
    for (std::size_t at = 0; memory && length - at >= 9; at += 9) {
        AuditEventBytes record;
        std::copy_n(memory + at, record.size(), record.begin());
        ++out.slotCount;
        const std::uint16_t received = static_cast<std::uint16_t>(record[7] | (record[8] << 8));
        if (Crc16Modbus::compute(record.data(), 7) != received)
            continue;
        const AUDITRECORD decoded = DecodeAuditEvent(record, &timestamp::toDateTime);
        out.rows.push_back(gridRow(decoded.date, decoded.eventText, decoded.description1, decoded.description2));
        ++out.good;
    }
    return out;
}

float Percent(std::size_t used, std::size_t total)
{
    if (total == 0)
        return 0.0f;
    const float percent = static_cast<float>(used) / static_cast<float>(total) * 100.0f;
    return std::min(percent, 100.0f);
}

QString PercentText(float percent)
{
    // Three significant digits first, then two decimals: 45.678 -> 45.7 -> "45.70". Both steps
    // are C-library formats, made in the C locale; the locale's separator goes in last.
    const std::string rounded = floatfmt::cFormat("%.2e", static_cast<double>(percent));
    QString out = QString::fromStdString(floatfmt::cFormat("%.2f", numtext::cStrtod(rounded)));
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        out.replace(QLatin1Char('.'), point);
    return out + QLatin1Char('%');
}

int BarWidth(int width, std::size_t used, std::size_t total)
{
    if (total == 0 || width <= 0)
        return 0;
    const float scale = static_cast<float>(width) / static_cast<float>(total);
    const float bar = static_cast<float>(used) * scale;
    return bar >= static_cast<float>(width) ? width : static_cast<int>(bar);
}

QString ReportProblem(const QStringList& headers, const std::vector<QStringList>& rows)
{
    if (headers.size() != AuditGridModel::kColumns)
        return QStringLiteral("the file holds %1 columns, an event log report holds %2")
            .arg(headers.size())
            .arg(AuditGridModel::kColumns);
    if (headers[AuditGridModel::colTS] != QLatin1String("Timestamp") ||
        headers[AuditGridModel::colEvent] != QLatin1String("Event"))
        return QStringLiteral("the file is no event log report");
    for (const QStringList& row : rows)
        if (row.size() != AuditGridModel::kColumns)
            return QStringLiteral("a row does not hold %1 cells").arg(AuditGridModel::kColumns);
    return {};
}

}  // namespace auditrows
