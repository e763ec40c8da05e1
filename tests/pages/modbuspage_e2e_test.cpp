// The Modbus tab in the main window, logged on to the emulated unit: a new list made through the
// "Create Modbus" dialog, a point dragged in, the toolbar's write and the map read back.
#include "modbuslist.h"
#include "modbuspage.h"
#include "pagefixture.h"
#include "pointtreeadapter.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr int kModbusTab = 12;

class ModbusTab : public PageWithUnit {
protected:
    TfraModbus* page() const { return qobject_cast<TfraModbus*>(form->Frame(kModbusTab)); }
    QString modeText() const { return page()->findChild<QLabel*>("lblMBModeText")->text(); }
    void settle()
    {
        waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    }
    QTreeWidgetItem* firstPointNode() const
    {
        QTreeWidgetItemIterator it(page()->PointTree());
        for (; *it; ++it)
            if ((*it)->childCount() == 0 && (*it)->data(0, PointTreeAdapter::DataRole).toInt() >= 0)
                return *it;
        return nullptr;
    }
};

}  // namespace

TEST_F(ModbusTab, ANewListWithADroppedPointReachesTheUnitAndReadsBack)
{
    logOn();
    enterTab(kModbusTab);
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(DataBase::Instance()->expressScan.GetPage(), 7);
    EXPECT_EQ(modeText(), "ENRON");

    // "New Modbus List": MODICON16 chosen in the dialog.
    modals.answers = {[](QDialog& d) {
        d.findChild<QRadioButton*>("rgMBType1")->setChecked(true);
        d.findChild<QPushButton*>("btnOK")->click();
    }};
    page()->findChild<QToolButton*>("NewModbusList")->click();
    settle();
    EXPECT_EQ(modals.captions.last(), "Create Modbus");
    EXPECT_EQ(modeText(), "MODICON16");

    QTreeWidgetItem* point = firstPointNode();
    ASSERT_NE(point, nullptr);
    page()->PointTree()->setCurrentItem(point);
    ASSERT_TRUE(page()->treeDBStartDrag());
    QTreeWidgetItem* inputStatus = page()->GroupNode({1, -1});
    ASSERT_TRUE(page()->tlModbusDragOver(inputStatus, page()->ModbusTree()));
    page()->tlModbusDragDrop(inputStatus, page()->ModbusTree());
    EXPECT_EQ(page()->GroupNode({1, -1})->text(0), "Input Status (1)");
    EXPECT_EQ(page()->GroupNode({0, -1})->text(0), "Output \"Coils\" Status (1)");
    // Logged on, a row shows the point's value rather than "0".
    DatabasePoint* p = DataBase::Instance()->GetPointByIndex(point->data(0, PointTreeAdapter::DataRole).toInt());
    EXPECT_EQ(page()->GroupNode({1, -1})->child(0)->text(4), QString::fromStdString(p->ToString()));

    const ModmapImage sent = DataBase::Instance()->GetModbusList().GetImage();
    form->tbtnWriteClick();
    settle();
    const QByteArray unitMap = unit->modmap();
    ASSERT_EQ(unitMap.size(), 517);
    EXPECT_EQ(unitMap.at(0), 1);
    EXPECT_EQ(unitMap.mid(17, 10), QByteArray(reinterpret_cast<const char*>(&sent.Entries[0]), 10));

    // A fresh local list, then "Load Modbus List": the unit's map comes back into the view.
    modals.answers = {ScriptedModals::press("btnOK")};
    page()->findChild<QToolButton*>("NewModbusList")->click();
    settle();
    ASSERT_EQ(page()->GroupNode({1, -1})->childCount(), 0);
    page()->findChild<QToolButton*>("btnLoadModbus")->click();
    settle();
    EXPECT_EQ(modeText(), "MODICON16");
    ASSERT_NE(page()->GroupNode({1, -1}), nullptr);
    EXPECT_EQ(page()->GroupNode({1, -1})->text(0), "Input Status (1)");
    EXPECT_EQ(page()->GroupNode({1, -1})->child(0)->text(1), "10001");
}

TEST_F(ModbusTab, ReadOnlyModeKeepsFilesAndPrintingButNoEdits)
{
    logOn(false);
    enterTab(kModbusTab);
    ASSERT_NE(page(), nullptr);
    EXPECT_TRUE(page()->IsReadOnly());
    EXPECT_FALSE(page()->findChild<QToolButton*>("NewModbusList")->isEnabled());
    EXPECT_FALSE(page()->treeDBStartDrag());
    for (const char* item : {"mnuPrint", "mnuLoadModbusList", "mnuSaveModbusList", "mnuEditSelected"})
        EXPECT_TRUE(page()->PopupMenu()->findChild<QAction*>(item)->isEnabled()) << item;
}
