// The Archive page against the emulated unit: a wrapped archive of three logs read into the grid,
// saved as an XML archive file, read back from it, and the failures of both roads.
#include "formmainfixture.h"
#include "unitlinkfixture.h"

#include "archivegridmodel.h"
#include "archiveviewer.h"
#include "archivexmlfile.h"
#include "database.h"
#include "databasepoint.h"
#include "logdbmgr.h"
#include "loggridview.h"
#include "memoryframes.h"
#include "testpages.h"
#include "toolkitdate.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

namespace {

constexpr int kRecords = 400;
constexpr int kInterval = 900;
const QString kGain = QStringLiteral("2.28999996185303");

class ArchiveViewerWithUnit : public FormMainFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startUnitOnLoopback(emulator, unit));
        FormMainFixture::SetUp();
        LogDBMgr::Instance()->Clear();

        // Three enabled logs: On Run (Stream 1: Gain, Purge Time), Hourly (Purge Time), Daily
        // (Stream 1: Gain); Periodic 1 is disabled and has no records.
        const LogRecord records[4] = {{0, 1, 0, 0x21, 3, {0, 21, 10}},
                                      {1, 1, 0, 0x22, 2, {0, 10}},
                                      {2, 1, 6, 0x23, 2, {0, 21}},
                                      {3, 0, 60, 0x24, 2, {0, 10}}};
        for (int k = 0; k < 4; ++k) {
            QByteArray bytes(sizeof(LogRecord), '\0');
            std::memcpy(bytes.data(), &records[k], sizeof(LogRecord));
            unit->setLogRecord(k, bytes);
        }
        // A gain whose single-precision value reads with fifteen digits, as the unit's floats do.
        unit->setValue(21, 2.29);
        unit->setValue(10, 120);
        plan.records = kRecords;
        plan.interval = kInterval;
        plan.wrap = 150;
        unit->setArchive(unit->makeArchive(plan));

        modals.answers = {ScriptedModals::press("btnUpdate"), ScriptedModals::password("qe$3916")};
        form->tbtnLogonClick();
        ASSERT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
        testenv::dialogs().clear();
        viewer = form->findChild<TfraArchiveViewer*>("fraArchiveViewer");
        ASSERT_NE(viewer, nullptr);
    }

    void TearDown() override
    {
        FormMainFixture::TearDown();
        LogDBMgr::ReleaseInstance();
        LogonCommand::SetSettleDelay(LogonCommand::kSettleMs);
        emulator.reset();
    }

    template <typename T>
    T* child(const char* name) const
    {
        return viewer->findChild<T*>(name);
    }

    // Record i of the emulated memory belongs to log i % 3 and was written at start + i * interval.
    QString timeOf(int i) const
    {
        const QDateTime t = plan.start.addSecs(static_cast<qint64>(i) * kInterval);
        return ArchiveGridModel::TimeText(toolkitdate::fromDateTime(t.date(), t.time()));
    }

    // The message boxes shown (the file dialogs left out).
    static QStringList messages()
    {
        QStringList texts;
        for (const auto& shown : testenv::dialogs().shown())
            if (shown.kind == DialogService::Kind::Message)
                texts << shown.text;
        return texts;
    }

    static QString pointName(int id)
    {
        return QString::fromStdString(DataBase::Instance()->GetPointById(id)->GetName());
    }

    // The grid shows the last rows of a log whose records are i = log, log + 3, ...
    void expectRows(int log, int count, int shown, const QStringList& values, const QStringList& headers)
    {
        ArchiveGridModel* grid = viewer->GridModel();
        ASSERT_EQ(grid->rowCount(), shown);
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(grid->HeaderText(3 + j), j < headers.size() ? headers[j] : QString()) << j;
        for (int r = 0; r < shown; ++r) {
            const int position = count - shown + r;  // in the log
            EXPECT_EQ(grid->CellText(r, 0), QString::number(position + 1));
            EXPECT_EQ(grid->CellText(r, 1), ArchiveGridModel::ArchiveName(log));
            ASSERT_EQ(grid->CellText(r, 2), timeOf(position * 3 + log)) << r;
            for (int j = 0; j < 8; ++j)
                EXPECT_EQ(grid->CellText(r, 3 + j), j < values.size() ? values[j] : QString());
        }
        EXPECT_EQ(child<QLineEdit>("LogRecordNum")->text(), QString::number(count));
        // Every fill fits the columns to the texts they show: each value reads whole.
        const auto* view = child<LogGridView>("gridArchive");
        const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        for (int c = 0; c < grid->columnCount(); ++c) {
            int widest = 0;
            for (int r = 0; r < shown; ++r)
                widest = std::max(widest, view->fontMetrics().horizontalAdvance(grid->CellText(r, c)));
            if (widest > 0)
                EXPECT_LE(widest + margin, view->columnWidth(c)) << "column " << c;
        }
    }

    UnitModel* unit = nullptr;
    std::unique_ptr<UnitEmulator> emulator;
    memoryframes::Plan plan;
    TfraArchiveViewer* viewer = nullptr;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ArchiveViewerWithUnit, ReadsTheArchiveShowsItSavesItAndReadsItBack)
{
    const QString path = dir.filePath("download.xml");
    testenv::dialogs().answerText(path);  // the save dialog that follows the download
    child<QToolButton>("btnReadFromUnit")->click();

    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    const int count0 = (kRecords + 2) / 3;
    expectRows(0, count0, 50, {kGain, "120"}, {pointName(21), pointName(10)});
    EXPECT_EQ(child<QLineEdit>("edtDispRange")->text(), "50");
    EXPECT_TRUE(child<QComboBox>("cbArchive")->isEnabled());
    EXPECT_EQ(child<QComboBox>("cbArchive")->currentText(), "On Run");
    EXPECT_FALSE(viewer->FromFile());
    EXPECT_TRUE(child<QToolButton>("btnReadFromUnit")->isEnabled());

    // The save dialog opened by itself and the whole download is in the file.
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].kind, DialogService::Kind::SaveFile);
    QString error;
    std::optional<ArchiveXmlFile::Contents> saved = ArchiveXmlFile::Read(path, &error);
    ASSERT_TRUE(saved) << error.toStdString();
    EXPECT_EQ(saved->records.size(), static_cast<std::size_t>(kRecords));

    // Another log, and a display range typed into the box.
    QComboBox* chooser = child<QComboBox>("cbArchive");
    chooser->setCurrentIndex(1);
    emit chooser->activated(1);
    EXPECT_EQ(viewer->ChosenArchive(), 1);
    expectRows(1, kRecords / 3, 50, {"120"}, {pointName(10)});
    QLineEdit* range = child<QLineEdit>("edtDispRange");
    range->setText("700000");
    QTest::keyClick(range, Qt::Key_Return);
    EXPECT_EQ(range->text(), QString::number(kRecords / 3));  // cut to 500000, then to the count
    expectRows(1, kRecords / 3, kRecords / 3, {"120"}, {pointName(10)});

    // Road 2: the same records from the file, under the names the file keeps.
    const QByteArray written = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QFile renamed(dir.filePath("renamed.xml"));
    ASSERT_TRUE(renamed.open(QIODevice::WriteOnly));
    renamed.write(QByteArray(written).replace(pointName(21).toUtf8(), "Gain from file"));
    renamed.close();
    LogDBMgr::Instance()->Clear();
    viewer->GridModel()->Clear();
    testenv::dialogs().clear();
    testenv::dialogs().answerText(renamed.fileName());
    child<QToolButton>("btnReadFromFile")->click();
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    EXPECT_TRUE(viewer->FromFile());
    EXPECT_EQ(viewer->ArchiveFileName(), renamed.fileName());
    expectRows(0, count0, 50, {kGain, "120"}, {"Gain from file", pointName(10)});

    // The page as a technician sees it.
    // Entering the page reads the log configuration from the unit.
    unit->clearReceived();
    form->resize(1100, 750);
    form->show();
    form->PageControlMain()->setCurrentWidget(viewer->parentWidget());
    QApplication::processEvents();
    EXPECT_GT(unit->receivedCount(0x24), 0);
    viewer->grab().save("/tmp/archiveviewer.png");
}

