// The "Log Configuration" window and the CSV exports in the main window, logged on to the
// emulated unit: what the unit receives after edits and "Write to Analyzer", the repair of
// repeated id codes, and the exports' files, cancels and failures.
#include "formmainfixture.h"
#include "unitlinkfixture.h"

#include "archivehdr.h"
#include "archiveviewer.h"
#include "csvconfigdialog.h"
#include "database.h"
#include "databasepoint.h"
#include "logconfigwindow.h"
#include "logdbmgr.h"
#include "logrecord.h"
#include "pagehost.h"
#include "pointids.h"
#include "toolkitdate.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstring>

namespace {

constexpr std::uint16_t kClock = pid::TimeProprietary;
constexpr std::uint16_t kLogGain = pid::Stream1Gain;
constexpr std::uint16_t kZero = pid::Stream1Zero;
constexpr std::uint16_t kPurge = pid::PurgeTime;
constexpr std::uint16_t kDay = pid::Stream1CalibrationScheduledDayOfWeek;

QByteArray bytesOf(const LogRecord& r)
{
    return QByteArray(reinterpret_cast<const char*>(&r), sizeof r);
}

LogRecord recordOf(const QByteArray& bytes)
{
    LogRecord r{};
    std::memcpy(&r, bytes.constData(), std::min<std::size_t>(sizeof r, static_cast<std::size_t>(bytes.size())));
    return r;
}

class LogConfigWithUnit : public FormMainFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startUnitOnLoopback(emulator, unit));
        FormMainFixture::SetUp();
        LogDBMgr::Instance()->Clear();
    }

    void TearDown() override
    {
        FormMainFixture::TearDown();
        LogDBMgr::ReleaseInstance();
        LogonCommand::SetSettleDelay(LogonCommand::kSettleMs);
        emulator.reset();
    }

    void setUnitLogs(const std::array<LogRecord, 6>& records)
    {
        for (int k = 0; k < 6; ++k)
            unit->setLogRecord(k, bytesOf(records[static_cast<std::size_t>(k)]));
    }

    void logOn()
    {
        modals.answers = {ScriptedModals::press("btnUpdate"), ScriptedModals::password("qe$3916")};
        form->tbtnLogonClick();
        ASSERT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
        testenv::dialogs().clear();
    }

    // Opens the window as the Archive page's "Log Setup" does; the test acts while it is open.
    TLogFrm* open()
    {
        auto* window = shellwindows::Get<TLogFrm>("LogFrm");
        window->show();
        return window;
    }

    static QStringList messages()
    {
        QStringList texts;
        for (const auto& shown : testenv::dialogs().shown())
            if (shown.kind == DialogService::Kind::Message)
                texts << shown.text;
        return texts;
    }

    static QString nameOf(std::uint16_t id)
    {
        return QString::fromStdString(DataBase::Instance()->GetPointById(id)->GetName());
    }

    static QStringList shownPoints(TfraArchiveHdr* frame)
    {
        QStringList names;
        for (int r = 0; r < frame->Grid()->rowCount(); ++r)
            names << frame->Grid()->Cells(TfraArchiveHdr::colPointName, r);
        return names;
    }

    UnitModel* unit = nullptr;
    std::unique_ptr<UnitEmulator> emulator;
};

const std::array<LogRecord, 6> kUnitLogs = {{{0, 1, 0, 0x21, 3, {kClock, kLogGain, kPurge}},
                                             {1, 1, 0, 0x22, 2, {kClock, kPurge}},
                                             {2, 1, 6, 0x23, 2, {kClock, kLogGain}},
                                             {3, 0, 60, 0x24, 1, {kClock}},
                                             {4, 0, 0, 0x25, 1, {kClock}},
                                             {5, 0, 0, 0x26, 1, {kClock}}}};

}  // namespace

