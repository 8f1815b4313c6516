// SPDX-License-Identifier: MIT
// What the chart draws: dated records in date order, the trend, the reduced
// series, and the default log the viewer opens.

#include "history/chart_data.h"
#include "history/default_path.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

using namespace taiju;
using namespace taiju::view;

TEST(ChartData, DatedRecordsInDateOrderAndUndatedCounted) {
    const platform::Cp932Decoder decoder;
    // Items 0 to 6 of width 1, 4, 1, 4, 1, 4, 19: weight, standard, BMI, date.
    RecordReader reader(
        RecordLayout{{{0, 1}, {1, 4}, {5, 1}, {6, 4}, {10, 1}, {11, 4}, {15, 19}}, 254}, decoder);
    reader.append(" 70.0 60.0 24.005-02-2003 07:30:00\r\n"
                  " 71.0 60.0 25.0no date\r\n"
                  "     x   0     05-01-2003 07:30:00\r\n"
                  " 72.0 60.0 24.505-02-2003 07:30:00\r\n");
    const ChartData d = chartData(reader.records());
    EXPECT_EQ(d.undated, 1u);
    ASSERT_EQ(d.dated.size(), 3u);
    EXPECT_EQ(d.dated[0].record, 2u); // 1 May before 2 May
    EXPECT_EQ(d.dated[1].record, 0u); // equal dates keep file order
    EXPECT_EQ(d.dated[2].record, 3u);
    EXPECT_EQ(d.dated[1].weight, 70.0);
    EXPECT_EQ(d.dated[1].standard, 60.0);
    EXPECT_EQ(d.dated[2].bmi, 24.5);
    EXPECT_EQ(d.dated[0].weight, 0.0);          // an empty column reads as 0 ...
    EXPECT_FALSE(plottable(d.dated[0].weight)); // ... and is not drawn
    EXPECT_FALSE(plottable(NAN));
    EXPECT_FALSE(plottable(INFINITY));
    EXPECT_TRUE(plottable(0.5));
}

