#pragma once

#include "reportconfig.h"
#include "runreport.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QPrinter;

// The run report's arming and its decision per run, apart from the page's widgets: the page
// forwards its two boxes' clicks, the run counter's and the run type's values, and shows the
// boxes as Box() says after each change (OnBoxesChanged).
//
// The end of a run is a change of the unit's total run counter. The first counter value the
// page ever receives only records it. A report is due for a run when the report settings'
// "RunType" mask has the bit of the finished run's type (point 391's code), or is 0.
class RunReporter {
public:
    enum Kind { Print = 0, Save = 1 };

    // What the page shows of one report kind: its box, and its remaining count.
    struct BoxView {
        bool checked = false;
        bool countVisible = false;
        QString countText = QStringLiteral("0");
    };

    // configPath: the report settings, by default "ReportConfig.xml" in the current directory.
    explicit RunReporter(QString configPath = QString::fromLatin1(ReportConfigFile::kFileName));
    ~RunReporter();

    // The printer reports go to (not owned); without one, the system's default printer.
    void SetPrinter(QPrinter* printer) { printer_ = printer; }

    // The user checked or unchecked a box. Checking rereads the report settings; settings that
    // are missing or bad are reported and leave the box unchecked. Checking "Save Report" asks for
    // the report files' name (a cancel keeps the last one, at first "Report").
    void PrintBoxClicked(bool checked);
    void SaveBoxClicked(bool checked);

    // A value of the run type (point 391).
    void RunTypeValue(const QString& value);
    // A value of the total run counter (point 29). pageValues gives the page's current texts when
    // a report is due; the reporter adds the report settings' data. A value that is no number is
    // ignored.
    void RunCounterValue(const QString& value, const std::function<RunReportData()>& pageValues);

    const BoxView& Box(Kind kind) const { return boxes_[kind]; }
    std::function<void()> OnBoxesChanged;

    const ReportConfig& Config() const { return config_; }
    QString ReportBaseName() const { return reportBaseName_; }
    bool Armed(Kind kind) const { return armed_[kind]; }
    int Count(Kind kind) const { return count_[kind]; }
    // The file the next saved report goes to.
    QString NextReportFile() const;
    // The existing files that saving under the base name would replace, in the order of their names.
    QStringList ReportFiles(const QString& base) const;

    static constexpr char kSaveCaption[] = "Save As";
    static constexpr char kSaveFilter[] = "RPT File (*.rpt *.RPT)";

private:
    bool ReadConfig(Kind kind);
    bool RunTypeWanted() const;
    void Step(Kind kind, const RunReportData& data);
    bool Produce(Kind kind, const RunReportData& data);
    void Disarm(Kind kind);
    void Changed();
    int Limit(Kind kind) const { return kind == Print ? config_.runLimit : config_.saveLimit; }

    QString configPath_;
    ReportConfig config_;
    QString reportBaseName_ = QStringLiteral("Report");
    BoxView boxes_[2];
    bool armed_[2] = {false, false};
    int count_[2] = {0, 0};
    int lastRunCounter_ = 0;
    int runCounterEvents_ = 0;
    std::optional<int> currentRunType_;
    std::optional<int> runTypeOfRun_;  // the run type while the previous counter value was current
    QPrinter* printer_ = nullptr;
    std::unique_ptr<QPrinter> defaultPrinter_;
};
