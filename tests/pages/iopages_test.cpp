// The discrete input pages and the outputs page alone against the point database.
#include "analogoutputcollection.h"
#include "dbchoices.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "discreteinputpage.h"
#include "lamps.h"
#include "outputpage.h"
#include "pagealone.h"
#include "testenv.h"

#include <QGroupBox>
#include <QPushButton>

namespace {

// A write queued behind a running command is not answered before the click ends.
struct RunningHost : RecordingHost {
    RunningHost() { running = true; }
};

template <typename Page>
using PageTest = PageAlone<Page, RunningHost>;

using DryPageTest = PageTest<TfraIO>;
using WetPageTest = PageTest<TfrmInput2>;
using OutputPageTest = PageTest<TfraOutput>;

}  // namespace

TEST_F(DryPageTest, EveryMaskBoxStandsForItsBitOfItsInputsMask)
{
    for (const inputmasks::InputPoints& in : inputmasks::kDryInputs) {
        for (int s = 1; s <= 4; ++s)
            for (int k = 0; k < 6; ++k) {
                auto* box = find<TQCheckBox32>(inputmasks::runSelectorBoxName(s, k, in.input).c_str());
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->DbId(), in.triggers);
                EXPECT_EQ(static_cast<int>(box->WatchBitNumber()), 6 * (s - 1) + k);
            }
        for (int r = 1; r <= 6; ++r) {
            auto* box = find<TQCheckBox>(inputmasks::relayBoxName(r, in.input).c_str());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QString("Relay %1").arg(r));
            EXPECT_EQ(box->DbId(), in.actions);
            EXPECT_EQ(static_cast<int>(box->WatchBitNumber()), r - 1);
        }
        for (int s = 1; s <= 8; ++s) {
            auto* box = find<TQCheckBox>(inputmasks::solenoidBoxName(s, in.input).c_str());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->DbId(), in.actions);
            EXPECT_EQ(static_cast<int>(box->WatchBitNumber()), s + 7);
        }
    }
    EXPECT_EQ(find<QGroupBox>("gbDiscreteInputs")->title(), "Discrete Inputs (DRY CONTACT) #1 to #4");
    EXPECT_EQ(find<TQLabeledEdit>("edDI3Name")->LabelCaption(), "Discrete Input 3 Name:");
    EXPECT_EQ(find<QCheckBox>("chkRunSelectorSCR3_2")->text(), "Stream 3 Cal Reading");
}

TEST_F(DryPageTest, EnteringListsTwentyFivePointsAndWarns)
{
    page->RegisterPoints();
    EXPECT_EQ(db->expressScan.MainList(), inputmasks::scanList(inputmasks::kDryPage));
    EXPECT_EQ(db->expressScan.GetPage(), 4);
    EXPECT_TRUE(db->expressScan.ShowsWaitOnRead());
    EXPECT_EQ(shownTexts(), QStringList{"Changing parameters in Inputs-DRY Page may affect operation of the analyzer.\n"
                                        "It is recommended that any change in this page be done by authorised "
                                        "personal only."});
}

TEST_F(DryPageTest, AClickChangesOnlyItsBitOfThePendingMaskAndWritesTheMask)
{
    enter();
    announce(442, "5");                                // bits 0 and 2
    find<QCheckBox>("chkRunSelectorSCR4_1")->click();  // bit 23 on
    EXPECT_EQ(pending(442), "8388613");
    find<QCheckBox>("chkRunSelectorSNR1_1")->click();  // bit 0 off
    EXPECT_EQ(pending(442), "8388612");
    announce(265, "0");
    find<QCheckBox>("chkDIAS1_1")->click();  // solenoid 1, bit 8
    EXPECT_EQ(pending(265), "256");
    const std::vector<std::pair<int, std::string>> expected = {{442, ""}, {442, ""}, {265, ""}};
    EXPECT_EQ(host.writes, expected);
    EXPECT_TRUE(shownTexts().isEmpty());
}

