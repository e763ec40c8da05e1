#include "qadvcolumngrid.h"
#include "broadcast.h"
#include "componentcommon.h"
#include "statuspanels.h"
#include "testenv.h"
#include "winmsg.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

// Counts the window messages that reach it.
class Receiver : public QWidget {
public:
    using QWidget::QWidget;
    int received = 0;

protected:
    bool event(QEvent* e) override
    {
        if (static_cast<int>(e->type()) == winmsg::WM_SEND_TO_DATABASE)
            ++received;
        return QWidget::event(e);
    }
};

// A window with a grid on a tab page of a tab widget that sits on a tab page of another, both
// turned to other pages; two status bars, the second with panels.
struct NestedWindow {
    QMainWindow window;
    QTabWidget* outer = new QTabWidget;
    QTabWidget* inner = new QTabWidget;
    QWidget* innerPage = new QWidget;
    QAdvColumnGrid* grid = new QAdvColumnGrid(innerPage);
    QStatusBar* secondBar = new QStatusBar(&window);
    QLabel* panel0 = new QLabel;
    QLabel* panel1 = new QLabel;

    NestedWindow()
    {
        grid->setObjectName("gridParams");
        (new QVBoxLayout(innerPage))->addWidget(grid);
        outer->addTab(new QWidget, "first");
        outer->addTab(inner, "grids");
        inner->addTab(new QWidget, "other");
        inner->addTab(innerPage, "params");
        window.setCentralWidget(outer);
        window.statusBar();
        secondBar->addWidget(panel0);
        secondBar->addWidget(panel1);
    }
};

class ColumnGridTest : public ::testing::Test {
protected:
    void SetUp() override { testenv::dialogs().clear(); }
    static std::vector<ScriptedDialogService::Shown> shown() { return testenv::dialogs().shown(); }
};

}  // namespace

TEST_F(ColumnGridTest, VetoStopsTheSendToDatabaseBroadcast)
{
    QWidget root;
    auto* grid = new QAdvColumnGrid(&root);
    auto* after = new Receiver(&root);

    auto broadcast = [&](int message) {
        WinMessageEvent m(message);
        broadcast::send(&root, &m, false, true);
        return m.result;
    };

    // Without a handler the grid lets the write pass.
    EXPECT_EQ(broadcast(winmsg::WM_SEND_TO_DATABASE), 0);
    EXPECT_EQ(after->received, 1);

    bool presetSeen = false;
    QAdvColumnGrid* sender = nullptr;
    grid->BeforePost = [&](QAdvColumnGrid* s, bool& canPost) {
        sender = s;
        presetSeen = canPost;
        canPost = false;
    };
    EXPECT_EQ(broadcast(winmsg::WM_SEND_TO_DATABASE), 1);
    EXPECT_TRUE(presetSeen);
    EXPECT_EQ(sender, grid);
    EXPECT_EQ(after->received, 1);  // the broadcast stopped at the grid
    // Only WM_SEND_TO_DATABASE asks the handler.
    EXPECT_EQ(broadcast(winmsg::WM_BEFORE_SEND_TO_DATABASE), 0);
    EXPECT_EQ(broadcast(winmsg::WM_AFTER_SEND_TO_DATABASE), 0);

    // An allowed post leaves the result as it was.
    grid->BeforePost = [](QAdvColumnGrid*, bool&) {};
    TQMMOVEVAL record{winmsg::WM_SEND_TO_DATABASE, 0, 0, 7};
    EXPECT_TRUE(grid->DoBeforePost(record));
    EXPECT_EQ(record.Result, 7);

    // A failing handler refuses the write instead of escaping the event handler.
    grid->BeforePost = [](QAdvColumnGrid*, bool&) { throw std::runtime_error("bad cell"); };
    EXPECT_EQ(broadcast(winmsg::WM_SEND_TO_DATABASE), 1);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "bad cell");
}

TEST_F(ColumnGridTest, ErrorTurnsEveryPageToTheGridAndFillsEveryStatusBar)
{
    NestedWindow w;
    w.grid->SetColor(Qt::white);
    w.grid->SetAlarmColor(Qt::yellow);
    ASSERT_FALSE(w.window.isVisible());
    ASSERT_EQ(w.outer->currentIndex(), 0);
    ASSERT_EQ(w.inner->currentIndex(), 0);

    w.grid->ReportError("Parameter out of range");

    EXPECT_TRUE(w.window.isVisible());
    EXPECT_EQ(w.outer->currentWidget(), w.inner);
    EXPECT_EQ(w.inner->currentWidget(), w.innerPage);
    EXPECT_EQ(w.window.statusBar()->currentMessage(), "Parameter out of range");
    EXPECT_EQ(w.panel0->text(), "Parameter out of range");
    EXPECT_EQ(w.panel1->text(), "");
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(w.grid->Color(), QColor(Qt::yellow));
    EXPECT_EQ(w.grid->FindMe(), &w.window);
}

TEST_F(ColumnGridTest, ErrorBoxesWithoutStatusBarAndForADisabledGrid)
{
    const QString note =
        "* Note:  Error applies to an item that is currently disabled.\n\n"
        "Item name:  gridParams\nItem type:  QAdvColumnGrid";
    {
        QWidget form;
        auto* grid = new QAdvColumnGrid(&form);
        grid->setObjectName("gridParams");
        grid->ReportError("Bad entry");
        ASSERT_EQ(shown().size(), 1u);
        EXPECT_EQ(shown()[0].caption, "Error");
        EXPECT_EQ(shown()[0].text, "Bad entry");

        testenv::dialogs().clear();
        grid->setEnabled(false);
        grid->ReportError("Bad entry");
        ASSERT_EQ(shown().size(), 2u);
        EXPECT_EQ(shown()[0].text, "Bad entry");
        EXPECT_EQ(shown()[1].text, note);
    }
    {
        // With a status bar the text goes there and the note box repeats it.
        testenv::dialogs().clear();
        NestedWindow w;
        w.grid->hide();
        w.grid->ReportError("Bad entry");
        ASSERT_EQ(shown().size(), 1u);
        EXPECT_EQ(shown()[0].text, "Bad entry\n\n" + note);
        EXPECT_EQ(w.window.statusBar()->currentMessage(), "Bad entry");
    }
}

