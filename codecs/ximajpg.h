// The codec of format id 3: JPEG through libjpeg over a CxFile. Decoding
// reads the EXIF record first and takes the resolution from it; encoding
// writes a JFIF file and, when this object read EXIF data earlier, puts the
// old EXIF and comment sections back in front of the new picture.
#pragma once
#include "codecs/ximaexif.h"
#include "codecs/ximage.h"

// Codec option bits of format 3 (GetCodecOption(CXIMAGE_FORMAT_JPG)).
enum CxJpegOption {
    ENCODE_BASELINE = 0x1,
    ENCODE_ARITHMETIC = 0x2,
    ENCODE_GRAYSCALE = 0x4,
    ENCODE_OPTIMIZE = 0x8,
    ENCODE_PROGRESSIVE = 0x10,
    ENCODE_SMOOTHING = 0x40,
    DECODE_GRAYSCALE = 0x80,
    DECODE_QUANTIZE = 0x100,
    DECODE_DITHER = 0x200,
    DECODE_ONEPASS = 0x400,
    DECODE_NOSMOOTH = 0x800
};

class CxImageJPG : public CxImage {
public:
    CxImageJPG();
    ~CxImageJPG() override;
    CxImageJPG(const CxImageJPG&) = delete;
    CxImageJPG& operator=(const CxImageJPG&) = delete;

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);
    // Reads the EXIF record of the stream and puts the stream back; true
    // when an EXIF APP1 section was read successfully.
    bool DecodeExif(CxFile* stream);
    bool DecodeExif(FILE* file);

    const CxExifRecord& GetExifRecord() const { return m_exifinfo; }
    CxExifInfo* GetExifReader() const { return m_exif; }
    void SetSmoothing(int32_t factor) { m_nSmoothing = factor; }
    void SetDither(int32_t mode) { m_nDither = mode; }

private:
    void ApplyResolution(bool haveExif, int densityUnit, int xDensity, int yDensity);
    void PutExifBack(CxFile* stream, int32_t position);

    CxExifInfo* m_exif;
    CxExifRecord m_exifinfo;
    int32_t m_nSmoothing;
    int32_t m_nDither;
};
