// Shared between the files module's sources; not for other modules.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/files/files.h"

namespace pf::files_detail {

// Absolute, lexically normalised: no "." or ".." parts, no repeated or trailing '/'.
std::string normalise_path(std::string_view path);
// "/a/b" gives "/a"; "/a" gives "/"; "/" gives "".
std::string parent_path(const std::string& path);
std::string leaf_name(const std::string& path);
std::string join_path(const std::string& folder, std::string_view name);

// Whether the path names a folder (links followed).
bool is_folder(const std::string& path);

// 32-bit FNV-1a; never 0.
uint32_t hash32(std::string_view text);

// The id of a folder path, registering it when new (0 when the table is full).
uint32_t folder_id_for(const std::string& normalised_path);

// The full path a spec stands for and whether something is there.
OSErr resolve_spec(const FileSpec& spec, std::string& path, bool& exists);
// The same, answering kFileNotFoundErr when nothing is there.
OSErr existing_path(const FileSpec& spec, std::string& path);
// The spec of a normalised path (its parent folder registered); exists tells
// whether something is there. Answers kDirectoryNotFoundErr when the parent folder is missing.
OSErr spec_for_path(const std::string& path, FileSpec& out, bool& exists);

// The POSIX leaf a spec name is written as on disk ('/' becomes ':').
std::string posix_name_from_spec_name(const unsigned char* name);
// Whether a folder entry is the resource sidecar of another entry there.
bool is_sidecar_of_existing(const std::string& folder, std::string_view entry);

// The open-file table, for following and guarding files.
bool open_file_path_by_identity(dev_t device, ino_t inode, std::string& path);
bool is_open_by_identity(dev_t device, ino_t inode);
void exchange_open_paths(const std::string& a, const std::string& b);
void rename_open_paths(const std::string& from, const std::string& to);

// How many of the bytes of the next change to the disk may go now: all of
// them unless a test's hook says fewer.
size_t bytes_allowed(FileChange change, size_t bytes);

// The exchange of two files' contents by hard links, for file systems without an atomic swap.
OSErr exchange_by_links(const std::string& a, const std::string& b);

}  // namespace pf::files_detail
