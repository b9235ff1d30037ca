#include "tests/support/gtest.h"

#include "codecs/xmemfile.h"
#include "codecs/xtiffio.h"

#include "platform/native/native_begin.h"
#include <tiffio.h>
#include "platform/native/native_end.h"

TEST(TIFFOpenEx, WritesAndReadsThroughAMemoryStream)
{
    CxMemFile stream;
    ASSERT_TRUE(stream.Open());
    TIFF* out = TIFFOpenEx(&stream, "w");
    ASSERT_TRUE(out != NULL);
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, 3);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    unsigned char rows[2][3] = { { 1, 2, 3 }, { 4, 5, 6 } };
    ASSERT_EQ(1, TIFFWriteScanline(out, rows[0], 0, 0));
    ASSERT_EQ(1, TIFFWriteScanline(out, rows[1], 1, 0));
    TIFFClose(out);
    EXPECT_GT(stream.Size(), 8);
    EXPECT_EQ('I', stream.GetBuffer(false)[0]);

    ASSERT_TRUE(stream.Seek(0, SEEK_SET));
    TIFF* in = TIFFOpenEx(&stream, "r");
    ASSERT_TRUE(in != NULL);
    uint32_t width = 0;
    TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &width);
    EXPECT_EQ(3u, width);
    unsigned char row[3] = { 0 };
    ASSERT_EQ(1, TIFFReadScanline(in, row, 0, 0));
    EXPECT_EQ(2, row[1]);
    ASSERT_EQ(1, TIFFReadScanline(in, row, 1, 0));
    EXPECT_EQ(6, row[2]);
    TIFFClose(in);
    EXPECT_TRUE(stream.Seek(0, SEEK_SET));  // the stream stays open
}

TEST(TIFFOpenEx, SeekProcedure)
{
    BYTE data[10] = { 0 };
    CxMemFile stream(data, sizeof(data));
    EXPECT_EQ(4u, CxTiffSeekProc(&stream, 4, SEEK_SET));
    EXPECT_EQ(6u, CxTiffSeekProc(&stream, 2, SEEK_CUR));
    EXPECT_EQ(7u, CxTiffSeekProc(&stream, (uint64_t)-3, SEEK_END));
    EXPECT_EQ((uint64_t)-1, CxTiffSeekProc(&stream, 0xFFFFFFFFu, SEEK_SET));
    EXPECT_EQ((uint64_t)-1, CxTiffSeekProc(&stream, 1, 7));
    EXPECT_TRUE(TIFFOpenEx(NULL, "r") == NULL);
}
