#include "tests/graphics/file_builders.h"

#include "codecs/ximage.h"
#include "tests/support/test_files.h"

namespace filetest {

void Bytes::U16(uint32_t value)
{
    if (m_little) {
        text += static_cast<char>(value & 0xFF);
        text += static_cast<char>((value >> 8) & 0xFF);
    } else {
        text += static_cast<char>((value >> 8) & 0xFF);
        text += static_cast<char>(value & 0xFF);
    }
}

void Bytes::U32(uint32_t value)
{
    if (m_little) {
        U16(value & 0xFFFF);
        U16(value >> 16);
    } else {
        U16(value >> 16);
        U16(value & 0xFFFF);
    }
}

// An APP1 EXIF body: IFD0 with one orientation entry of the given type,
// and an IFD1 pointing at thumbnail when it is not empty.
std::string ExifBody(bool little, uint16_t type, uint32_t value, const std::string& thumbnail,
                     uint32_t thumbnailExtra)
{
    Bytes tiff(little);
    tiff.text = little ? "II" : "MM";
    tiff.U16(42);
    tiff.U32(8);
    tiff.U16(1);
    tiff.U16(274);
    tiff.U16(type);
    tiff.U32(1);
    if (type == 3 || type == 8) {
        tiff.U16(value);
        tiff.U16(0);
    } else if (type == 1 || type == 6) {
        tiff.text += static_cast<char>(value);
        tiff.text += std::string(3, '\0');
    } else {
        tiff.U32(value);
    }
    tiff.U32(thumbnail.empty() ? 0 : 26);
    if (!thumbnail.empty()) {
        tiff.U16(2);
        tiff.U16(513);
        tiff.U16(4);
        tiff.U32(1);
        tiff.U32(56);
        tiff.U16(514);
        tiff.U16(4);
        tiff.U32(1);
        tiff.U32(static_cast<uint32_t>(thumbnail.size()) + thumbnailExtra);
        tiff.U32(0);
        tiff.text += thumbnail;
    }
    return std::string("Exif\0\0", 6) + tiff.text;
}

std::string Segment(unsigned char marker, const std::string& body)
{
    Bytes segment(false);
    segment.text = std::string("\xFF", 1) + static_cast<char>(marker);
    segment.U16(static_cast<uint32_t>(body.size()) + 2);
    return segment.text + body;
}

// SOI, the APP1 segment, then the rest of jpeg after its SOI (or EOI).
std::string WithApp1(const std::string& body, const std::string& jpeg)
{
    std::string rest = jpeg.empty() ? std::string("\xFF\xD9", 2) : jpeg.substr(2);
    return std::string("\xFF\xD8", 2) + Segment(0xE1, body) + rest;
}

COLORREF Gradient(int x, int y, int width, int height)
{
    return RGB(x * 255 / width, y * 255 / height, 90);
}

std::string RealJpeg(int w, int h, PixelColour colour)
{
    CxImage image(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetPixelColor(x, h - 1 - y, colour(x, y, w, h));
    std::string path = testfiles::MakeScratchFolder("jpeg_source") + "\\source.jpg";
    std::string bytes;
    if (!image.Save(path.c_str(), CXIMAGE_FORMAT_JPG) || !testfiles::ReadFileBytes(path, bytes))
        return "";
    return bytes;
}

void PutBig16(std::string& s, uint32_t value)
{
    s += static_cast<char>((value >> 8) & 0xFF);
    s += static_cast<char>(value & 0xFF);
}

void PutBig32(std::string& s, uint32_t value)
{
    PutBig16(s, value >> 16);
    PutBig16(s, value & 0xFFFF);
}

std::string BuildPsd(const PsdSpec& spec)
{
    std::string s = "8BPS";
    PutBig16(s, spec.version);
    s += std::string(6, '\0');
    PutBig16(s, spec.channels);
    PutBig32(s, spec.height);
    PutBig32(s, spec.width);
    PutBig16(s, spec.bits);
    PutBig16(s, spec.mode);
    PutBig32(s, static_cast<uint32_t>(spec.colourData.size()));
    s += spec.colourData;
    PutBig32(s, static_cast<uint32_t>(spec.resources.size()));
    s += spec.resources;
    PutBig32(s, 0);  // no layers
    PutBig16(s, spec.compression);
    return s + spec.imageData;
}

int CountDifferentBytes(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return -1;
    int differing = 0;
    for (size_t i = 0; i < a.size(); ++i)
        differing += a[i] != b[i];
    return differing;
}

}  // namespace filetest
