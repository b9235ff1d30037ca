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

// Applies an EXIF orientation (2 to 8; others change nothing).
void ApplyExifOrientation(CxImage& image, int orientation);
