// The command bar's message area: help texts, the size or reference of the
// selection as the calculation library reports it, and the progress bar of a
// recalculation or sort.
#include <algorithm>
#include <cstring>
#include <string>

#include "window/window_commands.h"
#include "ui/colours.h"
#include "core/string_utils.h"
#include "ui/task_manager.h"
#include "model/cell_range.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/draw/text.h"
#include "platform/draw/theme.h"
#include "platform/resources/resources.h"
#include "platform/host/host.h"
#include "shell/command_bar.h"
#include "shell/shell_commands.h"
#include "formula/range_string.h"
#include "resource_ids.h"

namespace {

constexpr int kMaxMessage = 31;
constexpr int16_t kApplicationFont = 1;
constexpr int16_t kMessageSize = 9;
constexpr int16_t kWholeSpan = kLastCell + 1;

void set_message(const unsigned char* text) {
    int length = std::min<int>(text[0], kMaxMessage);
    cmd_msg[0] = uint8_t(length);
    std::memcpy(cmd_msg + 1, text + 1, size_t(length));
}

void show_text(const std::string& text) {
    unsigned char pstr[256];
    set_pstring(pstr, text);
    draw_cmd_msg(pstr, 0);
}

// The length of the message's first line: all of it when it fits the area,
// else up to the last space that fits (the rest goes on a second line).
size_t first_line_length(std::string_view text, int16_t room) {
    if (pf::text_width(text) <= room) return text.size();
    size_t fits = 0;
    for (size_t space = text.find(' '); space != std::string_view::npos; space = text.find(' ', space + 1)) {
        if (pf::text_width(text.substr(0, space)) > room) break;
        fits = space;
    }
    return fits ? fits : text.size();
}

void draw_message() {
    constexpr int16_t kLeftInset = 2;
    constexpr int16_t kOneLineBaseline = 11;
    constexpr int16_t kFirstOfTwoBaseline = 9;
    constexpr int16_t kLineHeight = 10;
    PushWindowPort(IconBar);
    pf::Rect area = message_rect();
    pf::erase_rect(area);
    pf::text_font(kApplicationFont);
    pf::text_size(kMessageSize);
    pf::rgb_fore_color(black_color);
    std::string_view text(reinterpret_cast<const char*>(cmd_msg + 1), cmd_msg[0]);
    size_t first = first_line_length(text, int16_t(area.width() - 2 * kLeftInset));
    bool two_lines = first < text.size();
    pf::move_to(kLeftInset, int16_t(area.top + (two_lines ? kFirstOfTwoBaseline : kOneLineBaseline)));
    pf::draw_text(text.substr(0, first));
    if (two_lines) {
        pf::move_to(kLeftInset, int16_t(area.top + kFirstOfTwoBaseline + kLineHeight));
        pf::draw_text(text.substr(first + 1));
    }
    pf::text_font(0);
    pf::text_size(0);
    PopPort();
}

}  // namespace

void draw_cmd_msg(const unsigned char* text, int16_t force) {
    if (!IconBar) return;
    static const unsigned char kEmpty[1] = {0};
    if (!text) text = kEmpty;
    if (text[0] == 0 && cmd_msg[0] == 0 && !force) return;
    bool same = text[0] == cmd_msg[0] && std::memcmp(text + 1, cmd_msg + 1, cmd_msg[0]) == 0;
    if (same && !force) return;
    if (text != kEmpty || !force) set_message(text);
    draw_message();
}

void get_cmd_msg(int16_t item) {
    unsigned char text[256] = {0};
    if (item > 0) pf::get_indexed_string(text, kCommandBarMessages, item);
    draw_cmd_msg(text, 0);
}

void selection_size_text(const CellRange& range, unsigned char* out) {
    int rows = range.botRight.v - range.topLeft.v + 1;
    int columns = range.botRight.h - range.topLeft.h + 1;
    std::string text;
    if (rows == kWholeSpan) text = std::to_string(columns) + "C";
    else if (columns == kWholeSpan) text = std::to_string(rows) + "R";
    else text = std::to_string(columns) + "C x " + std::to_string(rows) + "R";
    set_pstring(out, text);
}

void DisplaySelection(const CellRange* selection) {
    if (!selection) return;
    unsigned char text[256];
    selection_size_text(*selection, text);
    draw_cmd_msg(text, 0);
}

void Display_WidthHeight(int32_t width, int32_t height) {
    show_text(std::to_string(width) + "W x " + std::to_string(height) + "H");
}

void DisplaySize(int32_t pixels) { show_text(std::to_string(pixels)); }

void DisplayRange(MemoryRef layer) {
    if (!layer) return;
    LayerUse sheet(layer);
    CellPoint active = sheet->active_cell;
    sheet.release();
    CellRange cell{active, active};
    const bool relative[4] = {false, false, false, false};
    unsigned char reference[256], name[256];
    RangeString(reference, &cell, relative, nullptr);
    std::string text(reinterpret_cast<const char*>(reference + 1), reference[0]);
    if (RangeString(name, &cell, relative, layer) == 1)
        text += " - " + std::string(reinterpret_cast<const char*>(name + 1), name[0]);
    show_text(text);
}

void show_front_reference() {
    if (MemoryRef front = GetSheetRef(FrontDocWindow())) {
        DisplayRange(front);
        return;
    }
    static const unsigned char kEmpty[1] = {0};
    draw_cmd_msg(kEmpty, 0);
}

void show_resting_message(WindowRef under_mouse) {
    if (!IconBar || under_mouse != IconBar) show_front_reference();
}

int16_t progress_percent(int32_t done, int32_t total) {
    if (done == total) return 100;
    if (total <= 0 || done <= 0) return 0;
    return int16_t(std::min<int64_t>(100, int64_t(done) * 100 / total));
}

void draw_progress(int32_t done, int32_t total) {
    if (!IconBar) return;
    PushWindowPort(IconBar);
    pf::Rect area = message_rect();
    if (done == 0) {
        pf::Rect below = area;
        below.bottom = int16_t(pf::window_port(IconBar)->port_rect.bottom - 1);
        pf::erase_rect(below);
    }
    pf::Rect bar{int16_t(area.top), 7, int16_t(area.top + 20), 87};
    pf::draw_theme_progress(bar, 0, 100, progress_percent(done, total), pf::kThemeStateActive);
    cmd_msg[0] = 1;
    cmd_msg[1] = ' ';
    PopPort();
    pf::host_present();
}
