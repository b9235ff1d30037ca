#include "codecs/ximamng.h"

#include <stdlib.h>
#include <string.h>

#include "codecs/ximabudget.h"
#include "platform/base/byte_reader.h"

#include "platform/native/native_begin.h"
#include <libmng.h>
#include <zlib.h>
#include "platform/native/native_end.h"

namespace {

// Streams with more frames than this are cut off there.
const int kMaxFrames = 10000;
const DWORD kSignatureBytes = 8;
const DWORD kChunkHeadBytes = 8;    // length and type
const DWORD kChunkCrcBytes = 4;

// The blocks libmng holds through the codec's allocator, all images
// together.
volatile LONG g_blocksHeld = 0;

// libmng allocates only inside the codec's calls to it: the blocks go to
// the ring of the codec object whose call runs on this thread.
thread_local CxMngBlock* t_owner = NULL;

class BlockOwner {
public:
    explicit BlockOwner(CxMngBlock* ring) : m_previous(t_owner) { t_owner = ring; }
    ~BlockOwner() { t_owner = m_previous; }
    BlockOwner(const BlockOwner&) = delete;
    BlockOwner& operator=(const BlockOwner&) = delete;

private:
    CxMngBlock* m_previous;
};

bool IsPictureHeader(const BYTE* type)
{
    return memcmp(type, "MHDR", 4) == 0 || memcmp(type, "IHDR", 4) == 0 ||
           memcmp(type, "JHDR", 4) == 0 || memcmp(type, "BASI", 4) == 0;
}

// Walks the chunks from the stream's position and spends every picture
// that a header chunk announces (the canvas of MHDR, the images of IHDR,
// JHDR and BASI, whose first fields are width and height) from the budget
// of the stream's bytes; the stream goes back to where it was.
CxPictureVerdict SpendAnnouncedPictures(CxFile* stream, CxPixelBudget& budget)
{
    int32_t start = stream->Tell();
    CxPictureVerdict verdict = CX_PICTURE_FITS;
    BYTE head[kChunkHeadBytes + 8];
    if (stream->Seek(kSignatureBytes, SEEK_CUR)) {
        while (verdict == CX_PICTURE_FITS && stream->Read(head, 1, kChunkHeadBytes) == kChunkHeadBytes) {
            uint32_t length = GetU32BE(head);
            uint32_t read = 0;
            if (IsPictureHeader(head + 4) && length >= 8 &&
                stream->Read(head + kChunkHeadBytes, 1, 8) == 8) {
                read = 8;
                verdict = budget.Spend(GetU32BE(head + 8), GetU32BE(head + 12), 24);
            }
            int64_t skip = (int64_t)length - read + kChunkCrcBytes;
            if (skip > 0x7FFFFFFF || !stream->Seek((int32_t)skip, SEEK_CUR))
                break;
        }
    }
    stream->Seek(start, SEEK_SET);
    return verdict;
}

CxMngState* State(mng_handle handle)
{
    return (CxMngState*)mng_get_userdata(handle);
}

// Zero-filled blocks, each behind a header that links it into its owner's
// ring (the header keeps the block's 16-byte alignment).
mng_ptr Allocate(mng_size_t bytes)
{
    static_assert(sizeof(CxMngBlock) % 16 == 0, "blocks stay aligned");
    if (bytes > SIZE_MAX - sizeof(CxMngBlock))
        return NULL;
    CxMngBlock* block = (CxMngBlock*)calloc(1, sizeof(CxMngBlock) + bytes);
    if (!block)
        return NULL;
    CxMngBlock* ring = t_owner;
    if (ring) {
        block->previous = ring;
        block->next = ring->next;
        ring->next->previous = block;
        ring->next = block;
    } else {
        block->previous = block->next = block;
    }
    InterlockedIncrement(&g_blocksHeld);
    return block + 1;
}

void Release(mng_ptr data, mng_size_t)
{
    if (!data)
        return;
    CxMngBlock* block = (CxMngBlock*)data - 1;
    block->previous->next = block->next;
    block->next->previous = block->previous;
    InterlockedDecrement(&g_blocksHeld);
    free(block);
}

// libmng ends the call it is in with the error; the codec keeps its text.
mng_bool OnError(mng_handle handle, mng_int32, mng_int8, mng_chunkid, mng_uint32, mng_int32,
                 mng_int32, mng_pchar text)
{
    CxMngState* state = State(handle);
    if (state) {
        strncpy(state->error, text && *text ? text : "MNG stream error", sizeof(state->error) - 1);
        state->error[sizeof(state->error) - 1] = 0;
    }
    return MNG_FALSE;
}

mng_bool OpenStream(mng_handle)
{
    return MNG_TRUE;
}

mng_bool CloseStream(mng_handle)
{
    return MNG_TRUE;
}

mng_bool ReadData(mng_handle handle, mng_ptr buffer, mng_uint32 size, mng_uint32p read)
{
    *read = State(handle)->file->Read(buffer, 1, size);
    return MNG_TRUE;
}

mng_bool WriteData(mng_handle handle, mng_ptr buffer, mng_uint32 size, mng_uint32p written)
{
    *written = State(handle)->file->Write(buffer, 1, size);
    return MNG_TRUE;
}

mng_bool ProcessHeader(mng_handle handle, mng_uint32 width, mng_uint32 height)
{
    CxMngState* state = State(handle);
    uint64_t rowSize = (((uint64_t)width * 24 + 31) / 8) & ~(uint64_t)3;
    // The same limit as an image of that size.
    if (width == 0 || height == 0 || rowSize * height > CXIMAGE_MAX_DIB_BYTES ||
        (((uint64_t)width * height * 24) >> 8) > CXIMAGE_MAX_MEMORY)
        return MNG_FALSE;
    free(state->canvas);
    state->canvas = (BYTE*)calloc((size_t)(rowSize * height), 1);
    if (!state->canvas) {
        state->width = state->height = 0;
        return MNG_FALSE;
    }
    state->width = width;
    state->height = height;
    state->bpp = 24;
    state->rowSize = (DWORD)rowSize;
    if (mng_get_usebkgd(handle)) {
        mng_uint16 red = 0, green = 0, blue = 0;
        mng_get_bgcolor(handle, &red, &green, &blue);
        state->backgroundIndex = 0;
        state->background.rgbRed = (BYTE)(red >> 8);
        state->background.rgbGreen = (BYTE)(green >> 8);
        state->background.rgbBlue = (BYTE)(blue >> 8);
    }
    mng_set_canvasstyle(handle, MNG_CANVAS_BGR8);
    return MNG_TRUE;
}

// libmng's line 0 is the top of the picture.
mng_ptr GetCanvasLine(mng_handle handle, mng_uint32 line)
{
    CxMngState* state = State(handle);
    if (line >= state->height)
        line = state->height - 1;
    return state->canvas + (size_t)state->rowSize * (state->height - 1 - line);
}

mng_bool Refresh(mng_handle handle, mng_uint32, mng_uint32, mng_uint32, mng_uint32)
{
    State(handle)->shown = true;
    return MNG_TRUE;
}

mng_uint32 TickCount(mng_handle)
{
    return GetTickCount();
}

mng_bool SetTimer(mng_handle handle, mng_uint32 milliseconds)
{
    State(handle)->delay = milliseconds;
    return MNG_TRUE;
}

bool Displaying(mng_retcode result)
{
    return result == MNG_NOERROR || result == MNG_NEEDTIMERWAIT;
}

}  // namespace

