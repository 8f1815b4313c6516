// SPDX-License-Identifier: MIT
#pragma once
// The figures of the viewer's 統計 view and of `taiju-view --summary`: for
// a span of the dated records, the latest weight, the trend and its changes,
// the rate, the extremes and the mean; tables by month and by year; and when
// the trend reaches a goal.
//
// The set-aside flags come in from outside (one per dated record), and the
// trend is the chart's daily one (trend.h), so that the figures follow the
// chart's rules.

#include "history/chart_data.h"
#include "history/outliers.h"
#include "history/trend.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace taiju::view {

struct Date {
    int year, month, day;
};

// Days since 0001-01-01 of a stamp's seconds (stampSeconds), and back.
long long dayOfSeconds(long long seconds);
Date dateOfDay(long long day);

// The records the figures are built from, in date order: the dated records
// and whether each is set aside. A record counts when it has a weight
// (plottable) and is not set aside; the trend follows the counted ones.
struct StatsInput {
    const std::vector<DatedRecord>& dated;
    const std::vector<bool>& setAside;
};

struct Figures {
    std::size_t records = 0;                            // counted records
    std::size_t outliers = 0;                           // records set aside
    std::optional<long long> firstDay, lastDay;         // of the first and last counted record
    std::optional<double> latest;                       // the weight of the last counted record
    std::optional<double> latestBmi;                    // its BMI, when it has one
    std::optional<double> latestStandard;               // its standard weight, when it has one
    std::optional<double> trend;                        // the trend at the last counted record
    std::optional<double> firstTrend;                   // the trend at the first counted record
    std::optional<double> change7, change30, change365; // trend now - trend that many days before
    std::optional<double> ratePerWeek;                  // from the trend's change over 28 days
    std::optional<double> min, max, mean;
    long long minDay = 0, maxDay = 0; // the first record of the lowest and highest weight
};

// The figures of the records [begin, end), the trend being that of the
// whole log up to them; a change or the rate needs counted records reaching
// back that many days from the last one.
Figures figures(const StatsInput& in, std::size_t begin, std::size_t end);
inline Figures figures(const StatsInput& in) {
    return figures(in, 0, in.dated.size());
}

// The figures gathered one record at a time in date order: what figures()
// and the summary of a log read in pieces (LogSummary) have in common.
class FigureTally {
  public:
    // The next record, and whether it is set aside.
    void add(const DatedRecord& record, bool aside);
    // The trend at the end of `day`, a day of counted records added before;
    // the days in order.
    void trendAfter(long long day, double trend);
    Figures figures() const;

  private:
    std::optional<double> trendAsOf(long long day) const;

    Figures f_;
    double sum_ = 0;
    std::optional<DatedRecord> latest_;
    // The trends of the days from a year before the last one on, and of the
    // day before them: what the changes look back to, from recent_[first_].
    std::vector<std::pair<long long, double>> recent_;
    std::size_t first_ = 0;
};

// The figures of a whole log whose dated records are given one at a time,
// only the few whose verdict (外れ値) or day's trend is still open held, so
// that a long log costs little memory.
class LogSummary {
  public:
    // The items of a record that addRecords reads.
    static const std::vector<std::size_t>& itemsRead();
    // Adds the first `count` records of a piece of the log, in file order;
    // false, taking no more, when one comes before a weighing already
    // given: a log out of date order is summed up by figuresInOrder().
    bool addRecords(const LogRecords& records, std::size_t count);
    // Adds the next dated record; false as for addRecords.
    bool add(const DatedRecord& record);
    Figures finish();

  private:
    void decided(const DatedRecord& record, bool aside);

    OutlierSieve<DatedRecord> sieve_;
    TrendFollower trend_;
    FigureTally tally_;
    std::optional<long long> lastSeconds_; // of the last plottable weighing
};

// The figures of dated records in any order, set in date order first.
Figures figuresInOrder(std::vector<DatedRecord> dated);

// The records [begin, end) whose day lies from `fromDay` to `toDay`.
struct Span {
    std::size_t begin, end;
};
Span recordsBetween(const std::vector<DatedRecord>& dated, long long fromDay, long long toDay);

// One month (or one year: month 0) of counted records.
struct PeriodRow {
    int year, month;
    std::size_t count;
    double mean, min, max;
    double trendAtEnd; // the trend at the period's last counted record
};
// The figures of the whole log, and its months and years that hold counted
// records, newest first: all in one walk.
struct Overview {
    Figures whole;
    std::vector<PeriodRow> months, years;
};
Overview overview(const StatsInput& in);

struct Projection {
    enum class Kind {
        Unknown, // no goal or no trend
        NoRate,  // no rate yet: too short a history
        Reached, // the trend is at the goal or past it
        Due,     // reached in `due`'s month at the present rate
        Never,   // the trend moves away, or toward it by less than 0.05 kg a week
    } kind = Kind::Unknown;
    double remaining = 0; // kg between the trend and the goal (0 when reached)
    Date due{};
};
// Past the goal means on its other side from where the trend started.
Projection projectGoal(std::optional<double> goal, const Figures& f);

// The BMI band's name: やせぎみ, 正常体重, やや肥満 or 肥満 (UTF-8).
const char* bmiBandName(double bmi);

// The lines `key<TAB>value` of `taiju-view --summary`, each ending in LF:
// kilograms with one decimal, the rate with two, dates YYYY-MM-DD (the
// goal's YYYY-MM), an empty value for a figure that is undefined.
std::string summaryText(const Figures& f, std::optional<double> goal);

} // namespace taiju::view
