#include "archiveviewer.h"
#include "discreteinputpage.h"
#include "factorypage.h"
#include "outputpage.h"
#include "pointfixture.h"
#include "testpages.h"
#include "timerspage.h"

#include <QLabel>
#include <QLineEdit>

namespace {
class PageFrameTest : public DatabaseFixture {};
}  // namespace

TEST_F(PageFrameTest, EnteringAPageRebuildsTheScanListFromItsControls)
{
    // A frame of the framework itself: the pages' own lists are their tests' business.
    TPageFrame page("frScanTest", ScanPage{14, true, false}, testenv::pageServices(*db));
    auto* a = new QLineEdit(&page);
    a->setProperty("DbId", 12);
    auto* b = new QLineEdit(&page);
    b->setProperty("DbId", 4);
    b->setProperty("DbPolled", true);
    new QLineEdit(&page);  // unbound
    db->expressScan.AddPoint(999);
    page.RegisterPoints();
    const ExpressScan& scan = db->expressScan;
    EXPECT_EQ(scan.MainList(), (std::vector<int>{12, 4}));
    EXPECT_EQ(scan.AlternateList(), std::vector<int>{4});
    EXPECT_EQ(scan.GetPage(), 14);
    EXPECT_FALSE(scan.ShowsWaitOnRead());
    EXPECT_EQ(&scan.PolledList(), &scan.AlternateList());

    TfrmTimer1 timers(testenv::pageServices(*db));
    timers.RegisterPoints();
    EXPECT_EQ(scan.MainList(), std::vector<int>{20});
    EXPECT_EQ(scan.GetPage(), 16);

    TfraArchiveViewer viewer(testenv::pageServices(*db));
    viewer.RegisterPoints();
    EXPECT_TRUE(scan.MainList().empty());
    EXPECT_EQ(scan.GetPage(), 1);
}

TEST_F(PageFrameTest, CautionPagesWarnOnEntry)
{
    struct Case {
        std::function<void()> enter;
        const char* word;
    };
    TfraIO io(testenv::pageServices(*db));
    TfrmInput2 wet(testenv::pageServices(*db));
    TfraOutput outputs(testenv::pageServices(*db));
    const Case cases[] = {{[&] { io.RegisterPoints(); }, "Inputs-DRY"},
                          {[&] { wet.RegisterPoints(); }, "Inputs-WET"},
                          {[&] { outputs.RegisterPoints(); }, "Outputs"}};
    for (const auto& c : cases) {
        testenv::dialogs().clear();
        c.enter();
        ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
        EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Warning");
        EXPECT_EQ(testenv::dialogs().shown()[0].text,
                  QString("Changing parameters in %1 Page may affect operation of the analyzer.\nIt is recommended "
                          "that any change in this page be done by authorised personal only.")
                      .arg(c.word));
    }
}

TEST_F(PageFrameTest, FactoryShowsControlsOrItsNotice)
{
    TfraFactory factory(testenv::pageServices(*db));
    auto* control = new QLineEdit(&factory);
    factory.ShowControls(false);
    auto* notice = factory.findChild<QLabel*>("Qcomment");
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(control->isHidden());
    factory.ShowControls(true);
    EXPECT_TRUE(notice->isHidden());
    EXPECT_FALSE(control->isHidden());
    EXPECT_EQ(notice->text(),
              "Only authorized user can access this page, please contact Quenrick for more informations.");
    EXPECT_TRUE(factory.findChild<QLabel*>("lblStream2")->isHidden()) << "the stream label never shows";

    QWidget box;
    auto* c1 = new QLineEdit(&box);
    DisableChildControls(&box, true);
    EXPECT_FALSE(c1->isEnabled());
    DisableChildControls(&box, false);
    EXPECT_TRUE(c1->isEnabled());
}
