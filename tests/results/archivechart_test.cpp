// The archive chart: the statistics, the points of a grid column, zoom and undo, scaling,
// printing, copying and the colours kept in the settings.
#include "archivechart.h"
#include "archivegridmodel.h"
#include "archiveviewer.h"
#include "chartstats.h"
#include "database.h"
#include "dialogservice.h"
#include "loggridview.h"
#include "pagehost.h"
#include "testenv.h"
#include "testpages.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>
#include <cmath>

namespace {

using chartstats::Stats;

QString fmt(const std::optional<double>& v)
{
    return v ? QString::number(*v, 'f', 5) : QStringLiteral("none");
}

// Rows of a grid file: Seq, Log Name, Timestamp and one value column.
std::vector<QStringList> rows(const std::vector<std::pair<int, QString>>& values)
{
    std::vector<QStringList> out;
    for (const auto& [seq, value] : values)
        out.push_back({QString::number(seq), "On Run", "1/2/2012 10:00:00 AM", value});
    return out;
}

QList<QPointF> points(const QLineSeries* series)
{
    return series->points();
}

class ScaleHost : public PageHost {
public:
    void SetStreamDisplay(const QString&) override {}
    void WriteSinglePoint(int, const std::string&) override {}
    void Queue(const char*, const std::string&) override {}
    bool LoggedOn() const override { return false; }
    std::optional<std::pair<QString, QString>> AskScale() override
    {
        ++asked;
        return answer;
    }
    std::optional<std::pair<QString, QString>> answer;
    int asked = 0;
};

QStringList chartMessages()
{
    QStringList texts;
    for (const auto& shown : testenv::dialogs().shown())
        if (shown.kind == DialogService::Kind::Message)
            texts << shown.text;
    return texts;
}

}  // namespace

TEST(ChartStats, SmallCases)
{
    struct Case {
        const char* name;
        std::vector<double> samples;
        const char* foot;
    };
    const Case cases[] = {
        {"none", {}, "Samples: 0     Average: n/a     Standard Deviation: n/a     %RSD: n/a"},
        {"one", {4.5}, "Samples: 1     Average: 4.50000     Standard Deviation: n/a     %RSD: n/a"},
        {"two", {1, 3}, "Samples: 2     Average: 2.00000     Standard Deviation: 1.41421     %RSD: 70.71068%"},
        {"constant", std::vector<double>(1000, static_cast<float>(0.1)),
         "Samples: 1000     Average: 0.10000     Standard Deviation: 0.00000     %RSD: 0.00000%"},
        {"known",
         {5, 4, 3, 2, 1},
         "Samples: 5     Average: 3.00000     Standard Deviation: 1.58114     %RSD: 52.70463%"},
        {"textbook",
         {2, 4, 4, 4, 5, 5, 7, 9},
         "Samples: 8     Average: 5.00000     Standard Deviation: 2.13809     %RSD: 42.76180%"},
        {"mean zero", {-1, 1}, "Samples: 2     Average: 0.00000     Standard Deviation: 1.41421     %RSD: n/a"},
        {"large offset",
         {1e9 + 1, 1e9 + 2, 1e9 + 3},
         "Samples: 3     Average: 1000000002.00000     Standard Deviation: 1.00000     %RSD: 0.00000%"},
    };
    for (const Case& c : cases) {
        const Stats s = chartstats::Compute(c.samples);
        EXPECT_EQ(s.count, static_cast<std::int64_t>(c.samples.size())) << c.name;
        EXPECT_EQ(chartstats::FootText(s), c.foot) << c.name << ": " << fmt(s.stdDev).toStdString();
    }
    // A constant column has no spread at all, not a rounding residue.
    EXPECT_EQ(*chartstats::Compute(std::vector<double>(7, 0.1)).stdDev, 0.0);
}

TEST(ChartStats, TickStepsAreOneTwoOrFiveTimesAPowerOfTenWithTheirDecimals)
{
    struct Case {
        double rough;
        bool whole;
        double step;
        int decimals;
    };
    const Case cases[] = {
        {0.37, false, 0.5, 1}, {3.7, false, 5, 0}, {0.0123, false, 0.02, 2}, {140, false, 200, 0}, {0.1, false, 0.1, 1},
        {1.1, true, 2, 0},     {0.2, true, 1, 0},  {37, true, 50, 0},        {0, true, 1, 0},      {-3, false, 1, 0},
    };
    for (const Case& c : cases) {
        const double step = chartstats::NiceStep(c.rough, c.whole);
        EXPECT_DOUBLE_EQ(step, c.step) << c.rough;
        EXPECT_EQ(chartstats::StepDecimals(step), c.decimals) << c.rough;
    }
}

