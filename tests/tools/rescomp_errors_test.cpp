// Every class of fault in resource sources fails the compile with its file and line.
#include <gmock/gmock.h>

#include "tests/tools/rescomp_fixture.h"

namespace {

using testing::AllOf;
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
    EXPECT_THAT(compile_errors("STR# 5 symbol kTexts {\n}\nMENU 5 symbol kTexts {\n}\n"),
                HasSubstr(":3: error: duplicate symbol kTexts (first at "));
    // An item's symbol shares the one set of names with the resources'.
    EXPECT_THAT(compile_errors("MENU 5 symbol kFile {\n item \"a\" symbol kFile\n}\n"),
                HasSubstr(":2: error: duplicate symbol kFile (first at "));
    EXPECT_THAT(compile_errors("MENU 5 {\n item \"a\" symbol kA\n}\nMENU 6 {\n item \"b\" symbol kA\n}\n"),
                HasSubstr(":5: error: duplicate symbol kA (first at "));
}

TEST(RescompErrors, RequiredSymbolsNameEveryMenuStringListAlertAndDialog) {
    const std::string kRequire = "--require-symbols";
    EXPECT_THAT(compile_errors("MENU 5 {\n}\n", kRequire), HasSubstr(":1: error: 'MENU' 5 needs a symbol"));
    EXPECT_THAT(compile_errors("STR# 5 {\n}\n", kRequire), HasSubstr(":1: error: 'STR#' 5 needs a symbol"));
    EXPECT_THAT(compile_errors("DITL 5 {\n}\nALRT 5 {\n rect 0 0 10 10\n}\n", kRequire),
                HasSubstr(":3: error: 'ALRT' 5 needs a symbol"));
    EXPECT_THAT(compile_errors("DITL 5 {\n}\nDLOG 5 {\n rect 0 0 10 10\n}\n", kRequire),
                HasSubstr(":3: error: 'DLOG' 5 needs a symbol"));
    // Other kinds, and every kind without the option, may go unnamed.
    EXPECT_EQ(run_rescomp("'STR ' 5 {\n \"a\"\n}\nSTR# 6 symbol kTexts {\n}\n", kRequire).status, 0);
    EXPECT_EQ(run_rescomp("MENU 5 {\n}\n").status, 0);
}

TEST(RescompErrors, SymbolsAreConstantNames) {
    EXPECT_THAT(compile_errors("STR# 5 symbol {\n}\n"), HasSubstr(":1: error: expected a constant name"));
    EXPECT_THAT(compile_errors("STR# 5 symbol texts {\n}\n"), HasSubstr(":1: error: expected a constant name"));
    EXPECT_THAT(compile_errors("STR# 5 symbol kTwo-Words {\n}\n"), HasSubstr(":1: error:"));
    EXPECT_THAT(compile_errors("STR# 5 symbol kA symbol kB {\n}\n"), HasSubstr(":1: error: a resource has one symbol"));
    EXPECT_THAT(compile_errors("MENU 5 {\n item \"a\" symbol save\n}\n"), HasSubstr(":2: error: expected a constant name"));
    EXPECT_THAT(compile_errors("MENU 5 {\n item \"a\" symbol\n}\n"), HasSubstr(":2: error:"));
    EXPECT_THAT(compile_errors("MENU 5 {\n definition 251 kGrid\n}\n"),
                HasSubstr(":2: error: expected 'symbol' after the definition number"));
    EXPECT_THAT(compile_errors("MENU 5 {\n definition 251 symbol grid\n}\n"),
                HasSubstr(":2: error: expected a constant name"));
}

