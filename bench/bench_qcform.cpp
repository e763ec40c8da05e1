// The QC form: filling it from the points of a four-stream unit (goal: under 200 ms) and saving
// the four-stream certificate from it (goal: under 1 s). Prints the best and the median of ten.

#include "qcfillmap.h"
#include "qcform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

using namespace qcreport;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::map<int, std::string> points;
    points[kStreamsPointId] = "3";
    points[516] = "0.01";
    points[85] = "1";
    for (const auto& row : GlobalFillRows())
        points[row.pointId] = "12";
    for (const auto& row : StreamFillRows())
        for (int id : row.pointIds)
            points[id] = row.target.rule == FillRule::TrueBox ? "True" : "261";
    for (const auto& run : SwitchingRows())
        for (int id : run.pointIds)
            points[id] = "33025";
    QTemporaryDir dir;
    QCFormServices services;
    services.pointText = [&](int id) {
        const auto it = points.find(id);
        return it == points.end() ? std::string() : it->second;
    };
    services.loggedOn = [] { return true; };
    services.dataDirectory = [&] { return dir.path(); };
    services.guiVersion = [] { return QStringLiteral("bench"); };
    services.programDirectory = [] { return QCoreApplication::applicationDirPath(); };
    // A first run has no data file; its message box would wait for a click.
    WriteQCDocFile(dir.filePath(kQCDocFileName), QCDocData{}, nullptr);
    TQCForm form(services);

    std::vector<double> fill, save;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        form.FormActivate();
        fill.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        const bool ok = form.SaveCertificate(dir.filePath("cert.pdf")) == TQCForm::SaveResult::Saved;
        save.push_back(t.nsecsElapsed() / 1e6);
        if (!ok) {
            std::fprintf(stderr, "the certificate was not saved\n");
            return 1;
        }
    }
    std::sort(fill.begin(), fill.end());
    std::sort(save.begin(), save.end());
    std::printf("fill the QC form (4 streams): best %.2f ms, median %.2f ms (goal < 200 ms)\n", fill[0], fill[5]);
    std::printf("save the 4-stream certificate: best %.2f ms, median %.2f ms (goal < 1000 ms)\n", save[0], save[5]);
    return 0;
}
