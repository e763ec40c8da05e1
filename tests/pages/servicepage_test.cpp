// The service page and its analog output calibration frames alone, against the point database,
// with a host that records what they send; the calibration arithmetic and the page's read order.
#include "aocalibration.h"
#include "aocalrules.h"
#include "boardtester.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "lamps.h"
#include "pagealone.h"
#include "servicebindings.h"

#include <QLineEdit>
#include <QTest>
#include <set>

namespace {

using Write = std::pair<int, std::string>;
using ServiceWrites = std::vector<Write>;

class ServicePageTest : public PageAlone<TfraBoardTester> {
protected:
    void SetUp() override
    {
        PageAlone::SetUp();
        frame = page->Calibration(0);
    }
    // Entered, direct control on and the first frame's calibrate switch down.
    void calibrating()
    {
        enter();
        testenv::dialogs().answerButton(QMessageBox::Yes);
        page->DirectControlEnable()->setChecked(true);
        frame->CalibrateButton()->setChecked(true);
        ASSERT_TRUE(frame->CalibrateButton()->isChecked());
        host.writes.clear();
        host.queued.clear();
        testenv::dialogs().clear();
    }
    QLineEdit* line(const char* name) const
    {
        QWidget* box = frame->findChild<QWidget*>(name);
        EXPECT_NE(box, nullptr) << name;
        if (auto* labeled = qobject_cast<TQLabeledEdit*>(box))
            return labeled->Edit();
        return qobject_cast<QLineEdit*>(box);
    }
    void type(const char* name, const QString& text) const { line(name)->setText(text); }
    void click(const char* name) const { frame->findChild<QAbstractButton*>(name)->click(); }
    ArrowButtons* arrows(int n) const { return frame->findChild<ArrowButtons*>(QStringLiteral("QUpDown%1").arg(n)); }

    TfraAOCalibration* frame = nullptr;
};

}  // namespace

TEST(AOCalRules, ArrowsStepTheBoxOrTakeWhatWasTyped)
{
    struct Case {
        std::int64_t box;
        int position;  // after the toolkit's step
        int offset;
        aocal::ArrowClick expected;
    };
    const Case cases[] = {
        {1000, 1000 - 32768 + 1, 32768, {1000 - 32768 + 1, true, "1001"}},  // in step: arrow up
        {1000, 1000 - 32768 - 1, 32768, {1000 - 32768 - 1, true, "999"}},   // in step: arrow down
        {2000, 1000 - 32768 + 1, 32768, {2000 - 32768, false, ""}},         // typed since the click
        {0, -32768, 32768, {-32768, true, "0"}},                            // at the bottom, held there
        {12, 5, 0, {12, false, ""}},                                        // a current typed, offset 0
        {4, 5, 0, {5, true, "5"}},
    };
    for (const Case& c : cases) {
        const aocal::ArrowClick got = aocal::arrowClick(c.box, c.position, c.offset);
        EXPECT_EQ(got.position, c.expected.position) << c.box;
        EXPECT_EQ(got.stepped, c.expected.stepped) << c.box;
        EXPECT_EQ(got.text, c.expected.text) << c.box;
    }
}

TEST(AOCalRules, AutoCalibrationCountsAreWholeConverterCounts)
{
    EXPECT_EQ(aocal::autoCalCount(4.0, 5, 10000), 8000);
    EXPECT_EQ(aocal::autoCalCount(4.0, 3, 10000), 13333);  // cut toward zero
    EXPECT_EQ(aocal::autoCalCount(20, 19.99, 65535), std::nullopt) << "beyond 65535";
    EXPECT_EQ(aocal::autoCalCount(4, -1, 10000), std::nullopt) << "below 0";
    EXPECT_EQ(aocal::autoCalCount(4, 0, 10000), std::nullopt);
    EXPECT_EQ(aocal::autoCalCount(4, 1e-320, 10000), std::nullopt) << "not finite";
    EXPECT_EQ(aocal::fractionText(50), "0.5");
    EXPECT_EQ(aocal::fractionText(0), "0");
    EXPECT_EQ(aocal::fractionText(100), "1");
    EXPECT_DOUBLE_EQ(aocal::testCurrent(4, 20, 0.5), 12);
}

