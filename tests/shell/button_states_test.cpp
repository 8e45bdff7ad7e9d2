// The state rules of the buttons over a table of document states, the values
// shown pressed, and the currency and decimal-places pop-ups' items.
#include <gtest/gtest.h>

#include "shell/button_states.h"
#include "shell/command_codes.h"

namespace {

ButtonRecord button(const char* code, uint16_t flags = 0) {
    ButtonRecord b;
    b.command = code_value(code);
    b.flags = flags;
    return b;
}

DocumentFacts document() {
    DocumentFacts f;
    f.record = reinterpret_cast<MemoryRef>(0x10);
    f.layers = 1;
    return f;
}

int16_t state(const char* code, const DocumentFacts& f, uint16_t flags = 0) {
    return button_state(button(code, flags), f, true);
}

struct StateCase {
    const char* name;
    DocumentFacts facts;
    std::vector<const char*> enabled;
    std::vector<const char*> disabled;
};

std::vector<StateCase> state_cases() {
    DocumentFacts plain = document();
    DocumentFacts object = document();
    object.object_selected = true;
    DocumentFacts object_text = object;
    object_text.text_editor = reinterpret_cast<void*>(0x20);
    DocumentFacts editing = document();
    editing.entry_active = true;
    editing.text_editor = reinterpret_cast<void*>(0x20);
    editing.editor_selection_empty = true;
    DocumentFacts history = document();
    history.can_undo = true;
    history.unsaved = true;
    history.can_paste = true;
    history.layers = 2;
    return {
        {"plain document", plain, {"bold", "genl", "asum", "newd", "prot", "copy", "fild"},
         {"undo", "redo", "save", "past", "cloa"}},
        {"object selected", object, {"newd", "clos", "prot", "copy"},
         {"genl", "fild", "find", "asum", "bold", "font", "size", "txlr"}},
        {"object with text", object_text, {"bold", "cent", "font", "size", "styt"}, {"genl", "asum"}},
        {"editing a cell", editing, {"asum", "bold", "undl"},
         {"genl", "srta", "newd", "clos", "pdoc", "pwin", "spri", "chrt", "prot", "copy", "cut ", "delo", "copt"}},
        {"changes to undo and save", history, {"undo", "save", "past", "cloa"}, {"redo"}},
    };
}

TEST(ButtonStates, RulesOverATableOfDocumentStates) {
    for (const StateCase& c : state_cases()) {
        for (const char* code : c.enabled) EXPECT_EQ(state(code, c.facts), kButtonEnabled) << c.name << ": " << code;
        for (const char* code : c.disabled) EXPECT_EQ(state(code, c.facts), kButtonDisabled) << c.name << ": " << code;
    }
}

TEST(ButtonStates, WithoutADocumentOnlyNewOpenPreferencesAndQuitWhileAWindowIsOpen) {
    DocumentFacts none;
    for (const char* code : {"newd", "open", "prfd", "quit"}) {
        EXPECT_EQ(button_state(button(code), none, true), kButtonEnabled) << code;
        EXPECT_EQ(button_state(button(code, kButtonNeedsDocument), none, true), kButtonDisabled) << code;
        EXPECT_EQ(button_state(button(code), none, false), kButtonDisabled) << code;
    }
    for (const char* code : {"save", "bold", "asum", "cut "}) EXPECT_EQ(button_state(button(code), none, true), kButtonDisabled);
}

TEST(ButtonStates, ValuesFollowTheSelection) {
    DocumentFacts f = document();
    f.style = 0x01 | 0x10;
    f.alignment = 3;
    f.format.bytes[kFmtCode] = 'I';
    f.option_flags = 0x02 | 0x01;
    f.has_print_area = true;
    f.font = 22;
    f.size = 14;
    auto value = [&f](const char* code) { return button_value(button(code, kButtonShowsValue), f); };
    EXPECT_EQ(value("bold"), 1);
    EXPECT_EQ(value("shad"), 1);
    EXPECT_EQ(value("ital"), 0);
    EXPECT_EQ(value("rght"), 1);
    EXPECT_EQ(value("left"), 0);
    EXPECT_EQ(value("perc"), 1);
    EXPECT_EQ(value("genl"), 0);
    EXPECT_EQ(value("coma"), 1);
    EXPECT_EQ(value("prot"), 1);
    EXPECT_EQ(value("pren"), 0);
    EXPECT_EQ(value("prar"), 1);
    EXPECT_EQ(value("font"), 22);
    EXPECT_EQ(value("size"), 14);
    // Underline has no value rule; buttons without the value flag show none.
    f.style = 0x04;
    EXPECT_EQ(value("undl"), 0);
    EXPECT_EQ(button_value(button("rght"), f), 0);
    EXPECT_EQ(button_value(button("rght", kButtonShowsValue), DocumentFacts{}), 0);
}

CellFormat format_of(uint8_t code, uint8_t flags_a, uint8_t flags_b, int8_t decimals = 2) {
    CellFormat f{};
    f.bytes[kFmtCode] = code;
    f.bytes[kFmtFlagsA] = flags_a;
    f.bytes[kFmtFlagsB] = flags_b;
    f.bytes[kFmtDecimals] = uint8_t(decimals);
    return f;
}

TEST(ButtonStates, CurrencyPopUpChecksTheSelectionsFormat) {
    EXPECT_EQ(currency_checked_item(format_of(32, 0, 0)), 6);
    EXPECT_EQ(currency_checked_item(format_of(36, 0x20, 0)), 1);
    EXPECT_EQ(currency_checked_item(format_of(36, 0x30, 0)), 2);
    EXPECT_EQ(currency_checked_item(format_of(37, 0x00, 0x40)), 3);
    EXPECT_EQ(currency_checked_item(format_of(39, 0x10, 0x40)), 4);
    EXPECT_EQ(currency_checked_item(format_of(36, 0x10, 0)), 0);
    EXPECT_EQ(currency_checked_item(format_of(48, 0, 0)), 9);
    EXPECT_EQ(currency_checked_item(format_of('G', 0, 0)), 0);
}

TEST(ButtonStates, CurrencyChoicesSetTheirFormats) {
    FormatChange second = currency_choice(2);
    EXPECT_TRUE(second.valid);
    EXPECT_EQ(second.code, 36);
    EXPECT_EQ(second.decimals, 2);
    EXPECT_EQ(second.flags_a_set, 0x30);
    EXPECT_EQ(second.flags_b_set, 0x20);
    EXPECT_EQ(second.flags_b_clear, 0x41);
    FormatChange third = currency_choice(3);
    EXPECT_EQ(third.flags_a_clear, 0x30);
    EXPECT_EQ(third.flags_b_set, 0x60);
    EXPECT_EQ(third.flags_b_clear, 0x01);
    FormatChange whole = currency_choice(6);
    EXPECT_EQ(whole.code, 31);
    EXPECT_EQ(whole.decimals, 0);
    EXPECT_EQ(whole.flags_a_set, 0x02);
    EXPECT_EQ(currency_choice(10).code, 49);
    EXPECT_EQ(currency_choice(10).decimals, -1);
    EXPECT_FALSE(currency_choice(5).valid);
    EXPECT_FALSE(currency_choice(12).valid);
}

TEST(ButtonStates, FixedDecimalsPopUp) {
    EXPECT_EQ(fixed_decimals_checked_item(format_of('f', 0, 0, 4)), 1);
    EXPECT_EQ(fixed_decimals_checked_item(format_of('f', 0, 0x20, 0)), 3);
    EXPECT_EQ(fixed_decimals_checked_item(format_of('f', 0, 0x20, 6)), 9);
    EXPECT_EQ(fixed_decimals_checked_item(format_of('f', 0, 0x20, 9)), 10);
    EXPECT_EQ(fixed_decimals_choice(1).flags_b_clear, 0x20);
    EXPECT_EQ(fixed_decimals_choice(5).decimals, 2);
    EXPECT_EQ(fixed_decimals_choice(5).flags_b_set, 0x20);
    EXPECT_FALSE(fixed_decimals_choice(2).valid);
    EXPECT_FALSE(fixed_decimals_choice(10).valid);
}

}  // namespace
