// PGX files: one plane of samples behind a text header
// "PG ML + <bits> <width> <height>" (ML: big-endian, LM: little-endian;
// '-' for signed samples).
#include "codecs/ximajas.h"

#include <stdio.h>

#include "platform/base/byte_reader.h"

namespace {

const char kCannotLoad[] = "error: cannot load image data";

void SkipBlanks(const std::string& bytes, size_t& at)
{
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\t'))
        ++at;
}

bool ReadNumber(const std::string& bytes, size_t& at, uint32_t& value)
{
    SkipBlanks(bytes, at);
    return CxJasReadDecimal(bytes, at, value);
}

}  // namespace

const char* CxReadPgx(const std::string& bytes, CxJasPicture& picture)
{
    size_t at = 2;
    SkipBlanks(bytes, at);
    if (at + 2 > bytes.size())
        return kCannotLoad;
    ByteOrder order = bytes.compare(at, 2, "ML") == 0 ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    if (order == ByteOrder::LittleEndian && bytes.compare(at, 2, "LM") != 0)
        return kCannotLoad;
    at += 2;
    SkipBlanks(bytes, at);
    bool isSigned = false;
    if (at < bytes.size() && (bytes[at] == '+' || bytes[at] == '-'))
        isSigned = bytes[at++] == '-';
    uint32_t bits = 0, width = 0, height = 0;
    if (!ReadNumber(bytes, at, bits) || !ReadNumber(bytes, at, width) ||
        !ReadNumber(bytes, at, height))
        return kCannotLoad;
    if (at < bytes.size() && bytes[at] == '\r')
        ++at;
    if (at >= bytes.size() || bytes[at] != '\n')
        return kCannotLoad;
    ++at;
    if (bits < 1 || bits > 16 || !CxJasSizeAllowed(width, height, 1))
        return kCannotLoad;
    size_t sampleBytes = bits <= 8 ? 1 : 2;
    size_t count = (size_t)width * height;
    if (bytes.size() - at < count * sampleBytes)
        return kCannotLoad;

    picture.resize(1);
    CxJasComponent& plane = picture[0];
    plane.width = width;
    plane.height = height;
    plane.precision = (int)bits;
    plane.isSigned = isSigned;
    plane.samples.resize(count);
    const BYTE* data = (const BYTE*)bytes.data() + at;
    uint32_t mask = (1u << bits) - 1;
    for (size_t i = 0; i < count; ++i) {
        const BYTE* p = data + i * sampleBytes;
        uint32_t value = sampleBytes == 1 ? p[0] : GetU16(p, order);
        value &= mask;
        int32_t sample = (int32_t)value;
        if (isSigned && (value >> (bits - 1)))
            sample -= (int32_t)(1u << bits);
        plane.samples[i] = sample;
    }
    return NULL;
}

const char* CxWritePgx(CxFile* stream, const CxJasPicture& picture)
{
    const CxJasComponent& plane = picture[0];
    char header[64];
    int length = sprintf(header, "PG ML + 8 %lu %lu\n", (unsigned long)plane.width,
                         (unsigned long)plane.height);
    if (stream->Write(header, 1, (DWORD)length) != (DWORD)length)
        return "write error";
    std::string data(plane.samples.size(), '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = (char)plane.samples[i];
    if (!data.empty() && stream->Write(data.data(), 1, (DWORD)data.size()) != (DWORD)data.size())
        return "write error";
    return NULL;
}
