#include "auditevent.h"
#include "appcontext.h"
#include "auditprogress.h"
#include "memoryimage.h"
#include "winmsg.h"

#include <gtest/gtest.h>
#include <QWidget>

#include <string>
#include <tuple>
#include <vector>

using memimage::Bytes;
using memimage::concat;
using memimage::eventFrame;

namespace {

double eventTokenDate(std::uint32_t token)
{
    return token / 1000.0;
}

struct Texts {
    std::string event, d1, d2;
    bool operator==(const Texts& o) const { return std::tie(event, d1, d2) == std::tie(o.event, o.d1, o.d2); }
};

std::ostream& operator<<(std::ostream& os, const Texts& t)
{
    return os << '"' << t.event << "\", \"" << t.d1 << "\", \"" << t.d2 << '"';
}

Texts decode(std::uint8_t type, std::uint8_t subCode, std::uint8_t condition)
{
    const AUDITRECORD r = DecodeAuditEvent({0, 0, 0, 0, type, subCode, condition, 0, 0}, nullptr);
    return {r.eventText, r.description1, r.description2};
}

std::vector<std::uint32_t> tokens(const TAuditParser& parser)
{
    std::vector<std::uint32_t> t;
    for (std::size_t i = 0; i < parser.RecordCount(); ++i)
        t.push_back(parser.Record(i).token);
    return t;
}

class CountingProgress : public IAuditProgress {
public:
    void Begin(int maximum) override { maxima.push_back(maximum); }
    void Step() override { ++steps; }
    std::vector<int> maxima;
    int steps = 0;
};

}  // namespace

TEST(AuditParser, ReadsTheWorkedAlarmExample)
{
    // "Alarm", sub-code 10, condition 0 at 27 February 2012 10:15:30: the token's low byte is an
    // escaped 0xDE.
    const Bytes memory{0xDE, 0xDE, 0xAD, 0xA3, 0xB6, 0x30, 0x04, 0x0A, 0x00, 0xBC, 0x25};
    EXPECT_EQ(memory, eventFrame(memimage::token(2012, 2, 27, 10, 15, 30), 4, 10, 0));
    TAuditParser parser(eventTokenDate);
    parser.Parse(memory.data(), memory.size());
    ASSERT_EQ(parser.RecordCount(), 1u);
    const AAUDITPOINTRECORD& r = parser.Record(0);
    EXPECT_EQ(r.token, 0x30B6A3DEu);
    EXPECT_DOUBLE_EQ(r.date, 0x30B6A3DE / 1000.0);
    EXPECT_EQ(r.eventText, "Alarm");
    EXPECT_EQ(r.description1, "Battery");
    EXPECT_EQ(r.description2, "Condition On");
    EXPECT_EQ(parser.EscapeCount(), 1);
}

