#include "window/sheet_tabs.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/screen_geometry.h"
#include "ui/system_info.h"
#include "core/string_utils.h"
#include "files/document_file.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/paint.h"
#include "platform/draw/text.h"
#include "platform/draw/theme.h"
#include "platform/events/clock.h"
#include "platform/fonts/fonts.h"
#include "platform/host/host.h"
#include "platform/text/text.h"
#include "platform/screen/cursor.h"
#include "ui/app_prefs.h"
#include "window/doc_window.h"
#include "window/window_commands.h"
#include "window/window_services.h"
#include "resource_ids.h"

WindowRef TabBar = nullptr;
pf::Rect tab_rect{};
int16_t Tab_Max = 0;
bool Tab_Scroll = false;

namespace {

constexpr int16_t kTabFontSize = 9;
constexpr int16_t kLabelBaseline = 18;
constexpr int16_t kSideTitleWidth = 14;
constexpr int16_t kDefaultTabBarWidth = 400;
constexpr int16_t kMinSavedWidth = 250;
constexpr int16_t kBottomGap = 31;
constexpr int16_t kDragSlop = 3;
constexpr int16_t kGrowIcon = 5;
constexpr int16_t kFrontTabTop = 7;
constexpr int16_t kBackTabTop = 10;
constexpr int16_t kTabBottom = 26;
constexpr int16_t kPaneHeight = 10;
constexpr int16_t kButtonWidth = 16;
constexpr int16_t kFrameBottom = 17;
constexpr int16_t kLayerEndTarget = 31999;
constexpr uint16_t kDimGrey = 0xAAAA;

uint32_t last_click = 0;
// Asked for while no document window was open: made with the first one.
bool tab_bar_wanted = false;

// The tab window while it is still in the window list: windows disposed all
// at once at shutdown take it without its close procedure.
bool tab_bar_alive() {
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w))
        if (w == TabBar) return true;
    TabBar = nullptr;
    return false;
}

MemoryRef front_record() { return window_doc_record(FrontDocWindow()); }

int16_t active_index(MemoryRef record) { return GetSheetID(doc_window_layer(record)); }

// The tab window's port with the tabs' text style, for measuring and drawing.
struct TabPort {
    TabPort() {
        PushWindowPort(TabBar);
        pf::text_font(pf::kApplFont);
        pf::text_size(kTabFontSize);
        pf::text_face(0);
    }
    ~TabPort() { PopPort(); }
};

void compute_tab_rect() {
    const pf::Rect port = pf::window_port(TabBar)->port_rect;
    tab_rect = pf::Rect{1, int16_t(port.left + kButtonsWidth), port.bottom, int16_t(port.right - kButtonsWidth)};
}

int16_t side_title_width() {
    WindowRef bar = window_services.app_command_bar();
    if (!bar) return kSideTitleWidth;
    return int16_t(pf::window_content_rect(bar).top - pf::window_struct_rect(bar).top);
}

int16_t tab_window_width(int16_t title_width) {
    pf::Rect screen;
    GetScreenRect(&screen);
    int16_t width = app_prefs.tab_bar_width >= kMinSavedWidth ? app_prefs.tab_bar_width : kDefaultTabBarWidth;
    if (app_prefs.tab_bar_width < kMinSavedWidth)
        if (WindowRef bar = window_services.app_command_bar()) width = int16_t(pf::window_port(bar)->port_rect.width());
    return std::min<int16_t>(width, int16_t(screen.width() - title_width));
}

// The place at the screen's bottom-left where the tab bar goes when it has none saved.
pf::Point default_tab_place(int16_t title_width) {
    pf::Rect screen;
    GetScreenRect(&screen);
    return pf::Point{int16_t(screen.bottom - kBottomGap), int16_t(screen.left + title_width)};
}

pf::Point tab_window_place(int16_t title_width) {
    pf::Point& saved = app_prefs.palette_positions[kSheetTabsPosition];
    if (checkonscreen(saved)) return pf::Point{saved.v, int16_t(saved.h - title_width)};
    saved = default_tab_place(title_width);
    return saved;
}

void store_location() {
    pf::Rect content = pf::window_content_rect(TabBar);
    app_prefs.palette_positions[kSheetTabsPosition] = pf::Point{content.top, content.left};
}