TEST(ChartStats, ColumnPointsAreEachRowsSeqAndOwnValue)
{
    ArchiveGridModel grid;
    auto cells = rows({{3, "1"}, {4, "2"}, {5, "0.1"}, {6, "x"}, {7, "5"}, {8, "6"}});
    cells[3 - 3][2] = "Invalid";  // Seq 3 is skipped
    grid.ShowCells({"Seq", "Log Name", "Timestamp", "Gain"}, cells);

    const chartstats::Column c = chartstats::ReadColumn(grid, 0, 4, 3, 0, 2, false);
    // Row order, X the row's own Seq; "x" is no number; 0.1 as the nearest 32-bit float.
    const QList<QPointF> expected{{4, 2}, {5, static_cast<double>(0.1f)}, {7, 5}};
    EXPECT_EQ(c.points, expected);
    EXPECT_EQ(c.samples, (std::vector<double>{2, static_cast<double>(0.1f), 5}));

    // An integer column reads "0.1" as no number.
    const chartstats::Column ints = chartstats::ReadColumn(grid, 1, 5, 3, 0, 2, true);
    EXPECT_EQ(ints.points, (QList<QPointF>{{4, 2}, {7, 5}, {8, 6}}));
}

class ArchiveChartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::dialogs().clear();
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "KVT515").clear();
        chart = std::make_unique<TArchiveChart>(host);
        chart->SetToolButtons(&autoScale, &fullGraph);
        chart->resize(800, 500);
        chart->show();
    }
    void TearDown() override
    {
        chart.reset();
        testenv::dialogs().clear();
    }

    // Seq 1..n with values i % 10.
    void plot(int n)
    {
        chartstats::Column c;
        for (int i = 1; i <= n; ++i) {
            c.points.append(QPointF(i, i % 10));
            c.samples.push_back(i % 10);
        }
        chart->Plot("Archive: On Run - Column: Gain", c, n <= 51);
    }

    QAction* item(const char* name) const { return chart->PopupMenu()->findChild<QAction*>(name); }

    ScaleHost host;
    QToolButton autoScale;
    QToolButton fullGraph;
    std::unique_ptr<TArchiveChart> chart;
};

TEST_F(ArchiveChartTest, PlotShowsTraceStatisticsAndLines)
{
    chartstats::Column c;
    for (int seq = 3; seq <= 7; ++seq) {
        c.points.append(QPointF(seq, 8 - seq));
        c.samples.push_back(8 - seq);
    }
    chart->Plot("Archive: On Run - Column: Gain", c, true);
    EXPECT_EQ(chart->TitleText(), "Archive: On Run - Column: Gain");
    EXPECT_EQ(chart->Points(), c.points);
    EXPECT_EQ(points(chart->Series(0)), c.points);
    EXPECT_TRUE(chart->Series(0)->pointsVisible());
    EXPECT_EQ(chart->FootText(), "Samples: 5     Average: 3.00000     Standard Deviation: 1.58114     %RSD: 52.70463%");
    const double s = std::sqrt(2.5);
    EXPECT_EQ(points(chart->Series(1)), (QList<QPointF>{{3, 3}, {7, 3}}));
    EXPECT_EQ(points(chart->Series(2)), (QList<QPointF>{{3, 3 - s}, {7, 3 - s}}));
    EXPECT_EQ(points(chart->Series(3)), (QList<QPointF>{{3, 3 + s}, {7, 3 + s}}));
    EXPECT_EQ(points(chart->Series(4)), (QList<QPointF>{{3, s / 3 * 100}, {7, s / 3 * 100}}));
    EXPECT_EQ(chart->Series(1)->name(), "Average");
    EXPECT_EQ(chart->Series(4)->name(), "%RSD");
    // The automatic view holds every line, the %RSD one included.
    EXPECT_EQ(chart->AxisX()->min(), 3);
    EXPECT_EQ(chart->AxisX()->max(), 7);
    EXPECT_EQ(chart->AxisY()->min(), 1);
    EXPECT_DOUBLE_EQ(chart->AxisY()->max(), s / 3 * 100);

    // One sample: no deviation, so no deviation lines; a mean of 0: no %RSD line.
    chart->Plot("t", {{{5, 2}}, {2}}, true);
    EXPECT_EQ(chart->Series(1)->count(), 2);
    EXPECT_EQ(chart->Series(2)->count(), 0);
    EXPECT_EQ(chart->Series(4)->count(), 0);
    chart->Plot("t", {{{1, -1}, {2, 1}}, {-1, 1}}, true);
    EXPECT_EQ(chart->Series(2)->count(), 2);
    EXPECT_EQ(chart->Series(4)->count(), 0);
    chart->Plot("t", {}, false);
    EXPECT_EQ(chart->Points().size(), 0);
    EXPECT_EQ(chart->Series(1)->count(), 0);
    EXPECT_EQ(chart->FirstVisibleIndex(), -1);
}

