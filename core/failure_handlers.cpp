// The failure chain of the memory manager, carried by C++ exceptions.
#include <cstdio>
#include <cstdlib>

#include "core/foundation_services.h"
#include "core/memory_manager.h"
#include "core/string_utils.h"
#include "platform/files/files.h"
#include "platform/text/text.h"

namespace {

// No frame to go to: the last-resort procedure when there is one (the failing
// call then returns), else the fatal procedure.
void no_handler(MemoryGlobals* globals) {
    if (globals->no_handler_proc) {
        globals->no_handler_proc(globals);
        return;
    }
    FatalProc fatal = globals->fatal_proc ? globals->fatal_proc : msDebugProc;
    fatal(kNoHandlerErr, 0);
}

}  // namespace

void msPushHandler(MemoryGlobals* globals, FailureFrame* frame) {
    frame->previous = globals->handler_chain;
    globals->handler_chain = frame;
    globals->error = 0;
    globals->failed_ref = nullptr;
}

FailureFrame* msSuccess(MemoryGlobals* globals) {
    if (!globals->handler_chain) {
        no_handler(globals);
        return nullptr;
    }
    globals->handler_chain = globals->handler_chain->previous;
    return globals->handler_chain;
}

void unlink_failure_frame(MemoryGlobals* globals, FailureFrame* frame) {
    for (FailureFrame* f = globals->handler_chain; f; f = f->previous)
        if (f == frame) {
            globals->handler_chain = frame->previous;
            return;
        }
}

void msFailure(MemoryGlobals* globals, int16_t error, MemoryRef ref) {
    globals->error = error;
    globals->failed_ref = ref;
    FailureFrame* frame = globals->handler_chain;
    if (!frame) {
        no_handler(globals);
        return;
    }
    globals->handler_chain = frame->previous;
    throw MemoryFailure{error, ref, frame};
}

void msFailNotError(MemoryGlobals* globals, int16_t allowed, int16_t error) {
    if (error != 0 && error != allowed) msFailure(globals, error, nullptr);
}

int16_t msProcessError(int16_t error) {
    switch (error) {
    case pf::noErr: return pf::noErr;
    case pf::kWritePermissionErr: case pf::kPermissionErr: return pf::kPermissionErr;
    case pf::kFileLockedErr: return pf::kFileLockedErr;
    case pf::kWriteProtectedErr: return pf::kWriteProtectedErr;
    case pf::kPositionErr: case pf::kEndOfFileErr: return pf::kEndOfFileErr;
    case pf::kFileNotOpenErr: return pf::kFileNotOpenErr;
    case pf::kDiskFullErr: case pf::kDirectoryFullErr: return pf::kDiskFullErr;
    default: return pf::kIOErr;
    }
}

// Formats the error number and takes no other action: the failing call returns.
void last_gasp_error_handler(MemoryGlobals* globals) {
    unsigned char text[256];
    Num_To_String(globals->error, text);
}

void msDebugProc(int16_t error, int32_t extra) {
    foundation_services.beep(1);
    pf::set_keyboard_script(pf::kScriptRoman);
    std::fprintf(stderr, "quorvin: memory failure %d (%d) with no handler\n", error, extra);
    std::exit(EXIT_FAILURE);
}
