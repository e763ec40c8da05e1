#include "unitmodel.h"
#include "ridovaz.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QByteArray message(int type, const QByteArray& payload = {})
{
    QByteArray m;
    m.append(static_cast<char>(payload.size() + 2));
    m.append(static_cast<char>(type));
    m.append(payload);
    return m;
}

QByteArray u16(int v)
{
    return QByteArray(1, static_cast<char>(v & 0xFF)) + QByteArray(1, static_cast<char>(v >> 8));
}

QByteArray u32(quint32 v)
{
    return u16(v & 0xFFFF) + u16(v >> 16);
}

QByteArray rejection()
{
    return hex("02ff");
}

// Sends a message and gives the answer (an empty array for silence).
QByteArray ask(UnitModel& unit, const QByteArray& m)
{
    return unit.handleMessage(m).value_or(QByteArray());
}

QByteArray blockRequest(int type, quint32 offset, int count)
{
    return message(type, u32(offset) + QByteArray(1, char(count)));
}

QByteArray writeImage(quint32 offset, const QByteArray& data)
{
    return message(0x2E, u32(offset) + QByteArray(1, char(data.size())) + data + QByteArray(200 - data.size(), '\0'));
}

constexpr int kVersionIndex = 0;  // "Ridovaz Version", point 500
constexpr int kTextIndex = 2;     // "Unit ID", point 0
constexpr int kFloatIndex = 6;    // "Black Tape Detect Volts (mV)", point 12
constexpr int kU16Index = 8;      // "Purge Time", point 10
constexpr int kBoolIndex = 5;     // "Backlight Lock On", point 67
constexpr int kBaudIndex = 957;   // "Comm Port 1: Baud Rate", point 306

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(UnitModel, EveryEntryAnswersASingleReadInItsTypesWidth)
{
    UnitModel unit;
    Ridovaz17041417 map;
    for (int i = 0; i < map.GetCount(); ++i) {
        SCOPED_TRACE(i);
        const QByteArray a = ask(unit, message(0x01, u16(i)));
        ASSERT_GE(a.size(), 5);
        EXPECT_EQ(uchar(a[0]), a.size());
        EXPECT_EQ(uchar(a[1]), 0x02);
        EXPECT_EQ(a.mid(2, 2), u16(i));
        const int code = map.GetTypeCode(i);
        if (code == 13) {
            EXPECT_EQ(a.size(), 5);  // an empty text: its length byte only
            EXPECT_EQ(a[4], 0);
        } else {
            const int width = code == 15 ? 1 : map.GetValueSize(i);
            ASSERT_GT(width, 0);
            EXPECT_EQ(a.size(), 4 + width);
        }
    }
    // The unit serves the program's map version.
    EXPECT_EQ(ask(unit, message(0x01, u16(kVersionIndex))), message(0x02, u16(kVersionIndex) + u32(17041417)));
    EXPECT_EQ(ask(unit, message(0x01, u16(map.GetCount()))), rejection());
}

TEST(UnitModel, WritesStoreTheTypesWidthAndTextsTheirCharacters)
{
    UnitModel unit;
    EXPECT_EQ(ask(unit, message(0x04, u16(kU16Index) + hex("3412ffff"))), hex("0205"));
    EXPECT_EQ(unit.rawValue(kU16Index), hex("3412"));
    EXPECT_EQ(unit.value(10).toLongLong(), 0x1234);
    EXPECT_EQ(ask(unit, message(0x01, u16(kU16Index))), message(0x02, u16(kU16Index) + hex("3412")));

    EXPECT_EQ(ask(unit, message(0x04, u16(kBaudIndex) + hex("05000000"))), hex("0205"));
    EXPECT_EQ(unit.rawValue(kBaudIndex), hex("05"));

    EXPECT_EQ(ask(unit, message(0x06, u16(kTextIndex) + hex("03") + "abc")), hex("0207"));
    EXPECT_EQ(unit.value(0).toString(), "abc");
    EXPECT_EQ(ask(unit, message(0x01, u16(kTextIndex))), message(0x02, u16(kTextIndex) + hex("03") + "abc"));

    // A text by the value message, a number by the text message, a read-only point, a length byte
    // that does not match: refused.
    EXPECT_EQ(ask(unit, message(0x04, u16(kTextIndex) + hex("41414141"))), rejection());
    EXPECT_EQ(ask(unit, message(0x06, u16(kU16Index) + hex("01") + "a")), rejection());
    EXPECT_EQ(ask(unit, message(0x04, u16(kVersionIndex) + hex("01000000"))), rejection());
    EXPECT_EQ(ask(unit, message(0x06, u16(kTextIndex) + hex("04") + "abc")), rejection());
    EXPECT_EQ(unit.value(500).toLongLong(), 17041417);
}

