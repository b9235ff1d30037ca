// The C library headers come before <windows.h>, whose min and max
// macros they cannot take.
#include <math.h>
#include "graphics/kviewport.h"

namespace {

// Nearest integer, ties to even (the default rounding mode).
int RoundToInt(double value)
{
    return static_cast<int>(nearbyint(value));
}

}  // namespace

int KViewPort::ToDeviceX(float wx) const
{
    return RoundToInt((static_cast<double>(wx) - x) * scale);
}

int KViewPort::ToDeviceY(float wy) const
{
    return RoundToInt((static_cast<double>(y) - wy) * scale);
}

POINT KViewPort::ToDevice(float wx, float wy) const
{
    POINT point = {ToDeviceX(wx), ToDeviceY(wy)};
    return point;
}

RECT KViewPort::ToDeviceRect(const KWorldRect& rect) const
{
    RECT device = {ToDeviceX(rect.left), ToDeviceY(rect.top), ToDeviceX(rect.right),
                   ToDeviceY(rect.bottom)};
    return device;
}

bool KViewPort::FitRect(int width, int height, const KWorldRect& rect)
{
    float dx = rect.right - rect.left;
    float dy = rect.top - rect.bottom;
    float scaleX = static_cast<float>(width) / dx;
    float scaleY = static_cast<float>(height) / dy;
    float fitted = scaleX < scaleY ? scaleX : scaleY;
    if (!(fitted > 0.0f) || !isfinite(fitted))
        return false;
    scale = fitted;
    x = (rect.left + dx * 0.5f) - (width / scale) * 0.5f;
    y = (rect.bottom + dy * 0.5f) + (height / scale) * 0.5f;
    return true;
}

bool KViewPort::FitRectNoEnlarge(int width, int height, const KWorldRect& rect)
{
    if (!FitRect(width, height, rect))
        return false;
    if (scale < 1.0f)
        return true;
    float dx = rect.right - rect.left;
    float dy = rect.top - rect.bottom;
    scale = 1.0f;
    x = rect.left - (width - dx) * 0.5f;
    y = rect.top + (height - dy) * 0.5f;
    return true;
}

bool KViewPort::ZoomAt(POINT point, float delta)
{
    float newScale = scale + delta;
    if (!(newScale > kMinScale))
        return false;
    float worldX = point.x / scale + x;
    float worldY = y - point.y / scale;
    scale = newScale;
    x = worldX - point.x / newScale;
    y = worldY + point.y / newScale;
    return true;
}
