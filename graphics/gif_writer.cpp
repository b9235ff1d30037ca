#include "graphics/gif_writer.h"

#include <cstdlib>
#include <vector>

#include "platform/base/file_replace.h"
#include "codecs/ximagif_lzw.h"
#include "codecs/ximawriter.h"
#include "codecs/xmemfile.h"
#include "graphics/dib.h"
#include "graphics/dib_export.h"
#include "graphics/dib_format.h"

namespace {

const char kCannotOpen[] = "Can't open GIF for writing";
const char kWriteError[] = "Write Error in GIF file";

// The packed 8-bit pixels, in order, for the LZW encoder.
class PackedPixels : public CxGifPixelSource {
public:
    PackedPixels(const BYTE* pixels, size_t count) : m_pixels(pixels), m_count(count), m_next(0) {}
    int NextPixel() override { return m_next < m_count ? m_pixels[m_next++] : -1; }

private:
    const BYTE* m_pixels;
    size_t m_count;
    size_t m_next;
};

}  // namespace

CGif::CGif() : m_pDib(nullptr), m_strError("No Error")
{
}

CGif::~CGif()
{
    delete m_pDib;
}

bool CGif::Write(const char* path, const BYTE* pixels, int width, int height, int background,
                 const BYTE red[256], const BYTE green[256], const BYTE blue[256])
{
    if (!pixels || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
        m_strError = "GIF: no picture or a size above 65535";
        return false;
    }
    CxMemFile stream;
    if (!stream.Open()) {
        m_strError = "Memory error";
        return false;
    }
    CxCheckedWriter file(&stream);
    file.Put("GIF87a", 6);
    file.PutU16LE(static_cast<DWORD>(width));
    file.PutU16LE(static_cast<DWORD>(height));
    file.PutByte(0xE7);  // a global table of 256 entries
    file.PutByte(static_cast<BYTE>(background));
    file.PutByte(0);
    for (int i = 0; i < 256; ++i) {
        const BYTE triple[3] = {red[i], green[i], blue[i]};
        file.Put(triple, 3);
    }
    file.PutByte(',');
    file.PutU16LE(0);
    file.PutU16LE(0);
    file.PutU16LE(static_cast<DWORD>(width));
    file.PutU16LE(static_cast<DWORD>(height));
    file.PutByte(0);  // no local table, not interlaced
    file.PutByte(8);  // LZW minimum code size
    PackedPixels source(pixels, static_cast<size_t>(width) * static_cast<size_t>(height));
    CxGifCodeWriter(file).EncodeLzw(9, source);
    file.PutByte(0);
    file.PutByte(';');
    if (!file.Ok()) {
        m_strError = "Memory error";
        return false;
    }

    ReplaceFileResult result = ReplaceFileWithBytes(path, stream.GetBuffer(false),
                                                    static_cast<DWORD>(stream.Size()));
    if (result == ReplaceFileDone)
        return true;
    if (result == ReplaceFileBadName || result == ReplaceFileCannotCreate) {
        m_strError = kCannotOpen;
        return false;
    }
    m_strError = kWriteError;
    MessageBoxA(nullptr, kWriteError, "GIF", MB_OK | MB_ICONERROR);
    return false;
}

bool CGif::SaveDib(const char* path, CDib* dib)
{
    CDib copy;
    if (!CopyPictureInto(dib, m_pDib, copy)) {
        m_strError = "No picture to write";
        return false;
    }
    return SaveCopy(path, copy);
}

bool CGif::SaveDibBuffer(const char* path, const void* packedDib, DWORD size)
{
    CDib copy;
    if (!CopyPackedDibInto(packedDib, size, copy)) {
        m_strError = "No picture to write";
        return false;
    }
    return SaveCopy(path, copy);
}

bool CGif::SaveCopy(const char* path, CDib& copy)
{
    if (copy.GetBitCount() != 8 && !copy.ChangeBitCount(8)) {
        m_strError = "Can't reduce the picture to 256 colours";
        return false;
    }
    BYTE red[256] = {}, green[256] = {}, blue[256] = {};
    {
        const void* dib = GlobalLock(copy.GetHandle());
        if (!dib) {
            m_strError = "Memory error";
            return false;
        }
        const int count = DibColorCount(dib) < 256 ? DibColorCount(dib) : 256;
        for (int i = 0; i < count; ++i) {
            RGBQUAD entry = DibColorEntry(dib, i);
            red[i] = entry.rgbRed;
            green[i] = entry.rgbGreen;
            blue[i] = entry.rgbBlue;
        }
        GlobalUnlock(copy.GetHandle());
    }
    std::vector<BYTE> pixels = TopDownRows(copy);
    if (pixels.empty()) {
        m_strError = "Memory error";
        return false;
    }
    return Write(path, pixels.data(), copy.GetWidth(), std::abs(copy.GetHeight()), 0, red, green,
                 blue);
}
