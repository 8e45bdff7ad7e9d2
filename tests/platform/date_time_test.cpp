#include "platform/system/date_time.h"

#include <gtest/gtest.h>

namespace {

pf::DateTimeRec date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    pf::DateTimeRec r;
    r.year = y;
    r.month = mo;
    r.day = d;
    r.hour = h;
    r.minute = mi;
    r.second = s;
    return r;
}

uint32_t seconds_of(const pf::DateTimeRec& r) {
    uint32_t s = 0;
    EXPECT_TRUE(pf::date_to_seconds(r, s));
    return s;
}

pf::DateTimeRec split(uint32_t seconds) {
    pf::DateTimeRec r;
    pf::seconds_to_date(seconds, r);
    return r;
}

void expect_date(const pf::DateTimeRec& r, int y, int mo, int d, int h, int mi, int s, int weekday) {
    EXPECT_EQ(r.year, y);
    EXPECT_EQ(r.month, mo);
    EXPECT_EQ(r.day, d);
    EXPECT_EQ(r.hour, h);
    EXPECT_EQ(r.minute, mi);
    EXPECT_EQ(r.second, s);
    EXPECT_EQ(r.day_of_week, weekday);
}

TEST(DateTime, LimitsOf1904And2040) {
    expect_date(split(0), 1904, 1, 1, 0, 0, 0, 6);  // a Friday
    expect_date(split(pf::kLastSecond), 2040, 2, 6, 6, 28, 15, 2);  // a Monday
    EXPECT_EQ(seconds_of(date(1904, 1, 1)), 0u);
    EXPECT_EQ(seconds_of(date(2040, 2, 6, 6, 28, 15)), pf::kLastSecond);

    uint32_t s = 12345;
    EXPECT_FALSE(pf::date_to_seconds(date(2040, 2, 6, 6, 28, 16), s));
    EXPECT_EQ(s, pf::kLastSecond);
    EXPECT_FALSE(pf::date_to_seconds(date(1903, 12, 31, 23, 59, 59), s));
    EXPECT_EQ(s, 0u);
    EXPECT_FALSE(pf::date_to_seconds(date(2040, 12, 31), s));
}

TEST(DateTime, KnownMoments) {
    EXPECT_EQ(seconds_of(date(1970, 1, 1)), 2082844800u);
    EXPECT_EQ(seconds_of(date(2000, 1, 1)), 3029529600u);
    expect_date(split(3029529600u + 86399), 1999 + 1, 1, 1, 23, 59, 59, 7);  // a Saturday
    EXPECT_EQ(seconds_of(date(1904, 1, 2, 12)), 86400u + 43200u);
}

TEST(DateTime, MonthsAndDaysOutOfRangeCarryOver) {
    struct Case {
        pf::DateTimeRec given;
        int y, mo, d;
    };
    const Case cases[] = {
        {date(1999, 13, 1), 2000, 1, 1},   {date(2000, 0, 15), 1999, 12, 15}, {date(2000, 3, 0), 2000, 2, 29},
        {date(1999, 3, 0), 1999, 2, 28},   {date(2001, 1, 32), 2001, 2, 1},   {date(2001, 25, 1), 2003, 1, 1},
        {date(2001, -1, 1), 2000, 11, 1},  {date(2001, 1, -30), 2000, 12, 1}, {date(2001, 2, 29), 2001, 3, 1},
        {date(2001, 1, 365), 2001, 12, 31},
    };
    for (const Case& c : cases) {
        pf::DateTimeRec r = split(seconds_of(c.given));
        EXPECT_EQ(r.year, c.y) << c.given.year << "-" << c.given.month << "-" << c.given.day;
        EXPECT_EQ(r.month, c.mo) << c.given.year << "-" << c.given.month << "-" << c.given.day;
        EXPECT_EQ(r.day, c.d) << c.given.year << "-" << c.given.month << "-" << c.given.day;
    }
}

TEST(DateTime, TimeFieldsCarryIntoDays) {
    expect_date(split(seconds_of(date(2000, 12, 31, 24, 0, 0))), 2001, 1, 1, 0, 0, 0, 2);
    expect_date(split(seconds_of(date(2000, 1, 1, 0, 0, -1))), 1999, 12, 31, 23, 59, 59, 6);
    expect_date(split(seconds_of(date(2000, 1, 1, 0, 90, 3600))), 2000, 1, 1, 2, 30, 0, 7);
}

TEST(DateTime, LeapYears) {
    EXPECT_EQ(split(seconds_of(date(1904, 2, 29))).day, 29);    // 1904 is a leap year
    EXPECT_EQ(split(seconds_of(date(2000, 2, 29))).month, 2);   // divisible by 400
    EXPECT_EQ(split(seconds_of(date(1900 + 100, 2, 30))).month, 3);
    EXPECT_EQ(seconds_of(date(2001, 1, 1)) - seconds_of(date(2000, 1, 1)), 366u * 86400);
    EXPECT_EQ(seconds_of(date(2002, 1, 1)) - seconds_of(date(2001, 1, 1)), 365u * 86400);
    // 2100 is not a leap year: beyond the unsigned range, so on the long count.
    pf::DateTimeRec r;
    pf::long_seconds_to_date(pf::date_to_long_seconds(date(2100, 2, 29)), r);
    EXPECT_EQ(r.month, 3);
    EXPECT_EQ(r.day, 1);
}

TEST(DateTime, NormalizeAndEverySecondRoundTrips) {
    pf::DateTimeRec r = date(2003, 14, 0, 25, 61, 61);
    pf::normalize_date(r);
    expect_date(r, 2004, 2, 1, 2, 2, 1, 1);  // 14/2003 is February 2004; day 0 its eve; a Sunday
    for (uint32_t s = 0; s < pf::kLastSecond - 86400 * 97; s += 86400 * 97 + 3607)
        EXPECT_EQ(seconds_of(split(s)), s);
}

TEST(DateTime, CurrentTimeCanBeFixed) {
    pf::fix_current_date_time(1234);
    EXPECT_EQ(pf::current_date_time(), 1234u);
    pf::unfix_current_date_time();
    EXPECT_GT(pf::current_date_time(), seconds_of(date(2020, 1, 1)));
}

}  // namespace
