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

TEST(ByteReader, FollowsTheByteOrderAFileNames)
{
    const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    CByteReader reader(bytes, sizeof(bytes));
    EXPECT_EQ(0x1234, reader.U16(ByteOrder::BigEndian));
    EXPECT_EQ(0xBC9A7856u, reader.U32(ByteOrder::LittleEndian));
    EXPECT_EQ(0, reader.U16(ByteOrder::BigEndian));
    EXPECT_FALSE(reader.Ok());

    uint8_t out[4] = {};
    PutU16(out, 0xA1B2, ByteOrder::LittleEndian);
    PutU16(out + 2, 0xA1B2, ByteOrder::BigEndian);
    EXPECT_EQ(0xB2A1A1B2u, GetU32BE(out));
    EXPECT_EQ(0xB2A1A1B2u, GetU32(out, ByteOrder::BigEndian));
}

TEST(ByteReader, ThreeBytePixelsRoundTrip)
{
    uint8_t pixel[4] = {0, 0, 0, 0xEE};
    PutU24LE(pixel, 0x11223344);
    EXPECT_EQ(0x44, pixel[0]);
    EXPECT_EQ(0x22, pixel[2]);
    EXPECT_EQ(0xEE, pixel[3]);  // the byte after the pixel stays
    EXPECT_EQ(0x223344u, GetU24LE(pixel));
}
