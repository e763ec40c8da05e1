#pragma once

// One document of libqcpdf: the libharu document, the drawing state the entries change, and the
// tables and form fields that libharu has no notion of. Positions are kept from the top of the
// page downwards; libharu's own space (from the bottom upwards) is reached only when drawing.

#include <hpdf.h>

#include <string>
#include <vector>

namespace qcpdf {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// A rectangle measured from the page's top left corner, y growing downwards.
struct Box {
    double left = 0, top = 0, width = 0, height = 0;
};

// Text as the standard fonts' encoding (WinAnsi) holds it.
using AnsiText = std::string;
AnsiText toAnsi(const std::u16string& text);
std::string toUtf8(const std::u16string& text);

struct Cell {
    std::u16string content;
    int alignment = -1;  // -1: the table's default
    bool hasBackground = false;
    Rgb background;
    int rowSpan = 1, columnSpan = 1;
    bool covered = false;  // inside another cell's merge
    bool drawn = false;
    Box drawnBox;
    int drawnPage = -1;
};

struct Table {
    int rows = 0, columns = 0;
    std::vector<double> rowHeights;  // 0: as high as the contents
    std::vector<double> columnWidths;
    Rgb borderColor;
    double borderWidth = 1;
    std::vector<Cell> cells;
    Cell& at(int row, int column) { return cells[size_t((row - 1) * columns + (column - 1))]; }
    bool contains(int row, int column) const { return row >= 1 && row <= rows && column >= 1 && column <= columns; }
};

// Alignment codes of cells and text boxes: 0 top left, 1 top centre, 2 top right, 3 middle
// centre, 4 middle left, 5 middle right, 6 bottom left, 7 bottom centre, 8 bottom right.
// Horizontal 0 left, 1 centre, 2 right; vertical 0 top, 1 middle, 2 bottom.
struct Placement {
    int horizontal, vertical;
};
Placement placementOf(int alignment, Placement fallback);

enum class FieldType { CheckBox = 3, RadioButton = 4 };

struct Field {
    std::u16string title;
    FieldType type = FieldType::CheckBox;
    int parent = 0;         // index of the field this one belongs to, 0 for a field of its own
    std::vector<int> subs;  // indices of its sub-fields
    int page = 0;
    bool hasBounds = false;
    Box bounds;
    int checkStyle = 1;
    int position = 0;
    bool hasBorder = false;
    Rgb border;
    bool visible = true;
    std::u16string value;
    bool readOnly = false;
    bool flattened = false;
    bool written = false;
};

class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    bool valid() const { return pdf_ != nullptr; }

    bool setPageSize(const std::u16string& name);
    int newPage();
    bool setOrigin(int origin);
    double pageWidth() const;
    double pageHeight() const;

    int addStandardFont(int standardFont);
    bool selectFont(int fontId);
    bool setTextSize(double size);
    bool setTextColor(Rgb color);
    bool drawText(double x, double y, const std::u16string& text);
    double textWidth(const std::u16string& text);
    double ansiWidth(const AnsiText& text);
    double textHeight();
    bool drawTextBox(Box box, double angle, const std::u16string& text, int alignment, int border, double radius);
    bool drawMultiLineText(double x, double y, double angle, const std::u16string& delimiter,
                           const std::u16string& text);

    bool setLineWidth(double width);
    bool drawLine(double x1, double y1, double x2, double y2);
    int addImageFromFile(const std::u16string& fileName);
    bool drawImage(Box box);

    int createTable(int rows, int columns);
    Table* table(int id);
    int drawTableRows(int id, double left, double top, double height, int firstRow, int lastRow);
    double tableCellProperty(int id, int row, int column, int tag);

    int newFormField(const std::u16string& title, int type);
    int addFormFieldSub(int parent, const std::u16string& title);
    Field* field(int index);
    bool setFieldBounds(int index, Box box);
    bool flattenField(int index);

    bool saveToFile(const std::u16string& fileName);

private:
    HPDF_Page page() const { return pages_.back(); }
    double pageHeightOf(HPDF_Page page) const;
    // A caller's y (and box top) in the page space measured from the top.
    double fromUser(double y) const;
    double toUser(double y) const;
    HPDF_Font currentFont();
    double lineHeight();
    double ascent();
    void beginText(HPDF_Page page);
    // Draws one line with its baseline at (x, y) from the page's top, turned by angle degrees
    // anticlockwise around (ax, ay).
    void showLine(HPDF_Page page, double x, double y, double ax, double ay, double angle, const AnsiText& line);
    std::vector<AnsiText> wrapLines(const std::vector<AnsiText>& lines, double width);
    void drawField(const Field& field, HPDF_Page page);
    void writeFields();
    void resetError();

    HPDF_Doc pdf_ = nullptr;
    std::vector<HPDF_Page> pages_;
    HPDF_PageSizes pageSize_ = HPDF_PAGE_SIZE_A4;
    int origin_ = 0;
    std::vector<HPDF_Font> fonts_;
    int font_ = 0;
    double textSize_ = 12;
    Rgb textColor_;
    double lineWidth_ = 1;
    std::vector<HPDF_Image> images_;
    int image_ = 0;
    std::vector<Table> tables_;
    std::vector<Field> fields_;
    HPDF_Array acroFields_ = nullptr;
};

}  // namespace qcpdf
