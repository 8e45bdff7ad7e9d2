// The print preview as a user meets it: the first of the layer's pages shown
// with its number, Next turning to the last page (and dimmed there), Close
// leaving the document as it was; screenshots of both pages.
#include <filesystem>
#include <string>
#include <vector>

#include "files/layout_settings.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/dialogs/dialogs.h"
#include "printing/print_render.h"
#include "printing/printing.h"
#include "tests/app/attended_fixture.h"
#include "window/doc_window.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

// A new document in front, into which texts are typed as if no one watched.
struct PreviewTest : AttendedDocumentTest {
    // Types each text and ends it with `key` (Return goes down a column, Tab across a row).
    void enter_texts(std::initializer_list<const char*> texts, uint8_t key = pf::kKeyCodeReturn) {
        set_unattended_run(true);
        for (const char* text : texts) {
            pf::driver_type(text);
            pf::driver_key(key, key == pf::kKeyCodeTab ? pf::kTabChar : pf::kReturnChar);
        }
        run_until_idle();
        set_unattended_run(false);
    }
};

// The Print Preview dialog when it is in front and has taken all input given
// so far; null otherwise.
pf::DialogRef preview_at_rest() {
    pf::WindowRef front = pf::front_window();
    if (!pf::is_modal_window(front) || pf::window_title(front) != "Print Preview") return nullptr;
    if (pf::driver_pending_steps() != 0 || pf::queued_event_count() != 0) return nullptr;
    return pf::get_dialog_from_window(front);
}

int preview_step = 0;
std::string page_texts[2];
bool next_enabled_at_end = true;

std::string shot_prefix = "print_preview_";
std::string shot(int page) { return dialogtest::screenshot_path(shot_prefix + std::to_string(page) + ".png"); }

void turn_pages_composer() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    pf::DialogRef dialog = pf::is_modal_window(front) ? pf::get_dialog_from_window(front) : nullptr;
    // The second page is waited for (a few screen updates at most) before it is read.
    static int waited = 0;
    if (dialog && preview_step == 1 && pf::get_dialog_item_text(dialog, 6) == page_texts[0] && ++waited < 50) dialog = nullptr;
    if (dialog && pf::window_title(front) == "Print Preview" && preview_step < 2) {
        waited = 0;
        pf::screen_write_png(shot(preview_step + 1));
        page_texts[preview_step] = pf::get_dialog_item_text(dialog, 6);
        const pf::Rect content = pf::window_content_rect(front);
        if (preview_step == 0) {
            pf::driver_click(pf::Point{int16_t(content.top + 122), int16_t(content.left + 420)});  // Next
        } else {
            next_enabled_at_end = pf::is_dialog_item_enabled(dialog, 4);
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // Close
        }
        ++preview_step;
    }
    dialogtest::guarded_compose_step();
}

TEST_F(PreviewTest, ThePreviewTurnsThePagesOfTheLayer) {
    enter_texts({"Apples", "Pears"});
    use_layer(layer)->printable_rect = pf::Rect{0, 0, 20, 200};  // one row a page
    release_layer(layer);
    const int16_t changes = get_change_ctr(doc_window_workbook(record));

    preview_step = 0;
    pf::host_set_composer(turn_pages_composer);
    Preview(record);
    EXPECT_EQ(preview_step, 2);
    EXPECT_EQ(page_texts[0], "Page 1 of 2");
    EXPECT_EQ(page_texts[1], "Page 2 of 2");
    EXPECT_FALSE(next_enabled_at_end);
    EXPECT_EQ(get_change_ctr(doc_window_workbook(record)), changes);
    EXPECT_TRUE(std::filesystem::exists(shot(2)));
}

std::vector<std::string> modal_titles;

// Escape on every modal window, noting its title once.
void escape_every_modal_composer() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (pf::is_modal_window(front) && pf::get_dialog_from_window(front)) {
        const std::string title = pf::window_title(front);
        if (modal_titles.empty() || modal_titles.back() != title) {
            modal_titles.push_back(title);
            pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
        }
    }
    dialogtest::guarded_compose_step();
}

TEST_F(PreviewTest, EscapeClosesThePreviewWithoutPrinting) {
    enter_texts({"Apples"});
    modal_titles.clear();
    pf::host_set_composer(escape_every_modal_composer);
    Preview(record);
    EXPECT_EQ(modal_titles, std::vector<std::string>{"Print Preview"});
}

