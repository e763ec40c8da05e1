#include "controlfixture.h"
#include "numbertext.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <memory>

namespace {

// Points of the map used below, by the way the database keeps them.
constexpr int kText = 1;        // "Unit Site"
constexpr int kU16 = 10;        // "Purge Time"
constexpr int kFloat = 12;      // "Black Tape Detect Volts (mV)"
constexpr int kBits16 = 13;     // "Alarm: Battery: Actions"
constexpr int kU8 = 20;         // "Streams"
constexpr int kAnalogOut = 50;  // stores the choice's point id for the ordinal a control shows
constexpr int kAnalogOut2 = 54;
constexpr int kBool = 67;     // "Backlight Lock On"
constexpr int kBits32 = 442;  // "Discrete Input 1: Triggers"

class DbControlTest : public ControlFixture {};

struct Kind {
    const char* name;
    std::function<QWidget*(QWidget*)> make;
};

DbControl* binding(QWidget* w)
{
    return dynamic_cast<DbControl*>(w);
}

const std::vector<Kind>& allKinds()
{
    static const std::vector<Kind> kinds = {
        {"TQLabel", [](QWidget* p) { return new TQLabel(p); }},
        {"TQEdit", [](QWidget* p) { return new TQEdit(p); }},
        {"TQLabeledEdit", [](QWidget* p) { return new TQLabeledEdit(p); }},
        {"TQComboBox", [](QWidget* p) { return new TQComboBox(p); }},
        {"TQCheckBox", [](QWidget* p) { return new TQCheckBox(p); }},
        {"TQCheckBox32", [](QWidget* p) { return new TQCheckBox32(p); }},
        {"TQRadioButton", [](QWidget* p) { return new TQRadioButton(p); }},
        {"TQRadioGroup", [](QWidget* p) { return new TQRadioGroup(p); }},
        {"TQImage", [](QWidget* p) { return new TQImage(p); }},
        {"TQGroupBox", [](QWidget* p) { return new TQGroupBox(p); }},
        {"TQPanel", [](QWidget* p) { return new TQPanel(p); }},
        {"TQButton", [](QWidget* p) { return new TQButton(p); }},
        {"TQBitBtn", [](QWidget* p) { return new TQBitBtn(p); }},
        {"TQAdvToolButton", [](QWidget* p) { return new TQAdvToolButton(p); }},
        {"TQUpDown", [](QWidget* p) { return new TQUpDown(p); }},
        {"TQTreeList", [](QWidget* p) { return new TQTreeList(p); }},
    };
    return kinds;
}

void typeInto(QWidget* edit, const QString& text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void typeAndEnter(QWidget* edit, const QString& text)
{
    typeInto(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

}  // namespace

TEST_F(DbControlTest, EveryKindBindsThroughItsDbIdProperty)
{
    for (const Kind& kind : allKinds()) {
        SCOPED_TRACE(kind.name);
        QWidget page;
        QWidget* w = kind.make(&page);
        EXPECT_EQ(w->metaObject()->className(), std::string(kind.name));
        // The page's scan list reads these by name.
        EXPECT_EQ(w->property("DbId").toInt(), dbctl::kNoPoint);
        EXPECT_TRUE(w->property("UseDatabase").toBool());
        ASSERT_TRUE(w->setProperty("DbId", kU8));
        EXPECT_TRUE(w->setProperty("DbPolled", true));
        EXPECT_EQ(binding(w)->DbId(), kU8);
        EXPECT_TRUE(binding(w)->DbPolled());

        int calls = 0;
        binding(w)->OnDBPointValueChanged = [&](QWidget* sender, const QString& value, bool&) {
            EXPECT_EQ(sender, w);
            EXPECT_EQ(value, "3");
            ++calls;
        };
        EXPECT_EQ(broadcast(&page, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db)), 0);
        EXPECT_TRUE(binding(w)->IsAttached());
        EXPECT_EQ(binding(w)->Kind(), dbctl::PointKind::U8);
        announce(kU8, "3");
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(binding(w)->PointValue(), "3");

        // A second registration does not attach twice.
        registerControl(w);
        announce(kU8, "3");
        EXPECT_EQ(calls, 2);

        EXPECT_EQ(broadcast(&page, winmsg::WM_UNREGISTER_DATABASE, dbctl::glueParam(db)), 0);
        EXPECT_FALSE(binding(w)->IsAttached());
        announce(kU8, "3");
        EXPECT_EQ(calls, 2);
    }
}

TEST_F(DbControlTest, PointIdsOutsideSixteenBitsAreRefusedNotCut)
{
    TQEdit edit;
    edit.setDbId(kU16);
    for (int id : {65536 + kU8, 70000, -2, std::numeric_limits<int>::max()}) {
        edit.setProperty("DbId", id);
        EXPECT_EQ(edit.DbId(), kU16) << id;
    }
    edit.setDbId(0);
    EXPECT_EQ(edit.DbId(), 0);
    edit.setDbId(65535);
    EXPECT_EQ(edit.DbId(), 65535);
    edit.setDbId(dbctl::kNoPoint);
    EXPECT_EQ(edit.DbId(), dbctl::kNoPoint);
}

TEST_F(DbControlTest, AnUnboundControlNeverTouchesPointZero)
{
    load(0, "Serial 42");
    QWidget page;
    auto* noId = new TQEdit(&page);  // DbId left alone
    auto* idOnly = new TQEdit(&page);
    idOnly->setDbId(0);
    idOnly->setUseDatabase(false);  // a mere id for the page's own writes
    auto* box = new TQCheckBox(&page);
    EXPECT_EQ(broadcast(&page, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db)), 0);
    EXPECT_FALSE(noId->IsAttached());
    EXPECT_FALSE(idOnly->IsAttached());

    typeAndEnter(noId, "typed");
    typeAndEnter(idOnly, "typed");
    box->click();
    noId->MarkEdited();
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(pending(0), "Serial 42");
    announce(0, "Serial 43");
    EXPECT_EQ(noId->text(), "typed");
    EXPECT_EQ(idOnly->text(), "typed");
}

TEST_F(DbControlTest, AnIdTheMapDoesNotHoldLeavesOnlyThatControlUnattached)
{
    QWidget page;
    auto* unknown = new TQLabel(&page);
    unknown->setDbId(12345);
    auto* known = new TQLabel(&page);
    known->setDbId(kText);
    EXPECT_EQ(broadcast(&page, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db)), 0);
    EXPECT_FALSE(unknown->IsAttached());
    EXPECT_TRUE(known->IsAttached());
}