TEST(UnitModel, MultiReadPacksTheValuesInRequestOrder)
{
    UnitModel unit;
    ASSERT_TRUE(unit.setValue(12, 1.5));
    ASSERT_TRUE(unit.setValue(10, 0x1234));
    ASSERT_TRUE(unit.setValue(67, true));
    QByteArray indexes = u16(kFloatIndex) + u16(kBoolIndex) + u16(kU16Index) + u16(kVersionIndex);
    indexes.append(QByteArray(40 - indexes.size(), '\0'));
    const QByteArray a = ask(unit, message(0x32, hex("04") + indexes));
    EXPECT_EQ(a, message(0x33, hex("04") + hex("0000c03f") + hex("01") + hex("3412") + u32(17041417)));

    EXPECT_EQ(ask(unit, message(0x32, hex("00") + QByteArray(40, '\0'))), rejection());
    EXPECT_EQ(ask(unit, message(0x32, hex("15") + QByteArray(40, '\0'))), rejection());
}

TEST(UnitModel, TheClockRunsFromItsScenarioAndFromEveryWriteOfIt)
{
    const int clockIndex = *UnitModel().indexOf(388);  // "Time (proprietary)"
    const auto reading = [&](UnitModel& unit) {
        const QByteArray a = ask(unit, message(0x01, u16(clockIndex)));
        quint32 token = 0;
        std::memcpy(&token, a.constData() + 4, 4);
        return memoryframes::timeOf(token);
    };
    const QDateTime start(QDate(2030, 5, 6), QTime(23, 59, 59), Qt::UTC);

    UnitModel unit;
    QString error;
    ASSERT_TRUE(unit.applyScenario(QJsonObject{{"clock", "2030-05-06T23:59:59"}}, {}, &error)) << error.toStdString();
    EXPECT_LE(start.secsTo(reading(unit)), 1);
    QThread::msleep(1100);
    const QDateTime later = reading(unit);
    EXPECT_GE(start.secsTo(later), 1) << "the clock runs, over midnight too";
    // The multi-read and the values seen from outside read the same clock.
    QByteArray indexes = u16(clockIndex);
    indexes.append(QByteArray(40 - indexes.size(), '\0'));
    const QByteArray multi = ask(unit, message(0x32, hex("01") + indexes));
    quint32 token = 0;
    std::memcpy(&token, multi.constData() + 3, 4);
    EXPECT_LE(later.secsTo(memoryframes::timeOf(token)), 1);
    EXPECT_LE(later.secsTo(memoryframes::timeOf(static_cast<quint32>(unit.value(388).toLongLong()))), 1);

    // Setting the clock: it runs on from the time written.
    const quint32 set = memoryframes::token(QDateTime(QDate(2012, 3, 7), QTime(14, 5, 9), Qt::UTC));
    EXPECT_EQ(ask(unit, message(0x04, u16(clockIndex) + u32(set))), hex("0205"));
    EXPECT_LE(QDateTime(QDate(2012, 3, 7), QTime(14, 5, 9), Qt::UTC).secsTo(reading(unit)), 1);
    // A token that is no date stops it there.
    EXPECT_EQ(ask(unit, message(0x04, u16(clockIndex) + u32(0))), hex("0205"));
    EXPECT_EQ(unit.value(388).toLongLong(), 0);

    // "now" is the wall clock; without "clock" the point holds still.
    ASSERT_TRUE(unit.applyScenario(QJsonObject{{"clock", "now"}}, {}, &error));
    EXPECT_LE(std::abs(memoryframes::wallClockNow().secsTo(reading(unit))), 1);
    UnitModel still;
    ASSERT_TRUE(still.setValue(388, set));
    EXPECT_EQ(still.value(388).toLongLong(), set);
    EXPECT_FALSE(still.applyScenario(QJsonObject{{"clock", "1999-12-31T00:00:00"}}, {}, &error));
    EXPECT_EQ(error, "\"clock\" is \"now\" or a date and time of 2000 to 2063.");
}

