// The archive grid: rows over the log database, filters, hiding, grid files and the spreadsheet.

#include "archivegridmodel.h"
#include "gridfilter.h"
#include "gridtools.h"
#include "logdbmgr.h"
#include "loggridview.h"
#include "timestamptoken.h"
#include "toolkitdate.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionHeader>
#include <QTemporaryDir>

namespace {

double at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return toolkitdate::fromDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Log 1 with two values; record i (from 0) holds "v<i>" as its first value and i * 0.5 as its second.
class ArchiveGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        const double times[] = {at(2012, 1, 1, 23, 59, 59), at(2012, 1, 2),
                                at(2012, 1, 2, 23, 59, 59), at(2012, 1, 3),
                                at(2012, 1, 3, 0, 0, 1),    at(2011, 12, 15, 8)};
        for (int i = 0; i < 6; ++i) {
            auto r = std::make_unique<ALOGPOINTRECORD>();
            r->logIndex = 1;
            r->dateTime = times[i];
            r->SetValueText(8, "v" + std::to_string(i));
            r->SetValueText(9, i % 2 ? std::to_string(i / 2) + ".5" : std::to_string(i / 2));
            db.AppendRecord(std::move(r));
        }
        db.DistributeRecords();
        model.ShowLog(db, 1, 100, 2, {"First", "Second"});
    }

    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < model.rowCount(); ++r)
            texts << model.CellText(r, c);
        return texts;
    }

    LogDBMgr db;
    ArchiveGridModel model;
};

}  // namespace

TEST_F(ArchiveGrid, ShowsTheLastRecordsOfTheLog)
{
    model.ShowLog(db, 1, 4, 2, {"First", "Second"});
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(column(ArchiveGridModel::colSeq), QStringList({"3", "4", "5", "6"}));
    EXPECT_EQ(column(ArchiveGridModel::colLogID), QStringList(4, "Hourly"));
    EXPECT_EQ(model.CellText(1, ArchiveGridModel::colTS), "1/3/2012");  // midnight: the date alone
    EXPECT_EQ(model.CellText(0, ArchiveGridModel::colTS), "1/2/2012 11:59:59 PM");
    EXPECT_EQ(model.CellText(0, 3), "v2");
    EXPECT_EQ(model.CellText(0, 5), "");
    EXPECT_EQ(model.HeaderText(0), "Seq");
    EXPECT_EQ(model.HeaderText(2), "Timestamp");
    EXPECT_EQ(model.HeaderText(4), "Second");
    EXPECT_EQ(model.HeaderText(5), "");
    EXPECT_FALSE(model.flags(model.index(0, 3)) & Qt::ItemIsEditable);
    EXPECT_EQ(ArchiveGridModel::TimeText(0.5), "12:00:00 PM");
}

TEST(GridFilter, DateRangeConditions)
{
    using gridfilter::NamedRange;
    const QDate today(2012, 1, 2);
    EXPECT_EQ(gridfilter::RangeCondition(*NamedRange("Today", today)), ">=1/2/2012 & <1/3/2012");
    EXPECT_EQ(gridfilter::RangeCondition(*NamedRange("Yesterday", today)), ">=1/1/2012 & <1/2/2012");
    EXPECT_EQ(gridfilter::RangeCondition(*NamedRange("This Month", today)), ">=1/1/2012 & <1/3/2012");
    EXPECT_EQ(gridfilter::RangeCondition(*NamedRange("Last Month", today)), ">=12/1/2011 & <1/1/2012");
    EXPECT_FALSE(NamedRange("[All]", today));
    EXPECT_EQ(gridfilter::RangeCondition(gridfilter::CustomRange(QDate(2012, 3, 10), QDate(2012, 3, 5))),
              ">=3/5/2012 & <3/11/2012");
    EXPECT_EQ(gridfilter::RangeCondition(gridfilter::CustomRange(QDate(2012, 3, 5), QDate(2012, 3, 5))),
              ">=3/5/2012 & <3/6/2012");
}

