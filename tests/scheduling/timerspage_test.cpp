#include "timerspage.h"
#include "controlfixture.h"
#include "testpages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

namespace {

// Packed fields are compared through a copy: a reference to one may be misaligned.
template <typename T>
unsigned fieldCopy(T value)
{
    return value;
}

QByteArray timersBytesOf(const TimerXConfiguration& c)
{
    return QByteArray(reinterpret_cast<const char*>(&c), sizeof c);
}

class TimersPageTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        page = std::make_unique<TfrmTimer1>(testenv::pageServices(*db));
        page->resize(1000, 640);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        broadcast(page.get(), winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
    }
    void TearDown() override
    {
        page.reset();
        ControlFixture::TearDown();
    }

    template <typename W>
    W* in(int timer, const char* name) const
    {
        W* w = page->Timer(timer)->findChild<W*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }
    // A user's click: the tab sheet is scrolled to the box first, as a click lands where the
    // window shows it.
    void click(QAbstractButton* box)
    {
        for (QWidget* w = box->parentWidget(); w; w = w->parentWidget())
            if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
                page->findChild<QTabWidget*>("PageControl")->setCurrentWidget(scroll);
                scroll->ensureWidgetVisible(box);
                break;
            }
        // On the box itself: a short caption leaves the middle of a stretched box empty.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // The page entered and the unit's block read, as the tab's entry does while logged on.
    void enterAndRead(const TimerXConfiguration& unitBlock)
    {
        link.unit.setTimers(timersBytesOf(unitBlock));
        page->RegisterPoints();
        db->GetTimerXManager().ReadFromUnit();
    }

    std::unique_ptr<TfrmTimer1> page;
};

}  // namespace

TEST_F(TimersPageTest, TwelveTimersOnTwoTabs)
{
    auto* tabs = page->findChild<QTabWidget*>("PageControl");
    ASSERT_TRUE(tabs);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Timers 1-6");
    EXPECT_EQ(tabs->tabText(1), "Timers 7-12");
    for (int t = 1; t <= 12; ++t) {
        TfrmTimerSetup* frame = page->Timer(t);
        EXPECT_EQ(frame->objectName(), QString("frmTimerSetup%1").arg(t));
        EXPECT_TRUE(tabs->widget(t <= 6 ? 0 : 1)->isAncestorOf(frame));
        const bool start = t % 2 == 1;
        EXPECT_EQ(in<QCheckBox>(t, "SequencerEnable")->text(), start ? "Start" : "Stop");
        EXPECT_EQ(in<QCheckBox>(t, "S1M3")->isVisibleTo(frame), start);
        EXPECT_EQ(in<QCheckBox>(t, "S1M3")->text(), "Manual Sequencer #3");
        EXPECT_FALSE(in<QCheckBox>(t, "Enable")->isVisibleTo(frame));
        EXPECT_FALSE(in<QCheckBox>(t, "ManEnable")->isVisibleTo(frame));
    }
    EXPECT_EQ(page->Timer(1)->findChild<QGroupBox*>("Sequencer")->title(), "Sequencers - (Start)");
    EXPECT_EQ(page->Timer(8)->findChild<QGroupBox*>("Sequencer")->title(), "Sequencer - (Stop)");
    EXPECT_EQ(in<QComboBox>(1, "edDays")->currentIndex(), -1);
    EXPECT_EQ(in<QLineEdit>(1, "edHours")->text(), "8");
}