TEST(UnitModel, BlocksAndRecordsAreHeldWhole)
{
    UnitModel unit;
    QByteArray sequencer(228, '\0'), timers(144, '\0'), header(17, '\0'), record(22, '\0');
    for (int i = 0; i < 228; ++i)
        sequencer[i] = char(i);
    for (int i = 0; i < 144; ++i)
        timers[i] = char(255 - i);
    header[0] = 2;
    header[3] = 1;
    record[0] = 3;
    record[4] = 42;

    EXPECT_EQ(ask(unit, message(0x3E, sequencer)), hex("023f"));
    EXPECT_EQ(ask(unit, message(0x3C)), message(0x3D, sequencer));
    EXPECT_EQ(ask(unit, message(0x42, timers)), hex("0243"));
    EXPECT_EQ(ask(unit, message(0x40)), message(0x41, timers));

    EXPECT_EQ(ask(unit, message(0x16, header)), hex("0217"));
    EXPECT_EQ(ask(unit, message(0x12)), message(0x13, header));
    EXPECT_EQ(ask(unit, message(0x18, u16(99) + hex("0005015c02"))), message(0x19, u16(99)));
    EXPECT_EQ(ask(unit, message(0x14, u16(99))), message(0x15, u16(99) + hex("0005015c02")));
    EXPECT_EQ(unit.modmap().mid(17 + 5 * 99), hex("0005015c02"));
    EXPECT_EQ(ask(unit, message(0x14, u16(100))), rejection());

    EXPECT_EQ(ask(unit, message(0x26, record)), hex("0227"));
    EXPECT_EQ(ask(unit, message(0x24, hex("03"))), message(0x25, record));
    EXPECT_EQ(unit.logRecord(3), record);
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(uchar(ask(unit, message(0x24, QByteArray(1, char(n))))[2]), n);  // each record's log number
    EXPECT_EQ(ask(unit, message(0x24, hex("06"))), rejection());

    // A block of the wrong size is not taken.
    EXPECT_EQ(ask(unit, message(0x3E, sequencer.left(227))), rejection());
    EXPECT_EQ(unit.sequencer(), sequencer);
}

TEST(UnitModel, MemoriesAreReadInBlocksAndWiped)
{
    UnitModel unit;
    QByteArray archive(450, '\0');
    for (int i = 0; i < archive.size(); ++i)
        archive[i] = char(i * 7);
    unit.setArchive(archive);
    unit.setEvents(hex("0102030405"));
    unit.setMemoryInfoReserved(9);
    EXPECT_EQ(ask(unit, message(0x2A)), message(0x2B, u32(9) + u32(450) + u32(5)));

    EXPECT_EQ(ask(unit, blockRequest(0x28, 200, 200)), message(0x29, u32(200) + hex("c8") + archive.mid(200, 200)));
    // The last block: the bytes that are left, the rest of the data field zero.
    EXPECT_EQ(ask(unit, blockRequest(0x28, 400, 50)),
              message(0x29, u32(400) + hex("32") + archive.mid(400, 50) + QByteArray(150, '\0')));
    EXPECT_EQ(ask(unit, blockRequest(0x2C, 3, 200)),
              message(0x2D, u32(3) + hex("02") + hex("0405") + QByteArray(198, '\0')));
    EXPECT_EQ(ask(unit, blockRequest(0x2C, 1000, 10)), message(0x2D, u32(1000) + hex("00") + QByteArray(200, '\0')));
    EXPECT_EQ(ask(unit, blockRequest(0x28, 0, 201)), rejection());

    EXPECT_EQ(ask(unit, message(0x36)), hex("0237"));
    EXPECT_EQ(ask(unit, message(0x34)), hex("0235"));
    EXPECT_EQ(ask(unit, message(0x2A)), message(0x2B, u32(9) + u32(0) + u32(0)));
    EXPECT_EQ(unit.counters().archiveWipes, 1);
    EXPECT_EQ(unit.counters().eventWipes, 1);
}

