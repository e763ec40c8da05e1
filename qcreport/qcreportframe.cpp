#include "qcreportframe.h"

#include <QDir>

namespace qcreport {

const char* const kReportTitle = "\nAnalyzer Configuration and Q.C. Documentation";
const char* const kMakerContactLine =
    "www.sentrel515.example | Toll Free: 1-800-555-0155 | Tel: 1-555-555-0155 | "
    "qc@sentrel515.example";

namespace {

constexpr int kFieldCheckBox = 3;
constexpr int kFieldRadioButton = 4;
constexpr int kOriginTopLeft = 1;
constexpr int kFieldSize = 10;

void setFieldCommon(DebenuPDFLibraryDLL1212& pdf, int field, int checkStyle)
{
    pdf.SetFormFieldCheckStyle(field, checkStyle, 1);
    pdf.SetFormFieldBorderColor(field, kBlack.r, kBlack.g, kBlack.b);
}

struct CellRect {
    int left, top, width, height;
};

CellRect drawnCell(DebenuPDFLibraryDLL1212& pdf, int tableId, int row, int column)
{
    return {int(pdf.GetTableCellDblProperty(tableId, row, column, 101)),
            int(pdf.GetTableCellDblProperty(tableId, row, column, 102)),
            int(pdf.GetTableCellDblProperty(tableId, row, column, 103)),
            int(pdf.GetTableCellDblProperty(tableId, row, column, 104))};
}

}  // namespace

QString AnsiToWide(const std::string& text)
{
    // Up to the terminator, as a C string would end.
    const size_t end = text.find('\0');
    return QString::fromLatin1(text.data(), qsizetype(end == std::string::npos ? text.size() : end));
}

void UseStandardFont(DebenuPDFLibraryDLL1212& pdf, int standardFont)
{
    pdf.SelectFont(pdf.AddStandardFont(standardFont));
}

void SetTextColor(DebenuPDFLibraryDLL1212& pdf, Rgb colour)
{
    pdf.SetTextColor(colour.r, colour.g, colour.b);
}

int DrawQCPageFrame(DebenuPDFLibraryDLL1212& pdf, int pageIndex, bool firstPage, const QString& startDirectory)
{
    if (!firstPage)
        pdf.NewPage();
    pdf.SetOrigin(kOriginTopLeft);
    const int w = int(pdf.PageWidth());
    const int h = int(pdf.PageHeight());

    UseStandardFont(pdf, kTitleFont);
    pdf.SetTextSize(20);
    SetTextColor(pdf, firstPage ? kTitleRed : kBlack);

    // The page goes on without its logo when the file is missing.
    pdf.AddImageFromFile(QDir(startDirectory).filePath(QStringLiteral("logo.png")), 0);
    pdf.DrawImage(480, 30, 80, 20);

    pdf.DrawText(30, 50, QString::fromLatin1(kReportTitle));
    pdf.SetLineWidth(2);
    pdf.DrawLine(30, 56, w - 30, 56);
    pdf.SetLineWidth(1);
    pdf.DrawLine(30, h - 50, w - 30, h - 50);

    SetTextColor(pdf, kBlack);
    UseStandardFont(pdf, kTextFont);
    pdf.SetTextSize(8);
    ++pageIndex;
    pdf.DrawText(30, h - 40, QStringLiteral("page ") + QString::number(pageIndex));
    pdf.DrawText(150, h - 40, QString::fromLatin1(kMakerContactLine));

    SetTextColor(pdf, kSectionBlue);
    UseStandardFont(pdf, kTitleFont);
    pdf.SetTextSize(12);
    return pageIndex;
}

void DrawQCSectionTitle(DebenuPDFLibraryDLL1212& pdf, double x, double y, const QString& text)
{
    SetTextColor(pdf, kSectionBlue);
    UseStandardFont(pdf, kTitleFont);
    pdf.SetTextSize(12);
    pdf.DrawText(x, y, text);
}

void QCTableLayout::labels(CellBlock block)
{
    alignments.push_back({block, 4});
    greyBlocks.push_back(block);
}

void QCTableLayout::values(CellBlock block)
{
    alignments.push_back({block, 3});
}

int DrawQCTable(DebenuPDFLibraryDLL1212& pdf, const QCTableLayout& layout, double top, double height)
{
    const int table = pdf.CreateTable(layout.rows, layout.columns);
    pdf.SetTableBorderColor(table, 0, kBlack.r, kBlack.g, kBlack.b);
    pdf.SetTableBorderWidth(table, 0, 0.1);
    pdf.SetTableRowHeight(table, 1, layout.rows, layout.rowHeight);
    for (const auto& c : layout.columnWidths)
        pdf.SetTableColumnWidth(table, c.firstColumn, c.lastColumn, c.width);
    for (const auto& a : layout.alignments)
        pdf.SetTableCellAlignment(table, a.block.firstRow, a.block.firstColumn, a.block.lastRow, a.block.lastColumn,
                                  a.code);
    for (const auto& g : layout.greyBlocks)
        pdf.SetTableCellBackgroundColor(table, g.firstRow, g.firstColumn, g.lastRow, g.lastColumn, kLabelGrey.r,
                                        kLabelGrey.g, kLabelGrey.b);
    for (const auto& m : layout.merges)
        pdf.MergeTableCells(table, m.firstRow, m.firstColumn, m.lastRow, m.lastColumn);
    for (const auto& c : layout.cells)
        pdf.SetTableCellContent(table, c.row, c.column, c.text);
    pdf.SetOrigin(kOriginTopLeft);
    pdf.DrawTableRows(table, kLeftMargin, top, height, 1, 0);
    return table;
}

FieldBox CellFieldBox(int left, int top, int width, int height)
{
    return {left + (width - kFieldSize) / 2, top + (height - kFieldSize) / 2 + 2, kFieldSize, kFieldSize};
}

void DrawCheckField(DebenuPDFLibraryDLL1212& pdf, double x, double y, const QString& fieldName, const QString& value)
{
    const int field = pdf.NewFormField(fieldName, kFieldCheckBox);
    pdf.SetFormFieldBounds(field, x, y, kFieldSize, kFieldSize);
    setFieldCommon(pdf, field, 1);
    pdf.SetFormFieldVisible(field, 1);
    pdf.SetFormFieldValue(field, value);
    pdf.FlattenFormField(field);
}

int DrawCellCheckField(DebenuPDFLibraryDLL1212& pdf, int tableId, int row, int column, const QString& fieldName,
                       const QString& value)
{
    const CellRect cell = drawnCell(pdf, tableId, row, column);
    const int field = pdf.NewFormField(fieldName, kFieldCheckBox);
    const FieldBox box = CellFieldBox(cell.left, cell.top, cell.width, cell.height);
    pdf.SetFormFieldBounds(field, box.left, box.top, box.width, box.height);
    setFieldCommon(pdf, field, 1);
    pdf.SetFormFieldVisible(field, 1);
    pdf.SetFormFieldValue(field, value);
    pdf.FlattenFormField(field);
    return field;
}

int DrawCellRadioField(DebenuPDFLibraryDLL1212& pdf, int tableId, int row, int column, const QString& fieldName,
                       const QString& value)
{
    const CellRect cell = drawnCell(pdf, tableId, row, column);
    const FieldBox box = CellFieldBox(cell.left, cell.top, cell.width, cell.height);
    const int field = pdf.NewFormField(fieldName, kFieldRadioButton);
    const int sub = pdf.AddFormFieldSub(field, value);
    pdf.SetFormFieldBounds(sub, box.left, box.top, box.width, box.height);
    setFieldCommon(pdf, sub, 2);
    pdf.SetFormFieldValue(field, value);
    pdf.SetFormFieldReadOnly(sub, 1);
    return field;
}

int DrawValueBox(DebenuPDFLibraryDLL1212& pdf, double left, double top, const QString& text, int border)
{
    int w = int(pdf.GetTextWidth(text));
    if (w < 10)
        w = 30;
    const int h = int(pdf.GetTextHeight());
    pdf.DrawRotatedTextBoxEx(left, top, w + 5, h + 2, 0, text, 0, border, 0, 0);
    return w + 5;
}

}  // namespace qcreport
