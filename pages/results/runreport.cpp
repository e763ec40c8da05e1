#include "runreport.h"

#include "analysisformat.h"
#include "savefile.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace {

const QString kAlarmHeading = QStringLiteral("THIS REPORT HAS BEEN GENERATED WITH FOLLOWING ALARMS:");

bool hasResultLine(const RunReportData& data)
{
    return data.activeStream >= 1 && data.activeStream <= 4;
}

QFont reportFont(int pointSize, bool bold)
{
    QFont font;
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

// Lays the report out on pages of a device, as a printer's canvas would print it.
class Layouter {
public:
    Layouter(QPaintDevice* device) : device_(device)
    {
        const double scale = device->logicalDpiY() / 600.0;
        margin_ = static_cast<int>(40 * scale);
        gap_ = static_cast<int>(20 * scale);
        footer_ = static_cast<int>(200 * scale);
        top_ = static_cast<int>(205 * scale);
        width_ = device->width();
        height_ = device->height();
    }

    std::vector<PrintedText> Run(const RunReportData& data)
    {
        int y = Header(data);
        const int lh = LineHeight(10, false);
        if (height_ - footer_ - lh < y) {
            ++page_;
            y = Header(data);
        }
        if (hasResultLine(data)) {
            Row(analysis::resultLabel(data.activeStream), data.result + QStringLiteral("  ") + data.units, y);
            y += lh;
        }
        y += lh;
        y += lh;
        if (data.systemAlarm) {
            Put(margin_, y, kAlarmHeading + QLatin1Char(' '), 10, true);
            y += lh;
            if (!data.alarmText.isEmpty())
                Put(margin_, y, data.alarmText, 10, false);
        }
        return std::move(out_);
    }

private:
    int LineHeight(int size, bool bold) const { return QFontMetrics(reportFont(size, bold), device_).height(); }
    int TextWidth(const QString& text, int size, bool bold) const
    {
        return QFontMetrics(reportFont(size, bold), device_).horizontalAdvance(text);
    }
    void Put(int x, int top, const QString& text, int size, bool bold)
    {
        out_.push_back({page_, x, top, text, size, bold});
    }
    void Centred(int top, const QString& text, int size)
    {
        Put(std::max(margin_, width_ / 2 - TextWidth(text, size, false) / 2), top, text, size, false);
    }
    // A label in bold and its value after a column as wide as the label's length in letters "n".
    void Row(const QString& label, const QString& value, int top)
    {
        Put(margin_, top, label, 10, true);
        const int column = TextWidth(QString(label.size(), QLatin1Char('n')), 10, true);
        Put(margin_ + column + gap_, top, value, 10, false);
    }
    // The page footer, the company line, the title and the five rows; the y below the last row.
    int Header(const RunReportData& data)
    {
        const int lh10 = LineHeight(10, false);
        Centred(lh10 + height_ - footer_, QStringLiteral("Page %1").arg(page_), 10);
        Centred(top_, QStringLiteral("Quenrick "), 12);
        const int titleTop = top_ + LineHeight(12, false);
        Centred(titleTop, QStringLiteral("Sentrel515 H2S Analyzer Report"), 18);
        int y = titleTop + LineHeight(18, false) + lh10;
        const std::pair<QString, QString> rows[] = {
            {QStringLiteral("Lab ID: "), data.labId},           {QStringLiteral("Sample ID: "), data.sampleId},
            {QStringLiteral("Sample Name: "), data.sampleName}, {QStringLiteral("Client Name: "), data.clientName},
            {QStringLiteral("Date/Time: "), data.dateTime},
        };
        for (const auto& [label, value] : rows) {
            Row(label, value, y);
            y += lh10;
        }
        return y;
    }

    QPaintDevice* device_;
    int margin_, gap_, footer_, top_, width_, height_;
    int page_ = 1;
    std::vector<PrintedText> out_;
};

}  // namespace

QStringList runReportLines(const RunReportData& data)
{
    QStringList lines{
        QStringLiteral("Quenrick"),
        QStringLiteral("Sentrel515 H2S Analyzer Report"),
        QString(),
        QStringLiteral("Lab ID: ") + data.labId,
        QStringLiteral("Sample ID: ") + data.sampleId,
        QStringLiteral("Sample Name: ") + data.sampleName,
        QStringLiteral("Client Name: ") + data.clientName,
        QStringLiteral("Date/Time: ") + data.dateTime,
        hasResultLine(data) ? analysis::resultLabel(data.activeStream) + data.result + QLatin1Char(' ') + data.units
                            : QString(),
    };
    if (data.systemAlarm)
        lines << kAlarmHeading + data.alarmText;
    return lines;
}

bool saveRunReport(const QString& fileName, const RunReportData& data, QString* error)
{
    QByteArray bytes;
    for (const QString& line : runReportLines(data))
        bytes += line.toLatin1() + "\r\n";
    return savefile::WriteWhole(fileName, bytes, error);
}

std::vector<PrintedText> RunReportPrinter::Layout(QPaintDevice* device, const RunReportData& data)
{
    return Layouter(device).Run(data);
}

bool RunReportPrinter::Print(QPrinter& printer, const RunReportData& data, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!printer.isValid())
        return fail(QStringLiteral("no printer is installed"));
    QPainter painter;
    if (!painter.begin(&printer))
        return fail(QStringLiteral("the printer \"%1\" could not be opened").arg(printer.printerName()));
    int page = 1;
    for (const PrintedText& t : Layout(&printer, data)) {
        while (page < t.page) {
            if (!printer.newPage()) {
                painter.end();
                return fail(QStringLiteral("the printer could not start a new page"));
            }
            ++page;
        }
        const QFont font = reportFont(t.pointSize, t.bold);
        painter.setFont(font);
        painter.drawText(t.x, t.top + QFontMetrics(font, &printer).ascent(), t.text);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return fail(QStringLiteral("printing failed"));
    return true;
}
