// Files, folders and aliases: the file-specification record the application
// passes around, mapped onto POSIX paths, and the file operations over it.
//
// File specifications
// -------------------
// A `FileSpec` is 70 bytes: volume (int16), parent folder id (uint32) and a
// length-prefixed Mac Roman name of at most 63 bytes. It names a file or folder
// that may or may not exist yet.
//
// - Volume. The whole POSIX name space is one volume, `kSystemVolume` (-1).
//   Other volume numbers answer kNoSuchVolumeErr.
// - Folder ids come from one process-wide table of absolute folder paths
//   (lexically normalised, symbolic links kept as the user named them). The
//   root "/" is id 2 and its parent is id 1, as on the classic file system.
//   Any other folder's id is a 32-bit hash of its path, moved on past ids
//   already taken by other paths, so a folder usually keeps its id from one run
//   to the next. Paths are limited only by the system (PATH_MAX; longer ones
//   answer kBadNameErr). `set_folder_registry` names a file
//   in which the table is kept across runs, so that file specifications stored
//   in preferences resolve in a later run.
// - Names. A POSIX name that Mac Roman spells exactly in at most 63 bytes is the
//   spec's name as it stands, with ':' shown as '/' (and '/' in a spec name
//   written as ':' on disk). Any other name (longer, characters Mac Roman
//   cannot spell, malformed UTF-8) gets a display form: Mac Roman with '?' for
//   what it cannot spell, cut to 57 bytes with an ellipsis; and a hidden key in
//   the six bytes after it (name[58..63]: the marker bytes 0xA5 0x4B and a
//   32-bit hash of the real name). The hidden key travels wherever the whole
//   70-byte record is copied. Resolving a name looks, in order, for: the file of
//   exactly that name; an entry of the folder whose name has the key's hash and
//   this display form; the one entry of the folder with this display form (a
//   copy that lost its key). So a spec of any existing file can be opened,
//   saved over and shown by its (display) name; new files are created under the
//   name as written.
// - "." and ".." are refused (kBadNameErr); an empty name stands for the folder
//   itself.
//
// Types and creators are kept in the extended attribute "user.quorvin.finfo"
// (type, creator, Finder flags). Where the file system keeps no attributes, or
// a file has none, they are derived: a native document by its header (marker
// 0xFFFF, version 768..1029: "SHIP" up to 1024, "SH4P" after) or its ".qrv"
// extension, creator "QRVA"; SYLK by "ID;" at the start and text by the
// extensions .txt, .csv, .tab, .sylk: type "TEXT"; otherwise 0. Dot files carry
// the invisible flag.
//
// Errors are the classic file-system numbers; `error_from_errno` is the one
// table that turns a POSIX errno into them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/scripts.h"
#include "platform/types.h"

