// SPDX-License-Identifier: MIT
#pragma once
// Typos in the log, such as 7.05 typed for 70.5, set aside as 外れ値 so that
// they stretch no axis and move no trend. Nothing is written to the log.

#include "history/chart_data.h"

#include <vector>

namespace taiju::view {

// For each weight of a series in date order, whether it is set aside: it
// differs from the median of the weights around it (the three before, itself
// and the three after; fewer at either end) by more than 10 % of that median
// and by more than 1 kg. A lasting change of level is kept, because from its
// first weight on the median follows it. Weights that are not plottable
// take no part and are never set aside. When every plottable weight would be
// set aside there is no median to trust, and none is.
std::vector<bool> setAsideWeights(const std::vector<double>& weights);

// The same for dated records (date order), by their weights.
std::vector<bool> setAside(const std::vector<DatedRecord>& dated);

} // namespace taiju::view
