// A harness outside libFuzzer: every input named (a file, or each file of a
// folder, in name order) goes once through the harness, as the test of its
// seeds and of the findings kept from earlier fuzzing. A folder that does not
// exist is passed over (a harness may have no findings kept); no input at all
// is a failure. A fault in the harness ends the run as it would end a fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputs_named(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path named = argv[i];
        std::error_code error;
        if (fs::is_regular_file(named, error)) {
            inputs.push_back(named);
        } else if (fs::is_directory(named, error)) {
            std::vector<fs::path> files;
            for (const fs::directory_entry& entry : fs::directory_iterator(named, error))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        }
    }
    return inputs;
}

std::vector<uint8_t> bytes_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<fs::path> inputs = inputs_named(argc, argv);
    if (inputs.empty()) {
        std::fprintf(stderr, "%s: no input among the files and folders named\n", argv[0]);
        return 1;
    }
    for (const fs::path& input : inputs) {
        std::printf("%s\n", input.c_str());
        std::fflush(stdout);  // the input that fails is the last one named
        const std::vector<uint8_t> bytes = bytes_of(input);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs ran\n", inputs.size());
    return 0;
}
