// The memory manager: every block of document and working data is a MemoryRef, a
// header over a relocatable array of fixed-size records. Uses are counted
// (UseMemory / UnuseMemory in pairs; a pointer into a block is valid only between
// them); blocks nobody uses are purged to the swap file when memory runs short or
// the bytes held pass the ceiling, and come back on their next use. A 16,384-byte
// reserve is kept for emergencies.
//
// Failures (no memory, purging could not free enough, swap-file errors) are not
// returned: they go to the innermost failure frame the caller pushed
// (msPushHandler ... msSuccess), carried by a C++ exception, so every destructor
// on the way runs. The usual way to push a frame is with_failure_handler below.
// With no frame pushed the application's last-resort procedure is called and the
// failing call returns (allocations and uses answer null); with none of that
// either, the fatal procedure ends the process.
#pragma once

#include <cstdint>
#include <new>
#include <vector>

#include "platform/memory/memory.h"
#include "platform/types.h"

struct MemoryGlobals;
struct MemoryRecord;
using MemoryRef = MemoryRecord*;

// Error codes of the manager; file errors keep the platform's numbers.
constexpr int16_t kNoMemoryErr = pf::kMemFullErr;
constexpr int16_t kPurgeShortErr = 257;     // purging could not free the bytes asked for
constexpr int16_t kNoSwapFileErr = 258;     // purge or reload asked for with no swap file
constexpr int16_t kNoHandlerErr = 522;      // given to the fatal procedure

// Block flags: the low byte is the purge priority (lower goes first, 0xFF never).
constexpr uint16_t kPurgePriorityMask = 0x00FF;
constexpr uint16_t kNewBlockPriority = 0x80;
constexpr uint16_t kAdoptedBlockPriority = 8;
constexpr uint16_t kNeverPurge = 0xFF;
constexpr uint16_t kKeepPriority = 0xFFFF;       // for SetMemoryPurge
constexpr uint16_t kTempFirstAfterFailure = 0x0200;
constexpr uint16_t kInTempMemory = 0x0400;
constexpr uint16_t kReloadTempFirst = 0x0800;
constexpr uint16_t kBlockBusy = 0x1000;
constexpr uint16_t kDiscardable = 0x2000;
constexpr uint16_t kPurged = 0x8000;

constexpr int32_t kReserveBytes = 16384;
constexpr int32_t kNoCeiling = 0x7FFFFFFF;
constexpr int32_t kPurgeSlack = 65536;
constexpr int32_t kMasterListGrowth = 256;  // slots added at a time
constexpr int32_t kSmallestPurgedBytes = 100;

// The header of a block.
struct MemoryRecord {
    uint16_t rec_size = 0;
    uint16_t extend = 0;
    uint32_t num_recs = 0;     // records in use
    uint32_t num_alloc = 0;    // records the data has room for
    uint32_t master_slot = 0;
    uint16_t access_ctr = 0;   // open uses; the data is locked while above 0
    uint16_t flags = 0;
    uint32_t id = 0;
    pf::Handle data = nullptr; // null while purged
    MemoryGlobals* owner = nullptr;
    uint32_t swap_start = 0, swap_end = 0;  // the records' bytes in the swap file while purged
};

// One frame of the failure chain, in the caller's stack frame.
struct FailureFrame {
    FailureFrame* previous = nullptr;
};

// What msFailure throws to the innermost frame.
struct MemoryFailure {
    int16_t error;
    MemoryRef ref;
    const FailureFrame* frame;
};

using FatalProc = void (*)(int16_t error, int32_t extra);
using PurgeProc = int16_t (*)(MemoryRef ref, MemoryGlobals* globals, int16_t verb);
using FreeMemoryProc = int32_t (*)(MemoryGlobals* globals, int32_t bytes);
using NoHandlerProc = void (*)(MemoryGlobals* globals);

// Verbs of the purge procedure.
enum PurgeVerb : int16_t { kPurgePrepare = 0, kPurgeBlock = 1, kReloadBlock = 2, kReleaseSwapRange = 3 };

// Globals flags.
constexpr uint16_t kMemStartedFlags = 0x008F;
constexpr uint16_t kMemAllocating = 0x0200;
constexpr uint16_t kMemMakingReserve = 0x0400;

