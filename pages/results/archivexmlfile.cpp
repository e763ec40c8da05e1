#include "archivexmlfile.h"

#include "database.h"
#include "databasepoint.h"
#include "logdbmgr.h"
#include "numbertext.h"
#include "savefile.h"
#include "timestamptoken.h"
#include "toolkitdate.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

ArchiveXmlFile::Contents::Contents() = default;
ArchiveXmlFile::Contents::~Contents() = default;
ArchiveXmlFile::Contents::Contents(Contents&&) noexcept = default;
ArchiveXmlFile::Contents& ArchiveXmlFile::Contents::operator=(Contents&&) noexcept = default;

namespace {

constexpr int kMaxValues = 7;
constexpr int kMaxDepth = 8;

// The value count a log is written with: ParametersInLog - 1, at most seven.
int valueCount(const LogRecord& log)
{
    return std::min<int>(static_cast<int>(log.ParametersInLog) - 1, kMaxValues);
}

struct Refusal {
    QString reason;
};

// One element of a Point or of ArchiveNames, read whole: its attributes, its text (that of its
// descendants included) and its child elements.
struct Node {
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
    std::vector<Node> children;
};

void readNode(QXmlStreamReader& xml, Node& node, int depth)
{
    if (depth > kMaxDepth)
        throw Refusal{QStringLiteral("elements nested too deeply (line %1)").arg(xml.lineNumber())};
    node.name = xml.name().toString();
    node.attributes = xml.attributes();
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            node.children.emplace_back();
            readNode(xml, node.children.back(), depth + 1);
            node.text += node.children.back().text;
            break;
        case QXmlStreamReader::Characters:
            node.text += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            return;
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            throw Refusal{QStringLiteral("entities are not accepted")};
        default:
            break;
        }
    }
}

long long number(const QString& text, long long low, long long high, const QString& what)
{
    const std::optional<std::int64_t> value = numtext::tryStrToInt64(text);
    if (!value || *value < low || *value > high)
        throw Refusal{QStringLiteral("%1 \"%2\" is not a number from %3 to %4").arg(what, text).arg(low).arg(high)};
    return *value;
}

long long attribute(const Node& node, const char* name, long long low, long long high)
{
    if (!node.attributes.hasAttribute(QLatin1String(name)))
        throw Refusal{QStringLiteral("%1 without \"%2\"").arg(node.name, QLatin1String(name))};
    return number(node.attributes.value(QLatin1String(name)).toString(), low, high,
                  node.name + QStringLiteral(" ") + QLatin1String(name));
}

void readArchiveNames(const Node& names, ArchiveXmlFile::Contents& contents, bool first)
{
    if (names.children.size() < logrecord::kLogs)
        throw Refusal{QStringLiteral("ArchiveNames holds %1 logs, not 6").arg(names.children.size())};
    std::array<QStringList, logrecord::kLogs> headers;
    for (std::size_t k = 0; k < logrecord::kLogs; ++k) {
        const Node& log = names.children[k];
        const int p = static_cast<int>(attribute(log, "ParametersInLog", -1, kMaxValues));
        contents.enable[k] = static_cast<std::uint8_t>(attribute(log, "Enabled", 0, 255));
        if (log.children.size() < static_cast<std::size_t>(std::max(p, 0)))
            throw Refusal{QStringLiteral("Log %1 names %2 of its %3 values").arg(k).arg(log.children.size()).arg(p)};
        contents.ids[k].clear();
        for (int l = 0; l < p; ++l) {
            const Node& name = log.children[static_cast<std::size_t>(l)];
            contents.ids[k].push_back(static_cast<std::uint16_t>(attribute(name, "UID", 0, 65535)));
            headers[k] << name.text;
        }
    }
    contents.hasArchiveNames = true;
    if (first)
        contents.headers = std::move(headers);
}

void readPoint(const Node& point, ArchiveXmlFile::Contents& contents)
{
    const int p = static_cast<int>(attribute(point, "ParametersInLog", -1, kMaxValues));
    const int values = std::max(p, 0);
    if (point.children.size() < static_cast<std::size_t>(values) + 2)
        throw Refusal{QStringLiteral("a Point with %1 values has %2 children").arg(p).arg(point.children.size())};
    auto record = std::make_unique<ALOGPOINTRECORD>();
    const Node& stamp = point.children[0];
    bool timeRead = false;
    if (stamp.attributes.hasAttribute(QLatin1String("Token"))) {
        record->rawTime = static_cast<std::uint32_t>(attribute(stamp, "Token", 0, 0xFFFFFFFFLL));
        record->dateTime = timestamp::toDateTime(record->rawTime);
        timeRead = record->dateTime != 0.0;
    }
    if (!timeRead) {
        if (const std::optional<double> date = toolkitdate::strToDateTime(stamp.text)) {
            record->dateTime = *date;
            timeRead = true;
        }
    }
    if (!timeRead) {
        record->dateTime = 0;
        ++contents.badTimeStamps;
    }
    const int n = static_cast<int>(number(point.children[1].text, 0, logrecord::kLogs - 1, QStringLiteral("LogNum")));
    record->logIndex = n;
    for (int j = 0; j < values; ++j)
        record->SetValueText(n * 8 + j, point.children[static_cast<std::size_t>(j) + 2].text.toStdString());
    contents.parametersInLog[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(p + 1);
    contents.records.push_back(std::move(record));
}

}  // namespace

