#include "codecs/ximagif_lzw.h"

#include <string.h>

#include <algorithm>
#include <vector>

// ---- Reading ----

CxGifInput::CxGifInput(CxFile* stream)
    : m_stream(stream), m_base(stream->Tell()), m_position(0), m_fill(0)
{
    if (m_base < 0)
        m_base = 0;
}

uint64_t CxGifInput::Remaining() const
{
    int64_t left = (int64_t)m_stream->Size() - Tell();
    return left > 0 ? (uint64_t)left : 0;
}

int CxGifInput::GetByte()
{
    if (m_position >= m_fill) {
        m_base += m_fill;
        m_position = 0;
        m_fill = m_stream->Read(m_buffer, 1, kBufferBytes);
        if (m_fill == 0)
            return -1;
    }
    return m_buffer[m_position++];
}

DWORD CxGifInput::Read(void* buffer, DWORD count)
{
    BYTE* out = (BYTE*)buffer;
    DWORD done = 0;
    while (done < count) {
        if (m_position >= m_fill) {
            int byte = GetByte();
            if (byte < 0)
                break;
            out[done++] = (BYTE)byte;
            continue;
        }
        DWORD take = std::min(count - done, m_fill - m_position);
        memcpy(out + done, m_buffer + m_position, take);
        m_position += take;
        done += take;
    }
    return done;
}

bool CxGifInput::Seek(int64_t position)
{
    if (position >= m_base && position <= m_base + m_fill) {
        m_position = (DWORD)(position - m_base);
        return true;
    }
    if (position < 0 || position > 0x7FFFFFFF || !m_stream->Seek((int32_t)position, SEEK_SET))
        return false;
    m_base = position;
    m_position = m_fill = 0;
    return true;
}

void CxGifInput::SkipSubBlocks()
{
    for (;;) {
        int length = GetByte();
        if (length <= 0 || !Skip(length))
            return;
    }
}

int CxGifDataBlocks::NextByte()
{
    if (m_ended)
        return kTerminator;
    while (m_left == 0) {
        int length = m_input.GetByte();
        if (length < 0)
            return kEndOfStream;
        if (length == 0) {
            m_ended = true;
            return kTerminator;
        }
        m_left = length;
    }
    int byte = m_input.GetByte();
    if (byte < 0)
        return kEndOfStream;
    --m_left;
    return byte;
}

void CxGifDataBlocks::SkipRest()
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_left > 0 && !m_input.Skip(m_left))
        return;
    m_input.SkipSubBlocks();
}

// ---- LZW decoding ----

// Gathers bits from the low end of each data byte; a terminator gives the
// end code, the end of the file a read error (-1).
int CxGifLzwDecoder::ReadCode(CxGifDataBlocks& blocks)
{
    while (m_bitCount < m_codeSize) {
        int byte = blocks.NextByte();
        if (byte == CxGifDataBlocks::kEndOfStream)
            return -1;
        if (byte == CxGifDataBlocks::kTerminator)
            return -2;
        m_bits |= (uint32_t)byte << m_bitCount;
        m_bitCount += 8;
    }
    int code = (int)(m_bits & ((1u << m_codeSize) - 1));
    m_bits >>= m_codeSize;
    m_bitCount -= m_codeSize;
    return code;
}

namespace {

// Collects decoded bytes into rows for the sink.
class LineCollector {
public:
    LineCollector(BYTE* line, DWORD length, CxGifRowSink& sink)
        : m_line(line), m_length(length), m_fill(0), m_sink(sink) {}

    // False when the sink wants no more rows.
    bool Put(BYTE value)
    {
        m_line[m_fill++] = value;
        if (m_fill < m_length)
            return true;
        m_fill = 0;
        return m_sink.PutRow(m_line, m_length);
    }
    void Finish()
    {
        if (m_fill)
            m_sink.PutRow(m_line, m_fill);
    }

private:
    BYTE* m_line;
    DWORD m_length;
    DWORD m_fill;
    CxGifRowSink& m_sink;
};

}  // namespace

