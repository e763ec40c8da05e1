// The Modbus page alone against the point database: its trees, drags, keys and read-only mode,
// the "*.515mb" files and the printed register listing.
#include "modbuspage.h"
#include "controlfixture.h"
#include "database.h"
#include "databasepoint.h"
#include "modbuslist.h"
#include "pagehost.h"
#include "pointtreeadapter.h"
#include "testenv.h"
#include "testpages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstring>

using modbuspage::Controller;
using modbuspage::GroupRef;

namespace {

class ModbusRecordingHost : public PageHost {
public:
    void SetStreamDisplay(const QString& text) override { streamDisplay = text; }
    void WriteSinglePoint(int, const std::string&) override {}
    void Queue(const char* command, const std::string&) override { queued.push_back(command); }
    bool LoggedOn() const override { return loggedOn; }
    void SetStatusText(const QString& text) override { status = text; }

    QString streamDisplay;
    QString status = "unchanged";
    std::vector<std::string> queued;
    bool loggedOn = false;
};

QByteArray imageBytes(const ModmapImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), sizeof image);
}

class ModbusPageTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        list = &db->GetModbusList();
        page = std::make_unique<TfraModbus>(testenv::pageServices(*db, host));
        page->resize(980, 540);
        ASSERT_EQ(broadcast(page.get(), winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db)), 0);
        page->RegisterPoints();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override
    {
        page.reset();
        ControlFixture::TearDown();
    }

    // The point nodes of the tree of mappable points, text points apart.
    QTreeWidgetItem* pointNode(bool text, int skip = 0) const
    {
        QTreeWidgetItemIterator it(page->PointTree());
        for (; *it; ++it) {
            const int index = (*it)->data(0, PointTreeAdapter::DataRole).toInt();
            if ((*it)->childCount() > 0 || index < 0)
                continue;
            DatabasePoint* p = db->GetPointByIndex(index);
            if (p && (p->GetTypeName() == "text") == text && skip-- == 0)
                return *it;
        }
        return nullptr;
    }
    DatabasePoint* pointOf(const QTreeWidgetItem* node) const
    {
        return db->GetPointByIndex(node->data(0, PointTreeAdapter::DataRole).toInt());
    }
    // A drag from the point tree onto the node of the list, as the mouse does it.
    bool dragOnto(QTreeWidgetItem* from, QTreeWidgetItem* onto)
    {
        page->PointTree()->setCurrentItem(from);
        if (!page->treeDBStartDrag())
            return false;
        const bool accepted = page->tlModbusDragOver(onto, page->ModbusTree());
        page->tlModbusDragDrop(onto, page->ModbusTree());
        return accepted;
    }
    QStringList rowTexts(GroupRef group) const
    {
        QStringList out;
        QTreeWidgetItem* node = page->GroupNode(group);
        for (int i = 0; node && i < node->childCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << node->child(i)->text(c);
            out << cells.join(';');
        }
        return out;
    }
    QStringList topCaptions() const
    {
        QStringList out;
        for (int i = 0; i < page->ModbusTree()->topLevelItemCount(); ++i)
            out << page->ModbusTree()->topLevelItem(i)->text(0);
        return out;
    }
    QString modeText() const { return page->findChild<QLabel*>("lblMBModeText")->text(); }
    void key(int code, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent press(QEvent::KeyPress, code, modifiers);
        QCoreApplication::sendEvent(page->ModbusTree(), &press);
    }
    // A MODICON32 list of a few rows in each kind of group.
    void fillModicon32()
    {
        Controller c(*list);
        c.NewList(2);
        for (int i = 0; i < 5; ++i) {
            const GroupRef groups[] = {{1, -1}, {2, 0}, {2, 1}, {3, 2}, {2, 1}};
            ASSERT_EQ(c.Drop(groups[i], pointOf(pointNode(false, i))), modbuspage::DropResult::Added);
        }
        page->RebuildList();
    }
    QString path(const char* name) const { return dir.filePath(name); }
    static void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readFile(const QString& name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString printedText()
    {
        const QString pdf = path("listing.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        page->SetPrinter(&printer);
        testenv::dialogs().answerDialog([](QDialog&) { return QDialog::Accepted; });
        page->mnuPrintClick();
        page->SetPrinter(nullptr);
        const QString keep = qEnvironmentVariable("KVT_GRAB_DIR");
        if (!keep.isEmpty()) {
            QFile::remove(QDir(keep).filePath("fraModbus-listing.pdf"));
            QFile::copy(pdf, QDir(keep).filePath("fraModbus-listing.pdf"));
        }
        QProcess pdftotext;
        pdftotext.start(PDFTOTEXT, {"-layout", pdf, "-"});
        if (!pdftotext.waitForFinished(30000))
            return {};
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }

    ModbusRecordingHost host;
    ModbusList* list = nullptr;
    std::unique_ptr<TfraModbus> page;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ModbusPageTest, FirstEntryBuildsBothTreesAndListsThePagesPoints)
{
    ASSERT_GT(page->PointTree()->topLevelItemCount(), 0);
    EXPECT_EQ(page->PointTree()->topLevelItem(0)->text(0), "Avaiable Points");
    EXPECT_EQ(topCaptions(),
              (QStringList{"Coils (0)", "Short Integers (0)", "Long Integers (0)", "Floating Point (0)"}));
    EXPECT_EQ(modeText(), "ENRON");
    const ExpressScan& scan = db->expressScan;
    EXPECT_EQ(scan.GetPage(), 7);
    for (int id : {389, 20, 1630, 1631})
        EXPECT_TRUE(scan.Contains(id, false)) << id;
    const QStringList popup = [&] {
        QStringList out;
        for (QAction* a : page->PopupMenu()->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }();
    EXPECT_EQ(popup, (QStringList{"Load Modbus List from Analyzer", "Delete Selected Item", "-", "Print...", "-",
                                  "Load a Modbus List from a File", "Save This Modbus List to a File"}));
}

TEST_F(ModbusPageTest, DraggedPointsBecomeRowsWithTheirRegisterNumbers)
{
    QTreeWidgetItem* first = pointNode(false, 0);
    QTreeWidgetItem* second = pointNode(false, 1);
    ASSERT_TRUE(first && second);
    DatabasePoint* p1 = pointOf(first);
    DatabasePoint* p2 = pointOf(second);
    ASSERT_TRUE(dragOnto(first, page->GroupNode({1, -1})));
    const QString perm1 = p1->IsWritable() ? "Writable" : "Read Only";
    EXPECT_EQ(rowTexts({1, -1}), QStringList{QString::fromStdString(p1->GetName()) + ";3001;" +
                                             QString::fromStdString(p1->GetTypeName()) + ";" + perm1 + ";0"});
    EXPECT_EQ(topCaptions()[1], "Short Integers (1)");
    EXPECT_TRUE(db->expressScan.Contains(p1->GetId(), false));

    // A group with rows is reached through one of its rows.
    EXPECT_FALSE(dragOnto(second, page->GroupNode({1, -1})));
    EXPECT_EQ(page->GroupNode({1, -1})->childCount(), 1);
    EXPECT_TRUE(dragOnto(second, page->GroupNode({1, -1})->child(0)));
    ASSERT_EQ(page->GroupNode({1, -1})->childCount(), 2);
    EXPECT_EQ(page->GroupNode({1, -1})->child(1)->text(0), QString::fromStdString(p2->GetName()));
    EXPECT_EQ(page->GroupNode({1, -1})->child(1)->text(1), "3002");

    // Text points never land.
    // The tree offers no text point; one placed there is refused all the same.
    int textIndex = -1;
    for (int i = 0; i < db->GetPointCount() && textIndex < 0; ++i)
        if (db->GetPointByIndex(i) && db->GetPointByIndex(i)->GetTypeName() == "text")
            textIndex = i;
    ASSERT_GE(textIndex, 0);
    auto* text = new QTreeWidgetItem(page->PointTree()->topLevelItem(0));
    text->setData(0, PointTreeAdapter::DataRole, textIndex);
    EXPECT_FALSE(dragOnto(text, page->GroupNode({0, -1})));
    EXPECT_EQ(page->GroupNode({0, -1})->childCount(), 0);
    EXPECT_EQ(ModmapAdapter::Instance()->GetEntryCount(), 2);
}

TEST_F(ModbusPageTest, Modicon32RootsTakeDropsOnlyThroughTheirSubgroups)
{
    Controller(*list).NewList(2);
    page->RebuildList();
    EXPECT_EQ(modeText(), "MODICON32");
    QTreeWidgetItem* point = pointNode(false);
    EXPECT_FALSE(dragOnto(point, page->GroupNode({2, -1})));
    EXPECT_TRUE(dragOnto(point, page->GroupNode({2, 1})));
    EXPECT_EQ(page->GroupNode({2, -1})->text(0), "Input Register (1)");
    EXPECT_EQ(page->GroupNode({3, 1})->text(0), "Holding Register Long (1)");
    EXPECT_EQ(page->GroupNode({3, 1})->child(0)->text(1), "40001");
}

TEST_F(ModbusPageTest, AFullListSaysSoAndAddsNothing)
{
    Controller c(*list);
    c.NewList(1);
    DatabasePoint* p = pointOf(pointNode(false));
    for (int i = 0; i < 49; ++i)
        c.Drop({0, -1}, p);
    ASSERT_GE(list->AddPoint(p, 8), 0);
    page->RebuildList();
    ASSERT_EQ(c.TotalCount(), 99);
    testenv::dialogs().clear();
    dragOnto(pointNode(false), page->GroupNode({2, -1}));
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Attention");
    EXPECT_EQ(testenv::dialogs().shown()[0].text,
              "The Modbus List if full. The total amount should be less than 100 points.");
    EXPECT_EQ(c.TotalCount(), 99);
    EXPECT_EQ(page->GroupNode({2, -1})->childCount(), 0);
}

TEST_F(ModbusPageTest, KeysRemoveAndMoveTheSelectedRowWithItsPair)
{
    Controller c(*list);
    c.NewList(1);
    std::vector<QString> names;
    for (int i = 0; i < 3; ++i) {
        DatabasePoint* p = pointOf(pointNode(false, i));
        names.push_back(QString::fromStdString(p->GetName()));
        c.Drop({1, -1}, p);
    }
    page->RebuildList();
    QTreeWidget* tree = page->ModbusTree();
    tree->setCurrentItem(page->GroupNode({1, -1})->child(0));
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(page->GroupNode({1, -1})->child(1)->text(0), names[0]);
    EXPECT_EQ(page->GroupNode({0, -1})->child(1)->text(0), names[0]);
    EXPECT_EQ(tree->currentItem(), page->GroupNode({1, -1})->child(1));
    EXPECT_EQ(page->GroupNode({1, -1})->child(1)->text(1), "10002");

    tree->setCurrentItem(page->GroupNode({1, -1})->child(0));
    key(Qt::Key_Up, Qt::AltModifier);  // the first row stays
    EXPECT_EQ(page->GroupNode({1, -1})->child(0)->text(0), names[1]);

    tree->setCurrentItem(page->GroupNode({1, -1})->child(0));
    key(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(page->GroupNode({1, -1})->childCount(), 2);
    EXPECT_EQ(page->GroupNode({0, -1})->childCount(), 2);
    EXPECT_EQ(page->GroupNode({0, -1})->child(0)->text(1), "1");
    EXPECT_EQ(ModmapAdapter::Instance()->GetEntryCount(), 4);

    // A group node selected: the menu's removal does nothing.
    tree->setCurrentItem(page->GroupNode({0, -1}));
    page->mnuDeleteSelectedClick();
    EXPECT_EQ(ModmapAdapter::Instance()->GetEntryCount(), 4);
}

TEST_F(ModbusPageTest, ReadOnlyRefusesEveryEditButLoadsFiles)
{
    fillModicon32();
    const QByteArray before = imageBytes(list->GetImage());
    ASSERT_TRUE(list->SaveToFile(path("kept.515mb")) == 0);
    Controller(*list).NewList(0);
    page->RebuildList();

    page->SetReadOnly(true);
    EXPECT_TRUE(page->IsReadOnly());
    EXPECT_FALSE(page->findChild<QToolButton*>("NewModbusList")->isEnabled());
    EXPECT_FALSE(page->PopupMenu()->findChild<QAction*>("mnuDeleteSelected")->isEnabled());
    EXPECT_FALSE(dragOnto(pointNode(false), page->GroupNode({0, -1})));
    EXPECT_EQ(page->GroupNode({0, -1})->childCount(), 0);

    testenv::dialogs().answerText(path("kept.515mb"));
    page->mnuLoadModbusListClick();
    EXPECT_EQ(modeText(), "MODICON32");
    EXPECT_EQ(imageBytes(list->GetImage()), before);
    page->ModbusTree()->setCurrentItem(page->GroupNode({2, 1})->child(0));
    key(Qt::Key_Delete, Qt::NoModifier);
    page->mnuDeleteSelectedClick();
    EXPECT_EQ(imageBytes(list->GetImage()), before);

    page->SetReadOnly(false);
    EXPECT_TRUE(page->findChild<QToolButton*>("NewModbusList")->isEnabled());
}

TEST_F(ModbusPageTest, AFileSavedAndLoadedBackIsTheSameListByteForByte)
{
    fillModicon32();
    const QStringList shownBefore = rowTexts({2, 1}) + rowTexts({3, 2}) + rowTexts({1, -1});
    testenv::dialogs().answerText(path("map.515mb"));
    page->mnuSaveModbusListClick();
    EXPECT_EQ(host.status, "Modbus List successfully saved to file");
    const QByteArray saved = readFile(path("map.515mb"));
    ASSERT_EQ(saved.size(), 517);
    EXPECT_EQ(saved, imageBytes(list->GetImage()));
    EXPECT_EQ(saved.at(0), 2);

    Controller(*list).NewList(0);
    page->RebuildList();
    ASSERT_EQ(modeText(), "ENRON");
    testenv::dialogs().answerText(path("map.515mb"));
    page->mnuLoadModbusListClick();
    EXPECT_EQ(host.status, "Loaded Modbus list from file");
    EXPECT_EQ(modeText(), "MODICON32");
    EXPECT_EQ(page->ModbusTree()->topLevelItem(2)->childCount(), 3);
    EXPECT_EQ(rowTexts({2, 1}) + rowTexts({3, 2}) + rowTexts({1, -1}), shownBefore);

    // A name typed without extension gets the list's one.
    testenv::dialogs().answerText(path("again"));
    page->mnuSaveModbusListClick();
    EXPECT_EQ(readFile(path("again.515mb")), saved);
    EXPECT_TRUE(testenv::dialogs().texts().filter("Error").isEmpty());
}

TEST_F(ModbusPageTest, BadFilesAreRefusedWholeAndChangeNothing)
{
    fillModicon32();
    const QByteArray good = imageBytes(list->GetImage());
    const QStringList shown = rowTexts({2, 1});
    QByteArray unknownMode = good;
    unknownMode[0] = 3;
    QByteArray tooMany = good;
    const std::uint16_t sizes[4] = {40, 40, 20, 1};
    for (int b = 0; b < 4; ++b)
        std::memcpy(tooMany.data() + 1 + 4 * b + 2, &sizes[b], 2);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"short.515mb", good.left(516)}, {"long.515mb", good + QByteArray(1, '\0')},
        {"empty.515mb", QByteArray()},   {"mode.515mb", unknownMode},
        {"blocks.515mb", tooMany},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path(c.name), c.bytes);
        testenv::dialogs().clear();
        testenv::dialogs().answerText(path(c.name));
        page->mnuLoadModbusListClick();
        const QStringList texts = testenv::dialogs().texts();
        ASSERT_EQ(texts.size(), 2);  // the open dialog's filter, then the message
        EXPECT_TRUE(texts[1].startsWith("Error opening file \"" + path(c.name) + "\"")) << texts[1].toStdString();
        EXPECT_EQ(imageBytes(list->GetImage()), good);
        EXPECT_EQ(modeText(), "MODICON32");
        EXPECT_EQ(rowTexts({2, 1}), shown);
    }
    testenv::dialogs().clear();
    testenv::dialogs().answerText(path("missing.515mb"));
    page->mnuLoadModbusListClick();
    EXPECT_EQ(testenv::dialogs().texts().size(), 2);
    EXPECT_EQ(imageBytes(list->GetImage()), good);
}