// Seq numbers are whole: the X axis ticks them at whole steps at every zoom; values get the
// decimals their tick step needs, not eight.
TEST_F(ArchiveChartTest, TicksAreWholeSequenceNumbersAndValuesWithTheDecimalsTheyNeed)
{
    plot(100);
    auto expectReadableTicks = [&](const char* when) {
        const QValueAxis* x = chart->AxisX();
        EXPECT_EQ(x->tickType(), QValueAxis::TicksDynamic) << when;
        EXPECT_GE(x->tickInterval(), 1) << when;
        EXPECT_EQ(x->tickInterval(), std::round(x->tickInterval())) << when;
        EXPECT_EQ(x->tickAnchor(), std::round(x->tickAnchor())) << when;
        EXPECT_EQ(x->labelFormat(), "%.0f") << when;
        // Between two and a dozen labels along the axis.
        const double xTicks = (x->max() - x->min()) / x->tickInterval();
        EXPECT_GE(xTicks, 1) << when;
        EXPECT_LE(xTicks, 12) << when;
        const QValueAxis* y = chart->AxisY();
        const int decimals = chartstats::StepDecimals(y->tickInterval());
        EXPECT_EQ(y->labelFormat(), QStringLiteral("%.%1f").arg(decimals)) << when;
        const double scaled = y->tickInterval() * std::pow(10.0, decimals);
        EXPECT_NEAR(scaled, std::round(scaled), 1e-9) << when << ": every tick shows exactly";
        EXPECT_LE(decimals, 3) << when;
    };
    expectReadableTicks("the whole plot");
    for (int zoom = 0; zoom < 4; ++zoom) {
        chart->ClickZoom({chart->AxisX()->min() + (chart->AxisX()->max() - chart->AxisX()->min()) / 3, 4.5});
        expectReadableTicks("zoomed in");
    }
}

TEST_F(ArchiveChartTest, ZoomAndUndoRestoreTheExactRanges)
{
    plot(100);
    const TQZoomInfo::View full = chart->CurrentView();
    EXPECT_FALSE(item("mnuUndoLastZoom")->isVisible());
    EXPECT_FALSE(fullGraph.isEnabled());

    chart->ClickZoom({40, 5});
    const TQZoomInfo::View first = chart->CurrentView();
    EXPECT_DOUBLE_EQ(first.xMin, 40 - 0.25 * (full.xMax - full.xMin));
    EXPECT_DOUBLE_EQ(first.xMax - first.xMin, (full.xMax - full.xMin) / 2);
    EXPECT_DOUBLE_EQ(first.yMax - first.yMin, (full.yMax - full.yMin) / 2);
    EXPECT_TRUE(item("mnuUndoLastZoom")->isVisible());
    EXPECT_TRUE(item("mnuShowEntireGraph")->isVisible());
    EXPECT_TRUE(fullGraph.isEnabled());
    EXPECT_TRUE(autoScale.isEnabled());

    chart->ClickZoom({45, 4});
    const TQZoomInfo::View second = chart->CurrentView();
    EXPECT_EQ(chart->ZoomInfo().GetZoomLevel(), 2);

    // Outside the axes, nothing.
    chart->ClickZoom({second.xMax + 1, 4});
    EXPECT_EQ(chart->CurrentView(), second);

    chart->mnuUndoLastZoomClick();
    EXPECT_EQ(chart->CurrentView(), first);
    chart->mnuUndoLastZoomClick();
    EXPECT_EQ(chart->CurrentView(), full);
    // An empty history shows the entire graph.
    chart->ClickZoom({40, 5});
    chart->mnuUndoLastZoomClick();
    chart->mnuUndoLastZoomClick();
    EXPECT_EQ(chart->CurrentView(), full);
    EXPECT_FALSE(item("mnuUndoLastZoom")->isVisible());
    EXPECT_FALSE(autoScale.isEnabled());

    chart->ClickZoom({40, 5});
    chart->ClickZoom({41, 5});
    chart->mnuShowEntireGraphClick();
    EXPECT_EQ(chart->CurrentView(), full);
    EXPECT_EQ(chart->ZoomInfo().GetZoomLevel(), 0);
    EXPECT_FALSE(item("mnuAutoScale")->isVisible());
}

