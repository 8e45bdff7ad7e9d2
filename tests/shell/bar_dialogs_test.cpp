#include <cairo.h>
// Customising the command bar: buttons added, removed and moved in the bar
// editor, the edit kept in the bar file or dropped on Cancel, new bars named,
// and the customise dialog choosing the shown bar.
#include <filesystem>
#include <string>

#include "ui/lists_and_menus.h"
#include "platform/events/keyboard.h"
#include "ui/app_prefs.h"
#include "shell/bar_dialogs.h"
#include "tests/app/attended_fixture.h"

namespace {

ButtonRecord button(uint32_t command) {
    ButtonRecord b;
    b.command = command;
    return b;
}

std::string commands(const std::vector<ButtonRecord>& buttons) {
    std::string out;
    for (const ButtonRecord& b : buttons) out += char(b.command);
    return out;
}

TEST(BarEdits, InsertRemoveAndMoveKeepTheRowsInTheBar) {
    std::vector<ButtonRecord> bar;
    EXPECT_EQ(insert_bar_button(bar, button('a'), 0, false), 0);
    EXPECT_EQ(insert_bar_button(bar, button('b'), 0, true), 1);
    EXPECT_EQ(insert_bar_button(bar, button('c'), 0, false), 0);
    EXPECT_EQ(insert_bar_button(bar, button('d'), 99, true), 3);  // at most at the end
    EXPECT_EQ(commands(bar), "cabd");
    EXPECT_EQ(move_bar_button(bar, 0, 2), 2);
    EXPECT_EQ(commands(bar), "abcd");
    EXPECT_EQ(move_bar_button(bar, 3, 9), 3);  // nowhere to go
    EXPECT_EQ(remove_bar_button(bar, 2), 1);
    EXPECT_EQ(remove_bar_button(bar, 0), 0);
    EXPECT_EQ(commands(bar), "bd");
    EXPECT_EQ(remove_bar_button(bar, 5), 0);
    remove_bar_button(bar, 0);
    EXPECT_EQ(remove_bar_button(bar, 0), -1);
    EXPECT_TRUE(bar.empty());
}

// Once the editor is up: the steps, then Return.
struct EditorStep {
    enum Kind { kClick, kDragBarRows, kType, kNextPopUpItem } kind;
    pf::Point at{};   // click: in the content
    int16_t from = 0, to = 0;  // drag: bar rows
    const char* text = "";
};
std::vector<EditorStep> editor_script;
bool editor_played = false;
bool end_with_escape = false;

pf::Point bar_row_point(pf::DialogRef dialog, const pf::Rect& content, int16_t row) {
    const pf::Rect cell = pf::list_cell_rect(GetDialogListHandle(dialog, 7), pf::Point{row, 0});
    return pf::Point{int16_t(content.top + (cell.top + cell.bottom) / 2), int16_t(content.left + cell.left + 20)};
}

// One step each time the screen is composed with nothing left to play or to
// take, so that a control's tracking sees only its own click.
size_t next_step = 0;
void play_editor_script() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (!editor_played && pf::is_modal_window(front) && pf::driver_pending_steps() == 0 &&
        pf::queued_event_count() == 0) {
        pf::DialogRef dialog = pf::get_dialog_from_window(front);
        const pf::Rect content = pf::window_content_rect(front);
        if (next_step < editor_script.size()) {
            const EditorStep& step = editor_script[next_step++];
            if (step.kind == EditorStep::kType) pf::driver_type(step.text);
            else if (step.kind == EditorStep::kClick)
                pf::driver_click(pf::Point{int16_t(content.top + step.at.v), int16_t(content.left + step.at.h)});
            else if (step.kind == EditorStep::kNextPopUpItem)
                pf::driver_drag(pf::Point{int16_t(content.top + step.at.v), int16_t(content.left + step.at.h)},
                                pf::Point{int16_t(content.top + step.at.v + 21), int16_t(content.left + step.at.h)});
            else
                pf::driver_drag(bar_row_point(dialog, content, step.from), bar_row_point(dialog, content, step.to));
        } else {
            editor_played = true;
            if (end_with_escape) pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
            else pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        }
    }
    dialogtest::guarded_compose_step();
}

struct BarDialogs : AttendedTest {
    // The steps to play once the next modal dialog is up, then Return or Escape.
    static void play(std::vector<EditorStep> script, bool cancel = false) {
        editor_script = std::move(script);
        editor_played = false;
        next_step = 0;
        end_with_escape = cancel;
        pf::host_set_composer(play_editor_script);
    }
    int16_t edit(int16_t new_bar, std::vector<EditorStep> script, bool cancel = false) {
        play(std::move(script), cancel);
        const int16_t answer = command_dialog(new_bar);
        pf::host_set_composer(dialogtest::guarded_compose_step);
        EXPECT_TRUE(editor_played);
        return answer;
    }
    static std::vector<ButtonRecord> shown() { return button_list[size_t(app_prefs.bar_shown)].buttons; }
    // The bars as the bar file gives them back.
    static std::vector<ButtonBar> bars_from_file() {
        const std::vector<ButtonBar> kept = button_list;
        button_list.clear();
        read_button_positions();
        std::vector<ButtonBar> read = button_list;
        button_list = kept;
        return read;
    }
    static constexpr pf::Point kAddAfter{150, 260}, kRemove{200, 260};
};

