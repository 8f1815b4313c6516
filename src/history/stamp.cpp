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

} // namespace taiju::view
