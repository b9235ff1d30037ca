// Decoding and encoding by format id through the codec table, and Save.
#include "codecs/ximage.h"

#include <stdlib.h>
#include <string.h>

#include "platform/base/file_replace.h"
#include "codecs/ximacodecs.h"
#include "codecs/xiofile.h"
#include "codecs/xmemfile.h"

namespace {

const char kUnknownDecode[] = "Decode: Unknown or wrong format";
const char kUnknownEncode[] = "Encode: Unknown format";

// The error text of a failed ReplaceFileWithBytes.
const char* ReplaceFailureText(ReplaceFileResult result)
{
    switch (result) {
    case ReplaceFileBadName: return "Save: invalid file name";
    case ReplaceFileCannotCreate: return "Save: can't create file";
    case ReplaceFileCannotWrite: return "Save: can't write file";
    default: return "Save: can't replace file";
    }
}

}  // namespace

// A format whose codec is not part of this build.
bool CxImage::FailUnavailable(const char* direction, const char* format)
{
    char message[CXIMAGE_ERROR_LENGTH];
    wsprintfA(message, "%s: %s codec not available", direction, format);
    return Fail(message);
}

bool CxImage::AcceptDecoded(CxImage& codec, bool decoded)
{
    if (decoded)
        return Transfer(codec);
    return Fail(codec.GetLastError());
}

bool CxImage::AcceptEncoded(const CxImage& codec, bool encoded)
{
    if (!encoded)
        Fail(codec.GetLastError());
    return encoded;
}

bool CxImage::Decode(CxFile* stream, DWORD type)
{
    if (type == CXIMAGE_FORMAT_UNKNOWN) {
        if (!stream)
            return Fail(kUnknownDecode);
        int32_t start = stream->Tell();
        for (const DWORD* format = kCxDecodeTryOrder; *format; ++format) {
            const CxCodecRow* row = CxFindCodec(*format);
            if (row->decode && row->decode(*this, stream, CXIMAGE_FORMAT_UNKNOWN))
                return true;
            stream->Seek(start, SEEK_SET);
        }
        return Fail(kUnknownDecode);
    }
    const CxCodecRow* row = CxFindCodec(type);
    if (!row)
        return Fail(kUnknownDecode);
    if (!row->decode)
        return FailUnavailable("Decode", row->name);
    return row->decode(*this, stream, type);
}

bool CxImage::Decode(BYTE* buffer, DWORD size, DWORD type)
{
    CxMemFile stream(buffer, size);
    return Decode(&stream, type);
}

bool CxImage::Encode(CxFile* stream, DWORD type)
{
    const CxCodecRow* row = CxFindCodec(type);
    if (!row)
        return Fail(kUnknownEncode);
    if (!row->encode)
        return FailUnavailable("Encode", row->name);
    return row->encode(*this, stream, type);
}

bool CxImage::Encode(FILE* file, DWORD type)
{
    CxIOFile stream(file);
    return Encode(file ? &stream : NULL, type);
}

bool CxImage::Save(const char* fileName, DWORD type)
{
    if (!fileName || !*fileName)
        return Fail("Save: invalid file name");
    CxMemFile stream;
    if (!stream.Open())
        return Fail("Save: can't allocate memory");
    if (!Encode(&stream, type))
        return false;
    // The target is replaced only by a complete file.
    ReplaceFileResult result =
        ReplaceFileWithBytes(fileName, stream.GetBuffer(false), (DWORD)stream.Size());
    if (result != ReplaceFileDone)
        return Fail(ReplaceFailureText(result));
    return true;
}

bool CxImage::EncodeSafeCheck(CxFile* stream)
{
    if (!stream) {
        Fail("null file handler");
        return true;
    }
    if (!dib) {
        Fail("null image!!!");
        return true;
    }
    return false;
}
