// Timing of the archive chart: a column of 100,000 rows plotted, from the click on "Graph
// Selected Column" to the chart drawn (goal under 1 s), and a zoom step on it, zoom in or undo,
// drawn (goal under 100 ms). Offscreen; prints its figures.

#include "archivechart.h"
#include "archivegridmodel.h"
#include "archiveviewer.h"
#include "benchsupport.h"
#include "loggridview.h"

#include <QApplication>
#include <QLineSeries>
#include <QToolButton>
#include <QValueAxis>

#include <cmath>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kRows = 100000;

    TfraArchiveViewer viewer(bench::pageServices());
    viewer.resize(1024, 640);
    viewer.show();
    std::vector<QStringList> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows.push_back({QString::number(i + 1), "On Run", "1/2/2012 10:00:00 AM",
                        QString::number(100 + 10 * std::sin(i / 500.0) + (i % 7) * 0.1, 'f', 3)});
    viewer.GridModel()->ShowCells({"Seq", "Log Name", "Timestamp", "Gain"}, std::move(rows));
    LogGridView* grid = viewer.Grid();
    auto* button = viewer.findChild<QToolButton*>("btnGraphSelCol");
    TArchiveChart* chart = viewer.Chart();

    const double plotMs = bench::medianMs(5, [&] {
        grid->setCurrentIndex(grid->model()->index(0, 3));
        grid->selectionModel()->select(QItemSelection(grid->model()->index(0, 3), grid->model()->index(kRows - 1, 3)),
                                       QItemSelectionModel::ClearAndSelect);
        button->click();
        QApplication::processEvents();
        chart->grab();
    });
    std::printf("plot %d points, click to drawn: %.1f ms (goal < 1000 ms); %d plotted, %d drawn\n", kRows, plotMs,
                static_cast<int>(chart->Points().size()), static_cast<int>(chart->Series(0)->count()));

    const QPointF centre((chart->AxisX()->min() + chart->AxisX()->max()) / 2,
                         (chart->AxisY()->min() + chart->AxisY()->max()) / 2);
    const double zoomMs = bench::medianMs(9, [&] {
        chart->ClickZoom(centre);
        chart->grab();
    });
    const double undoMs = bench::medianMs(9, [&] {
        chart->mnuUndoLastZoomClick();
        chart->grab();
    });
    std::printf("zoom step drawn: in %.1f ms, undo %.1f ms (goal < 100 ms)\n", zoomMs, undoMs);
    const double autoMs = bench::medianMs(5, [&] {
        chart->mnuShowEntireGraphClick();
        chart->tbtnAutoScaleClick();
        chart->grab();
    });
    std::printf("entire graph then auto-scale drawn: %.1f ms\n", autoMs);
    return 0;
}
