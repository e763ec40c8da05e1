#pragma once

// What the database benchmarks share: a facade with no unit behind it and a median timing.
#include "commdbpointfacade.h"
#include "communications.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// Every exchange fails as a closed port does: the database is timed without the link.
class NoLink : public MessageLink {
public:
    int SendReceive(const std::uint8_t*, std::uint8_t*, int, bool) override { throw CommStatusError(5); }
};

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