struct MemoryGlobals {
    uint16_t signature = 0;               // 0x7777 once started
    uint16_t flags = 0;
    pf::Handle master_list = nullptr;     // MemoryRef slots, null for free ones
    pf::Handle reserve = nullptr;
    int32_t first_free_slot = -1;         // lowest known free slot, -1 none known
    int32_t bytes_in_use = 0;
    int32_t ceiling = kNoCeiling;
    int32_t purge_slack = kPurgeSlack;
    FatalProc fatal_proc = nullptr;
    PurgeProc purge_proc = nullptr;
    FreeMemoryProc free_proc = nullptr;
    int16_t swap_file = 0;                // open swap file, 0 for none
    MemoryRef free_ranges = nullptr;      // free byte ranges of the swap file
    uint32_t default_id = 1;
    MemoryRef failed_ref = nullptr;
    FailureFrame* handler_chain = nullptr;
    NoHandlerProc no_handler_proc = nullptr;
    int16_t error = 0;
    void* engine = nullptr;               // the calculation library's MachineRecord
    uint32_t creator = 0;
    uint32_t swap_file_type = 0;
};

extern MemoryGlobals mem_globals;

// ---- Failure handlers -------------------------------------------------------
void msPushHandler(MemoryGlobals* globals, FailureFrame* frame);
FailureFrame* msSuccess(MemoryGlobals* globals);
// Throws MemoryFailure to the innermost frame; returns only when none is pushed.
void msFailure(MemoryGlobals* globals, int16_t error, MemoryRef ref);
void msFailNotError(MemoryGlobals* globals, int16_t allowed, int16_t error);
int16_t msProcessError(int16_t error);
void last_gasp_error_handler(MemoryGlobals* globals);
void msDebugProc(int16_t error, int32_t extra);

// The error a user is told of for a failure of the manager: running short,
// however the manager found out (purging, no swap file), is kNoMemoryErr.
inline int16_t memory_error_to_tell(int16_t error) {
    return error == kPurgeShortErr || error == kNoSwapFileErr ? kNoMemoryErr : error;
}

// Drops the frame (and any inner frame left linked) from the chain.
void unlink_failure_frame(MemoryGlobals* globals, FailureFrame* frame);
// Invariant 3 of the failure chain (failure_handlers.cpp) when a frame's work
// ended, however it ended: the chain is again the one the frame was pushed on.
void check_frame_ended(const MemoryGlobals* globals, const FailureFrame& frame);

// Runs work with a frame pushed: answers 0 when it finished, else the error of
// the failure that ended it (the frame is then already unlinked; the failed block
// is in globals->failed_ref). An allocation of the standard library that fails
// ends the work as kNoMemoryErr. Other exceptions pass through with the frame
// unlinked.
template <typename Work>
int16_t with_failure_handler(MemoryGlobals* globals, Work&& work) {
    FailureFrame frame;
    msPushHandler(globals, &frame);
    try {
        work();
    } catch (const MemoryFailure& failure) {
        unlink_failure_frame(globals, &frame);
        check_frame_ended(globals, frame);
        return failure.error;
    } catch (const std::bad_alloc&) {
        unlink_failure_frame(globals, &frame);
        check_frame_ended(globals, frame);
        globals->error = kNoMemoryErr;
        return kNoMemoryErr;
    } catch (...) {
        unlink_failure_frame(globals, &frame);
        throw;
    }
    unlink_failure_frame(globals, &frame);
    check_frame_ended(globals, frame);
    return 0;
}

// ---- Life of the manager ----------------------------------------------------
void msMemStartup(MemoryGlobals* globals, int32_t ceiling);
void msMemShutdown(MemoryGlobals* globals);
// The count of blocks allocated and not yet disposed of.
int32_t live_block_count(MemoryGlobals* globals);

// ---- Making blocks (null on failure with no handler) -------------------------
MemoryRef pgAllocateNewRef(MemoryGlobals* globals, int32_t rec_size, int32_t count, int32_t extend,
                           bool clear);
MemoryRef Bytes2Memory(MemoryGlobals* globals, const void* bytes, int32_t rec_size, int32_t count);
MemoryRef HandleToMemory(MemoryGlobals* globals, pf::Handle handle, int32_t rec_size);
pf::Handle MemoryToHandle(MemoryRef ref);
MemoryRef MemoryDuplicate(MemoryRef ref);
MemoryRef DuplicateNonNilMemory(MemoryRef ref);
MemoryRef MemoryDuplicateID(MemoryRef ref, uint32_t id);

// ---- Using blocks ------------------------------------------------------------
void* UseMemory(MemoryRef ref);
void* UseMemoryRecord(MemoryRef ref, int32_t index, int32_t ignored, bool use);
void* UseForLongTime(MemoryRef ref);
void UnuseMemory(MemoryRef ref);
void UnuseFailedMemory(MemoryRef ref);
void* GetMemoryPtr(MemoryRef ref);
// Called when a block is released more often than it was used (a fault of the
// caller; the release itself is ignored). None by default; the tests fail on it.
// Answers the procedure it replaces.
using UnbalancedReleaseProc = void (*)(MemoryRef ref);
UnbalancedReleaseProc SetUnbalancedReleaseProc(UnbalancedReleaseProc proc);
// Every block with open uses, of every started manager, with its count of uses:
// what a caller that forgot a release leaves behind.
struct BlockInUse {
    MemoryRef ref;
    uint16_t uses;
    bool operator==(const BlockInUse&) const = default;
};
std::vector<BlockInUse> BlocksInUse();

