#pragma once

// What the benchmarks share: a facade with no unit behind it, the services of a page made without
// the main window, and a median timing.
#include "activeobjectengine.h"
#include "analogoutputcollection.h"
#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "logdbmgr.h"
#include "pagehost.h"
#include "pageservices.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// Every exchange fails as a closed port does: the database is timed without the link.
class NoLink : public MessageLink {
public:
    int SendReceive(const std::uint8_t*, std::uint8_t*, int, bool) override { throw CommStatusError(5); }
};

// What the main window would hand a page: the program's objects, and a host that does nothing.
inline PageServices pageServices()
{
    return {*DataBase::Instance(), PageHost::None(), *LogDBMgr::Instance(), *AnalogOutputCollection::Instance(),
            *MyActiveObjectEngine::Instance()};
}

// The median of runs timings of fn, in milliseconds.
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

}  // namespace bench
