// The Streams page's table against the register map, its rules, and the page alone against the
// point database.
#include "streamspage.h"
#include "analogoutputcollection.h"
#include "dbchoices.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "pagealone.h"
#include "pointids.h"
#include "ridovaz.h"
#include "streamframes.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <map>
#include <set>

using streamspage::Box;

namespace {

// The register-map name a binding must have: "Stream <s>: <run>: <field>" for a run type's box,
// with the stream's own and the alarm boxes named as the unit names them.
std::vector<std::string> impliedNames(const streamspage::Binding& b)
{
    static const std::map<Box, std::string> kFields = {
        {Box::ledName, "Name"},
        {Box::ledConsecRuns, "Consecutive Runs"},
        {Box::ledRunsToAvg, "Runs To Average"},
        {Box::chkTime, "Time Enable"},
        {Box::edDays, "Scheduled Day Of Week"},
        {Box::edHours, "Scheduled Hour"},
        {Box::edMinute, "Scheduled Minute"},
        {Box::ledSampleDelay, "Sample Delay"},
        {Box::ledSampleInterval, "Sample Interval"},
        {Box::ledKFactor, "Tape Saturation Cutoff (mV)"},
        {Box::Switching, "Switching"},
        {Box::ckAOMgr1Enable, "Analog Output 1: Enable"},
        {Box::cbAOMgr1Function, "Analog Output 1: Function"},
        {Box::cbAOMgr1Channel, "Analog Output 1: Channel"},
        {Box::ckAOMgr2Enable, "Analog Output 2: Enable"},
        {Box::cbAOMgr2Function, "Analog Output 2: Function"},
        {Box::cbAOMgr2Channel, "Analog Output 2: Channel"},
        {Box::ckAlarm1Enable, "High Alarm: Enable"},
        {Box::edAlarm1Limit, "High Alarm: Limit"},
        {Box::HighAlarmActions, "High Alarm: Actions"},
        {Box::ckAlarmDevEnable, "Deviation Alarm: Enable"},
        {Box::edAlarmDevLimit, "Deviation Alarm: Limit"},
        {Box::DeviationActions, "Deviation Alarm: Actions"},
        {Box::strmCalUsed, "Stream Calibration Used"},
    };
    static const std::map<Box, std::string> kStreamAlarms = {
        {Box::ckPAAEnable, "High High Alarm Enable"},      {Box::ledPAALimit, "High High Alarm Level"},
        {Box::HighHighActions, "High High Alarm Actions"}, {Box::duration, "High High Alarm Duration"},
        {Box::lockAlarmEnable, "Lock Alarm Enable"},       {Box::lockAlarmLimit, "Lock Alarm Level"},
        {Box::LockActions, "Lock Alarm Actions"},
    };
    static const std::map<Box, std::string> kStreamBoxes = {
        {Box::ledGainFactor, "Gain"},
        {Box::ledZeroOffset, "Zero"},
        {Box::glAnalysisUnit, "Analysis Units"},
        {Box::chkCalCorrEnable, "Gain Correction Enable"},
        {Box::chkZeroCorrEnable, "Zero Correction Enable"},
        {Box::TimedAnalysisEnable, "Timed Analysis Enable"},
    };
    static const char* const kGas[] = {"", "", "Calibration Gas", "Reference Gas", "Reference Gas", "Zero Gas"};
    const std::string stream = "Stream " + std::to_string(b.stream) + ": ";
    if (b.runType == streamspage::kStreamWide)
        return {stream + kStreamBoxes.at(b.box)};
    const std::string run = streamspage::kRunNames[static_cast<std::size_t>(b.runType)];
    if (b.box == Box::RunRequest)
        return {stream + run + " Request"};
    if (kStreamAlarms.count(b.box))
        return {stream + (b.runType == streamspage::tabOf(analyzer::TotalSulphur) ? "TS " : "") +
                kStreamAlarms.at(b.box)};
    if (b.box == Box::ledCalGasConc)
        return {stream + run + ": " + kGas[b.runType]};
    std::string field = kFields.at(b.box);
    std::vector<std::string> names{stream + run + ": " + field};
    // Stream 2's H2S set is named without the colon inside the field; the same points.
    if (b.stream == 2 && b.runType == streamspage::tabOf(analyzer::H2S) && field.find(':') != std::string::npos) {
        field.erase(field.find(':'), 1);
        names.push_back(stream + run + ": " + field);
    }
    return names;
}

}  // namespace