TEST_F(DryPageTest, ARefusedClickPutsTheBoxBackToTheUnitsState)
{
    auto* box = find<QCheckBox>("chkDIAR2_1");  // relay 2, bit 1
    // Before the first entry nothing is stored or written.
    box->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(host.writes.empty());

    enter();
    announce(265, "2");
    ASSERT_TRUE(box->isChecked());
    // Logged off.
    host.loggedOn = false;
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(pending(265), "2");
    host.loggedOn = true;
    // The point not read since logon.
    db->GetPointById(265)->SetFresh(false);
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(pending(265), "2");
    EXPECT_TRUE(host.writes.empty());
    // The write ran at once and the unit did not take it: pending and box go back.
    db->GetPointById(265)->SetFresh(true);
    host.running = false;
    box->click();
    EXPECT_EQ(host.writes.size(), 1u);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(pending(265), "2");
    EXPECT_FALSE(db->GetPointById(265)->IsModified());
}

TEST_F(WetPageTest, RunSelectorClicksGoThroughTheEditPathOfThePagesPoints)
{
    enter();
    EXPECT_EQ(db->expressScan.GetPage(), 13);
    EXPECT_EQ(find<QGroupBox>("gbDiscreteInputs")->title(), "Discrete Inputs (WET CONTACT) #1 to #4");
    EXPECT_EQ(find<TQLabeledEdit>("edDI5Name")->LabelCaption(), "Discrete Input 1 Name:");
    announce(976, "0");
    find<QCheckBox>("chkRunSelectorSTS2_5")->click();  // bit 7
    EXPECT_EQ(pending(976), "128");
    // Another page's scan list: the edit path takes nothing, and the box goes back.
    db->expressScan.Clear();
    db->expressScan.SetPage(13, false, true);
    find<QCheckBox>("chkRunSelectorSTS3_5")->click();
    EXPECT_EQ(pending(976), "128");
    EXPECT_FALSE(find<QCheckBox>("chkRunSelectorSTS3_5")->isChecked());
    EXPECT_EQ(host.writes.size(), 1u);
}

TEST_F(DryPageTest, SwitchesAndPolarityWriteTheirPointAtOnce)
{
    // Polarity waits for the first entry; the switches only for the page's scan page.
    find<QRadioButton>("PolarityOff1")->click();
    EXPECT_TRUE(host.writes.empty());
    enter();
    find<QCheckBox>("chkDIEnable2")->click();
    find<QCheckBox>("DiscreteInputAudit3")->click();
    find<QRadioButton>("PolarityOn4")->click();
    const std::vector<std::pair<int, std::string>> expected = {{266, "True"}, {535, "True"}, {543, "True"}};
    EXPECT_EQ(host.writes, expected);
    db->expressScan.SetPage(5, false, true);
    find<QCheckBox>("chkDIEnable1")->click();
    EXPECT_EQ(host.writes.size(), 3u);
}

