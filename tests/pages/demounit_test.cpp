// The demonstration unit that scripts/run shows a new user: every page, entered and read from it,
// shows each value the unit holds in full and as a choice its control offers.
#include "controlfixture.h"
#include "pagealone.h"
#include "pagecatalog.h"

#include "dbchoices.h"
#include "dbtextentry.h"
#include "factorypage.h"
#include "memoryframes.h"
#include "modbuslist.h"
#include "modbuslistgroups.h"
#include "ridovaz.h"

#include <QDir>
#include <QSpinBox>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kTextType = static_cast<int>(ridovaz::TypeCode::Text);

class DemoUnitTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        QString error;
        ASSERT_TRUE(link.unit.loadScenario(KVT_SOURCE_DIR "/tools/emulator/scenarios/demo.json", &error))
            << error.toStdString();
        for (const PageMaker& maker : pageCatalog())
            pages.push_back(maker.create(testenv::pageServices(*db, host), owner.get()));
        ASSERT_EQ(broadcast(owner.get(), winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db)), 0);
        db->Connect();
        db->ReadAll();
    }
    void TearDown() override
    {
        pages.clear();
        owner.reset();
        ControlFixture::TearDown();
    }

    // The page entered as the main window does, and its points and block read.
    void enter(QWidget* frame)
    {
        auto* page = qobject_cast<TPageFrame*>(frame);
        if (!page)
            return;
        page->RegisterPoints();
        db->ExpressRead(false);
        // As after the factory access code.
        if (auto* factory = qobject_cast<TfraFactory*>(frame))
            factory->ShowControls(true);
    }

    static QString where(const QWidget* frame, const QObject* control, int id)
    {
        return QStringLiteral("%1 %2 (point %3)").arg(frame->objectName(), control->objectName()).arg(id);
    }

    RecordingHost host;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    std::vector<QWidget*> pages;
};

}  // namespace

TEST_F(DemoUnitTest, EveryPageShowsEveryValueOfTheDemoUnit)
{
    QStringList findings;
    for (QWidget* frame : pages) {
        enter(frame);
        for (QWidget* control : frame->findChildren<QWidget*>()) {
            bool ok = false;
            const int id = control->property("DbId").toInt(&ok);
            DatabasePoint* point = ok && id >= 0 ? db->GetPointById(id) : nullptr;
            if (!point || !point->IsFresh() || !control->property("UseDatabase").toBool())
                continue;
            const QString value = QString::fromStdString(point->ToString());
            if (auto* combo = qobject_cast<TQComboBox*>(control); combo && combo->currentIndex() < 0)
                findings << where(frame, control, id) + " chooses nothing for " + value;
            if (auto* radios = qobject_cast<TQRadioGroup*>(control); radios && radios->ItemIndex() < 0)
                findings << where(frame, control, id) + " chooses nothing for " + value;
            if (auto* spin = qobject_cast<QSpinBox*>(control); spin && QString::number(spin->value()) != value)
                findings << where(frame, control, id) + " shows " + QString::number(spin->value()) + " for " + value;
            QLineEdit* line = nullptr;
            if (auto* labeled = qobject_cast<TQLabeledEdit*>(control))
                line = labeled->Edit();
            else if (auto* edit = qobject_cast<TQEdit*>(control))
                line = edit;
            if (line && db->GetPointType(id) == kTextType && line->text() != value)
                findings << where(frame, control, id) + " shows \"" + line->text() + "\" for \"" + value + "\"";
            auto* entry = dynamic_cast<DbTextEntry*>(control);
            if (entry && entry->RangeEdit()) {
                const double v = value.toDouble(&ok);
                if (!ok || v < entry->RangeLow() || v > entry->RangeHigh())
                    findings << where(frame, control, id) + " holds " + value + " outside " +
                                    QString::number(entry->RangeLow()) + ".." + QString::number(entry->RangeHigh());
            }
        }
    }
    EXPECT_TRUE(findings.isEmpty()) << findings.join("\n").toStdString();

    // With KVT_GRAB_DIR set, each page as read from the demonstration unit is saved there as
    // demo-<frame name>.png, at the size a tab has in the main window at its default size.
    if (const QString folder = qEnvironmentVariable("KVT_GRAB_DIR"); !folder.isEmpty()) {
        QDir().mkpath(folder);
        owner->resize(1012, 590);
        owner->show();
        for (QWidget* frame : pages) {
            for (QWidget* other : pages)
                other->setVisible(other == frame);
            frame->setGeometry(owner->rect());
            EXPECT_TRUE(frame->grab().save(QDir(folder).filePath("demo-" + frame->objectName() + ".png")));
        }
    }
}

TEST_F(DemoUnitTest, TheUnitsTextsReadWholeAndItsClockAndModbusMapAreShown)
{
    for (QWidget* frame : pages)
        enter(frame);
    // A text longer than a read answer's twenty characters would not be read at all.
    Ridovaz17041417 map;
    for (int i = 0; i < map.GetCount(); ++i) {
        const int id = map.GetPointId(static_cast<std::uint16_t>(i));
        if (map.GetTypeCode(static_cast<std::uint16_t>(i)) != kTextType || !db->GetPointById(id)->IsFresh())
            continue;
        EXPECT_EQ(db->GetPointText(id), link.unit.value(static_cast<std::uint16_t>(id)).toString().toStdString())
            << "point " << id;
    }

    // The clock runs from now, and the Analysis page shows it.
    const QDateTime now = memoryframes::wallClockNow();
    const QDateTime clock = memoryframes::timeOf(static_cast<std::uint32_t>(link.unit.value(388).toLongLong()));
    EXPECT_TRUE(clock.isValid());
    EXPECT_LE(std::abs(now.secsTo(clock)), 60);
    EXPECT_TRUE(
        owner->findChild<TQLabeledEdit*>("ledUnitDateTime")->Text().contains(QString::number(now.date().year())));

    // Every group of the Modbus map holds a few registers, and none of the unit's entries is dropped.
    const MBGroupCollection& groups = db->GetModbusList().GetCollection();
    int registers = 0;
    for (int g = 0; g < groups.GetGroupCount(); ++g) {
        if (groups.GetHeaderBlock(g) < 0)
            continue;
        EXPECT_GE(groups.GetGroup(g)->GetCount(), 2) << "group " << g;
        registers += groups.GetGroup(g)->GetCount();
    }
    const QByteArray header = link.unit.modmap();
    int entries = 0;
    for (int block = 0; block < 4; ++block)
        entries +=
            static_cast<std::uint8_t>(header[3 + 4 * block]) | (static_cast<std::uint8_t>(header[4 + 4 * block]) << 8);
    EXPECT_EQ(registers, entries);
}
