#include "shell/help_tags.h"

#include "core/string_utils.h"
#include "ui/text_input.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_drawing.h"
#include "objects/object_records.h"
#include "platform/controls/control_look.h"
#include "platform/resources/resources.h"
#include "ui/app_prefs.h"
#include "shell/colour_palette.h"
#include "shell/command_bar.h"
#include "shell/grid_palette.h"
#include "shell/palette_grid.h"
#include "shell/shell_commands.h"
#include "shell/tool_palette.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/sheet_tabs.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

enum : int16_t { kTabStripTag = 1, kTabScrollTag = 2 };
enum : int16_t { kColumnSplitTag = 5, kRowSplitTag = 6, kCornerBoxTag = 11, kFirstIconTag = 12, kSecondIconTag = 13 };
constexpr int16_t kCornerIconsWidth = 64, kCornerIconWidth = 24;

std::string indexed_string(int16_t list, int16_t item) {
    unsigned char text[256];
    pf::get_indexed_string(text, list, item);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

pf::Rect to_global(pf::WindowRef window, pf::Rect rect) {
    const pf::Rect content = pf::window_content_rect(window);
    return pf::offset_rect(rect, content.left, content.top);
}

pf::Point to_local(pf::WindowRef window, pf::Point where) {
    const pf::Rect content = pf::window_content_rect(window);
    return pf::Point{int16_t(where.v - content.top), int16_t(where.h - content.left)};
}

bool give(pf::HelpTag* tag, pf::WindowRef window, const pf::Rect& hot, std::string text, int16_t side) {
    if (text.empty()) return false;
    tag->hot = to_global(window, hot);
    tag->text = std::move(text);
    tag->side = side;
    return true;
}

// The window's own parts: the corner box, the two corner icons, the split boxes.
int16_t window_part_tag(MemoryRef record, pf::Point where, const pf::Rect& port, pf::Rect* hot) {
    const MemoryRef layer = doc_window_layer(record);
    ConstLayerUse sheet(layer);
    const bool headings = (sheet->flags & kLayerHeadings) != 0;
    sheet.release();
    if (headings && where.h < 32 && where.v < 14) {
        *hot = pf::Rect{0, 0, 14, 32};
        return kCornerBoxTag;
    }
    if (where.v > port.bottom - 15) {
        pf::Rect icon{int16_t(port.bottom - 16), int16_t(port.right - kCornerIconsWidth), port.bottom,
                      int16_t(port.right - kCornerIconsWidth + kCornerIconWidth)};
        for (int16_t item : {kFirstIconTag, kSecondIconTag}) {
            if (pf::pt_in_rect(where, icon)) {
                *hot = icon;
                return item;
            }
            icon = pf::offset_rect(icon, kCornerIconWidth, 0);
        }
    }
    v_divider(record, hot);
    if (pf::pt_in_rect(where, *hot)) return kRowSplitTag;
    h_divider(record, hot);
    if (pf::pt_in_rect(where, *hot)) return kColumnSplitTag;
    return 0;
}

// A cell's note, over the cell, while nothing else is picked or typed in.
bool note_tag(MemoryRef layer, pf::Point where, pf::Rect* hot, std::string* note) {
    if (get_selected_object(layer, 1) || entry_line_editing()) return false;
    const int16_t pane = find_pane(where, layer);
    if (pane < 0) return false;
    pf::Rect object_rect;
    int16_t handle = 0;
    if (MouseinObject(&object_rect, where, &handle, pane, layer)) return false;
    CellPoint cell;
    PtinCell(&cell, where, pane, layer);
    if (cell.v < 0 || cell.h < 0) return false;
    Cell_Location(pane, hot, 0, cell, layer);
    Inset_Rect(*hot, 1, 1);
    if (!pf::pt_in_rect(where, *hot)) return false;
    unsigned char label[256], text[256];
    label[0] = text[0] = 0;
    GetCellStrings(cell, label, text, layer);
    note->assign(reinterpret_cast<const char*>(text + 1), text[0]);
    return !note->empty();
}

bool command_bar_tag(pf::WindowRef window, pf::Point where, pf::HelpTag* tag) {
    unsigned char text[256];
    pf::Rect hot;
    if (!command_bar_help(to_local(window, where), text, &hot)) return false;
    return give(tag, window, hot, std::string(reinterpret_cast<const char*>(text + 1), text[0]), pf::kHelpTagBelow);
}

// A palette of tools in boxes: the tool's box and its item of the palette's list.
bool palette_tool_tag(pf::WindowRef window, pf::Point where, int16_t rows, int16_t tags, pf::HelpTag* tag) {
    const int16_t tool = FindTItem(rows, to_local(window, where));
    if (!tool) return false;
    pf::Rect box;
    FindToolBox(rows, tool, &box);
    return give(tag, window, box, indexed_string(tags, tool), pf::kHelpTagBelow);
}

// The options window: the button's box and its item, else the window's own tag.
bool options_window_tag(pf::WindowRef window, pf::Point where, pf::HelpTag* tag) {
    if (palette_tool_tag(window, where, kLongPaletteRows, kOptionTags, tag)) return true;
    return give(tag, window, pf::window_port(window)->port_rect, pf::get_string(kOptionTags), pf::kHelpTagBelow);
}

// The colour palette: the swatch under the pointer.
bool colour_palette_tag(pf::WindowRef window, pf::Point where, pf::HelpTag* tag) {
    const int16_t right = pf::window_port(window)->port_rect.right;
    const int16_t item = find_color_item(to_local(window, where), right, true);
    if (!item) return false;
    return give(tag, window, color_item_rect(item, right), indexed_string(kColourTags, item), pf::kHelpTagBelow);
}

// The sheet tabs: the strip of tabs, else the scroll buttons.
bool tab_bar_tag(pf::WindowRef window, pf::Point where, pf::HelpTag* tag) {
    if (pf::pt_in_rect(to_local(window, where), tab_rect))
        return give(tag, window, tab_rect, indexed_string(kTabTags, kTabStripTag), pf::kHelpTagBelow);
    return give(tag, window, pf::window_port(window)->port_rect, indexed_string(kTabTags, kTabScrollTag),
                pf::kHelpTagBelow);
}

bool app_help_tag(pf::WindowRef window, pf::Point where, pf::HelpTag* tag) {
    if (app_prefs.options2 & kPrefHelpTagsOff) return false;
    if (window == IconBar) return command_bar_tag(window, where, tag);
    if (window == ToolPalette) return palette_tool_tag(window, where, kToolRows, kToolTags, tag);
    if (window == GridPalette) return palette_tool_tag(window, where, kToolRows, kBorderTags, tag);
    if (window == OpPalette) return options_window_tag(window, where, tag);
    if (window == TabBar) return tab_bar_tag(window, where, tag);
    if (window == ColorPalette) return colour_palette_tag(window, where, tag);
    return HelpContentProvider(window, where, tag);
}

}  // namespace

bool HelpContentProvider(pf::WindowRef window, pf::Point where, pf::HelpTag* tag) {
    const MemoryRef record = window_doc_record(window);
    if (!record || (app_prefs.options2 & kPrefHelpTagsOff)) return false;
    const pf::Rect port = pf::window_port(window)->port_rect;
    const pf::Point local = to_local(window, where);
    if (!pf::pt_in_rect(local, port)) return false;
    pf::Rect hot;
    if (const int16_t item = window_part_tag(record, local, port, &hot))
        return give(tag, window, hot, indexed_string(kCommandBarMessages, item), pf::kHelpTagBelow);
    std::string note;
    if (!note_tag(doc_window_layer(record), local, &hot, &note)) return false;
    // A delay shortened for the command bar is the usual one again.
    ResetHelpDelay(1);
    return give(tag, window, hot, note, pf::kHelpTagRight);
}

void install_help_tags() { pf::set_help_tag_provider(app_help_tag); }
