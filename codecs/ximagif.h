// The codec of format id 2: reads one frame of a GIF87a or GIF89a file,
// with the earlier frames composed under it, and writes GIF89a: palette
// images as one image (LZW, one code per pixel, or run-length codes, by
// the codec option of format 2: 0 LZW, 1 one code per pixel, 2 runs), and
// 24-bit images as tiles of 17 x 15 pixels that each carry their own
// 256-colour table, so that no colour is lost.
#pragma once
#include "codecs/ximage.h"

class CxGifInput;
class CxCheckedWriter;

class CxImageGIF : public CxImage {
public:
    CxImageGIF();

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);

    // What the last decode read from the extensions.
    const char* GetComment() const { return m_comment; }
    int GetLoops() const { return m_loops; }
    int GetDisposalMethod() const { return m_disposal; }

private:
    struct ControlRecord {
        BYTE packed;        // bit 0: transparent index given; bits 2-4: disposal
        WORD delay;         // hundredths of a second
        BYTE transIndex;
    };
    struct Descriptor {
        DWORD left, top, width, height;
        BYTE packed;        // bit 7: local table; bit 6: interlaced; bits 0-2: size
    };
    struct DecodeState;

    bool ReadExtension(CxGifInput& input);
    int CountFrames(CxGifInput& input, DecodeState& state);
    bool DecodeImage(CxGifInput& input, const Descriptor& image, DecodeState& state);
    bool PrepareBackground(int bpp, DecodeState& state);
    void ComposeFrame(const CxImage& frame, const Descriptor& image);
    void PaintTrueColour(const CxImage& frame, const Descriptor& image, DecodeState& state);

    void WriteScreenHeader(CxCheckedWriter& out);
    void WriteControlExtension(CxCheckedWriter& out);
    void WriteComment(CxCheckedWriter& out);
    void WriteImage(CxCheckedWriter& out, bool localTable, DWORD left, DWORD top);
    bool EncodeTrueColour(CxCheckedWriter& out);

    ControlRecord m_control;
    char m_comment[256];
    int m_loops;
    int m_disposal;
};
