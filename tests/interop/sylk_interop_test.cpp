// SYLK exchanged with the peer spreadsheets: what we write they read with the
// same values, and what they write we read with their values and formulas.
#include <algorithm>
#include <set>

#include "tests/interop/interop_sources.h"
#include "tests/interop/peer_support.h"

namespace {

using peer::Peer;
using SylkInterop = peer::PeerTest;

TEST_P(SylkInterop, OurSylkOpensWithTheSameValues) {
    peer::write_file(path("source.csv"), peer::source_csv(true));
    ASSERT_TRUE(ours("source.csv", "ours.slk"));
    ASSERT_TRUE(ours("source.csv", "expected.csv", true));
    ASSERT_TRUE(convert("ours.slk", "theirs.csv"));
    EXPECT_TRUE(peer::same_values(peer::read_file(path("expected.csv")), peer::read_file(path("theirs.csv"))));
}

TEST_P(SylkInterop, TheirSylkOpensHereWithTheirValuesAndFormulas) {
    peer::write_file(path("source.csv"), peer::source_csv(true));
    ASSERT_TRUE(convert("source.csv", "theirs.slk"));
    ASSERT_TRUE(convert("source.csv", "theirs.csv"));
    ASSERT_TRUE(ours("theirs.slk", "values.csv", true));
    EXPECT_TRUE(peer::same_values(peer::read_file(path("values.csv")), peer::read_file(path("theirs.csv"))));
    ASSERT_TRUE(ours("theirs.slk", "formulas.csv"));
    peer::Table formulas = peer::parse_csv(peer::read_file(path("formulas.csv")));
    ASSERT_GE(formulas.size(), 4u);
    ASSERT_GE(formulas[1].size(), 8u);
    EXPECT_EQ(formulas[0][3], "=B1+C1");
    EXPECT_EQ(formulas[1][3], "=SUM(B1:B2)");
    EXPECT_EQ(formulas[1][5], "=IF(B2<0,\"neg\",\"pos\")");
    EXPECT_EQ(formulas[2][1], "=MAX(B1:C2)");
}

INSTANTIATE_TEST_SUITE_P(Peers, SylkInterop, ::testing::Values(Peer::office, Peer::gnumeric), peer::peer_name);

}  // namespace

namespace {

// Line breaks and accented letters travel as escapes; one peer reads them all.
TEST_P(SylkInterop, EscapedCharactersOpenInTheOfficePeer) {
    if (GetParam() != Peer::office) GTEST_SKIP() << "this peer reads only some SYLK escapes";
    peer::write_file(path("source.csv"), "\"two\nlines\",\"tab\there\",\"semi;colon\"\r\n");
    ASSERT_TRUE(ours("source.csv", "ours.slk"));
    ASSERT_TRUE(convert("ours.slk", "theirs.csv"));
    EXPECT_TRUE(peer::same_values("\"two\nlines\",\"tab\there\",semi;colon\r\n", peer::read_file(path("theirs.csv"))));
}

}  // namespace

namespace {

// Dates (cells in a date format) travel as serials of the 1900 system,
// which both peers read.
TEST_P(SylkInterop, DatesOpenAsTheSameDay) {
    peer::write_file(path("source.csv"), "1/2/2024,7\r\n");
    ASSERT_TRUE(ours("source.csv", "ours.slk"));
    ASSERT_TRUE(convert("ours.slk", "theirs.csv"));
    peer::Table read = peer::parse_csv(peer::read_file(path("theirs.csv")));
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].size(), 2u);
    const std::set<std::string> second_of_january = {"45293", "2024/01/02", "2024-01-02", "1/2/24", "01/02/2024", "1/2/2024"};
    EXPECT_EQ(second_of_january.count(read[0][0]), 1u) << read[0][0];
    EXPECT_EQ(read[0][1], "7");
}

}  // namespace

