// What the document code needs from the windows, the file dialogs, the
// clipboard and the preferences, as a record of procedure slots the
// application fills in at start-up. The defaults answer as a program without
// windows: no window is made, every dialog is cancelled, nothing is remembered.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "files/link_lists.h"
#include "model/layer.h"
#include "platform/files/files.h"

struct FilesServices {
    // Shows a layer in a new document window (null when none could be made);
    // the content rectangle of the layer's window, false when it has none.
    LayerWindow (*make_window)(MemoryRef layer);
    bool (*window_rect_of_layer)(MemoryRef layer, pf::Rect* rect);
    // The titles, and the proxy icons, of every window of a workbook after
    // its file changed.
    void (*rename_windows)(MemoryRef workbook, MemoryRef file_info);
    void (*proxy_windows)(MemoryRef workbook, MemoryRef file_info);
    // Puts a document on the recent-documents list.
    void (*remember_document)(const pf::FileSpec* spec, int16_t add);

    // The file dialogs: a file to open of the given types (`filter` a
    // pf::NavObjectFilterProc or null) and a folder.
    // Each answers 0 with the choice, or pf::kUserCanceledErr.
    int16_t (*choose_file)(const pf::FileSpec* default_location, const pf::FourCC* types, int16_t type_count,
                           int16_t type_popup, pf::FileSpec* chosen, pf::FourCC creator, void* filter);
    int16_t (*choose_folder)(pf::FileSpec* chosen);
    // The separator of a text file that has none of its own (kAnswerOK with it).
    int16_t (*choose_separator)(uint8_t* separator);
    // The export options: kAnswerOK with the layers' format (SYLK or native),
    // or kAnswerCancel.
    int16_t (*choose_export_format)(int16_t* code);
    // A stop alert for a system error number.
    void (*system_error)(int16_t error);

    // Asks the editor of a picture object to give it back (-1: not running).
    int16_t (*send_come_home)(uint32_t creator, uint32_t picture_id, int16_t object_id);
    // A layer's drawing objects after it was read (0, or kDamagedFileErr when
    // its stored objects are not whole objects), and before it is written (a
    // block in stored layout; none to write the stored bytes as they are).
    int16_t (*adopt_objects_read)(MemoryRef layer);
    int16_t (*objects_for_writing)(MemoryRef layer, MemoryRef* block);
    // The private clipboard's cells, range and links.
    ClipLinks (*private_clipboard_links)();
    // Whether the user asked a long read to stop (Command-period).
    bool (*stop_requested)();
    // The flattened page format of a print record of the older printing
    // interface (its paper and orientation); none when it cannot be had.
    PrintRecord (*page_format_of_old_record)(const uint8_t* record, int32_t length);
};

extern FilesServices files_services;
