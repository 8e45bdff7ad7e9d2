#include "platform/system/international.h"

#include <gtest/gtest.h>

#include "platform/system/date_time.h"
#include "platform/system/locale_facts.h"
#include "platform/text/text.h"

namespace {

pf::LocaleFacts german_facts() {
    pf::LocaleFacts f;
    f.decimal_point = ",";
    f.thousands_separator = ".";
    f.currency = "+€";
    f.international_currency = "EUR ";
    f.date_format = "%d.%m.%Y";
    f.time_format = "%T";
    f.measurement = 1;
    f.month_names = {"Januar", "Februar", "März", "April", "Mai", "Juni",
                     "Juli", "August", "September", "Oktober", "November", "Dezember"};
    f.month_abbreviations = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    f.day_names = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
    f.day_abbreviations = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    return f;
}

// Restores the US settings after each test.
class International : public ::testing::Test {
protected:
    void TearDown() override { pf::set_international_settings(pf::us_international_settings()); }
};

TEST_F(International, CLocaleGivesTheUsSettings) {
    pf::IntlSettings s = pf::international_settings_of_locale("C");
    EXPECT_EQ(s.decimal_point, '.');
    EXPECT_EQ(s.thousands_separator, ',');
    EXPECT_EQ(s.list_separator, ';');
    EXPECT_EQ(s.date_separator, '/');
    EXPECT_EQ(s.currency, "$");
    EXPECT_EQ(s.date_order, pf::kMonthDayYear);
    EXPECT_FALSE(s.metric);
    EXPECT_FALSE(s.twenty_four_hour);
    EXPECT_EQ(s.month_names[8], "September");
    EXPECT_EQ(s.day_abbreviations[0], "Sun");
}

TEST_F(International, GermanLocaleFacts) {
    pf::IntlSettings s = pf::settings_from_locale_facts(german_facts());
    EXPECT_EQ(s.decimal_point, ',');
    EXPECT_EQ(s.thousands_separator, '.');
    EXPECT_EQ(s.currency, "\xDB");  // the euro sign in Mac Roman
    EXPECT_FALSE(s.currency_before);
    EXPECT_EQ(s.date_order, pf::kDayMonthYear);
    EXPECT_EQ(s.date_separator, '.');
    EXPECT_TRUE(s.twenty_four_hour);
    EXPECT_TRUE(s.metric);
    EXPECT_EQ(s.month_names[2], "M\x8Arz");
    EXPECT_EQ(s.day_names[5], "Freitag");
}

TEST_F(International, UnspellableFactsKeepTheUsOnes) {
    pf::LocaleFacts f;
    f.decimal_point = ".";
    f.thousands_separator = "\u202F";  // a narrow space
    f.currency = "-\uFFE5";
    f.international_currency = "JPY ";
    f.date_format = "%Y\u5E74%m\u6708%d\u65E5";
    f.time_format = "%H\u6642%M\u5206%S\u79D2";
    f.month_names.fill("\u6708");
    pf::IntlSettings s = pf::settings_from_locale_facts(f);
    EXPECT_EQ(s.thousands_separator, '\xCA');
    EXPECT_EQ(s.currency, "JPY");
    EXPECT_TRUE(s.currency_before);
    EXPECT_EQ(s.date_order, pf::kYearMonthDay);
    EXPECT_EQ(s.date_separator, '/');
    EXPECT_EQ(s.time_separator, ':');
    EXPECT_EQ(s.month_names[0], "January");
}

TEST_F(International, DateOrdersOfFormats) {
    struct Case {
        const char* format;
        pf::DateOrder order;
        char separator;
    };
    const Case cases[] = {
        {"%m/%d/%y", pf::kMonthDayYear, '/'}, {"%D", pf::kMonthDayYear, '/'}, {"%F", pf::kYearMonthDay, '-'},
        {"%d/%m/%Y", pf::kDayMonthYear, '/'}, {"%Y-%m-%d", pf::kYearMonthDay, '-'},
        {"%e.%-m.%Y", pf::kDayMonthYear, '.'}, {"%Y/%d/%m", pf::kYearDayMonth, '/'},
    };
    for (const Case& c : cases) {
        pf::LocaleFacts f;
        f.date_format = c.format;
        pf::IntlSettings s = pf::settings_from_locale_facts(f);
        EXPECT_EQ(s.date_order, c.order) << c.format;
        EXPECT_EQ(s.date_separator, c.separator) << c.format;
    }
}

TEST_F(International, SeparatorsNeverCollide) {
    pf::LocaleFacts f;
    f.decimal_point = ",";
    f.thousands_separator = ",";
    EXPECT_EQ(pf::settings_from_locale_facts(f).thousands_separator, '.');
}

TEST_F(International, DateAndTimeTexts) {
    pf::DateTimeRec d{2001, 2, 3, 13, 5, 9, 0};
    uint32_t when = 0;
    ASSERT_TRUE(pf::date_to_seconds(d, when));
    pf::set_international_settings(pf::us_international_settings());
    EXPECT_EQ(pf::date_string(when, pf::DateForm::long_date), "Saturday, February 3, 2001");
    EXPECT_EQ(pf::date_string(when, pf::DateForm::abbreviated_date), "Sat, Feb 3, 2001");
    EXPECT_EQ(pf::date_string(when, pf::DateForm::short_date), "2/3/2001");
    EXPECT_EQ(pf::time_string(when, false), "1:05 PM");
    EXPECT_EQ(pf::time_string(when, true), "1:05:09 PM");
    EXPECT_EQ(pf::time_string(when - 13 * 3600, false), "12:05 AM");

    pf::set_international_settings(pf::settings_from_locale_facts(german_facts()));
    EXPECT_EQ(pf::international_settings().decimal_point, ',');
    EXPECT_EQ(pf::date_string(when, pf::DateForm::long_date), "Samstag, 3 Februar 2001");
    EXPECT_EQ(pf::date_string(when, pf::DateForm::short_date), "3.2.2001");
    EXPECT_EQ(pf::time_string(when, true), "13:05:09");
}

TEST_F(International, JapaneseDayNamesInShiftJis) {
    EXPECT_EQ(pf::japanese_day_name(1), "\x93\xFA\x97\x6A\x93\xFA");
    std::string utf8;
    ASSERT_TRUE(pf::shift_jis_to_utf8(pf::japanese_day_name(7), utf8));
    EXPECT_EQ(utf8, "土曜日");
    EXPECT_EQ(pf::japanese_day_name(0), "");
}

}  // namespace
