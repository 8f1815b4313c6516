// SPDX-License-Identifier: MIT
#include "history/stats.h"

#include "eval/bands.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace taiju::view {

namespace {

constexpr long long kSecondsPerDay = 86400;
// Days from 0001-01-01 to 1970-01-01.
constexpr long long kUnixEpochDay = 719162;

bool counts(const StatsInput& in, std::size_t i) {
    return !in.setAside[i] && plottable(in.dated[i].weight);
}

std::optional<double> defined(double v) {
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// The trend as it stood at the end of `day`: that of the last record of the
// span on or before it; nothing when the span does not reach back that far.
std::optional<double> trendOn(const StatsInput& in, std::size_t begin, std::size_t end,
                              long long day) {
    const auto first = in.dated.begin() + static_cast<std::ptrdiff_t>(begin);
    const auto after = std::upper_bound(
        first, in.dated.begin() + static_cast<std::ptrdiff_t>(end), (day + 1) * kSecondsPerDay,
        [](long long s, const DatedRecord& r) { return s <= r.seconds; });
    if (after == first)
        return std::nullopt;
    return defined(in.trend[static_cast<std::size_t>(after - in.dated.begin()) - 1]);
}

std::vector<PeriodRow> periodRows(const StatsInput& in, bool byMonth) {
    std::vector<PeriodRow> rows;
    for (std::size_t i = 0; i < in.dated.size(); ++i) {
        if (!counts(in, i))
            continue;
        const Stamp s = stampAt(in.dated[i].seconds);
        const int month = byMonth ? s.month : 0;
        const double w = in.dated[i].weight;
        if (rows.empty() || rows.back().year != s.year || rows.back().month != month)
            rows.push_back({s.year, month, 0, 0, w, w, 0});
        PeriodRow& row = rows.back();
        ++row.count;
        row.mean += w; // the sum until the end
        row.min = std::min(row.min, w);
        row.max = std::max(row.max, w);
        row.trendAtEnd = in.trend[i];
    }
    for (PeriodRow& row : rows)
        row.mean /= static_cast<double>(row.count);
    std::reverse(rows.begin(), rows.end());
    return rows;
}

void appendNumber(std::string& out, double v, int decimals) {
    // No "-0.0": a value that rounds to zero is written as zero.
    if (std::fabs(v) < 0.5 * std::pow(10.0, -decimals))
        v = 0;
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    out.append(buffer, r.ptr);
}

void appendTwoDigits(std::string& out, int n) {
    out += static_cast<char>('0' + n / 10 % 10);
    out += static_cast<char>('0' + n % 10);
}

void appendDate(std::string& out, const Date& d, bool withDay) {
    char buffer[16];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, d.year);
    out.append(std::max<std::ptrdiff_t>(0, 4 - (r.ptr - buffer)), '0');
    out.append(buffer, r.ptr);
    out += '-';
    appendTwoDigits(out, d.month);
    if (withDay) {
        out += '-';
        appendTwoDigits(out, d.day);
    }
}

} // namespace

long long dayOfSeconds(long long seconds) {
    return seconds / kSecondsPerDay;
}

