#include "logcsv.h"

#include "database.h"
#include "databasepoint.h"
#include "logframeparser.h"
#include "savefile.h"
#include "toolkitdate.h"

#include <algorithm>

namespace logcsv {

namespace {

bool logHasColumns(const LogRecord& record)
{
    return record.ParametersInLog != 0 && record.Enable != 0;
}

// The values of a log that the file shows: slot log * 8 + j.
struct Column {
    int log;
    int index;
};

std::vector<Column> chosenColumns(const LogTable& table, const LogSelection& selection)
{
    std::vector<Column> columns;
    for (int k = 0; k < logrecord::kLogs; ++k) {
        const LogRecord& record = table[static_cast<std::size_t>(k)];
        if (!logHasColumns(record))
            continue;
        const int values = std::min<int>(record.ParametersInLog - 1, logrecord::kParameters - 1);
        for (int j = 0; j < values; ++j)
            if (selection[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)])
                columns.push_back({k, j});
    }
    return columns;
}

int slotOf(const Column& c)
{
    return c.log * 8 + c.index;
}

QString defaultDateText(double value)
{
    return toolkitdate::dateTimeToStr(value);
}

class Writer {
public:
    Writer(const LogTable& table, const LogSelection& selection, const Format& format)
            : columns_(chosenColumns(table, selection)), format_(format)
    {
        if (!format_.dateText)
            format_.dateText = defaultDateText;
        out_ += "TimeStamp";
        for (const Column& c : columns_) {
            out_ += ',';
            const std::uint16_t id = table[static_cast<std::size_t>(c.log)].Parameters[c.index + 1];
            out_ += Field(format_.nameOf(id).toLatin1().toStdString(), '.');
        }
        out_ += '\r';
    }

    void line(const ALOGPOINTRECORD& record)
    {
        out_ += Field(format_.dateText(record.dateTime).toLatin1().toStdString(), '.');
        for (const Column& c : columns_) {
            out_ += ',';
            out_ += Field(record.ValueText(slotOf(c)), format_.decimalSeparator);
        }
        out_ += '\r';
    }

    const std::vector<Column>& columns() const { return columns_; }
    QByteArray bytes() const { return QByteArray::fromStdString(out_); }

private:
    std::vector<Column> columns_;
    Format format_;
    std::string out_;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "-12,5", "9,99999974737875E-6": the toolkit's float texts in a locale with another separator.
bool isLocaleNumber(const std::string& text, char separator)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    const std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == intStart || i == text.size() || text[i] != separator)
        return false;
    const std::size_t fracStart = ++i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == fracStart)
        return false;
    if (i < text.size() && text[i] == 'E') {
        ++i;
        if (i < text.size() && text[i] == '-')
            ++i;
        const std::size_t expStart = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == expStart)
            return false;
    }
    return i == text.size();
}

}  // namespace

QString registerMapName(const DataBase& database, std::uint16_t pointId)
{
    return QString::fromStdString(database.GetPointNameOrUnknown(pointId));
}

std::vector<Config_item> ColumnItems(const LogTable& table, const NameFn& nameOf)
{
    std::vector<Config_item> items;
    for (int k = 0; k < logrecord::kLogs; ++k) {
        const LogRecord& record = table[static_cast<std::size_t>(k)];
        if (!logHasColumns(record))
            continue;
        const int values = std::min<int>(record.ParametersInLog - 1, logrecord::kParameters - 1);
        for (int j = 0; j < values; ++j)
            items.push_back({nameOf(record.Parameters[j + 1]), k, j, true});
    }
    return items;
}

LogSelection SelectionOf(const std::vector<Config_item>& items)
{
    LogSelection selection{};
    for (const Config_item& item : items)
        if (item.log >= 0 && item.log < logrecord::kLogs && item.index >= 0 && item.index < 8)
            selection[static_cast<std::size_t>(item.log)][static_cast<std::size_t>(item.index)] = item.enabled ? 1 : 0;
    return selection;
}

