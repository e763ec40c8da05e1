// The Global page alone against the point database: its list, its alarm rows and immediate
// writes, its checks, the tape group, the display decimal places file and the clock dialog.
#include "globalpage.h"
#include "dbchoices.h"
#include "dispplacefile.h"
#include "globalbindings.h"
#include "pagealone.h"
#include "pointids.h"
#include "tapeadvance.h"
#include "timestamptoken.h"
#include "timesyncdlg.h"
#include "toolkitdate.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

namespace {

// Also gives the page a data directory of its own.
class GlobalHost : public RecordingHost {
public:
    QString DataDirectory() const override { return dataDirectory; }
    QString dataDirectory;
};

class GlobalPageTest : public PageAlone<TfraAnalyzerGlobal, GlobalHost> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        host.dataDirectory = folder.path();
        PageAlone::SetUp();
    }

    template <typename T = QWidget>
    T* child(const char* name) const
    {
        T* w = page->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    TQLabeledEdit* edit(const char* name) const { return child<TQLabeledEdit>(name); }
    // Entered while logged on, the page's points read from the unit.
    void enterOnline()
    {
        page->RegisterPoints();
        const std::vector<int> ids = db->expressScan.MainList();
        goOnline(ids);
        for (int id : ids)
            db->MarkFresh(id);
    }
    void typeInto(TQLabeledEdit* e, const QString& text)
    {
        e->Edit()->clear();
        QTest::keyClicks(e->Edit(), text);
    }

    QTemporaryDir folder;
};

}  // namespace

TEST_F(GlobalPageTest, EnteringListsThePointsInTheUnitsOrder)
{
    EXPECT_TRUE(page->Loading());
    page->RegisterPoints();
    const std::vector<int> expected = {0,   1,   2,   10,  19,  14,   11,   18,   15,   16,   13,   277, 284,
                                       113, 157, 461, 488, 508, 507,  500,  328,  514,  513,  34,   67,  142,
                                       516, 517, 291, 520, 3,   302,  303,  537,  85,   603,  20,   180, 462,
                                       515, 147, 538, 604, 17,  1439, 1440, 1441, 1442, 1433, 1434, 1435};
    EXPECT_EQ(db->expressScan.MainList(), expected);
    EXPECT_EQ(db->expressScan.GetPage(), 2);
    EXPECT_TRUE(db->expressScan.ShowsWaitOnRead());
    EXPECT_FALSE(page->Loading());
    EXPECT_TRUE(page->findChild<QWidget*>("gbAutoTempCal")->isHidden());
}

TEST_F(GlobalPageTest, EveryAlarmRowShowsItsOwnPointsWithFourteenActionBoxes)
{
    for (int r = 0; r < 12; ++r) {
        const globalpage::AlarmRow& row = globalpage::kAlarmRows[static_cast<std::size_t>(r)];
        const auto& boxes = page->AlarmBoxes(r);
        EXPECT_EQ(boxes.enable->objectName(), row.enableName);
        EXPECT_EQ(boxes.enable->DbId(), row.enablePoint);
        EXPECT_EQ(db->GetPointType(row.enablePoint), db->GetPointType(pid::AlarmSensorCurrentEnable));
        ASSERT_EQ(boxes.actions.size(), 14u);
        for (std::size_t i = 0; i < 14; ++i) {
            EXPECT_EQ(boxes.actions[i]->DbId(), row.actionsPoint);
            EXPECT_EQ(boxes.actions[i]->WatchBitNumber(), i < 6 ? int(i) : int(i) + 2);
        }
        const std::string actionsName = db->GetPointName(row.actionsPoint);
        EXPECT_NE(actionsName.find("Actions"), std::string::npos) << actionsName;
    }
    EXPECT_EQ(child<TQCheckBox>("LowTempAction3")->WatchBitNumber(), dbctl::bnBit2);
    EXPECT_EQ(child<TQCheckBox>("chkDCPowerS8")->WatchBitNumber(), dbctl::bnBit15);
    EXPECT_EQ(child<TQEdit>("edAlarmSensorCurrentLimit")->DataType(), dbctl::dtPosFloat);
    EXPECT_EQ(child<TQEdit>("TapeLengthAlarm")->DbId(), 514);
}