TEST_F(ArchiveViewerWithUnit, AFileThatFailsChangesNothing)
{
    testenv::dialogs().answerText("");  // no save
    child<QToolButton>("btnReadFromUnit")->click();
    const int count0 = (kRecords + 2) / 3;
    expectRows(0, count0, 50, {kGain, "120"}, {pointName(21), pointName(10)});
    const std::size_t records = LogDBMgr::Instance()->RecordCount();

    QFile bad(dir.filePath("bad.xml"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("<LOGDB><Point ParametersInLog=\"1\"><T>1/2/2012</T><L>9</L><C>1</C></Point></LOGDB>");
    bad.close();
    testenv::dialogs().clear();
    testenv::dialogs().answerText(bad.fileName());
    child<QToolButton>("btnReadFromFile")->click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith("Error opening file \"bad.xml\": LogNum \"9\""))
        << messages()[0].toStdString();
    EXPECT_FALSE(viewer->FromFile());
    EXPECT_EQ(LogDBMgr::Instance()->RecordCount(), records);
    expectRows(0, count0, 50, {kGain, "120"}, {pointName(21), pointName(10)});
}

TEST_F(ArchiveViewerWithUnit, ALogLengthThatCannotBeReadClearsTheGrid)
{
    testenv::dialogs().answerText("");
    child<QToolButton>("btnReadFromUnit")->click();
    ASSERT_EQ(viewer->GridModel()->rowCount(), 50);

    UnitModel::MessageFault silent;
    silent.requestType = 0x2A;  // the memory sizes
    silent.kind = UnitModel::MessageFault::Kind::Silence;
    silent.times = 0;
    unit->addFault(silent);
    testenv::dialogs().clear();
    child<QToolButton>("btnReadFromUnit")->click();
    EXPECT_TRUE(messages().contains("Read memory has exception")) << messages().join(" | ").toStdString();
    EXPECT_EQ(viewer->GridModel()->rowCount(), 0);
    EXPECT_TRUE(child<QToolButton>("btnReadFromUnit")->isEnabled());
    EXPECT_TRUE(child<QToolButton>("btnReadFromFile")->isEnabled());
}

TEST(ArchiveViewer, ReadingFromTheUnitNeedsALogon)
{
    testenv::dialogs().clear();
    TfraArchiveViewer viewer(testenv::pageServices(*DataBase::Instance()));
    viewer.findChild<QToolButton*>("btnReadFromUnit")->click();
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Warning");
    EXPECT_EQ(testenv::dialogs().shown()[0].text, "Please logon first, then do this.");
    EXPECT_FALSE(viewer.findChild<QComboBox*>("cbArchive")->isEnabled());
    EXPECT_EQ(viewer.findChild<QComboBox*>("cbArchive")->count(), 5);
    EXPECT_EQ(viewer.findChild<QComboBox*>("cbArchive")->currentIndex(), -1);
    EXPECT_EQ(viewer.findChild<QLineEdit*>("edtDispRange")->text(), "100");

    // Log Setup only in update mode.
    QToolButton* logSetup = viewer.findChild<QToolButton*>("btnLogSetup");
    EXPECT_FALSE(logSetup->isEnabled());
    viewer.SetReadOnly(false);
    EXPECT_TRUE(logSetup->isEnabled());
    viewer.SetReadOnly(true);
    EXPECT_FALSE(logSetup->isEnabled());
    testenv::dialogs().clear();
}

TEST(ArchiveViewer, FiltersHidingAndGridFilesFromThePage)
{
    LogDBMgr* db = LogDBMgr::Instance();
    db->Clear();
    for (int i = 0; i < 5; ++i) {
        auto r = std::make_unique<ALOGPOINTRECORD>();
        r->dateTime = toolkitdate::fromDateTime(QDate(2012, 1, 1 + i), QTime(12, 0));
        r->SetValueText(0, std::to_string(i));
        r->SetValueText(1, "x");
        db->AppendRecord(std::move(r));
    }
    db->DistributeRecords();
    DataBase::Instance()->LogRecords()[0] = {0, 1, 0, 1, 3, {0, 21, 10}};
    testenv::dialogs().clear();
    TfraArchiveViewer viewer(testenv::pageServices(*DataBase::Instance()));
    viewer.UpdateLogView();
    ArchiveGridModel* grid = viewer.GridModel();
    ASSERT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(viewer.findChild<QLineEdit*>("LogRecordNum")->text(), "5");
    LogGridView* view = viewer.Grid();

    // A log without parameters shows no row and leaves the count as it was; a log without
    // records shows "0".
    DataBase::Instance()->LogRecords()[1] = {1, 0, 0, 2, 0, {}};
    DataBase::Instance()->LogRecords()[2] = {2, 1, 0, 3, 2, {0, 21}};
    viewer.FillGrid(1);
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(viewer.findChild<QLineEdit*>("LogRecordNum")->text(), "5");
    viewer.FillGrid(2);
    EXPECT_EQ(viewer.findChild<QLineEdit*>("LogRecordNum")->text(), "0");
    viewer.findChild<QLineEdit*>("edtDispRange")->setText("3");
    viewer.FillGrid(0);
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->CellText(0, ArchiveGridModel::colSeq), "3");
    viewer.findChild<QLineEdit*>("edtDispRange")->setText("50");
    viewer.FillGrid(0);
    EXPECT_EQ(viewer.findChild<QLineEdit*>("edtDispRange")->text(), "5");

    // [Custom] on a value column asks for the condition, offering the last one.
    testenv::dialogs().answerText(">2");
    view->ChooseFilter(3, 1);
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Set Filter (<,>,=,*,&,^)");
    EXPECT_EQ(testenv::dialogs().shown()[0].text, "[Custom]");
    EXPECT_EQ(grid->rowCount(), 2);
    view->ChooseFilter(3, 0);  // [All]
    EXPECT_EQ(grid->rowCount(), 5);
    view->ChooseFilter(3, 1);  // cancelled: the offered ">2" stays the condition
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->ColumnFilter(3), ">2");
    view->ChooseFilter(3, 0);

    // A cancelled date range shows every row; a named range filters by the date.
    modal::setRunner([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    view->ChooseFilter(ArchiveGridModel::colTS, 1);
    EXPECT_EQ(grid->rowCount(), 5);
    modal::setRunner({});
    view->ChooseFilter(ArchiveGridModel::colTS, 2);  // Today: none of 2012
    EXPECT_EQ(grid->rowCount(), 0);
    view->ChooseFilter(ArchiveGridModel::colTS, 0);

    // A whole column selected offers to hide it.
    QAction* hide = viewer.PopupMenu()->findChild<QAction*>("mnuHideSelectedColumn");
    QAction* unhide = viewer.PopupMenu()->findChild<QAction*>("mnuUnhideAllColumns");
    ASSERT_TRUE(hide && unhide);
    EXPECT_FALSE(hide->isVisible());
    view->selectColumn(4);
    EXPECT_TRUE(hide->isVisible());
    EXPECT_TRUE(viewer.findChild<QToolButton*>("btnGraphSelCol")->isEnabled());
    hide->trigger();
    EXPECT_TRUE(view->isColumnHidden(4));
    EXPECT_TRUE(unhide->isVisible());
    unhide->trigger();
    EXPECT_FALSE(view->isColumnHidden(4));

    // Grid files through the menu; a file that is none is reported.
    QTemporaryDir dir;
    testenv::dialogs().clear();
    testenv::dialogs().answerText(dir.filePath("cells"));
    viewer.PopupMenu()->findChild<QAction*>("mnuSaveFile")->trigger();
    ASSERT_TRUE(QFile::exists(dir.filePath("cells.tvar")));
    QFile bad(dir.filePath("bad.tvar"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("no grid");
    bad.close();
    testenv::dialogs().answerText(bad.fileName());
    viewer.PopupMenu()->findChild<QAction*>("mnuLoadFile")->trigger();
    EXPECT_EQ(testenv::dialogs().shown().back().text, QString("Error opening file \"%1\"").arg(bad.fileName()));
    EXPECT_EQ(grid->rowCount(), 5);
    testenv::dialogs().answerText(dir.filePath("cells.tvar"));
    viewer.PopupMenu()->findChild<QAction*>("mnuLoadFile")->trigger();
    EXPECT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(grid->RecordAt(0), nullptr);  // cells of the file, no longer the database's
    EXPECT_EQ(grid->CellText(4, 3), "4");

    // The spreadsheet leaves hidden columns out.
    view->HideColumns(5, 10);
    testenv::dialogs().answerText(dir.filePath("sheet"));
    viewer.PopupMenu()->findChild<QAction*>("mnuSaveasXLS")->trigger();
    EXPECT_TRUE(QFile::exists(dir.filePath("sheet.xlsx")));
    testenv::dialogs().clear();
    LogDBMgr::ReleaseInstance();
}