TEST_F(ModbusPageTest, AFailedSaveIsReportedAndCancelledDialogsDoNothing)
{
    fillModicon32();
    testenv::dialogs().answerText(path("no/such/folder/map.515mb"));
    page->mnuSaveModbusListClick();
    const QStringList texts = testenv::dialogs().texts();
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts.last().startsWith("Error saving file \"" + path("no/such/folder/map.515mb") + "\""));
    EXPECT_NE(host.status, "Modbus List successfully saved to file");

    host.status = "unchanged";
    page->mnuSaveModbusListClick();  // no scripted name: cancelled
    page->mnuLoadModbusListClick();
    EXPECT_EQ(host.status, "unchanged");
}

TEST_F(ModbusPageTest, ALoadNotificationRebuildsTheViews)
{
    list->SelectMode(1);
    list->Notify(0, 1, "loadFromUnit", 0);
    EXPECT_EQ(modeText(), "MODICON16");
    EXPECT_EQ(topCaptions(), (QStringList{"Output \"Coils\" Status (0)", "Input Status (0)", "Input Register (0)",
                                          "Output \"Holding\" Register (0)"}));
}

TEST_F(ModbusPageTest, ButtonsQueueTheListCommands)
{
    page->findChild<QToolButton*>("btnLoadModbus")->click();
    EXPECT_EQ(host.queued, std::vector<std::string>{"LoadModbusList"});
    announce(20, "1");
    EXPECT_EQ(host.streamDisplay, "DUAL STREAM");
}

