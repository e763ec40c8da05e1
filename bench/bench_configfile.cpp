// Saving and opening the whole configuration: 977 points, the Modbus map, the log records and
// both blocks. Prints its figures; goal: each under 50 ms.
#include "commdbpointfacade.h"
#include "communications.h"
#include "configfile.h"
#include "database.h"

#include <QApplication>
#include <QTemporaryDir>
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    NoLink link;
    CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));
    DataBase* db = DataBase::Instance();
    for (int i = 0; i < db->GetPointCount(); ++i)
        if (DatabasePoint* p = db->GetPointByIndex(i); p && p->GetType() != 13)
            p->SetAndNotify(std::to_string(i % 100));
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.cfg");

    bool ok = true;
    const double save = medianMs(30, [&] { ok = SaveConfigurationFile(path) && ok; });
    int loaded = 0;
    const double load = medianMs(30, [&] { ok = LoadConfigurationFile(path, &loaded) == 0 && ok; });
    std::printf("save of the full configuration: median %.2f ms (goal < 50 ms)\n", save);
    std::printf("open of the full configuration (%d points): median %.2f ms (goal < 50 ms)\n", loaded, load);
    DataBase::ReleaseInstance();
    CommDBPointFacade::ReleaseInstance();
    return ok ? 0 : 1;
}
