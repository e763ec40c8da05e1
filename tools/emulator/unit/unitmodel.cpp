#include "unitmodel.h"

#include "ridovaz.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int kTextType = 13;
constexpr int kBaudType = 15;
constexpr std::uint8_t kRejectType = 0xFF;
constexpr int kMaxText = 250;               // the longest text a read answer can carry
constexpr std::uint16_t kClockPoint = 388;  // "Time (proprietary)": the unit's clock as a token

int entryCount()
{
    return Ridovaz17041417().GetCount();
}

const ridovaz::Entry& entryAt(int index)
{
    return Ridovaz17041417::entry(static_cast<std::uint16_t>(index));
}

bool isText(int index)
{
    return entryAt(index).typeCode == kTextType;
}

// Bytes of a value in the answer to a single read: the type's width; the baud-rate points are
// read as one byte; codes without a class answer four bytes.
int singleReadWidth(int index)
{
    const int code = entryAt(index).typeCode;
    if (code == kBaudType)
        return 1;
    const int width = ridovaz::valueSize(code);
    return width > 0 ? width : 4;
}

bool isSigned(int index)
{
    const int code = entryAt(index).typeCode;
    return code == 4 || code == 5 || code == 6;
}

std::uint8_t byteAt(const QByteArray& m, int i)
{
    return static_cast<std::uint8_t>(m[i]);
}

std::uint16_t u16At(const QByteArray& m, int i)
{
    return static_cast<std::uint16_t>(byteAt(m, i) | (byteAt(m, i + 1) << 8));
}

std::uint32_t u32At(const QByteArray& m, int i)
{
    return static_cast<std::uint32_t>(byteAt(m, i)) | (static_cast<std::uint32_t>(byteAt(m, i + 1)) << 8) |
           (static_cast<std::uint32_t>(byteAt(m, i + 2)) << 16) | (static_cast<std::uint32_t>(byteAt(m, i + 3)) << 24);
}

