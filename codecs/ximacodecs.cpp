// The codec table. To add a format: include its codec header in the block
// below (replace that format's placeholder line) and fill its row with the
// codec's functions, e.g. CxDecodeAs<CxImageGIF>, CxEncodeAs<CxImageGIF>
// (see codecs/ximacodecs.h), or functions of the codec's own when its
// Decode/Encode take more arguments. Rows and includes are kept one blank
// line apart so that codecs added side by side merge without conflicts.
#include "codecs/ximacodecs.h"

#include "codecs/ximabmp.h"

#include "codecs/ximagif.h"

#include "codecs/ximajpg.h"

#include "codecs/ximapng.h"

#include "codecs/ximamng.h"

#include "codecs/ximaico.h"

#include "codecs/ximatif.h"

#include "codecs/ximatga.h"

#include "codecs/ximapcx.h"

#include "codecs/ximawbmp.h"

#include "codecs/ximawmf.h"

#include "codecs/ximajas.h"

namespace {

const CxCodecRow kCodecRows[CMAX_IMAGE_FORMATS] = {
    { CXIMAGE_FORMAT_UNKNOWN, "unknown", NULL, NULL },

    { CXIMAGE_FORMAT_BMP, "BMP", CxDecodeAs<CxImageBMP>, CxEncodeAs<CxImageBMP> },

    { CXIMAGE_FORMAT_GIF, "GIF", CxDecodeAs<CxImageGIF>, CxEncodeAs<CxImageGIF> },

    { CXIMAGE_FORMAT_JPG, "JPEG", CxDecodeAs<CxImageJPG>, CxEncodeAs<CxImageJPG> },

    { CXIMAGE_FORMAT_PNG, "PNG", CxDecodeAs<CxImagePNG>, CxEncodeAs<CxImagePNG> },

    { CXIMAGE_FORMAT_MNG, "MNG", CxDecodeAs<CxImageMNG>, CxEncodeAs<CxImageMNG> },

    { CXIMAGE_FORMAT_ICO, "ICO", CxDecodeAs<CxImageICO>, CxEncodeAs<CxImageICO> },

    { CXIMAGE_FORMAT_TIF, "TIFF", CxDecodeAs<CxImageTIF>, CxEncodeAs<CxImageTIF> },

    { CXIMAGE_FORMAT_TGA, "TGA", CxDecodeAs<CxImageTGA>, CxEncodeAs<CxImageTGA> },

    { CXIMAGE_FORMAT_PCX, "PCX", CxDecodeAs<CxImagePCX>, CxEncodeAs<CxImagePCX> },

    { CXIMAGE_FORMAT_WBMP, "WBMP", CxDecodeAs<CxImageWBMP>, CxEncodeAs<CxImageWBMP> },

    { CXIMAGE_FORMAT_WMF, "WMF", CxDecodeAs<CxImageWMF>, CxEncodeAs<CxImageWMF> },

    { CXIMAGE_FORMAT_JP2, "JP2", CxDecodeJas, CxEncodeJas },

    { CXIMAGE_FORMAT_JPC, "JPC", CxDecodeJas, CxEncodeJas },

    { CXIMAGE_FORMAT_PGX, "PGX", CxDecodeJas, CxEncodeJas },

    { CXIMAGE_FORMAT_PNM, "PNM", CxDecodeJas, CxEncodeJas },

    { CXIMAGE_FORMAT_RAS, "RAS", CxDecodeJas, CxEncodeJas },
};

}  // namespace

// The JasPer row (JP2) is tried last with type 0: its decoder then
// recognises any of the JasPer formats.
const DWORD kCxDecodeTryOrder[] = {
    CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_JPG, CXIMAGE_FORMAT_ICO, CXIMAGE_FORMAT_GIF,
    CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_TIF, CXIMAGE_FORMAT_MNG, CXIMAGE_FORMAT_TGA,
    CXIMAGE_FORMAT_PCX, CXIMAGE_FORMAT_WBMP, CXIMAGE_FORMAT_WMF, CXIMAGE_FORMAT_JP2,
    CXIMAGE_FORMAT_UNKNOWN
};

const CxCodecRow* CxFindCodec(DWORD format)
{
    if (format == CXIMAGE_FORMAT_UNKNOWN || format >= CMAX_IMAGE_FORMATS)
        return NULL;
    return &kCodecRows[format];
}