TEST(ServicePageScan, HoldsEveryIdOnceInTheUnitsOrder)
{
    const std::vector<int> ids = servicepage::scanList();
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    ASSERT_GE(ids.size(), 4u);
    EXPECT_EQ((std::vector<int>(ids.begin(), ids.begin() + 3)), (std::vector<int>{334, 332, 335}));
    EXPECT_EQ(ids.back(), 20);
    // Frame 1: its edits, then its own ids; then the count and the unit's names.
    const auto at = [&](int id) { return std::find(ids.begin(), ids.end(), id) - ids.begin(); };
    EXPECT_EQ(at(280) + 1, at(281));
    EXPECT_EQ(at(544) + 1, at(342));
    EXPECT_EQ(at(343) + 1, at(288));
    EXPECT_LT(at(1074), at(327));
    EXPECT_LT(at(327), at(0));
    EXPECT_EQ(at(0) + 2, at(2));
    EXPECT_EQ(ids.size(), 1u + 14u + 6u * 12u + 1u + 3u + 1u);
}

TEST_F(ServicePageTest, DirectControlGivesTheOutputsToTheUserAfterTheWarning)
{
    enter();
    QCheckBox* relay2 = page->OutputBox(1);
    EXPECT_FALSE(relay2->isEnabled());
    EXPECT_FALSE(frame->CalibrateButton()->isEnabled());

    // Without direct control a box only sets its lamp's state.
    relay2->setChecked(true);
    EXPECT_TRUE(host.writes.empty());

    testenv::dialogs().answerButton(QMessageBox::Yes);
    page->DirectControlEnable()->setChecked(true);
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_TRUE(testenv::dialogs().texts()[0].startsWith(
        "You have selected Direct Board Control Mode. In this mode WARNING light will blink.\n"));
    EXPECT_TRUE(testenv::dialogs().texts()[0].endsWith("Do you wish to continue?\n"));
    EXPECT_EQ(host.writes, (ServiceWrites{{332, "True"}}));
    EXPECT_EQ(host.queued, (std::vector<std::string>{"ExpressRead"}));
    EXPECT_TRUE(relay2->isEnabled());
    EXPECT_TRUE(frame->CalibrateButton()->isEnabled());

    // The write, the confirmation, the read-back of the written point, in this order.
    host.writes.clear();
    host.queued.clear();
    page->OutputBox(6 + 7)->setChecked(true);  // solenoid 8
    EXPECT_EQ(host.writes, (ServiceWrites{{1058, "True"}}));
    EXPECT_EQ(host.queued, (std::vector<std::string>{"DirectControlConfirm", "ReadSinglePoint 1058"}));
}

TEST_F(ServicePageTest, RefusingTheWarningEndsDirectControlAsUncheckingDoes)
{
    enter();
    testenv::dialogs().answerButton(QMessageBox::No);
    page->DirectControlEnable()->setChecked(true);
    EXPECT_FALSE(page->DirectControlEnable()->isChecked());
    EXPECT_EQ(host.writes, (ServiceWrites{{332, "False"}}));
    EXPECT_EQ(host.queued, (std::vector<std::string>{"ExpressRead"}));
    EXPECT_FALSE(page->OutputBox(0)->isEnabled());
}

TEST_F(ServicePageTest, BeforeTheFirstEntryTheUnitsDirectControlIsTakenWithoutAWarning)
{
    goOnline({});
    announce(332, "True");
    EXPECT_TRUE(page->DirectControlEnable()->isChecked());
    EXPECT_TRUE(testenv::dialogs().shown().empty());
    EXPECT_EQ(host.writes, (ServiceWrites{{332, "True"}}));
    page->OutputBox(0)->setChecked(true);
    EXPECT_EQ(host.writes.size(), 1u) << "a box writes nothing before the page was entered";
}

TEST_F(ServicePageTest, LampsFollowTheUnitAndShowRedOnlyUnderDirectControl)
{
    enter();
    TQImage* lamp = page->OutputLamp(2);
    announce(336, "True");
    EXPECT_TRUE(page->OutputBox(2)->isChecked());
    EXPECT_EQ(lamp->pixmap().toImage(), lamps::alarm(lamps::AlarmGrey).toImage());
    EXPECT_TRUE(host.writes.empty());

    testenv::dialogs().answerButton(QMessageBox::Yes);
    page->DirectControlEnable()->setChecked(true);
    host.writes.clear();
    announce(336, "False");
    announce(336, "True");
    EXPECT_EQ(lamp->pixmap().toImage(), lamps::alarm(lamps::AlarmRed).toImage());
    EXPECT_TRUE(page->OutputBox(2)->isChecked());
}

