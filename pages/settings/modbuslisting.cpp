#include "modbuslisting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <array>
#include <cmath>

namespace modbuspage {

namespace {

// The layout is laid out in the device units of a 600 dpi printer and scaled to the one used, so
// that the listing looks the same on any resolution.
constexpr int kLayoutDpi = 600;
constexpr int kMargin = 40;
constexpr int kGap = 20;
constexpr int kFootLift = 200;
constexpr int kTitleTop = 205;
// Column widths in letters "n": Register, Name, Type, Units, Value, Permissions.
constexpr std::array<int, 6> kColumnLetters = {8, 25, 15, 15, 15, 12};
constexpr std::array<const char*, 6> kHeadings = {"Register", "Name", "Type", "Units", "Value", "Permissions"};

class ListingPainter {
public:
    ListingPainter(QPrinter& printer, QPainter& painter, const Listing& listing)
            : printer_(printer), painter_(painter), listing_(listing),
              scale_(static_cast<double>(printer.resolution()) / kLayoutDpi)
    {}

    void Run()
    {
        int y = PageHeader();
        for (const Listing::Line& line : listing_.lines)
            y = line.kind == Listing::Line::Entry ? EntryRow(line, y) : GroupRow(line, y);
    }

private:
    int U(int units) const { return static_cast<int>(std::lround(units * scale_)); }
    int PageWidth() const { return painter_.viewport().width(); }
    int PageHeight() const { return painter_.viewport().height(); }
    int H() const { return QFontMetrics(painter_.font(), &printer_).height(); }
    // Columns narrow together when the six would run past the frame on a small sheet.
    int ColumnWidth(int letters) const
    {
        const QFontMetrics metrics(painter_.font(), &printer_);
        int all = 0;
        for (int n : kColumnLetters)
            all += metrics.horizontalAdvance(QString(n, QLatin1Char('n'))) + U(kGap);
        const int room = PageWidth() - 2 * U(kMargin);
        const double fit = all > room && all > 0 ? static_cast<double>(room) / all : 1.0;
        return static_cast<int>(metrics.horizontalAdvance(QString(letters, QLatin1Char('n'))) * fit);
    }
    void SetSize(int points)
    {
        QFont font = painter_.font();
        font.setPointSize(points);
        painter_.setFont(font);
    }
    void SetBold(bool bold)
    {
        QFont font = painter_.font();
        font.setBold(bold);
        painter_.setFont(font);
    }
    // Texts stand with their top at y, as the listing's line positions are tops.
    void TextAt(int x, int y, const QString& text)
    {
        const QFontMetrics metrics(painter_.font(), &printer_);
        painter_.drawText(x, y + metrics.ascent(), text);
    }
    int CenteredX(const QString& text) const
    {
        const int width = QFontMetrics(painter_.font(), &printer_).horizontalAdvance(text);
        return std::max(PageWidth() / 2 - width / 2, U(kMargin));
    }

    int PageHeader()
    {
        const int size = painter_.font().pointSize();
        const QString pageText = QStringLiteral("Page %1").arg(page_);
        TextAt(CenteredX(pageText), PageHeight() - U(kFootLift) + H(), pageText);
        int y = U(kTitleTop);
        SetSize(18);
        const QString title = QStringLiteral("Modbus Register Listing");
        TextAt(CenteredX(title), y, title);
        y += H();
        SetSize(16);
        TextAt(CenteredX(listing_.tabCaption), y, listing_.tabCaption);
        y += H();
        SetSize(12);
        const QString mode =
            QStringLiteral("Modbus Mode: ") + listing_.modeText + QStringLiteral("\t Address: ") + listing_.addressText;
        TextAt(CenteredX(mode), y, mode);
        y += H();
        SetSize(size);
        y += H();
        int x = U(kMargin);
        for (std::size_t c = 0; c < kHeadings.size(); ++c) {
            SetBold(true);
            TextAt(x, y, kHeadings[c]);
            SetBold(false);
            x += ColumnWidth(kColumnLetters[c]) + U(kGap);
        }
        y += H();
        painter_.save();
        painter_.setPen(QPen(Qt::black));
        painter_.setBrush(Qt::NoBrush);
        const int left = U(kMargin) - U(kGap);
        const int right = PageWidth() - U(kMargin) + U(kGap);
        painter_.drawRect(QRect(QPoint(left, left), QPoint(right, PageHeight() - U(kMargin) + U(kGap))));
        painter_.drawLine(left, y, right, y);
        painter_.restore();
        y += H();
        return y;
    }

    int NewPage()
    {
        printer_.newPage();
        ++page_;
        return PageHeader();
    }

    int EntryRow(const Listing::Line& line, int y)
    {
        if (y > PageHeight() - H() - U(kFootLift))
            y = NewPage();
        const std::array<const QString*, 6> cells = {&line.registerText, &line.text,  &line.type,
                                                     &line.units,        &line.value, &line.permission};
        int x = U(kMargin);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            SetBold(c == 0);
            // A long point name would run into the next column: it is cut short with an ellipsis.
            const int width = ColumnWidth(kColumnLetters[c]);
            TextAt(x, y, QFontMetrics(painter_.font(), &printer_).elidedText(*cells[c], Qt::ElideRight, width));
            x += width + U(kGap);
        }
        SetBold(false);
        return y + H();
    }

    int GroupRow(const Listing::Line& line, int y)
    {
        if (y > PageHeight() - 3 * H() - U(kFootLift))
            y = NewPage();
        y += H();
        const int size = painter_.font().pointSize();
        SetBold(true);
        if (line.kind == Listing::Line::TopGroup) {
            SetSize(14);
            TextAt(U(kMargin), y, line.text);
        } else {
            const QString text = QStringLiteral("----- ") + line.text + QStringLiteral(" -----");
            TextAt(CenteredX(text), y, text);
        }
        SetBold(false);
        SetSize(size);
        return y + 2 * H();
    }

    QPrinter& printer_;
    QPainter& painter_;
    const Listing& listing_;
    double scale_;
    int page_ = 1;
};

}  // namespace

bool PrintListing(QPrinter& printer, const Listing& listing, QString* problem)
{
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer)) {
        if (problem)
            *problem = QStringLiteral("The Modbus list could not be printed: no printer is available.");
        return false;
    }
    QFont font = painter.font();
    font.setPointSize(10);
    painter.setFont(font);
    ListingPainter(printer, painter, listing).Run();
    painter.end();
    return true;
}

}  // namespace modbuspage
