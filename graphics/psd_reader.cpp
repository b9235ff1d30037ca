// The PSD reader: header, colour mode data, image resources, the skipped
// layer section and the merged image data (raw or PackBits), composited
// from the channel planes into a 24-bit DIB section.
#include <math.h>
#include <string.h>

#include <new>

#include "graphics/psd_reader.h"
#include "graphics/win32_file.h"
#include "platform/base/byte_reader.h"

namespace {

const int32_t kOk = 0;
const int32_t kCannotOpen = -1;
const int32_t kBadHeader = -2;
const int32_t kBadColourModeData = -3;
const int32_t kBadResources = -4;
const int32_t kBadImageData = -6;
const int32_t kOneBit = -7;
const int32_t kBadDepth = -8;
const int32_t kNoBitmap = -9;
const int32_t kZip = -10;
const int32_t kZipPredicted = -11;
const int32_t kOtherCompression = -12;

// The format's limits (version 1).
const uint32_t kMaxSide = 30000;
const int16_t kMaxChannels = 56;
const int32_t kDefaultPixelsPerMeter = 3780;
const uint32_t kIndexedTableBytes = 768;
const size_t kHeaderBytes = 26;
// PackBits turns two bytes into at most 128.
const uint64_t kMaxPackBitsGain = 64;
// The largest picture made, whatever the file holds: 16384 x 16384 pixels,
// a bitmap of 768 MB.
const uint64_t kMaxPixels = uint64_t(1) << 28;

BYTE ClampToByte(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= 255.0)
        return 255;
    return static_cast<BYTE>(static_cast<int>(value));
}

// CMYK fractions (ink as stored, inverted) to red, green and blue.
void CmykToRgb(double c, double m, double y, double k, BYTE rgb[3])
{
    rgb[0] = ClampToByte(255.0 * (1.0 - (c * (1.0 - k) + k)));
    rgb[1] = ClampToByte(255.0 * (1.0 - (m * (1.0 - k) + k)));
    rgb[2] = ClampToByte(255.0 * (1.0 - (y * (1.0 - k) + k)));
}

double LabInverse(double f)
{
    double cube = f * f * f;
    return cube > 0.008856 ? cube : (f - 16.0 / 116.0) / 7.787;
}

double SrgbTransfer(double v)
{
    return v > 0.0031308 ? 1.055 * pow(v, 1.0 / 2.4) - 0.055 : 12.92 * v;
}

// CIE L*a*b* (D65) to sRGB.
void LabToRgb(int l, int a, int b, BYTE rgb[3])
{
    double fy = (l + 16.0) / 116.0;
    double fx = a / 500.0 + fy;
    double fz = fy - b / 200.0;
    double x = 95.047 * LabInverse(fx) / 100.0;
    double y = 100.0 * LabInverse(fy) / 100.0;
    double z = 108.883 * LabInverse(fz) / 100.0;
    double r = SrgbTransfer(3.2406 * x - 1.5372 * y - 0.4986 * z);
    double g = SrgbTransfer(-0.9689 * x + 1.8758 * y + 0.0415 * z);
    double bl = SrgbTransfer(0.0557 * x - 0.2040 * y + 1.0570 * z);
    rgb[0] = ClampToByte(r * 256.0);
    rgb[1] = ClampToByte(g * 256.0);
    rgb[2] = ClampToByte(bl * 256.0);
}

}  // namespace

// Bounded big-endian reads over the open file.
class PsdReader::Source
{
public:
    explicit Source(FILE* file) : m_file(file), m_size(0)
    {
        if (fseeko(file, 0, SEEK_END) == 0)
            m_size = static_cast<uint64_t>(ftello(file));
        fseeko(file, 0, SEEK_SET);
    }
    bool Bytes(void* dest, size_t n) { return fread(dest, 1, n, m_file) == n; }
    bool U16(uint16_t& value)
    {
        BYTE b[2];
        if (!Bytes(b, 2))
            return false;
        value = GetU16BE(b);
        return true;
    }
    bool U32(uint32_t& value)
    {
        BYTE b[4];
        if (!Bytes(b, 4))
            return false;
        value = GetU32BE(b);
        return true;
    }
    int Byte() { return fgetc(m_file); }
    uint64_t Remaining() const
    {
        off_t position = ftello(m_file);
        if (position < 0 || static_cast<uint64_t>(position) > m_size)
            return 0;
        return m_size - static_cast<uint64_t>(position);
    }
    bool Skip(uint64_t n)
    {
        if (n > Remaining())
            return false;
        return fseeko(m_file, static_cast<off_t>(n), SEEK_CUR) == 0;
    }
    bool AtEnd() const { return Remaining() == 0; }

