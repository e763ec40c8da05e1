// The exported entries: each finds its instance by id and forwards to its document. Nothing is
// thrown out of the library; a failure is a 0 result.

#include "qcpdf_api.h"
#include "qcpdfdoc.h"

#include <map>
#include <memory>
#include <mutex>
#include <new>

namespace {

std::mutex& instancesLock()
{
    static std::mutex lock;
    return lock;
}

std::map<int, std::unique_ptr<qcpdf::Document>>& instances()
{
    static std::map<int, std::unique_ptr<qcpdf::Document>> map;
    return map;
}

int nextId = 1;

qcpdf::Document* find(int instance)
{
    std::lock_guard<std::mutex> guard(instancesLock());
    const auto it = instances().find(instance);
    return it == instances().end() ? nullptr : it->second.get();
}

std::u16string text(qcpdf_text t)
{
    return t ? std::u16string(t) : std::u16string();
}

// Runs op on the instance's document; a missing instance or an exception gives fallback.
template <typename R, typename Op>
R with(int instance, R fallback, Op op)
{
    try {
        qcpdf::Document* doc = find(instance);
        return doc ? op(*doc) : fallback;
    } catch (...) {
        return fallback;
    }
}

template <typename Op>
int withTable(int instance, int table, Op op)
{
    return with(instance, 0, [&](qcpdf::Document& d) {
        qcpdf::Table* t = d.table(table);
        return t ? op(*t) : 0;
    });
}

// Applies op to every cell of a block of a table; 0 when the block lies outside.
template <typename Op>
int forBlock(int instance, int table, int r1, int c1, int r2, int c2, Op op)
{
    return withTable(instance, table, [&](qcpdf::Table& t) {
        if (!t.contains(r1, c1) || !t.contains(r2, c2) || r1 > r2 || c1 > c2)
            return 0;
        for (int r = r1; r <= r2; ++r)
            for (int c = c1; c <= c2; ++c)
                op(t.at(r, c));
        return 1;
    });
}

template <typename Op>
int withField(int instance, int index, Op op)
{
    return with(instance, 0, [&](qcpdf::Document& d) {
        qcpdf::Field* f = d.field(index);
        return f && !f->flattened && !f->written ? op(*f) : 0;
    });
}

int flag(bool ok)
{
    return ok ? 1 : 0;
}

}  // namespace

QCPDF_API int DPLCreateLibrary()
{
    try {
        auto doc = std::make_unique<qcpdf::Document>();
        if (!doc->valid())
            return 0;
        std::lock_guard<std::mutex> guard(instancesLock());
        const int id = nextId++;
        instances()[id] = std::move(doc);
        return id;
    } catch (...) {
        return 0;
    }
}

QCPDF_API int DPLReleaseLibrary(int instance)
{
    std::unique_ptr<qcpdf::Document> doc;
    {
        std::lock_guard<std::mutex> guard(instancesLock());
        const auto it = instances().find(instance);
        if (it == instances().end())
            return 0;
        doc = std::move(it->second);
        instances().erase(it);
    }
    return 1;
}

QCPDF_API int DPLSetPageSize(int instance, qcpdf_text paperName)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.setPageSize(text(paperName))); });
}

QCPDF_API int DPLNewPage(int instance)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return d.newPage(); });
}

QCPDF_API int DPLSetOrigin(int instance, int origin)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.setOrigin(origin)); });
}

QCPDF_API double DPLPageWidth(int instance)
{
    return with(instance, 0.0, [&](qcpdf::Document& d) { return d.pageWidth(); });
}

QCPDF_API double DPLPageHeight(int instance)
{
    return with(instance, 0.0, [&](qcpdf::Document& d) { return d.pageHeight(); });
}

QCPDF_API int DPLAddStandardFont(int instance, int standardFont)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return d.addStandardFont(standardFont); });
}

QCPDF_API int DPLSelectFont(int instance, int fontId)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.selectFont(fontId)); });
}

QCPDF_API int DPLSetTextSize(int instance, double size)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.setTextSize(size)); });
}

QCPDF_API int DPLSetTextColor(int instance, double red, double green, double blue)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.setTextColor({red, green, blue})); });
}