void appendU32(QByteArray& m, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        m.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

QByteArray littleEndian(std::uint64_t v, int width)
{
    QByteArray bytes;
    for (int i = 0; i < width; ++i)
        bytes.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    return bytes;
}

// The answer message: [length][type][payload].
QByteArray reply(int type, const QByteArray& payload = {})
{
    QByteArray m;
    m.append(static_cast<char>(payload.size() + 2));
    m.append(static_cast<char>(type));
    m.append(payload);
    return m;
}

QByteArray rejection()
{
    return reply(kRejectType);
}

QByteArray sized(const QByteArray& bytes, int size)
{
    QByteArray b = bytes.left(size);
    b.append(QByteArray(size - b.size(), '\0'));
    return b;
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

std::optional<QByteArray> parseHex(const QString& text)
{
    QString compact = text;
    compact.remove(QRegularExpression(QStringLiteral("\\s")));
    static const QRegularExpression hexOnly(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    if (!hexOnly.match(compact).hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(compact.toLatin1());
}

std::optional<int> parseNumber(const QJsonValue& v)
{
    if (v.isDouble() && std::floor(v.toDouble()) == v.toDouble())
        return static_cast<int>(v.toDouble());
    if (v.isString()) {
        bool ok = false;
        const int n = v.toString().toInt(&ok, 0);
        if (ok)
            return n;
    }
    return std::nullopt;
}

// A block of the scenario: hex of exactly size bytes (or of any length when size is 0).
bool parseBlock(const QJsonValue& v, int size, const QString& key, QByteArray& out, QString* error)
{
    const auto bytes = parseHex(v.toString());
    if (!v.isString() || !bytes)
        return fail(error, QStringLiteral("\"%1\" must be a hex text.").arg(key));
    if (size && bytes->size() != size)
        return fail(error,
                    QStringLiteral("\"%1\" holds %2 bytes instead of %3.").arg(key).arg(bytes->size()).arg(size));
    out = *bytes;
    return true;
}

bool parseMemory(const QJsonValue& v, const QString& key, const QString& baseDir, QByteArray& out, QString* error)
{
    if (v.isString())
        return parseBlock(v, 0, key, out, error);
    const QJsonObject o = v.toObject();
    if (o.contains(QStringLiteral("file"))) {
        const QString path = QDir(baseDir).absoluteFilePath(o.value(QStringLiteral("file")).toString());
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return fail(error, QStringLiteral("\"%1\": cannot read %2: %3").arg(key, path, f.errorString()));
        out = f.readAll();
        return true;
    }
    const auto length = parseNumber(o.value(QStringLiteral("length")));
    if (!length || *length < 0 || *length > UnitModel::kMaxImageSize)
        return fail(error, QStringLiteral("\"%1\" must be hex, {\"file\": ...} or {\"length\": n}.").arg(key));
    out.resize(*length);
    for (int i = 0; i < *length; ++i)
        out[i] = static_cast<char>(i & 0xFF);
    return true;
}

bool parsePlan(const QJsonObject& o, const QString& key, memoryframes::Plan& plan, QString* error)
{
    for (const QString& k : o.keys())
        if (k != QLatin1String("records") && k != QLatin1String("start") && k != QLatin1String("end") &&
            k != QLatin1String("interval") && k != QLatin1String("wrap"))
            return fail(error, QStringLiteral("\"%1\": unknown key \"%2\".").arg(key, k));
    const auto records = parseNumber(o.value(QStringLiteral("records")));
    const auto interval =
        o.contains(QStringLiteral("interval")) ? parseNumber(o.value(QStringLiteral("interval"))) : plan.interval;
    const auto wrap = o.contains(QStringLiteral("wrap")) ? parseNumber(o.value(QStringLiteral("wrap"))) : 0;
    if (!records || *records < 0 || *records > 1000000 || !interval || *interval < 0 || !wrap || *wrap < 0)
        return fail(
            error,
            QStringLiteral("\"%1\": \"records\" (up to 1000000), \"interval\" and \"wrap\" are numbers of 0 or more.")
                .arg(key));
    plan.records = *records;
    plan.interval = *interval;
    plan.wrap = *wrap;
    if (o.contains(QStringLiteral("start"))) {
        QDateTime start = QDateTime::fromString(o.value(QStringLiteral("start")).toString(), Qt::ISODate);
        if (!start.isValid() || start.date().year() < 2000 || start.date().year() > 2063)
            return fail(error, QStringLiteral("\"%1\": \"start\" is a date and time of 2000 to 2063.").arg(key));
        start.setTimeSpec(Qt::UTC);
        plan.start = start;
    }
    if (o.contains(QStringLiteral("end"))) {
        // The newest record's time: "now" makes a memory whose records are recent whenever the
        // unit is started.
        if (o.contains(QStringLiteral("start")))
            return fail(error, QStringLiteral("\"%1\": give \"start\" or \"end\", not both.").arg(key));
        const QString text = o.value(QStringLiteral("end")).toString();
        QDateTime end =
            text == QLatin1String("now") ? memoryframes::wallClockNow() : QDateTime::fromString(text, Qt::ISODate);
        end.setTimeSpec(Qt::UTC);
        end = end.addMSecs(-end.time().msec());
        const QDateTime start = end.addSecs(-std::int64_t{std::max(plan.records - 1, 0)} * plan.interval);
        if (!end.isValid() || start.date().year() < 2000 || end.date().year() > 2063)
            return fail(error,
                        QStringLiteral("\"%1\": \"end\" is \"now\" or a date and time of 2000 to 2063.").arg(key));
        plan.start = start;
    }
    return true;
}

const char* faultKindName(UnitModel::MessageFault::Kind kind)
{
    switch (kind) {
    case UnitModel::MessageFault::Kind::Silence:
        return "silence";
    case UnitModel::MessageFault::Kind::Reject:
        return "reject";
    case UnitModel::MessageFault::Kind::AnswerType:
        return "answerType";
    case UnitModel::MessageFault::Kind::Length:
        return "length";
    case UnitModel::MessageFault::Kind::Count:
        return "count";
    }
    return "";
}

QString hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

}  // namespace

UnitModel::UnitModel()
{
    const int count = entryCount();
    config_.values.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        config_.values[i] = isText(i) ? QByteArray() : QByteArray(singleReadWidth(i), '\0');
    if (const auto version = indexOf(500))  // "Ridovaz Version": the map the unit serves
        config_.values[*version] = littleEndian(kMapVersion, singleReadWidth(*version));
    config_.sequencer = QByteArray(kSequencerSize, '\0');
    config_.timers = QByteArray(kTimerSize, '\0');
    config_.modmap = QByteArray(kModmapSize, '\0');
    for (auto& r : config_.logRecords)
        r = QByteArray(kLogRecordSize, '\0');
    for (int n = 0; n < kLogCount; ++n)
        config_.logRecords[n][0] = static_cast<char>(n);
    defaults_ = config_;
}

UnitModel::~UnitModel()
{
    QString path;
    {
        std::lock_guard lock(mutex_);
        path = dumpPath_;
    }
    if (!path.isEmpty()) {
        QString error;
        if (!saveDump(path, &error))
            qWarning("Unit emulator: %s", qPrintable(error));
    }
}

// --- scenario and dump ------------------------------------------------------------------------

bool UnitModel::loadScenario(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("Cannot read the scenario %1: %2").arg(path, f.errorString()));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject())
        return fail(error, QStringLiteral("The scenario %1 is not a JSON object: %2 at offset %3")
                               .arg(path, parseError.errorString())
                               .arg(parseError.offset));
    QString why;
    if (!applyScenario(doc.object(), QFileInfo(path).absolutePath(), &why))
        return fail(error, QStringLiteral("The scenario %1: %2").arg(path, why));
    return true;
}

bool UnitModel::applyScenario(const QJsonObject& scenario, const QString& baseDir, QString* error)
{
    std::lock_guard lock(mutex_);
    // All or nothing: a scenario with a fault in it leaves the unit as it was.
    const Configuration config = config_;
    const QByteArray archive = archive_, events = events_, image = image_;
    const auto faults = faults_;
    const auto clock = clock_;
    if (applyLocked(scenario, baseDir, error)) {
        defaults_ = config_;
        return true;
    }
    config_ = config;
    archive_ = archive;
    events_ = events;
    image_ = image;
    faults_ = faults;
    clock_ = clock;
    return false;
}

bool UnitModel::applyLocked(const QJsonObject& s, const QString& baseDir, QString* error)
{
    static const QStringList known = {"values",
                                      "sequencer",
                                      "timers",
                                      "modmap",
                                      "logConfig",
                                      "archive",
                                      "events",
                                      "image",
                                      "clock",
                                      "memoryInfoReserved",
                                      "flashBusyPolls",
                                      "imageBusyPolls",
                                      "imageNeverStored",
                                      "imageCorruptAt",
                                      "rebootSilenceMs",
                                      "faults",
                                      "dump"};
    for (const QString& key : s.keys())
        if (!known.contains(key))
            return fail(error, QStringLiteral("unknown key \"%1\".").arg(key));

    const QJsonObject values = s.value(QStringLiteral("values")).toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        bool ok = false;
        const uint id = it.key().toUInt(&ok);
        const auto index = ok && id <= 0xFFFF ? indexOf(static_cast<std::uint16_t>(id)) : std::nullopt;
        if (!index)
            return fail(error, QStringLiteral("no point has the id \"%1\".").arg(it.key()));
        if (!setValueLocked(*index, it.value().toVariant()))
            return fail(error,
                        QStringLiteral("point %1 cannot take the value %2.")
                            .arg(it.key(), QString::fromUtf8(
                                               QJsonDocument(QJsonArray{it.value()}).toJson(QJsonDocument::Compact))));
    }
    if (s.contains(QStringLiteral("sequencer")) && !parseBlock(s.value(QStringLiteral("sequencer")), kSequencerSize,
                                                               QStringLiteral("sequencer"), config_.sequencer, error))
        return false;
    if (s.contains(QStringLiteral("timers")) &&
        !parseBlock(s.value(QStringLiteral("timers")), kTimerSize, QStringLiteral("timers"), config_.timers, error))
        return false;
    if (s.contains(QStringLiteral("modmap")) &&
        !parseBlock(s.value(QStringLiteral("modmap")), kModmapSize, QStringLiteral("modmap"), config_.modmap, error))
        return false;
    if (s.contains(QStringLiteral("logConfig"))) {
        const QJsonArray logs = s.value(QStringLiteral("logConfig")).toArray();
        if (logs.size() > kLogCount)
            return fail(error, QStringLiteral("\"logConfig\" holds more than six records."));
        for (int n = 0; n < logs.size(); ++n)
            if (!parseBlock(logs[n], kLogRecordSize, QStringLiteral("logConfig[%1]").arg(n), config_.logRecords[n],
                            error))
                return false;
    }
    const std::pair<const char*, QByteArray*> memories[] = {
        {"archive", &archive_}, {"events", &events_}, {"image", &image_}};
    for (const auto& [key, target] : memories) {
        const QJsonValue v = s.value(QLatin1String(key));
        if (target != &image_ && v.toObject().contains(QStringLiteral("records"))) {
            memoryframes::Plan plan;
            if (!parsePlan(v.toObject(), key, plan, error))
                return false;
            *target = target == &archive_ ? makeArchiveLocked(plan) : memoryframes::events(plan);
        } else if (s.contains(QLatin1String(key)) && !parseMemory(v, key, baseDir, *target, error)) {
            return false;
        }
    }
    if (image_.size() > kMaxImageSize)
        return fail(error, QStringLiteral("\"image\" is larger than the unit holds."));

    const std::pair<const char*, int*> numbers[] = {{"flashBusyPolls", &flashBusyPolls_},
                                                    {"imageBusyPolls", &imageBusyPolls_},
                                                    {"rebootSilenceMs", &rebootSilenceMs_}};
    for (const auto& [key, target] : numbers) {
        if (!s.contains(QLatin1String(key)))
            continue;
        const auto n = parseNumber(s.value(QLatin1String(key)));
        if (!n || *n < 0)
            return fail(error, QStringLiteral("\"%1\" must be a number of 0 or more.").arg(key));
        *target = *n;
    }
    if (s.contains(QStringLiteral("imageNeverStored"))) {
        const QJsonValue v = s.value(QStringLiteral("imageNeverStored"));
        if (!v.isBool())
            return fail(error, QStringLiteral("\"imageNeverStored\" must be true or false."));
        imageNeverStored_ = v.toBool();
    }
    if (s.contains(QStringLiteral("imageCorruptAt"))) {
        const auto n = parseNumber(s.value(QStringLiteral("imageCorruptAt")));
        if (!n || *n < -1)
            return fail(error, QStringLiteral("\"imageCorruptAt\" must be an image offset, or -1 for none."));
        imageCorruptAt_ = *n;
    }
    if (s.contains(QStringLiteral("clock"))) {
        const QString text = s.value(QStringLiteral("clock")).toString();
        QDateTime from =
            text == QLatin1String("now") ? memoryframes::wallClockNow() : QDateTime::fromString(text, Qt::ISODate);
        from.setTimeSpec(Qt::UTC);
        if (!from.isValid() || from.date().year() < 2000 || from.date().year() > 2063)
            return fail(error, QStringLiteral("\"clock\" is \"now\" or a date and time of 2000 to 2063."));
        clock_ = RunningClock{from.addMSecs(-from.time().msec()), Clock::now()};
    }
    if (s.contains(QStringLiteral("memoryInfoReserved"))) {
        const double v = s.value(QStringLiteral("memoryInfoReserved")).toDouble(-1);
        if (v < 0 || v > std::numeric_limits<std::uint32_t>::max() || std::floor(v) != v)
            return fail(error, QStringLiteral("\"memoryInfoReserved\" must be a 32-bit number."));
        memoryInfoReserved_ = static_cast<std::uint32_t>(v);
    }

    for (const QJsonValue& f : s.value(QStringLiteral("faults")).toArray()) {
        const QJsonObject o = f.toObject();
        MessageFault fault;
        const auto type = parseNumber(o.value(QStringLiteral("type")));
        if (!type || *type < 0 || *type > 0xFF)
            return fail(error, QStringLiteral("a fault needs the request \"type\" (0-255)."));
        fault.requestType = *type;
        const QString kind = o.value(QStringLiteral("kind")).toString(QStringLiteral("silence"));
        static const MessageFault::Kind kinds[] = {MessageFault::Kind::Silence, MessageFault::Kind::Reject,
                                                   MessageFault::Kind::AnswerType, MessageFault::Kind::Length,
                                                   MessageFault::Kind::Count};
        const auto k = std::find_if(std::begin(kinds), std::end(kinds),
                                    [&](MessageFault::Kind c) { return kind == QLatin1String(faultKindName(c)); });
        if (k == std::end(kinds))
            return fail(error, QStringLiteral("unknown fault kind \"%1\".").arg(kind));
        fault.kind = *k;
        const std::pair<const char*, int*> fields[] = {{"answerType", &fault.answerType},
                                                       {"length", &fault.length},
                                                       {"count", &fault.count},
                                                       {"after", &fault.after},
                                                       {"times", &fault.times}};
        for (const auto& [key, target] : fields) {
            if (!o.contains(QLatin1String(key)))
                continue;
            const auto n = parseNumber(o.value(QLatin1String(key)));
            if (!n || *n < (target == &fault.answerType ? -1 : 0))
                return fail(error, QStringLiteral("fault field \"%1\" must be a number of 0 or more.").arg(key));
            *target = *n;
        }
        if (fault.length < 1 || fault.length > 255 || fault.answerType > 255 || fault.count > kBlockData)
            return fail(error, QStringLiteral(
                                   "a fault's \"length\" is 1-255, its \"answerType\" 0-255 and its \"count\" 0-200."));
        faults_.push_back(fault);
    }
    if (s.contains(QStringLiteral("dump"))) {
        const QString path = s.value(QStringLiteral("dump")).toString();
        dumpPath_ = path.isEmpty() ? QString() : QDir(baseDir).absoluteFilePath(path);
    }
    return true;
}

