// The function guide: its descriptions are checked against the function
// table, and the page written at build time names every function.
#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

#include "tools/helpgen/function_guide.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

std::vector<GuideEntry> read(const std::string& text, std::vector<std::string>& errors) {
    std::istringstream in(text);
    return read_guide_entries(in, errors);
}

std::string file_text(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

constexpr WorksheetFunction kTable[] = {
    {1, "SUM", {1, kUnlimitedArguments}, 0, nullptr},
    {2, "MID", {2, 3}, 0, nullptr},
    {3, "", {1, 1}, 0, nullptr},
    {4, "PI", {0, 0}, 0, nullptr},
};

TEST(FunctionGuide, LinesGiveNamesArgumentsAndSummaries) {
    std::vector<std::string> errors;
    const auto entries = read("# comment\n\nMID | text, start, [count] | part of a text\nPI | | π\nSUM | value, ... | the sum\n"
                              "BROKEN | one field\n",
                              errors);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_THAT(entries[0].arguments, ElementsAre("text", "start", "[count]"));
    EXPECT_FALSE(entries[0].any_more);
    EXPECT_THAT(entries[1].arguments, IsEmpty());
    EXPECT_TRUE(entries[2].any_more);
    EXPECT_THAT(errors, ElementsAre("line 6: expected NAME | arguments | summary"));
    EXPECT_THAT(check_guide_entries(entries, kTable), IsEmpty());
}

TEST(FunctionGuide, DescriptionsThatDoNotFitTheTableAreRefused) {
    std::vector<std::string> errors;
    const auto entries = read("MID | text, [start], [count] | x\nPI | x | y\nSUM | value | z\nSUM | a, ... | again\n"
                              "MEAN | value, ... | w\n",
                              errors);
    EXPECT_THAT(check_guide_entries(entries, kTable),
                ElementsAre("SUM: described twice", "SUM: the arguments do not fit the function",
                            "MID: the arguments do not fit the function", "PI: the arguments do not fit the function",
                            "MEAN: no such function"));
    EXPECT_THAT(check_guide_entries({}, kTable), ElementsAre("SUM: not described", "MID: not described", "PI: not described"));
}

TEST(FunctionGuide, PageListsCallsAlphabeticallyWithTextEscaped) {
    std::vector<std::string> errors;
    const std::string page = function_guide_html(read("SUM | value, ... | a < b & c\nMID | text, start, [count] | x\n", errors));
    EXPECT_THAT(page, HasSubstr("<code>MID(text, start, [count])</code>"));
    EXPECT_THAT(page, HasSubstr("<code>SUM(value, ...)</code>"));
    EXPECT_THAT(page, HasSubstr("a &lt; b &amp; c"));
    EXPECT_LT(page.find("MID("), page.find("SUM("));
}

TEST(FunctionGuide, TheInstalledDescriptionsFitEveryFunctionAndThePageNamesThemAll) {
    std::vector<std::string> errors;
    std::ifstream in(std::string(QUORVIN_SOURCE_DIR) + "/resources/help/functions.txt");
    const auto entries = read_guide_entries(in, errors);
    EXPECT_THAT(errors, IsEmpty());
    EXPECT_THAT(check_guide_entries(entries, worksheet_functions()), IsEmpty());

    const std::string page = file_text(std::string(QUORVIN_BINARY_DIR) + "/help/function_guide.html");
    ASSERT_FALSE(page.empty());
    for (const WorksheetFunction& function : worksheet_functions())
        if (*function.name) EXPECT_THAT(page, HasSubstr("<dt id=\"" + std::string(function.name) + "\"><code>" + function.name + "("));
}

}  // namespace
