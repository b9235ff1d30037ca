#include "drawing/thumbnails/raster_thumbnail.h"

#include <limits.h>

#include <memory>
#include <new>

#include "codecs/ximage.h"
#include "core/file_types.h"
#include "drawing/thumbnails/jpeg_thumbnail.h"
#include "graphics/averaged_stretch.h"
#include "graphics/bmp_file.h"
#include "graphics/dib.h"
#include "graphics/jpeg_markers.h"
#include "graphics/kbuffer.h"
#include "graphics/kimage.h"

namespace {

// Averages a decoder's rows down to the size the picture is drawn at in
// the thumbnail box. A picture that already fits is declined: it is
// decoded whole and copied as it is.
class TThumbnailRows : public CxRowSink {
public:
    TThumbnailRows(int boxWidth, int boxHeight) : m_boxWidth(boxWidth), m_boxHeight(boxHeight) {}

    bool WantsRows(DWORD width, DWORD height) override
    {
        if (width > INT_MAX || height > INT_MAX)
            return false;
        m_sourceWidth = static_cast<int>(width);
        int drawnWidth = 0, drawnHeight = 0;
        FitThumbnailSize(m_sourceWidth, static_cast<int>(height), m_boxWidth, m_boxHeight, drawnWidth,
                         drawnHeight);
        m_taking = m_reducer.Begin(m_sourceWidth, static_cast<int>(height), drawnWidth, drawnHeight);
        m_tookRows = m_taking;
        return m_taking;
    }

    void TakeRow(const CxImage& row) override
    {
        if (!m_readerOpen) {
            m_readerOpen = m_reader.Open(static_cast<const BITMAPINFO*>(row.GetDIB()));
            m_taking = m_readerOpen && m_reader.GetWidth() == m_sourceWidth;
        }
        if (m_taking)
            m_reducer.AddRow(m_reader.Expand(row.GetBits(0), 0, m_sourceWidth));
    }

    // The decoder handed its rows over: the image it leaves is one row.
    bool TookRows() const { return m_tookRows; }
    // The reduced picture, when the decoder gave every row.
    bool Finish(KReducedDib& reduced) { return m_taking && m_reducer.Finish(true, reduced); }

private:
    int m_boxWidth, m_boxHeight;
    int m_sourceWidth = 0;
    bool m_tookRows = false;
    bool m_taking = false;
    bool m_readerOpen = false;
    KAreaReducer m_reducer;
    KDibRowReader m_reader;
};

// The formats whose decoders hand their rows to a sink.
bool DecodesByRows(int format)
{
    return format == CXIMAGE_FORMAT_PNG || format == CXIMAGE_FORMAT_TIF;
}

CxImage* DecodeByRows(const char* path, int format, TThumbnailRows& rows)
{
    KBuffer bytes;
    if (!bytes.LoadFile(path))
        return nullptr;
    std::unique_ptr<CxImage> image(new (std::nothrow) CxImage(static_cast<DWORD>(format)));
    if (!image)
        return nullptr;
    image->SetRowSink(&rows);
    if (!image->Decode(const_cast<BYTE*>(bytes.GetData()), bytes.GetSize(), static_cast<DWORD>(format)) ||
        !image->IsValid())
        return nullptr;
    return image.release();
}

// The decoded file, and the size of the whole picture as it stands. A PNG
// or TIFF picture whose rows went to `rows` leaves an image of one row.
CxImage* DecodeRaster(const char* path, int32_t fileKind, int boxWidth, int boxHeight, bool exifPreview,
                      TThumbnailRows& rows, int& fullWidth, int& fullHeight)
{
    std::unique_ptr<CxImage> image;
    if (fileKind == FILEKIND_JPEG) {
        if (exifPreview)
            image.reset(LoadJpegOriented(path));
        if (image) {
            fullWidth = static_cast<int>(image->GetWidth());
            fullHeight = static_cast<int>(image->GetHeight());
            return image.release();
        }
        return LoadJpegThumbnail(path, boxWidth, boxHeight, fullWidth, fullHeight);
    }
    int format = 0;
    if (!CDrawingFileType::GetRasterFormat(fileKind, format))
        return nullptr;
    image.reset(DecodesByRows(format) ? DecodeByRows(path, format, rows)
                                      : KImage::LoadThumbnail(path, format));
    if (image) {
        fullWidth = static_cast<int>(image->GetWidth());
        fullHeight = static_cast<int>(image->GetHeight());
    }
    return image.release();
}

BYTE* BmpFileOf(const KReducedDib& reduced)
{
    const BITMAPINFOHEADER& header = reduced.info.bmiHeader;
    const bool topDown = header.biHeight < 0;
    return MakeBmpFileImage24(header.biWidth, topDown ? -header.biHeight : header.biHeight,
                              reduced.bits.data(), reduced.GetStride(), topDown);
}

// The thumbnail of a picture decoded whole.
BYTE* ThumbnailOfImage(CxImage& image, int fullWidth, int fullHeight, int boxWidth, int boxHeight)
{
    int drawnWidth = 0, drawnHeight = 0;
    FitThumbnailSize(fullWidth, fullHeight, boxWidth, boxHeight, drawnWidth, drawnHeight);
    const BITMAPINFO* info = static_cast<const BITMAPINFO*>(image.GetDIB());
    const int width = static_cast<int>(image.GetWidth());
    const int height = static_cast<int>(image.GetHeight());
    KReducedDib reduced;
    if (ReduceDibByArea(info, image.GetBits(), 0, 0, width, height, drawnWidth, drawnHeight, reduced))
        return BmpFileOf(reduced);
    // Drawn at its own size (or one the reduction does not make): copied
    // into a 24-bit picture by GDI.
    const bool wholeSize = drawnWidth == fullWidth && drawnHeight == fullHeight;
    CDib picture;
    if (!picture.Create(drawnWidth, drawnHeight, 24))
        return nullptr;
    CDC* dc = picture.BeginMemDC(nullptr);
    if (!dc)
        return nullptr;
    SetStretchBltMode(dc->m_hDC, wholeSize ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(dc->m_hDC, 0, 0, nullptr);
    StretchDIBits(dc->m_hDC, 0, 0, drawnWidth, drawnHeight, 0, 0, width, height, image.GetBits(), info,
                  DIB_RGB_COLORS, SRCCOPY);
    if (!picture.EndMemDC())
        return nullptr;
    return picture.CopyToBmpFile();
}

}  // namespace

bool IsRasterThumbnailKind(int32_t fileKind)
{
    int format = 0;
    return CDrawingFileType::GetRasterFormat(fileKind, format);
}

BYTE* MakeRasterThumbnail(const char* path, int32_t fileKind, int boxWidth, int boxHeight, bool exifPreview)
{
    int fullWidth = 0, fullHeight = 0;
    TThumbnailRows rows(boxWidth, boxHeight);
    std::unique_ptr<CxImage> image(
        DecodeRaster(path, fileKind, boxWidth, boxHeight, exifPreview, rows, fullWidth, fullHeight));
    if (!image || !image->IsValid())
        return nullptr;
    if (!rows.TookRows())
        return ThumbnailOfImage(*image, fullWidth, fullHeight, boxWidth, boxHeight);
    KReducedDib reduced;
    return rows.Finish(reduced) ? BmpFileOf(reduced) : nullptr;
}
