#include "history/trend_rules.h"

#include <algorithm>
#include <cmath>

namespace taiju::view {

std::vector<bool> setAsideRecords(const std::vector<DatedRecord>& dated) {
    std::vector<std::size_t> weighed; // indices of the records with a weight
    for (std::size_t i = 0; i < dated.size(); ++i)
        if (plottable(dated[i].weight))
            weighed.push_back(i);
    std::vector<bool> aside(dated.size(), false);
    std::vector<double> window;
    for (std::size_t k = 0; k < weighed.size(); ++k) {
        const std::size_t from = k < 3 ? 0 : k - 3;
        const std::size_t to = std::min(weighed.size(), k + 4);
        window.clear();
        for (std::size_t j = from; j < to; ++j)
            window.push_back(dated[weighed[j]].weight);
        std::sort(window.begin(), window.end());
        const std::size_t n = window.size();
        const double median = n % 2 ? window[n / 2] : (window[n / 2 - 1] + window[n / 2]) / 2;
        const double off = std::fabs(dated[weighed[k]].weight - median);
        aside[weighed[k]] = off > 0.1 * median && off > 1.0;
    }
    return aside;
}

std::vector<double> dailyTrend(const std::vector<DatedRecord>& dated,
                               const std::vector<bool>& setAside) {
    constexpr long long kDay = 86400;
    std::vector<double> trend(dated.size(), NAN);
    double t = NAN;
    long long lastDay = 0;
    std::size_t i = 0;
    while (i < dated.size()) {
        const long long day = dated[i].seconds / kDay;
        std::size_t end = i;
        double sum = 0;
        int count = 0;
        for (; end < dated.size() && dated[end].seconds / kDay == day; ++end)
            if (!setAside[end] && plottable(dated[end].weight)) {
                sum += dated[end].weight;
                ++count;
            }
        if (count > 0) {
            const double mean = sum / count;
            t = std::isnan(t)
                    ? mean
                    : t + (1 - std::pow(0.9, static_cast<double>(day - lastDay))) * (mean - t);
            lastDay = day;
        }
        std::fill(trend.begin() + static_cast<std::ptrdiff_t>(i),
                  trend.begin() + static_cast<std::ptrdiff_t>(end), t);
        i = end;
    }
    return trend;
}

} // namespace taiju::view
