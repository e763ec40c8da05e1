// The PDF library's entry groups, each driven through the binding into a saved document and read
// back with poppler's and qpdf's tools.

#include "debenupdflibrarydll1212.h"
#include "pdftools.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

class PdfLibraryTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // Saves, then checks that the file is sound and renders.
    QString save(DebenuPDFLibraryDLL1212& pdf, const QString& name)
    {
        const QString file = path(name);
        EXPECT_EQ(pdf.SaveToFile(file), 1);
        QString report;
        EXPECT_TRUE(pdftools::checks(file, &report)) << report.toStdString();
        EXPECT_TRUE(pdftools::renders(file, path(name + "-render")));
        return file;
    }

    QTemporaryDir dir;
};

TEST_F(PdfLibraryTest, PagesAndTextComeOutInOrderOnA4)
{
    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    ASSERT_FALSE(pdf.failed()) << pdf.errorString().toStdString();
    EXPECT_GT(pdf.instanceId(), 0);
    EXPECT_EQ(pdf.SetPageSize("A4"), 1);
    EXPECT_EQ(pdf.SetPageSize("Z9"), 0);
    EXPECT_EQ(pdf.SetOrigin(1), 1);
    EXPECT_EQ(int(pdf.PageWidth()), 595);
    EXPECT_EQ(int(pdf.PageHeight()), 841);

    const int font = pdf.AddStandardFont(9);
    EXPECT_GT(font, 0);
    EXPECT_EQ(pdf.SelectFont(font), 1);
    EXPECT_EQ(pdf.SelectFont(999), 0);
    EXPECT_EQ(pdf.AddStandardFont(14), 0);
    pdf.SetTextSize(12);
    pdf.SetTextColor(0, 0, 1);
    pdf.DrawText(30, 76, "First line");
    pdf.DrawText(30, 100, QString::fromUtf8("Größe 5 € — naïve"));
    // A line feed draws nothing: the title stands on its baseline.
    pdf.DrawText(30, 130, "\nTitle after a line feed");
    EXPECT_EQ(pdf.NewPage(), 2);
    pdf.SetOrigin(1);
    pdf.DrawText(30, 76, "Second page");
    EXPECT_EQ(pdf.NewPage(), 3);
    // Bottom-left origin: y grows upwards.
    pdf.SetOrigin(0);
    pdf.DrawText(30, 800, "Near the top");
    pdf.DrawText(30, 40, "Near the bottom");
    const QString file = save(pdf, "text.pdf");

    EXPECT_EQ(pdftools::info(file, "Pages"), "3");
    EXPECT_TRUE(pdftools::info(file, "Page size").contains("(A4)"));
    const QString page1 = pdftools::text(file, 1);
    EXPECT_LT(page1.indexOf("First line"), page1.indexOf(QString::fromUtf8("Größe 5 € — naïve")));
    EXPECT_GE(page1.indexOf(QString::fromUtf8("Größe 5 € — naïve")), 0);
    EXPECT_TRUE(page1.contains("Title after a line feed"));
    EXPECT_TRUE(pdftools::text(file, 2).contains("Second page"));
    const QString page3 = pdftools::text(file, 3);
    EXPECT_LT(page3.indexOf("Near the top"), page3.indexOf("Near the bottom"));
    EXPECT_GE(page3.indexOf("Near the top"), 0);
}

TEST_F(PdfLibraryTest, TextMeasuresFollowFontAndSize)
{
    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    pdf.SelectFont(pdf.AddStandardFont(8));
    pdf.SetTextSize(12);
    const double w12 = pdf.GetTextWidth("Sample Set At ");
    const double h12 = pdf.GetTextHeight();
    EXPECT_GT(w12, 40);
    EXPECT_LT(w12, 100);
    EXPECT_GT(h12, 8);
    EXPECT_LT(h12, 16);
    EXPECT_EQ(pdf.GetTextWidth(""), 0);
    pdf.SetTextSize(24);
    EXPECT_NEAR(pdf.GetTextWidth("Sample Set At "), 2 * w12, 1e-6);
    EXPECT_NEAR(pdf.GetTextHeight(), 2 * h12, 1e-6);
    // Bold is wider than roman.
    pdf.SelectFont(pdf.AddStandardFont(9));
    EXPECT_GT(pdf.GetTextWidth("Sample Set At "), 2 * w12);
}

