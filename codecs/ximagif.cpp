#include "codecs/ximagif.h"

#include <string.h>

#include <algorithm>
#include <memory>

#include "codecs/ximabudget.h"
#include "codecs/ximagif_lzw.h"
#include "codecs/ximawriter.h"
#include "platform/base/byte_reader.h"

namespace {

const BYTE kExtension = 0x21;
const BYTE kImage = 0x2C;
const BYTE kTrailer = 0x3B;
const BYTE kControlLabel = 0xF9;
const BYTE kCommentLabel = 0xFE;
const BYTE kApplicationLabel = 0xFF;
const DWORD kScreenHeaderBytes = 13;
const DWORD kDescriptorBytes = 9;
const BYTE kTableFlag = 0x80;
const BYTE kInterlaceFlag = 0x40;
const BYTE kTransparentFlag = 0x01;
const int kDisposeToBackground = 2;
const DWORD kTileWidth = 17;
const DWORD kTileHeight = 15;

int TableSize(BYTE packed)
{
    return 2 << (packed & 7);
}

int BppForTable(int entries)
{
    return entries <= 2 ? 1 : entries <= 16 ? 4 : 8;
}

// The next byte that starts a block (extension, image or trailer), or -1
// at the end of the file. After a byte that is neither, bytes are skipped
// until a zero byte, so that the scan finds its way back into the block
// structure after an image it did not read.
int NextBlock(CxGifInput& input, bool& previousZero)
{
    for (;;) {
        int byte = input.GetByte();
        if (byte < 0)
            return -1;
        if (!previousZero && byte != 0)
            continue;
        if (byte == kExtension || byte == kImage || byte == kTrailer)
            return byte;
        previousZero = byte == 0;
    }
}

// Writes decoded rows into a frame, in file order or in the four passes
// of an interlaced image (rows 0, 8, 16..., then 4, 12..., 2, 6..., 1, 3...).
class FrameRows : public CxGifRowSink {
public:
    FrameRows(CxImage& frame, bool interlaced)
        : m_frame(frame), m_height(frame.GetHeight()), m_interlaced(interlaced) {}

    bool PutRow(const BYTE* indices, DWORD length) override
    {
        if (m_done)
            return false;
        Write(m_interlaced ? m_passRow : m_nextRow, indices, length);
        Advance();
        return !m_done;
    }

private:
    void Write(DWORD fileRow, const BYTE* indices, DWORD length)
    {
        BYTE* row = m_frame.GetBits(m_height - 1 - fileRow);
        DWORD width = std::min(length, m_frame.GetWidth());
        WORD bpp = m_frame.GetBpp();
        if (bpp == 8) {
            memcpy(row, indices, width);
            return;
        }
        memset(row, 0, m_frame.GetEffWidth());
        for (DWORD x = 0; x < width; ++x) {
            if (bpp == 1)
                row[x / 8] |= (BYTE)((indices[x] & 1) << (7 - x % 8));
            else
                row[x / 2] |= (BYTE)((indices[x] & 15) << ((x & 1) ? 0 : 4));
        }
    }

    void Advance()
    {
        if (!m_interlaced) {
            m_done = ++m_nextRow >= m_height;
            return;
        }
        m_passRow += m_step;
        while (m_passRow >= m_height && m_pass < 4) {
            if (m_pass > 0)
                m_step /= 2;
            ++m_pass;
            m_passRow = m_step / 2;
        }
        m_done = m_pass >= 4;
    }

    CxImage& m_frame;
    DWORD m_height;
    bool m_interlaced;
    bool m_done = false;
    DWORD m_nextRow = 0;
    DWORD m_passRow = 0;
    DWORD m_step = 8;
    int m_pass = 0;
};

// The pixel indices of an image, rows from the top.
class ImagePixels : public CxGifPixelSource {
public:
    explicit ImagePixels(const CxImage& image)
        : m_image(image), m_row((int32_t)image.GetHeight() - 1),
          m_left((uint64_t)image.GetWidth() * image.GetHeight()) {}

    int NextPixel() override
    {
        if (m_left == 0)
            return -1;
        --m_left;
        int pixel = m_image.GetPixelIndex(m_x, m_row);
        if (++m_x == (int32_t)m_image.GetWidth()) {
            m_x = 0;
            --m_row;
        }
        return pixel;
    }

private:
    const CxImage& m_image;
    int32_t m_x = 0;
    int32_t m_row;
    uint64_t m_left;
};

}  // namespace

