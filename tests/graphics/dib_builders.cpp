#include "tests/graphics/dib_builders.h"

#include <cstring>

#include "graphics/dib.h"
#include "graphics/dib_format.h"
#include "graphics/gdi_device.h"
#include "tests/support/test_files.h"

namespace dibtest {

namespace {

std::vector<BYTE> MakeHeader(int width, int height, int bits, int colours)
{
    BITMAPINFOHEADER header;
    memset(&header, 0, sizeof(header));
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biClrUsed = static_cast<DWORD>(colours);
    size_t size = sizeof(header) + colours * 4 + DibAlignedImageSize(width, height, bits);
    std::vector<BYTE> dib(size, 0);
    memcpy(dib.data(), &header, sizeof(header));
    return dib;
}

}  // namespace

std::vector<BYTE> MakeDib24(int width, int height, const std::vector<uint32_t>& pixels)
{
    std::vector<BYTE> dib = MakeHeader(width, height, 24, 0);
    BYTE* bits = DibBits(dib.data());
    const DWORD stride = DibAlignedImageSize(width, 1, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t colour = pixels[static_cast<size_t>(y) * width + x];
            BYTE* pixel = bits + stride * (height - 1 - y) + x * 3;
            pixel[0] = static_cast<BYTE>(colour);
            pixel[1] = static_cast<BYTE>(colour >> 8);
            pixel[2] = static_cast<BYTE>(colour >> 16);
        }
    return dib;
}

std::vector<BYTE> MakeIndexedDib(int width, int height, int bits,
                                 const std::vector<uint32_t>& table,
                                 const std::vector<int>& indexes)
{
    std::vector<BYTE> dib = MakeHeader(width, height, bits, static_cast<int>(table.size()));
    RGBQUAD* colours = reinterpret_cast<RGBQUAD*>(dib.data() + sizeof(BITMAPINFOHEADER));
    for (size_t i = 0; i < table.size(); ++i) {
        colours[i].rgbRed = static_cast<BYTE>(table[i] >> 16);
        colours[i].rgbGreen = static_cast<BYTE>(table[i] >> 8);
        colours[i].rgbBlue = static_cast<BYTE>(table[i]);
    }
    BYTE* pixels = DibBits(dib.data());
    const DWORD stride = DibAlignedImageSize(width, 1, bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int index = indexes[static_cast<size_t>(y) * width + x];
            BYTE* row = pixels + stride * (height - 1 - y);
            int bit = x * bits;
            row[bit / 8] |= static_cast<BYTE>(index << (8 - bits - bit % 8));
        }
    return dib;
}

uint32_t PixelAt(const void* dib, int x, int y)
{
    const int height = DibHeight(dib);
    const int bits = DibBitCount(dib);
    const DWORD stride = DibAlignedImageSize(DibWidth(dib), 1, bits);
    const BYTE* row = DibBits(dib) + stride * (height - 1 - y);
    if (bits == 24) {
        const BYTE* pixel = row + x * 3;
        return (pixel[2] << 16) | (pixel[1] << 8) | pixel[0];
    }
    int bit = x * bits;
    int index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
    RGBQUAD colour = DibColorEntry(dib, index);
    return (colour.rgbRed << 16) | (colour.rgbGreen << 8) | colour.rgbBlue;
}

HGLOBAL ToGlobal(const std::vector<BYTE>& bytes)
{
    return CopyToGlobalHandle(bytes.data(), bytes.size());
}

std::vector<uint32_t> PhotoPixels(int width, int height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            int jitter = static_cast<int>((noise >> 16) & 15);
            int red = (x * 255 / (width - 1) + jitter) & 0xFF;
            int green = (y * 255 / (height - 1) + jitter) & 0xFF;
            int blue = ((x + y) * 127 / (width + height) + 2 * jitter) & 0xFF;
            pixels[static_cast<size_t>(y) * width + x] = (red << 16) | (green << 8) | blue;
        }
    return pixels;
}

}  // namespace dibtest

namespace dibtest {

std::string ExportFolder()
{
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string name(module, length);
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    size_t dot = name.find('.');
    if (dot != std::string::npos)
        name = name.substr(0, dot);
    std::string folder = testfiles::ToWinePath(testfiles::BinaryDir()) + "\\tests\\graphics\\outputs";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string InputFolder()
{
    return testfiles::ToWinePath(testfiles::BinaryDir()) + "\\tests\\graphics\\inputs";
}

bool WriteRgbDump(const std::string& path, const std::vector<uint32_t>& pixels)
{
    std::string bytes;
    for (uint32_t pixel : pixels) {
        bytes += static_cast<char>(pixel >> 16);
        bytes += static_cast<char>(pixel >> 8);
        bytes += static_cast<char>(pixel);
    }
    return testfiles::WriteFileBytes(path, bytes);
}

}  // namespace dibtest

namespace dibtest {

uint32_t PixelOf(const CDib& dib, int x, int y)
{
    const void* data = GlobalLock(dib.GetHandle());
    uint32_t pixel = PixelAt(data, x, y);
    GlobalUnlock(dib.GetHandle());
    return pixel;
}

uint32_t DevicePixel(const CGDIDevice& device, int x, int y)
{
    const BYTE* pixel = device.m_pRows[y] + x * device.m_nBytesPerPixel;
    return (pixel[2] << 16) | (pixel[1] << 8) | pixel[0];
}

}  // namespace dibtest