CxGifLzwDecoder::Result CxGifLzwDecoder::Decode(int minimumCodeSize, CxGifDataBlocks& blocks,
                                                DWORD lineLength, CxGifRowSink& sink)
{
    m_badCodes = 0;
    // Codes are at most 12 bits wide, so the first code of 11 + 1 bits is
    // the widest start.
    if (minimumCodeSize < 2 || minimumCodeSize > 11)
        return kBadCodeSize;
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    const int firstFree = clear + 2;
    m_codeSize = minimumCodeSize + 1;
    int topSlot = 1 << m_codeSize;
    int nextSlot = firstFree;
    m_bits = 0;
    m_bitCount = 0;
    memset(m_suffix, 0, sizeof(m_suffix));
    memset(m_prefix, 0, sizeof(m_prefix));

    std::vector<BYTE> line;
    if (lineLength == 0)
        return kDone;
    try {
        line.resize((size_t)lineLength + 1);
    } catch (...) {
        return kNoMemory;
    }
    LineCollector rows(line.data(), lineLength, sink);

    int oldCode = 0;
    int firstChar = 0;
    for (;;) {
        int code = ReadCode(blocks);
        if (code == -1)
            return kReadError;
        if (code == -2 || code == end)
            break;
        if (code == clear) {
            m_codeSize = minimumCodeSize + 1;
            nextSlot = firstFree;
            topSlot = 1 << m_codeSize;
            do {
                code = ReadCode(blocks);
            } while (code == clear);
            if (code == -1)
                return kReadError;
            if (code == -2 || code == end)
                break;
            if (code >= nextSlot)
                code = 0;
            oldCode = firstChar = code;
            if (!rows.Put((BYTE)code))
                return kDone;
            continue;
        }

        int newCode = code;
        int depth = 0;
        if (code >= nextSlot) {
            if (code > nextSlot)
                ++m_badCodes;
            m_stack[depth++] = (BYTE)firstChar;
            code = oldCode;
        }
        while (code >= firstFree) {
            // A table entry can only point below itself; a hostile file
            // can make the chain loop, and then it outgrows the stack.
            if (depth >= kTableSize - 1)
                return kCorrupt;
            m_stack[depth++] = m_suffix[code];
            code = m_prefix[code];
        }
        m_stack[depth++] = (BYTE)code;
        if (nextSlot < topSlot) {
            firstChar = code;
            m_suffix[nextSlot] = (BYTE)code;
            m_prefix[nextSlot] = (WORD)oldCode;
            ++nextSlot;
            oldCode = newCode;
        }
        if (nextSlot >= topSlot && m_codeSize < 12) {
            topSlot <<= 1;
            ++m_codeSize;
        }
        while (depth > 0) {
            if (!rows.Put(m_stack[--depth]))
                return kDone;
        }
    }
    rows.Finish();
    return kDone;
}

// ---- LZW and one-code-per-pixel encoding ----

void CxGifCodeWriter::Start(int initialWidth)
{
    m_initialWidth = initialWidth;
    m_clear = 1 << (initialWidth - 1);
    m_end = m_clear + 1;
    m_nextFree = m_clear + 2;
    m_width = initialWidth;
    m_maxCode = (1 << initialWidth) - 1;
    m_accumulator = 0;
    m_bitCount = 0;
    m_blockFill = 0;
    m_clearFlag = false;
}

void CxGifCodeWriter::EncodeLzw(int initialWidth, CxGifPixelSource& pixels)
{
    Start(initialWidth);
    int current = pixels.NextPixel();
    std::fill(m_keys, m_keys + kHashSize, -1);
    PutCode(m_clear);
    if (current < 0) {
        PutCode(m_end);
        return;
    }
    for (int pixel; (pixel = pixels.NextPixel()) >= 0;) {
        int32_t key = (pixel << 12) + current;
        int slot = (pixel << 4) ^ current;
        if (m_keys[slot] == key) {
            current = m_codes[slot];
            continue;
        }
        bool found = false;
        if (m_keys[slot] >= 0) {
            int step = slot == 0 ? 1 : kHashSize - slot;
            do {
                slot -= step;
                if (slot < 0)
                    slot += kHashSize;
                if (m_keys[slot] == key) {
                    current = m_codes[slot];
                    found = true;
                    break;
                }
            } while (m_keys[slot] > 0);
        }
        if (found)
            continue;
        PutCode(current);
        current = pixel;
        if (m_nextFree < kMaxCodes) {
            m_codes[slot] = (WORD)m_nextFree++;
            m_keys[slot] = key;
        } else {
            std::fill(m_keys, m_keys + kHashSize, -1);
            m_nextFree = m_clear + 2;
            m_clearFlag = true;
            PutCode(m_clear);
        }
    }
    PutCode(current);
    PutCode(m_end);
}

