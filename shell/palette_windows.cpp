#include "shell/palette_windows.h"

#include <algorithm>

#include "ui/screen_geometry.h"
#include "platform/windows/windows.h"
#include "ui/app_prefs.h"
#include "shell/command_bar.h"
#include "window/front_document.h"
#include "shell/palette_grid.h"
#include "shell/tool_palette.h"
#include "window/doc_window.h"

int16_t chosen_palette_item(WindowRef palette, int16_t rows) {
    if (!palette || !front_document_record()) return 0;
    PushWindowPort(palette);
    const int16_t item = SelectTools(rows);
    PopPort();
    return item;
}

namespace {

// A palette's title bar kept clear of the command bar's entry line.
int16_t below_command_bar(int16_t top) {
    constexpr int16_t kGap = 2;
    if (!IconBar) return top;
    return std::max<int16_t>(top, int16_t(pf::window_content_rect(IconBar).bottom + title_bar_height() + kGap));
}

}  // namespace

void place_palette(int position_index, int16_t top) {
    pf::Point& where = app_prefs.palette_positions[position_index];
    if (checkonscreen(pf::Point{int16_t(where.v - 10), where.h})) return;
    constexpr int16_t kNearTop = 100, kNearLeft = 13;
    const pf::Rect screen = pf::screen_bounds();
    where = pf::Point{below_command_bar(top), int16_t(screen.left + 1 + wind_left_extra())};
    if (!checkonscreen(where)) where = pf::Point{kNearTop, int16_t(screen.left + kNearLeft)};
}

void disarm_pending_tool() {
    MemoryRef record = front_document_record();
    if (!record) return;
    DocWindowRecord fields = read_doc_window(record);
    fields.tool = 0;
    write_doc_window(record, fields);
    show_pending_tool();
}
