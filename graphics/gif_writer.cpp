#include "graphics/gif_writer.h"

#include <cstdlib>
#include <vector>

#include "app/core/file_replace.h"
#include "graphics/dib.h"
#include "graphics/dib_export.h"
#include "graphics/dib_format.h"
#include "graphics/gif_lzw.h"

namespace {

const char kCannotOpen[] = "Can't open GIF for writing";
const char kWriteError[] = "Write Error in GIF file";

void PutWord(std::vector<BYTE>& out, int value)
{
    out.push_back(static_cast<BYTE>(value & 0xFF));
    out.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}

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
    const BYTE signature[6] = {'G', 'I', 'F', '8', '7', 'a'};
    std::vector<BYTE> file(signature, signature + sizeof(signature));
    file.reserve(800 + static_cast<size_t>(width) * static_cast<size_t>(height) / 2);
    PutWord(file, width);
    PutWord(file, height);
    file.push_back(0xE7);  // a global table of 256 entries
    file.push_back(static_cast<BYTE>(background));
    file.push_back(0);
    for (int i = 0; i < 256; ++i) {
        file.push_back(red[i]);
        file.push_back(green[i]);
        file.push_back(blue[i]);
    }
    file.push_back(',');
    PutWord(file, 0);
    PutWord(file, 0);
    PutWord(file, width);
    PutWord(file, height);
    file.push_back(0);  // no local table, not interlaced
    file.push_back(8);  // LZW minimum code size
    GifLzwEncoder encoder;
    encoder.Encode(pixels, static_cast<size_t>(width) * static_cast<size_t>(height), file);
    file.push_back(0);
    file.push_back(';');

    ReplaceFileResult result = ReplaceFileWithBytes(path, file.data(), static_cast<DWORD>(file.size()));
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
