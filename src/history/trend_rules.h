#pragma once
// Which records are set aside as 外れ値 and the daily weight trend, the two
// rules the statistics are built on: the median of seven rule and a trend
// that moves a tenth of the way per day.

#include "history/chart_data.h"

#include <vector>

namespace taiju::view {

// Per dated record (`dated` in date order): whether it is set aside. A
// record with a weight is set aside when its weight differs from the median
// of the weights around it (the three before, itself and the three after
// among the records with a weight; fewer at either end) by more than 10 % of
// that median and by more than 1 kg. Records without a weight are never set
// aside.
std::vector<bool> setAsideRecords(const std::vector<DatedRecord>& dated);

// Per dated record: the trend as it stands after the record's day. The
// weighings of one day count as their mean; the trend starts at the first
// day's mean and then T = T_prev + (1 - 0.9^d) (day's mean - T_prev), d being
// the days since the previous weighing day. Records set aside or without a
// weight are left out; a record before any counted day gets NaN.
std::vector<double> dailyTrend(const std::vector<DatedRecord>& dated,
                               const std::vector<bool>& setAside);

} // namespace taiju::view
