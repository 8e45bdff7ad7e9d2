#include "platform/files/files.h"
#include "platform/files/files_internal.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/platform/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_all(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Pascal string from text.
struct PName {
    unsigned char bytes[256] = {};
    explicit PName(std::string_view text) {
        bytes[0] = uint8_t(text.size());
        std::memcpy(bytes + 1, text.data(), text.size());
    }
};

std::string spec_text(const pf::FileSpec& spec) {
    return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

class Files : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(root.empty()); }
    void TearDown() override {
        for (int16_t ref : open_refs) pf::close_file(ref);
    }
    pf::FileSpec spec_of(const std::string& path) {
        pf::FileSpec spec;
        pf::file_spec_from_path(path, spec);
        return spec;
    }
    int16_t open(const std::string& path, int8_t permission) {
        int16_t ref = 0;
        EXPECT_EQ(pf::open_data_fork(spec_of(path), permission, ref), pf::noErr) << path;
        open_refs.push_back(ref);
        return ref;
    }
    TempFolder folder;
    const std::string root = folder.path;
    std::vector<int16_t> open_refs;
};

TEST_F(Files, ShortNamesMapExactlyBothWays) {
    std::string path = root + "/Budget 2024 caf\u00E9 a:b.qrv";
    write_all(path, "x");
    pf::FileSpec spec;
    ASSERT_EQ(pf::file_spec_from_path(path, spec), pf::noErr);
    EXPECT_EQ(spec.volume, pf::kSystemVolume);
    EXPECT_EQ(spec_text(spec), "Budget 2024 caf\x8E a/b.qrv");  // Mac Roman, ':' shown as '/'
    std::string back;
    ASSERT_EQ(pf::path_from_file_spec(spec, back), pf::noErr);
    EXPECT_EQ(back, path);

    pf::FileSpec again;
    EXPECT_EQ(pf::make_file_spec(spec.volume, spec.parent, spec.name, again), pf::noErr);
    EXPECT_EQ(std::memcmp(&again, &spec, sizeof spec), 0);
}

TEST_F(Files, LongAndUnspellableNamesGetDisplayFormsThatResolve) {
    std::string common(70, 'n');
    std::string first = root + "/" + common + " first \u62A5\u544A.qrv";
    std::string second = root + "/" + common + " second \u62A5\u544A.qrv";
    std::string chinese = root + "/\u62A5\u544A.csv";
    for (const auto& p : {first, second, chinese}) write_all(p, p);

    pf::FileSpec a, b, c;
    ASSERT_EQ(pf::file_spec_from_path(first, a), pf::noErr);
    ASSERT_EQ(pf::file_spec_from_path(second, b), pf::noErr);
    ASSERT_EQ(pf::file_spec_from_path(chinese, c), pf::noErr);
    EXPECT_LE(a.name[0], 57);
    EXPECT_EQ(a.name[a.name[0]], 0xC9);  // ends in an ellipsis
    EXPECT_EQ(spec_text(a), spec_text(b));  // same display form, told apart by the hidden key
    EXPECT_EQ(spec_text(c), "??.csv");

    for (auto [spec, path] : {std::pair{a, first}, {b, second}, {c, chinese}}) {
        pf::FileSpec copy;
        std::memcpy(&copy, &spec, sizeof copy);  // as records carry it
        std::string back;
        ASSERT_EQ(pf::path_from_file_spec(copy, back), pf::noErr);
        EXPECT_EQ(back, path);
        int16_t ref = open(back, pf::kReadPermission);
        char buffer[512] = {};
        int32_t count = int32_t(path.size());
        EXPECT_EQ(pf::read_file(ref, count, buffer), pf::noErr);
        EXPECT_EQ(std::string(buffer, size_t(count)), path);
        std::string long_name;
        EXPECT_EQ(pf::file_spec_long_name(copy, long_name), pf::noErr);
        EXPECT_EQ(long_name, fs::path(path).filename().string());
    }

    // A name copied without its key is not guessed at.
    pf::FileSpec bare;
    EXPECT_EQ(pf::make_file_spec(a.volume, a.parent, a.name, bare), pf::kFileNotFoundErr);
}

