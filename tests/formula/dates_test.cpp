#include <array>
#include <cmath>

#include "formula_fixture.h"
#include "model/date_serials.h"
#include "model/workbook.h"
#include "platform/system/date_time.h"
#include "formula/date_functions.h"

namespace {

class Dates : public FormulaTest {
protected:
    void SetUp() override {
        FormulaTest::SetUp();
        pf::DateTimeRec now{2010, 6, 15, 9, 45, 30, 3};
        uint32_t seconds = 0;
        ASSERT_TRUE(pf::date_to_seconds(now, seconds));
        pf::fix_current_date_time(seconds);
        g_calcSheet = layer;
        g_calcWork = workbook;
    }
    void TearDown() override {
        pf::unfix_current_date_time();
        FormulaTest::TearDown();
    }

    static double serial_1904(int year, int month, int day) {
        pf::DateTimeRec date{year, month, day, 0, 0, 0, 1};
        uint32_t seconds = 0;
        EXPECT_TRUE(pf::date_to_seconds(date, seconds));
        return SecsToFloat(seconds);
    }

    // 1 and the serial in g_value when the text reads as a date.
    int16_t typed(const std::string& text, int16_t order = 0, std::string* rewritten = nullptr) {
        unsigned char copy[256];
        pstr(copy, text);
        int16_t yes = parseDate(copy, order, rewritten != nullptr);
        if (rewritten) *rewritten = text_of(copy);
        return yes;
    }

    pf::DateTimeRec split(double serial) {
        pf::DateTimeRec date;
        EXPECT_TRUE(serial_names_date(serial, Get_1900Date_Flag(workbook) != 0, date)) << serial;
        return date;
    }