TEST_F(ServicePageTest, CalibrateSwitchesWorkOnlyUnderDirectControl)
{
    enter();
    QAbstractButton* calibrate = frame->CalibrateButton();
    calibrate->click();
    EXPECT_FALSE(calibrate->isChecked());
    calibrate->setEnabled(true);
    calibrate->setChecked(true);
    EXPECT_FALSE(calibrate->isChecked()) << "refused without direct control";
    EXPECT_FALSE(line("edScaledZero")->isEnabled());

    testenv::dialogs().answerButton(QMessageBox::Yes);
    page->DirectControlEnable()->setChecked(true);
    calibrate->click();
    EXPECT_TRUE(calibrate->isChecked());
    EXPECT_TRUE(line("edScaledZero")->isEnabled());
    EXPECT_TRUE(arrows(1)->isEnabled());

    // Ending direct control releases the switch and its controls.
    page->DirectControlEnable()->setChecked(false);
    EXPECT_FALSE(calibrate->isChecked());
    EXPECT_FALSE(calibrate->isEnabled());
    EXPECT_FALSE(line("edScaledZero")->isEnabled());
    EXPECT_FALSE(arrows(1)->isEnabled());
    EXPECT_TRUE(host.writes.back() == (Write{332, "False"}));
}

TEST_F(ServicePageTest, DrivingAndCapturingWriteTheirPointsInOrder)
{
    calibrating();
    type("edScaledZero", "6000");
    click("btnOutputZero");
    EXPECT_EQ(host.writes, (ServiceWrites{{447, "False"}, {342, "True"}, {446, "6000"}}));

    host.writes.clear();
    type("edRawZero", "4");
    type("edRawSpan", "20");
    type("edScaledSpan", "30000");
    type("edFailSafeCurrent", "3.5");
    type("edFailSafePos", "5000");
    click("btnCaptureCalibration");
    EXPECT_EQ(host.writes, (ServiceWrites{{447, "False"},
                                          {342, "False"},
                                          {280, "4"},
                                          {281, "20"},
                                          {278, "6000"},
                                          {279, "30000"},
                                          {544, "3.5"},
                                          {275, "5000"},
                                          {282, "24000"},
                                          {409, "6000"}}));
    EXPECT_FALSE(frame->RawBypassOn());
    EXPECT_FALSE(frame->FactoryBypassOn());
}

TEST_F(ServicePageTest, ACaptureThatCannotBeStoredWholeWritesNothing)
{
    calibrating();
    type("edRawZero", "4");
    type("edRawSpan", "20");
    type("edFailSafeCurrent", "3.5");
    type("edFailSafePos", "5000");
    struct Case {
        const char* zero;
        const char* span;
        const char* said;
    };
    const Case cases[] = {
        {"6000", "6000", "The Raw Span Value must differ from the Raw Zero Value.\nThe calibration was not captured."},
        {"6000", "70000", "Please enter a value between 0 and 65535."},
        {"", "30000", "Please enter a value."},
    };
    for (const Case& c : cases) {
        testenv::dialogs().clear();
        type("edScaledZero", c.zero);
        type("edScaledSpan", c.span);
        click("btnCaptureCalibration");
        EXPECT_TRUE(host.writes.empty()) << c.said;
        EXPECT_EQ(testenv::dialogs().texts(), QStringList{c.said});
    }
}

TEST_F(ServicePageTest, AutoCalibrationDrivesTheCountOneReadingGives)
{
    calibrating();
    type("edRawZero", "4.0");
    type("edScaledZero", "10000");
    type("labMeterReadingZero", "5");
    click("btnAutoCalZero");
    EXPECT_EQ(line("edScaledZero")->text(), "8000");
    EXPECT_EQ(host.writes, (ServiceWrites{{447, "False"}, {342, "True"}, {446, "8000"}}));

    struct Case {
        const char* meter;
        const char* said;
    };
    const Case refused[] = {
        {"0",
         "Please input Meter Reading.\nAnd make sure the Meter Reading field not zero.\n"
         "This gives user a automatic calibration.\n"},
        {"", "Please enter a value."},
        {"0.1",
         "The Raw Value this Meter Reading gives is outside 0 to 65535.\n"
         "Please check the Meter Reading and the Scaled Value."},
    };
    for (const Case& c : refused) {
        host.writes.clear();
        testenv::dialogs().clear();
        type("labMeterReadingZero", c.meter);
        click("btnAutoCalZero");
        EXPECT_TRUE(host.writes.empty()) << c.meter;
        EXPECT_EQ(testenv::dialogs().texts(), QStringList{c.said});
        EXPECT_EQ(line("edScaledZero")->text(), "8000");
    }
}

