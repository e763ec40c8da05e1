#include "qcpages.h"

#include "analyzer.h"
#include "qcfillmap.h"
#include "qcform.h"
#include "qcreportframe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace qcreport {

namespace {

class Controls {
public:
    explicit Controls(const TQCForm& form) : form_(form) {}

    QString text(const QString& name) const
    {
        if (auto* edit = form_.findChild<QLineEdit*>(name))
            return edit->text();
        if (auto* combo = form_.findChild<QComboBox*>(name))
            return combo->currentText();
        throw std::runtime_error("the form has no control " + name.toStdString());
    }
    bool checked(const QString& name) const
    {
        if (auto* box = form_.findChild<QCheckBox*>(name))
            return box->isChecked();
        throw std::runtime_error("the form has no check box " + name.toStdString());
    }
    QString yesNo(const QString& name) const { return checked(name) ? "Yes" : "No"; }
    QString cell(const QString& grid, int row) const { return form_.GridCell(grid.toLatin1().constData(), row); }

private:
    const TQCForm& form_;
};

QString startDirectory(const TQCForm& form)
{
    auto& services = const_cast<TQCForm&>(form).services();
    return services.programDirectory ? services.programDirectory() : QString();
}

}  // namespace

int DrawQCFirstPage(const TQCForm& form, DebenuPDFLibraryDLL1212& pdf, int pageIndex)
{
    const Controls c(form);
    const int page = DrawQCPageFrame(pdf, pageIndex, true, startDirectory(form));

    DrawQCSectionTitle(pdf, 30, 76, "Customer Information");
    QCTableLayout customer;
    customer.rows = 3;
    customer.columns = 2;
    customer.columnWidths = {{1, 1, 100}, {2, 2, 430}};
    customer.labels({1, 1, 3, 1});
    const char* customerLabels[] = {"Customer", "P.O.No.", "S.O.No."};
    for (int row = 0; row < 3; ++row) {
        customer.cell(row + 1, 1, customerLabels[row]);
        customer.cell(row + 1, 2, c.cell("aGridCustomerInfor", row));
    }
    DrawQCTable(pdf, customer, 82, 100);

    DrawQCSectionTitle(pdf, 30, 162, "Analyzer, Sensor Serial Number, Software/Firmware Revisions");
    QCTableLayout versions;
    versions.rows = 4;
    versions.columns = 4;
    versions.columnWidths = {{1, 1, 100}, {2, 2, 150}, {3, 3, 150}, {4, 4, 130}};
    versions.labels({1, 1, 4, 1});
    versions.labels({1, 3, 4, 3});
    const struct {
        const char* left;
        int leftRow;
        const char* right;
        int rightRow;
    } versionRows[] = {{"Analyzer S.N.", 0, "Sensor S.N.", 4},
                       {"GUI Version", 1, "Firmware Version", 5},
                       {"Ridovaz Version", 2, "Sensor Firmware Version", 6},
                       {"Tag Number", 3, "", -1}};
    for (int i = 0; i < 4; ++i) {
        const auto& r = versionRows[i];
        versions.cell(i + 1, 1, r.left);
        versions.cell(i + 1, 2, c.cell("aGridVersions", r.leftRow));
        versions.cell(i + 1, 3, r.right);
        versions.cell(i + 1, 4, r.rightRow < 0 ? QString() : c.cell("aGridVersions", r.rightRow));
    }
    DrawQCTable(pdf, versions, 168, 100);

    DrawQCSectionTitle(pdf, 30, 268, "Included Options");
    QCTableLayout options;
    options.rows = 6;
    options.columns = 4;
    options.rowHeight = 20;
    options.columnWidths = {{1, 1, 210}, {2, 2, 50}, {3, 3, 210}, {4, 4, 50}};
    options.labels({1, 1, 6, 1});
    options.labels({1, 3, 6, 3});
    options.values({1, 2, 6, 2});
    options.values({1, 4, 6, 4});
    const char* left[][2] = {{"txtSampleSystem", "chkSampleSystem"},
                             {"txtTotalSulphur", "chkTotalSulfur"},
                             {"txtAutoCalSol", "chkAutoCalSol"},
                             {"txtOption4", "chkOption4"},
                             {"txtOption5", "chkOption5"}};
    const char* right[][2] = {{"txtEnclosure", "chkEnclosure"},
                              {"txtH2PressTransducer", "chkH2PressTansducer"},
                              {"txtSamplePressSwitch", "chkSamplePressSwitch"},
                              {"txtOption6", "chkOption6"},
                              {"txtOption7", "chkOption7"}};
    for (int i = 0; i < 5; ++i) {
        options.cell(i + 1, 1, c.text(left[i][0]));
        options.cell(i + 1, 3, c.text(right[i][0]));
    }
    options.cell(6, 1, "Set Inlet Pressure To");
    options.cell(6, 2, c.text("txtSetInletPressureTo"));
    const int optionTable = DrawQCTable(pdf, options, 274, 130);
    for (int i = 0; i < 5; ++i)
        DrawCellCheckField(pdf, optionTable, i + 1, 2, left[i][1], c.yesNo(left[i][1]));
    for (int i = 0; i < 5; ++i)
        DrawCellCheckField(pdf, optionTable, i + 1, 4, right[i][1], c.yesNo(right[i][1]));

    DrawQCSectionTitle(pdf, 30, 424, c.text("TSFMSU"));
    UseStandardFont(pdf, kTextFont);
    SetTextColor(pdf, kBlack);
    const int h = int(pdf.GetTextHeight());
    const auto valueLine = [&](double y, const QString& label, const QString& value) {
        pdf.DrawText(50, y, label);
        const int w = int(pdf.GetTextWidth(label));
        const int box = DrawValueBox(pdf, 50 + w, y - h, value, 1);
        pdf.DrawText(50 + w + box + 5, y, " On Tube Scale.");
    };
    valueLine(444, "Sample Set At ", c.text("txtSampleSetAt"));
    valueLine(464, c.text("txtHydrogen") + " Set At ", c.text("txtHydrogenSetAt"));

    DrawQCSectionTitle(pdf, 30, 494, "Global Setting");
    QCTableLayout global;
    global.rows = 12;
    global.columns = 2;
    global.rowHeight = 20;
    global.columnWidths = {{1, 1, 265}, {2, 2, 260}};
    global.labels({1, 1, 12, 1});
    global.values({1, 2, 12, 2});
    global.cell(1, 1, "Area Classification");
    global.cell(1, 2, c.text("txtAreaClass"));
    global.cell(2, 1, "Voltage Input");
    global.cell(2, 2, c.text("cmbVoltageInput"));
    const char* globalLabels[] = {"Synchronize The Analyzer Time And Date",
                                  "Aperture Strip Size",
                                  "Capstan Diameter",
                                  "Number Of Pulses On Tape Advance",
                                  "Live Sensor LED Current",
                                  "Amount Of Tape Used Reset",
                                  "Calibrate The Analog outputs",
                                  "Wipe Archive Logs Before Shipping",
                                  "Furnace Pulse Width"};
    for (int row = 0; row < 9; ++row) {
        global.cell(row + 3, 1, globalLabels[row]);
        global.cell(row + 3, 2, c.cell("gridGlobalSetting", row));
    }
    global.cell(12, 1, "Furnace Thermocouple Offset Temperature");
    global.cell(12, 2, c.text("txtAI3"));
    DrawQCTable(pdf, global, 500, 250);

    SetTextColor(pdf, kSectionBlue);
    UseStandardFont(pdf, kTextFont);
    pdf.SetTextSize(12);
    pdf.DrawText(30, 760, "Note:Actual tube temperature is approximately 150 degree C higher.");
    return page;
}

