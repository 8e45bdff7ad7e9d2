// The application's answers to what the engine asks of it: each slot record
// of the engine's services headers gets the routine of the window, editing,
// printing, object or shell subsystem that does the work.
#include "app/engine_slots.h"


#include "ui/alerts.h"
#include "app/app_menus.h"
#include "app/event_loop.h"
#include "app/required_events.h"
#include "ui/calc_alerts.h"
#include "ui/dialog_items.h"
#include "ui/nav_dialogs.h"
#include "core/foundation_services.h"
#include "excel/engine_answers.h"
#include "ui/platform_answers.h"
#include "ui/port_utils.h"
#include "ui/task_manager.h"
#include "ui/ui_services.h"
#include "charts/chart_commands.h"
#include "charts/chart_kind.h"
#include "charts/chart_palette.h"
#include "charts/chart_range_entry.h"
#include "charts/charts.h"
#include "editing/find_window.h"
#include "spelling/spelling.h"
#include "editing/clipboard.h"
#include "editing/editing_commands.h"
#include "editing/replay_window.h"
#include "editing/sheet_drag.h"
#include "editing/undo.h"
#include "files/document_prompts.h"
#include "files/files_services.h"
#include "formula/calc_services.h"
#include "model/undo_record.h"
#include "model/model_services.h"
#include "model/undo_fields.h"
#include "model/undo_services.h"
#include "objects/object_commands.h"
#include "objects/object_drawing.h"
#include "objects/object_mouse.h"
#include "objects/object_store.h"
#include "objects/object_undo.h"
#include "objects/object_placement.h"
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
    foundation_services = FoundationServices{.sound_beep = beep,
                                             .script_of_port = port_script,
                                             .reserve_refilled = low_memory_alert_allowed,
                                             .dispose_undo = DisposeUndo};
}


const uint8_t* preferences_default_format() { return app_prefs.default_format; }

void install_model_services() {
    model_services = ModelServices{.invalidate_cells = DrawCells,
                                   .invert_cells = InvertCells,
                                   .cell_at_point = PtinCell,
                                   .select_layer_cells = LSelect,
                                   .check_hot_links = CheckHotLinks,
                                   .clobber_all_objects = ClobberAllObjects,
                                   .clobber_object_editor = ClobberObjectEditor,
                                   .reset_positions = Reset_Positions,
                                   .object_id_list = create_id_list,
                                   .copy_objects = copy_layer_objects,
                                   .object_offsets = GetObjectOffset,
                                   .delete_objects = Delete_Objects,
                                   .keep_objects_in_last_undo = keep_deleted_objects_for_undo,
                                   .dispose_object_chain = ClobberObjList,
                                   .recompute_page_breaks = reset_page,
                                   .set_active_rects = SetActiveRects,
                                   .page_holding_cell = page_number_of,
                                   .name_of_font_number = model_services.name_of_font_number,
                                   .number_of_font_name = model_services.number_of_font_name,
                                   .plain_line_height = model_services.plain_line_height,
                                   .measured_text_width = model_services.measured_text_width,
                                   .show_caution_alert = key_caution_alert,
                                   .preferred_cell_format = preferences_default_format,
                                   .formula_text = model_services.formula_text,
                                   .stop_requested = model_services.stop_requested,
                                   .report_error = model_services.report_error,
                                   .restart_calculation = model_services.restart_calculation};
}

void install_calc_services() {
    calc_services = CalcServices{.front_document_window = first_document_window,
                                 .document_window_behind = next_document_window,
                                 .layer_shown_in = document_window_layer,
                                 .raise_document_window = select_document_window,
                                 .entry_being_edited = entry_line_editing,
                                 .let_windows_idle = idle_document_windows,
                                 .chart_idle = ChartIdle,
                                 .event_waiting = calc_services.event_waiting,
                                 .program_in_front = calc_services.program_in_front};
}

LayerWindow show_in_new_window(MemoryRef layer) { return MakeWind(nullptr, 1, layer); }

void system_error_alert(int16_t error) { os_error_alert(error); }

void install_files_services() {
    files_services = FilesServices{.make_window = show_in_new_window,
                                   .window_rect_of_layer = layer_window_rect,
                                   .rename_windows = rename_all_windows,
                                   .proxy_windows = proxy_all_windows,
                                   .remember_document = update_pref_specs,
                                   .choose_file = NavOpenDialog,
                                   .choose_folder = NavFolderDialog,
                                   .choose_separator = run_separator_dialog,
                                   .choose_export_format = run_export_dialog,
                                   .system_error = system_error_alert,
                                   .send_come_home = Send_ComeHome_Command,
                                   .adopt_objects_read = adopt_stored_objects,
                                   .objects_for_writing = objects_to_store,
                                   .private_clipboard_links = clipboard_links,
                                   .stop_requested = files_services.stop_requested,
                                   .page_format_of_old_record = files_services.page_format_of_old_record};
    document_prompts = application_prompts();
}


