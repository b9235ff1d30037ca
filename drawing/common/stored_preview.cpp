#include "drawing/common/stored_preview.h"

#include "codecs/ximage.h"
#include "graphics/dib.h"
#include "platform/classlib/exceptions.h"
#include "platform/zrio/zrio.h"

bool ReadStoredPreview(const char* path, CDib* target)
{
    unsigned char* buffer = nullptr;
    long length = 0;
    if (!lppp(path, &buffer, &length) || !buffer || length <= 0)
        return false;
    bool result = false;
    HBITMAP bitmap = nullptr;
    try {
        CxImage image(buffer, DWORD(length), CXIMAGE_FORMAT_BMP);
        if (image.IsValid() && target) {
            bitmap = image.MakeBitmap(nullptr);
            if (bitmap)
                result = target->CreateFromBitmap(CBitmap::FromHandle(bitmap)) != FALSE;
        }
    } catch (CException* e) {
        e->Delete();
        result = false;
    }
    // The GDI bitmap and the library's bytes go on every path.
    if (bitmap)
        DeleteObject(bitmap);
    ppll(&buffer);
    return result;
}
