// SPDX-License-Identifier: MIT
#pragma once
// The ticks of the chart's time axis, on calendar boundaries chosen from the
// span in view: days, weeks (Mondays), months, quarters or years, labelled
// in Japanese style ("12/07", "2026/12", "2026年").

#include <string>
#include <vector>

namespace taiju::view {

enum class TickUnit { Day, Week, Month, Quarter, Year };

struct Tick {
    long long seconds; // stampSeconds of the boundary (a midnight)
    std::u16string label;
};

struct CalendarTicks {
    TickUnit unit = TickUnit::Day;
    int step = 1; // in units: every other week, every 5 years, ...
    std::vector<Tick> ticks;
};

// The finest calendar ticks of which at most `maxTicks` (at least 2) lie in
// [from, to] (stampSeconds, from ≥ 0). Every tick lies in that range and no
// label is repeated.
CalendarTicks calendarTicks(long long from, long long to, int maxTicks);

} // namespace taiju::view
