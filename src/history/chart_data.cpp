// SPDX-License-Identifier: MIT
#include "history/chart_data.h"

#include "eval/number.h"
#include "history/outliers.h"

#include <algorithm>
#include <cmath>

namespace taiju::view {

ChartData chartData(const LogRecords& records) {
    std::vector<DatedRecord> dated;
    dated.reserve(records.size());
    const std::size_t undated = appendDated(records, records.size(), 0, dated);
    return chartData(std::move(dated), undated);
}

ChartData chartData(std::vector<DatedRecord> dated, std::size_t undated) {
    ChartData data;
    data.dated = std::move(dated);
    data.undated = undated;
    putInDateOrder(data.dated);
    data.aside = setAside(data.dated);
    data.asideCount =
        static_cast<std::size_t>(std::count(data.aside.begin(), data.aside.end(), true));
    return data;
}

std::size_t appendDated(const LogRecords& records, std::size_t count, std::size_t first,
                        std::vector<DatedRecord>& dated) {
    if (records.columnCount() <= kDateItem)
        return count;
    std::size_t undated = 0;
    for (std::size_t r = 0; r < count; ++r) {
        const auto stamp = readStamp(records.text(r, kDateItem));
        if (!stamp) {
            ++undated;
            continue;
        }
        dated.push_back({first + r, stampSeconds(*stamp),
                         leadingNumber(records.text(r, kWeightItem)),
                         leadingNumber(records.text(r, kStandardItem)),
                         leadingNumber(records.text(r, kBmiItem))});
    }
    return undated;
}

const std::vector<std::size_t>& datedItems() {
    static const std::vector<std::size_t> items{kWeightItem, kStandardItem, kBmiItem, kDateItem};
    return items;
}

void putInDateOrder(std::vector<DatedRecord>& dated) {
    // A log is written in date order, so it is mostly sorted already.
    auto earlier = [](const DatedRecord& a, const DatedRecord& b) { return a.seconds < b.seconds; };
    if (!std::is_sorted(dated.begin(), dated.end(), earlier))
        std::stable_sort(dated.begin(), dated.end(), earlier);
}

namespace {

// The smallest block summed up; shorter stretches are read point by point.
constexpr std::size_t kFirstBlock = 16;

} // namespace

SeriesSummary::Point SeriesSummary::point(std::size_t at) const {
    return {static_cast<std::uint32_t>(at), static_cast<float>(series_.y(at))};
}

bool SeriesSummary::below(Point a, Point b) const {
    if (a.value != b.value)
        return a.value < b.value;
    const double ya = series_.y(a.at), yb = series_.y(b.at);
    return ya < yb || (ya == yb && a.at < b.at);
}

bool SeriesSummary::above(Point a, Point b) const {
    if (a.value != b.value)
        return a.value > b.value;
    const double ya = series_.y(a.at), yb = series_.y(b.at);
    return ya > yb || (ya == yb && a.at < b.at);
}

SeriesSummary::SeriesSummary(Series series) : series_(std::move(series)) {
    auto lower = [&](Point a, Point b) { return below(b, a) ? b : a; };
    auto higher = [&](Point a, Point b) { return above(b, a) ? b : a; };
    // Level 0 from the points, each further level from pairs of the one below.
    std::vector<std::pair<Point, Point>> level(series_.size / kFirstBlock);
    for (std::size_t b = 0; b < level.size(); ++b) {
        const Point first = point(b * kFirstBlock);
        std::pair<Point, Point> extremes{first, first};
        for (std::size_t i = b * kFirstBlock + 1; i < (b + 1) * kFirstBlock; ++i) {
            const Point p = point(i);
            extremes = {lower(extremes.first, p), higher(extremes.second, p)};
        }
        level[b] = extremes;
    }
    while (!level.empty()) {
        std::vector<std::pair<Point, Point>> next(level.size() / 2);
        for (std::size_t b = 0; b < next.size(); ++b)
            next[b] = {lower(level[2 * b].first, level[2 * b + 1].first),
                       higher(level[2 * b].second, level[2 * b + 1].second)};
        levels_.push_back(std::move(level));
        level = std::move(next);
    }
}

std::size_t SeriesSummary::lowerBound(double x) const {
    std::size_t from = 0, to = series_.size;
    while (from < to) {
        const std::size_t mid = from + (to - from) / 2;
        if (series_.x(mid) < x)
            from = mid + 1;
        else
            to = mid;
    }
    return from;
}

std::size_t SeriesSummary::upperBound(double x) const {
    std::size_t from = 0, to = series_.size;
    while (from < to) {
        const std::size_t mid = from + (to - from) / 2;
        if (series_.x(mid) <= x)
            from = mid + 1;
        else
            to = mid;
    }
    return from;
}

SeriesSummary::Extremes SeriesSummary::extremes(std::size_t from, std::size_t to) const {
    // Ties go to the earlier point, as a scan from the left finds it.
    Point low = point(from), high = low;
    auto take = [&](Point l, Point h) {
        if (below(l, low))
            low = l;
        if (above(h, high))
            high = h;
    };
    // Each step takes the largest whole block that starts at `i` and ends by
    // `to`, or else the point at `i`.
    for (std::size_t i = from; i < to;) {
        std::size_t level = 0, block = kFirstBlock;
        while (level < levels_.size() && i % block == 0 && i + block <= to) {
            ++level;
            block *= 2;
        }
        if (level == 0) {
            const Point p = point(i);
            take(p, p);
            ++i;
            continue;
        }
        block /= 2;
        const auto& [l, h] = levels_[level - 1][i / block];
        take(l, h);
        i += block;
    }
    return {low.at, high.at};
}

std::vector<std::size_t> SeriesSummary::pointsToDraw(std::size_t from, std::size_t to,
                                                     std::size_t columns, Keep keep) const {
    std::vector<std::size_t> kept;
    columns = std::max<std::size_t>(columns, 1);
    const bool ends = keep == Keep::Ends;
    if (to - from <= (ends ? 4 : 2) * columns) {
        for (std::size_t i = from; i < to; ++i)
            kept.push_back(i);
        return kept;
    }
    const auto& x = series_.x;
    const double left = x(from);
    const double span = x(to - 1) - left;
    auto columnOf = [&](std::size_t i) {
        if (!(span > 0))
            return std::size_t{0};
        const double c = std::floor((x(i) - left) / span * static_cast<double>(columns));
        return std::min(static_cast<std::size_t>(std::max(c, 0.0)), columns - 1);
    };
    for (std::size_t i = from; i < to;) {
        // The column's points end where the next column begins: found by
        // steps of growing length from `i`, then halving, so that the points
        // read lie near each other.
        const std::size_t column = columnOf(i);
        std::size_t end = i + 1, beyond = to;
        for (std::size_t step = 1; end < to; step *= 2) {
            const std::size_t probe = std::min(i + step, to);
            if (probe == to || columnOf(probe) != column) {
                beyond = probe;
                break;
            }
            end = probe + 1;
        }
        while (end < beyond) {
            const std::size_t mid = end + (beyond - end) / 2;
            if (columnOf(mid) == column)
                end = mid + 1;
            else
                beyond = mid;
        }
        const Extremes e = extremes(i, end);
        // The whole part's first and last points are kept either way.
        std::size_t four[] = {ends || i == from ? i : e.low, e.low, e.high,
                              ends || end == to ? end - 1 : e.high};
        std::sort(std::begin(four), std::end(four));
        for (std::size_t k = 0; k < 4; ++k)
            if (k == 0 || four[k] != four[k - 1])
                kept.push_back(four[k]);
        i = end;
    }
    return kept;
}

std::vector<std::size_t> pointsToDraw(std::span<const double> xs, std::span<const double> ys,
                                      std::size_t columns) {
    const SeriesSummary summary(
        {xs.size(), [xs](std::size_t i) { return xs[i]; }, [ys](std::size_t i) { return ys[i]; }});
    return summary.pointsToDraw(0, xs.size(), columns);
}

} // namespace taiju::view
