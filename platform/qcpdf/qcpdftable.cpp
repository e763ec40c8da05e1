// Tables: a grid of cells with widths, heights, alignment, backgrounds and merges, drawn row by
// row into the room a caller gives; each drawn cell remembers where it stood, so that fields can
// be placed in it afterwards.

#include "qcpdfdoc.h"

#include <algorithm>

namespace qcpdf {

namespace {

constexpr double kCellPadding = 2;
constexpr double kDefaultColumnWidth = 100;
constexpr int kMaxCells = 100000;

// "<br>" (also "<br/>" and "<br />", any case) breaks a line; every other character is text.
std::vector<AnsiText> cellLines(const std::u16string& content)
{
    const AnsiText text = toAnsi(content);
    std::vector<AnsiText> lines(1);
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '<') {
            size_t j = i + 1;
            AnsiText tag;
            while (j < text.size() && text[j] != '>' && j - i < 8)
                tag.push_back(char(std::tolower(static_cast<unsigned char>(text[j++]))));
            tag.erase(std::remove(tag.begin(), tag.end(), ' '), tag.end());
            if (j < text.size() && text[j] == '>' && (tag == "br" || tag == "br/")) {
                lines.emplace_back();
                i = j + 1;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[i]) >= 0x20)
            lines.back().push_back(text[i]);
        ++i;
    }
    return lines;
}

}  // namespace

int Document::createTable(int rows, int columns)
{
    if (rows < 1 || columns < 1 || rows > kMaxCells || columns > kMaxCells || long(rows) * columns > kMaxCells)
        return 0;
    Table t;
    t.rows = rows;
    t.columns = columns;
    t.rowHeights.assign(size_t(rows), 0);
    t.columnWidths.assign(size_t(columns), kDefaultColumnWidth);
    t.cells.resize(size_t(rows) * size_t(columns));
    tables_.push_back(std::move(t));
    return int(tables_.size());
}

Table* Document::table(int id)
{
    if (id < 1 || id > int(tables_.size()))
        return nullptr;
    return &tables_[size_t(id - 1)];
}

