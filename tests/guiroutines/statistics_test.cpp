#include "statistics.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

TEST(StdDevAndMean, SampleDeviation)
{
    const double values[] = {2, 4, 4, 4, 5, 5, 7, 9};
    double mean = -1, dev = -1;
    stats::stdDevAndMean(values, 8, &mean, &dev);
    EXPECT_DOUBLE_EQ(mean, 5.0);
    EXPECT_NEAR(dev, std::sqrt(32.0 / 7.0), 1e-15);  // 2.138...
    EXPECT_NEAR(dev, 2.138, 5e-4);
}

TEST(StdDevAndMean, FiftyThousandValues)
{
    // 1..50000: mean 25000.5, sample variance n(n+1)/12. n(n-1) no longer fits 32 bits here.
    std::vector<double> values(50000);
    for (int i = 0; i < 50000; ++i)
        values[static_cast<std::size_t>(i)] = i + 1;
    double mean = 0, dev = 0;
    stats::stdDevAndMean(values.data(), 50000, &mean, &dev);
    EXPECT_DOUBLE_EQ(mean, 25000.5);
    EXPECT_NEAR(dev, std::sqrt(50000.0 * 50001.0 / 12.0), 1e-9);

    // Large equal readings: the one-pass formula's cancellation could make the variance negative.
    std::vector<double> flat(50000, 123456789.123);
    stats::stdDevAndMean(flat.data(), 50000, &mean, &dev);
    EXPECT_DOUBLE_EQ(mean, 123456789.123);
    EXPECT_LT(dev, 1e-7);
    EXPECT_FALSE(std::isnan(dev));
}

TEST(StdDevAndMean, FewerThanTwoValues)
{
    const double one = 42.5;
    double mean = -1, dev = -1;
    stats::stdDevAndMean(&one, 1, &mean, &dev);
    EXPECT_EQ(mean, 42.5);
    EXPECT_EQ(dev, 0.0);
    stats::stdDevAndMean(&one, 0, &mean, &dev);
    EXPECT_EQ(mean, 0.0);
    EXPECT_EQ(dev, 0.0);
    stats::stdDevAndMean(nullptr, 5, &mean, &dev);
    EXPECT_EQ(mean, 0.0);
    stats::stdDevAndMean(&one, -3, nullptr, nullptr);
}
