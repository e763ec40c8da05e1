#pragma once

#include "analyzer.h"
#include "pageframe.h"
#include "runreporter.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>

class QPrinter;
class TQCheckBox;
class TQEdit;
class TQImage;
class TQLabel;
class TQLabeledEdit;
class TQPanel;
namespace Ui {
class AnalysisPage;
}

// The analysis page: what the unit is doing now and what it last measured, with the run report.
// Its controls show their points; the handlers below only reformat what the controls received.
// Nothing on the page writes to the unit.
class TfraWW : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraWW(const PageServices& services, QWidget* parent = nullptr);
    ~TfraWW() override;

    // Read-only mode leaves the page as it is: it writes nothing the mode must stop.
    void FollowReadOnly(bool) override {}

    // Page enter: the scan list in the page's order, then the decimal places.
    void RegisterPoints() override;
    ScanIds ScanList() const override;

    // The printer for the run reports and the page's print (not owned; without one, the system's
    // default printer).
    void SetPrinter(QPrinter* printer);

    RunReporter& Reporter() { return reporter_; }
    QString DisplayFormat() const { return displayFormat_; }
    int ActiveStream() const { return activeStream_; }
    bool PageNotEntered() const { return FirstEntry(); }

    // The scan list's order: the name points, then the points of the controls of these names.
    static const QStringList& ScanOrder();

public slots:
    // Queue "Calibrate" for stream 2's run requests; no control calls them.
    void Normal2Click();
    void Cal2Click();
    void Ref2Click();
    void Zero2Click();

protected:
    bool event(QEvent* event) override;

private:
    struct StreamPanel {
        TQPanel* panel = nullptr;
        TQLabel* heading = nullptr;
        TQLabeledEdit* units = nullptr;
        TQLabel* banner = nullptr;
        std::array<TQLabeledEdit*, analyzer::kRunTypes> last{};  // by the unit's run type
        TQLabeledEdit* gain = nullptr;
        TQLabeledEdit* zeroOffset = nullptr;
        std::array<TQLabeledEdit*, analyzer::kRunTypes> schedule{};
    };

    void BuildResultPanel(int stream);
    void BindHandlers();
    void ReadDisplayPlaces();
    void ShowBoxes();
    RunReportData ReportValues() const;
    void PrintPage();

    // Value handlers.
    void LastResultChanged(TQLabeledEdit* field, const QString& value, bool& show);
    void ScheduleChanged(TQLabeledEdit* target, const QString& value, bool& show);
    void StreamNoChanged(const QString& value, bool& show);
    void CurrentAnalysisChanged(const QString& value, bool& show);
    // The name of the current run type on the active stream, as the database holds it.
    void ShowCurrentAnalysisName();
    void StreamCountChanged(const QString& value, bool& show);
    void SystemAlarmChanged(QWidget* sender);

    std::unique_ptr<Ui::AnalysisPage> ui_;
    std::array<StreamPanel, analyzer::kStreams> streams_{};
    QString displayFormat_;
    int activeStream_ = 0;
    QString currentRunType_;  // the last value of the current analysis (run type) point
    RunReporter reporter_;
    QPrinter* printer_ = nullptr;
    std::unique_ptr<QPrinter> defaultPrinter_;
};