void CxGifCodeWriter::EncodeRaw(int initialWidth, CxGifPixelSource& pixels)
{
    Start(initialWidth);
    int pixel = pixels.NextPixel();
    PutCode(m_clear);
    while (pixel >= 0) {
        int next = pixels.NextPixel();
        PutCode(pixel);
        if (m_nextFree < kMaxCodes) {
            ++m_nextFree;
        } else {
            m_nextFree = m_clear + 2;
            m_clearFlag = true;
            PutCode(m_clear);
        }
        pixel = next;
    }
    PutCode(m_end);
}

// Appends the code's bits above those pending; the code width then grows
// as the decoder's table does, or goes back to the start after a clear.
void CxGifCodeWriter::PutCode(int code)
{
    m_accumulator &= m_bitCount ? (1u << m_bitCount) - 1 : 0;
    m_accumulator |= (uint32_t)code << m_bitCount;
    m_bitCount += m_width;
    while (m_bitCount >= 8) {
        PutCodeByte((BYTE)m_accumulator);
        m_accumulator >>= 8;
        m_bitCount -= 8;
    }
    if (m_nextFree > m_maxCode || m_clearFlag) {
        if (m_clearFlag) {
            m_width = m_initialWidth;
            m_maxCode = (1 << m_width) - 1;
            m_clearFlag = false;
        } else {
            ++m_width;
            m_maxCode = m_width == 12 ? kMaxCodes : (1 << m_width) - 1;
        }
    }
    if (code == m_end) {
        while (m_bitCount > 0) {
            PutCodeByte((BYTE)m_accumulator);
            m_accumulator >>= 8;
            m_bitCount -= 8;
        }
        m_bitCount = 0;
        FlushCodeBytes();
    }
}

void CxGifCodeWriter::PutCodeByte(BYTE value)
{
    m_block[m_blockFill++] = value;
    if (m_blockFill >= kBlockBytes)
        FlushCodeBytes();
}

void CxGifCodeWriter::FlushCodeBytes()
{
    if (m_blockFill == 0)
        return;
    m_out.PutByte((BYTE)m_blockFill);
    m_out.Put(m_block, m_blockFill);
    m_blockFill = 0;
}

// ---- Run-length encoding ----

namespace {

const int kRleBlockBytes = 255;

int IntegerSquareRoot(int value)
{
    if (value <= 0)
        return 0;
    // Newton steps from a power of two above the root.
    int bits = 0;
    while ((1 << bits) < value)
        ++bits;
    int root = 1 << ((bits + 1) / 2);
    for (;;) {
        int next = (root + value / root) / 2;
        if (next >= root)
            return root;
        root = next;
    }
}

// The number of codes that send `count` pixels as growing runs when
// `maxCodes` codes fit between clears.
int RunCost(int count, int maxCodes)
{
    int cost = 0;
    int perTable = maxCodes * (maxCodes + 1) / 2;
    while (count >= perTable) {
        cost += maxCodes;
        count -= perTable;
    }
    if (count > 0) {
        int j = IntegerSquareRoot(2 * count);
        while (j > 0 && (j - 1) * j >= 2 * count)
            --j;
        while (j * (j + 1) < 2 * count)
            ++j;
        cost += j;
    }
    return cost;
}

}  // namespace

void CxGifRleWriter::Encode(int initialWidth, CxGifPixelSource& pixels)
{
    m_clear = 1 << (initialWidth - 1);
    m_end = m_clear + 1;
    m_baseCode = m_end + 1;
    m_initialWidthStep = (1 << (initialWidth - 1)) - 1;
    m_initialClearLimit = initialWidth < 4 ? 9 : m_initialWidthStep - 1;
    m_initialCodeWidth = initialWidth;
    m_maxCodes = 4093 - (1 << (initialWidth - 1));
    m_bitBuffer = 0;
    m_bitCount = 0;
    m_blockFill = 0;

    Reset();
    PutRaw(m_clear);
    m_runCount = 0;
    for (;;) {
        int pixel = pixels.NextPixel();
        if (m_runCount > 0 && pixel != m_runPixel)
            FlushRun(m_runCount);
        if (pixel < 0)
            break;
        if (m_runCount > 0 && pixel == m_runPixel) {
            ++m_runCount;
        } else {
            m_runPixel = pixel;
            m_runCount = 1;
        }
    }
    PutRaw(m_end);
    if (m_bitCount > 0) {
        m_block[m_blockFill++] = (BYTE)m_bitBuffer;
        if (m_blockFill >= kRleBlockBytes)
            FlushBlock();
    }
    FlushBlock();
}

