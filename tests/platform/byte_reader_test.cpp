// The bounded big-endian reader: fields in order, and a read past the end
// that answers zeros, fails every read after it and never reaches past the bytes.
#include "platform/resources/byte_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

TEST(ByteReader, FieldsComeInBigEndianOrder) {
    const std::vector<uint8_t> bytes = {0x12, 0x34, 0xFF, 0xFE, 0x01, 0x02, 0x03, 0x04, 0, 0, 0, 1, 0, 0, 0, 2, 7};
    pf::ByteReader in{bytes};
    EXPECT_EQ(in.u16(), 0x1234);
    EXPECT_EQ(in.i16(), -2);
    EXPECT_EQ(in.u32(), 0x01020304u);
    EXPECT_EQ(in.u64(), 0x0000000100000002u);
    EXPECT_EQ(in.left(), 1u);
    EXPECT_EQ(in.u8(), 7);
    EXPECT_TRUE(in.ok);
    EXPECT_TRUE(in.at_end());
}

TEST(ByteReader, AShortfallAnswersZerosAndFailsWhatFollows) {
    const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5};
    pf::ByteReader in{bytes};
    uint8_t copied[8];
    std::fill(std::begin(copied), std::end(copied), 0xAA);
    in.copy(copied, sizeof copied);
    EXPECT_FALSE(in.ok);
    for (uint8_t b : copied) EXPECT_EQ(b, 0);
    EXPECT_EQ(in.u8(), 0);  // the bytes that were there are not read after a failure
    EXPECT_EQ(in.left(), 0u);
    EXPECT_TRUE(in.take(0).empty());

    pf::ByteReader counted{bytes};
    EXPECT_FALSE(counted.has(6));
    EXPECT_TRUE(counted.ok);  // asking does not fail the reader
    EXPECT_FALSE(counted.need(6));
    EXPECT_FALSE(counted.ok);
}

}  // namespace
