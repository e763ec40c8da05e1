// The Maintenance tab in the main window, logged on to the emulated unit: direct control with
// the unit's confirmation, an output switched and read back, a calibration sent point by point,
// and the bypasses released when the tab is left.
#include "pagefixture.h"

#include "aocalibration.h"
#include "boardtester.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "lamps.h"
#include "writecommands.h"

#include <QLineEdit>
#include <QTest>

namespace {

constexpr int kServiceTab = 15;
constexpr int kServiceWriteEntry = 0x04;

class ServiceTab : public PageWithUnit {
protected:
    void SetUp() override
    {
        PageWithUnit::SetUp();
        DirectControlConfirmCommand::SetRetryDelay(1);
    }
    void TearDown() override
    {
        DirectControlConfirmCommand::SetRetryDelay(DirectControlConfirmCommand::kRetryMs);
        PageWithUnit::TearDown();
    }

    TfraBoardTester* page() const { return qobject_cast<TfraBoardTester*>(form->Frame(kServiceTab)); }
    void settle()
    {
        waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    }
    bool unitBool(int id) const { return unit->value(static_cast<std::uint16_t>(id)).toBool(); }
    qint64 unitInt(int id) const { return unit->value(static_cast<std::uint16_t>(id)).toLongLong(); }

    // Logged on, on the tab, direct control switched on by the user's click.
    void directControlOn()
    {
        logOn();
        enterTab(kServiceTab);
        ASSERT_NE(page(), nullptr);
        testenv::dialogs().clear();
        testenv::dialogs().answerButton(QMessageBox::Yes);
        page()->DirectControlEnable()->click();
        settle();
        ASSERT_TRUE(unitBool(332));
        testenv::dialogs().clear();
        unit->clearReceived();
    }

    QLineEdit* line(TfraAOCalibration* frame, const char* name) const
    {
        QWidget* box = frame->findChild<QWidget*>(name);
        EXPECT_NE(box, nullptr) << name;
        if (auto* labeled = qobject_cast<TQLabeledEdit*>(box))
            return labeled->Edit();
        return qobject_cast<QLineEdit*>(box);
    }
    void click(TfraAOCalibration* frame, const char* name)
    {
        frame->findChild<QAbstractButton*>(name)->click();
        settle();
    }

    // The point ids the unit was asked to write, in order.
    std::vector<int> writtenIds() const
    {
        std::vector<int> ids;
        for (const QByteArray& m : unit->received()) {
            if (m.size() < 4 || static_cast<unsigned char>(m[1]) != kServiceWriteEntry)
                continue;
            const int index = static_cast<unsigned char>(m[2]) | static_cast<unsigned char>(m[3]) << 8;
            for (int id = 0; id < 0x10000; ++id)
                if (unit->indexOf(static_cast<std::uint16_t>(id)) == index) {
                    ids.push_back(id);
                    break;
                }
        }
        return ids;
    }
};

}  // namespace

TEST_F(ServiceTab, AnOutputSwitchIsWrittenConfirmedAndReadBackUnderDirectControl)
{
    ASSERT_TRUE(unit->setValue(333, true));  // the unit confirms direct control
    directControlOn();
    QCheckBox* relay3 = page()->OutputBox(2);
    ASSERT_TRUE(relay3->isEnabled());

    relay3->click();
    settle();
    EXPECT_TRUE(unitBool(336));
    EXPECT_EQ(writtenIds(), std::vector<int>{336});
    EXPECT_GE(unit->receivedCount(0x01), 2) << "the confirmation and the read-back";
    EXPECT_EQ(page()->OutputLamp(2)->pixmap().toImage(), lamps::alarm(lamps::AlarmRed).toImage());
    EXPECT_FALSE(shownTexts().contains("Direct Control Confirm Timeout, please check device."));

    // Only "True" confirms: a unit that keeps reporting False times the confirmation out.
    ASSERT_TRUE(unit->setValue(333, false));
    page()->OutputBox(6)->click();  // solenoid 1
    settle();
    EXPECT_TRUE(unitBool(1051));
    EXPECT_TRUE(shownTexts().contains("Direct Control Confirm Timeout, please check device."));
}

TEST_F(ServiceTab, WithoutDirectControlNothingReachesTheOutputs)
{
    logOn();
    enterTab(kServiceTab);
    EXPECT_TRUE(
        shownTexts().contains("Changing parameters in Maintenance Page may affect operation of the unit.\n"
                              "It is recommended that any change in this page be done by authorised personal "
                              "only."));
    unit->clearReceived();
    TfraAOCalibration* frame = page()->Calibration(0);
    frame->CalibrateButton()->click();
    page()->OutputBox(0)->click();
    settle();
    EXPECT_FALSE(frame->CalibrateButton()->isChecked());
    EXPECT_FALSE(page()->OutputBox(0)->isChecked());
    EXPECT_TRUE(writtenIds().empty());

    // Refusing the warning leaves the unit out of direct control.
    testenv::dialogs().answerButton(QMessageBox::No);
    page()->DirectControlEnable()->click();
    settle();
    EXPECT_FALSE(page()->DirectControlEnable()->isChecked());
    EXPECT_FALSE(unitBool(332));
    EXPECT_FALSE(frame->CalibrateButton()->isEnabled());
}