TEST(RescompErrors, TemplateFaults) {
    EXPECT_THAT(compile_errors("DITL 1 {\n button 0 0 10 10 \"OK\"\n}\nDLOG 1 {\n title \"x\"\n}\n"),
                HasSubstr(":4: error: 'DLOG' needs a 'rect' line"));
    EXPECT_THAT(compile_errors("DITL 1 {\n button 10 0 5 10 \"OK\"\n}\n"), HasSubstr(":2: error: rectangle"));
    EXPECT_THAT(compile_errors("DITL 1 {\n slider 0 0 1 1\n}\n"), HasSubstr(":2: error: unknown dialog item kind"));
    EXPECT_THAT(compile_errors("DITL 1 {\n}\n"), HasSubstr(":1: error: an item list holds 1 to"));
    EXPECT_THAT(compile_errors("CNTL 1 {\n rect 0 0 1 1\n kind popup_button\n}\n"),
                HasSubstr(":1: error: a pop-up button needs a 'menu' line"));
    EXPECT_THAT(compile_errors("CNTL 1 {\n rect 0 0 1 1\n kind knob\n}\n"), HasSubstr(":3: error: unknown control kind"));
    EXPECT_THAT(compile_errors("ALRT 1 {\n rect 0 0 1 1\n default 3\n}\n"), HasSubstr(":3: error: default item 3"));
}

TEST(RescompErrors, TemplateReferences) {
    EXPECT_THAT(compile_errors("\nDLOG 801 {\n rect 0 0 1 1\n}\n"),
                HasSubstr(":2: error: 'DLOG' 801 refers to 'DITL' 801, which does not exist"));
    EXPECT_THAT(compile_errors("ALRT 1 {\n rect 0 0 1 1\n items 7\n}\n"),
                HasSubstr(":3: error: 'ALRT' 1 refers to 'DITL' 7, which does not exist"));
    EXPECT_THAT(compile_errors("CNTL 1 {\n rect 0 0 1 1\n kind popup_button\n menu 5\n}\n"),
                HasSubstr(":4: error: 'CNTL' 1 refers to 'MENU' 5, which does not exist"));
    EXPECT_THAT(compile_errors("DITL 1 {\n button 0 0 1 1\n control 0 0 1 1 9\n icon 0 0 1 1 4\n}\n"),
                AllOf(HasSubstr(":3: error: 'DITL' 1 refers to 'CNTL' 9"),
                      HasSubstr(":4: error: 'DITL' 1 refers to 'ics8' 4 or 'ics#' 4, which does not exist")));
    EXPECT_THAT(compile_errors("STR# 591 {\n \"a\"\n}\nbutn 1 {\n help 591 2\n}\nbars 128 {\n buttons 1 2\n}\n"),
                AllOf(HasSubstr(":5: error: 'butn' 1 refers to item 2 of 'STR#' 591, which has 1 items"),
                      HasSubstr(":8: error: 'bars' 128 refers to 'butn' 2, which does not exist")));
}

TEST(RescompErrors, ImageAndPictureFaults) {
    EXPECT_THAT(compile_errors("CURS 1 {\n ...\n}\n"), HasSubstr(":2: error: an image row has 16 characters, this one 3"));
    EXPECT_THAT(compile_errors("SICN 1 {\n ...............z\n}\n"), HasSubstr(":2: error: 'z' is not one of"));
    EXPECT_THAT(compile_errors("ics# 1 {\n ................\n}\n"), HasSubstr(":1: error: 'ics#' needs 16 image rows, found 1"));
    EXPECT_THAT(compile_errors("PAT# 1 {\n ........\n hex 00\n}\n"), HasSubstr(":3: error: a drawn pattern needs 8 rows"));
    EXPECT_THAT(compile_errors("ics8 1 {\n legend ab 3\n}\n"), HasSubstr(":2: error: expected one ASCII character"));
    EXPECT_THAT(compile_errors("clut 1 {\n color 1 2\n}\n"), HasSubstr(":2: error: expected a number for blue"));
    EXPECT_THAT(compile_errors("PICT 1 {\n line 0 0 1 1\n}\n"), HasSubstr(":1: error: 'PICT' needs a 'frame"));
    EXPECT_THAT(compile_errors("PICT 1 {\n frame 0 0 1 1\n spiral 0 0\n}\n"),
                HasSubstr(":3: error: unknown 'PICT' field 'spiral'"));
    EXPECT_THAT(compile_errors("PICT 1 {\n frame 0 0 1 1\n bits 0 0\n ##..\n #.\n}\n"),
                HasSubstr(":5: error: an image row has 4 characters, this one 2"));
    EXPECT_THAT(compile_errors("PICT 1 {\n frame 0 0 1 1\n bits 0 0\n}\n"), HasSubstr(":3: error: 'bits' is followed by"));
}

}  // namespace
