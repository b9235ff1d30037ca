#include "tests/support/gtest.h"

#include <string.h>

#include <string>
#include <vector>

#include "codecs/ximaexif.h"
#include "codecs/ximajpg.h"
#include "codecs/xmemfile.h"
#include "tests/support/reference_images.h"

namespace {

// Builds the TIFF block of an EXIF APP1 section in either byte order.
class TiffBlockWriter {
public:
    explicit TiffBlockWriter(bool motorola) : m_motorola(motorola) {}

    void U16(std::string& out, unsigned value) const
    {
        char a = (char)(value & 0xFF), b = (char)((value >> 8) & 0xFF);
        out += m_motorola ? b : a;
        out += m_motorola ? a : b;
    }
    void U32(std::string& out, uint32_t value) const
    {
        if (m_motorola) {
            U16(out, value >> 16);
            U16(out, value & 0xFFFF);
        } else {
            U16(out, value & 0xFFFF);
            U16(out, value >> 16);
        }
    }
    struct Entry {
        unsigned tag, format;
        uint32_t components;
        std::string value;  // encoded value bytes
    };
    std::string Short(unsigned v) const { std::string s; U16(s, v); return s; }
    std::string Long(uint32_t v) const { std::string s; U32(s, v); return s; }
    std::string Rational(uint32_t n, uint32_t d) const { return Long(n) + Long(d); }

    // Directory at `offset` (inside the block); values longer than four
    // bytes go to `data` at `dataOffset` onwards.
    std::string Directory(const std::vector<Entry>& entries, uint32_t offset, uint32_t next) const
    {
        std::string dir, data;
        U16(dir, (unsigned)entries.size());
        uint32_t dataOffset = offset + 2 + 12 * (uint32_t)entries.size() + 4;
        for (const Entry& e : entries) {
            U16(dir, e.tag);
            U16(dir, e.format);
            U32(dir, e.components);
            if (e.value.size() <= 4) {
                dir += e.value + std::string(4 - e.value.size(), '\0');
            } else {
                U32(dir, dataOffset + (uint32_t)data.size());
                data += e.value;
            }
        }
        U32(dir, next);
        return dir + data;
    }
    std::string Header(uint32_t firstOffset) const
    {
        std::string h = m_motorola ? "MM" : "II";
        U16(h, 42);
        U32(h, firstOffset);
        return h;
    }

private:
    bool m_motorola;
};

std::string App1(const std::string& tiffBlock)
{
    std::string payload = std::string("Exif\0\0", 6) + tiffBlock;
    size_t length = payload.size() + 2;
    return std::string("\xFF\xE1", 2) + (char)(length >> 8) + (char)(length & 0xFF) + payload;
}

// A minimal stream: SOI, the given sections, a frame header and a start of scan.
std::string JpegWith(const std::string& sections)
{
    std::string sof("\xFF\xC0\0\x11\x08\0\x25\0\x3D\3\1\x22\0\2\x11\1\3\x11\1", 19);
    std::string sos("\xFF\xDA\0\x0C\3\1\0\2\x11\3\x11\0\x3F\0", 14);
    return std::string("\xFF\xD8", 2) + sections + sof + sos + "data\xFF\xD9";
}

// IFD0 with make, model, orientation, resolution; an EXIF sub-directory;
// IFD1 with a thumbnail location.
std::string CameraBlock(bool motorola, unsigned orientation)
{
    TiffBlockWriter w(motorola);
    typedef TiffBlockWriter::Entry E;
    std::string comment = std::string("ASCII\0\0\0Hello   ", 16);
    std::vector<E> exifDir = {
        { 0x829A, 5, 1, w.Rational(1, 125) },
        { 0x829D, 5, 1, w.Rational(28, 10) },
        { 0x8827, 3, 1, w.Short(25) },
        { 0x9003, 2, 20, "2026:12:09 05:00:00" + std::string(1, '\0') },
        { 0x9209, 3, 1, w.Short(0x19) },
        { 0x9201, 10, 1, w.Rational(5, 1) },
        { 0x9286, 7, (uint32_t)comment.size(), comment },
    };
    std::vector<E> ifd0 = {
        { 0x010F, 2, 6, std::string("Canon\0", 6) },
        { 0x0110, 2, 9, std::string("EOS 5D 2\0", 9) },
        { 0x0112, 3, 1, w.Short(orientation) },
        { 0x011A, 5, 1, w.Rational(300, 1) },
        { 0x011B, 5, 1, w.Rational(300, 1) },
        { 0x0128, 3, 1, w.Short(2) },
        { 0x8769, 4, 1, "" },  // offset filled below
    };
    // Layout: header (8), IFD0 at 8, EXIF directory after it, IFD1 last.
    std::string first = w.Directory(ifd0, 8, 0);
    uint32_t exifOffset = 8 + (uint32_t)first.size();
    ifd0.back().value = w.Long(exifOffset);
    std::string exif = w.Directory(exifDir, exifOffset, 0);
    uint32_t ifd1Offset = exifOffset + (uint32_t)exif.size();
    std::string thumbnail = "THUMBNAIL";
    std::vector<E> ifd1 = { { 0x0201, 4, 1, "" }, { 0x0202, 4, 1, w.Long(9) } };
    uint32_t thumbOffset = ifd1Offset + 2 + 12 * 2 + 4;
    ifd1[0].value = w.Long(thumbOffset);
    first = w.Directory(ifd0, 8, ifd1Offset);
    return w.Header(8) + first + exif + w.Directory(ifd1, ifd1Offset, 0) + thumbnail;
}

bool ReadExif(const std::string& jpeg, CxExifInfo& reader)
{
    CxMemFile stream((BYTE*)jpeg.data(), (DWORD)jpeg.size());
    return reader.DecodeExif(&stream, EXIF_READ_EXIF);
}

}  // namespace