namespace {

// Serials of a SYLK file mean the same days here as in the program that
// wrote it: a plain serial, a year of it and a date less a number.
TEST_P(SylkInterop, TheirSylkMeansTheSameDaysHere) {
    peer::write_file(path("source.csv"), "45366,=YEAR(A1),=A1-45000\r\n");
    ASSERT_TRUE(convert("source.csv", "theirs.slk"));
    ASSERT_TRUE(ours("theirs.slk", "values.csv", true));
    EXPECT_TRUE(peer::same_values("45366,2024,366\r\n", peer::read_file(path("values.csv"))));
}

// A workbook of the 1900 date system (an Excel file the peer writes) keeps
// every value through our SYLK and back, and the peer reads our SYLK of it
// with the same values.
TEST_P(SylkInterop, A1900WorkbookKeepsItsValuesThroughOurSylk) {
    peer::write_file(path("source.csv"), "2024-03-15,=A1-45000,45366,=C1+1\r\n");
    ASSERT_TRUE(convert("source.csv", "source.xls"));
    ASSERT_TRUE(ours("source.xls", "book.qrv"));
    ASSERT_TRUE(ours("book.qrv", "book.slk"));
    ASSERT_TRUE(ours("book.slk", "back.qrv"));
    ASSERT_TRUE(ours("book.qrv", "first.csv", true));
    ASSERT_TRUE(ours("back.qrv", "back.csv", true));
    EXPECT_TRUE(peer::same_values("45366,366,45366,45367\r\n", peer::read_file(path("first.csv"))));
    EXPECT_EQ(peer::read_file(path("back.csv")), peer::read_file(path("first.csv")));
    ASSERT_TRUE(convert("book.slk", "theirs.csv"));
    peer::Table read = peer::parse_csv(peer::read_file(path("theirs.csv")));
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].size(), 4u);
    EXPECT_EQ(read[0][1], "366");
    EXPECT_EQ(read[0][2], "45366");
    EXPECT_EQ(read[0][3], "45367");
}

}  // namespace