QJsonObject UnitModel::dump() const
{
    std::lock_guard lock(mutex_);
    QJsonObject values;
    for (int i = 0; i < static_cast<int>(config_.values.size()); ++i) {
        const QVariant v = valueLocked(i);
        QJsonValue j = QJsonValue::fromVariant(v);
        if (v.typeId() == QMetaType::Double && !std::isfinite(v.toDouble()))
            j = std::isnan(v.toDouble()) ? QStringLiteral("nan")
                : v.toDouble() > 0       ? QStringLiteral("inf")
                                         : QStringLiteral("-inf");
        values.insert(QString::number(entryAt(i).pointId), j);
    }
    QJsonArray logs;
    for (const auto& r : config_.logRecords)
        logs.append(hexText(r));
    QJsonArray faults;
    for (const auto& f : faults_)
        faults.append(QJsonObject{{"type", f.requestType},
                                  {"kind", faultKindName(f.kind)},
                                  {"answerType", f.answerType},
                                  {"length", f.length},
                                  {"count", f.count},
                                  {"after", f.after},
                                  {"times", f.times}});
    QJsonArray received;
    for (const auto& m : received_)
        received.append(hexText(m));
    QJsonObject o;
    o.insert("values", values);
    o.insert("sequencer", hexText(config_.sequencer));
    o.insert("timers", hexText(config_.timers));
    o.insert("modmap", hexText(config_.modmap));
    o.insert("logConfig", logs);
    o.insert("archive", hexText(archive_));
    o.insert("events", hexText(events_));
    o.insert("image", hexText(image_));
    if (const auto index = indexOf(kClockPoint); clock_ && index)
        o.insert("clock", memoryframes::timeOf(u32At(valueBytesLocked(*index), 0)).toString(Qt::ISODate));
    o.insert("memoryInfoReserved", static_cast<double>(memoryInfoReserved_));
    o.insert("flashBusyPolls", flashBusyPolls_);
    o.insert("imageBusyPolls", imageBusyPolls_);
    o.insert("imageNeverStored", imageNeverStored_);
    o.insert("imageCorruptAt", static_cast<double>(imageCorruptAt_));
    o.insert("rebootSilenceMs", rebootSilenceMs_);
    o.insert("faults", faults);
    o.insert("counters", QJsonObject{{"flashWrites", counters_.flashWrites},
                                     {"factoryDefaults", counters_.factoryDefaults},
                                     {"reboots", counters_.reboots},
                                     {"archiveWipes", counters_.archiveWipes},
                                     {"eventWipes", counters_.eventWipes},
                                     {"imageBlocksWritten", counters_.imageBlocksWritten}});
    o.insert("received", received);
    return o;
}