TEST_F(ArchiveChartTest, MouseZoomsInZoomModeAndOpensTheMenuOtherwise)
{
    plot(100);
    const TQZoomInfo::View full = chart->CurrentView();
    const QPoint centre = chart->mapFromScene(chart->chart()->plotArea().center());
    QWidget* area = chart->viewport();

    chart->tbtnZoomModeClick(true);
    QTest::mouseClick(area, Qt::LeftButton, {}, centre);
    EXPECT_EQ(chart->ZoomInfo().GetZoomLevel(), 1);
    EXPECT_NEAR(chart->CurrentView().xMax - chart->CurrentView().xMin, (full.xMax - full.xMin) / 2, 1e-9);
    EXPECT_FALSE(chart->PopupMenu()->isVisible());
    QTest::mouseClick(area, Qt::RightButton, {}, centre);
    EXPECT_EQ(chart->CurrentView(), full);
    EXPECT_EQ(chart->ZoomInfo().GetZoomLevel(), 0);

    // Out of zoom mode, Shift zooms; a plain right click opens the menu.
    chart->tbtnZoomModeClick(false);
    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, centre);
    EXPECT_EQ(chart->ZoomInfo().GetZoomLevel(), 1);
    chart->mnuShowEntireGraphClick();
    QTest::mouseClick(area, Qt::RightButton, {}, centre);
    EXPECT_TRUE(chart->PopupMenu()->isVisible());
    chart->PopupMenu()->hide();

    // A right drag scrolls and opens no menu.
    QTest::mousePress(area, Qt::RightButton, {}, centre);
    QMouseEvent move(QEvent::MouseMove, centre + QPoint(60, 0), area->mapToGlobal(centre + QPoint(60, 0)), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(area, &move);
    QTest::mouseRelease(area, Qt::RightButton, {}, centre + QPoint(60, 0));
    EXPECT_LT(chart->AxisX()->min(), full.xMin);
    EXPECT_FALSE(chart->PopupMenu()->isVisible());
}

TEST_F(ArchiveChartTest, ManyPointsDrawTheSameLineFromFewer)
{
    chartstats::Column c;
    for (int i = 1; i <= 20000; ++i) {
        c.points.append(QPointF(i, std::sin(i / 50.0) * 100 + (i % 13)));
        c.samples.push_back(c.points.back().y());
    }
    chart->Plot("t", c, false);
    auto check = [&] {
        const QList<QPointF> drawn = points(chart->Series(0));
        ASSERT_LT(drawn.size(), 5000);
        // Every drawn point is a data point, in the data's order.
        qsizetype at = 0;
        for (const QPointF& p : drawn) {
            while (at < c.points.size() && c.points[at] != p)
                ++at;
            ASSERT_LT(at, c.points.size()) << p.x();
        }
        // The line reaches both borders and keeps the extremes of what it shows.
        EXPECT_LE(drawn.front().x(), std::max(chart->AxisX()->min(), c.points.front().x()));
        EXPECT_GE(drawn.back().x(), std::min(chart->AxisX()->max(), c.points.back().x()));
        double lo = 1e9, hi = -1e9;
        for (const QPointF& p : c.points)
            if (p.x() >= chart->AxisX()->min() && p.x() <= chart->AxisX()->max()) {
                lo = std::min(lo, p.y());
                hi = std::max(hi, p.y());
            }
        double dlo = 1e9, dhi = -1e9;
        for (const QPointF& p : drawn)
            if (p.x() >= chart->AxisX()->min() && p.x() <= chart->AxisX()->max()) {
                dlo = std::min(dlo, p.y());
                dhi = std::max(dhi, p.y());
            }
        EXPECT_EQ(dlo, lo);
        EXPECT_EQ(dhi, hi);
    };
    check();
    chart->ClickZoom({5000.5, 0});
    check();
    chart->ClickZoom({5000.5, 0});
    check();
}

