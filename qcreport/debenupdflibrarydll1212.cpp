#include "debenupdflibrarydll1212.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <map>
#include <mutex>

namespace {

using Text = const char16_t*;

// QLibrary objects of one file share one handle, and the first unload() frees it under the
// others' feet; so the library is freed only when its last binding object goes.
std::mutex holdersLock;
std::map<QString, int> holders;

Text wide(const QString& text)
{
    return reinterpret_cast<Text>(text.utf16());
}

}  // namespace

// One slot per bound name, in the binding list's order.
enum DebenuPDFLibraryDLL1212::Slot : int {
    sCreateLibrary,
    sReleaseLibrary,
    sSetPageSize,
    sNewPage,
    sSetOrigin,
    sPageWidth,
    sPageHeight,
    sAddStandardFont,
    sSelectFont,
    sSetTextSize,
    sSetTextColor,
    sDrawText,
    sGetTextWidth,
    sGetTextHeight,
    sDrawRotatedTextBoxEx,
    sDrawRotatedMultiLineText,
    sSetLineWidth,
    sDrawLine,
    sAddImageFromFile,
    sDrawImage,
    sCreateTable,
    sSetTableBorderColor,
    sSetTableBorderWidth,
    sSetTableRowHeight,
    sSetTableColumnWidth,
    sSetTableCellAlignment,
    sSetTableCellBackgroundColor,
    sSetTableCellContent,
    sMergeTableCells,
    sDrawTableRows,
    sGetTableCellDblProperty,
    sNewFormField,
    sAddFormFieldSub,
    sSetFormFieldBounds,
    sSetFormFieldCheckStyle,
    sSetFormFieldBorderColor,
    sSetFormFieldVisible,
    sSetFormFieldValue,
    sSetFormFieldReadOnly,
    sFlattenFormField,
    sSaveToFile,
    sSlotCount
};

const std::vector<const char*>& DebenuPDFLibraryDLL1212::bindingList()
{
    static const std::vector<const char*> names = {
        "DPLCreateLibrary",
        "DPLReleaseLibrary",
        "DPLSetPageSize",
        "DPLNewPage",
        "DPLSetOrigin",
        "DPLPageWidth",
        "DPLPageHeight",
        "DPLAddStandardFont",
        "DPLSelectFont",
        "DPLSetTextSize",
        "DPLSetTextColor",
        "DPLDrawText",
        "DPLGetTextWidth",
        "DPLGetTextHeight",
        "DPLDrawRotatedTextBoxEx",
        "DPLDrawRotatedMultiLineText",
        "DPLSetLineWidth",
        "DPLDrawLine",
        "DPLAddImageFromFile",
        "DPLDrawImage",
        "DPLCreateTable",
        "DPLSetTableBorderColor",
        "DPLSetTableBorderWidth",
        "DPLSetTableRowHeight",
        "DPLSetTableColumnWidth",
        "DPLSetTableCellAlignment",
        "DPLSetTableCellBackgroundColor",
        "DPLSetTableCellContent",
        "DPLMergeTableCells",
        "DPLDrawTableRows",
        "DPLGetTableCellDblProperty",
        "DPLNewFormField",
        "DPLAddFormFieldSub",
        "DPLSetFormFieldBounds",
        "DPLSetFormFieldCheckStyle",
        "DPLSetFormFieldBorderColor",
        "DPLSetFormFieldVisible",
        "DPLSetFormFieldValue",
        "DPLSetFormFieldReadOnly",
        "DPLFlattenFormField",
        "DPLSaveToFile",
    };
    return names;
}

DebenuPDFLibraryDLL1212::DebenuPDFLibraryDLL1212(const QString& libraryFileName)
{
    static_assert(sSlotCount == 41, "one slot per bound name");
    entries_.assign(size_t(sSlotCount), nullptr);
    // By absolute path only: a library of the same name elsewhere on the search path is never
    // picked up in place of the program's own.
    path_ = QFileInfo(libraryFileName).isAbsolute()
                ? libraryFileName
                : QDir(QCoreApplication::applicationDirPath()).filePath(libraryFileName);
    library_.setFileName(path_);
    std::unique_lock<std::mutex> hold(holdersLock);
    if (!library_.load()) {
        failed_ = true;
        error_ = QStringLiteral("Unable to load %1: %2").arg(path_, library_.errorString());
        return;
    }
    ++holders[path_];
    hold.unlock();
    const auto& names = bindingList();
    QStringList missing;
    for (size_t i = 0; i < names.size(); ++i) {
        entries_[i] = library_.resolve(names[i]);
        if (!entries_[i]) {
            failed_ = true;
            missing << QString::fromLatin1(names[i]);
        }
    }
    if (!missing.isEmpty())
        error_ = QStringLiteral("%1 lacks %2").arg(path_, missing.join(QStringLiteral(", ")));
    auto create = reinterpret_cast<std::int32_t (*)()>(entries_[sCreateLibrary]);
    if (!create) {
        // Without an instance nothing can be drawn: the construction itself fails.
        release();
        throw PdfLibraryError(error_.toStdString());
    }
    instanceId_ = create();
    if (instanceId_ <= 0) {
        failed_ = true;
        error_ =
            QStringLiteral("%1 could not create a document (DPLCreateLibrary returned %2)").arg(path_).arg(instanceId_);
    }
}

