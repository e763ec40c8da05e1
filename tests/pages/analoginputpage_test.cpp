// The Analog Input page alone against the point database: its lists, its alarm rows, and its
// calibration frames' captures as the main window receives them.
#include "analoginputpage.h"
#include "aicalibration.h"
#include "analoginputbindings.h"
#include "pagealone.h"
#include "pointids.h"
#include "testenv.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

namespace {

// Takes the writes as the main window would; the unit takes the first `accepting` of them.
class AcceptingHost : public RecordingHost {
public:
    void WriteSinglePoint(int pointId, const std::string& value) override
    {
        RecordingHost::WriteSinglePoint(pointId, value);
        if (static_cast<int>(writes.size()) <= accepting)
            ++accepted;
    }
    std::uint64_t SinglePointWritesAccepted() const override { return accepted; }

    int accepting = 1000;
    std::uint64_t accepted = 0;
};

using Writes = std::vector<std::pair<int, std::string>>;

class AnalogInputPageTest : public PageAlone<TfrAnalogInputs, AcceptingHost> {
protected:
    template <typename T = QWidget>
    T* in(QWidget* parent, const char* name) const
    {
        T* w = parent->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    TTfraAICalibration* frame(int n) const { return page->Calibration(n - 1); }
    // Input n's calibration switched on, with the unit's values for its boxes.
    void calibrating(int n, const char* scaledZero, const char* scaledSpan, const char* rawZero, const char* rawSpan,
                     const char* raw)
    {
        const AIFramePoints& p = aipage::kFrames[static_cast<std::size_t>(n - 1)].points;
        announce(p.scaledZero, scaledZero);
        announce(p.scaledSpan, scaledSpan);
        announce(p.rawZero, rawZero);
        announce(p.rawSpan, rawSpan);
        announce(p.raw, raw);
        in<QToolButton>(frame(n), "btnCalibrateAI1")->click();
    }
};

}  // namespace

TEST_F(AnalogInputPageTest, EnteringListsTheAlarmsTheFramesAndTheLinesAndPollsTheLiveValues)
{
    page->RegisterPoints();
    const std::vector<int>& main = db->expressScan.MainList();
    ASSERT_EQ(main.size(), 8u * 3 + 4 * 12 + 8 + 1);
    EXPECT_EQ((std::vector<int>(main.begin(), main.begin() + 6)),
              (std::vector<int>{1443, 1444, 1445, 1446, 1447, 1448}));
    EXPECT_EQ((std::vector<int>(main.begin() + 12, main.begin() + 15)), (std::vector<int>{1455, 1456, 1457}));
    // Frame 1: description, minimum, maximum, value, raw zero, raw span, scaled zero, scaled
    // span, ratio, current, raw, units.
    EXPECT_EQ((std::vector<int>(main.begin() + 24, main.begin() + 36)),
              (std::vector<int>{1504, 1501, 1500, 1544, 1496, 1497, 1498, 1499, 1540, 1532, 1536, 1552}));
    EXPECT_EQ(main[60], 1531);  // frame 4's description
    EXPECT_EQ((std::vector<int>(main.begin() + 72, main.end())),
              (std::vector<int>{1502, 1503, 1511, 1512, 1520, 1521, 1529, 1530, pid::Streams}));
    EXPECT_EQ(db->expressScan.AlternateList(), (std::vector<int>{1544, 1540, 1532, 1536, 1545, 1541, 1533, 1537, 1546,
                                                                 1542, 1534, 1538, 1547, 1543, 1535, 1539}));
    EXPECT_EQ(db->expressScan.GetPage(), 14);
    EXPECT_FALSE(page->FirstEntry());
}

TEST_F(AnalogInputPageTest, AlarmRowsAndFramesCarryTheirOwnPoints)
{
    struct Case {
        const char* name;
        int point;
        int bit;
    } cases[] = {
        {"ckAlarmAIHLEanble1", 1443, -1}, {"ckAlarmAILLEanble4", 1464, -1}, {"ckAlarmAIHLimitR11", 1445, 0},
        {"ckAlarmAILLimitR32", 1460, 2},  {"ckAlarmAILLimitS22", 1460, 9},  {"ckAlarmAILLimitS84", 1466, 15},
        {"ckAlarmAIHLimitR64", 1454, 5},
    };
    for (const Case& c : cases) {
        auto* box = in<TQCheckBox>(page.get(), c.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->DbId(), c.point) << c.name;
        EXPECT_EQ(static_cast<int>(box->WatchBitNumber()), c.bit) << c.name;
    }
    EXPECT_EQ(in<TQEdit>(page.get(), "edAlarmAILLimit2")->DbId(), 1459);
    EXPECT_EQ(in<TQEdit>(page.get(), "edAlarmAILLimit2")->DataType(), dbctl::dtFloat);

    // Bits 6 and 7 have no box: a mask with them shows only its own bits.
    announce(1460, std::to_string((1 << 2) | (1 << 6) | (1 << 9)));
    EXPECT_TRUE(in<TQCheckBox>(page.get(), "ckAlarmAILLimitR32")->isChecked());
    EXPECT_TRUE(in<TQCheckBox>(page.get(), "ckAlarmAILLimitS22")->isChecked());
    EXPECT_FALSE(in<TQCheckBox>(page.get(), "ckAlarmAILLimitR12")->isChecked());

    EXPECT_EQ(in<QGroupBox>(frame(3), "QGroupBox1")->title(), "Analog Input #3");
    EXPECT_EQ(in<QToolButton>(frame(3), "btnCalibrateAI1")->text(), "Calibrate AI3");
    EXPECT_EQ(in<QGroupBox>(frame(3), "gbScaling")->title(), "Analog Input 3 Calibration");
    EXPECT_EQ(in<TQLabeledEdit>(frame(3), "edAIDesc1")->DbId(), 1522);
    EXPECT_EQ(frame(3)->ScalingFactorId, 1520);
    EXPECT_EQ(frame(3)->ZeroOffsetId, 1521);
}

TEST_F(AnalogInputPageTest, LiveRatioCurrentAndStreamCount)
{
    announce(1541, "0.999000012874603");
    EXPECT_EQ(in<TQLabeledEdit>(frame(2), "ledCalPercent")->Text(), "99");
    announce(1541, "1");
    EXPECT_EQ(in<TQLabeledEdit>(frame(2), "ledCalPercent")->Text(), "100");
    announce(1533, "12.3459997177124");
    EXPECT_EQ(in<TQLabeledEdit>(frame(2), "edAI")->Text(), "12.35");

    announce(pid::Streams, "1");
    EXPECT_EQ(host.streamDisplay, "2-STREAMS");
    announce(pid::Streams, "7");
    EXPECT_EQ(host.streamDisplay, "2-STREAMS");
    EXPECT_EQ(in<QLabel>(page.get(), "streams")->text(), "Stream 2");
}

TEST_F(AnalogInputPageTest, TheCalibrateSwitchOpensOnlyTheCaptureButtonsAndScaledBoxes)
{
    auto* button = in<QToolButton>(frame(1), "btnCalibrateAI1");
    QWidget* controls[] = {in(frame(1), "btnCaptureZero"), in(frame(1), "btnCaptureSpan"), in(frame(1), "edScaledZero"),
                           in(frame(1), "edScaledSpan")};
    for (QWidget* w : controls)
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    button->click();
    for (QWidget* w : controls)
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    button->click();
    for (QWidget* w : controls)
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(host.writes.empty());
}

TEST_F(AnalogInputPageTest, CaptureSpanSendsBothPairsAndTheLineThroughThem)
{
    calibrating(1, "4", "20", "13107", "0", "52428");
    in<QToolButton>(frame(1), "btnCaptureSpan")->click();
    EXPECT_EQ(in<TQLabeledEdit>(frame(1), "edRawSpan")->Text(), "52428");
    EXPECT_EQ(host.writes, (Writes{{1498, "4"},
                                   {1499, "20"},
                                   {1496, "13107"},
                                   {1497, "52428"},
                                   {1502, "0.000406907260185108"},
                                   {1503, "-1.33333349227905"}}));
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
}

TEST_F(AnalogInputPageTest, ARefusedCaptureSendsNothingAndKeepsTheUnitsRawCount)
{
    // Capture Zero with the span still at the same count: one point, no line.
    calibrating(2, "4", "20", "100", "30000", "30000");
    in<QToolButton>(frame(2), "btnCaptureZero")->click();
    EXPECT_TRUE(host.writes.empty());
    EXPECT_EQ(in<TQLabeledEdit>(frame(2), "edRawZero")->Text(), "100");
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].startsWith("The raw zero and the raw span are both 30000"))
        << shownTexts()[0].toStdString();

    // A scaled box that is no number.
    testenv::dialogs().clear();
    auto* scaledSpan = in<TQLabeledEdit>(frame(2), "edScaledSpan");
    scaledSpan->setText("2O");
    in<QToolButton>(frame(2), "btnCaptureSpan")->click();
    EXPECT_TRUE(host.writes.empty());
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].startsWith("Scaled Span: '2O' is not a valid floating point value."));

    // No live raw count yet (nothing read) to capture.
    testenv::dialogs().clear();
    in<TQLabeledEdit>(frame(2), "edAIRaw")->setText("");
    in<QToolButton>(frame(2), "btnCaptureSpan")->click();
    EXPECT_TRUE(host.writes.empty());
    EXPECT_EQ(shownTexts(), QStringList{"'' is not a valid integer value"});
}

