// SPDX-License-Identifier: MIT
#include "history/trend.h"

#include <algorithm>
#include <cmath>

namespace taiju::view {

std::vector<TrendPoint> dailyTrend(const std::vector<DatedRecord>& dated,
                                   const std::vector<bool>& leftOut) {
    std::vector<TrendPoint> trend;
    eachTrendPoint(dated, leftOut, [&](const TrendPoint& p) { trend.push_back(p); });
    return trend;
}

void eachTrendPoint(const std::vector<DatedRecord>& dated, const std::vector<bool>& leftOut,
                    const std::function<void(const TrendPoint&)>& point) {
    // The day being summed up, and the day before it with its trend.
    TrendPoint today{}, before{};
    bool any = false, first = true;
    double sum = 0;
    int count = 0;
    auto closeDay = [&] {
        today.mean = sum / count;
        const double days = static_cast<double>(today.day - before.day);
        today.trend = first
                          ? today.mean
                          : before.trend + (1 - std::pow(0.9, days)) * (today.mean - before.trend);
        first = false;
        point(today);
        before = today;
    };
    for (std::size_t i = 0; i < dated.size(); ++i) {
        const DatedRecord& d = dated[i];
        if ((i < leftOut.size() && leftOut[i]) || !plottable(d.weight))
            continue;
        const long long day = d.seconds / kDaySeconds;
        if (!any || today.day != day) {
            if (any)
                closeDay();
            today = {day, d.seconds, 0, 0};
            any = true;
            sum = 0;
            count = 0;
        }
        today.seconds = d.seconds;
        sum += d.weight;
        ++count;
    }
    if (any)
        closeDay();
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
