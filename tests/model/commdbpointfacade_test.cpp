#include "commdbpointfacade.h"
#include "communications.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <cstring>
#include <deque>
#include <functional>
#include <stdexcept>
#include <variant>
#include <vector>

namespace {

// Register-map indexes of map 17041417 with known types.
constexpr std::uint16_t kU32Entry = 0;     // "Ridovaz Version"
constexpr std::uint16_t kTextEntry = 2;    // "Unit ID"
constexpr std::uint16_t kBoolEntry = 5;    // "Backlight Lock On"
constexpr std::uint16_t kFloatEntry = 6;   // "Black Tape Detect Volts (mV)"
constexpr std::uint16_t kU16Entry = 8;     // "Purge Time"
constexpr std::uint16_t kBaudEntry = 957;  // "Comm Port 1: Baud Rate"

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// A message of the given type with the payload, its length byte set.
QByteArray message(int type, const QByteArray& payload = {})
{
    QByteArray m;
    m.append(static_cast<char>(payload.size() + 2));
    m.append(static_cast<char>(type));
    m.append(payload);
    return m;
}

// The answer length each request type's operation reads, so that an unscripted exchange passes.
int goodAnswerLength(int requestType)
{
    switch (requestType) {
    case 0x01:
        return 8;
    case 0x0A:
    case 0x30:
        return 3;
    case 0x12:
        return 19;
    case 0x14:
        return 9;
    case 0x18:
        return 4;
    case 0x24:
        return 24;
    case 0x28:
    case 0x2C:
    case 0x3A:
        return 207;
    case 0x2A:
        return 14;
    case 0x2E:
        return 7;
    case 0x32:
        return 3;
    case 0x3C:
        return 230;
    case 0x40:
        return 146;
    default:
        return 2;
    }
}

// Records every request and answers from a script; without one, it answers with the request's
// type plus one and a zero payload of the length the operation reads.
class ScriptedLink : public MessageLink {
public:
    struct Sent {
        QByteArray bytes;
        bool notify;
    };

    int SendReceive(const std::uint8_t* msg, std::uint8_t* answer, int capacity, bool notify) override
    {
        sent.push_back({QByteArray(reinterpret_cast<const char*>(msg), msg[0]), notify});
        QByteArray reply;
        if (!script.empty()) {
            auto next = script.front();
            script.pop_front();
            if (const int* status = std::get_if<int>(&next))
                throw CommStatusError(*status);
            reply = std::get<QByteArray>(next);
        } else {
            reply = message(msg[1] + 1, QByteArray(goodAnswerLength(msg[1]) - 2, '\0'));
        }
        if (reply.size() > capacity)
            throw CommStatusError(commstatus::kUnexpectedResponse);
        std::memcpy(answer, reply.constData(), static_cast<std::size_t>(reply.size()));
        return static_cast<int>(reply.size());
    }

    void answer(const QByteArray& reply) { script.emplace_back(reply); }
    void fail(int status) { script.emplace_back(status); }

    std::vector<Sent> sent;
    std::deque<std::variant<int, QByteArray>> script;
};

class FacadeTest : public ::testing::Test {
protected:
    ScriptedLink link;
    CommDBPointFacade facade{link};

    QByteArray lastSent() const { return link.sent.empty() ? QByteArray() : link.sent.back().bytes; }

    // Runs op and gives the status it raised, or -1 when it raised none.
    static int statusOf(const std::function<void()>& op)
    {
        try {
            op();
        } catch (const CommStatusError& e) {
            return e.status;
        }
        return -1;
    }
};

template <std::size_t N>
std::array<std::uint8_t, N> counting()
{
    std::array<std::uint8_t, N> a{};
    for (std::size_t i = 0; i < N; ++i)
        a[i] = static_cast<std::uint8_t>(i + 1);
    return a;
}

template <std::size_t N>
QByteArray bytesOf(const std::array<std::uint8_t, N>& a)
{
    return QByteArray(reinterpret_cast<const char*>(a.data()), static_cast<int>(N));
}

}  // namespace