TEST_F(ArchiveGrid, DateFilterTakesTheWholeFirstDayAndNotTheDayAfter)
{
    model.SetColumnFilter(ArchiveGridModel::colTS,
                          gridfilter::RangeCondition(*gridfilter::NamedRange("Today", QDate(2012, 1, 2))));
    EXPECT_EQ(column(ArchiveGridModel::colSeq), QStringList({"2", "3"}));
    model.SetColumnFilter(ArchiveGridModel::colTS,
                          gridfilter::RangeCondition(*gridfilter::NamedRange("Last Month", QDate(2012, 1, 2))));
    EXPECT_EQ(column(ArchiveGridModel::colSeq), QStringList({"6"}));
    model.SetColumnFilter(ArchiveGridModel::colTS, "*");
    EXPECT_EQ(model.rowCount(), 6);
}

TEST_F(ArchiveGrid, SeqAndValueConditions)
{
    struct Case {
        int column;
        const char* condition;
        QStringList seq;
    };
    const std::vector<Case> cases = {
        {0, ">=3 & <5", {"3", "4"}},
        {0, "<2 ^ >5", {"1", "6"}},
        {0, "!4", {"1", "2", "3", "5", "6"}},
        {3, "v1", {"2"}},
        {3, "V*", {"1", "2", "3", "4", "5", "6"}},
        {4, ">1", {"4", "5", "6"}},
        {4, ">=0.5 & <=1,5", {"2", "3", "4"}},
        {4, "=2", {"5"}},
        {4, "<>0", {"2", "3", "4", "5", "6"}},
        {4, "*.5", {"2", "4", "6"}},
        {5, "", {"1", "2", "3", "4", "5", "6"}},
        {5, ">1", {}},
    };
    for (const Case& c : cases) {
        model.SetColumnFilter(c.column, c.condition);
        EXPECT_EQ(column(ArchiveGridModel::colSeq), c.seq) << c.condition;
        model.ClearFilters();
    }
    // Conditions of two columns hold together; a new log keeps them.
    model.SetColumnFilter(0, ">2");
    model.SetColumnFilter(4, "<2");
    EXPECT_EQ(column(ArchiveGridModel::colSeq), QStringList({"3", "4"}));
    model.ShowLog(db, 1, 3, 2, {});
    EXPECT_EQ(column(ArchiveGridModel::colSeq), QStringList({"4"}));
    EXPECT_EQ(model.ColumnFilter(0), ">2");
}

TEST_F(ArchiveGrid, ViewHidesColumnsAndReportsItsSelection)
{
    LogGridView view;
    view.SetTable(&model);
    view.resize(800, 300);
    QSignalSpy spy(&view, &LogGridView::SelectionRectChanged);
    view.selectColumn(4);
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_EQ(spy.last(), QVariantList({4, 1, 4, 6}));  // the whole column below the header
    view.HideColumns(3, 4);
    EXPECT_TRUE(view.isColumnHidden(3));
    EXPECT_TRUE(view.isColumnHidden(4));
    EXPECT_FALSE(view.isColumnHidden(5));
    view.selectAll();
    EXPECT_TRUE(view.SelectionText().startsWith("1\tHourly\t1/1/2012 11:59:59 PM\t\t\t\t\t\t\n"));
    view.UnhideAllColumns();
    for (int c = 0; c < model.columnCount(); ++c)
        EXPECT_FALSE(view.isColumnHidden(c));

    // A filter list entry runs through the page's handler, which may change the condition.
    view.SetFilterList(4, {{"[All]", "*"}, {"[Custom]", "*"}});
    view.FilterSelect = [](int, int entry, const QString& name, QString& condition) {
        if (name == "[Custom]" && entry == 1)
            condition = ">=2";
    };
    view.ChooseFilter(4, 1);
    EXPECT_EQ(model.rowCount(), 2);
    view.ChooseFilter(4, 0);
    EXPECT_EQ(model.rowCount(), 6);
}

