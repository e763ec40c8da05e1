#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QPaintDevice;
class QPrinter;

// One run report: the laboratory data of the report settings, the unit's clock and the active
// stream's last H2S result as the analysis page shows them, and the system alarm.
struct RunReportData {
    QString labId;
    QString sampleId;
    QString sampleName;
    QString clientName;
    QString dateTime;      // as the page shows the unit's clock
    int activeStream = 0;  // 1..4; 0 (or anything else): no result line
    QString result;        // the active stream's last H2S result, as shown
    QString units;         // that stream's analysis units
    bool systemAlarm = false;
    QString alarmText;  // the alarm's text, which begins with a blank
};

// The report's text lines, without line ends.
QStringList runReportLines(const RunReportData& data);

// Writes the lines to fileName (replaced whole), each ended by carriage return and line feed,
// in the unit's 8-bit characters. False with *error set when the file cannot be written; a
// previous file of that name is then left as it was.
bool saveRunReport(const QString& fileName, const RunReportData& data, QString* error);

// The printed report: where each text goes, in the device units of the paint device it is laid
// out for. The layout's constants (margin 40, gap 20, footer 200, top 205) are the units of a
// 600 dpi printer and scale with the device's resolution, so the page looks the same on any.
struct PrintedText {
    int page = 1;
    int x = 0;
    int top = 0;  // top of the text's line
    QString text;
    int pointSize = 10;
    bool bold = false;
};

class RunReportPrinter {
public:
    static std::vector<PrintedText> Layout(QPaintDevice* device, const RunReportData& data);

    // Prints one document on the printer. False with *error set when the printer cannot be
    // opened or fails; nothing is thrown.
    static bool Print(QPrinter& printer, const RunReportData& data, QString* error);
};