struct CxImageGIF::DecodeState {
    DWORD screenWidth = 0;
    DWORD screenHeight = 0;
    CxRgbTriple global[256];
    int globalSize = 0;         // 0: no global table
    int headerTableSize = 2;    // the size the screen header names
    int trueColourVotes = 0;
    int backgroundBpp = 1;      // the most bits a frame up to the one asked needs
    int imageCounter = 0;
    int firstTransIndex = -1;
    int previousDisposal = 0;
    Descriptor previous = {};
    RGBQUAD lastTransColour = {};
    CxImage canvas;             // the true-colour picture, when frames are painted
    CxGifLzwDecoder decoder;
    CxPixelBudget budget = CxPixelBudget(0, 0);  // spent by the screen and every frame
    CxPictureVerdict refusal = CX_PICTURE_FITS;

    // Spends a picture of the size from the budget; false (and the refusal
    // noted) when the file cannot plausibly hold it.
    bool Spend(DWORD width, DWORD height, int bitsPerPixel)
    {
        CxPictureVerdict verdict = budget.Spend(width, height, bitsPerPixel);
        if (verdict != CX_PICTURE_FITS)
            refusal = verdict;
        return verdict == CX_PICTURE_FITS;
    }

    bool Fits(const Descriptor& image) const
    {
        return image.width > 0 && image.height > 0 &&
               image.left + image.width <= screenWidth && image.top + image.height <= screenHeight;
    }
};

namespace {

bool ReadDescriptor(CxGifInput& input, DWORD& left, DWORD& top, DWORD& width, DWORD& height,
                    BYTE& packed)
{
    BYTE raw[kDescriptorBytes];
    if (input.Read(raw, kDescriptorBytes) != kDescriptorBytes)
        return false;
    left = GetU16LE(raw);
    top = GetU16LE(raw + 2);
    width = GetU16LE(raw + 4);
    height = GetU16LE(raw + 6);
    packed = raw[8];
    return true;
}

}  // namespace

CxImageGIF::CxImageGIF() : CxImage(CXIMAGE_FORMAT_GIF), m_loops(0), m_disposal(0)
{
    memset(&m_control, 0, sizeof(m_control));
    memset(m_comment, 0, sizeof(m_comment));
}

bool CxImageGIF::Decode(CxFile* stream)
{
    if (!stream)
        return false;
    std::unique_ptr<CxGifInput> input(new CxGifInput(stream));
    std::unique_ptr<DecodeState> state(new DecodeState);
    BYTE head[kScreenHeaderBytes];
    if (input->Read(head, kScreenHeaderBytes) != kScreenHeaderBytes || memcmp(head, "GIF8", 4))
        return Fail("Not a GIF");
    state->screenWidth = GetU16LE(head + 6);
    state->screenHeight = GetU16LE(head + 8);
    if (info.escape == -1) {
        header.biWidth = state->screenWidth;
        header.biHeight = state->screenHeight;
        return true;
    }
    state->headerTableSize = TableSize(head[10]);
    if (head[10] & kTableFlag) {
        state->globalSize = state->headerTableSize;
        memset(state->global, 0, sizeof(state->global));
        input->Read(state->global, 3 * state->globalSize);
    } else {
        ++state->trueColourVotes;
    }
    state->budget = CxPixelBudget(input->Remaining(), CXIMAGE_EXPANSION_LZW);
    if (!state->Spend(state->screenWidth, state->screenHeight, 8))
        return Fail(CxPictureVerdictText(state->refusal));

    int count = CountFrames(*input, *state);
    info.numFrames = count;
    if (count == 0)
        return Fail("No image in GIF file");
    if (info.frame < 0 || info.frame >= count)
        return Fail("Wrong GIF frame number");
    if (count == 1)
        state->trueColourVotes = 0;

    bool previousZero = true;
    for (;;) {
        if (info.escape > 0)
            return Fail("Cancelled");
        int block = NextBlock(*input, previousZero);
        if (block < 0 || block == kTrailer)
            break;
        if (block == kExtension) {
            if (!ReadExtension(*input))
                break;
            continue;
        }
        Descriptor image;
        if (!ReadDescriptor(*input, image.left, image.top, image.width, image.height,
                            image.packed))
            break;
        if (!state->Fits(image))
            continue;
        if (!DecodeImage(*input, image, *state))
            break;
    }
    if (info.escape)
        return Fail("Cancelled");
    if (state->refusal != CX_PICTURE_FITS)
        return Fail(CxPictureVerdictText(state->refusal));

    if (state->canvas.IsValid()) {
        if (!Create(state->screenWidth, state->screenHeight, 24, CXIMAGE_FORMAT_GIF))
            return false;
        memcpy(GetBits(), state->canvas.GetBits(), header.biSizeImage);
        if (m_control.packed & kTransparentFlag) {
            SetTransColor(state->lastTransColour);
            info.transIndex = 0;
        } else {
            info.transIndex = -1;
        }
    }
    if (!IsValid())
        return Fail(info.lastError[0] ? info.lastError : "No image in GIF file");
    return true;
}

