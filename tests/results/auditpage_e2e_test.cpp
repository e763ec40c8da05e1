// The Events tab in the main window against the emulated unit: entering reads nothing; "Read from
// Analyzer" reads a wrapped event memory with escapes and a spoiled frame and shows it oldest
// first with the exact texts and the share of memory in use; logged off it shows nothing.
#include "pagefixture.h"

#include "archivegridmodel.h"
#include "auditgrid.h"
#include "auditpage.h"
#include "auditview.h"
#include "memoryframes.h"
#include "toolkitdate.h"

#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

namespace {

constexpr int kMemoryInfo = 0x2A;
constexpr int kEventBlock = 0x2C;
constexpr int kMemoryLength = 1000;

struct Event {
    QDateTime when;
    std::uint8_t type, subCode, condition;
    QStringList texts;  // event, description 1, description 2
};

QDateTime eventAt(int day, int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second), Qt::UTC);
}

// One event of every type, oldest first; the unit's memory has wrapped.
const std::vector<Event>& events()
{
    static const std::vector<Event> list = {
        {eventAt(1, 8, 0, 0), 0, 0, 0, {"Power Up", "", ""}},
        {eventAt(1, 8, 0, 5), 1, 0, 1, {"Time Changed", "", ""}},
        {eventAt(1, 9, 30, 0), 2, 0, 0, {"Bypass", "", "Condition On"}},
        {eventAt(1, 9, 45, 0), 3, 0, 0, {"Configuration Changed", "", ""}},
        {eventAt(2, 0, 0, 0), 4, 70, 0, {"Alarm", "Stream 2 High High Alarm", "Condition On"}},
        {eventAt(2, 1, 0, 0), 5, 0, 1, {"Exceeded low temperature limit", "", "Condition Off"}},
        {eventAt(2, 2, 0, 0), 6, 0, 0, {"Exceeded high temperature limit", "", "Condition On"}},
        {eventAt(2, 3, 0, 0), 7, 0, 1, {"Direct Control", "", "Condition Off"}},
        {eventAt(2, 4, 0, 0), 8, 0, 0, {"Bypass Timeout", "", "Condition On"}},
        {eventAt(2, 5, 0, 0), 9, 3, 1, {"Run initiated", "Stream 4", "Total Sulphur"}},
        {eventAt(2, 6, 0, 0), 10, 0, 0, {"Latch change", "Latch 1", "Condition On"}},
        {eventAt(2, 7, 0, 0), 11, 0, 1, {"Automatic Temperature Calibrate", "", "Condition Off"}},
        {eventAt(2, 8, 0, 0), 4, 10, 0, {"Alarm", "Battery", "Condition On"}},
        {eventAt(3, 10, 15, 30), 12, 21, 1, {"Unknown (12)", "Bypass", "Condition Off"}},
    };
    return list;
}

class EventsTab : public PageWithUnit {
protected:
    TfrmAudit* page() const { return qobject_cast<TfrmAudit*>(form->Frame(TfrmAudit::kDecl.tab)); }
    AuditGridModel* grid() const { return page()->View()->Model(); }
    QString percent() const { return page()->View()->PercentLabel()->text(); }
    QToolButton* readButton() const { return page()->findChild<QToolButton*>("btnReadAudit"); }

    // The frames in memory order (the newest four written over the oldest), a frame with a bad
    // CRC among them, the rest of the memory never written (0xFF).
    QByteArray memory(int* escapes) const
    {
        std::vector<QByteArray> frames;
        *escapes = 0;
        for (const Event& e : events()) {
            frames.push_back(memoryframes::eventFrame(memoryframes::token(e.when), e.type, e.subCode, e.condition));
            *escapes += static_cast<int>(frames.back().size()) - 10;
        }
        QByteArray spoiled = memoryframes::eventFrame(memoryframes::token(eventAt(1, 12, 0, 0)), 4, 11, 0);
        spoiled[spoiled.size() - 1] = static_cast<char>(spoiled[spoiled.size() - 1] ^ 0x5A);
        QByteArray bytes = memoryframes::inMemoryOrder(frames, 4);
        bytes.insert(30, spoiled);
        bytes.append(QByteArray(kMemoryLength - bytes.size(), '\xFF'));
        return bytes;
    }
};

}  // namespace

