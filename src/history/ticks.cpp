// SPDX-License-Identifier: MIT
#include "history/ticks.h"

#include "history/stamp.h"

#include <algorithm>
#include <cstdio>

namespace taiju::view {
namespace {

struct Choice {
    TickUnit unit;
    int step;
    double days; // the approximate length of a step in days
};

constexpr Choice kChoices[] = {
    {TickUnit::Day, 1, 1},          {TickUnit::Week, 1, 7},       {TickUnit::Week, 2, 14},
    {TickUnit::Month, 1, 30.44},    {TickUnit::Quarter, 1, 91.3}, {TickUnit::Quarter, 2, 182.6},
    {TickUnit::Year, 1, 365.25},    {TickUnit::Year, 2, 730.5},   {TickUnit::Year, 5, 1826},
    {TickUnit::Year, 10, 3652},     {TickUnit::Year, 20, 7305},   {TickUnit::Year, 50, 18262},
    {TickUnit::Year, 100, 36525},   {TickUnit::Year, 200, 73050}, {TickUnit::Year, 500, 182625},
    {TickUnit::Year, 1000, 365250},
};

std::u16string ascii(const char* text) {
    std::u16string out;
    for (; *text; ++text)
        out += static_cast<char16_t>(*text);
    return out;
}

std::u16string label(TickUnit unit, const Stamp& s) {
    char text[32];
    switch (unit) {
    case TickUnit::Day:
    case TickUnit::Week:
        std::snprintf(text, sizeof text, "%02d/%02d", s.month, s.day);
        return ascii(text);
    case TickUnit::Month:
    case TickUnit::Quarter:
        std::snprintf(text, sizeof text, "%d/%02d", s.year, s.month);
        return ascii(text);
    case TickUnit::Year:
        std::snprintf(text, sizeof text, "%d", s.year);
        return ascii(text) + u"年";
    }
    return {};
}

long long monthStart(long long month) { // months since January of the year 0
    return stampSeconds(
        {static_cast<int>(month / 12), static_cast<int>(month % 12) + 1, 1, 0, 0, 0});
}

// The boundaries of `choice` in [from, to]; stops after `limit` of them.
std::vector<long long> boundaries(const Choice& choice, long long from, long long to,
                                  std::size_t limit) {
    std::vector<long long> out;
    const long long firstDay = (from + kDaySeconds - 1) / kDaySeconds;
    if (choice.unit == TickUnit::Day || choice.unit == TickUnit::Week) {
        long long day = firstDay;
        if (choice.unit == TickUnit::Week)
            while (weekday(day) != 0 || (day / 7) % choice.step != 0)
                ++day;
        const long long stride = choice.unit == TickUnit::Week ? 7LL * choice.step : 1;
        for (; day * kDaySeconds <= to && out.size() < limit; day += stride)
            out.push_back(day * kDaySeconds);
        return out;
    }
    const Stamp start = stampAt(from);
    const int months = choice.unit == TickUnit::Month     ? choice.step
                       : choice.unit == TickUnit::Quarter ? 3 * choice.step
                                                          : 12 * choice.step;
    long long month = start.year * 12LL + (start.month - 1);
    if (monthStart(month) < from)
        ++month;
    while (month % months != 0)
        ++month;
    for (; monthStart(month) <= to && out.size() < limit; month += months)
        out.push_back(monthStart(month));
    return out;
}

} // namespace

CalendarTicks calendarTicks(long long from, long long to, int maxTicks) {
    const auto limit = static_cast<std::size_t>(std::max(maxTicks, 2));
    const double spanDays = static_cast<double>(std::max(to - from, 0LL)) / kDaySeconds;
    const Choice* chosen = std::end(kChoices) - 1;
    std::vector<long long> at;
    for (const Choice& choice : kChoices) {
        // A choice with far too many boundaries is not even counted.
        if (spanDays / choice.days > 2.0 * static_cast<double>(limit) + 2)
            continue;
        at = boundaries(choice, from, to, limit + 1);
        if (at.size() <= limit) {
            chosen = &choice;
            break;
        }
    }
    if (chosen == std::end(kChoices) - 1)
        at = boundaries(*chosen, from, to, limit);
    CalendarTicks ticks{chosen->unit, chosen->step, {}};
    for (long long seconds : at)
        ticks.ticks.push_back({seconds, label(chosen->unit, stampAt(seconds))});
    return ticks;
}

} // namespace taiju::view