TEST_F(ServiceTab, ACalibrationSendsItsPointsInOrderAndTheUnitKeepsThem)
{
    ASSERT_TRUE(unit->setValue(288, 4.0));
    ASSERT_TRUE(unit->setValue(289, 20.0));
    ASSERT_TRUE(unit->setValue(545, 3.5));
    ASSERT_TRUE(unit->setValue(283, 4000));
    directControlOn();
    TfraAOCalibration* frame = page()->Calibration(1);
    frame->CalibrateButton()->click();
    ASSERT_TRUE(frame->CalibrateButton()->isChecked());
    EXPECT_EQ(line(frame, "edRawZero")->text(), "4");

    line(frame, "edScaledZero")->setText("6000");
    click(frame, "btnOutputZero");
    EXPECT_EQ(writtenIds(), (std::vector<int>{449, 344, 448}));
    EXPECT_TRUE(unitBool(344));
    EXPECT_EQ(unitInt(448), 6000);

    // The meter reads 5 mA for 6000: 4 mA needs 4800.
    line(frame, "labMeterReadingZero")->setText("5");
    click(frame, "btnAutoCalZero");
    EXPECT_EQ(unitInt(448), 4800);

    unit->clearReceived();
    line(frame, "edScaledSpan")->setText("30000");
    click(frame, "btnCaptureCalibration");
    EXPECT_EQ(writtenIds(), (std::vector<int>{449, 344, 288, 289, 286, 287, 545, 283, 290, 445}));
    EXPECT_FALSE(unitBool(344));
    EXPECT_EQ(unitInt(286), 4800);
    EXPECT_EQ(unitInt(287), 30000);
    EXPECT_DOUBLE_EQ(unit->value(290).toDouble(), 25200);
    EXPECT_DOUBLE_EQ(unit->value(445).toDouble(), 4800);

    // A test at half the range: 12 mA expected.
    unit->clearReceived();
    line(frame, "ledCalTestPercent")->setText("50");
    click(frame, "btnOutputTest");
    EXPECT_EQ(writtenIds(), (std::vector<int>{344, 449, 345}));
    EXPECT_TRUE(unitBool(449));
    EXPECT_DOUBLE_EQ(unit->value(345).toDouble(), 0.5);
    EXPECT_EQ(line(frame, "ledTestRaw")->text(), "12");

    // Enter in the percent names no point: nothing is sent, "Unit ID" least of all.
    unit->clearReceived();
    QTest::keyClick(line(frame, "ledCalTestPercent"), Qt::Key_Return);
    settle();
    EXPECT_TRUE(writtenIds().empty());
}

TEST_F(ServiceTab, LeavingTheTabReleasesEveryBypassAFrameSetAndEndsDirectControl)
{
    directControlOn();
    TfraAOCalibration* first = page()->Calibration(0);
    TfraAOCalibration* third = page()->Calibration(2);
    first->CalibrateButton()->click();
    third->CalibrateButton()->click();
    line(first, "edScaledZero")->setText("1000");
    click(first, "btnOutputZero");
    line(third, "ledCalTestPercent")->setText("10");
    click(third, "btnOutputTest");
    ASSERT_TRUE(unitBool(342));
    ASSERT_TRUE(unitBool(1061));

    unit->clearReceived();
    enterTab(5);
    EXPECT_FALSE(unitBool(342));
    EXPECT_FALSE(unitBool(1061));
    EXPECT_FALSE(unitBool(332));
    const std::vector<int> ids = writtenIds();
    ASSERT_GE(ids.size(), 3u);
    EXPECT_EQ((std::vector<int>(ids.begin(), ids.begin() + 3)), (std::vector<int>{342, 1061, 332}));
    EXPECT_FALSE(page()->DirectControlEnable()->isChecked());
    EXPECT_FALSE(first->CalibrateButton()->isChecked());
}

TEST_F(ServiceTab, AFailedEndOfDirectControlOnLeavingIsReported)
{
    directControlOn();
    UnitModel::MessageFault refuse;
    refuse.requestType = kServiceWriteEntry;
    refuse.kind = UnitModel::MessageFault::Kind::Reject;
    refuse.times = 0;
    unit->addFault(refuse);
    enterTab(5);
    EXPECT_TRUE(unitBool(332));
    EXPECT_TRUE(
        shownTexts().contains("\"Direct Board Control Enable\" could not be written: direct control of the "
                              "unit's outputs may still be on."))
        << shownTexts().join(" | ").toStdString();
}