TEST(CxExifInfo, IntelAndMotorolaOrderGiveTheSameFields)
{
    CxExifInfo intel, motorola;
    ASSERT_TRUE(ReadExif(JpegWith(App1(CameraBlock(false, 6))), intel));
    ASSERT_TRUE(ReadExif(JpegWith(App1(CameraBlock(true, 6))), motorola));
    for (const CxExifInfo* reader : { &intel, &motorola }) {
        const CxExifRecord& r = *reader->GetRecord();
        EXPECT_TRUE(r.isExif) << reader->GetLastError();
        EXPECT_STREQ("Canon", r.cameraMake);
        EXPECT_STREQ("EOS 5D 2", r.cameraModel);
        EXPECT_EQ(6, r.orientation);
        EXPECT_FLOAT_EQ(300.0f, r.xResolution);
        EXPECT_FLOAT_EQ(1.0f, r.resolutionUnit);
        EXPECT_FLOAT_EQ(0.008f, r.exposureTime);  // the shutter speed tag comes later
        EXPECT_FLOAT_EQ(2.8f, r.apertureFNumber);
        EXPECT_EQ(5000, r.isoEquivalent);
        EXPECT_EQ(1, r.flashUsed);
        EXPECT_STREQ("2026:12:09 05:00:00", r.dateTime);
        EXPECT_STREQ("Hello", r.comments);
        EXPECT_EQ(37, r.height);
        EXPECT_EQ(61, r.width);
        EXPECT_EQ(1, r.isColor);
        EXPECT_EQ(0xC0, r.process);
        ASSERT_EQ(9u, r.thumbnailSize);
        EXPECT_EQ(0, memcmp(r.thumbnailPointer, "THUMBNAIL", 9));
    }
}

TEST(CxExifInfo, FloatsAndDoublesFollowTheBlocksByteOrder)
{
    for (bool motorola : { false, true }) {
        TiffBlockWriter w(motorola);
        // 72.0 as a float and as a double.
        std::string high = w.Long(0x40520000), low = w.Long(0);
        std::vector<TiffBlockWriter::Entry> entries = {
            { 0x011A, 11, 1, w.Long(0x42900000) },
            { 0x011B, 12, 1, motorola ? high + low : low + high },
        };
        CxExifInfo reader;
        ReadExif(JpegWith(App1(w.Header(8) + w.Directory(entries, 8, 0))), reader);
        EXPECT_FLOAT_EQ(72.0f, reader.GetRecord()->xResolution) << motorola;
        EXPECT_FLOAT_EQ(72.0f, reader.GetRecord()->yResolution) << motorola;
    }
}

