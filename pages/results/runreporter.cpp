#include "runreporter.h"

#include "dialogservice.h"
#include "numbertext.h"
#include "resultnumbers.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <algorithm>
#include <cmath>

RunReporter::RunReporter(QString configPath) : configPath_(std::move(configPath)) {}

RunReporter::~RunReporter() = default;

QString RunReporter::NextReportFile() const
{
    return reportBaseName_ + QString::number(count_[Save]) + QStringLiteral(".rpt");
}

QStringList RunReporter::ReportFiles(const QString& base) const
{
    // The arming writes the numbers 0 to the save limit less one (a limit of 0 or less: 0 alone).
    // A limit may be large: the folder is listed, not every name tried; the base is compared as
    // text, as it may hold a pattern's characters.
    const QFileInfo info(base);
    const QString prefix = info.fileName();
    const QDir folder = info.absoluteDir();
    const int limit = std::max(config_.saveLimit, 1);
    QStringList files;
    const QStringList names =
        folder.entryList({QStringLiteral("*.rpt")}, QDir::Files | QDir::Hidden | QDir::CaseSensitive, QDir::Name);
    for (const QString& name : names) {
        if (!name.startsWith(prefix))
            continue;
        const QString number = name.mid(prefix.size(), name.size() - prefix.size() - 4);
        bool ok = false;
        const int n = number.toInt(&ok);
        if (ok && n >= 0 && n < limit && number == QString::number(n))
            files << folder.filePath(name);
    }
    return files;
}

bool RunReporter::ReadConfig(Kind kind)
{
    const auto result = ReportConfigFile::Read(configPath_, config_);
    if (result.status != ReportConfigFile::Status::Read) {
        const QString what = kind == Print ? QStringLiteral("printed") : QStringLiteral("saved");
        DialogService::warn(
            result.status == ReportConfigFile::Status::Missing
                ? QStringLiteral("The report settings file \"%1\" was not found. No run reports will be %2.")
                      .arg(QFileInfo(configPath_).absoluteFilePath(), what)
                : QStringLiteral("The report settings file \"%1\" could not be read: %2. No run reports will be %3.")
                      .arg(QFileInfo(configPath_).absoluteFilePath(), result.problem, what));
        return false;
    }
    const bool limitRead = kind == Print ? result.runLimitRead : result.saveLimitRead;
    if (limitRead) {
        boxes_[kind].countVisible = Limit(kind) != 0;
        boxes_[kind].countText = QString::number(Limit(kind));
    }
    return true;
}

void RunReporter::PrintBoxClicked(bool checked)
{
    boxes_[Print].checked = checked;
    if (!checked) {
        armed_[Print] = false;
    } else if (!ReadConfig(Print)) {
        Disarm(Print);
    } else {
        count_[Print] = 0;
        armed_[Print] = true;
    }
    Changed();
}

void RunReporter::SaveBoxClicked(bool checked)
{
    boxes_[Save].checked = checked;
    if (!checked) {
        armed_[Save] = false;
    } else if (!ReadConfig(Save)) {
        Disarm(Save);
    } else {
        const QString name = DialogService::chooseSaveFile({QString::fromLatin1(kSaveCaption),
                                                            QString(),
                                                            QString::fromLatin1(kSaveFilter),
                                                            QString(),
                                                            [this](const QString& base) { return ReportFiles(base); },
                                                            {}});
        if (!name.isEmpty())
            reportBaseName_ = name;
        count_[Save] = 0;
        armed_[Save] = true;
    }
    Changed();
}

void RunReporter::RunTypeValue(const QString& value)
{
    const auto code = numtext::tryStrToInt64(value);
    if (code && *code >= 0 && *code < 31)
        currentRunType_ = static_cast<int>(*code);
    else
        currentRunType_.reset();
}

bool RunReporter::RunTypeWanted() const
{
    const auto mask = numtext::tryStrToInt64(config_.runType).value_or(0);
    if (mask == 0)
        return true;
    return runTypeOfRun_ && (mask & (std::int64_t(1) << *runTypeOfRun_)) != 0;
}

void RunReporter::RunCounterValue(const QString& value, const std::function<RunReportData()>& pageValues)
{
    const auto number = numtext::tryStrToInt64(value);
    if (!number)
        return;
    if (runCounterEvents_ > 10)
        runCounterEvents_ = 1;
    const bool due = *number != lastRunCounter_ && runCounterEvents_ > 0 && RunTypeWanted();

    const bool before[2] = {boxes_[Print].checked, boxes_[Save].checked};
    std::optional<RunReportData> data;
    for (Kind kind : {Print, Save}) {
        // A limit of 0 re-arms at every run, so each check of the box gives one report.
        if (Limit(kind) == 0)
            armed_[kind] = true;
        if (due && armed_[kind] && boxes_[kind].checked) {
            if (!data) {
                data = pageValues();
                data->labId = config_.labId;
                data->sampleId = config_.sampleId;
                data->sampleName = config_.sampleName;
                data->clientName = config_.clientName;
            }
            Step(kind, *data);
        }
    }
    lastRunCounter_ = static_cast<int>(*number);
    runTypeOfRun_ = currentRunType_;
    ++runCounterEvents_;
    if (data || before[Print] != boxes_[Print].checked || before[Save] != boxes_[Save].checked)
        Changed();
}

void RunReporter::Step(Kind kind, const RunReportData& data)
{
    if (!Produce(kind, data))
        return;
    ++count_[kind];
    boxes_[kind].countText = QString::number(Limit(kind) - count_[kind]);
    if (count_[kind] >= Limit(kind)) {
        Disarm(kind);
        count_[kind] = 0;
    }
}

bool RunReporter::Produce(Kind kind, const RunReportData& data)
{
    QString error;
    if (kind == Save) {
        const QString file = NextReportFile();
        if (saveRunReport(file, data, &error))
            return true;
        DialogService::warn(QStringLiteral("The run report could not be saved to \"%1\": %2").arg(file, error));
        return false;
    }
    QPrinter* printer = printer_;
    if (!printer) {
        if (!defaultPrinter_)
            defaultPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = defaultPrinter_.get();
    }
    if (RunReportPrinter::Print(*printer, data, &error))
        return true;
    // A printer that failed once fails at every run: stop printing until the user arms it again.
    Disarm(Print);
    DialogService::warn(
        QStringLiteral("The run report could not be printed: %1. Printing of run reports has been stopped.")
            .arg(error));
    return false;
}

void RunReporter::Disarm(Kind kind)
{
    armed_[kind] = false;
    boxes_[kind].checked = false;
    boxes_[kind].countVisible = false;
}

void RunReporter::Changed()
{
    if (OnBoxesChanged)
        OnBoxesChanged();
}