TEST_F(ArchiveGrid, GridFileRoundTripAndRefusals)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("grid.tvar");
    model.ClearFilters();
    QString error;
    ASSERT_TRUE(gridfile::Save(path, model, &error)) << error.toStdString();
    std::optional<gridfile::Cells> cells = gridfile::Load(path, &error);
    ASSERT_TRUE(cells) << error.toStdString();
    ArchiveGridModel loaded;
    loaded.ShowCells(cells->headers, cells->rows);
    EXPECT_EQ(gridfile::Encode(loaded), gridfile::Encode(model));
    EXPECT_EQ(loaded.CellText(5, 2), "12/15/2011 8:00:00 AM");
    EXPECT_EQ(loaded.HeaderText(3), "First");
    // The cells' time stamps still filter as date-times.
    loaded.SetColumnFilter(ArchiveGridModel::colTS, ">=1/2/2012 & <1/3/2012");
    EXPECT_EQ(loaded.rowCount(), 2);
    EXPECT_EQ(loaded.CellText(0, ArchiveGridModel::colSeq), "2");
    loaded.ClearFilters();

    // Cells holding tabs and line breaks survive.
    loaded.ShowCells({"a\tb", "c\\n", "d"}, {{"1\n2", "", "\r"}});
    const std::optional<gridfile::Cells> odd = gridfile::Decode(gridfile::Encode(loaded), &error);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->headers.mid(0, 3), QStringList({"a\tb", "c\\n", "d"}));
    EXPECT_EQ(odd->rows.at(0).mid(0, 3), QStringList({"1\n2", "", "\r"}));

    const QByteArray good = gridfile::Encode(model);
    for (const QByteArray& bad : {QByteArray("garbage\n"), good.left(good.size() - 1), good.left(good.size() - 30),
                                  QByteArray(good).replace("11\t6", "11\t7"), QByteArray(good).replace("\tv1", "\\qv1"),
                                  QByteArray(good).replace("\tv1", "\tv1\tx")}) {
        EXPECT_FALSE(gridfile::Decode(bad, &error)) << bad.left(60).toStdString();
    }
}

TEST_F(ArchiveGrid, SpreadsheetHoldsTheGridsCells)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("archive.xlsx");
    QString error;
    model.SetColumnFilter(0, ">=4");
    const std::vector<int> columns = {0, 1, 2, 3, 4};
    ASSERT_TRUE(gridexport::SaveXlsx(path, model, columns, &error)) << error.toStdString();

    QProcess unzip;
    unzip.start("unzip", {"-p", path, "xl/worksheets/sheet1.xml"});
    ASSERT_TRUE(unzip.waitForFinished(30000));
    ASSERT_EQ(unzip.exitCode(), 0) << unzip.readAllStandardError().toStdString();
    const QString sheet = QString::fromUtf8(unzip.readAllStandardOutput());

    // Every cell: its reference and its text or number.
    QMap<QString, QString> cells;
    const QRegularExpression cell(R"re(<c r="([A-Z]+[0-9]+)"[^>]*?(?:/>|>(.*?)</c>))re");
    const QRegularExpression text(R"re(<t[^>]*>(.*?)</t>|<v>(.*?)</v>)re");
    for (auto it = cell.globalMatch(sheet); it.hasNext();) {
        const auto m = it.next();
        const auto t = text.match(m.captured(2));
        cells[m.captured(1)] = t.captured(1).isEmpty() ? t.captured(2) : t.captured(1);
    }
    const char letters[] = "ABCDE";
    for (std::size_t c = 0; c < columns.size(); ++c)
        EXPECT_EQ(cells.value(QString(letters[c]) + "1"), model.HeaderText(columns[c]));
    ASSERT_EQ(model.rowCount(), 3);
    for (int r = 0; r < model.rowCount(); ++r)
        for (std::size_t c = 0; c < columns.size(); ++c)
            EXPECT_EQ(cells.value(QString(letters[c]) + QString::number(r + 2)), model.CellText(r, columns[c]))
                << r << " " << c;
    EXPECT_TRUE(sheet.contains("<c r=\"A2\"><v>4</v></c>"));  // Seq as a number
    EXPECT_FALSE(cells.contains("A5"));

    // A folder that does not exist: reported, nothing left behind.
    EXPECT_FALSE(gridexport::SaveXlsx(dir.filePath("none/a.xlsx"), model, columns, &error));
    EXPECT_FALSE(error.isEmpty());
}

