// Check boxes and radio buttons: kept as data while the pages are drawn, then either painted
// into the page (flattened) or written as interactive AcroForm fields when the document is saved.
// libharu has no form fields, so the field, widget and appearance objects are built here on its
// object layer.

#include "qcpdfdoc.h"

#include <hpdf_doc.h>
#include <hpdf_objects.h>
#include <hpdf_pages.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qcpdf {

namespace {

constexpr int kFlagReadOnly = 1;
constexpr int kFlagNoToggleToOff = 1 << 14;
constexpr int kFlagRadio = 1 << 15;
constexpr int kAnnotHidden = 2;
constexpr int kAnnotPrint = 4;
constexpr size_t kMaxNameBytes = 127;

// Numbers in content streams are always written with a point, whatever the process locale.
std::string num(double v)
{
    if (!std::isfinite(v))
        v = 0;
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::round(v * 1000) / 1000, std::chars_format::fixed);
    return std::string(buf, res.ptr);
}

bool equalsNoCase(const std::u16string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char16_t x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char16_t(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = char(y + 32);
        if (x != char16_t(y))
            return false;
    }
    return i == a.size() && !b[i];
}

bool checkBoxOn(const Field& f)
{
    return !f.value.empty() && !equalsNoCase(f.value, "off") && !equalsNoCase(f.value, "no");
}

// The name a selected widget's appearance state carries. libharu escapes the bytes of a name
// that need it except blanks and control bytes, which it writes raw and so breaks the name: those
// become "_". Cut (at a character) to libharu's limit on names.
std::string onStateName(const Field& f)
{
    if (f.type == FieldType::CheckBox || f.title.empty())
        return f.type == FieldType::CheckBox ? "Yes" : "On";
    std::string name = toUtf8(f.title);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x21)
            c = '_';
    if (name.size() > kMaxNameBytes) {
        name.resize(kMaxNameBytes);
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
            name.pop_back();
        if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0)
            name.pop_back();
    }
    return name.empty() ? "On" : name;
}

// A circle of radius r around (cx, cy) as four Bezier arcs.
std::string circlePath(double cx, double cy, double r)
{
    const double k = r * 0.5523;
    std::string s = num(cx + r) + " " + num(cy) + " m ";
    s += num(cx + r) + " " + num(cy + k) + " " + num(cx + k) + " " + num(cy + r) + " " + num(cx) + " " + num(cy + r) +
         " c ";
    s += num(cx - k) + " " + num(cy + r) + " " + num(cx - r) + " " + num(cy + k) + " " + num(cx - r) + " " + num(cy) +
         " c ";
    s += num(cx - r) + " " + num(cy - k) + " " + num(cx - k) + " " + num(cy - r) + " " + num(cx) + " " + num(cy - r) +
         " c ";
    s += num(cx + k) + " " + num(cy - r) + " " + num(cx + r) + " " + num(cy - k) + " " + num(cx + r) + " " + num(cy) +
         " c ";
    return s;
}

// Content that paints a field of w x h points with its lower left corner at the origin.
// Check styles: 2 a dot, 3 a cross, 5 a square, any other a tick.
std::string appearance(const Field& f, int style, double w, double h, bool on)
{
    std::string s = "q ";
    const double m = std::min(w, h);
    if (f.hasBorder) {
        s += num(f.border.r) + " " + num(f.border.g) + " " + num(f.border.b) + " RG 1 w ";
        if (f.type == FieldType::RadioButton)
            s += circlePath(w / 2, h / 2, m / 2 - 0.5) + "S ";
        else
            s += "0.5 0.5 " + num(w - 1) + " " + num(h - 1) + " re S ";
    }
    if (on) {
        s += "0 g 0 G ";
        switch (style) {
        case 2:
            s += circlePath(w / 2, h / 2, m / 4) + "f ";
            break;
        case 3:
            s += num(m * 0.12) + " w " + num(w * 0.25) + " " + num(h * 0.25) + " m " + num(w * 0.75) + " " +
                 num(h * 0.75) + " l " + num(w * 0.25) + " " + num(h * 0.75) + " m " + num(w * 0.75) + " " +
                 num(h * 0.25) + " l S ";
            break;
        case 5:
            s += num(w * 0.3) + " " + num(h * 0.3) + " " + num(w * 0.4) + " " + num(h * 0.4) + " re f ";
            break;
        default:
            s += num(m * 0.12) + " w 1 J 1 j " + num(w * 0.2) + " " + num(h * 0.5) + " m " + num(w * 0.42) + " " +
                 num(h * 0.25) + " l " + num(w * 0.8) + " " + num(h * 0.8) + " l S ";
            break;
        }
    }
    return s + "Q";
}

}  // namespace

int Document::newFormField(const std::u16string& title, int type)
{
    if (type != int(FieldType::CheckBox) && type != int(FieldType::RadioButton))
        return 0;
    Field f;
    f.title = title;
    f.type = FieldType(type);
    f.page = int(pages_.size()) - 1;
    fields_.push_back(std::move(f));
    return int(fields_.size());
}