TEST_F(ArchiveChartTest, ClickZoomNeedsMoreThanThreeVisiblePoints)
{
    plot(3);
    const TQZoomInfo::View full = chart->CurrentView();
    chart->ClickZoom({2, 2});
    EXPECT_EQ(chart->CurrentView(), full);
    EXPECT_EQ(chart->ZoomInfo().GetZoomLevel(), 0);
}

TEST_F(ArchiveChartTest, AutoScaleFitsTheVisibleData)
{
    plot(100);
    chart->ClickZoom({20, 5});
    const TQZoomInfo::View zoomed = chart->CurrentView();
    chart->tbtnAutoScaleClick();
    const TQZoomInfo::View fitted = chart->CurrentView();
    EXPECT_EQ(fitted.xMin, zoomed.xMin);
    EXPECT_EQ(fitted.xMax, zoomed.xMax);
    // Values 0..9 lie in the visible Seq range: a 6 % margin around them.
    EXPECT_DOUBLE_EQ(fitted.yMin, -0.54);
    EXPECT_DOUBLE_EQ(fitted.yMax, 9.54);
    EXPECT_EQ(chart->ZoomInfo().GetZoomLevel(), 2);
    chart->mnuUndoLastZoomClick();
    EXPECT_EQ(chart->CurrentView(), zoomed);

    // Scale to Data gives the value axis back to the data.
    chart->mnuScaletoDataClick();
    EXPECT_EQ(chart->AxisY()->min(), 0);

    // No visible point: the menu's Auto-Scale does nothing.
    chart->Plot("t", {}, false);
    const TQZoomInfo::View empty = chart->CurrentView();
    chart->mnuAutoScaleClick();
    EXPECT_EQ(chart->CurrentView(), empty);
}

TEST_F(ArchiveChartTest, ManualScaleRefusesBadRanges)
{
    plot(20);
    const TQZoomInfo::View before = chart->CurrentView();
    autoScale.setEnabled(false);

    struct Case {
        QString min, max, message;
    };
    const Case refused[] = {
        {"5", "5", "The minimum must be less than the maximum."},
        {"10", "-1", "The minimum must be less than the maximum."},
        {"1", "abc", "'abc' is not a valid floating point value"},
        {"", "3", "'' is not a valid floating point value"},
    };
    for (const Case& c : refused) {
        testenv::dialogs().clear();
        host.answer = std::make_pair(c.min, c.max);
        chart->mnuManualClick();
        EXPECT_EQ(chartMessages(), QStringList{c.message}) << c.min.toStdString() << " " << c.max.toStdString();
        EXPECT_EQ(chart->CurrentView(), before);
        EXPECT_FALSE(autoScale.isEnabled());
    }

    host.answer.reset();  // cancelled
    chart->mnuManualClick();
    EXPECT_EQ(chart->CurrentView(), before);

    host.answer = std::make_pair(QString("-2.5"), QString("12"));
    chart->mnuManualClick();
    EXPECT_EQ(chart->AxisY()->min(), -2.5);
    EXPECT_EQ(chart->AxisY()->max(), 12);
    EXPECT_EQ(chart->AxisX()->min(), before.xMin);
    EXPECT_TRUE(autoScale.isEnabled());
}

