#include "history/chart_data.h"

#include "eval/number.h"
#include "history/outliers.h"

#include <algorithm>
#include <cmath>

namespace taiju::view {

ChartData chartData(const LogRecords& records) {
    ChartData data;
    const bool hasDate = records.columnCount() > kDateItem;
    data.dated.reserve(records.size());
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto stamp = hasDate ? readStamp(records.text(r, kDateItem)) : std::nullopt;
        if (!stamp) {
            ++data.undated;
            continue;
        }
        data.dated.push_back({r, stampSeconds(*stamp), leadingNumber(records.text(r, kWeightItem)),
                              leadingNumber(records.text(r, kStandardItem)),
                              leadingNumber(records.text(r, kBmiItem))});
    }
    // A log is written in date order, so it is mostly sorted already.
    auto earlier = [](const DatedRecord& a, const DatedRecord& b) { return a.seconds < b.seconds; };
    if (!std::is_sorted(data.dated.begin(), data.dated.end(), earlier))
        std::stable_sort(data.dated.begin(), data.dated.end(), earlier);
    data.aside = setAside(data.dated);
    data.asideCount =
        static_cast<std::size_t>(std::count(data.aside.begin(), data.aside.end(), true));
    return data;
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
