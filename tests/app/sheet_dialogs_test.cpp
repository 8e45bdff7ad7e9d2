// The sheet dialogs as a user meets them: range names added and kept on OK,
// too-long and malformed names and names in letters Roman cannot spell
// refused with a message while the dialog stays open, a number out of range refused, a workbook protected with a
// confirmed password, a column named, print title columns chosen, and a
// custom date format applied, and formulas following a name moved to
// another range.
#include <cstring>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/passwords.h"
#include "files/text_exchange.h"
#include "formula/recalc.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/cell_formats.h"
#include "model/display_text.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "platform/screen/cursor.h"
#include "platform/system/date_time.h"
#include "ui/app_prefs.h"
#include "shell/font_menus.h"
#include "shell/format_menus.h"
#include "shell/goto_dialog.h"
#include "shell/print_rows_dialog.h"
#include "shell/range_names.h"
#include "shell/sheet_dialogs.h"
#include "shell/shell_commands.h"
#include "tests/app/sheet_dialog_fixture.h"
#include "tests/shell/range_names_text.h"
#include "tests/window/golden_image.h"
#include "window/cell_geometry.h"
#include "resource_ids.h"

namespace {

using attended::click;
using attended::escape;
using attended::ret;
using attended::type;

const pf::Point kAddButton{210, 60};

std::string text_of(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

struct SheetDialogs : SheetDialogTest {
    void options(int16_t item) { DoOptionMenu(record, item); }
    std::string names() { return named_ranges_text(Get_rangeinfo(layer)); }
    std::string first_alert() { return alert_requests().empty() ? std::string() : alert_requests()[0].text; }
    uint16_t work_flags() { return Get_Work_Flags(GetWorkSheet(layer)); }
};

TEST_F(SheetDialogs, ANameTypedAndAddedIsKeptOnOKAndDroppedOnCancel) {
    select(CellRange{{0, 0}, {2, 1}});
    attended::script_next_modal({type("Sales"), click(kAddButton.v, kAddButton.h), ret()});
    options(kOptionsNamesItem);
    EXPECT_EQ(names(), "Sales=0,0:2,1");
    const int16_t changes = get_change_ctr(GetWorkSheet(layer));
    attended::script_next_modal({type("Costs"), click(kAddButton.v, kAddButton.h), click(274, 311)});  // Cancel
    options(kOptionsNamesItem);
    EXPECT_EQ(names(), "Sales=0,0:2,1");
    EXPECT_EQ(get_change_ctr(GetWorkSheet(layer)), changes);
    EXPECT_TRUE(alert_requests().empty());
}

TEST_F(SheetDialogs, FormulasFollowANameGivenAnotherRange) {
    const auto enter_down = [&](CellRange first, std::initializer_list<const char*> entries) {
        select(first);
        for (const char* entry : entries) {
            pf::driver_type(entry);
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        }
        run_until_idle();
    };
    const auto name_selection = [&](CellRange range) {
        select(range);
        attended::script_next_modal({type("rate"), click(kAddButton.v, kAddButton.h), ret()});
        options(kOptionsNamesItem);
    };
    const auto sum = [&] {
        for (int pass = 0; pass < 5000 && stopCalc == kCalcAutoRunning; ++pass) task_master_pass();
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{0, 2}, layer) || _resultType_(cell) >= 0) return -1.0;
        return load_f64(_resultPtr_(cell));
    };
    enter_down(CellRange{{0, 0}, {0, 0}}, {"1", "2", "3"});
    enter_down(CellRange{{0, 1}, {0, 1}}, {"50", "60"});
    name_selection(CellRange{{0, 0}, {2, 0}});
    enter_down(CellRange{{0, 2}, {0, 2}}, {"=SUM(rate)"});
    EXPECT_EQ(sum(), 6);
    name_selection(CellRange{{0, 1}, {1, 1}});
    EXPECT_EQ(names(), "rate=0,1:1,1");
    EXPECT_EQ(sum(), 110) << "the sum still reads the name's old range";
    EXPECT_TRUE(alert_requests().empty());
}

TEST_F(SheetDialogs, AProtectedWorkbookRefusesNamesColumnNamesAndPrintTitles) {
    MemoryRef workbook = GetWorkSheet(layer);
    Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) | kWorkProtected));
    for (int16_t item : {kOptionsNamesItem, kOptionsColumnNameItem, kOptionsPrintTitlesItem}) {
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // answers the alert
        options(item);
    }
    EXPECT_EQ(alert_requests().size(), 3u);
    EXPECT_EQ(first_alert(), "This workbook is protected. Turn protection off before you change it.");
    EXPECT_EQ(names(), "");
}

