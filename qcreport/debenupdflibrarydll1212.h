#pragma once

#include <QLibrary>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Raised by a forwarding call that cannot reach the PDF library: the library did not load, or it
// lacks the entry. The save that made the call ends with it.
class PdfLibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one door to the PDF library. One object per save: it loads the library, binds its entries
// by name, creates one library instance and passes that instance's id first in every call;
// destroying it releases the instance and unloads the library. Texts go over as UTF-16.
// A relative file name is looked up in the program's own folder, never on the search path.
class DebenuPDFLibraryDLL1212 {
public:
    explicit DebenuPDFLibraryDLL1212(const QString& libraryFileName);
    ~DebenuPDFLibraryDLL1212();
    DebenuPDFLibraryDLL1212(const DebenuPDFLibraryDLL1212&) = delete;
    DebenuPDFLibraryDLL1212& operator=(const DebenuPDFLibraryDLL1212&) = delete;

    // Set when the library did not load or lacks a name of the binding list.
    bool failed() const { return failed_; }
    int instanceId() const { return instanceId_; }
    bool isLoaded() const { return library_.isLoaded(); }
    // What went wrong while loading and binding, empty when nothing did.
    QString errorString() const { return error_; }
    QString libraryPath() const { return path_; }

    // Forwarding operations, one per entry the report calls.
    int SetPageSize(const QString& paperName);
    int NewPage();
    int SetOrigin(int origin);
    double PageWidth();
    double PageHeight();
    int AddStandardFont(int standardFontId);
    int SelectFont(int fontId);
    int SetTextSize(double size);
    int SetTextColor(double red, double green, double blue);
    int DrawText(double x, double y, const QString& text);
    double GetTextWidth(const QString& text);
    double GetTextHeight();
    int DrawRotatedTextBoxEx(double left, double top, double width, double height, double angle, const QString& text,
                             int alignment, int border, double radius, int options);
    int DrawRotatedMultiLineText(double x, double y, double angle, const QString& delimiter, const QString& text);
    int SetLineWidth(double width);
    int DrawLine(double startX, double startY, double endX, double endY);
    int AddImageFromFile(const QString& fileName, int options);
    int DrawImage(double left, double top, double width, double height);
    int CreateTable(int rows, int columns);
    int SetTableBorderColor(int tableId, int borderIndex, double red, double green, double blue);
    int SetTableBorderWidth(int tableId, int borderIndex, double width);
    int SetTableRowHeight(int tableId, int firstRow, int lastRow, double height);
    int SetTableColumnWidth(int tableId, int firstColumn, int lastColumn, double width);
    int SetTableCellAlignment(int tableId, int firstRow, int firstColumn, int lastRow, int lastColumn, int alignment);
    int SetTableCellBackgroundColor(int tableId, int firstRow, int firstColumn, int lastRow, int lastColumn, double red,
                                    double green, double blue);
    int SetTableCellContent(int tableId, int row, int column, const QString& htmlText);
    int MergeTableCells(int tableId, int firstRow, int firstColumn, int lastRow, int lastColumn);
    int DrawTableRows(int tableId, double left, double top, double height, int firstRow, int lastRow);
    double GetTableCellDblProperty(int tableId, int row, int column, int tag);
    int NewFormField(const QString& title, int fieldType);
    int AddFormFieldSub(int parentIndex, const QString& title);
    int SetFormFieldBounds(int index, double left, double top, double width, double height);
    int SetFormFieldCheckStyle(int index, int checkStyle, int position);
    int SetFormFieldBorderColor(int index, double red, double green, double blue);
    int SetFormFieldVisible(int index, int visible);
    int SetFormFieldValue(int index, const QString& value);
    int SetFormFieldReadOnly(int index, int readOnly);
    int FlattenFormField(int index);
    int SaveToFile(const QString& fileName);

    // The names bound, in slot order.
    static const std::vector<const char*>& bindingList();

private:
    enum Slot : int;
    QFunctionPointer slot(Slot s) const;
    void release();
    template <typename R, typename... A>
    R call(Slot s, A... args) const;

    QLibrary library_;
    std::int32_t instanceId_ = 0;
    bool failed_ = false;
    std::vector<QFunctionPointer> entries_;
    QString path_;
    QString error_;
};
