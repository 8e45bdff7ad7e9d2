// Dialog items and the modal loop: the keys of dialogs, number and column fields,
// little arrows, check boxes and radios.
#include "../app/app_fixture.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "ui/screen_geometry.h"
#include "shell/shell_commands.h"

#include <cstring>
#include "platform/events/keyboard.h"
#include "platform/screen/cursor.h"
#include "platform/screen/screen.h"
#include "tests/core/dialog_test_support.h"
#include "resource_ids.h"

namespace {

using dialogtest::field;
using dialogtest::set_field;

constexpr int16_t kField = 3;
constexpr int16_t kArrowsItem = 4;

struct DialogItems : AppTest {
    pf::DialogRef dialog = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        dialogtest::guard_against_waiting();
        dialog = dialogtest::two_button_dialog();
    }
    void TearDown() override {
        pf::dispose_dialog(dialog);
        pf::host_set_composer(pf::compose_screen);
        AppTest::TearDown();
    }

    int16_t modal(int16_t options = kModalAllOptions) {
        pf::EventRecord event;
        return GetModalDialogItem(dialog, &event, options);
    }

    int16_t read_number(const std::string& text) {
        set_field(dialog, kField, text);
        return GetDNum(dialog, kField);
    }

    // Little arrows on item 4 for the field of item 3.
    pf::ControlRef add_arrows(int16_t kind, int32_t minimum, int32_t maximum) {
        pf::ControlRef arrows = pf::new_control(pf::get_dialog_window(dialog), pf::Rect{20, 124, 42, 137}, "", true, 0,
                                                minimum, maximum, pf::kLittleArrowsControl, uintptr_t(kind));
        pf::dialog_item(dialog, kArrowsItem)->control = arrows;
        return arrows;
    }
};

}  // namespace

TEST_F(DialogItems, ReturnAndEnterPressTheDefaultButtonOnlyWhileItIsEnabled) {
    EnableButton(dialog, 1, false);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(modal(), kModalKey);
    pf::driver_key(pf::kKeyCodeKeypadEnter, pf::kEnterChar);
    EXPECT_EQ(modal(), kModalKey);
    EnableButton(dialog, 1, true);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(modal(), 1);
    pf::driver_key(pf::kKeyCodeKeypadEnter, pf::kEnterChar);
    EXPECT_EQ(modal(), 1);
}

TEST_F(DialogItems, EscapeAndCommandPeriodPressItem2) {
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(modal(), 2);
    pf::driver_key(pf::kKeyCodePeriod, '.', pf::kCmdKey);
    EXPECT_EQ(modal(), 2);
    EnableButton(dialog, 2, false);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(modal(), kModalKey);
}

TEST_F(DialogItems, OptionsDecideWhichKeysTheLoopAnswers) {
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(modal(239), kModalKey);  // Return goes to the dialog
    pf::driver_key(pf::kKeyCodeKeypadEnter, pf::kEnterChar);
    EXPECT_EQ(modal(239), 1);
    pf::driver_key(pf::kKeyCodeDownArrow, pf::kDownArrowChar);
    EXPECT_EQ(modal(0), kModalKey);
    pf::driver_key(pf::kKeyCodeLeftArrow, pf::kLeftArrowChar);
    EXPECT_EQ(modal(kModalUpDownArrows), kModalKey);
    pf::driver_key(pf::kKeyCodeCommand, 'c', pf::kCmdKey);
    pf::EventRecord event;
    EXPECT_EQ(GetModalDialogItem(dialog, &event, kModalAllOptions), kModalKey);
    EXPECT_EQ(event.what, pf::kKeyDown);
    EXPECT_EQ(pf::event_char(event), 'c');
}

TEST_F(DialogItems, TypingAnswersTheFieldWithTheFocusAndTheLimitAnswers1) {
    SetEditTextDialogItemFocus(dialog, kField);
    pf::driver_type("7");
    EXPECT_EQ(modal(), kField);
    EXPECT_EQ(field(dialog, kField), "7");
    dialog_timer = 30;
    EXPECT_EQ(modal(), 1);
    EXPECT_EQ(dialog_timer, 0u);
}

