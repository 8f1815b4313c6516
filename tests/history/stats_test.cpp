// SPDX-License-Identifier: MIT
// The 統計 figures, the month and year tables and the goal's projection, on
// named logs, read through the lines of `taiju-view --summary`.

#include "eval/number.h"
#include "history/outliers.h"
#include "history/stats.h"
#include "history/trend.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <functional>
#include <map>
#include <sstream>

using namespace taiju::view;

namespace {

DatedRecord at(long long day, int hour, double weight, double standard = 60, double bmi = 22) {
    const Date d = dateOfDay(day);
    const Stamp s{d.year, d.month, d.day, hour, 0, 0};
    return {0, stampSeconds(s), weight, standard, bmi};
}

long long dayOf(int y, int m, int d) {
    return dayOfSeconds(stampSeconds({y, m, d, 0, 0, 0}));
}

// One record a day at 07:00 for `days` days from `first`.
std::vector<DatedRecord> daily(long long first, int days, const std::function<double(int)>& w) {
    std::vector<DatedRecord> out;
    for (int k = 0; k < days; ++k)
        out.push_back(at(first + k, 7, w(k)));
    return out;
}

struct Log {
    std::vector<DatedRecord> dated;
    std::vector<bool> aside;
    std::vector<TrendPoint> points;
    explicit Log(std::vector<DatedRecord> d)
        : dated(std::move(d)), aside(setAside(dated)), points(dailyTrend(dated, aside)) {}
    StatsInput input() const { return {dated, aside}; }
    // The trend at the end of the day of record `i`.
    double trend(std::size_t i) const {
        return trendOn(points, dayOfSeconds(dated[i].seconds))->trend;
    }
};

std::map<std::string, std::string> summary(const Log& log, std::optional<double> goal) {
    std::map<std::string, std::string> values;
    std::istringstream lines(summaryText(figures(log.input()), goal));
    for (std::string line; std::getline(lines, line);)
        values[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
    return values;
}

const long long kOct1 = dayOf(2026, 10, 1);

} // namespace

TEST(Stats, SummaryOfNamedLogs) {
    struct Case {
        const char* name;
        std::vector<DatedRecord> dated;
        std::optional<double> goal;
        std::map<std::string, std::string> expected; // the keys checked
    };
    const long long dec7 = dayOf(2026, 12, 7);
    const Case cases[] = {
        {"empty log",
         {},
         std::nullopt,
         {{"records", "0"},
          {"first", ""},
          {"latest", ""},
          {"trend", ""},
          {"min_date", ""},
          {"mean", ""},
          {"outliers", "0"},
          {"goal", ""},
          {"goal_remaining", ""},
          {"goal_date", ""}}},
        {"one record",
         {at(dec7, 6, 70.5)},
         59.9,
         {{"records", "1"},
          {"first", "2026-12-07"},
          {"last", "2026-12-07"},
          {"latest", "70.5"},
          {"trend", "70.5"},
          {"change_7d", ""},
          {"rate_per_week", ""},
          {"min", "70.5"},
          {"max_date", "2026-12-07"},
          {"mean", "70.5"},
          {"goal", "59.9"},
          {"goal_remaining", "10.6"},
          {"goal_date", ""}}},
        {"all records on one day",
         {at(dec7, 6, 70), at(dec7, 12, 71), at(dec7, 20, 72)},
         71,
         {{"records", "3"},
          {"latest", "72.0"},
          {"trend", "71.0"},
          {"change_7d", ""},
          {"min", "70.0"},
          {"max", "72.0"},
          {"mean", "71.0"},
          {"goal_remaining", "0.0"}}},
        {"a year with gaps",
         {at(dayOf(2025, 1, 10), 7, 80), at(dayOf(2025, 3, 10), 7, 78),
          at(dayOf(2025, 12, 10), 7, 75), at(dayOf(2026, 1, 10), 7, 74)},
         std::nullopt,
         {{"first", "2025-01-10"},
          {"trend", "74.0"},
          {"change_7d", "-1.0"},
          {"change_30d", "-1.0"},
          {"change_365d", "-6.0"},
          {"rate_per_week", "-0.24"},
          {"max_date", "2025-01-10"},
          {"mean", "76.8"}}},
        {"flat trend never reaches a goal below",
         daily(kOct1, 60, [](int) { return 70.0; }),
         65,
         {{"trend", "70.0"},
          {"change_30d", "0.0"},
          {"rate_per_week", "0.00"},
          {"goal_remaining", "5.0"},
          {"goal_date", ""}}},
        {"goal below a falling trend",
         daily(kOct1, 60, [](int k) { return 80 - 0.1 * k; }),
         70,
         {{"trend", "75.0"},
          {"change_7d", "-0.7"},
          {"change_30d", "-3.0"},
          {"rate_per_week", "-0.69"},
          {"min", "74.1"},
          {"min_date", "2026-11-29"},
          {"goal_remaining", "5.0"},
          {"goal_date", "2027-01"}}},
        {"goal above a falling trend",
         daily(kOct1, 60, [](int k) { return 80 - 0.1 * k; }),
         85,
         {{"goal", "85.0"}, {"goal_remaining", "10.0"}, {"goal_date", ""}}},
        {"goal passed by a falling trend",
         daily(kOct1, 60, [](int k) { return 80 - 0.1 * k; }),
         78,
         {{"goal_remaining", "0.0"}, {"goal_date", ""}}},
        {"goal above a rising trend",
         daily(kOct1, 60, [](int k) { return 60 + 0.05 * k; }),
         65,
         {{"trend", "62.5"},
          {"rate_per_week", "0.35"},
          {"goal_remaining", "2.5"},
          {"goal_date", "2027-01"}}},
        {"records set aside",
         [] {
             auto d = daily(kOct1, 20, [](int) { return 70.0; });
             d.insert(d.begin() + 10, at(kOct1 + 9, 20, 7.05));
             d.push_back(at(kOct1 + 20, 7, 0)); // a weight that is not a number
             return d;
         }(),
         std::nullopt,
         {{"records", "20"},
          {"outliers", "1"},
          {"min", "70.0"},
          {"mean", "70.0"},
          {"trend", "70.0"},
          {"last", "2026-10-20"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto values = summary(Log(c.dated), c.goal);
        EXPECT_EQ(values.size(), 18u);
        for (const auto& [key, value] : c.expected) {
            ASSERT_TRUE(values.count(key)) << key;
            EXPECT_EQ(values.at(key), value) << key;
        }
    }
}

TEST(Stats, KeysInOrder) {
    std::string keys;
    std::istringstream lines(summaryText(Figures{}, std::nullopt));
    for (std::string line; std::getline(lines, line);)
        keys += line.substr(0, line.find('\t')) + ' ';
    EXPECT_EQ(keys, "records first last latest trend change_7d change_30d change_365d "
                    "rate_per_week min min_date max max_date mean outliers goal goal_remaining "
                    "goal_date ");
}

TEST(Stats, MonthAndYearTablesNewestFirstWithGaps) {
    const Log log({at(dayOf(2025, 1, 10), 7, 80), at(dayOf(2025, 1, 20), 7, 79),
                   at(dayOf(2025, 3, 10), 7, 78), at(dayOf(2025, 12, 10), 7, 75),
                   at(dayOf(2026, 1, 10), 7, 74)});
    const Overview tables = overview(log.input());
    const auto& months = tables.months;
    ASSERT_EQ(months.size(), 4u);
    EXPECT_EQ(months[0].year * 100 + months[0].month, 202601);
    EXPECT_EQ(months[1].year * 100 + months[1].month, 202512);
    EXPECT_EQ(months[2].year * 100 + months[2].month, 202503);
    EXPECT_EQ(months[3].count, 2u);
    EXPECT_DOUBLE_EQ(months[3].mean, 79.5);
    EXPECT_DOUBLE_EQ(months[3].min, 79);
    EXPECT_DOUBLE_EQ(months[3].max, 80);
    EXPECT_DOUBLE_EQ(months[3].trendAtEnd, log.trend(1));
    const auto& years = tables.years;
    ASSERT_EQ(years.size(), 2u);
    EXPECT_EQ(years[0].year, 2026);
    EXPECT_EQ(years[1].count, 4u);
    EXPECT_DOUBLE_EQ(years[1].max, 80);
    EXPECT_DOUBLE_EQ(years[1].trendAtEnd, log.trend(3));
}

TEST(Stats, RangeKeepsTheWholeLogsTrend) {
    const Log log(daily(kOct1, 60, [](int k) { return 80 - 0.1 * k; }));
    const Span s = recordsBetween(log.dated, kOct1 + 10, kOct1 + 19);
    ASSERT_EQ(s.begin, 10u);
    ASSERT_EQ(s.end, 20u);
    const Figures f = figures(log.input(), s.begin, s.end);
    EXPECT_EQ(f.records, 10u);
    EXPECT_DOUBLE_EQ(*f.trend, log.trend(19));
    EXPECT_DOUBLE_EQ(*f.change7, log.trend(19) - log.trend(12));
    EXPECT_FALSE(f.change30); // the range does not reach back 30 days
    // A span years into a log: the trend of its days as the whole log's,
    // however far the weights before them lay.
    const Log years(daily(kOct1, 1500, [](int k) { return k < 300 ? 120 : 70 + (k % 9) * 0.3; }));
    const Span late = recordsBetween(years.dated, kOct1 + 1470, kOct1 + 1499);
    const Figures lf = figures(years.input(), late.begin, late.end);
    EXPECT_NEAR(*lf.trend, years.trend(1499), 1e-9);
    EXPECT_NEAR(*lf.change7, years.trend(1499) - years.trend(1492), 1e-9);
    // A span ending within a day takes the trend of the whole day.
    const Log twice({at(kOct1, 7, 70), at(kOct1 + 1, 7, 72), at(kOct1 + 1, 21, 74)});
    EXPECT_DOUBLE_EQ(*figures(twice.input(), 0, 2).trend, twice.trend(2));
    EXPECT_DOUBLE_EQ(*figures(twice.input(), 0, 2).latest, 72);
    EXPECT_EQ(recordsBetween(log.dated, kOct1 + 100, kOct1 + 90).end,
              recordsBetween(log.dated, kOct1 + 100, kOct1 + 90).begin);
}

TEST(TrendRules, TyposSetAsideAndDaysCountOnce) {
    const Log log({at(kOct1, 7, 70), at(kOct1 + 1, 7, 7.05), at(kOct1 + 1, 8, 70),
                   at(kOct1 + 2, 7, 70), at(kOct1 + 16, 7, 75), at(kOct1 + 16, 9, 77)});
    EXPECT_EQ(log.aside, (std::vector<bool>{false, true, false, false, false, false}));
    EXPECT_DOUBLE_EQ(log.trend(1), 70); // the typo's day is its other weighing
    // 14 days later, the day's mean 76 is caught up by 1 - 0.9^14.
    EXPECT_DOUBLE_EQ(log.trend(5), 70 + (1 - std::pow(0.9, 14)) * 6);
    EXPECT_DOUBLE_EQ(log.trend(4), log.trend(5));
}

TEST(Stats, SummaryRecordByRecordAsOfTheWholeLog) {
    struct Case {
        const char* name;
        std::vector<DatedRecord> dated; // date order
    };
    const Case cases[] = {
        {"empty", {}},
        {"one record", {at(kOct1, 7, 70)}},
        {"all set aside: none is", {at(kOct1, 7, 50), at(kOct1 + 1, 7, 80)}},
        {"typos first, last and in a row",
         [] {
             auto d = daily(kOct1, 30, [](int k) { return 70 + 0.1 * (k % 5); });
             d[0].weight = 7.01;
             d[14].weight = d[15].weight = 7.02;
             d.back().weight = 701;
             return d;
         }()},
        {"several a day, unplottable and gaps beyond two months",
         [] {
             auto d = daily(kOct1, 10, [](int k) { return 80 - 0.3 * k; });
             d.push_back(at(kOct1 + 9, 20, 0));
             d.push_back(at(kOct1 + 9, 21, 77.5));
             d.push_back(at(kOct1 + 80, 7, 75));
             d.push_back(at(kOct1 + 300, 7, 72));
             return d;
         }()},
        {"three years of a falling trend with typos",
         daily(kOct1, 1100, [](int k) { return k % 97 == 3 ? 7.5 : 90 - 0.01 * k; })},
        {"equal stamps keep the file order",
         {at(kOct1, 7, 70), at(kOct1, 7, 71), at(kOct1, 7, 69), at(kOct1 + 1, 7, 70)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Log log(c.dated);
        const std::string whole = summaryText(figures(log.input()), 65);
        EXPECT_EQ(summaryText(overview(log.input()).whole, 65), whole);
        LogSummary summary;
        for (const DatedRecord& d : c.dated)
            ASSERT_TRUE(summary.add(d));
        EXPECT_EQ(summaryText(summary.finish(), 65), whole);
        // Out of order, as a log corrected by hand may be: the last first.
        auto shuffled = c.dated;
        if (!shuffled.empty())
            std::rotate(shuffled.begin(), shuffled.end() - 1, shuffled.end());
        EXPECT_EQ(summaryText(figuresInOrder(shuffled), 65), whole);
    }
    LogSummary summary;
    EXPECT_TRUE(summary.add(at(kOct1 + 1, 7, 70)));
    EXPECT_TRUE(summary.add(at(kOct1, 7, 0))) << "an unplottable weight is out of no order";
    EXPECT_FALSE(summary.add(at(kOct1, 7, 70)));
}

TEST(Stats, SummaryReadsNumbersAsEveryNumberBox) {
    const taiju::platform::Cp932Decoder decoder;
    const std::string numbers[] = {"70.25",
                                   "070.5",
                                   "59.895",
                                   "123456789012345",
                                   "1234567890123456",
                                   "0.1",
                                   ".5",
                                   "5.",
                                   "7e1",
                                   "7 0.5",
                                   "+70",
                                   "1.2.3",
                                   "65kg",
                                   "999999999999999.9"};
    for (const std::string& n : numbers) {
        SCOPED_TRACE(n);
        // Items 0 to 6 of width 1, 20, 1, 20, 1, 20, 19: weight, standard, BMI, date.
        taiju::RecordReader reader(
            taiju::RecordLayout{{{0, 1}, {1, 20}, {21, 1}, {22, 20}, {42, 1}, {43, 20}, {63, 19}},
                                254},
            decoder);
        auto column = [&](const std::string& text) {
            return std::string(20 - text.size(), ' ') + text;
        };
        reader.append(" " + column(n) + " " + column("60." + n) + " " + column(n + "1") +
                      "12-07-2026 06:30:00\r\n");
        LogSummary summary;
        ASSERT_TRUE(summary.addRecords(reader.records(), 1));
        const Figures f = summary.finish();
        const auto read = [](const std::string& text) {
            return taiju::leadingNumber(std::u16string(text.begin(), text.end()));
        };
        ASSERT_TRUE(f.latest);
        EXPECT_EQ(*f.latest, read(n));
        EXPECT_EQ(f.latestStandard.value_or(0), read("60." + n));
        EXPECT_EQ(f.latestBmi.value_or(0), read(n + "1"));
    }
}