TEST_F(SheetDialogs, LongDuplicateAndMalformedNamesAreSaidAndTheDialogStays) {
    select(CellRange{{0, 0}, {0, 0}});
    const pf::Point add = kAddButton;
    attended::script_next_modal({type(std::string(40, 'x')), click(add.v, add.h), ret(),  // too long
                                 type("1st"), click(add.v, add.h), ret(),                 // malformed
                                 type("Total"), click(add.v, add.h),                      // added
                                 type("Total"), click(add.v, add.h), ret(),               // already there
                                 ret(), escape()});
    options(kOptionsNamesItem);
    ASSERT_EQ(alert_requests().size(), 3u);
    EXPECT_EQ(alert_requests()[0].text, "A range name has at most 31 characters.");
    EXPECT_NE(alert_requests()[1].text.find("cannot name a range"), std::string::npos);
    EXPECT_EQ(alert_requests()[2].text, "That name already names this range.");
    EXPECT_EQ(names(), "Total=0,0:0,0");
}

// Letters Roman cannot spell are said and the dialog stays; accented Latin
// letters are kept as typed.
TEST_F(SheetDialogs, NamesInLettersRomanCannotSpellAreSaidAndAccentedOnesKept) {
    select(CellRange{{0, 0}, {0, 0}});
    const pf::Point add = kAddButton;
    attended::script_next_modal({type("\xCE\xA3\xCF\x8D\xCE\xBD\xCE\xBF\xCE\xBB\xCE\xBF"),  // Σύνολο
                                 click(add.v, add.h), ret(),                                         // refused
                                 type("Ann\xC3\xA9" "e"), click(add.v, add.h), ret()});
    options(kOptionsNamesItem);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].alert_id, kRomanLettersAlert);
    EXPECT_EQ(alert_requests()[0].text, "Greek");
    EXPECT_EQ(names(), "Ann\x8E" "e=0,0:0,0");

    alert_requests().clear();
    select(CellRange{{3, 2}, {5, 4}});
    attended::script_next_modal({type("\xD0\x98\xD1\x82\xD0\xBE\xD0\xB3"), ret(), ret(), escape()});  // Итог
    options(kOptionsColumnNameItem);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "Cyrillic");
    MemoryRef formats = GetSpreadSheetColumnFormats(layer);
    if (!formats) return;  // no column format: the column has no name
    const uint8_t* column = FindColumnFormatID(formats, 2);
    EXPECT_TRUE(column == nullptr || column[kColumnNameOffset] == 0) << "the column was named";
    UnuseMemory(formats);
}

// The Range Names dialog's labels check box clicked, then, once it is taken
// (a check box is tracked to where the mouse is let go), Add, and Return for
// the note and for OK.
bool labels_clicked = false, add_clicked = false;
void labels_then_add() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    pf::DialogRef dialog = pf::is_modal_window(front) ? pf::get_dialog_from_window(front) : nullptr;
    if (dialog && !add_clicked) {
        const pf::Rect content = pf::window_content_rect(front);
        const auto at = [&](int v, int h) { return pf::Point{int16_t(content.top + v), int16_t(content.left + h)}; };
        if (!labels_clicked) {
            labels_clicked = true;
            pf::driver_click(at(85, 30));
        } else if (pf::get_control_value(pf::get_dialog_item_control(dialog, 7)) == 1) {
            add_clicked = true;
            pf::driver_click(at(kAddButton.v, kAddButton.h));
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        }
    }
    dialogtest::guarded_compose_step();
}

// Names made from labels: a label Roman spells names its row or column; one
// in letters Roman cannot spell names nothing, and a note says which labels
// those were and the scripts of their letters.
TEST_F(SheetDialogs, LabelsInLettersRomanCannotSpellAreToldAndNameNothing) {
    ASSERT_EQ(read_text_bytes(",\xD0\x9C\xD0\xB0\xD0\xB9,Caf\xC3\xA9\n"                // ,Май,Café
                              "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1,1,2\n"     // Αθήνα,1,2
                              "North,3,4\n",
                              ',', layer, nullptr),
              0);
    select(CellRange{{0, 0}, {2, 2}});
    labels_clicked = add_clicked = false;
    pf::host_set_composer(labels_then_add);
    options(kOptionsNamesItem);
    EXPECT_EQ(names(), "Caf\x8E=1,2:2,2 North=2,1:2,2");
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(first_alert(),
              "Names of ranges are written in Roman letters, so the labels holding Cyrillic and Greek letters name "
              "no range: B1, A2.");
}