TEST(StreamBindings, EveryPointOfTheTableIsTheRegisterMapsPointOfThatStreamRunAndField)
{
    Ridovaz17041417 map;
    std::map<int, std::string> names;
    for (int i = 0; i < map.GetCount(); ++i)
        names[map.GetPointId(static_cast<std::uint16_t>(i))] = map.GetName(static_cast<std::uint16_t>(i));

    std::set<int> seen;
    for (const streamspage::Binding& b : streamspage::kBindings) {
        const std::vector<std::string> expected = impliedNames(b);
        ASSERT_TRUE(names.count(b.point)) << "point " << b.point << " is not in the map";
        EXPECT_NE(std::find(expected.begin(), expected.end(), names[b.point]), expected.end())
            << "point " << b.point << " is \"" << names[b.point] << "\", expected \"" << expected.front() << "\"";
        EXPECT_TRUE(seen.insert(b.point).second) << "point " << b.point << " is bound twice";
        EXPECT_EQ(streamspage::pointOf(b.stream, b.runType, b.box), b.point);
    }
    // The boxes a run type has no point for.
    EXPECT_FALSE(streamspage::pointOf(1, streamspage::tabOf(analyzer::H2S), Box::ledRunsToAvg));
    EXPECT_FALSE(streamspage::pointOf(4, streamspage::tabOf(analyzer::Zero), Box::strmCalUsed));
    EXPECT_FALSE(streamspage::pointOf(3, streamspage::tabOf(analyzer::Calibration), Box::ckPAAEnable));
    EXPECT_FALSE(streamspage::pointOf(5, streamspage::tabOf(analyzer::H2S), Box::ledName));
}

TEST(StreamBindings, TheEntryListHoldsEveryPointOnceStartingWithStreamOnesGain)
{
    const std::vector<int> ids = streamspage::scanList();
    EXPECT_EQ(ids.size(), streamspage::kBindings.size() + 1);  // and "Streams"
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + 5), (std::vector<int>{21, 22, 463, 418, 45}));
    EXPECT_EQ(ids.back(), 808);
}

TEST(StreamBindings, RequestTexts)
{
    EXPECT_EQ(streamspage::requestCaption(3, streamspage::tabOf(analyzer::Reference2)), "Stream 3 Reference 2");
    EXPECT_EQ(streamspage::requestHint(1, streamspage::tabOf(analyzer::H2S)), "Stream 1 Normal Request");
    EXPECT_EQ(streamspage::requestHint(2, streamspage::tabOf(analyzer::Reference1)), "Stream 2 Reference Request");
    EXPECT_EQ(streamspage::requestQuestion(streamspage::tabOf(analyzer::Zero)),
              "This button will initiate a ZERO run, do you want to proceed?");
    EXPECT_EQ(streamspage::requestQuestion(streamspage::tabOf(analyzer::Reference2)),
              "This button will initiate a REFERENCE2 run, do you want to proceed?");
}