std::string Field(const std::string& text, char decimalSeparator)
{
    std::string field = text;
    if (decimalSeparator != '.' && isLocaleNumber(field, decimalSeparator))
        std::replace(field.begin(), field.end(), decimalSeparator, '.');
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

QByteArray LegalCsv(const LogDBMgr& db, const LogTable& table, const LogSelection& selection, const Format& format)
{
    Writer writer(table, selection, format);
    for (const auto& record : db.Db().records)
        writer.line(*record);
    return writer.bytes();
}

QByteArray PacketCsv(const LogDBMgr& db, const LogTable& table, const LogSelection& selection, const Format& format)
{
    Writer writer(table, selection, format);
    ALOGDB copy = db.Copy();
    std::vector<ALOGPOINTRECORD>& records = copy.records;

    int busiest = 0;
    for (int k = 1; k < LogDBMgr::kLogCount; ++k)
        if (copy.counts[static_cast<std::size_t>(k)] > copy.counts[static_cast<std::size_t>(busiest)])
            busiest = k;

    auto lastOf = [&records](int log) -> std::size_t {
        for (std::size_t i = records.size(); i-- > 0;)
            if (records[i].logIndex == log)
                return i;
        return 0;
    };

    if (!records.empty()) {
        const std::size_t lastB = lastOf(busiest);
        for (int log = 0; log < LogDBMgr::kLogCount; ++log) {
            if (log == busiest)
                continue;
            std::vector<int> valueSlots;
            for (const Column& c : writer.columns())
                if (c.log == log)
                    valueSlots.push_back(slotOf(c));
            if (valueSlots.empty())
                continue;
            const std::size_t lastL = lastOf(log);
            std::size_t start = lastL;
            if (lastB < lastL) {
                start = lastB;
                while (start < records.size() && records[start].logIndex != log)
                    ++start;
                if (start == records.size())
                    start = lastL;
            }
            std::vector<std::string> holder;
            for (int slot : valueSlots)
                holder.push_back(records[start].ValueText(slot));
            // A record before the start that has none of the log's values takes those of the
            // nearest later record of the log.
            for (std::size_t t = start; t >= 1; --t) {
                ALOGPOINTRECORD& r = records[t - 1];
                const bool empty = std::all_of(valueSlots.begin(), valueSlots.end(),
                                               [&r](int slot) { return r.ValueText(slot).empty(); });
                for (std::size_t s = 0; s < valueSlots.size(); ++s) {
                    if (empty)
                        r.SetValueText(valueSlots[s], holder[s]);
                    else
                        holder[s] = r.ValueText(valueSlots[s]);
                }
            }
        }
    }
    for (const ALOGPOINTRECORD& record : records)
        if (record.logIndex == busiest)
            writer.line(record);
    return writer.bytes();
}

bool SaveFile(const QString& fileName, const QByteArray& bytes, QString* error)
{
    return savefile::WriteWhole(fileName, bytes, error);
}

bool Export(DataBase& database, LogDBMgr& logs, Kind kind, const QString& fileName, const ColumnChooser& choose,
            QString* error)
{
    const LogTable& table = database.LogRecords();
    const NameFn nameOf = [&database](std::uint16_t pointId) { return registerMapName(database, pointId); };
    logs.Selection() = LogSelection{};
    std::vector<Config_item> items = ColumnItems(table, nameOf);
    if (!choose || !choose(items))
        return true;
    logs.Selection() = SelectionOf(items);
    Format format;
    format.nameOf = nameOf;
    format.decimalSeparator = LocaleDecimalSeparator();
    const QByteArray bytes = kind == Kind::Legal ? LegalCsv(logs, table, logs.Selection(), format)
                                                 : PacketCsv(logs, table, logs.Selection(), format);
    return SaveFile(fileName, bytes, error);
}

}  // namespace logcsv