bool UnitModel::saveDump(const QString& path, QString* error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("Cannot write the unit's dump %1: %2").arg(path, f.errorString()));
    f.write(QJsonDocument(dump()).toJson());
    if (!f.commit())
        return fail(error, QStringLiteral("Cannot write the unit's dump %1: %2").arg(path, f.errorString()));
    return true;
}

// --- values -----------------------------------------------------------------------------------

std::optional<int> UnitModel::indexOf(std::uint16_t pointId) const
{
    static const std::map<std::uint16_t, int> byId = [] {
        std::map<std::uint16_t, int> m;
        for (int i = 0; i < entryCount(); ++i)
            m.emplace(entryAt(i).pointId, i);
        return m;
    }();
    const auto it = byId.find(pointId);
    return it == byId.end() ? std::nullopt : std::optional<int>(it->second);
}

bool UnitModel::setValueLocked(int index, const QVariant& value)
{
    if (isText(index)) {
        if (value.typeId() != QMetaType::QString || value.toString().size() > kMaxText)
            return false;
        config_.values[index] = value.toString().toLatin1();
        return true;
    }
    const int width = singleReadWidth(index);
    if (entryAt(index).typeCode == 0) {
        float f = 0;
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString().toLower();
            if (t == QLatin1String("nan"))
                f = std::numeric_limits<float>::quiet_NaN();
            else if (t == QLatin1String("inf"))
                f = std::numeric_limits<float>::infinity();
            else if (t == QLatin1String("-inf"))
                f = -std::numeric_limits<float>::infinity();
            else
                return false;
        } else if (value.canConvert<double>() && value.typeId() != QMetaType::Bool) {
            f = static_cast<float>(value.toDouble());
        } else {
            return false;
        }
        QByteArray bytes(4, '\0');
        std::memcpy(bytes.data(), &f, 4);
        config_.values[index] = bytes;
        return true;
    }
    std::int64_t n = 0;
    if (value.typeId() == QMetaType::Bool) {
        n = value.toBool() ? 1 : 0;
    } else if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (std::floor(d) != d || d < -2147483648.0 || d > 4294967295.0)
            return false;
        n = static_cast<std::int64_t>(d);
    } else if (value.canConvert<qlonglong>() && value.typeId() != QMetaType::QString) {
        n = value.toLongLong();
    } else {
        return false;
    }
    config_.values[index] = littleEndian(static_cast<std::uint64_t>(n), width);
    storedLocked(index);
    return true;
}

