// A save killed at any moment leaves the document whole, old or new, with its
// type; what the killed saves left behind is gone after the next one.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "tests/files/document_fixture.h"

namespace {

class InterruptedSaves : public DocumentTest {
protected:
    pid_t start_conversion(const std::string& in, const std::string& out) {
        pid_t child = fork();
        if (child == 0) {
            freopen("/dev/null", "w", stderr);
            execl(SHEETCONV_PATH, SHEETCONV_PATH, in.c_str(), out.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return child;
    }

    int finish(pid_t child) {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    pf::FourCC type_of(const std::string& name) {
        pf::FinderInfo info;
        return pf::get_finder_info(spec(name), info) == pf::noErr ? info.type : 0;
    }

    std::vector<std::string> names_in_folder() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(InterruptedSaves, TheDocumentIsAlwaysWholeOldOrNewAndNothingIsLeftAfterTheNextSave) {
    MemoryRef big = sample::new_workbook();
    sample::fill_numbers(sample::new_layer(big), 300000);
    ASSERT_EQ(save(big, "In.qrv"), 0);
    MemoryRef small = sample::rich_workbook(1);
    ASSERT_EQ(save(small, "Out.qrv"), 0);
    const std::vector<uint8_t> old_bytes = bytes_of("Out.qrv");

    // One whole conversion gives the new document and how long a run takes.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(finish(start_conversion(path("In.qrv"), path("Out.qrv"))), 0);
    const auto whole_run = std::chrono::steady_clock::now() - started;
    const std::vector<uint8_t> new_bytes = bytes_of("Out.qrv");
    ASSERT_NE(new_bytes, old_bytes);

    std::mt19937 random(20261207);
    std::vector<pid_t> killed;
    for (int round = 0; round < 12; ++round) {
        write_bytes("Out.qrv", old_bytes);
        settle_type_and_creator(spec("Out.qrv"), kFormatNative);
        const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(whole_run) *
                           std::uniform_real_distribution<double>(0.2, 1.1)(random);
        pid_t child = start_conversion(path("In.qrv"), path("Out.qrv"));
        std::this_thread::sleep_for(delay);
        kill(child, SIGKILL);
        finish(child);
        killed.push_back(child);
        const std::vector<uint8_t> now = bytes_of("Out.qrv");
        EXPECT_TRUE(now == old_bytes || now == new_bytes) << "round " << round << ": " << now.size() << " bytes";
        EXPECT_EQ(type_of("Out.qrv"), kDocumentType) << "round " << round;
    }

    ASSERT_EQ(finish(start_conversion(path("In.qrv"), path("Out.qrv"))), 0);
    EXPECT_EQ(bytes_of("Out.qrv"), new_bytes);
    EXPECT_EQ(names_in_folder(), (std::vector<std::string>{"In.qrv", "Out.qrv"}));
    for (pid_t pid : killed) {
        const std::string prefix = "sheetconv-" + std::to_string(pid) + "-";
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
            EXPECT_NE(entry.path().filename().string().rfind(prefix, 0), 0u) << entry.path();
    }
}

}  // namespace
