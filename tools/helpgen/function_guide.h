// The function guide: the authored description of each worksheet function
// (name | arguments | what it gives), checked against the function table and
// written as an HTML page.
#pragma once

#include <istream>
#include <span>
#include <string>
#include <vector>

#include "formula/function_table.h"

struct GuideEntry {
    std::string name;
    std::vector<std::string> arguments;  // "[x]" may be left out
    bool any_more = false;               // "..." at the end: any number more
    std::string summary;
};

// Reads the lines; '#' lines and blank lines are passed over. A line that is
// not three fields adds its number to `errors`.
std::vector<GuideEntry> read_guide_entries(std::istream& in, std::vector<std::string>& errors);

// What does not fit the table: a function without an entry, an entry for no
// function or given twice, arguments the parser would not accept.
std::vector<std::string> check_guide_entries(const std::vector<GuideEntry>& entries,
                                             std::span<const WorksheetFunction> table);

// The page, the functions in alphabetical order.
std::string function_guide_html(std::vector<GuideEntry> entries);