QByteArray UnitModel::valueBytesLocked(int index) const
{
    if (!clock_ || indexOf(kClockPoint) != index)
        return config_.values[index];
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - clock_->since).count();
    return littleEndian(memoryframes::token(clock_->at.addSecs(seconds)), singleReadWidth(index));
}

void UnitModel::storedLocked(int index)
{
    if (!clock_ || indexOf(kClockPoint) != index)
        return;
    // A token that is no date and time stops the clock at what was written.
    const QDateTime set = memoryframes::timeOf(u32At(config_.values[index], 0));
    if (set.isValid())
        clock_ = RunningClock{set, Clock::now()};
    else
        clock_.reset();
}

QVariant UnitModel::valueLocked(int index) const
{
    const QByteArray raw = valueBytesLocked(index);
    if (isText(index))
        return QString::fromLatin1(raw);
    if (entryAt(index).typeCode == 0) {
        float f = 0;
        std::memcpy(&f, raw.constData(), 4);
        return static_cast<double>(f);
    }
    std::uint64_t v = 0;
    for (int i = raw.size() - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(raw[i]);
    if (isSigned(index) && raw.size() < 8 && (v >> (8 * raw.size() - 1)) & 1)
        v |= ~std::uint64_t(0) << (8 * raw.size());
    return static_cast<qint64>(v);
}

QByteArray UnitModel::rawValue(int index) const
{
    std::lock_guard lock(mutex_);
    return index >= 0 && index < static_cast<int>(config_.values.size()) ? valueBytesLocked(index) : QByteArray();
}

void UnitModel::setRawValue(int index, const QByteArray& bytes)
{
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= static_cast<int>(config_.values.size()))
        return;
    config_.values[index] = isText(index) ? bytes.left(kMaxText) : sized(bytes, singleReadWidth(index));
    storedLocked(index);
}

