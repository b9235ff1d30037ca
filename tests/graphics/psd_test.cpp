// The PSD reader: files written by ImageMagick show the composite that
// ImageMagick reads; hand-made files reach every failure code; mutated
// files fail cleanly.
#include "tests/support/gtest.h"

#include <stdint.h>

#include <random>
#include <string>
#include <vector>

#include "graphics/psd_reader.h"
#include "tests/support/mutation_cases.h"
#include "tests/support/unix_tools.h"
#include "tests/graphics/file_builders.h"
#include "tests/support/test_files.h"

namespace {

using namespace filetest;

std::string Resource(uint16_t id, const std::string& data)
{
    std::string s = "8BIM";
    PutBig16(s, id);
    s += std::string(2, '\0');  // empty name and its pad byte
    PutBig32(s, static_cast<uint32_t>(data.size()));
    s += data;
    if (data.size() % 2)
        s += '\0';
    return s;
}

std::string ResolutionResource(uint16_t dpi)
{
    std::string data;
    PutBig16(data, dpi);
    PutBig32(data, 1);
    PutBig16(data, 1);
    PutBig16(data, dpi);
    PutBig32(data, 1);
    PutBig16(data, 1);
    return Resource(1005, data);
}

std::string Scratch()
{
    static std::string folder = testfiles::MakeScratchFolder("psd");
    return folder;
}

std::string WritePsd(const std::string& name, const std::string& bytes)
{
    std::string path = Scratch() + "\\" + name;
    testfiles::WriteFileBytes(path, bytes);
    return path;
}

// The bitmap as top-down RGB bytes.
std::string BitmapRgb(HBITMAP bitmap, int& width, int& height)
{
    BITMAP info;
    if (!bitmap || GetObject(bitmap, sizeof(info), &info) != sizeof(info))
        return "";
    width = info.bmWidth;
    height = info.bmHeight;
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 24;
    int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> bits(static_cast<size_t>(stride) * height);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, height, bits.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height)
        return "";
    std::string rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const BYTE* p = &bits[static_cast<size_t>(y) * stride + x * 3];
            rgb += static_cast<char>(p[2]);
            rgb += static_cast<char>(p[1]);
            rgb += static_cast<char>(p[0]);
        }
    return rgb;
}

// Loads the bytes; returns the code and the composite (empty without one).
int32_t LoadBytes(const std::string& bytes, std::string& rgb, PsdReader& reader)
{
    std::string path = WritePsd("case.psd", bytes);
    int32_t code = reader.Load(path.c_str());
    HBITMAP bitmap = reader.Detach();
    int w = 0, h = 0;
    rgb = BitmapRgb(bitmap, w, h);
    if (bitmap)
        DeleteObject(bitmap);
    return code;
}

int32_t LoadBytes(const std::string& bytes, std::string& rgb)
{
    PsdReader reader;
    return LoadBytes(bytes, rgb, reader);
}

std::string Rgb(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// 257 - 0x81 = 128 copies of the next byte: PackBits at its largest gain.
std::string LargestRuns(uint64_t bytes, char value)
{
    std::string runs;
    runs.reserve(bytes / 64);
    for (uint64_t i = 0; i < bytes / 128; ++i) {
        runs += '\x81';
        runs += value;
    }
    return runs;
}

}  // namespace

TEST(PsdReader, RefusesBadHeadersAndDepths)
{
    std::string rgb;
    PsdSpec spec;
    spec.imageData = std::string(18, '\x10');
    EXPECT_EQ(0, LoadBytes(BuildPsd(spec), rgb));
    EXPECT_EQ(18u, rgb.size());

    PsdSpec version2 = spec;
    version2.version = 2;
    EXPECT_EQ(-2, LoadBytes(BuildPsd(version2), rgb));
    EXPECT_EQ("", rgb);
    std::string reserved = BuildPsd(spec);
    reserved[8] = 1;
    EXPECT_EQ(-2, LoadBytes(reserved, rgb));
    PsdSpec tooWide = spec;
    tooWide.width = 30001;
    EXPECT_EQ(-2, LoadBytes(BuildPsd(tooWide), rgb));
    EXPECT_EQ(-2, LoadBytes("8BPS", rgb));

    PsdSpec oneBit = spec;
    oneBit.bits = 1;
    oneBit.mode = PsdReader::ModeBitmap;
    oneBit.channels = 1;
    EXPECT_EQ(-7, LoadBytes(BuildPsd(oneBit), rgb));
    PsdSpec deep = spec;
    deep.bits = 32;
    EXPECT_EQ(-8, LoadBytes(BuildPsd(deep), rgb));

    PsdSpec zip = spec;
    zip.compression = 2;
    EXPECT_EQ(-10, LoadBytes(BuildPsd(zip), rgb));
    zip.compression = 3;
    EXPECT_EQ(-11, LoadBytes(BuildPsd(zip), rgb));
    zip.compression = 7;
    EXPECT_EQ(-12, LoadBytes(BuildPsd(zip), rgb));

    PsdReader reader;
    EXPECT_EQ(-1, reader.Load((Scratch() + "\\missing.psd").c_str()));
    EXPECT_EQ(nullptr, reader.Detach());
}