int Document::addFormFieldSub(int parent, const std::u16string& title)
{
    Field* p = field(parent);
    if (!p || p->parent != 0 || p->type != FieldType::RadioButton || p->written || p->flattened)
        return 0;
    Field sub;
    sub.title = title;
    sub.type = FieldType::RadioButton;
    sub.parent = parent;
    sub.page = int(pages_.size()) - 1;
    fields_.push_back(std::move(sub));
    const int index = int(fields_.size());
    fields_[size_t(parent - 1)].subs.push_back(index);
    return index;
}

Field* Document::field(int index)
{
    if (index < 1 || index > int(fields_.size()))
        return nullptr;
    return &fields_[size_t(index - 1)];
}

bool Document::setFieldBounds(int index, Box box)
{
    Field* f = field(index);
    if (!f || box.width < 0 || box.height < 0)
        return false;
    f->hasBounds = true;
    f->bounds = {box.left, fromUser(box.top), box.width, box.height};
    return true;
}

void Document::drawField(const Field& f, HPDF_Page p)
{
    if (!f.hasBounds || !f.visible)
        return;
    const Field& owner = f.parent ? fields_[size_t(f.parent - 1)] : f;
    const bool on = f.parent ? owner.value == f.title : checkBoxOn(f);
    const std::string content = appearance(f, f.checkStyle, f.bounds.width, f.bounds.height, on);
    const double bottom = pageHeightOf(p) - f.bounds.top - f.bounds.height;
    HPDF_Page_GSave(p);
    HPDF_Page_Concat(p, 1, 0, 0, 1, HPDF_REAL(f.bounds.left), HPDF_REAL(bottom));
    auto* attr = static_cast<HPDF_PageAttr>(p->attr);
    HPDF_Stream_WriteStr(attr->stream, content.c_str());
    HPDF_Stream_WriteStr(attr->stream, "\012");
    HPDF_Page_GRestore(p);
    resetError();
}

bool Document::flattenField(int index)
{
    Field* f = field(index);
    if (!f || f->written)
        return false;
    if (f->flattened)
        return true;
    if (f->subs.empty()) {
        drawField(*f, pages_[size_t(f->page)]);
    } else {
        for (int s : f->subs) {
            Field& sub = fields_[size_t(s - 1)];
            if (!sub.flattened)
                drawField(sub, pages_[size_t(sub.page)]);
            sub.flattened = true;
        }
    }
    fields_[size_t(index - 1)].flattened = true;
    return true;
}

