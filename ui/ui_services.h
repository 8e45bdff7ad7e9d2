// What the dialogs, alerts, menus and task list need from the event loop, the
// application's menus and the preferences, as a record of procedure slots the
// application fills in at start-up. The defaults answer as a program with no
// loop running: no event is routed, nothing waits to be drawn, no quit is
// asked, the preferences are at their defaults.
#pragma once

#include <cstdint>

#include "ui/task_manager.h"

struct UiServices {
    // The event loop: hands an event to the task its window belongs to (or
    // handles one the way the loop would, when no modal loop is up); draws one
    // window's update; draws every window whose drawing is still waiting.
    void (*hand_event_to_task)(EventRecord* event);
    void (*handle_event)(EventRecord* event);
    void (*draw_update)(EventRecord* event);
    void (*draw_waiting_updates)();
    // The cursor for where the mouse now is.
    void (*reset_cursor)();
    // Quitting: whether the loop is to end; ends it (or not); queues
    // Command-Q pressed in a modal loop (true when the key was one).
    bool (*quit_requested)();
    void (*set_quit_requested)(bool quit);
    bool (*take_quit_key)(const EventRecord& event);
    // The error the loop tells once it is idle again; the idle procedure of
    // modal dialogs (nullptr for none).
    void (*set_task_error)(int32_t code);
    IdleProc (*dialog_idle)();

    // Menus: the application menu's item chosen in a modal dialog; the menu
    // bar dimmed (enable 0) or restored (1) around a dialog; the application
    // task's menu procedure (that of every menu choice and command-bar
    // command), menu-enabling and button-state procedures; the application's
    // own menus (recent documents, Window, Help) added once the menu bar is built.
    void (*apple_menu)(int16_t item);
    void (*dialog_menu_bar)(int16_t enable, int16_t movable_modal);
    TaskProc app_task_menu;
    TaskProc app_task_menu_enable;
    TaskProc app_task_buttons;
    void (*add_app_menus)();
};

extern UiServices ui_services;
UiServices headless_ui_services();