TEST_F(ModbusPageTest, ThePrintedListingShowsTheMapAsTheListDoes)
{
    fillModicon32();
    const QString text = printedText();
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains("Modbus Register Listing"));
    EXPECT_TRUE(text.contains("Modbus Mode: MODICON32"));
    EXPECT_TRUE(text.contains("Address:"));
    EXPECT_TRUE(text.contains("Page 1"));
    EXPECT_FALSE(text.contains("Page 2"));
    QString headings = "Register Name Type Units Value Permissions";
    EXPECT_TRUE(text.simplified().contains(headings));
    for (const QString& caption :
         {QString("Output \"Coils\" Status (1)"), QString("Input Register (4)"),
          QString("----- Input Register Long (2) -----"), QString("----- Holding Register Float (1) -----")})
        EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
    // Every row: its register number and its name on one line, in list order.
    QStringList lines = text.split('\n');
    int from = 0;
    QTreeWidgetItemIterator it(page->ModbusTree());
    for (; *it; ++it) {
        if (!(*it)->data(0, TfraModbus::EntryRole).toBool())
            continue;
        const QString reg = (*it)->text(1);
        const QString name = (*it)->text(0);
        bool found = false;
        for (; from < lines.size() && !found; ++from)
            found = lines[from].simplified().startsWith(reg + " " + name.left(12).simplified());
        EXPECT_TRUE(found) << reg.toStdString() << " " << name.toStdString();
    }
}

