// SPDX-License-Identifier: MIT
#include "history/trend.h"

#include <algorithm>
#include <cmath>

namespace taiju::view {

std::vector<TrendPoint> dailyTrend(const std::vector<DatedRecord>& dated,
                                   const std::vector<bool>& leftOut) {
    std::vector<TrendPoint> trend;
    double sum = 0;
    int count = 0;
    auto closeDay = [&] {
        TrendPoint& p = trend.back();
        p.mean = sum / count;
        if (trend.size() == 1) {
            p.trend = p.mean;
            return;
        }
        const TrendPoint& before = trend[trend.size() - 2];
        const double days = static_cast<double>(p.day - before.day);
        p.trend = before.trend + (1 - std::pow(0.9, days)) * (p.mean - before.trend);
    };
    for (std::size_t i = 0; i < dated.size(); ++i) {
        const DatedRecord& d = dated[i];
        if ((i < leftOut.size() && leftOut[i]) || !plottable(d.weight))
            continue;
        const long long day = d.seconds / kDaySeconds;
        if (trend.empty() || trend.back().day != day) {
            if (!trend.empty())
                closeDay();
            trend.push_back({day, d.seconds, 0, 0});
            sum = 0;
            count = 0;
        }
        trend.back().seconds = d.seconds;
        sum += d.weight;
        ++count;
    }
    if (!trend.empty())
        closeDay();
    return trend;
}

const TrendPoint* trendOn(const std::vector<TrendPoint>& trend, long long day) {
    auto after = std::upper_bound(trend.begin(), trend.end(), day,
                                  [](long long d, const TrendPoint& p) { return d < p.day; });
    return after == trend.begin() ? nullptr : &*(after - 1);
}

std::vector<double> trendPerRecord(const std::vector<DatedRecord>& dated,
                                   const std::vector<bool>& leftOut) {
    const std::vector<TrendPoint> points = dailyTrend(dated, leftOut);
    std::vector<double> trend(dated.size(), std::nan(""));
    for (std::size_t i = 0; i < dated.size(); ++i)
        if (const TrendPoint* p = trendOn(points, dated[i].seconds / kDaySeconds))
            trend[i] = p->trend;
    return trend;
}

} // namespace taiju::view