TEST(PsdReader, ReadsResourcesBySize)
{
    std::string rgb;
    PsdSpec spec;
    spec.imageData = std::string(18, '\x10');
    PsdReader reader;
    EXPECT_EQ(0, LoadBytes(BuildPsd(spec), rgb, reader));
    EXPECT_EQ(3780, reader.GetPixelsPerMeter());
    EXPECT_EQ(30u, reader.GetResources().globalAngle);

    std::string angle;
    PutBig32(angle, 120);
    // An unknown resource of odd size, the resolution, and the angle.
    spec.resources = Resource(4000, "abc") + ResolutionResource(72) + Resource(1037, angle);
    EXPECT_EQ(0, LoadBytes(BuildPsd(spec), rgb, reader));
    EXPECT_EQ(2834, reader.GetPixelsPerMeter());
    EXPECT_EQ(120u, reader.GetResources().globalAngle);

    std::string overrun = Resource(1005, std::string(16, '\0'));
    overrun[overrun.size() - 17] = 0x20;  // the record claims more than the section holds
    spec.resources = overrun;
    EXPECT_EQ(-4, LoadBytes(BuildPsd(spec), rgb));
}

TEST(PsdReader, CompositesEachColourMode)
{
    std::string rgb;
    PsdSpec grey;
    grey.channels = 1;
    grey.width = 2;
    grey.height = 1;
    grey.bits = 16;
    grey.mode = PsdReader::ModeGrayscale;
    grey.imageData = std::string("\x12\x34\xFF\x00", 4);
    EXPECT_EQ(0, LoadBytes(BuildPsd(grey), rgb));
    EXPECT_EQ(Rgb({0x12, 0x12, 0x12, 0xFF, 0xFF, 0xFF}), rgb);

    PsdSpec indexed;
    indexed.channels = 1;
    indexed.width = 2;
    indexed.height = 1;
    indexed.mode = PsdReader::ModeIndexed;
    indexed.colourData = std::string(768, '\0');
    indexed.colourData[5] = 10;
    indexed.colourData[256 + 5] = 20;
    indexed.colourData[512 + 5] = 30;
    indexed.imageData = std::string("\x05\x00", 2);
    EXPECT_EQ(0, LoadBytes(BuildPsd(indexed), rgb));
    EXPECT_EQ(Rgb({10, 20, 30, 0, 0, 0}), rgb);

    // Raw RGB with an extra (alpha) channel keeps the first three planes.
    PsdSpec rgba;
    rgba.channels = 4;
    rgba.width = 1;
    rgba.height = 1;
    rgba.imageData = std::string("\x01\x02\x03\x04", 4);
    EXPECT_EQ(0, LoadBytes(BuildPsd(rgba), rgb));
    EXPECT_EQ(Rgb({1, 2, 3}), rgb);

    // CMYK: 255 stored is no ink, 0 is full ink.
    PsdSpec cmyk;
    cmyk.channels = 4;
    cmyk.width = 2;
    cmyk.height = 1;
    cmyk.mode = PsdReader::ModeCMYK;
    cmyk.imageData = std::string("\xFF\x00" "\xFF\xFF" "\xFF\xFF" "\xFF\xFF", 8);
    EXPECT_EQ(0, LoadBytes(BuildPsd(cmyk), rgb));
    ASSERT_EQ(6u, rgb.size());
    EXPECT_NEAR(253, static_cast<BYTE>(rgb[0]), 2);
    EXPECT_EQ(0, static_cast<BYTE>(rgb[3]));  // full cyan: no red
    EXPECT_NEAR(253, static_cast<BYTE>(rgb[4]), 2);

    // Lab: L 100, a 0, b 0 is white; L 0 is black.
    PsdSpec lab;
    lab.channels = 3;
    lab.width = 2;
    lab.height = 1;
    lab.mode = PsdReader::ModeLab;
    lab.imageData = std::string("\xFF\x00" "\x80\x80" "\x80\x80", 6);
    EXPECT_EQ(0, LoadBytes(BuildPsd(lab), rgb));
    ASSERT_EQ(6u, rgb.size());
    EXPECT_GE(static_cast<BYTE>(rgb[0]), 250);
    EXPECT_LE(static_cast<BYTE>(rgb[3]), 2);

    PsdSpec multichannel = cmyk;
    multichannel.channels = 2;
    multichannel.mode = PsdReader::ModeMultichannel;
    multichannel.imageData = std::string(4, '\0');
    EXPECT_EQ(0, LoadBytes(BuildPsd(multichannel), rgb));
    EXPECT_EQ(std::string(6, '\xFF'), rgb);  // too few channels: white
}