void install_ui_services() {
    ui_services = UiServices{.hand_event_to_task = DoTaskEvent,
                             .handle_event = HandleEvent,
                             .draw_update = do_update,
                             .draw_waiting_updates = draw_pending_updates,
                             .reset_cursor = ResetCursor,
                             .quit_requested = task_quit_flag,
                             .set_quit_requested = set_task_quit_flag,
                             .take_quit_key = queue_quit_key,
                             .set_task_error = SetTaskError,
                             .dialog_idle = task_dialog_idle,
                             .apple_menu = do_apple_menu,
                             .dialog_menu_bar = DialogMenubar,
                             .app_task_menu = app_menu_proc,
                             .app_task_menu_enable = MenuHiliteProc,
                             .app_task_buttons = ButtonHiliteProc,
                             .add_app_menus = fill_app_menus};
}

bool is_closing_tool_window(WindowRef window) { return is_find_window(window) || is_spelling_window(window); }

void install_undo_services() {
    undo_services = UndoServices{.keep_object_change = record_object_change,
                                 .undo_object_change = undo_object_step,
                                 .redo_object_change = redo_object_step,
                                 .put_back_objects = restore_objects_of_rows_columns,
                                 .show_layer_window = show_window_of_layer,
                                 .move_selected_cells = MoveSheetCells};
}

// The kinds of drawing object the features add.
void install_object_kinds() { register_chart_kind(); }

void install_window_services() {
    window_services = WindowServices{.list_window = AddToWindowMenu,
                                     .unlist_window = RemoveFromWindowMenu,
                                     .listed_window_count = window_stagger_index,
                                     .remember_document = update_pref_specs,
                                     .open_recent_document = open_special,
                                     .calc_alert = quorvin_alert,
                                     .selected_chart = selected_chart_object,
                                     .range_text_of_chart = chart_range_text,
                                     .take_typed_chart_range = enter_chart_range,
                                     .create_chart = CreateChart,
                                     .refresh_chart_palette = redraw_chart_palette,
                                     .closes_as_tool_window = is_closing_tool_window,
                                     .selected_object = get_selected_object,
                                     .reset_object_positions = Reset_Positions,
                                     .object_key = ObjectKey,
                                     .click_in_object = ClickinObject,
                                     .let_go_of_objects = deselect_objects,
                                     .draw_objects_in_pane = draw_pane_objects,
                                     .cursor_over_object = object_cursor,
                                     .typed_text_box = object_text_editor,
                                     .line_size_of_object = object_line_size,
                                     .object_on_screen = ObjectOnScreen,
                                     .object_anchor = GetObjectAnchor,
                                     .outline_chart_part_at = outline_chart_part,
                                     .edit_menu = DoEditMenu,
                                     .clear_cells = Do_Clear,
                                     .export_clipboard = export_clip_for_paste,
                                     .install_drag_handlers = install_sheet_drag_handlers,
                                     .remove_drag_handlers = remove_sheet_drag_handlers,
                                     .selection_part_at = pt_in_drag,
                                     .track_fill_handle = drag_fill_handle,
                                     .drag_cells = Sheet_Drag,
                                     .move_selected_cells = MoveSheetCells,
                                     .recompute_page_breaks = reset_page,
                                     .app_command_bar = command_bar_window,
                                     .show_button_bar = switch_bars,
                                     .refresh_entry_boxes = redraw_entry_boxes,
                                     .fit_bar_to_entry_text = fit_command_bar_to_entry,
                                     .entry_was_scrolled = IconTextScrolled,
                                     .entry_click_tracking = IconClickLoop,
                                     .display_range = DisplayRange,
                                     .show_message = draw_cmd_msg,
                                     .show_progress = draw_progress,
                                     .view_menu_on = view_menu_enabled,
                                     .refresh_menu_bar = fix_menu_hilite,
                                     .refresh_selection_menus = follow_selection_kind,
                                     .add_workspace_item = AddWorkspaceItem,
                                     .select_dialog = SelectDialog,
                                     .create_tool = CreateTool};
}

// The commands' services: menu dispatch, the Window menu, opening documents.
void install_shell_services() {
    shell_services = ShellServices{
        .menu_button = do_menu_button, .window_menu_item = find_window_item, .open_or_bring_document = AppOpenHandler};
}

}  // namespace

void install_app_services() {
    fill_platform_answers();
    install_foundation_services();
    install_model_services();
    install_undo_services();
    install_object_kinds();
    install_calc_services();
    install_files_services();
    install_ui_services();
    install_field_text_speller();
    install_window_services();
    install_shell_services();
    install_engine_answers();
}
