// The event grids without a unit: rows from framed memory and from 9-byte slots, the usage
// figures, the table's comment column and filters, report files and exports, and the Event Log
// window over hand-made buffers.
#include "auditgrid.h"
#include "archivegridmodel.h"
#include "auditform.h"
#include "auditview.h"
#include "database.h"
#include "gridtools.h"
#include "loggridview.h"
#include "memoryimage.h"
#include "pagehost.h"
#include "testenv.h"
#include "timestamptoken.h"
#include "toolkitdate.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

using memimage::Bytes;
using memimage::concat;
using memimage::eventFrame;
using memimage::token;

namespace {

QString timeText(int year, int month, int day, int hour, int minute, int second)
{
    return ArchiveGridModel::TimeText(toolkitdate::fromDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

QStringList row(const AuditGridModel& model, int r)
{
    QStringList cells;
    for (int c = 0; c < AuditGridModel::kColumns; ++c)
        cells << model.CellText(r, c);
    return cells;
}

// The nine bytes of one event record as the Event Log window reads them: token, type, sub-code,
// condition and the CRC, low byte first; crcDelta spoils the CRC.
Bytes slot(std::uint32_t t, std::uint8_t type, std::uint8_t subCode, std::uint8_t condition, std::uint16_t crcDelta = 0)
{
    Bytes data;
    memimage::putU32(data, t);
    data.insert(data.end(), {type, subCode, condition});
    memimage::putU16(data, static_cast<std::uint16_t>(Crc16Modbus::compute(data.data(), data.size()) ^ crcDelta));
    return data;
}

QAction* menuItem(TAuditView* view, const char* name)
{
    return view->PopupMenu()->findChild<QAction*>(name);
}

QStringList messages()
{
    QStringList texts;
    for (const auto& shown : testenv::dialogs().shown())
        if (shown.kind == DialogService::Kind::Message)
            texts << shown.text;
    return texts;
}

}  // namespace

TEST(AuditUsage, PercentTextAndBar)
{
    struct Case {
        std::size_t used, total;
        const char* text;
        int bar;  // in a 237-pixel image
    };
    const Case cases[] = {
        {406, 1000, "40.60%", 96}, {403, 1000, "40.30%", 95}, {2, 3, "66.70%", 158},
        {1, 1, "100.00%", 237},    {0, 1000, "0.00%", 0},     {45678, 100000, "45.70%", 108},
        {1, 3000, "0.03%", 0},     {7, 5, "100.00%", 237},    {999, 1000, "99.90%", 236},
        {0, 0, "0.00%", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(auditrows::PercentText(auditrows::Percent(c.used, c.total)), c.text) << c.used << "/" << c.total;
        EXPECT_EQ(auditrows::BarWidth(237, c.used, c.total), c.bar) << c.used << "/" << c.total;
    }
}

TEST(AuditRows, FramedMemoryInTimeOrderWithWhatItOccupies)
{
    // A wrapped memory: the newest events first, then the older ones; one token and one CRC need
    // escapes, one frame has a bad CRC, and the rest of the memory is blank.
    const std::uint32_t t1 = token(2012, 2, 27, 10, 15, 30);  // low byte 0xDE: escaped
    const std::uint32_t t2 = token(2012, 2, 27, 11, 0, 0);
    const std::uint32_t t3 = token(2012, 2, 28, 0, 0, 0);
    ASSERT_EQ(t1 & 0xFF, 0xDEu);
    Bytes memory = concat({eventFrame(t3, 9, 2, 250), eventFrame(t2, 200, 21, 1, 0x0101), eventFrame(t1, 4, 10, 0),
                           eventFrame(t2, 10, 15, 1)});
    const std::size_t occupied = memory.size();
    memory.resize(1000, 0xFF);

    const auditrows::Framed framed = auditrows::FromFrames(memory.data(), memory.size(), nullptr);
    ASSERT_EQ(framed.rows.size(), 3u);
    EXPECT_EQ(framed.used, 31u);  // three frames and the one escape of a good frame
    EXPECT_EQ(occupied, 10u * 4 + 1);
    const std::vector<std::array<QString, 4>> expected = {
        {timeText(2012, 2, 27, 10, 15, 30), "Alarm", "Battery", "Condition On"},
        {timeText(2012, 2, 27, 11, 0, 0), "Latch change", "Latch 16", "Condition Off"},
        {timeText(2012, 2, 28, 0, 0, 0), "Run initiated", "Stream 3", "Unset"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const AuditGridRow& r = framed.rows[i];
        EXPECT_EQ(ArchiveGridModel::TimeText(r.date), expected[i][0]) << i;
        EXPECT_EQ(r.eventText, expected[i][1]) << i;
        EXPECT_EQ(r.description1, expected[i][2]) << i;
        EXPECT_EQ(r.description2, expected[i][3]) << i;
    }
    EXPECT_EQ(expected[2][0], "2/28/2012");  // midnight shows the date alone
    EXPECT_EQ(auditrows::PercentText(auditrows::Percent(framed.used, memory.size())), "3.10%");
}

TEST(AuditRows, NineByteSlots)
{
    // The worked record: 27 February 2012 10:15:30, "Alarm", "Battery", "Condition On".
    const Bytes worked{0xDE, 0xA3, 0xB6, 0x30, 0x04, 0x0A, 0x00, 0xBC, 0x25};
    EXPECT_EQ(worked, slot(token(2012, 2, 27, 10, 15, 30), 4, 10, 0));
    struct Case {
        const char* name;
        Bytes memory;
        std::size_t slotCount, good;
        QStringList events;
    };
    const Case cases[] = {
        {"one good slot", worked, 1, 1, {"Alarm"}},
        {"good, bad CRC, good",
         concat({slot(token(2020, 1, 2, 3, 4, 5), 0, 0, 0), slot(5, 3, 0, 0, 0x8000), slot(1, 200, 99, 9)}),
         3,
         2,
         {"Power Up", "Unknown (200)"}},
        {"two slots and two bytes left over", concat({worked, worked, Bytes{0xDE, 0xAD}}), 2, 2, {"Alarm", "Alarm"}},
        {"fewer than nine bytes", Bytes(8, 0), 0, 0, {}},
        {"empty", Bytes{}, 0, 0, {}},
    };
    for (const Case& c : cases) {
        const auditrows::Slots s = auditrows::FromSlots(c.memory.data(), c.memory.size());
        EXPECT_EQ(s.slotCount, c.slotCount) << c.name;
        EXPECT_EQ(s.good, c.good) << c.name;
        QStringList events;
        for (const AuditGridRow& r : s.rows)
            events << r.eventText;
        EXPECT_EQ(events, c.events) << c.name;
    }
    // Buffer order is kept: the window does not sort.
    const Bytes later = concat({slot(token(2020, 5, 1, 0, 0, 0), 1, 0, 0), slot(token(2020, 1, 1, 0, 0, 0), 0, 0, 0)});
    const auditrows::Slots s = auditrows::FromSlots(later.data(), later.size());
    ASSERT_EQ(s.rows.size(), 2u);
    EXPECT_EQ(s.rows[0].eventText, "Time Changed");
    EXPECT_EQ(s.rows[1].eventText, "Power Up");
}

TEST(AuditGridModel, NumbersRowsTakesCommentsOnlyAndFilters)
{
    AuditGridModel model;
    std::vector<AuditGridRow> rows;
    const double day = toolkitdate::fromDateTime(QDate(2026, 3, 1));
    for (int i = 0; i < 6; ++i)
        rows.push_back({day + i * 0.5, ArchiveGridModel::TimeText(day + i * 0.5),
                        i % 2 ? QStringLiteral("Alarm") : QStringLiteral("Power Up"), QStringLiteral("Battery"),
                        QString()});
    model.ShowEvents(std::move(rows));
    ASSERT_EQ(model.rowCount(), 6);
    EXPECT_EQ(model.HeaderText(0), "Seq");
    EXPECT_EQ(model.HeaderText(1), "Timestamp");
    EXPECT_EQ(model.HeaderText(3), "Description 1");
    EXPECT_EQ(model.HeaderText(5), "");
    EXPECT_EQ(model.CellText(5, 0), "6");

    EXPECT_FALSE(model.flags(model.index(0, AuditGridModel::colEvent)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, AuditGridModel::colEvent), "x"));
    EXPECT_TRUE(model.setData(model.index(1, AuditGridModel::colComment), "checked by JS"));

    // The comment follows its row through a filter.
    model.SetColumnFilter(AuditGridModel::colEvent, "Alarm");
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.CellText(0, AuditGridModel::colSeq), "2");
    EXPECT_EQ(model.CellText(0, AuditGridModel::colComment), "checked by JS");
    EXPECT_TRUE(model.setData(model.index(2, AuditGridModel::colComment), "sixth"));
    model.SetColumnFilter(AuditGridModel::colEvent, "*");
    EXPECT_EQ(model.CellText(5, AuditGridModel::colComment), "sixth");

    // Dates filter as dates: the second day holds rows 3 and 4.
    model.SetColumnFilter(AuditGridModel::colTS,
                          gridfilter::RangeCondition(gridfilter::CustomRange(QDate(2026, 3, 2), QDate(2026, 3, 2))));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.CellText(0, 0), "3");
    EXPECT_EQ(model.CellText(1, 0), "4");
}

TEST(AuditGridModel, ReportFileRoundTripAndRefusals)
{
    QTemporaryDir dir;
    AuditGridModel model;
    const double when = toolkitdate::fromDateTime(QDate(2026, 3, 1), QTime(8, 30, 5));
    model.ShowEvents({{when, ArchiveGridModel::TimeText(when), "Alarm", "Stream 1 H2S Deviation", "Condition On"},
                      {when + 1, ArchiveGridModel::TimeText(when + 1), "Bypass", "", "Condition Off"}});
    model.setData(model.index(0, AuditGridModel::colComment), "tab\there, comma, \"quote\"\nline");

    const QString path = dir.filePath("events.tvau");
    QString error;
    ASSERT_TRUE(gridfile::Save(path, model, &error)) << error.toStdString();
    std::optional<gridfile::Cells> cells = gridfile::Load(path, &error);
    ASSERT_TRUE(cells) << error.toStdString();
    EXPECT_TRUE(auditrows::ReportProblem(cells->headers, cells->rows).isEmpty());
    AuditGridModel loaded;
    loaded.ShowCells(cells->headers, std::move(cells->rows));
    ASSERT_EQ(loaded.rowCount(), 2);
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(row(loaded, r), row(model, r)) << r;
    // Time stamps of a loaded report still filter as dates.
    loaded.SetColumnFilter(AuditGridModel::colTS, ">=3/2/2026");
    ASSERT_EQ(loaded.rowCount(), 1);
    EXPECT_EQ(loaded.CellText(0, AuditGridModel::colEvent), "Bypass");

    // An archive grid file is no event log report.
    ArchiveGridModel archive;
    archive.ShowCells({"Seq", "Log Name", "Timestamp"}, {{"1", "On Run", "3/1/26"}});
    const QString archivePath = dir.filePath("archive.tvar");
    ASSERT_TRUE(gridfile::Save(archivePath, archive, &error));
    cells = gridfile::Load(archivePath, &error);
    ASSERT_TRUE(cells);
    EXPECT_EQ(auditrows::ReportProblem(cells->headers, cells->rows),
              "the file holds 11 columns, an event log report holds 6");
    EXPECT_EQ(auditrows::ReportProblem({"a", "b", "c", "d", "e", "f"}, {}), "the file is no event log report");
}

TEST(AuditGridExport, CsvQuotesWhatNeedsIt)
{
    AuditGridModel model;
    model.ShowEvents({{0.5, "12:00:00 PM", "Alarm", "Analog Input 1 > limit", "Condition On"}});
    model.setData(model.index(0, AuditGridModel::colComment), "a, \"b\"");
    EXPECT_EQ(gridexport::EncodeCsv(model, {0, 1, 2, 3, 4, 5}),
              "Seq,Timestamp,Event,Description 1,Description 2,\r\n"
              "1,12:00:00 PM,Alarm,Analog Input 1 > limit,Condition On,\"a, \"\"b\"\"\"\r\n");
    EXPECT_EQ(gridexport::EncodeCsv(model, {0, 2}), "Seq,Event\r\n1,Alarm\r\n");
}

class AuditFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::dialogs().clear();
        DataBase::Instance()->eventMemory.clear();
    }
    void TearDown() override
    {
        DataBase::Instance()->eventMemory.clear();
        testenv::dialogs().clear();
    }

    void setMemory(const Bytes& bytes) { DataBase::Instance()->eventMemory = bytes; }

    TAuditForm form{*DataBase::Instance(), PageHost::None()};
    QTemporaryDir dir;
};

