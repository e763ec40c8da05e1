#pragma once

namespace stats {

// Mean and sample standard deviation (divided by n - 1) of count values. Sums run in extended
// precision over the deviations from the mean, so the variance is never negative and large
// counts do not overflow. One value: its mean, deviation 0; none (or no array): both 0.
// Either output may be null.
void stdDevAndMean(const double* values, int count, double* mean, double* stdDev);

}  // namespace stats
