// Timing of the archive viewer's data paths: showing 500,000 records in the grid (goal under
// 2 s, resident memory growth under 300 MB), a value filter over them (under 1 s; also over
// records kept as a download keeps them, whose texts are made as the filter reads them), the XML
// archive file of 50,000 records saved (under 3 s) and loaded (under 5 s), and the .xlsx export
// of 50,000 rows (under 5 s). Prints its figures.

#include "archivegridmodel.h"
#include "archivexmlfile.h"
#include "gridfilter.h"
#include "gridtools.h"
#include "logdbmgr.h"
#include "loggridview.h"
#include "timestamptoken.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double rssMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// Log 0 with seven values: what a long download of the "On Run" log files.
void fill(LogDBMgr& db, int records)
{
    const std::uint32_t base = *timestamp::fromDateAndTime(QDate(2012, 1, 1), QTime(0, 0));
    char text[32];
    for (int i = 0; i < records; ++i) {
        auto r = std::make_unique<ALOGPOINTRECORD>();
        r->logIndex = 0;
        r->rawTime = base + static_cast<std::uint32_t>(i % 60) + (static_cast<std::uint32_t>(i / 60 % 60) << 6) +
                     (static_cast<std::uint32_t>(i / 3600 % 24) << 12);
        r->dateTime = timestamp::toDateTime(r->rawTime);
        for (int j = 0; j < 7; ++j) {
            std::snprintf(text, sizeof text, "%d.%02d", (i * 7 + j) % 100, i % 100);
            r->SetValueText(j, text);
        }
        db.AppendRecord(std::move(r));
    }
    db.DistributeRecords();
}

// The same records as a download keeps them: the unit's numbers (floats here), their texts made
// when asked for.
void fillDownloaded(LogDBMgr& db, int records)
{
    const std::uint32_t base = *timestamp::fromDateAndTime(QDate(2012, 1, 1), QTime(0, 0));
    for (int i = 0; i < records; ++i) {
        auto r = std::make_unique<ALOGPOINTRECORD>();
        r->rawTime = base + static_cast<std::uint32_t>(i % 60) + (static_cast<std::uint32_t>(i / 60 % 60) << 6);
        r->dateTime = timestamp::toDateTime(r->rawTime);
        for (int j = 0; j < 7; ++j) {
            const float value = static_cast<float>((i * 7 + j) % 100) + static_cast<float>(i % 100) / 100.0f;
            std::uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            r->SetValue(j, LogValueKind::Float, bits);
        }
        db.AppendRecord(std::move(r));
    }
    db.DistributeRecords();
}

ArchiveXmlFile::LogTable table()
{
    ArchiveXmlFile::LogTable t{};
    t[0] = {0, 1, 0, 1, 8, {0, 392, 393, 21, 21, 21, 21, 21}};
    return t;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    {
        LogDBMgr db;
        const double rss0 = rssMb();
        auto t0 = Clock::now();
        fillDownloaded(db, 500000);
        std::printf("database of 500,000 downloaded records (values kept as numbers): %.0f ms, +%.0f MB resident\n",
                    msSince(t0), rssMb() - rss0);
        ArchiveGridModel model;
        model.ShowLog(db, 0, 500000, 7, {"a", "b", "c", "d", "e", "f", "g"});
        t0 = Clock::now();
        model.SetColumnFilter(4, ">=50 & <60");
        std::printf("value filter over 500,000 downloaded rows: %.0f ms, %d rows kept (goal < 1000 ms)\n", msSince(t0),
                    model.rowCount());
        model.Clear();
    }
    {
        LogDBMgr db;
        const double rss0 = rssMb();
        auto t0 = Clock::now();
        fill(db, 500000);
        const double dbMs = msSince(t0);
        const double rss1 = rssMb();

        t0 = Clock::now();
        ArchiveGridModel model;
        LogGridView view;
        view.resize(1000, 600);
        view.SetTable(&model);
        model.ShowLog(db, 0, 500000, 7, {"a", "b", "c", "d", "e", "f", "g"});
        view.show();
        QApplication::processEvents();
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
        QApplication::processEvents();
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
        QApplication::processEvents();
        const double gridMs = msSince(t0);
        const double rss2 = rssMb();
        std::printf("database of 500,000 records: %.0f ms, +%.0f MB resident\n", dbMs, rss1 - rss0);
        std::printf(
            "grid of 500,000 records shown and scrolled: %.0f ms, +%.0f MB resident (goal < 2000 ms, < 300 MB)\n",
            gridMs, rss2 - rss1);

        t0 = Clock::now();
        model.SetColumnFilter(4, ">=50 & <60");  // value 1 of every record
        std::printf("value filter over 500,000 rows: %.0f ms, %d rows kept (goal < 1000 ms)\n", msSince(t0),
                    model.rowCount());
        model.ClearFilters();
        t0 = Clock::now();
        model.SetColumnFilter(ArchiveGridModel::colTS, gridfilter::RangeCondition(gridfilter::CustomRange(
                                                           QDate(2012, 1, 1), QDate(2012, 1, 1))));
        std::printf("date filter over 500,000 rows: %.0f ms, %d rows kept\n", msSince(t0), model.rowCount());
        model.ClearFilters();
        model.Clear();
    }

    LogDBMgr db;
    fill(db, 50000);
    const ArchiveXmlFile::LogTable logs = table();
    const auto name = [](std::uint16_t id) { return QStringLiteral("Point %1").arg(id); };
    const QString xmlPath = dir.filePath("archive.xml");
    auto t0 = Clock::now();
    QString error;
    if (!ArchiveXmlFile::Write(xmlPath, db, logs, name, &error))
        std::printf("XML save failed: %s\n", qPrintable(error));
    std::printf("XML save of 50,000 records: %.0f ms, %lld bytes (goal < 3000 ms)\n", msSince(t0),
                static_cast<long long>(QFile(xmlPath).size()));

    t0 = Clock::now();
    std::optional<ArchiveXmlFile::Contents> contents = ArchiveXmlFile::Read(xmlPath, &error);
    LogDBMgr loaded;
    ArchiveXmlFile::LogTable loadedLogs{};
    if (contents)
        ArchiveXmlFile::Apply(std::move(*contents), loaded, loadedLogs);
    std::printf("XML load of 50,000 records: %.0f ms, %zu records (goal < 5000 ms)\n", msSince(t0),
                loaded.RecordCount());

    ArchiveGridModel model;
    model.ShowLog(db, 0, 50000, 7, {"a", "b", "c", "d", "e", "f", "g"});
    t0 = Clock::now();
    std::vector<int> columns;
    for (int c = 0; c < ArchiveGridModel::kColumns; ++c)
        columns.push_back(c);
    if (!gridexport::SaveXlsx(dir.filePath("archive.xlsx"), model, columns, &error))
        std::printf("xlsx export failed: %s\n", qPrintable(error));
    std::printf(".xlsx export of 50,000 rows: %.0f ms (goal < 5000 ms)\n", msSince(t0));
    return 0;
}