    // Unpacks PackBits data until length bytes were produced; a run is cut
    // at the end. dest null: the bytes are read and dropped.
    bool UnpackBits(BYTE* dest, uint64_t length)
    {
        uint64_t produced = 0;
        while (produced < length) {
            int header = Byte();
            if (header == EOF)
                return false;
            if (header < 128) {
                for (int i = 0; i <= header; ++i) {
                    int value = Byte();
                    if (value == EOF)
                        return false;
                    if (produced < length && dest)
                        dest[produced] = static_cast<BYTE>(value);
                    produced += produced < length ? 1 : 0;
                }
            } else if (header > 128) {
                int value = Byte();
                if (value == EOF)
                    return false;
                for (int i = 0; i < 257 - header && produced < length; ++i) {
                    if (dest)
                        dest[produced] = static_cast<BYTE>(value);
                    ++produced;
                }
            }
        }
        return true;
    }

private:
    FILE* m_file;
    uint64_t m_size;
};

PsdReader::PsdReader() : m_bitmap(nullptr), m_detached(false), m_colourModeData(nullptr)
{
    Reset();
}

PsdReader::~PsdReader()
{
    Free();
}

void PsdReader::Reset()
{
    m_bitmap = nullptr;
    m_detached = false;
    m_channels = -1;
    m_height = 0;
    m_width = 0;
    m_bitsPerChannel = -1;
    m_colourMode = -1;
    m_colourModeDataLength = 0;
    m_colourModeData = nullptr;
    memset(&m_resources, 0, sizeof(m_resources));
    m_resources.resolution.horizontalDpi = -1;
    m_resources.resolution.verticalDpi = -1;
    memset(m_resources.resource1000, 0xFF, sizeof(m_resources.resource1000));
    m_resources.displayInfo.colourSpace = -1;
    m_resources.globalAngle = 30;
    m_resources.indexedColourCount = -1;
    m_resources.transparencyIndex = -1;
}

void PsdReader::Free()
{
    if (m_bitmap && !m_detached)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    delete[] m_colourModeData;
    m_colourModeData = nullptr;
    m_colourModeDataLength = 0;
}

HBITMAP PsdReader::Detach()
{
    m_detached = true;
    return m_bitmap;
}

const char* PsdReader::ColourModeName(int32_t mode)
{
    switch (mode) {
    case ModeBitmap:
        return "Bitmap";
    case ModeGrayscale:
        return "Grayscale";
    case ModeIndexed:
        return "Indexed";
    case ModeRGB:
        return "RGB";
    case ModeCMYK:
        return "CMYK";
    case ModeMultichannel:
        return "Multichannel";
    case ModeDuotone:
        return "Duotone";
    case ModeLab:
        return "Lab";
    default:
        return nullptr;
    }
}

int32_t PsdReader::GetPixelsPerMeter() const
{
    if (!m_resources.hasResolution)
        return kDefaultPixelsPerMeter;
    return m_resources.resolution.horizontalDpi * 10000 / 254;
}

int32_t PsdReader::Load(const char* path)
{
    Free();
    Reset();
    FILE* file = OpenWin32File(path, "rb");
    if (!file)
        return kCannotOpen;
    Source source(file);
    int32_t result = ReadHeader(source);
    if (result == kOk)
        result = ReadColourModeData(source);
    if (result == kOk)
        result = ReadImageResources(source);
    if (result == kOk)
        result = ReadImageData(source);
    fclose(file);
    if (result != kOk)
        Free();
    return result;
}

