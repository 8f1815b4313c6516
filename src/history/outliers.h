// SPDX-License-Identifier: MIT
#pragma once
// Typos in the log, such as 7.05 typed for 70.5, set aside as 外れ値 so that
// they stretch no axis and move no trend. Nothing is written to the log.

#include "history/chart_data.h"

#include <algorithm>
#include <cstddef>
#include <utility>
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

// Whether `weight` is set aside, its neighbourhood (itself among the
// weights around it, see setAsideWeights) being `around[0..count)`, which
// it puts in order.
bool offTheMedian(double weight, double* around, std::size_t count);

// The rule of setAsideWeights for a series given one plottable weight at a
// time, each with what the caller wants back with its verdict (`T`), so
// that a long series is never held whole. A weight's verdict is known once
// the three after it are in, or at the end; set-aside weights wait for the
// first one kept, for if none were kept none would be set aside.
template <class T> class OutlierSieve {
  public:
    // Adds the next weight; `take(T, bool aside)` gets each weight whose
    // verdict is now known, in the order of the series.
    template <class Take> void add(double weight, T item, Take&& take) {
        window_.push_back({weight, std::move(item)});
        if (window_.size() > undecided_ + kAfter)
            decideNext(take);
    }
    // Ends the series: the verdicts still open.
    template <class Take> void finish(Take&& take) {
        while (undecided_ < window_.size())
            decideNext(take);
        if (!anyKept_)
            for (T& item : waiting_)
                take(std::move(item), false);
        window_.clear();
        waiting_.clear();
        undecided_ = 0;
        anyKept_ = false;
    }

  private:
    static constexpr std::size_t kAfter = 3; // the weights after one that judge it
    struct Entry {
        double weight;
        T item;
    };
    template <class Take> void decideNext(Take& take) {
        double around[2 * kAfter + 1];
        const std::size_t from = undecided_ >= kAfter ? undecided_ - kAfter : 0;
        const std::size_t to = std::min(undecided_ + kAfter + 1, window_.size());
        for (std::size_t j = from; j < to; ++j)
            around[j - from] = window_[j].weight;
        Entry& e = window_[undecided_++];
        if (offTheMedian(e.weight, around, to - from)) {
            if (anyKept_)
                take(std::move(e.item), true);
            else
                waiting_.push_back(std::move(e.item));
        } else {
            if (!anyKept_) {
                anyKept_ = true;
                for (T& item : waiting_)
                    take(std::move(item), true);
                waiting_.clear();
            }
            take(std::move(e.item), false);
        }
        // Only the weights before the next open one that judge it are kept.
        if (undecided_ > kAfter) {
            window_.erase(window_.begin());
            --undecided_;
        }
    }

    std::vector<Entry> window_; // up to three decided weights, then the open ones
    std::size_t undecided_ = 0; // the first open weight in window_
    std::vector<T> waiting_;    // set aside before any was kept
    bool anyKept_ = false;
};

} // namespace taiju::view