TEST_F(GlobalPageTest, TogglingOneRelaySendsTheWholeMaskWithOnlyThatBitChanged)
{
    enterOnline();
    announce(303, "33027");  // bits 0, 1, 8 and 15
    auto* relay3 = child<TQCheckBox>("LowTempAction3");
    ASSERT_FALSE(relay3->isChecked());
    relay3->click();
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0], (std::pair<int, std::string>{303, "33031"}));
    relay3->click();
    ASSERT_EQ(host.writes.size(), 2u);
    EXPECT_EQ(host.writes[1], (std::pair<int, std::string>{303, "33027"}));
    // A solenoid box the same way, on its bit 8 + n - 1.
    child<TQCheckBox>("LowTempS2")->click();
    EXPECT_EQ(host.writes.back(), (std::pair<int, std::string>{303, std::to_string(33027 | 0x200)}));
}

TEST_F(GlobalPageTest, ClicksWriteNothingBeforeTheFirstEntryOrWhileAnotherPageIsCurrent)
{
    goOnline({303, 3});
    db->MarkFresh(303);
    child<TQCheckBox>("LowTempAction1")->click();
    EXPECT_TRUE(host.writes.empty()) << "still loading";

    enterOnline();
    db->expressScan.SetPage(5, false, true);
    child<TQCheckBox>("LowTempAction1")->click();
    child<TQCheckBox>("LowTemp")->click();
    EXPECT_TRUE(host.writes.empty()) << "another page is current";
}

TEST_F(GlobalPageTest, AnEnabledAlarmLocksItsActionsOnceTheUnitHasTheNewValue)
{
    enterOnline();
    announce(17, "False");
    auto* enable = child<TQCheckBox>("ckAlarmSensorCurrent");
    const auto& actions = page->AlarmBoxes(0).actions;
    enable->click();
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0], (std::pair<int, std::string>{17, "True"}));
    // Not written yet (or the write failed): the actions stay open.
    for (TQCheckBox* box : actions)
        EXPECT_TRUE(box->isEnabled());
    announce(17, "True");
    for (TQCheckBox* box : actions)
        EXPECT_FALSE(box->isEnabled());
    // Other rows are not touched.
    EXPECT_TRUE(page->AlarmBoxes(1).actions[0]->isEnabled());
    enable->click();
    EXPECT_EQ(host.writes.back(), (std::pair<int, std::string>{17, "False"}));
    announce(17, "False");
    EXPECT_TRUE(actions[13]->isEnabled());
}

TEST_F(GlobalPageTest, ShowsVersionsInHexadecimalTheBypassInSecondsAndTheStreamCount)
{
    const struct {
        int point;
        const char* value;
        const char* shown;
    } cases[] = {
        {500, "386143255", "17041417"},
        {500, "17041417", "01040809"},
        {507, "", "00000000"},
        {328, "4294967295", "FFFFFFFF"},
    };
    const std::map<int, const char*> edits = {{500, "RidovazVer"}, {507, "FirmwareVersion"}, {328, "SensorMVer"}};
    for (const auto& c : cases) {
        announce(c.point, c.value);
        EXPECT_EQ(edit(edits.at(c.point))->Text(), c.shown) << c.value;
    }
    // Texts no integer point carries: the leading number counts, none is 0.
    EXPECT_EQ(globalpage::versionText("abc"), "00000000");
    EXPECT_EQ(globalpage::versionText("  12x"), "0000000C");

    EXPECT_EQ(edit("edtBypassTimeoutActions")->Text(), "0");
    announce(284, "1234");
    EXPECT_EQ(edit("edtBypassTimeoutActions")->Text(), "1.23399996757507");

    announce(20, "2");
    EXPECT_EQ(host.streamDisplay, "3-STREAMS");
    announce(20, "7");
    EXPECT_EQ(host.streamDisplay, "3-STREAMS");
}

TEST_F(GlobalPageTest, TrendFilterAboveTenBecomesTenTypedOrArriving)
{
    auto* filter = edit("TrendFilterLength");
    typeInto(filter, "12");
    EXPECT_EQ(filter->Text(), "10");
    typeInto(filter, "9.5");
    EXPECT_EQ(filter->Text(), "9.5");
    announce(34, "12");
    EXPECT_EQ(filter->Text(), "10");
}