TEST_F(ColumnGridTest, WarningAnswersAndColours)
{
    NestedWindow w;
    w.grid->SetColor(Qt::white);
    w.grid->SetAlarmColor(Qt::yellow);

    testenv::dialogs().answerButton(QMessageBox::No);
    EXPECT_FALSE(w.grid->ReportWarning("Interval is short"));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].caption, "Warning");
    EXPECT_EQ(shown()[0].text, "Interval is short\n\nContinue?");
    EXPECT_EQ(shown()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(w.inner->currentWidget(), w.innerPage);
    EXPECT_EQ(w.grid->Color(), QColor(Qt::yellow));

    // A further report keeps the colour saved by the first; Yes gives it back.
    w.grid->ReportError("again");
    testenv::dialogs().answerButton(QMessageBox::Yes);
    EXPECT_TRUE(w.grid->ReportWarning("Interval is short"));
    EXPECT_EQ(w.grid->Color(), QColor(Qt::white));

    // With the alarm colour the grid's own, as every form stores it, nothing changes colour.
    w.grid->SetAlarmColor(Qt::white);
    w.grid->ReportError("once more");
    EXPECT_EQ(w.grid->Color(), QColor(Qt::white));
}

TEST_F(ColumnGridTest, ComboItemIndex)
{
    QAdvColumnGrid grid;
    const QStringList choices = {"Off", "On", "Auto"};
    grid.Column(0).Editor = GridEditor::ComboList;
    grid.Column(1).Editor = GridEditor::ComboEdit;
    grid.Column(2).Editor = GridEditor::Normal;
    for (int c = 0; c < 3; ++c) {
        grid.Column(c).ComboItems = choices;
        grid.SetCells(c, 0, "Auto");
        grid.SetCells(c, 1, "auto");
    }
    struct Case {
        int col, row, index;
    };
    const Case cases[] = {
        {0, 0, 2},   {1, 0, 2},                            // both combo kinds
        {0, 1, -1},                                        // exact match only
        {2, 0, -1},                                        // a text column, even with the text among its items
        {-1, 0, -1}, {0, -1, -1}, {7, 0, -1}, {0, 5, -1},  // a row never set has an empty text
    };
    for (const auto& c : cases)
        EXPECT_EQ(grid.GetComboItemIndex(c.col, c.row), c.index) << c.col << "," << c.row;

    // Settings move with their column.
    grid.insertColumn(0);
    EXPECT_EQ(grid.GetComboItemIndex(1, 0), 2);
    EXPECT_EQ(grid.GetComboItemIndex(0, 0), -1);
    grid.removeColumn(1);
    EXPECT_EQ(grid.Column(0).Editor, GridEditor::Normal);
    EXPECT_EQ(grid.Column(1).Editor, GridEditor::ComboEdit);
}

TEST_F(ColumnGridTest, ComboEditorsStoreTheirChoice)
{
    QAdvColumnGrid grid;
    grid.Column(0).Editor = GridEditor::ComboList;
    grid.Column(0).ComboItems = {"Off", "On"};
    grid.Column(1).Editor = GridEditor::None;
    grid.SetCells(0, 0, "Off");
    grid.SetCells(1, 0, "fixed");

    QStyleOptionViewItem option;
    const QModelIndex cell = grid.model()->index(0, 0);
    QWidget* editor = grid.itemDelegate()->createEditor(grid.viewport(), option, cell);
    auto* combo = qobject_cast<QComboBox*>(editor);
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    grid.itemDelegate()->setEditorData(combo, cell);
    EXPECT_EQ(combo->currentText(), "Off");
    combo->setCurrentIndex(1);
    grid.itemDelegate()->setModelData(combo, grid.model(), cell);
    EXPECT_EQ(grid.Cells(0, 0), "On");
    delete editor;

    EXPECT_EQ(grid.itemDelegate()->createEditor(grid.viewport(), option, grid.model()->index(0, 1)), nullptr);
}

TEST_F(ColumnGridTest, F1AnnouncesOnlyASetHelpContext)
{
    QAdvColumnGrid grid;
    QSignalSpy spy(&grid, &QAdvColumnGrid::HelpContextPopup);
    QTest::keyClick(&grid, Qt::Key_F1);
    EXPECT_EQ(spy.count(), 0);

    grid.SetHelpContextTORVA(1200);
    QTest::keyClick(&grid, Qt::Key_F1);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1200);
    auto* help = qobject_cast<IQTORVAHelp*>(&grid);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->GetHelpContextTORVA(), 1200);
}

TEST_F(ColumnGridTest, BringControlToFrontRestoresTheWindow)
{
    QAdvColumnGrid alone;
    EXPECT_EQ(BringControlToFront(&alone), nullptr);
    EXPECT_FALSE(alone.isVisible());

    NestedWindow w;
    w.window.showMinimized();
    EXPECT_EQ(BringControlToFront(w.grid), &w.window);
    EXPECT_FALSE(w.window.isMinimized());
    EXPECT_TRUE(w.window.isVisible());
}