TEST(PsdReader, UnpacksPackBits)
{
    PsdSpec spec;
    spec.channels = 1;
    spec.width = 5;
    spec.height = 1;
    spec.mode = PsdReader::ModeGrayscale;
    spec.compression = 1;
    std::string data;
    PutBig16(data, 6);  // the row length table
    // 128 does nothing; 1 copies two bytes; 253 repeats one byte four times
    // (cut to the three left in the channel).
    data += std::string("\x80" "\x01\x0A\x0B" "\xFD\x0C", 6);
    spec.imageData = data;
    std::string rgb;
    EXPECT_EQ(0, LoadBytes(BuildPsd(spec), rgb));
    EXPECT_EQ(Rgb({10, 10, 10, 11, 11, 11, 12, 12, 12, 12, 12, 12, 12, 12, 12}), rgb);
}

TEST(PsdReader, TruncatedFilesFail)
{
    PsdSpec spec;
    spec.imageData = std::string(17, '\x10');
    std::string rgb;
    EXPECT_EQ(-6, LoadBytes(BuildPsd(spec), rgb));
    EXPECT_EQ("", rgb);
    std::string full = BuildPsd(spec);
    EXPECT_EQ(-6, LoadBytes(full.substr(0, full.size() - 19), rgb));  // no compression word
    EXPECT_EQ(-6, LoadBytes(full.substr(0, full.size() - 23), rgb));  // no layer length
    PsdSpec packed = spec;
    packed.compression = 1;
    packed.imageData = std::string(12, '\0') + "\x7F\x01";
    EXPECT_EQ(-6, LoadBytes(BuildPsd(packed), rgb));
    EXPECT_EQ("", rgb);
}

// A header may claim a picture far larger than the file can encode: it is
// refused before anything that size is made, also in a colour mode that
// shows no picture.
TEST(PsdReader, RefusesPicturesTheDataCannotHold)
{
    PsdSpec spec;
    spec.channels = 1;
    spec.width = 30000;
    spec.height = 3000;
    spec.mode = 5;  // no composite: the picture would be white
    spec.compression = 1;
    spec.imageData = std::string(2 * 3000, '\0') + std::string(64, '\xFF');
    std::string rgb;
    EXPECT_EQ(-6, LoadBytes(BuildPsd(spec), rgb));
    EXPECT_EQ("", rgb);
}

TEST(PsdReader, DecodesDataAtTheLargestGainUpToTheCeiling)
{
    PsdSpec spec;
    spec.channels = 3;
    spec.width = 1024;
    spec.height = 768;
    spec.compression = 1;
    spec.imageData = std::string(3 * 768 * 2, '\0');
    for (char value : {'\x10', '\x20', '\x30'})
        spec.imageData += LargestRuns(1024 * 768, value);
    std::string rgb;
    ASSERT_EQ(0, LoadBytes(BuildPsd(spec), rgb));
    ASSERT_EQ(1024u * 768 * 3, rgb.size());
    EXPECT_EQ(Rgb({0x10, 0x20, 0x30}), rgb.substr(rgb.size() - 3));

    // 2^28 pixels and one more row are refused, however well they pack.
    PsdSpec huge;
    huge.channels = 1;
    huge.mode = PsdReader::ModeGrayscale;
    huge.width = 16384;
    huge.height = 16385;
    huge.compression = 1;
    huge.imageData = std::string(16385 * 2, '\0') + LargestRuns(16384ull * 16385, '\0');
    EXPECT_EQ(-9, LoadBytes(BuildPsd(huge), rgb));
    EXPECT_EQ("", rgb);
}

