// Hand-made EXIF blocks, JPEG and PSD files for the tests of the JPEG
// marker reader, the PSD reader and the raster document.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <string>

namespace filetest {

// Bytes in a chosen byte order.
class Bytes
{
public:
    explicit Bytes(bool little) : m_little(little) {}
    void U16(uint32_t value);
    void U32(uint32_t value);
    std::string text;

private:
    bool m_little;
};

// An APP1 EXIF body: IFD0 with one orientation entry of the given type,
// and an IFD1 pointing at thumbnail when it is not empty (its stated length
// thumbnailExtra bytes longer than the bytes given).
std::string ExifBody(bool little, uint16_t type, uint32_t value,
                     const std::string& thumbnail = "", uint32_t thumbnailExtra = 0);

// One segment: 0xFF, the marker, the big-endian length and the body.
std::string Segment(unsigned char marker, const std::string& body);

// Start of image, the APP1 segment, then the rest of jpeg after its start
// of image (or only an end of image when jpeg is empty).
std::string WithApp1(const std::string& body, const std::string& jpeg = "");

// The pixel colour of a test picture at (x, row from the top).
typedef COLORREF (*PixelColour)(int x, int y, int width, int height);
COLORREF Gradient(int x, int y, int width, int height);

// A baseline JPEG of w x h written by the JPEG codec ("" on failure).
std::string RealJpeg(int w, int h, PixelColour colour = Gradient);

// Big-endian numbers appended to s.
void PutBig16(std::string& s, uint32_t value);
void PutBig32(std::string& s, uint32_t value);

// A PSD file: header, colour mode data, resources, no layers, the
// compression word and the image data as given.
struct PsdSpec {
    uint16_t version = 1;
    uint16_t channels = 3;
    uint32_t height = 2;
    uint32_t width = 3;
    uint16_t bits = 8;
    uint16_t mode = 3;  // RGB
    std::string colourData;
    std::string resources;
    uint16_t compression = 0;
    std::string imageData;
};
std::string BuildPsd(const PsdSpec& spec);

// How many bytes differ between two texts of the same size (-1 when the
// sizes differ).
int CountDifferentBytes(const std::string& a, const std::string& b);

}  // namespace filetest