TEST_F(AuditFormTest, ActivationReadsTheSlotsAndTheUsage)
{
    TAuditView* view = form.View();
    EXPECT_EQ(form.windowTitle(), "Event Log");
    EXPECT_EQ(view->PercentLabel()->text(), "0.00%");

    // Fewer than nine bytes: no rows, the bar as it was.
    setMemory(Bytes(5, 0));
    form.FormActivate();
    EXPECT_EQ(view->Model()->rowCount(), 0);
    EXPECT_EQ(view->PercentLabel()->text(), "0.00%");

    const Bytes worked{0xDE, 0xA3, 0xB6, 0x30, 0x04, 0x0A, 0x00, 0xBC, 0x25};
    setMemory(concat({worked, slot(9, 4, 10, 0, 0x0001), slot(token(2012, 2, 28, 0, 0, 0), 7, 0, 1)}));
    form.FormActivate();
    const AuditGridModel& model = *view->Model();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(row(model, 0),
              (QStringList{"1", timeText(2012, 2, 27, 10, 15, 30), "Alarm", "Battery", "Condition On", ""}));
    EXPECT_EQ(row(model, 1), (QStringList{"2", "2/28/2012", "Direct Control", "", "Condition Off", ""}));
    EXPECT_EQ(view->PercentLabel()->text(), "66.70%");
    const QImage bar = view->Image()->pixmap().toImage();
    ASSERT_EQ(bar.width(), 251);
    EXPECT_EQ(bar.pixelColor(80, 7), QColor(0, 255, 0));  // inside the bar (167 pixels)
    EXPECT_EQ(bar.pixelColor(230, 7), form.palette().color(QPalette::Button));

    // With KVT_GRAB_DIR set, the window is saved there to look at.
    if (const QString grabs = qEnvironmentVariable("KVT_GRAB_DIR"); !grabs.isEmpty())
        form.grab().save(grabs + "/event_log_window.png");

    // Each activation reads the memory afresh: comments and loaded files go.
    view->Model()->setData(view->Model()->index(0, AuditGridModel::colComment), "note");
    form.FormActivate();
    EXPECT_EQ(view->Model()->CellText(0, AuditGridModel::colComment), "");
}

