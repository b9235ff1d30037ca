#include "codecs/xtiffio.h"

#include <stdio.h>
#include <stdlib.h>

#include "platform/native/native_begin.h"
#include <tiffio.h>
#include "platform/native/native_end.h"

namespace {

const toff_t kSeekFailed = (toff_t)-1;

tmsize_t ReadProc(thandle_t client, void* buffer, tmsize_t size)
{
    if (size <= 0 || size > 0x7FFFFFFF)
        return 0;
    return ((CxFile*)client)->Read(buffer, 1, (DWORD)size);
}

tmsize_t WriteProc(thandle_t client, void* buffer, tmsize_t size)
{
    if (size <= 0 || size > 0x7FFFFFFF)
        return 0;
    return ((CxFile*)client)->Write(buffer, 1, (DWORD)size);
}

toff_t SeekProc(thandle_t client, toff_t offset, int whence)
{
    return CxTiffSeekProc(client, offset, whence);
}

int CloseProc(thandle_t)
{
    return 0;
}

toff_t SizeProc(thandle_t client)
{
    return (toff_t)((CxFile*)client)->Size();
}

// A read-only handle gets the whole stream as one block, as libtiff has it
// for a mapped file: some of its readers (uncompressed tiles through the
// RGBA interface) fail on a handle that is not mapped.
int MapProc(thandle_t client, void** base, toff_t* size)
{
    CxFile* stream = (CxFile*)client;
    int32_t bytes = stream->Size();
    int32_t position = stream->Tell();
    if (bytes <= 0 || position < 0)
        return 0;
    void* block = malloc((size_t)bytes);
    if (!block)
        return 0;
    bool read = stream->Seek(0, SEEK_SET) &&
                stream->Read(block, 1, (DWORD)bytes) == (DWORD)bytes;
    stream->Seek(position, SEEK_SET);
    if (!read) {
        free(block);
        return 0;
    }
    *base = block;
    *size = (toff_t)bytes;
    return 1;
}

void UnmapProc(thandle_t, void* base, toff_t)
{
    free(base);
}

// libtiff's messages about a damaged file stay silent: the codec reports
// its own failure, and a library has no console to print them on.
int IgnoreMessage(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

// Keeps the text of libtiff's last error in the caller's buffer.
int KeepMessage(TIFF*, void* buffer, const char*, const char* format, va_list arguments)
{
    vsnprintf((char*)buffer, CX_TIFF_ERROR_LENGTH, format, arguments);
    return 1;
}

}  // namespace

uint64_t CxTiffSeekProc(void* client, uint64_t offset, int whence)
{
    if (offset == 0xFFFFFFFFu || offset == kSeekFailed)
        return kSeekFailed;
    // Offsets from the current position or the end may be negative.
    int64_t signedOffset = (int64_t)offset;
    if (signedOffset > 0x7FFFFFFF || signedOffset < -0x7FFFFFFFLL)
        return kSeekFailed;
    CxFile* stream = (CxFile*)client;
    if (!stream->Seek((int32_t)signedOffset, whence))
        return kSeekFailed;
    if (whence == SEEK_SET)
        return offset;
    return (uint64_t)stream->Tell();
}

TIFF* TIFFOpenEx(CxFile* stream, const char* mode, char* errorText)
{
    if (!stream || !mode)
        return NULL;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return NULL;
    if (errorText) {
        errorText[0] = 0;
        TIFFOpenOptionsSetErrorHandlerExtR(options, KeepMessage, errorText);
    } else {
        TIFFOpenOptionsSetErrorHandlerExtR(options, IgnoreMessage, NULL);
    }
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreMessage, NULL);
    TIFF* tif = TIFFClientOpenExt("TIFF IMAGE", mode, (thandle_t)stream, ReadProc, WriteProc,
                                  SeekProc, CloseProc, SizeProc, MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
    return tif;
}