// At full size: a screenshot of the page's top-left, a drag up and to the
// left across the view, and a screenshot of what it scrolled to.
int zoom_step = 0;
uint32_t view_sum[2] = {0, 0};
uint32_t page_view_sum(const pf::Rect& content) {
    uint32_t sum = 0;
    for (int v = content.top + 20; v < content.top + 460; v += 3)
        for (int h = content.left + 20; h < content.left + 360; h += 3) sum = sum * 31 + (pf::screen_pixel(h, v) & 0xFFFFFF);
    return sum;
}
void zoom_and_drag_composer() {
    pf::compose_screen();
    if (preview_at_rest()) {
        const pf::Rect content = pf::window_content_rect(pf::front_window());
        switch (zoom_step++) {
            case 0: pf::driver_click(pf::Point{int16_t(content.top + 166), int16_t(content.left + 420)}); break;  // Zoom
            case 1: break;
            case 2:
                view_sum[0] = page_view_sum(content);
                pf::driver_drag(pf::Point{int16_t(content.top + 400), int16_t(content.left + 300)},
                                pf::Point{int16_t(content.top + 100), int16_t(content.left + 60)});
                break;
            case 3: break;
            case 4:
                view_sum[1] = page_view_sum(content);
                pf::screen_write_png(dialogtest::screenshot_path("print_preview_scrolled.png"));
                pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // Close
                break;
            default: break;
        }
    }
    dialogtest::guarded_compose_step();
}

TEST_F(PreviewTest, AtFullSizeThePageScrollsWhenDragged) {
    enter_texts({"Apples", "Pears", "Plums", "Quinces", "Medlars"});
    zoom_step = 0;
    pf::host_set_composer(zoom_and_drag_composer);
    Preview(record);
    EXPECT_GE(zoom_step, 5);
    EXPECT_NE(view_sum[0], view_sum[1]) << "the view shows another part of the page";
}

// At full size the scroll bars show: a press on the vertical bar's down arrow
// and one on the horizontal bar's page strip move the view over the page
// (print_preview_scroll_bars.png); back at the whole page they are hidden.
int bar_step = 0;
uint32_t bar_sums[3] = {0, 0, 0};
bool bars_shown_at_full_size = false, bars_hidden_at_whole_page = false;
bool bars_visible(pf::DialogRef dialog) {
    pf::ControlRef vertical = pf::get_dialog_item_control(dialog, 8), horizontal = pf::get_dialog_item_control(dialog, 9);
    return vertical && horizontal && pf::is_control_visible(vertical) && pf::is_control_visible(horizontal);
}
void scroll_bars_composer() {
    pf::compose_screen();
    if (pf::DialogRef dialog = preview_at_rest()) {
        const pf::Rect content = pf::window_content_rect(pf::front_window());
        auto at = [&](int v, int h) { return pf::Point{int16_t(content.top + v), int16_t(content.left + h)}; };
        switch (bar_step++) {
            case 0: pf::driver_click(at(166, 420)); break;  // Zoom
            case 2:
                bars_shown_at_full_size = bars_visible(dialog);
                bar_sums[0] = page_view_sum(content);
                pf::driver_click(at(444, 356));  // the vertical bar's down arrow
                break;
            case 4:
                bar_sums[1] = page_view_sum(content);
                pf::driver_click(at(460, 250));  // the horizontal bar's strip right of its thumb
                break;
            case 6:
                bar_sums[2] = page_view_sum(content);
                pf::screen_write_png(dialogtest::screenshot_path("print_preview_scroll_bars.png"));
                pf::driver_click(at(166, 420));  // Whole Page
                break;
            case 8:
                bars_hidden_at_whole_page = !bars_visible(dialog);
                pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // Close
                break;
            default: break;
        }
    }
    dialogtest::guarded_compose_step();
}

TEST_F(PreviewTest, AtFullSizeTheScrollBarsMoveTheViewOverThePage) {
    enter_texts({"Apples", "Pears", "Plums", "Quinces", "Medlars"}, pf::kKeyCodeTab);
    bar_step = 0;
    pf::host_set_composer(scroll_bars_composer);
    Preview(record);
    EXPECT_GE(bar_step, 9);
    EXPECT_TRUE(bars_shown_at_full_size);
    EXPECT_NE(bar_sums[0], bar_sums[1]) << "the down arrow moved the view";
    EXPECT_NE(bar_sums[1], bar_sums[2]) << "the page strip moved the view";
    EXPECT_TRUE(bars_hidden_at_whole_page);
}

TEST_F(PreviewTest, ThePreviewShowsTheNotePagesAfterTheLastPage) {
    enter_texts({"Apples"});
    put_note(layer, CellPoint{0, 0}, "Picked in October");
    use_layer(layer)->print_options |= kPrintNotes;
    release_layer(layer);
    ASSERT_EQ(count_note_pages(layer), 1);

    preview_step = 0;
    shot_prefix = "print_preview_notes_";
    pf::host_set_composer(turn_pages_composer);
    Preview(record);
    shot_prefix = "print_preview_";
    EXPECT_EQ(preview_step, 2);
    EXPECT_EQ(page_texts[0], "Page 1 of 2");
    EXPECT_EQ(page_texts[1], "Page 2 of 2");
    EXPECT_FALSE(next_enabled_at_end);
}

}  // namespace
