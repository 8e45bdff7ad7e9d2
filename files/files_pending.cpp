// Readers and writers of the older generation and of the text formats, not
// built yet: each refuses its file with a message instead of pretending.
#include <cstdint>

#include "files/document_file.h"
#include "files/document_prompts.h"
#include "model/calc_globals.h"

namespace {
constexpr int16_t kFormatUnavailableErr = 1003;
}

MemoryRef ReadQ3Sheet(int32_t*, int16_t, int16_t, int32_t, MemoryRef) {
    CleanUp(kFormatUnavailableErr);
    return nullptr;
}

int16_t ReadTextFile(const pf::FileSpec&, MemoryRef, MemoryRef, pf::FourCC) {
    report_file_error(kFormatUnavailableErr);
    return kFormatUnavailableErr;
}

int16_t WriteTextData(MachineRecord*, int16_t, int16_t, uint8_t, MemoryRef, MemoryRef*, pf::Handle*, CellPoint,
                      CellPoint, int32_t*, MemoryRef) {
    return kFormatUnavailableErr;
}

int16_t OutputSYLK(int16_t, MemoryRef) { return kFormatUnavailableErr; }
