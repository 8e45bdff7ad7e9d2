// A save stopped after any change it makes to the disk, or after any number of
// bytes, leaves the document whole, old or new, under every name once the next
// open or start has settled it; nothing is left beside it, and at no moment
// can another user read a copy of a private document.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <utility>

#include "files/document_file.h"
#include "files/running_copies.h"
#include "tests/files/document_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kStopped = 42;

// The hook of the file layer: counts the changes of a whole save, or ends the
// process at a change or once a number of bytes went.
namespace stopping {
std::vector<std::pair<pf::FileChange, size_t>> changes;
long calls_left = -1;
long long bytes_left = -1;

size_t count(pf::FileChange change, size_t bytes) {
    changes.emplace_back(change, bytes);
    return bytes;
}

size_t stop(pf::FileChange change, size_t bytes) {
    if (calls_left == 0) _exit(kStopped);
    if (calls_left > 0) --calls_left;
    if (bytes_left < 0 || change != pf::FileChange::write) return bytes;
    if (bytes_left == 0) _exit(kStopped);
    const size_t allowed = size_t(std::min<long long>(bytes_left, (long long)bytes));
    bytes_left -= (long long)allowed;
    return allowed;
}
}  // namespace stopping

// Where the document's file lies and what other names lead to it. The
// document is always saved and opened as "Budget.qrv".
struct Target {
    const char* what;
    std::string file;                       // the file itself
    std::vector<std::string> second_names;  // hard links to it
    bool through_link;                      // "Budget.qrv" a symbolic link to the file
};

const Target kTargets[] = {
    {"one name", "Budget.qrv", {}, false},
    {"a second name", "Budget.qrv", {"Budget copy.qrv"}, false},
    {"a symbolic link", "store/Real.qrv", {}, true},
    {"a link to a linked file", "store/Real.qrv", {"Real copy.qrv"}, true},
};

// A stop: before the change of that number, or once that many bytes were written.
struct Stop {
    long call = -1;
    long long bytes = -1;
};

class KilledSaves : public DocumentTest {
protected:
    TempFolder config;
    std::string kept_config;
    mode_t kept_mask = 0;
    std::vector<uint8_t> old_bytes, new_bytes;
    MemoryRef new_book = nullptr;

    void SetUp() override {
        DocumentTest::SetUp();
        if (const char* was = std::getenv("XDG_CONFIG_HOME")) kept_config = was;
        setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
        kept_mask = umask(022);
        MemoryRef old_book = sample::new_workbook();
        sample::fill_numbers(sample::new_layer(old_book), 3000);
        old_bytes = saved_bytes(old_book);
        new_book = sample::rich_workbook(2);
        new_bytes = saved_bytes(new_book);
        ASSERT_NE(old_bytes, new_bytes);
    }

    void TearDown() override {
        pf::set_file_change_hook(nullptr);
        save_notes = kNoSaveNotes;
        umask(kept_mask);
        if (kept_config.empty()) unsetenv("XDG_CONFIG_HOME");
        else setenv("XDG_CONFIG_HOME", kept_config.c_str(), 1);
        DocumentTest::TearDown();
    }

    // The bytes of a workbook saved as a native document.
    std::vector<uint8_t> saved_bytes(MemoryRef book) {
        EXPECT_EQ(save(book, "model.qrv"), 0);
        close_document_file(book);
        std::vector<uint8_t> bytes = bytes_of("model.qrv");
        fs::remove(path("model.qrv"));
        return bytes;
    }

    // The folder holds the old document, of mode 600, under the target's names.
    void lay_out(const Target& target) {
        for (const auto& entry : fs::directory_iterator(folder.path)) fs::remove_all(entry.path());
        fs::remove_all(config.path + "/Quorvin");
        if (target.file.find('/') != std::string::npos) fs::create_directory(path("store"));
        write_bytes(target.file, old_bytes);
        ASSERT_EQ(chmod(path(target.file).c_str(), 0600), 0);
        settle_type_and_creator(spec(target.file), kFormatNative);
        for (const std::string& name : target.second_names)
            ASSERT_EQ(link(path(target.file).c_str(), path(name).c_str()), 0);
        if (target.through_link) ASSERT_EQ(symlink(target.file.c_str(), path("Budget.qrv").c_str()), 0);
    }

