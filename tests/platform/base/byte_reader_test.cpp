#include "tests/support/gtest.h"

#include "platform/base/byte_reader.h"

TEST(ByteReader, ReadsFieldsInBothByteOrders)
{
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F};
    CByteReader reader(bytes, sizeof(bytes));
    EXPECT_EQ(0x01, reader.U8());
    EXPECT_EQ(0x0302, reader.U16LE());
    EXPECT_EQ(0x04050607u, reader.U32BE());
    EXPECT_EQ(0x0F0E0D0C0B0A0908ull, reader.U64LE());
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_TRUE(reader.Ok());
}

TEST(ByteReader, AReadPastTheEndReadsNothingAndStaysFailed)
{
    const uint8_t bytes[] = {0xFF, 0xFE, 0xFD};
    CByteReader reader(bytes, sizeof(bytes));
    EXPECT_EQ(0xFF, reader.U8());
    EXPECT_EQ(0u, reader.U32LE());
    EXPECT_FALSE(reader.Ok());
    EXPECT_EQ(1u, reader.Position());
    // Every later read fails too, even one that would fit.
    EXPECT_EQ(0, reader.U8());
    EXPECT_EQ(nullptr, reader.Span(1));
    EXPECT_FALSE(reader.Skip(0));
}

TEST(ByteReader, HugeLengthsNeverWrapAround)
{
    const uint8_t bytes[8] = {};
    CByteReader reader(bytes, sizeof(bytes));
    reader.U8();
    EXPECT_FALSE(reader.Skip(SIZE_MAX));
    CByteReader other(bytes, sizeof(bytes));
    other.U8();
    EXPECT_FALSE(other.Seek(SIZE_MAX));
    uint8_t out[4];
    CByteReader third(bytes, sizeof(bytes));
    third.U16LE();
    EXPECT_FALSE(third.Bytes(out, SIZE_MAX - 1));
}