// Tab_Max: the lowest first index from which the tabs up to the one after
// the last layer fit in the strip less 8 pixels.
int16_t compute_tab_max(MemoryRef workbook) {
    unsigned char label[256];
    int16_t index = num_SpreadSheets(workbook);
    int32_t room = tab_rect.width() - 8 - get_tab_size(index, workbook, label);
    while (index > 0) {
        const int32_t width = get_tab_size(int16_t(index - 1), workbook, label);
        if (width > room) break;
        room -= width;
        --index;
    }
    return index;
}

void draw_label(const pf::Rect& tab, const unsigned char* label) {
    const int16_t width = pf::string_width(label);
    pf::move_to(int16_t(tab.left + (tab.width() - width) / 2), kLabelBaseline);
    pf::draw_string(label);
}

void draw_frame_lines() {
    pf::rgb_fore_color(pf::kBlackColor);
    for (int16_t x : {int16_t(tab_rect.left - 1), kButtonWidth, tab_rect.right, int16_t(tab_rect.right + kButtonWidth)}) {
        pf::move_to(x, 0);
        pf::line_to(x, kFrameBottom);
    }
    pf::move_to(0, kFrameBottom);
    pf::line_to(tab_rect.left, kFrameBottom);
    pf::move_to(tab_rect.right, kFrameBottom);
    pf::line_to(int16_t(tab_rect.right + kButtonsWidth), kFrameBottom);
}

void draw_buttons() {
    const bool dim = Tab_Max == 0;
    const int16_t xs[4] = {0, kButtonWidth, int16_t(tab_rect.right + 1), int16_t(tab_rect.right + kButtonWidth)};
    for (int16_t i = 0; i < 4; ++i)
        Draw_Bitmap(pf::window_port(TabBar), pf::kSrcOr, kButtonIcons, pf::Point{1, xs[i]}, dim, int16_t(i + 1));
}

void redraw_tabs() {
    if (!TabBar) return;
    pf::inval_window_rect(TabBar, pf::window_port(TabBar)->port_rect);
}

// The part of a click in the scroll buttons, or 0.
uint16_t button_part(pf::Point where) {
    if (where.v > tab_rect.bottom) return 0;
    if (where.h < tab_rect.left) return where.h <= 15 ? kTabOneLeft : kTabTenLeft;
    if (where.h >= tab_rect.right) return where.h >= tab_rect.right + kButtonWidth ? kTabOneRight : kTabTenRight;
    return 0;
}

// Where a tab dropped at the point goes: before the layer under it, to the
// front when dragged past the strip's left edge at the first tab, or last.
int16_t drop_target(MemoryRef record, pf::Point where, int16_t outline_left) {
    if (get_tab_value(doc_window_workbook(record)) == 0 && outline_left < tab_rect.left) return 0;
    pf::Rect rect;
    const int32_t under = findTab(pf::Point{int16_t(tab_rect.top + 8), where.h}, &rect, record);
    return under >= 0 ? int16_t(under) : kLayerEndTarget;
}

void draw_outline(const pf::Rect& outline) {
    pf::pen_size(2, 2);
    pf::pen_mode(pf::kPatXor);
    pf::frame_rect(outline);
    pf::pen_normal();
}