DebenuPDFLibraryDLL1212::~DebenuPDFLibraryDLL1212()
{
    if (instanceId_ > 0 && entries_[sReleaseLibrary])
        reinterpret_cast<std::int32_t (*)(std::int32_t)>(entries_[sReleaseLibrary])(instanceId_);
    instanceId_ = 0;
    release();
}

void DebenuPDFLibraryDLL1212::release()
{
    std::lock_guard<std::mutex> hold(holdersLock);
    if (!library_.isLoaded())
        return;
    if (--holders[path_] == 0) {
        holders.erase(path_);
        library_.unload();
    }
}

QFunctionPointer DebenuPDFLibraryDLL1212::slot(Slot s) const
{
    QFunctionPointer fn = entries_[size_t(s)];
    // No document to draw on is as fatal as a missing entry: the id would reach the library as
    // a document that does not exist, and the save would go on drawing into nothing.
    if (!library_.isLoaded() || instanceId_ <= 0)
        throw PdfLibraryError(error_.toStdString());
    if (fn)
        return fn;
    throw PdfLibraryError(
        QStringLiteral("%1 has no entry %2").arg(path_, QString::fromLatin1(bindingList()[size_t(s)])).toStdString());
}

template <typename R, typename... A>
R DebenuPDFLibraryDLL1212::call(Slot s, A... args) const
{
    return reinterpret_cast<R (*)(std::int32_t, A...)>(slot(s))(instanceId_, args...);
}

int DebenuPDFLibraryDLL1212::SetPageSize(const QString& paperName)
{
    return call<int>(sSetPageSize, wide(paperName));
}

int DebenuPDFLibraryDLL1212::NewPage()
{
    return call<int>(sNewPage);
}

int DebenuPDFLibraryDLL1212::SetOrigin(int origin)
{
    return call<int>(sSetOrigin, origin);
}

double DebenuPDFLibraryDLL1212::PageWidth()
{
    return call<double>(sPageWidth);
}

double DebenuPDFLibraryDLL1212::PageHeight()
{
    return call<double>(sPageHeight);
}

int DebenuPDFLibraryDLL1212::AddStandardFont(int standardFontId)
{
    return call<int>(sAddStandardFont, standardFontId);
}

int DebenuPDFLibraryDLL1212::SelectFont(int fontId)
{
    return call<int>(sSelectFont, fontId);
}

int DebenuPDFLibraryDLL1212::SetTextSize(double size)
{
    return call<int>(sSetTextSize, size);
}

int DebenuPDFLibraryDLL1212::SetTextColor(double red, double green, double blue)
{
    return call<int>(sSetTextColor, red, green, blue);
}

int DebenuPDFLibraryDLL1212::DrawText(double x, double y, const QString& text)
{
    return call<int>(sDrawText, x, y, wide(text));
}

double DebenuPDFLibraryDLL1212::GetTextWidth(const QString& text)
{
    return call<double>(sGetTextWidth, wide(text));
}

double DebenuPDFLibraryDLL1212::GetTextHeight()
{
    return call<double>(sGetTextHeight);
}

int DebenuPDFLibraryDLL1212::DrawRotatedTextBoxEx(double left, double top, double width, double height, double angle,
                                                  const QString& text, int alignment, int border, double radius,
                                                  int options)
{
    return call<int>(sDrawRotatedTextBoxEx, left, top, width, height, angle, wide(text), alignment, border, radius,
                     options);
}

int DebenuPDFLibraryDLL1212::DrawRotatedMultiLineText(double x, double y, double angle, const QString& delimiter,
                                                      const QString& text)
{
    return call<int>(sDrawRotatedMultiLineText, x, y, angle, wide(delimiter), wide(text));
}

int DebenuPDFLibraryDLL1212::SetLineWidth(double width)
{
    return call<int>(sSetLineWidth, width);
}

int DebenuPDFLibraryDLL1212::DrawLine(double startX, double startY, double endX, double endY)
{
    return call<int>(sDrawLine, startX, startY, endX, endY);
}