QCPDF_API int DPLDrawText(int instance, double x, double y, qcpdf_text t)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.drawText(x, y, text(t))); });
}

QCPDF_API double DPLGetTextWidth(int instance, qcpdf_text t)
{
    return with(instance, 0.0, [&](qcpdf::Document& d) { return d.textWidth(text(t)); });
}

QCPDF_API double DPLGetTextHeight(int instance)
{
    return with(instance, 0.0, [&](qcpdf::Document& d) { return d.textHeight(); });
}

QCPDF_API int DPLDrawRotatedTextBoxEx(int instance, double left, double top, double width, double height, double angle,
                                      qcpdf_text t, int alignment, int border, double radius, int options)
{
    return with(instance, 0, [&](qcpdf::Document& d) {
        return flag(d.drawTextBox({left, top, width, height}, angle, text(t), alignment, border, radius));
    });
}

QCPDF_API int DPLDrawRotatedMultiLineText(int instance, double x, double y, double angle, qcpdf_text delimiter,
                                          qcpdf_text t)
{
    return with(instance, 0,
                [&](qcpdf::Document& d) { return flag(d.drawMultiLineText(x, y, angle, text(delimiter), text(t))); });
}

QCPDF_API int DPLSetLineWidth(int instance, double width)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.setLineWidth(width)); });
}

QCPDF_API int DPLDrawLine(int instance, double startX, double startY, double endX, double endY)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.drawLine(startX, startY, endX, endY)); });
}

QCPDF_API int DPLAddImageFromFile(int instance, qcpdf_text fileName, int options)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return d.addImageFromFile(text(fileName)); });
}

QCPDF_API int DPLDrawImage(int instance, double left, double top, double width, double height)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.drawImage({left, top, width, height})); });
}

QCPDF_API int DPLCreateTable(int instance, int rows, int columns)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return d.createTable(rows, columns); });
}

QCPDF_API int DPLSetTableBorderColor(int instance, int table, int borderIndex, double red, double green, double blue)
{
    // The table draws one kind of border: every index sets it.
    return withTable(instance, table, [&](qcpdf::Table& t) {
        if (borderIndex < 0 || borderIndex > 4)
            return 0;
        t.borderColor = {red, green, blue};
        return 1;
    });
}

QCPDF_API int DPLSetTableBorderWidth(int instance, int table, int borderIndex, double width)
{
    return withTable(instance, table, [&](qcpdf::Table& t) {
        if (borderIndex < 0 || borderIndex > 4 || width < 0)
            return 0;
        t.borderWidth = width;
        return 1;
    });
}

QCPDF_API int DPLSetTableRowHeight(int instance, int table, int firstRow, int lastRow, double height)
{
    return withTable(instance, table, [&](qcpdf::Table& t) {
        if (firstRow < 1 || lastRow > t.rows || firstRow > lastRow || height < 0)
            return 0;
        for (int r = firstRow; r <= lastRow; ++r)
            t.rowHeights[size_t(r - 1)] = height;
        return 1;
    });
}

QCPDF_API int DPLSetTableColumnWidth(int instance, int table, int firstColumn, int lastColumn, double width)
{
    return withTable(instance, table, [&](qcpdf::Table& t) {
        if (firstColumn < 1 || lastColumn > t.columns || firstColumn > lastColumn || width < 0)
            return 0;
        for (int c = firstColumn; c <= lastColumn; ++c)
            t.columnWidths[size_t(c - 1)] = width;
        return 1;
    });
}

QCPDF_API int DPLSetTableCellAlignment(int instance, int table, int firstRow, int firstColumn, int lastRow,
                                       int lastColumn, int alignment)
{
    if (alignment < 0 || alignment > 8)
        return 0;
    return forBlock(instance, table, firstRow, firstColumn, lastRow, lastColumn,
                    [&](qcpdf::Cell& c) { c.alignment = alignment; });
}

QCPDF_API int DPLSetTableCellBackgroundColor(int instance, int table, int firstRow, int firstColumn, int lastRow,
                                             int lastColumn, double red, double green, double blue)
{
    return forBlock(instance, table, firstRow, firstColumn, lastRow, lastColumn, [&](qcpdf::Cell& c) {
        c.hasBackground = true;
        c.background = {red, green, blue};
    });
}

