// Runs the resource compiler on a source text and installs the bundle it writes.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/resources/resources.h"

struct CompileResult {
    int status = -1;
    std::string errors;  // the compiler's messages
    std::vector<uint8_t> bundle;
    std::string ids;  // the ids header
};

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Compiles `source` written as fixture.txt in a folder named after the running test;
// `options` go on the command line before the input.
inline CompileResult run_rescomp(const std::string& source, const std::string& options = "") {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder =
        std::filesystem::path(QUORVIN_BINARY_DIR) / "rescomp_tests" / (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "fixture.txt", std::ios::binary) << source;
    std::filesystem::remove(folder / "bundle.bin");
    std::filesystem::remove(folder / "ids.h");
    std::string command = std::string(RESCOMP_PATH) + " --bundle " + (folder / "bundle.bin").string() + " --ids " +
                          (folder / "ids.h").string() + " " + options + " " +
                          (folder / "fixture.txt").string() + " 2> " + (folder / "errors.txt").string();
    CompileResult result;
    int status = std::system(command.c_str());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.errors = read_file(folder / "errors.txt");
    std::string bytes = read_file(folder / "bundle.bin");
    result.bundle.assign(bytes.begin(), bytes.end());
    result.ids = read_file(folder / "ids.h");
    return result;
}

// Compiles and installs; fails the test when the compiler reports anything.
inline void install_source(const std::string& source) {
    CompileResult result = run_rescomp(source);
    ASSERT_EQ(result.status, 0) << result.errors;
    ASSERT_EQ(pf::resources_install(result.bundle.data(), result.bundle.size()), pf::noErr);
}

// Compiles a faulty source and answers the compiler's messages.
inline std::string compile_errors(const std::string& source, const std::string& options = "") {
    CompileResult result = run_rescomp(source, options);
    EXPECT_EQ(result.status, 1);
    return result.errors;
}
