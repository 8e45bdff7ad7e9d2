// CSV exchanged with the peer spreadsheets: what we write they read with the
// same values, and what they write we read with theirs.
#include "tests/interop/interop_sources.h"
#include "tests/interop/peer_support.h"

namespace {

using peer::Peer;
using TextInterop = peer::PeerTest;

TEST_P(TextInterop, OurCsvOpensWithTheSameValues) {
    peer::write_file(path("source.csv"), peer::source_csv(false));
    ASSERT_TRUE(ours("source.csv", "ours.csv"));
    ASSERT_TRUE(ours("source.csv", "expected.csv", true));
    ASSERT_TRUE(convert("ours.csv", "theirs.csv"));
    EXPECT_TRUE(peer::same_values(peer::read_file(path("expected.csv")), peer::read_file(path("theirs.csv"))));
}

TEST_P(TextInterop, TheirCsvOpensHereWithTheirValues) {
    peer::write_file(path("source.csv"), peer::source_csv(false));
    ASSERT_TRUE(convert("source.csv", "theirs.csv"));
    ASSERT_TRUE(ours("theirs.csv", "read.csv", true));
    EXPECT_TRUE(peer::same_values(peer::read_file(path("read.csv")), peer::read_file(path("theirs.csv"))));
}

// A date read from a file rather than typed (here from SYLK, into a workbook
// counting from 1904) reaches the peer through CSV and tab text as the same
// day as the date typed: the peer's own reading of the typed date is the
// reference, in whatever form it writes dates.
TEST_P(TextInterop, DatesReadFromFilesOpenAsTheSameDay) {
    peer::write_file(path("typed.csv"), "3/15/2024,7\r\n");
    ASSERT_TRUE(convert("typed.csv", "reference.csv"));
    ASSERT_TRUE(ours("typed.csv", "read.slk"));
    ASSERT_TRUE(ours("read.slk", "ours.csv"));
    ASSERT_TRUE(ours("read.slk", "ours.txt"));
    ASSERT_TRUE(convert("ours.csv", "from_csv.csv"));
    ASSERT_TRUE(convert("ours.txt", "from_tab.csv"));
    const std::string reference = peer::read_file(path("reference.csv"));
    EXPECT_TRUE(peer::same_values(peer::read_file(path("from_csv.csv")), reference));
    EXPECT_TRUE(peer::same_values(peer::read_file(path("from_tab.csv")), reference));
}

INSTANTIATE_TEST_SUITE_P(Peers, TextInterop, ::testing::Values(Peer::office, Peer::gnumeric), peer::peer_name);

}  // namespace
