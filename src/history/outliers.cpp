// SPDX-License-Identifier: MIT
#include "history/outliers.h"

#include <algorithm>
#include <cmath>

namespace taiju::view {
namespace {

constexpr double kShare = 0.10;
constexpr double kMinimumKg = 1.0;

} // namespace

bool offTheMedian(double weight, double* around, std::size_t count) {
    std::sort(around, around + count);
    const std::size_t mid = count / 2;
    const double m = count % 2 == 1 ? around[mid] : (around[mid - 1] + around[mid]) / 2;
    const double off = std::abs(weight - m);
    return off > kShare * m && off > kMinimumKg;
}

std::vector<bool> setAsideWeights(const std::vector<double>& weights) {
    std::vector<bool> aside(weights.size(), false);
    OutlierSieve<std::size_t> sieve;
    auto take = [&](std::size_t i, bool a) { aside[i] = a; };
    for (std::size_t i = 0; i < weights.size(); ++i)
        if (plottable(weights[i]))
            sieve.add(weights[i], i, take);
    sieve.finish(take);
    return aside;
}

std::vector<bool> setAside(const std::vector<DatedRecord>& dated) {
    std::vector<double> weights;
    weights.reserve(dated.size());
    for (const DatedRecord& d : dated)
        weights.push_back(d.weight);
    return setAsideWeights(weights);
}

} // namespace taiju::view