TEST_F(DialogItems, CommandKeysEditTheFieldWithTheFocus) {
    SetEditTextDialogItemFocus(dialog, kField);
    pf::driver_type("42");
    EXPECT_EQ(modal(), kField);
    EXPECT_EQ(modal(), kField);
    pf::driver_key(0, 'a', pf::kCmdKey);  // select all: nothing changed, a key for the caller
    EXPECT_EQ(modal(), kModalKey);
    pf::driver_key(7, 'x', pf::kCmdKey);
    EXPECT_EQ(modal(), kField);
    EXPECT_EQ(field(dialog, kField), "");
    pf::driver_key(6, 'z', pf::kCmdKey);
    EXPECT_EQ(modal(), kField);
    EXPECT_EQ(field(dialog, kField), "42");
}

TEST_F(DialogItems, AClickOnADocumentBehindAnswersMinus5AndLeavesItBehind) {
    pf::Rect bounds{0, 0, 300, 500};
    pf::WindowRef document = JustMakeWindow(reinterpret_cast<const unsigned char*>("\x03" "Doc"), &bounds, nullptr, 0);
    pf::show_window(document);
    pf::select_window(pf::get_dialog_window(dialog));
    pf::Point behind = visible_point(document);
    ASSERT_GE(behind.v, 0);
    pf::driver_click(behind);
    EXPECT_EQ(modal(), kModalClickOutside);
    EXPECT_EQ(pf::front_window(), pf::get_dialog_window(dialog));
    pf::dispose_window(document);
}

