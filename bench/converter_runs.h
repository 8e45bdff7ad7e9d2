// The converter program run from a benchmark: where it is, and its peak
// resident memory over one conversion.
#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// The converter beside the benchmark programs' folder.
inline std::string converter_path() {
    return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "tools" / "sheetconv").string();
}

// The converter's peak resident memory in bytes converting `in` to `out`;
// 0 when it cannot run or fails.
inline long converter_peak_bytes(const std::string& in, const std::string& out) {
    const std::string tool = converter_path();
    char* argv[] = {const_cast<char*>(tool.c_str()), const_cast<char*>(in.c_str()), const_cast<char*>(out.c_str()),
                    nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, tool.c_str(), nullptr, nullptr, argv, environ) != 0) return 0;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return 0;
    return usage.ru_maxrss * 1024L;
}
