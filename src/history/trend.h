// SPDX-License-Identifier: MIT
#pragma once
// The weight trend by calendar day: the weighings of one day count as their
// mean, and the trend moves a tenth of the way per day, so that a gap is
// caught up and two weighings on one day count once.

#include "history/chart_data.h"

#include <optional>
#include <vector>

namespace taiju::view {

struct TrendPoint {
    long long day;     // days since 0001-01-01
    long long seconds; // the day's last weighing (stampSeconds)
    double mean;       // the mean of the day's weights
    double trend;      // the trend at the end of the day
};

// One point per day with a weighing, in date order. The first day's trend is
// its mean; after it T = T_prev + (1 − 0.9^d) × (mean − T_prev), d being the
// days since the previous day with a weighing. Records that are left out
// (`leftOut[i]` for dated[i]; an empty vector leaves none out) and weights
// that are not plottable take no part.
std::vector<TrendPoint> dailyTrend(const std::vector<DatedRecord>& dated,
                                   const std::vector<bool>& leftOut);

// The same trend worked out one weighing at a time (plottable weights, in
// date order), for a log that is never held whole.
class TrendFollower {
  public:
    // Adds a weighing; the point of the day before it when it begins a day.
    // Inline: it runs once for every record of a log.
    std::optional<TrendPoint> add(long long seconds, double weight) {
        const long long day = seconds / kDaySeconds;
        std::optional<TrendPoint> closed;
        if (!day_ || day_->day != day) {
            if (day_)
                closed = closeDay();
            day_ = TrendPoint{day, seconds, 0, 0};
            sum_ = 0;
            count_ = 0;
        }
        day_->seconds = seconds;
        sum_ += weight;
        ++count_;
        return closed;
    }
    // The point of the last day, and a fresh start.
    std::optional<TrendPoint> finish();

  private:
    TrendPoint closeDay();

    std::optional<TrendPoint> day_;    // the day being added to
    std::optional<TrendPoint> before_; // the last day closed
    double sum_ = 0;
    int count_ = 0;
};

// The trend on the day `day`: that of the last trend point up to that day,
// or nothing before the first.
const TrendPoint* trendOn(const std::vector<TrendPoint>& trend, long long day);

} // namespace taiju::view