TEST_F(LogConfigWithUnit, EditsGoIntoTheRecordsAndWriteToAnalyzerSendsAllSix)
{
    setUnitLogs(kUnitLogs);
    logOn();
    TLogFrm* window = open();

    EXPECT_EQ(messages(), QStringList{"Warning:\nAny changes to the archive setup will delete all previouse logs.\n"
                                      "Save current archive logs before making any changes."});
    EXPECT_EQ(window->windowTitle(), "Log Configuration");
    EXPECT_GT(window->Tree()->topLevelItemCount(), 0);
    EXPECT_EQ(window->Tree()->topLevelItem(0)->text(0), "Avaiable Points");
    TfraArchiveHdr* onRun = window->Frame(0);
    TfraArchiveHdr* periodic1 = window->Frame(3);
    EXPECT_EQ(shownPoints(onRun), (QStringList{nameOf(kLogGain), nameOf(kPurge)}));
    EXPECT_FALSE(periodic1->EnableBox()->isChecked());
    EXPECT_EQ(periodic1->FrequencyEdit()->text(), "60");
    EXPECT_FALSE(onRun->FrequencyEdit()->isVisibleTo(onRun));
    auto* tabs = window->findChild<QTabWidget*>("pcArchives");
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(2), " Log Daily");
    testenv::dialogs().clear();
    if (qEnvironmentVariableIsSet("KVT_GRAB_DIR"))
        window->grab().save(QDir(qEnvironmentVariable("KVT_GRAB_DIR")).filePath("LogFrm.png"));

    // The first point of an empty log switches it on at one second with a fresh code.
    periodic1->DropPoint(kDay, logcfg::DropPlace::PointCell, 1);
    LogRecord& p1 = DataBase::Instance()->LogRecords()[3];
    EXPECT_TRUE(periodic1->EnableBox()->isChecked());
    EXPECT_EQ(periodic1->FrequencyEdit()->text(), "1");
    EXPECT_EQ(bytesOf(p1), bytesOf(LogRecord{3, 1, 1, 0x2C, 2, {kClock, kDay}}));
    // A point already there is refused with a message; a drop onto a row replaces in place.
    periodic1->DropPoint(kDay, logcfg::DropPlace::Below, 2);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("\"%1\" is already in this log.").arg(nameOf(kDay))});
    onRun->DropPoint(kDay, logcfg::DropPlace::PointCell, 2);
    onRun->DropPoint(kZero, logcfg::DropPlace::Below, 3);
    EXPECT_EQ(shownPoints(onRun), (QStringList{nameOf(kLogGain), nameOf(kDay), nameOf(kZero)}));
    // Rows moved by the user move the parameters; "Delete Item" asks first.
    onRun->MoveRow(3, 1);
    onRun->Grid()->setCurrentCell(1, TfraArchiveHdr::colPointName);
    testenv::dialogs().answerButton(QMessageBox::Yes);
    onRun->mnuDeleteCurrItemClick();
    EXPECT_EQ(testenv::dialogs().shown().back().text,
              QStringLiteral("Are you sure you want to remove \"%1\"?").arg(nameOf(kLogGain)));
    const LogRecord& r0 = DataBase::Instance()->LogRecords()[0];
    EXPECT_EQ(r0.ParametersInLog, 3);
    EXPECT_EQ(r0.Parameters[1], kZero);
    EXPECT_EQ(r0.Parameters[2], kDay);
    EXPECT_EQ(r0.Parameters[3], 0);
    EXPECT_EQ(shownPoints(onRun), (QStringList{nameOf(kZero), nameOf(kDay)}));
    EXPECT_EQ(unit->receivedCount(0x26), 0) << "drops and deletions wait for the write";

    // Enter in the frequency edit refuses what the record cannot hold and sends a good value at once.
    testenv::dialogs().clear();
    periodic1->FrequencyEdit()->setText("70000");
    periodic1->edtFrequencyEnter();
    EXPECT_EQ(messages(), QStringList{"The value is out of range."});
    EXPECT_EQ(unit->receivedCount(0x26), 0);
    EXPECT_EQ(p1.Frequency, 1);
    periodic1->FrequencyEdit()->setText("120");
    periodic1->edtFrequencyEnter();
    ASSERT_EQ(unit->receivedCount(0x26), 6);
    EXPECT_EQ(recordOf(unit->logRecord(3)).Frequency, 120);

    // "Write to Analyzer" gives every log a new code and sends the six records.
    unit->clearReceived();
    const auto before = DataBase::Instance()->LogRecords();
    window->findChild<QToolButton*>("btnWrite")->click();
    ASSERT_EQ(unit->receivedCount(0x26), 6);
    for (int k = 0; k < 6; ++k) {
        LogRecord expected = before[static_cast<std::size_t>(k)];
        expected.LogIDCode = static_cast<std::uint8_t>((expected.LogIDCode + 6) % 255);
        EXPECT_EQ(unit->logRecord(k).toHex(), bytesOf(expected).toHex()) << k;
    }
    EXPECT_EQ(recordOf(unit->logRecord(0)).LogIDCode, 0x21 + 8 + 6);
    EXPECT_EQ(onRun->Grid()->Cells(TfraArchiveHdr::colLogID, 0), QString::number(0x21 + 8 + 6));

    // Closing and declining the permanent write sends nothing more.
    unit->clearReceived();
    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::No);
    window->reject();
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Attention");
    EXPECT_EQ(testenv::dialogs().shown()[0].text, "Do You Want Permanent Write To Analyzer");
    EXPECT_TRUE(unit->received().empty());
}

