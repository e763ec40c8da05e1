// The Global tab in the main window, logged on to the emulated unit: what it reads, and the
// alarm boxes' writes as the unit receives them.
#include "pagefixture.h"

#include "dbswitches.h"
#include "dbtextentry.h"
#include "globalpage.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

namespace {

constexpr int kGlobalPageTab = 5;
constexpr int kGlobalWriteEntry = 0x04;

class GlobalTab : public PageWithUnit {
protected:
    TfraAnalyzerGlobal* page() const { return qobject_cast<TfraAnalyzerGlobal*>(form->Frame(kGlobalPageTab)); }
    template <typename T>
    T* child(const char* name) const
    {
        T* w = page()->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

}  // namespace

TEST_F(GlobalTab, ShowsTheUnitsSettingsAndWritesARelayClickAsTheWholeMask)
{
    ASSERT_TRUE(unit->setValue(303, 0x8103));
    ASSERT_TRUE(unit->setValue(284, 1234));
    ASSERT_TRUE(unit->setValue(20, 1));
    logOn();
    enterTab(kGlobalPageTab);
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(DataBase::Instance()->expressScan.GetPage(), 2);
    EXPECT_EQ(child<TQLabeledEdit>("RidovazVer")->Text(), "01040809");
    EXPECT_EQ(child<TQLabeledEdit>("edtBypassTimeoutActions")->Text(), "1.23399996757507");
    EXPECT_EQ(form->StreamDisp()->text(), "2-STREAMS");
    EXPECT_TRUE(child<TQCheckBox>("LowTempAction2")->isChecked());

    unit->clearReceived();
    child<TQCheckBox>("LowTempAction3")->click();
    waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    EXPECT_EQ(unit->receivedCount(kGlobalWriteEntry), 1);
    EXPECT_EQ(unit->value(303).toLongLong(), 0x8107);
}

TEST_F(GlobalTab, AnEnabledAlarmLocksItsActionsOnlyWhenTheUnitTookTheWrite)
{
    logOn();
    enterTab(kGlobalPageTab);
    auto* enable = child<TQCheckBox>("ckAlarmBatt");
    auto* relay = child<TQCheckBox>("ckAlmBattR1");

    UnitModel::MessageFault reject;
    reject.requestType = kGlobalWriteEntry;
    reject.kind = UnitModel::MessageFault::Kind::Reject;
    unit->addFault(reject);
    enable->click();
    waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    EXPECT_TRUE(relay->isEnabled()) << "the unit refused the write";
    EXPECT_FALSE(unit->value(11).toBool());

    enable->click();  // cleared again
    enable->click();
    waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    EXPECT_TRUE(unit->value(11).toBool());
    EXPECT_FALSE(relay->isEnabled());
}

TEST_F(GlobalTab, TheClockDialogsManualTokenReachesTheUnitsClock)
{
    logOn();
    modals.answers = {[](QDialog& d) {
        auto* option = d.findChild<QWidget*>("rgSyncOption");
        option->findChildren<QRadioButton*>()[1]->click();
        d.findChild<QDateEdit*>("dtDate")->setDate(QDate(2030, 1, 2));
        d.findChild<QTimeEdit*>("dtTime")->setTime(QTime(3, 4, 5));
        d.findChild<QPushButton*>("btnOk")->click();
    }};
    form->tbtnSyncClick();
    waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    EXPECT_EQ(modals.captions.back(), "Set Analyzer Date & Time");
    // The command corrects for the time the write takes: compare down to the minute.
    const auto clock = static_cast<std::uint32_t>(unit->value(388).toLongLong());
    const std::uint32_t chosen = (30u << 26) | (1u << 22) | (2u << 17) | (3u << 12) | (4u << 6) | 5u;
    EXPECT_EQ(clock >> 6, chosen >> 6) << shownTexts().join(" | ").toStdString();

    // Cancel sends nothing.
    unit->clearReceived();
    modals.answers = {ScriptedModals::press("btnCancel")};
    form->tbtnSyncClick();
    waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    EXPECT_EQ(unit->receivedCount(kGlobalWriteEntry), 0);
}