TEST_F(ArchiveChartTest, PrintsOnePagePdfWithTheChart)
{
    if (QProcess::execute("pdfinfo", {"-v"}) < 0)
        GTEST_SKIP() << "pdfinfo is not installed";
    plot(30);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("chart.pdf"));
    chart->SetPrinter(&printer);
    item("mnuPrintLandscape")->setChecked(true);
    item("mnuPrintKeepScreenProportion")->setChecked(true);

    // Cancelled at the print dialog: nothing printed.
    chart->mnuPrintChartClick();
    EXPECT_FALSE(QFile::exists(dir.filePath("chart.pdf")));
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].kind, DialogService::Kind::Dialog);
    EXPECT_EQ(testenv::dialogs().shown()[0].text, "PrintDialog");

    const TQZoomInfo::View before = chart->CurrentView();
    testenv::dialogs().answerDialog([](QDialog&) { return QDialog::Accepted; });
    chart->mnuPrintChartClick();
    EXPECT_TRUE(chartMessages().isEmpty()) << chartMessages().join("|").toStdString();
    EXPECT_EQ(chart->CurrentView(), before);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait) << "the orientation is restored";

    QProcess info;
    info.start("pdfinfo", {dir.filePath("chart.pdf")});
    ASSERT_TRUE(info.waitForFinished());
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression("Pages:\\s+1\\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+)"))) << out.toStdString();
    const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+)").match(out);
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";
    QProcess text;
    text.start("pdftotext", {dir.filePath("chart.pdf"), "-"});
    if (text.waitForFinished() && text.exitCode() == 0) {
        EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains("Archive: On Run - Column: Gain"));
    }
}

TEST_F(ArchiveChartTest, PrinterErrorIsReportedAndChangesNothing)
{
    plot(30);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("/nonexistent-folder/chart.pdf");
    chart->SetPrinter(&printer);
    const TQZoomInfo::View before = chart->CurrentView();
    const QString foot = chart->FootText();
    testenv::dialogs().answerDialog([](QDialog&) { return QDialog::Accepted; });
    chart->mnuPrintChartClick();
    EXPECT_EQ(chartMessages(), QStringList{"The chart could not be printed."});
    EXPECT_EQ(chart->CurrentView(), before);
    EXPECT_EQ(chart->FootText(), foot);
    EXPECT_EQ(chart->Points().size(), 30);
}

TEST_F(ArchiveChartTest, CopiesThePictureToTheClipboardAsSvgAndPng)
{
    plot(30);
    QApplication::clipboard()->clear();
    chart->mnuCopytoClipboardClick();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);

    // The vector picture: the chart's own lines and texts, at the size it has on screen.
    const QByteArray svg = data->data("image/svg+xml");
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid()) << svg.left(200).toStdString();
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), chart->viewport()->size()));
    EXPECT_TRUE(svg.contains("<path") || svg.contains("<polyline")) << "lines, not a picture of them";
    EXPECT_TRUE(svg.contains(chart->TitleText().toHtmlEscaped().toUtf8()));
    EXPECT_FALSE(svg.contains("<image")) << "nothing drawn as pixels";

    // The picture as drawn, as PNG and as the platform's image.
    const QImage png = QImage::fromData(data->data("image/png"), "PNG");
    EXPECT_EQ(png.size(), chart->grab().size());
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), png.size());
}

TEST_F(ArchiveChartTest, ColoursSurviveARestart)
{
    auto pick = [](const QColor& colour) {
        testenv::dialogs().answerDialog([colour](QDialog& d) {
            static_cast<QColorDialog&>(d).setCurrentColor(colour);
            return QDialog::Accepted;
        });
    };
    pick(QColor(0x11, 0x22, 0x33));
    chart->mnuSetDataTraceColorClick();
    pick(QColor(0x44, 0x55, 0x66));
    chart->mnuSetStatsTraceColorClick();
    pick(QColor(0x77, 0x88, 0x99));
    chart->mnuSetBackgroundColorClick();
    // A cancelled choice writes nothing.
    chart->mnuSetDataTraceColorClick();

    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "KVT515");
    EXPECT_EQ(settings.value("ArchiveChart/TraceColorData").toUInt(), 0x332211u);
    EXPECT_EQ(settings.value("ArchiveChart/TraceColorStats").toUInt(), 0x665544u);
    EXPECT_EQ(settings.value("ArchiveChart/BackgroundColor").toUInt(), 0x998877u);

    // Each legend entry is a piece of its series' line: its colour and its style (the average
    // solid, the deviation and %RSD lines dotted).
    auto expectLegendInSeriesColours = [&] {
        EXPECT_EQ(chart->chart()->legend()->markerShape(), QLegend::MarkerShapeFromSeries);
        for (int i = 0; i < 5; ++i)
            for (const QLegendMarker* marker : chart->chart()->legend()->markers(chart->Series(i))) {
                EXPECT_EQ(marker->pen().color(), chart->Series(i)->pen().color()) << i;
                EXPECT_EQ(marker->pen().style(), chart->Series(i)->pen().style()) << i;
            }
    };
    expectLegendInSeriesColours();

    chart = std::make_unique<TArchiveChart>(host);
    expectLegendInSeriesColours();
    EXPECT_EQ(chart->Series(0)->pen().color(), QColor(0x11, 0x22, 0x33));
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(chart->Series(i)->pen().color(), QColor(0x44, 0x55, 0x66)) << i;
    EXPECT_EQ(chart->Series(2)->pen().style(), Qt::DotLine);
    EXPECT_EQ(chart->chart()->backgroundBrush().color(), QColor(0x77, 0x88, 0x99));

    chart->mnuResetDefaultsClick();
    settings.sync();
    EXPECT_EQ(settings.value("ArchiveChart/TraceColorData").toUInt(), 0x0000FFu);
    EXPECT_EQ(settings.value("ArchiveChart/TraceColorStats").toUInt(), 0xFF0000u);
    EXPECT_EQ(settings.value("ArchiveChart/BackgroundColor").toUInt(), 0x20000000u);
    EXPECT_EQ(chart->Series(0)->pen().color(), QColor(Qt::red));
    EXPECT_EQ(chart->Series(1)->pen().color(), QColor(Qt::blue));
    expectLegendInSeriesColours();
}