TEST(UnitModel, FlashWriteAndFirmwareBlocksAnswerBusyForTheirCount)
{
    UnitModel unit;
    EXPECT_EQ(ask(unit, message(0x0A)), hex("030b00"));
    unit.setFlashBusyPolls(2);
    EXPECT_EQ(ask(unit, message(0x08)), hex("0209"));
    EXPECT_EQ(ask(unit, message(0x0A)), hex("030b01"));
    EXPECT_EQ(ask(unit, message(0x0A)), hex("030b01"));
    EXPECT_EQ(ask(unit, message(0x0A)), hex("030b00"));
    EXPECT_EQ(unit.counters().flashWrites, 1);

    unit.setImageBusyPolls(1);
    const QByteArray first(200, 'a'), last = "xyz";
    EXPECT_EQ(ask(unit, writeImage(0, first)), message(0x2F, u32(0) + hex("c8")));
    EXPECT_EQ(ask(unit, message(0x30)), hex("033101"));
    EXPECT_EQ(ask(unit, message(0x30)), hex("033100"));
    EXPECT_EQ(ask(unit, writeImage(200, last)), message(0x2F, u32(200) + hex("03")));
    EXPECT_EQ(unit.image(), first + last);
    // Read back as written.
    EXPECT_EQ(ask(unit, blockRequest(0x3A, 200, 3)),
              message(0x3B, u32(200) + hex("03") + last + QByteArray(197, '\0')));
    EXPECT_EQ(unit.counters().imageBlocksWritten, 2);

    // One byte goes wrong on the way back; the stored image stays as written.
    unit.setImageCorruptAt(201);
    EXPECT_EQ(ask(unit, blockRequest(0x3A, 200, 3)),
              message(0x3B, u32(200) + hex("03") + "x\x86z" + QByteArray(197, '\0')));
    EXPECT_EQ(ask(unit, blockRequest(0x3A, 0, 200)), message(0x3B, u32(0) + hex("c8") + first));
    EXPECT_EQ(unit.image(), first + last);
    unit.setImageCorruptAt(-1);
    EXPECT_EQ(ask(unit, blockRequest(0x3A, 200, 3)),
              message(0x3B, u32(200) + hex("03") + last + QByteArray(197, '\0')));

    // A block the unit never finishes storing keeps every poll busy.
    unit.setImageNeverStored(true);
    EXPECT_EQ(ask(unit, writeImage(0, first)), message(0x2F, u32(0) + hex("c8")));
    for (int poll = 0; poll < 100; ++poll)
        ASSERT_EQ(ask(unit, message(0x30)), hex("033101")) << poll;
    unit.setImageNeverStored(false);
    EXPECT_EQ(ask(unit, message(0x30)), hex("033100"));
}