// Reads one image that fits the screen and composes it; false ends the
// scan (the frame asked for is done, or the picture cannot be made).
bool CxImageGIF::DecodeImage(CxGifInput& input, const Descriptor& image, DecodeState& state)
{
    if (state.imageCounter == 0 && image.width != state.screenWidth &&
        image.height != state.screenHeight)
        ++state.trueColourVotes;
    CxRgbTriple local[256];
    const CxRgbTriple* table = state.global;
    int tableSize = state.globalSize ? state.globalSize : state.headerTableSize;
    if (image.packed & kTableFlag) {
        tableSize = TableSize(image.packed);
        memset(local, 0, sizeof(local));
        input.Read(local, 3 * tableSize);
        table = local;
    }
    int bpp = BppForTable(tableSize);
    if (!state.Spend(image.width, image.height, 8) ||
        !PrepareBackground(std::max(bpp, state.backgroundBpp), state))
        return false;

    CxImage frame;
    bool framed = frame.Create(image.width, image.height, bpp, CXIMAGE_FORMAT_GIF) != NULL;
    if (framed && (state.globalSize || (image.packed & kTableFlag))) {
        RGBQUAD entries[256];
        for (int i = 0; i < 256; ++i) {
            bool inTable = i < tableSize;
            entries[i].rgbRed = inTable ? table[i].red : 255;
            entries[i].rgbGreen = inTable ? table[i].green : 255;
            entries[i].rgbBlue = inTable ? table[i].blue : 255;
            entries[i].rgbReserved = 0;
        }
        frame.SetPalette(entries, info.transIndex != -1 ? 256 : tableSize);
    }
    int codeSize = input.GetByte();
    CxGifDataBlocks blocks(input);
    if (framed) {
        FrameRows rows(frame, (image.packed & kInterlaceFlag) != 0);
        state.decoder.Decode(codeSize, blocks, image.width, rows);
    }
    blocks.SkipRest();
    if (info.escape)
        return false;

    if (framed && state.trueColourVotes < 2) {
        ComposeFrame(frame, image);
        info.transIndex = state.firstTransIndex;
        SetPalette(frame.GetPalette(), frame.GetNumColors());
    } else if (framed) {
        info.frame = info.numFrames - 1;
        PaintTrueColour(frame, image, state);
    }
    state.previousDisposal = (m_control.packed >> 2) & 7;
    state.previous = image;
    if (state.imageCounter == info.frame)
        return false;
    ++state.imageCounter;
    return true;
}

// The picture that the frames are composed on: for the first image a new
// one of the screen size, filled with the control record's index; later,
// the picture so far, with the last frame's area cleared to the first
// transparent index when that frame asked to be disposed of.
bool CxImageGIF::PrepareBackground(int bpp, DecodeState& state)
{
    if (!IsValid()) {
        if (!Create(state.screenWidth, state.screenHeight, bpp, CXIMAGE_FORMAT_GIF))
            return false;
        if (m_control.transIndex)
            Clear(m_control.transIndex);
        state.firstTransIndex = info.transIndex;
        return true;
    }
    if (state.previousDisposal != kDisposeToBackground)
        return true;
    const Descriptor& last = state.previous;
    BYTE fill = (BYTE)state.firstTransIndex;
    for (DWORD y = 0; y < last.height; ++y) {
        int32_t row = (int32_t)(GetHeight() - 1 - last.top - y);
        for (DWORD x = 0; x < last.width; ++x)
            SetPixelIndex((int32_t)(last.left + x), row, fill);
    }
    return true;
}

void CxImageGIF::ComposeFrame(const CxImage& frame, const Descriptor& image)
{
    int64_t height = GetHeight();
    int64_t firstRow = height - image.top - image.height;
    int64_t columnEnd = std::min<int64_t>(image.left + image.width, GetWidth());
    for (int64_t row = std::max<int64_t>(0, firstRow); row < height - image.top; ++row) {
        for (int64_t column = image.left; column < columnEnd; ++column) {
            BYTE index = frame.GetPixelIndex((int32_t)(column - image.left),
                                             (int32_t)(row - firstRow));
            if (index != info.transIndex)
                SetPixelIndex((int32_t)column, (int32_t)row, index);
        }
    }
}