TEST(ChartData, ReducedSeriesKeepsEveryColumnsExtremes) {
    struct Case {
        const char* name;
        std::size_t points;
        std::size_t columns;
    };
    const Case cases[] = {
        {"few points are all kept", 40, 10},
        {"100000 points in 1000 columns", 100000, 1000},
        {"uneven spread in 7 columns", 5000, 7},
        {"one column", 1000, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<double> xs, ys;
        for (std::size_t i = 0; i < c.points; ++i) {
            xs.push_back(std::pow(static_cast<double>(i), 1.3));
            ys.push_back(std::sin(static_cast<double>(i) * 0.7) * 10 + static_cast<double>(i % 13));
        }
        const auto kept = pointsToDraw(xs, ys, c.columns);
        ASSERT_FALSE(kept.empty());
        EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
        EXPECT_LE(kept.size(), std::min(c.points, 4 * c.columns));
        EXPECT_EQ(kept.front(), 0u);
        EXPECT_EQ(kept.back(), c.points - 1);
        // Every column that holds points keeps its lowest and highest one.
        const double span = xs.back() - xs.front();
        std::vector<std::size_t> low(c.columns, SIZE_MAX), high(c.columns, SIZE_MAX);
        for (std::size_t i = 0; i < c.points; ++i) {
            auto col = std::min(static_cast<std::size_t>((xs[i] - xs.front()) / span *
                                                         static_cast<double>(c.columns)),
                                c.columns - 1);
            if (low[col] == SIZE_MAX || ys[i] < ys[low[col]])
                low[col] = i;
            if (high[col] == SIZE_MAX || ys[i] > ys[high[col]])
                high[col] = i;
        }
        const std::set<std::size_t> set(kept.begin(), kept.end());
        for (std::size_t col = 0; col < c.columns; ++col) {
            if (low[col] == SIZE_MAX)
                continue;
            EXPECT_TRUE(set.count(low[col])) << "lowest of column " << col;
            EXPECT_TRUE(set.count(high[col])) << "highest of column " << col;
        }
    }
}

// The summary's answers against a scan of every point: the first lowest and
// highest, and per column the points a scan keeps.
TEST(ChartData, SummaryAnswersAsAScanOfEveryPoint) {
    using Keep = SeriesSummary::Keep;
    struct Case {
        const char* name;
        std::size_t from, to, columns;
        Keep keep;
    };
    const Case cases[] = {
        {"whole blocks up to 1024", 0, 1024, 50, Keep::Ends},
        {"a part starting and ending inside blocks", 3, 2997, 37, Keep::Ends},
        {"a flat stretch ties to its first point", 200, 400, 3, Keep::Ends},
        {"equal times share a column", 1000, 1300, 7, Keep::Ends},
        {"one point", 5, 6, 1, Keep::Ends},
        {"few points are all kept", 10, 30, 10, Keep::Extremes},
        {"lowest and highest, with the part's two ends", 7, 2999, 40, Keep::Extremes},
        {"one column keeps the ends and extremes", 0, 3000, 1, Keep::Extremes},
    };
    // Three points share each time from 1000 on; 200 to 399 are equal.
    std::vector<double> xs, ys;
    for (std::size_t i = 0; i < 3000; ++i) {
        const double d = static_cast<double>(i);
        xs.push_back(i < 1000 ? std::pow(d, 1.2) : std::pow(1000.0, 1.2) + std::floor(d / 3));
        ys.push_back(i >= 200 && i < 400 ? 50
                                         : std::sin(d * 0.7) * 10 + static_cast<double>(i % 13));
    }
    const SeriesSummary summary(
        {xs.size(), [&](std::size_t i) { return xs[i]; }, [&](std::size_t i) { return ys[i]; }});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto first = ys.begin() + static_cast<long>(c.from);
        const auto last = ys.begin() + static_cast<long>(c.to);
        const SeriesSummary::Extremes e = summary.extremes(c.from, c.to);
        EXPECT_EQ(e.low, static_cast<std::size_t>(std::min_element(first, last) - ys.begin()));
        EXPECT_EQ(e.high, static_cast<std::size_t>(std::max_element(first, last) - ys.begin()));

        // The scan: each column's first, lowest, highest and last point.
        std::vector<std::size_t> expected;
        const bool ends = c.keep == Keep::Ends;
        if (c.to - c.from <= (ends ? 4 : 2) * c.columns) {
            for (std::size_t i = c.from; i < c.to; ++i)
                expected.push_back(i);
        } else {
            const double span = xs[c.to - 1] - xs[c.from];
            std::map<std::size_t, std::vector<std::size_t>> columns;
            for (std::size_t i = c.from; i < c.to; ++i)
                columns[std::min(static_cast<std::size_t>((xs[i] - xs[c.from]) / span *
                                                          static_cast<double>(c.columns)),
                                 c.columns - 1)]
                    .push_back(i);
            for (const auto& [column, points] : columns) {
                std::set<std::size_t> kept{
                    *std::min_element(points.begin(), points.end(),
                                      [&](auto a, auto b) { return ys[a] < ys[b]; }),
                    *std::max_element(points.begin(), points.end(),
                                      [&](auto a, auto b) { return ys[a] < ys[b]; })};
                if (ends || points.front() == c.from)
                    kept.insert(points.front());
                if (ends || points.back() == c.to - 1)
                    kept.insert(points.back());
                expected.insert(expected.end(), kept.begin(), kept.end());
            }
        }
        EXPECT_EQ(summary.pointsToDraw(c.from, c.to, c.columns, c.keep), expected);
    }
}

TEST(ChartData, DefaultLogAsStartUpFindsIt) {
    struct Case {
        const char* name;
        std::optional<std::u16string> settings;
        std::u16string log;
    };
    const Case cases[] = {
        {"no settings file", std::nullopt, u"Z:\\app\\体重変化.txt"},
        {"valid settings", u"Z:\\data\r\nlog.txt\r\n", u"Z:\\data\\log.txt"},
        {"folder with final backslash", u"Z:\\data\\\r\nlog.txt\r\n", u"Z:\\data\\log.txt"},
        {"quoted folder with a comma", u"\"Z:\\a,b\"\r\nx.txt\r\n", u"Z:\\a,b\\x.txt"},
        {"folder without drive is invalid", u"data\r\nlog.txt\r\n", u"Z:\\app\\体重変化.txt"},
        {"one line only is invalid", u"Z:\\data\r\n", u"Z:\\app\\体重変化.txt"},
        {"blank name is invalid", u"Z:\\data\r\n   \r\n", u"Z:\\app\\体重変化.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = [&](const std::u16string& path, std::size_t) {
            EXPECT_EQ(path, u"Z:\\app\\ostrel");
            return c.settings ? std::optional(SettingsStart{*c.settings, true}) : std::nullopt;
        };
        EXPECT_EQ(defaultLogPath(u"Z:\\app", read), c.log);
    }
}
