// Saving and opening the whole configuration: 977 points, the Modbus map, the log records and
// both blocks. Prints its figures; goal: each under 50 ms.
#include "benchsupport.h"
#include "configfile.h"
#include "database.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::NoLink link;
    CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));
    DataBase* db = DataBase::Instance();
    for (int i = 0; i < db->GetPointCount(); ++i)
        if (DatabasePoint* p = db->GetPointByIndex(i); p && p->GetType() != 13)
            p->SetAndNotify(std::to_string(i % 100));
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.cfg");

    bool ok = true;
    const double save = bench::medianMs(30, [&] { ok = SaveConfigurationFile(path) && ok; });
    int loaded = 0;
    const double load = bench::medianMs(30, [&] { ok = LoadConfigurationFile(path, &loaded) == 0 && ok; });
    std::printf("save of the full configuration: median %.2f ms (goal < 50 ms)\n", save);
    std::printf("open of the full configuration (%d points): median %.2f ms (goal < 50 ms)\n", loaded, load);
    DataBase::ReleaseInstance();
    CommDBPointFacade::ReleaseInstance();
    return ok ? 0 : 1;
}