// Names typed on several keyboards, read as they read: "café" then "東京"
// typed after it, "東京" and "Москва" are refused naming the script of the
// letters Roman lacks, nothing stored; "café" is kept in Mac Roman.
struct TypedName {
    std::vector<std::string> typed;
    const char* scripts;  // of the letters Roman lacks; empty when kept
};
const TypedName kTypedNames[] = {{{"caf\xC3\xA9", "\xE6\x9D\xB1\xE4\xBA\xAC"}, "Japanese"},
                                 {{"\xE6\x9D\xB1\xE4\xBA\xAC"}, "Japanese"},
                                 {{"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"}, "Cyrillic"},
                                 {{"caf\xC3\xA9"}, ""}};

std::vector<attended::ModalStep> typing(const TypedName& name) {
    std::vector<attended::ModalStep> steps;
    for (const std::string& typed : name.typed) steps.push_back(type(typed));
    return steps;
}

TEST_F(SheetDialogs, RangeNamesTypedOnSeveralKeyboardsAreReadAsTheyRead) {
    select(CellRange{{0, 0}, {0, 0}});
    for (const TypedName& name : kTypedNames) {
        alert_requests().clear();
        std::vector<attended::ModalStep> steps = typing(name);
        steps.push_back(click(kAddButton.v, kAddButton.h));
        if (*name.scripts) steps.insert(steps.end(), {ret(), escape()});  // the alert, then Cancel
        else steps.push_back(ret());
        attended::script_next_modal(steps);
        options(kOptionsNamesItem);
        if (!*name.scripts) continue;
        ASSERT_EQ(alert_requests().size(), 1u) << name.scripts;
        EXPECT_EQ(alert_requests()[0].alert_id, kRomanLettersAlert);
        EXPECT_EQ(first_alert(), name.scripts);
        EXPECT_EQ(names(), "");
    }
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_EQ(names(), "caf\x8E=0,0:0,0");
}

TEST_F(SheetDialogs, ColumnNamesTypedOnSeveralKeyboardsAreReadAsTheyRead) {
    select(CellRange{{3, 2}, {5, 4}});
    const auto column_name = [this] {
        MemoryRef formats = GetSpreadSheetColumnFormats(layer);
        const uint8_t* column = formats ? FindColumnFormatID(formats, 2) : nullptr;
        const std::string name = column ? text_of(column + kColumnNameOffset) : std::string();
        if (formats) UnuseMemory(formats);
        return name;
    };
    for (const TypedName& name : kTypedNames) {
        alert_requests().clear();
        std::vector<attended::ModalStep> steps = typing(name);
        steps.push_back(ret());
        if (*name.scripts) steps.insert(steps.end(), {ret(), escape()});  // the alert, then Cancel
        attended::script_next_modal(steps);
        options(kOptionsColumnNameItem);
        if (!*name.scripts) continue;
        ASSERT_EQ(alert_requests().size(), 1u) << name.scripts;
        EXPECT_EQ(first_alert(), name.scripts);
        EXPECT_EQ(column_name(), "");
    }
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_EQ(column_name(), "caf\x8E");
}

TEST_F(SheetDialogs, RangeNamesScreenshot) {
    MemoryRef list = nullptr;
    auto pstr = [](const char* text, unsigned char* out) {
        out[0] = uint8_t(std::strlen(text));
        std::memcpy(out + 1, text, out[0]);
        return out;
    };
    unsigned char name[64], reference[64];
    add_range_name(&list, pstr("Revenue", name), pstr("B2:B13", reference), layer);
    add_range_name(&list, pstr("Costs", name), pstr("C2:C13", reference), layer);
    Set_rangeinfo(layer, list);
    select(CellRange{{1, 1}, {12, 3}});
    const std::string png = dialogtest::screenshot_path("range_names_dialog.png");
    attended::capture_front_modal_window(png);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    options(kOptionsNamesItem);
    cairo_surface_t* shot = attended::captured_modal_window();
    ASSERT_NE(shot, nullptr);
    EXPECT_TRUE(matches_golden_image(shot, "range_names_dialog"));
    cairo_surface_destroy(shot);
}

