#pragma once

// The entries of libqcpdf.so, the PDF producer the QC certificate is drawn through. Every entry
// but DPLCreateLibrary takes the instance id first. Integers are 32-bit (flags as 0 and 1), other
// numbers doubles, texts null-terminated UTF-16. Coordinates and sizes are in points; which
// corner they start from is set per instance with DPLSetOrigin (0 bottom left, 1 top left).
// An entry that fails returns 0 (or 0.0); no C++ exception leaves the library.

#include <cstdint>

#define QCPDF_API extern "C" __attribute__((visibility("default")))

using qcpdf_text = const char16_t*;

QCPDF_API int DPLCreateLibrary();
QCPDF_API int DPLReleaseLibrary(int instance);

// Pages: the new instance holds one A4 page. DPLNewPage returns the new page's number.
QCPDF_API int DPLSetPageSize(int instance, qcpdf_text paperName);
QCPDF_API int DPLNewPage(int instance);
QCPDF_API int DPLSetOrigin(int instance, int origin);
QCPDF_API double DPLPageWidth(int instance);
QCPDF_API double DPLPageHeight(int instance);

// Text. Standard fonts: 0 Courier, 1 Courier-Bold, 2 Courier-BoldOblique, 3 Courier-Oblique,
// 4 Helvetica, 5 Helvetica-Bold, 6 Helvetica-BoldOblique, 7 Helvetica-Oblique, 8 Times-Roman,
// 9 Times-Bold, 10 Times-Italic, 11 Times-BoldItalic, 12 Symbol, 13 ZapfDingbats.
QCPDF_API int DPLAddStandardFont(int instance, int standardFont);
QCPDF_API int DPLSelectFont(int instance, int fontId);
QCPDF_API int DPLSetTextSize(int instance, double size);
QCPDF_API int DPLSetTextColor(int instance, double red, double green, double blue);
QCPDF_API int DPLDrawText(int instance, double x, double y, qcpdf_text text);
QCPDF_API double DPLGetTextWidth(int instance, qcpdf_text text);
QCPDF_API double DPLGetTextHeight(int instance);
QCPDF_API int DPLDrawRotatedTextBoxEx(int instance, double left, double top, double width, double height, double angle,
                                      qcpdf_text text, int alignment, int border, double radius, int options);
QCPDF_API int DPLDrawRotatedMultiLineText(int instance, double x, double y, double angle, qcpdf_text delimiter,
                                          qcpdf_text text);

// Lines and images.
QCPDF_API int DPLSetLineWidth(int instance, double width);
QCPDF_API int DPLDrawLine(int instance, double startX, double startY, double endX, double endY);
QCPDF_API int DPLAddImageFromFile(int instance, qcpdf_text fileName, int options);
QCPDF_API int DPLDrawImage(int instance, double left, double top, double width, double height);

// Tables: rows and columns count from 1.
QCPDF_API int DPLCreateTable(int instance, int rows, int columns);
QCPDF_API int DPLSetTableBorderColor(int instance, int table, int borderIndex, double red, double green, double blue);
QCPDF_API int DPLSetTableBorderWidth(int instance, int table, int borderIndex, double width);
QCPDF_API int DPLSetTableRowHeight(int instance, int table, int firstRow, int lastRow, double height);
QCPDF_API int DPLSetTableColumnWidth(int instance, int table, int firstColumn, int lastColumn, double width);
QCPDF_API int DPLSetTableCellAlignment(int instance, int table, int firstRow, int firstColumn, int lastRow,
                                       int lastColumn, int alignment);
QCPDF_API int DPLSetTableCellBackgroundColor(int instance, int table, int firstRow, int firstColumn, int lastRow,
                                             int lastColumn, double red, double green, double blue);
QCPDF_API int DPLSetTableCellContent(int instance, int table, int row, int column, qcpdf_text html);
QCPDF_API int DPLMergeTableCells(int instance, int table, int firstRow, int firstColumn, int lastRow, int lastColumn);
// Returns the number of the last row drawn, 0 when none was.
QCPDF_API int DPLDrawTableRows(int instance, int table, double left, double top, double height, int firstRow,
                               int lastRow);
// Tags 101 left, 102 top, 103 width, 104 height of the cell as last drawn.
QCPDF_API double DPLGetTableCellDblProperty(int instance, int table, int row, int column, int tag);

// Form fields: type 3 check box, 4 radio button. Indices count from 1.
QCPDF_API int DPLNewFormField(int instance, qcpdf_text title, int fieldType);
QCPDF_API int DPLAddFormFieldSub(int instance, int parent, qcpdf_text title);
QCPDF_API int DPLSetFormFieldBounds(int instance, int index, double left, double top, double width, double height);
QCPDF_API int DPLSetFormFieldCheckStyle(int instance, int index, int checkStyle, int position);
QCPDF_API int DPLSetFormFieldBorderColor(int instance, int index, double red, double green, double blue);
QCPDF_API int DPLSetFormFieldVisible(int instance, int index, int visible);
QCPDF_API int DPLSetFormFieldValue(int instance, int index, qcpdf_text value);
QCPDF_API int DPLSetFormFieldReadOnly(int instance, int index, int readOnly);
QCPDF_API int DPLFlattenFormField(int instance, int index);

// Writes the document: 1 when the whole file was written, 0 when not (the target is then left
// as it was).
QCPDF_API int DPLSaveToFile(int instance, qcpdf_text fileName);