    // "year-month-day weekday" of a serial by the worksheet functions, or the
    // error name of YEAR.
    std::string parts(double serial) {
        const std::string of = "(" + std::to_string(serial) + ")";
        if (int16_t error = error_of("=YEAR" + of)) return "error " + std::to_string(error);
        std::string text;
        for (const char* function : {"YEAR", "MONTH", "DAY", "WEEKDAY"})
            text += (text.empty() ? "" : function[0] == 'W' ? " " : "-") +
                    std::to_string(int(number(std::string("=") + function + of)));
        return text;
    }
};

TEST_F(Dates, BuildingDatesKeepsYearsInRange) {
    EXPECT_EQ(Datefunc(99, 12, 31), serial_1904(1999, 12, 31));
    EXPECT_EQ(Datefunc(20, 1, 1), serial_1904(2020, 1, 1));
    EXPECT_EQ(Datefunc(-96, 1, 1), serial_1904(1904, 1, 1));
    EXPECT_EQ(checkValue(std::array<double, 1>{Datefunc(2041, 1, 1)}.data()), kErrValue);
    EXPECT_EQ(checkValue(std::array<double, 1>{Datefunc(1903, 12, 31)}.data()), kErrValue);
    EXPECT_EQ(checkValue(std::array<double, 1>{Datefunc(2040, 12, 31)}.data()), kErrValue);  // past the last second
    EXPECT_EQ(Datefunc(2000, 13, 1), serial_1904(2001, 1, 1));  // the month carries
}

TEST_F(Dates, The1900SystemCountsItsDaysFrom1900) {
    double plain = Datefunc(2000, 1, 1);
    Set_1900Date_Flag(workbook, true);
    double shifted = Datefunc(2000, 1, 1);
    EXPECT_EQ(shifted - plain, 1462);
    pf::DateTimeRec back = split(shifted);
    EXPECT_EQ(back.year, 2000);
    EXPECT_EQ(back.month, 1);
    EXPECT_EQ(back.day, 1);
    EXPECT_EQ(Datefunc(1904, 1, 1), 1462);  // as in other programs' 1900 system
    EXPECT_EQ(Datefunc(1904, 3, 1), serial_1904(1904, 3, 1) + 1462);
    EXPECT_EQ(Datefunc(1908, 1, 2), serial_1904(1908, 1, 2) + 1462);
}

// Every serial gives the parts of the date it names in its date system, the
// dates the calendar shows and the others alike, or an error when it names
// none; never those of another date.
TEST_F(Dates, DatePartsAreThoseOfTheDateTheSerialNames) {
    EXPECT_EQ(parts(0), "1904-1-1 6");
    EXPECT_EQ(parts(1461), "1908-1-1 4");
    EXPECT_EQ(parts(49210), "2038-9-24 6");
    EXPECT_EQ(parts(49211), "2038-9-25 7");  // shown as a date, so not an error
    EXPECT_EQ(parts(49710), "2040-2-6 2");
    EXPECT_EQ(parts(60000), "2068-4-9 2");  // past the calendar: the date's own parts
    EXPECT_EQ(parts(-5), "error " + std::to_string(kErrValue));
    Set_1900Date_Flag(workbook, true);
    EXPECT_EQ(parts(1), "1900-1-1 2");
    EXPECT_EQ(parts(59), "1900-2-28 4");
    EXPECT_EQ(parts(61), "1900-3-1 5");
    EXPECT_EQ(parts(898), "1902-6-16 2");
    EXPECT_EQ(parts(1461), "1903-12-31 5");
    EXPECT_EQ(parts(1462), "1904-1-1 6");
    EXPECT_EQ(parts(1463), "1904-1-2 7");
    EXPECT_EQ(parts(2924), "1908-1-2 5");
    EXPECT_EQ(parts(51172), "2040-2-6 2");
    EXPECT_EQ(parts(51173), "2040-2-7 3");
    EXPECT_EQ(parts(60000), "2064-4-8 3");
    EXPECT_EQ(parts(2958465), "9999-12-31 6");
    for (double none : {-5.0, 0.0, 0.5, 60.0, 2958466.0}) EXPECT_EQ(parts(none), "error " + std::to_string(kErrValue)) << none;
    // A time of day has its hours wherever its day lies.
    EXPECT_EQ(number("=HOUR(0.5)"), 12);
    EXPECT_EQ(number("=HOUR(60.25)"), 6);
    EXPECT_EQ(number("=MINUTE(51173.75+1/1440)"), 1);
    EXPECT_EQ(error_of("=HOUR(-0.5)"), kErrValue);
    Set_1900Date_Flag(workbook, false);
    EXPECT_EQ(number("=HOUR(60000.75)"), 18);
    EXPECT_EQ(error_of("=DAY(-0.5)"), kErrValue);
}

TEST_F(Dates, ATypedDateAndTheSameDateBuiltHaveOneSerialInBothSystems) {
    for (bool system_1900 : {false, true}) {
        Set_1900Date_Flag(workbook, system_1900);
        for (const char* text : {"1/1/1904", "3/15/1906", "1/2/1908", "7/4/2031"}) {
            ASSERT_EQ(typed(text), 1) << text;
            double from_text = g_value;
            int m = 0, d = 0, y = 0;
            std::sscanf(text, "%d/%d/%d", &m, &d, &y);
            EXPECT_EQ(from_text, Datefunc(y, m, d)) << text << " 1900: " << system_1900;
            pf::DateTimeRec shown = split(from_text);
            EXPECT_EQ(shown.year, y) << text;
            EXPECT_EQ(shown.month, m) << text;
            EXPECT_EQ(shown.day, d) << text;
        }
        EXPECT_EQ(number("=\"1/1/1904\"-DATE(1904,1,1)"), 0);
        EXPECT_EQ(number("=YEAR(\"1/1/1904\")"), 1904);
    }
}

TEST_F(Dates, TypedDatesAreChecked) {
    EXPECT_EQ(typed("31/4", 1), 0);
    EXPECT_EQ(typed("29/2/2000", 1), 1);
    EXPECT_EQ(g_value, serial_1904(2000, 2, 29));
    EXPECT_EQ(typed("29/2/1999", 1), 0);
    EXPECT_EQ(typed("12345/1/1"), 0);
    EXPECT_EQ(typed("10:"), 0);
    EXPECT_EQ(typed("10:60"), 0);
    EXPECT_EQ(typed("5"), 0);
    EXPECT_EQ(typed("1/2/3/4"), 0);
    EXPECT_EQ(typed("12 1/2"), 0);
    EXPECT_EQ(typed("1/x"), 0);
    EXPECT_EQ(typed(""), 0);
}

TEST_F(Dates, TimesAloneFallOnToday) {
    ASSERT_EQ(typed("10:30"), 1);
    EXPECT_EQ(g_value, serial_1904(2010, 6, 15) + (10 * 60 + 30) / 1440.0);
    ASSERT_EQ(typed("1/2/2003 13:05:09"), 1);
    EXPECT_DOUBLE_EQ(g_value, serial_1904(2003, 1, 2) + (13 * 3600 + 5 * 60 + 9) / 86400.0);
}

TEST_F(Dates, TwoPartDatesByOrder) {
    ASSERT_EQ(typed("3/4"), 1);
    EXPECT_EQ(g_value, serial_1904(2010, 3, 4));
    ASSERT_EQ(typed("3/2005"), 1);  // month and year
    EXPECT_EQ(g_value, serial_1904(2005, 3, 1));
    ASSERT_EQ(typed("3/4", 1), 1);
    EXPECT_EQ(g_value, serial_1904(2010, 4, 3));
    ASSERT_EQ(typed("2005/3", 2), 1);
    EXPECT_EQ(g_value, serial_1904(2005, 3, 1));
    ASSERT_EQ(typed("5/3/12", 2), 1);
    EXPECT_EQ(g_value, serial_1904(2005, 3, 12));
    ASSERT_EQ(typed("99/3/12", 5), 1);
    EXPECT_EQ(g_value, serial_1904(1999, 12, 3));
}

TEST_F(Dates, RewrittenDatesTakeTheStandardForm) {
    std::string out;
    ASSERT_EQ(typed("01/02/03 7:5", 0, &out), 1);
    EXPECT_EQ(out, "1/2/2003 7:05");
    use_system_settings('.', ',', ',', '-', 1);
    ASSERT_EQ(typed("2-1-99", 1, &out), 1);
    EXPECT_EQ(out, "2-1-1999");
}

TEST_F(Dates, DateFunctions) {
    EXPECT_EQ(number("=DATE(99,12,31)"), serial_1904(1999, 12, 31));
    EXPECT_EQ(number("=DATE(5,1,1.6)"), serial_1904(2005, 1, 2));
    EXPECT_EQ(error_of("=DATE(2041,1,1)"), kErrValue);
    EXPECT_EQ(error_of("=DATE(NA(),1/0,1)"), kErrNA);
    EXPECT_EQ(error_of("=DATE(1,1/0,NA())"), kErrDivZero);
    EXPECT_DOUBLE_EQ(number("=TIME(10,30,0)"), 10.5 / 24);
    EXPECT_EQ(number("=YEAR(DATE(2003,4,5))") * 10000 + number("=MONTH(DATE(2003,4,5))") * 100 +
                  number("=DAY(DATE(2003,4,5))"),
              20030405);
    EXPECT_EQ(number("=WEEKDAY(DATE(2010,6,15))"), 3);
    EXPECT_EQ(number("=HOUR(TIME(13,5,9))") * 10000 + number("=MINUTE(TIME(13,5,9))") * 100 +
                  number("=SECOND(TIME(13,5,9))"),
              130509);
    EXPECT_EQ(error_of("=YEAR(-108393)"), kErrValue);  // before 1904: no date here, not 1904
    EXPECT_EQ(error_of("=YEAR(\"not a date\")"), kErrValue);
    EXPECT_EQ(number("=DATEVALUE(\"3/4/2005\")"), serial_1904(2005, 3, 4));
    EXPECT_EQ(error_of("=DATEVALUE(5)"), kErrValue);
    EXPECT_DOUBLE_EQ(number("=TIMEVALUE(\"6:00\")"), 0.25);
}

TEST_F(Dates, TimeValueIsTheExactFractionWhateverTheDay) {
    for (int year : {1910, 2010, 2039}) {
        pf::DateTimeRec today{year, 12, 31, 9, 45, 30, 3};
        uint32_t seconds = 0;
        ASSERT_TRUE(pf::date_to_seconds(today, seconds));
        pf::fix_current_date_time(seconds);
        EXPECT_EQ(number("=TIMEVALUE(\"6:30\")"), 23400.0 / 86400) << year;
        EXPECT_EQ(number("=TIMEVALUE(\"23:59:59\")"), 86399.0 / 86400) << year;
        EXPECT_EQ(number("=TIMEVALUE(\"3/4/2005 6:30\")"), 23400.0 / 86400) << year;
    }
}

TEST_F(Dates, NowAndTodayCountFromTheRecalculation) {
    g_calc_time = serial_1904(2010, 6, 15) + 0.5;
    EXPECT_EQ(number("=NOW"), g_calc_time);
    EXPECT_EQ(number("=TODAY"), serial_1904(2010, 6, 15));
    Set_1900Date_Flag(workbook, true);
    EXPECT_EQ(number("=TODAY"), serial_1904(2010, 6, 15) + 1462);
    EXPECT_EQ(number("=YEAR(TODAY)"), 2010);
}

TEST_F(Dates, DateArithmeticMovesComponents) {
    EXPECT_EQ(number("=DATEADD(DATE(2000,1,31),0,1)"), serial_1904(2000, 3, 2));
    EXPECT_EQ(number("=DATEADD(\"1/1/2000\",1,2,3)"), serial_1904(2001, 3, 4));
    EXPECT_EQ(error_of("=DATEADD(DATE(2000,1,1),1,NA(),5)"), kErrNA);
    EXPECT_EQ(error_of("=DATEADD(DATE(2000,1,1),\"x\")"), kErrValue);
    EXPECT_EQ(error_of("=DATEADD(\"never\",1)"), kErrValue);
    // A date the calendar cannot show is not moved as another date.
    EXPECT_EQ(error_of("=DATEADD(-5,0,0,1)"), kErrValue);
    EXPECT_EQ(error_of("=DATEADD(60000,0,0,-1)"), kErrValue);
}

TEST_F(Dates, Days360) {
    EXPECT_EQ(number("=DAYS360(DATE(2001,1,31),DATE(2001,3,1))"), 31);
    EXPECT_EQ(number("=DAYS360(DATE(2001,1,31),DATE(2001,3,1),1)"), 31);
    EXPECT_EQ(number("=DAYS360(DATE(2001,2,28),DATE(2001,3,31))"), 31);
    EXPECT_EQ(number("=DAYS360(DATE(2001,2,28),DATE(2001,3,31),1)"), 32);
    EXPECT_EQ(error_of("=DAYS360(NA(),1)"), kErrNA);
}

}  // namespace
