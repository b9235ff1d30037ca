// CSCBButton: one of the two caption buttons of a sizing bar (hide and
// expand), drawn with the Marlett symbol font in the bar's non-client area.
#pragma once
#include "platform/classlib/classlib.h"

class CSCBButton {
public:
    // The hit codes the bar's hit test gives for the buttons.
    enum { kHideHit = 19, kExpandHit = 9 };
    static const int kSize = 14;

    CSCBButton(UINT hitCode, UINT tipTextId) : m_hitCode(hitCode), m_tipTextId(tipTextId) {}
    virtual ~CSCBButton() = default;

    // Draws the button's glyph and frame; horz: the bar is docked at the
    // top or bottom.
    virtual void Paint(CDC* dc, BOOL horz, BOOL expanded, BOOL alone) const;
    // The button's square in window coordinates.
    CRect GetRect() const { return CRect(m_origin, CSize(kSize, kSize)); }

    BOOL m_pushed = FALSE;
    BOOL m_hot = FALSE;
    UINT m_hitCode;
    UINT m_tipTextId;
    CPoint m_origin;

private:
    // The Marlett font of the glyphs, 6 points at 96 dpi.
    static CFont& GlyphFont(CDC* dc);
    // The glyph's character in the Marlett font.
    char Glyph(BOOL horz, BOOL expanded, BOOL alone) const;
};
