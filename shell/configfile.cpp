#include "configfile.h"

#include "database.h"
#include "logrecord.h"
#include "modmapadapterimage.h"
#include "numbertext.h"
#include "savefile.h"
#include "sequencerconfiguration.h"
#include "timerxconfiguration.h"

#include <QDomDocument>
#include <QFile>
#include <QLocale>
#include <QXmlStreamWriter>
#include <cstring>
#include <limits>
#include <optional>
#include <variant>
#include <vector>

namespace {

// --- texts ----------------------------------------------------------------------------------

// Point texts are the unit's 8-bit texts. In the file each byte is the character of the same
// code, except the control bytes, which XML cannot carry in an attribute: they go to the private
// use characters U+E000 to U+E01F (a flag byte of value 5 is one character, U+E005).
constexpr char16_t kControlBase = 0xE000;

QString fileText(const std::string& bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        text.append(code < 0x20 ? QChar(static_cast<char16_t>(kControlBase + code)) : QChar(code));
    }
    return text;
}

// Empty when the text holds a character that no 8-bit text gives.
std::optional<std::string> byteText(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code >= kControlBase && code < kControlBase + 0x20)
            bytes.push_back(static_cast<char>(code - kControlBase));
        else if (code <= 0xFF)
            bytes.push_back(static_cast<char>(code));
        else
            return std::nullopt;
    }
    return bytes;
}

QString num(qint64 value)
{
    return QString::number(value);
}

// --- writing --------------------------------------------------------------------------------

struct MapNames {
    const char* mode;  // null: no "Mode" attribute
    const char* element;
    const char* blocks[modmap::kBlocks];
};

const MapNames& mapNames(std::uint8_t mode)
{
    static const MapNames enron{"ENRON", "ENRON_MAP", {"COILS", "SHORTS", "LONGS", "FLOATS"}};
    static const MapNames modicon16{
        "MODICON16", "MODICON_MAP", {"STATUS_INPUTS", "STATUS_OUTPUTS", "REGISTER_INPUTS", "REGISTER_OUTPUTS"}};
    static const MapNames modicon32{
        "MODICON32",
        modicon16.element,
        {modicon16.blocks[0], modicon16.blocks[1], modicon16.blocks[2], modicon16.blocks[3]}};
    static const MapNames other{nullptr,
                                modicon16.element,
                                {modicon16.blocks[0], modicon16.blocks[1], modicon16.blocks[2], modicon16.blocks[3]}};
    switch (mode) {
    case modmap::kEnron:
        return enron;
    case modmap::kModicon16:
        return modicon16;
    case modmap::kModicon32:
        return modicon32;
    default:
        return other;
    }
}

