// SPDX-License-Identifier: MIT
// Calendar ticks for spans from days to decades, and the calendar under them.

#include "history/stamp.h"
#include "history/ticks.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace taiju::view;

namespace {

long long at(int y, int m, int d, int h = 0) {
    return stampSeconds({y, m, d, h, 0, 0});
}

std::string utf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("年");
    return out;
}

} // namespace

TEST(Ticks, FallOnCalendarBoundaries) {
    struct Case {
        const char* name;
        long long from, to;
        int maxTicks;
        TickUnit unit;
        std::string labels;
    };
    const Case cases[] = {
        {"10 days", at(2026, 12, 1, 6), at(2026, 12, 11, 6), 12, TickUnit::Day,
         "12/02 12/03 12/04 12/05 12/06 12/07 12/08 12/09 12/10 12/11"},
        {"10 days, narrow: Mondays", at(2026, 12, 1, 6), at(2026, 12, 11, 6), 4, TickUnit::Week,
         "12/07"},
        {"3 months", at(2026, 9, 8), at(2026, 12, 7), 5, TickUnit::Month,
         "2026/10 2026/11 2026/12"},
        {"2 years", at(2025, 12, 7), at(2027, 12, 7), 10, TickUnit::Quarter,
         "2026/01 2026/04 2026/07 2026/10 2027/01 2027/04 2027/07 2027/10"},
        {"10 years", at(2016, 12, 7), at(2026, 12, 7), 12, TickUnit::Year,
         "2017年 2018年 2019年 2020年 2021年 2022年 2023年 2024年 2025年 2026年"},
        {"10 years, narrow", at(2016, 12, 7), at(2026, 12, 7), 4, TickUnit::Year, "2020年 2025年"},
        {"1900 to 2100", at(1899, 6, 1), at(2100, 6, 1), 8, TickUnit::Year,
         "1900年 1950年 2000年 2050年 2100年"},
    };
    for (const Case& c : cases) {
        const CalendarTicks t = calendarTicks(c.from, c.to, c.maxTicks);
        EXPECT_EQ(t.unit, c.unit) << c.name;
        std::string labels;
        std::set<std::u16string> seen;
        for (const Tick& tick : t.ticks) {
            labels += (labels.empty() ? "" : " ") + utf8(tick.label);
            EXPECT_TRUE(seen.insert(tick.label).second) << c.name << ": repeated label";
            EXPECT_GE(tick.seconds, c.from) << c.name;
            EXPECT_LE(tick.seconds, c.to) << c.name;
        }
        EXPECT_LE(t.ticks.size(), static_cast<std::size_t>(c.maxTicks)) << c.name;
        EXPECT_EQ(labels, c.labels) << c.name;
    }
}

TEST(Ticks, StampAtInvertsStampSeconds) {
    for (const Stamp s :
         {Stamp{1, 1, 1, 0, 0, 0}, Stamp{1899, 12, 31, 23, 59, 59}, Stamp{2000, 2, 29, 12, 0, 1},
          Stamp{2026, 12, 7, 6, 33, 0}, Stamp{9999, 12, 31, 0, 0, 0}}) {
        const Stamp back = stampAt(stampSeconds(s));
        EXPECT_EQ(stampSeconds(back), stampSeconds(s));
        EXPECT_EQ(back.month, s.month);
    }
    EXPECT_EQ(weekday(at(2026, 12, 7) / kDaySeconds), 0); // a Monday
    EXPECT_EQ(weekday(at(2026, 12, 13) / kDaySeconds), 6);
}