QVariant UnitModel::value(std::uint16_t pointId) const
{
    const auto index = indexOf(pointId);
    std::lock_guard lock(mutex_);
    return index ? valueLocked(*index) : QVariant();
}

bool UnitModel::setValue(std::uint16_t pointId, const QVariant& value)
{
    const auto index = indexOf(pointId);
    std::lock_guard lock(mutex_);
    return index && setValueLocked(*index, value);
}

// --- blocks and memories ----------------------------------------------------------------------

#define UNIT_BLOCK_ACCESSORS(getter, setter, expr, size)                \
    QByteArray UnitModel::getter() const                                \
    {                                                                   \
        std::lock_guard lock(mutex_);                                   \
        return expr;                                                    \
    }                                                                   \
    void UnitModel::setter(const QByteArray& bytes)                     \
    {                                                                   \
        std::lock_guard lock(mutex_);                                   \
        expr = (size) ? sized(bytes, size) : bytes.left(kMaxImageSize); \
    }

UNIT_BLOCK_ACCESSORS(sequencer, setSequencer, config_.sequencer, kSequencerSize)
UNIT_BLOCK_ACCESSORS(timers, setTimers, config_.timers, kTimerSize)
UNIT_BLOCK_ACCESSORS(modmap, setModmap, config_.modmap, kModmapSize)
UNIT_BLOCK_ACCESSORS(archive, setArchive, archive_, 0)
UNIT_BLOCK_ACCESSORS(events, setEvents, events_, 0)
UNIT_BLOCK_ACCESSORS(image, setImage, image_, 0)
#undef UNIT_BLOCK_ACCESSORS

QByteArray UnitModel::logRecord(int logNumber) const
{
    std::lock_guard lock(mutex_);
    return logNumber >= 0 && logNumber < kLogCount ? config_.logRecords[logNumber] : QByteArray();
}

void UnitModel::setLogRecord(int logNumber, const QByteArray& bytes)
{
    std::lock_guard lock(mutex_);
    if (logNumber >= 0 && logNumber < kLogCount)
        config_.logRecords[logNumber] = sized(bytes, kLogRecordSize);
}

void UnitModel::setMemoryInfoReserved(std::uint32_t value)
{
    std::lock_guard lock(mutex_);
    memoryInfoReserved_ = value;
}

void UnitModel::runClock(const QDateTime& from)
{
    std::lock_guard lock(mutex_);
    clock_ = RunningClock{from, Clock::now()};
}

void UnitModel::setFlashBusyPolls(int polls)
{
    std::lock_guard lock(mutex_);
    flashBusyPolls_ = std::max(0, polls);
}

void UnitModel::setImageBusyPolls(int polls)
{
    std::lock_guard lock(mutex_);
    imageBusyPolls_ = std::max(0, polls);
}

void UnitModel::setImageNeverStored(bool never)
{
    std::lock_guard lock(mutex_);
    imageNeverStored_ = never;
}

void UnitModel::setImageCorruptAt(qint64 offset)
{
    std::lock_guard lock(mutex_);
    imageCorruptAt_ = std::max<qint64>(-1, offset);
}

void UnitModel::setRebootSilenceMs(int ms)
{
    std::lock_guard lock(mutex_);
    rebootSilenceMs_ = std::max(0, ms);
}

bool UnitModel::rebooting() const
{
    std::lock_guard lock(mutex_);
    return Clock::now() < silentUntil_;
}

void UnitModel::addFault(const MessageFault& fault)
{
    std::lock_guard lock(mutex_);
    faults_.push_back(fault);
}

void UnitModel::clearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.clear();
}

std::vector<QByteArray> UnitModel::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

int UnitModel::receivedCount(int requestType) const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(received_.begin(), received_.end(), [&](const QByteArray& m) {
        return m.size() >= 2 && byteAt(m, 1) == requestType;
    }));
}

void UnitModel::clearReceived()
{
    std::lock_guard lock(mutex_);
    received_.clear();
}

UnitModel::Counters UnitModel::counters() const
{
    std::lock_guard lock(mutex_);
    return counters_;
}

// --- messages ---------------------------------------------------------------------------------

std::optional<UnitModel::MessageFault> UnitModel::takeFault(int type)
{
    const auto it =
        std::find_if(faults_.begin(), faults_.end(), [&](const MessageFault& f) { return f.requestType == type; });
    if (it == faults_.end())
        return std::nullopt;
    if (it->after > 0) {
        --it->after;
        return std::nullopt;
    }
    const MessageFault fault = *it;
    if (it->times > 0 && --it->times == 0)
        faults_.erase(it);
    return fault;
}

