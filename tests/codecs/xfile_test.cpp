#include "tests/support/gtest.h"

#include <stdlib.h>
#include <string.h>

#include "codecs/xiofile.h"
#include "codecs/xmemfile.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

TEST(CxMemFile, ReadsWholeItemsAndStopsAtTheEnd)
{
    BYTE data[10] = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 };
    CxMemFile stream(data, sizeof(data));
    BYTE buffer[12] = { 0 };
    EXPECT_EQ(2u, stream.Read(buffer, 4, 3));
    EXPECT_EQ(9, buffer[9]);
    EXPECT_EQ(0u, stream.Read(buffer, 4, 3));
    EXPECT_TRUE(stream.Eof());
    EXPECT_EQ(-1, stream.GetC());
}

TEST(CxMemFile, SeekClampsBelowZeroAndAllowsPastTheEnd)
{
    BYTE data[10] = { 0 };
    CxMemFile stream(data, sizeof(data));
    EXPECT_TRUE(stream.Seek(-5, SEEK_SET));
    EXPECT_EQ(0, stream.Tell());
    EXPECT_TRUE(stream.Seek(20, SEEK_SET));
    EXPECT_EQ(1, stream.Error());
    BYTE byte;
    EXPECT_EQ(0u, stream.Read(&byte, 1, 1));
    EXPECT_FALSE(stream.Seek(0, 3));
    EXPECT_TRUE(stream.Seek(-3, SEEK_END));
    EXPECT_EQ(7, stream.Tell());
}

TEST(CxMemFile, GrowsInSteps)
{
    CxMemFile stream;
    ASSERT_TRUE(stream.Open());
    EXPECT_FALSE(stream.Open());
    std::string block(4096, 'x');
    EXPECT_EQ(1u, stream.Write(block.data(), 1, 1));
    EXPECT_EQ(1u, stream.Write(block.data(), 4095, 1));
    EXPECT_EQ(4096, stream.Size());
    EXPECT_TRUE(stream.PutC('y'));
    EXPECT_EQ(4097, stream.Size());
    EXPECT_TRUE(stream.Seek(0, SEEK_SET));
    EXPECT_EQ('x', stream.GetC());

    CxMemFile single;
    ASSERT_TRUE(single.Open());
    EXPECT_EQ(1u, single.Write(block.data(), 4096, 1));
    EXPECT_EQ(4096, single.Size());
}

TEST(CxMemFile, GrowingABorrowedBufferCopiesIt)
{
    BYTE data[4] = { 1, 2, 3, 4 };
    CxMemFile stream(data, sizeof(data));
    ASSERT_TRUE(stream.Seek(0, SEEK_END));
    EXPECT_EQ(1u, stream.Write("ab", 2, 1));
    EXPECT_EQ(6, stream.Size());
    BYTE* buffer = stream.GetBuffer(false);
    EXPECT_NE(data, buffer);
    EXPECT_EQ(0, memcmp(buffer, "\1\2\3\4ab", 6));
    EXPECT_EQ(4, data[3]);
}

TEST(CxMemFile, DetachedBufferOutlivesTheStream)
{
    BYTE* buffer;
    {
        CxMemFile stream;
        ASSERT_TRUE(stream.Open());
        stream.Write("abc", 3, 1);
        buffer = stream.GetBuffer(true);
    }
    EXPECT_EQ(0, memcmp(buffer, "abc", 3));
    free(buffer);
}

TEST(CxMemFile, WithoutBufferEverythingFails)
{
    CxMemFile stream;
    BYTE byte = 0;
    EXPECT_EQ(-1, stream.Tell());
    EXPECT_EQ(-1, stream.Size());
    EXPECT_EQ(-1, stream.Error());
    EXPECT_TRUE(stream.Eof());
    EXPECT_FALSE(stream.Flush());
    EXPECT_FALSE(stream.PutC(1));
    EXPECT_EQ(0u, stream.Write(&byte, 1, 1));
    EXPECT_FALSE(stream.Seek(0, SEEK_SET));
}

TEST(CxIOFile, WithoutFileReportsTheDocumentedValues)
{
    CxIOFile stream(NULL);
    EXPECT_EQ(-1, stream.Size());
    EXPECT_TRUE(stream.Eof());
    EXPECT_EQ(-1, stream.GetC());
    EXPECT_EQ(-1, stream.Error());
    EXPECT_FALSE(stream.Seek(0, SEEK_SET));
    EXPECT_TRUE(stream.Close());
}

TEST(CxIOFile, ReadsAndWritesAnOpenFile)
{
    std::string folder = testfiles::MakeScratchFolder("iofile");
    std::string path = codectest::UnixPath(folder) + "/data.bin";
    FILE* file = fopen(path.c_str(), "w+b");
    ASSERT_TRUE(file != NULL);
    {
        CxIOFile stream(file);
        EXPECT_EQ(2u, stream.Write("abcd", 2, 2));
        EXPECT_TRUE(stream.PutC('e'));
        EXPECT_EQ(5, stream.Size());
        EXPECT_EQ(5, stream.Tell());
        EXPECT_TRUE(stream.Seek(1, SEEK_SET));
        EXPECT_EQ('b', stream.GetC());
        EXPECT_TRUE(stream.Close());
    }
    // The stream leaves the FILE open.
    EXPECT_EQ(0, fseek(file, 0, SEEK_SET));
    EXPECT_EQ('a', fgetc(file));
    fclose(file);
}