TEST_F(SheetDialogs, GoToTakesARangeNameFromItsListByClickOrDoubleClick) {
    MemoryRef list = nullptr;
    unsigned char name[] = "\x04" "Jobs", other[] = "\x03" "Pay";
    unsigned char its_range[] = "\x05" "E3:E9", other_range[] = "\x05" "C3:D9";
    add_range_name(&list, other, other_range, layer);
    add_range_name(&list, name, its_range, layer);
    Set_rangeinfo(layer, list);
    const pf::Point second_row{112, 100};
    CellRange range{};
    bool select = false;
    attended::script_next_modal({click(second_row.v, second_row.h), ret()});
    EXPECT_EQ(goto_dialog(layer, &range, &select), 1);
    EXPECT_EQ(range, (CellRange{{2, 4}, {8, 4}}));
    range = CellRange{};
    attended::script_next_modal({click(second_row.v, second_row.h), click(second_row.v, second_row.h)});
    EXPECT_EQ(goto_dialog(layer, &range, &select), 1);
    EXPECT_EQ(range, (CellRange{{2, 4}, {8, 4}}));
}

TEST_F(SheetDialogs, ANumberOutOfRangeIsRefusedWithItsRange) {
    int16_t width = 76;
    attended::script_next_modal({type("900"), ret(), ret(), type("x"), ret(), ret(), type("120"), ret()});
    EXPECT_EQ(Multi_Dialog(kNumberDialog, 0, 800, 76, 0, 13, 2, &width), 1);
    EXPECT_EQ(width, 120);
    ASSERT_EQ(alert_requests().size(), 2u);
    EXPECT_EQ(first_alert(), "The value must be from 0 to 800.");

    // A length is shown and read in the preferred unit.
    app_prefs.margin_unit = kUnitInches;
    int16_t margin = 72;
    attended::script_next_modal({type("2 in"), ret()});
    EXPECT_EQ(Multi_Dialog(kNumberDialog, 0, 1440, 72, kLengthMode, 0, 0, &margin), 1);
    EXPECT_EQ(margin, 144);
}

TEST_F(SheetDialogs, SizesTakeBlanksAroundTheLengthAndARefusedTextIsToldHowToWriteIt) {
    app_prefs.margin_unit = kUnitInches;
    select(CellRange{{0, 2}, {0, 2}});
    attended::script_next_modal({type(" 1 "), ret()});
    options(kOptionsColumnWidthItem);
    EXPECT_EQ(GetColumnSize(2, layer), 72);
    EXPECT_TRUE(alert_requests().empty());

    attended::script_next_modal({type("1e1"), ret(), ret(), type("1.5"), ret()});
    options(kOptionsRowHeightItem);
    EXPECT_EQ(GetRowSize(0, layer), 108);
    EXPECT_EQ(first_alert(), "The value must be written in digits, with at most one decimal point, from 0.00 in to 3.47 in.");

    // A whole number, as the other type size is.
    alert_requests().clear();
    attended::script_next_modal({type("1.5"), ret(), ret(), type("20"), ret()});
    DoSizeMenu(record, kSizeOtherItem);
    CellFormat f;
    get_cell_format(f.bytes, CellPoint{0, 2}, layer);
    EXPECT_EQ(f.bytes[kFmtSize], 20);
    EXPECT_EQ(first_alert(), "The value must be a whole number written in digits, from 0 to 200.");
}

TEST_F(SheetDialogs, AnOtherTypeSizeIsAskedStartingFromTheCellsSize) {
    select(CellRange{{0, 0}, {0, 0}});
    attended::script_next_modal({type("300"), ret(), ret(), type("20"), ret()});
    DoSizeMenu(record, kSizeOtherItem);
    CellFormat f;
    get_cell_format(f.bytes, CellPoint{0, 0}, layer);
    EXPECT_EQ(f.bytes[kFmtSize], 20);
    EXPECT_EQ(first_alert(), "The value must be from 0 to 200.");
}

TEST_F(SheetDialogs, AWorkbookIsProtectedWithAConfirmedPasswordOfAtMostFifteenCharacters) {
    const int beeps = pf::beep_count();
    attended::script_next_modal({ret(), type(std::string(16, 'p')), ret(), escape()});
    EXPECT_EQ(protect_dialog(layer), 0);
    EXPECT_EQ(pf::beep_count(), beeps + 2);  // empty, then too long
    EXPECT_EQ(work_flags() & (kWorkProtected | kWorkPassword), 0);

    attended::script_next_modal({type("secret"), ret(), type("secret"), ret()});
    options(kOptionsProtectItem);
    EXPECT_TRUE(work_flags() & kWorkProtected);
    unsigned char stored[kPasswordFieldBytes];
    MemoryRef workbook = GetWorkSheet(layer);
    std::memcpy(stored, static_cast<WorkSheet*>(UseMemory(workbook))->password, kPasswordFieldBytes);
    UnuseMemory(workbook);
    decode_password(stored);
    EXPECT_EQ(text_of(stored), "secret");

    // Protected already: the right password adds the opening's protection.
    attended::script_next_modal({click(89, 60), type("wrong"), ret(), type("secret"), ret(), escape()});
    EXPECT_EQ(protect_dialog(layer), 1);
    EXPECT_EQ(work_flags() & (kWorkProtected | kWorkPassword), kWorkProtected | kWorkPassword);
}

