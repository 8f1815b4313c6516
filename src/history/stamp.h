// SPDX-License-Identifier: MIT
#pragma once
// The date and time column of a record, "MM-DD-YYYY HH:MM:SS", as the main
// window stamps it.

#include <optional>
#include <string_view>

namespace taiju::view {

struct Stamp {
    int year, month, day;
    int hour, minute, second;
};

// The stamp of a text of exactly that form (ASCII digits, "-", one blank,
// ":") naming a real date of the Gregorian calendar from the year 1 on and a
// time from 00:00:00 to 23:59:59; nothing for any other text.
std::optional<Stamp> readStamp(std::u16string_view text);

// Seconds from 0001-01-01 00:00:00 to the stamp, for putting stamps in order.
long long stampSeconds(const Stamp& stamp);

inline constexpr long long kDaySeconds = 24 * 60 * 60;

// The stamp `seconds` after 0001-01-01 00:00:00 (0 or more), the inverse of
// stampSeconds.
Stamp stampAt(long long seconds);

// The day of the week of a day counted from 0001-01-01: 0 Monday to 6 Sunday.
int weekday(long long day);

} // namespace taiju::view