// A number too wide for its cell is shown rounded to the decimals that fit, so its leading digits
// and its decimal point stay in view; never the view's "3..." that reads as another number.
TEST(LogGridCell, ANumberTooWideShowsItsLeadingDigits)
{
    const QFontMetrics metrics(QApplication::font());
    const auto room = [&](const char* text) { return metrics.horizontalAdvance(QLatin1String(text)); };
    struct Case {
        const char* text;
        int room;
        const char* shown;
    };
    const Case cases[] = {
        {"33.2900009155273", room("33.2900009155273"), "33.2900009155273"},  // fits: as it is
        {"33.2900009155273", room("33.290"), "33.290"},
        {"1.99999995529652", room("2.00"), "2.00"},  // rounded, not cut to "1.99"
        {"-1234.56005859375", room("-1234.56"), "-1234.56"},
        {"9.99999974737875E-6", room("10.0E-6"), "10.0E-6"},  // the exponent stays
        {"1234,5678", room("1234,57"), "1234,57"},            // a comma stays a comma
        {"33.2900009155273", room("33"), "33"},
        {"Configuration Changed", room("Config"), "Configuration Changed"},  // not a number
    };
    for (const Case& c : cases)
        EXPECT_EQ(loggrid::FitNumber(QLatin1String(c.text), metrics, c.room), QLatin1String(c.shown)) << c.text;
    // Not even the whole part fits: the column says it is too narrow.
    const QString hashes = loggrid::FitNumber(QStringLiteral("48213.5"), metrics, room("48"));
    EXPECT_FALSE(hashes.isEmpty());
    EXPECT_EQ(hashes, QString(hashes.size(), QLatin1Char('#')));
}

namespace {
// The heads as the header draws them.
class ShownHeader : public LogGridHeader {
public:
    QString Shown(int column) const
    {
        QStyleOptionHeader option;
        initStyleOption(&option);
        initStyleOptionForIndex(&option, column);
        return option.text;
    }
};
}  // namespace

TEST(LogGridCell, AfterAFillColumnsFitTheirTextsAndALongHeadIsCutAtItsEnd)
{
    ArchiveGridModel model;
    LogGridView view;
    auto* header = new ShownHeader;
    view.setHorizontalHeader(header);
    view.SetTable(&model);
    view.resize(900, 300);
    view.show();
    QStringList heads = {"Seq", "Log Name", "Timestamp", "Run Type (0=H2S 1=TS 2=R1 3=R2 4=Z 5=C)", "Stream (Stream)"};
    while (heads.size() < ArchiveGridModel::kColumns)
        heads << QString();
    QStringList row = {"1", "On Run", "12/10/2026 10:04:33 PM", "0", "33.2900009155273"};
    while (row.size() < ArchiveGridModel::kColumns)
        row << QString();
    model.ShowCells(heads, {row, row});
    const int emptyWidth = view.columnWidth(6);
    view.FitColumnsToTexts();

    const QFontMetrics metrics(view.font());
    for (int c : {0, 1, 2, 3, 4})
        EXPECT_GT(view.columnWidth(c), metrics.horizontalAdvance(row[c])) << c;
    EXPECT_EQ(view.columnWidth(6), emptyWidth) << "a column without a text keeps its width";
    // A short value under a long name: the name's start shows, cut at its end only, and the
    // tooltip has it whole.
    const QString shown = header->Shown(3);
    EXPECT_TRUE(shown.startsWith(QLatin1String("Run Type (0="))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(), heads[3]);
    EXPECT_EQ(header->Shown(4), heads[4]) << "a name of some twenty characters shows whole";
}
