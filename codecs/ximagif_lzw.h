// The data coders of GIF images: a read-ahead reader of the file, the data
// sub-blocks of one image, the LZW decoder, and three encoders (LZW, one
// code per pixel, and run-length codes that a decoder's string table
// expands) that write data sub-blocks.
#pragma once
#include <stdint.h>

#include "codecs/xfile.h"
#include "codecs/ximawriter.h"

// Reads a stream through a 16 KB read-ahead buffer.
class CxGifInput {
public:
    explicit CxGifInput(CxFile* stream);

    // The next byte, or -1 at the end of the stream.
    int GetByte();
    // Reads up to `count` bytes; returns the number read.
    DWORD Read(void* buffer, DWORD count);
    int64_t Tell() const { return m_base + m_position; }
    // The bytes from the read position to the end of the stream.
    uint64_t Remaining() const;
    bool Seek(int64_t position);
    bool Skip(DWORD count) { return Seek(Tell() + count); }
    // Skips data sub-blocks up to and including their zero terminator.
    void SkipSubBlocks();

private:
    static const DWORD kBufferBytes = 16384;

    CxFile* m_stream;
    int64_t m_base;       // stream position of the buffer's first byte
    DWORD m_position;
    DWORD m_fill;
    BYTE m_buffer[kBufferBytes];
};

// The data sub-blocks of one image as one run of bytes.
class CxGifDataBlocks {
public:
    enum { kTerminator = -1, kEndOfStream = -2 };

    explicit CxGifDataBlocks(CxGifInput& input) : m_input(input), m_left(0), m_ended(false) {}

    // The next data byte; kTerminator at the zero-length block that ends
    // the data, kEndOfStream when the file ends first.
    int NextByte();
    // Moves the input to just after the terminator.
    void SkipRest();

private:
    CxGifInput& m_input;
    int m_left;
    bool m_ended;
};

// Receives the decoded rows of pixel indices, one byte a pixel.
class CxGifRowSink {
public:
    virtual ~CxGifRowSink() {}
    // False when the image needs no more rows.
    virtual bool PutRow(const BYTE* indices, DWORD length) = 0;
};

class CxGifLzwDecoder {
public:
    enum Result {
        kDone,           // the end code, or the rows were all given
        kBadCodeSize,    // a minimum code size outside 2 to 11
        kNoMemory,
        kReadError,      // the file ended inside the data
        kCorrupt         // a string that loops or outgrows the table
    };

    // Decodes the data of one image, of the given minimum code size, into
    // rows of `lineLength` pixels.
    Result Decode(int minimumCodeSize, CxGifDataBlocks& blocks, DWORD lineLength,
                  CxGifRowSink& sink);
    // Codes above the next free slot met by the last Decode.
    int BadCodes() const { return m_badCodes; }

private:
    static const int kTableSize = 4096;

    int ReadCode(CxGifDataBlocks& blocks);

    int m_codeSize = 0;
    int m_badCodes = 0;
    uint32_t m_bits = 0;
    int m_bitCount = 0;
    BYTE m_stack[kTableSize];
    BYTE m_suffix[kTableSize];
    WORD m_prefix[kTableSize];
};

// The pixels of an image in file order: rows from the top, each from the
// left; -1 after the last.
class CxGifPixelSource {
public:
    virtual ~CxGifPixelSource() {}
    virtual int NextPixel() = 0;
};

// Writes image data as LZW codes or as one code per pixel, in data
// sub-blocks of 254 bytes.
class CxGifCodeWriter {
public:
    explicit CxGifCodeWriter(CxCheckedWriter& out) : m_out(out) {}

    void EncodeLzw(int initialWidth, CxGifPixelSource& pixels);
    void EncodeRaw(int initialWidth, CxGifPixelSource& pixels);

private:
    static const int kHashSize = 5003;
    static const int kMaxCodes = 4096;
    static const int kBlockBytes = 254;

    void Start(int initialWidth);
    void PutCode(int code);
    void PutCodeByte(BYTE value);
    void FlushCodeBytes();

    CxCheckedWriter& m_out;
    int m_initialWidth = 0;
    int m_width = 0;
    int m_maxCode = 0;
    int m_nextFree = 0;
    int m_clear = 0;
    int m_end = 0;
    bool m_clearFlag = false;
    uint32_t m_accumulator = 0;
    int m_bitCount = 0;
    int m_blockFill = 0;
    BYTE m_block[256];
    int32_t m_keys[kHashSize];
    WORD m_codes[kHashSize];
};

// Writes image data as literal codes and codes for runs of one pixel that
// the decoder's own string table builds, so that no string table is kept
// here; data sub-blocks of 255 bytes.
class CxGifRleWriter {
public:
    explicit CxGifRleWriter(CxCheckedWriter& out) : m_out(out) {}

    void Encode(int initialWidth, CxGifPixelSource& pixels);

private:
    void Reset();
    void PutClear();
    void PutRaw(int code);
    void PutPlain(int code);
    void FlushRun(int count);
    void RunFromClear(int count);
    void ClearOrRepeat(int count);
    void WithTable(int count);
    void RestoreClearLimit();
    void FlushBlock();

    CxCheckedWriter& m_out;
    int m_runPixel = 0;
    int m_baseCode = 0;
    int m_runCount = 0;
    int m_tablePixel = 0;
    int m_tableMax = 0;
    bool m_justCleared = false;
    int m_codeWidth = 0;
    int m_initialCodeWidth = 0;
    int m_codesOut = 0;
    int m_widthStep = 0;
    int m_initialWidthStep = 0;
    int m_clearLimit = 0;
    int m_initialClearLimit = 0;
    int m_maxCodes = 0;
    int m_clear = 0;
    int m_end = 0;
    uint32_t m_bitBuffer = 0;
    int m_bitCount = 0;
    int m_blockFill = 0;
    BYTE m_block[256];
};
