// Every page at the main window's default size, logged on to the emulated unit: every value
// readable whole, every choice showing the unit's value, every tab in view.
#include "pagewalk.h"

#include "ridovaz.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace {

// The longest text a box lets the user type for the point (its typing limit), else the longest
// text a read answer carries (20 characters).
int allowedLength(const QString& name)
{
    static const QRegularExpression sixes(
        QStringLiteral("^(Relay \\d|Solenoid \\d|Discrete Input \\d): Name$|^Analog Output \\d: Description$"));
    static const QRegularExpression runName(QStringLiteral("^Stream \\d: .*: Name$"));
    if (name == QLatin1String("Unit ID") || name == QLatin1String("Unit Site") ||
        name == QLatin1String("Unit Location"))
        return 19;
    if (sixes.match(name).hasMatch())
        return 6;
    if (runName.match(name).hasMatch())
        return 7;
    return 20;
}

// A text as a technician would give the point, at that length: capitals and digits, the widest
// texts a unit holds in practice.
QString fullText(const QString& name, int length, int id)
{
    static const std::pair<const char*, const char*> kinds[] = {
        {"Unit ID", "515-0042-SRU2-NORTH"},
        {"Unit Site", "SULPHUR RECOVERY U2"},
        {"Unit Location", "TAIL GAS LINE NORTH"},
        {"Analysis Units", "ppmv H2S (dry basis)"},
        {"Units", "PSIG AT 15 DEG C REF"},
        {"Analog Input", "INLET PRESSURE PT-0%1"},
        {"Analog Supply", "24 VDC SUPPLY TO PT%1"},
        {"Relay", "ALARM%1"},
        {"Solenoid", "SOLEN%1"},
        {"Discrete Input", "DOOR0%1"},
        {"Analog Output", "H2S-S%1"},
        {"Stream", "RUN-S%1"},
    };
    QString text = QStringLiteral("ANALYZER TEXT FIELD %1");
    for (const auto& [kind, pattern] : kinds)
        if (name.contains(QLatin1String(kind))) {
            text = QLatin1String(pattern);
            break;
        }
    if (text.contains(QLatin1String("%1")))
        text = text.arg(id % 10);
    return text.left(length).leftJustified(length, QLatin1Char('X'));
}

// Realistic readings and settings: numbers whose single-precision value shows as the toolkit's
// fifteen-digit text, as the unit's floats do.
double realisticFloat(const QString& name)
{
    static const std::pair<const char*, double> kinds[] = {
        {"Gain", 1.87},     {"Zero", 0.42},        {"Offset", 0.42},     {"Temp", 151.3},         {"Current", 36.42},
        {"Limit", 1250.6},  {"Set Point", 1250.6}, {"Setpoint", 1250.6}, {"Volt", 23.9},          {"Reading", 33.29},
        {"Pressure", 14.7}, {"Deviation", 5.3},    {"Diameter", 1.16},   {"Concentration", 48.7},
    };
    for (const auto& [kind, value] : kinds)
        if (name.contains(QLatin1String(kind), Qt::CaseInsensitive))
            return value;
    return 12.34;
}

QJsonObject fullLengthScenario()
{
    const Ridovaz17041417 map;
    QJsonObject values;
    for (int index = 0; index < map.GetCount(); ++index) {
        const auto i = static_cast<std::uint16_t>(index);
        const int id = map.GetPointId(i);
        const QString name = QString::fromStdString(map.GetName(i));
        const QString key = QString::number(id);
        switch (map.GetTypeCode(i)) {
        case 13:
            if (map.GetUsageFlags(i) != 0)  // the map's own bookkeeping texts hold nothing
                values[key] = fullText(name, allowedLength(name), id);
            break;
        case 0:
            values[key] = realisticFloat(name);
            break;
        case 2:
        case 3:
            // Choices hold one of their values: an analog output shows a reading, a port 8-N-1.
            if (name.endsWith(QLatin1String("Function")) || name.endsWith(QLatin1String(": Parameter")))
                values[key] = 450;
            else if (name.endsWith(QLatin1String("Data Bits")))
                values[key] = 8;
            else if (name.endsWith(QLatin1String("Stop Bits")))
                values[key] = 1;
            break;
        default:
            break;
        }
    }
    // Settings that the pages show as numbers and choices of their own.
    const std::pair<int, QJsonValue> settings[] = {
        {20, 3},       // four streams
        {29, 48213},   // run counter
        {10, 120},     // purge time (s)
        {34, 4},       // trend filter length, 1 to 10
        {291, 62},     // furnace pulse width (%)
        {284, 1234},   // bypass timeout (ms)
        {507, 10903},  // firmware version
        {328, 412},    // sensor version
    };
    for (const auto& [id, value] : settings)
        values[QString::number(id)] = value;

    QJsonObject scenario;
    scenario[QStringLiteral("values")] = values;
    // Five logs recording (one with all seven values), both memories full of records.
    scenario[QStringLiteral("logConfig")] = QJsonArray{
        QStringLiteral("00 01 0000 01 04 0000 8801 8701 8b01 0000 0000 0000 0000"),
        QStringLiteral("01 01 3c00 02 08 0000 9001 8c01 c201 c301 c501 c601 1500"),
        QStringLiteral("02 01 6801 03 02 0000 1d00 0000 0000 0000 0000 0000 0000"),
        QStringLiteral("03 01 100e 04 02 0000 0802 0000 0000 0000 0000 0000 0000"),
        QStringLiteral("04 01 7800 05 03 0000 e601 e701 0000 0000 0000 0000 0000"),
        QStringLiteral("05 00 7800 06 01 0000 0000 0000 0000 0000 0000 0000 0000"),
    };
    scenario[QStringLiteral("archive")] = QJsonObject{{QStringLiteral("records"), 600},
                                                      {QStringLiteral("end"), QStringLiteral("now")},
                                                      {QStringLiteral("interval"), 300},
                                                      {QStringLiteral("wrap"), 200}};
    scenario[QStringLiteral("events")] = QJsonObject{{QStringLiteral("records"), 240},
                                                     {QStringLiteral("end"), QStringLiteral("now")},
                                                     {QStringLiteral("interval"), 1800},
                                                     {QStringLiteral("wrap"), 60}};
    return scenario;
}

}  // namespace

TEST_F(PageWalk, EveryTextAtItsFullLengthIsReadableWholeAndEveryTabIsInView)
{
    const QStringList findings = Walk(fullLengthScenario(), QStringLiteral("fulllength"));
    EXPECT_TRUE(findings.isEmpty()) << findings.size() << " findings:\n" << findings.join('\n').toStdString();
}

TEST_F(PageWalk, TheDemonstrationUnitIsReadableWholeAndEveryTabIsInView)
{
    const QStringList findings =
        Walk(QStringLiteral(KVT_SOURCE_DIR "/tools/emulator/scenarios/demo.json"), QStringLiteral("demo"));
    EXPECT_TRUE(findings.isEmpty()) << findings.size() << " findings:\n" << findings.join('\n').toStdString();
}
