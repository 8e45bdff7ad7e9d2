// The converter program run from a benchmark: where it is, and its peak
// resident memory over one conversion.
#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

// The converter beside the benchmark programs' folder.
inline std::string converter_path() {
    return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "tools" / "sheetconv").string();
}

// The high-water mark in bytes of the converter's own memory while it runs:
// 0 before its exec (until then it shares this program's memory) and once it
// has ended. (Its rusage would not do: it carries this program's high-water
// mark across the exec.)
inline long converter_peak_of(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    bool converter = false;
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Name:", 0) == 0) converter = line.find("sheetconv") != std::string::npos;
        if (converter && line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6)) * 1024L;
    }
    return 0;
}

// The converter started on `in` and `out`; 0 when it cannot start.
inline pid_t start_converter(const std::string& in, const std::string& out) {
    const std::string tool = converter_path();
    char* argv[] = {const_cast<char*>(tool.c_str()), const_cast<char*>(in.c_str()), const_cast<char*>(out.c_str()),
                    nullptr};
    pid_t child = 0;
    return posix_spawn(&child, tool.c_str(), nullptr, nullptr, argv, environ) == 0 ? child : 0;
}

// Whether the converter converted `in` to `out` whole, in a process of its own.
inline bool converter_converts(const std::string& in, const std::string& out) {
    const pid_t child = start_converter(in, out);
    int status = 0;
    return child && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The converter's peak resident memory in bytes converting `in` to `out`,
// followed while it runs; 0 when it cannot run or fails.
inline long converter_peak_bytes(const std::string& in, const std::string& out) {
    const pid_t child = start_converter(in, out);
    if (!child) return 0;
    long peak = 0;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        peak = std::max(peak, converter_peak_of(child));
        usleep(500);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? peak : 0;
}
