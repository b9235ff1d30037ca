// KViewPort: the world-to-device transform of a canvas, and the world
// rectangle type of the kernel.
//
// (x, y) is the world point at the device's top-left corner; scale is
// device pixels per world unit. World y grows upwards, device y downwards:
//   device X = round((wx - x) * scale), device Y = round((y - wy) * scale)
// rounded to the nearest integer, ties to even.
#pragma once
#include <windows.h>

// A world rectangle; top is the larger y.
struct KWorldRect {
    float left;
    float top;
    float right;
    float bottom;
};

class KViewPort
{
public:
    KViewPort() : x(0.0f), y(0.0f), scale(1.0f) {}
    KViewPort(float originX, float originY, float viewScale)
        : x(originX), y(originY), scale(viewScale) {}
    virtual ~KViewPort() {}

    // Scales at or below this are refused by ZoomAt.
    static constexpr float kMinScale = 1e-05f;

    int ToDeviceX(float wx) const;
    int ToDeviceY(float wy) const;
    POINT ToDevice(float wx, float wy) const;
    float ToWorldX(int deviceX) const { return deviceX / scale + x; }
    float ToWorldY(int deviceY) const { return y - deviceY / scale; }
    // Left and right by the X rule, top and bottom by the Y rule.
    RECT ToDeviceRect(const KWorldRect& rect) const;

    // Centres rect in a device area of width x height at the largest scale
    // that shows all of it. False (nothing changed) when that scale is not
    // a positive finite number (an empty or inverted rectangle, no area).
    bool FitRect(int width, int height, const KWorldRect& rect);
    // FitRect, but never above scale 1.0 (at 1.0 the rectangle is centred).
    bool FitRectNoEnlarge(int width, int height, const KWorldRect& rect);
    // Adds delta to the scale keeping the world point under (px, py) fixed;
    // false (nothing changed) when the new scale would be 1e-05 or less.
    bool ZoomAt(POINT point, float delta);
    // ZoomAt(point, scale * factor).
    bool ZoomByFactor(POINT point, float factor) { return ZoomAt(point, scale * factor); }

    float x;
    float y;
    float scale;
};