int DebenuPDFLibraryDLL1212::AddImageFromFile(const QString& fileName, int options)
{
    return call<int>(sAddImageFromFile, wide(fileName), options);
}

int DebenuPDFLibraryDLL1212::DrawImage(double left, double top, double width, double height)
{
    return call<int>(sDrawImage, left, top, width, height);
}

int DebenuPDFLibraryDLL1212::CreateTable(int rows, int columns)
{
    return call<int>(sCreateTable, rows, columns);
}

int DebenuPDFLibraryDLL1212::SetTableBorderColor(int tableId, int borderIndex, double red, double green, double blue)
{
    return call<int>(sSetTableBorderColor, tableId, borderIndex, red, green, blue);
}

int DebenuPDFLibraryDLL1212::SetTableBorderWidth(int tableId, int borderIndex, double width)
{
    return call<int>(sSetTableBorderWidth, tableId, borderIndex, width);
}

int DebenuPDFLibraryDLL1212::SetTableRowHeight(int tableId, int firstRow, int lastRow, double height)
{
    return call<int>(sSetTableRowHeight, tableId, firstRow, lastRow, height);
}

int DebenuPDFLibraryDLL1212::SetTableColumnWidth(int tableId, int firstColumn, int lastColumn, double width)
{
    return call<int>(sSetTableColumnWidth, tableId, firstColumn, lastColumn, width);
}

int DebenuPDFLibraryDLL1212::SetTableCellAlignment(int tableId, int firstRow, int firstColumn, int lastRow,
                                                   int lastColumn, int alignment)
{
    return call<int>(sSetTableCellAlignment, tableId, firstRow, firstColumn, lastRow, lastColumn, alignment);
}

int DebenuPDFLibraryDLL1212::SetTableCellBackgroundColor(int tableId, int firstRow, int firstColumn, int lastRow,
                                                         int lastColumn, double red, double green, double blue)
{
    return call<int>(sSetTableCellBackgroundColor, tableId, firstRow, firstColumn, lastRow, lastColumn, red, green,
                     blue);
}

int DebenuPDFLibraryDLL1212::SetTableCellContent(int tableId, int row, int column, const QString& htmlText)
{
    return call<int>(sSetTableCellContent, tableId, row, column, wide(htmlText));
}

int DebenuPDFLibraryDLL1212::MergeTableCells(int tableId, int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    return call<int>(sMergeTableCells, tableId, firstRow, firstColumn, lastRow, lastColumn);
}

int DebenuPDFLibraryDLL1212::DrawTableRows(int tableId, double left, double top, double height, int firstRow,
                                           int lastRow)
{
    return call<int>(sDrawTableRows, tableId, left, top, height, firstRow, lastRow);
}

double DebenuPDFLibraryDLL1212::GetTableCellDblProperty(int tableId, int row, int column, int tag)
{
    return call<double>(sGetTableCellDblProperty, tableId, row, column, tag);
}

int DebenuPDFLibraryDLL1212::NewFormField(const QString& title, int fieldType)
{
    return call<int>(sNewFormField, wide(title), fieldType);
}

int DebenuPDFLibraryDLL1212::AddFormFieldSub(int parentIndex, const QString& title)
{
    return call<int>(sAddFormFieldSub, parentIndex, wide(title));
}

int DebenuPDFLibraryDLL1212::SetFormFieldBounds(int index, double left, double top, double width, double height)
{
    return call<int>(sSetFormFieldBounds, index, left, top, width, height);
}

int DebenuPDFLibraryDLL1212::SetFormFieldCheckStyle(int index, int checkStyle, int position)
{
    return call<int>(sSetFormFieldCheckStyle, index, checkStyle, position);
}

int DebenuPDFLibraryDLL1212::SetFormFieldBorderColor(int index, double red, double green, double blue)
{
    return call<int>(sSetFormFieldBorderColor, index, red, green, blue);
}

int DebenuPDFLibraryDLL1212::SetFormFieldVisible(int index, int visible)
{
    return call<int>(sSetFormFieldVisible, index, visible);
}

int DebenuPDFLibraryDLL1212::SetFormFieldValue(int index, const QString& value)
{
    return call<int>(sSetFormFieldValue, index, wide(value));
}

int DebenuPDFLibraryDLL1212::SetFormFieldReadOnly(int index, int readOnly)
{
    return call<int>(sSetFormFieldReadOnly, index, readOnly);
}

int DebenuPDFLibraryDLL1212::FlattenFormField(int index)
{
    return call<int>(sFlattenFormField, index);
}

int DebenuPDFLibraryDLL1212::SaveToFile(const QString& fileName)
{
    return call<int>(sSaveToFile, wide(fileName));
}