TEST_F(GlobalPageTest, PulseWidthAboveSeventyFiveIsAnsweredOnEnterOnly)
{
    auto* width = edit("edFurancePulseWidth");
    typeInto(width, "75");
    QTest::keyClick(width->Edit(), Qt::Key_Return);
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join("|").toStdString();

    typeInto(width, "75.01");
    EXPECT_TRUE(shownTexts().isEmpty()) << "typing alone says nothing";
    QTest::keyClick(width->Edit(), Qt::Key_Return);
    EXPECT_EQ(shownTexts(), QStringList{"The valid input range should be between 0 and 75.\n"
                                        "For more information, please contact Quenrick."});
    EXPECT_EQ(width->Text(), "75.01");
    // The message box takes the focus, which ends the edit: the box's own range check does not
    // warn a second time about the same text.
    emit width->Edit()->editingFinished();
    EXPECT_EQ(shownTexts().size(), 1) << shownTexts().join("|").toStdString();
}

TEST_F(GlobalPageTest, ATextThatIsNoNumberIsRefusedOnceWhenConfirmed)
{
    enterOnline();
    auto* width = edit("edFurancePulseWidth");
    typeInto(width, "1e");
    EXPECT_TRUE(shownTexts().isEmpty());
    QTest::keyClick(width->Edit(), Qt::Key_Return);
    EXPECT_EQ(shownTexts(), QStringList{"'1e' is not a valid floating point value."});
    EXPECT_NE(pending(291), "1e");
}

// --- Tape --------------------------------------------------------------------------------------

TEST_F(GlobalPageTest, AcceptTurnsTheCapstanDiameterIntoTheWidthPerPulse)
{
    auto* capstan = edit("CapstanDiameter");
    // Empty: nothing happens.
    child<QPushButton>("btnSWPAccept")->click();
    EXPECT_EQ(edit("AdvanceLength")->Text(), "");

    typeInto(capstan, "1");
    typeInto(edit("AdvancePulses"), "10");
    child<QPushButton>("btnSWPAccept")->click();
    EXPECT_EQ(edit("AdvanceLength")->Text(), "0.00102265388704836");
    EXPECT_EQ(edit("StainWidth")->Text(), "0.0102265388704836");
    EXPECT_TRUE(edit("AdvanceLength")->HasUserEdit() || !edit("AdvanceLength")->IsAttached());
    EXPECT_EQ(child<TQCheckBox>("TapeLength")->text(), "Tape Length Remaining (feet)");

    child<QRadioButton>("rdMetric")->click();
    EXPECT_EQ(capstan->Text(), "25.4000");
    EXPECT_EQ(capstan->LabelCaption(), "Capstan Diameter (mm)");
    EXPECT_EQ(edit("AdvanceLength")->Text(), "0.000311704876367003");
    EXPECT_EQ(child<TQCheckBox>("TapeLength")->text(), "Tape Length Remaining (meter)");
    EXPECT_EQ(edit("edtTapeMeasurementUnits")->Text(), "1");
}

TEST_F(GlobalPageTest, SwitchingUnitsConvertsTheDiameterAndTheAlarmLimitBothWays)
{
    typeInto(edit("CapstanDiameter"), "1");
    child<TQEdit>("TapeLengthAlarm")->setText("100");
    child<QRadioButton>("rdMetric")->click();
    EXPECT_EQ(edit("CapstanDiameter")->Text(), "25.4000");
    EXPECT_EQ(child<TQEdit>("TapeLengthAlarm")->text(), "30.48");
    child<QRadioButton>("rdImperial")->click();
    EXPECT_EQ(edit("CapstanDiameter")->Text(), "1.0000");
    EXPECT_EQ(edit("CapstanDiameter")->LabelCaption(), "Capstan Diameter (inches)");
    EXPECT_EQ(child<TQEdit>("TapeLengthAlarm")->text(), "100.00");
    EXPECT_EQ(edit("edtTapeMeasurementUnits")->Text(), "0");
    EXPECT_TRUE(shownTexts().isEmpty());
}

