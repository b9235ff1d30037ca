// BMP files: CDib writing, reading and serialising, the KBMP file image,
// pictures made by ImageMagick, and damaged files.
#include "tests/support/gtest.h"

#include <cmath>
#include <random>
#include <string>

#include "graphics/bmp_file.h"
#include "graphics/dib.h"
#include "graphics/dib_format.h"
#include "graphics/gdi_device.h"
#include "graphics/kbmp.h"
#include "platform/classlib/archive.h"
#include "platform/classlib/file.h"
#include "tests/graphics/dib_builders.h"
#include "tests/support/test_files.h"

namespace {

// A read-only class-library file over bytes in memory.
class MemoryFile : public CFile {
public:
    explicit MemoryFile(const std::string& bytes) : m_bytes(bytes), m_position(0) {}
    UINT Read(void* buffer, UINT count) override
    {
        size_t left = m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
        UINT done = static_cast<UINT>(count < left ? count : left);
        memcpy(buffer, m_bytes.data() + m_position, done);
        m_position += done;
        return done;
    }
    ULONGLONG GetPosition() const override { return m_position; }
    ULONGLONG GetLength() const override { return m_bytes.size(); }

private:
    std::string m_bytes;
    size_t m_position;
};

std::string FileImage(const std::vector<BYTE>& packedDib)
{
    CDib dib;
    EXPECT_TRUE(dib.CreateFromPackedDib(packedDib.data()));
    BYTE* image = dib.CopyToBmpFile();
    std::string bytes(reinterpret_cast<char*>(image), BmpFileSizeField(image));
    free(image);
    return bytes;
}

BYTE* MallocCopy(const std::string& bytes)
{
    BYTE* block = static_cast<BYTE*>(malloc(bytes.size()));
    memcpy(block, bytes.data(), bytes.size());
    return block;
}

const std::vector<uint32_t> kSixPixels = {0xFF0000, 0x00FF00, 0x0000FF,
                                          0x000000, 0xFFFFFF, 0x808080};

}  // namespace

TEST(DibFiles, SaveAndReadBackWithTheResolution)
{
    std::string folder = testfiles::MakeScratchFolder("dibfile");
    std::string path = folder + "\\six.bmp";
    CDib dib;
    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(3, 2, kSixPixels))));
    dib.m_nResolution = 96;
    ASSERT_TRUE(dib.Save(path.c_str()));
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, bytes));
    ASSERT_EQ(14u + 40u + 24u, bytes.size());
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + 14);
    EXPECT_EQ(3780, header->biXPelsPerMeter);
    EXPECT_EQ(3780, header->biYPelsPerMeter);
    dib.m_nResolution = 300;
    ASSERT_TRUE(dib.Save(path.c_str()));
    ASSERT_TRUE(testfiles::ReadFileBytes(path, bytes));
    EXPECT_EQ(11812, reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + 14)->biXPelsPerMeter);

    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    CDib back;
    ASSERT_TRUE(back.ReadBmp(&file));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(kSixPixels[i], dibtest::PixelOf(back, i % 3, i / 3));
    EXPECT_FALSE(dib.Save((folder + "\\missing\\six.bmp").c_str()));
}

TEST(DibFiles, ReadBmpRefusesOtherAndDamagedFiles)
{
    std::string good = FileImage(dibtest::MakeIndexedDib(5, 3, 4, {0x102030, 0xFFFFFF},
                                                          std::vector<int>(15, 1)));
    CDib dib;
    ASSERT_TRUE(dib.Create(2, 2, 24));
    HGLOBAL kept = dib.GetHandle();
    std::string notBm = good;
    notBm[0] = 'X';
    std::string shortFile = good.substr(0, good.size() - 1);
    std::string coreHeader = good;
    coreHeader[14] = 12;
    std::string hugeSize = good;
    hugeSize[5] = 0x7F;
    std::string tooWide = good;
    tooWide[18 + 2] = 0x40;  // width 0x400005: rows beyond the data
    for (const std::string* bytes : {&notBm, &shortFile, &coreHeader, &hugeSize, &tooWide}) {
        MemoryFile file(*bytes);
        EXPECT_FALSE(dib.ReadBmp(&file));
        EXPECT_EQ(kept, dib.GetHandle());
    }
    MemoryFile file(good);
    ASSERT_TRUE(dib.ReadBmp(&file));
    EXPECT_EQ(0xFFFFFFu, dibtest::PixelOf(dib, 4, 2));
}

