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

INSTANTIATE_TEST_SUITE_P(Peers, TextInterop, ::testing::Values(Peer::office, Peer::gnumeric), peer::peer_name);

}  // namespace