TEST_F(BarDialogs, AToolAddedAfterTheFirstButtonIsKeptInTheBarFile) {
    ASSERT_TRUE(has_current_bar);
    const std::vector<ButtonRecord> before = shown();
    ASSERT_EQ(edit(0, {{EditorStep::kClick, kAddAfter}}), 1);
    const std::vector<ButtonRecord> after = shown();
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after[0].command, before[0].command);
    EXPECT_EQ(after[1].command, uint32_t(pf::four_cc("newd")));  // the first tool
    EXPECT_EQ(commands(current_bar.buttons), commands(after));
    const std::vector<ButtonBar> read = bars_from_file();
    ASSERT_GT(read.size(), size_t(app_prefs.bar_shown));
    EXPECT_EQ(commands(read[size_t(app_prefs.bar_shown)].buttons), commands(after));
}

TEST_F(BarDialogs, RemovingAndDraggingButtonsReorderTheBar) {
    const std::vector<ButtonRecord> before = shown();
    ASSERT_GE(before.size(), 4u);
    ASSERT_EQ(edit(0, {{EditorStep::kClick, kRemove}, {EditorStep::kDragBarRows, {}, 1, 2}}), 1);
    const std::vector<ButtonRecord> after = shown();
    ASSERT_EQ(after.size(), before.size() - 1);
    EXPECT_EQ(after[0].command, before[1].command);
    EXPECT_EQ(after[1].command, before[3].command);
    EXPECT_EQ(after[2].command, before[2].command);
}

TEST_F(BarDialogs, CancelLeavesTheBarAsItWas) {
    const std::vector<ButtonRecord> before = shown();
    ASSERT_EQ(edit(0, {{EditorStep::kClick, kRemove}, {EditorStep::kClick, kRemove}}, true), 0);
    EXPECT_EQ(commands(shown()), commands(before));
    EXPECT_EQ(commands(current_bar.buttons), commands(before));
}

TEST_F(BarDialogs, ANewBarWithoutANameIsUntitledAndCanBeTheEditingBar) {
    const size_t bars = button_list.size();
    const std::vector<ButtonRecord> before = shown();
    pf::driver_key(pf::kKeyCodeBackspace, pf::kBackspaceChar);  // the name emptied
    ASSERT_EQ(edit(-1, {{EditorStep::kClick, kAddAfter}, {EditorStep::kClick, {345, 30}}}), 1);
    ASSERT_EQ(button_list.size(), bars + 1);
    EXPECT_EQ(button_list.back().name, "Untitled Bar");
    EXPECT_EQ(button_list.back().buttons.size(), 1u);
    EXPECT_EQ(app_prefs.editing_bar, int16_t(bars + 1));
    EXPECT_EQ(commands(current_bar.buttons), commands(before));  // the shown bar is back
}

TEST_F(BarDialogs, TheCustomizeDialogShowsTheChosenBarAndKeepsTheOnlyOne) {
    ASSERT_GE(button_list.size(), 2u);
    app_prefs.bar_shown = 0;
    play({{EditorStep::kNextPopUpItem, {54, 200}}});
    EXPECT_EQ(customize_commandbar(), 1);
    EXPECT_TRUE(editor_played);
    EXPECT_EQ(app_prefs.bar_shown, 1);
    EXPECT_EQ(current_bar.name, button_list[1].name);

    button_list.resize(1);
    app_prefs.bar_shown = 0;
    delete_bar(false);
    EXPECT_EQ(button_list.size(), 1u);
}

TEST_F(BarDialogs, CustomizeDialogScreenshots) {
    for (const char* name : {"customize_bar_dialog.png", "bar_editor_dialog.png"}) {
        std::string png = dialogtest::screenshot_path(name);
        std::filesystem::remove(png);
        attended::screenshot_front_modal(png);
        if (name[0] == 'c') pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // Done
        else pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
        if (name[0] == 'c') EXPECT_EQ(customize_commandbar(), 1);
        else EXPECT_EQ(command_dialog(0), 0);
        EXPECT_TRUE(std::filesystem::exists(png));
    }
    // The bar list draws each button's picture beside its text: the faces of
    // the bevel buttons at the rows' left.
    cairo_surface_t* shot = cairo_image_surface_create_from_png(dialogtest::screenshot_path("bar_editor_dialog.png").c_str());
    ASSERT_EQ(cairo_surface_status(shot), CAIRO_STATUS_SUCCESS);
    const unsigned char* data = cairo_image_surface_get_data(shot);
    const int stride = cairo_image_surface_get_stride(shot);
    int face_pixels = 0;
    for (int y = 188; y < 384; ++y)
        for (int x = 462; x < 486; ++x)
            face_pixels += (reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF) == 0xDDDDDD;
    cairo_surface_destroy(shot);
    EXPECT_GT(face_pixels, 600);
}

}  // namespace
