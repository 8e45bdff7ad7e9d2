// The file-error messages: the item of the error strings that explains each
// error number.
#include "core/alert_kinds.h"

#include "core/memory_manager.h"
#include "platform/files/files.h"
#include "platform/memory/memory.h"
#include "platform/resources/resource_file.h"

namespace {

struct FileErrorMessage {
    int16_t error;
    int16_t item;
};

constexpr FileErrorMessage kFileErrorMessages[] = {
    {pf::kDirectoryFullErr, 1},
    {pf::kDiskFullErr, 2},
    {pf::kFileLockedErr, 3},
    {pf::kVolumeLockedErr, 4},
    {pf::kWriteProtectedErr, 5},
    {pf::kIOErr, 6},
    {pf::kPermissionErr, 7},
    {pf::kBadVolumeErr, 8},
    {pf::kFileNotFoundErr, 9},
    {pf::kOpenForWriteErr, 10},
    {1000, 11},
    {pf::kMemFullErr, 12},
    {25, 12},
    {kPurgeShortErr, 12},
    {kNoSwapFileErr, 12},
    {1001, 13},
    {-1, 13},  // a damaged or truncated document
    {pf::kAddResourceFailedErr, 14},
    {pf::kResFileNotFoundErr, 15},
    {pf::kTooManyFoldersErr, 16},
    {pf::kTooManyFilesOpenErr, 17},
    {pf::kEndOfFileErr, 18},
    {pf::kDuplicateNameErr, 19},
    {-3026, 23},
    {-3030, 23},
    {-3031, 23},
    {-3025, 24},
    {pf::kNoSuchVolumeErr, 28},
    {1003, 30},
    {1004, 38},
    {pf::kAccessDeniedErr, 32},
    {pf::kNotAFileErr, 33},
    {pf::kFileTooLongErr, 34},
};

}  // namespace

int16_t file_error_string_index(int16_t error) {
    for (const FileErrorMessage& m : kFileErrorMessages)
        if (m.error == error) return m.item;
    return kUnlistedErrorString;
}