TEST_F(Files, FilesAreCreatedUnderTheExactNameGiven) {
    std::string unspellable = root + "/\u65E5\u672C\u8A9E \u20AC out.qrv";
    std::string long_name = root + "/" + std::string(80, 'x') + ".qrv";
    std::string decoy = root + "/??? \u20AC out.qrv";  // the display form of the first, as a file of its own
    write_all(decoy, "other");
    for (const std::string& path : {unspellable, long_name}) {
        pf::FileSpec spec;
        ASSERT_EQ(pf::file_spec_from_path(path, spec), pf::kFileNotFoundErr) << path;
        ASSERT_EQ(pf::create_file(spec, pf::four_cc("QRVA"), pf::four_cc("SH4P")), pf::noErr) << path;
        EXPECT_TRUE(fs::exists(path)) << path;
        EXPECT_EQ(pf::create_file(spec, pf::four_cc("QRVA"), pf::four_cc("SH4P")), pf::kDuplicateNameErr) << path;
        int16_t ref = 0;
        ASSERT_EQ(pf::open_data_fork(spec, pf::kReadWritePermission, ref), pf::noErr);
        int32_t count = 3;
        EXPECT_EQ(pf::write_file(ref, count, "new"), pf::noErr);
        pf::close_file(ref);
        EXPECT_EQ(read_all(path), "new");
    }
    EXPECT_EQ(read_all(decoy), "other");
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 3);
}

TEST_F(Files, DeepPathsRoundTrip) {
    std::string path = root;
    for (int level = 0; level < 60; ++level) path += "/folder level " + std::to_string(level) + " \u00FC\u00DF";
    fs::create_directories(path);
    std::string file = path + "/deep.txt";
    pf::FileSpec spec;
    ASSERT_EQ(pf::file_spec_from_path(file, spec), pf::kFileNotFoundErr);  // valid, not there yet
    ASSERT_EQ(pf::create_file(spec, pf::four_cc("QRVA"), pf::four_cc("TEXT")), pf::noErr);
    std::string back;
    ASSERT_EQ(pf::path_from_file_spec(spec, back), pf::noErr);
    EXPECT_EQ(back, file);
    EXPECT_GT(back.size(), 1000u);

    // Walking up by folder specs reaches the root, whose parent is 1.
    uint32_t folder = spec.parent;
    int steps = 0;
    pf::FileSpec up;
    while (folder != pf::kRootParentId && steps < 100) {
        ASSERT_EQ(pf::make_file_spec(pf::kSystemVolume, folder, PName("").bytes, up), pf::noErr);
        folder = up.parent;
        ++steps;
    }
    EXPECT_EQ(steps, int(std::count(file.begin(), file.end(), '/')));
}

TEST_F(Files, BadNamesAndUnknownFolders) {
    uint32_t folder = 0;
    ASSERT_EQ(pf::folder_id_from_path(root, folder), pf::noErr);
    pf::FileSpec spec;
    EXPECT_EQ(pf::make_file_spec(pf::kSystemVolume, folder, PName("..").bytes, spec), pf::kBadNameErr);
    EXPECT_EQ(pf::make_file_spec(pf::kSystemVolume, folder, PName(std::string(64, 'x')).bytes, spec),
              pf::kBadNameErr);
    EXPECT_EQ(pf::make_file_spec(pf::kSystemVolume, 0x7FFFFFF0, PName("x").bytes, spec),
              pf::kDirectoryNotFoundErr);
    EXPECT_EQ(pf::make_file_spec(7, folder, PName("x").bytes, spec), pf::kNoSuchVolumeErr);
    // A '/' in a spec name is a ':' on disk.
    ASSERT_EQ(pf::make_file_spec(pf::kSystemVolume, folder, PName("a/b").bytes, spec), pf::kFileNotFoundErr);
    ASSERT_EQ(pf::create_file(spec, 0, 0), pf::noErr);
    EXPECT_TRUE(fs::exists(root + "/a:b"));
    EXPECT_EQ(pf::create_file(spec, 0, 0), pf::kDuplicateNameErr);
}

