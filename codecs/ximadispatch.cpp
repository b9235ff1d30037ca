// Decoding and encoding by format id through the codec table, and Save.
#include "codecs/ximage.h"

#include <stdlib.h>
#include <string.h>

#include "codecs/ximacodecs.h"
#include "codecs/xiofile.h"
#include "codecs/xmemfile.h"

namespace {

const char kUnknownDecode[] = "Decode: Unknown or wrong format";
const char kUnknownEncode[] = "Encode: Unknown format";

// Writes the bytes to a new temporary file in the target's folder and
// renames it over the target; on any failure the target is left as it was.
bool ReplaceFileWith(const char* fileName, const BYTE* bytes, DWORD size, char* error)
{
    char folder[MAX_PATH];
    char* namePart = NULL;
    DWORD length = GetFullPathNameA(fileName, MAX_PATH, folder, &namePart);
    if (length == 0 || length >= MAX_PATH || !namePart) {
        strcpy(error, "Save: invalid file name");
        return false;
    }
    *namePart = 0;
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, "cxi", 0, temporary)) {
        strcpy(error, "Save: can't create file");
        return false;
    }
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    bool written = false;
    if (file != INVALID_HANDLE_VALUE) {
        DWORD done = 0;
        written = WriteFile(file, bytes, size, &done, NULL) && done == size;
        written = CloseHandle(file) && written;
    }
    if (written && MoveFileExA(temporary, fileName,
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        return true;
    DeleteFileA(temporary);
    strcpy(error, written ? "Save: can't replace file" : "Save: can't write file");
    return false;
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
    char error[CXIMAGE_ERROR_LENGTH];
    if (!ReplaceFileWith(fileName, stream.GetBuffer(false), (DWORD)stream.Size(), error))
        return Fail(error);
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
