// The averaging reduction against Wine's own HALFTONE StretchDIBits, for
// the reductions a thumbnail makes: a 12 MP JPEG decoded at 1/8, pictures
// of 640 x 480 and 1000 x 750, and a 12 MP PNG decoded whole, each to the
// list's 160 x 120. Prints milliseconds a thumbnail for both.
#include <windows.h>
#include <stdio.h>

#include <vector>

#include "graphics/averaged_stretch.h"

namespace {

double Seconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

struct Source {
    BITMAPINFO info = {};
    std::vector<BYTE> bits;
};

BITMAPINFOHEADER Header24(int width, int height)
{
    return BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
}

// A noisy 24-bit picture, as a photo's pixels are to both stretches.
Source MakeSource(int width, int height)
{
    Source source;
    source.info.bmiHeader = Header24(width, height);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    source.bits.resize(stride * height);
    unsigned state = 12345;
    for (BYTE& value : source.bits) {
        state = state * 1103515245u + 12345u;
        value = static_cast<BYTE>(state >> 16);
    }
    return source;
}

// Milliseconds a stretch of the source into a 24-bit 160 x 120 DIB takes,
// the best of a few rounds.
template <class Stretch>
double Time(const Source& source, int repeats, Stretch stretch)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO target = {};
    target.bmiHeader = Header24(160, 120);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetStretchBltMode(dc, HALFTONE);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const double start = Seconds();
        for (int i = 0; i < repeats; ++i)
            stretch(dc, source);
        GdiFlush();
        const double each = (Seconds() - start) * 1000 / repeats;
        best = each < best ? each : best;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return best;
}

}  // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    const struct {
        int width, height, repeats;
        const char* what;
    } cases[] = {{500, 375, 50, "12 MP JPEG decoded at 1/8"},
                 {640, 480, 50, "640 x 480 picture"},
                 {1000, 750, 20, "1000 x 750 picture"},
                 {4000, 3000, 3, "12 MP picture decoded whole"}};
    printf("%-30s %14s %14s\n", "to 160 x 120, ms a thumbnail", "Wine HALFTONE", "averaged");
    for (const auto& c : cases) {
        const Source source = MakeSource(c.width, c.height);
        const int w = c.width, h = c.height;
        const double wine = Time(source, c.repeats, [w, h](HDC dc, const Source& s) {
            StretchDIBits(dc, 0, 0, 160, 120, 0, 0, w, h, s.bits.data(), &s.info, DIB_RGB_COLORS, SRCCOPY);
        });
        const double averaged = Time(source, c.repeats, [w, h](HDC dc, const Source& s) {
            StretchDibAveraged(dc, 0, 0, 160, 120, 0, 0, w, h, s.bits.data(), &s.info);
        });
        printf("%-30s %14.2f %14.2f\n", c.what, wine, averaged);
    }
    return 0;
}