int32_t PsdReader::ReadHeader(Source& source)
{
    BYTE bytes[kHeaderBytes];
    if (!source.Bytes(bytes, sizeof(bytes)))
        return kBadHeader;
    CByteReader header(bytes, sizeof(bytes));
    const BYTE* signature = header.Span(4);
    uint16_t version = header.U16BE();
    const BYTE* reserved = header.Span(6);
    uint16_t channelCount = header.U16BE();
    m_height = header.U32BE();
    m_width = header.U32BE();
    m_bitsPerChannel = header.I16BE();
    m_colourMode = header.I16BE();
    if (memcmp(signature, "8BPS", 4) != 0 || version != 1)
        return kBadHeader;
    for (int i = 0; i < 6; ++i) {
        if (reserved[i] != 0)
            return kBadHeader;
    }
    if (channelCount < 1 || channelCount > kMaxChannels || m_height < 1 || m_height > kMaxSide ||
        m_width < 1 || m_width > kMaxSide)
        return kBadHeader;
    m_channels = static_cast<int16_t>(channelCount);
    return kOk;
}

int32_t PsdReader::ReadColourModeData(Source& source)
{
    uint32_t length = 0;
    if (!source.U32(length) || length > source.Remaining() || length > 0x7FFFFFFF)
        return kBadColourModeData;
    if (length == 0)
        return kOk;
    m_colourModeData = new (std::nothrow) BYTE[length];
    if (!m_colourModeData)
        return kBadColourModeData;
    memset(m_colourModeData, 0xFE, length);
    m_colourModeDataLength = static_cast<int32_t>(length);
    return source.Bytes(m_colourModeData, length) ? kOk : kBadColourModeData;
}

int32_t PsdReader::ReadImageResources(Source& source)
{
    uint32_t length = 0;
    if (!source.U32(length) || length > source.Remaining())
        return kBadResources;
    if (length == 0)
        return kOk;
    BYTE* section = new (std::nothrow) BYTE[length];
    if (!section)
        return kBadResources;
    bool read = source.Bytes(section, length);
    CByteReader records(section, length);
    while (read && !records.AtEnd())
        read = ReadResourceRecord(records);
    delete[] section;
    return read ? kOk : kBadResources;
}

// One record at the reader's position; false when it runs past the section.
bool PsdReader::ReadResourceRecord(CByteReader& records)
{
    const BYTE* signature = records.Span(4);
    if (!signature)
        return false;
    if (memcmp(signature, "8BIM", 4) != 0)
        return true;  // not a record: the next four bytes are tried
    int16_t id = records.I16BE();
    uint32_t nameLength = records.U8();
    records.Skip(nameLength + (nameLength % 2 == 0 ? 1 : 0));
    uint64_t size = records.U32BE();
    size += size & 1;
    const BYTE* data = records.Span(static_cast<size_t>(size));
    if (!data)
        return false;
    CByteReader fields(data, static_cast<size_t>(size));
    ReadListedResource(id, fields);
    return true;
}

// The fields of a resource this reader keeps; a resource too short for
// them is passed over.
void PsdReader::ReadListedResource(int16_t id, CByteReader& fields)
{
    switch (id) {
    case 1000:
        if (fields.Has(10)) {
            m_resources.hasResource1000 = true;
            for (int i = 0; i < 5; ++i)
                m_resources.resource1000[i] = fields.U16BE();
        }
        break;
    case 1005:
        if (fields.Has(16)) {
            Resolution& r = m_resources.resolution;
            m_resources.hasResolution = true;
            r.horizontalDpi = fields.I16BE();
            r.horizontalRest = fields.U32BE();
            r.widthUnit = fields.I16BE();
            r.verticalDpi = fields.I16BE();
            r.verticalRest = fields.U32BE();
            r.heightUnit = fields.I16BE();
        }
        break;
    case 1007:
        if (fields.Has(14)) {
            DisplayInfo& d = m_resources.displayInfo;
            m_resources.hasDisplayInfo = true;
            d.colourSpace = fields.I16BE();
            for (int i = 0; i < 4; ++i)
                d.colour[i] = fields.U16BE();
            d.opacity = fields.I16BE();
            d.kind = fields.U8() != 0;
            d.padding = fields.U8();
        }
        break;
    case 1033:
    case 1036:
        if (fields.Has(28)) {
            ThumbnailHeader& t = m_resources.thumbnail;
            m_resources.hasThumbnail = true;
            t.format = fields.U32BE();
            t.width = fields.U32BE();
            t.height = fields.U32BE();
            t.rowBytes = fields.U32BE();
            t.totalSize = fields.U32BE();
            t.compressedSize = fields.U32BE();
            t.bitsPerPixel = fields.I16BE();
            t.planes = fields.I16BE();
        }
        break;
    case 1034:
        if (fields.Has(2))
            m_resources.flag1034 = fields.U16BE() != 0;
        break;
    case 1037:
        if (fields.Has(4))
            m_resources.globalAngle = fields.U32BE();
        break;
    case 1046:
        if (fields.Has(2))
            m_resources.indexedColourCount = fields.I16BE();
        break;
    case 1047:
        if (fields.Has(2))
            m_resources.transparencyIndex = fields.I16BE();
        break;
    default:
        break;
    }
}