int DrawQCStreamPage(const TQCForm& form, DebenuPDFLibraryDLL1212& pdf, int pageIndex, int stream)
{
    const Controls c(form);
    const QString k = QString::number(stream);
    const QString s = stream == 1 ? QString() : k;
    const int page = DrawQCPageFrame(pdf, pageIndex, false, startDirectory(form));
    DrawQCSectionTitle(pdf, 30, 76, QStringLiteral("Stream #%1 Setting").arg(stream));

    QCTableLayout settings;
    settings.rows = 6;
    settings.columns = 4;
    settings.columnWidths = {{1, 1, 180}, {2, 2, 80}, {3, 3, 180}, {4, 4, 80}};
    settings.labels({1, 1, 6, 1});
    settings.labels({1, 3, 6, 3});
    settings.values({1, 2, 6, 2});
    settings.values({1, 4, 6, 4});
    const QString tsc = "gridStreamTSC" + k;
    settings.cell(1, 1, "Analysis Type");
    settings.cell(1, 2, c.text("cmbAnalysisType" + k));
    settings.cell(1, 3, "Sample Delay / Interval (sec)");
    settings.cell(1, 4, c.cell(tsc, 0) + "/" + c.cell(tsc, 1));
    const char* tscLabels[] = {"H2S", "Total Shlphur", "Calibration", "Reference 1", "Reference 2", "Zero"};
    for (int i = 0; i < analyzer::kRunTypes; ++i) {
        const int row = 2 + i / 2;
        const int column = i % 2 ? 3 : 1;
        settings.cell(row, column,
                      QStringLiteral("TSC(mV) for %1 Run<br>(Disabled in Timed Analysis)").arg(tscLabels[i]));
        settings.cell(row, column + 1, c.cell(tsc, 2 + i));
    }
    settings.cell(5, 1, "Analog Output Override 1");
    settings.cell(5, 3, "Analog Output Override 2");
    settings.cell(6, 1, "H2S High High Alarm Duration(s)");
    settings.cell(6, 2, c.text("txtH2SHighHighAlarmDuration" + k));
    settings.cell(6, 3, "T.S. High High Alarm Duration(s)");
    settings.cell(6, 4, c.text("txtTSHighHighAlarmDuration" + k));
    const int settingsTable = DrawQCTable(pdf, settings, 82, 160);
    DrawCellCheckField(pdf, settingsTable, 5, 2, "chkAOOverride1_1",
                       c.yesNo(QStringLiteral("chkAOOverride%1_1").arg(stream)));
    DrawCellCheckField(pdf, settingsTable, 5, 4, "chkAOOverride1_2",
                       c.yesNo(QStringLiteral("chkAOOverride%1_2").arg(stream)));

    QCTableLayout alarms;
    alarms.rows = 7;
    alarms.columns = 5;
    alarms.columnWidths = {{1, 1, 50}, {2, 2, 180}, {3, 3, 80}, {4, 4, 100}, {5, 5, 100}};
    alarms.labels({1, 1, 1, 5});
    alarms.values({2, 1, 7, 5});
    const char* heads[] = {"Enable", "Alarm Description", "Limit", "Relay #", "Solenoid #"};
    for (int col = 0; col < 5; ++col)
        alarms.cell(1, col + 1, heads[col]);
    const struct {
        const char* field;
        const char* box;
        const char* caption;
    } alarmRows[] = {{"H2SHigh", "chkH2SHighAlarm", "H2S High Alarm"},
                     {"H2SDev", "chkH2SDev", "H2S % Deviation"},
                     {"H2SHighHigh", "chkH2SHighHightAlarm", "H2S High High Alarm"},
                     {"TSHigh", "chkTSHighAlarm", "T.S. High Alarm"},
                     {"TSDev", "chkTSDev", "T.S. % Deviation"},
                     {"TSHighHigh", "chkTSHighHighAlarm", "T.S. High High Alarm"}};
    for (int j = 0; j < 6; ++j) {
        alarms.cell(j + 2, 2, alarmRows[j].caption);
        alarms.cell(j + 2, 3, c.cell("gridAlarmSetpoint" + k, j));
        alarms.cell(j + 2, 4, c.text(QStringLiteral("txtRelay%1_%2").arg(stream).arg(j + 1)));
        alarms.cell(j + 2, 5, c.text(QStringLiteral("txtSolenoid%1_%2").arg(stream).arg(j + 1)));
    }
    const int alarmTable = DrawQCTable(pdf, alarms, 242, 170);
    for (int j = 0; j < 6; ++j)
        DrawCellCheckField(pdf, alarmTable, j + 2, 1, alarmRows[j].field, c.yesNo(alarmRows[j].box + k));

    QCTableLayout switching;
    switching.rows = 8;
    switching.columns = 15;
    switching.columnWidths = {{1, 1, 50}, {2, 15, 33}};
    switching.alignments = {{{1, 1, 2, 15}, 4}, {{1, 1, 8, 1}, 4}, {{3, 2, 8, 15}, 3}};
    switching.greyBlocks = {{1, 1, 8, 1}, {1, 2, 2, 15}};
    switching.merges = {{1, 2, 1, 7}, {1, 8, 1, 15}, {1, 1, 2, 1}};
    switching.cell(1, 2, "Switching Relays");
    switching.cell(1, 8, "Switching Solenoids");
    for (int n = 1; n <= analyzer::kRelays; ++n)
        switching.cell(2, n + 1, QString::number(n));
    for (int n = 1; n <= analyzer::kSolenoids; ++n)
        switching.cell(2, n + 7, QString::number(n));
    const char* runLabels[] = {"H2S", "T.S.", "Cal.", "Ref1", "Ref2", "Zero"};
    for (int r = 0; r < analyzer::kRunTypes; ++r)
        switching.cell(r + 3, 1, runLabels[r]);
    const int switchingTable = DrawQCTable(pdf, switching, 382, 150);
    const auto& runs = SwitchingRows();
    for (int r = 0; r < analyzer::kRunTypes; ++r)
        for (int n = 1; n <= analyzer::kRelays + analyzer::kSolenoids; ++n) {
            const bool relay = n <= analyzer::kRelays;
            const QString box =
                SwitchingBoxName(runs[std::size_t(r)].run, stream, relay, relay ? n : n - analyzer::kRelays);
            if (!c.checked(box))
                continue;
            // Stream 1's first box has kept the names its field always had.
            if (stream == 1 && r == 0 && n == 1)
                DrawCellRadioField(pdf, switchingTable, r + 3, n + 1, "PH2R1", "NH2SR1");
            else
                DrawCellRadioField(pdf, switchingTable, r + 3, n + 1, box, box);
        }

    DrawQCSectionTitle(pdf, 30, 552, QStringLiteral("Stream %1 Final Check and  Calibration").arg(stream));
    DrawCheckField(pdf, 50, 567, "chkLeakTested" + s, c.yesNo("chkLeakTested" + s));
    UseStandardFont(pdf, kTextFont);
    pdf.DrawText(65, 577, "Complete analyzer System leak tested at 15 psig.");
    QString label = "Primary calibration with ";
    pdf.DrawText(65, 597, label);
    const int h = int(pdf.GetTextHeight());
    int w = int(pdf.GetTextWidth(label));
    const int b1 = DrawValueBox(pdf, 30 + w + 35, 597 - h, c.text("txtPrimaryCalWith" + s), 1);
    const int b2 =
        DrawValueBox(pdf, 30 + w + b1 + 37, 597 - h, c.text(QStringLiteral("txtUnit%1%2").arg(stream).arg(1)), 0);
    const int b3 = DrawValueBox(pdf, 30 + w + b1 + b2 + 39, 597 - h, c.text("txtPrimaryCal" + s), 1);
    DrawValueBox(pdf, 30 + w + b1 + b2 + b3 + 41, 597 - h, c.text(QStringLiteral("txtUnit%1%2").arg(stream).arg(2)), 0);
    label = "Charted for ";
    pdf.DrawText(65, 617, label);
    w = int(pdf.GetTextWidth(label));
    const int hours = DrawValueBox(pdf, 30 + w + 35, 617 - h, c.text("txtChartHours" + s), 1);
    pdf.DrawText(30 + w + hours + 40, 617, " hours Chart included.");
    const struct {
        int y;
        const char* label;
        QString control;
    } gains[] = {{637, "H2S Gain ", "txtH2SGain" + s}, {657, "Total Sulphur Gain ", "txtTotalSulphurFinal" + s}};
    for (const auto& g : gains) {
        pdf.DrawText(65, g.y, g.label);
        w = int(pdf.GetTextWidth(g.label));
        DrawValueBox(pdf, 30 + w + 35, g.y - h, c.text(g.control), 1);
    }
    return page;
}

