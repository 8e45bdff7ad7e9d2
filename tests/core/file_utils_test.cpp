#include "core/file_utils.h"
#include "ui/port_utils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../platform/temp_folder.h"
#include "platform/system/system.h"

namespace {

void pstr(unsigned char* out, const char* text) {
    out[0] = uint8_t(std::strlen(text));
    std::memcpy(out + 1, text, out[0]);
}

struct FileUtils : ::testing::Test {
    TempFolder folder;
    pf::FileSpec spec_of(const std::string& name) {
        pf::FileSpec spec;
        pf::file_spec_from_path(folder.path + "/" + name, spec);
        return spec;
    }
};

}  // namespace

TEST(FileExtension, ComparesLettersWithoutCaseAndNeedsANameBeforeIt) {
    unsigned char name[64], ext[16];
    pstr(name, "a.txt");
    pstr(ext, ".TXT");
    EXPECT_EQ(HasFileExtension(name, ext), 1);
    pstr(name, ".txt");
    pstr(ext, ".txt");
    EXPECT_EQ(HasFileExtension(name, ext), 0);
    pstr(ext, "");
    EXPECT_EQ(HasFileExtension(name, ext), 1);
    pstr(name, "");
    EXPECT_EQ(HasFileExtension(name, ext), 0);
    pstr(name, "table.csv");
    pstr(ext, ".txt");
    EXPECT_EQ(HasFileExtension(name, ext), 0);
}

TEST_F(FileUtils, TemporaryFilesMadeInTheSameSecondGetDistinctNames) {
    pf::fix_current_date_time(3000000000u);
    pf::FileSpec first = spec_of("x"), second = spec_of("x");
    int16_t ref1 = 0, ref2 = 0;
    ASSERT_EQ(create_temp_spec(&first, &ref1), pf::noErr);
    ASSERT_EQ(create_temp_spec(&second, &ref2), pf::noErr);
    pf::unfix_current_date_time();
    EXPECT_NE(std::string(reinterpret_cast<char*>(first.name + 1), first.name[0]),
              std::string(reinterpret_cast<char*>(second.name + 1), second.name[0]));
    EXPECT_EQ(SameFile(&first, &second), 0);
    pf::FinderInfo info;
    ASSERT_EQ(pf::get_finder_info(first, info), pf::noErr);
    EXPECT_EQ(info.type, pf::four_cc("trsh"));
    pf::close_file(ref1);
    pf::close_file(ref2);
}

TEST_F(FileUtils, SameFileIsTheSameItemOnDisk) {
    std::ofstream(folder.path + "/Budget.qrv") << "a";
    std::ofstream(folder.path + "/budget.qrv") << "b";
    pf::FileSpec upper = spec_of("Budget.qrv"), lower = spec_of("budget.qrv"), again = spec_of("Budget.qrv");
    EXPECT_EQ(SameFile(&upper, &again), 1);
    EXPECT_EQ(SameFile(&upper, &lower), 0);
    pf::FileSpec marked = spec_of("R\xC3\xA9sum\xC3\xA9.qrv"), plain = spec_of("Resume.qrv");
    EXPECT_EQ(SameFile(&marked, &plain), 0);
}

TEST_F(FileUtils, CopyForkCopiesEveryByteWhateverTheBuffer) {
    std::vector<char> bytes(5000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7);
    std::ofstream(folder.path + "/from", std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    for (int32_t buffer_size : {1000, 4096, 100}) {
        pf::FileSpec from = spec_of("from"), to = spec_of("to");
        pf::delete_file(to);
        ASSERT_EQ(pf::create_file(to, 0, 0), pf::noErr);
        int16_t source = 0, destination = 0;
        ASSERT_EQ(pf::open_data_fork(from, pf::kReadPermission, source), pf::noErr);
        ASSERT_EQ(pf::open_data_fork(to, pf::kReadWritePermission, destination), pf::noErr);
        std::vector<char> buffer(static_cast<size_t>(buffer_size));
        EXPECT_EQ(CopyFork(source, destination, buffer.data(), buffer_size), pf::noErr);
        pf::close_file(source);
        pf::close_file(destination);
        std::ifstream copied(folder.path + "/to", std::ios::binary);
        std::vector<char> back((std::istreambuf_iterator<char>(copied)), std::istreambuf_iterator<char>());
        EXPECT_EQ(back, bytes) << "buffer of " << buffer_size;
    }
    int16_t any = 0;
    EXPECT_EQ(CopyFork(any, any, nullptr, 10), pf::kParamErr);
}

TEST_F(FileUtils, PathsOfFilesAndFolders) {
    pf::FileSpec file = spec_of("notes.txt");
    char cpath[256];
    EXPECT_EQ(cstr_path(&file, cpath), pf::noErr);
    EXPECT_EQ(std::string(cpath), folder.path + "/notes.txt");
    unsigned char ppath[256];
    uint32_t id = 0;
    ASSERT_EQ(pf::folder_id_from_path(folder.path, id), pf::noErr);
    EXPECT_EQ(PathNameFromDirID(id, pf::kSystemVolume, ppath), pf::noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(ppath + 1), ppath[0]), folder.path + "/");
    EXPECT_NE(PathNameFromDirID(0x7FFF1234, pf::kSystemVolume, ppath), pf::noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(ppath + 1), ppath[0]), "/");
}