TEST_F(EventsTab, ReadsTheWrappedMemoryOldestFirstWithItsUsage)
{
    int escapes = 0;
    const QByteArray bytes = memory(&escapes);
    // The token of 10:15:30 ends in 0xDE; CRCs may hold one too.
    ASSERT_GE(escapes, 1);
    unit->setEvents(bytes);
    logOn();
    unit->clearReceived();

    enterTab(TfrmAudit::kDecl.tab);
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(unit->receivedCount(kMemoryInfo) + unit->receivedCount(kEventBlock), 0) << "entering reads nothing";
    EXPECT_EQ(grid()->rowCount(), 0);

    readButton()->click();
    EXPECT_EQ(unit->receivedCount(kEventBlock), 5);
    EXPECT_TRUE(readButton()->isEnabled());
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
    ASSERT_EQ(grid()->rowCount(), static_cast<int>(events().size()));
    for (int r = 0; r < grid()->rowCount(); ++r) {
        const Event& e = events()[static_cast<std::size_t>(r)];
        const double date = toolkitdate::fromDateTime(e.when.date(), e.when.time());
        EXPECT_EQ(grid()->CellText(r, AuditGridModel::colSeq), QString::number(r + 1));
        EXPECT_EQ(grid()->CellText(r, AuditGridModel::colTS), ArchiveGridModel::TimeText(date)) << r;
        EXPECT_EQ((QStringList{grid()->CellText(r, 2), grid()->CellText(r, 3), grid()->CellText(r, 4)}), e.texts) << r;
        EXPECT_EQ(grid()->CellText(r, AuditGridModel::colComment), "");
    }
    // What the good frames occupy: ten bytes each and their escapes.
    const int used = 10 * static_cast<int>(events().size()) + escapes;
    EXPECT_EQ(percent(), auditrows::PercentText(static_cast<float>(used) / kMemoryLength * 100.0f));
    EXPECT_EQ(percent(), QString::asprintf("%.2f%%", used / 10.0));

    // With KVT_GRAB_DIR set, the page as read is saved there to look eventAt.
    if (const QString grabs = qEnvironmentVariable("KVT_GRAB_DIR"); !grabs.isEmpty())
        form->grab().save(grabs + "/events_read.png");

    // A report file of what was read comes back the same, comments included.
    QTemporaryDir dir;
    grid()->setData(grid()->index(4, AuditGridModel::colComment), "stream 2 checked");
    testenv::dialogs().clear();
    testenv::dialogs().answerText(dir.filePath("read.tvau"));
    page()->View()->PopupMenu()->findChild<QAction*>("mnuSaveFile")->trigger();
    EXPECT_EQ(testenv::dialogs().shown().back().text, "Sentrel515 Event Log (*.tvau *.TVAU)");
    readButton()->click();
    EXPECT_EQ(grid()->CellText(4, AuditGridModel::colComment), "");
    testenv::dialogs().answerText(dir.filePath("read.tvau"));
    page()->View()->PopupMenu()->findChild<QAction*>("mnuLoadFile")->trigger();
    ASSERT_EQ(grid()->rowCount(), static_cast<int>(events().size()));
    EXPECT_EQ(grid()->CellText(4, AuditGridModel::colComment), "stream 2 checked");
    EXPECT_EQ(grid()->CellText(13, AuditGridModel::colEvent), "Unknown (12)");
}

TEST_F(EventsTab, AnEmptyMemoryAndALoggedOffReadShowNothing)
{
    unit->setEvents(QByteArray());
    // Logged off: the grid and the percentage are emptied and nothing else happens.
    readButton()->click();
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_EQ(percent(), "");
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();

    logOn();
    enterTab(TfrmAudit::kDecl.tab);
    readButton()->click();
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_EQ(percent(), "") << "an empty memory leaves the bar as it was";
}