void writePoints(QXmlStreamWriter& xml, DataBase& db)
{
    xml.writeStartElement("RidovazPoints");
    for (int i = 0; i < db.GetPointCount(); ++i) {
        const DatabasePoint* point = db.GetPointByIndex(i);
        if (!point || !(point->GetUsageFlags() & 0x04))
            continue;
        xml.writeStartElement("Point");
        xml.writeAttribute("UniqueId", num(point->GetId()));
        xml.writeAttribute("Name", fileText(point->GetName()));
        xml.writeAttribute("Value", fileText(point->ToString()));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void writeModbusList(QXmlStreamWriter& xml, DataBase& db)
{
    const ModmapHeader header = db.GetModbusList().GetHeader();
    const ModmapImage image = db.GetModbusList().GetImage();
    const MapNames& names = mapNames(header.mode);
    xml.writeStartElement("ModbusList");
    if (names.mode)
        xml.writeAttribute("Mode", names.mode);
    xml.writeStartElement(names.element);
    for (int k = 0; k < modmap::kBlocks; ++k) {
        xml.writeStartElement(names.blocks[k]);
        xml.writeAttribute("Address", num(header.Blocks[k].Address));
        xml.writeAttribute("BlockSize", num(header.Blocks[k].BlockSize));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeStartElement("ModBusMap");
    for (const ModmapEntry& entry : image.Entries) {
        xml.writeStartElement("Item");
        xml.writeAttribute("LSMS", num(static_cast<std::int8_t>(entry.LSMS)));
        xml.writeAttribute("FORMAT", num(static_cast<std::int8_t>(entry.FORMAT)));
        xml.writeAttribute("ACCESS", num(static_cast<std::int8_t>(entry.ACCESS)));
        xml.writeAttribute("UNIQUEID", num(entry.UNIQUEID));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

void writeLogConfiguration(QXmlStreamWriter& xml, DataBase& db)
{
    xml.writeStartElement("LogConfiguration");
    for (const LogRecord& record : db.LogRecords()) {
        xml.writeStartElement("LogRecord");
        xml.writeAttribute("LOG_NUMBER", num(record.LOG_NUMBER));
        xml.writeStartElement("LOG");
        xml.writeAttribute("Enable", num(record.Enable));
        xml.writeAttribute("Frequency", num(record.Frequency));
        xml.writeAttribute("LogIDCode", num(record.LogIDCode));
        xml.writeAttribute("ParametersInLog", num(record.ParametersInLog));
        for (const std::uint16_t parameter : record.Parameters) {
            xml.writeStartElement("Ridovaz");
            xml.writeAttribute("Value", num(parameter));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void writeSequence(QXmlStreamWriter& xml, const SequencerEntry& entry)
{
    xml.writeStartElement("Sequence");
    xml.writeAttribute("Stream", num(entry.Stream));
    xml.writeAttribute("Run", num(entry.Run));
    xml.writeEndElement();
}

void writeSequencer(QXmlStreamWriter& xml, DataBase& db)
{
    const SequencerConfiguration c = db.GetSequencer().GetImage();
    xml.writeStartElement("SequencerConfiguration");
    xml.writeAttribute("Enable", num(c.Enable));
    xml.writeAttribute("Depth", num(c.Depth));
    xml.writeAttribute("ManualEnable", num(c.ManualEnable));
    xml.writeAttribute("ManualDigitalInput", num(c.ManualDigitalInput));
    xml.writeStartElement("Automatic");
    for (const SequencerEntry& entry : c.Automatic)
        writeSequence(xml, entry);
    xml.writeEndElement();
    for (const ManualSequence& manual : c.Manual) {
        xml.writeStartElement("Manual");
        xml.writeAttribute("Enable", num(manual.Enable));
        xml.writeAttribute("LoopEnable", num(manual.LoopEnable));
        xml.writeAttribute("DigitalInput", num(manual.DigitalInput));
        xml.writeAttribute("Depth", num(manual.Depth));
        for (const SequencerEntry& entry : manual.Sequence)
            writeSequence(xml, entry);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void writeTimers(QXmlStreamWriter& xml, DataBase& db)
{
    const TimerXConfiguration c = db.GetTimerXManager().GetImage();
    xml.writeStartElement("TimerXConfiguration");
    for (int t = 0; t < timerx::kTimers; ++t) {
        const TimerXEntry& timer = c.Timers[t];
        xml.writeStartElement("TIMER");
        xml.writeAttribute("Num", num(t + 1));
        xml.writeAttribute("ScheduleEnable", num(timer.ScheduleEnable));
        xml.writeAttribute("ScheduleDayOfWeek", num(static_cast<std::int8_t>(timer.ScheduleDayOfWeek)));
        xml.writeAttribute("ScheduleHour", num(timer.ScheduleHour));
        xml.writeAttribute("ScheduleMinute", num(timer.ScheduleMinute));
        xml.writeAttribute("AnalysisEnable", num(timer.AnalysisEnable));
        xml.writeAttribute("Analysis", num(timer.Analysis));
        xml.writeAttribute("SequencerEnable", num(timer.SequencerEnable));
        xml.writeAttribute("Sequencer", num(timer.Sequencer));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

// --- reading --------------------------------------------------------------------------------

// Why a document is refused; never leaves this file.
struct Refusal {
    QString reason;
};

// Element children only: whitespace and comments of a hand-edited file do not take a position.
std::vector<QDomElement> children(const QDomElement& parent)
{
    std::vector<QDomElement> list;
    for (QDomNode n = parent.firstChild(); !n.isNull(); n = n.nextSibling())
        if (n.isElement())
            list.push_back(n.toElement());
    return list;
}

std::vector<QDomElement> children(const QDomElement& parent, std::size_t atLeast, std::size_t atMost)
{
    std::vector<QDomElement> list = children(parent);
    if (list.size() < atLeast || list.size() > atMost)
        throw Refusal{QStringLiteral("\"%1\" has %2 entries where %3 to %4 fit")
                          .arg(parent.tagName())
                          .arg(list.size())
                          .arg(atLeast)
                          .arg(atMost)};
    return list;
}

// The toolkit's strict integer conversion to a signed 32-bit value, then the field's range:
// bytes -128 to 255 (the writer gives signed bytes), 16-bit fields -32768 to 65535.
qint64 integer(const QDomElement& e, const char* name, qint64 lowest, qint64 highest)
{
    if (!e.hasAttribute(name))
        throw Refusal{QStringLiteral("\"%1\" lacks \"%2\"").arg(e.tagName(), name)};
    const std::optional<int> value = numtext::tryStrToInt(e.attribute(name));
    if (!value || *value < lowest || *value > highest)
        throw Refusal{QStringLiteral("\"%1\" \"%2\" is \"%3\"").arg(e.tagName(), name, e.attribute(name))};
    return *value;
}

std::uint8_t byteField(const QDomElement& e, const char* name)
{
    return static_cast<std::uint8_t>(integer(e, name, -128, 255));
}

std::uint16_t wordField(const QDomElement& e, const char* name)
{
    return static_cast<std::uint16_t>(integer(e, name, -32768, 65535));
}

std::uint32_t longField(const QDomElement& e, const char* name)
{
    return static_cast<std::uint32_t>(
        integer(e, name, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The log's "Enable": its leading decimal digits, non-zero as 1; never refused.
std::uint8_t enableField(const QDomElement& e)
{
    const QString text = e.attribute("Enable");
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > '9')
            break;
        if (c != u'0')
            return 1;
    }
    return 0;
}

struct PointsSection {
    std::vector<std::pair<DatabasePoint*, std::string>> values;
};

struct ModbusSection {
    std::uint8_t mode = 0;
    ModmapBlock blocks[modmap::kBlocks]{};
    std::vector<ModmapEntry> entries;
};

struct LogEntry {
    std::uint8_t logNumber, enable, logIdCode, parametersInLog;
    std::uint16_t frequency;
    std::vector<std::uint16_t> parameters;
};

struct LogSection {
    std::vector<LogEntry> records;
};

struct SequencerSection {
    SequencerConfiguration image{};
};

struct TimerSection {
    TimerXConfiguration image{};
};

using Section = std::variant<PointsSection, ModbusSection, LogSection, SequencerSection, TimerSection>;

PointsSection readPoints(const QDomElement& e, const DataBase& db)
{
    PointsSection section;
    for (const QDomElement& point : children(e)) {
        const qint64 id = integer(point, "UniqueId", std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max());
        DatabasePoint* target = id >= 0 && id <= 0xFFFF ? db.GetPointById(static_cast<int>(id)) : nullptr;
        if (!target)
            throw Refusal{QStringLiteral("no point has the id %1").arg(id)};
        if (!point.hasAttribute("Value"))
            throw Refusal{QStringLiteral("point %1 has no \"Value\"").arg(id)};
        const std::optional<std::string> value = byteText(point.attribute("Value"));
        if (!value)
            throw Refusal{QStringLiteral("the value of point %1 is no 8-bit text").arg(id)};
        section.values.emplace_back(target, *value);
    }
    return section;
}

ModbusSection readModbusList(const QDomElement& e)
{
    ModbusSection section;
    const QString mode = e.attribute("Mode");
    section.mode = mode == "ENRON" ? modmap::kEnron : mode == "MODICON16" ? modmap::kModicon16 : modmap::kModicon32;
    const std::vector<QDomElement> parts = children(e, 2, std::numeric_limits<std::size_t>::max());
    const std::vector<QDomElement> blocks = children(parts[0], modmap::kBlocks, modmap::kBlocks);
    for (int k = 0; k < modmap::kBlocks; ++k) {
        section.blocks[k].Address = wordField(blocks[static_cast<std::size_t>(k)], "Address");
        section.blocks[k].BlockSize = wordField(blocks[static_cast<std::size_t>(k)], "BlockSize");
    }
    for (const QDomElement& item : children(parts[1], 0, modmap::kEntries)) {
        ModmapEntry entry{};
        entry.LSMS = byteField(item, "LSMS");
        entry.FORMAT = byteField(item, "FORMAT");
        entry.ACCESS = byteField(item, "ACCESS");
        entry.UNIQUEID = wordField(item, "UNIQUEID");
        section.entries.push_back(entry);
    }
    return section;
}

LogSection readLogConfiguration(const QDomElement& e)
{
    LogSection section;
    for (const QDomElement& record : children(e, 0, logrecord::kLogs)) {
        LogEntry entry{};
        entry.logNumber = byteField(record, "LOG_NUMBER");
        const QDomElement log = children(record, 1, std::numeric_limits<std::size_t>::max())[0];
        entry.enable = enableField(log);
        entry.frequency = wordField(log, "Frequency");
        entry.logIdCode = byteField(log, "LogIDCode");
        entry.parametersInLog = byteField(log, "ParametersInLog");
        for (const QDomElement& parameter : children(log, 0, logrecord::kParameters))
            entry.parameters.push_back(wordField(parameter, "Value"));
        section.records.push_back(std::move(entry));
    }
    return section;
}

void readSteps(const QDomElement& list, SequencerEntry* steps, std::size_t room)
{
    const std::vector<QDomElement> entries = children(list, 0, room);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        steps[i].Stream = byteField(entries[i], "Stream");
        steps[i].Run = byteField(entries[i], "Run");
    }
}

SequencerSection readSequencer(const QDomElement& e)
{
    SequencerSection section;
    SequencerConfiguration& c = section.image;
    c.Enable = byteField(e, "Enable");
    c.Depth = byteField(e, "Depth");
    c.ManualEnable = byteField(e, "ManualEnable");
    c.ManualDigitalInput = byteField(e, "ManualDigitalInput");
    const std::vector<QDomElement> parts =
        children(e, 1 + sequencer::kManualSequences, 1 + sequencer::kManualSequences);
    readSteps(parts[0], c.Automatic, sequencer::kAutomaticSteps);
    for (int m = 0; m < sequencer::kManualSequences; ++m) {
        const QDomElement& manual = parts[static_cast<std::size_t>(m) + 1];
        ManualSequence& sequence = c.Manual[m];
        sequence.Enable = byteField(manual, "Enable");
        sequence.LoopEnable = byteField(manual, "LoopEnable");
        sequence.DigitalInput = byteField(manual, "DigitalInput");
        sequence.Depth = byteField(manual, "Depth");
        readSteps(manual, sequence.Sequence, sequencer::kManualSteps);
    }
    return section;
}

TimerSection readTimers(const QDomElement& e)
{
    TimerSection section;
    const std::vector<QDomElement> timers = children(e, timerx::kTimers, timerx::kTimers);
    for (int t = 0; t < timerx::kTimers; ++t) {
        const QDomElement& timer = timers[static_cast<std::size_t>(t)];
        TimerXEntry& entry = section.image.Timers[t];
        entry.ScheduleEnable = byteField(timer, "ScheduleEnable");
        entry.ScheduleDayOfWeek = byteField(timer, "ScheduleDayOfWeek");
        entry.ScheduleHour = byteField(timer, "ScheduleHour");
        entry.ScheduleMinute = byteField(timer, "ScheduleMinute");
        entry.AnalysisEnable = byteField(timer, "AnalysisEnable");
        entry.Analysis = longField(timer, "Analysis");
        entry.SequencerEnable = byteField(timer, "SequencerEnable");
        entry.Sequencer = wordField(timer, "Sequencer");
    }
    return section;
}

struct Content {
    std::vector<Section> sections;
    std::optional<int> loadedPointCount;
};

// The whole document, checked before anything is applied. The document element's name and
// attributes are not looked at, and children of other names are skipped.
Content parse(const QByteArray& document, const DataBase& db)
{
    QDomDocument dom;
    QString message;
    int line = 0;
    if (!dom.setContent(document, &message, &line))
        throw Refusal{QStringLiteral("not XML: %1 (line %2)").arg(message).arg(line)};
    const QDomElement root = dom.documentElement();
    if (root.isNull())
        throw Refusal{QStringLiteral("no document element")};
    Content content;
    for (const QDomElement& e : children(root)) {
        const QString name = e.tagName();
        if (name == "RidovazPoints") {
            content.loadedPointCount = static_cast<int>(children(e).size());
            content.sections.emplace_back(readPoints(e, db));
        } else if (name == "ModbusList") {
            content.sections.emplace_back(readModbusList(e));
        } else if (name == "LogConfiguration") {
            content.sections.emplace_back(readLogConfiguration(e));
        } else if (name == "SequencerConfiguration") {
            content.sections.emplace_back(readSequencer(e));
        } else if (name == "TimerXConfiguration") {
            content.sections.emplace_back(readTimers(e));
        }
    }
    return content;
}

struct Applier {
    DataBase& db;

    void operator()(const PointsSection& s) const
    {
        for (const auto& [point, text] : s.values)
            point->SetAndNotify(text);
    }
    void operator()(const ModbusSection& s) const
    {
        ModbusList& list = db.GetModbusList();
        ModmapHeader header = list.GetHeader();
        ModmapImage image = list.GetImage();
        header.mode = s.mode;
        std::memcpy(header.Blocks, s.blocks, sizeof header.Blocks);
        list.SetHeader(header);
        for (std::size_t j = 0; j < s.entries.size(); ++j)
            image.Entries[j] = s.entries[j];
        image.Header = header;
        list.LoadFromImage(image);
    }
    void operator()(const LogSection& s) const
    {
        for (std::size_t r = 0; r < s.records.size(); ++r) {
            const LogEntry& entry = s.records[r];
            LogRecord& record = db.LogRecords()[r];
            record.LOG_NUMBER = entry.logNumber;
            record.Enable = entry.enable;
            record.Frequency = entry.frequency;
            record.LogIDCode = entry.logIdCode;
            record.ParametersInLog = entry.parametersInLog;
            for (std::size_t k = 0; k < entry.parameters.size(); ++k)
                record.Parameters[k] = entry.parameters[k];
        }
    }
    void operator()(const SequencerSection& s) const
    {
        db.GetSequencer().SetImage(s.image);
        db.GetSequencer().Publish();
    }
    void operator()(const TimerSection& s) const
    {
        db.GetTimerXManager().SetImage(s.image);
        db.GetTimerXManager().Publish();
    }
};

}  // namespace

namespace configfile {

QString TimeText(const QDateTime& now)
{
    const QLocale locale = QLocale::system();
    const QTime time = now.time();
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1 %2, %3 %4:%5:%6 %7")
        .arg(locale.monthName(now.date().month(), QLocale::LongFormat))
        .arg(now.date().day())
        .arg(now.date().year(), 4, 10, QChar('0'))
        .arg(hour12)
        .arg(time.minute(), 2, 10, QChar('0'))
        .arg(time.second(), 2, 10, QChar('0'))
        .arg(time.hour() < 12 ? locale.amText() : locale.pmText());
}

QByteArray Build(DataBase& db, const QDateTime& now)
{
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.writeStartElement("ConfigurationDatabase");
    xml.writeAttribute("Time", TimeText(now));
    xml.writeAttribute("Version", "1.00a");
    writePoints(xml, db);
    writeModbusList(xml, db);
    writeLogConfiguration(xml, db);
    writeSequencer(xml, db);
    writeTimers(xml, db);
    xml.writeEndElement();
    return document;
}

}  // namespace configfile

bool SaveConfigurationFile(const QString& path, QString* error)
{
    const QByteArray document = configfile::Build(*DataBase::Instance(), QDateTime::currentDateTime());
    return savefile::WriteWhole(path, document, error);
}

int LoadConfigurationDocument(const QByteArray& document, int* loadedPointCount, QString* error)
{
    DataBase* db = DataBase::Instance();
    try {
        const Content content = parse(document, *db);
        if (loadedPointCount && content.loadedPointCount)
            *loadedPointCount = *content.loadedPointCount;
        for (const Section& section : content.sections)
            std::visit(Applier{*db}, section);
    } catch (const Refusal& refusal) {
        if (error)
            *error = refusal.reason;
        return -1;
    }
    return 0;
}

int LoadConfigurationFile(const QString& path, int* loadedPointCount, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return -1;
    }
    if (file.size() > configfile::kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is too large");
        return -1;
    }
    const QByteArray document = file.read(configfile::kMaxFileSize + 1);
    if (document.size() > configfile::kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is too large");
        return -1;
    }
    return LoadConfigurationDocument(document, loadedPointCount, error);
}
