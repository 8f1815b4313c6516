// SPDX-License-Identifier: MIT
// The daily trend: a day's weighings count as their mean, a gap is caught up.

#include "history/trend.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace taiju::view;

namespace {

DatedRecord weighing(int day, int hour, double weight) {
    const Stamp s{2026, 1, day, hour, 0, 0};
    return {0, stampSeconds(s), weight, 60, 22};
}

} // namespace

TEST(Trend, MovesATenthPerDay) {
    struct Case {
        const char* name;
        std::vector<DatedRecord> dated;
        std::vector<bool> leftOut;
        std::vector<double> trend; // per day
    };
    const double after14 = 70 + (1 - std::pow(0.9, 14)) * 10;
    const Case cases[] = {
        {"none", {}, {}, {}},
        {"one a day",
         {weighing(1, 7, 70), weighing(2, 7, 80), weighing(3, 7, 80), weighing(4, 7, 60)},
         {},
         {70, 71, 71.9, 71.9 + 0.1 * (60 - 71.9)}},
        {"two weighings one day count once as their mean",
         {weighing(1, 7, 70), weighing(2, 7, 79), weighing(2, 21, 81)},
         {},
         {70, 71}},
        {"a 14-day gap is caught up", {weighing(1, 7, 70), weighing(15, 7, 80)}, {}, {70, after14}},
        {"left out and unplottable take no part",
         {weighing(1, 7, 70), weighing(2, 7, 7), weighing(2, 8, 0), weighing(3, 7, 80)},
         {false, true, false, false},
         {70, 70 + 0.19 * 10}},
    };
    for (const Case& c : cases) {
        const auto points = dailyTrend(c.dated, c.leftOut);
        ASSERT_EQ(points.size(), c.trend.size()) << c.name;
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_NEAR(points[i].trend, c.trend[i], 1e-9) << c.name << " day " << i;
    }
}

TEST(Trend, OnADayIsTheLastPointUpToIt) {
    const auto points = dailyTrend({weighing(1, 7, 70), weighing(5, 7, 80)}, {});
    EXPECT_EQ(trendOn(points, points[0].day - 1), nullptr);
    EXPECT_EQ(trendOn(points, points[0].day + 2), &points[0]);
    EXPECT_EQ(trendOn(points, points[1].day), &points[1]);
    EXPECT_EQ(points[1].seconds, weighing(5, 7, 0).seconds);
}