void CxImageGIF::PaintTrueColour(const CxImage& frame, const Descriptor& image,
                                 DecodeState& state)
{
    if (!state.canvas.IsValid() &&
        (!state.Spend(state.screenWidth, state.screenHeight, 24) ||
         !state.canvas.Create(state.screenWidth, state.screenHeight, 24, CXIMAGE_FORMAT_GIF)))
        return;
    int32_t screenTop = (int32_t)state.screenHeight - 1 - (int32_t)image.top;
    int32_t height = (int32_t)image.height;
    for (int32_t y = 0; y < height; ++y) {
        for (DWORD x = 0; x < image.width; ++x)
            state.canvas.SetPixelColor((int32_t)(image.left + x), screenTop - y,
                                       frame.GetPixelColor((int32_t)x, height - 1 - y, false));
    }
    if (info.transIndex >= 0)
        state.lastTransColour = frame.GetPaletteColor((BYTE)info.transIndex);
}

bool CxImageGIF::ReadExtension(CxGifInput& input)
{
    int label = input.GetByte();
    if (label < 0)
        return false;
    bool ok = true;
    bool terminated = false;  // the zero length that ends the extension was read
    if (label == kControlLabel) {
        int length = input.GetByte();
        BYTE raw[4] = { 0, 0, 0, 0 };
        input.Read(raw, 4);
        ok = length == 4;
        if (ok) {
            m_control.packed = raw[0];
            m_control.delay = GetU16LE(raw + 1);
            m_control.transIndex = raw[3];
            if (m_control.packed & kTransparentFlag)
                info.transIndex = m_control.transIndex;
            info.frameDelay = m_control.delay;
            m_disposal = (m_control.packed >> 2) & 7;
        }
    } else if (label == kCommentLabel) {
        int length = input.GetByte();
        if (length < 0)
            length = 0;
        DWORD got = input.Read(m_comment, length);
        m_comment[got] = 0;
        terminated = length == 0;
    } else if (label == kApplicationLabel) {
        BYTE data[256];
        ok = input.GetByte() == 11 && input.Read(data, 11) == 11;
        if (ok) {
            int length = input.GetByte();
            DWORD got = length > 0 ? input.Read(data, length) : 0;
            if (got > 2)
                m_loops = GetU16LE(data + 1);
            terminated = length == 0;
        }
    }
    if (ok && !terminated)
        input.SkipSubBlocks();
    return ok;
}

// Counts the images that fit the screen and notes the most bits per
// pixel that those up to the frame asked for need; the input goes back to
// where it was.
int CxImageGIF::CountFrames(CxGifInput& input, DecodeState& state)
{
    int64_t start = input.Tell();
    int count = 0;
    bool previousZero = true;
    for (;;) {
        int block = NextBlock(input, previousZero);
        if (block < 0 || block == kTrailer)
            break;
        if (block == kExtension) {
            if (input.GetByte() < 0)
                break;
            input.SkipSubBlocks();
            continue;
        }
        Descriptor image;
        if (!ReadDescriptor(input, image.left, image.top, image.width, image.height,
                            image.packed))
            break;
        if (!state.Fits(image))
            continue;
        int tableSize = state.globalSize ? state.globalSize : state.headerTableSize;
        if (image.packed & kTableFlag) {
            tableSize = TableSize(image.packed);
            input.Skip(3 * tableSize);
        }
        if (count <= info.frame)
            state.backgroundBpp = std::max(state.backgroundBpp, BppForTable(tableSize));
        input.GetByte();  // the minimum code size
        input.SkipSubBlocks();
        ++count;
    }
    input.Seek(start);
    return count;
}

// ---- Encoding ----

bool CxImageGIF::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    if (GetWidth() > 0xFFFF || GetHeight() > 0xFFFF)
        return Fail("Can't save this image as GIF");
    CxCheckedWriter out(stream);
    if (GetBpp() > 8) {
        if (!EncodeTrueColour(out))
            return false;
    } else {
        WriteScreenHeader(out);
        WriteControlExtension(out);
        WriteComment(out);
        WriteImage(out, false, 0, 0);
        out.PutByte(kTrailer);
    }
    if (!out.Ok() || !stream->Flush() || stream->Error())
        return Fail("Write Error in GIF file");
    return true;
}

void CxImageGIF::WriteScreenHeader(CxCheckedWriter& out)
{
    out.Put("GIF89a", 6);
    out.PutU16LE(GetWidth());
    out.PutU16LE(GetHeight());
    int bpp = GetBpp();
    out.PutByte(IsIndexed() ? (BYTE)(kTableFlag | ((bpp - 1) << 4) | (bpp - 1)) : 0x11);
    out.PutByte(0);
    out.PutByte(0);
    for (DWORD i = 0; i < GetNumColors(); ++i) {
        RGBQUAD color = GetPaletteColor((BYTE)i);
        BYTE triple[3] = { color.rgbRed, color.rgbGreen, color.rgbBlue };
        out.Put(triple, 3);
    }
}

