// KImage: one raster picture as the viewer shows it: the decoded image,
// the path it came from, its format id, a one-line information text and
// the world origin of its lower-left corner in a vector picture.
//
// It is also the embedded image record of the vector picture byte format:
// Read keeps the undecoded file bytes, which the first Draw or extents
// query decodes (once; a failed decode is not retried).
#pragma once
#include <windows.h>
#include <stdint.h>

#include "codecs/ximage.h"
#include "graphics/jobject.h"
#include "graphics/kbuffer.h"
#include "graphics/kcanvas.h"
#include "graphics/kstring.h"
#include "graphics/ktype.h"

// The format id of PSD files, read by the kernel's own PSD reader.
const DWORD KIMAGE_FORMAT_PSD = 18;
const int KIMAGE_PATH_LENGTH = 512;

class KImage : public JObject
{
public:
    KImage();
    KImage(const KImage&) = delete;
    KImage& operator=(const KImage&) = delete;
    ~KImage() override;

    // The embedded image record at the buffer's cursor (format id, an
    // unused word, the origin, a length-prefixed image file).
    bool Read(KBuffer& buffer) override;

    // Loads the file by its extension and stands it at origin. False when
    // the extension is unknown (the old image is kept), the path does not
    // fit, or the file cannot be read or decoded (no image then).
    bool Load(const char* filePath, const KType::RPoint2D& where);
    // A new image of the file, owned by the caller, or null. A type below 0
    // lets the extension decide.
    static CxImage* LoadThumbnail(const char* filePath, int type);
    // Writes the image in the format of the path's extension; false for
    // MNG, WMF/EMF and PSD, an unknown extension or a failed write. GIF and
    // PCX files of deeper images are reduced to 8 bits with diffusion.
    bool SaveAs(const char* filePath, BYTE quality);
    // Decodes frame (page) n of the file at path anew; false when no image
    // is held or the frame cannot be decoded (no image then).
    bool DecodeFrame(int32_t frame);
    // JPEG documents: rewrites the EXIF orientation of the file on disk
    // (step 0 rotate left, 1 rotate right, 2 mirror, 3 flip). True when
    // the stored orientation was changed.
    bool RotateExifOrientation(int step);
    // The EXIF summary of a JPEG file, empty when it has none.
    static KString GetInfoText(const char* filePath);

    // Transforms of the held image; false when there is none.
    bool RotateLeft();
    bool RotateRight();
    bool Mirror();
    bool Flip();

    // Draws the image through the canvas with its origin.
    bool Draw(KCanvas& canvas, bool frame, int frameOffset, COLORREF frameColour,
              bool withPixels, bool fastStretch);
    // Widens box (left, top, right, bottom; top the larger y) by the
    // image's world rectangle; when first is set the box starts as that
    // rectangle and first is cleared. Nothing without an image.
    void GetExtents(KWorldRect& box, bool& first);

    // Deletes the image and any undecoded bytes.
    void Clear();
    WORD GetBpp() const { return image ? image->GetBpp() : 0; }
    CxImage* GetImage() const { return image; }
    DWORD GetFormatId() const { return formatId; }
    const char* GetPath() const { return path; }
    const KString& GetInfo() const { return infoText; }
    const KType::RPoint2D& GetOrigin() const { return origin; }

private:
    void DecodePendingBytes();
    bool SetPath(const char* filePath);
    void SetSizeInfo(DWORD width, DWORD height, int bits);

    KString infoText;
    KBuffer fileBytes;
    char path[KIMAGE_PATH_LENGTH];
    DWORD formatId;
    CxImage* image;
    KType::RPoint2D origin;
};

// The format id of a path's extension for loading (0 when unknown).
DWORD KImageFormatOfPath(const char* filePath);
// The viewer's one-line summary of an EXIF record.
struct CxExifRecord;
KString KImageExifSummary(const CxExifRecord& exif);
// Applies an EXIF orientation (2 to 8; others change nothing).
void ApplyExifOrientation(CxImage& image, int orientation);
