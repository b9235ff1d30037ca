// Portable anymap files: P1 to P6 (bitmap, grey map and pixel map, as text
// or binary), maximum sample value up to 65535.
#include "codecs/ximajas.h"

#include <stdio.h>

#include "platform/base/byte_reader.h"

namespace {

const char kCannotLoad[] = "error: cannot load image data";

class PnmParser {
public:
    explicit PnmParser(const std::string& bytes) : m_bytes(bytes), m_at(2) {}

    // Skips white space and comments (from '#' to the end of the line).
    void SkipSpace()
    {
        while (m_at < m_bytes.size()) {
            char c = m_bytes[m_at];
            if (c == '#') {
                while (m_at < m_bytes.size() && m_bytes[m_at] != '\n' && m_bytes[m_at] != '\r')
                    ++m_at;
            } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' ||
                       c == '\f') {
                ++m_at;
            } else {
                return;
            }
        }
    }

    bool Number(uint32_t& value)
    {
        SkipSpace();
        return CxJasReadDecimal(m_bytes, m_at, value);
    }

    // A plain bitmap digit, which needs no space around it.
    bool Bit(uint32_t& value)
    {
        SkipSpace();
        if (m_at >= m_bytes.size() || (m_bytes[m_at] != '0' && m_bytes[m_at] != '1'))
            return false;
        value = (uint32_t)(m_bytes[m_at++] - '0');
        return true;
    }

    // The single white-space byte between a binary header and its data.
    void EndHeader() { ++m_at; }

    size_t Left() const { return m_at < m_bytes.size() ? m_bytes.size() - m_at : 0; }
    const BYTE* Data() const { return (const BYTE*)m_bytes.data() + m_at; }

private:
    const std::string& m_bytes;
    size_t m_at;
};

int BitsFor(uint32_t maximum)
{
    int bits = 0;
    while (bits < 32 && ((uint64_t)1 << bits) <= maximum)
        ++bits;
    return bits;
}

void ReadBinary(const BYTE* data, uint32_t maximum, CxJasPicture& picture, bool bitmap)
{
    DWORD width = picture[0].width, height = picture[0].height;
    size_t planes = picture.size();
    if (bitmap) {
        size_t rowBytes = (width + 7) / 8;
        for (DWORD y = 0; y < height; ++y) {
            for (DWORD x = 0; x < width; ++x) {
                int bit = (data[y * rowBytes + x / 8] >> (7 - x % 8)) & 1;
                picture[0].samples[(size_t)y * width + x] = bit ? 0 : 1;  // 1 is black
            }
        }
        return;
    }
    size_t sampleBytes = maximum < 256 ? 1 : 2;
    size_t count = (size_t)width * height;
    for (size_t i = 0; i < count; ++i) {
        for (size_t plane = 0; plane < planes; ++plane) {
            const BYTE* p = data + (i * planes + plane) * sampleBytes;
            uint32_t value = sampleBytes == 1 ? p[0] : GetU16BE(p);
            picture[plane].samples[i] = (int32_t)(value > maximum ? maximum : value);
        }
    }
}

bool ReadText(PnmParser& parser, uint32_t maximum, CxJasPicture& picture, bool bitmap)
{
    size_t count = (size_t)picture[0].width * picture[0].height;
    for (size_t i = 0; i < count; ++i) {
        for (CxJasComponent& plane : picture) {
            uint32_t value = 0;
            if (bitmap ? !parser.Bit(value) : !parser.Number(value))
                return false;
            if (bitmap)
                value = 1 - value;
            plane.samples[i] = (int32_t)(value > maximum ? maximum : value);
        }
    }
    return true;
}

}  // namespace

const char* CxReadPnm(const std::string& bytes, CxJasPicture& picture)
{
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] < '1' || bytes[1] > '6')
        return kCannotLoad;
    char kind = bytes[1];
    bool bitmap = kind == '1' || kind == '4';
    bool text = kind <= '3';
    size_t planes = (kind == '3' || kind == '6') ? 3 : 1;
    PnmParser parser(bytes);
    uint32_t width = 0, height = 0, maximum = 1;
    if (!parser.Number(width) || !parser.Number(height) || (!bitmap && !parser.Number(maximum)))
        return kCannotLoad;
    if (maximum == 0 || maximum > 65535 || !CxJasSizeAllowed(width, height, planes))
        return kCannotLoad;
    if (!text)
        parser.EndHeader();

    // Every sample takes at least one byte of text; binary data has its size.
    uint64_t needed = (uint64_t)width * height * planes;
    if (kind == '4')
        needed = (uint64_t)(width + 7) / 8 * height;
    else if (!text && maximum > 255)
        needed *= 2;
    if (parser.Left() < needed)
        return kCannotLoad;

    picture.resize(planes);
    for (CxJasComponent& plane : picture) {
        plane.width = width;
        plane.height = height;
        plane.precision = BitsFor(maximum);
        plane.samples.assign((size_t)width * height, 0);
    }
    if (text)
        return ReadText(parser, maximum, picture, bitmap) ? NULL : kCannotLoad;
    ReadBinary(parser.Data(), maximum, picture, bitmap);
    return NULL;
}

// Binary grey map (one plane) or pixel map (three planes), 8 bits.
const char* CxWritePnm(CxFile* stream, const CxJasPicture& picture)
{
    const CxJasComponent& first = picture[0];
    char header[64];
    int length = sprintf(header, "P%c\n%lu %lu\n255\n", picture.size() == 3 ? '6' : '5',
                         (unsigned long)first.width, (unsigned long)first.height);
    if (stream->Write(header, 1, (DWORD)length) != (DWORD)length)
        return "write error";
    size_t planes = picture.size();
    std::string row((size_t)first.width * planes, '\0');
    for (DWORD y = 0; y < first.height; ++y) {
        for (DWORD x = 0; x < first.width; ++x)
            for (size_t plane = 0; plane < planes; ++plane)
                row[x * planes + plane] = (char)picture[plane].samples[(size_t)y * first.width + x];
        if (stream->Write(row.data(), 1, (DWORD)row.size()) != (DWORD)row.size())
            return "write error";
    }
    return NULL;
}
