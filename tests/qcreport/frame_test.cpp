// The certificate's page skeleton: frame, section titles, tables, fields in cells and value
// boxes, drawn through libqcpdf and read back from the saved document.

#include "pdftools.h"
#include "qcreportframe.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using namespace qcreport;

namespace {

class FrameTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString save(DebenuPDFLibraryDLL1212& pdf, const QString& name)
    {
        const QString file = path(name);
        EXPECT_EQ(pdf.SaveToFile(file), 1);
        QString report;
        EXPECT_TRUE(pdftools::checks(file, &report)) << report.toStdString();
        EXPECT_TRUE(pdftools::renders(file, path(name), 72));
        // KVT_QC_RENDER_DIR keeps the rendered pages for a look.
        const QString keep = qEnvironmentVariable("KVT_QC_RENDER_DIR");
        if (!keep.isEmpty())
            for (const QString& png : QDir(dir.path()).entryList({name + "*.png"}))
                QFile::copy(path(png), QDir(keep).filePath(png));
        return file;
    }
    // Pixels of the rendered page (72 dpi, so one pixel per point) in a rectangle that match.
    int count(const QString& png, QRect area, bool (*match)(QColor)) const
    {
        const QImage page(path(png));
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += match(page.pixelColor(x, y)) ? 1 : 0;
        return n;
    }

    QTemporaryDir dir;
};

bool isRed(QColor c)
{
    return c.red() > 180 && c.green() < 90 && c.blue() < 90;
}
bool isDark(QColor c)
{
    return c.red() < 90 && c.green() < 90 && c.blue() < 90;
}
bool isGreen(QColor c)
{
    return c.green() > 180 && c.red() < 90 && c.blue() < 90;
}

// The stream settings table's shape: labels in columns 1 and 3, two-line labels, check fields.
QCTableLayout settingsTable()
{
    QCTableLayout t;
    t.rows = 6;
    t.columns = 4;
    t.columnWidths = {{1, 1, 180}, {2, 2, 80}, {3, 3, 180}, {4, 4, 80}};
    t.labels({1, 1, 6, 1});
    t.labels({1, 3, 6, 3});
    t.values({1, 2, 6, 2});
    t.values({1, 4, 6, 4});
    t.cell(1, 1, "Analysis Type");
    t.cell(1, 2, "H2S");
    t.cell(1, 3, "Sample Delay / Interval (sec)");
    t.cell(1, 4, "/");
    t.cell(2, 1, "TSC(mV) for H2S Run<br>(Disabled in Timed Analysis)");
    t.cell(2, 3, "TSC(mV) for Total Shlphur Run<br>(Disabled in Timed Analysis)");
    t.cell(5, 1, "Analog Output Override 1");
    t.cell(5, 3, "Analog Output Override 2");
    t.cell(6, 1, "H2S High High Alarm Duration(s)");
    return t;
}

TEST_F(FrameTest, PagesCarryTheFrameWithRedTitleFirstAndNumberedFooters)
{
    QImage logo(80, 20, QImage::Format_RGB32);
    logo.fill(Qt::green);
    ASSERT_TRUE(logo.save(path("logo.png")));

    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    pdf.SetPageSize("A4");
    int page = DrawQCPageFrame(pdf, 0, true, dir.path());
    EXPECT_EQ(page, 1);
    DrawQCSectionTitle(pdf, 30, 76, "Customer Information");
    page = DrawQCPageFrame(pdf, page, false, dir.path());
    EXPECT_EQ(page, 2);
    pdf.DrawText(30, 76, "Stream #1 Setting");
    // A start directory without a logo: the page is drawn all the same.
    page = DrawQCPageFrame(pdf, page, false, path("nowhere"));
    EXPECT_EQ(page, 3);
    const QString file = save(pdf, "frame.pdf");

    EXPECT_EQ(pdftools::info(file, "Pages"), "3");
    for (int p = 1; p <= 3; ++p) {
        const QString text = pdftools::text(file, p);
        EXPECT_TRUE(text.contains("Analyzer Configuration and Q.C. Documentation")) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("page %1").arg(p))) << p;
        EXPECT_TRUE(text.contains(QString::fromLatin1(kMakerContactLine))) << p;
        EXPECT_LT(text.indexOf("Analyzer Configuration"), text.indexOf("page ")) << p;
    }
    EXPECT_TRUE(pdftools::text(file, 1).contains("Customer Information"));
    EXPECT_TRUE(pdftools::text(file, 2).contains("Stream #1 Setting"));

    // The title (baseline 50, size 20) is red on page 1 and black after; the logo sits at
    // (480, 30) on the pages whose start directory has it.
    const QRect title(30, 34, 300, 16);
    EXPECT_GT(count("frame.pdf-1.png", title, isRed), 100);
    EXPECT_EQ(count("frame.pdf-2.png", title, isRed), 0);
    EXPECT_GT(count("frame.pdf-2.png", title, isDark), 100);
    const QRect logoArea(485, 33, 70, 14);
    EXPECT_EQ(count("frame.pdf-1.png", logoArea, isGreen), 70 * 14);
    EXPECT_EQ(count("frame.pdf-3.png", logoArea, isGreen), 0);
    // Header rule at y 56, 2 points wide, from x 30 to W - 30.
    EXPECT_GT(count("frame.pdf-1.png", QRect(30, 55, 535, 2), isDark), 535);
}