TEST(DibFiles, PicturesWrittenByImageMagick)
{
    for (const char* name : {"im_24", "im_8", "im_4", "im_1"}) {
        std::string base = dibtest::InputFolder() + "\\" + name;
        std::string expected;
        ASSERT_TRUE(testfiles::ReadFileBytes(base + ".rgb", expected)) << name;
        CFile file;
        ASSERT_TRUE(file.Open((base + ".bmp").c_str(), CFile::modeRead)) << name;
        CDib dib;
        ASSERT_TRUE(dib.ReadBmp(&file)) << name;
        ASSERT_EQ(37, dib.GetWidth());
        ASSERT_EQ(23, dib.GetHeight());
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) {
                size_t at = (static_cast<size_t>(y) * 37 + x) * 3;
                uint32_t colour = (static_cast<BYTE>(expected[at]) << 16) |
                                  (static_cast<BYTE>(expected[at + 1]) << 8) |
                                  static_cast<BYTE>(expected[at + 2]);
                ASSERT_EQ(colour, dibtest::PixelOf(dib, x, y)) << name << " at " << x << "," << y;
            }
    }
}

TEST(DibFiles, FilesForImageMagick)
{
    std::string folder = dibtest::ExportFolder();
    std::vector<uint32_t> pixels = dibtest::PhotoPixels(19, 11);
    CDib dib;
    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(19, 11, pixels))));
    ASSERT_TRUE(dib.Save((folder + "\\dib_24.bmp").c_str()));
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\dib_24.rgb", pixels));

    ASSERT_TRUE(dib.ChangeBitCount(8));
    std::vector<uint32_t> reduced;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 19; ++x)
            reduced.push_back(dibtest::PixelOf(dib, x, y));
    ASSERT_TRUE(dib.Save((folder + "\\dib_8.bmp").c_str()));
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\dib_8.rgb", reduced));

    ASSERT_TRUE(dib.Rotate90());
    ASSERT_TRUE(dib.ChangeBitCount(1));
    std::vector<uint32_t> mono;
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 11; ++x)
            mono.push_back(dibtest::PixelOf(dib, x, y));
    ASSERT_TRUE(dib.Save((folder + "\\dib_1_turned.bmp").c_str()));
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\dib_1_turned.rgb", mono));
}

