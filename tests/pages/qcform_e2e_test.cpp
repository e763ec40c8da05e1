// The QC form in the program, logged on to the emulated unit: activating it copies the unit's
// points into its controls, stream by stream, for as many streams as the unit has.
#include "pagefixture.h"

#include "qcfillmap.h"
#include "qcform.h"
#include "shellwindows.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>

using namespace qcreport;

namespace {

class QCFormWithUnit : public PageWithUnit {
protected:
    // Logs on to a unit of that many streams and activates the form.
    TQCForm* fillFor(int streams)
    {
        EXPECT_TRUE(unit->setValue(20, streams - 1));
        // Distinct values, so a control filled from the wrong point shows.
        for (const StreamFillRow& row : StreamFillRows())
            for (int id : row.pointIds) {
                if (row.target.rule == FillRule::TrueBox)
                    unit->setValue(static_cast<std::uint16_t>(id), id % 2 == 0);
                else if (row.target.rule == FillRule::Text &&
                         !unit->setValue(static_cast<std::uint16_t>(id), id % 97 + 1))
                    unit->setValue(static_cast<std::uint16_t>(id), QStringLiteral("t%1").arg(id));
            }
        logOn();
        auto* form = qobject_cast<TQCForm*>(shellwindows::Window("QCForm"));
        EXPECT_NE(form, nullptr);
        if (form)
            form->FormActivate();
        return form;
    }

    // Every text and check-box control of each stream shown against the point the unit gave.
    void expectStreamsMatchTheUnit(TQCForm* form, int streams)
    {
        DataBase* db = DataBase::Instance();
        int checked = 0;
        for (int s = 1; s <= streams; ++s)
            for (const StreamFillRow& row : StreamFillRows()) {
                const QString name = StreamControlName(row.target.control, s);
                const QString value = QString::fromStdString(db->GetPointText(row.pointIds[std::size_t(s - 1)]));
                if (row.target.rule == FillRule::Text) {
                    EXPECT_EQ(form->findChild<QLineEdit*>(name)->text(), value) << name.toStdString();
                    ++checked;
                } else if (row.target.rule == FillRule::TrueBox) {
                    EXPECT_EQ(form->findChild<QCheckBox*>(name)->isChecked(), value == "True") << name.toStdString();
                    ++checked;
                }
            }
        EXPECT_GE(checked, 10 * streams);
        auto* tabs = form->findChild<QTabWidget*>("PageControlStreams");
        for (int tab = 0; tab < 4; ++tab)
            EXPECT_EQ(tabs->isTabVisible(tab), tab < streams) << tab;
    }
};

}  // namespace

TEST_F(QCFormWithUnit, FillsTwoStreamsFromTheUnit)
{
    TQCForm* form = fillFor(2);
    ASSERT_NE(form, nullptr);
    expectStreamsMatchTheUnit(form, 2);
}

TEST_F(QCFormWithUnit, FillsFourStreamsFromTheUnit)
{
    TQCForm* form = fillFor(4);
    ASSERT_NE(form, nullptr);
    expectStreamsMatchTheUnit(form, 4);
}