TEST(UnitModel, RebootAnswersThenStaysSilentForAWhile)
{
    UnitModel unit;
    unit.setRebootSilenceMs(1000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ask(unit, message(0x0E)), hex("020f"));
    EXPECT_TRUE(unit.rebooting());
    EXPECT_FALSE(unit.handleMessage(message(0x2A)).has_value());
    while (unit.rebooting() && clock.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_TRUE(unit.handleMessage(message(0x2A)).has_value());
    EXPECT_EQ(unit.counters().reboots, 1);
    EXPECT_EQ(unit.receivedCount(0x2A), 2);  // heard, though not answered
}

TEST(UnitModel, FactoryDefaultsBringBackTheScenariosConfiguration)
{
    UnitModel unit;
    ASSERT_TRUE(unit.applyScenario(QJsonObject{{"values", QJsonObject{{"10", 30}}}}));
    const QByteArray sequencer = unit.sequencer();
    ask(unit, message(0x04, u16(kU16Index) + hex("63000000")));
    ask(unit, message(0x3E, QByteArray(228, '\x01')));
    unit.setEvents("kept");
    EXPECT_EQ(ask(unit, message(0x0C)), hex("020d"));
    EXPECT_EQ(unit.value(10).toLongLong(), 30);
    EXPECT_EQ(unit.sequencer(), sequencer);
    EXPECT_EQ(unit.events(), QByteArray("kept"));
    EXPECT_EQ(unit.counters().factoryDefaults, 1);
}

TEST(UnitModel, MalformedAndUnknownMessagesAreRejected)
{
    UnitModel unit;
    EXPECT_EQ(ask(unit, hex("0301")), rejection());               // length byte says 3, two bytes came
    EXPECT_EQ(ask(unit, message(0x01, hex("00"))), rejection());  // index cut
    EXPECT_EQ(ask(unit, message(0x02)), rejection());
    EXPECT_EQ(ask(unit, message(0x50)), rejection());
    EXPECT_EQ(ask(unit, hex("01")), rejection());
    EXPECT_EQ(unit.received().size(), 5u);
}

TEST(UnitModel, FaultsApplyPerMessageTypeAfterAndForTheirCount)
{
    UnitModel unit;
    UnitModel::MessageFault silence;
    silence.requestType = 0x24;
    silence.after = 2;
    silence.times = 2;
    unit.addFault(silence);
    EXPECT_TRUE(unit.handleMessage(message(0x24, hex("00"))).has_value());
    EXPECT_TRUE(unit.handleMessage(message(0x24, hex("01"))).has_value());
    EXPECT_FALSE(unit.handleMessage(message(0x24, hex("02"))).has_value());
    EXPECT_FALSE(unit.handleMessage(message(0x24, hex("02"))).has_value());
    EXPECT_TRUE(unit.handleMessage(message(0x24, hex("02"))).has_value());
    EXPECT_TRUE(unit.handleMessage(message(0x3C)).has_value());  // other types untouched

    UnitModel::MessageFault type;
    type.requestType = 0x0E;
    type.kind = UnitModel::MessageFault::Kind::AnswerType;
    unit.addFault(type);
    unit.setRebootSilenceMs(0);
    EXPECT_EQ(ask(unit, message(0x0E)), hex("0210"));
    EXPECT_EQ(unit.counters().reboots, 1);  // carried out all the same
    EXPECT_EQ(ask(unit, message(0x0E)), hex("020f"));

    UnitModel::MessageFault cut;
    cut.requestType = 0x3C;
    cut.kind = UnitModel::MessageFault::Kind::Length;
    cut.length = 100;
    cut.times = 0;  // every time
    unit.addFault(cut);
    for (int i = 0; i < 3; ++i) {
        const QByteArray a = ask(unit, message(0x3C));
        EXPECT_EQ(a.size(), 100);
        EXPECT_EQ(uchar(a[0]), 100);
    }

    UnitModel::MessageFault reject;
    reject.requestType = 0x3E;
    reject.kind = UnitModel::MessageFault::Kind::Reject;
    unit.addFault(reject);
    EXPECT_EQ(ask(unit, message(0x3E, QByteArray(228, '\x05'))), rejection());
    EXPECT_EQ(unit.sequencer(), QByteArray(228, '\0'));  // not carried out
}

TEST(UnitModel, ScenarioSetsTheUnitAndTheDumpReadsBackTheSame)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("events.bin"), hex("aabbcc"));
    const QJsonObject scenario{
        {"values",
         QJsonObject{
             {"0", "Unit 7"}, {"12", 2.25}, {"10", 65535}, {"67", true}, {"306", 4}, {"500", 17041418}, {"13", -1}}},
        {"sequencer", QString(456, '1')},
        {"timers", QString(288, '2')},
        {"logConfig", QJsonArray{QString("00 01 3c00 01 02 8401") + QString(28, '0')}},
        {"archive", QJsonObject{{"length", 300}}},
        {"events", QJsonObject{{"file", "events.bin"}}},
        {"image", "0102"},
        {"imageCorruptAt", 1},
        {"imageNeverStored", true},
        {"memoryInfoReserved", 7},
        {"flashBusyPolls", 3},
        {"rebootSilenceMs", 50},
        {"faults", QJsonArray{QJsonObject{{"type", "0x2A"}, {"kind", "reject"}, {"times", 1}}}},
        {"dump", "end.json"},
    };
    writeFile(dir.filePath("unit.json"), QJsonDocument(scenario).toJson());

    QJsonObject dumped;
    {
        UnitModel unit;
        QString error;
        ASSERT_TRUE(unit.loadScenario(dir.filePath("unit.json"), &error)) << error.toStdString();
        EXPECT_EQ(unit.value(0).toString(), "Unit 7");
        EXPECT_DOUBLE_EQ(unit.value(12).toDouble(), 2.25);
        EXPECT_EQ(unit.value(10).toLongLong(), 65535);
        EXPECT_EQ(unit.value(67).toLongLong(), 1);
        EXPECT_EQ(unit.rawValue(kBaudIndex), hex("04"));
        EXPECT_EQ(unit.value(500).toLongLong(), 17041418);
        EXPECT_EQ(unit.rawValue(10), hex("ffff"));  // point 13, a 16-bit set: -1 as two's complement
        EXPECT_EQ(unit.sequencer(), QByteArray(228, '\x11'));
        EXPECT_EQ(unit.logRecord(0).left(8), hex("00013c0001028401"));
        EXPECT_EQ(unit.archive().size(), 300);
        EXPECT_EQ(uchar(unit.archive()[299]), 299 & 0xFF);
        EXPECT_EQ(unit.events(), hex("aabbcc"));
        EXPECT_EQ(ask(unit, blockRequest(0x3A, 0, 2)), message(0x3B, u32(0) + hex("02 01 fd") + QByteArray(198, '\0')));
        EXPECT_EQ(ask(unit, message(0x30)), hex("033101"));
        EXPECT_EQ(ask(unit, message(0x2A)), rejection());
        EXPECT_EQ(ask(unit, message(0x2A)), message(0x2B, u32(7) + u32(300) + u32(3)));
        ask(unit, message(0x06, u16(kTextIndex) + hex("02") + "hi"));
        dumped = unit.dump();
    }
    // The dump is written when the unit ends, with what it received.
    QFile end(dir.filePath("end.json"));
    ASSERT_TRUE(end.open(QIODevice::ReadOnly));
    const QJsonObject written = QJsonDocument::fromJson(end.readAll()).object();
    EXPECT_EQ(written.value("values").toObject().value("0").toString(), "hi");
    EXPECT_EQ(written.value("received").toArray().size(), 5);
    EXPECT_EQ(written.value("received").toArray()[4].toString(), "07060200026869");

    // A dump is itself a scenario: a unit given it holds the same.
    QJsonObject again = dumped;
    for (const char* key : {"counters", "received"})
        again.remove(key);
    UnitModel copy;
    QString error;
    ASSERT_TRUE(copy.applyScenario(again, {}, &error)) << error.toStdString();
    QJsonObject copyDump = copy.dump();
    QJsonObject dumpedNoLog = dumped;
    for (const char* key : {"counters", "received"}) {
        copyDump.remove(key);
        dumpedNoLog.remove(key);
    }
    EXPECT_EQ(copyDump, dumpedNoLog);
}

