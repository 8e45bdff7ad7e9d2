// What the sheet dialogs do with what is typed: range names added, moved,
// refused and made from labels; custom date letters converted and applied.
#include "tests/editing/fill_fixture.h"

#include <cstring>
#include <string>

#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/record_bytes.h"
#include "platform/text/scripts.h"
#include "model/display_text.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "shell/custom_date_dialog.h"
#include "shell/range_names.h"
#include "tests/shell/range_names_text.h"

namespace {

std::string text_of(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

struct Pstr {
    unsigned char bytes[256];
    explicit Pstr(const std::string& text) {
        bytes[0] = uint8_t(text.size());
        std::memcpy(bytes + 1, text.data(), text.size());
    }
    operator const unsigned char*() const { return bytes; }
};

class RangeNames : public FillTest {
protected:
    MemoryRef names = nullptr;
    void TearDown() override {
        DisposeNonNilMemory(names);
        FillTest::TearDown();
    }
    NameRefusal add(const std::string& name, const std::string& reference) {
        return add_range_name(&names, Pstr(name), Pstr(reference), layer);
    }
    std::string listed() { return named_ranges_text(names); }
};

TEST_F(RangeNames, ANameIsAddedMovedAndNeverDuplicated) {
    EXPECT_EQ(add("Sales", "A1:B3"), NameRefusal::kNone);
    EXPECT_EQ(add("Costs", "$C$2"), NameRefusal::kNone);
    EXPECT_EQ(add("sales", "A1:B3"), NameRefusal::kAlreadyThere);
    EXPECT_EQ(listed(), "Sales=0,0:2,1 Costs=1,2:1,2");
    EXPECT_EQ(add("SALES", "D4:D9"), NameRefusal::kNone);  // moved, keeping its spelling
    EXPECT_EQ(listed(), "Sales=3,3:8,3 Costs=1,2:1,2");
    bool same = false;
    EXPECT_EQ(testMatch(&same, Pstr("costs"), names, CellRange{{1, 2}, {1, 2}}), 1);
    EXPECT_TRUE(same);
    EXPECT_EQ(testMatch(&same, Pstr("Profit"), names, CellRange{}), 0);
}

TEST_F(RangeNames, EmptyLongAndMalformedNamesAndBadReferencesAreRefused) {
    const std::string longest(31, 'n');
    EXPECT_EQ(add(longest, "A1"), NameRefusal::kNone);
    EXPECT_EQ(add(longest + "n", "A1"), NameRefusal::kNameTooLong);
    EXPECT_EQ(add(std::string(200, 'x'), "A1"), NameRefusal::kNameTooLong);
    EXPECT_EQ(add("", "A1"), NameRefusal::kEmptyName);
    for (const char* bad : {"1st", "net.sales", "a$b", "cost,tax", "x!", "\"q\"", "a+b", "(x)", "B3", "AB12"})
        EXPECT_EQ(add(bad, "A1"), NameRefusal::kBadName) << bad;
    EXPECT_EQ(add("Total", "not a cell"), NameRefusal::kNotAReference);
    EXPECT_EQ(add("Total", "5:A1:B2"), NameRefusal::kNotAReference);  // another layer
    EXPECT_EQ(add("Total", ""), NameRefusal::kNotAReference);
    EXPECT_EQ(add("Total", std::string(32, 'A')), NameRefusal::kReferenceTooLong);
    EXPECT_EQ(listed(), longest + "=0,0:0,0");
}

TEST_F(RangeNames, LabelsOnTheChosenSidesNameTheRowsAndColumnsBetween) {
    put_text(0, 1, "Jan"), put_text(0, 2, "Feb"), put_text(0, 3, "1999");
    put_text(1, 0, "North"), put_text(2, 0, "South"), put_text(3, 0, std::string(32, 'L'));
    put_text(3, 1, "Total");
    LabelSides top_and_left;
    top_and_left.top = top_and_left.left = true;
    EXPECT_EQ(add_label_names(&names, CellRange{{0, 0}, {3, 3}}, top_and_left, layer), 4);
    // The corner is empty, a number and a 32-character label make no names.
    EXPECT_EQ(listed(), "Jan=1,1:3,1 Feb=1,2:3,2 North=1,1:1,3 South=2,1:2,3");
    // Names already there are skipped; the bottom row's labels stop the columns above it.
    LabelSides top_and_bottom;
    top_and_bottom.top = top_and_bottom.bottom = true;
    EXPECT_EQ(add_label_names(&names, CellRange{{0, 1}, {3, 1}}, top_and_bottom, layer), 1);
    EXPECT_EQ(listed(), "Jan=1,1:3,1 Feb=1,2:3,2 North=1,1:1,3 South=2,1:2,3 Total=1,1:2,1");
}

// Names are Mac Roman: a label of letters Roman spells names its column in
// Roman, whatever font its cell is in; one holding letters Roman cannot spell
// names nothing and is told back, rather than naming a range in garbage.
TEST_F(RangeNames, LabelsRomanCannotSpellNameNothingAndAreTold) {
    put_spelled(0, 1, "Февраль"), put_spelled(0, 2, "Café"), put_spelled(0, 3, "東京"), put_spelled(0, 4, "Αθήνα");
    put_spelled(0, 5, "Plan");
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 5}, layer));
    store_u16(cell + kFmtFont, uint16_t(pf::script_font(pf::kScriptCyrillic)));
    LabelSides top;
    top.top = true;
    std::vector<CellPoint> unkept;
    EXPECT_EQ(add_label_names(&names, CellRange{{0, 1}, {3, 5}}, top, layer, &unkept), 2);
    EXPECT_EQ(listed(), "Caf\x8E=1,2:3,2 Plan=1,5:3,5");
    EXPECT_EQ(unkept, (std::vector<CellPoint>{{0, 1}, {0, 3}, {0, 4}}));
}