void Document::writeFields()
{
    HPDF_MMgr mmgr = pdf_->mmgr;
    HPDF_Xref xref = pdf_->xref;
    auto textString = [&](const std::u16string& text) -> HPDF_Obj_Header* {
        const bool plain = std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x20 && c < 0x7F; });
        if (plain) {
            const std::string ascii(text.begin(), text.end());
            return static_cast<HPDF_Obj_Header*>(static_cast<void*>(HPDF_String_New(mmgr, ascii.c_str(), nullptr)));
        }
        std::string be = "\xFE\xFF";
        for (char16_t c : text) {
            be.push_back(char(c >> 8));
            be.push_back(char(c & 0xFF));
        }
        return static_cast<HPDF_Obj_Header*>(
            static_cast<void*>(HPDF_Binary_New(mmgr, reinterpret_cast<HPDF_BYTE*>(be.data()), HPDF_UINT(be.size()))));
    };
    auto colourArray = [&](const Rgb& c) {
        HPDF_Array a = HPDF_Array_New(mmgr);
        HPDF_Array_AddReal(a, HPDF_REAL(c.r));
        HPDF_Array_AddReal(a, HPDF_REAL(c.g));
        HPDF_Array_AddReal(a, HPDF_REAL(c.b));
        return a;
    };
    auto stream = [&](const std::string& content, double w, double h) {
        // Left uncompressed: a few dozen bytes each, and setting up a compressor per stream
        // costs more than the bytes saved.
        HPDF_Dict s = HPDF_DictStream_New(mmgr, xref);
        HPDF_Dict_AddName(s, "Type", "XObject");
        HPDF_Dict_AddName(s, "Subtype", "Form");
        HPDF_Array box = HPDF_Array_New(mmgr);
        HPDF_Array_AddReal(box, 0);
        HPDF_Array_AddReal(box, 0);
        HPDF_Array_AddReal(box, HPDF_REAL(w));
        HPDF_Array_AddReal(box, HPDF_REAL(h));
        HPDF_Dict_Add(s, "BBox", box);
        HPDF_Dict_Add(s, "Resources", HPDF_Dict_New(mmgr));
        HPDF_Stream_WriteStr(s->stream, content.c_str());
        return s;
    };
    // The widget (the visible box) of a field; for a check box the field and its widget are one
    // dictionary.
    auto fillWidget = [&](HPDF_Dict w, const Field& f, bool on) {
        HPDF_Page p = pages_[size_t(f.page)];
        HPDF_Dict_AddName(w, "Type", "Annot");
        HPDF_Dict_AddName(w, "Subtype", "Widget");
        const double bottom = pageHeightOf(p) - f.bounds.top - f.bounds.height;
        HPDF_Array rect = HPDF_Array_New(mmgr);
        HPDF_Array_AddReal(rect, HPDF_REAL(f.bounds.left));
        HPDF_Array_AddReal(rect, HPDF_REAL(bottom));
        HPDF_Array_AddReal(rect, HPDF_REAL(f.bounds.left + f.bounds.width));
        HPDF_Array_AddReal(rect, HPDF_REAL(bottom + f.bounds.height));
        HPDF_Dict_Add(w, "Rect", rect);
        HPDF_Dict_Add(w, "P", p);
        HPDF_Dict_AddNumber(w, "F", f.visible ? kAnnotPrint : kAnnotHidden);
        const std::string onName = onStateName(f);
        HPDF_Dict_AddName(w, "AS", on ? onName.c_str() : "Off");
        HPDF_Dict mk = HPDF_Dict_New(mmgr);
        if (f.hasBorder)
            HPDF_Dict_Add(mk, "BC", colourArray(f.border));
        HPDF_Dict_Add(mk, "CA", HPDF_String_New(mmgr, f.checkStyle == 2 ? "l" : "4", nullptr));
        HPDF_Dict_Add(w, "MK", mk);
        HPDF_Dict normal = HPDF_Dict_New(mmgr);
        HPDF_Dict_Add(normal, onName.c_str(),
                      stream(appearance(f, f.checkStyle, f.bounds.width, f.bounds.height, true), f.bounds.width,
                             f.bounds.height));
        HPDF_Dict_Add(normal, "Off",
                      stream(appearance(f, f.checkStyle, f.bounds.width, f.bounds.height, false), f.bounds.width,
                             f.bounds.height));
        HPDF_Dict ap = HPDF_Dict_New(mmgr);
        HPDF_Dict_Add(ap, "N", normal);
        HPDF_Dict_Add(w, "AP", ap);
        HPDF_Array annots = static_cast<HPDF_Array>(HPDF_Dict_GetItem(p, "Annots", HPDF_OCLASS_ARRAY));
        if (!annots) {
            annots = HPDF_Array_New(mmgr);
            HPDF_Dict_Add(p, "Annots", annots);
        }
        HPDF_Array_Add(annots, w);
    };

    for (size_t i = 0; i < fields_.size(); ++i) {
        Field& f = fields_[i];
        if (f.parent != 0 || f.flattened || f.written)
            continue;
        std::vector<Field*> widgets;
        if (f.type == FieldType::CheckBox) {
            if (f.hasBounds)
                widgets.push_back(&f);
        } else {
            for (int s : f.subs) {
                Field& sub = fields_[size_t(s - 1)];
                if (!sub.flattened && sub.hasBounds)
                    widgets.push_back(&sub);
            }
        }
        f.written = true;
        if (widgets.empty())
            continue;
        if (!acroFields_) {
            HPDF_Dict acro = HPDF_Dict_New(mmgr);
            HPDF_Xref_Add(xref, acro);
            acroFields_ = HPDF_Array_New(mmgr);
            HPDF_Dict_Add(acro, "Fields", acroFields_);
            HPDF_Dict_Add(pdf_->catalog, "AcroForm", acro);
        }
        HPDF_Dict fieldDict = HPDF_Dict_New(mmgr);
        HPDF_Xref_Add(xref, fieldDict);
        HPDF_Dict_AddName(fieldDict, "FT", "Btn");
        HPDF_Dict_Add(fieldDict, "T", textString(f.title));
        bool readOnly = f.readOnly;
        for (const Field* w : widgets)
            readOnly = readOnly || w->readOnly;
        int flags = readOnly ? kFlagReadOnly : 0;
        if (f.type == FieldType::CheckBox) {
            const bool on = checkBoxOn(f);
            HPDF_Dict_AddName(fieldDict, "V", on ? "Yes" : "Off");
            HPDF_Dict_AddNumber(fieldDict, "Ff", flags);
            fillWidget(fieldDict, f, on);
        } else {
            flags |= kFlagRadio | kFlagNoToggleToOff;
            HPDF_Dict_AddNumber(fieldDict, "Ff", flags);
            std::string selected = "Off";
            HPDF_Array kids = HPDF_Array_New(mmgr);
            HPDF_Dict_Add(fieldDict, "Kids", kids);
            for (Field* w : widgets) {
                const bool on = !f.value.empty() && w->title == f.value;
                if (on)
                    selected = onStateName(*w);
                HPDF_Dict widget = HPDF_Dict_New(mmgr);
                HPDF_Xref_Add(xref, widget);
                HPDF_Dict_Add(widget, "Parent", fieldDict);
                fillWidget(widget, *w, on);
                HPDF_Array_Add(kids, widget);
                w->written = true;
            }
            HPDF_Dict_AddName(fieldDict, "V", selected.c_str());
        }
        HPDF_Array_Add(acroFields_, fieldDict);
    }
    resetError();
}

}  // namespace qcpdf