// The page: the selected rows of the current column plotted on the Graph tab.
TEST(ArchiveViewerGraph, PlotsTheSelectedRowsOfTheCurrentColumn)
{
    testenv::dialogs().clear();
    TfraArchiveViewer viewer(testenv::pageServices(*DataBase::Instance()));
    viewer.resize(testenv::kTabSize);
    viewer.show();
    std::vector<std::pair<int, QString>> values;
    for (int seq = 1; seq <= 60; ++seq)
        values.push_back({seq, QString::number(seq * 0.5)});
    viewer.GridModel()->ShowCells({"Seq", "Log Name", "Timestamp", "Gain"}, rows(values));
    LogGridView* grid = viewer.Grid();
    auto* button = viewer.findChild<QToolButton*>("btnGraphSelCol");

    struct Case {
        int top, bottom;  // model rows
        bool markers;
    };
    for (const Case& c : {Case{2, 52, true}, Case{2, 53, false}}) {
        viewer.findChild<QTabWidget*>("pcViewer")->setCurrentIndex(0);
        grid->setCurrentIndex(grid->model()->index(c.top, 3));
        grid->selectionModel()->select(
            QItemSelection(grid->model()->index(c.top, 3), grid->model()->index(c.bottom, 3)),
            QItemSelectionModel::ClearAndSelect);
        ASSERT_TRUE(button->isEnabled());
        button->click();

        TArchiveChart* chart = viewer.Chart();
        QList<QPointF> expected;
        for (int r = c.top; r <= c.bottom; ++r)
            expected.append(QPointF(r + 1, static_cast<float>((r + 1) * 0.5)));
        EXPECT_EQ(chart->Points(), expected);
        EXPECT_EQ(chart->Series(0)->pointsVisible(), c.markers) << c.bottom - c.top + 1 << " rows";
        EXPECT_EQ(chart->TitleText(), "Archive:  - Column: Gain");
        EXPECT_EQ(viewer.findChild<QTabWidget*>("pcViewer")->currentIndex(), 1);
        EXPECT_FALSE(button->isEnabled());
        EXPECT_FALSE(button->isVisible());
        EXPECT_TRUE(viewer.findChild<QToolButton*>("tbtnZoomMode")->isVisible());
        EXPECT_FALSE(viewer.findChild<QToolButton*>("btnAutoSizeCols")->isVisible());
    }
    if (!qEnvironmentVariableIsEmpty("KVT_GRAB_DIR"))
        viewer.grab().save(qEnvironmentVariable("KVT_GRAB_DIR") + "/archivechart.png");
    // Back on the table, the table's tools.
    viewer.findChild<QTabWidget*>("pcViewer")->setCurrentIndex(0);
    EXPECT_TRUE(button->isVisible());
    EXPECT_FALSE(viewer.findChild<QToolButton*>("tbtnAutoScale")->isVisible());
    DataBase::ReleaseInstance();
}
