#pragma once

#include "logdbmgr.h"
#include "logrecord.h"

class DataBase;

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The two CSV exports of the log database and their column choice. A column is value j of log k
// for every log whose LogRecord is enabled with parameters, j = 0 to ParametersInLog - 2 (its
// point is parameter j + 1); the user picks columns in the "CSV File Configuration" dialog.
//  - Legal CSV: one line per record of any log, in the database's order.
//  - Packet CSV: one line per record of the busiest log, the other logs' values brought in from
//    their nearest later record.
// Lines end in a carriage return alone, which the readers of these files expect. Fields that hold
// a comma, a quote or a line break are quoted (quotes doubled); numbers carry a point whatever the
// locale. The text is 8-bit (Latin-1).
namespace logcsv {

using LogTable = std::array<LogRecord, logrecord::kLogs>;

// One row of the column dialog.
struct Config_item {
    QString name;
    int log = 0;
    int index = 0;  // value j of the log: 0 for parameter 1
    bool enabled = true;
};

// A point's name; a point the register map does not hold is named "unknown point <id>".
using NameFn = std::function<QString(std::uint16_t pointId)>;
QString registerMapName(const DataBase& database, std::uint16_t pointId);

// Every column of the logs, each enabled, in log and value order.
std::vector<Config_item> ColumnItems(const LogTable& table, const NameFn& nameOf);
// The choice the items make: selection[log][index] = enabled; everything else 0.
LogSelection SelectionOf(const std::vector<Config_item>& items);

struct Format {
    // Required: the exports name their columns with it.
    NameFn nameOf;
    // The record's date-time as text; the toolkit's date-time text unless replaced.
    std::function<QString(double)> dateText;
    // The decimal separator the value texts were written with (the user's locale).
    char decimalSeparator = '.';
};

QByteArray LegalCsv(const LogDBMgr& db, const LogTable& table, const LogSelection& selection, const Format& format);
QByteArray PacketCsv(const LogDBMgr& db, const LogTable& table, const LogSelection& selection, const Format& format);

// One field as it goes into a line: a number's separator made a point, quoted when it must be.
std::string Field(const std::string& text, char decimalSeparator);

// Lets the user choose among the items (ticking or clearing `enabled`); false when cancelled.
using ColumnChooser = std::function<bool(std::vector<Config_item>& items)>;

enum class Kind { Legal, Packet };
// The whole export over the log database and the database's log table: the column choice first
// (stored in the log database's selection; a cancel clears it and leaves the file untouched),
// then the file, replaced whole. False with the reason when the file could not be written; a
// cancel is true.
bool Export(DataBase& database, LogDBMgr& logs, Kind kind, const QString& fileName, const ColumnChooser& choose,
            QString* error);

// Writes the bytes in place of the file, atomically. False with the reason on failure.
bool SaveFile(const QString& fileName, const QByteArray& bytes, QString* error);

}  // namespace logcsv
