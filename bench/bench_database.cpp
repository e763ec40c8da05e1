// Building the point database from the register map, and the page-list lookups that every
// read and edit makes. Prints its figures; goals: build under 5 ms, lookups constant-time.
#include "benchsupport.h"
#include "database.h"
#include "expressscan.h"
#include "statemgr.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::NoLink link;
    CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));

    const double build = bench::medianMs(50, [] {
        DataBase::Instance();
        DataBase::ReleaseInstance();
    });
    std::printf("database build (1357 points): median %.3f ms (goal < 5 ms)\n", build);

    DataBase* db = DataBase::Instance();
    ExpressScan& scan = db->expressScan;
    for (int i = 0; i < 300; ++i)
        scan.AddPoint(db->GetPointByIndex(i * 4)->GetId());
    scan.SetPage(2, false, true);
    int found = 0;
    const double contains = bench::medianMs(200, [&] {
        for (int i = 0; i < db->GetPointCount(); ++i)
            found += scan.Contains(db->GetPointByIndex(i)->GetId(), false);
    });
    std::printf("Contains of all 1357 points against 300 listed ids: median %.3f ms (%.1f ns a lookup), %d hits\n",
                contains, contains * 1e6 / 1357, found / 200);
    DataBase::ReleaseInstance();
    CommDBPointFacade::ReleaseInstance();
    StateMgr::ReleaseInstance();
    return 0;
}