TEST_F(LogConfigWithUnit, RepeatedCodesAreRepairedOnYesAndLockTheWindowOnNo)
{
    auto logs = kUnitLogs;
    logs[1].LogIDCode = 0x21;
    setUnitLogs(logs);
    logOn();
    standIn({"WriteLogConfig", "WriteConfig"});

    testenv::dialogs().answerButton(QMessageBox::No);
    TLogFrm* window = open();
    EXPECT_TRUE(ran.empty());
    EXPECT_FALSE(window->Tree()->isEnabled());
    EXPECT_FALSE(window->findChild<QToolButton*>("btnRead")->isEnabled());
    EXPECT_TRUE(window->findChild<QToolButton*>("btnWrite")->isEnabled());
    window->hide();

    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    window->show();
    ASSERT_GE(messages().size(), 2);
    EXPECT_TRUE(messages()[0].startsWith("Invalid Log Configuration was found."));
    EXPECT_EQ(ran, (std::vector<std::string>{"WriteLogConfig", "WriteConfig"}));
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(DataBase::Instance()->LogRecords()[static_cast<std::size_t>(k)].LogIDCode, k + 1);
    EXPECT_TRUE(window->Tree()->isEnabled());
    EXPECT_EQ(window->Frame(1)->Grid()->Cells(TfraArchiveHdr::colLogID, 0), "2");
    window->hide();
}

namespace {

// Two records of log 0 (one value) and one of log 1 (two values) between them.
class CsvExportInWindow : public FormMainFixture {
protected:
    void SetUp() override
    {
        FormMainFixture::SetUp();
        auto& logs = DataBase::Instance()->LogRecords();
        logs = {};
        logs[0] = {0, 1, 0, 9, 2, {kClock, kLogGain}};
        logs[1] = {1, 1, 0, 17, 3, {kClock, kPurge, kZero}};
        LogDBMgr* db = LogDBMgr::Instance();
        db->Clear();
        add(t0, 0, {"2.25"});
        add(t0 + 1.0 / 24, 1, {"120", "7"});
        add(t0 + 2.0 / 24, 0, {"3"});
        db->DistributeRecords();
        viewer = form->findChild<TfraArchiveViewer*>("fraArchiveViewer");
        ASSERT_NE(viewer, nullptr);
    }

    void TearDown() override
    {
        FormMainFixture::TearDown();
        LogDBMgr::ReleaseInstance();
    }

    void add(double time, int log, std::vector<const char*> values)
    {
        auto r = std::make_unique<ALOGPOINTRECORD>();
        r->dateTime = time;
        r->logIndex = log;
        for (std::size_t j = 0; j < values.size(); ++j)
            r->SetValueText(log * 8 + static_cast<int>(j), values[j]);
        LogDBMgr::Instance()->AppendRecord(std::move(r));
    }

    static QStringList messages()
    {
        QStringList texts;
        for (const auto& shown : testenv::dialogs().shown())
            if (shown.kind == DialogService::Kind::Message)
                texts << shown.text;
        return texts;
    }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QByteArray latin1(double t) { return toolkitdate::dateTimeToStr(t).toLatin1(); }
    static QByteArray name(int id)
    {
        return QByteArray::fromStdString(DataBase::Instance()->GetPointById(id)->GetName());
    }

    // Unticks the named rows of the column dialog, then presses "Save && Exit".
    static ScriptedModals::Answer choose(std::vector<int> untick)
    {
        return [untick](QDialog& d) {
            auto& dialog = static_cast<TfmCSVConfig&>(d);
            EXPECT_EQ(dialog.windowTitle(), "CSV File Configuration");
            if (qEnvironmentVariableIsSet("KVT_GRAB_DIR"))
                dialog.grab().save(QDir(qEnvironmentVariable("KVT_GRAB_DIR")).filePath("fmCSVConfig.png"));
            for (int row : untick)
                dialog.Grid()->item(row, 1)->setCheckState(Qt::Unchecked);
            dialog.findChild<QPushButton*>("SaveExit")->click();
        };
    }