TEST_F(DialogItems, KeyFilterPressesOnlyEnabledButtons) {
    pf::EventRecord ret = dialogtest::key_event(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::EventRecord cmd_period = dialogtest::key_event('.', pf::kKeyCodePeriod, pf::kCmdKey);
    pf::EventRecord cmd_x = dialogtest::key_event('x', 7, pf::kCmdKey);
    int16_t hit = 0;
    EnableButton(dialog, 1, false);
    EXPECT_FALSE(KeyFilter(dialog, ret, hit));
    EXPECT_TRUE(KeyFilter(dialog, cmd_period, hit));
    EXPECT_EQ(hit, 2);
    EXPECT_FALSE(KeyFilter(dialog, cmd_x, hit));
    EnableButton(dialog, 1, true);
    EXPECT_TRUE(KeyFilter(dialog, ret, hit));
    EXPECT_EQ(hit, 1);
}

TEST_F(DialogItems, WholeNumbersAreReadOnlyFromASignAndDigits) {
    EXPECT_EQ(read_number("-12"), -12);
    EXPECT_EQ(read_number("+7"), 7);
    EXPECT_EQ(read_number(""), 0);
    for (const char* junk : {"1a", "x5", "1-2", "-", "+", "5 ", "1.5", "--3"}) EXPECT_EQ(read_number(junk), 0) << junk;
    EXPECT_EQ(read_number("70000"), 32767);
    EXPECT_EQ(read_number("-70000"), -32768);
    EXPECT_EQ(read_number("99999999999999999999"), 32767);
    SetDNum(dialog, kField, -345, true);
    EXPECT_EQ(field(dialog, kField), "-345");
}

TEST_F(DialogItems, NumberFieldsRefuseJunkAndOutOfRangeValues) {
    int beeps = pf::beep_count();
    for (const char* bad : {"0", "101", "abc", "-5", "1e3", "4.5", "99999999999", "5-"}) {
        set_field(dialog, kField, bad);
        EXPECT_EQ(ValidArrowNum(dialog, kField, false, 1, 100, 10, 0), 0) << bad;
        EXPECT_EQ(field(dialog, kField), "10") << bad;
    }
    EXPECT_EQ(pf::beep_count(), beeps + 8);
    set_field(dialog, kField, "100");
    EXPECT_EQ(ValidArrowNum(dialog, kField, false, 1, 100, 10, 0), 1);
    set_field(dialog, kField, "-20");
    EXPECT_EQ(ValidArrowNum(dialog, kField, false, -50, 100, 10, 0), 1);
    set_field(dialog, kField, "");
    EXPECT_EQ(ValidArrowNum(dialog, kField, true, 1, 100, 10, 0), 1);
    EXPECT_EQ(ValidArrowNum(dialog, kField, false, 1, 100, 10, 0), 0);
}

TEST_F(DialogItems, LengthFieldsCompareTheirPointsWithTheBounds) {
    constexpr int16_t kInches = 2;  // unit 1
    set_field(dialog, kField, "1.5 in");
    EXPECT_EQ(ValidArrowNum(dialog, kField, false, 1, 720, 72, kInches), 1);
    set_field(dialog, kField, "2 cm");
    EXPECT_EQ(ValidArrowNum(dialog, kField, false, 1, 720, 72, kInches), 1);
    for (const char* bad : {"20 in", "99999 cm", "1.2.3", "-1 in", "in", "abc"}) {
        set_field(dialog, kField, bad);
        EXPECT_EQ(ValidArrowNum(dialog, kField, false, 1, 720, 72, kInches), 0) << bad;
        EXPECT_EQ(field(dialog, kField), "1.00 in") << bad;
    }
}

TEST_F(DialogItems, ALengthBeingTypedAsZeroPassesOnlyWhenZeroIsAllowed) {
    constexpr int16_t kPoints = 3;
    for (const char* zero : {"0", "0.0", ".", "0 pt"}) {
        set_field(dialog, kField, zero);
        EXPECT_EQ(ValidArrowNum(dialog, kField, false, 0, 720, 36, kPoints), 1) << zero;
        set_field(dialog, kField, zero);
        EXPECT_EQ(ValidArrowNum(dialog, kField, false, 1, 720, 36, kPoints), 0) << zero;
        EXPECT_EQ(field(dialog, kField), "36 pt") << zero;
    }
}

TEST_F(DialogItems, MarginFieldsAreReadInPointsWithTheTextToShow) {
    constexpr int16_t kInches = 1;
    for (const char* text : {"1 in", "2.54cm", "6 pi", "72.9 pt"}) {
        set_field(dialog, kField, text);
        EXPECT_EQ(get_margin_num(dialog, kField, nullptr, kInches), 72) << text;
    }
    unsigned char echo[256];
    set_field(dialog, kField, "1.5");
    EXPECT_EQ(get_margin_num(dialog, kField, echo, kInches), 108);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(echo + 1), echo[0]), "1.5 in");
    set_field(dialog, kField, "1-5 cm");
    EXPECT_EQ(get_margin_num(dialog, kField, echo, kInches), 0);
    EXPECT_EQ(echo[0], 0);
    EXPECT_EQ(field(dialog, kField), "1-5 cm");  // the field itself is left as typed
}

// The darkest level of the pixels inside a dialog item, as drawn on the screen.
int darkest_level_in_item(pf::DialogRef dialog, int16_t item) {
    pf::compose_screen();
    pf::Rect box = pf::get_dialog_item_box(dialog, item);
    pf::Rect content = pf::window_content_rect(pf::get_dialog_window(dialog));
    int darkest = 0xFF;
    for (int v = content.top + box.top + 3; v < content.top + box.bottom - 3; ++v)
        for (int h = content.left + box.left + 3; h < content.left + box.right - 3; ++h)
            darkest = std::min(darkest, int(pf::screen_pixel(h, v) >> 8 & 0xFF));
    return darkest;
}

TEST_F(DialogItems, ADimmedEditTextShowsItsTextInGrey) {
    set_field(dialog, kField, "WWW 888");
    pf::set_keyboard_focus(pf::get_dialog_window(dialog), GetDialogControl(dialog, 5), pf::kControlFocusNextPart);
    DimAppearanceText(dialog, kField, true);
    pf::draw_dialog(dialog);
    int dimmed = darkest_level_in_item(dialog, kField);
    pf::screen_write_png(dialogtest::screenshot_path("dimmed_edit_text.png"));
    EXPECT_GT(dimmed, 0x40);
    EXPECT_LT(dimmed, 0xD0);
    DimAppearanceText(dialog, kField, false);
    pf::draw_dialog(dialog);
    EXPECT_LT(darkest_level_in_item(dialog, kField), 0x20);
}