TEST(PsdReader, MutatedFilesFailCleanly)
{
    PsdSpec spec;
    spec.width = 7;
    spec.height = 5;
    spec.compression = 1;
    std::string table;
    for (int i = 0; i < 15; ++i)
        PutBig16(table, 2);
    std::string rows;
    for (int i = 0; i < 15; ++i)
        rows += std::string("\xFA\x42", 2);
    spec.resources = ResolutionResource(96);
    spec.imageData = table + rows;
    std::string valid = BuildPsd(spec);
    std::string rgb;
    ASSERT_EQ(0, LoadBytes(valid, rgb));
    ASSERT_EQ(7u * 5 * 3, rgb.size());

    std::mt19937 random(8);
    const int oneOff = testrun::OneOffMutationCases();
    const int rounds = oneOff ? oneOff : 300;
    for (int round = 0; round < rounds; ++round) {
        std::string bytes = valid;
        int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i)
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        if (round % 5 == 0)
            bytes.resize(random() % bytes.size());
        DWORD start = GetTickCount();
        int32_t code = LoadBytes(bytes, rgb);
        EXPECT_LT(GetTickCount() - start, testrun::kOneOffSlowCaseMs) << "round " << round;
        EXPECT_LE(code, 0);
        EXPECT_GE(code, -12);
        EXPECT_EQ(code == 0, rgb != "");  // success, and only success, gives a picture
    }
}

// Files written by ImageMagick show the composite ImageMagick reads.
class PsdReference : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!codectest::UnixProgramExists("/usr/bin/convert"))
            return;
        s_folder = testfiles::MakeScratchFolder("psd-fixtures");
        std::string script = testfiles::SourceDir() + "/tests/graphics/make_psd_fixtures.sh";
        s_ready = codectest::RunUnixProgram("/bin/sh " + script + " " +
                                            codectest::UnixPath(s_folder)) == 0;
    }

    static void ExpectComposite(const char* name, int tolerance)
    {
        ASSERT_TRUE(s_ready);
        std::string expected;
        ASSERT_TRUE(testfiles::ReadFileBytes(s_folder + "\\" + name + ".rgb", expected));
        PsdReader reader;
        ASSERT_EQ(0, reader.Load((s_folder + "\\" + name + ".psd").c_str())) << name;
        HBITMAP bitmap = reader.Detach();
        ASSERT_NE(nullptr, bitmap) << name;
        int width = 0, height = 0;
        std::string got = BitmapRgb(bitmap, width, height);
        DeleteObject(bitmap);
        EXPECT_EQ(23, width);
        EXPECT_EQ(11, height);
        ASSERT_EQ(expected.size(), got.size()) << name;
        int worst = 0;
        for (size_t i = 0; i < got.size(); ++i) {
            int difference = abs(static_cast<BYTE>(got[i]) - static_cast<BYTE>(expected[i]));
            worst = difference > worst ? difference : worst;
        }
        EXPECT_LE(worst, tolerance) << name;
    }

    static std::string s_folder;
    static bool s_ready;
};

std::string PsdReference::s_folder;
bool PsdReference::s_ready = false;

TEST_F(PsdReference, Rgb)
{
    ExpectComposite("rgb_raw", 0);
    ExpectComposite("rgb_rle", 0);
    ExpectComposite("rgba_raw", 0);
    ExpectComposite("rgba_rle", 0);
    ExpectComposite("rgb16_raw", 1);
    ExpectComposite("rgb16_rle", 1);
}

TEST_F(PsdReference, GreyAndIndexed)
{
    ExpectComposite("gray_raw", 0);
    ExpectComposite("gray_rle", 0);
    ExpectComposite("gray16_raw", 1);
    ExpectComposite("indexed_raw", 0);
    ExpectComposite("indexed_rle", 0);
}

TEST_F(PsdReference, Cmyk)
{
    ExpectComposite("cmyk_raw", 3);
    ExpectComposite("cmyk_rle", 3);
    ExpectComposite("cmyk16_raw", 3);
}