TEST_F(Files, ReadWritePositionAndLength) {
    std::string path = root + "/data";
    pf::FileSpec spec = spec_of(path);
    ASSERT_EQ(pf::create_file(spec, pf::four_cc("QRVA"), pf::four_cc("SH4P")), pf::noErr);
    int16_t ref = open(path, pf::kReadWritePermission);
    int32_t count = 10;
    ASSERT_EQ(pf::write_file(ref, count, "0123456789"), pf::noErr);
    EXPECT_EQ(count, 10);
    int32_t at = 0, length = 0;
    EXPECT_EQ(pf::get_file_position(ref, at), pf::noErr);
    EXPECT_EQ(at, 10);
    EXPECT_EQ(pf::set_file_position(ref, pf::kFromStart, 4), pf::noErr);
    char buffer[16] = {};
    count = 16;
    EXPECT_EQ(pf::read_file(ref, count, buffer), pf::kEndOfFileErr);
    EXPECT_EQ(std::string(buffer, size_t(count)), "456789");
    EXPECT_EQ(pf::set_file_position(ref, pf::kFromEnd, -3), pf::noErr);
    EXPECT_EQ(pf::get_file_position(ref, at), pf::noErr);
    EXPECT_EQ(at, 7);
    EXPECT_EQ(pf::set_file_position(ref, pf::kFromStart, 99), pf::kEndOfFileErr);
    EXPECT_EQ(pf::set_file_position(ref, pf::kFromStart, -1), pf::kPositionErr);
    EXPECT_EQ(pf::set_end_of_file(ref, 3), pf::noErr);
    EXPECT_EQ(pf::get_end_of_file(ref, length), pf::noErr);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(pf::flush_file(ref), pf::noErr);
    EXPECT_EQ(read_all(path), "012");

    int16_t reader = 0;
    ASSERT_EQ(pf::open_data_fork(spec, pf::kReadPermission, reader), pf::noErr);
    count = 1;
    EXPECT_EQ(pf::write_file(reader, count, "x"), pf::kWritePermissionErr);
    EXPECT_EQ(pf::close_file(reader), pf::noErr);
    EXPECT_EQ(pf::close_file(reader), pf::kFileNotOpenErr);
    EXPECT_EQ(pf::close_file(0), pf::kBadRefNumErr);
}

TEST_F(Files, WholeFilesAreReadUpToTheirLimit) {
    std::string path = root + "/whole";
    write_all(path, "0123456789");
    std::vector<uint8_t> bytes{1, 2, 3};
    EXPECT_EQ(pf::read_whole_file(spec_of(path), 10, bytes), pf::noErr);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0123456789");
    EXPECT_EQ(pf::read_whole_file(spec_of(path), 9, bytes), pf::kFileTooLongErr);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(pf::read_whole_file(spec_of(root + "/missing"), 10, bytes), pf::kFileNotFoundErr);

    // From the start, wherever the open file stood; and the file is left open.
    int16_t ref = open(path, pf::kReadPermission);
    ASSERT_EQ(pf::set_file_position(ref, pf::kFromStart, 6), pf::noErr);
    EXPECT_EQ(pf::read_whole_fork(ref, 100, bytes), pf::noErr);
    EXPECT_EQ(bytes.size(), 10u);
    write_all(path, "");
    EXPECT_EQ(pf::read_whole_fork(ref, 100, bytes), pf::noErr);
    EXPECT_TRUE(bytes.empty());
}

TEST_F(Files, OpeningsHonourWriteAccessAndDenyModes) {
    std::string path = root + "/shared";
    write_all(path, "abc");
    pf::FileSpec spec = spec_of(path);
    int16_t writer = open(path, pf::kReadWritePermission);
    int16_t other = 0;
    EXPECT_EQ(pf::open_data_fork(spec, pf::kReadWritePermission, other), pf::kOpenForWriteErr);
    EXPECT_EQ(other, writer);
    EXPECT_EQ(pf::open_data_fork(spec, pf::kReadPermission | pf::kDenyWrite, other), pf::kPermissionErr);
    int16_t reader = open(path, pf::kReadPermission);
    EXPECT_NE(reader, writer);
    EXPECT_EQ(pf::delete_file(spec), pf::kFileBusyErr);

    std::string second = root + "/shared2";
    write_all(second, "abc");
    pf::FileSpec spec2 = spec_of(second);
    open(second, pf::kSharedReadWritePermission);
    open(second, pf::kSharedReadWritePermission);
    int16_t denied = 0;
    EXPECT_EQ(pf::open_data_fork(spec2, pf::kReadPermission | pf::kDenyRead, denied), pf::kPermissionErr);

    EXPECT_EQ(pf::open_data_fork(spec_of(root + "/missing"), pf::kReadPermission, denied),
              pf::kFileNotFoundErr);
}

