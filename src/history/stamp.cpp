// SPDX-License-Identifier: MIT
#include "history/stamp.h"

namespace taiju::view {
namespace {

// The number of `count` digits at `pos`, or -1.
int digits(std::u16string_view s, std::size_t pos, std::size_t count) {
    int n = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (s[i] < u'0' || s[i] > u'9')
            return -1;
        n = n * 10 + (s[i] - u'0');
    }
    return n;
}

bool leapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : days[m - 1];
}

} // namespace

std::optional<Stamp> readStamp(std::u16string_view s) {
    // MM-DD-YYYY HH:MM:SS
    if (s.size() != 19 || s[2] != u'-' || s[5] != u'-' || s[10] != u' ' || s[13] != u':' ||
        s[16] != u':')
        return std::nullopt;
    Stamp t{digits(s, 6, 4),  digits(s, 0, 2),  digits(s, 3, 2),
            digits(s, 11, 2), digits(s, 14, 2), digits(s, 17, 2)};
    if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > daysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59)
        return std::nullopt;
    return t;
}

long long stampSeconds(const Stamp& t) {
    const long long y = t.year - 1;
    long long days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < t.month; ++m)
        days += daysInMonth(t.year, m);
    days += t.day - 1;
    return ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
}

Stamp stampAt(long long seconds) {
    long long days = seconds / kDaySeconds;
    const long long rest = seconds % kDaySeconds;
    // 400 years of the Gregorian calendar are 146097 days.
    int year = 1 + static_cast<int>(days / 146097) * 400;
    days %= 146097;
    for (;;) {
        const int length = leapYear(year) ? 366 : 365;
        if (days < length)
            break;
        days -= length;
        ++year;
    }
    int month = 1;
    while (days >= daysInMonth(year, month))
        days -= daysInMonth(year, month++);
    return {year,
            month,
            static_cast<int>(days) + 1,
            static_cast<int>(rest / 3600),
            static_cast<int>(rest / 60 % 60),
            static_cast<int>(rest % 60)};
}

int weekday(long long day) {
    return static_cast<int>(day % 7); // 0001-01-01 was a Monday
}

} // namespace taiju::view
