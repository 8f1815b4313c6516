// SPDX-License-Identifier: MIT
#include "cp932gen/cp932_qt.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The tables compiled into the programs are what Qt's converter gives now:
// a Qt whose converter changed since the tables were written is noticed here.
TEST(Cp932, CompiledTablesEqualQtsConverter) {
    namespace cp932 = taiju::platform::cp932;
    auto fresh = std::make_unique<cp932::Tables>();
    ASSERT_EQ(cp932::buildFromQt(*fresh), "");
    const auto differences = [](const auto& compiled, const auto& now, unsigned base) {
        std::string first;
        int count = 0;
        for (std::size_t i = 0; i < std::size(now); ++i) {
            if (compiled[i] != now[i] && count++ == 0) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "first at %04X: compiled %04X, now %04X",
                              unsigned(base + i), unsigned(compiled[i]), unsigned(now[i]));
                first = buf;
            }
        }
        return std::to_string(count) + (count ? " differ, " + first : "");
    };
    EXPECT_EQ(differences(cp932::kTables.single, fresh->single, 0), "0");
    EXPECT_EQ(differences(cp932::kTables.pair, fresh->pair, cp932::kFirstPair), "0");
    EXPECT_EQ(differences(cp932::kTables.code, fresh->code, 0), "0");
}

} // namespace
