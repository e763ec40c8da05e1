#include "sequencerpage.h"
#include "controlfixture.h"
#include "sequencertrees.h"
#include "testpages.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMimeData>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

namespace {

QByteArray sequencerBytesOf(const SequencerConfiguration& c)
{
    return QByteArray(reinterpret_cast<const char*>(&c), sizeof c);
}

class SequencerPageTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        page = std::make_unique<TfrSequencer>(testenv::pageServices(*db));
        page->LoggedOn = [this] { return loggedOn; };
        page->resize(1000, 640);
        page->show();
        broadcast(page.get(), winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
        catalogue = page->findChild<TRunTypeTree*>("treeRunType");
        lists = page->findChild<TSequenceTree*>("tlSequencer");
    }
    void TearDown() override
    {
        page.reset();
        ControlFixture::TearDown();
    }

    // Entered while logged on in update mode, the unit's block read.
    void enterAndRead(const SequencerConfiguration& unitBlock)
    {
        loggedOn = true;
        page->SetReadOnly(false);
        link.unit.setSequencer(sequencerBytesOf(unitBlock));
        page->RegisterPoints();
        db->GetSequencer().ReadFromUnit();
    }
    // What the catalogue's node of the stream and run type carries when it is dragged.
    std::unique_ptr<QMimeData> dragOf(int stream, int run) const
    {
        QTreeWidgetItem* node = catalogue->topLevelItem(0)->child(stream - 1);
        if (run >= 0)
            node = node->child(run);
        catalogue->setCurrentItem(node);
        return std::unique_ptr<QMimeData>(catalogue->model()->mimeData({catalogue->currentIndex()}));
    }
    bool drop(int stream, int run, int list)
    {
        auto data = dragOf(stream, run);
        QTreeWidgetItem* root = lists->topLevelItem(list);
        if (!page->AcceptDrop(data.get(), root, catalogue))
            return false;
        page->DropOnto(data.get(), root);
        return true;
    }
    QStringList stepTexts(int list) const
    {
        QStringList texts;
        QTreeWidgetItem* root = lists->topLevelItem(list);
        for (int i = 0; root && i < root->childCount(); ++i)
            texts << root->child(i)->text(0);
        return texts;
    }
    template <typename W>
    W* child(const char* name) const
    {
        W* w = page->findChild<W*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }

    bool loggedOn = false;
    std::unique_ptr<TfrSequencer> page;
    TRunTypeTree* catalogue = nullptr;
    TSequenceTree* lists = nullptr;
};

SequencerConfiguration unitBlock()
{
    SequencerConfiguration c{};
    c.Enable = 1;
    c.Depth = 2;
    c.Automatic[0] = {0, 0};
    c.Automatic[1] = {1, 5};
    c.Manual[0].Enable = 1;
    c.Manual[0].Depth = 1;
    c.Manual[0].Sequence[0] = {0, 1};
    return c;
}

}  // namespace

TEST_F(SequencerPageTest, EnteringListsThePointsAndBuildsTheCatalogue)
{
    EXPECT_TRUE(page->IsLoading());
    EXPECT_EQ(catalogue->topLevelItemCount(), 0);
    page->RegisterPoints();
    EXPECT_FALSE(page->IsLoading());
    EXPECT_EQ(db->expressScan.MainList(),
              (std::vector<int>{1431, 1432, 1609, 1610, 1611, 1612, 1613, 1632, 1633, 1634, 1635, 20}));
    EXPECT_EQ(db->expressScan.GetPage(), 12);
    ASSERT_EQ(catalogue->topLevelItemCount(), 1);
    QTreeWidgetItem* stream4 = catalogue->topLevelItem(0)->child(3);
    EXPECT_EQ(stream4->text(0), "Stream 4");
    EXPECT_EQ(stream4->child(5)->text(0), "Calibrate");
    // Every id the page lists is one of its controls' bindings.
    for (int id : db->expressScan.MainList()) {
        bool bound = false;
        for (QWidget* w : page->findChildren<QWidget*>())
            bound = bound || w->property("DbId").toInt() == id;
        EXPECT_TRUE(bound) << id;
    }
}

