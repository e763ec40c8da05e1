#include "confirmchanges.h"

#include "pointfixture.h"

#include <QPushButton>
#include <QTableWidget>

namespace {

class ConfirmChangesTest : public DatabaseFixture {
protected:
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < 3; ++c)
            cells << dialog.lvChanges()->item(r, c)->text();
        return cells;
    }
    DatabasePoint* pointOfType(int type) const
    {
        for (int i = 0; i < db->GetPointCount(); ++i)
            if (DatabasePoint* p = db->GetPointByIndex(i); p && p->GetType() == type)
                return p;
        return nullptr;
    }
    TfrmChanges dialog;
};

}  // namespace

TEST_F(ConfirmChangesTest, RowsFollowTheChangeListWithTheTimerBlock)
{
    EXPECT_EQ(dialog.objectName(), "frmChanges");
    EXPECT_EQ(dialog.windowTitle(), "Confirm Changes");
    DatabasePoint* number = pointOfType(0);
    DatabasePoint* text = pointOfType(13);
    ASSERT_TRUE(number && text);
    number->SetAndNotify("2.5");
    text->SetAndNotify("Site \xE9");
    auto& changes = db->GetChangeList();
    changes.Add(text->GetId());
    changes.Add(WriteLogRecordsManager::kTimerBlockId);
    changes.Add(number->GetId());

    dialog.FormShow();
    ASSERT_EQ(dialog.lvChanges()->rowCount(), 3);
    EXPECT_EQ(row(0), (QStringList{QString::number(text->GetId()), QString::fromStdString(text->GetName()),
                                   QString::fromLatin1("Site \xE9")}));
    EXPECT_EQ(row(1), (QStringList{QString::number(WriteLogRecordsManager::kTimerBlockId), "Timer X", "Changed"}));
    EXPECT_EQ(row(2),
              (QStringList{QString::number(number->GetId()), QString::fromStdString(number->GetName()), "2.5"}));
}

TEST_F(ConfirmChangesTest, AcceptEmptiesTheListAndCancelKeepsIt)
{
    db->GetChangeList().Add(WriteLogRecordsManager::kTimerBlockId);
    db->GetChangeList().Add(0xFFFF);  // no such point: shown without a name
    dialog.FormShow();
    dialog.Button2()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.FormShow();
    EXPECT_EQ(dialog.lvChanges()->rowCount(), 2);

    dialog.Button1()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(db->GetChangeList().Ids().empty());
    dialog.FormShow();
    EXPECT_EQ(dialog.lvChanges()->rowCount(), 0);
}
