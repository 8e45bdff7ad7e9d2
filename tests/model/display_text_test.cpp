// Display text of cells: every number, date and time form, custom date
// patterns, labels, text and formula cells, and fitting into a column width.
#include "model/display_text.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "model/date_serials.h"
#include "model_fixture.h"
#include "platform/resources/resources.h"
#include "platform/system/date_time.h"
#include "platform/system/international.h"
#include "platform/text/text.h"
#include "resource_bundle.h"
#include "tests/support/platform_stand_ins.h"

namespace {

std::string text_of(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

struct Format {
    uint8_t code = kFormatGeneral;
    int8_t decimals = 2;
    uint8_t flags_a = 0;
    uint8_t flags_b = 0;
};

class DisplayTextTest : public ModelTest {
protected:
    DisplaySystemFacts saved_facts{};

    void SetUp() override {
        ModelTest::SetUp();
        ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
        pf::set_international_settings(pf::us_international_settings());
        Init_Quorvin_Globals();
        saved_facts = display_system_facts();
    }
    void TearDown() override {
        display_system_facts() = saved_facts;
        ModelTest::TearDown();
    }

    CellInfoRecord record(double value, const Format& f) {
        CellInfoRecord info{};
        GetDefaultFormat(info.format.bytes);
        info.format.bytes[kFmtCode] = f.code;
        info.format.bytes[kFmtDecimals] = uint8_t(f.decimals);
        info.format.bytes[kFmtFlagsA] = f.flags_a;
        info.format.bytes[kFmtFlagsB] = f.flags_b;
        info.value = value;
        info.layer = layer;
        info.memory = &mem_globals;
        return info;
    }

    std::string show(double value, const Format& f, int16_t width = 0) {
        CellInfoRecord info = record(value, f);
        info.available_width = width;
        FormatCellString(&info);
        return text_of(info.text);
    }

    std::string fixed(double value, uint8_t code, int8_t decimals, uint8_t flags_a = 0, uint8_t flags_b = 0) {
        return show(value, Format{code, decimals, flags_a, uint8_t(flags_b | kFlagBFixedDecimals)});
    }

    // The serial of a date and time in the workbook's date system.
    double serial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
        pf::DateTimeRec date{year, month, day, hour, minute, second, 1};
        uint32_t seconds = 0;
        EXPECT_TRUE(pf::date_to_seconds(date, seconds));
        return serial_of_seconds(seconds, Get_1900Date_Flag(workbook) != 0);
    }

    std::string date(double value, uint8_t code) { return show(value, Format{code, 0, 0, 0}); }

    // A stored cell with a label, for the label and custom date forms.
    std::vector<uint8_t> labelled_cell(const std::string& label, uint8_t code, double value, uint8_t flags_a,
                                       uint8_t flags_b) {
        std::vector<uint8_t> cell(kCellHeaderSize + label.size() + kNumberSlotSize, 0);
        GetDefaultFormat(cell.data());
        cell[kFmtCode] = code;
        cell[kFmtCellType] = kCellConstant;
        cell[kFmtLabelLength] = uint8_t(label.size());
        cell[kFmtFlagsA] = flags_a;
        cell[kFmtFlagsB] = flags_b;
        _SetCellLength_(cell.data(), int16_t(cell.size()));
        _SetFormulaLength_(cell.data(), kNumberSlotSize);
        std::memcpy(_labelPtr_(cell.data()), label.data(), label.size());
        store_f64(_formulaPtr_(cell.data()), value);
        return cell;
    }

    std::string cell_text(const std::vector<uint8_t>& cell, CellInfoRecord* out = nullptr) {
        CellInfoRecord info{};
        std::memcpy(info.format.bytes, cell.data(), kCellFormatSize);
        info.cell = cell.data();
        info.layer = layer;
        info.memory = &mem_globals;
        CellString(&info);
        if (out) *out = info;
        return text_of(info.text);
    }

    std::string custom(const std::string& pattern, double value) {
        return cell_text(labelled_cell(pattern, kFormatCustomDate, value, 0, kFlagBCustomDate));
    }
};

TEST_F(DisplayTextTest, GeneralFixedScientificPercentAndBoolean) {
    EXPECT_EQ(show(1234.5, Format{kFormatGeneral, 2, kFlagAThousands, 0}), "1,234.5");
    EXPECT_EQ(show(-1234567.25, Format{kFormatGeneral, 2, kFlagAThousands, 0}), "-1,234,567.25");
    EXPECT_EQ(show(123, Format{kFormatGeneral, 2, kFlagAThousands, 0}), "123");
    EXPECT_EQ(show(1.0 / 3, Format{}), "0.33333333333333");
    EXPECT_EQ(fixed(2.5, kFormatFixed, 2), "2.50");
    EXPECT_EQ(show(2.5, Format{kFormatFixed, 3, 0, 0}), "2.500");  // "F" forces fixed decimals
    EXPECT_EQ(fixed(12345, kFormatFixed, -3), "12");                 // negative decimals scale
    EXPECT_EQ(fixed(500, kFormatFixed, -3), "0.500");
    EXPECT_EQ(show(1500, Format{kFormatScientific, 2, kFlagAThousands, 0}), "1.5E+03");
    EXPECT_EQ(fixed(1500, kFormatScientific, 2), "1.50E+03");
    EXPECT_EQ(fixed(0.125, kFormatPercent, 1), "12.5%");
    EXPECT_EQ(fixed(-0.125, kFormatPercent, 1, kFlagANegativeParens), "(12.5%)");
    EXPECT_EQ(show(3, Format{kFormatBoolean, 0, 0, 0}), "True");
    EXPECT_EQ(show(0, Format{kFormatBoolean, 0, 0, 0}), "False");
    EXPECT_EQ(show(0, Format{kFormatGeneral, 2, kFlagAZeroEmpty, 0}), "");
    EXPECT_EQ(show(5, Format{100, 0, 0, 0}), "");  // a code without a form
    EXPECT_EQ(show(1e300 * 1e300, Format{kFormatGeneral, 2, kFlagAThousands, 0}), "INF");
}

TEST_F(DisplayTextTest, CurrencyForms) {
    EXPECT_EQ(fixed(-5, 36, 2, kFlagANegativeParens), "($5.00)");
    EXPECT_EQ(fixed(-5, 36, 2, 0, kFlagBSecondCurrency), "$ (5.00)");
    EXPECT_EQ(fixed(-5, 36, 2), "-$5.00");
    EXPECT_EQ(fixed(1234.5, 36, 2, kFlagAThousands), "$1,234.50");
    EXPECT_EQ(fixed(1234.5, 48, 2, kFlagAThousands), "1.234,50 DM");
    EXPECT_EQ(fixed(-1234.5, 48, 2, kFlagAThousands, kFlagBSecondCurrency), "(1.234,50) DM");
    EXPECT_EQ(fixed(1234.5, 49, 2, kFlagAThousands), "1 234,50 F");
    EXPECT_EQ(fixed(1234.5, 47, 0, kFlagAThousands), "L. 1.235");
    EXPECT_EQ(fixed(7, 31, 0), "\xB4" "7");
    EXPECT_EQ(fixed(7, 46, 2), "\xA3" "7.00");
    EXPECT_EQ(fixed(-1234.5, 45, 1, kFlagANegativeParens), "-\x85S 1,234.5");  // never parentheses
    EXPECT_EQ(fixed(7, 50, 2), "\xDB" "7.00");
    display_system_facts().system_version = 0x0810;
    EXPECT_EQ(fixed(7, 50, 2), "EUR7.00");
    display_system_facts().system_script = pf::kScriptJapanese;
    EXPECT_EQ(fixed(7, 31, 0), "\\7");
    EXPECT_EQ(fixed(7, 46, 0), "\x81\x92" "7");
}

TEST_F(DisplayTextTest, RedAndTriangleMarkNegatives) {
    CellInfoRecord info = record(-5, Format{kFormatFixed, 1, kFlagANegativeRed, kFlagBTriangle});
    FormatCellString(&info);
    EXPECT_EQ(text_of(info.text), "\xC6" "5.0");
    EXPECT_EQ(info.negative_in_red, 1);
    info = record(5, Format{kFormatFixed, 1, kFlagANegativeRed, kFlagBTriangle});
    FormatCellString(&info);
    EXPECT_EQ(text_of(info.text), "5.0");
    EXPECT_EQ(info.negative_in_red, 0);
    display_system_facts().system_script = pf::kScriptJapanese;
    EXPECT_EQ(show(-5, Format{kFormatFixed, 0, 0, kFlagBTriangle}), "\x81\xA2" "5");
}

TEST_F(DisplayTextTest, Fractions) {
    EXPECT_EQ(show(2.75, Format{kFormatFraction, 2, 0, 0}), "2 3/4");
    EXPECT_EQ(show(-0.5, Format{kFormatFraction, 2, 0, 0}), "-1/2");
    EXPECT_EQ(show(-2.75, Format{kFormatFraction, 2, 0, 0}), "-2 3/4");
    EXPECT_EQ(fixed(0.9999999, kFormatFraction, 1), "1");
    EXPECT_EQ(show(0, Format{kFormatFraction, 2, 0, 0}), "0");
    EXPECT_EQ(show(3, Format{kFormatFraction, 2, 0, 0}), "3");
    EXPECT_EQ(fixed(3.14159265, kFormatFraction, 3), "3 16/113");
    EXPECT_EQ(fixed(3.14159265, kFormatFraction, 1), "3 1/7");
    EXPECT_EQ(fixed(-0.75, kFormatFraction, 2, kFlagANegativeParens), "(3/4)");
}

TEST_F(DisplayTextTest, LabelsBeforeAndAfter) {
    EXPECT_EQ(cell_text(labelled_cell("kg", kFormatFixed, 2.5, 0, 0)), "2.50 kg");
    EXPECT_EQ(cell_text(labelled_cell("Total", kFormatFixed, 2.5, kFlagALabelBefore, 0)), "Total 2.50");
    EXPECT_EQ(cell_text(labelled_cell("pcs", kFormatFraction, 1.5, 0, 0)), "1 1/2 pcs");
}

// A duration counts its hours past a day, in either date system; it is never
// a date.
TEST_F(DisplayTextTest, DurationsShowTheirHours) {
    for (bool system_1900 : {false, true}) {
        Set_1900Date_Flag(workbook, system_1900);
        EXPECT_EQ(date(1.5, kFormatElapsedTime), "36:00:00");
        EXPECT_EQ(date(62.5, kFormatElapsedTime), "1500:00:00");
        EXPECT_EQ(date(0.75 + 65.0 / 86400, kFormatElapsedTime), "18:01:05");
        EXPECT_EQ(date(-0.25, kFormatElapsedTime), "-6:00:00");
        EXPECT_EQ(date(0, kFormatElapsedTime), "0:00:00");
    }
}

TEST_F(DisplayTextTest, DatesInBothSystems) {
    for (bool system_1900 : {false, true}) {
        Set_1900Date_Flag(workbook, system_1900);
        SCOPED_TRACE(system_1900 ? "1900 system" : "1904 system");
        double day = serial(2005, 3, 7, 14, 5, 9);  // a Monday
        EXPECT_EQ(date(day, 0), "3/7/05");
        EXPECT_EQ(date(day, 1), "3/7");
        EXPECT_EQ(date(day, 2), "05/3");
        EXPECT_EQ(date(day, 3), "05/3/7");
        EXPECT_EQ(date(day, 4), "05.3.7");
        EXPECT_EQ(date(day, 5), "2005/3/7");
        EXPECT_EQ(date(day, 6), "3/7/2005");
        EXPECT_EQ(date(day, 7), "7-Mar");
        EXPECT_EQ(date(day, 8), "Mar-2005");
        EXPECT_EQ(date(day, 9), "7-Mar-2005");
        EXPECT_EQ(date(day, 10), "2005.03.07");
        EXPECT_EQ(date(day, 21), "14:05");
        EXPECT_EQ(date(day, 22), "14:05:09");
        EXPECT_EQ(date(day, 23), "2:05 PM");
        EXPECT_EQ(date(day, 24), "2:05:09 PM");
        EXPECT_EQ(date(day, 25), "3/7/2005  14:05");
        EXPECT_EQ(date(day, 28), "2005/3/7 14:05");
        EXPECT_EQ(date(day, 29), "05:09");
        EXPECT_EQ(date(day, 110), "7/3/05");
        EXPECT_EQ(date(day, 111), "7.3.05");
        EXPECT_EQ(date(day, 112), "05/3/7");
        EXPECT_EQ(date(day, 113), "03/07/05");
        EXPECT_EQ(date(day, 114), "March-05");
        EXPECT_EQ(date(day, 115), "M");
        EXPECT_EQ(date(day, 116), "M-05");
        EXPECT_EQ(date(day, 117), "Monday, March 7, 2005");
        EXPECT_EQ(date(day, 130), "Monday, March 7, 2005");
        // Without the Japanese script the Japanese codes show the platform's forms.
        display_system_facts().japanese_enabled = false;
        EXPECT_EQ(date(day, 11), "Monday, March 7, 2005");
        EXPECT_EQ(date(day, 15), "3/7/2005");
        EXPECT_EQ(date(day, 17), "Mon, Mar 7, 2005");
        EXPECT_EQ(date(day, 26), "2:05:09 PM");
        display_system_facts().japanese_enabled = true;
        // A time of day reads the same in both systems.
        EXPECT_EQ(date(1.5, 22), "12:00:00");
    }
}

// A number in a date format shows the date it names in the workbook's date
// system when the calendar shows that date (1 January 1904 to 6 February
// 2040), else the number itself: never another date. A format of a time of
// day alone shows the time of any day.
TEST_F(DisplayTextTest, DatesTheCalendarCannotShowShowTheirNumbers) {
    EXPECT_EQ(date(0, 6), "1/1/1904");
    EXPECT_EQ(date(1.5, 6), "1/2/1904");
    EXPECT_EQ(date(49710, 6), "2/6/2040");
    EXPECT_EQ(date(49711, 6), "49711");
    EXPECT_EQ(date(49711.25, 25), "49711.25");
    EXPECT_EQ(date(-3, 0), "-3");
    EXPECT_EQ(date(49711.25, 21), "6:00");
    EXPECT_EQ(custom("yyyy-mm-dd", 60000), "60000");
    Set_1900Date_Flag(workbook, true);
    EXPECT_EQ(date(1462, 6), "1/1/1904");
    EXPECT_EQ(date(1461, 6), "1461");
    EXPECT_EQ(date(1.5, 6), "1.5");
    EXPECT_EQ(date(1.5, 22), "12:00:00");
    EXPECT_EQ(date(51172, 6), "2/6/2040");
    EXPECT_EQ(date(51173.5, 6), "51173.5");
    EXPECT_EQ(date(51173.5, 21), "12:00");
    EXPECT_EQ(custom("h:mm", 0.75), "18:00");  // a custom time of day alone
    EXPECT_EQ(custom("d \"h\" h", 0.75), "0.75");
}

TEST_F(DisplayTextTest, TwelveHourClock) {
    EXPECT_EQ(date(serial(2001, 1, 1, 0, 5), 23), "12:05 AM");
    EXPECT_EQ(date(serial(2001, 1, 1, 12, 30), 23), "12:30 PM");
    EXPECT_EQ(date(serial(2001, 1, 1, 11, 59, 59), 24), "11:59:59 AM");
}

TEST_F(DisplayTextTest, JapaneseFormsAndEras) {
    EXPECT_TRUE(display_system_facts().japanese_enabled);  // the Japanese script is installed
    const std::string nen = "\x94\x4E", tsuki = "\x8C\x8E", nichi = "\x93\xFA";
    for (bool system_1900 : {false, true}) {
        Set_1900Date_Flag(workbook, system_1900);
        EXPECT_EQ(date(serial(1990, 1, 1), 20), "H2/1/1");
        EXPECT_EQ(date(serial(1989, 1, 7), 20), "S64/1/7");
        EXPECT_EQ(date(serial(1989, 1, 8), 20), "H1/1/8");
        EXPECT_EQ(date(serial(1926, 12, 24), 20), "T15/12/24");
        EXPECT_EQ(date(serial(1926, 12, 25), 20), "S1/12/25");
        EXPECT_EQ(date(serial(1912, 7, 29), 20), "M45/7/29");
        EXPECT_EQ(date(serial(1912, 7, 30), 20), "T1/7/30");
        // Reiwa from 1 May 2019.
        EXPECT_EQ(date(serial(2019, 4, 30), 20), "H31/4/30");
        EXPECT_EQ(date(serial(2019, 5, 1), 20), "R1/5/1");
        EXPECT_EQ(date(serial(2024, 2, 29), 11), "6/2/29");
        EXPECT_EQ(date(serial(2024, 2, 29), 14), "\x97\xDF\x98\x61" "6" + nen + "2" + tsuki + "29" + nichi);
    }
    Set_1900Date_Flag(workbook, false);
    double day = serial(2005, 3, 7, 14, 5, 9);
    EXPECT_EQ(date(day, 12), "\x95\xBD\x90\xAC" "17" + nen + "3" + tsuki);
    EXPECT_EQ(date(day, 13), "17" + nen + "3" + tsuki + "7" + nichi);
    EXPECT_EQ(date(day, 15), "3" + tsuki + "7" + nichi);
    EXPECT_EQ(date(day, 16), "05/3" + tsuki);
    EXPECT_EQ(date(day, 17), "2005" + nen + "3" + tsuki + "7" + nichi);
    EXPECT_EQ(date(day, 18), "2005" + nen + "3" + tsuki + "7" + nichi + "(" + pf::japanese_day_name(2) + ")");
    EXPECT_EQ(date(day, 19), "2005" + nen + "3" + tsuki + "7" + nichi + pf::japanese_day_name(2));
    EXPECT_EQ(date(day, 26), "14\x8E\x9E:05\x95\xAA");
    EXPECT_EQ(date(day, 27), "14\x8E\x9E:05\x95\xAA:09\x95\x62");
    JapaneseEra era = japanese_era(42124, 2019);
    EXPECT_EQ(era.era, 5);
    EXPECT_EQ(era.year, 1);
    era = japanese_era(42123, 2019);
    EXPECT_EQ(era.era, 4);
    EXPECT_EQ(era.year, 31);
}

TEST_F(DisplayTextTest, CustomDatePatterns) {
    double day = serial(2005, 3, 7, 14, 5, 9);
    EXPECT_EQ(custom("d/m/yy", day), "7/3/05");
    EXPECT_EQ(custom("dd.mm.yyyy", day), "07.03.2005");
    EXPECT_EQ(custom("dddd, mmmm d", day), "Monday, March 7");
    EXPECT_EQ(custom("h:mm:ss", day), "14:05:09");
    EXPECT_EQ(custom("hh:mm AM/PM", day), "02:05 PM");
    EXPECT_EQ(custom("h:mm am/pm", serial(2005, 3, 7, 0, 30)), "12:30 am");
    EXPECT_EQ(custom("\"Day \"d", day), "Day 7");
    EXPECT_EQ(custom("\"say \"\"hi\"\"\" d", day), "say \"hi\" 7");
    EXPECT_EQ(custom("[h:mm", day), "14:05");
    EXPECT_EQ(custom("Ab d", day), "Ab 7");
    EXPECT_EQ(custom("yy-m", day), "05-3");
    // An unterminated literal ends with the pattern.
    EXPECT_EQ(custom("d \"open", day), "7 open");
    // Without the custom flag code 120 shows the long date; dates take no label.
    EXPECT_EQ(cell_text(labelled_cell("d", kFormatCustomDate, day, 0, 0)), "Monday, March 7, 2005");
}

TEST_F(DisplayTextTest, TextFormulaAndErrorCells) {
    std::vector<uint8_t> cell(kCellHeaderSize + 300, 0);
    GetDefaultFormat(cell.data());
    cell[kFmtCellType] = kCellText;
    _SetCellLength_(cell.data(), int16_t(cell.size()));
    _SetFormulaLength_(cell.data(), 300);
    std::memset(_formulaPtr_(cell.data()), 'x', 300);
    CellInfoRecord info{};
    EXPECT_EQ(cell_text(cell, &info), std::string(255, 'x'));
    EXPECT_EQ(info.text[0], 255);
    EXPECT_EQ(info.text_length, 300);
    EXPECT_EQ(info.long_text, _formulaPtr_(cell.data()));

    std::vector<uint8_t> error = labelled_cell("", kFormatFixed, N_AN(4), 0, 0);
    EXPECT_EQ(cell_text(error), "#DIV/0!");

    // "f" shows the typed text kept after a number.
    std::vector<uint8_t> typed(kCellHeaderSize + kNumberSlotSize + 4, 0);
    GetDefaultFormat(typed.data());
    typed[kFmtCode] = kFormatShowFormula;
    typed[kFmtCellType] = kCellConstant;
    _SetCellLength_(typed.data(), int16_t(typed.size()));
    _SetFormulaLength_(typed.data(), kNumberSlotSize + 4);
    std::memcpy(_constTextPtr_(typed.data()), "1e-3", 4);
    EXPECT_EQ(cell_text(typed, &info), "1e-3");
    EXPECT_EQ(info.format.bytes[kFmtCellType], kCellText);
}

TEST_F(DisplayTextTest, CustomAndPlainFormatStrings) {
    CellFormat format;
    GetDefaultFormat(format.bytes);
    format.bytes[kFmtCode] = kFormatGeneral;
    format.bytes[kFmtDecimals] = 3;
    double value = 2.5;
    unsigned char text[256];
    get_format_string(text, format.bytes, &value, layer);
    EXPECT_EQ(text_of(text), "2.500");  // fixed decimals forced
    std::vector<uint8_t> cell = labelled_cell("yyyy", kFormatCustomDate, 0, 0, kFlagBCustomDate);
    double day = serial(2010, 6, 1);
    CustomFormatString(text, cell.data(), &day, layer);
    EXPECT_EQ(text_of(text), "2010");
    get_format_string(text, cell.data(), &day, layer);  // label and flags B cleared: long date
    EXPECT_EQ(text_of(text), "Tuesday, June 1, 2010");
    pf::DateTimeRec now{2012, 8, 9, 10, 0, 0, 1};
    uint32_t seconds = 0;
    pf::date_to_seconds(now, seconds);
    pf::fix_current_date_time(seconds);
    format.bytes[kFmtCode] = 6;
    for (bool system_1900 : {false, true}) {
        Set_1900Date_Flag(workbook, system_1900);
        get_format_string(text, format.bytes, nullptr, layer);  // now
        EXPECT_EQ(text_of(text), "8/9/2012");
    }
    pf::unfix_current_date_time();
}

TEST_F(DisplayTextTest, TextRoutines) {
    unsigned char text[256];
    auto set = [&](const std::string& s) {
        text[0] = uint8_t(s.size());
        std::memcpy(text + 1, s.data(), s.size());
    };
    set("-1234567.891");
    AddCommas(text, ',', '.');
    EXPECT_EQ(text_of(text), "-1,234,567.891");
    set("1.5E+07");
    AddCommas(text, ',', '.');
    EXPECT_EQ(text_of(text), "1.5E+07");
    set("-12");
    AddBrackets(text);
    EXPECT_EQ(text_of(text), "(12)");
    set("$-12");
    AddBrackets(text);
    EXPECT_EQ(text_of(text), "($12)");
    set("(3)");
    AddBrackets(text);
    EXPECT_EQ(text_of(text), "(3)");
    set("abc");
    unsigned char piece[] = {2, 'X', 'Y'};
    InsertConcat(piece, text, 99);
    EXPECT_EQ(text_of(text), "abcXY");
    set(std::string(254, 'a'));
    InsertConcat(piece, text, 1);
    EXPECT_EQ(text[0], 255);
    EXPECT_EQ(text[1], 'X');
    set("aaab");
    EXPECT_EQ(CountSequentialChars(text, 1, 'a'), 3);
    EXPECT_EQ(CountSequentialChars(text, 4, 'a'), 0);
    EXPECT_TRUE(is_date_format(20));
    EXPECT_FALSE(is_date_format(21));
    EXPECT_TRUE(is_date_format(110));
    EXPECT_TRUE(is_time_format(29));
    EXPECT_FALSE(is_time_format(30));
}

// Fitting in a column: decimals go first, then the exponent form. Texts are
// measured as in a fixed-width font.
class DisplayWidthTest : public DisplayTextTest {
protected:
    static constexpr int16_t kCharacterWidth = 6;