int Document::drawTableRows(int id, double left, double top, double height, int firstRow, int lastRow)
{
    Table* t = table(id);
    if (!t || !currentFont())
        return 0;
    if (lastRow == 0 || lastRow > t->rows)
        lastRow = t->rows;
    if (firstRow < 1 || firstRow > lastRow)
        return 0;
    const double lh = lineHeight();
    const double th = textHeight();
    auto columnX = [&](int column) {
        double x = left;
        for (int c = 1; c < column; ++c)
            x += t->columnWidths[size_t(c - 1)];
        return x;
    };
    auto spanWidth = [&](int column, int span) {
        double w = 0;
        for (int c = column; c < column + span && c <= t->columns; ++c)
            w += t->columnWidths[size_t(c - 1)];
        return w;
    };
    auto linesOf = [&](int row, int column) {
        const Cell& cell = t->at(row, column);
        return wrapLines(cellLines(cell.content), spanWidth(column, cell.columnSpan) - 2 * kCellPadding);
    };

    // Heights of the rows: a row of height 0 is as high as its tallest cell of one row.
    std::vector<double> heights(size_t(t->rows + 1), 0);
    for (int r = firstRow; r <= lastRow; ++r) {
        double h = t->rowHeights[size_t(r - 1)];
        if (h <= 0) {
            size_t most = 1;
            for (int c = 1; c <= t->columns; ++c) {
                const Cell& cell = t->at(r, c);
                if (!cell.covered && cell.rowSpan == 1)
                    most = std::max(most, linesOf(r, c).size());
            }
            h = th + lh * double(most - 1) + 2 * kCellPadding;
        }
        heights[size_t(r)] = h;
    }
    // As many rows as the room holds; the first always goes in.
    int drawnTo = firstRow;
    double used = heights[size_t(firstRow)];
    while (drawnTo < lastRow && used + heights[size_t(drawnTo + 1)] <= height + 1e-6) {
        ++drawnTo;
        used += heights[size_t(drawnTo)];
    }

    const double topDown = fromUser(top);
    const int pageNo = int(pages_.size()) - 1;
    struct Placed {
        int row, column;
        Box box;
    };
    std::vector<Placed> placed;
    double y = topDown;
    for (int r = firstRow; r <= drawnTo; ++r) {
        for (int c = 1; c <= t->columns; ++c) {
            Cell& cell = t->at(r, c);
            if (cell.covered)
                continue;
            double h = 0;
            for (int rr = r; rr < r + cell.rowSpan && rr <= drawnTo; ++rr)
                h += heights[size_t(rr)];
            const Box box{columnX(c), y, spanWidth(c, cell.columnSpan), h};
            cell.drawn = true;
            cell.drawnBox = box;
            cell.drawnPage = pageNo;
            placed.push_back({r, c, box});
        }
        y += heights[size_t(r)];
    }
    // A merge drawn in part keeps its place: covered cells report the merged cell's box.
    for (int r = 1; r <= t->rows; ++r)
        for (int c = 1; c <= t->columns; ++c) {
            Cell& anchor = t->at(r, c);
            if (anchor.covered || (anchor.rowSpan == 1 && anchor.columnSpan == 1) || !anchor.drawn)
                continue;
            for (int rr = r; rr < r + anchor.rowSpan; ++rr)
                for (int cc = c; cc < c + anchor.columnSpan; ++cc)
                    if (rr != r || cc != c) {
                        t->at(rr, cc).drawn = true;
                        t->at(rr, cc).drawnBox = anchor.drawnBox;
                        t->at(rr, cc).drawnPage = pageNo;
                    }
        }

    HPDF_Page p = page();
    const double ph = pageHeight();
    auto rect = [&](const Box& b) {
        HPDF_Page_Rectangle(p, HPDF_REAL(b.left), HPDF_REAL(ph - b.top - b.height), HPDF_REAL(b.width),
                            HPDF_REAL(b.height));
    };
    for (const Placed& pl : placed) {
        const Cell& cell = t->at(pl.row, pl.column);
        if (!cell.hasBackground)
            continue;
        HPDF_Page_SetRGBFill(p, HPDF_REAL(cell.background.r), HPDF_REAL(cell.background.g),
                             HPDF_REAL(cell.background.b));
        rect(pl.box);
        HPDF_Page_Fill(p);
    }
    const double asc = ascent();
    for (const Placed& pl : placed) {
        const Cell& cell = t->at(pl.row, pl.column);
        const std::vector<AnsiText> lines = linesOf(pl.row, pl.column);
        if (lines.size() == 1 && lines[0].empty())
            continue;
        // Cells without an alignment of their own stand at the left, in the middle.
        const Placement place = placementOf(cell.alignment, {0, 1});
        const int horizontal = place.horizontal, vertical = place.vertical;
        const double block = th + lh * double(lines.size() - 1);
        double ty = pl.box.top + kCellPadding;
        if (vertical == 1)
            ty = pl.box.top + (pl.box.height - block) / 2;
        else if (vertical == 2)
            ty = pl.box.top + pl.box.height - kCellPadding - block;
        HPDF_Page_GSave(p);
        rect(pl.box);
        HPDF_Page_Clip(p);
        HPDF_Page_EndPath(p);
        for (const AnsiText& line : lines) {
            const double w = ansiWidth(line);
            double tx = pl.box.left + kCellPadding;
            if (horizontal == 1)
                tx = pl.box.left + (pl.box.width - w) / 2;
            else if (horizontal == 2)
                tx = pl.box.left + pl.box.width - kCellPadding - w;
            showLine(p, tx, ty + asc, tx, ty + asc, 0, line);
            ty += lh;
        }
        HPDF_Page_GRestore(p);
    }
    if (t->borderWidth > 0) {
        HPDF_Page_SetLineWidth(p, HPDF_REAL(t->borderWidth));
        HPDF_Page_SetRGBStroke(p, HPDF_REAL(t->borderColor.r), HPDF_REAL(t->borderColor.g),
                               HPDF_REAL(t->borderColor.b));
        for (const Placed& pl : placed)
            rect(pl.box);
        HPDF_Page_Stroke(p);
        HPDF_Page_SetLineWidth(p, HPDF_REAL(lineWidth_));
    }
    resetError();
    return drawnTo;
}

double Document::tableCellProperty(int id, int row, int column, int tag)
{
    Table* t = table(id);
    if (!t || !t->contains(row, column))
        return 0;
    const Cell& cell = t->at(row, column);
    if (!cell.drawn)
        return 0;
    switch (tag) {
    case 101:
        return cell.drawnBox.left;
    case 102:
        // Where the top is depends on the origin in force now.
        return origin_ == 1 ? cell.drawnBox.top : pageHeightOf(pages_[size_t(cell.drawnPage)]) - cell.drawnBox.top;
    case 103:
        return cell.drawnBox.width;
    case 104:
        return cell.drawnBox.height;
    default:
        return 0;
    }
}

}  // namespace qcpdf
