// SPDX-License-Identifier: MIT
// Typos set aside by the median of their neighbours; lasting changes kept.

#include "history/outliers.h"

#include <gtest/gtest.h>

using namespace taiju::view;

TEST(Outliers, SetAsideByTheMedianAround) {
    struct Case {
        const char* name;
        std::vector<double> weights;
        std::vector<bool> aside;
    };
    const bool o = false, X = true;
    const Case cases[] = {
        {"typo in the middle", {70.5, 70.4, 70.6, 7.05, 70.3, 70.2, 70.4}, {o, o, o, X, o, o, o}},
        {"typo first", {7.05, 70.4, 70.6, 70.5, 70.3}, {X, o, o, o, o}},
        {"typo last", {70.5, 70.4, 70.6, 70.5, 705}, {o, o, o, o, X}},
        {"two typos in a row",
         {70, 70.1, 70.2, 7, 7.1, 70.3, 70.2, 70.1},
         {o, o, o, X, X, o, o, o}},
        {"lasting 10 kg change",
         {80, 80.2, 80.1, 80, 70, 70.1, 69.9, 70},
         {o, o, o, o, o, o, o, o}},
        {"within 1 kg is never set aside", {5, 5, 5.9, 5, 5}, {o, o, o, o, o}},
        {"within 10 % is never set aside", {70, 70, 76.9, 70, 70}, {o, o, o, o, o}},
        {"all typos: no median to trust", {70.5, 7.05}, {o, o}},
        {"unplottable weights take no part", {70, 0, 0, 0, 70.2, 7, 70.1}, {o, o, o, o, o, X, o}},
        {"empty", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(setAsideWeights(c.weights), c.aside) << c.name;
}