// Channel planes the composite of the colour mode reads (0: none).
uint32_t PsdReader::PlanesNeeded() const
{
    uint32_t available = static_cast<uint32_t>(m_channels);
    uint32_t wanted = 0;
    switch (m_colourMode) {
    case ModeGrayscale:
    case ModeDuotone:
    case ModeIndexed:
        wanted = 1;
        break;
    case ModeRGB:
    case ModeLab:
        wanted = 3;
        break;
    case ModeCMYK:
        wanted = 4;
        break;
    case ModeMultichannel:
        if (available > 2)
            wanted = available == 4 ? 4 : 3;
        break;
    default:
        break;
    }
    return wanted <= available ? wanted : 0;
}

int32_t PsdReader::ReadImageData(Source& source)
{
    uint32_t layerLength = 0;
    uint16_t compression = 0;
    if (!source.U32(layerLength) || !source.Skip(layerLength) || !source.U16(compression))
        return kBadImageData;
    if (compression == 2)
        return kZip;
    if (compression == 3)
        return kZipPredicted;
    if (compression > 1)
        return kOtherCompression;
    if (m_bitsPerChannel == 1)
        return kOneBit;
    if (m_bitsPerChannel != 8 && m_bitsPerChannel != 16)
        return kBadDepth;

    bool packed = compression == 1;
    uint64_t pixels = static_cast<uint64_t>(m_width) * m_height;
    uint64_t planeBytes = pixels * static_cast<uint64_t>(m_bitsPerChannel / 8);
    uint32_t planes = PlanesNeeded();
    uint64_t rowTable = packed ? static_cast<uint64_t>(m_channels) * m_height * 2 : 0;
    if (!DataCanHold(source.Remaining(), packed, planeBytes, planes, rowTable))
        return kBadImageData;
    if (pixels > kMaxPixels)
        return kNoBitmap;

    BYTE* data = nullptr;
    if (planes > 0) {
        data = new (std::nothrow) BYTE[planeBytes * planes];
        if (!data)
            return kBadImageData;
        bool complete = packed ? source.Skip(rowTable) : source.Bytes(data, planeBytes * planes);
        for (uint32_t c = 0; packed && complete && c < planes; ++c)
            complete = source.UnpackBits(data + c * planeBytes, planeBytes);
        if (!complete) {
            delete[] data;
            return kBadImageData;
        }
    }
    BYTE* bits = nullptr;
    int stride = 0;
    bool made = MakeBitmap(bits, stride);
    if (made && data)
        Composite(data, bits, stride);
    delete[] data;
    return made ? kOk : kNoBitmap;
}

// Whether the bytes left can encode the planes the header claims: raw data
// holds every channel whole; PackBits data, after its table of row lengths,
// expands at most 64 times and must encode at least one plane, also where
// the colour mode reads none.
bool PsdReader::DataCanHold(uint64_t remaining, bool packed, uint64_t planeBytes, uint32_t planes,
                            uint64_t rowTable) const
{
    if (!packed)
        return planeBytes * static_cast<uint64_t>(m_channels) <= remaining;
    uint64_t encoded = planeBytes * (planes > 0 ? planes : 1);
    return rowTable <= remaining && encoded <= (remaining - rowTable) * kMaxPackBitsGain;
}

