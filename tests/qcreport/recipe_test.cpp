// The calls the page skeleton makes, in order, as a recording stand-in library receives them.

#include "qcreportframe.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

using namespace qcreport;

namespace {

class RecipeTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("QCPDF_STUB_LOG", dir.filePath("calls.log").toLocal8Bit()); }
    void TearDown() override { qunsetenv("QCPDF_STUB_LOG"); }
    QStringList calls() const
    {
        QFile f(dir.filePath("calls.log"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    QTemporaryDir dir;
};

TEST_F(RecipeTest, PageFrameInItsOrder)
{
    {
        DebenuPDFLibraryDLL1212 pdf(QStringLiteral(QCPDF_RECORDER));
        EXPECT_EQ(DrawQCPageFrame(pdf, 0, true, "/start"), 1);
        EXPECT_EQ(DrawQCPageFrame(pdf, 4, false, "/start"), 5);
    }
    const QStringList frame = {"SetOrigin 1",
                               "PageWidth",
                               "PageHeight",
                               "AddStandardFont 9",
                               "SelectFont 109",
                               "SetTextSize 20",
                               "SetTextColor %1",
                               "AddImageFromFile 0",
                               "DrawImage 480 30 80 20",
                               "DrawText 30 50 \"\\x0AAnalyzer Configuration and Q.C. Documentation\"",
                               "SetLineWidth 2",
                               "DrawLine 30 56 565 56",
                               "SetLineWidth 1",
                               "DrawLine 30 791 565 791",
                               "SetTextColor 0 0 0",
                               "AddStandardFont 8",
                               "SelectFont 108",
                               "SetTextSize 8",
                               "DrawText 30 801 \"page %2\"",
                               QStringLiteral("DrawText 150 801 \"%1\"").arg(kMakerContactLine),
                               "SetTextColor 0 0 1",
                               "AddStandardFont 9",
                               "SelectFont 109",
                               "SetTextSize 12"};
    QStringList expected;
    for (const QString& c : frame)
        expected << QString(c).replace("%1", "1 0 0").replace("%2", "1");
    expected << "NewPage";
    for (const QString& c : frame)
        expected << QString(c).replace("%1", "0 0 0").replace("%2", "5");
    EXPECT_EQ(calls(), expected);
}

TEST_F(RecipeTest, TablesAreBuiltOneWayAndFieldsFollowTheDrawnCell)
{
    {
        DebenuPDFLibraryDLL1212 pdf(QStringLiteral(QCPDF_RECORDER));
        QCTableLayout t;
        t.rows = 8;
        t.columns = 15;
        t.columnWidths = {{1, 1, 50}, {2, 15, 33}};
        t.alignments = {{{1, 1, 2, 15}, 4}, {{1, 1, 8, 1}, 4}, {{3, 2, 8, 15}, 3}};
        t.greyBlocks = {{1, 1, 8, 1}, {1, 2, 2, 15}};
        t.merges = {{1, 2, 1, 7}, {1, 8, 1, 15}, {1, 1, 2, 1}};
        t.cell(1, 2, "Switching Relays");
        t.cell(3, 1, "H2S");
        EXPECT_EQ(DrawQCTable(pdf, t, 382, 150), 5);
        EXPECT_EQ(DrawCellRadioField(pdf, 5, 3, 2, "PH2R1", "NH2SR1"), 11);
        EXPECT_EQ(DrawCellCheckField(pdf, 5, 5, 2, "chkAOOverride1_1", "No"), 11);
        DrawCheckField(pdf, 50, 567, "chkLeakTested", "Yes");
        EXPECT_EQ(DrawValueBox(pdf, 95, 583, "5.0", 1), 65);
    }
    const QStringList cell = {"GetTableCellDblProperty 5 %1 101", "GetTableCellDblProperty 5 %1 102",
                              "GetTableCellDblProperty 5 %1 103", "GetTableCellDblProperty 5 %1 104"};
    QStringList expected = {"CreateTable 8 15",
                            "SetTableBorderColor 5 0 0 0 0",
                            "SetTableBorderWidth 5 0 0.1",
                            "SetTableRowHeight 5 1 8 0",
                            "SetTableColumnWidth 5 1 1 50",
                            "SetTableColumnWidth 5 2 15 33",
                            "SetTableCellAlignment 5 1 1 2 15 4",
                            "SetTableCellAlignment 5 1 1 8 1 4",
                            "SetTableCellAlignment 5 3 2 8 15 3",
                            "SetTableCellBackgroundColor 5 1 1 8 1 0.913 0.913 0.913",
                            "SetTableCellBackgroundColor 5 1 2 2 15 0.913 0.913 0.913",
                            "MergeTableCells 5 1 2 1 7",
                            "MergeTableCells 5 1 8 1 15",
                            "MergeTableCells 5 1 1 2 1",
                            "SetTableCellContent 5 1 2 \"Switching Relays\"",
                            "SetTableCellContent 5 3 1 \"H2S\"",
                            "SetOrigin 1",
                            "DrawTableRows 5 30 382 150 1 0"};
    for (const QString& c : cell)
        expected << QString(c).arg("3 2");
    // The cell (100, 200, 30, 20), truncated, puts the 10 x 10 box at (110, 207).
    expected << "NewFormField \"PH2R1\" 4"
             << "AddFormFieldSub 11 \"NH2SR1\""
             << "SetFormFieldBounds 12 110 207 10 10"
             << "SetFormFieldCheckStyle 12 2 1"
             << "SetFormFieldBorderColor 12 0 0 0"
             << "SetFormFieldValue 11 \"NH2SR1\""
             << "SetFormFieldReadOnly 12 1";
    for (const QString& c : cell)
        expected << QString(c).arg("5 2");
    expected << "NewFormField \"chkAOOverride1_1\" 3"
             << "SetFormFieldBounds 11 110 207 10 10"
             << "SetFormFieldCheckStyle 11 1 1"
             << "SetFormFieldBorderColor 11 0 0 0"
             << "SetFormFieldVisible 11 1"
             << "SetFormFieldValue 11 \"No\""
             << "FlattenFormField 11";
    expected << "NewFormField \"chkLeakTested\" 3"
             << "SetFormFieldBounds 11 50 567 10 10"
             << "SetFormFieldCheckStyle 11 1 1"
             << "SetFormFieldBorderColor 11 0 0 0"
             << "SetFormFieldVisible 11 1"
             << "SetFormFieldValue 11 \"Yes\""
             << "FlattenFormField 11";
    // Width 60.7 and height 13.9, truncated: a box 65 x 15.
    expected << "GetTextWidth \"5.0\""
             << "GetTextHeight"
             << "DrawRotatedTextBoxEx 95 583 65 15 0 \"5.0\" 0 1 0 0";
    EXPECT_EQ(calls(), expected);
}

}  // namespace