TEST_F(GlobalPageTest, AUnitsSwitchOverAValueThatIsNoNumberIsRefusedAndUndone)
{
    typeInto(edit("CapstanDiameter"), "1e");
    child<TQEdit>("TapeLengthAlarm")->setText("100");
    child<QRadioButton>("rdMetric")->click();
    EXPECT_EQ(shownTexts(), QStringList{"'1e' is not a valid floating point value."});
    EXPECT_TRUE(child<QRadioButton>("rdImperial")->isChecked());
    EXPECT_EQ(edit("CapstanDiameter")->LabelCaption(), "Capstan Diameter (inches)");
    EXPECT_EQ(child<TQEdit>("TapeLengthAlarm")->text(), "100");
    EXPECT_EQ(edit("edtTapeMeasurementUnits")->Text(), "");
}

TEST_F(GlobalPageTest, TheUnitsFlagAndTheWidthFromTheUnitSetTheGroup)
{
    announce(85, "1");
    EXPECT_TRUE(child<QRadioButton>("rdMetric")->isChecked());
    EXPECT_EQ(edit("CapstanDiameter")->LabelCaption(), "Capstan Diameter (mm)");
    EXPECT_EQ(child<TQCheckBox>("TapeLength")->text(), "Tape Length Remaining (meter)");
    announce(85, "0");
    EXPECT_TRUE(child<QRadioButton>("rdImperial")->isChecked());
    EXPECT_EQ(child<TQCheckBox>("TapeLength")->text(), "Tape Length Remaining (feet)");

    host.loggedOn = false;  // no unit to read the tape remaining from
    announce(517, "10");
    announce(516, "0.00102265388704836");
    // One over pi exactly: the accepted 1 inch comes back as 1.0000 at four places.
    EXPECT_EQ(edit("CapstanDiameter")->Text(), "1.0000");
    EXPECT_EQ(edit("StainWidth")->Text().left(8), "0.010226");
}

// Values arrive inside a command (the logon's read among them): the tape days' read of the tape
// remaining is queued, never made from the handler, and the days follow its answer.
TEST_F(GlobalPageTest, TheTapeDaysReadTheTapeRemainingThroughAQueuedCommand)
{
    enterOnline();
    host.queued.clear();
    announce(10, "60");  // purge; an empty sequence: a sequence time of 0
    announce(517, "10");
    const std::size_t sent = link.sent.size();
    announce(516, "0.001");
    announce(517, "20");
    EXPECT_EQ(link.sent.size(), sent) << "nothing reaches the unit from a page's handler";
    EXPECT_EQ(host.queued, std::vector<std::string>{"ReadSinglePoint 520"}) << "one read for both";
    EXPECT_TRUE(shownTexts().isEmpty());

    edit("TRD")->setText("unset");
    SequencerConfiguration sequence{};
    sequence.Depth = 1;  // stream 1, H2S once: 10 + 50 s
    db->GetSequencer().SetImage(sequence);
    announce(25, "10");
    announce(26, "50");
    announce(46, "1");
    announce(520, "1440");
    // 1440 feet / (0.001 * 20) * 60 s / 86400
    EXPECT_EQ(edit("TRD")->Text(), "50");
    // A width of 0 asks for nothing.
    host.queued.clear();
    announce(516, "0");
    EXPECT_TRUE(host.queued.empty());
}

// A capstan diameter beyond what the unit's single-precision width can hold is refused like any
// number out of range: nothing is stored, and the width per pulse keeps its text.
TEST_F(GlobalPageTest, ACapstanDiameterBeyondSinglePrecisionIsRefused)
{
    typeInto(edit("AdvancePulses"), "10");
    for (const char* huge : {"1e45", "-4e38"}) {
        SCOPED_TRACE(huge);
        testenv::dialogs().clear();
        typeInto(edit("CapstanDiameter"), huge);
        child<QPushButton>("btnSWPAccept")->click();
        EXPECT_EQ(shownTexts(),
                  QStringList{"Please enter a value between -3.40282346638529E38 and 3.40282346638529E38."});
        EXPECT_EQ(edit("AdvanceLength")->Text(), "");
        EXPECT_EQ(edit("StainWidth")->Text(), "");
    }
    // One that fits converts; switching units over one whose conversion would not is undone.
    typeInto(edit("CapstanDiameter"), "2e37");
    child<QPushButton>("btnSWPAccept")->click();
    EXPECT_TRUE(edit("AdvanceLength")->Text().startsWith("2.045307")) << edit("AdvanceLength")->Text().toStdString();
    testenv::dialogs().clear();
    child<QRadioButton>("rdMetric")->click();
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].startsWith("Please enter a value between -1.3396")) << shownTexts()[0].toStdString();
    EXPECT_TRUE(child<QRadioButton>("rdImperial")->isChecked());
    EXPECT_EQ(edit("CapstanDiameter")->Text(), "2e37");
    // The unit's flag switches all the same, leaving what cannot be converted as it is.
    announce(85, "1e300");
    EXPECT_TRUE(child<QRadioButton>("rdMetric")->isChecked());
    EXPECT_EQ(edit("CapstanDiameter")->Text(), "2e37");
}