namespace {

// What each peer reads of each of our SYLK variants, as the README says:
// both keep every value; Gnumeric keeps the R1C1 formulas, LibreOffice only
// their values (an error value arrives as 0). Our own SYLK writes Roman
// accented letters as escapes, which Gnumeric reads and LibreOffice shows
// as they stand, and other characters in UTF-8, which LibreOffice reads (on
// a system of UTF-8 texts) and Gnumeric takes for Latin-1. SYLK for other
// spreadsheets writes each line in Windows-1252 where it can, which Gnumeric
// reads but for the characters Latin-1 lacks (the euro sign), and
// LibreOffice on a system of UTF-8 texts does not; a line of another script
// stays UTF-8, which LibreOffice reads.
TEST_P(SylkInterop, EachVariantOpensWithWhatThePeerReadsOfIt) {
    const bool office = GetParam() == Peer::office;
    const std::vector<std::string> escaped = {"Krak\xC3\xB3w", "Z\xC3\xBCrich;caf\xC3\xA9", "na\xC3\xAFve"};
    const std::vector<std::string> latin_unescaped = {"\xC3\x81ngel"}, euro = {"\xE2\x82\xAC 5"};
    const std::vector<std::string> other_scripts = {
        "P\xC5\x99\xC3\xADli\xC5\xA1", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",
        "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "\xE6\x9D\xB1\xE4\xBA\xAC"};
    std::vector<std::string> texts;
    for (const auto* group : {&escaped, &latin_unescaped, &euro, &other_scripts})
        texts.insert(texts.end(), group->begin(), group->end());
    std::string csv;
    for (const std::string& text : texts) csv += (csv.empty() ? "\"" : ",\"") + text + "\"";
    csv += "\r\n1,2.5,=A2+B2,=1/0,\"=IF(A2<0,\"\"neg\"\",\"\"pos\"\")\",=SUM(A2:B2)\r\n";
    peer::write_file(path("source.csv"), csv);
    for (bool for_others : {false, true}) {
        SCOPED_TRACE(for_others ? "SYLK for other spreadsheets" : "our own SYLK");
        ASSERT_TRUE(for_others ? ours_for_others("source.csv", "ours.slk") : ours("source.csv", "ours.slk"));
        ASSERT_TRUE(convert("ours.slk", "theirs.csv"));
        ASSERT_TRUE(convert("ours.slk", "theirs.xls"));
        ASSERT_TRUE(ours("theirs.xls", "formulas.csv"));
        const peer::Table read = peer::parse_csv(peer::read_file(path("theirs.csv")));
        ASSERT_EQ(read.size(), 2u);
        ASSERT_EQ(read[0].size(), texts.size());
        auto expect_group = [&](const std::vector<std::string>& group, bool kept) {
            for (const std::string& text : group) {
                const size_t at = size_t(std::find(texts.begin(), texts.end(), text) - texts.begin());
                if (kept) EXPECT_EQ(read[0][at], text);
                else EXPECT_NE(read[0][at], text);
            }
        };
        expect_group(escaped, !office);
        expect_group(latin_unescaped, office != for_others);
        expect_group(euro, office && !for_others);
        expect_group(other_scripts, office);
        std::string values;
        for (const std::string& field : read[1]) values += (values.empty() ? "" : ",") + field;
        EXPECT_TRUE(peer::same_values(office ? "1,2.5,3.5,0,pos,3.5" : "1,2.5,3.5,#DIV/0!,pos,3.5", values));
        const peer::Table formulas = peer::parse_csv(peer::read_file(path("formulas.csv")));
        ASSERT_EQ(formulas.size(), 2u);
        ASSERT_GE(formulas[1].size(), 6u);
        EXPECT_EQ(formulas[1][2], office ? "3.5" : "=A2+B2");
        EXPECT_EQ(formulas[1][5], office ? "3.5" : "=SUM(A2:B2)");
    }
}

// Days and times open as the same days and times in the peer, from either
// of our SYLK variants and a workbook of either date system: dates, times,
// dates with times, durations (times over a day) and plain numbers. The
// peer's Excel file holds each as its 1900-system serial.
TEST_P(SylkInterop, DaysAndTimesOpenTheSameInThePeer) {
    const char* pictures[] = {"m/d/yyyy", "h:mm", "m/d/yy h:mm", "h:mm:ss"};
    const double serials[] = {0, 0.5, 1, 1.5, 1461.5, 1462, 1462.5, 45000.25};
    for (bool in_1904 : {false, true}) {
        std::string file = std::string("ID;PQUORVIN;N;E;B") + (in_1904 ? "4" : "0") + "\r\n";
        for (const char* picture : pictures) file += std::string("P;P") + picture + "\r\n";
        file += std::string("O;L;D;V") + (in_1904 ? "4" : "0") + "\r\n";
        std::string expected;
        for (int row = 0; row < 8; ++row) {
            for (int kind = 0; kind < 5; ++kind) {
                const std::string where = ";Y" + std::to_string(row + 1) + ";X" + std::to_string(kind + 1);
                if (kind < 4) file += "F;P" + std::to_string(kind) + ";FG0G" + where + "\r\n";
                file += "C" + where + ";K" + peer::number_text(serials[row]) + "\r\n";
                const bool date = kind == 0 || kind == 2, time = kind == 1 || kind == 3;
                const bool moves = in_1904 && (date || (time && serials[row] >= 1));
                expected += (kind ? "," : "") + peer::number_text(serials[row] + (moves ? 1462 : 0));
            }
            expected += "\r\n";
        }
        peer::write_file(path("source.slk"), file + "E\r\n");
        for (bool for_others : {false, true}) {
            SCOPED_TRACE(std::string(in_1904 ? "1904" : "1900") + (for_others ? " for others" : " own"));
            ASSERT_TRUE(for_others ? ours_for_others("source.slk", "ours.slk") : ours("source.slk", "ours.slk"));
            ASSERT_TRUE(convert("ours.slk", "theirs.xls"));
            ASSERT_TRUE(ours("theirs.xls", "theirs.csv", true));
            EXPECT_TRUE(peer::same_values(expected, peer::read_file(path("theirs.csv"))));
        }
    }
}

// A time of day typed here opens on the day it was typed on (its serial in
// the peer's workbook is the 1900 system's of that date and time).
TEST_P(SylkInterop, ATimeOfDayOpensOnItsDay) {
    peer::write_file(path("source.csv"), "14:20\r\n");
    ASSERT_TRUE(ours("source.csv", "ours.slk"));
    ASSERT_TRUE(ours("source.csv", "ours.csv", true));
    ASSERT_TRUE(convert("ours.slk", "theirs.xls"));
    ASSERT_TRUE(ours("theirs.xls", "theirs.csv", true));
    double here = 0, there = 0;
    ASSERT_TRUE(peer::as_number(peer::parse_csv(peer::read_file(path("ours.csv")))[0][0], &here));
    ASSERT_TRUE(peer::as_number(peer::parse_csv(peer::read_file(path("theirs.csv")))[0][0], &there));
    ASSERT_GT(here, 40000);  // today, in this workbook's 1904 system
    EXPECT_NEAR(there, here + 1462, 1e-6);
}

// Our SYLK opens without a warning of a field the peer does not know, and
// the workbook's own date system still comes back here.
TEST_P(SylkInterop, OurSylkOpensWithoutWarnings) {
    peer::write_file(path("source.csv"), peer::source_csv(true));
    ASSERT_TRUE(ours("source.csv", "ours.slk"));
    ASSERT_TRUE(convert("ours.slk", "theirs.csv"));
    const std::string said = peer::read_file(log);
    EXPECT_EQ(said.find("unknown"), std::string::npos) << said;
    EXPECT_EQ(said.find("unhandled"), std::string::npos) << said;
}

// Our SYLK names a layer that reads like a cell between quotes ('Q1'!), and
// carries a format's number flags and colours in fields of its own. Each
// peer opens either kind with our values. SYLK for other spreadsheets leaves
// those fields out and opens without a warning in either peer; our own kind
// opens without one in LibreOffice (Gnumeric notes each field it does not
// know on its console and passes over it).
TEST_P(SylkInterop, QuotedLayersAndFormatsOfOurOwnOpenWithOurValues) {
    peer::write_file(path("source.slk"),
                     "ID;PQUORVIN;N;E;B0\r\n"
                     "F;FF2D;U2 32;Y1;X1\r\nC;K1234.5\r\n"
                     "F;SM0;Q3 0 0 0 0 0 0 0;X2\r\nC;K\"red\"\r\n"
                     "C;Y2;X1;K5\r\nC;X2;K105;E'Q1'!RC[-1]+RC[-1]\r\nC;X3;K107;ESUM('Q1'!RC[-2]:RC[-1])\r\nE\r\n");
    for (bool for_others : {false, true}) {
        SCOPED_TRACE(for_others ? "SYLK for other spreadsheets" : "our own SYLK");
        ASSERT_TRUE(for_others ? ours_for_others("source.slk", "ours.slk") : ours("source.slk", "ours.slk"));
        const std::string written = peer::read_file(path("ours.slk"));
        EXPECT_EQ(written.find(";U2 32"), for_others ? std::string::npos : written.find(";U")) << written;
        EXPECT_EQ(written.find(";Q3 0"), for_others ? std::string::npos : written.find(";Q")) << written;
        // Read alone, the file keeps the values of the formulas naming Q1.
        ASSERT_TRUE(ours("ours.slk", "here.csv", true));
        EXPECT_TRUE(peer::same_values("1234.5,red,\r\n5,105,107\r\n", peer::read_file(path("here.csv"))));
        ASSERT_TRUE(convert("ours.slk", "theirs.csv"));
        EXPECT_TRUE(peer::same_values("1234.5,red,\r\n5,105,107\r\n", peer::read_file(path("theirs.csv"))));
        if (!for_others && GetParam() == Peer::gnumeric) continue;
        const std::string said = peer::read_file(log);
        EXPECT_EQ(said.find("unknown"), std::string::npos) << said;
        EXPECT_EQ(said.find("unhandled"), std::string::npos) << said;
    }
}

}  // namespace