// Follows a tab dragged from `start`; true when it was dragged (moved or not).
bool drag_tab(MemoryRef record, int16_t index, const pf::Rect& tab, pf::Point start) {
    MemoryRef workbook = doc_window_workbook(record);
    if (num_SpreadSheets(workbook) < 2) return false;
    TabPort port;
    pf::Point mouse = start;
    while (pf::still_down()) {
        pf::get_mouse(mouse);
        if (std::abs(mouse.h - start.h) > kDragSlop) break;
    }
    if (std::abs(mouse.h - start.h) <= kDragSlop) return false;
    pf::set_cursor_resource(kTabDragCursor);
    pf::Rect outline = tab;
    int16_t offset = int16_t(mouse.h - start.h);
    bool shown = false;
    bool inside = true;
    auto place = [&](int16_t dh) {
        outline = pf::Rect{tab.top, int16_t(tab.left + dh), tab.bottom, int16_t(tab.right + dh)};
    };
    do {
        pf::get_mouse(mouse);
        if (shown) draw_outline(outline);
        shown = false;
        inside = mouse.v >= 0 && mouse.v <= tab_rect.bottom + 8 && mouse.h >= tab_rect.left - kButtonsWidth &&
                 mouse.h <= tab_rect.right + kButtonsWidth;
        offset = int16_t(mouse.h - start.h);
        place(offset);
        const int16_t value = get_tab_value(workbook);
        if (inside && outline.left <= tab_rect.left && value > 0) {
            TabScroll(kTabOneLeft);
            start.h = int16_t(start.h + 10);
        } else if (inside && outline.right >= tab_rect.right && value < Tab_Max) {
            TabScroll(kTabOneRight);
            start.h = int16_t(start.h - 10);
        }
        if (inside) {
            draw_outline(outline);
            shown = true;
        } else {
            pf::set_arrow_cursor();
        }
        pf::host_present();
    } while (pf::still_down());
    if (shown) draw_outline(outline);
    pf::set_arrow_cursor();
    if (!inside) return true;
    move_layer(workbook, index, drop_target(record, mouse, outline.left));
    redraw_tabs();
    if (WindowRef window = doc_window_window(record)) SelectReferencedWindow(window);
    return true;
}

void register_tab_task() {
    add_window_task(TabBar, kFloatingToolTask, 0,
                    {update_Tab_proc, activate_Tab_proc, idle_Tab_proc, click_Tab_proc, key_Tab_proc, close_Tab_proc,
                     grow_tab_proc});
}

// The host's screen took a new size: a tab bar along the old bottom edge
// moves to the new one, any other stays wholly on the screen, and it is never
// wider than the screen.
void follow_screen(int, int old_height) {
    if (!tab_bar_alive()) return;
    const pf::Rect content = pf::window_content_rect(TabBar);
    pf::Rect screen;
    GetScreenRect(&screen);
    const int16_t bottom_place = default_tab_place(0).v;
    const bool along_bottom = content.top >= old_height - kBottomGap - kTabBarHeight;
    const int16_t top = along_bottom ? bottom_place : std::min(content.top, bottom_place);
    const int16_t title_width = side_title_width();
    const int16_t right_frame = pf::window_frame_insets(TabBar).right;
    const int16_t widest = int16_t(screen.width() - title_width - right_frame);
    const int16_t leftmost = int16_t(screen.left + title_width);
    const int16_t left = std::clamp<int16_t>(
        content.left, leftmost, std::max<int16_t>(leftmost, int16_t(screen.right - right_frame - content.width())));
    pf::move_window(TabBar, left, top, false);
    if (content.width() > widest) {
        pf::size_window(TabBar, widest, kTabBarHeight, true);
        compute_tab_rect();
    }
    store_location();
    redraw_tabs();
}

}  // namespace

bool tab_bar_top(int16_t* top) {
    if (tab_bar_alive() && pf::window_visible(TabBar)) {
        *top = pf::window_struct_rect(TabBar).top;
        return true;
    }
    if (!(app_prefs.options & kPrefSheetTabs)) return false;
    // Not made yet: it comes with the first document window.
    const pf::Point saved = app_prefs.palette_positions[kSheetTabsPosition];
    *top = int16_t((checkonscreen(saved) ? saved.v : default_tab_place(side_title_width()).v) - 1);
    return true;
}

int16_t get_tab_value(MemoryRef workbook) { return file_record_of(workbook).tab_value; }

void set_tab_value(MemoryRef workbook, int16_t value) {
    FileInfoRecord record = file_record_of(workbook);
    if (record.tab_value == value) return;
    record.tab_value = value;
    set_file_record(workbook, record);
}

void MakeTabWindow() {
    if (tab_bar_alive()) {
        if (any_document_window()) pf::show_window(TabBar);
        return;
    }
    app_prefs.options |= kPrefSheetTabs;
    tab_bar_wanted = !any_document_window();
    if (tab_bar_wanted) return;
    const int16_t title_width = side_title_width();
    const int16_t width = tab_window_width(title_width);
    const pf::Point where = tab_window_place(title_width);
    const pf::Rect content{where.v, where.h, int16_t(where.v + kTabBarHeight), int16_t(where.h + width)};
    const unsigned char title[] = "\x06Sheets";
    TabBar = pf::new_window(content, title, false, int16_t(pf::kFloatSideProc + 2), pf::kFirstWindowOfClass, true, 0);
    if (!TabBar) return;
    pf::set_window_kind(TabBar, kPaletteWindowKind);
    compute_tab_rect();
    register_tab_task();
    pf::host_set_screen_resized(follow_screen);
    pf::show_window(TabBar);
}