TEST(CxExifInfo, UndefinedOrientationBecomesZeroAndStaysValid)
{
    CxExifInfo reader;
    ReadExif(JpegWith(App1(CameraBlock(false, 9))), reader);
    EXPECT_TRUE(reader.GetRecord()->isExif);
    EXPECT_EQ(0, reader.GetRecord()->orientation);
    EXPECT_STREQ("Undefined rotation value", reader.GetLastError());
}

TEST(CxExifInfo, ShutterSpeedOnlyWithoutExposureTime)
{
    TiffBlockWriter w(false);
    std::vector<TiffBlockWriter::Entry> entries = { { 0x9201, 10, 1, w.Rational(5, 1) } };
    CxExifInfo reader;
    ReadExif(JpegWith(App1(w.Header(8) + w.Directory(entries, 8, 0))), reader);
    EXPECT_TRUE(reader.GetRecord()->isExif);
    EXPECT_FLOAT_EQ(0.03125f, reader.GetRecord()->exposureTime);
}

TEST(CxExifInfo, DamagedDirectoriesFailWithoutReadingOutside)
{
    TiffBlockWriter w(false);
    struct Case {
        std::string block;
        const char* message;
    };
    std::vector<TiffBlockWriter::Entry> badFormat = { { 0x0112, 13, 1, w.Short(1) } };
    std::vector<TiffBlockWriter::Entry> farValue = { { 0x010F, 2, 0x40000000, "" } };
    farValue[0].value = w.Long(0xFFFFFFF0);
    std::string hugeCount = w.Header(8);
    w.U16(hugeCount, 0xFFFF);
    std::vector<TiffBlockWriter::Entry> farLink = { { 0x8769, 4, 1, w.Long(0x7FFFFFFF) } };
    const Case cases[] = {
        { w.Header(8) + w.Directory(badFormat, 8, 0), "Illegal format code in EXIF dir" },
        { w.Header(8) + w.Directory(farValue, 8, 0), "Illegal pointer offset value in EXIF." },
        { hugeCount, "Illegally sized directory" },
        { w.Header(8) + w.Directory(farLink, 8, 0), "Illegal subdirectory link" },
        { w.Header(8) + w.Directory({}, 8, 0xFFFFFFFF), "Illegal subdirectory link" },
        { std::string("II*\0", 4), "Incorrect Exif header" },  // shorter than the header
        { std::string("XX*\0\x08\0\0\0", 8), "Invalid Exif alignment marker." },
        { std::string("II\x2B\0\x08\0\0\0", 8), "Invalid Exif start (1)" },
    };
    for (const Case& c : cases) {
        CxExifInfo reader;
        ReadExif(JpegWith(App1(c.block)), reader);
        EXPECT_FALSE(reader.GetRecord()->isExif) << c.message;
        EXPECT_STREQ(c.message, reader.GetLastError());
    }
}

TEST(CxExifInfo, DirectoryLinksThatLoopEnd)
{
    TiffBlockWriter w(true);
    // IFD0 links to itself as next directory and as EXIF sub-directory.
    std::vector<TiffBlockWriter::Entry> entries = { { 0x8769, 4, 1, w.Long(8) },
                                                    { 0x0112, 3, 1, w.Short(3) } };
    CxExifInfo reader;
    ReadExif(JpegWith(App1(w.Header(8) + w.Directory(entries, 8, 8))), reader);
    EXPECT_TRUE(reader.GetRecord()->isExif);
    EXPECT_EQ(3, reader.GetRecord()->orientation);
}

