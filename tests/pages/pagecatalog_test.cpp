// The pages as a whole: their declarations, and every point they bind against the register map.
#include "pagecatalog.h"
#include "controlfixture.h"
#include "testenv.h"
#include "testpages.h"

#include <QDir>
#include <QVariant>
#include <set>

namespace {
class PageCatalogTest : public ControlFixture {};
}  // namespace

TEST_F(PageCatalogTest, EveryTabHasOnePageAndEveryPageItsNames)
{
    std::set<int> tabs;
    std::set<std::string> frames, sheets;
    for (const PageMaker& maker : pageCatalog()) {
        EXPECT_TRUE(tabs.insert(maker.decl.tab).second) << maker.decl.frameName;
        EXPECT_TRUE(frames.insert(maker.decl.frameName).second);
        EXPECT_TRUE(sheets.insert(maker.decl.sheetName).second);
        EXPECT_EQ(pageDeclForTab(maker.decl.tab), &maker.decl);
    }
    EXPECT_EQ(tabs, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(pageDeclForTab(17), nullptr);
}

TEST_F(PageCatalogTest, EveryBoundPointOfEveryPageIsInTheRegisterMap)
{
    QWidget owner;
    for (const PageMaker& maker : pageCatalog()) {
        QWidget* frame = maker.create(testenv::pageServices(*db), &owner);
        EXPECT_EQ(frame->objectName(), maker.decl.frameName);
        for (QObject* control : frame->findChildren<QObject*>()) {
            bool ok = false;
            const int id = control->property("DbId").toInt(&ok);
            if (!ok || id < 0)
                continue;
            EXPECT_NE(db->GetPointById(id), nullptr)
                << maker.decl.frameName << " " << control->objectName().toStdString() << " binds point " << id;
        }
        // Entering it lists only points of the map as well.
        if (auto* page = qobject_cast<TPageFrame*>(frame); page && maker.decl.entry.enterRoutine) {
            testenv::dialogs().clear();
            page->RegisterPoints();
            for (int id : db->expressScan.MainList())
                EXPECT_NE(db->GetPointById(id), nullptr) << maker.decl.frameName << " lists point " << id;
        }
    }
}

// With KVT_GRAB_DIR set, each page is drawn at the size a tab has in the main window at its default
// size and saved there as <frame name>.png, to look at while building.
TEST_F(PageCatalogTest, GrabsEveryPageWhenAskedTo)
{
    const QString folder = qEnvironmentVariable("KVT_GRAB_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "KVT_GRAB_DIR not set";
    QDir().mkpath(folder);
    for (const PageMaker& maker : pageCatalog()) {
        std::unique_ptr<QWidget> frame(maker.create(testenv::pageServices(*db), nullptr));
        broadcast(frame.get(), winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
        // A few values, so lamps and texts show as they do logged on.
        for (int id : {20, 407, 1437, 349, 1115})
            db->GetPointById(id)->SetAndNotify(id == 20 ? "2" : "True");
        frame->resize(testenv::kTabSize);
        frame->show();
        EXPECT_TRUE(frame->grab().save(QDir(folder).filePath(QString(maker.decl.frameName) + ".png")));
    }
}
