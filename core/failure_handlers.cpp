// The failure chain of the memory manager, carried by C++ exceptions.
//
// Use counts and failure handlers
//
// A block is in one of four states: resident (no use open, may be purged),
// in use (access_ctr > 0, locked where it is), purged (its records in the swap
// file) and disposed. A pointer into a block is valid only while it is in use.
// A failure frame is either pushed (linked in globals->handler_chain) or not;
// the program is either inside a frame or at the top, with none.
//
// Who moves between the states:
//   - a MemoryUse (core/memory_use.h) moves its block to in use on construction
//     (bringing a purged block back first) and gives its use back on
//     destruction, whether the scope ends by return or by a failure passing
//     through, or earlier by its release(); use_layer / release_layer and UseMemory / UnuseMemory remain for
//     a use that outlives the function that opens it (a held view, a document
//     kept in use), and its owner gives it back;
//   - only the purger moves resident to purged, and only under pressure or past
//     the ceiling; DisposeMemory moves any state to disposed;
//   - with_failure_handler pushes a frame for the work it runs and unlinks it
//     when the work ends, however it ends; msFailure moves control from the
//     failing call to the innermost frame.
//
// Invariants:
//  1. Every use is given back exactly once: a release below zero is a fault of
//     the caller, ignored and reported to the UnbalancedReleaseProc (every test
//     program fails on it), and no test ends with a block left in use.
//  2. A pointer is never taken from a block that could not be brought back:
//     UseMemoryOrFail, behind every MemoryUse, turns that into a failure, so no
//     caller sees null for a block.
//  3. A failure never returns to the code that met it while a frame is pushed:
//     msFailure throws to the innermost frame and every destructor on the way
//     runs, so every MemoryUse between gives its use back.
//  4. With no frame pushed, a failure goes to the last-resort procedure (the
//     failing call returns) or, with none, to the fatal procedure, which ends
//     the process. A MemoryUse that meets a failure there ends the process too.
//  5. Every event the event loop routes (a command, a click, a key, an Apple
//     event), and its idle work, runs inside a frame of its own: a failure
//     abandons the work, is told to the user (out of memory, or the file
//     error) and leaves no use opened by the work still open.
//  6. A command that changes a document makes the change aside and puts it in
//     place only once nothing more can fail (the cell store's InputData works
//     so), so an abandoned command leaves the document as it was.
#include <cstdio>
#include <cstdlib>

#include "core/foundation_services.h"
#include "core/invariant_checks.h"
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

void check_frame_ended(const MemoryGlobals* globals, const FailureFrame& frame) {
    if (!invariants_checked()) return;
    check_invariant(globals->handler_chain == frame.previous, "the failure chain", 3,
                    "a frame's work ended with another frame innermost than the one it was pushed on");
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
    foundation_services.sound_beep(1);
    pf::set_keyboard_script(pf::kScriptRoman);
    std::fprintf(stderr, "quorvin: memory failure %d (%d) with no handler\n", error, extra);
    std::exit(EXIT_FAILURE);
}