TEST_F(GlobalPageTest, TapeLengthResetWritesAtOnceOnlyWhileLoggedOn)
{
    EXPECT_EQ(edit("edtTapeLengthReset")->Text(), "330");
    host.loggedOn = false;
    child<QPushButton>("btnTapeLengthReset")->click();
    EXPECT_TRUE(host.writes.empty());
    host.loggedOn = true;
    child<QPushButton>("btnTapeLengthReset")->click();
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0], (std::pair<int, std::string>{520, "330"}));
    typeInto(edit("edtTapeLengthReset"), "0");
    child<QPushButton>("btnTapeLengthReset")->click();
    EXPECT_EQ(host.writes.size(), 1u) << "0 is refused";
    EXPECT_EQ(shownTexts().size(), 1);
}

TEST(TapeAdvance, DiameterToWidthPerPulseAtTwoHundredFiftySixPulsesATurn)
{
    EXPECT_FLOAT_EQ(tapeadvance::widthPerPulse(1.0, true), 0.00102265388704836f);
    EXPECT_FLOAT_EQ(tapeadvance::widthPerPulse(25.4, false), 0.000311704876367003f);
    EXPECT_NEAR(tapeadvance::diameterOf(0.00102265388704836, true), 1.0, 1e-6);
    EXPECT_EQ(tapeadvance::diameterText(tapeadvance::convertDiameter(1, true)), "25.4000");
    EXPECT_EQ(tapeadvance::limitText(tapeadvance::convertLength(30.48, false)), "100.00");
}

// --- Display decimal places --------------------------------------------------------------------

TEST(DispPlaceFile, HoldsOneDigitAndAnythingElseCountsAsAbsent)
{
    const struct {
        const char* content;
        std::optional<int> places;
    } cases[] = {
        {"2", 2},
        {"0", 0},
        {"4", 4},
        {" 3\n", 3},
        {"7", std::nullopt},
        {"-1", std::nullopt},
        {"", std::nullopt},
        {"2x", std::nullopt},
        {"12", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DispPlaceFile::Decode(c.content), c.places) << c.content;
    EXPECT_EQ(DispPlaceFile::Encode(3), QByteArray("3"));
    EXPECT_EQ(DispPlaceFile::Encode(5), std::nullopt);
    EXPECT_EQ(DispPlaceFile::ResultFormat(0), "0");
    EXPECT_EQ(DispPlaceFile::ResultFormat(4), "0.0000");
    EXPECT_EQ(DispPlaceFile::ResultFormat(7), "0.00");

    QTemporaryDir dir;
    const DispPlaceFile file(dir.path());
    EXPECT_EQ(file.Path(), dir.filePath("dispPlace.cfg"));
    EXPECT_EQ(file.Read(), std::nullopt);
    EXPECT_EQ(file.Places(), 2);
    ASSERT_TRUE(file.Write(1));
    QFile written(file.Path());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("1"));
    EXPECT_FALSE(file.Write(9));
    EXPECT_EQ(file.Read(), 1);

    const DispPlaceFile nowhere(dir.filePath("missing/folder"));
    EXPECT_FALSE(nowhere.Write(1));
}

