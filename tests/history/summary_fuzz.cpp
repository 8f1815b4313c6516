// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes as a log, in two pieces, to the summary that sums a
// log up as it is read (LogSummary), and compares its figures with those of
// the whole log held at once (chartData, figures, overview): every figure
// must be the same to the last bit. A log out of date order is summed up
// as taiju-view --summary does, by its dated records put in order.

#include "history/stats.h"
#include "support/fuzz.h"
#include "text/encoding.h"

#include <cmath>
#include <cstring>
#include <optional>

namespace {

using namespace taiju;
using namespace taiju::view;

bool same(std::optional<double> a, std::optional<double> b) {
    if (!a || !b)
        return !a && !b;
    return std::memcmp(&*a, &*b, sizeof(double)) == 0 || (std::isnan(*a) && std::isnan(*b));
}

bool same(const Figures& a, const Figures& b) {
    return a.records == b.records && a.outliers == b.outliers && a.firstDay == b.firstDay &&
           a.lastDay == b.lastDay && same(a.latest, b.latest) && same(a.latestBmi, b.latestBmi) &&
           same(a.latestStandard, b.latestStandard) && same(a.trend, b.trend) &&
           same(a.firstTrend, b.firstTrend) && same(a.change7, b.change7) &&
           same(a.change30, b.change30) && same(a.change365, b.change365) &&
           same(a.ratePerWeek, b.ratePerWeek) && same(a.min, b.min) && same(a.max, b.max) &&
           same(a.mean, b.mean) &&
           (a.records == 0 || (a.minDay == b.minDay && a.maxDay == b.maxDay));
}

// Items 0 to 6 of width 1, 6, 1, 6, 1, 6, 19: weight, standard, BMI, date.
const RecordLayout kLayout{{{0, 1}, {1, 6}, {7, 1}, {8, 6}, {14, 1}, {15, 6}, {21, 19}}, 254};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const std::size_t cut = in.byte();
    const std::string log = in.restAsBytes();
    const platform::Cp932Decoder decoder;

    RecordReader whole(kLayout, decoder);
    whole.append(log);
    const ChartData held = chartData(whole.records());
    const StatsInput input{held.dated, held.aside};
    const Figures expected = figures(input);
    fuzz::require(same(overview(input).whole, expected));

    // Piece by piece, each piece's complete records forgotten once summed.
    RecordReader reader(kLayout, decoder);
    LogSummary summary;
    bool ordered = true;
    for (const std::string_view piece : {std::string_view(log).substr(0, std::min(cut, log.size())),
                                         std::string_view(log).substr(std::min(cut, log.size()))}) {
        reader.append(piece);
        if (ordered)
            ordered = summary.addRecords(reader.records(), reader.completeRecords());
        reader.forgetCompleteRecords();
    }
    if (ordered)
        ordered = summary.addRecords(reader.records(), reader.records().size());
    const Figures streamed = ordered ? summary.finish() : figuresInOrder(held.dated);
    fuzz::require(same(streamed, expected));
    return 0;
}
