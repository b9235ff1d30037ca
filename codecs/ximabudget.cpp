#include "codecs/ximabudget.h"

#include "codecs/ximage.h"

namespace {

uint64_t Saturated(unsigned __int128 value)
{
    return value > UINT64_MAX ? UINT64_MAX : (uint64_t)value;
}

}  // namespace

uint64_t CxPackedPictureBytes(uint64_t width, uint64_t height, uint64_t bitsPerPixel)
{
    unsigned __int128 rowBytes = ((unsigned __int128)width * bitsPerPixel + 7) / 8;
    if (rowBytes > UINT64_MAX)
        return UINT64_MAX;
    return Saturated(rowBytes * height);
}

bool CxDataCanHold(uint64_t dataBytes, uint64_t fileBytes, uint64_t maxExpansion)
{
    return (unsigned __int128)dataBytes <= (unsigned __int128)fileBytes * maxExpansion;
}

CxPixelBudget::CxPixelBudget(uint64_t remainingBytes, uint64_t maxExpansion)
    : m_bytesLeft(Saturated(
          (unsigned __int128)Saturated((unsigned __int128)remainingBytes *
                                       CXIMAGE_TRUNCATION_ALLOWANCE) *
          maxExpansion))
{
}

CxPictureVerdict CxPixelBudget::Spend(uint64_t width, uint64_t height, uint64_t bitsPerPixel)
{
    if ((unsigned __int128)width * height > CXIMAGE_MAX_PIXELS)
        return CX_PICTURE_TOO_LARGE;
    uint64_t dataBytes = CxPackedPictureBytes(width, height, bitsPerPixel);
    if (!CxDataCanHold(dataBytes, m_bytesLeft, 1))
        return CX_PICTURE_TOO_LARGE_FOR_DATA;
    m_bytesLeft -= dataBytes;
    return CX_PICTURE_FITS;
}

CxPictureVerdict CxCheckPicture(uint64_t width, uint64_t height, uint64_t bitsPerPixel,
                                uint64_t remainingBytes, uint64_t maxExpansion)
{
    CxPixelBudget budget(remainingBytes, maxExpansion);
    return budget.Spend(width, height, bitsPerPixel);
}

uint64_t CxRemainingBytes(CxFile* stream)
{
    if (!stream)
        return 0;
    int64_t remaining = (int64_t)stream->Size() - stream->Tell();
    return remaining > 0 ? (uint64_t)remaining : 0;
}

const char* CxPictureVerdictText(CxPictureVerdict verdict)
{
    switch (verdict) {
    case CX_PICTURE_TOO_LARGE: return "image too large";
    case CX_PICTURE_TOO_LARGE_FOR_DATA: return "image too large for its data";
    default: return "";
    }
}

bool CxImage::CheckPictureBudget(uint64_t remainingBytes, uint64_t width, uint64_t height,
                                 uint64_t bitsPerPixel, uint64_t maxExpansion)
{
    CxPictureVerdict verdict =
        CxCheckPicture(width, height, bitsPerPixel, remainingBytes, maxExpansion);
    if (verdict == CX_PICTURE_FITS)
        return true;
    return Fail(CxPictureVerdictText(verdict));
}