TEST_F(GlobalPageTest, TheDecimalPlacesListKeepsTheFile)
{
    auto* list = child<QComboBox>("cbDispPlace");
    EXPECT_EQ(list->count(), 5);
    page->RegisterPoints();
    EXPECT_EQ(list->currentIndex(), 2) << "no file: the analysis page's two places";

    list->setCurrentIndex(3);
    emit list->activated(3);
    EXPECT_EQ(DispPlaceFile(folder.path()).Read(), 3);
    list->setCurrentIndex(0);
    page->RegisterPoints();
    EXPECT_EQ(list->currentIndex(), 3);

    QFile bad(QDir(folder.path()).filePath("dispPlace.cfg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("7");
    bad.close();
    page->RegisterPoints();
    EXPECT_EQ(list->currentIndex(), 2);

    host.dataDirectory = QDir(folder.path()).filePath("gone");
    emit list->activated(1);
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].startsWith("The display decimal places could not be saved to"));
}

// --- Clock dialog ------------------------------------------------------------------------------

namespace {

struct ClockDialog : ::testing::Test {
    double now = toolkitdate::fromDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
    TTimeSyncDlg dialog{nullptr, [](double t) { return timestamp::fromDateTime(t); }, [this] { return now; }};

    static std::uint32_t token(int y, int mo, int d, int h, int mi, int s)
    {
        return *timestamp::fromDateAndTime(QDate(y, mo, d), QTime(h, mi, s));
    }
};

}  // namespace

TEST_F(ClockDialog, ShowsThePCsTokenAndSendsTheTimeOfTheClick)
{
    EXPECT_EQ(dialog.windowTitle(), "Set Analyzer Date & Time");
    EXPECT_EQ(dialog.findChild<QLabel*>("labToken")->text(), "0000000000");
    dialog.show();
    const std::uint32_t shown = token(2026, 3, 4, 5, 6, 7);
    EXPECT_EQ(shown, (26u << 26) | (3u << 22) | (4u << 17) | (5u << 12) | (6u << 6) | 7u);
    EXPECT_EQ(dialog.findChild<QLabel*>("labToken")->text(), QString::number(shown));
    EXPECT_FALSE(dialog.findChild<QDateEdit*>("dtDate")->isEnabled());
    // With KVT_GRAB_DIR set, the dialog is saved as a picture to look at.
    if (const QString grabs = qEnvironmentVariable("KVT_GRAB_DIR"); !grabs.isEmpty())
        EXPECT_TRUE(dialog.grab().save(QDir(grabs).filePath("TimeSyncDlg.png")));

    now += 90.0 / 86400;  // a minute and a half later
    dialog.findChild<QPushButton*>("btnOk")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Token, token(2026, 3, 4, 5, 7, 37));
    EXPECT_EQ(dialog.property("TimestampToken").toUInt(), dialog.Token);
}

TEST_F(ClockDialog, AManualDateAndTimeMakeTheTokenWithinTheYearsItCanHold)
{
    dialog.show();
    auto* option = dialog.findChild<TQRadioGroup*>("rgSyncOption");
    option->findChildren<QRadioButton*>()[1]->click();
    auto* date = dialog.findChild<QDateEdit*>("dtDate");
    auto* time = dialog.findChild<QTimeEdit*>("dtTime");
    EXPECT_TRUE(date->isEnabled() && time->isEnabled());
    date->setDate(QDate(2030, 1, 2));
    time->setTime(QTime(3, 4, 5));
    EXPECT_EQ(dialog.findChild<QLabel*>("labToken")->text(), QString::number(token(2030, 1, 2, 3, 4, 5)));
    // The years the token can hold bound the picker.
    date->setDate(QDate(2070, 1, 1));
    EXPECT_EQ(date->date(), QDate(2063, 12, 31));
    date->setDate(QDate(1999, 1, 1));
    EXPECT_EQ(date->date(), QDate(2000, 1, 1));
    date->setDate(QDate(2030, 1, 2));

    dialog.findChild<QPushButton*>("btnOk")->click();
    EXPECT_EQ(dialog.Token, token(2030, 1, 2, 3, 4, 5));

    // Back to the PC's time: the pickers close and the click sends the PC's time.
    option->findChildren<QRadioButton*>()[0]->click();
    EXPECT_FALSE(date->isEnabled());
    dialog.findChild<QPushButton*>("btnOk")->click();
    EXPECT_EQ(dialog.Token, token(2026, 3, 4, 5, 6, 7));
}

TEST_F(ClockDialog, CancelSendsNothing)
{
    dialog.show();
    dialog.findChild<QPushButton*>("btnCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