    std::set<std::string> entries() const {
        std::set<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(folder.path))
            found.insert(entry.path().lexically_relative(folder.path).string());
        return found;
    }

    std::set<std::string> laid_out(const Target& target) const {
        std::set<std::string> names{"Budget.qrv", target.file};
        names.insert(target.second_names.begin(), target.second_names.end());
        if (target.file.find('/') != std::string::npos) names.insert("store");
        return names;
    }

    // Files in the folder that others than the owner may read or write.
    std::vector<std::string> not_private() const {
        std::vector<std::string> open;
        for (const auto& entry : fs::recursive_directory_iterator(folder.path)) {
            struct stat st;
            if (lstat(entry.path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 07777) != 0600)
                open.push_back(entry.path().filename().string());
        }
        return open;
    }

    bool new_copy_beside() const {
        for (const auto& entry : fs::recursive_directory_iterator(folder.path))
            if (entry.path().filename().string().ends_with(".saved")) return true;
        return false;
    }

    int16_t save_new() {
        return save_workbook_file(find_SpreadSheet_item(new_book, 0), kWholeWorkbook, spec("Budget.qrv"), kFormatNative,
                                  true, false);
    }

    // The changes a whole save of the target makes.
    std::vector<std::pair<pf::FileChange, size_t>> changes_of_a_save(const Target& target) {
        lay_out(target);
        stopping::changes.clear();
        save_notes = SaveNotes{note_save_started, note_save_ended};
        pf::set_file_change_hook(stopping::count);
        EXPECT_EQ(save_new(), 0);
        pf::set_file_change_hook(nullptr);
        save_notes = kNoSaveNotes;
        EXPECT_EQ(bytes_of("Budget.qrv"), new_bytes);
        return stopping::changes;
    }

    // Each change but the writes, some writes, and points within the bytes written.
    std::vector<Stop> stops_of(const std::vector<std::pair<pf::FileChange, size_t>>& changes) {
        std::vector<Stop> stops;
        long writes = 0;
        long long bytes = 0;
        for (const auto& [change, size] : changes)
            if (change == pf::FileChange::write) ++writes, bytes += (long long)size;
        const long write_step = std::max(1L, writes / 24);
        long write_index = 0;
        for (long call = 0; call < long(changes.size()); ++call) {
            const bool write = changes[size_t(call)].first == pf::FileChange::write;
            if (!write || write_index++ % write_step == 0) stops.push_back({call, -1});
        }
        for (int part = 1; part < 32; ++part) stops.push_back({-1, bytes * part / 32 + 1});
        stops.push_back({long(changes.size()), -1});  // nothing stops it
        return stops;
    }

    // Runs the save in a child process that ends at the stop; its exit status.
    int run_until(const Stop& stop) {
        pid_t child = fork();
        if (child == 0) {
            stopping::calls_left = stop.call;
            stopping::bytes_left = stop.bytes;
            save_notes = SaveNotes{note_save_started, note_save_ended};
            pf::set_file_change_hook(stopping::stop);
            _exit(save_new() == 0 ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Opens the document and lets it go; whether it opened.
    bool opens() {
        MemoryRef book = open("Budget.qrv");
        if (!book) return false;
        close_document_file(book);
        DisposeWorkSheet(book);
        return true;
    }

    bool told_finished() const {
        return std::count(prompts_log::seen.begin(), prompts_log::seen.end(), "tell 130/15") > 0;
    }
};

TEST_F(KilledSaves, EveryNameHoldsTheOldOrTheNewDocumentAfterTheNextOpenOrStart) {
    for (const Target& target : kTargets) {
        const std::vector<Stop> stops = stops_of(changes_of_a_save(target));
        int ended_old = 0, ended_new = 0, finished = 0;
        for (size_t i = 0; i < stops.size(); ++i) {
            const Stop& stop = stops[i];
            const std::string where = std::string(target.what) + ", stop at call " + std::to_string(stop.call) +
                                      " / byte " + std::to_string(stop.bytes);
            lay_out(target);
            const int status = run_until(stop);
            ASSERT_TRUE(status == kStopped || status == 0) << where << ": status " << status;
            EXPECT_EQ(not_private(), std::vector<std::string>{}) << where;
            const bool complete_copy = new_copy_beside();

            // Alternately the next start (through the killed save's note) and the next open settle it.
            prompts_log::seen.clear();
            bool told = false;
            if (i % 2) told = !remove_leftovers_of_dead_copies().empty();
            ASSERT_TRUE(opens()) << where;
            told = told || told_finished();

            const std::vector<uint8_t> now = bytes_of("Budget.qrv");
            const bool is_new = now == new_bytes;
            EXPECT_TRUE(is_new || now == old_bytes) << where << ": " << now.size() << " bytes";
            for (const std::string& name : laid_out(target))
                if (name != "store") EXPECT_EQ(bytes_of(name), now) << where << ": " << name;
            EXPECT_EQ(entries(), laid_out(target)) << where;
            EXPECT_EQ(not_private(), std::vector<std::string>{}) << where;
            pf::FinderInfo info;
            EXPECT_EQ(pf::get_finder_info(spec("Budget.qrv"), info), pf::noErr);
            EXPECT_EQ(info.type, kDocumentType) << where;
            struct stat st;
            ASSERT_EQ(stat(path(target.file).c_str(), &st), 0);
            EXPECT_EQ(st.st_nlink, 1 + target.second_names.size()) << where;
            // A complete new copy is never thrown away, and the user hears of one put in place.
            if (complete_copy) EXPECT_TRUE(is_new) << where;
            if (told) EXPECT_TRUE(is_new && status == kStopped) << where;
            if (status == 0) EXPECT_TRUE(is_new && !told) << where;
            (is_new ? ended_new : ended_old) += 1;
            finished += told;
        }
        EXPECT_GT(ended_old, 0) << target.what;
        EXPECT_GT(ended_new, 1) << target.what;
        EXPECT_GT(finished, 0) << target.what;
    }
}

// A document open to others keeps its mode when saved, whatever its names.
TEST_F(KilledSaves, TheSavedDocumentKeepsItsMode) {
    for (const Target& target : kTargets) {
        lay_out(target);
        ASSERT_EQ(chmod(path(target.file).c_str(), 0644), 0);
        ASSERT_EQ(save_new(), 0);
        struct stat st;
        ASSERT_EQ(stat(path(target.file).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0644u) << target.what;
        EXPECT_EQ(entries(), laid_out(target)) << target.what;
    }
}

}  // namespace
