// The headless answers of the document code's services: no window, every
// dialog cancelled (a separator the file suggests is taken), nothing
// remembered or asked, an empty clipboard.
#include "files/files_services.h"

#include "files/document_prompts.h"

namespace {

LayerWindow no_window(MemoryRef) { return nullptr; }
bool no_window_rect(MemoryRef, pf::Rect*) { return false; }
void no_windows_to_change(MemoryRef, MemoryRef) {}
void nothing_to_remember(const pf::FileSpec*, int16_t) {}

int16_t cancel_open(const pf::FileSpec*, const pf::FourCC*, int16_t, int16_t, pf::FileSpec*, pf::FourCC, void*) {
    return pf::kUserCanceledErr;
}
int16_t cancel_folder(pf::FileSpec*) { return pf::kUserCanceledErr; }
// A separator the file itself suggests is taken; with none, the read is cancelled.
int16_t suggested_separator(uint8_t* separator) { return *separator ? kAnswerOK : kAnswerCancel; }
int16_t cancel_export(int16_t*) { return kAnswerCancel; }
void error_not_shown(int16_t) {}

int16_t editor_not_running(uint32_t, uint32_t, int16_t) { return -1; }
// Without live objects the stored objects stay the checked bytes they were read as.
int16_t objects_stay_stored(MemoryRef) { return 0; }
int16_t write_stored_objects(MemoryRef, MemoryRef* block) {
    *block = nullptr;
    return 0;
}
ClipLinks empty_clipboard() { return ClipLinks{}; }
bool never_stopped() { return false; }
PrintRecord no_page_format(const uint8_t*, int32_t) { return nullptr; }

constexpr FilesServices kHeadless{.make_window = no_window,
                                  .window_rect_of_layer = no_window_rect,
                                  .rename_windows = no_windows_to_change,
                                  .proxy_windows = no_windows_to_change,
                                  .remember_document = nothing_to_remember,
                                  .choose_file = cancel_open,
                                  .choose_folder = cancel_folder,
                                  .choose_separator = suggested_separator,
                                  .choose_export_format = cancel_export,
                                  .system_error = error_not_shown,
                                  .send_come_home = editor_not_running,
                                  .adopt_objects_read = objects_stay_stored,
                                  .objects_for_writing = write_stored_objects,
                                  .private_clipboard_links = empty_clipboard,
                                  .stop_requested = never_stopped,
                                  .page_format_of_old_record = no_page_format};

}  // namespace

// Constant-initialised, so that start-up code of any file may fill it.
FilesServices files_services = kHeadless;