TEST_F(ModbusPageTest, ALongListingRepeatsItsHeaderOnEveryPageAndACancelPrintsNothing)
{
    Controller c(*list);
    c.NewList(0);
    for (int i = 0; i < 100; ++i)
        c.Drop({i % 4, -1}, pointOf(pointNode(false, i % 20)));
    page->RebuildList();
    const QString text = printedText();
    EXPECT_TRUE(text.contains("Page 2"));
    EXPECT_GE(text.count("Modbus Register Listing"), 2);
    EXPECT_EQ(text.count("Modbus Register Listing"), text.count("Permissions"));
    EXPECT_TRUE(text.contains("7025"));

    QFile::remove(path("listing.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("listing.pdf"));
    page->SetPrinter(&printer);
    testenv::dialogs().answerDialog([](QDialog&) { return QDialog::Rejected; });
    page->mnuPrintClick();
    page->SetPrinter(nullptr);
    EXPECT_FALSE(QFile::exists(path("listing.pdf")));
}

// With KVT_GRAB_DIR set, the page with a MODICON32 list is saved as fraModbus-list.png at a tab's
// size in the main window.
TEST_F(ModbusPageTest, GrabsThePageWithAListWhenAskedTo)
{
    const QString folder = qEnvironmentVariable("KVT_GRAB_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "KVT_GRAB_DIR not set";
    fillModicon32();
    page->resize(testenv::kTabSize);
    page->show();
    EXPECT_TRUE(page->grab().save(QDir(folder).filePath("fraModbus-list.png")));
}