    void SetUp() override {
        DisplayTextTest::SetUp();
        stand_in::measure_characters_at(kCharacterWidth);
    }
    void TearDown() override {
        stand_in::reset();
        DisplayTextTest::TearDown();
    }
    int16_t width_of(const std::string& s) { return int16_t(s.size() * kCharacterWidth); }
};

TEST_F(DisplayWidthTest, NarrowColumnsLoseDecimalsThenUseExponents) {
    Format general{kFormatGeneral, 2, kFlagAThousands, 0};
    EXPECT_EQ(show(1234.5, general, width_of("1,234.5")), "1,234.5");
    EXPECT_EQ(show(1234.5, general, width_of("1,234.5") - 1), "1,235");
    // One character more than the excess goes, a margin for proportional fonts.
    EXPECT_EQ(show(1234.5678, general, width_of("1,234.56")), "1,234.6");
    EXPECT_EQ(show(1234.5, general, width_of("1,23")), "1.23E+03");
    EXPECT_EQ(show(123456789, Format{}, width_of("12345")), "1.23E+08");
    EXPECT_EQ(show(1.23456e10, Format{kFormatScientific, 2, 0, 0}, width_of("1.23E+10")), "1.2E+10");
    EXPECT_EQ(show(0.5, general, width_of("0.5")), "0.5");
}

}  // namespace