TEST(UnitModel, AFaultyScenarioIsRefusedWithItsReasonAndChangesNothing)
{
    const std::vector<std::pair<QJsonObject, QString>> cases = {
        {{{"values", QJsonObject{{"9999", 1}}}}, "no point has the id \"9999\"."},
        {{{"values", QJsonObject{{"0", 5}}}}, "point 0 cannot take the value [5]."},
        {{{"values", QJsonObject{{"10", 1.5}}}}, "point 10 cannot take the value [1.5]."},
        {{{"sequencer", "00"}}, "\"sequencer\" holds 1 bytes instead of 228."},
        {{{"timers", "zz"}}, "\"timers\" must be a hex text."},
        {{{"faults", QJsonArray{QJsonObject{{"type", 60}, {"kind", "explode"}}}}}, "unknown fault kind \"explode\"."},
        {{{"archive", QJsonObject{{"file", "/no/such/file"}}}}, ""},
        {{{"colour", "red"}}, "unknown key \"colour\"."},
    };
    for (const auto& [scenario, reason] : cases) {
        UnitModel unit;
        QString error;
        EXPECT_FALSE(unit.applyScenario(QJsonObject{{"values", QJsonObject{{"10", 5}}}}, {}, &error) &&
                     unit.applyScenario(scenario, {}, &error));
        if (!reason.isEmpty())
            EXPECT_EQ(error, reason);
        else
            EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(unit.value(10).toLongLong(), 5);
    }

    QTemporaryDir dir;
    writeFile(dir.filePath("broken.json"), "{ \"values\": ");
    try {
        makeUnitHandler(dir.filePath("broken.json"));
        ADD_FAILURE() << "a broken scenario was taken";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("broken.json"), std::string::npos) << e.what();
    }
    EXPECT_NE(makeUnitHandler(), nullptr);
}

namespace {

// CRC-16/MODBUS written out bit by bit, apart from the program's routine.
quint16 crcModbus(const QByteArray& bytes)
{
    quint16 crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? static_cast<quint16>((crc >> 1) ^ 0xA001) : static_cast<quint16>(crc >> 1);
    }
    return crc;
}

// Unescaped bytes (after the start byte) of a whole frame: a log frame's length byte counts its id,
// itself and its payload, and the CRC follows; an event frame is seven bytes and the CRC.
int logFrameSize(const QByteArray& head)
{
    return head.size() < 2 ? -1 : static_cast<quint8>(head[1]) + 2;
}
int eventFrameSize(const QByteArray&)
{
    return 9;
}

