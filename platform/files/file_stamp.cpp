// The identity of the file at a spec: device, inode and content time.
#include <sys/stat.h>

#include <cerrno>

#include "platform/files/files_internal.h"

namespace pf {

using namespace files_detail;

OSErr get_file_stamp(const FileSpec& spec, FileStamp& stamp) {
    stamp = FileStamp{};
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return error_from_errno(errno);
    stamp.device = uint64_t(st.st_dev);
    stamp.inode = uint64_t(st.st_ino);
    stamp.modified_ns = int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return noErr;
}

bool file_replaced_since(const FileStamp& then, const FileStamp& now) {
    if (then.inode == 0) return false;
    return now.device != then.device || now.inode != then.inode || now.modified_ns > then.modified_ns;
}

}  // namespace pf