// What a user who may not write a read-only file meets; the failures, one a line.
std::string locked_file_failures(const std::string& path) {
    std::string failures;
    auto check = [&](bool ok, const char* what) {
        if (!ok) failures += std::string(what) + "\n";
    };
    pf::FileSpec spec;
    pf::file_spec_from_path(path, spec);
    check(pf::check_object_lock(spec) == pf::kFileLockedErr, "not reported locked");
    int16_t ref = 0;
    check(pf::open_data_fork(spec, pf::kReadWritePermission, ref) == pf::kPermissionErr, "opened for writing");
    if (pf::open_data_fork(spec, pf::kCurrentPermission, ref) != pf::noErr) return failures + "not opened to read\n";
    int32_t count = 1;
    check(pf::write_file(ref, count, "x") == pf::kWritePermissionErr, "written through a read-only opening");
    pf::close_file(ref);
    return failures;
}

// Runs `checks` in a child process as the unprivileged user "nobody" when this
// one runs as root, who may write anything; answers what the checks reported.
std::string as_unprivileged_user(std::string (*checks)(const std::string&), const std::string& argument) {
    if (geteuid() != 0) return checks(argument);
    constexpr uid_t kNobody = 65534;
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return "no pipe";
    pid_t child = fork();
    if (child == 0) {
        close(pipe_ends[0]);
        std::string failures = setgid(kNobody) == 0 && setuid(kNobody) == 0 ? checks(argument) : "cannot drop to nobody\n";
        ssize_t written = write(pipe_ends[1], failures.data(), failures.size());
        _exit(written == ssize_t(failures.size()) ? 0 : 1);
    }
    close(pipe_ends[1]);
    std::string failures;
    char buffer[256];
    for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) failures.append(buffer, size_t(n));
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? failures : failures + "the child failed\n";
}

TEST_F(Files, LockedFilesAndReadOnlyOpenings) {
    std::string path = root + "/locked";
    write_all(path, "keep");
    chmod(path.c_str(), 0444);
    chmod(root.c_str(), 0755);  // reachable by an unprivileged user
    EXPECT_EQ(as_unprivileged_user(locked_file_failures, path), "");
    EXPECT_EQ(read_all(path), "keep");
}

TEST_F(Files, ExchangeSwapsContentsAndRefsFollowThem) {
    std::string doc = root + "/doc.qrv", temp = root + "/doc.tmp";
    write_all(doc, "old contents");
    write_all(temp, "new contents, longer");
    int16_t ref = open(temp, pf::kReadPermission);
    ASSERT_EQ(pf::exchange_files(spec_of(temp), spec_of(doc)), pf::noErr);
    EXPECT_EQ(read_all(doc), "new contents, longer");
    EXPECT_EQ(read_all(temp), "old contents");
    pf::FileSpec where;
    ASSERT_EQ(pf::get_file_spec_of_ref(ref, where), pf::noErr);
    EXPECT_EQ(spec_text(where), "doc.qrv");

    EXPECT_EQ(pf::exchange_files(spec_of(root + "/nothing"), spec_of(doc)), pf::kFileNotFoundErr);
    EXPECT_EQ(read_all(doc), "new contents, longer");
}

// Runs `exchanges` while another thread keeps reading `doc`; answers how many
// reads saw neither the old nor the new contents whole.
template <typename Exchanges>
int partial_reads_during(const std::string& doc, const std::string& old_text, const std::string& new_text,
                         Exchanges exchanges) {
    std::atomic<bool> done{false};
    std::atomic<int> bad{0};
    std::thread reader([&] {
        while (!done) {
            std::string seen = read_all(doc);
            if (seen != old_text && seen != new_text) ++bad;
        }
    });
    exchanges();
    done = true;
    reader.join();
    return bad.load();
}

TEST_F(Files, ExchangeNeverShowsAPartialFile) {
    std::string doc = root + "/doc.qrv", temp = root + "/temp";
    const std::string old_text(3000, 'o'), new_text(5000, 'n');
    write_all(doc, old_text);
    write_all(temp, new_text);
    pf::FileSpec a = spec_of(doc), b = spec_of(temp);
    int bad = partial_reads_during(doc, old_text, new_text, [&] {
        for (int i = 0; i < 300; ++i) ASSERT_EQ(pf::exchange_files(a, b), pf::noErr);
    });
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(read_all(doc), old_text);  // an even number of exchanges
}

TEST_F(Files, ExchangeByLinksKeepsTheTargetWhole) {
    std::string doc = root + "/doc.qrv", temp = root + "/temp";
    const std::string old_text(2000, 'o'), new_text(4000, 'n');
    write_all(doc, old_text);
    write_all(temp, new_text);
    int bad = partial_reads_during(doc, old_text, new_text, [&] {
        for (int i = 0; i < 100; ++i) ASSERT_EQ(pf::files_detail::exchange_by_links(temp, doc), pf::noErr);
    });
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(read_all(doc), old_text);
    EXPECT_EQ(read_all(temp), new_text);
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 2);  // no leftovers
}