TEST_F(SheetDialogs, AColumnNameIsCutToThirtyOneCharacters) {
    select(CellRange{{3, 2}, {5, 4}});
    attended::script_next_modal({type(std::string(40, 'c')), ret(), escape()});
    options(kOptionsColumnNameItem);
    MemoryRef formats = GetSpreadSheetColumnFormats(layer);
    const uint8_t* column = FindColumnFormatID(formats, 2);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(text_of(column + kColumnNameOffset), std::string(31, 'c'));
    UnuseMemory(formats);
}

TEST_F(SheetDialogs, PrintTitleColumnsAreChosenAndABadReferenceIsSaid) {
    auto titles = [&] {
        SpreadSheet* sheet = use_layer(layer);
        const auto first_last = std::make_pair(sheet->print_title_columns[1], sheet->print_title_columns[0]);
        release_layer(layer);
        return first_last;
    };
    select(CellRange{{0, 0}, {0, 103}});  // A1:CZ1 proposes column A alone
    attended::script_next_modal({click(69, 60), ret()});
    options(kOptionsPrintTitlesItem);
    EXPECT_EQ(titles(), std::make_pair(int16_t(0), int16_t(0)));

    attended::script_next_modal({type("B:D!"), ret(), ret(), type("B:D"), ret()});
    options(kOptionsPrintTitlesItem);
    EXPECT_EQ(titles(), std::make_pair(int16_t(1), int16_t(3)));
    EXPECT_EQ(alert_requests().size(), 1u);

    attended::script_next_modal({click(47, 60), ret(), escape()});
    options(kOptionsPrintTitlesItem);
    EXPECT_EQ(titles(), std::make_pair(int16_t(-1), int16_t(-1)));
}

TEST_F(SheetDialogs, ACustomDateFormatTypedIsAppliedFromTheDateMenu) {
    select(CellRange{{0, 0}, {1, 0}});
    attended::script_next_modal({type("d mmm yyyy"), ret(), escape()});
    DoDateMenu(record, 16);
    CellFormat f;
    get_cell_format(f.bytes, CellPoint{1, 0}, layer);
    EXPECT_EQ(f.bytes[kFmtCode], kFormatCustomDate);
    unsigned char label[256];
    GetCellStrings(CellPoint{1, 0}, label, nullptr, layer);
    EXPECT_EQ(text_of(label), "d mmm yyyy");
}

}  // namespace

namespace {

// Runs a dialog with its picture taken and Escape queued; compares the picture.
template <typename Run>
void expect_look(const std::string& name, Run&& run) {
    attended::capture_front_modal_window(dialogtest::screenshot_path(name + ".png"));
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    run();
    cairo_surface_t* shot = attended::captured_modal_window();
    ASSERT_NE(shot, nullptr) << name;
    EXPECT_TRUE(matches_golden_image(shot, name));
    cairo_surface_destroy(shot);
}

TEST_F(SheetDialogs, TheSmallDialogsLookFinished) {
    select(CellRange{{0, 1}, {9, 2}});
    int16_t width = 72;
    app_prefs.margin_unit = kUnitInches;
    expect_look("number_dialog", [&] { Multi_Dialog(kNumberDialog, 0, 800, 76, kLengthMode, 13, 2, &width); });
    expect_look("protect_dialog", [&] { protect_dialog(layer); });
    MemoryRef list = nullptr;
    unsigned char name[] = "\x05" "Sales", reference[] = "\x06" "B2:C10";
    add_range_name(&list, name, reference, layer);
    Set_rangeinfo(layer, list);
    CellRange range{{0, 1}, {9, 2}};
    bool select = true;
    expect_look("goto_dialog", [&] { goto_dialog(layer, &range, &select); });
    expect_look("column_name_dialog", [&] { column_name_dlog(layer); });
    expect_look("print_titles_dialog", [&] { printcol_Dialog(layer); });
    expect_look("print_rows_dialog", [&] { print_rows_dialog(layer); });
    pf::fix_current_date_time(3899966400u);  // a noon: the sample of a cell without a number shows now
    expect_look("custom_date_dialog", [&] { DoDateMenu(record, 16); });
    pf::unfix_current_date_time();
}

}  // namespace
