// The application's answers to what the engine asks of it: each slot record
// of the engine's services headers gets the routine of the window, editing,
// printing, object or shell subsystem that does the work.
#include "core/engine_slots.h"

#include "core/alerts.h"
#include "core/app_menus.h"
#include "core/nav_dialogs.h"
#include "core/foundation_services.h"
#include "core/port_utils.h"
#include "core/task_manager.h"
#include "charts/charts.h"
#include "editing/clipboard.h"
#include "editing/undo.h"
#include "files/document_prompts.h"
#include "files/files_services.h"
#include "formula/calc_services.h"
#include "editing/undo_record.h"
#include "model/model_services.h"
#include "objects/objects.h"
#include "platform/draw/port.h"
#include "platform/draw/text.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "platform/events/keyboard.h"
#include "platform/fonts/fonts.h"
#include "platform/screen/cursor.h"
#include "printing/page_breaks.h"
#include "shell/app_prefs.h"
#include "shell/document_questions.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/document_dialogs.h"
#include "window/document_windows.h"
#include "window/entry_line.h"
#include "window/selection_highlight.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"

namespace {

void beep(int16_t ticks) { pf::sys_beep(ticks); }

void install_foundation_services() {
    foundation_services = FoundationServices{beep, port_script, low_memory_alert_allowed, DisposeUndo};
}

std::string installed_font_name(int16_t number) { return pf::font_name(number); }
int16_t installed_font_number(std::string_view name, bool* found) { return pf::font_number(name, found); }

int16_t font_line_height(int16_t font, int16_t size) {
    pf::FontInfo info = pf::font_info(pf::TextStyle{font, size, 0});
    return int16_t(info.ascent + info.descent + info.leading);
}

int16_t port_text_width(const unsigned char* text) { return pf::get_port() ? pf::string_width(text) : int16_t(-1); }

const uint8_t* preferences_default_format() { return app_prefs.default_format; }

void install_model_services() {
    model_services = ModelServices{DrawCells,
                                   InvertCells,
                                   PtinCell,
                                   LSelect,
                                   CheckHotLinks,
                                   ClobberAllObjects,
                                   ClobberObjectEditor,
                                   Reset_Positions,
                                   create_id_list,
                                   WriteMemUndo,
                                   GetObjectOffset,
                                   Delete_Objects,
                                   keep_deleted_objects_for_undo,
                                   reset_page,
                                   SetActiveRects,
                                   page_number_of,
                                   installed_font_name,
                                   installed_font_number,
                                   font_line_height,
                                   port_text_width,
                                   key_caution_alert,
                                   preferences_default_format};
}

bool user_event_waiting() {
    pf::EventRecord event;
    return pf::event_avail(pf::kEveryEvent, event);
}

void install_calc_services() {
    calc_services = CalcServices{first_document_window, next_document_window,  document_window_layer,
                                 select_document_window, entry_line_editing,   idle_document_windows,
                                 ChartIdle,              user_event_waiting,   pf::in_foreground};
}

// Command-period, waiting or held down.
bool command_period_pressed() {
    pf::EventRecord event;
    if (pf::event_avail(pf::kKeyDownMask, event) && (event.modifiers & pf::kCmdKey) && pf::event_char(event) == '.') {
        pf::get_next_event(pf::kKeyDownMask, event);
        return true;
    }
    return pf::key_is_down(pf::kKeyCodePeriod) && (pf::current_modifiers() & pf::kCmdKey);
}

LayerWindow show_in_new_window(MemoryRef layer) { return MakeWind(nullptr, 1, layer); }

void system_error_alert(int16_t error) { os_error_alert(error); }

void install_files_services() {
    files_services = FilesServices{show_in_new_window, layer_window_rect,     rename_all_windows, proxy_all_windows,
                                   update_pref_specs,  NavOpenDialog,         NavFolderDialog,    SaveFileDialog,
                                   run_separator_dialog, system_error_alert,  Send_ComeHome_Command, clipboard_links,
                                   command_period_pressed};
    document_prompts = application_prompts();
}

}  // namespace

void install_app_services() {
    install_foundation_services();
    install_model_services();
    install_calc_services();
    install_files_services();
}