TEST_F(DialogItems, ColumnFieldsTakeOnlyColumnsUpToAUHT) {
    for (const char* good : {"A", "z", "AA", "AUHT", ""}) {
        set_field(dialog, kField, good);
        EXPECT_EQ(ValidArrowLetter(dialog, kField), 1) << good;
        EXPECT_EQ(field(dialog, kField), good);
    }
    for (const char* bad : {"AUHU", "AVLH", "ZZZZ", "A1", "1", "ABCDE", "B AA"}) {
        set_field(dialog, kField, bad);
        EXPECT_EQ(ValidArrowLetter(dialog, kField), 0) << bad;
        EXPECT_EQ(field(dialog, kField), "") << bad;
    }
}

TEST_F(DialogItems, LittleArrowsStepColumnLettersAndLengths) {
    pf::ControlRef arrows = add_arrows(kColumnLetterField, 0, 31999);
    set_field(dialog, kField, "Z");
    HandleLittleArrows(arrows, pf::kControlUpButtonPart);
    EXPECT_EQ(field(dialog, kField), "AA");
    HandleLittleArrows(arrows, pf::kControlPageUpPart);
    EXPECT_EQ(field(dialog, kField), "AB");
    HandleLittleArrows(arrows, pf::kControlDownButtonPart);
    EXPECT_EQ(field(dialog, kField), "AA");
    set_field(dialog, kField, "AUHT");
    HandleLittleArrows(arrows, pf::kControlUpButtonPart);
    EXPECT_EQ(field(dialog, kField), "AUHT");

    arrows->refcon = 2;  // inches
    pf::set_control_maximum(arrows, 720);
    set_field(dialog, kField, "1.00 in");
    HandleLittleArrows(arrows, pf::kControlUpButtonPart);
    EXPECT_EQ(field(dialog, kField), "1.01 in");
}

TEST_F(DialogItems, NumberCharactersFilter) {
    auto text = [](const char* s) {
        static unsigned char p[256];
        p[0] = uint8_t(std::strlen(s));
        std::memcpy(p + 1, s, p[0]);
        return p;
    };
    EXPECT_FALSE(filter_Num_Chars(true, true, text("")));
    EXPECT_TRUE(filter_Num_Chars(true, false, text("1.5")));
    EXPECT_FALSE(filter_Num_Chars(false, false, text("1.5")));
    EXPECT_TRUE(filter_Num_Chars(false, true, text("-15")));
    EXPECT_FALSE(filter_Num_Chars(false, false, text("-15")));
    EXPECT_FALSE(filter_Num_Chars(false, true, text("1-5")));
}

TEST_F(DialogItems, RadiosAndCheckBoxes) {
    std::vector<pf::DialogItemSpec> radios = {
        {pf::kRadioButtonItem, pf::Rect{90, 20, 106, 100}, "One", 0, true},
        {pf::kRadioButtonItem, pf::Rect{90, 110, 106, 190}, "Two", 0, true},
        {pf::kCheckBoxItem, pf::Rect{90, 200, 106, 280}, "Three", 0, true},
    };
    pf::append_dialog_item_specs(dialog, radios, pf::AppendMethod::kOverlay);
    SetDRadios(dialog, 6, 7, 7);
    EXPECT_EQ(GetDRadios(dialog, 6, 7), 7);
    SetDRadios(dialog, 6, 7, 9);
    EXPECT_EQ(GetDRadios(dialog, 6, 7), 0);
    EXPECT_EQ(FlipCheckbox(dialog, 8), 1);
    EXPECT_EQ(FlipCheckbox(dialog, 8), 0);
    EXPECT_EQ(FlipControl(nullptr), 0);
    EXPECT_EQ(GetCheckbox(dialog, 99), 0);
    EXPECT_EQ(flash_button(dialog, 5), 1);  // an edit text is no button
    EnableButton(dialog, 2, false);
    EXPECT_EQ(flash_button(dialog, 2), 1);
    EXPECT_EQ(flash_button(dialog, 1), 0);
}

