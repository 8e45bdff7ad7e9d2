// The application's answers to what the engine asks of it: each slot record
// of the engine's services headers gets the routine of the window, editing,
// printing, object or shell subsystem that does the work.
#include "app/engine_slots.h"


#include "ui/alerts.h"
#include "app/app_menus.h"
#include "app/event_loop.h"
#include "app/required_events.h"
#include "ui/calc_alerts.h"
#include "ui/nav_dialogs.h"
#include "core/foundation_services.h"
#include "ui/platform_answers.h"
#include "ui/port_utils.h"
#include "ui/task_manager.h"
#include "ui/ui_services.h"
#include "charts/chart_commands.h"
#include "charts/chart_palette.h"
#include "charts/chart_range_entry.h"
#include "charts/charts.h"
#include "editing/find_window.h"
#include "spelling/spelling.h"
#include "editing/clipboard.h"
#include "editing/editing_commands.h"
#include "editing/sheet_drag.h"
#include "editing/undo.h"
#include "files/document_prompts.h"
#include "files/files_services.h"
#include "formula/calc_services.h"
#include "editing/undo_record.h"
#include "model/model_services.h"
#include "model/undo_fields.h"
#include "objects/object_commands.h"
#include "objects/object_drawing.h"
#include "objects/object_mouse.h"
#include "objects/object_store.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "platform/screen/cursor.h"
#include "printing/page_breaks.h"
#include "window/pane_layout.h"
#include "ui/app_prefs.h"
#include "shell/document_questions.h"
#include "shell/button_bars.h"
#include "shell/command_bar.h"
#include "shell/command_dialogs.h"
#include "shell/entry_scroll.h"
#include "shell/menu_enabling.h"
#include "shell/shell_commands.h"
#include "shell/tool_palette.h"
#include "shell/shell_services.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/document_dialogs.h"
#include "window/document_windows.h"
#include "window/entry_line.h"
#include "window/selection_highlight.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"
#include "window/window_services.h"

namespace {

void beep(int16_t ticks) { pf::sys_beep(ticks); }

void install_foundation_services() {
    foundation_services = FoundationServices{beep, port_script, low_memory_alert_allowed, DisposeUndo};
}


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
                                   copy_layer_objects,
                                   WriteMemUndo,
                                   GetObjectOffset,
                                   Delete_Objects,
                                   keep_deleted_objects_for_undo,
                                   ClobberObjList,
                                   reset_page,
                                   SetActiveRects,
                                   page_number_of,
                                   model_services.font_name,
                                   model_services.font_number,
                                   model_services.line_height,
                                   model_services.text_width,
                                   key_caution_alert,
                                   preferences_default_format};
}

void install_calc_services() {
    calc_services = CalcServices{first_document_window, next_document_window,  document_window_layer,
                                 select_document_window, entry_line_editing,   idle_document_windows,
                                 ChartIdle,              calc_services.event_waiting, calc_services.in_foreground};
}

LayerWindow show_in_new_window(MemoryRef layer) { return MakeWind(nullptr, 1, layer); }

void system_error_alert(int16_t error) { os_error_alert(error); }

void install_files_services() {
    files_services = FilesServices{show_in_new_window, layer_window_rect,     rename_all_windows, proxy_all_windows,
                                   update_pref_specs,  NavOpenDialog,         NavFolderDialog,
                                   run_separator_dialog, run_export_dialog, system_error_alert,  Send_ComeHome_Command,
                                   adopt_stored_objects, objects_to_store, clipboard_links,
                                   files_services.stop_requested, files_services.page_format_of_old_record};
    document_prompts = application_prompts();
}


void install_ui_services() {
    ui_services = UiServices{DoTaskEvent,     HandleEvent,       do_update,      draw_pending_updates,
                             ResetCursor,     task_quit_flag,    set_task_quit_flag, queue_quit_key,
                             SetTaskError,    task_dialog_idle,  do_apple_menu,  DialogMenubar,
                             app_menu_proc,   MenuHiliteProc,    ButtonHiliteProc, fill_app_menus};
}

bool is_closing_tool_window(WindowRef window) { return is_find_window(window) || is_spelling_window(window); }

void install_window_services() {
    window_services = WindowServices{AddToWindowMenu,       RemoveFromWindowMenu, window_stagger_index,
                                     update_pref_specs,     open_special,         quorvin_alert,
                                     selected_chart_object, chart_range_text,     enter_chart_range,
                                     CreateChart,           redraw_chart_palette, is_closing_tool_window,
                                     get_selected_object,   Reset_Positions,      ObjectKey,
                                     ClickinObject,         deselect_objects,     draw_pane_objects,
                                     object_cursor,         object_text_editor,   object_line_size,
                                     ObjectOnScreen,
                                     GetObjectAnchor,       outline_chart_part,   WriteUndo,
                                     take_back_newest_undo, follow_layer_in_undo, DoEditMenu,
                                     Do_Clear,              export_clip_for_paste, install_sheet_drag_handlers,
                                     remove_sheet_drag_handlers, pt_in_drag,      drag_fill_handle,
                                     Sheet_Drag,            MoveSheetCells,       reset_page,
                                     command_bar_window,    switch_bars,          redraw_entry_boxes,
                                     fit_command_bar_to_entry, IconTextScrolled,  IconClickLoop,
                                     DisplayRange,          draw_cmd_msg,         draw_progress,
                                     view_menu_enabled,     fix_menu_hilite,      follow_selection_kind,
                                     AddWorkspaceItem,      SelectDialog,         CreateTool};
}

// The commands' services: menu dispatch, the Window menu, opening documents.
void install_shell_services() {
    shell_services = ShellServices{do_menu_button, find_window_item, AppOpenHandler};
}

}  // namespace

void install_app_services() {
    fill_platform_answers();
    install_foundation_services();
    install_model_services();
    install_calc_services();
    install_files_services();
    install_ui_services();
    install_window_services();
    install_shell_services();
}
