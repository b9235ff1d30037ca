// CBmpButton: an owner-drawn push button that shows a picture per state
// (normal, pressed, focused, disabled): stretched over the button, or,
// with a transparent colour, drawn at its top left with that colour left out.
#pragma once
#include "graphics/dib.h"
#include "platform/classlib/classlib.h"

class CBmpButton : public CButton {
    DECLARE_DYNAMIC(CBmpButton)
public:
    static const COLORREF kOpaque = (COLORREF)-1;

    // Bitmap resources; 0 leaves a state to the normal picture.
    BOOL LoadBitmaps(UINT normalId, UINT pressedId = 0, UINT focusedId = 0, UINT disabledId = 0);
    // Pixels of this colour show what lies behind (kOpaque: none).
    void SetTransparentColour(COLORREF colour) { m_transparent = colour; }
    // Sizes the button to its normal picture.
    void SizeToContent();

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

protected:
    void PreSubclassWindow() override;

private:
    const CDib& PictureFor(UINT state) const;

    CDib m_normal;
    CDib m_pressed;
    CDib m_focused;
    CDib m_disabled;
    COLORREF m_transparent = kOpaque;
};