TEST_F(PdfLibraryTest, TextBoxesAndMultiLineTextKeepTheirLines)
{
    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    pdf.SetOrigin(1);
    pdf.SelectFont(pdf.AddStandardFont(8));
    pdf.SetTextSize(12);
    EXPECT_EQ(pdf.DrawRotatedTextBoxEx(50, 100, 80, 16, 0, "Boxed value", 0, 1, 0, 0), 1);
    EXPECT_EQ(pdf.DrawRotatedTextBoxEx(200, 100, 40, 16, 0, "", 0, 0, 0, 0), 1);
    EXPECT_EQ(pdf.DrawRotatedTextBoxEx(300, 300, 120, 16, 90, "Turned box", 0, 1, 0, 0), 1);
    EXPECT_EQ(pdf.DrawRotatedTextBoxEx(50, 200, 120, 30, 0, "Rounded box", 4, 1, 6, 0), 1);
    EXPECT_EQ(pdf.DrawRotatedMultiLineText(50, 415, 0, "\n", "Note one\r\nNote two\r\n\r\nNote four"), 1);
    const QString file = save(pdf, "boxes.pdf");
    const QString text = pdftools::text(file);
    EXPECT_TRUE(text.contains("Boxed value"));
    EXPECT_TRUE(text.contains("Turned box"));
    EXPECT_TRUE(text.contains("Rounded box"));
    const int one = text.indexOf("Note one"), two = text.indexOf("Note two"), four = text.indexOf("Note four");
    EXPECT_GE(one, 0);
    EXPECT_LT(one, two);
    EXPECT_LT(two, four);
}

TEST_F(PdfLibraryTest, LinesAndImagesFromPngAndJpeg)
{
    QImage image(40, 10, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(path("logo.png")));
    ASSERT_TRUE(image.save(path("logo.jpg"), "JPEG"));
    QFile junk(path("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not an image");
    junk.close();

    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    pdf.SetOrigin(1);
    EXPECT_EQ(pdf.DrawImage(0, 0, 10, 10), 0) << "no image added yet";
    EXPECT_GT(pdf.AddImageFromFile(path("logo.png"), 0), 0);
    EXPECT_EQ(pdf.DrawImage(480, 30, 80, 20), 1);
    EXPECT_GT(pdf.AddImageFromFile(path("logo.jpg"), 0), 0);
    EXPECT_EQ(pdf.DrawImage(380, 30, 80, 20), 1);
    EXPECT_EQ(pdf.AddImageFromFile(path("missing.png"), 0), 0);
    EXPECT_EQ(pdf.AddImageFromFile(path("junk.png"), 0), 0);
    pdf.SetLineWidth(2);
    EXPECT_EQ(pdf.DrawLine(30, 56, 565, 56), 1);
    const QString file = save(pdf, "images.pdf");
    const pdftools::Run list = pdftools::run("pdfimages", {"-list", file});
    EXPECT_EQ(list.out.count(QRegularExpression("\\n\\s+1\\s+\\d+ image")), 2) << list.out.toStdString();
    // The green logo is on the rendered page at its place (top 30, left 480 at 50 dpi).
    const QImage page(path("images.pdf-render-1.png"));
    ASSERT_FALSE(page.isNull());
    const double scale = 50.0 / 72.0;
    EXPECT_EQ(page.pixelColor(int(520 * scale), int(40 * scale)), QColor(Qt::green));
}

TEST_F(PdfLibraryTest, TablesPlaceCellsAndMergesAsSet)
{
    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    pdf.SetOrigin(1);
    pdf.SelectFont(pdf.AddStandardFont(9));
    pdf.SetTextSize(12);
    const int table = pdf.CreateTable(4, 3);
    ASSERT_GT(table, 0);
    EXPECT_EQ(pdf.CreateTable(0, 3), 0);
    EXPECT_EQ(pdf.SetTableBorderColor(table, 0, 0, 0, 0), 1);
    EXPECT_EQ(pdf.SetTableBorderWidth(table, 0, 0.1), 1);
    EXPECT_EQ(pdf.SetTableRowHeight(table, 1, 4, 20), 1);
    EXPECT_EQ(pdf.SetTableRowHeight(table, 1, 5, 20), 0) << "rows outside the table";
    EXPECT_EQ(pdf.SetTableColumnWidth(table, 1, 1, 100), 1);
    EXPECT_EQ(pdf.SetTableColumnWidth(table, 2, 3, 60), 1);
    EXPECT_EQ(pdf.SetTableCellAlignment(table, 1, 1, 4, 1, 4), 1);
    EXPECT_EQ(pdf.SetTableCellAlignment(table, 1, 2, 4, 3, 3), 1);
    EXPECT_EQ(pdf.SetTableCellBackgroundColor(table, 1, 1, 4, 1, 0.913, 0.913, 0.913), 1);
    EXPECT_EQ(pdf.MergeTableCells(table, 1, 2, 1, 3), 1);
    EXPECT_EQ(pdf.MergeTableCells(table, 1, 3, 2, 3), 0) << "overlaps the first merge";
    EXPECT_EQ(pdf.SetTableCellContent(table, 1, 1, "Head"), 1);
    EXPECT_EQ(pdf.SetTableCellContent(table, 1, 2, "Merged heading"), 1);
    EXPECT_EQ(pdf.SetTableCellContent(table, 2, 1, "Upper<br>Lower"), 1);
    EXPECT_EQ(pdf.SetTableCellContent(table, 2, 2, "x<y"), 1);
    EXPECT_EQ(pdf.SetTableCellContent(table, 3, 1, "Third"), 1);
    EXPECT_EQ(pdf.SetTableCellContent(table, 4, 1, "Fourth"), 1);
    EXPECT_EQ(pdf.SetTableCellContent(table, 5, 1, "Outside"), 0);
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 1, 1, 101), 0) << "not drawn yet";

    // Room for three rows of 20 only: the fourth is not drawn.
    EXPECT_EQ(pdf.DrawTableRows(table, 30, 100, 65, 1, 0), 3);
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 2, 3, 101), 190);
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 2, 3, 102), 120);
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 2, 3, 103), 60);
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 2, 3, 104), 20);
    // The merged heading is one cell of 120 points.
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 1, 2, 103), 120);
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 1, 3, 101), 130);
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 4, 1, 101), 0);
    EXPECT_EQ(pdf.GetTableCellDblProperty(table, 2, 3, 999), 0);

    // Rows of height 0 grow with their lines.
    const int grown = pdf.CreateTable(2, 1);
    pdf.SetTableColumnWidth(grown, 1, 1, 200);
    pdf.SetTableCellContent(grown, 1, 1, "One line");
    pdf.SetTableCellContent(grown, 2, 1, "Line one<br>Line two<BR/>Line three");
    EXPECT_EQ(pdf.DrawTableRows(grown, 30, 300, 200, 1, 0), 2);
    const double one = pdf.GetTableCellDblProperty(grown, 1, 1, 104);
    const double three = pdf.GetTableCellDblProperty(grown, 2, 1, 104);
    EXPECT_GT(three, 2.5 * one - 10);
    EXPECT_GT(one, pdf.GetTextHeight());

    const QString file = save(pdf, "tables.pdf");
    const QString text = pdftools::text(file);
    for (const char* expected :
         {"Head", "Merged heading", "Upper", "Lower", "x<y", "Third", "Line one", "Line two", "Line three"})
        EXPECT_TRUE(text.contains(expected)) << expected;
    EXPECT_FALSE(text.contains("Fourth"));
    EXPECT_FALSE(text.contains("<br>"));
    EXPECT_LT(text.indexOf("Upper"), text.indexOf("Lower"));
}