TEST_F(SequencerPageTest, ReadDragEditWriteGivesTheUnitTheEditedBlock)
{
    enterAndRead(unitBlock());
    ASSERT_EQ(lists->topLevelItemCount(), 9);
    EXPECT_EQ(lists->topLevelItem(0)->text(0), "Automatic Entries");
    EXPECT_EQ(lists->topLevelItem(8)->text(0), "Manual Entries #8");
    EXPECT_EQ(stepTexts(0), (QStringList{"Stream 1:H2S", "Stream 2:Calibrate"}));
    EXPECT_EQ(stepTexts(1), QStringList{"Stream 1:Total Sulphur"});
    EXPECT_TRUE(child<QCheckBox>("chkEnableSequencer")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("MSEnable1")->isChecked());

    announce(20, "1");  // two streams
    EXPECT_TRUE(drop(2, 4, 2));
    EXPECT_FALSE(drop(3, 0, 2)) << "stream 3 is not configured";
    EXPECT_EQ(stepTexts(2), QStringList{"Stream 2:Zero"});

    lists->setCurrentItem(lists->topLevelItem(0)->child(0));
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    EXPECT_FALSE(page->tlSequencerKeyDown(&del)) << "the Delete key is passed on to the list";
    EXPECT_EQ(stepTexts(0), QStringList{"Stream 2:Calibrate"});

    QTest::mouseClick(child<QCheckBox>("chkManualModeEnable"), Qt::LeftButton);
    QTest::mouseClick(child<QRadioButton>("sel5"), Qt::LeftButton);
    QTest::mouseClick(child<QCheckBox>("MSLoopEnable3"), Qt::LeftButton);
    QTest::mouseClick(child<QRadioButton>("sel72"), Qt::LeftButton);
    EXPECT_TRUE(page->HasUnsentChange());

    // The main write while the sequencer page is shown: the block goes and is read back.
    ASSERT_EQ(sendToDatabase(page.get()), 0);
    EXPECT_FALSE(page->HasUnsentChange());
    link.unit.clearReceived();
    db->WriteAll();
    EXPECT_EQ(link.unit.receivedCount(0x3E), 1);
    EXPECT_EQ(stepTexts(2), QStringList{"Stream 2:Zero"}) << "the read-back is shown";

    SequencerConfiguration expected = unitBlock();
    expected.Depth = 1;
    expected.Automatic[0] = {1, 5};
    expected.Automatic[1] = {0, 0};
    expected.ManualEnable = 1;
    expected.ManualDigitalInput = 4;
    expected.Manual[1].Depth = 1;
    expected.Manual[1].Sequence[0] = {1, 4};
    expected.Manual[1].DigitalInput = 6;
    expected.Manual[2].LoopEnable = 1;
    EXPECT_EQ(link.unit.sequencer().toHex(' '), sequencerBytesOf(expected).toHex(' '));
}

