// SPDX-License-Identifier: MIT
#include "history/chart_data.h"

#include "eval/number.h"
#include "history/outliers.h"

#include <algorithm>
#include <cmath>

namespace taiju::view {

ChartData chartData(const LogRecords& records) {
    ChartData data;
    data.dated.reserve(records.size());
    data.undated = appendDated(records, records.size(), 0, data.dated);
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

void putInDateOrder(std::vector<DatedRecord>& dated) {
    // A log is written in date order, so it is mostly sorted already.
    auto earlier = [](const DatedRecord& a, const DatedRecord& b) { return a.seconds < b.seconds; };
    if (!std::is_sorted(dated.begin(), dated.end(), earlier))
        std::stable_sort(dated.begin(), dated.end(), earlier);
}

bool plottable(double value) {
    return std::isfinite(value) && value > 0;
}

std::vector<std::size_t> pointsToDraw(std::span<const double> xs, std::span<const double> ys,
                                      std::size_t columns) {
    std::vector<std::size_t> kept;
    columns = std::max<std::size_t>(columns, 1);
    if (xs.size() <= 4 * columns) {
        for (std::size_t i = 0; i < xs.size(); ++i)
            kept.push_back(i);
        return kept;
    }
    const double from = xs.front();
    const double span = xs.back() - from;
    auto columnOf = [&](double x) {
        if (!(span > 0))
            return std::size_t{0};
        const double c = std::floor((x - from) / span * static_cast<double>(columns));
        return std::min(static_cast<std::size_t>(std::max(c, 0.0)), columns - 1);
    };
    std::size_t i = 0;
    while (i < xs.size()) {
        const std::size_t column = columnOf(xs[i]);
        std::size_t first = i, low = i, high = i, last = i;
        for (++i; i < xs.size() && columnOf(xs[i]) == column; ++i) {
            last = i;
            if (ys[i] < ys[low])
                low = i;
            if (ys[i] > ys[high])
                high = i;
        }
        std::size_t four[] = {first, low, high, last};
        std::sort(std::begin(four), std::end(four));
        for (std::size_t k = 0; k < 4; ++k)
            if (k == 0 || four[k] != four[k - 1])
                kept.push_back(four[k]);
    }
    return kept;
}

} // namespace taiju::view
