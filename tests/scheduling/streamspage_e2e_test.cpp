// The Streams tab in the main window, logged on to the emulated unit: what entering it reads, and
// what an edit and a run request send.
#include "pagefixture.h"

#include "analogoutputcollection.h"
#include "dbchoices.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "pointids.h"
#include "ridovaz.h"
#include "streamframes.h"
#include "streamspage.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <set>

using streamspage::Box;

namespace {

constexpr int kStreamsGlobalTab = 5;
constexpr int kStreamsTab = 6;
constexpr int kReadEntry = 0x01;
constexpr int kWriteEntry = 0x04;
constexpr int kMultiRead = 0x32;

class StreamsTab : public PageWithUnit {
protected:
    TfraAnalyzerStreams* page() const { return qobject_cast<TfraAnalyzerStreams*>(form->Frame(kStreamsTab)); }
    TfraAnaSetDefn* set(int stream, int runType) const
    {
        return page()
            ->StreamFrames()[static_cast<std::size_t>(stream - 1)]
            ->SetFrames()[static_cast<std::size_t>(runType)];
    }
    void settle()
    {
        waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    }
    // As the user types into a box and ends the edit with Enter.
    static void type(QLineEdit* line, const QString& text)
    {
        line->setFocus();
        line->selectAll();
        QTest::keyClicks(line, text);
        QTest::keyClick(line, Qt::Key_Return);
    }
    TQLabeledEdit* labeled(int stream, int runType, Box box) const
    {
        return dynamic_cast<TQLabeledEdit*>(set(stream, runType)->BoxWidget(box));
    }
    // Logged on to a unit of four streams in a shown window (the focus can be checked), with the
    // site's name edited on the Global page for the next write.
    void editTheSiteOfAShownUnitWithFourStreams()
    {
        ASSERT_TRUE(unit->setValue(20, 3));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        logOn();
        enterTab(kStreamsGlobalTab);
        type(form->Frame(kStreamsGlobalTab)->findChild<TQLabeledEdit*>("ledSite")->Edit(), "North yard");
    }
    // The point ids the unit was asked for, in order, and how many messages asked.
    std::vector<int> pointsRead(int* messages) const
    {
        Ridovaz17041417 map;
        std::vector<int> ids;
        *messages = 0;
        for (const QByteArray& m : unit->received()) {
            const int type = static_cast<std::uint8_t>(m.at(1));
            auto index = [&m](int at) {
                return static_cast<std::uint16_t>(static_cast<std::uint8_t>(m.at(at)) |
                                                  (static_cast<std::uint8_t>(m.at(at + 1)) << 8));
            };
            if (type == kReadEntry) {
                ids.push_back(map.GetPointId(index(2)));
            } else if (type == kMultiRead) {
                for (int k = 0; k < static_cast<std::uint8_t>(m.at(2)); ++k)
                    ids.push_back(map.GetPointId(index(3 + 2 * k)));
            } else {
                continue;
            }
            ++*messages;
        }
        return ids;
    }
    // The indexes of the entries written.
    std::vector<int> pointsWritten() const
    {
        Ridovaz17041417 map;
        std::vector<int> ids;
        for (const QByteArray& m : unit->received())
            if (static_cast<std::uint8_t>(m.at(1)) == kWriteEntry || static_cast<std::uint8_t>(m.at(1)) == 0x06)
                ids.push_back(map.GetPointId(static_cast<std::uint16_t>(static_cast<std::uint8_t>(m.at(2)) |
                                                                        (static_cast<std::uint8_t>(m.at(3)) << 8))));
        return ids;
    }
};

}  // namespace

