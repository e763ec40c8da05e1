// The discrete input and outputs tabs in the main window, logged on to the emulated unit: a mask
// click changes one bit of the unit's mask, the outputs go with the toolbar's write, and a latch
// acknowledgement clears the unit's latch at once.
#include "pagefixture.h"

#include "analogoutputcollection.h"
#include "dbchoices.h"
#include "dbtextentry.h"
#include "discreteinputpage.h"
#include "lamps.h"
#include "outputpage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int kDryTab = 7;
constexpr int kWetTab = 8;
constexpr int kOutputsTab = 9;

class IoTabs : public PageWithUnit {
protected:
    template <typename T>
    T* control(int tab, const char* name) const
    {
        T* found = form->Frame(tab)->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    qint64 unitValue(int id) const { return unit->value(static_cast<std::uint16_t>(id)).toLongLong(); }
};

}  // namespace

TEST_F(IoTabs, AMaskClickChangesExactlyOneBitOfTheUnitsMask)
{
    ASSERT_TRUE(unit->setValue(20, 3));
    ASSERT_TRUE(unit->setValue(443, 0x00A05));  // input 2's run selector
    ASSERT_TRUE(unit->setValue(268, 0x0103));   // input 2's actions
    logOn();
    enterTab(kDryTab);
    EXPECT_TRUE(
        shownTexts().contains("Changing parameters in Inputs-DRY Page may affect operation of the analyzer.\n"
                              "It is recommended that any change in this page be done by authorised personal "
                              "only."));
    auto* bit23 = control<QCheckBox>(kDryTab, "chkRunSelectorSCR4_2");
    auto* bit0 = control<QCheckBox>(kDryTab, "chkRunSelectorSNR1_2");
    ASSERT_TRUE(bit0->isChecked());
    ASSERT_FALSE(bit23->isChecked());

    bit23->click();
    EXPECT_EQ(unitValue(443), 0x00A05 | (1 << 23));
    bit0->click();
    EXPECT_EQ(unitValue(443), 0x00A04 | (1 << 23));
    EXPECT_TRUE(bit23->isChecked());
    EXPECT_FALSE(bit0->isChecked());

    control<QCheckBox>(kDryTab, "chkDIAS8_2")->click();  // bit 15 on
    EXPECT_EQ(unitValue(268), 0x8103);
    control<QCheckBox>(kDryTab, "chkDIAS1_2")->click();  // bit 8 off
    EXPECT_EQ(unitValue(268), 0x8003);
    EXPECT_EQ(form->StreamDisp()->text(), "4-STREAMS");
}

TEST_F(IoTabs, AMaskClickThatCannotBeWrittenShowsTheUnitsBitAgain)
{
    ASSERT_TRUE(unit->setValue(976, 0));
    logOn();
    enterTab(kWetTab);
    auto* box = control<QCheckBox>(kWetTab, "chkRunSelectorSZR1_5");  // bit 4
    // The unit refuses every write.
    UnitModel::MessageFault refuse;
    refuse.requestType = 0x04;
    refuse.kind = UnitModel::MessageFault::Kind::Reject;
    refuse.times = 0;
    unit->addFault(refuse);
    unit->clearReceived();
    box->click();
    ASSERT_FALSE(unit->received().empty()) << "the click tried to write";
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(unitValue(976), 0);
    EXPECT_FALSE(DataBase::Instance()->GetPointById(976)->IsModified());
}

TEST_F(IoTabs, OutputsGoWithTheToolbarsWriteAndAnAcknowledgeClearsTheLatch)
{
    ASSERT_TRUE(unit->setValue(1131, true));  // solenoid 3 latched
    ASSERT_TRUE(unit->setValue(1250, 450));   // analog output 2 carries "Stream 1: H2S Reading"
    logOn();
    enterTab(kOutputsTab);
    auto* page = qobject_cast<TfraOutput*>(form->Frame(kOutputsTab));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->ParameterCombo(1)->currentText(), "Stream 1: H2S Reading");
    auto* lamp = control<QLabel>(kOutputsTab, "Lat11");
    EXPECT_EQ(lamp->pixmap().toImage(), lamps::alarm(lamps::AlarmRed).toImage());

    // A name typed and a parameter chosen wait for the write.
    QLineEdit* name = control<TQLabeledEdit>(kOutputsTab, "RelayName1")->Edit();
    name->selectAll();
    QTest::keyClicks(name, "PURGE");
    QTest::keyClick(name, Qt::Key_Return);
    TQComboBox* combo = page->ParameterCombo(0);
    const int ordinal = AnalogOutputCollection::Instance()->GetOrdinalById(451);
    ASSERT_GE(ordinal, 0);
    combo->setCurrentIndex(ordinal);
    emit combo->activated(ordinal);
    EXPECT_NE(unit->value(247).toString(), "PURGE");
    form->tbtnWriteClick();
    waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    EXPECT_EQ(unit->value(247).toString(), "PURGE");
    EXPECT_EQ(unitValue(1247), 451);

    control<QPushButton>(kOutputsTab, "btnLatch11")->click();
    waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    EXPECT_FALSE(unit->value(1131).toBool());
    EXPECT_EQ(lamp->pixmap().toImage(), lamps::alarm(lamps::AlarmGrey).toImage());
}
