// The Sequencer and Timers tabs in the main window, logged on to the emulated unit: entering reads
// the block, the user edits through the widgets, the toolbar's write sends it.
#include "pagefixture.h"

#include "sequencerpage.h"
#include "sequencertrees.h"
#include "timerspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

namespace {

constexpr int kSequencerTab = 10;
constexpr int kTimersTab = 14;
constexpr int kGlobalTab = 5;

QByteArray bytesOf(const void* record, int size)
{
    return QByteArray(static_cast<const char*>(record), size);
}

class SchedulingTabs : public PageWithUnit {
protected:
    TfrSequencer* sequencer() const { return qobject_cast<TfrSequencer*>(form->Frame(kSequencerTab)); }
    TfrmTimer1* timers() const { return qobject_cast<TfrmTimer1*>(form->Frame(kTimersTab)); }
    void write()
    {
        form->tbtnWriteClick();
        waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    }
};

SequencerConfiguration unitSequencer()
{
    SequencerConfiguration c{};
    c.Enable = 1;
    c.Depth = 1;
    c.Automatic[0] = {0, 2};
    return c;
}

}  // namespace

TEST_F(SchedulingTabs, SequencerReadDropWrite)
{
    const SequencerConfiguration block = unitSequencer();
    unit->setSequencer(bytesOf(&block, sizeof block));
    ASSERT_TRUE(unit->setValue(20, 1));  // two streams
    logOn();
    enterTab(kSequencerTab);
    ASSERT_NE(sequencer(), nullptr);
    auto* lists = sequencer()->findChild<TSequenceTree*>("tlSequencer");
    auto* catalogue = sequencer()->findChild<TRunTypeTree*>("treeRunType");
    ASSERT_EQ(lists->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(lists->topLevelItem(0)->child(0)->text(0), "Stream 1:Reference 1");

    // Stream 2 Calibrate dragged onto "Manual Entries #1".
    catalogue->setCurrentItem(catalogue->topLevelItem(0)->child(1)->child(5));
    std::unique_ptr<QMimeData> drag(catalogue->model()->mimeData({catalogue->currentIndex()}));
    ASSERT_TRUE(sequencer()->AcceptDrop(drag.get(), lists->topLevelItem(1), catalogue));
    sequencer()->DropOnto(drag.get(), lists->topLevelItem(1));
    QTest::mouseClick(sequencer()->findChild<QCheckBox*>("MSEnable1"), Qt::LeftButton);

    write();
    SequencerConfiguration expected = block;
    expected.Manual[0].Enable = 1;
    expected.Manual[0].Depth = 1;
    expected.Manual[0].Sequence[0] = {1, 5};
    EXPECT_EQ(unit->sequencer().toHex(' '), bytesOf(&expected, sizeof expected).toHex(' '));
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
}

TEST_F(SchedulingTabs, LeavingTheSequencerWithAnUnsentChangeWarns)
{
    form->show();  // a page of a window not shown is never left
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    logOn();
    enterTab(kSequencerTab);
    auto* enable = sequencer()->findChild<QCheckBox*>("chkEnableSequencer");
    QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(8, enable->height() / 2));
    ASSERT_TRUE(sequencer()->HasUnsentChange());
    testenv::dialogs().clear();
    enterTab(kGlobalTab);
    EXPECT_EQ(shownTexts(), QStringList{TfrSequencer::UnsentChangeText()});
}

TEST_F(SchedulingTabs, TimersReadEditWrite)
{
    TimerXConfiguration block{};
    block.Timers[2].ScheduleHour = 6;
    block.Timers[2].ScheduleMinute = 45;
    unit->setTimers(bytesOf(&block, sizeof block));
    ASSERT_TRUE(unit->setValue(20, 0));  // one stream
    logOn();
    enterTab(kTimersTab);
    ASSERT_NE(timers(), nullptr);
    TfrmTimerSetup* timer3 = timers()->Timer(3);
    EXPECT_EQ(timer3->findChild<QLineEdit*>("edHours")->text(), "6");
    EXPECT_TRUE(timer3->RunBox(2, 0)->isHidden()) << "one stream: stream 2 is not offered";
    EXPECT_EQ(form->StreamDisp()->text(), "1-STREAM");

    auto* minute = timer3->findChild<QLineEdit*>("edMinute");
    minute->selectAll();
    QTest::keyClicks(minute, "59");
    QTest::keyClick(minute, Qt::Key_Return);
    auto* days = timer3->findChild<QComboBox*>("edDays");
    days->setCurrentIndex(2);
    emit days->activated(2);

    write();
    block.Timers[2].ScheduleMinute = 59;
    block.Timers[2].ScheduleDayOfWeek = 2;
    EXPECT_EQ(unit->timers().toHex(' '), bytesOf(&block, sizeof block).toHex(' '));
}