TEST_F(DryPageTest, AnEnabledInputLocksItsSettings)
{
    announce(269, "True");
    EXPECT_TRUE(find<QCheckBox>("chkDIEnable3")->isChecked());
    EXPECT_FALSE(find<QGroupBox>("grpPolarity3")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("grpRunSelector3")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("grpActions3")->isEnabled());
    EXPECT_FALSE(find<QCheckBox>("DiscreteInputAudit3")->isEnabled());
    EXPECT_EQ(find<QCheckBox>("chkDIAS8_3")->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
    EXPECT_TRUE(find<QWidget>("edDI3Name")->isEnabled());
    EXPECT_TRUE(find<QGroupBox>("grpActions2")->isEnabled());
    announce(269, "False");
    EXPECT_TRUE(find<QGroupBox>("grpRunSelector3")->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("DiscreteInputAudit3")->isEnabled());
    EXPECT_EQ(find<QCheckBox>("chkDIAS8_3")->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(DryPageTest, TheStreamCountShowsThoseStreamsBoxes)
{
    announce(20, "1");
    EXPECT_EQ(host.streamDisplay, "2-STREAMS");
    for (int input = 1; input <= 4; ++input)
        for (int s = 1; s <= 4; ++s)
            EXPECT_EQ(find<QCheckBox>(inputmasks::runSelectorBoxName(s, 5, input).c_str())->isHidden(), s > 2);
    host.streamDisplay = "unchanged";
    announce(20, "5");
    EXPECT_EQ(host.streamDisplay, "unchanged");
    EXPECT_TRUE(find<QCheckBox>("chkRunSelectorSNR3_1")->isHidden());
    EXPECT_EQ(find<QLabel>("lblStream2")->text(), "Stream 2");
}

TEST_F(OutputPageTest, EnteringFillsTheParameterChoicesOnceAndListsEightyOnePoints)
{
    EXPECT_EQ(page->ParameterCombo(0)->count(), 0);
    page->RegisterPoints();
    EXPECT_EQ(db->expressScan.MainList(), outputpage::scanList());
    EXPECT_EQ(db->expressScan.MainList().size(), 81u);
    EXPECT_EQ(db->expressScan.GetPage(), 5);
    const int choices = AnalogOutputCollection::Instance()->GetCount();
    ASSERT_EQ(choices, 117);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(page->ParameterCombo(i)->count(), choices);
    EXPECT_EQ(page->ParameterCombo(0)->itemText(0), "Stream 1: Gain");
    EXPECT_EQ(page->ParameterCombo(0)->itemText(116), "Total Sulphur 4: Daily: Maximum");
    EXPECT_EQ(shownTexts(), QStringList{"Changing parameters in Outputs Page may affect operation of the analyzer.\n"
                                        "It is recommended that any change in this page be done by authorised "
                                        "personal only."});
    // A second entry keeps the items (and what they show).
    announce(1247, "450");
    const int chosen = page->ParameterCombo(0)->currentIndex();
    page->RegisterPoints();
    EXPECT_EQ(page->ParameterCombo(0)->currentIndex(), chosen);
}

TEST_F(OutputPageTest, AParameterShowsItsChoiceOrNone)
{
    page->RegisterPoints();
    TQComboBox* combo = page->ParameterCombo(2);
    announce(1253, "450");  // "Stream 1: H2S Reading"
    EXPECT_EQ(combo->currentIndex(), AnalogOutputCollection::Instance()->GetOrdinalById(450));
    EXPECT_EQ(combo->currentText(), "Stream 1: H2S Reading");
    announce(1253, "5");  // no choice, though item 5 exists
    EXPECT_EQ(combo->currentIndex(), -1);
    announce(1253, "0");
    EXPECT_EQ(combo->currentIndex(), -1);
}

TEST_F(OutputPageTest, ChoosingAParameterStoresThePointIdOfTheChoice)
{
    goOnline({});
    page->RegisterPoints();
    TQComboBox* combo = page->ParameterCombo(0);
    const int ordinal = AnalogOutputCollection::Instance()->GetOrdinalById(450);
    combo->setCurrentIndex(ordinal);
    emit combo->activated(ordinal);
    EXPECT_EQ(pending(1247), "450");
}

TEST_F(OutputPageTest, AcknowledgeWritesTheLatchStateAndReadsThePage)
{
    find<QPushButton>("btnLatch11")->click();  // solenoid 3
    const std::vector<std::pair<int, std::string>> expected = {{1131, "False"}};
    EXPECT_EQ(host.writes, expected);
    EXPECT_EQ(host.queued, std::vector<std::string>{"ExpressRead"});
    EXPECT_EQ(find<QPushButton>("btnLatch11")->text(), "Latch S3");
    EXPECT_EQ(find<QPushButton>("btnLatch6")->text(), "Latch R6");

    auto* lamp = find<QLabel>("Lat11");
    announce(1131, "True");
    EXPECT_EQ(lamp->pixmap().toImage(), lamps::alarm(lamps::AlarmRed).toImage());
    announce(1131, "False");
    EXPECT_EQ(lamp->pixmap().toImage(), lamps::alarm(lamps::AlarmGrey).toImage());
}

TEST_F(OutputPageTest, TheStreamCountWaitsForTheFirstEntry)
{
    announce(20, "2");
    EXPECT_EQ(host.streamDisplay, "unchanged");
    page->RegisterPoints();
    announce(20, "2");
    EXPECT_EQ(host.streamDisplay, "3-STREAMS");
}

// With KVT_GRAB_DIR set, the input page with all four streams shown (its widest) is saved there.
TEST_F(DryPageTest, GrabsTheWidestPageWhenAskedTo)
{
    const QString folder = qEnvironmentVariable("KVT_GRAB_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "KVT_GRAB_DIR not set";
    announce(20, "3");
    announce(263, "True");
    page->resize(testenv::kTabSize);
    page->show();
    EXPECT_TRUE(page->grab().save(folder + "/fraIO-4streams.png"));
}