TEST_F(DialogItems, StandardDialogsDisableTheMenusWhileTheyAreUp) {
    pf::dispose_dialog(dialog);
    dialog = nullptr;
    pf::Point saved{0, 0};
    std::vector<pf::DialogItemSpec> none;
    ASSERT_EQ(StdNewDLOG(-1, 1, nullptr), nullptr);  // no such template
    pf::MenuRef file_menu = pf::get_menu_handle(kFileMenu);
    ASSERT_NE(file_menu, nullptr);
    EXPECT_TRUE(file_menu->enabled);
    dialog = dialogtest::two_button_dialog();
    DialogMenubar(0, 0);
    EXPECT_FALSE(file_menu->enabled);
    StdDLOG_close(dialog, &saved);
    dialog = nullptr;
    EXPECT_TRUE(file_menu->enabled);
    EXPECT_NE(saved.v, 0);
    dialog = dialogtest::two_button_dialog();
}

namespace {

// A task for the window with one procedure of its own.
void add_task(WindowRef window, int32_t kind, TaskProc TaskRecord::*slot, TaskProc proc) {
    TaskRecord task;
    InitAppTask(&task);
    task.window = window;
    task.kind = kind;
    task.*slot = proc;
    NewTask(&task);
}

std::vector<int16_t> clicked_items;
int32_t note_click(EventRecord*, uintptr_t, uintptr_t item) {
    clicked_items.push_back(*reinterpret_cast<int16_t*>(item));
    return 0;
}

}  // namespace

TEST_F(DialogItems, AClickInAModelessDialogBehindOnlyBringsItForward) {
    pf::dispose_dialog(dialog);
    std::vector<pf::DialogItemSpec> items = {{pf::kButtonItem, pf::Rect{20, 20, 40, 100}, "Apply", 0, true}};
    dialog = pf::new_dialog(pf::Rect{420, 300, 500, 460}, "Find", pf::kNoGrowDocProc, true, items);
    WindowRef window = pf::get_dialog_window(dialog);
    add_task(window, kModelessDialogTask, &TaskRecord::click, note_click);
    pf::Rect bounds{0, 0, 300, 500};
    WindowRef document = JustMakeWindow(reinterpret_cast<const unsigned char*>("\x03" "Doc"), &bounds, nullptr, 0);
    pf::show_window(document);
    pf::select_window(document);
    clicked_items.clear();
    pf::Rect content = pf::window_content_rect(window);
    pf::Point apply{int16_t(content.top + 30), int16_t(content.left + 60)};
    pf::driver_click(apply);
    run_until_idle();
    EXPECT_EQ(pf::front_non_floating_window(), window);
    EXPECT_TRUE(clicked_items.empty());
    pf::driver_click(apply);
    run_until_idle();
    EXPECT_EQ(clicked_items, std::vector<int16_t>{1});
    remove_task(window);
    pf::dispose_window(document);
}

namespace {

int document_updates = 0;
int32_t count_update(EventRecord*, uintptr_t, uintptr_t) {
    ++document_updates;
    return 0;
}

}  // namespace

TEST_F(DialogItems, DocumentsBehindAModalDialogKeepUpdating) {
    pf::WindowRef document = pf::create_window(pf::kDocumentWindowClass, 0, pf::Rect{60, 10, 200, 300});
    pf::show_window(document);
    add_task(document, kDocumentTask, &TaskRecord::update, count_update);
    pf::select_window(pf::get_dialog_window(dialog));
    run_until_idle();
    document_updates = 0;
    pf::inval_window_rect(document, pf::Rect{0, 0, 50, 50});
    dialog_timer = 20;
    EXPECT_EQ(modal(), 1);
    EXPECT_EQ(document_updates, 1);
    remove_task(document);
    pf::dispose_window(document);
}