// The stored frames of a memory, each unescaped and without its start byte. 0xDE 0xAD is an
// escaped 0xDE only inside a frame: after a whole frame a 0xDE starts the next one, whose first
// byte may be 0xAD (an event's time token has it at second 45 of minutes 2, 6, 10 ...).
QList<QByteArray> unescapedFrames(const QByteArray& memory, int (*frameSize)(const QByteArray&))
{
    QList<QByteArray> frames;
    bool inFrame = false;
    for (int i = 0; i < memory.size(); ++i) {
        const auto b = static_cast<quint8>(memory[i]);
        if (inFrame && b == 0xDE && i + 1 < memory.size() && static_cast<quint8>(memory[i + 1]) == 0xAD) {
            frames.last().append(static_cast<char>(0xDE));
            ++i;
        } else if (b == 0xDE) {
            frames.append(QByteArray());
            inFrame = true;
            continue;
        } else if (inFrame) {
            frames.last().append(static_cast<char>(b));
        } else {
            ADD_FAILURE() << "byte " << int(b) << " at " << i << " lies between frames";
            continue;
        }
        const int size = frameSize(frames.last());
        if (size >= 0 && frames.last().size() >= size)
            inFrame = false;
    }
    return frames;
}

quint32 tokenOf(int year, int month, int day, int hour, int minute, int second)
{
    return (quint32(year - 2000) << 26) | (quint32(month) << 22) | (quint32(day) << 17) | (quint32(hour) << 12) |
           (quint32(minute) << 6) | quint32(second);
}

}  // namespace

TEST(UnitModel, GeneratedMemoriesHoldValidFramesAsTheUnitWritesThem)
{
    // Log 0 (id 0xDE): Purge Time (two bytes), Stream 1: Gain (float); log 1 disabled.
    const QString log0 = "00 01 3c00 de 03 0000 0a00 1500 0000 0000 0000 0000 0000";
    const QString log1 = "01 00 3c00 22 02 0000 0a00 0000 0000 0000 0000 0000 0000";
    UnitModel unit;
    QString error;
    ASSERT_TRUE(unit.applyScenario(QJsonDocument::fromJson(R"({
        "values": {"10": 57054, "21": 0.5},
        "logConfig": [")" + log0.toUtf8() + R"(", ")" + log1.toUtf8() +
                                                           R"("],
        "archive": {"records": 5, "start": "2026-12-31T23:59:30", "interval": 10, "wrap": 2},
        "events": {"records": 3, "start": "2026-03-01T00:02:44", "interval": 1},
        "faults": [{"type": 40, "kind": "count", "count": 3}]
    })")
                                       .object(),
                                   {}, &error))
        << error.toStdString();

    const QList<QByteArray> logFrames = unescapedFrames(unit.archive(), logFrameSize);
    ASSERT_EQ(logFrames.size(), 5);
    // Wrapped: the two newest frames first.
    const int order[] = {3, 4, 0, 1, 2};
    for (int i = 0; i < 5; ++i) {
        const QByteArray& f = logFrames[i];
        ASSERT_EQ(f.size(), 2 + 4 + 2 + 4 + 2);
        const QByteArray covered = f.left(f.size() - 2);
        EXPECT_EQ(crcModbus(covered),
                  static_cast<quint8>(f[f.size() - 2]) | (static_cast<quint8>(f[f.size() - 1]) << 8));
        EXPECT_EQ(covered.left(2), hex("de0c"));
        const QDateTime t = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 30), Qt::UTC).addSecs(10 * order[i]);
        EXPECT_EQ(covered.mid(2, 4), u32(tokenOf(t.date().year(), t.date().month(), t.date().day(), t.time().hour(),
                                                 t.time().minute(), t.time().second())));
        EXPECT_EQ(covered.mid(6), hex("dede") + hex("0000003f"));
    }

    const QList<QByteArray> eventFrames = unescapedFrames(unit.events(), eventFrameSize);
    ASSERT_EQ(eventFrames.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QByteArray& f = eventFrames[i];
        ASSERT_EQ(f.size(), 9);
        // 00:02:45 makes the token's first byte 0xAD, right after the frame's start byte.
        EXPECT_EQ(f.left(4), u32(tokenOf(2026, 3, 1, 0, 2, 44 + i)));
        const char fields[] = {char(1 + i), char(i), char(i % 2)};
        EXPECT_EQ(f.mid(4, 3), QByteArray(fields, 3));
        EXPECT_EQ(crcModbus(f.left(7)), static_cast<quint8>(f[7]) | (static_cast<quint8>(f[8]) << 8));
    }

    // The count fault: the block answer carries three bytes, zeros after them.
    const QByteArray a = ask(unit, blockRequest(0x28, 0, 20));
    ASSERT_EQ(a.size(), 2 + 5 + 200);
    EXPECT_EQ(static_cast<quint8>(a[6]), 3);
    EXPECT_EQ(a.mid(7, 3), unit.archive().left(3));
    EXPECT_EQ(a.mid(10), QByteArray(197, '\0'));
    EXPECT_EQ(static_cast<quint8>(ask(unit, blockRequest(0x28, 0, 20))[6]), 20);

    EXPECT_FALSE(
        unit.applyScenario(QJsonDocument::fromJson(R"({"events": {"records": 3, "every": 1}})").object(), {}, &error));
    EXPECT_FALSE(unit.applyScenario(
        QJsonDocument::fromJson(R"({"events": {"records": 3, "start": "1999-01-01T00:00:00"}})").object(), {}, &error));
    EXPECT_FALSE(unit.applyScenario(
        QJsonDocument::fromJson(R"({"faults": [{"type": 40, "kind": "count", "count": 201}]})").object(), {}, &error));
}

