// The reader of the older generation and the export options dialog, not built
// yet: the reader refuses its file with a message instead of pretending, and
// the export is cancelled.
#include <cstdint>

#include "files/document_reading.h"
#include "files/document_saving.h"
#include "files/file_framing.h"

namespace {
constexpr int16_t kFormatUnavailableErr = 1003;
}

MemoryRef ReadQ3Sheet(int32_t*, int16_t, int16_t, int32_t, MemoryRef) {
    CleanUp(kFormatUnavailableErr);
    return nullptr;
}

// The export options (DLOG 1020) need the modal dialog loop: until then the
// export is cancelled.
int16_t run_export_dialog(int16_t*) { return 2; }
