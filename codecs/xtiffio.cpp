#include "codecs/xtiffio.h"

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

int MapProc(thandle_t, void**, toff_t*)
{
    return 0;
}

void UnmapProc(thandle_t, void*, toff_t)
{
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

TIFF* TIFFOpenEx(CxFile* stream, const char* mode)
{
    if (!stream || !mode)
        return NULL;
    return TIFFClientOpen("TIFF IMAGE", mode, (thandle_t)stream, ReadProc, WriteProc, SeekProc,
                          CloseProc, SizeProc, MapProc, UnmapProc);
}
