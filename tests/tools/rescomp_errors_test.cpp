// Every class of fault in resource sources fails the compile with its file and line.
#include <gmock/gmock.h>

#include "tests/tools/rescomp_fixture.h"

namespace {

using testing::HasSubstr;

TEST(RescompErrors, SyntaxFaultsNameTheirLine) {
    EXPECT_THAT(compile_errors("STR# 1 {\n  \"open\n}\n"), HasSubstr("fixture.txt:2: error: unterminated text"));
    EXPECT_THAT(compile_errors("\nWIDG 1 {\n}\n"), HasSubstr("fixture.txt:2: error: unknown resource type 'WIDG'"));
    EXPECT_THAT(compile_errors("data 'MENU' 1 {\n}\n"), HasSubstr(":1: error: 'MENU' has its own form"));
    EXPECT_THAT(compile_errors("STR# 1\n"), HasSubstr(":1: error: expected '{'"));
    EXPECT_THAT(compile_errors("STR# 1 {\n\"a\"\n"), HasSubstr(":1: error: resource is not closed"));
    EXPECT_THAT(compile_errors("}\n"), HasSubstr(":1: error: '}' without an open resource"));
    EXPECT_THAT(compile_errors("STR# 40000 {\n}\n"), HasSubstr(":1: error: resource id 40000 is out of range"));
    EXPECT_THAT(compile_errors("data 'abcd' 1 {\n 0g\n}\n"), HasSubstr(":2: error: expected hex bytes"));
    EXPECT_THAT(compile_errors("MENU 1 {\n item \"A\" key AB\n}\n"), HasSubstr(":2: error: expected one character"));
    EXPECT_THAT(compile_errors("MENU 1 {\n item \"A\" wobble\n}\n"), HasSubstr(":2: error: unknown menu item option"));
    EXPECT_THAT(compile_errors("MENU 1 {\n item \"A\" shift\n}\n"), HasSubstr(":2: error: a modifier needs a key"));
    EXPECT_THAT(compile_errors("vers 1 {\n version 1.10\n}\n"), HasSubstr(":2: error: expected a version"));
}

TEST(RescompErrors, TextsMustBeMacRoman) {
    EXPECT_THAT(compile_errors("'STR ' 1 {\n\n  \"\xE4\xB8\xAD\"\n}\n"),
                HasSubstr("fixture.txt:3: error: character U+4E2D has no Mac Roman form"));
    EXPECT_THAT(compile_errors("'STR ' 1 {\n  \"a\xC0\xAF\"\n}\n"), HasSubstr(":2: error: malformed UTF-8"));
    std::string long_text(256, 'x');
    EXPECT_THAT(compile_errors("STR# 1 {\n\"" + long_text + "\"\n}\n"),
                HasSubstr(":2: error: string list item is longer than 255 bytes"));
}

TEST(RescompErrors, DuplicatesAndBrokenReferences) {
    EXPECT_THAT(compile_errors("STR# 5 {\n}\n\nSTR# 5 {\n}\n"),
                HasSubstr(":4: error: duplicate 'STR#' 5 (first at "));
    EXPECT_THAT(compile_errors("STR# 5 \"a\" {\n}\nSTR# 6 \"a\" {\n}\n"), HasSubstr(":3: error: duplicate name \"a\""));
    EXPECT_THAT(compile_errors("MENU 1 {\n item \"x\"\n item \"Sub\" submenu 9\n}\n"),
                HasSubstr(":3: error: 'MENU' 1 refers to 'MENU' 9, which does not exist"));
    EXPECT_THAT(compile_errors("MBAR 128 {\n  menus 1\n}\n"),
                HasSubstr(":2: error: 'MBAR' 128 refers to 'MENU' 1, which does not exist"));
}

}  // namespace
