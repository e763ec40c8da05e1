#pragma once

#include "logrecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct ALOGPOINTRECORD;
class DataBase;
class LogDBMgr;

// The XML archive file (*.xml, root "LOGDB"): every record of the log database with the part of
// the log configuration that gives them their meaning.
//
//   <LOGDB>
//     <ArchiveNames>
//       <Log lognum="n" ParametersInLog="p" Enabled="e"><name UID="id">point name</name>...</Log>
//       ... six Log elements, archives 0 to 5
//     </ArchiveNames>
//     <Point ParametersInLog="p"><TimeStamp Token="t">date-time</TimeStamp><LogNum>n</LogNum>
//            <Colum0>value</Colum0>...</Point>
//     ... one Point per record, in the database's order
//   </LOGDB>
//
// p is the log's value count (ParametersInLog - 1; -1 for a log without parameters). The
// date-time text is the locale's short date and long time (the date alone at midnight); the
// Token attribute keeps the unit's TimestampToken beside it, so that a file written under one
// locale reads back the same under another. Files without it (older ones) are read by the text.
// No declaration, no whitespace: the same database always gives the same bytes.
//
// Reading checks the whole document before anything is changed: children are taken by
// position, an archive number outside 0 to 5, more than seven values, missing children or
// attributes, numbers that do not read, DTDs and entities refuse the file.
class ArchiveXmlFile {
public:
    static constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;
    using LogTable = std::array<LogRecord, logrecord::kLogs>;
    // The register map's name of a point id; empty for an id it does not hold.
    using PointNameFn = std::function<QString(std::uint16_t id)>;

    // What a file holds, read whole before anything is applied.
    struct Contents {
        Contents();
        ~Contents();
        Contents(Contents&&) noexcept;
        Contents& operator=(Contents&&) noexcept;

        std::vector<std::unique_ptr<ALOGPOINTRECORD>> records;
        bool hasArchiveNames = false;
        std::array<std::uint8_t, logrecord::kLogs> enable{};
        std::array<std::vector<std::uint16_t>, logrecord::kLogs> ids;  // value point ids, value 0 first
        // ParametersInLog (value count + 1) of the last record of each log in the file.
        std::array<std::optional<std::uint8_t>, logrecord::kLogs> parametersInLog;
        // The point names stored for each log, when ArchiveNames is the root's first child (the
        // column headers of a loaded archive come from there).
        std::optional<std::array<QStringList, logrecord::kLogs>> headers;
        // Records whose time stamp could not be read: they keep the date-time 0.
        int badTimeStamps = 0;
    };

    static QByteArray Build(const LogDBMgr& db, const LogTable& logs, const PointNameFn& pointName);
    // Builds and saves atomically. False with the reason when the file cannot be written; an
    // existing file is then left as it was.
    static bool Write(const QString& path, const LogDBMgr& db, const LogTable& logs, const PointNameFn& pointName,
                      QString* error);

    static std::optional<Contents> Parse(const QByteArray& document, QString* error);
    // Files above kMaxFileSize are refused unread.
    static std::optional<Contents> Read(const QString& path, QString* error);

    // Replaces the database's records by the file's (distributed) and overwrites the table's
    // enables and value point ids (logs listed in the file) and value counts (logs with records).
    static void Apply(Contents&& contents, LogDBMgr& db, LogTable& logs);

    // The register map's names, through the database ("unknown point <id>" for an id the map
    // lacks).
    static QString RegisterMapName(const DataBase& database, std::uint16_t id);
};
