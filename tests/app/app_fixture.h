// The whole program on the headless host: the linked resources, the window
// manager, start-up with its preferences folder in a temporary folder, a
// controlled clock; the loop is run pass by pass.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <string>
#include <vector>

#include "ui/alerts.h"
#include "app/startup.h"
#include "app/event_loop.h"
#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/clip_record.h"
#include "model/layer.h"
#include "platform/appleevents/appleevents.h"
#include "platform/events/events.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/memory/memory.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "platform/windows/window_manager.h"
#include "platform/windows/windows.h"
#include "resource_bundle.h"
#include "window/doc_window.h"
#include "window/window_commands.h"

// Makes a range the layer's selection with its first cell active, the
// selection's format read again.
inline void select_cells(MemoryRef layer, CellRange range) {
    SpreadSheet* sheet = use_layer(layer);
    sheet->selection = range;
    sheet->active_cell = range.topLeft;
    sheet->flags |= kLayerFormatStale;
    release_layer(layer);
}

// Stores a format-only cell that holds a note.
inline void put_note(MemoryRef layer, CellPoint where, const std::string& note) {
    std::vector<uint8_t> block(kRowHeaderSize + kCellHeaderSize + note.size(), 0);
    _SetRowID_(block.data(), where.v);
    _SetRowLength_(block.data(), uint32_t(block.size()));
    uint8_t* cell = block.data() + kRowHeaderSize;
    GetDefaultFormat(cell);
    _SetCellID_(cell, where.h);
    cell[kFmtNoteLength] = uint8_t(note.size());
    std::memcpy(_notePtr_(cell), note.data(), note.size());
    _SetCellLength_(cell, int16_t(block.size() - kRowHeaderSize));
    CellRange at{where, where};
    InputCell(&at, block.data(), int32_t(block.size()), layer);
}

// The text of a cell of the front document, as the entry line shows it.
inline std::string front_cell_text(CellPoint cell) {
    MemoryRef layer = doc_window_layer(window_doc_record(pf::front_non_floating_window()));
    uint8_t format[kCellFormatSize];
    MemoryRef runs = nullptr;
    MemoryRef text = Get_CellText(cell, format, &runs, layer);
    if (runs) DisposeMemory(runs);
    if (!text) return {};
    std::string result(static_cast<const char*>(UseMemory(text)), size_t(GetByteSize(text)));
    UnuseMemory(text);
    DisposeMemory(text);
    return result;
}

struct AppTest : ::testing::Test {
    std::string home;

    void SetUp() override { open_program(home); }
    void TearDown() override { close_program(home); }

    // Starts the program with its preferences in a new temporary folder
    // (`home`), and closes it, removing that folder; a suite that shares one
    // program among its tests calls these itself.
    static void open_program(std::string& home) {
        char pattern[] = "/tmp/quorvin-app-XXXXXX";
        home = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        pf::use_manual_clock(1000);
        pf::events_reset();
        pf::headless_host_open(800, 600);
        ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
        pf::windows_open();
        pf::driver_focus(true);
        alert_requests().clear();
        set_unattended_run(true);
        untitled_ctr = 0;
        ASSERT_TRUE(app_startup());
        task_master_begin();
        run_until_idle();
    }

    static void close_program(const std::string& home) {
        task_master_end();
        app_shutdown();
        msMemShutdown(&mem_globals);
        g_Clip = nullptr;  // its block went with the memory
        pf::set_heap_budget(pf::kNoBudget);
        pf::menus_reset();
        pf::ae_clear_pending();
        pf::windows_close();
        pf::driver_reset();
        pf::host_close();
        pf::use_system_clock();
        std::filesystem::remove_all(home);
    }

    // Runs the loop until the script is played and nothing is waiting.
    static void run_until_idle(int max_passes = 60) {
        int quiet = 0;
        for (int i = 0; i < max_passes && quiet < 3 && !task_quit_flag(); ++i) {
            task_master_pass();
            bool busy = pf::driver_pending_steps() > 0 || pf::queued_event_count() > 0 || pf::ae_pending_count() > 0 ||
                        update_pending();
            quiet = busy ? 0 : quiet + 1;
        }
    }

    // A showing window still has part of its content to draw: the loop owes it an update event.
    static bool update_pending() {
        pf::RgnHandle pending = pf::new_region();
        bool owed = false;
        for (pf::WindowRef w = pf::first_window(); w && !owed; w = pf::next_window(w)) {
            if (!pf::window_visible(w)) continue;
            pf::get_window_update_region(w, pending);
            owed = !pf::empty_region(pending);
        }
        pf::dispose_region(pending);
        return owed;
    }

    // A file that opens as a document: the head of a current document, which is
    // all the open command looks at before it makes the window.
    // A Quorvin document of one layer with a few formatted cells.
    static void write_document(const std::string& path) {
        std::filesystem::copy_file(std::string(QUORVIN_SOURCE_DIR) + "/tests/app/data/display_sample.qrv", path,
                                   std::filesystem::copy_options::overwrite_existing);
    }

    static pf::Point inside(pf::WindowRef window, int dv = 20, int dh = 20) {
        pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(content.top + dv), int16_t(content.left + dh)};
    }

    // A point of the window's content that no other window covers.
    static pf::Point visible_point(pf::WindowRef window) {
        pf::Rect content = pf::window_content_rect(window);
        for (int16_t v = int16_t(content.top + 2); v < content.bottom - 20; v += 4) {
            for (int16_t h = int16_t(content.left + 2); h < content.right - 20; h += 2) {
                pf::WindowRef hit = nullptr;
                if (pf::find_window(pf::Point{v, h}, &hit) == pf::kInContent && hit == window) return pf::Point{v, h};
            }
        }
        return pf::Point{-1, -1};
    }

    // The global point of a window part, found along the title bar.
    static pf::Point point_of_part(pf::WindowRef window, int16_t part) {
        pf::Rect frame = pf::window_struct_rect(window);
        for (int16_t v = frame.top; v < pf::window_content_rect(window).top; ++v) {
            for (int16_t h = frame.left; h < frame.right; ++h) {
                pf::WindowRef hit = nullptr;
                if (pf::find_window(pf::Point{v, h}, &hit) == part && hit == window) return pf::Point{v, h};
            }
        }
        return pf::Point{-1, -1};
    }
};