void CxGifRleWriter::Reset()
{
    m_codeWidth = m_initialCodeWidth;
    m_widthStep = m_initialWidthStep;
    m_clearLimit = m_initialClearLimit;
    m_codesOut = 0;
    m_tableMax = 0;
    m_justCleared = true;
}

void CxGifRleWriter::PutClear()
{
    PutRaw(m_clear);
    Reset();
}

void CxGifRleWriter::PutRaw(int code)
{
    m_bitBuffer |= (uint32_t)code << m_bitCount;
    m_bitCount += m_codeWidth;
    while (m_bitCount >= 8) {
        m_block[m_blockFill++] = (BYTE)m_bitBuffer;
        if (m_blockFill >= kRleBlockBytes)
            FlushBlock();
        m_bitBuffer >>= 8;
        m_bitCount -= 8;
    }
}

void CxGifRleWriter::PutPlain(int code)
{
    m_justCleared = false;
    PutRaw(code);
    ++m_codesOut;
    if (m_codesOut >= m_widthStep) {
        ++m_codeWidth;
        m_widthStep += 1 << (m_codeWidth - 1);
    }
    if (m_codesOut >= m_clearLimit)
        PutClear();
}

void CxGifRleWriter::FlushRun(int count)
{
    if (count == 1)
        PutPlain(m_runPixel);
    else if (m_justCleared)
        RunFromClear(count);
    else if (m_tableMax < 2 || m_tablePixel != m_runPixel)
        ClearOrRepeat(count);
    else
        WithTable(count);
    m_runCount = 0;
}

// Sends the run as codes of growing length, each of which the decoder
// adds to its table as one more pixel than the last.
void CxGifRleWriter::RunFromClear(int count)
{
    m_clearLimit = m_maxCodes;
    m_tablePixel = m_runPixel;
    int step = 1;
    while (count > 0) {
        if (step == 1) {
            m_tableMax = 1;
            PutPlain(m_runPixel);
            --count;
        } else if (count >= step) {
            m_tableMax = step;
            PutPlain(m_baseCode + step - 2);
            count -= step;
        } else if (count == 1) {
            ++m_tableMax;
            PutPlain(m_runPixel);
            count = 0;
        } else {
            ++m_tableMax;
            PutPlain(m_baseCode + count - 2);
            count = 0;
        }
        step = m_codesOut == 0 ? 1 : step + 1;
    }
    RestoreClearLimit();
}

void CxGifRleWriter::RestoreClearLimit()
{
    m_clearLimit = m_initialClearLimit;
    if (m_codesOut >= m_clearLimit)
        PutClear();
}

void CxGifRleWriter::ClearOrRepeat(int count)
{
    if (1 + RunCost(count, m_maxCodes) < count) {
        PutClear();
        RunFromClear(count);
        return;
    }
    for (int i = 0; i < count; ++i)
        PutPlain(m_runPixel);
}

void CxGifRleWriter::WithTable(int count)
{
    int repeats = count / m_tableMax;
    int left = count % m_tableMax;
    int extra = left > 0 ? 1 : 0;
    if (m_codesOut + repeats + extra > m_maxCodes) {
        repeats = m_maxCodes - m_codesOut;
        left = count - repeats * m_tableMax;
        extra = 1 + RunCost(left, m_maxCodes);
    }
    if (1 + RunCost(count, m_maxCodes) < repeats + extra) {
        PutClear();
        RunFromClear(count);
        return;
    }
    m_clearLimit = m_maxCodes;
    for (int i = 0; i < repeats; ++i)
        PutPlain(m_baseCode + m_tableMax - 2);
    if (left > 0) {
        if (m_justCleared)
            RunFromClear(left);
        else if (left == 1)
            PutPlain(m_runPixel);
        else
            PutPlain(m_baseCode + left - 2);
    }
    RestoreClearLimit();
}

void CxGifRleWriter::FlushBlock()
{
    if (m_blockFill == 0)
        return;
    m_out.PutByte((BYTE)m_blockFill);
    m_out.Put(m_block, m_blockFill);
    m_blockFill = 0;
}
