#include "graphics/kbmp.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/base/file_replace.h"
#include "graphics/bmp_file.h"
#include "graphics/dib_format.h"
#include "platform/classlib/file.h"


KBMP::KBMP() : data(nullptr), info(nullptr), boxWidth(0), boxHeight(0), borrowed(false)
{
}

KBMP::~KBMP()
{
    Free();
}

void KBMP::Free()
{
    if (data && !borrowed)
        free(data);
    data = nullptr;
    info = nullptr;
    borrowed = false;
    m_keeper.reset();
}

bool KBMP::Check()
{
    if (!data) {
        info = nullptr;
        borrowed = false;
        return true;
    }
    // The block's own size field bounds every check.
    if (data[0] == 'B' && data[1] == 'M' && IsWholeBmpFileImage(data, BmpFileSizeField(data))) {
        info = reinterpret_cast<BITMAPINFO*>(data + kBmpFileHeaderSize);
        return true;
    }
    Free();
    return false;
}

bool KBMP::Attach(BYTE* block, bool borrowedBlock)
{
    Free();
    data = block;
    borrowed = block && borrowedBlock;
    return Check();
}

bool KBMP::Lend(const BYTE* block, std::shared_ptr<const void> keeper)
{
    Free();
    if (!block)
        return true;
    // Never written through: the lender's block may be read-only.
    data = const_cast<BYTE*>(block);
    borrowed = true;
    m_keeper = std::move(keeper);
    return Check();
}

bool KBMP::Copy(const KBMP& other)
{
    if (&other == this)
        return data != nullptr;
    Free();
    if (!other.data)
        return false;
    const DWORD size = BmpFileSizeField(other.data);
    BYTE* copy = static_cast<BYTE*>(malloc(size));
    if (!copy)
        return false;
    memcpy(copy, other.data, size);
    data = copy;
    boxWidth = other.boxWidth;
    boxHeight = other.boxHeight;
    return Check();
}

DWORD KBMP::GetFileSize() const
{
    return data ? BmpFileSizeField(data) : 0;
}

int KBMP::GetWidth() const
{
    return info ? info->bmiHeader.biWidth : 0;
}

int KBMP::GetHeight() const
{
    return info ? info->bmiHeader.biHeight : 0;
}

bool KBMP::Write(CFile* file) const
{
    if (!data || !file)
        return false;
    try {
        file->Write(data, kBmpFileHeaderSize);
        file->Write(data + kBmpFileHeaderSize, GetFileSize() - kBmpFileHeaderSize);
        return true;
    } catch (CException* error) {
        error->Delete();
        return false;
    }
}

bool KBMP::Read(CFile* file)
{
    Free();
    DWORD size = 0;
    BYTE* image = ReadBmpFileImage(file, size);
    if (!image)
        return false;
    data = image;
    return Check();
}

bool KBMP::Save(const char* path) const
{
    if (!data)
        return false;
    return ReplaceFileWithBytes(path, data, GetFileSize()) == ReplaceFileDone;
}

double CalcFitScale(int width, int height, int boxWidth, int boxHeight)
{
    if (width <= 0 || height <= 0)
        return 1.0;
    double scale = static_cast<double>(boxWidth) / width;
    double vertical = static_cast<double>(boxHeight) / height;
    if (vertical < scale)
        scale = vertical;
    return scale > 1.0 ? 1.0 : scale;
}

int KBMP::Draw(HDC dc, RECT* rect, bool stretch) const
{
    if (!info || !rect)
        return 0;
    const int width = GetWidth();
    const int height = std::abs(GetHeight());
    if (!stretch) {
        const int boxW = rect->right - rect->left;
        const int boxH = rect->bottom - rect->top;
        const double scale = CalcFitScale(width, height, boxW, boxH);
        const int marginX = (boxW - static_cast<int>(std::lround(width * scale))) / 2;
        const int marginY = (boxH - static_cast<int>(std::lround(height * scale))) / 2;
        InflateRect(rect, -marginX, -marginY);
    }
    int paintWidth = rect->right - rect->left;
    int paintHeight = rect->bottom - rect->top;
    if (paintWidth < 1)
        paintWidth = 1;
    if (paintHeight < 1)
        paintHeight = 1;
    rect->right = rect->left + paintWidth;
    rect->bottom = rect->top + paintHeight;
    const BYTE* bits = DibBits(static_cast<const void*>(info));
    return StretchDIBits(dc, rect->left, rect->top, paintWidth, paintHeight, 0, 0, width, height,
                         bits, info, DIB_RGB_COLORS, SRCCOPY);
}
