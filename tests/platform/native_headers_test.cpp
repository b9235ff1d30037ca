// The native libraries work when reached through the native-header pair,
// beside Wine's own headers.
#include "tests/support/gtest.h"

#include <stdio.h>
#include "platform/native/native_begin.h"
#include <zlib.h>
#include <png.h>
#include <jpeglib.h>
#include "platform/native/native_end.h"

TEST(NativeHeaders, ZlibRoundTrip)
{
    const char text[] = "Harbeck Harbeck Harbeck Harbeck";
    Bytef packed[128];
    uLongf packedSize = sizeof(packed);
    ASSERT_EQ(Z_OK, compress2(packed, &packedSize, (const Bytef*)text, sizeof(text), 9));
    char unpacked[64] = {};
    uLongf unpackedSize = sizeof(unpacked);
    ASSERT_EQ(Z_OK, uncompress((Bytef*)unpacked, &unpackedSize, packed, packedSize));
    EXPECT_STREQ(text, unpacked);
}

TEST(NativeHeaders, LibpngCreatesStructs)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    ASSERT_NE(nullptr, png);
    png_infop info = png_create_info_struct(png);
    EXPECT_NE(nullptr, info);
    png_destroy_read_struct(&png, &info, NULL);
}

TEST(NativeHeaders, LibjpegCreatesDecompressor)
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    EXPECT_EQ(JPEG_LIB_VERSION, 62);
    jpeg_destroy_decompress(&cinfo);
}

TEST(NativeHeaders, NarrowLiteralsAreGbk)
{
    const unsigned char* text = (const unsigned char*)"中";
    EXPECT_EQ(0xD6, text[0]);
    EXPECT_EQ(0xD0, text[1]);
    EXPECT_EQ(936u, GetACP());
}