TEST_F(FileUtils, SearchUpwardsFindsANameInAParentFolder) {
    std::filesystem::create_directories(folder.path + "/a/b");
    std::ofstream(folder.path + "/a/Main Dictionary") << "x";
    uint32_t deep = 0;
    ASSERT_EQ(pf::folder_id_from_path(folder.path + "/a/b", deep), pf::noErr);
    unsigned char name[64];
    pstr(name, "Main Dictionary");
    pf::FileSpec found;
    ASSERT_EQ(SearchDirUpwards(deep, pf::kSystemVolume, name, nullptr, &found), pf::noErr);
    std::string path;
    pf::path_from_file_spec(found, path);
    EXPECT_EQ(path, folder.path + "/a/Main Dictionary");
}

TEST(FrameworkText, NoFrameworkLoadsAndTheTextFlagsSwap) {
    void* bundle = &bundle;
    EXPECT_EQ(LoadFrameworkBundle("Carbon.framework", &bundle), kFrameworkErr);
    EXPECT_EQ(bundle, nullptr);
    int32_t before = CallQDTextFlags(2);
    EXPECT_EQ(CallQDTextFlags(before), 2);
}

TEST_F(FileUtils, OpeningWithSharingModes) {
    std::ofstream(folder.path + "/shared.txt") << "x";
    pf::FileSpec spec = spec_of("shared.txt");
    int16_t writer = 0, reader = 0, second_writer = 0;
    ASSERT_EQ(FSpOpenAware(&spec, kOpenReadWrite | kDenyOthersWrite, &writer), pf::noErr);
    EXPECT_EQ(FSpOpenAware(&spec, kOpenReadOnly, &reader), pf::noErr);
    EXPECT_NE(FSpOpenAware(&spec, kOpenReadWrite, &second_writer), pf::noErr);
    pf::close_file(writer);
    pf::close_file(reader);
    unsigned char name[64];
    pstr(name, "missing.txt");
    int16_t none = 0;
    EXPECT_EQ(HOpenAware(spec.volume, spec.parent, name, kOpenReadOnly, &none), pf::kFileNotFoundErr);
    pf::FileSpec job = spec;
    EXPECT_EQ(FindJobFile(spec.volume, spec.parent, &job), 0);
    EXPECT_EQ(FindJobFile(spec.volume, 0x7FFF0001, &job), -1);
}

namespace {
int files_seen = 0;
pf::OSErr count_file(const pf::FileSpec*, const pf::CatalogInfo*, void*) {
    ++files_seen;
    return 1;
}
}  // namespace

TEST_F(FileUtils, SearchDownVisitsEveryFileOfTheTree) {
    std::filesystem::create_directories(folder.path + "/a/b");
    for (const char* name : {"/one", "/a/two", "/a/b/three"}) std::ofstream(folder.path + name) << "x";
    uint32_t top = 0;
    ASSERT_EQ(pf::folder_id_from_path(folder.path, top), pf::noErr);
    files_seen = 0;
    stopSearch = false;
    EXPECT_EQ(SearchDirDown(top, pf::kSystemVolume, nullptr, count_file, nullptr), pf::kFileNotFoundErr);
    EXPECT_EQ(files_seen, 3);
}