LONG CxMngBlocksHeld()
{
    return InterlockedCompareExchange(&g_blocksHeld, 0, 0);
}

CxImageMNG::CxImageMNG() : CxImage(CXIMAGE_FORMAT_MNG), m_handle(NULL)
{
    m_blocks.previous = m_blocks.next = &m_blocks;
    memset(&m_state, 0, sizeof(m_state));
    m_state.speed = 1.0f;
    m_state.backgroundIndex = -1;
}

CxImageMNG::~CxImageMNG()
{
    free(m_state.canvas);
    BlockOwner owner(&m_blocks);
    if (m_handle) {
        mng_handle handle = (mng_handle)m_handle;
        mng_cleanup(&handle);
    }
    // libmng's cleanup misses some blocks of a stream it stopped reading
    // (the row buffer of a JNG whose JPEG data ended early): they go with
    // the object.
    while (m_blocks.next != &m_blocks)
        Release(m_blocks.next + 1, 0);
}

void CxImageMNG::SetCallbacks(CxMngHandle opaque)
{
    mng_handle handle = (mng_handle)opaque;
    mng_setcb_errorproc(handle, OnError);
    mng_setcb_openstream(handle, OpenStream);
    mng_setcb_closestream(handle, CloseStream);
    mng_setcb_readdata(handle, ReadData);
    mng_setcb_processheader(handle, ProcessHeader);
    mng_setcb_getcanvasline(handle, GetCanvasLine);
    mng_setcb_refresh(handle, Refresh);
    mng_setcb_gettickcount(handle, TickCount);
    mng_setcb_settimer(handle, SetTimer);
}