TEST_F(FacadeTest, EveryRequestIsBuiltByteExact)
{
    MemoryBlock block;
    block.offset = 200;
    block.count = 3;
    block.data[0] = 1;
    block.data[1] = 2;
    block.data[2] = 3;
    block.data[199] = 0xEE;  // past the count: sent as given, not significant
    MultiReadRequest multi;
    multi.count = 2;
    multi.indexes[0] = 5;
    multi.indexes[1] = 0x0102;
    multi.indexes[2] = 0x7777;  // past the count: never sent

    const auto header = counting<17>();
    const auto entry = counting<5>();
    const auto record = counting<22>();
    const auto sequencer = counting<228>();
    const auto timers = counting<144>();

    struct Case {
        const char* name;
        std::function<void()> op;
        QByteArray expected;
        bool notify;
    };
    const std::vector<Case> cases = {
        {"ReadEntry", [&] { facade.ReadEntry(0x1234); }, hex("04013412"), true},
        {"WriteU16", [&] { facade.WriteU16(0x0102, 0xABCD); }, hex("08040201cdab0000"), true},
        {"WriteFloat", [&] { facade.WriteFloat(5, 1.5f); }, hex("080405000000c03f"), true},
        {"WriteBool", [&] { facade.WriteBool(7, true); }, hex("0804070001000000"), true},
        {"WriteS32", [&] { facade.WriteS32(1, -2); }, hex("08040100feffffff"), true},
        {"WriteString", [&] { facade.WriteString(0x0102, "abc"); }, hex("0806020103616263"), true},
        {"WriteFlash", [&] { facade.WriteFlash(); }, hex("0208"), true},
        {"FlashStatus", [&] { facade.FlashStatus(); }, hex("020a"), true},
        {"SetFactoryDefaults", [&] { facade.SetFactoryDefaults(); }, hex("020c"), true},
        {"Reboot", [&] { facade.Reboot(); }, hex("020e"), true},
        {"ReadModmapHeader", [&] { facade.ReadModmapHeader(); }, hex("0212"), true},
        {"ReadModmapEntry", [&] { facade.ReadModmapEntry(99); }, hex("04146300"), true},
        {"WriteModmapHeader", [&] { facade.WriteModmapHeader(header); }, hex("1316") + bytesOf(header), true},
        {"WriteModmapEntry", [&] { facade.WriteModmapEntry(3, entry); }, hex("09180300") + bytesOf(entry), true},
        {"ReadLogRecord", [&] { facade.ReadLogRecord(5); }, hex("032405"), true},
        {"WriteLogRecord", [&] { facade.WriteLogRecord(record); }, hex("1826") + bytesOf(record), true},
        {"ReadArchiveBlock", [&] { facade.ReadArchiveBlock(0x01020304, 200); }, hex("072804030201c8"), true},
        {"ReadMemoryInfo", [&] { facade.ReadMemoryInfo(); }, hex("022a"), true},
        {"ReadEventBlock", [&] { facade.ReadEventBlock(400, 50); }, hex("072c9001000032"), true},
        {"WriteImageBlock", [&] { facade.WriteImageBlock(block); },
         hex("cf2ec80000000301020300") + QByteArray(195, '\0') + hex("ee"), true},
        {"FinishImageWrite", [&] { facade.FinishImageWrite(); }, hex("0230"), false},
        {"MultiRead", [&] { facade.MultiRead(multi); }, hex("2b3202050002 01") + QByteArray(36, '\0'), true},
        {"WipeEventLog", [&] { facade.WipeEventLog(); }, hex("0234"), true},
        {"WipeArchive", [&] { facade.WipeArchive(); }, hex("0236"), true},
        {"ReadImageBlock", [&] { facade.ReadImageBlock(0, 200); }, hex("073a00000000c8"), true},
        {"ReadSequencerConfig", [&] { facade.ReadSequencerConfig(); }, hex("023c"), true},
        {"WriteSequencerConfig", [&] { facade.WriteSequencerConfig(sequencer); }, hex("e63e") + bytesOf(sequencer),
         true},
        {"ReadTimerConfig", [&] { facade.ReadTimerConfig(); }, hex("0240"), true},
        {"WriteTimerConfig", [&] { facade.WriteTimerConfig(timers); }, hex("9242") + bytesOf(timers), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.sent.clear();
        ASSERT_NO_THROW(c.op());
        ASSERT_EQ(link.sent.size(), 1u);
        EXPECT_EQ(link.sent[0].bytes.toHex(' '), c.expected.toHex(' '));
        EXPECT_EQ(link.sent[0].notify, c.notify);
    }
}

TEST_F(FacadeTest, UnusedBytesOfAWrittenValueFieldAreZero)
{
    // A multi-read leaves its index list in the request area; a narrow write after it must not
    // carry those bytes to the unit.
    MultiReadRequest multi;
    multi.count = 3;
    multi.indexes = {0xAAAA, 0xBBBB, 0xCCCC};
    facade.MultiRead(multi);
    facade.WriteU8(0x0009, 0x7F);
    EXPECT_EQ(lastSent().toHex(' '), hex("080409007f000000").toHex(' '));
    facade.WriteS16(0x0009, -2);
    EXPECT_EQ(lastSent().toHex(' '), hex("08040900feff0000").toHex(' '));
}

TEST_F(FacadeTest, ReadsDecodeTheValueInTheWidthOfTheirType)
{
    auto entryAnswer = [](const char* valueHex) { return message(0x02, hex("0000") + hex(valueHex)); };

    link.answer(entryAnswer("3412"));
    EXPECT_EQ(facade.ReadU16(kU16Entry), 4660);
    link.answer(entryAnswer("3412"));
    EXPECT_EQ(facade.ReadS16(kU16Entry), 4660);
    link.answer(entryAnswer("ffff"));
    EXPECT_EQ(facade.ReadU16(kU16Entry), 65535);
    link.answer(entryAnswer("ffff"));
    EXPECT_EQ(facade.ReadS16(kU16Entry), -1);
    link.answer(entryAnswer("ff"));
    EXPECT_EQ(facade.ReadU8(kBoolEntry), 255);
    link.answer(entryAnswer("ff"));
    EXPECT_EQ(facade.ReadS8(kBoolEntry), -1);
    link.answer(entryAnswer("02"));
    EXPECT_TRUE(facade.ReadBool(kBoolEntry));
    link.answer(entryAnswer("00"));
    EXPECT_FALSE(facade.ReadBool(kBoolEntry));
    link.answer(entryAnswer("d9f80401"));
    EXPECT_EQ(facade.ReadU32(kU32Entry), 0x0104F8D9u);
    link.answer(entryAnswer("feffffff"));
    EXPECT_EQ(facade.ReadU32(kU32Entry), 0xFFFFFFFEu);
    link.answer(entryAnswer("feffffff"));
    EXPECT_EQ(facade.ReadS32(kU32Entry), -2);
    link.answer(entryAnswer("0000c03f"));
    EXPECT_FLOAT_EQ(facade.ReadFloat(kFloatEntry), 1.5f);
    // Bytes 2-3 of the answer are not read.
    link.answer(message(0x02, hex("9999") + hex("0100")));
    EXPECT_EQ(facade.ReadU16(kU16Entry), 1);
    EXPECT_EQ(lastSent().toHex(' '), hex("04010800").toHex(' '));
}

TEST_F(FacadeTest, AnEntryAnswerTooShortForTheValueRaises21)
{
    const std::vector<std::pair<const char*, std::function<void()>>> reads = {
        {"float", [&] { facade.ReadFloat(kFloatEntry); }}, {"u32", [&] { facade.ReadU32(kU32Entry); }},
        {"u16", [&] { facade.ReadU16(kU16Entry); }},       {"u8", [&] { facade.ReadU8(kBaudEntry); }},
        {"bool", [&] { facade.ReadBool(kBoolEntry); }},
    };
    for (const auto& [name, op] : reads) {
        SCOPED_TRACE(name);
        link.answer(message(0x02, hex("0000")));  // no value at all
        EXPECT_EQ(statusOf(op), commstatus::kUnexpectedResponse);
    }
    link.answer(message(0x02, hex("0000 3412 00")));  // 3 of 4 bytes
    EXPECT_EQ(statusOf([&] { facade.ReadU32(kU32Entry); }), commstatus::kUnexpectedResponse);
    link.answer(message(0x02, hex("0000 34")));  // 1 of 2 bytes
    EXPECT_EQ(statusOf([&] { facade.ReadU16(kU16Entry); }), commstatus::kUnexpectedResponse);
}

TEST_F(FacadeTest, ReadStringTakesAtMostTwentyCharacters)
{
    auto textAnswer = [](const QByteArray& text, int lengthByte) {
        return message(0x02, hex("0000") + QByteArray(1, static_cast<char>(lengthByte)) + text);
    };
    std::string text = "previous";

    link.answer(textAnswer("abc", 3));
    EXPECT_EQ(facade.ReadString(kTextEntry, text), 3);
    EXPECT_EQ(text, "abc");

    link.answer(textAnswer(QByteArray(20, 'x'), 20));
    EXPECT_EQ(facade.ReadString(kTextEntry, text), 20);
    EXPECT_EQ(text, std::string(20, 'x'));

    text = "previous";
    link.answer(textAnswer(QByteArray(21, 'y'), 21));
    EXPECT_EQ(facade.ReadString(kTextEntry, text), 0);
    EXPECT_EQ(text, "previous");

    link.answer(textAnswer({}, 0));
    EXPECT_EQ(facade.ReadString(kTextEntry, text), 0);
    EXPECT_EQ(text, "");

    // The length byte promises more characters than arrived.
    text = "previous";
    link.answer(textAnswer("ab", 5));
    EXPECT_EQ(statusOf([&] { facade.ReadString(kTextEntry, text); }), commstatus::kUnexpectedResponse);
    EXPECT_EQ(text, "previous");
}

TEST_F(FacadeTest, WriteStringSendsNoTerminatorAndRefusesTextsTheAreaCannotHold)
{
    facade.WriteString(0x0102, "");
    EXPECT_EQ(lastSent().toHex(' '), hex("0506020100").toHex(' '));

    facade.WriteString(kTextEntry, std::string(225, 'a'));
    ASSERT_EQ(lastSent().size(), 230);
    EXPECT_EQ(static_cast<std::uint8_t>(lastSent()[0]), 230);
    EXPECT_EQ(static_cast<std::uint8_t>(lastSent()[4]), 225);

    link.sent.clear();
    EXPECT_THROW(facade.WriteString(kTextEntry, std::string(226, 'a')), std::invalid_argument);
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(FacadeTest, AnswersOfTheWrongTypeFollowEachOperationsPolicy)
{
    enum Policy { Raises21, ReturnsFalse, Accepted };
    struct Case {
        const char* name;
        int requestType;
        std::function<bool()> op;  // the operation's bool result where it has one
        Policy policy;
    };
    const auto record = counting<22>();
    const SequencerBytes sequencer{};
    const TimerBytes timers{};
    MultiReadRequest multi;
    multi.count = 1;
    MemoryBlock block;
    auto run = [](auto f) {
        return [f] {
            f();
            return true;
        };
    };
    const std::vector<Case> cases = {
        {"ReadEntry", 0x01, run([&] { facade.ReadU16(kU16Entry); }), Accepted},
        {"ReadModmapHeader", 0x12, run([&] { facade.ReadModmapHeader(); }), Accepted},
        {"ReadModmapEntry", 0x14, run([&] { facade.ReadModmapEntry(0); }), Accepted},
        {"WriteEntry", 0x04, run([&] { facade.WriteU8(1, 1); }), Raises21},
        {"WriteString", 0x06, run([&] { facade.WriteString(1, "a"); }), Raises21},
        {"WriteFlash", 0x08, run([&] { facade.WriteFlash(); }), Raises21},
        {"FlashStatus", 0x0A, run([&] { facade.FlashStatus(); }), Raises21},
        {"SetFactoryDefaults", 0x0C, run([&] { facade.SetFactoryDefaults(); }), Raises21},
        {"Reboot", 0x0E, run([&] { facade.Reboot(); }), Raises21},
        {"WriteModmapHeader", 0x16, run([&] { facade.WriteModmapHeader({}); }), Raises21},
        {"WriteModmapEntry", 0x18, run([&] { facade.WriteModmapEntry(0, {}); }), Raises21},
        {"FinishImageWrite", 0x30, run([&] { facade.FinishImageWrite(); }), Raises21},
        {"WipeEventLog", 0x34, run([&] { facade.WipeEventLog(); }), Raises21},
        {"WipeArchive", 0x36, run([&] { facade.WipeArchive(); }), Raises21},
        // Zero results a caller would take as real: raised instead.
        {"ReadLogRecord", 0x24, run([&] { facade.ReadLogRecord(0); }), Raises21},
        {"ReadArchiveBlock", 0x28, run([&] { facade.ReadArchiveBlock(0, 200); }), Raises21},
        {"ReadMemoryInfo", 0x2A, run([&] { facade.ReadMemoryInfo(); }), Raises21},
        {"ReadEventBlock", 0x2C, run([&] { facade.ReadEventBlock(0, 200); }), Raises21},
        {"WriteImageBlock", 0x2E, run([&] { facade.WriteImageBlock(block); }), Raises21},
        {"MultiRead", 0x32, run([&] { facade.MultiRead(multi); }), Raises21},
        {"ReadImageBlock", 0x3A, run([&] { facade.ReadImageBlock(0, 200); }), Raises21},
        {"ReadSequencerConfig", 0x3C, run([&] { facade.ReadSequencerConfig(); }), Raises21},
        {"ReadTimerConfig", 0x40, run([&] { facade.ReadTimerConfig(); }), Raises21},
        {"WriteLogRecord", 0x26, [&] { return facade.WriteLogRecord(record); }, ReturnsFalse},
        {"WriteSequencerConfig", 0x3E, [&] { return facade.WriteSequencerConfig(sequencer); }, ReturnsFalse},
        {"WriteTimerConfig", 0x42, [&] { return facade.WriteTimerConfig(timers); }, ReturnsFalse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Long enough for every field, of the type two above the request's.
        link.answer(message(c.requestType + 2, QByteArray(goodAnswerLength(c.requestType) - 2, '\0')));
        bool result = false;
        const int status = statusOf([&] { result = c.op(); });
        switch (c.policy) {
        case Raises21:
            EXPECT_EQ(status, commstatus::kUnexpectedResponse);
            break;
        case ReturnsFalse:
            EXPECT_EQ(status, -1);
            EXPECT_FALSE(result);
            break;
        case Accepted:
            EXPECT_EQ(status, -1);
            break;
        }
        // The right type passes.
        link.answer(message(c.requestType + 1, QByteArray(goodAnswerLength(c.requestType) - 2, '\0')));
        EXPECT_EQ(statusOf([&] { result = c.op(); }), -1);
        if (c.policy == ReturnsFalse) {
            EXPECT_TRUE(result);
        }
    }
}

TEST_F(FacadeTest, RebootAnsweredWithTheNextTypeButOneRaises21)
{
    link.answer(hex("0210"));
    EXPECT_EQ(statusOf([&] { facade.Reboot(); }), commstatus::kUnexpectedResponse);
    link.answer(hex("020f"));
    EXPECT_EQ(statusOf([&] { facade.Reboot(); }), -1);
}

TEST_F(FacadeTest, AnswersWithoutTheFieldsReadFromThemRaise21)
{
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"no answer bytes at all",
         [&] {
             link.answer({});
             facade.Reboot();
         }},
        {"flag missing",
         [&] {
             link.answer(hex("020b"));
             facade.FlashStatus();
         }},
        {"poll flag missing",
         [&] {
             link.answer(hex("0231"));
             facade.FinishImageWrite();
         }},
        {"header cut",
         [&] {
             link.answer(message(0x13, QByteArray(16, '\0')));
             facade.ReadModmapHeader();
         }},
        {"entry cut",
         [&] {
             link.answer(message(0x15, QByteArray(6, '\0')));
             facade.ReadModmapEntry(1);
         }},
        {"entry write value missing",
         [&] {
             link.answer(hex("0219"));
             facade.WriteModmapEntry(1, {});
         }},
        {"record cut",
         [&] {
             link.answer(message(0x25, QByteArray(21, '\0')));
             facade.ReadLogRecord(1);
         }},
        {"memory info cut",
         [&] {
             link.answer(message(0x2B, QByteArray(11, '\0')));
             facade.ReadMemoryInfo();
         }},
        {"block ack cut",
         [&] {
             link.answer(message(0x2F, QByteArray(4, '\0')));
             facade.WriteImageBlock({});
         }},
        {"sequencer cut",
         [&] {
             link.answer(message(0x3D, QByteArray(227, '\0')));
             facade.ReadSequencerConfig();
         }},
        {"timers cut",
         [&] {
             link.answer(message(0x41, QByteArray(143, '\0')));
             facade.ReadTimerConfig();
         }},
        {"write answer empty",
         [&] {
             link.answer({});
             facade.WriteTimerConfig({});
         }},
        // The count promises data that did not arrive, or more than a block holds.
        {"block data missing",
         [&] {
             link.answer(message(0x29, hex("00000000 0a") + QByteArray(9, 'd')));
             facade.ReadArchiveBlock(0, 10);
         }},
        {"block count past 200",
         [&] {
             link.answer(message(0x2D, hex("00000000 c9") + QByteArray(200, 'd')));
             facade.ReadEventBlock(0, 200);
         }},
    };
    for (const auto& [name, op] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(statusOf(op), commstatus::kUnexpectedResponse);
    }
}

TEST_F(FacadeTest, AnswersLongerThanTheAreaRaise21)
{
    link.answer(message(0x3D, QByteArray(229, '\0')));  // 231 bytes
    EXPECT_EQ(statusOf([&] { facade.ReadSequencerConfig(); }), commstatus::kUnexpectedResponse);
}

TEST_F(FacadeTest, BlocksKeepOnlyWhatArrived)
{
    // A short final block: the unit may send just the valid bytes.
    link.answer(message(0x3B, hex("90010000 03 414243")));
    const MemoryBlock b = facade.ReadImageBlock(400, 3);
    EXPECT_EQ(b.offset, 400u);
    EXPECT_EQ(b.count, 3);
    EXPECT_EQ(b.data[0], 'A');
    EXPECT_EQ(b.data[2], 'C');
    EXPECT_EQ(b.data[3], 0);

    QByteArray full = hex("c8000000 c8");
    for (int i = 0; i < 200; ++i)
        full.append(static_cast<char>(i));
    link.answer(message(0x29, full));
    const MemoryBlock a = facade.ReadArchiveBlock(200, 200);
    EXPECT_EQ(a.count, 200);
    EXPECT_EQ(a.data[199], 199);

    link.answer(message(0x2B, hex("01000000 10270000 e8030000")));
    const MemoryInfo info = facade.ReadMemoryInfo();
    EXPECT_EQ(info.reserved, 1u);
    EXPECT_EQ(info.archiveLength, 10000u);
    EXPECT_EQ(info.eventLength, 1000u);

    link.answer(message(0x2F, hex("c8000000 c8")));
    const BlockHeader h = facade.WriteImageBlock({});
    EXPECT_EQ(h.offset, 200u);
    EXPECT_EQ(h.count, 200);
}

TEST_F(FacadeTest, MultiReadChecksTheValuesAgainstTheRequestedWidths)
{
    MultiReadRequest request;
    request.count = 5;
    request.indexes = {kU32Entry, kBoolEntry, kU16Entry, kTextEntry, kFloatEntry};
    // Widths 4, 1, 2, 0, 4: eleven value bytes.
    const QByteArray values = hex("d9f80401 01 3412 0000c03f");
    link.answer(message(0x33, hex("05") + values));
    const MultiReadAnswer answer = facade.MultiRead(request);
    EXPECT_EQ(answer.count, 5);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(answer.values.data()), 11), values);
    EXPECT_EQ(answer.values[11], 0);

    link.answer(message(0x33, hex("05") + values.left(10)));
    EXPECT_EQ(statusOf([&] { facade.MultiRead(request); }), commstatus::kUnexpectedResponse);

    // Fewer values than asked for, each whole: taken as they come.
    link.answer(message(0x33, hex("02") + values.left(5)));
    EXPECT_EQ(facade.MultiRead(request).count, 2);

    // More values than asked for is not an answer to this request.
    request.count = 1;
    link.answer(message(0x33, hex("02") + values.left(5)));
    EXPECT_EQ(statusOf([&] { facade.MultiRead(request); }), commstatus::kUnexpectedResponse);

    request.count = 0;
    EXPECT_THROW(facade.MultiRead(request), std::invalid_argument);
    request.count = 21;
    EXPECT_THROW(facade.MultiRead(request), std::invalid_argument);
}

