// The preferences folder in a temporary folder, the application's resources
// and the memory manager, for the preferences and workspace tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"
#include "shell/shell_commands.h"

struct PrefsTest : ::testing::Test {
    std::string home;

    void SetUp() override {
        char pattern[] = "/tmp/quorvin-prefs-XXXXXX";
        home = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
        msMemStartup(&mem_globals, kNoCeiling);
    }

    void TearDown() override {
        msMemShutdown(&mem_globals);
        std::filesystem::remove_all(home);
    }

    std::string folder() const { return home + "/Quorvin"; }
    std::string prefs_path() const { return folder() + "/Quorvin Preferences"; }

    std::vector<uint8_t> file_bytes(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
};

inline uint16_t big_u16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }
inline uint32_t big_u32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(big_u16(b, at)) << 16 | big_u16(b, at + 2);
}
