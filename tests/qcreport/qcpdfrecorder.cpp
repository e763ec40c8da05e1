// A stand-in PDF library that has every entry the certificate calls and records each call, with
// its arguments, in the file named by QCPDF_STUB_LOG. It answers with fixed values: an A4 page,
// font ids 100 + the standard font, table 5, the cell (100, 200, 30, 20), field 11 and sub-field
// 12, text 60.7 wide and 13.9 high.

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string arg(int v)
{
    return std::to_string(v);
}
std::string arg(double v)
{
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}
std::string arg(const char16_t* t)
{
    std::string out = "\"";
    char hex[8];
    for (; t && *t; ++t) {
        if (*t < 0x20 || *t >= 0x80) {
            std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(*t));
            out += hex;
        } else {
            out += char(*t);
        }
    }
    return out + "\"";
}

template <typename... A>
void log(const char* name, A... args)
{
    std::string line = name;
    ((line += " " + arg(args)), ...);
    const char* path = std::getenv("QCPDF_STUB_LOG");
    if (!path)
        return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

}  // namespace

#define API extern "C" __attribute__((visibility("default")))
using T = const char16_t*;

API int DPLCreateLibrary()
{
    return 1;
}
API int DPLReleaseLibrary(int)
{
    return 1;
}
API int DPLSetPageSize(int, T n)
{
    log("SetPageSize", n);
    return 1;
}
API int DPLNewPage(int)
{
    log("NewPage");
    return 2;
}
API int DPLSetOrigin(int, int o)
{
    log("SetOrigin", o);
    return 1;
}
API double DPLPageWidth(int)
{
    log("PageWidth");
    return 595.3;
}
API double DPLPageHeight(int)
{
    log("PageHeight");
    return 841.9;
}
API int DPLAddStandardFont(int, int f)
{
    log("AddStandardFont", f);
    return 100 + f;
}
API int DPLSelectFont(int, int f)
{
    log("SelectFont", f);
    return 1;
}
API int DPLSetTextSize(int, double s)
{
    log("SetTextSize", s);
    return 1;
}
API int DPLSetTextColor(int, double r, double g, double b)
{
    log("SetTextColor", r, g, b);
    return 1;
}
API int DPLDrawText(int, double x, double y, T t)
{
    log("DrawText", x, y, t);
    return 1;
}
API double DPLGetTextWidth(int, T t)
{
    log("GetTextWidth", t);
    return 60.7;
}
API double DPLGetTextHeight(int)
{
    log("GetTextHeight");
    return 13.9;
}
API int DPLDrawRotatedTextBoxEx(int, double l, double t, double w, double h, double a, T s, int al, int b, double r,
                                int o)
{
    log("DrawRotatedTextBoxEx", l, t, w, h, a, s, al, b, r, o);
    return 1;
}
API int DPLDrawRotatedMultiLineText(int, double x, double y, double a, T d, T t)
{
    log("DrawRotatedMultiLineText", x, y, a, d, t);
    return 1;
}
API int DPLSetLineWidth(int, double w)
{
    log("SetLineWidth", w);
    return 1;
}
API int DPLDrawLine(int, double a, double b, double c, double d)
{
    log("DrawLine", a, b, c, d);
    return 1;
}
API int DPLAddImageFromFile(int, T f, int o)
{
    log("AddImageFromFile", o);
    return 0;
}
API int DPLDrawImage(int, double l, double t, double w, double h)
{
    log("DrawImage", l, t, w, h);
    return 0;
}
API int DPLCreateTable(int, int r, int c)
{
    log("CreateTable", r, c);
    return 5;
}
API int DPLSetTableBorderColor(int, int t, int i, double r, double g, double b)
{
    log("SetTableBorderColor", t, i, r, g, b);
    return 1;
}
API int DPLSetTableBorderWidth(int, int t, int i, double w)
{
    log("SetTableBorderWidth", t, i, w);
    return 1;
}
API int DPLSetTableRowHeight(int, int t, int a, int b, double h)
{
    log("SetTableRowHeight", t, a, b, h);
    return 1;
}
API int DPLSetTableColumnWidth(int, int t, int a, int b, double w)
{
    log("SetTableColumnWidth", t, a, b, w);
    return 1;
}
API int DPLSetTableCellAlignment(int, int t, int r1, int c1, int r2, int c2, int a)
{
    log("SetTableCellAlignment", t, r1, c1, r2, c2, a);
    return 1;
}
API int DPLSetTableCellBackgroundColor(int, int t, int r1, int c1, int r2, int c2, double r, double g, double b)
{
    log("SetTableCellBackgroundColor", t, r1, c1, r2, c2, r, g, b);
    return 1;
}
API int DPLSetTableCellContent(int, int t, int r, int c, T s)
{
    log("SetTableCellContent", t, r, c, s);
    return 1;
}
API int DPLMergeTableCells(int, int t, int r1, int c1, int r2, int c2)
{
    log("MergeTableCells", t, r1, c1, r2, c2);
    return 1;
}
API int DPLDrawTableRows(int, int t, double l, double top, double h, int a, int b)
{
    log("DrawTableRows", t, l, top, h, a, b);
    return 1;
}
API double DPLGetTableCellDblProperty(int, int t, int r, int c, int tag)
{
    log("GetTableCellDblProperty", t, r, c, tag);
    return tag == 101 ? 100.9 : tag == 102 ? 200.9 : tag == 103 ? 30.9 : 20.9;
}
API int DPLNewFormField(int, T n, int type)
{
    log("NewFormField", n, type);
    return 11;
}
API int DPLAddFormFieldSub(int, int p, T n)
{
    log("AddFormFieldSub", p, n);
    return 12;
}
API int DPLSetFormFieldBounds(int, int i, double l, double t, double w, double h)
{
    log("SetFormFieldBounds", i, l, t, w, h);
    return 1;
}
API int DPLSetFormFieldCheckStyle(int, int i, int s, int p)
{
    log("SetFormFieldCheckStyle", i, s, p);
    return 1;
}
API int DPLSetFormFieldBorderColor(int, int i, double r, double g, double b)
{
    log("SetFormFieldBorderColor", i, r, g, b);
    return 1;
}
API int DPLSetFormFieldVisible(int, int i, int v)
{
    log("SetFormFieldVisible", i, v);
    return 1;
}
API int DPLSetFormFieldValue(int, int i, T v)
{
    log("SetFormFieldValue", i, v);
    return 1;
}
API int DPLSetFormFieldReadOnly(int, int i, int r)
{
    log("SetFormFieldReadOnly", i, r);
    return 1;
}
API int DPLFlattenFormField(int, int i)
{
    log("FlattenFormField", i);
    return 1;
}
API int DPLSaveToFile(int, T f)
{
    log("SaveToFile");
    return 1;
}
