// SPDX-License-Identifier: MIT
// What the chart draws: dated records in date order, the trend, the reduced
// series, and the default log the viewer opens.

#include "history/chart_data.h"
#include "history/default_path.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <cmath>
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
