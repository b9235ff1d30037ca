#include "codecs/ximajas.h"

#include <string.h>

#include <new>

#include "codecs/ximabudget.h"

namespace {

const DWORD kMaxComponents = 64;
const uint64_t kMaxSampleBytes = 0x7FFFFFFF;

enum SourceFormat { FORMAT_NONE, FORMAT_JP2, FORMAT_JPC, FORMAT_PNM, FORMAT_PGX, FORMAT_RAS };

SourceFormat Recognise(const BYTE* head, DWORD count)
{
    static const BYTE jp2[12] = { 0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A };
    static const BYTE ras[4] = { 0x59, 0xA6, 0x6A, 0x95 };
    if (count >= 12 && memcmp(head, jp2, 12) == 0)
        return FORMAT_JP2;
    if (count >= 4 && head[0] == 0xFF && head[1] == 0x4F && head[2] == 0xFF && head[3] == 0x51)
        return FORMAT_JPC;
    if (count >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6')
        return FORMAT_PNM;
    if (count >= 3 && head[0] == 'P' && head[1] == 'G' && (head[2] == ' ' || head[2] == '\t'))
        return FORMAT_PGX;
    if (count >= 4 && memcmp(head, ras, 4) == 0)
        return FORMAT_RAS;
    return FORMAT_NONE;
}

// The rest of the stream from its position.
bool ReadRest(CxFile* stream, std::string& bytes)
{
    int32_t position = stream->Tell();
    int32_t size = stream->Size();
    if (position < 0 || size < position)
        return false;
    bytes.resize((size_t)(size - position));
    return bytes.empty() ||
           stream->Read(&bytes[0], 1, (DWORD)bytes.size()) == (DWORD)bytes.size();
}

// A sample scaled to 8 bits; signed samples are moved up by half the range.
BYTE ToEightBits(int32_t sample, int precision, bool isSigned)
{
    if (precision <= 0 || precision > 31)
        return 0;
    int64_t maximum = ((int64_t)1 << precision) - 1;
    int64_t value = isSigned ? (int64_t)sample + ((int64_t)1 << (precision - 1)) : sample;
    if (value < 0)
        value = 0;
    if (value > maximum)
        value = maximum;
    return (BYTE)((value * 255 + maximum / 2) / maximum);
}

void ScaleToEightBits(CxJasComponent& component)
{
    for (int32_t& sample : component.samples)
        sample = ToEightBits(sample, component.precision, component.isSigned);
    component.precision = 8;
    component.isSigned = false;
}

// A picture whose precision is not 1, 4 or 8 becomes three 8-bit planes.
void ToThreeEightBitPlanes(CxJasPicture& picture)
{
    if (picture.size() >= 3) {
        picture.resize(3);
        for (CxJasComponent& component : picture)
            ScaleToEightBits(component);
        return;
    }
    picture.resize(1);
    ScaleToEightBits(picture[0]);
    picture.push_back(picture[0]);
    picture.push_back(picture[0]);
}

bool SameLayout(const CxJasPicture& picture)
{
    for (const CxJasComponent& component : picture) {
        if (component.width != picture[0].width || component.height != picture[0].height ||
            component.precision != picture[0].precision)
            return false;
    }
    return true;
}

}  // namespace

bool CxJasSizeAllowed(uint64_t width, uint64_t height, uint64_t planes)
{
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
        width * height > CXIMAGE_MAX_PIXELS)
        return false;
    unsigned __int128 bits = (unsigned __int128)width * height * 24;
    unsigned __int128 bytes = (unsigned __int128)width * height * planes * sizeof(int32_t);
    return (bits >> 8) <= CXIMAGE_MAX_MEMORY && bytes <= kMaxSampleBytes;
}

bool CxJasReadDecimal(const std::string& bytes, size_t& at, uint32_t& value)
{
    size_t start = at;
    uint64_t number = 0;
    while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9') {
        number = number * 10 + (uint64_t)(bytes[at] - '0');
        if (number > 0xFFFFFFFFu)
            return false;
        ++at;
    }
    value = (uint32_t)number;
    return at > start;
}

float CxImageJAS::EncodeRate(BYTE quality)
{
    return quality * 0.01f;
}

bool CxImageJAS::Decode(CxFile* stream, DWORD type)
{
    if (!stream)
        return false;
    int32_t position = stream->Tell();
    BYTE head[12];
    DWORD count = stream->Read(head, 1, sizeof(head));
    stream->Seek(position, SEEK_SET);
    SourceFormat format = Recognise(head, count);
    if (format == FORMAT_NONE)
        return Fail("error: cannot load image data");
    try {
        CxJasPicture picture;
        const char* error = NULL;
        if (format == FORMAT_JP2 || format == FORMAT_JPC) {
            error = CxReadJpeg2000(stream, format == FORMAT_JPC, picture);
        } else {
            std::string bytes;
            if (!ReadRest(stream, bytes))
                return Fail("error: cannot load image data");
            if (format == FORMAT_PNM)
                error = CxReadPnm(bytes, picture);
            else if (format == FORMAT_PGX)
                error = CxReadPgx(bytes, picture);
            else
                error = CxReadRas(bytes, picture);
        }
        if (error)
            return Fail(error);
        return ToImage(picture, type);
    } catch (const std::bad_alloc&) {
        return Fail("error: cannot allocate memory");
    }
}

