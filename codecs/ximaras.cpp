// Sun raster files: 1-, 8-, 24- and 32-bit pictures, standard or
// run-length encoded, with an optional RGB colour map for up to 8 bits.
#include "codecs/ximajas.h"

#include <string.h>

namespace {

const char kCannotLoad[] = "error: cannot load image data";
const uint32_t kMagic = 0x59A66A95;
const size_t kHeaderBytes = 32;

enum RasterType { RT_OLD = 0, RT_STANDARD = 1, RT_BYTE_ENCODED = 2, RT_FORMAT_RGB = 3 };
enum MapType { RMT_NONE = 0, RMT_EQUAL_RGB = 1 };

uint32_t ReadU32(const BYTE* p)
{
    return ((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | p[3];
}

void PutU32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += (char)(value >> shift);
}

// Run-length data: 0x80 n v repeats v n + 1 times, 0x80 0 is one 0x80.
bool DecodeRuns(const BYTE* data, size_t size, std::string& out, size_t wanted)
{
    out.clear();
    size_t at = 0;
    while (out.size() < wanted && at < size) {
        BYTE b = data[at++];
        if (b != 0x80) {
            out += (char)b;
        } else if (at < size && data[at] == 0) {
            out += (char)0x80;
            ++at;
        } else if (at + 1 < size) {
            size_t count = (size_t)data[at] + 1;
            out.append(count < wanted - out.size() ? count : wanted - out.size(), (char)data[at + 1]);
            at += 2;
        } else {
            break;
        }
    }
    return out.size() >= wanted;
}

struct RasHeader {
    uint32_t width, height, depth, length, type, mapType, mapLength;
};

void SetPlanes(CxJasPicture& picture, size_t planes, const RasHeader& header, int precision)
{
    picture.resize(planes);
    for (CxJasComponent& plane : picture) {
        plane.width = header.width;
        plane.height = header.height;
        plane.precision = precision;
        plane.samples.resize((size_t)header.width * header.height);
    }
}

}  // namespace

const char* CxReadRas(const std::string& bytes, CxJasPicture& picture)
{
    if (bytes.size() < kHeaderBytes)
        return kCannotLoad;
    const BYTE* p = (const BYTE*)bytes.data();
    RasHeader header = { ReadU32(p + 4), ReadU32(p + 8), ReadU32(p + 12), ReadU32(p + 16),
                         ReadU32(p + 20), ReadU32(p + 24), ReadU32(p + 28) };
    if (ReadU32(p) != kMagic || header.type > RT_FORMAT_RGB || header.mapType > 2)
        return kCannotLoad;
    if (header.depth != 1 && header.depth != 8 && header.depth != 24 && header.depth != 32)
        return kCannotLoad;
    if (!CxJasSizeAllowed(header.width, header.height, 3))
        return kCannotLoad;
    if (bytes.size() - kHeaderBytes < header.mapLength)
        return kCannotLoad;
    const BYTE* map = p + kHeaderBytes;
    size_t mapEntries = header.mapType == RMT_EQUAL_RGB ? header.mapLength / 3 : 0;
    size_t rowBytes = (size_t)((((uint64_t)header.width * header.depth + 15) / 16) * 2);
    size_t dataBytes = rowBytes * header.height;
    const BYTE* data = map + header.mapLength;
    size_t available = bytes.size() - kHeaderBytes - header.mapLength;
    std::string expanded;
    if (header.type == RT_BYTE_ENCODED) {
        if (!DecodeRuns(data, available, expanded, dataBytes))
            return kCannotLoad;
        data = (const BYTE*)expanded.data();
    } else if (available < dataBytes) {
        return kCannotLoad;
    }

    bool mapped = mapEntries > 0 && header.depth <= 8;
    if (mapped || header.depth >= 24)
        SetPlanes(picture, 3, header, 8);
    else
        SetPlanes(picture, 1, header, header.depth == 1 ? 1 : 8);
    bool rgbOrder = header.type == RT_FORMAT_RGB;
    for (DWORD y = 0; y < header.height; ++y) {
        const BYTE* row = data + y * rowBytes;
        for (DWORD x = 0; x < header.width; ++x) {
            size_t i = (size_t)y * header.width + x;
            if (header.depth >= 24) {
                const BYTE* pixel = row + x * (header.depth / 8) + (header.depth == 32 ? 1 : 0);
                picture[0].samples[i] = rgbOrder ? pixel[0] : pixel[2];
                picture[1].samples[i] = pixel[1];
                picture[2].samples[i] = rgbOrder ? pixel[2] : pixel[0];
                continue;
            }
            uint32_t index = header.depth == 8 ? row[x] : (row[x / 8] >> (7 - x % 8)) & 1;
            if (mapped) {
                for (size_t plane = 0; plane < 3; ++plane)
                    picture[plane].samples[i] =
                        index < mapEntries ? map[plane * mapEntries + index] : 0;
            } else {
                // A set bit of a bitmap is black.
                picture[0].samples[i] = header.depth == 1 ? (int32_t)(1 - index) : (int32_t)index;
            }
        }
    }
    return NULL;
}

// 8-bit grey or 24-bit blue-green-red standard raster, without colour map.
const char* CxWriteRas(CxFile* stream, const CxJasPicture& picture)
{
    const CxJasComponent& first = picture[0];
    uint32_t depth = picture.size() == 3 ? 24 : 8;
    size_t rowBytes = (size_t)((((uint64_t)first.width * depth + 15) / 16) * 2);
    std::string out;
    PutU32(out, kMagic);
    PutU32(out, first.width);
    PutU32(out, first.height);
    PutU32(out, depth);
    PutU32(out, (uint32_t)(rowBytes * first.height));
    PutU32(out, RT_STANDARD);
    PutU32(out, RMT_NONE);
    PutU32(out, 0);
    if (stream->Write(out.data(), 1, (DWORD)out.size()) != (DWORD)out.size())
        return "write error";
    std::string row(rowBytes, '\0');
    for (DWORD y = 0; y < first.height; ++y) {
        for (DWORD x = 0; x < first.width; ++x) {
            size_t i = (size_t)y * first.width + x;
            if (depth == 8) {
                row[x] = (char)first.samples[i];
            } else {
                row[3 * x] = (char)picture[2].samples[i];
                row[3 * x + 1] = (char)picture[1].samples[i];
                row[3 * x + 2] = (char)picture[0].samples[i];
            }
        }
        if (stream->Write(row.data(), 1, (DWORD)rowBytes) != (DWORD)rowBytes)
            return "write error";
    }
    return NULL;
}