TEST_F(FrameTest, FieldsSitCentredInTheirDrawnCells)
{
    EXPECT_EQ(CellFieldBox(100, 200, 30, 20).left, 110);
    EXPECT_EQ(CellFieldBox(100, 200, 30, 20).top, 207);
    EXPECT_EQ(CellFieldBox(100, 200, 30, 20).width, 10);
    EXPECT_EQ(CellFieldBox(100, 200, 30, 20).height, 10);
    // Halves are whole points, truncated.
    EXPECT_EQ(CellFieldBox(100, 200, 31, 21).left, 110);
    EXPECT_EQ(CellFieldBox(100, 200, 31, 21).top, 207);
    EXPECT_EQ(CellFieldBox(100, 200, 5, 5).left, 98);

    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    DrawQCPageFrame(pdf, 0, true, dir.path());
    const int table = DrawQCTable(pdf, settingsTable(), 82, 160);
    ASSERT_GT(table, 0);
    const int left = int(pdf.GetTableCellDblProperty(table, 5, 2, 101));
    const int top = int(pdf.GetTableCellDblProperty(table, 5, 2, 102));
    const int width = int(pdf.GetTableCellDblProperty(table, 5, 2, 103));
    const int height = int(pdf.GetTableCellDblProperty(table, 5, 2, 104));
    EXPECT_EQ(left, 210);
    EXPECT_EQ(width, 80);
    EXPECT_GT(top, 82);
    EXPECT_GT(DrawCellCheckField(pdf, table, 5, 2, "chkAOOverride1_1", "Yes"), 0);
    EXPECT_GT(DrawCellCheckField(pdf, table, 5, 4, "chkAOOverride1_2", "No"), 0);
    DrawCheckField(pdf, 50, 567, "chkLeakTested", "Yes");
    const int radio = DrawCellRadioField(pdf, table, 6, 2, "PH2R1", "NH2SR1");
    EXPECT_GT(radio, 0);
    const int radioTop = int(pdf.GetTableCellDblProperty(table, 6, 2, 102));
    const int radioHeight = int(pdf.GetTableCellDblProperty(table, 6, 2, 104));
    const QString file = save(pdf, "cells.pdf");

    // The check fields became page content; the radio button stays, selected and read-only.
    const QJsonArray fields = pdftools::fields(file);
    ASSERT_EQ(fields.size(), 1);
    const QJsonObject r = fields[0].toObject();
    EXPECT_EQ(r["fullname"].toString(), "PH2R1");
    EXPECT_TRUE(r["isradiobutton"].toBool());
    EXPECT_EQ(r["value"].toString(), "/NH2SR1");
    EXPECT_EQ(r["annotation"].toObject()["appearancestate"].toString(), "/NH2SR1");
    EXPECT_EQ(r["fieldflags"].toInt() & 1, 1);
    const QJsonArray rect = pdftools::object(file, r["annotation"].toObject()["object"].toString())["/Rect"].toArray();
    ASSERT_EQ(rect.size(), 4);
    const FieldBox box = CellFieldBox(210, radioTop, 80, radioHeight);
    EXPECT_NEAR(rect[0].toDouble(), box.left, 0.01);
    EXPECT_NEAR(rect[3].toDouble(), 841.89 - box.top, 0.01);

    const QString text = pdftools::text(file);
    EXPECT_TRUE(text.contains("(Disabled in Timed Analysis)"));
    EXPECT_LT(text.indexOf("TSC(mV) for H2S Run"), text.indexOf("(Disabled in Timed Analysis)"));
    // The ticked box shows a mark inside its frame, the unticked one only the frame.
    const FieldBox ticked = CellFieldBox(left, top, width, height);
    const int rightLeft = int(pdf.GetTableCellDblProperty(table, 5, 4, 101));
    const FieldBox empty = CellFieldBox(rightLeft, top, width, height);
    EXPECT_GT(count("cells.pdf-1.png", QRect(ticked.left + 2, ticked.top + 2, 6, 6), isDark), 4);
    EXPECT_EQ(count("cells.pdf-1.png", QRect(empty.left + 2, empty.top + 2, 6, 6), isDark), 0);
    EXPECT_GT(count("cells.pdf-1.png", QRect(empty.left, empty.top, 10, 10), isDark), 10);
}

TEST_F(FrameTest, ValueBoxesAreAsWideAsTheirText)
{
    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    DrawQCPageFrame(pdf, 0, true, dir.path());
    UseStandardFont(pdf, kTextFont);
    EXPECT_EQ(DrawValueBox(pdf, 100, 430, "", 1), 35);
    EXPECT_EQ(DrawValueBox(pdf, 100, 450, "i", 0), 35) << "narrower than 10 points";
    const QString value = "Hydrogen 50 ppm calibration gas";
    const int w = int(pdf.GetTextWidth(value));
    ASSERT_GT(w, 60);
    EXPECT_EQ(DrawValueBox(pdf, 100, 470, value, 1), w + 5);
    const QString file = save(pdf, "boxes.pdf");
    EXPECT_TRUE(pdftools::text(file).contains(value));
}

}  // namespace