TEST_F(SequencerPageTest, ListsAndKeys)
{
    enterAndRead(SequencerConfiguration{});
    announce(20, "3");
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(drop(1 + i % 4, i % 6, 1));
    EXPECT_FALSE(drop(1, 0, 1)) << "a manual list holds 8 steps";
    for (int i = 0; i < 32; ++i)
        ASSERT_TRUE(drop(4, 5, 0));
    EXPECT_FALSE(drop(4, 5, 0)) << "the automatic list holds 32 steps";
    EXPECT_FALSE(drop(2, -1, 3)) << "a stream node is not a run type";

    auto data = dragOf(1, 0);
    EXPECT_FALSE(page->AcceptDrop(data.get(), lists->topLevelItem(1)->child(0), catalogue)) << "onto a step";
    EXPECT_FALSE(page->AcceptDrop(data.get(), nullptr, catalogue)) << "onto empty space";
    EXPECT_FALSE(page->AcceptDrop(data.get(), lists->topLevelItem(3), lists)) << "from another tree";
    QMimeData bad;
    bad.setData(seqpage::kRunTypeMime, "garbage");
    EXPECT_FALSE(page->AcceptDrop(&bad, lists->topLevelItem(3), catalogue));
    page->DropOnto(&bad, lists->topLevelItem(3));
    EXPECT_TRUE(stepTexts(3).isEmpty());

    // Alt+Up on the first step and Alt+Down on the last leave the list as it was.
    const QStringList before = stepTexts(1);
    lists->setCurrentItem(lists->topLevelItem(1)->child(0));
    QTest::keyClick(lists, Qt::Key_Up, Qt::AltModifier);
    lists->setCurrentItem(lists->topLevelItem(1)->child(7));
    QTest::keyClick(lists, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(stepTexts(1), before);
    lists->setCurrentItem(lists->topLevelItem(1)->child(6));
    QTest::keyClick(lists, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(stepTexts(1)[7], before[6]);
    EXPECT_EQ(lists->currentItem()->text(0), before[6]);
    QTest::keyClick(lists, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(stepTexts(1), before);
    lists->setCurrentItem(lists->topLevelItem(1));
    QTest::keyClick(lists, Qt::Key_Delete);
    EXPECT_EQ(stepTexts(1), before) << "a root is not deleted";

    // Logged on in read-only mode nothing changes.
    page->SetReadOnly(true);
    EXPECT_FALSE(drop(1, 0, 2));
    lists->setCurrentItem(lists->topLevelItem(1)->child(0));
    QTest::keyClick(lists, Qt::Key_Delete);
    EXPECT_EQ(stepTexts(1), before);
}

TEST_F(SequencerPageTest, OfflineDropStoresAtOnce)
{
    page->RegisterPoints();
    EXPECT_FALSE(drop(1, 0, 0)) << "no lists before a block was shown";
    db->GetSequencer().SetImage(unitBlock());
    db->GetSequencer().Publish();
    QTest::mouseClick(child<QCheckBox>("MSEnable4"), Qt::LeftButton);
    EXPECT_EQ(db->GetSequencer().GetImage().Manual[3].Enable, 0) << "a switch waits for the store";
    EXPECT_TRUE(drop(1, 3, 4));
    const SequencerConfiguration stored = db->GetSequencer().GetImage();
    EXPECT_EQ(stored.Manual[3].Depth, 1);
    EXPECT_EQ(stored.Manual[3].Sequence[0].Run, 3);
    EXPECT_EQ(stored.Manual[3].Enable, 1);
    EXPECT_FALSE(page->HasUnsentChange());
}

TEST_F(SequencerPageTest, StateTextAndCurrentStepMark)
{
    announce(1431, "1");
    announce(1432, "2");
    EXPECT_EQ(child<TQLabeledEdit>("SequencerState")->Text(), "Automatic Sequencer On");
    enterAndRead(unitBlock());
    EXPECT_FALSE(page->Model().lists[0][0].marked);
    EXPECT_TRUE(page->Model().lists[0][1].marked);
    EXPECT_TRUE(lists->topLevelItem(0)->child(1)->font(0).bold());
    announce(1431, "11");
    EXPECT_EQ(child<TQLabeledEdit>("SequencerState")->Text(), "Automatic Sequencer On");
    announce(1431, "5");
    EXPECT_EQ(child<TQLabeledEdit>("SequencerState")->Text(), "Manual Sequencer 3 On");
}

TEST_F(SequencerPageTest, RadioAboveSevenChecksNoButton)
{
    SequencerConfiguration c = unitBlock();
    c.ManualDigitalInput = 3;
    enterAndRead(c);
    EXPECT_TRUE(child<QRadioButton>("sel4")->isChecked());
    c.ManualDigitalInput = 9;
    c.Manual[0].DigitalInput = 200;
    link.unit.setSequencer(sequencerBytesOf(c));
    db->GetSequencer().ReadFromUnit();
    for (const char* name : {"sel1", "sel4", "sel8", "sel11", "sel81"})
        EXPECT_FALSE(child<QRadioButton>(name)->isChecked()) << name;
}

TEST_F(SequencerPageTest, LeavingTheTabWithAnUnsentChangeWarns)
{
    // As on the main window: the page fills a sheet of the page control.
    QTabWidget tabs;
    auto* sheet = new QWidget;
    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(page.get());
    tabs.addTab(sheet, "Sequencer");
    tabs.addTab(new QWidget, "Other");
    tabs.show();
    enterAndRead(unitBlock());

    tabs.setCurrentIndex(1);
    EXPECT_TRUE(shownTexts().isEmpty()) << "nothing changed";
    tabs.setCurrentIndex(0);
    QTest::mouseClick(child<QCheckBox>("chkEnableSequencer"), Qt::LeftButton);
    tabs.setCurrentIndex(1);
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Warning");
    EXPECT_EQ(testenv::dialogs().shown()[0].text, TfrSequencer::UnsentChangeText());

    // A write made while the page is shown sends the change: no warning.
    testenv::dialogs().clear();
    tabs.setCurrentIndex(0);
    page->RegisterPoints();
    QTest::mouseClick(child<QCheckBox>("chkEnableSequencer"), Qt::LeftButton);
    sendToDatabase(page.get());
    tabs.setCurrentIndex(1);
    EXPECT_TRUE(shownTexts().isEmpty());

    // Closing the window is not leaving the page.
    tabs.setCurrentIndex(0);
    QTest::mouseClick(child<QCheckBox>("chkEnableSequencer"), Qt::LeftButton);
    tabs.close();
    EXPECT_TRUE(shownTexts().isEmpty());
    layout->removeWidget(page.get());
    page->setParent(nullptr);
}

TEST_F(SequencerPageTest, LooksRight)
{
    enterAndRead(unitBlock());
    announce(1431, "1");
    announce(1432, "1");
    db->GetSequencer().ReadFromUnit();
    const QString dir = qEnvironmentVariable("KVT_GRAB_DIR");
    if (!dir.isEmpty())
        page->grab().save(dir + "/sequencer.png");
    // The main window (1020 x 735) leaves the page about 1000 x 600.
    EXPECT_LE(page->minimumSizeHint().width(), 1000);
    EXPECT_LE(page->minimumSizeHint().height(), 600);
}