// ---- Sizes and records -------------------------------------------------------
void SetMemorySize(MemoryRef ref, int32_t count);
// Makes room for `more` records beyond the block's size, a quarter more than
// needed, so that growing one record at a time costs amortised constant time;
// without memory for the margin the block stays as it is. A block that had to
// be purged to grow is reloaded with the margin; when that fails, so does this
// (through the failure handlers).
void ReserveMemoryGrowth(MemoryRef ref, int32_t more);
void* AppendMemory(MemoryRef ref, int32_t n, bool clear);
void* InsertMemory(MemoryRef ref, int32_t index, int32_t n);
void DeleteMemory(MemoryRef ref, int32_t index, int32_t n);
void ForceMinimumMemorySize(MemoryRef ref);
void FixFailedMemory(MemoryRef ref);
void GetMemoryRecord(MemoryRef ref, int32_t index, void* out);
void PtrAndMemory(const void* bytes, MemoryRef ref, int32_t n);
void ConcatMemory(MemoryRef dest, MemoryRef src);
void Memory2PString(MemoryRef ref, unsigned char* out, int32_t max);
void MemoryCopy(MemoryRef src, MemoryRef dest);

void get_memory_record(MemoryRef ref, MemoryRecord* out);
int32_t get_access_ctr(MemoryRef ref);
int32_t GetAccessCtr(MemoryRef ref);
int32_t GetMemorySize(MemoryRef ref);
int32_t GetMemoryRecSize(MemoryRef ref);
int32_t GetByteSize(MemoryRef ref);
int32_t pgGetByteSize(int32_t rec_size, int32_t n);
MemoryGlobals* GetMemoryGlobals(MemoryRef ref);
uint32_t GetMemoryRefID(MemoryRef ref);
void SetMemoryRefID(MemoryRef ref, uint32_t id);
void SetMemoryPurge(MemoryRef ref, uint16_t priority, bool discardable);

// ---- Releasing blocks (the Non-Nil forms accept null and answer null) --------
void DisposeMemory(MemoryRef ref);
MemoryRef DisposeNonNilMemory(MemoryRef ref);
void UnuseAndDispose(MemoryRef ref);
void DisposeFailedMemory(MemoryRef ref);
MemoryRef DisposeNonNilFailedMemory(MemoryRef ref);

// ---- Raw operations ----------------------------------------------------------
void msFillBlock(void* address, int32_t length, unsigned char byte);
// length > 0 copies forwards (overlap-safe); length < 0 copies |length| bytes
// backwards, ending just below the two addresses.
void msBlockMove(const void* source, void* destination, int32_t length);
constexpr int16_t kAllocateClear = 0x02;
constexpr int16_t kAllocateTempFirst = 0x04;
int16_t AllocateBlock(int32_t size, int16_t mode, pf::Handle* out);

// Platform handles held in a variable.
void DeleteNonNilMemory(pf::Handle* handle);
bool SetHandleLock(pf::Handle handle, bool lock);

// ---- Swap file and purging ---------------------------------------------------
void InitVirtualMemory(MemoryGlobals* globals, PurgeProc purge_proc, int16_t swap_file);
int16_t MemoryPurge(MemoryGlobals* globals, int32_t bytes, MemoryRef protected_ref);
void purge_excess_memory(MemoryGlobals* globals, MemoryRef protected_ref);
void reload_ref(MemoryRef ref);
int16_t pgStandardPurgeProc(MemoryRef ref, MemoryGlobals* globals, int16_t verb);
int16_t pgWriteFileData(int16_t file, int32_t length, const void* address);
int16_t pgReadFileData(int16_t file, int32_t length, void* address);

// ---- Undo lists (MemoryRef of undo blocks, newest last) ----------------------
void pg_setUndoLevels(int16_t levels);
void pg_incrementUndo(MemoryRef list);
void pg_SetMultUndo(MemoryRef list, int32_t index, MemoryRef value);
MemoryRef pg_GetMultUndo(MemoryRef list, int32_t index);
void pg_DisposeMultUndo(MemoryRef list, int32_t index);
void ClobberMultUndo(MemoryRef list);
void PrepareMultUndo(MemoryRef list, MemoryRef value, MemoryRef* pending);
