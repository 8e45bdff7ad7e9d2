// The one table from POSIX errno values to the platform's file error numbers.
#include <cerrno>

#include "platform/files/files.h"
#include "platform/memory/memory.h"

namespace pf {

namespace {

struct ErrnoMapping {
    int posix_errno;
    OSErr error;
};

constexpr ErrnoMapping kErrnoTable[] = {
    {ENOENT, kFileNotFoundErr},       {ENOTDIR, kDirectoryNotFoundErr},
    {EISDIR, kFileNotFoundErr},       {ELOOP, kDirectoryNotFoundErr},
    {EEXIST, kDuplicateNameErr},      {ENOTEMPTY, kFileBusyErr},
    {EBUSY, kFileBusyErr},            {ETXTBSY, kFileBusyErr},
    {EACCES, kAccessDeniedErr},       {EPERM, kPermissionErr},
    {EAGAIN, kPermissionErr},         {EROFS, kWriteProtectedErr},
    {ENOSPC, kDiskFullErr},           {EDQUOT, kDiskFullErr},
    {EFBIG, kDiskFullErr},            {EMLINK, kDirectoryFullErr},
    {EMFILE, kTooManyFilesOpenErr},   {ENFILE, kTooManyFilesOpenErr},
    {ENAMETOOLONG, kBadNameErr},      {EILSEQ, kBadNameErr},
    {EINVAL, kParamErr},              {ENOTSUP, kParamErr},
    {ENOSYS, kParamErr},              {EXDEV, kParamErr},
    {EBADF, kBadRefNumErr},           {ESPIPE, kPositionErr},
    {EOVERFLOW, kPositionErr},        {ENODEV, kNoSuchVolumeErr},
    {ENXIO, kNoSuchVolumeErr},        {EUCLEAN, kBadVolumeErr},
    {ENOMEM, kMemFullErr},           {EIO, kIOErr},
};

}  // namespace

OSErr error_from_errno(int posix_errno) {
    if (posix_errno == 0) return noErr;
    for (const ErrnoMapping& m : kErrnoTable) {
        if (m.posix_errno == posix_errno) return m.error;
    }
    return kIOErr;
}

}  // namespace pf
