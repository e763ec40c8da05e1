// The Analog Input tab in the main window, logged on to the emulated unit: what it reads and
// polls, a calibration as the unit records it, and the alarm edits sent by the main write.
#include "pagefixture.h"

#include "aicalibration.h"
#include "analoginputpage.h"
#include "dbswitches.h"
#include "dbtextentry.h"

#include <QLabel>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int kAnalogInputTab = 13;
constexpr int kAiGlobalTab = 5;
constexpr int kAiWriteEntry = 0x04;
constexpr int kAiMultiRead = 0x32;

class AnalogInputTab : public PageWithUnit {
protected:
    TfrAnalogInputs* page() const { return qobject_cast<TfrAnalogInputs*>(form->Frame(kAnalogInputTab)); }
    template <typename T = QWidget>
    T* in(QWidget* parent, const char* name) const
    {
        T* w = parent->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    TTfraAICalibration* frame(int n) const { return page()->Calibration(n - 1); }
    QString boxText(int n, const char* name) const { return in<TQLabeledEdit>(frame(n), name)->Text(); }
    void idle()
    {
        waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    }
    // Input 1's pairs in the unit, its live raw count at the span current, and its calibration
    // switched on.
    void readyToCaptureSpan()
    {
        ASSERT_TRUE(unit->setValue(1498, 4.0));
        ASSERT_TRUE(unit->setValue(1499, 20.0));
        ASSERT_TRUE(unit->setValue(1496, 13107));
        ASSERT_TRUE(unit->setValue(1497, 100));
        ASSERT_TRUE(unit->setValue(1536, 52428));
        logOn();
        enterTab(kAnalogInputTab);
        ASSERT_NE(page(), nullptr);
        in<QToolButton>(frame(1), "btnCalibrateAI1")->click();
        unit->clearReceived();
    }
};

}  // namespace

TEST_F(AnalogInputTab, ShowsTheInputsAndPollsOnlyTheirLiveValuesWhileShown)
{
    ASSERT_TRUE(unit->setValue(1513, "INLET FLOW"));
    ASSERT_TRUE(unit->setValue(1537, 20000));
    ASSERT_TRUE(unit->setValue(1533, 12.346));
    ASSERT_TRUE(unit->setValue(1541, 0.5));
    ASSERT_TRUE(unit->setValue(20, 3));
    logOn();
    enterTab(kAnalogInputTab);
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(DataBase::Instance()->expressScan.GetPage(), 14);
    EXPECT_EQ(boxText(2, "edAIDesc1"), "INLET FLOW");
    EXPECT_EQ(boxText(2, "edAIRaw"), "20000");
    EXPECT_EQ(boxText(2, "edAI"), "12.35");
    EXPECT_EQ(boxText(2, "ledCalPercent"), "50");
    EXPECT_EQ(form->StreamDisp()->text(), "4-STREAMS");

    // While shown, the poll brings the live values, and only those.
    ASSERT_TRUE(poll()->Timer().isActive());
    EXPECT_EQ(poll()->Timer().interval(), 2000);
    poll()->Timer().setInterval(50);
    ASSERT_TRUE(unit->setValue(1537, 30000));
    ASSERT_TRUE(unit->setValue(1513, "OUTLET FLOW"));
    EXPECT_TRUE(waitFor([&] { return boxText(2, "edAIRaw") == "30000"; }));
    EXPECT_EQ(boxText(2, "edAIDesc1"), "INLET FLOW") << "read once per entry";

    // Leaving the tab stops the poll.
    enterTab(kAiGlobalTab);
    EXPECT_TRUE(waitFor([&] { return !poll()->Timer().isActive(); }));
    unit->clearReceived();
    QTest::qWait(300);
    EXPECT_EQ(unit->receivedCount(kAiMultiRead), 0);
}

TEST_F(AnalogInputTab, ACapturedSpanReachesTheUnitWithTheLineThroughBothPoints)
{
    readyToCaptureSpan();
    in<QToolButton>(frame(1), "btnCaptureSpan")->click();
    idle();
    EXPECT_EQ(unit->receivedCount(kAiWriteEntry), 6);
    EXPECT_EQ(unit->value(1497).toInt(), 52428);
    EXPECT_EQ(unit->value(1496).toInt(), 13107);
    EXPECT_FLOAT_EQ(unit->value(1498).toFloat(), 4.0f);
    EXPECT_FLOAT_EQ(unit->value(1499).toFloat(), 20.0f);
    EXPECT_FLOAT_EQ(unit->value(1502).toFloat(), 0.000406907260185108f);
    EXPECT_FLOAT_EQ(unit->value(1503).toFloat(), -1.33333349227905f);
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
}

TEST_F(AnalogInputTab, AWriteTheUnitRefusesStopsTheCalibrationAndIsReported)
{
    readyToCaptureSpan();
    UnitModel::MessageFault reject;
    reject.requestType = kAiWriteEntry;
    reject.kind = UnitModel::MessageFault::Kind::Reject;
    reject.after = 3;
    unit->addFault(reject);
    in<QToolButton>(frame(1), "btnCaptureSpan")->click();
    idle();
    EXPECT_EQ(unit->receivedCount(kAiWriteEntry), 4) << "nothing is sent after the refused raw span";
    EXPECT_EQ(unit->value(1497).toInt(), 100);
    EXPECT_TRUE(
        shownTexts().contains("The calibration of Analog Input 1 Calibration was not completed.\n"
                              "Written: Scaled Zero, Scaled Span, Raw Zero.\n"
                              "Not written: Raw Span, Scaling Factor, Zero Offset."))
        << shownTexts().join(" | ").toStdString();
}

TEST_F(AnalogInputTab, EqualRawCountsSendNothing)
{
    readyToCaptureSpan();
    ASSERT_TRUE(unit->setValue(1536, 13107));
    poll()->Timer().setInterval(50);
    ASSERT_TRUE(waitFor([&] { return boxText(1, "edAIRaw") == "13107"; }));
    poll()->Timer().stop();
    idle();
    unit->clearReceived();
    in<QToolButton>(frame(1), "btnCaptureSpan")->click();
    idle();
    EXPECT_EQ(unit->receivedCount(kAiWriteEntry), 0);
    EXPECT_EQ(boxText(1, "edRawSpan"), "100");
}

TEST_F(AnalogInputTab, AlarmEditsWaitForTheMainWrite)
{
    logOn();
    enterTab(kAnalogInputTab);
    ASSERT_NE(page(), nullptr);
    in<TQCheckBox>(page(), "ckAlarmAIHLEanble2")->click();
    in<TQCheckBox>(page(), "ckAlarmAILLimitR32")->click();
    in<TQCheckBox>(page(), "ckAlarmAILLimitS22")->click();
    auto* limit = in<TQEdit>(page(), "edAlarmAIHLimit2");
    limit->selectAll();
    QTest::keyClicks(limit, "15.5");
    QTest::keyClick(limit, Qt::Key_Return);
    idle();
    EXPECT_EQ(unit->receivedCount(kAiWriteEntry), 0);

    form->tbtnWriteClick();
    idle();
    EXPECT_TRUE(unit->value(1446).toBool());
    EXPECT_FLOAT_EQ(unit->value(1447).toFloat(), 15.5f);
    EXPECT_EQ(unit->value(1460).toInt(), (1 << 2) | (1 << 9));
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
}