TEST(CxExifInfo, SectionTableAndPaddingLimits)
{
    std::string app2("\xFF\xE2\0\x04xy", 6);
    std::string many;
    for (int i = 0; i < 19; ++i)
        many += app2;
    // 19 kept sections plus the frame header make 20; the scan is the 21st.
    CxExifInfo tooMany;
    EXPECT_FALSE(ReadExif(JpegWith(many), tooMany));
    EXPECT_STREQ("Too many sections in jpg file", tooMany.GetLastError());
    // APP0 and non-EXIF APP1 sections do not count.
    std::string dropped = many.substr(0, 6 * 18) + std::string("\xFF\xE0\0\x04JF", 6) +
                          std::string("\xFF\xE1\0\x06XMP!", 8);
    CxExifInfo enough;
    EXPECT_TRUE(ReadExif(JpegWith(dropped), enough)) << enough.GetLastError();

    CxExifInfo six, seven;
    EXPECT_TRUE(ReadExif(JpegWith(std::string(5, '\xFF') + app2), six));
    EXPECT_FALSE(ReadExif(JpegWith(std::string(6, '\xFF') + app2), seven));
}

TEST(CxExifInfo, CommentTextIsCleanedAndFirstOneWins)
{
    std::string first("\xFF\xFE\0\x07" "A\r\nB\x01", 9);
    std::string second("\xFF\xFE\0\x04zz", 6);
    CxExifInfo reader;
    ASSERT_TRUE(ReadExif(JpegWith(first + second), reader));
    EXPECT_STREQ("A\nB?", reader.GetRecord()->comments);
    EXPECT_EQ(2, reader.SectionsRead() - 1);  // comment, frame header (scan is the last)
}

TEST(CxExifInfo, EncodeNeedsAScanAndWritesJfifBeforeAComment)
{
    CxExifInfo empty;
    CxMemFile out;
    ASSERT_TRUE(out.Open());
    EXPECT_FALSE(empty.EncodeExif(&out));
    EXPECT_STREQ("Can't write exif : didn't read all", empty.GetLastError());

    std::string jpeg = JpegWith(std::string("\xFF\xFE\0\x05hi!", 7));
    CxExifInfo reader;
    CxMemFile in((BYTE*)jpeg.data(), (DWORD)jpeg.size());
    ASSERT_TRUE(reader.DecodeExif(&in, EXIF_READ_EXIF | EXIF_READ_IMAGE));
    ASSERT_TRUE(reader.EncodeExif(&out));
    std::string written((const char*)out.GetBuffer(false), out.Size());
    ASSERT_GT(written.size(), 20u);
    EXPECT_EQ(std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), written.substr(0, 10));
    EXPECT_EQ(std::string("\xFF\xFE\0\x05hi!", 7), written.substr(20, 7));
    EXPECT_EQ(jpeg.substr(2 + 7), written.substr(27));
}

TEST(CxImageJPG, EncodingPutsTheDecodedExifBack)
{
    codectest::ReferenceFolder files("make_jpeg_fixtures.sh");
    ASSERT_TRUE(files.Ready()) << files.ExitCode();
    std::string baseline = files.Bytes("baseline.jpg");
    // Our APP1 and a comment in front of cjpeg's sections.
    std::string withExif = baseline.substr(0, 2) + App1(CameraBlock(true, 6)) +
                           std::string("\xFF\xFE\0\x06note", 8) + baseline.substr(2);
    CxImageJPG codec;
    CxMemFile in((BYTE*)withExif.data(), (DWORD)withExif.size());
    ASSERT_TRUE(codec.Decode(&in)) << codec.GetLastError();
    EXPECT_EQ(300, codec.GetXDPI());
    CxMemFile out;
    ASSERT_TRUE(out.Open());
    ASSERT_TRUE(codec.Encode(&out)) << codec.GetLastError();
    std::string written((const char*)out.GetBuffer(false), out.Size());
    ASSERT_GT(written.size(), 4u);
    EXPECT_EQ(std::string("\xFF\xD8\xFF\xE1", 4), written.substr(0, 4));

    CxImageJPG again;
    CxMemFile back((BYTE*)written.data(), (DWORD)written.size());
    ASSERT_TRUE(again.Decode(&back)) << again.GetLastError();
    EXPECT_TRUE(again.GetExifRecord().isExif);
    EXPECT_STREQ("Canon", again.GetExifRecord().cameraMake);
    EXPECT_STREQ("note", again.GetExifRecord().comments);
    EXPECT_EQ(61u, again.GetWidth());
}
