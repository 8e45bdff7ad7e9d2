// helpgen FUNCTIONS OUT: writes the function guide page from the authored
// descriptions in FUNCTIONS, after checking them against the function table.
// Exit status 1, with the faults on stderr, when they do not fit the table.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "tools/helpgen/function_guide.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: helpgen FUNCTIONS OUT\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "helpgen: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> errors;
    const std::vector<GuideEntry> entries = read_guide_entries(in, errors);
    for (const std::string& error : check_guide_entries(entries, worksheet_functions())) errors.push_back(error);
    for (const std::string& error : errors) std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    if (!errors.empty()) return 1;
    std::ofstream out(argv[2], std::ios::binary);
    out << function_guide_html(entries);
    return out.good() ? 0 : 1;
}