std::optional<QByteArray> UnitModel::handleMessage(const QByteArray& message)
{
    std::lock_guard lock(mutex_);
    received_.push_back(message);
    if (Clock::now() < silentUntil_)
        return std::nullopt;  // still starting up after a reboot
    const int type = message.size() >= 2 ? byteAt(message, 1) : -1;
    const std::optional<MessageFault> fault = takeFault(type);
    if (fault && fault->kind == MessageFault::Kind::Silence)
        return std::nullopt;
    if (fault && fault->kind == MessageFault::Kind::Reject)
        return rejection();
    QByteArray a = answer(message);
    if (fault && fault->kind == MessageFault::Kind::AnswerType)
        a[1] = static_cast<char>(fault->answerType >= 0 ? fault->answerType : type + 2);
    if (fault && fault->kind == MessageFault::Kind::Length) {
        a = sized(a, fault->length);
        a[0] = static_cast<char>(fault->length);
    }
    if (fault && fault->kind == MessageFault::Kind::Count && a.size() >= 7 + kBlockData) {
        // A count above the bytes sent leaves zeros in their place.
        const int n = std::min(fault->count, kBlockData);
        a[6] = static_cast<char>(n);
        a.replace(7 + n, kBlockData - n, QByteArray(kBlockData - n, '\0'));
    }
    return a;
}

QByteArray UnitModel::makeArchive(const memoryframes::Plan& plan) const
{
    std::lock_guard lock(mutex_);
    return makeArchiveLocked(plan);
}

QByteArray UnitModel::makeArchiveLocked(const memoryframes::Plan& plan) const
{
    // The log record's bytes: number, enable, frequency, id code, parameter count, eight ids.
    std::vector<const QByteArray*> logs;
    for (const auto& r : config_.logRecords)
        if (r.size() == kLogRecordSize && byteAt(r, 1) != 0)
            logs.push_back(&r);
    std::vector<QByteArray> frames;
    if (logs.empty())
        return {};
    for (int i = 0; i < plan.records; ++i) {
        const QByteArray& r = *logs[static_cast<std::size_t>(i) % logs.size()];
        QByteArray payload;
        appendU32(payload, memoryframes::token(plan.start.addSecs(std::int64_t{i} * plan.interval)));
        const int parameters = std::min<int>(byteAt(r, 5), 8);
        for (int j = 1; j < parameters; ++j) {
            const auto index = indexOf(u16At(r, 6 + 2 * j));
            payload.append(index ? sized(valueBytesLocked(*index), singleReadWidth(*index)) : QByteArray(4, '\0'));
        }
        frames.push_back(memoryframes::logFrame(byteAt(r, 4), payload));
    }
    return memoryframes::inMemoryOrder(frames, plan.wrap);
}

QByteArray UnitModel::readBlock(int type, const QByteArray& memory, const QByteArray& message) const
{
    const std::uint32_t offset = u32At(message, 2);
    const int count = byteAt(message, 6);
    if (count > kBlockData)
        return rejection();
    const qint64 available = std::max<qint64>(0, memory.size() - static_cast<qint64>(offset));
    const int n = static_cast<int>(std::min<qint64>(count, available));
    QByteArray payload;
    appendU32(payload, offset);
    payload.append(static_cast<char>(n));
    payload.append(memory.mid(offset, n));
    payload.append(QByteArray(kBlockData - n, '\0'));
    return reply(type + 1, payload);
}

QByteArray UnitModel::multiRead(const QByteArray& message) const
{
    const int count = byteAt(message, 2);
    if (count < 1 || count > 20)
        return rejection();
    QByteArray payload;
    payload.append(static_cast<char>(count));
    for (int k = 0; k < count; ++k) {
        const int index = u16At(message, 3 + 2 * k);
        if (index >= static_cast<int>(config_.values.size()))
            return rejection();
        const int width = ridovaz::valueSize(entryAt(index).typeCode);
        payload.append(sized(valueBytesLocked(index), width));
    }
    return reply(0x33, payload);
}

