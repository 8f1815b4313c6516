// SPDX-License-Identifier: MIT
#pragma once
// What the viewer's chart shows: the records with a readable date in date
// order, the weight trend, and the points worth drawing at a given width.

#include "history/stamp.h"
#include "log/record_reader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

namespace taiju::view {

// The columns of the record that the save button writes.
inline constexpr std::size_t kWeightItem = 1;
inline constexpr std::size_t kStandardItem = 3;
inline constexpr std::size_t kBmiItem = 5;
inline constexpr std::size_t kDateItem = 6;
inline constexpr std::size_t kCommentItem = 7;

// A record whose date reads, with its numbers (leading-number reading).
struct DatedRecord {
    std::size_t record; // its index in the records
    long long seconds;  // stampSeconds of its date (stampAt gives it back)
    double weight;
    double standard;
    double bmi;
};

struct ChartData {
    std::vector<DatedRecord> dated; // date order; equal dates in file order
    std::size_t undated = 0;        // records whose date does not read
    std::vector<bool> aside;        // dated[i] is set aside as a typo (outliers.h)
    std::size_t asideCount = 0;
};

// The stamps and numbers of the records, each read once, and the typos.
ChartData chartData(const LogRecords& records);
// The same from the dated records of a log read in pieces (appendDated), and
// the number of records whose date does not read.
ChartData chartData(std::vector<DatedRecord> dated, std::size_t undated);

// Appends the first `count` records whose date reads to `dated`, in file
// order, their index in the records plus `first`; returns the number of
// records whose date does not read. Then putInDateOrder() orders them as
// chartData() does, for a log read in pieces.
std::size_t appendDated(const LogRecords& records, std::size_t count, std::size_t first,
                        std::vector<DatedRecord>& dated);
void putInDateOrder(std::vector<DatedRecord>& dated);
// The items (columns) that appendDated() reads.
const std::vector<std::size_t>& datedItems();

// Whether a number is drawn: finite and above 0 (an empty column reads as 0).
inline bool plottable(double value) {
    return std::isfinite(value) && value > 0;
}

// A series of `size` points, point k at (x(k), y(k)), x ascending and every
// y finite. The functions read the points where they are kept, so that a
// series needs no copy of its own.
struct Series {
    std::size_t size = 0;
    std::function<double(std::size_t)> x, y;
};

// The lowest and highest point of each block of 8, 16, 32, ... points of a
// series, worked out once, so that the span of values and the points worth
// drawing of any part of it take time that grows with the pixel columns and
// not with the points (about two bytes per point).
class SeriesSummary {
  public:
    SeriesSummary() = default;
    explicit SeriesSummary(Series series);

    const Series& series() const { return series_; }
    // The first point with x ≥ `x`, and the first with x > `x`.
    std::size_t lowerBound(double x) const;
    std::size_t upperBound(double x) const;

    // The first of the lowest and the first of the highest of the points
    // [from, to) (from < to).
    struct Extremes {
        std::size_t low, high;
    };
    Extremes extremes(std::size_t from, std::size_t to) const;

    // What each pixel column keeps of its points: its first, lowest, highest
    // and last (a line through them looks the same as through them all), or
    // its lowest and highest only (markers, or a line thinner to draw whose
    // two ends are kept all the same).
    enum class Keep { Ends, Extremes };

    // The points [from, to) worth drawing in `columns` pixel columns: all of
    // them when they are at most four (Keep::Extremes: two) per column;
    // otherwise, in order, those that each column keeps.
    std::vector<std::size_t> pointsToDraw(std::size_t from, std::size_t to, std::size_t columns,
                                          Keep keep = Keep::Ends) const;

  private:
    // A point with its value rounded to a float, which orders as the value
    // does but for ties, and is read without going to the series.
    struct Point {
        std::uint32_t at;
        float value;
    };
    // Whether `a` lies below (above) `b`: the lower (higher) value, or of
    // equal values the earlier point.
    bool below(Point a, Point b) const;
    bool above(Point a, Point b) const;
    Point point(std::size_t at) const;

    Series series_;
    // levels_[k][b]: the lowest and the highest point of block b of
    // kFirstBlock << k points.
    std::vector<std::vector<std::pair<Point, Point>>> levels_;
};

// The indices of the points of a series (`xs` ascending) worth drawing in
// `columns` pixel columns: all of them when they are at most four per column;
// otherwise, in each pixel column that holds points, its first, lowest,
// highest and last point, in order, so that the line drawn looks the same.
std::vector<std::size_t> pointsToDraw(std::span<const double> xs, std::span<const double> ys,
                                      std::size_t columns);

} // namespace taiju::view
