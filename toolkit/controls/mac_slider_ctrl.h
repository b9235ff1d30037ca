// CMacSliderCtrl: a track bar that paints its own channel and thumb, with
// soft shaded edges made from the button-face colour, through the track
// bar's custom-draw notice. Ticks are left to the track bar.
#pragma once
#include "platform/classlib/classlib.h"

class CMacSliderCtrl : public CSliderCtrl {
    DECLARE_DYNAMIC(CMacSliderCtrl)
public:
    // The shades of one face colour.
    struct Shades {
        COLORREF face;
        COLORREF light1;
        COLORREF light2;
        COLORREF dark1;
        COLORREF dark2;
        COLORREF darkShadowMix;
        COLORREF shadowMix;
        COLORREF highlight;
    };
    static Shades ShadesOf(COLORREF face);
    // Each channel + amount while it stays below 256.
    static COLORREF Lighten(COLORREF colour, int amount);
    // Each channel - amount when it is at least amount.
    static COLORREF Darken(COLORREF colour, int amount);

    CMacSliderCtrl();

    const Shades& GetShades() const { return m_shades; }

protected:
    afx_msg void OnCustomDraw(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void SetFace(COLORREF face);
    void DrawChannel(CDC& dc, CRect rect);
    void DrawThumb(CDC& dc, const CRect& rect);
    void DrawBothSidedThumb(CDC& dc, const CRect& rect);
    void DrawPointedThumb(CDC& dc, const CRect& rect, bool upright, bool pointFirst);

    // In the order face, light 1, light 2, dark 1, dark 2, dark-shadow
    // mix, shadow mix, highlight.
    CPen m_pens[8];
    COLORREF m_channelColour;
    COLORREF m_faceColour;
    Shades m_shades;
};
