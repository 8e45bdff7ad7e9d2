#include "tools/helpgen/function_guide.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(trimmed(part));
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

bool optional(const std::string& argument) { return argument.size() > 1 && argument.front() == '['; }

int required_count(const GuideEntry& entry) {
    return int(std::count_if(entry.arguments.begin(), entry.arguments.end(),
                             [](const std::string& a) { return !optional(a); }));
}

bool fits_arity(const GuideEntry& entry, const FunctionArity& arity) {
    if (required_count(entry) != arity.min) return false;
    if (entry.any_more) return arity.max == kUnlimitedArguments;
    return int(entry.arguments.size()) == arity.max;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

std::string call_text(const GuideEntry& entry) {
    std::string call = entry.name + "(";
    for (size_t i = 0; i < entry.arguments.size(); ++i) call += (i ? ", " : "") + entry.arguments[i];
    if (entry.any_more) call += entry.arguments.empty() ? "..." : ", ...";
    return call + ")";
}

}  // namespace

std::vector<GuideEntry> read_guide_entries(std::istream& in, std::vector<std::string>& errors) {
    std::vector<GuideEntry> entries;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (trimmed(line).empty() || trimmed(line).front() == '#') continue;
        const std::vector<std::string> fields = split(line, '|');
        if (fields.size() != 3 || fields[0].empty() || fields[2].empty()) {
            errors.push_back("line " + std::to_string(number) + ": expected NAME | arguments | summary");
            continue;
        }
        GuideEntry entry{fields[0], {}, false, fields[2]};
        if (!fields[1].empty()) entry.arguments = split(fields[1], ',');
        if (!entry.arguments.empty() && entry.arguments.back() == "...") {
            entry.any_more = true;
            entry.arguments.pop_back();
        }
        entries.push_back(entry);
    }
    return entries;
}

std::vector<std::string> check_guide_entries(const std::vector<GuideEntry>& entries,
                                             std::span<const WorksheetFunction> table) {
    std::vector<std::string> errors;
    std::map<std::string, const GuideEntry*> by_name;
    for (const GuideEntry& entry : entries)
        if (!by_name.emplace(entry.name, &entry).second) errors.push_back(entry.name + ": described twice");
    size_t described = 0;
    for (const WorksheetFunction& function : table) {
        if (!*function.name) continue;
        const auto found = by_name.find(function.name);
        if (found == by_name.end()) {
            errors.push_back(std::string(function.name) + ": not described");
            continue;
        }
        ++described;
        if (!fits_arity(*found->second, function.arity))
            errors.push_back(std::string(function.name) + ": the arguments do not fit the function");
    }
    if (described != by_name.size())
        for (const auto& [name, entry] : by_name)
            if (std::none_of(table.begin(), table.end(), [&](const WorksheetFunction& f) { return name == f.name; }))
                errors.push_back(name + ": no such function");
    return errors;
}

std::string function_guide_html(std::vector<GuideEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const GuideEntry& a, const GuideEntry& b) { return a.name < b.name; });
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Quorvin Function Guide</title>\n<link rel=\"stylesheet\" href=\"help.css\">\n</head>\n<body>\n"
        "<h1>Quorvin Function Guide</h1>\n"
        "<p>Every worksheet function, with its arguments. Arguments in brackets may be left out; "
        "\"...\" takes as many more as you like. Type a function after \"=\" in the entry line, or choose it "
        "from the Functions menu. See the <a href=\"user_guide.html#formulas\">user's guide</a> for how "
        "formulas are written.</p>\n<dl>\n";
    for (const GuideEntry& entry : entries)
        page += "<dt id=\"" + entry.name + "\"><code>" + escaped(call_text(entry)) + "</code></dt>\n<dd>" +
                escaped(entry.summary) + "</dd>\n";
    return page + "</dl>\n</body>\n</html>\n";
}