bool PsdReader::MakeBitmap(BYTE*& bits, int& stride)
{
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(m_width);
    info.bmiHeader.biHeight = static_cast<LONG>(m_height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biXPelsPerMeter = GetPixelsPerMeter();
    info.bmiHeader.biYPelsPerMeter = GetPixelsPerMeter();
    HDC screen = GetDC(nullptr);
    void* pixels = nullptr;
    m_bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!m_bitmap || !pixels) {
        if (m_bitmap)
            DeleteObject(m_bitmap);
        m_bitmap = nullptr;
        return false;
    }
    stride = static_cast<int>((m_width * 3 + 3) & ~3u);
    bits = static_cast<BYTE*>(pixels);
    memset(bits, 0xFF, static_cast<size_t>(stride) * m_height);
    return true;
}

void PsdReader::Composite(const BYTE* planes, BYTE* bits, int stride) const
{
    const uint32_t sampleBytes = static_cast<uint32_t>(m_bitsPerChannel / 8);
    const uint64_t planeBytes = static_cast<uint64_t>(m_width) * m_height * sampleBytes;
    const double range = m_bitsPerChannel == 16 ? 65536.0 : 256.0;
    const uint32_t perByte = m_bitsPerChannel == 16 ? 256 : 1;  // 2^bits / 256
    const uint32_t planeCount = PlanesNeeded();
    auto sample = [&](uint32_t c, uint64_t p) -> uint32_t {
        const BYTE* at = planes + c * planeBytes + p * sampleBytes;
        return sampleBytes == 2 ? GetU16BE(at) : at[0];
    };
    auto highByte = [&](uint32_t c, uint64_t p) -> BYTE {
        return static_cast<BYTE>(sampleBytes == 2 ? sample(c, p) >> 8 : sample(c, p));
    };
    auto ink = [&](uint32_t c, uint64_t p) -> double { return 1.0 - sample(c, p) / range; };
    bool indexedTable = m_colourModeData && m_colourModeDataLength == kIndexedTableBytes;

    for (uint32_t y = 0; y < m_height; ++y) {
        BYTE* row = bits + static_cast<size_t>(m_height - 1 - y) * stride;
        for (uint32_t x = 0; x < m_width; ++x) {
            uint64_t p = static_cast<uint64_t>(y) * m_width + x;
            BYTE rgb[3] = {255, 255, 255};
            switch (m_colourMode) {
            case ModeGrayscale:
            case ModeDuotone:
                rgb[0] = rgb[1] = rgb[2] = highByte(0, p);
                break;
            case ModeIndexed:
                if (!indexedTable)
                    continue;
                rgb[0] = m_colourModeData[highByte(0, p)];
                rgb[1] = m_colourModeData[256 + highByte(0, p)];
                rgb[2] = m_colourModeData[512 + highByte(0, p)];
                break;
            case ModeRGB:
                rgb[0] = highByte(0, p);
                rgb[1] = highByte(1, p);
                rgb[2] = highByte(2, p);
                break;
            case ModeCMYK:
                CmykToRgb(ink(0, p), ink(1, p), ink(2, p), ink(3, p), rgb);
                break;
            case ModeMultichannel:
                CmykToRgb(ink(0, p), ink(1, p), ink(2, p), planeCount == 4 ? ink(3, p) : 0.0,
                          rgb);
                break;
            case ModeLab:
                LabToRgb(static_cast<int>(sample(0, p) * 100.0 / range),
                         static_cast<int>(sample(1, p) / perByte) - 128,
                         static_cast<int>(sample(2, p) / perByte) - 128, rgb);
                break;
            default:
                continue;
            }
            BYTE* pixel = row + static_cast<size_t>(x) * 3;
            pixel[0] = rgb[2];
            pixel[1] = rgb[1];
            pixel[2] = rgb[0];
        }
    }
}