TEST(StreamBindings, GainCalculator)
{
    struct Case {
        const char* cal;
        const char* reading;
        const char* gain;
        std::optional<QString> result;
    };
    const Case cases[] = {
        {"50", "40", "1.2", QString("1.50")}, {"100", "3", "1", QString("33.33")},
        {"2", "3", "1", QString("0.67")},     {"50", "0", "1.2", QString("0")},
        {"", "40", "1.2", QString("0")},      {"50", "40", "", QString("0")},
        {"-", "40", "1.2", std::nullopt},     {"50", "4e", "1.2", std::nullopt},
        {"abc", "40", "1.2", std::nullopt},   {"1e308", "1e-308", "10", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(streamspage::newGainFactor(c.cal, c.reading, c.gain), c.result)
            << c.cal << " " << c.reading << " " << c.gain;
}

namespace {

class StreamsPage : public PageAlone<TfraAnalyzerStreams> {
protected:
    TfraAnaSetDefn* set(int stream, int runType) const
    {
        return page->StreamFrames()[static_cast<std::size_t>(stream - 1)]
            ->SetFrames()[static_cast<std::size_t>(runType)];
    }
    template <typename T>
    T* box(int stream, int runType, Box b) const
    {
        return dynamic_cast<T*>(set(stream, runType)->BoxWidget(b));
    }
};

}  // namespace

TEST_F(StreamsPage, BoxesShowTheirPointsAndTheRunTypesShapeTheirFrames)
{
    page->RegisterPoints();
    EXPECT_EQ(db->expressScan.GetPage(), 3);
    announce(1318, "17");  // stream 3, Reference 2, sample delay
    announce(1616, "2");   // stream 1, Reference 1, stream calibration used
    announce(1326, "True");
    announce(1325, std::to_string((1 << 2) | (1 << 9)));  // relay 3 and solenoid 2
    EXPECT_EQ(box<TQLabeledEdit>(3, streamspage::tabOf(analyzer::Reference2), Box::ledSampleDelay)->Text(), "17");
    EXPECT_EQ(box<TQComboBox>(1, streamspage::tabOf(analyzer::Reference1), Box::strmCalUsed)->currentText(),
              "Stream #3");
    EXPECT_TRUE(box<TQCheckBox>(3, streamspage::tabOf(analyzer::Reference2), Box::ckAOMgr1Enable)->isChecked());
    const auto& switching = set(3, streamspage::tabOf(analyzer::Reference2))->MaskBoxes(Box::Switching);
    std::vector<bool> on;
    for (TQCheckBox* b : switching)
        on.push_back(b->isChecked());
    EXPECT_EQ(on, (std::vector<bool>{false, false, true, false, false, false, false, true, false, false, false, false,
                                     false, false}));
    EXPECT_EQ(switching[7]->objectName(), "ckSwitchingS2");

    // What each run type hides and how it takes input.
    EXPECT_TRUE(set(1, streamspage::tabOf(analyzer::H2S))->findChild<QWidget*>("pnlExtra")->isHidden());
    EXPECT_FALSE(set(1, streamspage::tabOf(analyzer::Zero))->findChild<QWidget*>("pnlExtra")->isHidden());
    EXPECT_FALSE(box<QWidget>(1, streamspage::tabOf(analyzer::TotalSulphur), Box::ckPAAEnable)->isHidden());
    EXPECT_TRUE(box<QWidget>(1, streamspage::tabOf(analyzer::Calibration), Box::ckPAAEnable)->isHidden());
    EXPECT_TRUE(box<QWidget>(1, streamspage::tabOf(analyzer::Calibration), Box::duration)->parentWidget()->isHidden());
    EXPECT_TRUE(box<QWidget>(2, streamspage::tabOf(analyzer::Zero), Box::strmCalUsed)->isHidden());
    EXPECT_EQ(box<TQLabeledEdit>(1, streamspage::tabOf(analyzer::H2S), Box::ledName)->TypingLimit(), 6);
    EXPECT_EQ(box<TQLabeledEdit>(1, streamspage::tabOf(analyzer::Reference2), Box::ledName)->TypingLimit(), 7);
    EXPECT_EQ(box<TQLabeledEdit>(1, streamspage::tabOf(analyzer::H2S), Box::ledKFactor)->RangeHigh(), 2500);
    EXPECT_FALSE(box<TQLabeledEdit>(2, streamspage::tabOf(analyzer::H2S), Box::ledKFactor)->RangeEdit());
    EXPECT_EQ(box<QCheckBox>(3, streamspage::tabOf(analyzer::TotalSulphur), Box::ckAlarmDevEnable)->text(),
              "% Deviation Enable");
    EXPECT_EQ(box<QCheckBox>(4, streamspage::tabOf(analyzer::Reference2), Box::ckAlarmDevEnable)->text(),
              "Deviation Enable");
    EXPECT_EQ(set(2, streamspage::tabOf(analyzer::Zero))->btnRequest()->text(), "Stream 2 Zero");
    EXPECT_EQ(set(2, streamspage::tabOf(analyzer::Zero))->btnRequest()->toolTip(), "Stream 2 Zero Request");
    EXPECT_EQ(set(2, streamspage::tabOf(analyzer::Calibration))->SetIndex(), 2);
    EXPECT_EQ(page->StreamFrames()[0]->PageControlAnaSetDefns()->tabText(2), "Calibration ");
}

TEST_F(StreamsPage, AFunctionIdSelectsItsChoiceAndAnIdThatIsNoChoiceSelectsNothing)
{
    page->RegisterPoints();
    const AnalogOutputCollection* choices = AnalogOutputCollection::Instance();
    ASSERT_GE(choices->GetCount(), 3);
    TQComboBox* combo = set(2, streamspage::tabOf(analyzer::Calibration))->Function(2);
    EXPECT_EQ(combo->count(), choices->GetCount());
    const int point = *streamspage::pointOf(2, streamspage::tabOf(analyzer::Calibration), Box::cbAOMgr2Function);
    announce(point, std::to_string(choices->GetItem(2)->pointId));
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(set(2, streamspage::tabOf(analyzer::Calibration))->Function(1)->currentIndex(), -1)
        << "only its own combo";
    // Point 1 is no choice; item 1 would be another source.
    announce(point, "1");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_TRUE(db->GetChangeList().Ids().empty()) << "reading marks nothing changed";
}

TEST_F(StreamsPage, TheStreamCountShowsItsTabsOnlyOnceThePageWasEntered)
{
    announce(20, "2");
    EXPECT_TRUE(page->PageControlStreams()->isTabVisible(3)) << "before the first entry";
    EXPECT_EQ(host.streamDisplay, "unchanged");
    page->RegisterPoints();
    announce(20, "1");
    EXPECT_EQ(host.streamDisplay, "2-STREAMS");
    EXPECT_TRUE(page->PageControlStreams()->isTabVisible(1));
    EXPECT_FALSE(page->PageControlStreams()->isTabVisible(2));
    announce(20, "4");
    EXPECT_EQ(host.streamDisplay, "2-STREAMS");
    EXPECT_FALSE(page->PageControlStreams()->isTabVisible(2));
    announce(20, "3");
    EXPECT_EQ(host.streamDisplay, "4-STREAMS");
    EXPECT_TRUE(page->PageControlStreams()->isTabVisible(3));
}

TEST_F(StreamsPage, ReadOnlyDisablesEveryEditButNotTheCalculator)
{
    page->EnableEditing(false);
    for (TfraStream* stream : page->StreamFrames()) {
        for (TfraAnaSetDefn* s : stream->SetFrames()) {
            EXPECT_FALSE(s->btnRequest()->isEnabled());
            EXPECT_FALSE(s->BoxWidget(Box::edMinute)->isEnabled());
        }
        EXPECT_FALSE(stream->ledGainFactor()->isEnabled());
        EXPECT_FALSE(stream->glAnalysisUnit()->isEnabled());
    }
    for (const char* name : {"chkCalCorrEnable1", "chkZeroCorrEnable3", "TimedAnalysisEnable4"})
        EXPECT_FALSE(page->findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_TRUE(page->findChild<QWidget*>("edtCalGas")->isEnabled());
    page->EnableEditing(true);
    EXPECT_TRUE(set(4, streamspage::tabOf(analyzer::Zero))->btnRequest()->isEnabled());
    EXPECT_TRUE(page->findChild<QWidget*>("TimedAnalysisEnable4")->isEnabled());
}

TEST_F(StreamsPage, ARunRequestAsksAndQueuesItsPointOnlyOnYes)
{
    testenv::dialogs().answerButton(QMessageBox::No);
    set(1, streamspage::tabOf(analyzer::Zero))->btnRequest()->click();
    EXPECT_TRUE(host.queued.empty());
    EXPECT_EQ(shownTexts().back(), "This button will initiate a ZERO run, do you want to proceed?");
    testenv::dialogs().answerButton(QMessageBox::Yes);
    set(3, streamspage::tabOf(analyzer::Reference2))->btnRequest()->click();
    EXPECT_EQ(host.queued, std::vector<std::string>{"Calibrate"});
    EXPECT_EQ(host.parameters, std::vector<std::string>{"1425"});
}

TEST_F(StreamsPage, TheCalculatorFollowsItsInputsAndStaysQuietOnHalfTypedOnes)
{
    auto* cal = page->findChild<TQLabeledEdit*>("edtCalGas");
    auto* reading = page->findChild<TQLabeledEdit*>("edtAnaReading");
    auto* gain = page->findChild<TQLabeledEdit*>("edtCurrGainFactor");
    auto* result = page->findChild<TQLabeledEdit*>("edtNewGainFactor");
    EXPECT_TRUE(result->ReadOnly());
    cal->setText("50");
    reading->setText("40");
    gain->setText("1.2");
    EXPECT_EQ(result->Text(), "1.50");
    gain->Edit()->selectAll();
    QTest::keyClicks(gain->Edit(), "-");
    EXPECT_EQ(gain->Text(), "-");
    EXPECT_EQ(result->Text(), "1.50") << "no number yet, no answer and no error";
    QTest::keyClicks(gain->Edit(), "2");
    EXPECT_EQ(result->Text(), "-2.50");
    EXPECT_TRUE(shownTexts().isEmpty());
}

TEST_F(StreamsPage, TheHiddenTestSwitchesEveryAlarmAndMaskBoxButTheOthers)
{
    auto* test = page->findChild<TQAdvToolButton*>("btnTest");
    ASSERT_NE(test, nullptr);
    EXPECT_TRUE(test->isHidden());
    test->click();
    int on = 0;
    for (TQCheckBox* b : page->findChildren<TQCheckBox*>())
        on += b->isChecked();
    EXPECT_EQ(on, 1776);
    EXPECT_FALSE(box<QCheckBox>(1, streamspage::tabOf(analyzer::H2S), Box::chkTime)->isChecked());
    test->click();
    on = 0;
    for (TQCheckBox* b : page->findChildren<TQCheckBox*>())
        on += b->isChecked();
    EXPECT_EQ(on, 0);
}

TEST_F(StreamsPage, EnteredMinutesAndDurationsOutOfRangeAreRefusedWithAMessage)
{
    goOnline(streamspage::scanList());
    page->RegisterPoints();
    const int minutePoint = *streamspage::pointOf(1, streamspage::tabOf(analyzer::H2S), Box::edMinute);
    const int durationPoint = *streamspage::pointOf(1, streamspage::tabOf(analyzer::H2S), Box::duration);
    announce(minutePoint, "5");
    announce(durationPoint, "10");
    testenv::dialogs().clear();

    auto* minute = box<TQEdit>(1, streamspage::tabOf(analyzer::H2S), Box::edMinute);
    minute->setFocus();
    minute->selectAll();
    QTest::keyClicks(minute, "60");
    EXPECT_EQ(minute->PutToDatabase(), DbControl::PutResult::Refused);
    EXPECT_EQ(shownTexts().size(), 1);
    EXPECT_EQ(pending(minutePoint), "5");
    minute->selectAll();
    QTest::keyClicks(minute, "59");
    EXPECT_EQ(minute->PutToDatabase(), DbControl::PutResult::Stored);
    EXPECT_EQ(pending(minutePoint), "59");

    auto* duration = box<TQEdit>(1, streamspage::tabOf(analyzer::H2S), Box::duration);
    duration->selectAll();
    QTest::keyClicks(duration, "256");
    EXPECT_EQ(duration->PutToDatabase(), DbControl::PutResult::Refused);
    EXPECT_EQ(pending(durationPoint), "10");
}

TEST_F(StreamsPage, TheUnitsLongNameIsShownWholeAndOnlyTypingIsLimited)
{
    goOnline(streamspage::scanList());
    page->RegisterPoints();
    announce(pid::Stream1H2SName, "Inlet gas");
    auto* name = box<TQLabeledEdit>(1, streamspage::tabOf(analyzer::H2S), Box::ledName);
    EXPECT_EQ(name->Text(), "Inlet gas");

    QLineEdit* line = name->Edit();
    line->setFocus();
    line->end(false);
    QTest::keyClicks(line, "x");
    EXPECT_EQ(name->Text(), "Inlet gas") << "typing does not lengthen a name beyond the limit";
    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_EQ(name->Text(), "Inlet ga") << "but it may shorten it";
    line->selectAll();
    QTest::keyClicks(line, "Outlet gas");
    EXPECT_EQ(name->Text(), "Outlet");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(pending(pid::Stream1H2SName), "Outlet");
}