Date dateOfDay(long long day) {
    // Days since 1970-01-01 to the civil date (era of 400 years).
    const long long z = day - kUnixEpochDay + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

Figures figures(const StatsInput& in, std::size_t begin, std::size_t end) {
    Figures f;
    double sum = 0;
    std::size_t firstCounted = end, lastCounted = end;
    for (std::size_t i = begin; i < end; ++i) {
        if (in.setAside[i])
            ++f.outliers;
        if (!counts(in, i))
            continue;
        const double w = in.dated[i].weight;
        const long long day = dayOfSeconds(in.dated[i].seconds);
        if (f.records++ == 0) {
            firstCounted = i;
            f.min = f.max = w;
            f.minDay = f.maxDay = day;
        }
        lastCounted = i;
        sum += w;
        if (w < *f.min) {
            f.min = w;
            f.minDay = day;
        }
        if (w > *f.max) {
            f.max = w;
            f.maxDay = day;
        }
    }
    if (f.records == 0)
        return f;
    const DatedRecord& latest = in.dated[lastCounted];
    f.mean = sum / static_cast<double>(f.records);
    f.firstDay = dayOfSeconds(in.dated[firstCounted].seconds);
    f.lastDay = dayOfSeconds(latest.seconds);
    f.latest = latest.weight;
    if (plottable(latest.bmi))
        f.latestBmi = latest.bmi;
    if (plottable(latest.standard))
        f.latestStandard = latest.standard;
    f.trend = defined(in.trend[lastCounted]);
    f.firstTrend = defined(in.trend[firstCounted]);
    // The span must reach back the whole period: its first counted day on or
    // before the period's start.
    auto change = [&](long long days) -> std::optional<double> {
        if (!f.trend || *f.firstDay > *f.lastDay - days)
            return std::nullopt;
        const auto before = trendOn(in, firstCounted, lastCounted + 1, *f.lastDay - days);
        if (!before)
            return std::nullopt;
        return *f.trend - *before;
    };
    f.change7 = change(7);
    f.change30 = change(30);
    f.change365 = change(365);
    if (const auto four = change(28))
        f.ratePerWeek = *four / 4;
    return f;
}

Span recordsBetween(const std::vector<DatedRecord>& dated, long long fromDay, long long toDay) {
    auto at = [&](long long seconds) {
        return static_cast<std::size_t>(
            std::lower_bound(dated.begin(), dated.end(), seconds,
                             [](const DatedRecord& r, long long s) { return r.seconds < s; }) -
            dated.begin());
    };
    const std::size_t begin = at(fromDay * kSecondsPerDay);
    return {begin, std::max(begin, at((toDay + 1) * kSecondsPerDay))};
}

std::vector<PeriodRow> monthRows(const StatsInput& in) {
    return periodRows(in, true);
}

std::vector<PeriodRow> yearRows(const StatsInput& in) {
    return periodRows(in, false);
}

Projection projectGoal(std::optional<double> goal, const Figures& f) {
    Projection p;
    if (!goal || !f.trend || !f.lastDay)
        return p;
    const double remaining = *f.trend - *goal; // > 0: the goal lies below
    const bool passed = f.firstTrend && (*f.firstTrend - *goal) * remaining < 0;
    if (std::fabs(remaining) < 0.05 || passed) {
        p.kind = Projection::Kind::Reached;
        return p;
    }
    p.remaining = std::fabs(remaining);
    if (!f.ratePerWeek) {
        p.kind = Projection::Kind::NoRate;
        return p;
    }
    const double toward = remaining > 0 ? -*f.ratePerWeek : *f.ratePerWeek;
    if (toward < 0.05) {
        p.kind = Projection::Kind::Never;
        return p;
    }
    p.kind = Projection::Kind::Due;
    p.due = dateOfDay(*f.lastDay + static_cast<long long>(std::ceil(p.remaining / toward * 7)));
    return p;
}

const char* bmiBandName(double bmi) {
    switch (bmiBand(bmi)) {
    case 1:
        return "やせぎみ";
    case 2:
        return "正常体重";
    case 3:
        return "やや肥満";
    default:
        return "肥満";
    }
}

std::string summaryText(const Figures& f, std::optional<double> goal) {
    std::string out;
    auto key = [&](const char* name) {
        out += name;
        out += '\t';
    };
    auto kg = [&](const char* name, std::optional<double> v, int decimals = 1) {
        key(name);
        if (v)
            appendNumber(out, *v, decimals);
        out += '\n';
    };
    auto date = [&](const char* name, std::optional<long long> day) {
        key(name);
        if (day)
            appendDate(out, dateOfDay(*day), true);
        out += '\n';
    };
    const bool any = f.records > 0;
    key("records");
    out += std::to_string(f.records) + '\n';
    date("first", f.firstDay);
    date("last", f.lastDay);
    kg("latest", f.latest);
    kg("trend", f.trend);
    kg("change_7d", f.change7);
    kg("change_30d", f.change30);
    kg("change_365d", f.change365);
    kg("rate_per_week", f.ratePerWeek, 2);
    kg("min", f.min);
    date("min_date", any ? std::optional(f.minDay) : std::nullopt);
    kg("max", f.max);
    date("max_date", any ? std::optional(f.maxDay) : std::nullopt);
    kg("mean", f.mean);
    key("outliers");
    out += std::to_string(f.outliers) + '\n';
    kg("goal", goal);
    const Projection p = projectGoal(goal, f);
    kg("goal_remaining",
       p.kind == Projection::Kind::Unknown ? std::nullopt : std::optional(p.remaining));
    key("goal_date");
    if (p.kind == Projection::Kind::Due)
        appendDate(out, p.due, false);
    out += '\n';
    return out;
}

} // namespace taiju::view