TEST_F(RangeNames, ALabelOnAOneRowSelectionMakesNothingAndNoArray) {
    put_text(0, 0, "Alone");
    LabelSides top;
    top.top = true;
    EXPECT_EQ(add_label_names(&names, CellRange{{0, 0}, {0, 3}}, top, layer), 0);
    EXPECT_EQ(names, nullptr);
}

TEST_F(RangeNames, DeleteRemovesTheSelectedRowOnlyWhenItsNameIsTyped) {
    add("One", "A1"), add("Two", "A2"), add("Three", "A3");
    EXPECT_FALSE(delete_range_name(names, 1, Pstr("One")));
    EXPECT_TRUE(delete_range_name(names, 1, Pstr("two")));
    EXPECT_FALSE(delete_range_name(names, 5, Pstr("Three")));
    EXPECT_EQ(listed(), "One=0,0:0,0 Three=2,0:2,0");
}

TEST_F(RangeNames, ANamesRangeShowsAsItsReferenceNotAsTheNameAgain) {
    add("Rate", "B2:C3");
    Set_rangeinfo(layer, names);
    names = nullptr;
    unsigned char text[256];
    absolute_reference_text(CellRange{{1, 1}, {2, 2}}, text);
    EXPECT_EQ(text_of(text), "$B$2:$C$3");
}

void convert(const char* typed, const char* expected) {
    Pstr text(typed);
    const unsigned char french[3] = {'j', 'm', 'a'};
    convert_format_letters(text.bytes, french);
    EXPECT_EQ(text_of(text), expected) << typed;
}

TEST(CustomDateLetters, TheUsersLettersBecomeTheStoredOnesOutsideQuotesAndMarkers) {
    convert("jj/mm/aaaa", "dd/mm/yyyy");
    convert("JJ MMM AA", "DD MMM YY");
    convert("hh:mm am/pm", "hh:mm am/pm");
    convert("h AM/PM a", "h AM/PM y");
    convert("\"jour\" j", "\"jour\" d");
    convert("\"l\"\"an\" a", "\"l\"\"an\" y");
    convert("", "");
    Pstr stored("d/m/yy");
    ConvertIntlFormatDate(stored.bytes);  // the program's own letters are d, m, y
    EXPECT_EQ(text_of(stored), "d/m/yy");
}

class CustomDate : public FillTest {};

TEST_F(CustomDate, AFormatTextIsAppliedToTheSelectionWithUndo) {
    put_number(0, 0, 40000);
    put_number(1, 0, 40001);
    select_range(CellRange{{0, 0}, {1, 0}});
    expect_undone(9, [&] { EXPECT_EQ(apply_custom_date(layer, Pstr("yyyy-mm-dd")), 1); });
    apply_custom_date(layer, Pstr("yyyy-mm-dd"));
    const uint8_t* cell = cell_at(1, 0);
    EXPECT_EQ(cell[kFmtCode], kFormatCustomDate);
    EXPECT_TRUE(cell[kFmtFlagsB] & kFlagBCustomDate);
    unsigned char label[256];
    GetCellStrings(CellPoint{1, 0}, label, nullptr, layer);
    EXPECT_EQ(text_of(label), "yyyy-mm-dd");

    // An empty text keeps the code and clears the mark.
    apply_custom_date(layer, Pstr(""));
    cell = cell_at(0, 0);
    EXPECT_EQ(cell[kFmtCode], kFormatCustomDate);
    EXPECT_FALSE(cell[kFmtFlagsB] & kFlagBCustomDate);

    // A protected workbook changes nothing.
    Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) | kWorkProtected));
    EXPECT_EQ(apply_custom_date(layer, Pstr("d")), 0);
    EXPECT_EQ(cell_at(1, 0)[kFmtLabelLength], 0);
}

}  // namespace
