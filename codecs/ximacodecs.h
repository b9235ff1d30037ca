// The codec table: one row per format id, naming the functions that decode
// into and encode from a CxImage with that format's codec class. The rows
// live in codecs/ximacodecs.cpp; a format whose row has no functions fails
// cleanly with a message.
#pragma once
#include "codecs/ximage.h"

// Decodes the stream into `image` (type is the format asked for: the row's
// own id, or 0 when the dispatcher tries every decoder). Encodes `image`.
// Both return false with the message in the image's last-error text.
typedef bool (*CxDecodeFunction)(CxImage& image, CxFile* stream, DWORD type);
typedef bool (*CxEncodeFunction)(CxImage& image, CxFile* stream, DWORD type);

struct CxCodecRow {
    DWORD format;               // ImageFormatId
    const char* name;
    CxDecodeFunction decode;    // null: not available
    CxEncodeFunction encode;    // null: not available
};

// The row of a format id, or null for an id outside 1 to 16.
const CxCodecRow* CxFindCodec(DWORD format);

// The formats that decoding with type 0 tries, in order, ending with 0.
extern const DWORD kCxDecodeTryOrder[];

// Row functions for a codec class with plain Decode(CxFile*) and
// Encode(CxFile*): the decoder runs on a temporary codec object that takes
// this image's information block first and hands everything over on
// success; the encoder runs on a temporary ghost of the image.
template <class Codec>
bool CxDecodeAs(CxImage& image, CxFile* stream, DWORD /*type*/)
{
    Codec codec;
    codec.CopyInfo(image);
    bool decoded = codec.Decode(stream);
    return image.AcceptDecoded(codec, decoded);
}

template <class Codec>
bool CxEncodeAs(CxImage& image, CxFile* stream, DWORD /*type*/)
{
    Codec codec;
    codec.Ghost(&image);
    bool encoded = codec.Encode(stream);
    return image.AcceptEncoded(codec, encoded);
}
