// List boxes of dialogs: rows of one column, selection and arrow keys.
#include "ui/lists_and_menus.h"

#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "platform/controls/controls.h"
#include "platform/draw/draw.h"
#include "platform/draw/theme.h"

namespace {

constexpr pf::RGBColor kSunkenShade{0xAAAA, 0xAAAA, 0xAAAA};

// Lists draw on the normal white background, whatever the caller's.
struct NormalBackground {
    pf::RGBColor saved;
    NormalBackground() {
        pf::get_back_color(saved);
        pf::rgb_back_color(pf::kWhiteColor);
    }
    ~NormalBackground() { pf::rgb_back_color(saved); }
};

pf::Rect grown(pf::Rect r, int16_t by) {
    return pf::Rect{int16_t(r.top - by), int16_t(r.left - by), int16_t(r.bottom + by), int16_t(r.right + by)};
}

void draw_sunken_edge(const pf::Rect& frame) {
    pf::Rect edge = grown(frame, 1);
    pf::RGBColor saved;
    pf::get_fore_color(saved);
    pf::rgb_fore_color(kSunkenShade);
    pf::move_to(edge.left, int16_t(edge.bottom - 1));
    pf::line_to(edge.left, edge.top);
    pf::line_to(int16_t(edge.right - 1), edge.top);
    pf::rgb_fore_color(pf::kWhiteColor);
    pf::line_to(int16_t(edge.right - 1), int16_t(edge.bottom - 1));
    pf::line_to(edge.left, int16_t(edge.bottom - 1));
    pf::rgb_fore_color(saved);
}


void scroll_row_into_view(pf::ListHandle list, int16_t row) {
    for (int guard = list->rows; guard > 0; --guard) {
        pf::Rect cell = pf::list_cell_rect(list, pf::Point{row, 0});
        if (cell.top < list->view.top) pf::list_scroll(list, -1);
        else if (cell.bottom > list->view.bottom) pf::list_scroll(list, 1);
        else return;
    }
}

}  // namespace

pf::ListHandle GetStdList() { return nullptr; }

pf::ListHandle GetDialogListHandle(pf::DialogRef dialog, int16_t item) {
    pf::ControlRef control = pf::get_dialog_item_control(dialog, item);
    return control && control->kind == pf::kListBoxControl ? control->list : nullptr;
}

bool list_box_double_clicked(pf::DialogRef dialog, int16_t item) {
    uint8_t flag = 0;
    pf::ControlRef control = pf::get_dialog_item_control(dialog, item);
    return control &&
           pf::get_control_data(control, 0, pf::kControlListBoxDoubleClickTag, 1, &flag, nullptr) == pf::noErr &&
           flag != 0;
}

void DrawList(pf::DialogRef dialog, int16_t item) {
    NormalBackground background;
    if (pf::ControlRef control = pf::get_dialog_item_control(dialog, item)) pf::draw_one_control(control);
    else StdListDrawProc(dialog, item);
}

void ListDrawProc(pf::DialogRef dialog, pf::ListHandle list, int16_t item) {
    NormalBackground background;
    PushWindowPort(pf::get_dialog_window(dialog));
    pf::Rect box = pf::get_dialog_item_box(dialog, item);
    pf::erase_rect(box);
    pf::frame_rect(box);
    if (list) pf::list_update(list);
    draw_sunken_edge(box);
    PopPort();
}

void StdListDrawProc(pf::DialogRef dialog, int16_t item) { ListDrawProc(dialog, GetStdList(), item); }

void add_list_str(const unsigned char* text, pf::ListHandle list) {
    if (!list || !text || text[0] == 0) return;
    int16_t row = pf::list_add_row(list, 1, pf::list_rows(list));
    pf::list_set_cell(list, pf::Point{row, 0}, std::string_view(reinterpret_cast<const char*>(text + 1), text[0]));
}

void clear_list_data(pf::ListHandle list) {
    if (list) pf::list_delete_row(list, 0, 0);
}

void select_list_cell(pf::ListHandle list, int16_t row, bool select) {
    if (list) pf::list_set_select(list, select, pf::Point{row, 0});
}

int16_t FindSelect(pf::ListHandle list) {
    if (!list || pf::list_rows(list) == 0) return -1;
    pf::Point cell{0, 0};
    return pf::list_get_select(list, true, cell) ? cell.v : -1;
}

int16_t list_key(pf::ListHandle list, unsigned char key) {
    if (key != pf::kUpArrowChar && key != pf::kDownArrowChar) return 0;
    int16_t row = FindSelect(list);
    if (row < 0) return 0;
    int16_t next = int16_t(key == pf::kDownArrowChar ? row + 1 : row - 1);
    if (next < 0 || next >= pf::list_rows(list)) return 0;
    NormalBackground background;
    select_list_cell(list, row, false);
    select_list_cell(list, next, true);
    scroll_row_into_view(list, next);
    return 1;
}

int16_t InstallLDEF(pf::ListHandle list, pf::ListDefProc procedure, pf::ListDefProc* old) {
    if (!list || !procedure || !old || *old) return -1;
    *old = list->ldef;
    list->ldef = procedure;
    return 0;
}