TEST_F(TimersPageTest, ReadEditWriteGivesTheUnitTheEditedBlock)
{
    TimerXConfiguration unitBlock{};
    unitBlock.Timers[0] = {1, 2, 6, 30, 1, 0x41, 0, 0};
    unitBlock.Timers[5].ScheduleDayOfWeek = 0x80;  // a day the page has no name for
    enterAndRead(unitBlock);
    EXPECT_EQ(in<QComboBox>(1, "edDays")->currentIndex(), 2);
    EXPECT_EQ(in<QLineEdit>(1, "edHours")->text(), "6");
    EXPECT_EQ(in<QLineEdit>(1, "edMinute")->text(), "30");
    EXPECT_TRUE(in<QCheckBox>(1, "S1H2S")->isChecked());
    EXPECT_TRUE(in<QCheckBox>(1, "S2H2S")->isChecked());
    EXPECT_EQ(in<QComboBox>(6, "edDays")->currentIndex(), -1);

    // Timer 1 at Saturday 21:05, stream 2 zero too, and starting manual sequence 4.
    auto* days = in<QComboBox>(1, "edDays");
    days->setCurrentIndex(7);
    emit days->activated(7);
    typeInto(in<QLineEdit>(1, "edHours"), "21");
    typeInto(in<QLineEdit>(1, "edMinute"), "5");
    click(in<QCheckBox>(1, "S2Z"));
    click(in<QCheckBox>(1, "SequencerEnable"));
    click(in<QCheckBox>(1, "S1M4"));
    // Timer 2 stops the sequencer.
    click(in<QCheckBox>(2, "SequencerEnable"));

    // The main write while the timers page is shown, with two streams configured.
    announce(20, "1");
    ASSERT_EQ(sendToDatabase(page.get()), 0);
    EXPECT_TRUE(db->GetTimerXManager().IsDirty());
    db->WriteAll();
    EXPECT_FALSE(db->GetTimerXManager().IsDirty());

    TimerXConfiguration expected = unitBlock;
    expected.Timers[0] = {1, 7, 21, 5, 1, 0x41 | (1u << 10), 1, 0x01 | (1u << 4)};
    expected.Timers[1].ScheduleEnable = 1;
    expected.Timers[1].SequencerEnable = 1;
    EXPECT_EQ(link.unit.timers().toHex(' '), timersBytesOf(expected).toHex(' '));
}

TEST_F(TimersPageTest, InvalidHourOrMinuteIsRefusedWithItsText)
{
    enterAndRead(TimerXConfiguration{});
    typeInto(in<QLineEdit>(3, "edHours"), "24");
    ASSERT_EQ(shownTexts(), QStringList{"The hour must be a whole number from 0 to 23."});
    EXPECT_EQ(in<QLineEdit>(3, "edHours")->text(), "0");
    testenv::dialogs().clear();
    typeInto(in<QLineEdit>(3, "edMinute"), "60");
    ASSERT_EQ(shownTexts(), QStringList{"The minute must be a whole number from 0 to 59."});
    EXPECT_EQ(in<QLineEdit>(3, "edMinute")->text(), "0");

    // A text still being typed when the write comes is checked then, and stops the write: the
    // message names the timer, and the text stays in its box, which has the focus.
    testenv::dialogs().clear();
    in<QLineEdit>(4, "edMinute")->setText("75");
    EXPECT_EQ(sendToDatabase(page.get()), 1);
    EXPECT_EQ(shownTexts(),
              QStringList{"Timers 1-6, Timer #4: Minute: The minute must be a whole number from 0 to 59."});
    EXPECT_EQ(in<QLineEdit>(4, "edMinute")->text(), "75");
    EXPECT_EQ(db->GetTimerXManager().GetImage().Timers[3].ScheduleMinute, 0);
}

TEST_F(TimersPageTest, AnOutOfRangeTimeTheUnitHoldsStopsTheWriteNamedOnceAndIsMendedInPlace)
{
    TimerXConfiguration unitBlock{};
    unitBlock.Timers[8].ScheduleHour = 30;
    unitBlock.Timers[8].ScheduleMinute = 61;
    enterAndRead(unitBlock);
    typeInto(in<QLineEdit>(2, "edHours"), "7");
    testenv::dialogs().clear();

    // One message for the first bad box, which is shown with the focus in it; nothing stored.
    EXPECT_EQ(sendToDatabase(page.get()), 1);
    EXPECT_EQ(shownTexts(), QStringList{"Timers 7-12, Timer #9: Hour: The hour must be a whole number from 0 to 23."});
    EXPECT_EQ(page->findChild<QTabWidget*>("PageControl")->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), in<QLineEdit>(9, "edHours"));
    EXPECT_EQ(in<QLineEdit>(9, "edHours")->text(), "30");
    EXPECT_FALSE(db->GetTimerXManager().IsDirty());

    typeInto(in<QLineEdit>(9, "edHours"), "5");
    testenv::dialogs().clear();
    EXPECT_EQ(sendToDatabase(page.get()), 1);
    EXPECT_EQ(shownTexts(),
              QStringList{"Timers 7-12, Timer #9: Minute: The minute must be a whole number from 0 to 59."});
    typeInto(in<QLineEdit>(9, "edMinute"), "1");

    // Mended, the write takes every edit of the page.
    ASSERT_EQ(sendToDatabase(page.get()), 0);
    const TimerXConfiguration stored = db->GetTimerXManager().GetImage();
    EXPECT_EQ(fieldCopy(stored.Timers[1].ScheduleHour), 7u);
    EXPECT_EQ(fieldCopy(stored.Timers[8].ScheduleHour), 5u);
    EXPECT_EQ(fieldCopy(stored.Timers[8].ScheduleMinute), 1u);
}