TEST_F(StreamsTab, EnteringReadsExactlyThePagesPointsAndShowsThem)
{
    const AnalogOutputCollection* choices = AnalogOutputCollection::Instance();
    ASSERT_TRUE(unit->setValue(20, 2));
    ASSERT_TRUE(unit->setValue(778, 33));  // stream 3, Zero, sample delay
    ASSERT_TRUE(unit->setValue(1321, "REF2S3"));
    ASSERT_TRUE(unit->setValue(1327, choices->GetItem(1)->pointId));  // stream 3, Reference 2, AO 1 function
    logOn();
    unit->clearReceived();

    enterTab(kStreamsTab);
    ASSERT_NE(page(), nullptr);
    int messages = 0;
    const std::vector<int> read = pointsRead(&messages);
    const std::vector<int> expected = streamspage::scanList();
    EXPECT_EQ(std::multiset<int>(read.begin(), read.end()), std::multiset<int>(expected.begin(), expected.end()));
    int texts = 0;
    for (int id : expected) {
        // Texts and baud rates are read one per message.
        const std::string type = DataBase::Instance()->GetPointById(id)->GetTypeName();
        texts += type == "text" || type == "Acceleration ";
    }
    EXPECT_EQ(messages, texts + (static_cast<int>(expected.size()) - texts + 19) / 20);

    EXPECT_EQ(dynamic_cast<TQLabeledEdit*>(set(3, streamspage::tabOf(analyzer::Zero))->BoxWidget(Box::ledSampleDelay))
                  ->Text(),
              "33");
    EXPECT_EQ(
        dynamic_cast<TQLabeledEdit*>(set(3, streamspage::tabOf(analyzer::Reference2))->BoxWidget(Box::ledName))->Text(),
        "REF2S3");
    EXPECT_EQ(set(3, streamspage::tabOf(analyzer::Reference2))->Function(1)->currentIndex(), 1);
    EXPECT_EQ(form->StreamDisp()->text(), "3-STREAMS");
    EXPECT_FALSE(page()->PageControlStreams()->isTabVisible(3));
    EXPECT_TRUE(DataBase::Instance()->GetChangeList().Ids().empty()) << "reading marks nothing to write";
    // The tabs were held from painting while the read ran, and paint again once it is over.
    EXPECT_TRUE(waitFor([&] { return page()->PageControlStreams()->updatesEnabled(); }, 2000));
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
}

TEST_F(StreamsTab, AnEditOnStreamThreesZeroRunWritesExactlyThatPoint)
{
    logOn();
    enterTab(kStreamsTab);
    unit->clearReceived();

    page()->PageControlStreams()->setCurrentIndex(2);
    page()->StreamFrames()[2]->PageControlAnaSetDefns()->setCurrentIndex(streamspage::tabOf(analyzer::Zero));
    auto* delay =
        dynamic_cast<TQLabeledEdit*>(set(3, streamspage::tabOf(analyzer::Zero))->BoxWidget(Box::ledSampleDelay));
    delay->Edit()->setFocus();
    delay->Edit()->selectAll();
    QTest::keyClicks(delay->Edit(), "57");
    QTest::keyClick(delay->Edit(), Qt::Key_Return);
    form->tbtnWriteClick();
    settle();
    EXPECT_EQ(pointsWritten(), std::vector<int>{778}) << shownTexts().join(" | ").toStdString();
    EXPECT_EQ(unit->value(778).toLongLong(), 57);
}

TEST_F(StreamsTab, AChosenFunctionIsWrittenAsItsSourcesPointId)
{
    const AnalogOutputCollection* choices = AnalogOutputCollection::Instance();
    logOn();
    enterTab(kStreamsTab);
    unit->clearReceived();
    TQComboBox* combo = set(2, streamspage::tabOf(analyzer::H2S))->Function(2);
    combo->setCurrentIndex(3);  // the program setting the index is no edit
    form->tbtnWriteClick();
    settle();
    EXPECT_TRUE(pointsWritten().empty());

    // The user's pick: the index, then activated.
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    form->tbtnWriteClick();
    settle();
    EXPECT_EQ(pointsWritten(), std::vector<int>{167});
    EXPECT_EQ(unit->value(167).toLongLong(), choices->GetItem(3)->pointId);
}

TEST_F(StreamsTab, ARunRequestWritesItsPoint)
{
    logOn();
    enterTab(kStreamsTab);
    unit->clearReceived();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    set(3, streamspage::tabOf(analyzer::Reference2))->btnRequest()->click();
    settle();
    EXPECT_EQ(pointsWritten(), std::vector<int>{1425});
    EXPECT_TRUE(unit->value(1425).toBool());
}

