#include "qcpdfdoc.h"

#include <hpdf_doc.h>

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>

namespace qcpdf {

namespace {

// libharu reports through this handler and the call returns an error status; the document
// stays usable once the error is reset.
void onHaruError(HPDF_STATUS, HPDF_STATUS, void*) {}

const char* const kStandardFonts[] = {"Courier",     "Courier-Bold",   "Courier-BoldOblique",   "Courier-Oblique",
                                      "Helvetica",   "Helvetica-Bold", "Helvetica-BoldOblique", "Helvetica-Oblique",
                                      "Times-Roman", "Times-Bold",     "Times-Italic",          "Times-BoldItalic",
                                      "Symbol",      "ZapfDingbats"};
constexpr int kStandardFontCount = int(sizeof kStandardFonts / sizeof kStandardFonts[0]);

// WinAnsi's characters in 0x80..0x9F.
const char16_t kAnsi80[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                              0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                              0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

Placement placementOf(int alignment, Placement fallback)
{
    static const Placement kCodes[9] = {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    return alignment >= 0 && alignment <= 8 ? kCodes[alignment] : fallback;
}

AnsiText toAnsi(const std::u16string& text)
{
    AnsiText out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == 0)
            break;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(char(c));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kAnsi80[i] == c)
                mapped = char(0x80 + i);
        out.push_back(mapped);
    }
    return out;
}

std::string toUtf8(const std::u16string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

Document::Document()
{
    pdf_ = HPDF_New(onHaruError, nullptr);
    if (!pdf_)
        return;
    HPDF_SetCompressionMode(pdf_, HPDF_COMP_ALL);
    newPage();
    if (pages_.empty()) {
        HPDF_Free(pdf_);
        pdf_ = nullptr;
    }
}

Document::~Document()
{
    if (pdf_)
        HPDF_Free(pdf_);
}

void Document::resetError()
{
    HPDF_ResetError(pdf_);
}

bool Document::setPageSize(const std::u16string& name)
{
    static const struct {
        const char* name;
        HPDF_PageSizes size;
    } kSizes[] = {{"A3", HPDF_PAGE_SIZE_A3},       {"A4", HPDF_PAGE_SIZE_A4},
                  {"A5", HPDF_PAGE_SIZE_A5},       {"B4", HPDF_PAGE_SIZE_B4},
                  {"B5", HPDF_PAGE_SIZE_B5},       {"LETTER", HPDF_PAGE_SIZE_LETTER},
                  {"LEGAL", HPDF_PAGE_SIZE_LEGAL}, {"EXECUTIVE", HPDF_PAGE_SIZE_EXECUTIVE}};
    std::string upper = toAnsi(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return char(c >= 'a' && c <= 'z' ? c - 32 : c); });
    for (const auto& s : kSizes) {
        if (upper == s.name) {
            pageSize_ = s.size;
            // The size holds for the page in hand and every page after it.
            if (HPDF_Page_SetSize(page(), pageSize_, HPDF_PAGE_PORTRAIT) != HPDF_OK) {
                resetError();
                return false;
            }
            return true;
        }
    }
    return false;
}

int Document::newPage()
{
    HPDF_Page p = HPDF_AddPage(pdf_);
    if (!p || HPDF_Page_SetSize(p, pageSize_, HPDF_PAGE_PORTRAIT) != HPDF_OK) {
        resetError();
        return 0;
    }
    pages_.push_back(p);
    HPDF_Page_SetLineWidth(p, lineWidth_);
    return int(pages_.size());
}

bool Document::setOrigin(int origin)
{
    if (origin != 0 && origin != 1)
        return false;
    origin_ = origin;
    return true;
}

double Document::pageHeightOf(HPDF_Page p) const
{
    return HPDF_Page_GetHeight(p);
}

double Document::pageWidth() const
{
    return HPDF_Page_GetWidth(page());
}

double Document::pageHeight() const
{
    return pageHeightOf(page());
}

double Document::fromUser(double y) const
{
    return origin_ == 1 ? y : pageHeight() - y;
}

double Document::toUser(double y) const
{
    return fromUser(y);
}

int Document::addStandardFont(int standardFont)
{
    if (standardFont < 0 || standardFont >= kStandardFontCount)
        return 0;
    const bool symbolic = standardFont >= 12;
    HPDF_Font f = HPDF_GetFont(pdf_, kStandardFonts[standardFont], symbolic ? nullptr : "WinAnsiEncoding");
    if (!f) {
        resetError();
        return 0;
    }
    fonts_.push_back(f);
    return int(fonts_.size());
}

bool Document::selectFont(int fontId)
{
    if (fontId < 1 || fontId > int(fonts_.size()))
        return false;
    font_ = fontId;
    return true;
}

bool Document::setTextSize(double size)
{
    if (!(size > 0) || size > 1000)
        return false;
    textSize_ = size;
    return true;
}

bool Document::setTextColor(Rgb color)
{
    textColor_ = {std::clamp(color.r, 0.0, 1.0), std::clamp(color.g, 0.0, 1.0), std::clamp(color.b, 0.0, 1.0)};
    return true;
}

HPDF_Font Document::currentFont()
{
    // Text drawn before any font was chosen comes out in Helvetica.
    if (font_ == 0 && !selectFont(addStandardFont(4)))
        return nullptr;
    return fonts_[size_t(font_ - 1)];
}

double Document::textWidth(const std::u16string& text)
{
    return ansiWidth(toAnsi(text));
}

double Document::ansiWidth(const AnsiText& a)
{
    HPDF_Font f = currentFont();
    if (!f || a.empty())
        return 0;
    const HPDF_TextWidth tw = HPDF_Font_TextWidth(f, reinterpret_cast<const HPDF_BYTE*>(a.data()), HPDF_UINT(a.size()));
    return tw.width * textSize_ / 1000.0;
}

double Document::textHeight()
{
    HPDF_Font f = currentFont();
    if (!f)
        return 0;
    return (HPDF_Font_GetAscent(f) - HPDF_Font_GetDescent(f)) * textSize_ / 1000.0;
}

double Document::ascent()
{
    HPDF_Font f = currentFont();
    return f ? HPDF_Font_GetAscent(f) * textSize_ / 1000.0 : 0;
}

// Lines of several-line text stand a little further apart than the glyphs are high.
double Document::lineHeight()
{
    return textHeight() * 1.15;
}

void Document::showLine(HPDF_Page p, double x, double y, double ax, double ay, double angle, const AnsiText& line)
{
    if (line.empty())
        return;
    const double h = pageHeightOf(p);
    const double rad = angle * M_PI / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    // Offset from the anchor in libharu's space (y up), turned by the angle.
    const double dx = x - ax, dy = -(y - ay);
    const double px = ax + dx * c - dy * s;
    const double py = (h - ay) + dx * s + dy * c;
    HPDF_Page_BeginText(p);
    HPDF_Page_SetFontAndSize(p, currentFont(), HPDF_REAL(textSize_));
    HPDF_Page_SetRGBFill(p, HPDF_REAL(textColor_.r), HPDF_REAL(textColor_.g), HPDF_REAL(textColor_.b));
    HPDF_Page_SetTextMatrix(p, HPDF_REAL(c), HPDF_REAL(s), HPDF_REAL(-s), HPDF_REAL(c), HPDF_REAL(px), HPDF_REAL(py));
    HPDF_Page_ShowText(p, line.c_str());
    HPDF_Page_EndText(p);
}

bool Document::drawText(double x, double y, const std::u16string& text)
{
    if (!currentFont())
        return false;
    // One line at its baseline: line breaks and other control characters draw nothing.
    AnsiText line;
    for (char c : toAnsi(text))
        if (static_cast<unsigned char>(c) >= 0x20)
            line.push_back(c);
    const double top = fromUser(y);
    showLine(page(), x, top, x, top, 0, line);
    resetError();
    return true;
}

std::vector<AnsiText> Document::wrapLines(const std::vector<AnsiText>& lines, double width)
{
    auto widthOf = [&](const AnsiText& t) { return ansiWidth(t); };
    std::vector<AnsiText> out;
    for (const AnsiText& line : lines) {
        if (width <= 0 || widthOf(line) <= width) {
            out.push_back(line);
            continue;
        }
        // Break between words; a word wider than the room stands alone on its line.
        AnsiText current;
        size_t pos = 0;
        while (pos <= line.size()) {
            size_t end = line.find(' ', pos);
            if (end == AnsiText::npos)
                end = line.size();
            const AnsiText word = line.substr(pos, end - pos);
            const AnsiText candidate = current.empty() ? word : current + ' ' + word;
            if (!current.empty() && widthOf(candidate) > width) {
                out.push_back(current);
                current = word;
            } else {
                current = candidate;
            }
            pos = end + 1;
        }
        out.push_back(current);
    }
    return out;
}

namespace {

std::vector<AnsiText> splitOn(const AnsiText& text, const AnsiText& delimiter)
{
    std::vector<AnsiText> out;
    if (delimiter.empty()) {
        out.push_back(text);
        return out;
    }
    size_t pos = 0;
    for (;;) {
        const size_t at = text.find(delimiter, pos);
        if (at == AnsiText::npos) {
            out.push_back(text.substr(pos));
            return out;
        }
        out.push_back(text.substr(pos, at - pos));
        pos = at + delimiter.size();
    }
}

AnsiText printable(const AnsiText& line)
{
    AnsiText out;
    for (char c : line)
        if (static_cast<unsigned char>(c) >= 0x20)
            out.push_back(c);
    return out;
}

}  // namespace

bool Document::drawTextBox(Box box, double angle, const std::u16string& text, int alignment, int border, double radius)
{
    if (!currentFont() || box.width < 0 || box.height < 0)
        return false;
    HPDF_Page p = page();
    const double top = fromUser(box.top);
    const double h = pageHeightOf(p);
    const double rad = angle * M_PI / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    HPDF_Page_GSave(p);
    // Turn the whole box around its top left corner.
    HPDF_Page_Concat(p, HPDF_REAL(c), HPDF_REAL(s), HPDF_REAL(-s), HPDF_REAL(c), HPDF_REAL(box.left),
                     HPDF_REAL(h - top));
    if (border != 0) {
        HPDF_Page_SetLineWidth(p, HPDF_REAL(lineWidth_));
        HPDF_Page_SetRGBStroke(p, 0, 0, 0);
        const double r = std::min({radius, box.width / 2, box.height / 2});
        if (r > 0) {
            // Rounded corners: quarter circles as Bezier arcs.
            const double k = r * 0.5523, w = box.width, h = -box.height;
            HPDF_Page_MoveTo(p, HPDF_REAL(r), 0);
            HPDF_Page_LineTo(p, HPDF_REAL(w - r), 0);
            HPDF_Page_CurveTo(p, HPDF_REAL(w - r + k), 0, HPDF_REAL(w), HPDF_REAL(-r + k), HPDF_REAL(w), HPDF_REAL(-r));
            HPDF_Page_LineTo(p, HPDF_REAL(w), HPDF_REAL(h + r));
            HPDF_Page_CurveTo(p, HPDF_REAL(w), HPDF_REAL(h + r - k), HPDF_REAL(w - r + k), HPDF_REAL(h),
                              HPDF_REAL(w - r), HPDF_REAL(h));
            HPDF_Page_LineTo(p, HPDF_REAL(r), HPDF_REAL(h));
            HPDF_Page_CurveTo(p, HPDF_REAL(r - k), HPDF_REAL(h), 0, HPDF_REAL(h + r - k), 0, HPDF_REAL(h + r));
            HPDF_Page_LineTo(p, 0, HPDF_REAL(-r));
            HPDF_Page_CurveTo(p, 0, HPDF_REAL(-r + k), HPDF_REAL(r - k), 0, HPDF_REAL(r), 0);
            HPDF_Page_ClosePath(p);
        } else {
            HPDF_Page_Rectangle(p, 0, HPDF_REAL(-box.height), HPDF_REAL(box.width), HPDF_REAL(box.height));
        }
        HPDF_Page_Stroke(p);
    }
    std::vector<AnsiText> raw;
    for (const AnsiText& l : splitOn(toAnsi(text), "\n"))
        raw.push_back(printable(l));
    const double pad = 1;
    const std::vector<AnsiText> lines = wrapLines(raw, box.width - 2 * pad);
    const double lh = lineHeight();
    const double block = textHeight() + lh * double(lines.size() > 0 ? lines.size() - 1 : 0);
    const Placement place = placementOf(alignment, {0, 0});
    const int horizontal = place.horizontal, vertical = place.vertical;
    double y = pad;
    if (vertical == 1)
        y = (box.height - block) / 2;
    else if (vertical == 2)
        y = box.height - pad - block;
    const double asc = ascent();
    for (const AnsiText& line : lines) {
        const double w = ansiWidth(line);
        double x = pad;
        if (horizontal == 1)
            x = (box.width - w) / 2;
        else if (horizontal == 2)
            x = box.width - pad - w;
        if (!line.empty()) {
            HPDF_Page_BeginText(p);
            HPDF_Page_SetFontAndSize(p, currentFont(), HPDF_REAL(textSize_));
            HPDF_Page_SetRGBFill(p, HPDF_REAL(textColor_.r), HPDF_REAL(textColor_.g), HPDF_REAL(textColor_.b));
            HPDF_Page_TextOut(p, HPDF_REAL(x), HPDF_REAL(-(y + asc)), line.c_str());
            HPDF_Page_EndText(p);
        }
        y += lh;
    }
    HPDF_Page_GRestore(p);
    resetError();
    return true;
}

bool Document::drawMultiLineText(double x, double y, double angle, const std::u16string& delimiter,
                                 const std::u16string& text)
{
    if (!currentFont())
        return false;
    const double top = fromUser(y);
    const double lh = lineHeight();
    double line = top;
    for (const AnsiText& l : splitOn(toAnsi(text), toAnsi(delimiter))) {
        showLine(page(), x, line, x, top, angle, printable(l));
        line += lh;
    }
    resetError();
    return true;
}

bool Document::setLineWidth(double width)
{
    if (width < 0)
        return false;
    lineWidth_ = width;
    return true;
}

bool Document::drawLine(double x1, double y1, double x2, double y2)
{
    HPDF_Page p = page();
    const double h = pageHeight();
    HPDF_Page_SetLineWidth(p, HPDF_REAL(lineWidth_));
    HPDF_Page_SetRGBStroke(p, 0, 0, 0);
    HPDF_Page_MoveTo(p, HPDF_REAL(x1), HPDF_REAL(h - fromUser(y1)));
    HPDF_Page_LineTo(p, HPDF_REAL(x2), HPDF_REAL(h - fromUser(y2)));
    HPDF_Page_Stroke(p);
    resetError();
    return true;
}

int Document::addImageFromFile(const std::u16string& fileName)
{
    // A file that cannot be added leaves no image selected, so a following draw shows nothing
    // rather than the image added before it.
    image_ = 0;
    const std::string path = toUtf8(fileName);
    unsigned char head[8] = {};
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    const size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    HPDF_Image image = nullptr;
    static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (got == 8 && std::equal(head, head + 8, kPng))
        image = HPDF_LoadPngImageFromFile(pdf_, path.c_str());
    else if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF)
        image = HPDF_LoadJpegImageFromFile(pdf_, path.c_str());
    if (!image) {
        resetError();
        return 0;
    }
    images_.push_back(image);
    image_ = int(images_.size());
    return image_;
}

bool Document::drawImage(Box box)
{
    if (image_ == 0)
        return false;
    HPDF_Page p = page();
    const double top = fromUser(box.top);
    HPDF_Page_DrawImage(p, images_[size_t(image_ - 1)], HPDF_REAL(box.left), HPDF_REAL(pageHeight() - top - box.height),
                        HPDF_REAL(box.width), HPDF_REAL(box.height));
    resetError();
    return true;
}

bool Document::saveToFile(const std::u16string& fileName)
{
    const std::string target = toUtf8(fileName);
    if (target.empty())
        return false;
    writeFields();
    // Written beside the target and renamed over it, so that a failed write never leaves half
    // a document where the old file was.
    static std::atomic<unsigned> serial{0};
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = dir + "." + base + "." + std::to_string(getpid()) + "." + std::to_string(serial++) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    ::close(fd);
    const bool written = HPDF_SaveToFile(pdf_, temp.c_str()) == HPDF_OK;
    resetError();
    bool synced = false;
    if (written) {
        const int rfd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
        if (rfd >= 0) {
            synced = ::fsync(rfd) == 0;
            ::close(rfd);
        }
    }
    if (!written || !synced || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace qcpdf