TEST_F(TimersPageTest, NothingIsStoredBeforeTheFirstEntry)
{
    link.unit.setTimers(timersBytesOf(TimerXConfiguration{}));
    db->GetTimerXManager().ReadFromUnit();
    click(in<QCheckBox>(1, "AnalysisEnable"));
    EXPECT_EQ(sendToDatabase(page.get()), 0);
    EXPECT_FALSE(db->GetTimerXManager().IsDirty());
    page->RegisterPoints();
    EXPECT_EQ(sendToDatabase(page.get()), 0);
    EXPECT_TRUE(db->GetTimerXManager().IsDirty());
    EXPECT_EQ(db->GetTimerXManager().GetImage().Timers[0].AnalysisEnable, 1);
    EXPECT_EQ(db->GetTimerXManager().GetImage().Timers[0].ScheduleEnable, 1);
}

TEST_F(TimersPageTest, StreamsHideTheRunBoxesOfAbsentStreams)
{
    click(in<QCheckBox>(5, "S4C"));
    announce(20, "0");
    for (int t : {1, 12}) {
        EXPECT_FALSE(in<QCheckBox>(t, "S1Z")->isHidden());
        EXPECT_TRUE(in<QCheckBox>(t, "S2H2S")->isHidden());
        EXPECT_TRUE(in<QCheckBox>(t, "S4C")->isHidden());
    }
    announce(20, "3");
    EXPECT_FALSE(in<QCheckBox>(12, "S4C")->isHidden());
    announce(20, "1");
    EXPECT_TRUE(in<QCheckBox>(5, "S4C")->isHidden());
    EXPECT_TRUE(in<QCheckBox>(5, "S4C")->isChecked()) << "hiding keeps the state";
    announce(20, "4");
    EXPECT_TRUE(in<QCheckBox>(5, "S3H2S")->isHidden());
}

TEST_F(TimersPageTest, HiddenSelfTest)
{
    page->RegisterPoints();
    auto* test = page->findChild<QToolButton*>("btnTest");
    ASSERT_TRUE(test);
    EXPECT_FALSE(test->isVisibleTo(page.get()));
    test->click();
    EXPECT_EQ(shownTexts(),
              QStringList{"If Analysis=16777215 and Sequencer=511 in file LogWrite.dbg, the TEST will be passed."});
    const TimerXConfiguration c = page->EncodeTimerXConfiguration();
    for (const TimerXEntry& e : c.Timers) {
        EXPECT_EQ(fieldCopy(e.Analysis), 16777215u);
        EXPECT_EQ(fieldCopy(e.Sequencer), 511u);
    }
}

TEST_F(TimersPageTest, LooksRight)
{
    enterAndRead(TimerXConfiguration{});
    announce(20, "1");
    // The main window (1020 x 735) leaves the page about 1000 x 600: six timers side by side
    // without a horizontal scroll; the sheets scroll vertically.
    page->resize(1000, 600);
    auto* tabs = page->findChild<QTabWidget*>("PageControl");
    const QString dir = qEnvironmentVariable("KVT_GRAB_DIR");
    for (int tab : {0, 1}) {
        tabs->setCurrentIndex(tab);
        // Hiding boxes re-lays out the sheet one level per pass of the event loop.
        for (int i = 0; i < 6; ++i)
            QCoreApplication::processEvents();
        auto* scroll = qobject_cast<QScrollArea*>(tabs->widget(tab));
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0) << "tab " << tab;
        if (!dir.isEmpty())
            page->grab().save(dir + QString("/timers-tab%1.png").arg(tab + 1));
    }
}
