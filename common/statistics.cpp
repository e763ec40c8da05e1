#include "statistics.h"

#include <cmath>

namespace stats {

void stdDevAndMean(const double* values, int count, double* mean, double* stdDev)
{
    long double m = 0;
    long double deviation = 0;
    if (values && count > 0) {
        long double sum = 0;
        for (int i = 0; i < count; ++i)
            sum += values[i];
        m = sum / count;
        // Second pass over the deviations; their sum corrects the rounding of the first mean.
        long double first = 0;
        long double squares = 0;
        for (int i = 0; i < count; ++i) {
            const long double d = values[i] - m;
            first += d;
            squares += d * d;
        }
        m += first / count;
        if (count > 1) {
            const long double variance = (squares - first * first / count) / (static_cast<long double>(count) - 1);
            deviation = variance > 0 ? std::sqrt(variance) : 0;
        }
    }
    if (mean)
        *mean = static_cast<double>(m);
    if (stdDev)
        *stdDev = static_cast<double>(deviation);
}

}  // namespace stats
