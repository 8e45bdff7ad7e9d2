// The sender's own checks: its options, and what it says when no answer comes.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct SenderRun {
    int status = -1;
    std::string errors;
};

std::filesystem::path test_folder() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = std::filesystem::path(QUORVIN_BINARY_DIR) / "qvsend_tests" / test->name();
    std::filesystem::create_directories(folder);
    return folder;
}

// Runs qvsend with the options before a get of A1 through the socket.
SenderRun run_sender(const std::filesystem::path& socket, const std::string& options) {
    const std::filesystem::path errors = test_folder() / "errors.txt";
    const std::string command = std::string(QVSEND_PATH) + " --socket " + socket.string() + " " + options +
                                " get 'value of cell A1 of document 1' > /dev/null 2> " + errors.string();
    SenderRun run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    run.errors = text.str();
    return run;
}

// A socket that takes connections and never answers.
class SilentListener {
public:
    explicit SilentListener(const std::filesystem::path& path) : path_(path) {
        std::filesystem::remove(path_);
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path_.c_str());
        bound_ = bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && listen(fd_, 4) == 0;
    }
    ~SilentListener() {
        close(fd_);
        std::filesystem::remove(path_);
    }
    bool bound() const { return bound_; }

private:
    std::filesystem::path path_;
    int fd_ = -1;
    bool bound_ = false;
};

TEST(Sender, ATimeoutThatIsNoWholeNumberOfSecondsIsRefusedAsSuch) {
    const std::filesystem::path socket = test_folder() / "none";
    for (const char* wrong : {"abc", "0", "-5", "2x", "99999999999"}) {
        const SenderRun run = run_sender(socket, std::string("--timeout ") + wrong);
        EXPECT_EQ(run.status, 2) << wrong;
        EXPECT_NE(run.errors.find("the timeout is a whole number of seconds"), std::string::npos) << wrong << ": " << run.errors;
        EXPECT_EQ(run.errors.find("cannot reach"), std::string::npos) << wrong << ": " << run.errors;
    }
}

TEST(Sender, AProgramThatDoesNotAnswerInTimeIsNotCalledUnreachable) {
    const std::filesystem::path path = test_folder() / "silent";
    SilentListener listener(path);
    ASSERT_TRUE(listener.bound());
    const SenderRun run = run_sender(path, "--timeout 1");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("did not answer within the timeout of 1 s"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("cannot reach"), std::string::npos) << run.errors;
}

}  // namespace