void HideTabWindow() {
    if (tab_bar_alive()) pf::hide_window(TabBar);
}

void invalidate_tabs() {
    if (!tab_bar_alive() && tab_bar_wanted && any_document_window()) MakeTabWindow();
    if (!tab_bar_alive()) return;
    if (!pf::window_visible(TabBar) && any_document_window()) pf::show_window(TabBar);
    Tab_Scroll = true;
    redraw_tabs();
}

void stripEndChars(unsigned char* name, int16_t limit, int16_t kept) {
    if (name[0] <= limit) return;
    int16_t length = kept;
    const char* text = reinterpret_cast<const char*>(name + 1);
    if (pf::character_byte_type(text, kept - 1, g_system.application_script) == -1) ++length;
    std::memcpy(name + 1 + length, "...", 3);
    name[0] = uint8_t(length + 3);
}

int32_t get_tab_size(int16_t index, MemoryRef workbook, unsigned char* label) {
    std::string text = std::to_string(index + 1);
    MemoryRef layer = index < num_SpreadSheets(workbook) ? find_SpreadSheet_item(workbook, index) : nullptr;
    if (layer) {
        unsigned char name[256];
        GetSheetName(name, layer);
        stripEndChars(name, kTabNameLimit, kTabNameKept);
        text += ": " + std::string(reinterpret_cast<const char*>(name + 1), name[0]);
    }
    set_pstring(label, text);
    if (!layer) return kNoTabWidth;
    return std::max<int32_t>(kNoTabWidth, pf::string_width(label) + kTabWidthExtra);
}

int32_t calc_tab_end(MemoryRef record) {
    MemoryRef workbook = doc_window_workbook(record);
    unsigned char label[256];
    int32_t x = tab_rect.left;
    int16_t index = get_tab_value(workbook);
    for (;; ++index) {
        x += get_tab_size(index, workbook, label);
        if (x > tab_rect.right) return index - 1;
    }
}

int32_t findTab(pf::Point where, pf::Rect* rect, MemoryRef record) {
    if (!TabBar || !record || !pf::pt_in_rect(where, tab_rect)) return -1;
    MemoryRef workbook = doc_window_workbook(record);
    TabPort port;
    unsigned char label[256];
    int16_t x = tab_rect.left;
    const int16_t last = int16_t(num_SpreadSheets(workbook) - 1);
    for (int16_t index = get_tab_value(workbook); index <= last && x < tab_rect.right; ++index) {
        const int16_t width = int16_t(get_tab_size(index, workbook, label));
        if (where.h >= x && where.h < x + width) {
            *rect = pf::Rect{tab_rect.top, x, tab_rect.bottom, int16_t(x + width)};
            return index;
        }
        x = int16_t(x + width);
    }
    return -1;
}

void frame_tab(const pf::Rect& rect, uint16_t front) {
    const pf::Rect tab{front ? kFrontTabTop : kBackTabTop, rect.left, kTabBottom, int16_t(rect.right + 1)};
    pf::draw_theme_tab(tab, front ? pf::kThemeTabFront : pf::kThemeTabNonFront, pf::TabDirection::kSouth);
}

void Draw_Tabs(MemoryRef record) {
    MemoryRef workbook = doc_window_workbook(record);
    TabPort port;
    set_tab_value(workbook, std::clamp<int16_t>(get_tab_value(workbook), 0, Tab_Max));
    PushClip();
    pf::clip_rect(tab_rect);
    pf::erase_rect(tab_rect);
    pf::draw_theme_tab_pane(pf::Rect{0, int16_t(tab_rect.left - 1), kPaneHeight, int16_t(tab_rect.right + 1)},
                            pf::kThemeStateActive);
    const int16_t active = active_index(record);
    const int32_t end = calc_tab_end(record);
    unsigned char label[256];
    int16_t x = tab_rect.left;
    for (int16_t index = get_tab_value(workbook); index <= end; ++index) {
        const int16_t width = int16_t(get_tab_size(index, workbook, label));
        const pf::Rect tab{tab_rect.top, x, tab_rect.bottom, int16_t(x + width)};
        frame_tab(tab, index == active);
        draw_label(tab, label);
        x = int16_t(x + width);
    }
    frame_tab(pf::Rect{tab_rect.top, x, tab_rect.bottom, int16_t(tab_rect.right + 2)}, 0);
    PopClip();
}