QCPDF_API int DPLSetTableCellContent(int instance, int table, int row, int column, qcpdf_text html)
{
    return forBlock(instance, table, row, column, row, column, [&](qcpdf::Cell& c) { c.content = text(html); });
}

QCPDF_API int DPLMergeTableCells(int instance, int table, int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    return withTable(instance, table, [&](qcpdf::Table& t) {
        if (!t.contains(firstRow, firstColumn) || !t.contains(lastRow, lastColumn) || firstRow > lastRow ||
            firstColumn > lastColumn)
            return 0;
        // A block overlapping an earlier merge is refused rather than drawn twice.
        for (int r = firstRow; r <= lastRow; ++r)
            for (int c = firstColumn; c <= lastColumn; ++c) {
                const qcpdf::Cell& cell = t.at(r, c);
                if (cell.covered || cell.rowSpan > 1 || cell.columnSpan > 1)
                    return 0;
            }
        for (int r = firstRow; r <= lastRow; ++r)
            for (int c = firstColumn; c <= lastColumn; ++c)
                t.at(r, c).covered = r != firstRow || c != firstColumn;
        t.at(firstRow, firstColumn).rowSpan = lastRow - firstRow + 1;
        t.at(firstRow, firstColumn).columnSpan = lastColumn - firstColumn + 1;
        return 1;
    });
}

QCPDF_API int DPLDrawTableRows(int instance, int table, double left, double top, double height, int firstRow,
                               int lastRow)
{
    return with(instance, 0,
                [&](qcpdf::Document& d) { return d.drawTableRows(table, left, top, height, firstRow, lastRow); });
}

QCPDF_API double DPLGetTableCellDblProperty(int instance, int table, int row, int column, int tag)
{
    return with(instance, 0.0, [&](qcpdf::Document& d) { return d.tableCellProperty(table, row, column, tag); });
}

QCPDF_API int DPLNewFormField(int instance, qcpdf_text title, int fieldType)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return d.newFormField(text(title), fieldType); });
}

QCPDF_API int DPLAddFormFieldSub(int instance, int parent, qcpdf_text title)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return d.addFormFieldSub(parent, text(title)); });
}

QCPDF_API int DPLSetFormFieldBounds(int instance, int index, double left, double top, double width, double height)
{
    return with(instance, 0, [&](qcpdf::Document& d) {
        const qcpdf::Field* f = d.field(index);
        if (!f || f->flattened || f->written)
            return 0;
        return flag(d.setFieldBounds(index, {left, top, width, height}));
    });
}

QCPDF_API int DPLSetFormFieldCheckStyle(int instance, int index, int checkStyle, int position)
{
    return withField(instance, index, [&](qcpdf::Field& f) {
        f.checkStyle = checkStyle;
        f.position = position;
        return 1;
    });
}

QCPDF_API int DPLSetFormFieldBorderColor(int instance, int index, double red, double green, double blue)
{
    return withField(instance, index, [&](qcpdf::Field& f) {
        f.hasBorder = true;
        f.border = {red, green, blue};
        return 1;
    });
}

QCPDF_API int DPLSetFormFieldVisible(int instance, int index, int visible)
{
    return withField(instance, index, [&](qcpdf::Field& f) {
        f.visible = visible != 0;
        return 1;
    });
}

QCPDF_API int DPLSetFormFieldValue(int instance, int index, qcpdf_text value)
{
    return withField(instance, index, [&](qcpdf::Field& f) {
        f.value = text(value);
        return 1;
    });
}

QCPDF_API int DPLSetFormFieldReadOnly(int instance, int index, int readOnly)
{
    return withField(instance, index, [&](qcpdf::Field& f) {
        f.readOnly = readOnly != 0;
        return 1;
    });
}

QCPDF_API int DPLFlattenFormField(int instance, int index)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.flattenField(index)); });
}

QCPDF_API int DPLSaveToFile(int instance, qcpdf_text fileName)
{
    return with(instance, 0, [&](qcpdf::Document& d) { return flag(d.saveToFile(text(fileName))); });
}
