// Sun raster files: 1-, 8-, 24- and 32-bit pictures, standard or
// run-length encoded, with an optional RGB colour map for up to 8 bits.
#include "codecs/ximajas.h"

#include <string.h>

#include "platform/base/byte_reader.h"

namespace {

const char kCannotLoad[] = "error: cannot load image data";
const uint32_t kMagic = 0x59A66A95;
const size_t kHeaderBytes = 32;

enum RasterType { RT_OLD = 0, RT_STANDARD = 1, RT_BYTE_ENCODED = 2, RT_FORMAT_RGB = 3 };
enum MapType { RMT_NONE = 0, RMT_EQUAL_RGB = 1 };

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
    CByteReader file(bytes.data(), bytes.size());
    uint32_t magic = file.U32BE();
    RasHeader header;
    header.width = file.U32BE();
    header.height = file.U32BE();
    header.depth = file.U32BE();
    header.length = file.U32BE();
    header.type = file.U32BE();
    header.mapType = file.U32BE();
    header.mapLength = file.U32BE();
    if (!file.Ok() || magic != kMagic || header.type > RT_FORMAT_RGB || header.mapType > 2)
        return kCannotLoad;
    if (header.depth != 1 && header.depth != 8 && header.depth != 24 && header.depth != 32)
        return kCannotLoad;
    if (!CxJasSizeAllowed(header.width, header.height, 3))
        return kCannotLoad;
    const BYTE* map = file.Span(header.mapLength);
    if (!map)
        return kCannotLoad;
    size_t mapEntries = header.mapType == RMT_EQUAL_RGB ? header.mapLength / 3 : 0;
    size_t rowBytes = (size_t)((((uint64_t)header.width * header.depth + 15) / 16) * 2);
    size_t dataBytes = rowBytes * header.height;
    const BYTE* data = file.Here();
    size_t available = file.Remaining();
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
    const uint32_t fields[] = { kMagic, first.width, first.height, depth,
                                (uint32_t)(rowBytes * first.height), RT_STANDARD, RMT_NONE, 0 };
    BYTE head[kHeaderBytes];
    for (size_t i = 0; i < kHeaderBytes / 4; ++i)
        PutU32BE(head + 4 * i, fields[i]);
    if (stream->Write(head, 1, kHeaderBytes) != kHeaderBytes)
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