QByteArray UnitModel::answer(const QByteArray& m)
{
    if (m.size() < 2 || byteAt(m, 0) != m.size())
        return rejection();
    const int type = byteAt(m, 1);
    const int length = m.size();
    const int entries = static_cast<int>(config_.values.size());
    auto plain = [&] { return reply(type + 1); };

    switch (type) {
    case 0x01: {  // read entry
        if (length != 4 || u16At(m, 2) >= entries)
            return rejection();
        const int index = u16At(m, 2);
        QByteArray payload = m.mid(2, 2);
        if (isText(index))
            payload.append(static_cast<char>(config_.values[index].size()));
        payload.append(valueBytesLocked(index));
        return reply(0x02, payload);
    }
    case 0x04: {  // write entry
        if (length != 8 || u16At(m, 2) >= entries)
            return rejection();
        const int index = u16At(m, 2);
        if (isText(index) || !entryAt(index).writable)
            return rejection();
        config_.values[index] = m.mid(4, singleReadWidth(index));
        storedLocked(index);
        return plain();
    }
    case 0x06: {  // write text entry
        if (length < 5 || length != byteAt(m, 4) + 5 || u16At(m, 2) >= entries)
            return rejection();
        const int index = u16At(m, 2);
        if (!isText(index) || !entryAt(index).writable)
            return rejection();
        config_.values[index] = m.mid(5);
        return plain();
    }
    case 0x08:  // write configuration to flash
        if (length != 2)
            return rejection();
        ++counters_.flashWrites;
        flashBusy_ = flashBusyPolls_;
        return plain();
    case 0x0A: {  // flash status
        if (length != 2)
            return rejection();
        const bool busy = flashBusy_ > 0;
        if (busy)
            --flashBusy_;
        return reply(0x0B, QByteArray(1, busy ? 1 : 0));
    }
    case 0x0C:  // factory defaults
        if (length != 2)
            return rejection();
        ++counters_.factoryDefaults;
        config_ = defaults_;
        return plain();
    case 0x0E:  // reboot: answer, then silence while the unit starts again
        if (length != 2)
            return rejection();
        ++counters_.reboots;
        flashBusy_ = imageBusy_ = 0;
        silentUntil_ = Clock::now() + std::chrono::milliseconds(rebootSilenceMs_);
        return plain();
    case 0x12:  // Modbus map header
        if (length != 2)
            return rejection();
        return reply(0x13, config_.modmap.left(kModmapHeaderSize));
    case 0x14: {  // Modbus map entry
        if (length != 4 || u16At(m, 2) >= kModmapEntries)
            return rejection();
        const int i = u16At(m, 2);
        return reply(0x15,
                     m.mid(2, 2) + config_.modmap.mid(kModmapHeaderSize + kModmapEntrySize * i, kModmapEntrySize));
    }
    case 0x16:  // write Modbus map header
        if (length != 2 + kModmapHeaderSize)
            return rejection();
        config_.modmap.replace(0, kModmapHeaderSize, m.mid(2));
        return plain();
    case 0x18: {  // write Modbus map entry; the answer echoes the entry index
        if (length != 4 + kModmapEntrySize || u16At(m, 2) >= kModmapEntries)
            return rejection();
        const int i = u16At(m, 2);
        config_.modmap.replace(kModmapHeaderSize + kModmapEntrySize * i, kModmapEntrySize, m.mid(4));
        return reply(0x19, m.mid(2, 2));
    }
    case 0x24:  // log configuration record
        if (length != 3 || byteAt(m, 2) >= kLogCount)
            return rejection();
        return reply(0x25, config_.logRecords[byteAt(m, 2)]);
    case 0x26:  // write log configuration record: its first byte is the log number
        if (length != 2 + kLogRecordSize || byteAt(m, 2) >= kLogCount)
            return rejection();
        config_.logRecords[byteAt(m, 2)] = m.mid(2);
        return plain();
    case 0x28:
        return length == 7 ? readBlock(type, archive_, m) : rejection();
    case 0x2A: {  // memory information
        if (length != 2)
            return rejection();
        QByteArray payload;
        appendU32(payload, memoryInfoReserved_);
        appendU32(payload, static_cast<std::uint32_t>(archive_.size()));
        appendU32(payload, static_cast<std::uint32_t>(events_.size()));
        return reply(0x2B, payload);
    }
    case 0x2C:
        return length == 7 ? readBlock(type, events_, m) : rejection();
    case 0x2E: {  // firmware block; the unit is busy storing it for a few polls
        if (length != 7 + kBlockData)
            return rejection();
        const std::uint32_t offset = u32At(m, 2);
        const int count = byteAt(m, 6);
        if (count > kBlockData || static_cast<qint64>(offset) + count > kMaxImageSize)
            return rejection();
        if (image_.size() < static_cast<qint64>(offset) + count)
            image_.append(QByteArray(static_cast<int>(offset) + count - image_.size(), '\0'));
        image_.replace(static_cast<int>(offset), count, m.mid(7, count));
        ++counters_.imageBlocksWritten;
        imageBusy_ = imageBusyPolls_;
        return reply(0x2F, m.mid(2, 5));
    }
    case 0x30: {  // firmware block stored?
        if (length != 2)
            return rejection();
        const bool busy = imageNeverStored_ || imageBusy_ > 0;
        if (imageBusy_ > 0)
            --imageBusy_;
        return reply(0x31, QByteArray(1, busy ? 1 : 0));
    }
    case 0x32:
        return length == 43 ? multiRead(m) : rejection();
    case 0x34:
        if (length != 2)
            return rejection();
        ++counters_.eventWipes;
        events_.clear();
        return plain();
    case 0x36:
        if (length != 2)
            return rejection();
        ++counters_.archiveWipes;
        archive_.clear();
        return plain();
    case 0x3A: {
        if (length != 7)
            return rejection();
        if (imageCorruptAt_ < 0 || imageCorruptAt_ >= image_.size())
            return readBlock(type, image_, m);
        // A read-back that went wrong on the way: the stored image itself stays intact.
        QByteArray served = image_;
        served[imageCorruptAt_] = static_cast<char>(~served[imageCorruptAt_]);
        return readBlock(type, served, m);
    }
    case 0x3C:
        return length == 2 ? reply(0x3D, config_.sequencer) : rejection();
    case 0x3E:
        if (length != 2 + kSequencerSize)
            return rejection();
        config_.sequencer = m.mid(2);
        return plain();
    case 0x40:
        return length == 2 ? reply(0x41, config_.timers) : rejection();
    case 0x42:
        if (length != 2 + kTimerSize)
            return rejection();
        config_.timers = m.mid(2);
        return plain();
    default:
        return rejection();
    }
}
