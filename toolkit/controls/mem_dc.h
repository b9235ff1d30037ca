// CMemDC: an off-screen drawing surface over a part of a device context.
// Drawing goes into a compatible bitmap (in the target's coordinates);
// when the object goes out of scope the bitmap is copied to the target in
// one blit, so the screen never shows a half-drawn picture.
#pragma once
#include "platform/classlib/classlib.h"

class CMemDC : public CDC {
public:
    static const COLORREF kNoFill = (COLORREF)-1;

    // The rectangle (in the target's logical units) defaults to the
    // target's clip box; fill, unless kNoFill, paints the surface first.
    explicit CMemDC(CDC* target, const RECT* rect = nullptr, COLORREF fill = kNoFill);
    // Copies the surface to the target.
    ~CMemDC() override;

    // False when no surface could be made; drawing then goes nowhere.
    BOOL IsValid() const { return m_valid; }
    const CRect& GetRect() const { return m_rect; }

private:
    CDC* m_target;
    CRect m_rect;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    BOOL m_valid = FALSE;
};