TEST_F(FacadeTest, ModbusAndRecordAnswersAreHandedBack)
{
    link.answer(message(0x13, bytesOf(counting<17>())));
    EXPECT_EQ(facade.ReadModmapHeader(), counting<17>());

    link.answer(message(0x15, hex("0700") + hex("0005015c02")));
    const ModmapEntryAnswer e = facade.ReadModmapEntry(9);  // the echo is not compared
    EXPECT_EQ(e.index, 7);
    EXPECT_EQ(e.entry, (ModmapEntryBytes{0x00, 0x05, 0x01, 0x5C, 0x02}));

    link.answer(hex("04193412"));
    EXPECT_EQ(facade.WriteModmapEntry(1, {}), 0x1234);

    link.answer(message(0x25, bytesOf(counting<22>())));
    EXPECT_EQ(facade.ReadLogRecord(0), counting<22>());

    link.answer(message(0x3D, bytesOf(counting<228>())));
    EXPECT_EQ(facade.ReadSequencerConfig(), counting<228>());
    link.answer(message(0x41, bytesOf(counting<144>())));
    EXPECT_EQ(facade.ReadTimerConfig(), counting<144>());

    link.answer(hex("030b01"));
    EXPECT_TRUE(facade.FlashStatus());
    link.answer(hex("030b00"));
    EXPECT_FALSE(facade.FlashStatus());
    link.answer(hex("033102"));
    EXPECT_TRUE(facade.FinishImageWrite());
}

TEST_F(FacadeTest, ALinkStatusReachesTheCallerUnchanged)
{
    for (int status : {2, 3, 4, 5, 6}) {
        link.fail(status);
        EXPECT_EQ(statusOf([&] { facade.ReadU16(kU16Entry); }), status);
    }
    link.fail(4);
    EXPECT_EQ(statusOf([&] { facade.WriteLogRecord({}); }), 4);
}

TEST_F(FacadeTest, BlockCountsAbove200AreRefusedBeforeSending)
{
    EXPECT_THROW(facade.ReadArchiveBlock(0, 201), std::invalid_argument);
    MemoryBlock block;
    block.count = 201;
    EXPECT_THROW(facade.WriteImageBlock(block), std::invalid_argument);
    EXPECT_TRUE(link.sent.empty());
}

TEST(FacadeInstance, InstalledFacadeIsTheProcessWideOneUntilReleased)
{
    ScriptedLink link;
    auto facade = std::make_unique<CommDBPointFacade>(link);
    CommDBPointFacade* raw = facade.get();
    CommDBPointFacade::InstallInstance(std::move(facade));
    EXPECT_EQ(CommDBPointFacade::Instance(), raw);
    CommDBPointFacade::ReleaseInstance();
}
