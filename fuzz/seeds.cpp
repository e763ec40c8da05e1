// fuzz_seeds <folder>: writes the seed corpora of the fuzz targets, one sub-folder each, from the
// formats themselves: the emulated unit's answers and memories, a configuration file and Modbus
// lists built by the program's own code, and a few texts of each kind.
#include "commdbpointfacade.h"
#include "configfile.h"
#include "database.h"
#include "frame.h"
#include "fuzzdatabase.h"
#include "memoryframes.h"
#include "ridovaz.h"
#include "securitychk.h"
#include "unitmodel.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <functional>
#include <stdexcept>

namespace {

QString root;
int written = 0;

void seed(const char* target, const QString& name, const QByteArray& bytes)
{
    const QString dir = QDir(root).filePath(QString::fromLatin1(target));
    QDir().mkpath(dir);
    QFile file(QDir(dir).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    ++written;
}

QByteArray u8s(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(static_cast<char>(b));
    return out;
}

// A link to the emulated unit that remembers the last answer.
class RecordingLink : public MessageLink {
public:
    explicit RecordingLink(UnitModel& unit) : unit_(unit) {}
    QByteArray last;
    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool) override
    {
        const auto reply = unit_.handleMessage(QByteArray(reinterpret_cast<const char*>(message), message[0]));
        last = reply.value_or(QByteArray());
        if (!reply)
            throw CommStatusError(commstatus::kNoResponse);
        if (reply->size() > capacity)
            throw CommStatusError(commstatus::kUnexpectedResponse);
        std::memcpy(answer, reply->constData(), static_cast<std::size_t>(reply->size()));
        return static_cast<int>(reply->size());
    }

private:
    UnitModel& unit_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    fuzzsupport::initDatabase();
    root = QString::fromLocal8Bit(argv[1]);

    // The emulated unit of the demonstration-like scenario, with small memories.
    UnitModel unit;
    {
        QFile f(QStringLiteral(KVT_SCENARIO_DIR "/logs.json"));
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        QJsonObject s = QJsonDocument::fromJson(f.readAll()).object();
        s.insert("archive",
                 QJsonObject{{"records", 40}, {"start", "2026-01-01T00:00:00"}, {"interval", 900}, {"wrap", 15}});
        s.insert("events",
                 QJsonObject{{"records", 40}, {"start", "2026-01-01T00:00:00"}, {"interval", 3600}, {"wrap", 10}});
        QString error;
        if (!unit.applyScenario(s, {}, &error)) {
            std::fprintf(stderr, "fuzz_seeds: %s\n", qPrintable(error));
            return 1;
        }
    }

    // Log and event memories, whole and in pieces of several sizes (first byte: piece size - 1).
    for (int piece : {0, 7, 199, 255}) {
        seed("logframes", QStringLiteral("archive-%1").arg(piece), u8s({piece}) + unit.archive());
        seed("frame", QStringLiteral("chunk-%1").arg(piece), u8s({piece & 0x0F}));
    }
    seed("eventframes", QStringLiteral("events"), unit.events());
    seed("eventframes", QStringLiteral("one-event"),
         memoryframes::eventFrame(memoryframes::token(QDateTime(QDate(2026, 5, 1), QTime(12, 0), Qt::UTC)), 3, 1, 1));

    // Every answer of the unit to the device messages: [request][3 argument bytes][answer].
    RecordingLink link(unit);
    CommDBPointFacade facade(link);
    const std::pair<int, std::function<void()>> requests[] = {
        {0, [&] { facade.ReadFloat(12); }},
        {1, [&] { facade.ReadBool(60); }},
        {3, [&] { facade.ReadU16(4); }},
        {4, [&] { facade.ReadU32(5); }},
        {8,
         [&] {
             std::string t;
             facade.ReadString(0, t);
         }},
        {9, [&] { facade.ReadEntry(12); }},
        {10, [&] { facade.ReadModmapHeader(); }},
        {11, [&] { facade.ReadModmapEntry(3); }},
        {12, [&] { facade.ReadLogRecord(1); }},
        {13, [&] { facade.ReadArchiveBlock(0, 200); }},
        {14, [&] { facade.ReadMemoryInfo(); }},
        {15, [&] { facade.ReadEventBlock(0, 200); }},
        {17, [&] { facade.ReadSequencerConfig(); }},
        {18, [&] { facade.ReadTimerConfig(); }},
        {19, [&] { facade.FlashStatus(); }},
        {21,
         [&] {
             MultiReadRequest r;
             r.count = 20;
             for (int i = 0; i < 20; ++i)
                 r.indexes[i] = static_cast<std::uint16_t>((12 + i * 37) % 1357);
             facade.MultiRead(r);
         }},
    };
    for (const auto& [op, call] : requests) {
        link.last.clear();
        try {
            call();
        } catch (const std::exception&) {
        }
        if (!link.last.isEmpty()) {
            const QByteArray args = op == 21               ? u8s({19, 12, 0})
                                    : op == 13 || op == 15 ? u8s({0, 0, 200})
                                                           : u8s({12, 0, 0});
            seed("deviceanswers", QStringLiteral("answer-%1").arg(op), u8s({op}) + args + link.last);
            // The same answer framed as it travels on the line.
            std::uint8_t framed[frame::kFrameBufferSize];
            const int n = frame::build(0x01, reinterpret_cast<const std::uint8_t*>(link.last.constData()),
                                       static_cast<int>(link.last.size()), framed);
            seed("frame", QStringLiteral("answer-%1").arg(op),
                 u8s({0x0F}) + QByteArray(reinterpret_cast<const char*>(framed), n));
        }
    }
    seed("frame", QStringLiteral("rejected"), u8s({0x0F, 0x01, 0x12, 0x02, 0xFF}));
    seed("frame", QStringLiteral("gateway"), u8s({0x0F}) + QByteArray("CCIClineA,lineB,"));

    // A configuration file of the database as it stands, and one of the emulated unit's values.
    const QDateTime when(QDate(2026, 6, 1), QTime(9, 30), Qt::UTC);
    seed("configfile", QStringLiteral("database.cfg"), configfile::Build(*DataBase::Instance(), when));
    seed("configfile", QStringLiteral("tiny.cfg"), QByteArray("<?xml version=\"1.0\"?><ConfigurationDatabase/>"));

    // Modbus lists of the three modes.
    ModbusList& list = DataBase::Instance()->GetModbusList();
    for (int mode = 0; mode <= 2; ++mode) {
        list.SelectMode(mode);
        list.RebuildImage();
        const ModmapImage image = list.GetImage();
        seed("modbuslist", QStringLiteral("mode-%1.515mb").arg(mode),
             QByteArray(reinterpret_cast<const char*>(&image), static_cast<int>(sizeof image)));
    }
    seed("modbuslist", QStringLiteral("unit.515mb"), unit.modmap());

    // Password files: a digest, and files one byte short and one byte long.
    const auto digest = SecurityChk::Md5("qe$3916");
    const QByteArray d(reinterpret_cast<const char*>(digest.data()), 16);
    seed("password", QStringLiteral("Passw.dat"), d);
    seed("password", QStringLiteral("short"), d.left(15));
    seed("password", QStringLiteral("long"), d + 'x');

    // Point texts of points of several types: [index low][index high][text].
    Ridovaz17041417 map;
    const char* texts[] = {"12.5", "1", "0", "-3", "65535", "4294967296", "text of a point", "1e40", "nan", ""};
    int n = 0;
    for (int index = 0; index < map.GetCount(); index += 97)
        for (const char* t : texts)
            seed("pointtexts", QStringLiteral("text-%1").arg(n++), u8s({index & 0xFF, index >> 8}) + QByteArray(t));

    // Time-stamp tokens and seconds texts.
    const std::uint32_t token = memoryframes::token(when);
    seed("timestamp", QStringLiteral("token"), QByteArray(reinterpret_cast<const char*>(&token), 4));
    for (const char* t : {"1.234", " -0.5 ", "2147483.648", "1e3", "60"})
        seed("timestamp", QStringLiteral("text-%1").arg(QString::fromLatin1(t).trimmed()), QByteArray(t));

    // Gateway replies and address books.
    seed("gateway", QStringLiteral("list"), QByteArray("Cline1,line2,line3,"));
    seed("gateway", QStringLiteral("address"), QByteArray("A 7"));
    seed("gateway", QStringLiteral("bad-address"), QByteArray("A300"));
    seed("addressbook", QStringLiteral("addrInfo.cfg"),
         QByteArray("10.0.0.5,Plant A,502\r\nhost,North, tank 3,23\nunit.example,telnet service,telnet\n"));
    seed("addressbook", QStringLiteral("signs"), QByteArray("a,b,-2147483648\na,b,+-5\n"));

    std::printf("fuzz_seeds: %d seeds in %s\n", written, argv[1]);
    return 0;
}