TEST_F(StreamsTab, ReadOnlyModeDisablesThePagesEditing)
{
    logOn(false);
    enterTab(kStreamsTab);
    EXPECT_TRUE(page()->isEnabled());
    EXPECT_FALSE(set(1, streamspage::tabOf(analyzer::H2S))->isEnabled());
    EXPECT_FALSE(set(4, streamspage::tabOf(analyzer::Zero))->btnRequest()->isEnabled());
    EXPECT_FALSE(page()->StreamFrames()[1]->ledGainFactor()->isEnabled());
    EXPECT_FALSE(page()->findChild<QWidget*>("chkCalCorrEnable2")->isEnabled());
    EXPECT_TRUE(page()->findChild<QWidget*>("edtCalGas")->isEnabled());
}

TEST_F(StreamsTab, ARefusedWriteKeepsEveryEditNamesTheBoxAndTheNextWriteSendsThemAll)
{
    editTheSiteOfAShownUnitWithFourStreams();
    enterTab(kStreamsTab);
    type(labeled(1, streamspage::tabOf(analyzer::H2S), Box::ledSampleDelay)->Edit(), "57");
    page()->PageControlStreams()->setCurrentIndex(1);
    auto* hours = dynamic_cast<TQEdit*>(set(2, streamspage::tabOf(analyzer::H2S))->BoxWidget(Box::edHours));
    type(hours, "25");
    // The technician moves on before writing.
    page()->StreamFrames()[1]->PageControlAnaSetDefns()->setCurrentIndex(streamspage::tabOf(analyzer::Zero));
    page()->PageControlStreams()->setCurrentIndex(0);
    testenv::dialogs().clear();
    unit->clearReceived();

    form->tbtnWriteClick();
    settle();
    EXPECT_EQ(shownTexts(), QStringList{"Stream 2, H2S: Hours: Please enter a value between 0 and 23."});
    EXPECT_TRUE(unit->received().empty()) << "nothing written, and no read over the edits";
    EXPECT_EQ(page()->PageControlStreams()->currentIndex(), 1);
    EXPECT_EQ(page()->StreamFrames()[1]->PageControlAnaSetDefns()->currentIndex(), streamspage::tabOf(analyzer::H2S));
    QCoreApplication::processEvents();  // the focus follows the write, as the event loop runs
    EXPECT_EQ(form->focusWidget(), hours);
    EXPECT_EQ(hours->text(), "25");
    EXPECT_EQ(labeled(1, streamspage::tabOf(analyzer::H2S), Box::ledSampleDelay)->Text(), "57");

    type(hours, "5");
    testenv::dialogs().clear();
    form->tbtnWriteClick();
    settle();
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
    EXPECT_EQ(unit->value(1).toString(), "North yard");
    EXPECT_EQ(unit->value(pid::Stream1H2SSampleDelay).toLongLong(), 57);
    EXPECT_EQ(unit->value(pid::Stream2H2SScheduledHour).toLongLong(), 5);
}

TEST_F(StreamsTab, ABoxRefusedOnAnotherPageIsShownThereWithoutItsPageBeingReadAgain)
{
    editTheSiteOfAShownUnitWithFourStreams();
    auto* bypass = form->Frame(kStreamsGlobalTab)->findChild<TQLabeledEdit*>("edtBypassTimeoutActions");
    type(bypass->Edit(), "1e");
    enterTab(kStreamsTab);
    type(labeled(3, streamspage::tabOf(analyzer::Zero), Box::ledSampleDelay)->Edit(), "33");
    testenv::dialogs().clear();
    unit->clearReceived();

    form->tbtnWriteClick();
    settle();
    EXPECT_EQ(shownTexts(), QStringList{"Bypass Timeout (s): '1e' is not a valid floating point value."});
    EXPECT_EQ(form->PageControlMain()->currentIndex(), kStreamsGlobalTab);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->focusWidget(), bypass->Edit());
    EXPECT_TRUE(unit->received().empty()) << "the page shown for the box is not read over its edits";
    EXPECT_EQ(form->Frame(kStreamsGlobalTab)->findChild<TQLabeledEdit*>("ledSite")->Text(), "North yard");

    type(bypass->Edit(), "2");
    form->tbtnWriteClick();
    settle();
    EXPECT_EQ(unit->value(1).toString(), "North yard");
    EXPECT_EQ(unit->value(284).toLongLong(), 2000);
    EXPECT_EQ(unit->value(pid::Stream3ZeroSampleDelay).toLongLong(), 33);
}
