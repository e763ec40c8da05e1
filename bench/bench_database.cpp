// Building the point database from the register map, and the page-list lookups that every
// read and edit makes. Prints its figures; goals: build under 5 ms, lookups constant-time.
#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "expressscan.h"
#include "statemgr.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
class NoLink : public MessageLink {
public:
    int SendReceive(const std::uint8_t*, std::uint8_t*, int, bool) override { throw CommStatusError(5); }
};

template <typename Fn>
double medianMs(int runs, Fn fn)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        fn();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    NoLink link;
    CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));

    const double build = medianMs(50, [] {
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
    const double contains = medianMs(200, [&] {
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