TEST_F(DbControlTest, ChangingTheBindingMovesTheAttachment)
{
    TQLabel label;
    label.setDbId(kU8);
    registerControl(&label);
    label.setDbId(kU16);
    announce(kU8, "2");
    EXPECT_EQ(label.text(), "");
    announce(kU16, "600");
    EXPECT_EQ(label.text(), "600");
    label.setUseDatabase(false);
    announce(kU16, "700");
    EXPECT_EQ(label.text(), "600");
    label.setUseDatabase(true);
    announce(kU16, "800");
    EXPECT_EQ(label.text(), "800");
}

TEST_F(DbControlTest, ADestroyedControlIsNoLongerTold)
{
    auto* edit = new TQEdit;
    auto* box = new TQCheckBox;
    edit->setDbId(kU8);
    box->setDbId(kU8);
    registerControl(edit);
    registerControl(box);
    delete edit;
    delete box;
    announce(kU8, "1");  // would reach freed controls
    SUCCEED();
}

TEST_F(DbControlTest, TextControlsAskTheirHandlerBeforeShowing)
{
    struct Case {
        const char* name;
        std::function<QWidget*()> make;
        std::function<QString(QWidget*)> shown;
    };
    const Case cases[] = {
        {"TQLabel", [] { return new TQLabel; }, [](QWidget* w) { return static_cast<QLabel*>(w)->text(); }},
        {"TQEdit", [] { return new TQEdit; }, [](QWidget* w) { return static_cast<QLineEdit*>(w)->text(); }},
        {"TQLabeledEdit", [] { return new TQLabeledEdit; },
         [](QWidget* w) { return static_cast<TQLabeledEdit*>(w)->Text(); }},
        {"TQGroupBox", [] { return new TQGroupBox; }, [](QWidget* w) { return static_cast<QGroupBox*>(w)->title(); }},
        {"TQPanel", [] { return new TQPanel; }, [](QWidget* w) { return static_cast<TQPanel*>(w)->Caption(); }},
        {"TQButton", [] { return new TQButton; }, [](QWidget* w) { return static_cast<QAbstractButton*>(w)->text(); }},
        {"TQBitBtn", [] { return new TQBitBtn; }, [](QWidget* w) { return static_cast<QAbstractButton*>(w)->text(); }},
        {"TQAdvToolButton", [] { return new TQAdvToolButton; },
         [](QWidget* w) { return static_cast<QAbstractButton*>(w)->text(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QWidget> w(c.make());
        binding(w.get())->setDbId(kText);
        registerControl(w.get());
        QString seenByHandler = "unset";
        bool show = true;
        binding(w.get())->OnDBPointValueChanged = [&](QWidget* sender, const QString& value, bool& showValue) {
            seenByHandler = c.shown(sender);
            EXPECT_TRUE(showValue);
            showValue = show;
        };
        announce(kText, "North");
        EXPECT_EQ(seenByHandler, "");
        EXPECT_EQ(c.shown(w.get()), "North");
        // A handler that shows the value itself leaves the control's display alone.
        show = false;
        announce(kText, "South");
        EXPECT_EQ(c.shown(w.get()), "North");
        EXPECT_EQ(binding(w.get())->PointValue(), "South");
    }
}

TEST_F(DbControlTest, AnEditStoresWhatTheUserTypesAndNothingSetFromCode)
{
    QWidget page;
    auto* edit = new TQEdit(&page);
    edit->setDbId(kU16);
    registerControl(edit);
    announce(kU16, "30");
    EXPECT_EQ(edit->text(), "30");

    // Enter ends the edit: stored at once, nothing sent.
    typeAndEnter(edit, "45");
    EXPECT_EQ(pending(kU16), "45");
    EXPECT_FALSE(edit->HasUserEdit());
    EXPECT_TRUE(link.sent.empty());

    // A value put in the box by the page is not an edit.
    edit->setText("99");
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(pending(kU16), "45");

    // Unless the page says so.
    edit->MarkEdited();
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(pending(kU16), "99");

    // An edit not ended yet is stored by the send-to-database broadcast.
    typeInto(edit, " 0012");
    EXPECT_TRUE(edit->HasUserEdit());
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(pending(kU16), "12");

    // A value arriving from the unit replaces an edit not yet stored.
    typeInto(edit, "77");
    announce(kU16, "31");
    EXPECT_EQ(edit->text(), "31");
    EXPECT_FALSE(edit->HasUserEdit());
}

TEST_F(DbControlTest, ALabeledEditWorksAsAnEdit)
{
    TQLabeledEdit led;
    led.setLabelCaption("Sample Box Car Size");
    led.setLabelPos(TQLabeledEdit::lpLeft);
    led.setDbId(kFloat);
    registerControl(&led);
    announce(kFloat, "1.5");
    EXPECT_EQ(led.Text(), "1.5");
    EXPECT_EQ(led.EditLabel()->text(), "Sample Box Car Size");
    typeAndEnter(led.Edit(), "2.25");
    EXPECT_EQ(pending(kFloat), "2.25");
    EXPECT_EQ(led.setProperty("ReadOnly", true), true);
    typeAndEnter(led.Edit(), "3");
    EXPECT_EQ(send(&led, winmsg::WM_SEND_TO_DATABASE), 0);
    EXPECT_EQ(pending(kFloat), "2.25");
}

TEST_F(DbControlTest, ALabeledEditIsFoundByItsNameAndShowsWhereAWideValueBegins)
{
    QWidget page;
    auto* led = new TQLabeledEdit(&page);
    led->setObjectName("ledSite");
    led->setLabelCaption("Tag:");
    led->setDbId(kText);
    EXPECT_EQ(page.findChild<QLineEdit*>("ledSiteEdit"), led->Edit());
    EXPECT_EQ(led->accessibleName(), "Tag:");
    EXPECT_EQ(led->Edit()->accessibleName(), "Tag:");
    auto* bare = new TQLabeledEdit(&page);
    bare->setLabelCaption("");
    EXPECT_TRUE(bare->EditLabel()->isHidden()) << "no caption, no room for one";

    registerControl(led);
    led->Edit()->setFixedWidth(60);
    page.show();
    announce(kText, "SULPHUR RECOVERY U2");
    EXPECT_EQ(led->Text(), "SULPHUR RECOVERY U2");
    EXPECT_EQ(led->Edit()->cursorPosition(), 0) << "the value's start is in view, not its end";
    // Typing leaves the cursor where the user types.
    led->Edit()->setFocus();
    led->Edit()->setCursorPosition(led->Text().size());
    QTest::keyClicks(led->Edit(), "X");
    EXPECT_EQ(led->Text(), "SULPHUR RECOVERY U2X");
    EXPECT_EQ(led->Edit()->cursorPosition(), led->Text().size());
}

TEST_F(DbControlTest, EditChecksRefuseWithAReasonAndKeepTheText)
{
    struct Case {
        const char* what;
        int point;
        std::function<void(TQEdit&)> configure;
        QString typed;
        QString message;  // empty: stored
        std::string stored;
    };
    const Case cases[] = {
        {"point width", kU8, [](TQEdit&) {}, "300", "Please enter a value between 0 and 255.", ""},
        {"negative in unsigned", kU16, [](TQEdit&) {}, "-1", "Please enter a value between 0 and 65535.", ""},
        {"not a number", kFloat, [](TQEdit&) {}, "abc", "'abc' is not a valid floating point value.", ""},
        {"float beyond single", kFloat, [](TQEdit&) {}, "1e39",
         "Please enter a value between -3.40282346638529E38 and 3.40282346638529E38.", ""},
        {"not an integer", kU16, [](TQEdit&) {}, "2.5", "'2.5' is not a valid integer value.", ""},
        {"empty number", kU16, [](TQEdit&) {}, "", "Please enter a value.", ""},
        {"long text", kFloat, [](TQEdit&) {}, QString(60, QLatin1Char('x')),
         "'" + QString(37, QLatin1Char('x')) + "...' is not a valid floating point value.", ""},
        {"required", kText, [](TQEdit& e) { e.setRequired(true); }, "  ", "Please enter a value.", ""},
        {"range", kU16,
         [](TQEdit& e) {
             e.setDataType(dbctl::dtInt);
             e.setRangeEdit(true);
             e.setRangeLow(10);
             e.setRangeHigh(500);
         },
         "501", "Please enter a value between 10 and 500.", ""},
        {"range kept", kU16,
         [](TQEdit& e) {
             e.setRangeEdit(true);
             e.setRangeLow(10);
             e.setRangeHigh(500);
             e.setDataType(dbctl::dtPosInt);
         },
         "500", "", "500"},
        {"float data type", kFloat, [](TQEdit& e) { e.setDataType(dbctl::dtFloat); }, "-2.5e1", "", "-25"},
        {"empty text", kText, [](TQEdit&) {}, "", "", ""},
        {"plain text", kText, [](TQEdit&) {}, "Tank 4", "", "Tank 4"},
        {"bypass time-out in seconds", 284, [](TQEdit& e) { e.setDataType(dbctl::dtFloat); }, "2.5", "", "2500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testenv::dialogs().clear();
        load(c.point, c.point == kText ? "old" : "7");
        const std::string before = pending(c.point);
        TQEdit edit;
        edit.setDbId(c.point);
        c.configure(edit);
        registerControl(&edit);
        edit.setText(c.typed);
        edit.MarkEdited();
        if (c.message.isEmpty()) {
            EXPECT_EQ(send(&edit, winmsg::WM_BEFORE_SEND_TO_DATABASE), 0);
            EXPECT_EQ(send(&edit, winmsg::WM_SEND_TO_DATABASE), 0);
            EXPECT_EQ(pending(c.point), c.stored);
            EXPECT_TRUE(shownTexts().isEmpty());
            continue;
        }
        // Refused before anything is stored, and again if sent all the same.
        EXPECT_EQ(send(&edit, winmsg::WM_BEFORE_SEND_TO_DATABASE), 1);
        EXPECT_EQ(send(&edit, winmsg::WM_SEND_TO_DATABASE), 1);
        EXPECT_EQ(shownTexts(), QStringList({c.message, c.message}));
        EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Warning");
        EXPECT_EQ(pending(c.point), before);
        EXPECT_EQ(edit.text(), c.typed);
        EXPECT_TRUE(edit.HasUserEdit());
    }
}

TEST_F(DbControlTest, TypingIsHeldToTheDataType)
{
    const struct {
        dbctl::DataType type;
        const char* typed;
        const char* shown;
    } cases[] = {
        {dbctl::dtPosInt, "-12a3", "123"},         {dbctl::dtInt, "-12.5", "-125"},
        {dbctl::dtPosFloat, "-1.5e-3x", "1.5e-3"}, {dbctl::dtFloat, "-1.5.2", "-1.52"},
        {dbctl::dtString, "a-1.", "a-1."},
    };
    for (const auto& c : cases) {
        TQEdit edit;
        edit.setProperty("DataType", QVariant::fromValue(c.type));
        EXPECT_EQ(edit.DataType(), c.type);
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(edit.text(), c.shown) << c.typed;
    }
    TQEdit byName;
    byName.setProperty("DataType", "dtPosFloat");
    EXPECT_EQ(byName.DataType(), dbctl::dtPosFloat);
}

TEST_F(DbControlTest, AConversionErrorOfTheDatabaseIsShownAndTheValueRestored)
{
    QWidget page;
    auto* edit = new TQEdit(&page);
    edit->setDbId(kAnalogOut);
    registerControl(edit);
    announce(kAnalogOut, "0");
    const std::string before = pending(kAnalogOut);
    typeAndEnter(edit, "999");  // an ordinal that names no analog-output choice
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, QCoreApplication::applicationName());
    EXPECT_TRUE(shownTexts()[0].contains("999")) << shownTexts()[0].toStdString();
    EXPECT_EQ(edit->text(), "0");
    EXPECT_EQ(pending(kAnalogOut), before);

    // Through the write's broadcast the refusal also stops the write.
    testenv::dialogs().clear();
    edit->setText("999");
    edit->MarkEdited();
    EXPECT_EQ(sendToDatabase(&page), 1);
    EXPECT_EQ(shownTexts().size(), 1);
    EXPECT_EQ(edit->text(), "0");
}

TEST_F(DbControlTest, AnEditTheDatabaseDoesNotTakeOnlineIsNotLeftOnShow)
{
    goOnline({kAnalogOut});
    QWidget page;
    auto* shown = new TQEdit(&page);
    shown->setDbId(kAnalogOut);
    auto* other = new TQEdit(&page);
    other->setDbId(kAnalogOut2);  // not on the page shown
    broadcast(&page, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
    announce(kAnalogOut, "0");
    announce(kAnalogOut2, "0");

    typeAndEnter(other, "1");
    EXPECT_TRUE(other->HasUserEdit());  // kept for the write's broadcast
    typeAndEnter(shown, "1");
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_NE(pending(kAnalogOut), "0");
    EXPECT_EQ(other->text(), "0");
    EXPECT_FALSE(other->HasUserEdit());
    EXPECT_TRUE(shownTexts().isEmpty());
}

TEST_F(DbControlTest, OnPutToDatabaseMayStoreItselfOrNothing)
{
    QWidget page;
    auto* edit = new TQEdit(&page);
    edit->setDbId(kU16);
    registerControl(edit);
    load(kU16, "5");
    std::vector<QWidget*> senders;
    edit->OnPutToDatabase = [&](QWidget* sender, bool& storeValue) {
        senders.push_back(sender);
        EXPECT_TRUE(storeValue);
        // The page stores a converted value itself.
        db->SetPointText(kU16, std::to_string(static_cast<QLineEdit*>(sender)->text().toInt() * 60));
        storeValue = false;
    };
    typeAndEnter(edit, "2");
    EXPECT_EQ(senders, std::vector<QWidget*>{edit});
    EXPECT_EQ(pending(kU16), "120");
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(senders.size(), 1u);  // no edit left to store
}

TEST_F(DbControlTest, ABooleanBoxTakesItsStateBeforeTheHandlerAndStoresClicksOnly)
{
    QWidget page;
    auto* box = new TQCheckBox(&page);
    box->setDbId(kBool);
    registerControl(box);
    std::vector<bool> seen;
    box->OnDBPointValueChanged = [&](QWidget* sender, const QString&, bool&) {
        seen.push_back(static_cast<QCheckBox*>(sender)->isChecked());
    };
    int toggles = 0;
    QObject::connect(box, &QCheckBox::toggled, [&] { ++toggles; });
    announce(kBool, "True");
    announce(kBool, "False");
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_EQ(toggles, 2);  // the page's own handler sees every change

    box->click();
    EXPECT_EQ(pending(kBool), "True");
    box->click();
    EXPECT_EQ(pending(kBool), "False");

    box->setChecked(true);  // from code
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(pending(kBool), "False");
}

TEST_F(DbControlTest, BoxesOnANumberPointUseTrueAndFalseValues)
{
    TQCheckBox box;
    box.setDbId(kU8);
    box.setTrueValue("3");
    registerControl(&box);
    announce(kU8, "3");
    EXPECT_TRUE(box.isChecked());
    box.click();
    EXPECT_EQ(pending(kU8), "0");
    box.setFalseValue("1");
    box.click();
    box.click();
    EXPECT_EQ(pending(kU8), "1");
    announce(kU8, "2");
    EXPECT_FALSE(box.isChecked());

    // An inverted box on a Boolean point: checked means off.
    TQCheckBox inverted;
    inverted.setDbId(kBool);
    inverted.setTrueValue("False");
    registerControl(&inverted);
    announce(kBool, "False");
    EXPECT_TRUE(inverted.isChecked());
    inverted.click();
    EXPECT_EQ(pending(kBool), "True");
}

TEST_F(DbControlTest, BitBoxesSetAndClearTheirOwnBitOnly)
{
    QWidget page;
    auto* bit0 = new TQCheckBox(&page);
    auto* bit3 = new TQCheckBox(&page);
    auto* bit15 = new TQCheckBox(&page);
    for (auto [box, bit] : {std::pair{bit0, dbctl::bnBit0}, {bit3, dbctl::bnBit3}, {bit15, dbctl::bnBit15}}) {
        box->setDbId(kBits16);
        box->setWatchBitNumber(bit);
    }
    broadcast(&page, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
    announce(kBits16, "9");
    EXPECT_TRUE(bit0->isChecked());
    EXPECT_TRUE(bit3->isChecked());
    EXPECT_FALSE(bit15->isChecked());

    // Two boxes changed before the write: both changes reach the point.
    bit3->click();
    bit15->click();
    EXPECT_EQ(pending(kBits16), std::to_string(0x8001));
    bit0->click();
    EXPECT_EQ(pending(kBits16), std::to_string(0x8000));

    // A bit the box cannot reach is refused.
    bit0->setProperty("WatchBitNumber", "bnBit16");
    EXPECT_EQ(bit0->WatchBitNumber(), dbctl::bnBit0);
}

TEST_F(DbControlTest, A32BitBoxReachesTheTopBit)
{
    TQCheckBox32 top;
    top.setDbId(kBits32);
    top.setProperty("WatchBitNumber", "bnBit31");
    ASSERT_EQ(top.WatchBitNumber(), dbctl::bnBit31);
    TQCheckBox32 low;
    low.setDbId(kBits32);
    low.setWatchBitNumber(dbctl::bnBit1);
    registerControl(&top);
    registerControl(&low);
    announce(kBits32, "-2147483646");  // top bit and bit 1
    EXPECT_TRUE(top.isChecked());
    EXPECT_TRUE(low.isChecked());
    top.click();
    EXPECT_EQ(pending(kBits32), "2");
    top.click();
    EXPECT_EQ(pending(kBits32), "-2147483646");
    low.click();
    EXPECT_EQ(pending(kBits32), "-2147483648");
}

TEST_F(DbControlTest, ABitBoxOnAPlainNumberPointKeepsTheOtherBits)
{
    TQCheckBox box;
    box.setDbId(kU8);
    box.setWatchBitNumber(dbctl::bnBit1);
    registerControl(&box);
    announce(kU8, "5");
    EXPECT_FALSE(box.isChecked());
    box.click();
    EXPECT_EQ(pending(kU8), "7");

    TQCheckBox onText;
    onText.setDbId(kText);
    onText.setWatchBitNumber(dbctl::bnBit0);
    registerControl(&onText);
    announce(kText, "1");
    onText.click();
    EXPECT_EQ(shownTexts(), QStringList{"Point 1 has no bit 0 to set."});
    EXPECT_EQ(pending(kText), "1");
}

TEST_F(DbControlTest, AnOnOffRadioPairShowsAndStoresOneBooleanPoint)
{
    QWidget page;
    auto* on = new TQRadioButton(&page);
    auto* off = new TQRadioButton(&page);
    on->setDbId(kBool);
    off->setDbId(kBool);
    off->setProperty("TrueValue", "False");
    broadcast(&page, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
    announce(kBool, "True");
    EXPECT_TRUE(on->isChecked());
    EXPECT_FALSE(off->isChecked());
    announce(kBool, "False");
    EXPECT_FALSE(on->isChecked());
    EXPECT_TRUE(off->isChecked());
    on->click();
    EXPECT_EQ(pending(kBool), "True");
    off->click();
    EXPECT_EQ(pending(kBool), "False");
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(pending(kBool), "False");

    // A value that neither stands for shows neither on.
    QWidget group;
    auto* one = new TQRadioButton(&group);
    auto* two = new TQRadioButton(&group);
    one->setDbId(kU8);
    one->setTrueValue("1");
    two->setDbId(kU8);
    two->setTrueValue("2");
    broadcast(&group, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
    announce(kU8, "2");
    EXPECT_TRUE(two->isChecked());
    announce(kU8, "3");
    EXPECT_FALSE(one->isChecked());
    EXPECT_FALSE(two->isChecked());
}

TEST_F(DbControlTest, ARadioGroupMapsItsButtonsToValues)
{
    TQRadioGroup group;
    group.setItems({"One", "Two", "Three", "Four"});
    group.setColumns(2);
    group.setDbId(kU8);
    registerControl(&group);
    announce(kU8, "2");
    EXPECT_EQ(group.ItemIndex(), 2);
    auto buttons = group.findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 4);
    buttons[3]->click();
    EXPECT_EQ(pending(kU8), "3");
    announce(kU8, "9");
    EXPECT_EQ(group.ItemIndex(), -1);

    group.setValues({"10", "20", "30", "40"});
    announce(kU8, "20");
    EXPECT_EQ(group.ItemIndex(), 1);
    buttons = group.findChildren<QRadioButton*>();
    buttons[0]->click();
    EXPECT_EQ(pending(kU8), "10");

    group.setItemIndex(2);  // from code
    EXPECT_EQ(send(&group, winmsg::WM_SEND_TO_DATABASE), 0);
    EXPECT_EQ(pending(kU8), "10");
}

TEST_F(DbControlTest, AComboBoxStoresTheUsersChoice)
{
    TQComboBox combo;
    combo.addItems({"ENRON", "MODICON16", "MODICON32"});
    combo.setDbId(kU8);
    registerControl(&combo);
    announce(kU8, "1");
    EXPECT_EQ(combo.currentIndex(), 1);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(pending(kU8), "2");
    combo.setCurrentIndex(0);  // from code
    EXPECT_EQ(send(&combo, winmsg::WM_SEND_TO_DATABASE), 0);
    EXPECT_EQ(pending(kU8), "2");
    announce(kU8, "7");
    EXPECT_EQ(combo.currentIndex(), -1);

    combo.setReadOnly(true);
    combo.setCurrentIndex(0);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(pending(kU8), "7");

    TQComboBox text;
    text.setEditable(true);
    text.addItems({"North", "South"});
    text.setDbId(kText);
    registerControl(&text);
    announce(kText, "South");
    EXPECT_EQ(text.currentIndex(), 1);
    announce(kText, "East");
    EXPECT_EQ(text.currentText(), "East");
    typeAndEnter(&text, "West");
    EXPECT_EQ(pending(kText), "West");
}

TEST_F(DbControlTest, ImagesAreLampsThatNeverStore)
{
    QWidget page;
    auto* lamp = new TQImage(&page);
    lamp->setDbId(kBool);
    QPixmap on(4, 4), off(4, 4);
    on.fill(Qt::red);
    off.fill(Qt::gray);
    lamp->setPictureOn(on);
    lamp->setPictureOff(off);
    registerControl(lamp);
    std::vector<int> states;
    lamp->OnDBPointValueChanged = [&](QWidget* sender, const QString&, bool&) {
        states.push_back(static_cast<TQImage*>(sender)->State());
    };
    announce(kBool, "True");
    announce(kBool, "False");
    EXPECT_EQ(states, (std::vector<int>{1, 0}));
    EXPECT_EQ(lamp->property("State").toInt(), 0);
    EXPECT_EQ(lamp->pixmap().toImage(), off.toImage());
    lamp->MarkEdited();
    load(kBool, "True");
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(pending(kBool), "True");
}

TEST_F(DbControlTest, ATwoStateToolButtonIsASwitch)
{
    TQAdvToolButton button;
    button.setCheckable(true);
    button.setText("T");
    button.setDbId(kBool);
    registerControl(&button);
    announce(kBool, "True");
    EXPECT_TRUE(button.isChecked());
    EXPECT_EQ(button.text(), "T");
    button.click();
    EXPECT_EQ(pending(kBool), "False");
}

TEST_F(DbControlTest, AnUpDownStoresItsSteps)
{
    TQUpDown updown;
    updown.setRange(0, 100);
    updown.setDbId(kU16);
    registerControl(&updown);
    announce(kU16, "7");
    EXPECT_EQ(updown.value(), 7);
    QTest::keyClick(&updown, Qt::Key_Up);
    EXPECT_EQ(pending(kU16), "8");
    updown.setValue(50);  // from code
    EXPECT_EQ(send(&updown, winmsg::WM_SEND_TO_DATABASE), 0);
    EXPECT_EQ(pending(kU16), "8");
    // A value beyond the arrows' range is shown as it is.
    announce(kU16, "1000");
    EXPECT_EQ(updown.value(), 1000);
}

TEST_F(DbControlTest, ATreeListChoosesTheItemOfTheValue)
{
    TQTreeList tree;
    auto* top = new QTreeWidgetItem(&tree, {"Group"});
    top->setData(0, Qt::UserRole, "0");
    auto* child = new QTreeWidgetItem(top, {"Entry"});
    child->setData(0, Qt::UserRole, "1");
    new QTreeWidgetItem(&tree, {"2"});
    tree.expandAll();
    tree.setDbId(kU8);
    registerControl(&tree);
    announce(kU8, "1");
    EXPECT_EQ(tree.currentItem(), child);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(TQTreeList::ItemValue(tree.currentItem()), "2");
    EXPECT_EQ(pending(kU8), "2");
    tree.setCurrentItem(top);  // from code
    EXPECT_EQ(send(&tree, winmsg::WM_SEND_TO_DATABASE), 0);
    EXPECT_EQ(pending(kU8), "2");
}

TEST_F(DbControlTest, OneBadEditStopsTheWholeWriteBeforeAnythingIsStored)
{
    QWidget page;
    auto* good = new TQEdit(&page);
    good->setDbId(kU16);
    auto* box = new TQGroupBox(&page);
    auto* bad = new TQEdit(box);
    bad->setDbId(kU8);
    broadcast(&page, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
    load(kU16, "1");
    load(kU8, "1");
    good->setText("2");
    good->MarkEdited();
    bad->setText("256");
    bad->MarkEdited();
    EXPECT_EQ(sendToDatabase(&page), 1);
    EXPECT_EQ(pending(kU16), "1");
    EXPECT_EQ(pending(kU8), "1");
    EXPECT_EQ(shownTexts(), QStringList{"Please enter a value between 0 and 255."});

    bad->setText("3");
    EXPECT_EQ(sendToDatabase(&page), 0);
    EXPECT_EQ(pending(kU16), "2");
    EXPECT_EQ(pending(kU8), "3");
}

TEST(DbControlHelpers, NumbersAreReadWholeInTheCLocale)
{
    EXPECT_EQ(numtext::tryStrToInt64(" +12 "), 12);
    EXPECT_EQ(numtext::tryStrToInt64("-2147483648"), -2147483648LL);
    EXPECT_EQ(numtext::tryStrToInt64("12a"), std::nullopt);
    EXPECT_EQ(numtext::tryStrToInt64("+-1"), std::nullopt);
    EXPECT_EQ(numtext::tryStrToInt64(""), std::nullopt);
    EXPECT_EQ(numtext::tryStrToInt64("99999999999999999999"), std::nullopt);
    EXPECT_EQ(numtext::tryStrToFiniteFloat("1.5e3"), 1500.0);
    EXPECT_EQ(numtext::tryStrToFiniteFloat("1,5"), std::nullopt);
    EXPECT_EQ(numtext::tryStrToFiniteFloat("nan"), std::nullopt);
    EXPECT_EQ(numtext::tryStrToFiniteFloat("inf"), std::nullopt);
    EXPECT_EQ(numtext::tryStrToFiniteFloat("0x10"), std::nullopt);
}