TEST_F(ServicePageTest, RawArrowsAlignWithTheBoxThenDriveItsCount)
{
    calibrating();
    ArrowButtons* arrow = arrows(1);
    type("edScaledZero", "1000");
    arrow->Step(true);  // typed since the last click: the arrow takes the box
    EXPECT_EQ(arrow->Position(), 1000 - 32768);
    EXPECT_EQ(line("edScaledZero")->text(), "1000");
    EXPECT_EQ(host.writes, (ServiceWrites{{342, "True"}, {446, "1000"}}));

    host.writes.clear();
    arrow->Step(true);
    EXPECT_EQ(line("edScaledZero")->text(), "1001");
    EXPECT_EQ(host.writes, (ServiceWrites{{446, "1001"}})) << "the bypass is already on";

    // A box that is no number stops the click; the next click works again.
    host.writes.clear();
    type("edScaledZero", "x");
    arrow->Step(true);
    EXPECT_TRUE(host.writes.empty());
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{"'x' is not a valid integer value."});
    // The failed click had moved the arrow: this one comes back to the box.
    type("edScaledZero", "1001");
    arrow->Step(false);
    EXPECT_EQ(line("edScaledZero")->text(), "1001");
    EXPECT_EQ(host.writes, (ServiceWrites{{446, "1001"}}));

    // The current arrows step whole milliamperes and send nothing.
    host.writes.clear();
    type("edRawZero", "4.7");
    arrows(4)->Step(true);
    arrows(4)->Step(true);
    EXPECT_EQ(line("edRawZero")->text(), "5");
    EXPECT_TRUE(host.writes.empty());
}

TEST_F(ServicePageTest, TheOutputTestDrivesAPercentOfTheCalibratedRange)
{
    calibrating();
    type("edRawZero", "4");
    type("edRawSpan", "20");
    type("ledCalTestPercent", "50");
    click("btnOutputTest");
    EXPECT_EQ(host.writes, (ServiceWrites{{342, "False"}, {447, "True"}, {343, "0.5"}}));
    EXPECT_EQ(line("ledTestRaw")->text(), "12");

    host.writes.clear();
    frame->findChild<ArrowButtons*>("udTest")->Step(true);
    EXPECT_EQ(line("ledCalTestPercent")->text(), "51");
    EXPECT_EQ(host.writes, (ServiceWrites{{343, "0.51"}}));

    // Enter in the percent sends nothing; a percent beyond 100 is refused before any write.
    host.writes.clear();
    QTest::keyClick(line("ledCalTestPercent"), Qt::Key_Return);
    type("ledCalTestPercent", "150");
    click("btnOutputTest");
    EXPECT_TRUE(host.writes.empty());
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{"Please enter a value between 0 and 100."});
}

TEST_F(ServicePageTest, EnterWritesTheBoxOwnPointEvenFromAMeterBox)
{
    calibrating();
    type("edRawSpan", "19.5");
    type("edMeterReadingSpan", "7");
    QTest::keyClick(line("edMeterReadingSpan"), Qt::Key_Return);
    EXPECT_EQ(host.writes, (ServiceWrites{{281, "19.5"}}));
    host.writes.clear();
    type("edScaledSpan", "31000");
    QTest::keyClick(line("edScaledSpan"), Qt::Key_Return);
    EXPECT_EQ(host.writes, (ServiceWrites{{279, "31000"}}));
}

TEST_F(ServicePageTest, LeavingReleasesOnlyTheBypassesAFrameSet)
{
    calibrating();
    type("edScaledZero", "6000");
    click("btnOutputZero");
    TfraAOCalibration* third = page->Calibration(2);
    third->btnOutputTestClick();
    host.writes.clear();
    page->ReleaseOutputs();
    EXPECT_EQ(host.writes, (ServiceWrites{{342, "False"}, {1061, "False"}}));
    host.writes.clear();
    page->ReleaseOutputs();
    EXPECT_TRUE(host.writes.empty());
}

TEST_F(ServicePageTest, TheStreamCountShowsInTheMainWindow)
{
    enter();
    announce(20, "2");
    EXPECT_EQ(host.streamDisplay, "3-STREAMS");
    host.streamDisplay = "unchanged";
    announce(20, "4");
    EXPECT_EQ(host.streamDisplay, "unchanged");
}

TEST_F(ServicePageTest, TheFirmwareGroupIsHiddenAndItsButtonsEnabledOnFirstEntry)
{
    QWidget* group = page->FirmwareGroup();
    EXPECT_TRUE(group->isHidden());
    EXPECT_FALSE(group->isEnabled());
    auto* read = group->findChild<QAbstractButton*>("btnReadOldConfig");
    ASSERT_NE(read, nullptr);
    read->setEnabled(false);
    enter();
    EXPECT_TRUE(read->isEnabledTo(group));
    EXPECT_EQ(read->toolTip(), "Upgrade Step 1: Read Old Configuration");
    EXPECT_TRUE(group->isHidden());
}
