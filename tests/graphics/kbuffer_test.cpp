#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "graphics/kbuffer.h"
#include "graphics/kstring.h"
#include "tests/support/test_files.h"
#include "platform/native/native_begin.h"
#include <zlib.h>
#include "platform/native/native_end.h"

namespace {

void AppendU32(std::string& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes += (char)((value >> (8 * i)) & 0xFF);
}

// Loads bytes into buffer through a scratch file.
void Fill(KBuffer& buffer, const std::string& bytes)
{
    std::string path = testfiles::MakeScratchFolder("kbuffer") + "\\data.bin";
    ASSERT_TRUE(testfiles::WriteFileBytes(path, bytes));
    ASSERT_TRUE(buffer.LoadFile(path.c_str()));
}

std::string PackedRecord(const std::string& text)
{
    uLongf packedLength = compressBound(text.size());
    std::vector<Bytef> packed(packedLength);
    compress(packed.data(), &packedLength, (const Bytef*)text.data(), text.size());
    std::string record;
    AppendU32(record, (uint32_t)text.size());
    record.append((const char*)packed.data(), packedLength);
    return record;
}

TEST(KBufferTest, AllocOfZeroFailsAndFreeZeroesEverything)
{
    KBuffer buffer;
    EXPECT_FALSE(buffer.Alloc(0));
    EXPECT_TRUE(buffer.Alloc(16));
    EXPECT_EQ(16u, buffer.GetSize());
    EXPECT_EQ(0u, buffer.GetCapacity());
    buffer.Free();
    EXPECT_EQ(nullptr, buffer.GetData());
    EXPECT_EQ(0u, buffer.GetSize());
}

TEST(KBufferTest, LoadFileFailsForMissingAndEmptyFiles)
{
    KBuffer buffer;
    std::string folder = testfiles::MakeScratchFolder("kbuffer");
    EXPECT_FALSE(buffer.LoadFile((folder + "\\missing.bin").c_str()));
    ASSERT_TRUE(testfiles::WriteFileBytes(folder + "\\empty.bin", ""));
    EXPECT_FALSE(buffer.LoadFile((folder + "\\empty.bin").c_str()));
    EXPECT_EQ(nullptr, buffer.GetData());
}

TEST(KBufferTest, AttachTransfersOwnership)
{
    KBuffer source, target;
    Fill(source, "abcdef");
    const uint8_t* block = source.GetData();
    target.Attach(source);
    EXPECT_EQ(block, target.GetData());
    EXPECT_EQ(6u, target.GetSize());
    EXPECT_EQ(6u, target.GetCapacity());
    EXPECT_EQ(nullptr, source.GetData());
    EXPECT_EQ(0u, source.GetSize());
    // Both destructors run at the end of the test: no double free.
}

TEST(KBufferTest, ReadsAreLittleEndianAndBounded)
{
    std::string bytes;
    AppendU32(bytes, 0x04030201);
    float half = 0.5f;
    uint32_t bits;
    memcpy(&bits, &half, 4);
    AppendU32(bytes, bits);
    bytes += "xy";
    KBuffer buffer;
    Fill(buffer, bytes);
    uint32_t word = 0;
    float value = 0;
    uint8_t byte = 0;
    EXPECT_TRUE(buffer.ReadUInt32(word));
    EXPECT_EQ(0x04030201u, word);
    EXPECT_TRUE(buffer.ReadFloat(value));
    EXPECT_EQ(0.5f, value);
    EXPECT_FALSE(buffer.ReadUInt32(word));   // only two bytes left
    EXPECT_EQ(8u, buffer.GetPosition());
    KString text;
    EXPECT_FALSE(buffer.ReadString(text, 3));
    EXPECT_TRUE(buffer.ReadString(text, 2));
    EXPECT_STREQ("xy", text.GetText());
    EXPECT_FALSE(buffer.ReadUInt8(byte));
}

TEST(KBufferTest, ReadBlockCopiesTheAnnouncedBytes)
{
    std::string bytes;
    AppendU32(bytes, 3);
    bytes += "abc";
    AppendU32(bytes, 0);
    AppendU32(bytes, 100);   // more than is left
    bytes += "zz";
    KBuffer src, block;
    Fill(src, bytes);
    ASSERT_TRUE(block.ReadBlock(src));
    EXPECT_EQ(3u, block.GetSize());
    EXPECT_EQ(0, memcmp(block.GetData(), "abc", 3));
    EXPECT_EQ(7u, src.GetPosition());

    ASSERT_TRUE(block.ReadBlock(src));
    EXPECT_EQ(0u, block.GetSize());
    EXPECT_EQ(nullptr, block.GetData());
    EXPECT_EQ(11u, src.GetPosition());

    EXPECT_FALSE(block.ReadBlock(src));
    EXPECT_EQ(11u, src.GetPosition());
}

TEST(KBufferTest, UncompressUnpacksALengthPrefixedRecord)
{
    std::string text(5000, 'a');
    text += "the end";
    KBuffer buffer;
    Fill(buffer, PackedRecord(text));
    ASSERT_TRUE(buffer.Uncompress());
    EXPECT_EQ(text.size(), buffer.GetSize());
    EXPECT_EQ(text.size(), buffer.GetCapacity());
    EXPECT_EQ(0u, buffer.GetPosition());
    EXPECT_EQ(text, std::string((const char*)buffer.GetData(), buffer.GetSize()));
}

TEST(KBufferTest, UncompressOfACutStreamKeepsThePackedBytes)
{
    std::string record = PackedRecord(std::string(5000, 'b') + "tail");
    record.resize(record.size() - 6);
    KBuffer buffer;
    Fill(buffer, record);
    EXPECT_FALSE(buffer.Uncompress());
    ASSERT_EQ(record.size(), buffer.GetSize());
    EXPECT_EQ(record, std::string((const char*)buffer.GetData(), buffer.GetSize()));
}

TEST(KBufferTest, UncompressRefusesImpossibleLengthsAndTinyRecords)
{
    KBuffer buffer;
    Fill(buffer, "ab");
    EXPECT_FALSE(buffer.Uncompress());
    std::string record = PackedRecord("hello");
    record[3] = (char)0x7F;   // claims about 2 GB unpacked
    Fill(buffer, record);
    EXPECT_FALSE(buffer.Uncompress());
    EXPECT_EQ(record.size(), buffer.GetSize());
}

// Random damage to a packed record never crashes and never leaves a
// half-changed buffer.
TEST(KBufferTest, DamagedRecordsFailCleanly)
{
    std::string record = PackedRecord(std::string(2000, 'c') + "0123456789");
    std::string path = testfiles::MakeScratchFolder("kbuffer") + "\\fuzz.bin";
    srand(1234);
    for (int round = 0; round < 300; ++round) {
        std::string damaged = record;
        int flips = 1 + rand() % 4;
        for (int i = 0; i < flips; ++i)
            damaged[rand() % damaged.size()] = (char)rand();
        if (rand() % 3 == 0)
            damaged.resize(1 + rand() % damaged.size());
        ASSERT_TRUE(testfiles::WriteFileBytes(path, damaged));
        KBuffer buffer;
        ASSERT_TRUE(buffer.LoadFile(path.c_str()));
        if (!buffer.Uncompress()) {
            EXPECT_EQ(damaged, std::string((const char*)buffer.GetData(), buffer.GetSize()));
        }
    }
}

}  // namespace