void CxImageGIF::WriteControlExtension(CxCheckedWriter& out)
{
    out.PutByte(kExtension);
    out.PutByte(kControlLabel);
    out.PutByte(4);
    out.PutByte((BYTE)(((m_disposal & 7) << 2) | (info.transIndex != -1 ? kTransparentFlag : 0)));
    out.PutU16LE(info.frameDelay);
    out.PutByte((BYTE)info.transIndex);
    out.PutByte(0);
}

void CxImageGIF::WriteComment(CxCheckedWriter& out)
{
    size_t length = strlen(m_comment);
    if (length == 0)
        return;
    length = std::min<size_t>(length, 255);
    out.PutByte(kExtension);
    out.PutByte(kCommentLabel);
    out.PutByte((BYTE)length);
    out.Put(m_comment, (DWORD)length);
    out.PutByte(0);
}

// The image descriptor (at the given place on the screen, never
// interlaced), the local table when asked, and the data.
void CxImageGIF::WriteImage(CxCheckedWriter& out, bool localTable, DWORD left, DWORD top)
{
    int bpp = GetBpp();
    out.PutByte(kImage);
    out.PutU16LE(left);
    out.PutU16LE(top);
    out.PutU16LE(GetWidth());
    out.PutU16LE(GetHeight());
    out.PutByte(localTable ? (BYTE)(kTableFlag | (bpp - 1)) : 0);
    if (localTable) {
        for (DWORD i = 0; i < GetNumColors(); ++i) {
            RGBQUAD color = GetPaletteColor((BYTE)i);
            BYTE triple[3] = { color.rgbRed, color.rgbGreen, color.rgbBlue };
            out.Put(triple, 3);
        }
    }
    int codeSize = std::max(bpp, 2);
    out.PutByte((BYTE)codeSize);
    ImagePixels pixels(*this);
    switch (GetCodecOption(CXIMAGE_FORMAT_GIF)) {
    case 1: {
        std::unique_ptr<CxGifCodeWriter> writer(new CxGifCodeWriter(out));
        writer->EncodeRaw(codeSize + 1, pixels);
        break;
    }
    case 2: {
        CxGifRleWriter writer(out);
        writer.Encode(codeSize + 1, pixels);
        break;
    }
    default: {
        std::unique_ptr<CxGifCodeWriter> writer(new CxGifCodeWriter(out));
        writer->EncodeLzw(codeSize + 1, pixels);
        break;
    }
    }
    out.PutByte(0);
}

// Tiles of 17 x 15 pixels from the top left, each with a table of its own
// colours: entry 1 + k + 17 j holds pixel (k, j) of the tile, entry 0 the
// transparent colour.
bool CxImageGIF::EncodeTrueColour(CxCheckedWriter& out)
{
    WriteScreenHeader(out);
    WriteComment(out);
    DWORD width = GetWidth(), height = GetHeight();
    CxImageGIF tile;
    for (DWORD y = 0; y < height && out.Ok(); y += kTileHeight) {
        DWORD tileHeight = std::min(kTileHeight, height - y);
        for (DWORD x = 0; x < width && out.Ok(); x += kTileWidth) {
            DWORD tileWidth = std::min(kTileWidth, width - x);
            if ((tile.GetWidth() != tileWidth || tile.GetHeight() != tileHeight) &&
                !tile.Create(tileWidth, tileHeight, 8, CXIMAGE_FORMAT_GIF))
                return Fail(tile.GetLastError());
            if (IsTransparent()) {
                tile.SetTransIndex(0);
                tile.SetPaletteColor(0, GetTransColor());
            }
            int32_t bottom = (int32_t)(height - y - tileHeight);
            for (DWORD j = 0; j < tileHeight; ++j) {
                for (DWORD k = 0; k < tileWidth; ++k) {
                    RGBQUAD color = GetPixelColor((int32_t)(x + k), bottom + (int32_t)j, false);
                    tile.SetPaletteColor((BYTE)(1 + k + kTileWidth * j), color);
                    tile.SetPixelIndex((int32_t)k, (int32_t)j, tile.GetNearestIndex(color));
                }
            }
            tile.WriteControlExtension(out);
            tile.WriteImage(out, true, x, y);
        }
    }
    out.PutByte(kTrailer);
    return true;
}