bool CxImageMNG::Decode(CxFile* stream)
{
    if (!stream)
        return false;
    if (m_handle)
        return Fail("could not initialize libmng");
    BlockOwner owner(&m_blocks);
    CxPixelBudget budget(CxRemainingBytes(stream), CXIMAGE_EXPANSION_ZLIB);
    CxPictureVerdict verdict = SpendAnnouncedPictures(stream, budget);
    if (verdict != CX_PICTURE_FITS)
        return Fail(CxPictureVerdictText(verdict));
    mng_handle handle = mng_initialize(&m_state, Allocate, Release, MNG_NULL);
    if (!handle)
        return Fail("could not initialize libmng");
    m_handle = handle;
    m_state.file = stream;
    mng_set_srgb(handle, MNG_TRUE);
    mng_set_bgcolor(handle, 0xFFFF, 0xFFFF, 0xFFFF);
    mng_set_usebkgd(handle, MNG_TRUE);
    mng_set_storechunks(handle, MNG_FALSE);
    mng_set_suspensionmode(handle, MNG_FALSE);
    SetCallbacks(handle);

    // The first frame is shown by the read; when it asks for a timer, more
    // follow, and each resume shows one. Anything but success or a wish for
    // a timer (a damaged or foreign stream) ends the count at once, and so
    // does a budget spent on the canvases shown.
    mng_retcode result = mng_readdisplay(handle);
    // An error before anything was shown leaves no picture of the stream.
    if (!Displaying(result) && !m_state.shown)
        return Fail(m_state.error[0] ? m_state.error : "MNG stream error");
    info.numFrames = result == MNG_NEEDTIMERWAIT ? 1 : 0;
    while (Displaying(result) && mng_status_reading(handle) && info.numFrames < kMaxFrames &&
           budget.Spend(m_state.width, m_state.height, 24) == CX_PICTURE_FITS) {
        result = mng_display_resume(handle);
        ++info.numFrames;
    }
    if (result == MNG_NEEDTIMERWAIT)
        m_state.animation = true;
    else
        --info.numFrames;
    if (info.numFrames < 1)
        info.numFrames = 1;

    if (info.frame < 0 || info.frame >= info.numFrames)
        return Fail("Error: frame not present in MNG file");
    for (int32_t i = 0; i < info.frame && Displaying(result); ++i)
        result = mng_display_resume(handle);

    if (m_state.backgroundIndex != -1) {
        info.transIndex = m_state.backgroundIndex;
        info.transColor = m_state.background;
        info.transColor.rgbReserved = 0;
    }
    if (!m_state.canvas || !Create(m_state.width, m_state.height, 24, CXIMAGE_FORMAT_MNG))
        return Fail("CxImageMNG::Decode cannot create image");
    memcpy(GetBits(), m_state.canvas, (size_t)m_state.rowSize * m_state.height);
    return true;
}

bool CxImageMNG::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    if (header.biClrUsed != 0)
        return Fail("MNG encoder can save only RGB images");
    if (m_handle)
        return Fail("could not initialize libmng");
    m_state.rowSize = info.effWidth;
    m_state.bpp = (int16_t)GetBpp();
    m_state.file = stream;
    m_state.height = GetHeight();
    m_state.width = GetWidth();
    free(m_state.canvas);
    m_state.canvas = (BYTE*)malloc(header.biSizeImage);
    if (!m_state.canvas)
        return Fail("could not allocate memory for MNG");
    memcpy(m_state.canvas, GetBits(), header.biSizeImage);

    BlockOwner owner(&m_blocks);
    mng_handle handle = mng_initialize(&m_state, Allocate, Release, MNG_NULL);
    if (!handle)
        return Fail("could not initialize libmng");
    m_handle = handle;
    mng_setcb_errorproc(handle, OnError);
    mng_setcb_openstream(handle, OpenStream);
    mng_setcb_closestream(handle, CloseStream);
    mng_setcb_writedata(handle, WriteData);
    if (mng_create(handle) != MNG_NOERROR || !WriteImage(handle, 0, 1) ||
        mng_write(handle) != MNG_NOERROR)
        return Fail("could not write MNG");
    return true;
}

// The chunks of one frame: a one-frame stream header, the image as one
// zlib-compressed RGB plane with filter byte 0 on each row, and the ends.
bool CxImageMNG::WriteImage(CxMngHandle opaque, int, int frameCount)
{
    mng_handle handle = (mng_handle)opaque;
    DWORD width = m_state.width, height = m_state.height;
    size_t rowBytes = 1 + 3 * (size_t)width;
    uLong rawBytes = (uLong)(rowBytes * height);
    uLong packedBytes = compressBound(rawBytes);
    BYTE* raw = (BYTE*)malloc(rawBytes);
    BYTE* packed = (BYTE*)malloc(packedBytes);
    if (!raw || !packed) {
        free(raw);
        free(packed);
        return Fail("could not allocate memory for MNG");
    }
    for (DWORD r = 0; r < height; ++r) {
        BYTE* out = raw + r * rowBytes;
        const BYTE* in = m_state.canvas + (size_t)m_state.rowSize * (height - 1 - r);
        out[0] = 0;
        for (DWORD x = 0; x < width; ++x) {
            out[1 + 3 * x] = in[3 * x + 2];
            out[2 + 3 * x] = in[3 * x + 1];
            out[3 + 3 * x] = in[3 * x];
        }
    }
    bool compressed = compress2(packed, &packedBytes, raw, rawBytes, 9) == Z_OK;
    free(raw);
    if (!compressed) {
        free(packed);
        return Fail("could not compress MNG image data");
    }
    mng_putchunk_mhdr(handle, width, height, 1000, 0, (mng_uint32)frameCount, 0, 0);
    mng_putchunk_defi(handle, 0, 0, 0, MNG_TRUE, 0, 0, MNG_FALSE, 0, 0, 0, 0);
    mng_putchunk_ihdr(handle, width, height, 8, 2, 0, 0, 0);
    mng_putchunk_idat(handle, (mng_uint32)packedBytes, packed);
    mng_putchunk_iend(handle);
    mng_putchunk_mend(handle);
    free(packed);
    return true;
}
