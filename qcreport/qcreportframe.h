#pragma once

// The skeleton every page of the QC certificate is drawn on: the page frame (logo, title, rules,
// page number and the maker's contact line), section titles, the one way tables are built and
// drawn, and check boxes, radio buttons and value boxes placed on the page. Everything draws
// through the PDF library object of the save in progress; an error of the library ends the save.

#include "debenupdflibrarydll1212.h"

#include <QString>

#include <string>
#include <vector>

namespace qcreport {

struct Rgb {
    double r, g, b;
};
constexpr Rgb kTitleRed{1, 0, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kSectionBlue{0, 0, 1};
constexpr Rgb kLabelGrey{0.913, 0.913, 0.913};

constexpr int kTitleFont = 9;  // standard font of the title and the section titles
constexpr int kTextFont = 8;   // standard font of the footer and of running text
constexpr double kLeftMargin = 30;

// The title line; it begins with a line feed, as the certificate always had it.
extern const char* const kReportTitle;
// The maker's web address, telephone numbers and e-mail address, printed in every footer.
extern const char* const kMakerContactLine;

// The toolkit's 8-bit text as UTF-16. The program's 8-bit texts (point texts, files) are
// Latin-1, so that is the code page here.
QString AnsiToWide(const std::string& text);

// Selects a standard font the way the pages do: adds it again and selects the id it returns.
void UseStandardFont(DebenuPDFLibraryDLL1212& pdf, int standardFont);
void SetTextColor(DebenuPDFLibraryDLL1212& pdf, Rgb colour);

// Draws the frame of one page and returns the page index increased by one, the number printed
// in its footer. The first page of a document is the one the library already holds; every later
// page is begun here. The logo is startDirectory + "/logo.png"; a missing logo leaves its place
// empty. Afterwards the section style (blue, font 9, size 12) is in force.
int DrawQCPageFrame(DebenuPDFLibraryDLL1212& pdf, int pageIndex, bool firstPage, const QString& startDirectory);

// Blue, standard font 9, size 12, then the text at (x, y).
void DrawQCSectionTitle(DebenuPDFLibraryDLL1212& pdf, double x, double y, const QString& text);

// A rectangular block of cells, rows and columns from 1.
struct CellBlock {
    int firstRow, firstColumn, lastRow, lastColumn;
};

// What a table of the certificate is made of; DrawQCTable applies it in one fixed order.
struct QCTableLayout {
    int rows = 0;
    int columns = 0;
    double rowHeight = 0;  // for every row; 0 leaves the height to the contents
    struct ColumnWidth {
        int firstColumn, lastColumn;
        double width;
    };
    std::vector<ColumnWidth> columnWidths;
    struct Alignment {
        CellBlock block;
        int code;  // 4 for label cells, 3 for value cells
    };
    std::vector<Alignment> alignments;
    std::vector<CellBlock> greyBlocks;
    std::vector<CellBlock> merges;
    struct Cell {
        int row, column;
        QString text;  // the library's cell text: "<br>" breaks the line
    };
    std::vector<Cell> cells;

    // The usual case: this block of label cells, aligned 4 and grey.
    void labels(CellBlock block);
    // This block of value cells, aligned 3.
    void values(CellBlock block);
    void cell(int row, int column, const QString& text) { cells.push_back({row, column, text}); }
};

// Creates the table (black borders 0.1 wide), sets it up as the layout says, and draws all its
// rows with the left edge at x 30 and the top at top, within height. Returns the table's id, for
// placing fields in its cells.
int DrawQCTable(DebenuPDFLibraryDLL1212& pdf, const QCTableLayout& layout, double top, double height);

// A flattened 10 x 10 check box at (x, y); value "Yes" ticks it.
void DrawCheckField(DebenuPDFLibraryDLL1212& pdf, double x, double y, const QString& fieldName, const QString& value);
// A flattened check box centred in a drawn cell; returns the field's index.
int DrawCellCheckField(DebenuPDFLibraryDLL1212& pdf, int tableId, int row, int column, const QString& fieldName,
                       const QString& value);
// A selected, read-only radio button centred in a drawn cell, left as a form field of the
// document; returns the index of the parent field.
int DrawCellRadioField(DebenuPDFLibraryDLL1212& pdf, int tableId, int row, int column, const QString& fieldName,
                       const QString& value);
// The 10 x 10 box centred in a cell at (left, top) of width x height, halves truncated.
struct FieldBox {
    int left, top, width, height;
};
FieldBox CellFieldBox(int left, int top, int width, int height);

// The text in a box at (left, top) as wide as the text plus 5 (35 for a text narrower than 10
// points) and one line high plus 2; border 1 frames it. Returns the width used.
int DrawValueBox(DebenuPDFLibraryDLL1212& pdf, double left, double top, const QString& text, int border);

}  // namespace qcreport
