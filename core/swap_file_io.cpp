// Reads and writes of the swap file at a position, over a POSIX descriptor.
#include <cerrno>
#include <unistd.h>

#include "core/memory_internal.h"

namespace {

constexpr int16_t kIoErr = -36;
constexpr int16_t kEofErr = -39;
constexpr int16_t kDiskFullErr = -34;

int16_t error_of_errno() { return errno == ENOSPC ? kDiskFullErr : kIoErr; }

}  // namespace

int16_t set_swap_file_position(int16_t file, uint32_t offset) {
    return lseek(file, static_cast<off_t>(offset), SEEK_SET) < 0 ? error_of_errno() : 0;
}

int16_t pgWriteFileData(int16_t file, int32_t length, const void* address) {
    const char* bytes = static_cast<const char*>(address);
    while (length > 0) {
        ssize_t written = write(file, bytes, static_cast<size_t>(length));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return error_of_errno();
        bytes += written;
        length -= static_cast<int32_t>(written);
    }
    return 0;
}

int16_t pgReadFileData(int16_t file, int32_t length, void* address) {
    char* bytes = static_cast<char*>(address);
    while (length > 0) {
        ssize_t got = read(file, bytes, static_cast<size_t>(length));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return error_of_errno();
        if (got == 0) return kEofErr;
        bytes += got;
        length -= static_cast<int32_t>(got);
    }
    return 0;
}