bool CxImageJAS::ToImage(CxJasPicture& picture, DWORD type)
{
    if (picture.empty())
        return Fail("error: cannot load image data");
    if (picture.size() > kMaxComponents)
        return Fail("error: too much components");
    // Two planes of one layout are grey and alpha, four are red, green,
    // blue and alpha.
    if (SameLayout(picture) && (picture.size() == 2 || picture.size() == 4))
        return ToImageWithAlpha(picture, type);
    int precision = picture[0].precision;
    if (precision != 1 && precision != 4 && precision != 8)
        ToThreeEightBitPlanes(picture);

    if (picture.size() == 3 && SameLayout(picture)) {
        DWORD width = picture[0].width, height = picture[0].height;
        if (!Create(width, height, 24, type))
            return Fail("Can't allocate memory");
        for (DWORD y = 0; y < height; ++y) {
            BYTE* row = GetBits(height - 1 - y);
            size_t at = (size_t)y * width;
            for (DWORD x = 0; x < width; ++x) {
                row[3 * x] = (BYTE)picture[2].samples[at + x];
                row[3 * x + 1] = (BYTE)picture[1].samples[at + x];
                row[3 * x + 2] = (BYTE)picture[0].samples[at + x];
            }
        }
        return true;
    }
    info.numFrames = (int32_t)picture.size();
    if (info.frame < 0 || info.frame >= info.numFrames)
        return Fail("wrong frame!");
    return FrameToImage(picture[info.frame], type);
}

bool CxImageJAS::ToImageWithAlpha(CxJasPicture& picture, DWORD type)
{
    for (CxJasComponent& component : picture)
        ScaleToEightBits(component);
    bool grey = picture.size() == 2;
    DWORD width = picture[0].width, height = picture[0].height;
    if (!Create(width, height, grey ? 8 : 24, type))
        return Fail("Can't allocate memory");
    if (grey)
        SetGrayPalette();
    AlphaCreate();
    if (!AlphaIsValid())
        return Fail("Can't allocate memory");
    const CxJasComponent& opacity = picture.back();
    for (DWORD y = 0; y < height; ++y) {
        DWORD row = height - 1 - y;
        BYTE* pixels = GetBits(row);
        size_t at = (size_t)y * width;
        for (DWORD x = 0; x < width; ++x) {
            if (grey) {
                pixels[x] = (BYTE)picture[0].samples[at + x];
            } else {
                pixels[3 * x] = (BYTE)picture[2].samples[at + x];
                pixels[3 * x + 1] = (BYTE)picture[1].samples[at + x];
                pixels[3 * x + 2] = (BYTE)picture[0].samples[at + x];
            }
            AlphaSet(x, row, (BYTE)opacity.samples[at + x]);
        }
    }
    return true;
}

bool CxImageJAS::FrameToImage(const CxJasComponent& component, DWORD type)
{
    DWORD bpp = component.precision < 8 ? (DWORD)component.precision : 8;
    if (!Create(component.width, component.height, bpp, type))
        return Fail("Can't allocate memory");
    SetGrayPalette();
    for (DWORD y = 0; y < component.height; ++y) {
        const int32_t* samples = &component.samples[(size_t)y * component.width];
        DWORD row = component.height - 1 - y;
        for (DWORD x = 0; x < component.width; ++x)
            SetPixelIndex(x, row, (BYTE)samples[x]);
    }
    return true;
}

bool CxImageJAS::FromImage(CxJasPicture& picture)
{
    DWORD width = GetWidth(), height = GetHeight();
    picture.resize(IsIndexed() ? 1 : 3);
    for (CxJasComponent& component : picture) {
        component.width = width;
        component.height = height;
        component.precision = 8;
        component.samples.resize((size_t)width * height);
    }
    for (DWORD y = 0; y < height; ++y) {
        DWORD row = height - 1 - y;
        size_t at = (size_t)y * width;
        for (DWORD x = 0; x < width; ++x) {
            if (IsIndexed()) {
                picture[0].samples[at + x] = BlindGetPixelIndex(x, row);
            } else {
                const BYTE* pixel = GetBits(row) + 3 * x;
                picture[0].samples[at + x] = pixel[2];
                picture[1].samples[at + x] = pixel[1];
                picture[2].samples[at + x] = pixel[0];
            }
        }
    }
    return true;
}

bool CxImageJAS::Encode(CxFile* stream, DWORD format)
{
    if (EncodeSafeCheck(stream))
        return false;
    if (IsIndexed() && !IsGrayScale())
        return Fail("JasPer can save only RGB or GrayScale images");
    if (format == CXIMAGE_FORMAT_PGX && !IsIndexed())
        return Fail("PGX can save only GrayScale images");
    if (format < CXIMAGE_FORMAT_JP2 || format > CXIMAGE_FORMAT_RAS)
        return Fail("Encode: Unknown format");
    try {
        CxJasPicture picture;
        FromImage(picture);
        const char* error = NULL;
        switch (format) {
        case CXIMAGE_FORMAT_JP2:
        case CXIMAGE_FORMAT_JPC:
            error = CxWriteJpeg2000(stream, format == CXIMAGE_FORMAT_JPC, picture,
                                    EncodeRate(GetJpegQuality()));
            break;
        case CXIMAGE_FORMAT_PGX: error = CxWritePgx(stream, picture); break;
        case CXIMAGE_FORMAT_PNM: error = CxWritePnm(stream, picture); break;
        default: error = CxWriteRas(stream, picture); break;
        }
        if (error)
            return Fail("error: cannot encode image\n");
        stream->Flush();
        return true;
    } catch (const std::bad_alloc&) {
        return Fail("error : can't allocate memory");
    }
}

bool CxDecodeJas(CxImage& image, CxFile* stream, DWORD type)
{
    CxImageJAS codec;
    codec.CopyInfo(image);
    bool decoded = codec.Decode(stream, type);
    return image.AcceptDecoded(codec, decoded);
}

bool CxEncodeJas(CxImage& image, CxFile* stream, DWORD type)
{
    CxImageJAS codec;
    codec.Ghost(&image);
    bool encoded = codec.Encode(stream, type);
    return image.AcceptEncoded(codec, encoded);
}