TEST_F(PdfLibraryTest, RadioButtonsStayFieldsAndCheckBoxesFlatten)
{
    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    pdf.SetOrigin(1);
    const int flat = pdf.NewFormField("chkFlat", 3);
    ASSERT_GT(flat, 0);
    pdf.SetFormFieldBounds(flat, 50, 100, 10, 10);
    pdf.SetFormFieldCheckStyle(flat, 1, 1);
    pdf.SetFormFieldBorderColor(flat, 0, 0, 0);
    pdf.SetFormFieldVisible(flat, 1);
    pdf.SetFormFieldValue(flat, "Yes");
    EXPECT_EQ(pdf.FlattenFormField(flat), 1);
    EXPECT_EQ(pdf.SetFormFieldValue(flat, "No"), 0) << "a flattened field is page content";

    const int kept = pdf.NewFormField("chkKept", 3);
    pdf.SetFormFieldBounds(kept, 80, 100, 10, 10);
    pdf.SetFormFieldValue(kept, "Yes");

    const int radio = pdf.NewFormField("ckCal2SwitchingS3", 4);
    const int sub = pdf.AddFormFieldSub(radio, "ckCal2SwitchingS3");
    ASSERT_GT(sub, radio);
    EXPECT_EQ(pdf.AddFormFieldSub(flat, "x"), 0) << "only radio buttons have sub-fields";
    EXPECT_EQ(pdf.SetFormFieldBounds(sub, 110, 207, 10, 10), 1);
    pdf.SetFormFieldCheckStyle(sub, 2, 1);
    pdf.SetFormFieldBorderColor(sub, 0, 0, 0);
    pdf.SetFormFieldValue(radio, "ckCal2SwitchingS3");
    pdf.SetFormFieldReadOnly(sub, 1);

    const int unselected = pdf.NewFormField(QString::fromUtf8("Wahl Ω"), 4);
    const int other = pdf.AddFormFieldSub(unselected, "A");
    pdf.SetFormFieldBounds(other, 200, 207, 10, 10);

    // Names with blanks, number signs and letters beyond ASCII stay valid PDF names (blanks
    // become "_").
    const int odd = pdf.NewFormField("odd", 4);
    const QString oddValue = QString::fromUtf8("Wert #1/é (x)");
    pdf.SetFormFieldBounds(pdf.AddFormFieldSub(odd, oddValue), 250, 207, 10, 10);
    pdf.SetFormFieldValue(odd, oddValue);

    const int hidden = pdf.NewFormField("hidden", 3);
    pdf.SetFormFieldBounds(hidden, 300, 207, 10, 10);
    pdf.SetFormFieldVisible(hidden, 0);
    EXPECT_EQ(pdf.NewFormField("text", 1), 0) << "only check boxes and radio buttons";

    const QString file = save(pdf, "fields.pdf");
    const QJsonArray fields = pdftools::fields(file);
    ASSERT_EQ(fields.size(), 5);
    QMap<QString, QJsonObject> byName;
    for (const auto& f : fields)
        byName[f.toObject()["fullname"].toString()] = f.toObject();
    EXPECT_FALSE(byName.contains("chkFlat"));
    EXPECT_EQ(byName["chkKept"]["value"].toString(), "/Yes");
    EXPECT_TRUE(byName["chkKept"]["ischeckbox"].toBool());
    const QJsonObject r = byName["ckCal2SwitchingS3"];
    EXPECT_TRUE(r["isradiobutton"].toBool());
    EXPECT_EQ(r["value"].toString(), "/ckCal2SwitchingS3");
    const QJsonObject widget = r["annotation"].toObject();
    EXPECT_EQ(widget["appearancestate"].toString(), "/ckCal2SwitchingS3");
    EXPECT_EQ(r["fieldflags"].toInt() & 1, 1) << "read-only";
    EXPECT_EQ(r["pageposfrom1"].toInt(), 1);
    // Top 207 from the top of an 841.89-point page.
    const QJsonArray rect = pdftools::object(file, widget["object"].toString())["/Rect"].toArray();
    ASSERT_EQ(rect.size(), 4);
    EXPECT_NEAR(rect[0].toDouble(), 110, 0.01);
    EXPECT_NEAR(rect[3].toDouble(), 841.89 - 207, 0.01);
    EXPECT_NEAR(rect[2].toDouble() - rect[0].toDouble(), 10, 0.01);
    EXPECT_EQ(byName[QString::fromUtf8("Wahl Ω")]["value"].toString(), "/Off");
    EXPECT_EQ(byName["odd"]["value"].toString(), byName["odd"]["annotation"].toObject()["appearancestate"].toString());
    EXPECT_EQ(byName["odd"]["value"].toString(), QString::fromUtf8("/Wert_#1/é_(x)"));
    EXPECT_EQ(byName["hidden"]["annotation"].toObject()["annotationflags"].toInt() & 2, 2);
}

TEST_F(PdfLibraryTest, SaveReplacesTheTargetWholeOrNotAtAll)
{
    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    pdf.DrawText(30, 30, "Replacement");
    QFile old(path("old.pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous document");
    old.close();
    EXPECT_EQ(pdf.SaveToFile(path("old.pdf")), 1);
    EXPECT_TRUE(pdftools::text(path("old.pdf")).contains("Replacement"));

    // A target that cannot be replaced (a folder) and one in a missing folder: nothing is left
    // behind, the folder stays.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.pdf"));
    EXPECT_EQ(pdf.SaveToFile(path("taken.pdf")), 0);
    EXPECT_TRUE(QFileInfo(path("taken.pdf")).isDir());
    EXPECT_EQ(pdf.SaveToFile(path("missing/new.pdf")), 0);
    EXPECT_EQ(pdf.SaveToFile(""), 0);
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{"old.pdf"});
    // The same document can be saved again.
    EXPECT_EQ(pdf.SaveToFile(path("again.pdf")), 1);
    EXPECT_TRUE(pdftools::checks(path("again.pdf")));
}

}  // namespace
