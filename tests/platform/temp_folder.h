// A folder of a test's own under /tmp, removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

struct TempFolder {
    std::string path;
    TempFolder() {
        char pattern[] = "/tmp/quorvin-test-XXXXXX";
        if (mkdtemp(pattern)) path = pattern;
    }
    ~TempFolder() {
        if (!path.empty()) std::filesystem::remove_all(path);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
};