TEST_F(AnalogInputPageTest, AWriteTheUnitDoesNotTakeStopsTheRestAndSaysWhatArrived)
{
    calibrating(4, "4", "20", "13107", "0", "52428");
    host.accepting = 3;
    in<QToolButton>(frame(4), "btnCaptureSpan")->click();
    EXPECT_EQ(host.writes.size(), 4u) << "nothing is sent after the failed raw span";
    EXPECT_EQ(shownTexts(), QStringList{"The calibration of Analog Input 4 Calibration was not completed.\n"
                                        "Written: Scaled Zero, Scaled Span, Raw Zero.\n"
                                        "Not written: Raw Span, Scaling Factor, Zero Offset."});
}

TEST_F(AnalogInputPageTest, ACaptureWhileAnotherCommandRunsWaitsForItThenWritesInOrder)
{
    calibrating(1, "4", "20", "13107", "0", "52428");
    host.running = true;
    in<QToolButton>(frame(1), "btnCaptureSpan")->click();
    QTest::qWait(120);
    EXPECT_TRUE(host.writes.empty());
    host.running = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.writes.size() == 6; }, 2000));
    EXPECT_EQ(host.writes.back(), (std::pair<int, std::string>{1503, "-1.33333349227905"}));
}

TEST_F(AnalogInputPageTest, EnterInAScaledBoxWritesThatBoxAlone)
{
    calibrating(3, "4", "20", "13107", "52428", "0");
    auto* scaledZero = in<TQLabeledEdit>(frame(3), "edScaledZero");
    scaledZero->Edit()->selectAll();
    QTest::keyClicks(scaledZero->Edit(), "4.5");
    QTest::keyClick(scaledZero->Edit(), Qt::Key_Return);
    EXPECT_EQ(host.writes, (Writes{{1516, "4.5"}}));

    // Outside the box's range: the box says why, nothing is sent.
    scaledZero->Edit()->selectAll();
    QTest::keyClicks(scaledZero->Edit(), "40");
    QTest::keyClick(scaledZero->Edit(), Qt::Key_Return);
    EXPECT_EQ(host.writes.size(), 1u);
}
TEST_F(AnalogInputPageTest, FitsATabOfTheMainWindowAtItsDefaultSize)
{
    page->resize(testenv::kTabSize);
    page->show();
    QTest::qWait(50);
    auto* scroll = page->findChild<QScrollArea*>("sbAnalogInputs");
    ASSERT_NE(scroll, nullptr);
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
}
