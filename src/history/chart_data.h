// SPDX-License-Identifier: MIT
#pragma once
// What the viewer's chart shows: the records with a readable date in date
// order, the weight trend, and the points worth drawing at a given width.

#include "history/stamp.h"
#include "log/record_reader.h"

#include <cstddef>
#include <span>
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

// Appends the first `count` records whose date reads to `dated`, in file
// order, their index in the records plus `first`; returns the number of
// records whose date does not read. Then putInDateOrder() orders them as
// chartData() does, for a log read in pieces.
std::size_t appendDated(const LogRecords& records, std::size_t count, std::size_t first,
                        std::vector<DatedRecord>& dated);
void putInDateOrder(std::vector<DatedRecord>& dated);

// Whether a number is drawn: finite and above 0 (an empty column reads as 0).
bool plottable(double value);

// The indices of the points of a series (`xs` ascending) worth drawing in
// `columns` pixel columns: all of them when they are at most four per column;
// otherwise, in each pixel column that holds points, its first, lowest,
// highest and last point, in order, so that the line drawn looks the same.
std::vector<std::size_t> pointsToDraw(std::span<const double> xs, std::span<const double> ys,
                                      std::size_t columns);

} // namespace taiju::view