TEST_F(AuditFormTest, FiltersFilesAndExports)
{
    setMemory(concat({slot(token(2012, 2, 27, 10, 15, 30), 4, 10, 0), slot(token(2012, 2, 27, 11, 0, 0), 2, 0, 1),
                      slot(token(2012, 2, 27, 12, 0, 0), 4, 21, 1)}));
    form.FormActivate();
    TAuditView* view = form.View();
    LogGridView* grid = view->Grid();
    AuditGridModel* model = view->Model();

    // "[Custom]" on Event: the typed condition becomes the filter and is offered next time.
    testenv::dialogs().answerText("Alarm");
    grid->ChooseFilter(AuditGridModel::colEvent, 1);
    ASSERT_EQ(model->rowCount(), 2);
    ASSERT_FALSE(testenv::dialogs().shown().empty());
    EXPECT_EQ(testenv::dialogs().shown().back().caption, "Set Filter (<,>,=,*,&,^)");
    EXPECT_EQ(model->ColumnFilter(AuditGridModel::colEvent), "Alarm");
    grid->ChooseFilter(AuditGridModel::colEvent, 0);  // "[All]"
    EXPECT_EQ(model->rowCount(), 3);

    // "Today" on the Timestamp column: none of these old events.
    grid->ChooseFilter(AuditGridModel::colTS, 2);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(model->ColumnFilter(AuditGridModel::colTS),
              ">=" + toolkitdate::dateToStr(toolkitdate::fromDateTime(today)) + " & <" +
                  toolkitdate::dateToStr(toolkitdate::fromDateTime(today.addDays(1))));
    EXPECT_EQ(model->rowCount(), 0);
    grid->ChooseFilter(AuditGridModel::colTS, 0);
    EXPECT_EQ(model->rowCount(), 3);

    // "[Custom]" on the Timestamp column with the date-range dialog cancelled keeps the filter.
    const QString tenToEleven = ">=2/27/2012 10:00:00 AM & <2/27/2012 11:00:00 AM";
    model->SetColumnFilter(AuditGridModel::colTS, tenToEleven);
    ASSERT_EQ(model->rowCount(), 1);
    grid->ChooseFilter(AuditGridModel::colTS, 1);
    EXPECT_EQ(model->ColumnFilter(AuditGridModel::colTS), tenToEleven);
    EXPECT_EQ(model->rowCount(), 1);
    model->ClearFilters();

    // Save to File, then a load over a changed grid gives the saved cells back.
    model->setData(model->index(2, AuditGridModel::colComment), "reset by operator");
    const QString report = dir.filePath("report");
    testenv::dialogs().answerText(report);
    menuItem(view, "mnuSaveFile")->trigger();
    ASSERT_TRUE(QFile::exists(report + ".tvau"));
    EXPECT_EQ(testenv::dialogs().shown().back().text, "Snetrel Event Log(*.tvau *.TVAU)");
    setMemory(Bytes{});
    model->Clear();
    testenv::dialogs().answerText(report + ".tvau");
    menuItem(view, "mnuLoadFile")->trigger();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->CellText(2, AuditGridModel::colComment), "reset by operator");
    EXPECT_EQ(model->CellText(1, AuditGridModel::colEvent), "Bypass");
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();

    // A bad file changes nothing and says why.
    const QString bad = dir.filePath("bad.tvau");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("KVT515 Grid File 1\n6\t5\nSeq\n");
    file.close();
    testenv::dialogs().answerText(bad);
    menuItem(view, "mnuLoadFile")->trigger();
    EXPECT_EQ(model->rowCount(), 3);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], "Error opening file \"" + bad + "\": 5 rows announced, 0 found");

    // CSV and spreadsheet of the shown rows; a place that cannot be written is reported.
    testenv::dialogs().clear();
    testenv::dialogs().answerText(dir.filePath("events.csv"));
    menuItem(view, "SaveasCSV")->trigger();
    QFile csv(dir.filePath("events.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), 4);
    testenv::dialogs().answerText(dir.filePath("events"));
    menuItem(view, "mnuSaveasXLS")->trigger();
    QFile xlsx(dir.filePath("events.xlsx"));
    ASSERT_TRUE(xlsx.open(QIODevice::ReadOnly));
    EXPECT_EQ(xlsx.read(2), "PK");
    const QString nowhere = dir.filePath("missing/events.tvau");
    testenv::dialogs().answerText(nowhere);
    menuItem(view, "mnuSaveFile")->trigger();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith("The file \"" + nowhere + "\" could not be written: "))
        << messages()[0].toStdString();

    // Copies: the selected cells as text, the window as a picture.
    grid->selectionModel()->select(QItemSelection(model->index(0, 2), model->index(1, 3)), QItemSelectionModel::Select);
    menuItem(view, "CopySelectiontoClipboard1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Alarm\tBattery\nBypass\t\n");
    menuItem(view, "mnuCopyImagetoClipboard")->trigger();
    EXPECT_EQ(QApplication::clipboard()->pixmap().size(), form.size());
}