void TabScroll(uint16_t part) {
    MemoryRef record = front_record();
    if (!record) return;
    MemoryRef workbook = doc_window_workbook(record);
    const int16_t step = part == kTabOneLeft ? -1 : part == kTabOneRight ? 1 : part == kTabTenLeft ? -10 : 10;
    const int16_t value = get_tab_value(workbook);
    if ((step < 0 && value == 0) || (step > 0 && value >= Tab_Max)) return;
    set_tab_value(workbook, std::clamp<int16_t>(int16_t(value + step), 0, Tab_Max));
    Draw_Tabs(record);
}

int32_t update_Tab_proc(EventRecord*, uintptr_t, uintptr_t) {
    MemoryRef record = front_record();
    if (!TabBar || !record) return 1;
    MemoryRef workbook = doc_window_workbook(record);
    {
        TabPort port;
        Tab_Max = compute_tab_max(workbook);
        const int16_t active = active_index(record);
        if (Tab_Scroll && (active < get_tab_value(workbook) || active > calc_tab_end(record)))
            set_tab_value(workbook, std::min(active, Tab_Max));
        Tab_Scroll = false;
    }
    Draw_Tabs(record);
    TabPort port;
    draw_frame_lines();
    draw_buttons();
    return 1;
}

int32_t activate_Tab_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window) {
    return update_Tab_proc(event, app_ref, window);
}

int32_t idle_Tab_proc(EventRecord* event, uintptr_t, uintptr_t) {
    pf::WindowRef under = nullptr;
    if (TabBar && event && pf::find_window(event->where, &under) != 0 && under == TabBar) SetCursorTo(kArrowCursor);
    return 1;
}

int32_t key_Tab_proc(EventRecord* event, uintptr_t, uintptr_t) {
    WindowRef document = wxFrontNonFloatingWindow();
    if (!document) return 0;
    TaskRecord task;
    get_task_from_window(document, &task);
    return call_task_in_port(task.key, document, event, task.app_ref, 0);
}

int32_t click_Tab_proc(EventRecord* event, uintptr_t, uintptr_t) {
    MemoryRef record = front_record();
    if (!TabBar || !record) return 1;
    pf::Point where = event->where;
    {
        TabPort port;
        pf::global_to_local(where);
    }
    const bool double_click = event->when - last_click < pf::double_click_time();
    const bool option = (event->modifiers & pf::kOptionKey) != 0;
    last_click = event->when;
    if (uint16_t part = button_part(where)) {
        TabScroll(part);
        return 1;
    }
    pf::Rect tab;
    const int32_t index = findTab(where, &tab, record);
    if (index < 0) {
        if (double_click && pf::pt_in_rect(where, tab_rect)) DoLayerMenu(record, kLayerNewItem);
        return 1;
    }
    if (drag_tab(record, int16_t(index), tab, where)) return 1;
    MemoryRef layer = find_SpreadSheet_item(doc_window_workbook(record), index);
    const bool active = index == active_index(record);
    if (double_click && (active || (option && layer_window(layer)))) DoLayerMenu(front_record(), kLayerRenameItem);
    else if (!active && !option) select_layer(record, int16_t(index));
    return 1;
}

int32_t close_Tab_proc(EventRecord* event, uintptr_t, uintptr_t) {
    if (!event || event->message != kCloseForQuit) app_prefs.options &= ~kPrefSheetTabs;
    tab_bar_wanted = false;
    if (TabBar) {
        store_location();
        pf::hide_window(TabBar);
    }
    TabBar = nullptr;
    return 1;
}

int32_t grow_tab_proc(EventRecord* event, uintptr_t, uintptr_t) {
    if (!TabBar) return 1;
    const int16_t width = int16_t(uint32_t(event->message) & 0xFFFF);
    pf::size_window(TabBar, width, kTabBarHeight, true);
    compute_tab_rect();
    app_prefs.tab_bar_width = width;
    redraw_tabs();
    return 1;
}
