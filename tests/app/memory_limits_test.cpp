// The whole program opening a million cells with its address space limited:
// as CSV, SYLK and an Excel workbook, at a few limits, it shows the document
// or the alert that memory is short within 20 seconds, and stays in use
// (memory_limits.bash runs it under Xvfb; by hand it takes any limits).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/excel/excel_samples.h"

namespace {

constexpr int kRows = 25000, kColumns = 40;

void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string number_text() {
    std::string text;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) text += std::to_string(row * kColumns + column) + ".5,";
        text.back() = '\n';
    }
    return text;
}

int exit_status(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WholeProgramUnderMemoryLimits, AMillionCellsOpenOrMemoryIsSaidToBeShort) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address checker reserves more address space than any limit";
#endif
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("quorvin_memory_limits_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    write_file(folder / "million.csv", number_text());
    ASSERT_EQ(exit_status(std::string(SHEETCONV_PATH) + " " + (folder / "million.csv").string() + " " +
                          (folder / "million.slk").string()),
              0);
    const std::vector<uint8_t> workbook = biff::number_grid(kRows, kColumns);
    write_file(folder / "million.xls", std::string(workbook.begin(), workbook.end()));
    const std::string command = std::string("bash ") + QUORVIN_SOURCE_DIR + "/tests/app/memory_limits.bash " +
                                QUORVIN_BINARY_DIR + "/quorvin " + QUORVIN_BINARY_DIR + " 98 126 154 -- " +
                                (folder / "million.csv").string() + " " + (folder / "million.slk").string() + " " +
                                (folder / "million.xls").string();
    const int status = exit_status(command);
    std::filesystem::remove_all(folder);
    if (status == 77) GTEST_SKIP() << "a tool of the whole-program checks is missing";
    EXPECT_EQ(status, 0);
}

}  // namespace
