// SPDX-License-Identifier: MIT
// The date and time column "MM-DD-YYYY HH:MM:SS".

#include "history/stamp.h"

#include <gtest/gtest.h>

using namespace taiju::view;

TEST(Stamp, ReadsOnlyRealDatesInTheStampedForm) {
    struct Case {
        const char* name;
        std::u16string text;
        bool reads;
    };
    const Case cases[] = {
        {"the worked example", u"05-01-2003 07:30:00", true},
        {"last second of a year", u"12-31-2025 23:59:59", true},
        {"29 February of a leap year", u"02-29-2024", false},
        {"29 February 2024", u"02-29-2024 00:00:00", true},
        {"29 February 2023", u"02-29-2023 00:00:00", false},
        {"29 February 1900", u"02-29-1900 00:00:00", false},
        {"29 February 2000", u"02-29-2000 00:00:00", true},
        {"31 April", u"04-31-2003 00:00:00", false},
        {"month 13", u"13-01-2003 00:00:00", false},
        {"day 0", u"05-00-2003 00:00:00", false},
        {"year 0", u"05-01-0000 00:00:00", false},
        {"hour 24", u"05-01-2003 24:00:00", false},
        {"minute 60", u"05-01-2003 07:60:00", false},
        {"second 60", u"05-01-2003 07:30:60", false},
        {"day before month is not read", u"2003-05-01 07:30:00", false},
        {"slashes", u"05/01/2003 07:30:00", false},
        {"one digit", u"5-01-2003 07:30:00", false},
        {"a trailing character", u"05-01-2003 07:30:00x", false},
        {"full-width digits", u"０5-01-2003 07:30:00", false},
        {"a sign in a field", u"05-+1-2003 07:30:00", false},
        {"empty", u"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readStamp(c.text).has_value(), c.reads);
    }
    const Stamp s = *readStamp(u"05-01-2003 07:30:09");
    EXPECT_EQ(s.year * 10000 + s.month * 100 + s.day, 20030501);
    EXPECT_EQ(s.hour * 10000 + s.minute * 100 + s.second, 73009);
}

TEST(Stamp, SecondsPutStampsInOrder) {
    auto at = [](const char16_t* t) { return stampSeconds(*readStamp(t)); };
    EXPECT_EQ(at(u"01-01-0001 00:00:01"), 1);
    EXPECT_EQ(at(u"03-01-2024 00:00:00") - at(u"02-28-2024 00:00:00"), 2 * 86400);
    EXPECT_EQ(at(u"01-01-2004 00:00:00") - at(u"01-01-2003 00:00:00"), 365 * 86400);
    // 1970-01-01 is 719162 days after 0001-01-01.
    EXPECT_EQ(at(u"01-01-1970 00:00:00"), 719162LL * 86400);
    EXPECT_LT(at(u"12-31-2002 23:59:59"), at(u"01-01-2003 00:00:00"));
}
