// The converter with the text formats: inputs known by contents and
// extension, outputs by extension, raw values and the choice of a layer.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/files/document_fixture.h"

namespace {

class SheetconvTextTest : public DocumentTest {
protected:
    std::string errors;

    int run(const std::string& arguments) {
        std::string log = path("stderr.txt");
        int status = std::system((std::string(SHEETCONV_PATH) + " " + arguments + " 2>'" + log + "'").c_str());
        std::ifstream read(log);
        errors.assign(std::istreambuf_iterator<char>(read), {});
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string text_of(const std::string& name) {
        std::vector<uint8_t> b = bytes_of(name);
        return std::string(b.begin(), b.end());
    }
    void write_text(const std::string& name, const std::string& text) {
        write_bytes(name, std::vector<uint8_t>(text.begin(), text.end()));
    }
    std::string q(const std::string& name) { return "'" + path(name) + "'"; }
};

TEST_F(SheetconvTextTest, TextFormatsGoBothWays) {
    write_text("in.csv", "a,1,=B1*3\r\n\"x, y\",0.1,=B2/3\r\n");
    ASSERT_EQ(run(q("in.csv") + " " + q("out.csv")), 0) << errors;
    EXPECT_EQ(text_of("out.csv"), "a,1,=B1*3\r\n\"x, y\",0.1,=B2/3\r\n");
    ASSERT_EQ(run("--values " + q("in.csv") + " " + q("values.csv")), 0) << errors;
    EXPECT_EQ(text_of("values.csv"), "a,1,3\r\n\"x, y\",0.1,0.03333333333333333\r\n");
    ASSERT_EQ(run(q("in.csv") + " " + q("out.tsv")), 0) << errors;
    EXPECT_EQ(text_of("out.tsv"), "a\t1\t3\r\nx, y\t0.1\t0.033333333333333\r\n");
    // SYLK out and in again, by its contents whatever its name.
    ASSERT_EQ(run(q("in.csv") + " " + q("out.slk")), 0) << errors;
    write_bytes("sylk.dat", bytes_of("out.slk"));
    ASSERT_EQ(run(q("sylk.dat") + " " + q("again.csv")), 0) << errors;
    EXPECT_EQ(text_of("again.csv"), text_of("out.csv"));
    // A tab-separated input by its extension.
    write_text("in.tab", "1\t2,5\r\n");
    ASSERT_EQ(run("--values " + q("in.tab") + " " + q("tab.csv")), 0) << errors;
    EXPECT_EQ(text_of("tab.csv"), "1,\"2,5\"\r\n");
}

TEST_F(SheetconvTextTest, FormulaTextsKeepTheScriptOfTheirSource) {
    write_text("scripts.csv", "東京,=A1,\"=LEFT(A1,1)\",Ελλάδα,=D1,Москва,=F1,=F1&\" \"&A1\r\n");
    ASSERT_EQ(run("--values " + q("scripts.csv") + " " + q("values.csv")), 0) << errors;
    EXPECT_EQ(text_of("values.csv"), "東京,東京,東,Ελλάδα,Ελλάδα,Москва,Москва,Москва 東京\r\n");
    ASSERT_EQ(run(q("scripts.csv") + " " + q("shown.tsv")), 0) << errors;
    EXPECT_EQ(text_of("shown.tsv"), "東京\t東京\t東\tΕλλάδα\tΕλλάδα\tМосква\tМосква\tМосква 東京\r\n");
    // No script spells Czech beside Japanese: what none spells is a "?" and said.
    write_text("joined.csv", "ř,東京,=A1&B1\r\n");
    ASSERT_EQ(run("--values " + q("joined.csv") + " " + q("joined_values.csv")), 3) << errors;
    EXPECT_EQ(text_of("joined_values.csv"), "ř,東京,?東京\r\n");
    EXPECT_NE(errors.find("1 character became"), std::string::npos) << errors;
}

// A field of letters of several scripts comes through whole, and so back from
// the program's own SYLK; SYLK for other spreadsheets keeps what Windows-1252
// spells.
TEST_F(SheetconvTextTest, FieldsOfSeveralScriptsKeepEveryLetter) {
    const std::string fields = "ö 東京,naïve Москва,ÜÖ Ñ 東京,mixed 日本 Ελλάδα\r\n";
    write_text("mixed.csv", fields);
    ASSERT_EQ(run("--values " + q("mixed.csv") + " " + q("values.csv")), 0) << errors;
    EXPECT_EQ(text_of("values.csv"), fields);
    ASSERT_EQ(run(q("mixed.csv") + " " + q("mixed.slk")), 0) << errors;
    ASSERT_EQ(run("--values " + q("mixed.slk") + " " + q("again.csv")), 0) << errors;
    EXPECT_EQ(text_of("again.csv"), fields);
    // Other spreadsheets read SYLK in Windows-1252: what it lacks is a "?",
    // counted, and the conversion says it left something out.
    ASSERT_EQ(run("--for-others " + q("mixed.csv") + " " + q("others.slk")), 3) << errors;
    EXPECT_NE(errors.find("\"?\": 18 in all"), std::string::npos) << errors;
    ASSERT_EQ(run("--values " + q("others.slk") + " " + q("others.csv")), 0) << errors;
    EXPECT_EQ(text_of("others.csv"), "ö ??,naïve ??????,ÜÖ Ñ ??,mixed ?? ??????\r\n");
    // A formula reading one gets it in the one script that spells most of it,
    // and says what became "?".
    write_text("read.csv", "ö 東京,=A1\r\n");
    ASSERT_EQ(run("--values " + q("read.csv") + " " + q("read_values.csv")), 3) << errors;
    EXPECT_EQ(text_of("read_values.csv"), "ö 東京,? 東京\r\n");
    EXPECT_NE(errors.find("1 character became"), std::string::npos) << errors;
}

// An input is known by the extension of its whole name, however long.
TEST_F(SheetconvTextTest, ALongNameIsReadByItsExtension) {
    const std::string stem(66, 'n');
    write_text(stem + ".csv", "1,2\r\n");
    ASSERT_EQ(run("--values " + q(stem + ".csv") + " " + q("long.tab")), 0) << errors;
    EXPECT_EQ(text_of("long.tab"), "1\t2\r\n");
    write_text(stem + ".tab", "3\t4\r\n");
    ASSERT_EQ(run("--values " + q(stem + ".tab") + " " + q("long.csv")), 0) << errors;
    EXPECT_EQ(text_of("long.csv"), "3,4\r\n");
}

// A text saved again keeps the encoding and the line ends it was read with,
// its raw values and shown texts alike.
TEST_F(SheetconvTextTest, TextKeepsItsEncodingAndLineEnds) {
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("a\0,\0\xE9\0\n\0001\0,\0002\0\n\0", 16);
    write_text("wide.csv", utf16);
    ASSERT_EQ(run(q("wide.csv") + " " + q("wide-again.csv")), 0) << errors;
    EXPECT_EQ(text_of("wide-again.csv"), utf16);
    ASSERT_EQ(run("--values " + q("wide.csv") + " " + q("wide-values.csv")), 0) << errors;
    EXPECT_EQ(text_of("wide-values.csv"), utf16);
    ASSERT_EQ(run("--shown " + q("wide.csv") + " " + q("wide-shown.tsv")), 0) << errors;
    EXPECT_EQ(text_of("wide-shown.tsv"), std::string("\xFF\xFE", 2) + std::string("a\0\t\0\xE9\0\n\0001\0\t\0002\0\n\0", 16));
    write_text("unix.csv", "a,b\n1,2\n");
    ASSERT_EQ(run(q("unix.csv") + " " + q("unix-again.csv")), 0) << errors;
    EXPECT_EQ(text_of("unix-again.csv"), "a,b\n1,2\n");
    ASSERT_EQ(run("--values " + q("unix.csv") + " " + q("unix-values.csv")), 0) << errors;
    EXPECT_EQ(text_of("unix-values.csv"), "a,b\n1,2\n");
    write_text("marked.txt", "\xEF\xBB\xBF" "a\tb\r1\t2\r");
    ASSERT_EQ(run(q("marked.txt") + " " + q("marked-again.txt")), 0) << errors;
    EXPECT_EQ(text_of("marked-again.txt"), "\xEF\xBB\xBF" "a\tb\r1\t2\r");
}

TEST_F(SheetconvTextTest, LayersAndRefusals) {
    MemoryRef book = sample::rich_workbook(2);
    ASSERT_EQ(save(book, "Two.qrv"), 0);
    ASSERT_EQ(run("--values --layer 2 " + q("Two.qrv") + " " + q("second.csv")), 0) << errors;
    EXPECT_NE(text_of("second.csv").find("Styled text"), std::string::npos);
    // Without --layer the first is written, and the others left out are said.
    EXPECT_EQ(run(q("Two.qrv") + " " + q("first.csv")), 3);
    EXPECT_NE(errors.find("has 2 layers"), std::string::npos) << errors;
    EXPECT_TRUE(exists("first.csv"));
    EXPECT_EQ(run(q("Two.qrv") + " " + q("Again.qrv")), 0) << errors;  // a document holds them all
    EXPECT_EQ(run("--layer 3 " + q("Two.qrv") + " " + q("third.csv")), 1);
    EXPECT_NE(errors.find("no layer 3"), std::string::npos);
    EXPECT_FALSE(exists("third.csv"));
    EXPECT_EQ(run("--values " + q("Two.qrv") + " " + q("values.slk")), 1);
    EXPECT_NE(errors.find("text formats only"), std::string::npos);
    write_text("data.bin", "1,2");  // text of no known kind: read with the comma it shows
    EXPECT_EQ(run(q("data.bin") + " " + q("out.csv")), 0) << errors;
    EXPECT_EQ(text_of("out.csv"), "1,2\r\n");
    EXPECT_EQ(run("--layer 0 " + q("Two.qrv") + " " + q("out.csv")), 2);
    EXPECT_EQ(run("--bogus " + q("Two.qrv") + " " + q("out.csv")), 2);
}

// OUT a symbolic link: the file it names takes the output and the link stays,
// also when that file is yet to be made.
TEST_F(SheetconvTextTest, AnOutputThatIsALinkIsWrittenThroughIt) {
    write_text("in.csv", "a,1\r\n");
    write_text("kept.csv", "old,0\r\n");
    std::filesystem::create_directory(path("sub"));
    std::filesystem::create_symlink("../kept.csv", path("sub/link.csv"));
    std::filesystem::create_symlink("new.csv", path("dangling.csv"));
    ASSERT_EQ(run(q("in.csv") + " " + q("sub/link.csv")), 0) << errors;
    EXPECT_TRUE(std::filesystem::is_symlink(path("sub/link.csv")));
    EXPECT_EQ(text_of("kept.csv"), "a,1\r\n");
    ASSERT_EQ(run(q("in.csv") + " " + q("dangling.csv")), 0) << errors;
    EXPECT_TRUE(std::filesystem::is_symlink(path("dangling.csv")));
    EXPECT_EQ(text_of("new.csv"), "a,1\r\n");
}

// OUT in a folder that is not there: said so, nothing written.
TEST_F(SheetconvTextTest, AnOutputInAMissingFolderIsSaidSo) {
    write_text("in.csv", "a,1\r\n");
    EXPECT_EQ(run(q("in.csv") + " " + q("nowhere/out.csv")), 1);
    EXPECT_NE(errors.find("no folder " + path("nowhere")), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(path("nowhere")));
}

}  // namespace
