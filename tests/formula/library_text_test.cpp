// Text functions through typed formulas (the system script is Roman: one
// byte is one character).
#include "library_fixture.h"

namespace {

using Text = LibraryTest;

TEST_F(Text, LengthsAndSpans) {
    check_numbers({
        {"=LEN(\"abc\")", {3}},
        {"=LENB(\"abc\")", {3}},
        {"=LEN(12.5)", {4}},
        {"=LEN(NA())", {0, kNA}},
        {"=MID(\"abcdef\",3,0)", {0, kValue}},
        {"=MID(\"abcdef\",0)", {0, kValue}},
        {"=MID(\"abcdef\",\"x\")", {0, kTValue}},
        {"=LEFT(\"abc\",-1)", {0, kValue}},
        {"=LEFT(\"abc\",\"x\")", {0, kTValue}},
        {"=RIGHT(\"abc\",NA())", {0, kNA}},
        {"=CODE(\"\")", {0, kTValue}},
        {"=CODE(\"A\")", {65}},
        {"=CHAR(300)", {0, kValue}},
        {"=CHAR(NA())", {0, kNA}},
        {"=CHAR(\"A\")", {0, kTValue}},
        {"=CODE(CHAR(12321))", {12321}},  // Shift_JIS 0x88 0x9F: a Japanese text, read as one character

    });
    check_texts({
        {"=LEFT(\"abcdef\",2)", "ab"},
        {"=LEFTB(\"abcdef\",2)", "ab"},
        {"=RIGHT(\"abcdef\",2)", "ef"},
        {"=RIGHTB(\"abcdef\",9)", "abcdef"},
        {"=MID(\"abcdef\",3)", "c"},
        {"=MIDB(\"abcdef\",2,3)", "bcd"},
        {"=LEFT(1234,2)", "12"},
        {"=CHAR(65)", "A"},
        {"=T(\"a\")", "a"},
        {"=UPPER(\"abc\")", "ABC"},
    });
}

TEST_F(Text, FindAndSubstitute) {
    check_numbers({
        {"=SEARCH(\"B\",\"abc\")", {2}},
        {"=FIND(\"B\",\"abc\")", {0, kValue}},
        {"=FIND(\"c\",\"abcabc\",4)", {6}},
        {"=FINDB(\"c\",\"abc\")", {3}},
        {"=SEARCHB(\"C\",\"abc\")", {3}},
        {"=FIND(\"a\",\"abc\",0)", {0, kValue}},
        {"=FIND(1,\"a1\")", {0, kValue}},
        {"=SUBSTITUTE(\"a\",\"a\",\"b\",-1)", {0, kValue}},
        {"=SUBSTITUTE(\"a\",1,\"b\")", {0, kValue}},
        {"=EXACT(\"a\",1)", {0, kNA}},
        {"=EXACT(\"abc\",\"abc\")", {1}},
        {"=EXACT(\"abc\",\"Abc\")", {0}},
        {"=REPT(\"a\",-1)", {0, kValue}},
        {"=REPLACE(\"abc\",0,1,\"x\")", {0, kValue}},
        {"=REPLACE(NA(),1,1,\"x\")", {0, kNA}},
        {"=REPLACE(\"abc\",\"x\",1,\"x\")", {0, kTValue}},
        {"=CONCATENATE(1,\"x\",NA())", {0, kNA}},
    });
    check_texts({
        {"=SUBSTITUTE(\"banana\",\"a\",\"xy\")", "bxynxynxy"},
        {"=SUBSTITUTE(\"banana\",\"a\",\"xy\",2)", "banxyna"},
        {"=SUBSTITUTE(\"banana\",\"\",\"x\")", "banana"},
        {"=SUBSTITUTE(5,\"a\",\"b\")", ""},
        {"=REPT(\"ab\",3)", "ababab"},
        {"=REPT(\"\",1000000000)", ""},
        {"=REPT(1.5,2)", "1.51.5"},
        {"=REPT(NA(),2)", "#N/A#N/A"},  // an error repeats its text
        {"=TRIM(\"  a   b  \")", "a b "},
        {"=CLEAN(\"a\"&CHAR(9)&\"b\")", "ab"},
        {"=PROPER(\"hello wORLD\")", "Hello WORLD"},
        {"=CONCATENATE(1,\"x\",2.5)", "1x2.5"},
        {"=REPLACE(\"abcdef\",2,3,\"XY\")", "aXYef"},
        {"=REPLACEB(\"abcdef\",2,3,7)", "a7ef"},
    });
}

TEST_F(Text, RepeatStopsBefore255Bytes) {
    Value v = eval("=REPT(REPT(\"x\",100),3)");
    EXPECT_EQ(v.text.size(), 200u);
}

}  // namespace
