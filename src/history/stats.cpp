// SPDX-License-Identifier: MIT
#include "history/stats.h"

#include "eval/bands.h"
#include "eval/number.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace taiju::view {

namespace {

constexpr long long kSecondsPerDay = 86400;
// 0.9^400 is about 5e-19.
constexpr long long kTrendSettles = 400;
// Days from 0001-01-01 to 1970-01-01.
constexpr long long kUnixEpochDay = 719162;

bool counts(const StatsInput& in, std::size_t i) {
    return !in.setAside[i] && plottable(in.dated[i].weight);
}

std::optional<double> defined(double v) {
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// The longest span a change looks back over, in days.
constexpr long long kLongestChange = 365;

// leadingNumber of a text, read quickly when it is digits with at most one
// point and fifteen digits: such a number over a power of ten is one exact
// division away, and that rounds as the reading of its decimals does.
double numberOf(std::u16string_view text) {
    static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    for (const char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            if (++digits > 15)
                return leadingNumber(text);
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - u'0');
            decimals += point;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return leadingNumber(text);
        }
    }
    if (digits == 0)
        return leadingNumber(text);
    return static_cast<double>(mantissa) / kTens[decimals];
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

void FigureTally::add(const DatedRecord& r, bool aside) {
    if (aside)
        ++f_.outliers;
    if (aside || !plottable(r.weight))
        return;
    const double w = r.weight;
    const long long day = dayOfSeconds(r.seconds);
    if (f_.records++ == 0) {
        f_.firstDay = day;
        f_.min = f_.max = w;
        f_.minDay = f_.maxDay = day;
    }
    sum_ += w;
    if (w < *f_.min) {
        f_.min = w;
        f_.minDay = day;
    }
    if (w > *f_.max) {
        f_.max = w;
        f_.maxDay = day;
    }
    latest_ = r;
}

void FigureTally::trendAfter(long long day, double trend) {
    if (recent_.empty())
        f_.firstTrend = defined(trend);
    if (!recent_.empty() && recent_.back().first == day)
        recent_.back().second = trend;
    else
        recent_.emplace_back(day, trend);
    while (recent_.size() - first_ > 1 && recent_[first_ + 1].first <= day - kLongestChange)
        ++first_;
    // The days left behind are dropped now and then, all at once.
    if (first_ >= 1024 && first_ * 2 >= recent_.size()) {
        recent_.erase(recent_.begin(), recent_.begin() + static_cast<std::ptrdiff_t>(first_));
        first_ = 0;
    }
}

std::optional<double> FigureTally::trendAsOf(long long day) const {
    const auto begin = recent_.begin() + static_cast<std::ptrdiff_t>(first_);
    const auto after = std::upper_bound(
        begin, recent_.end(), day,
        [](long long d, const std::pair<long long, double>& p) { return d < p.first; });
    if (after == begin)
        return std::nullopt;
    return defined((after - 1)->second);
}

Figures FigureTally::figures() const {
    Figures f = f_;
    if (f.records == 0)
        return f;
    f.mean = sum_ / static_cast<double>(f.records);
    f.lastDay = dayOfSeconds(latest_->seconds);
    f.latest = latest_->weight;
    if (plottable(latest_->bmi))
        f.latestBmi = latest_->bmi;
    if (plottable(latest_->standard))
        f.latestStandard = latest_->standard;
    if (!recent_.empty())
        f.trend = defined(recent_.back().second);
    // The records must reach back the whole period: the first counted day on
    // or before the period's start.
    auto change = [&](long long days) -> std::optional<double> {
        if (!f.trend || *f.firstDay > *f.lastDay - days)
            return std::nullopt;
        const auto before = trendAsOf(*f.lastDay - days);
        if (!before)
            return std::nullopt;
        return *f.trend - *before;
    };
    f.change7 = change(7);
    f.change30 = change(30);
    f.change365 = change(kLongestChange);
    if (const auto four = change(28))
        f.ratePerWeek = *four / 4;
    return f;
}

Figures figures(const StatsInput& in, std::size_t begin, std::size_t end) {
    if (end <= begin)
        return {};
    FigureTally tally;
    TrendFollower trend;
    // The trend is followed from the log's start to the end of the span's
    // last day; the span's counted days give theirs to the tally.
    std::optional<long long> spanDay; // the last day counted in the span
    auto closed = [&](const std::optional<TrendPoint>& p) {
        if (p && p->day == spanDay)
            tally.trendAfter(p->day, p->trend);
    };
    const long long lastDay = dayOfSeconds(in.dated[end - 1].seconds);
    // What a day's mean weighs in the trend shrinks by 0.9 a day, to below a
    // double's precision after kTrendSettles days: the trend is followed
    // from that long before the span, not from the log's start, so that a
    // short span of a long log costs little.
    const long long settled =
        (dayOfSeconds(in.dated[begin].seconds) - kTrendSettles) * kSecondsPerDay;
    const auto first =
        std::lower_bound(in.dated.begin(), in.dated.begin() + static_cast<std::ptrdiff_t>(begin),
                         settled, [](const DatedRecord& r, long long s) { return r.seconds < s; });
    for (auto i = static_cast<std::size_t>(first - in.dated.begin()); i < in.dated.size(); ++i) {
        const long long day = dayOfSeconds(in.dated[i].seconds);
        if (i >= end && day != lastDay)
            break;
        if (counts(in, i))
            closed(trend.add(in.dated[i].seconds, in.dated[i].weight));
        if (i < begin || i >= end)
            continue;
        tally.add(in.dated[i], in.setAside[i]);
        if (counts(in, i))
            spanDay = day;
    }
    closed(trend.finish());
    return tally.figures();
}

const std::vector<std::size_t>& LogSummary::itemsRead() {
    static const std::vector<std::size_t> items{kWeightItem, kStandardItem, kBmiItem, kDateItem};
    return items;
}

bool LogSummary::addRecords(const LogRecords& records, std::size_t count) {
    if (records.columnCount() <= kDateItem)
        return true; // no record has a date
    for (std::size_t r = 0; r < count; ++r) {
        const auto stamp = readStamp(records.text(r, kDateItem));
        if (!stamp)
            continue;
        if (!add({r, stampSeconds(*stamp), numberOf(records.text(r, kWeightItem)),
                  numberOf(records.text(r, kStandardItem)), numberOf(records.text(r, kBmiItem))}))
            return false;
    }
    return true;
}

bool LogSummary::add(const DatedRecord& record) {
    // Weights that are not plottable are neither counted nor set aside.
    if (!plottable(record.weight))
        return true;
    if (lastSeconds_ && record.seconds < *lastSeconds_)
        return false;
    lastSeconds_ = record.seconds;
    sieve_.add(record.weight, record,
               [this](const DatedRecord& r, bool aside) { decided(r, aside); });
    return true;
}

void LogSummary::decided(const DatedRecord& record, bool aside) {
    tally_.add(record, aside);
    if (aside)
        return;
    if (const auto day = trend_.add(record.seconds, record.weight))
        tally_.trendAfter(day->day, day->trend);
}

Figures LogSummary::finish() {
    sieve_.finish([this](const DatedRecord& r, bool aside) { decided(r, aside); });
    if (const auto day = trend_.finish())
        tally_.trendAfter(day->day, day->trend);
    const Figures f = tally_.figures();
    *this = LogSummary();
    return f;
}

Figures figuresInOrder(std::vector<DatedRecord> dated) {
    putInDateOrder(dated);
    LogSummary summary;
    for (const DatedRecord& d : dated)
        summary.add(d);
    return summary.finish();
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

Overview overview(const StatsInput& in) {
    Overview o;
    FigureTally tally;
    TrendFollower trend;
    // A day's trend closes before the next day's first weighing is added:
    // it belongs to the months and years that were last added to.
    auto closed = [&](const std::optional<TrendPoint>& p) {
        if (!p)
            return;
        o.months.back().trendAtEnd = o.years.back().trendAtEnd = p->trend;
        tally.trendAfter(p->day, p->trend);
    };
    long long nextMonth = LLONG_MIN; // the first day after the month of the last row
    auto addTo = [](PeriodRow& row, double w) {
        ++row.count;
        row.mean += w; // the sum until the end
        row.min = std::min(row.min, w);
        row.max = std::max(row.max, w);
    };
    for (std::size_t i = 0; i < in.dated.size(); ++i) {
        tally.add(in.dated[i], in.setAside[i]);
        if (!counts(in, i))
            continue;
        const double w = in.dated[i].weight;
        closed(trend.add(in.dated[i].seconds, w));
        // A row for each month and year begins at its first counted record.
        if (const long long d = dayOfSeconds(in.dated[i].seconds); d >= nextMonth) {
            const Date date = dateOfDay(d);
            const bool december = date.month == 12;
            nextMonth = dayOfSeconds(
                stampSeconds({date.year + december, december ? 1 : date.month + 1, 1, 0, 0, 0}));
            o.months.push_back({date.year, date.month, 0, 0, w, w, 0});
            if (o.years.empty() || o.years.back().year != date.year)
                o.years.push_back({date.year, 0, 0, 0, w, w, 0});
        }
        addTo(o.months.back(), w);
        addTo(o.years.back(), w);
    }
    closed(trend.finish());
    for (auto* rows : {&o.months, &o.years}) {
        for (PeriodRow& row : *rows)
            row.mean /= static_cast<double>(row.count);
        std::reverse(rows->begin(), rows->end());
    }
    o.whole = tally.figures();
    return o;
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