TEST(DibFiles, SerializeThroughAnArchive)
{
    std::string path = testfiles::MakeScratchFolder("dibarchive") + "\\pictures.bin";
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        CDib first, second;
        ASSERT_TRUE(first.Attach(dibtest::ToGlobal(dibtest::MakeDib24(3, 2, kSixPixels))));
        ASSERT_TRUE(second.Create(4, 4, 8));
        ar << 7;
        first.Serialize(ar);
        second.Serialize(ar);
        ar << 9;
        ar.Close();
    }
    CFile file(path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    int before = 0, after = 0;
    CDib first, second;
    ar >> before;
    first.Serialize(ar);
    second.Serialize(ar);
    ar >> after;
    EXPECT_EQ(7, before);
    EXPECT_EQ(9, after);
    EXPECT_EQ(0x808080u, dibtest::PixelOf(first, 2, 1));
    EXPECT_EQ(8, second.GetBitCount());
    CDib third;
    bool thrown = false;
    try {
        third.Serialize(ar);
    } catch (CException* error) {
        thrown = true;
        error->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(KBmp, CheckAttachAndFree)
{
    KBMP image;
    EXPECT_TRUE(image.Check());
    EXPECT_EQ(nullptr, image.info);
    EXPECT_EQ(0, image.GetWidth());

    std::string bytes = FileImage(dibtest::MakeDib24(3, 2, kSixPixels));
    ASSERT_TRUE(image.Attach(MallocCopy(bytes), false));
    EXPECT_EQ(reinterpret_cast<BITMAPINFO*>(image.data + 14), image.info);
    EXPECT_EQ(3, image.GetWidth());
    EXPECT_EQ(2, image.GetHeight());

    std::string other = bytes;
    other[1] = 'A';
    EXPECT_FALSE(image.Attach(MallocCopy(other), false));
    EXPECT_EQ(nullptr, image.data);
    EXPECT_EQ(nullptr, image.info);

    // A borrowed block is never freed, even when it is refused.
    EXPECT_FALSE(image.Attach(reinterpret_cast<BYTE*>(&other[0]), true));
    EXPECT_EQ('A', other[1]);
    ASSERT_TRUE(image.Attach(reinterpret_cast<BYTE*>(&bytes[0]), true));
    EXPECT_TRUE(image.borrowed);
    image.Free();
    EXPECT_FALSE(image.borrowed);
    EXPECT_EQ('B', bytes[0]);
}

TEST(KBmp, CopyOwnsItsBlock)
{
    KBMP empty, copy;
    EXPECT_FALSE(copy.Copy(empty));
    std::string bytes = FileImage(dibtest::MakeDib24(3, 2, kSixPixels));
    KBMP source;
    ASSERT_TRUE(source.Attach(reinterpret_cast<BYTE*>(&bytes[0]), true));
    source.boxWidth = 96;
    source.boxHeight = 64;
    ASSERT_TRUE(copy.Copy(source));
    EXPECT_FALSE(copy.borrowed);
    EXPECT_NE(source.data, copy.data);
    EXPECT_EQ(96, copy.boxWidth);
    EXPECT_EQ(64, copy.boxHeight);
    EXPECT_EQ(0, memcmp(copy.data, bytes.data(), bytes.size()));
}

TEST(KBmp, WriteReadAndSave)
{
    std::string folder = testfiles::MakeScratchFolder("kbmp");
    std::string bytes = FileImage(dibtest::MakeIndexedDib(3, 2, 8, {0x102030, 0x405060},
                                                           {0, 1, 0, 1, 0, 1}));
    KBMP image;
    ASSERT_TRUE(image.Attach(MallocCopy(bytes), false));
    image.boxWidth = 10;
    std::string path = folder + "\\thumb.bin";
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        ASSERT_TRUE(image.Write(&file));
        ASSERT_TRUE(image.Write(&file));
    }
    CFile file(path.c_str(), CFile::modeRead);
    KBMP first, second, third;
    ASSERT_TRUE(first.Read(&file));
    ASSERT_TRUE(second.Read(&file));
    EXPECT_FALSE(third.Read(&file));  // the end of the file
    EXPECT_EQ(0, first.boxWidth);
    ASSERT_EQ(bytes.size(), first.GetFileSize());
    EXPECT_EQ(0, memcmp(first.data, bytes.data(), bytes.size()));

    ASSERT_TRUE(image.Save((folder + "\\thumb.bmp").c_str()));
    std::string saved;
    ASSERT_TRUE(testfiles::ReadFileBytes(folder + "\\thumb.bmp", saved));
    EXPECT_EQ(bytes, saved);
    KBMP none;
    EXPECT_FALSE(none.Save((folder + "\\none.bmp").c_str()));
    EXPECT_FALSE(none.Write(&file));
}

TEST(KBmp, ReadRepairsTheInfoHeader)
{
    std::string eight = FileImage(dibtest::MakeIndexedDib(4, 2, 8, std::vector<uint32_t>(256, 0x0000FF),
                                                           std::vector<int>(8, 3)));
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(&eight[14]);
    header->biClrUsed = 0;
    header->biSizeImage = 0;
    MemoryFile file(eight);
    KBMP image;
    ASSERT_TRUE(image.Read(&file));
    EXPECT_EQ(256u, image.info->bmiHeader.biClrUsed);
    EXPECT_EQ(8u, image.info->bmiHeader.biSizeImage);

    std::string truecolour = FileImage(dibtest::MakeDib24(3, 2, kSixPixels));
    reinterpret_cast<BITMAPINFOHEADER*>(&truecolour[14])->biSizeImage = 0;
    MemoryFile second(truecolour);
    ASSERT_TRUE(image.Read(&second));
    EXPECT_EQ(0u, image.info->bmiHeader.biClrUsed);
    EXPECT_EQ(24u, image.info->bmiHeader.biSizeImage);
}

TEST(KBmp, DrawFitsAndCentres)
{
    std::vector<uint32_t> pixels(200 * 100, 0x00FF00);
    KBMP image;
    ASSERT_TRUE(image.Attach(MallocCopy(FileImage(dibtest::MakeDib24(200, 100, pixels))), false));
    CGDIDevice device;
    ASSERT_TRUE(device.Create(100, 100, 3));
    RECT rect = {0, 0, 100, 100};
    EXPECT_GT(image.Draw(device.m_hDC, &rect, false), 0);
    GdiFlush();
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(25, rect.top);
    EXPECT_EQ(100, rect.right);
    EXPECT_EQ(75, rect.bottom);
    EXPECT_EQ(0u, dibtest::DevicePixel(device, 50, 24));
    EXPECT_EQ(0x00FF00u, dibtest::DevicePixel(device, 50, 25));
    EXPECT_EQ(0x00FF00u, dibtest::DevicePixel(device, 50, 74));
    EXPECT_EQ(0u, dibtest::DevicePixel(device, 50, 75));

    KBMP narrow;
    ASSERT_TRUE(narrow.Attach(MallocCopy(FileImage(dibtest::MakeDib24(50, 40, std::vector<uint32_t>(2000, 1)))), false));
    RECT box = {10, 10, 110, 110};
    EXPECT_GT(narrow.Draw(device.m_hDC, &box, false), 0);
    EXPECT_EQ(35, box.left);
    EXPECT_EQ(40, box.top);
    EXPECT_EQ(85, box.right);
    EXPECT_EQ(80, box.bottom);

    RECT whole = {0, 0, 30, 30};
    EXPECT_GT(narrow.Draw(device.m_hDC, &whole, true), 0);
    EXPECT_EQ(30, whole.right);
    KBMP none;
    EXPECT_EQ(0, none.Draw(device.m_hDC, &whole, false));
}

TEST(KBmp, FitScale)
{
    EXPECT_DOUBLE_EQ(0.5, CalcFitScale(200, 100, 100, 100));
    EXPECT_DOUBLE_EQ(1.0, CalcFitScale(50, 40, 100, 100));
    EXPECT_DOUBLE_EQ(0.25, CalcFitScale(100, 400, 100, 100));
    EXPECT_DOUBLE_EQ(1.0, CalcFitScale(0, 40, 100, 100));
}

TEST(BmpFileImages, DamagedImagesAreRefusedByEveryReader)
{
    const std::string good = FileImage(dibtest::MakeIndexedDib(
        9, 7, 4, {0x102030, 0xFFFFFF, 0x00FF00}, std::vector<int>(63, 2)));
    std::mt19937 random(20261209);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        const int changes = 1 + random() % 4;
        for (int i = 0; i < changes; ++i) {
            size_t at = random() % 70;  // the headers and the colour table
            bytes[at] = static_cast<char>(random());
        }
        if (random() % 8 == 0)
            bytes.resize(random() % bytes.size());
        const bool whole = IsWholeBmpFileImage(reinterpret_cast<const BYTE*>(bytes.data()),
                                               bytes.size());
        MemoryFile forImage(bytes);
        KBMP image;
        const bool read = image.Read(&forImage);
        if (read) {
            ++accepted;
            CGDIDevice device;
            ASSERT_TRUE(device.Create(8, 8, 3));
            RECT rect = {0, 0, 8, 8};
            image.Draw(device.m_hDC, &rect, false);
        }
        if (round % 10 == 0) {
            MemoryFile forDib(bytes);
            CDib dib;
            if (dib.ReadBmp(&forDib)) {
                EXPECT_GT(dib.GetWidth(), 0);
                dib.Rotate90();
                BYTE* copy = dib.CopyToBmpFile();
                free(copy);
            }
        }
        (void)whole;
    }
    EXPECT_GT(accepted, 0);
}