TEST(UnitModel, TheLogsScenarioHoldsAWrappedArchiveAndEventLog)
{
    UnitModel unit;
    QString error;
    ASSERT_TRUE(unit.loadScenario(QStringLiteral(EMU_SCENARIO_DIR "/logs.json"), &error)) << error.toStdString();
    const QList<QByteArray> logFrames = unescapedFrames(unit.archive(), logFrameSize);
    EXPECT_EQ(logFrames.size(), 2000);
    for (const QByteArray& f : logFrames)
        ASSERT_EQ(crcModbus(f.left(f.size() - 2)),
                  static_cast<quint8>(f[f.size() - 2]) | (static_cast<quint8>(f[f.size() - 1]) << 8));
    EXPECT_EQ(unescapedFrames(unit.events(), eventFrameSize).size(), 500);
}

TEST(UnitModel, TheDemonstrationUnitIsRecentAndHoldsEveryLogAndEvent)
{
    UnitModel unit;
    QString error;
    ASSERT_TRUE(unit.loadScenario(QStringLiteral(EMU_SCENARIO_DIR "/demo.json"), &error)) << error.toStdString();
    EXPECT_EQ(unit.value(0).toString(), QStringLiteral("515-0042"));
    EXPECT_EQ(unit.value(500).toLongLong(), UnitModel::kMapVersion);
    EXPECT_EQ(static_cast<quint8>(unit.sequencer()[0]), 1) << "the sequencer runs";
    const QDateTime clock = memoryframes::timeOf(static_cast<quint32>(unit.value(388).toLongLong()));
    EXPECT_TRUE(clock.isValid());
    EXPECT_LE(std::abs(memoryframes::wallClockNow().secsTo(clock)), 2) << "the clock runs from now";

    const std::uint32_t hourAgo = memoryframes::token(memoryframes::wallClockNow().addSecs(-3600));
    std::set<int> logIds;
    std::uint32_t newest = 0;
    for (const QByteArray& f : unescapedFrames(unit.archive(), logFrameSize)) {
        logIds.insert(static_cast<quint8>(f[0]));
        std::uint32_t token = 0;
        std::memcpy(&token, f.constData() + 2, 4);
        newest = std::max(newest, token);
    }
    EXPECT_EQ(logIds, (std::set<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_GE(newest, hourAgo);

    std::set<int> eventTypes;
    newest = 0;
    for (const QByteArray& f : unescapedFrames(unit.events(), eventFrameSize)) {
        eventTypes.insert(static_cast<quint8>(f[4]));
        std::uint32_t token = 0;
        std::memcpy(&token, f.constData(), 4);
        newest = std::max(newest, token);
    }
    EXPECT_EQ(eventTypes.size(), 12u);
    EXPECT_GE(newest, hourAgo);

    // "end" and "start" together are refused.
    EXPECT_FALSE(unit.applyScenario(
        QJsonDocument::fromJson(R"({"events": {"records": 3, "start": "2026-01-01T00:00:00", "end": "now"}})").object(),
        {}, &error));
}