    const double t0 = toolkitdate::fromDateTime(QDate(2024, 3, 5), QTime(10, 0));
    TfraArchiveViewer* viewer = nullptr;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(CsvExportInWindow, LegalAndPacketFilesWithTheChosenColumns)
{
    const QString legal = dir.filePath("legal");
    testenv::dialogs().answerText(legal);
    modals.answers = {choose({2})};
    viewer->SaveasCSVClick();
    EXPECT_EQ(read(legal + ".csv"), "TimeStamp," + name(kLogGain) + "," + name(kPurge) + "\r" + latin1(t0) +
                                        ",2.25,\r" + latin1(t0 + 1.0 / 24) + ",,120\r" + latin1(t0 + 2.0 / 24) +
                                        ",3,\r");
    EXPECT_EQ(LogDBMgr::Instance()->Selection()[1][1], 0);

    const QString packet = dir.filePath("packet.csv");
    testenv::dialogs().answerText(packet);
    modals.answers = {choose({})};
    viewer->SaveAsPacketCSVClick();
    EXPECT_EQ(read(packet), "TimeStamp," + name(kLogGain) + "," + name(kPurge) + "," + name(kZero) + "\r" + latin1(t0) +
                                ",2.25,120,7\r" + latin1(t0 + 2.0 / 24) + ",3,,\r");
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(CsvExportInWindow, CancelsTouchNoFileAndAFailedWriteIsReported)
{
    const QString path = dir.filePath("kept.csv");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kept");
    }
    // The column dialog cancelled (the file's replacement agreed to).
    testenv::dialogs().answerText(path);
    testenv::dialogs().answerButton(QMessageBox::Yes);
    modals.answers = {};
    viewer->SaveasCSVClick();
    EXPECT_EQ(read(path), "kept");
    EXPECT_EQ(modals.captions, QStringList{"CSV File Configuration"});
    EXPECT_EQ(messages(), QStringList{"kept.csv already exists.\nDo you want to replace it?"});
    // The save dialog cancelled: no column dialog either.
    testenv::dialogs().answerText(QString());
    viewer->SaveAsPacketCSVClick();
    EXPECT_EQ(read(path), "kept");
    EXPECT_EQ(modals.captions.size(), 1);

    const QString missing = dir.filePath("no/such/folder/out.csv");
    testenv::dialogs().clear();
    testenv::dialogs().answerText(missing);
    modals.answers = {choose({})};
    viewer->SaveasCSVClick();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith(QStringLiteral("The file \"%1\" could not be written: ").arg(missing)));
    EXPECT_FALSE(QFile::exists(missing));
}

namespace {

// Sends a drag entering, moving over and dropping onto the grid's viewport, as a user's drag
// does; true when the drag-over accepted it (a refused drag leaves again).
bool dragAndDrop(TLogPointGrid* grid, const QMimeData* data, const QPoint& at)
{
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &move);
    if (!enter.isAccepted() || !move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(grid->viewport(), &leave);
        return false;
    }
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &drop);
    return true;
}

QPoint pointCellOf(TLogPointGrid* grid, int row)
{
    return grid->visualRect(grid->model()->index(row, TfraArchiveHdr::colPointName)).center();
}

}  // namespace

