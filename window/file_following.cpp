#include "window/file_following.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ui/alerts.h"
#include "files/document_file.h"
#include "model/workbook.h"
#include "platform/files/files.h"
#include "window/doc_window.h"
#include "window/document_closing.h"
#include "window/window_commands.h"
#include "window/window_names.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kFileGoneMessage = 1;

// The alias of each followed workbook's file, with the location and stamp it
// was made for: a rename followed, a save elsewhere or a save over the file
// (which puts another file in its place) makes a new one.
struct FollowedFile {
    pf::FileSpec spec{};
    pf::FileStamp stamp{};
    std::vector<uint8_t> alias;
    bool told_gone = false;
};
std::map<MemoryRef, FollowedFile> followed;

bool same_spec(const pf::FileSpec& a, const pf::FileSpec& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool in_trash(const pf::FileSpec& spec) {
    int16_t volume = 0;
    uint32_t folder = 0;
    return pf::find_folder(pf::FolderKind::trash, false, volume, folder) == pf::noErr && spec.volume == volume &&
           spec.parent == folder;
}

void retitle(MemoryRef workbook, const pf::FileSpec& moved) {
    FileInfoRecord record = file_record_of(workbook);
    record.spec = moved;
    set_file_record(workbook, record);
    rename_all_windows(workbook, Get_fileinfo(workbook));
    proxy_all_windows(workbook, Get_fileinfo(workbook));
}

// The file went away: an unchanged document closes; a changed one stays and
// the user is told once.
bool file_gone(MemoryRef record, MemoryRef workbook, FollowedFile& file) {
    if (get_change_ctr(workbook) == 0) {
        followed.erase(workbook);
        CloseFrontWorkSheet(record);
        return false;
    }
    if (!file.told_gone) {
        file.told_gone = true;
        unsigned char name[256];
        Get_File_Name(workbook, name);
        figures_alert(kFollowingStrings, kFileGoneMessage,
                      {std::string(reinterpret_cast<const char*>(name + 1), name[0])});
    }
    return true;
}

// The alias of the document's file: made from the file held open when there
// is one, so that a file renamed before it was first followed is still found.
pf::OSErr alias_of_document(const FileInfoRecord& info, std::vector<uint8_t>& alias) {
    pf::FileSpec spec = info.spec;
    if (info.open_file) pf::get_file_spec_of_ref(info.open_file, spec);
    const pf::OSErr err = pf::new_alias(spec, alias);
    if (err != pf::noErr) alias.clear();
    return err;
}

}  // namespace

void forget_closed_documents() {
    std::vector<MemoryRef> open;
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w))
        if (MemoryRef record = window_doc_record(w)) open.push_back(doc_window_workbook(record));
    std::erase_if(followed, [&](const auto& entry) {
        return std::find(open.begin(), open.end(), entry.first) == open.end();
    });
}

bool follow_document_file(MemoryRef record) {
    MemoryRef workbook = doc_window_workbook(record);
    const FileInfoRecord info = file_record_of(workbook);
    if (info.format_code == kFormatUntitled) return true;
    FollowedFile& file = followed[workbook];
    const pf::FileStamp stamp = info.stamp;
    if (file.alias.empty() || !same_spec(file.spec, info.spec) || file.stamp != stamp) {
        file = FollowedFile{info.spec, stamp, {}, file.told_gone};
        const pf::OSErr made = alias_of_document(info, file.alias);
        if (made == pf::kFileNotFoundErr) return file_gone(record, workbook, file);
        if (made != pf::noErr) return true;
    }
    pf::FileSpec found{};
    bool changed = false;
    const pf::OSErr resolved = pf::resolve_alias(file.alias.data(), file.alias.size(), found, changed);
    if (resolved == pf::kFileNotFoundErr || (resolved == pf::noErr && in_trash(found)))
        return file_gone(record, workbook, file);
    file.told_gone = false;
    if (resolved == pf::noErr && !same_spec(found, info.spec)) retitle(workbook, found);
    return true;
}