QString ArchiveXmlFile::RegisterMapName(const DataBase& database, std::uint16_t id)
{
    return QString::fromStdString(database.GetPointNameOrUnknown(id));
}

QByteArray ArchiveXmlFile::Build(const LogDBMgr& db, const LogTable& logs, const PointNameFn& pointName)
{
    QByteArray document;
    document.reserve(static_cast<qsizetype>(db.RecordCount()) * 160 + 1024);
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(false);
    xml.writeStartElement(QStringLiteral("LOGDB"));
    xml.writeStartElement(QStringLiteral("ArchiveNames"));
    for (int n = 0; n < logrecord::kLogs; ++n) {
        const LogRecord& log = logs[static_cast<std::size_t>(n)];
        const int p = valueCount(log);
        xml.writeStartElement(QStringLiteral("Log"));
        xml.writeAttribute(QStringLiteral("lognum"), QString::number(n));
        xml.writeAttribute(QStringLiteral("ParametersInLog"), QString::number(p));
        xml.writeAttribute(QStringLiteral("Enabled"), QString::number(log.Enable));
        for (int j = 0; j < p; ++j) {
            const std::uint16_t id = log.Parameters[j + 1];
            xml.writeStartElement(QStringLiteral("name"));
            xml.writeAttribute(QStringLiteral("UID"), QString::number(id));
            xml.writeCharacters(pointName ? pointName(id) : QString());
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    const QString colum = QStringLiteral("Colum");
    for (const auto& record : db.Db().records) {
        const int n = record->logIndex;
        const int p = valueCount(logs[static_cast<std::size_t>(n)]);
        xml.writeStartElement(QStringLiteral("Point"));
        xml.writeAttribute(QStringLiteral("ParametersInLog"), QString::number(p));
        xml.writeStartElement(QStringLiteral("TimeStamp"));
        if (record->rawTime != 0)
            xml.writeAttribute(QStringLiteral("Token"), QString::number(record->rawTime));
        xml.writeCharacters(toolkitdate::dateTimeToStr(record->dateTime));
        xml.writeEndElement();
        xml.writeTextElement(QStringLiteral("LogNum"), QString::number(n));
        for (int j = 0; j < p; ++j)
            xml.writeTextElement(colum + QString::number(j), QString::fromStdString(record->ValueText(n * 8 + j)));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    return document;
}

bool ArchiveXmlFile::Write(const QString& path, const LogDBMgr& db, const LogTable& logs, const PointNameFn& pointName,
                           QString* error)
{
    QByteArray document;
    try {
        document = Build(db, logs, pointName);
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
    return savefile::WriteWhole(path, document, error);
}

std::optional<ArchiveXmlFile::Contents> ArchiveXmlFile::Parse(const QByteArray& document, QString* error)
{
    QXmlStreamReader xml(document);
    Contents contents;
    try {
        bool rootSeen = false;
        bool firstChild = true;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference)
                throw Refusal{QStringLiteral("entities are not accepted")};
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (!rootSeen) {
                if (xml.name() != QLatin1String("LOGDB"))
                    throw Refusal{QStringLiteral("the document is no archive (root %1)").arg(xml.name().toString())};
                rootSeen = true;
                continue;
            }
            Node child;
            readNode(xml, child, 0);
            if (child.name == QLatin1String("Point"))
                readPoint(child, contents);
            else if (child.name == QLatin1String("ArchiveNames"))
                readArchiveNames(child, contents, firstChild);
            firstChild = false;
        }
        if (xml.hasError())
            throw Refusal{QStringLiteral("not XML: %1 (line %2)").arg(xml.errorString()).arg(xml.lineNumber())};
        if (!rootSeen)
            throw Refusal{QStringLiteral("the document is empty")};
    } catch (const Refusal& refusal) {
        if (error)
            *error = refusal.reason;
        return std::nullopt;
    }
    return contents;
}

std::optional<ArchiveXmlFile::Contents> ArchiveXmlFile::Read(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    if (file.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is larger than 256 MB");
        return std::nullopt;
    }
    return Parse(file.readAll(), error);
}

void ArchiveXmlFile::Apply(Contents&& contents, LogDBMgr& db, LogTable& logs)
{
    db.Clear();
    for (auto& record : contents.records)
        db.AppendRecord(std::move(record));
    contents.records.clear();
    for (std::size_t k = 0; k < logrecord::kLogs; ++k) {
        LogRecord& log = logs[k];
        if (contents.hasArchiveNames) {
            log.Enable = contents.enable[k];
            for (std::size_t l = 0; l < contents.ids[k].size(); ++l)
                log.Parameters[l + 1] = contents.ids[k][l];
        }
        if (contents.parametersInLog[k])
            log.ParametersInLog = *contents.parametersInLog[k];
    }
    db.DistributeRecords();
}