TEST(LogConfigWindow, TreePointsDragTheirIdAndTheGridTakesThemUpToSeven)
{
    auto& logs = DataBase::Instance()->LogRecords();
    logs = {};
    for (int k = 0; k < 6; ++k)
        logs[static_cast<std::size_t>(k)] = {static_cast<std::uint8_t>(k),     0, 60,
                                             static_cast<std::uint8_t>(k + 1), 1, {kClock}};
    TLogFrm window(*DataBase::Instance(), PageHost::None(), *UniqueLogID::Instance());
    window.resize(880, 560);
    testenv::dialogs().clear();
    window.show();  // no unit: the read does nothing
    TfraArchiveHdr* frame = window.Frame(3);
    TLogPointGrid* grid = frame->Grid();
    window.findChild<QTabWidget*>("pcArchives")->setCurrentIndex(3);
    QCoreApplication::processEvents();

    // Every point node of the tree drags its point id; a group drags nothing.
    QTreeWidget* tree = window.Tree();
    QTreeWidgetItem* group = tree->topLevelItem(0)->child(0);
    ASSERT_NE(group, nullptr);
    ASSERT_GE(group->childCount(), 8);
    const auto mimeOf = [tree](QTreeWidgetItem* item) {
        const QModelIndex index = tree->indexFromItem(item);
        return std::unique_ptr<QMimeData>(tree->model()->mimeData({index}));
    };
    EXPECT_EQ(mimeOf(group), nullptr);
    std::vector<std::uint16_t> ids;
    for (int i = 0; i < 8; ++i) {
        auto data = mimeOf(group->child(i));
        ASSERT_NE(data, nullptr);
        const auto id = logcfg::readPointPayload(data->data(logcfg::kPointMime));
        ASSERT_TRUE(id.has_value());
        EXPECT_EQ(QString::fromStdString(DataBase::Instance()->GetPointById(*id)->GetName()), group->child(i)->text(0));
        ids.push_back(*id);
    }

    // The empty row's "Data Point" cell takes the first point; later ones go below the rows.
    auto first = mimeOf(group->child(0));
    ASSERT_TRUE(dragAndDrop(grid, first.get(), pointCellOf(grid, 0)));
    for (int i = 1; i < 7; ++i) {
        auto data = mimeOf(group->child(i));
        EXPECT_TRUE(dragAndDrop(grid, data.get(), QPoint(20, grid->viewport()->height() - 5))) << i;
    }
    const LogRecord& record = logs[3];
    ASSERT_EQ(record.ParametersInLog, 8);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(record.Parameters[i + 1], ids[static_cast<std::size_t>(i)]);
    EXPECT_EQ(record.Enable, 1);
    EXPECT_EQ(record.Frequency, 1);
    EXPECT_EQ(grid->rowCount(), 7);

    // An eighth is refused by the drag itself; so is a drop on the "Item" cell and an unreadable payload.
    auto eighth = mimeOf(group->child(7));
    EXPECT_FALSE(dragAndDrop(grid, eighth.get(), QPoint(20, grid->viewport()->height() - 5)));
    QMimeData junk;
    junk.setData(logcfg::kPointMime, "not a point");
    EXPECT_FALSE(dragAndDrop(grid, &junk, pointCellOf(grid, 2)));
    EXPECT_FALSE(
        dragAndDrop(grid, eighth.get(), grid->visualRect(grid->model()->index(2, TfraArchiveHdr::colSeq)).center()));
    // Onto a row's "Data Point" cell it replaces that row's point.
    ASSERT_TRUE(dragAndDrop(grid, eighth.get(), pointCellOf(grid, 2)));
    EXPECT_EQ(record.ParametersInLog, 8);
    EXPECT_EQ(record.Parameters[3], ids[7]);
    EXPECT_EQ(grid->Cells(TfraArchiveHdr::colPointName, 2), group->child(7)->text(0));
    // A row moved by its header moves the parameter; the header itself stays in order.
    grid->verticalHeader()->moveSection(0, 2);
    EXPECT_EQ(record.Parameters[1], ids[1]);
    EXPECT_EQ(record.Parameters[2], ids[7]);
    EXPECT_EQ(record.Parameters[3], ids[0]);
    EXPECT_EQ(grid->verticalHeader()->visualIndex(0), 0);
    EXPECT_EQ(grid->Cells(TfraArchiveHdr::colPointName, 2), group->child(0)->text(0));
    EXPECT_EQ(testenv::dialogs().shown().size(), 1u) << "the opening warning only";
    if (qEnvironmentVariableIsSet("KVT_GRAB_DIR")) {
        const QDir grabs(qEnvironmentVariable("KVT_GRAB_DIR"));
        window.grab().save(grabs.filePath("LogFrm-periodic1.png"));
        window.findChild<QTabWidget*>("pcArchives")->setCurrentIndex(2);
        window.grab().save(grabs.filePath("LogFrm-daily.png"));
    }
    window.hide();
}

TEST(LogConfigWindow, TheGridsKeepTheirColumnWidths)
{
    {
        TfraArchiveHdr frame(*DataBase::Instance(), PageHost::None(), *UniqueLogID::Instance(), nullptr, 0);
        frame.Grid()->horizontalHeader()->resizeSection(TfraArchiveHdr::colSeq, 77);
    }
    TfraArchiveHdr again(*DataBase::Instance(), PageHost::None(), *UniqueLogID::Instance(), nullptr, 4);
    EXPECT_EQ(again.Grid()->columnWidth(TfraArchiveHdr::colSeq), 77);
}
