// Timing of the Events page's data paths: 50,000 events of a wrapped event memory parsed and
// shown in the grid (goal under 1 s) and a filter over them (goal under 200 ms), with the CSV and
// report-file saves of the same rows. Prints its figures.

#include "auditgrid.h"
#include "auditpage.h"
#include "auditview.h"
#include "benchsupport.h"
#include "database.h"
#include "gridfilter.h"
#include "gridtools.h"
#include "loggridview.h"
#include "memoryimage.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Events one minute apart from 1 March 2026, every type and many sub-codes in turn; the memory
// has wrapped a third of the way through.
memimage::Bytes eventMemory(int count)
{
    std::vector<memimage::Bytes> frames;
    frames.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int minutes = i;
        const std::uint32_t t = memimage::token(2026, 3 + minutes / (60 * 24 * 28), 1 + minutes / (60 * 24) % 28,
                                                minutes / 60 % 24, minutes % 60, i % 60);
        frames.push_back(memimage::eventFrame(t, static_cast<std::uint8_t>(i % 13), static_cast<std::uint8_t>(i % 130),
                                              static_cast<std::uint8_t>(i % 2)));
    }
    memimage::Bytes out;
    const int wrap = count / 3;
    for (int i = 0; i < count; ++i) {
        const memimage::Bytes& f = frames[static_cast<std::size_t>((count - wrap + i) % count)];
        out.insert(out.end(), f.begin(), f.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    constexpr int kEvents = 50000;
    DataBase::Instance()->eventMemory = eventMemory(kEvents);
    TfrmAudit page(bench::pageServices());
    page.resize(1000, 600);
    page.show();
    QApplication::processEvents();

    const std::vector<std::uint8_t>& memory = DataBase::Instance()->eventMemory;
    auto t0 = Clock::now();
    const auditrows::Framed parsed = auditrows::FromFrames(memory.data(), memory.size(), nullptr);
    std::printf("%d events parsed and ordered alone: %.0f ms, %zu rows\n", kEvents, msSince(t0), parsed.rows.size());

    t0 = Clock::now();
    page.ShowEvents();
    QApplication::processEvents();
    LogGridView* grid = page.View()->Grid();
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    QApplication::processEvents();
    AuditGridModel* model = page.View()->Model();
    std::printf("%d events (%zu bytes) parsed and shown in the grid: %.0f ms, %d rows (goal < 1000 ms)\n", kEvents,
                DataBase::Instance()->eventMemory.size(), msSince(t0), model->rowCount());

    t0 = Clock::now();
    model->SetColumnFilter(AuditGridModel::colEvent, "Alarm");
    std::printf("text filter over %d rows: %.1f ms, %d rows kept (goal < 200 ms)\n", kEvents, msSince(t0),
                model->rowCount());
    model->ClearFilters();
    t0 = Clock::now();
    model->SetColumnFilter(AuditGridModel::colAlarm, "Stream 2* ^ Battery");
    std::printf("wildcard filter over %d rows: %.1f ms, %d rows kept (goal < 200 ms)\n", kEvents, msSince(t0),
                model->rowCount());
    model->ClearFilters();
    t0 = Clock::now();
    model->SetColumnFilter(AuditGridModel::colTS,
                           gridfilter::RangeCondition(gridfilter::CustomRange(QDate(2026, 3, 10), QDate(2026, 3, 12))));
    std::printf("date filter over %d rows: %.1f ms, %d rows kept (goal < 200 ms)\n", kEvents, msSince(t0),
                model->rowCount());
    model->ClearFilters();

    std::vector<int> columns;
    for (int c = 0; c < AuditGridModel::kColumns; ++c)
        columns.push_back(c);
    QString error;
    t0 = Clock::now();
    if (!gridexport::SaveCsv(dir.filePath("events.csv"), *model, columns, &error))
        std::printf("CSV export failed: %s\n", qPrintable(error));
    std::printf("CSV export of %d rows: %.0f ms\n", kEvents, msSince(t0));
    t0 = Clock::now();
    if (!gridfile::Save(dir.filePath("events.tvau"), *model, &error))
        std::printf("report save failed: %s\n", qPrintable(error));
    std::printf("report file of %d rows saved: %.0f ms\n", kEvents, msSince(t0));
    return 0;
}
