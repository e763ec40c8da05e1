// The page control whose tabs stand in rows: every tab in view at any width, chosen by a click,
// following what is hidden, renamed or disabled.
#include "advpagecontrol.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

namespace {

class AdvPageControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(1020, 400);
        auto* layout = new QVBoxLayout(&window);
        pages = new TAdvPageControl(&window);
        pages->setTabPosition(QTabWidget::South);
        for (int i = 0; i < 17; ++i)
            pages->addTab(new QLabel(QStringLiteral("page %1").arg(i)), QStringLiteral("Analog Input %1 ").arg(i));
        layout->addWidget(pages, 1);
        layout->addWidget(pages->TabRows());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    TAdvTabRows* rows() const { return pages->TabRows(); }

    // Every shown tab lies inside the rows, and no two overlap.
    void expectEveryTabInView() const
    {
        for (int i = 0; i < pages->count(); ++i) {
            const QRect tab = rows()->TabRect(i);
            EXPECT_EQ(tab.isEmpty(), !pages->isTabVisible(i)) << i;
            if (tab.isEmpty())
                continue;
            EXPECT_TRUE(rows()->rect().contains(tab)) << i;
            for (int j = i + 1; j < pages->count(); ++j)
                EXPECT_FALSE(tab.intersects(rows()->TabRect(j))) << i << " and " << j;
        }
    }

    QWidget window;
    TAdvPageControl* pages = nullptr;
};

}  // namespace

TEST_F(AdvPageControlTest, TabsTakeAsManyRowsAsTheWidthNeedsAndAClickChoosesOne)
{
    EXPECT_GE(rows()->RowCount(), 2);
    EXPECT_EQ(rows()->height(), rows()->heightForWidth(rows()->width()));
    expectEveryTabInView();
    // The first tab at the top left; a tab of the last row chosen by a click.
    EXPECT_EQ(rows()->TabRect(0).topLeft(), QPoint(0, 0));
    const QRect last = rows()->TabRect(16);
    EXPECT_GT(last.top(), 0);
    QTest::mouseClick(rows(), Qt::LeftButton, Qt::NoModifier, last.center());
    EXPECT_EQ(pages->currentIndex(), 16);
    EXPECT_TRUE(pages->widget(16)->isVisible());
    QTest::keyClick(rows(), Qt::Key_Left);
    EXPECT_EQ(pages->currentIndex(), 15);

    // Narrower, more rows; every tab still in view.
    const int before = rows()->RowCount();
    window.resize(400, 400);
    QTest::qWait(20);
    EXPECT_GT(rows()->RowCount(), before);
    expectEveryTabInView();
}

TEST_F(AdvPageControlTest, RowsFollowHiddenRenamedAndDisabledTabs)
{
    // A read-only mode hides the tabs above its level: the others close up.
    for (int i : {3, 4, 15, 16})
        pages->setTabVisible(i, false);
    expectEveryTabInView();
    EXPECT_EQ(rows()->TabAt(rows()->TabRect(5).center()), 5);
    pages->setTabText(5, QStringLiteral("A much longer caption than before "));
    expectEveryTabInView();
    EXPECT_GT(rows()->TabRect(5).width(), rows()->fontMetrics().horizontalAdvance(pages->tabText(5)));

    // Pages disabled while a command runs take their tabs with them.
    pages->setCurrentIndex(0);
    pages->setEnabled(false);
    EXPECT_FALSE(rows()->isEnabled());
    QTest::mouseClick(rows(), Qt::LeftButton, Qt::NoModifier, rows()->TabRect(6).center());
    EXPECT_EQ(pages->currentIndex(), 0);
    pages->setEnabled(true);
    pages->setTabEnabled(6, false);
    QTest::mouseClick(rows(), Qt::LeftButton, Qt::NoModifier, rows()->TabRect(6).center());
    EXPECT_EQ(pages->currentIndex(), 0);
}
