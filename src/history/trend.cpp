// SPDX-License-Identifier: MIT
#include "history/trend.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace taiju::view {

namespace {

// The share of the way the trend moves over `days` days: 1 − 0.9^days,
// looked up for the usual short gaps.
double share(long long days) {
    constexpr long long kKept = 64;
    static const std::array<double, kKept> shares = [] {
        std::array<double, kKept> s{};
        for (long long d = 0; d < kKept; ++d)
            s[static_cast<std::size_t>(d)] = 1 - std::pow(0.9, static_cast<double>(d));
        return s;
    }();
    return days >= 0 && days < kKept ? shares[static_cast<std::size_t>(days)]
                                     : 1 - std::pow(0.9, static_cast<double>(days));
}

bool counted(const std::vector<bool>& leftOut, const std::vector<DatedRecord>& dated,
             std::size_t i) {
    return !(i < leftOut.size() && leftOut[i]) && plottable(dated[i].weight);
}

} // namespace

TrendPoint TrendFollower::closeDay() {
    TrendPoint p = *day_;
    p.mean = sum_ / count_;
    p.trend =
        before_ ? before_->trend + share(p.day - before_->day) * (p.mean - before_->trend) : p.mean;
    before_ = p;
    return p;
}

std::optional<TrendPoint> TrendFollower::finish() {
    std::optional<TrendPoint> last;
    if (day_)
        last = closeDay();
    *this = TrendFollower();
    return last;
}

std::vector<TrendPoint> dailyTrend(const std::vector<DatedRecord>& dated,
                                   const std::vector<bool>& leftOut) {
    std::vector<TrendPoint> trend;
    trend.reserve(dated.size()); // at most a point a record, and no copies
    TrendFollower follower;
    for (std::size_t i = 0; i < dated.size(); ++i)
        if (counted(leftOut, dated, i))
            if (const auto p = follower.add(dated[i].seconds, dated[i].weight))
                trend.push_back(*p);
    if (const auto p = follower.finish())
        trend.push_back(*p);
    return trend;
}

const TrendPoint* trendOn(const std::vector<TrendPoint>& trend, long long day) {
    auto after = std::upper_bound(trend.begin(), trend.end(), day,
                                  [](long long d, const TrendPoint& p) { return d < p.day; });
    return after == trend.begin() ? nullptr : &*(after - 1);
}

} // namespace taiju::view
