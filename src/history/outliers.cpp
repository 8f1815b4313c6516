// SPDX-License-Identifier: MIT
#include "history/outliers.h"

#include <algorithm>
#include <cmath>

namespace taiju::view {
namespace {

constexpr std::size_t kNeighbours = 3;
constexpr double kShare = 0.10;
constexpr double kMinimumKg = 1.0;

double median(std::vector<double>& values) {
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid),
                     values.end());
    if (values.size() % 2 == 1)
        return values[mid];
    const double upper = values[mid];
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

} // namespace

std::vector<bool> setAsideWeights(const std::vector<double>& weights) {
    std::vector<std::size_t> kept; // the plottable weights
    for (std::size_t i = 0; i < weights.size(); ++i)
        if (plottable(weights[i]))
            kept.push_back(i);
    std::vector<bool> aside(weights.size(), false);
    std::vector<double> window;
    std::size_t count = 0;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        const std::size_t from = k >= kNeighbours ? k - kNeighbours : 0;
        const std::size_t to = std::min(k + kNeighbours + 1, kept.size());
        window.clear();
        for (std::size_t j = from; j < to; ++j)
            window.push_back(weights[kept[j]]);
        const double m = median(window);
        const double off = std::abs(weights[kept[k]] - m);
        if (off > kShare * m && off > kMinimumKg) {
            aside[kept[k]] = true;
            ++count;
        }
    }
    if (count == kept.size())
        aside.assign(weights.size(), false);
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