namespace pf {

// ---- Error numbers -------------------------------------------------------
constexpr OSErr kDirectoryFullErr = -33;
constexpr OSErr kDiskFullErr = -34;
constexpr OSErr kNoSuchVolumeErr = -35;
constexpr OSErr kIOErr = -36;
constexpr OSErr kBadNameErr = -37;
constexpr OSErr kFileNotOpenErr = -38;
constexpr OSErr kEndOfFileErr = -39;
constexpr OSErr kPositionErr = -40;
constexpr OSErr kTooManyFilesOpenErr = -42;
constexpr OSErr kFileNotFoundErr = -43;
constexpr OSErr kWriteProtectedErr = -44;
constexpr OSErr kFileLockedErr = -45;
constexpr OSErr kVolumeLockedErr = -46;
constexpr OSErr kFileBusyErr = -47;
constexpr OSErr kDuplicateNameErr = -48;
constexpr OSErr kOpenForWriteErr = -49;
constexpr OSErr kBadRefNumErr = -51;
constexpr OSErr kPermissionErr = -54;
constexpr OSErr kBadVolumeErr = -60;
constexpr OSErr kWritePermissionErr = -61;
constexpr OSErr kDirectoryNotFoundErr = -120;
constexpr OSErr kTooManyFoldersErr = -121;
constexpr OSErr kNotAFileErr = -1302;  // a folder where a file was wanted
constexpr OSErr kFileTooLongErr = -1309;  // longer than the reader takes
constexpr OSErr kAccessDeniedErr = -5000;

// The platform error number of a POSIX errno (0 gives 0; unknown values kIOErr).
OSErr error_from_errno(int posix_errno);

// ---- File specifications -------------------------------------------------
constexpr int16_t kSystemVolume = -1;
constexpr uint32_t kRootParentId = 1;
constexpr uint32_t kRootFolderId = 2;
constexpr int kMaxSpecName = 63;

// Packed to the stored 70 bytes: `parent` sits at offset 2, so read it by value
// (uint32_t(spec.parent)) rather than binding a reference to it.
#pragma pack(push, 2)
struct FileSpec {
    int16_t volume = 0;
    uint32_t parent = 0;
    unsigned char name[64] = {};  // length-prefixed Mac Roman
};
#pragma pack(pop)
static_assert(sizeof(FileSpec) == 70, "a file specification is 70 bytes");

// The spec of a name (length-prefixed Mac Roman, at most 63 bytes) in a folder.
// Answers 0 when the item exists, kFileNotFoundErr when it does not (the record is
// still filled and valid for creating it), kDirectoryNotFoundErr for an unknown
// folder, kBadNameErr for a bad name. An empty name gives the folder's own spec.
OSErr make_file_spec(int16_t volume, uint32_t folder, const unsigned char* name, FileSpec& out);

// Whether the item of a spec is there, answered as make_file_spec answers for
// its name, the whole record (a name's hidden key too) taken as it stands.
OSErr check_file_spec(const FileSpec& spec);

// The spec of a POSIX path (UTF-8; relative paths from the working folder),
// with the answers of make_file_spec.
OSErr file_spec_from_path(std::string_view path, FileSpec& out);

// The full POSIX path a file spec stands for, whether or not the item exists.
OSErr path_from_file_spec(const FileSpec& spec, std::string& path);

// The real (UTF-8) name of the item a file spec stands for.
OSErr file_spec_long_name(const FileSpec& spec, std::string& name);
// The name of the item as a person reads it: a name Mac Roman cannot spell in
// the script that spells it whole, else the record's own (Roman) name.
ScriptText file_spec_shown_name(const FileSpec& spec);
// The name of the item as it reads whatever its scripts, in UTF-8: its real
// name when the record holds a display form of it, else the record's own.
std::string file_spec_shown_utf8(const FileSpec& spec);
// The real name (UTF-8) of an item whose record holds a display form of it,
// its name having letters Mac Roman cannot spell; false for a record that
// holds its name exactly, or an item that cannot be found.
bool file_spec_real_name(const FileSpec& spec, std::string& utf8);

// Folder ids and paths.
OSErr folder_id_from_path(std::string_view path, uint32_t& folder);
OSErr path_from_folder_id(int16_t volume, uint32_t folder, std::string& path);
// The id of the folder a spec names (kFileNotFoundErr when missing, kParamErr for a file).
OSErr folder_id_of_spec(const FileSpec& spec, uint32_t& folder);

// Keeps the folder table in the given file across runs (loaded now, new entries
// appended). An empty path stops keeping it.
void set_folder_registry(std::string_view registry_path);

// The spec name of a POSIX name: answers true when the name is exact, false for
// a display form with a hidden key.
bool spec_name_from_posix_name(std::string_view posix_name, unsigned char name[64]);

// ---- Catalog ---------------------------------------------------------------
constexpr uint16_t kFinderFlagStationery = 0x0800;
constexpr uint16_t kFinderFlagInvisible = 0x4000;

struct FinderInfo {
    FourCC type = 0;
    FourCC creator = 0;
    uint16_t flags = 0;
};

struct CatalogInfo {
    unsigned char name[64] = {};
    bool is_folder = false;
    bool locked = false;          // the item cannot be written by us
    uint32_t parent = 0;          // parent folder id
    uint32_t folder_id = 0;       // folders: their own id
    uint32_t item_count = 0;      // folders: visible entries
    FinderInfo finder;            // files
    int64_t data_length = 0;
    int64_t resource_length = 0;  // the resource sidecar's length
    int64_t modified = 0;         // POSIX seconds
};

OSErr get_catalog_info(const FileSpec& spec, CatalogInfo& info);
// The index-th entry (from 1) of a folder, in name order; kFileNotFoundErr past
// the last. Resource sidecars are not listed. `spec` may be null.
OSErr get_catalog_info_by_index(int16_t volume, uint32_t folder, int index, CatalogInfo& info,
                                FileSpec* spec);

OSErr get_finder_info(const FileSpec& spec, FinderInfo& info);
// Stores type, creator and flags; answers 0 also where the file system keeps no
// attributes (the derived values then stay in force).
OSErr set_finder_info(const FileSpec& spec, const FinderInfo& info);
// A kind of file the application knows, for guessing the type and creator of
// a file that stores none: told by its first bytes (`sniff`, may be null) or
// by the extension of its name (lower case, with the dot).
struct FileKindGuess {
    FourCC type = 0, creator = 0;
    bool (*sniff)(const unsigned char* head, size_t length) = nullptr;
    std::vector<std::string> extensions;
};
// The kinds to guess from, handed down at start-up; before, nothing is guessed.
void set_file_kind_guesses(std::vector<FileKindGuess> kinds);
// The type and creator derived from a file's name and first bytes: the first
// kind whose sniffing routine takes the bytes, else the first whose extension
// the name ends in (after at least one character).
FinderInfo derive_finder_info(std::string_view posix_name, const unsigned char* head, size_t length);

// kFileLockedErr when the item cannot be written by us, else 0 (or the error).
OSErr check_object_lock(const FileSpec& spec);

// ---- Volumes ---------------------------------------------------------------
constexpr uint32_t kVolumeHardwareLock = 1u << 7;
constexpr uint32_t kVolumeSoftwareLock = 1u << 15;

struct VolumeInfo {
    unsigned char name[28] = {};
    uint32_t attributes = 0;       // lock bits above
    bool supports_open_deny = true;
    int64_t free_bytes = 0;
};
OSErr get_volume_info(int16_t volume, VolumeInfo& info);
// kWriteProtectedErr when the volume is locked by hardware, kVolumeLockedErr by software.
OSErr check_volume_lock(int16_t volume);
OSErr flush_volume(int16_t volume);

// ---- Special folders -------------------------------------------------------
enum class FolderKind { preferences, temporary_items, trash };
// Preferences: $XDG_CONFIG_HOME (else ~/.config). Temporary items: a private
// folder in $TMPDIR (else /tmp). Trash: the files folder of the XDG trash.
OSErr find_folder(FolderKind kind, bool create, int16_t& volume, uint32_t& folder);
// Makes a folder; answers its id.
OSErr create_folder(const FileSpec& spec, uint32_t& folder);

// ---- Files -----------------------------------------------------------------
constexpr int8_t kCurrentPermission = 0;   // read/write when allowed, else read
constexpr int8_t kReadPermission = 1;
constexpr int8_t kWritePermission = 2;
constexpr int8_t kReadWritePermission = 3;
constexpr int8_t kSharedReadWritePermission = 4;
constexpr int8_t kDenyRead = 0x10;          // or-ed into the permission
constexpr int8_t kDenyWrite = 0x20;

constexpr int16_t kFromStart = 1;
constexpr int16_t kFromEnd = 2;
constexpr int16_t kFromMark = 3;

OSErr create_file(const FileSpec& spec, FourCC creator, FourCC type);
// The same, the file readable and writable by its owner alone (mode 600) from
// the start, for copies of a document no one else may read while they exist.
OSErr create_private_file(const FileSpec& spec, FourCC creator, FourCC type);
// Opens the data fork. Within this program, a second opening for writing
// without the shared permission answers kOpenForWriteErr, and deny modes that
// clash with openings already made answer kPermissionErr.
OSErr open_data_fork(const FileSpec& spec, int8_t permission, int16_t& ref);
OSErr close_file(int16_t ref);
// Reads up to count bytes; count becomes the bytes read. kEndOfFileErr when
// fewer than asked were there.
OSErr read_file(int16_t ref, int32_t& count, void* buffer);
OSErr write_file(int16_t ref, int32_t& count, const void* buffer);
OSErr get_file_position(int16_t ref, int32_t& position);
OSErr set_file_position(int16_t ref, int16_t mode, int32_t offset);
OSErr get_end_of_file(int16_t ref, int32_t& length);
// Reads an open file whole, from its start, into `bytes`. A file longer than
// `limit` bytes answers kFileTooLongErr and is not read; one that ends sooner
// than its length said answers kEndOfFileErr; one there is no memory for,
// kMemFullErr.
OSErr read_whole_fork(int16_t ref, int32_t limit, std::vector<uint8_t>& bytes);
// Opens the data fork of `spec`, reads it whole as read_whole_fork does, and
// closes it.
OSErr read_whole_file(const FileSpec& spec, int32_t limit, std::vector<uint8_t>& bytes);
OSErr set_end_of_file(int16_t ref, int32_t length);
OSErr flush_file(int16_t ref);
// The spec of an open file, where it is now.
OSErr get_file_spec_of_ref(int16_t ref, FileSpec& spec);

// Deletes a file (with its resource sidecar) or an empty folder; kFileBusyErr
// while the file is open here.
OSErr delete_file(const FileSpec& spec);
// Renames within the folder; kDuplicateNameErr when the new name is taken.
OSErr rename_file(const FileSpec& spec, const unsigned char* new_name);
// Exchanges the contents (and types) of two files atomically; each name keeps
// a whole file at every moment. Refs open on either follow their contents.
// kParamErr when the file system allows no safe exchange.
OSErr exchange_files(const FileSpec& a, const FileSpec& b);

// ---- Replacing a file's contents -------------------------------------------
// The spec of the file a symbolic link at `spec` leads to; `spec` itself when
// it names no link, or a link that leads nowhere.
OSErr follow_links(const FileSpec& spec, FileSpec& followed);
// How many names (hard links) the file at a spec has.
OSErr count_names(const FileSpec& spec, int& names);
// Gives `file` the permission bits and group of `model`, and its owner where
// the user may give files away.
OSErr copy_access(const FileSpec& model, const FileSpec& file);
// Writes the whole of `source` over the contents of `target`'s own file, in
// place and synced to the disk: the file keeps every name, its mode and its
// owners. A write cut short leaves the file partly written.
OSErr write_over(const FileSpec& source, const FileSpec& target);
// Puts the file `source` under the name of `target`, in the same folder, in
// one step: the name holds the one file or the other at every moment.
OSErr move_over(const FileSpec& source, const FileSpec& target);

// Where the resource fork of the file at a path is kept: the hidden sidecar
// ".<name>.rsrc" in the same folder.
std::string resource_sidecar_path(std::string_view path);

// ---- File identity ---------------------------------------------------------
// Which file is at a spec and how recent its contents are: device, inode and
// the time of the last change of the contents. A rename keeps the stamp; a
// file written anew under the name (another inode) or written over in place
// (a later time) changes it.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t modified_ns = 0;  // nanoseconds since the POSIX epoch
    bool operator==(const FileStamp&) const = default;
};
// The stamp of the file at `spec`; kFileNotFoundErr when nothing is there.
OSErr get_file_stamp(const FileSpec& spec, FileStamp& stamp);
// Whether the file a stamp was taken of has since been replaced, by another
// file or by newer contents; a cleared stamp (taken of nothing) never is.
bool file_replaced_since(const FileStamp& then, const FileStamp& now);

// ---- Stopping at a change, for tests ----------------------------------------
// Every change this layer makes on the disk first asks the hook, when one is
// set, how many of its bytes may go now (changes without bytes ask for 0); the
// rest asks again. A test ends the process in the hook to stop a program
// after any number of changes or bytes. No hook is set unless a test sets one.
enum class FileChange { create, write, resize, rename, remove, access, attributes };
using FileChangeHook = size_t (*)(FileChange change, size_t bytes);
void set_file_change_hook(FileChangeHook hook);

// ---- Aliases ---------------------------------------------------------------
// An alias records a file's path, device and inode (our own byte layout).
OSErr new_alias(const FileSpec& target, std::vector<uint8_t>& alias);
// Finds the file again: at its path when it is the same file there; else the
// same file open here, renamed in its folder, or moved to the trash (changed is
// then true); else whatever now has the path. kFileNotFoundErr when none,
// kParamErr for a damaged alias.
OSErr resolve_alias(const uint8_t* alias, size_t length, FileSpec& target, bool& changed);

}  // namespace pf