// Writing over a file in place keeps its inode, and so its other names; a
// write cut short (here by a limit on file sizes) answers the error and leaves
// nothing beside the file.
TEST_F(Files, WritingOverAFileKeepsItsNamesAndReportsAShortWrite) {
    std::string doc = root + "/doc.csv", other = root + "/other name.csv", temp = root + "/.doc.csv.saving";
    write_all(doc, std::string(3000, 'o'));
    ASSERT_EQ(link(doc.c_str(), other.c_str()), 0);
    write_all(temp, std::string(5000, 'n'));
    ASSERT_EQ(pf::write_over(spec_of(temp), spec_of(doc)), pf::noErr);
    EXPECT_EQ(read_all(other), std::string(5000, 'n'));
    write_all(temp, "short");
    ASSERT_EQ(pf::write_over(spec_of(temp), spec_of(doc)), pf::noErr);
    EXPECT_EQ(read_all(other), "short");

    write_all(temp, std::string(200000, 'n'));
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(pf::write_over(spec_of(temp), spec_of(doc)) == pf::noErr ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);  // the write failed
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 3);  // nothing left aside
}

// A private file is its owner's alone whatever the process's mask; moving a
// file over another leaves one file under the name.
TEST_F(Files, PrivateFilesAndMovingOver) {
    const mode_t mask = umask(0);
    ASSERT_EQ(pf::create_private_file(spec_of(root + "/private"), 0, 0), pf::noErr);
    umask(mask);
    struct stat st;
    ASSERT_EQ(stat((root + "/private").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    write_all(root + "/doc", "old");
    write_all(root + "/new", "new");
    ASSERT_EQ(pf::move_over(spec_of(root + "/new"), spec_of(root + "/doc")), pf::noErr);
    EXPECT_EQ(read_all(root + "/doc"), "new");
    EXPECT_FALSE(fs::exists(root + "/new"));
    fs::create_directory(root + "/elsewhere");
    write_all(root + "/elsewhere/other", "other");
    EXPECT_NE(pf::move_over(spec_of(root + "/elsewhere/other"), spec_of(root + "/doc")), pf::noErr);
    EXPECT_EQ(read_all(root + "/doc"), "new");
}

// A replacing file takes the mode and group of the file it replaces; a
// symbolic link is followed to the file it leads to.
TEST_F(Files, ReplacementsTakeAccessAndFollowLinks) {
    std::string doc = root + "/doc.csv", temp = root + "/temp", link_path = root + "/link.csv";
    write_all(doc, "d");
    write_all(temp, "t");
    ASSERT_EQ(chmod(doc.c_str(), 0640), 0);
    ASSERT_EQ(chmod(temp.c_str(), 0644), 0);
    if (geteuid() == 0) ASSERT_EQ(chown(doc.c_str(), 4321, 4322), 0);
    ASSERT_EQ(pf::copy_access(spec_of(doc), spec_of(temp)), pf::noErr);
    struct stat d, t;
    ASSERT_EQ(stat(doc.c_str(), &d), 0);
    ASSERT_EQ(stat(temp.c_str(), &t), 0);
    EXPECT_EQ(t.st_mode & 07777, 0640u);
    EXPECT_EQ(t.st_gid, d.st_gid);
    EXPECT_EQ(t.st_uid, d.st_uid);

    ASSERT_EQ(symlink("doc.csv", link_path.c_str()), 0);
    pf::FileSpec followed;
    ASSERT_EQ(pf::follow_links(spec_of(link_path), followed), pf::noErr);
    EXPECT_EQ(spec_text(followed), "doc.csv");
    ASSERT_EQ(pf::follow_links(spec_of(doc), followed), pf::noErr);
    EXPECT_EQ(spec_text(followed), "doc.csv");
    int names = 0;
    ASSERT_EQ(pf::count_names(spec_of(link_path), names), pf::noErr);
    EXPECT_EQ(names, 1);
}

TEST_F(Files, DeleteAndRenameCarryTheResourceSidecar) {
    std::string path = root + "/prefs";
    write_all(path, "p");
    write_all(pf::resource_sidecar_path(path), "r");
    EXPECT_EQ(pf::resource_sidecar_path(path), root + "/.prefs.rsrc");
    ASSERT_EQ(pf::rename_file(spec_of(path), PName("renamed").bytes), pf::noErr);
    EXPECT_TRUE(fs::exists(root + "/.renamed.rsrc"));
    write_all(root + "/taken", "t");
    EXPECT_EQ(pf::rename_file(spec_of(root + "/renamed"), PName("taken").bytes), pf::kDuplicateNameErr);
    ASSERT_EQ(pf::delete_file(spec_of(root + "/renamed")), pf::noErr);
    EXPECT_FALSE(fs::exists(root + "/.renamed.rsrc"));
    EXPECT_EQ(pf::delete_file(spec_of(root + "/renamed")), pf::kFileNotFoundErr);
    fs::create_directory(root + "/full");
    write_all(root + "/full/x", "x");
    EXPECT_EQ(pf::delete_file(spec_of(root + "/full")), pf::kFileBusyErr);
}

TEST_F(Files, TypeAndCreatorFromTheExtendedAttribute) {
    std::string path = root + "/plain";
    write_all(path, "hello");
    if (setxattr(path.c_str(), "user.probe", "1", 1, 0) != 0) GTEST_SKIP() << "no user attributes here";
    pf::FinderInfo info{pf::four_cc("SYLK"), pf::four_cc("XCEL"), pf::kFinderFlagStationery};
    ASSERT_EQ(pf::set_finder_info(spec_of(path), info), pf::noErr);
    pf::FinderInfo back;
    ASSERT_EQ(pf::get_finder_info(spec_of(path), back), pf::noErr);
    EXPECT_EQ(back.type, pf::four_cc("SYLK"));
    EXPECT_EQ(back.creator, pf::four_cc("XCEL"));
    EXPECT_EQ(back.flags, pf::kFinderFlagStationery);

    pf::FileSpec created = spec_of(root + "/made");
    ASSERT_EQ(pf::create_file(created, pf::four_cc("QRVA"), pf::four_cc("Qref")), pf::noErr);
    ASSERT_EQ(pf::get_finder_info(created, back), pf::noErr);
    EXPECT_EQ(back.type, pf::four_cc("Qref"));
}

TEST_F(Files, TypeAndCreatorDerivedFromNameAndContents) {
    const unsigned char current[] = {0xFF, 0xFF, 0x04, 0x05, 0, 0};   // version 1029
    const unsigned char older[] = {0xFF, 0xFF, 0x03, 0x00};           // version 768
    const unsigned char future[] = {0xFF, 0xFF, 0x04, 0x06};          // version 1030
    const unsigned char sylk[] = {'I', 'D', ';', 'P'};
    auto derive = [](std::string_view name, const unsigned char* head, size_t n) {
        pf::FinderInfo i = pf::derive_finder_info(name, head, n);
        return std::pair{i.type, i.creator};
    };
    const auto native = std::pair{pf::four_cc("SH4P"), pf::four_cc("QRVA")};
    EXPECT_EQ(derive("anything", current, sizeof current), native);
    EXPECT_EQ(derive("x", older, sizeof older), std::pair(pf::four_cc("SHIP"), pf::four_cc("QRVA")));
    EXPECT_EQ(derive("x", future, sizeof future).first, 0u);
    EXPECT_EQ(derive("Book.QRV", nullptr, 0), native);
    EXPECT_EQ(derive("data", sylk, sizeof sylk).first, pf::four_cc("TEXT"));
    for (const char* name : {"a.txt", "a.CSV", "a.tab", "a.sylk"})
        EXPECT_EQ(derive(name, nullptr, 0).first, pf::four_cc("TEXT")) << name;
    EXPECT_EQ(derive(".txt", nullptr, 0).first, 0u);  // an extension needs a name before it
    EXPECT_EQ(derive("picture.png", nullptr, 0).first, 0u);

    std::string hidden = root + "/.notes.txt";
    write_all(hidden, "n");
    pf::FinderInfo info;
    ASSERT_EQ(pf::get_finder_info(spec_of(hidden), info), pf::noErr);
    EXPECT_EQ(info.type, pf::four_cc("TEXT"));
    EXPECT_TRUE(info.flags & pf::kFinderFlagInvisible);
}

TEST(FileErrors, PosixErrorsMapToPlatformNumbers) {
    const std::pair<int, pf::OSErr> table[] = {
        {0, 0},         {ENOENT, -43}, {ENOTDIR, -120}, {EEXIST, -48},  {ENOTEMPTY, -47},
        {EBUSY, -47},   {EACCES, -5000}, {EPERM, -54},  {EROFS, -44},   {ENOSPC, -34},
        {EDQUOT, -34},  {EMLINK, -33}, {EMFILE, -42},   {ENFILE, -42},  {ENAMETOOLONG, -37},
        {EINVAL, -50},  {EBADF, -51},  {ESPIPE, -40},   {ENODEV, -35},  {EUCLEAN, -60},
        {ENOMEM, -108}, {EIO, -36},    {12345, -36},
    };
    for (auto [posix, platform] : table) EXPECT_EQ(pf::error_from_errno(posix), platform) << posix;
}

TEST_F(Files, FoldersListInNameOrderWithoutSidecars) {
    for (const char* name : {"b.txt", "a.qrv", "c"}) write_all(root + "/" + name, name);
    write_all(pf::resource_sidecar_path(root + "/a.qrv"), "fork");
    fs::create_directory(root + "/sub");
    uint32_t folder = 0;
    ASSERT_EQ(pf::folder_id_from_path(root, folder), pf::noErr);

    std::vector<std::string> names;
    pf::CatalogInfo info;
    pf::FileSpec spec;
    for (int i = 1; pf::get_catalog_info_by_index(pf::kSystemVolume, folder, i, info, &spec) == pf::noErr; ++i) {
        names.push_back(std::string(reinterpret_cast<char*>(info.name + 1), info.name[0]));
        EXPECT_EQ(info.parent, folder);
        EXPECT_EQ(uint32_t(spec.parent), folder);
        if (names.back() == "a.qrv") {
            EXPECT_EQ(info.resource_length, 4);
            EXPECT_EQ(info.finder.type, pf::four_cc("SH4P"));
        }
        if (names.back() == "sub") {
            EXPECT_TRUE(info.is_folder);
            std::string sub;
            ASSERT_EQ(pf::path_from_folder_id(pf::kSystemVolume, info.folder_id, sub), pf::noErr);
            EXPECT_EQ(sub, root + "/sub");
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a.qrv", "b.txt", "c", "sub"}));
    EXPECT_EQ(pf::get_catalog_info_by_index(pf::kSystemVolume, folder, 9, info, nullptr), pf::kFileNotFoundErr);
    ASSERT_EQ(pf::get_catalog_info(spec_of(root), info), pf::noErr);
    EXPECT_EQ(info.item_count, 4u);
    EXPECT_EQ(info.folder_id, folder);
}

class FilesWithHome : public Files {
protected:
    void SetUp() override {
        Files::SetUp();
        saved_config = getenv_or_empty("XDG_CONFIG_HOME");
        saved_data = getenv_or_empty("XDG_DATA_HOME");
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    }
    void TearDown() override {
        restore("XDG_CONFIG_HOME", saved_config);
        restore("XDG_DATA_HOME", saved_data);
        Files::TearDown();
    }
    static std::string getenv_or_empty(const char* name) {
        const char* v = std::getenv(name);
        return v ? v : "";
    }
    static void restore(const char* name, const std::string& value) {
        if (value.empty()) unsetenv(name);
        else setenv(name, value.c_str(), 1);
    }
    std::string path_of_folder(pf::FolderKind kind) {
        int16_t volume = 0;
        uint32_t folder = 0;
        std::string path;
        EXPECT_EQ(pf::find_folder(kind, true, volume, folder), pf::noErr);
        EXPECT_EQ(pf::path_from_folder_id(volume, folder, path), pf::noErr);
        return path;
    }
    std::string saved_config, saved_data;
};

TEST_F(FilesWithHome, SpecialFolders) {
    int16_t volume = 0;
    uint32_t folder = 0;
    EXPECT_EQ(pf::find_folder(pf::FolderKind::preferences, false, volume, folder), pf::kFileNotFoundErr);
    EXPECT_EQ(path_of_folder(pf::FolderKind::preferences), root + "/config");
    EXPECT_EQ(path_of_folder(pf::FolderKind::trash), root + "/data/Trash/files");
    EXPECT_TRUE(fs::is_directory(root + "/data/Trash/info"));
    std::string temp = path_of_folder(pf::FolderKind::temporary_items);
    struct stat st;
    ASSERT_EQ(stat(temp.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    pf::FileSpec quorvin;
    pf::find_folder(pf::FolderKind::preferences, false, volume, folder);
    ASSERT_EQ(pf::make_file_spec(volume, folder, PName("Quorvin").bytes, quorvin), pf::kFileNotFoundErr);
    uint32_t made = 0;
    ASSERT_EQ(pf::create_folder(quorvin, made), pf::noErr);
    EXPECT_EQ(pf::create_folder(quorvin, made), pf::kDuplicateNameErr);
    uint32_t again = 0;
    EXPECT_EQ(pf::folder_id_of_spec(quorvin, again), pf::noErr);
    EXPECT_EQ(again, made);
}

TEST_F(FilesWithHome, AliasesFollowRenamesMovesAndTheTrash) {
    std::string doc = root + "/report.qrv";
    write_all(doc, "doc");
    std::vector<uint8_t> alias;
    ASSERT_EQ(pf::new_alias(spec_of(doc), alias), pf::noErr);
    pf::FileSpec target;
    bool changed = true;
    ASSERT_EQ(pf::resolve_alias(alias.data(), alias.size(), target, changed), pf::noErr);
    EXPECT_FALSE(changed);
    EXPECT_EQ(spec_text(target), "report.qrv");

    fs::rename(doc, root + "/renamed.qrv");  // renamed in its folder
    ASSERT_EQ(pf::resolve_alias(alias.data(), alias.size(), target, changed), pf::noErr);
    EXPECT_TRUE(changed);
    EXPECT_EQ(spec_text(target), "renamed.qrv");

    int16_t ref = open(root + "/renamed.qrv", pf::kReadPermission);  // open here, moved elsewhere
    fs::create_directory(root + "/elsewhere");
    fs::rename(root + "/renamed.qrv", root + "/elsewhere/moved.qrv");
    ASSERT_EQ(pf::resolve_alias(alias.data(), alias.size(), target, changed), pf::noErr);
    EXPECT_TRUE(changed);
    std::string path;
    pf::path_from_file_spec(target, path);
    EXPECT_EQ(path, root + "/elsewhere/moved.qrv");
    pf::close_file(ref);
    open_refs.clear();

    std::string trash = path_of_folder(pf::FolderKind::trash);
    fs::rename(root + "/elsewhere/moved.qrv", trash + "/moved.qrv");
    ASSERT_EQ(pf::resolve_alias(alias.data(), alias.size(), target, changed), pf::noErr);
    EXPECT_TRUE(changed);
    uint32_t trash_id = 0;
    pf::folder_id_from_path(trash, trash_id);
    EXPECT_EQ(uint32_t(target.parent), trash_id);

    fs::remove(trash + "/moved.qrv");
    write_all(doc, "a new file under the old name");
    ASSERT_EQ(pf::resolve_alias(alias.data(), alias.size(), target, changed), pf::noErr);
    EXPECT_FALSE(changed);
    EXPECT_EQ(spec_text(target), "report.qrv");
    fs::remove(doc);
    EXPECT_EQ(pf::resolve_alias(alias.data(), alias.size(), target, changed), pf::kFileNotFoundErr);
}

TEST(FileAliases, DamagedAliasesAreRefused) {
    pf::FileSpec target;
    bool changed;
    std::vector<uint8_t> good;
    ASSERT_EQ(pf::new_alias(pf::FileSpec{}, good), pf::noErr);  // the working folder itself
    std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
    std::vector<uint8_t> wrong_magic = good;
    wrong_magic[0] = 'X';
    std::vector<uint8_t> too_short(good.begin(), good.begin() + 10);
    for (const auto* bad : {&truncated, &wrong_magic, &too_short})
        EXPECT_EQ(pf::resolve_alias(bad->data(), bad->size(), target, changed), pf::kParamErr);
    EXPECT_EQ(pf::resolve_alias(nullptr, 0, target, changed), pf::kParamErr);
}

TEST_F(Files, FolderRegistryKeepsIdsAcrossRuns) {
    std::string registry = root + "/folders";
    fs::create_directory(root + "/kept");
    write_all(registry, "0badf00d\t" + root + "/from-an-earlier-run\nnot a line\n");
    fs::create_directory(root + "/from-an-earlier-run");
    pf::set_folder_registry(registry);
    std::string path;
    EXPECT_EQ(pf::path_from_folder_id(pf::kSystemVolume, 0x0badf00d, path), pf::noErr);
    EXPECT_EQ(path, root + "/from-an-earlier-run");
    uint32_t id = 0;
    ASSERT_EQ(pf::folder_id_from_path(root + "/kept", id), pf::noErr);
    pf::set_folder_registry("");
    EXPECT_NE(read_all(registry).find(root + "/kept\n"), std::string::npos);
}

}  // namespace
