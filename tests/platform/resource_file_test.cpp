#include "platform/resources/resource_file.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "tests/platform/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr pf::FourCC kAlias = pf::four_cc("alis");

std::vector<uint8_t> bytes_of(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class ResourceFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root.empty());
        pf::file_spec_from_path(path, spec);
    }

    int16_t open(int8_t permission) {
        int16_t ref = 0;
        EXPECT_EQ(pf::resource_file_open(spec, permission, ref), pf::noErr);
        return ref;
    }
    void make_with(std::initializer_list<std::pair<int16_t, std::string_view>> items) {
        ASSERT_EQ(pf::resource_file_create(spec, pf::four_cc("QRVA"), pf::four_cc("Qref")), pf::noErr);
        int16_t ref = open(pf::kReadWritePermission);
        for (auto [id, text] : items)
            ASSERT_EQ(pf::resource_file_add(ref, kAlias, id, nullptr, text.data(), text.size()), pf::noErr);
        ASSERT_EQ(pf::resource_file_close(ref), pf::noErr);
    }

    TempFolder folder;
    const std::string root = folder.path;
    const std::string path = root + "/Quorvin Preferences";
    pf::FileSpec spec;
};

TEST_F(ResourceFiles, RoundTripInIdOrder) {
    make_with({{3, "third"}, {1, "first"}, {2, "second"}});
    EXPECT_TRUE(fs::exists(path));  // the data file was made with the fork
    EXPECT_EQ(pf::resource_file_create(spec, 0, 0), pf::kDuplicateNameErr);

    int16_t ref = open(pf::kReadPermission);
    EXPECT_EQ(pf::resource_file_count(ref, kAlias), 3);
    EXPECT_EQ(pf::resource_file_count(ref, pf::four_cc("STR#")), 0);
    std::vector<uint8_t> data;
    int16_t id = 0;
    const char* expected[] = {"first", "second", "third"};
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(pf::resource_file_get_indexed(ref, kAlias, i, id, data), pf::noErr);
        EXPECT_EQ(id, i);
        EXPECT_EQ(data, bytes_of(expected[i - 1]));
    }
    EXPECT_EQ(pf::resource_file_get_indexed(ref, kAlias, 4, id, data), pf::kResNotFoundErr);
    EXPECT_EQ(pf::resource_file_get(ref, kAlias, 9, data), pf::kResNotFoundErr);
    EXPECT_EQ(pf::resource_file_remove(ref, kAlias, 1), pf::kWritePermissionErr);
    EXPECT_EQ(pf::resource_file_close(ref), pf::noErr);
    EXPECT_EQ(pf::resource_file_count(ref, kAlias), 0);  // closed
}

TEST_F(ResourceFiles, RemovingEverythingLeavesAnEmptyFork) {
    make_with({{1, "a"}, {2, "b"}});
    int16_t ref = open(pf::kReadWritePermission);
    int16_t again = 0;
    EXPECT_EQ(pf::resource_file_open(spec, pf::kReadWritePermission, again), pf::noErr);
    EXPECT_EQ(again, ref);
    EXPECT_EQ(pf::resource_file_add(ref, kAlias, 2, nullptr, "x", 1), pf::kAddResourceFailedErr);
    while (pf::resource_file_count(ref, kAlias) > 0) {
        int16_t id;
        std::vector<uint8_t> data;
        ASSERT_EQ(pf::resource_file_get_indexed(ref, kAlias, 1, id, data), pf::noErr);
        ASSERT_EQ(pf::resource_file_remove(ref, kAlias, id), pf::noErr);
    }
    const unsigned char name[] = "\x05" "named";
    ASSERT_EQ(pf::resource_file_add(ref, pf::four_cc("STR "), 128, name, "", 0), pf::noErr);
    ASSERT_EQ(pf::resource_file_close(ref), pf::noErr);
    ref = open(pf::kReadPermission);
    EXPECT_EQ(pf::resource_file_count(ref, kAlias), 0);
    EXPECT_EQ(pf::resource_file_count(ref, pf::four_cc("STR ")), 1);
    pf::resource_file_close(ref);
    for (const auto& entry : fs::directory_iterator(root))  // no temporary sidecar left behind
        EXPECT_EQ(entry.path().string().find(".new-"), std::string::npos);
}

TEST_F(ResourceFiles, AForkNeverGrowsPastWhatCanBeReadBack) {
    make_with({});
    int16_t ref = open(pf::kReadWritePermission);
    std::vector<uint8_t> half((8u << 20) - 16, 'x');
    ASSERT_EQ(pf::resource_file_add(ref, kAlias, 1, nullptr, half.data(), half.size()), pf::noErr);
    EXPECT_EQ(pf::resource_file_add(ref, kAlias, 2, nullptr, half.data(), half.size()),
              pf::kAddResourceFailedErr);
    ASSERT_EQ(pf::resource_file_close(ref), pf::noErr);
    ref = open(pf::kReadPermission);
    EXPECT_EQ(pf::resource_file_count(ref, kAlias), 1);
    pf::resource_file_close(ref);
}

TEST_F(ResourceFiles, MissingForksAndFiles) {
    int16_t ref = 0;
    EXPECT_EQ(pf::resource_file_open(spec, pf::kReadPermission, ref), pf::kFileNotFoundErr);
    EXPECT_EQ(ref, -1);
    std::ofstream(path) << "data only";
    EXPECT_EQ(pf::resource_file_open(spec, pf::kReadPermission, ref), pf::kResFileNotFoundErr);
    EXPECT_EQ(pf::resource_file_close(1234), pf::kBadRefNumErr);
}

TEST_F(ResourceFiles, DamagedSidecarsAreRefused) {
    make_with({{1, "alias one"}, {2, "alias two"}});
    const std::string sidecar = pf::resource_sidecar_path(path);
    const std::vector<uint8_t> good = read_file(sidecar);
    auto refused = [&](const std::vector<uint8_t>& bytes) {
        write_file(sidecar, bytes);
        int16_t ref = 0;
        pf::OSErr err = pf::resource_file_open(spec, pf::kReadPermission, ref);
        if (err == pf::noErr) pf::resource_file_close(ref);
        return err == pf::kMapReadErr && ref == -1;
    };
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_TRUE(refused({good.begin(), good.begin() + n})) << "cut to " << n;
    auto with = [&](size_t at, uint8_t value) {
        auto bad = good;
        bad[at] = value;
        return bad;
    };
    EXPECT_TRUE(refused(with(0, 'X')));   // magic
    EXPECT_TRUE(refused(with(5, 2)));     // version
    EXPECT_TRUE(refused(with(7, 3)));     // more entries than there are
    EXPECT_TRUE(refused(with(16, 0xFF))); // first entry's name longer than the file
    auto trailing = good;
    trailing.push_back(0);
    EXPECT_TRUE(refused(trailing));
    // The second entry starts at 8 + 22; its id's low byte is at 35.
    auto duplicate = with(35, 1);
    EXPECT_TRUE(refused(duplicate));

    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        auto noisy = good;
        for (int k = 0; k < 3; ++k) noisy[random() % noisy.size()] = uint8_t(random());
        write_file(sidecar, noisy);
        int16_t ref = 0;
        if (pf::resource_file_open(spec, pf::kReadPermission, ref) == pf::noErr)
            pf::resource_file_close(ref);
    }
    write_file(sidecar, good);
    int16_t ref = open(pf::kReadPermission);
    EXPECT_EQ(pf::resource_file_count(ref, kAlias), 2);
    pf::resource_file_close(ref);
}

}  // namespace