int DrawQCLastPage(const TQCForm& form, DebenuPDFLibraryDLL1212& pdf, int pageIndex)
{
    const Controls c(form);
    int page = DrawQCPageFrame(pdf, pageIndex, false, startDirectory(form));
    DrawQCSectionTitle(pdf, 30, 76, "Solenoid Designation");
    QCTableLayout outputs;
    outputs.rows = 8;
    outputs.columns = 4;
    outputs.columnWidths = {{1, 1, 60}, {2, 2, 180}, {3, 3, 60}, {4, 4, 180}};
    outputs.labels({1, 1, 8, 1});
    outputs.labels({1, 3, 8, 3});
    outputs.values({1, 2, 8, 2});
    outputs.values({1, 4, 8, 4});
    for (int n = 1; n <= analyzer::kSolenoids; ++n) {
        outputs.cell(n, 1, QStringLiteral("sol.%1").arg(n));
        outputs.cell(n, 2, c.cell("gridOutput", n - 1));
        if (n <= analyzer::kRelays) {
            outputs.cell(n, 3, QStringLiteral("relay %1").arg(n));
            outputs.cell(n, 4, c.cell("gridOutput", n + 7));
        }
    }
    const int outputTable = DrawQCTable(pdf, outputs, 82, 150);
    constexpr int kCellLeft = 101;  // the library's tag for a drawn cell's left edge
    DrawQCSectionTitle(pdf, int(pdf.GetTableCellDblProperty(outputTable, 1, 3, kCellLeft)), 76, "Relay Designation");

    DrawQCSectionTitle(pdf, 30, 248, "Analog Output Designation");
    QCTableLayout ao;
    ao.rows = 4;
    ao.columns = 6;
    ao.columnWidths = {{1, 1, 50}, {2, 2, 145}, {3, 3, 60}, {4, 4, 50}, {5, 5, 145}, {6, 6, 60}};
    ao.alignments = {{{1, 1, 4, 1}, 4}, {{1, 4, 4, 4}, 4}, {{1, 2, 4, 3}, 3}, {{1, 5, 4, 6}, 3}};
    ao.greyBlocks = {{1, 1, 4, 1}, {1, 4, 4, 4}, {1, 1, 1, 6}};
    ao.cell(1, 2, "Description");
    ao.cell(1, 3, "Range");
    ao.cell(1, 5, "Description");
    ao.cell(1, 6, "Range");
    for (int n = 1; n <= 6; ++n) {
        const int row = 2 + (n - 1) / 2;
        const int column = n % 2 ? 1 : 4;
        ao.cell(row, column, QStringLiteral("AO #%1").arg(n));
        ao.cell(row, column + 1, c.text(QStringLiteral("txtAODescription%1").arg(n)));
        ao.cell(row, column + 2, c.text(QStringLiteral("txtAORange%1").arg(n)));
    }
    DrawQCTable(pdf, ao, 254, 90);

    DrawQCSectionTitle(pdf, 30, 354, "Calibration Technician: ");
    SetTextColor(pdf, kBlack);
    const int w = int(pdf.GetTextWidth("Calibration Technician: "));
    const int h = int(pdf.GetTextHeight());
    UseStandardFont(pdf, kTextFont);
    DrawValueBox(pdf, 30 + w, 354 - h, c.text("txtTechnician"), 0);
    DrawQCSectionTitle(pdf, 30, 372, "Date of Calibration: ");
    const int wDate = int(pdf.GetTextWidth("Date of Calibration: "));
    SetTextColor(pdf, kBlack);
    UseStandardFont(pdf, kTextFont);
    DrawValueBox(pdf, 30 + wDate, 372 - h, c.text("txtCalDate"), 0);

    DrawQCSectionTitle(pdf, 30, 397, "Special Configuration Notes: ");
    SetTextColor(pdf, kBlack);
    UseStandardFont(pdf, kTextFont);
    // Long notes wrap at the right margin and go on over further pages: nothing is cut off.
    const auto* memo = form.findChild<QPlainTextEdit*>("Memo1");
    const QStringList lines = memo ? memo->toPlainText().split(QLatin1Char('\n')) : QStringList();
    const double right = pdf.PageWidth() - 30;
    const double bottom = pdf.PageHeight() - 60;
    const double lineHeight = std::max(12.0, pdf.GetTextHeight() + 2);
    double y = 415;
    const auto put = [&](const QString& line) {
        if (y > bottom) {
            page = DrawQCPageFrame(pdf, page, false, startDirectory(form));
            DrawQCSectionTitle(pdf, 30, 76, "Special Configuration Notes (continued): ");
            SetTextColor(pdf, kBlack);
            UseStandardFont(pdf, kTextFont);
            y = 100;
        }
        pdf.DrawText(50, y, line);
        y += lineHeight;
    };
    if (!(lines.size() == 1 && lines.front().isEmpty()))
        for (const QString& line : lines) {
            QString rest = line;
            while (!rest.isEmpty() && 50 + pdf.GetTextWidth(rest) > right) {
                // The longest head that fits, broken at a blank where there is one.
                int fit = rest.size() - 1;
                while (fit > 1 && 50 + pdf.GetTextWidth(rest.left(fit)) > right)
                    --fit;
                const int blank = rest.left(fit + 1).lastIndexOf(QLatin1Char(' '));
                const int cut = blank > 0 ? blank : fit;
                put(rest.left(cut));
                rest = rest.mid(cut).trimmed();
            }
            put(rest);
        }
    return page;
}

}  // namespace qcreport
