// The mean of a result over the runs of many seeds and the Monte-Carlo standard error of that
// mean, for the tests that hold the draws against what they are expected to give.
#pragma once

#include <cmath>
#include <vector>

namespace orr::test {

struct SeedMean {
    double mean = 0;
    double standardError = 0;  // of the mean: the sample standard deviation over sqrt(n)
};

inline SeedMean seedMean(const std::vector<double>& values) {
    const double n = static_cast<double>(values.size());
    SeedMean m;
    for (double x : values) m.mean += x;
    m.mean /= n;
    double squares = 0;
    for (double x : values) squares += (x - m.mean) * (x - m.mean);
    m.standardError = std::sqrt(squares / (n - 1) / n);
    return m;
}

}  // namespace orr::test