TEST(AuditParser, FramingEscapesAndBadFrames)
{
    const Bytes powerUp = eventFrame(0, 0, 0, 0);
    const Bytes good = eventFrame(0x5000, 2, 0, 1);
    // A frame whose CRC has a 0xDE byte.
    Bytes crcDE;
    for (std::uint32_t t = 1; crcDE.empty(); ++t) {
        const Bytes f = eventFrame(t, 7, 0, 0);
        if (f.size() == 11 && f[8] == 0xDE)
            crcDE = f;
    }
    const Bytes cut(good.begin(), good.begin() + 4);

    struct Case {
        const char* name;
        Bytes memory;
        std::vector<std::uint32_t> tokens;
        int escapes;
        int badCrc;
        std::size_t used;  // bytes the good frames occupy
    };
    const Case cases[] = {
        {"power up", powerUp, {0}, 0, 0, 10},
        {"CRC byte 0xDE", crcDE, {DTLogPoint::ToInt(crcDE.data() + 1)}, 1, 0, 11},
        {"bad CRC", concat({eventFrame(0x10, 4, 10, 0, 0x0001), good}), {0x5000}, 0, 1, 10},
        {"escape in a dropped frame", concat({eventFrame(0x30B6A3DE, 4, 10, 0, 0x0001), good}), {0x5000}, 1, 1, 10},
        {"0xAD and other bytes between frames",
         concat({Bytes{0xAD, 0x00, 0x12}, good, Bytes{0xAD}}),
         {0x5000},
         0,
         0,
         10},
        // A frame cut short by the next frame's start byte: the next frame is still read.
        {"cut short by a start byte", concat({cut, good}), {0x5000}, 0, 0, 10},
        {"cut short, next token starting 0xDE",
         concat({cut, eventFrame(0x30B6A3DE, 4, 10, 0)}),
         {0x30B6A3DE},
         1,
         0,
         11},
        {"0xDE 0xDE inside a frame", concat({cut, Bytes{0xDE}, good}), {0x5000}, 0, 0, 10},
        {"frame open at the end", concat({good, cut}), {0x5000}, 0, 0, 10},
        {"empty memory", Bytes{}, {}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CountingProgress progress;
        TAuditParser parser(eventTokenDate, &progress);
        parser.Parse(c.memory.data(), c.memory.size());
        EXPECT_EQ(tokens(parser), c.tokens) << c.name;
        EXPECT_EQ(parser.EscapeCount(), c.escapes) << c.name;
        EXPECT_EQ(parser.BadCrcCount(), c.badCrc) << c.name;
        EXPECT_EQ(parser.UsedBytes(), c.used) << c.name;
    }

    // A frame cut short by a start byte whose next byte is no start of a good frame: nothing.
    TAuditParser parser;
    const Bytes junk = concat({cut, Bytes{0xDE, 0x12}});
    parser.Parse(junk.data(), junk.size());
    EXPECT_EQ(parser.RecordCount(), 0u);

    // Parsing again starts afresh.
    parser.Parse(powerUp.data(), powerUp.size());
    parser.Parse(good.data(), good.size());
    EXPECT_EQ(tokens(parser), (std::vector<std::uint32_t>{0x5000}));
}

TEST(AuditParser, ProgressIsOneStepPerElevenBytesAgainstATenthOfTheLength)
{
    struct Case {
        std::size_t length;
        int maximum;
        int steps;
    };
    for (const Case c : {Case{0, 0, 0}, Case{10, 1, 0}, Case{11, 1, 1}, Case{25, 2, 2}, Case{110, 11, 10}}) {
        const Bytes memory(c.length, 0x00);
        CountingProgress progress;
        TAuditParser parser(nullptr, &progress);
        parser.Parse(memory.data(), memory.size());
        EXPECT_EQ(progress.maxima, std::vector<int>{c.maximum}) << c.length;
        EXPECT_EQ(progress.steps, c.steps) << c.length;
    }
}

TEST(AuditParser, EventsEndInTimeOrderAndEqualTimesKeepMemoryOrder)
{
    // Memory that has wrapped, with several events in the same second.
    Bytes memory;
    std::vector<std::uint32_t> order;
    for (std::uint32_t t : {30u, 0x80000000u, 10u, 20u, 20u, 20u, 5u}) {
        const Bytes f = eventFrame(t, 10, static_cast<std::uint8_t>(order.size()), 0);
        memory.insert(memory.end(), f.begin(), f.end());
        order.push_back(t);
    }
    TAuditParser parser;
    parser.Parse(memory.data(), memory.size());
    EXPECT_EQ(tokens(parser), (std::vector<std::uint32_t>{5, 10, 20, 20, 20, 30, 0x80000000u}));
    EXPECT_EQ(parser.Record(2).description1, "Latch 4");
    EXPECT_EQ(parser.Record(3).description1, "Latch 5");
    EXPECT_EQ(parser.Record(4).description1, "Latch 6");

    // The list orders what it is given and frees nothing.
    AAUDITPOINTRECORD a, b, c;
    a.token = 3;
    b.token = 1;
    c.token = 3;
    orderedArrayListType<AAUDITPOINTRECORD> list;
    list.SetList({&a, &b, &c});
    EXPECT_EQ(list.SortedList(), (std::vector<AAUDITPOINTRECORD*>{&b, &a, &c}));
    list.ClearList();
    EXPECT_TRUE(list.SortedList().empty());
}

TEST(DecodeAuditEvent, EventTypesAndTheirDescriptions)
{
    struct Case {
        std::uint8_t type, subCode, condition;
        Texts texts;
    };
    const Case cases[] = {
        {0, 5, 1, {"Power Up", "", ""}},
        {1, 5, 1, {"Time Changed", "", ""}},
        {2, 5, 0, {"Bypass", "", "Condition On"}},
        {3, 5, 0, {"Configuration Changed", "", ""}},
        {4, 10, 1, {"Alarm", "Battery", "Condition Off"}},
        {4, 24, 0, {"Alarm", "unknown (24)", "Condition On"}},
        {5, 5, 7, {"Exceeded low temperature limit", "", "Unknown (7)"}},
        {6, 5, 1, {"Exceeded high temperature limit", "", "Condition Off"}},
        {7, 5, 0, {"Direct Control", "", "Condition On"}},
        {8, 5, 1, {"Bypass Timeout", "", "Condition Off"}},
        {9, 2, 250, {"Run initiated", "Stream 3", "Unset"}},
        {9, 7, 0, {"Run initiated", "Unknown (7)", "H2S"}},
        {10, 15, 0, {"Latch change", "Latch 16", "Condition On"}},
        {10, 16, 2, {"Latch change", "Unknown (16)", "Unknown (2)"}},
        {11, 5, 1, {"Automatic Temperature Calibrate", "", "Condition Off"}},
        {12, 0, 0, {"Unknown (12)", "No Alarm", "Condition On"}},
        {200, 21, 1, {"Unknown (200)", "Bypass", "Condition Off"}},
        {255, 255, 255, {"Unknown (255)", "unknown (255)", "Unknown (255)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decode(c.type, c.subCode, c.condition), c.texts) << int(c.type) << "/" << int(c.subCode);

    // The condition byte is read for every type but 0, 1, 3 and 9.
    for (int condition = 0; condition < 256; ++condition) {
        const auto cond = static_cast<std::uint8_t>(condition);
        const std::string expected = condition == 0   ? "Condition On"
                                     : condition == 1 ? "Condition Off"
                                                      : "Unknown (" + std::to_string(condition) + ")";
        EXPECT_EQ(decode(2, 0, cond).d2, expected);
        for (std::uint8_t quiet : {0, 1, 3})
            EXPECT_EQ(decode(quiet, 0, cond).d2, "");
    }
}

TEST(DecodeAuditEvent, RunTypesStreamsAndLatches)
{
    const std::pair<int, const char*> runTypes[] = {
        {0, "H2S"},
        {1, "Total Sulphur"},
        {2, "Reference 1"},
        {3, "Reference 2"},
        {4, "Zero"},
        {5, "Calibrate"},
        {6, "Runs"},
        {7, "Unknown (7)"},
        {249, "Unknown (249)"},
        {250, "Unset"},
        {251, "Unknown (251)"},
    };
    for (auto [condition, text] : runTypes)
        EXPECT_EQ(decode(9, 0, static_cast<std::uint8_t>(condition)).d2, text) << condition;

    const std::pair<int, const char*> streams[] = {
        {0, "Stream 1"}, {1, "Stream 2"}, {2, "Stream 3"}, {3, "Stream 4"}, {4, "Unknown (4)"}, {255, "Unknown (255)"},
    };
    for (auto [subCode, text] : streams)
        EXPECT_EQ(decode(9, static_cast<std::uint8_t>(subCode), 0).d1, text) << subCode;

    for (int subCode = 0; subCode < 256; ++subCode) {
        const std::string expected =
            subCode < 16 ? "Latch " + std::to_string(subCode + 1) : "Unknown (" + std::to_string(subCode) + ")";
        EXPECT_EQ(decode(10, static_cast<std::uint8_t>(subCode), 0).d1, expected);
    }
}

TEST(DecodeAuditEvent, EveryAlarmSubCode)
{
    std::vector<std::string> expected(256, "unknown");
    const std::pair<int, const char*> general[] = {
        {0, "No Alarm"},
        {10, "Battery"},
        {11, "Sensor Communication"},
        {12, "High Temperature"},
        {13, "Sensor LED Current"},
        {14, "Maximum Tape Advance"},
        {15, "Maximum Analysis Time"},
        {16, "Low Tape"},
        {17, "Tape Length"},
        {18, "Tape Movement"},
        {19, "Low Temperature"},
        {20, "Sensor Calibration"},
        {21, "Bypass"},
        {22, "AC Power"},
        {23, "DC Power"},
        {30, "Digital Input 1-(DRY)"},
        {31, "Digital Input 2-(DRY)"},
        {32, "Digital Input 3-(DRY)"},
        {33, "Digital Input 4-(DRY)"},
        {34, "Digital Input 1-(WET)"},
        {35, "Digital Input 2-(WET)"},
        {36, "Digital Input 3-(WET)"},
        {37, "Digital Input 4-(WET)"},
        {38, "Analog Input 1 > limit"},
        {39, "Analog Input 2 > limit"},
        {40, "Analog Input 3 > limit"},
        {41, "Analog Input 4 > limit"},
        {42, "Analog Input 1 < limit"},
        {43, "Analog Input 2 < limit"},
        {44, "Analog Input 3 < limit"},
        {45, "Analog Input 4 < limit"},
    };
    for (auto [subCode, text] : general)
        expected[subCode] = text;
    const char* const streamAlarms[] = {
        "High High Alarm",         "H2S Deviation",
        "H2S High Alarm",          "Total Sulphur High High Alarm",
        "Total Sulphur Deviation", "Total Sulphur High Alarm",
        "Reference 1 Deviation",   "Reference 1 High Alarm",
        "Reference 2 Deviation",   "Reference 2 High Alarm",
        "Zero Deviation",          "Zero High Alarm",
        "Calibration Deviation",   "Calibration High Alarm",
        "H2S Lock Alarm",          "Total Sulphur Lock Alarm",
    };
    for (int stream = 1; stream <= 4; ++stream)
        for (int k = 0; k < 16; ++k)
            expected[50 + 20 * (stream - 1) + k] = "Stream " + std::to_string(stream) + " " + streamAlarms[k];
    ASSERT_EQ(expected[70], "Stream 2 High High Alarm");
    ASSERT_EQ(expected[125], "Stream 4 Total Sulphur Lock Alarm");

    for (int subCode = 0; subCode < 256; ++subCode) {
        const auto sub = static_cast<std::uint8_t>(subCode);
        if (expected[subCode] == "unknown")
            expected[subCode] += " (" + std::to_string(subCode) + ")";
        EXPECT_EQ(decode(4, sub, 0).d1, expected[subCode]) << subCode;
        EXPECT_EQ(decode(77, sub, 0).d1, expected[subCode]) << subCode;  // unknown types read alarms too
    }
}

TEST(MainFormAuditProgress, StepsTheMainFormsProgressBar)
{
    class Form : public QWidget {
    public:
        int steps = 0;

    protected:
        bool event(QEvent* e) override
        {
            if (e->type() == static_cast<QEvent::Type>(winmsg::WM_COMMPROGRESS)) {
                auto* m = static_cast<WinMessageEvent*>(e);
                if (m->wParam == 1 && m->lParam == 1)
                    ++steps;
                return true;
            }
            return QWidget::event(e);
        }
    };
    Form form;
    appcontext::setMainForm(&form);
    int maximum = -1;
    MainFormAuditProgress progress([&](int m) { maximum = m; });
    const Bytes memory = concat({eventFrame(1, 0, 0, 0), eventFrame(2, 0, 0, 0), eventFrame(3, 0, 0, 0)});
    TAuditParser parser(nullptr, &progress);
    parser.Parse(memory.data(), memory.size());
    appcontext::setMainForm(nullptr);
    EXPECT_EQ(maximum, 3);
    EXPECT_EQ(form.steps, 2);
    EXPECT_EQ(parser.RecordCount(), 3u);
}
