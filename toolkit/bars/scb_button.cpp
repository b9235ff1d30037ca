#include "toolkit/bars/scb_button.h"

CFont& CSCBButton::GlyphFont(CDC* dc)
{
    // Made once: the screen's resolution does not change while the program runs.
    static CFont font;
    if (!font.GetSafeHandle()) {
        LOGFONTA symbols = {};
        symbols.lfHeight = 60 * 96 / dc->GetDeviceCaps(LOGPIXELSY);
        symbols.lfCharSet = SYMBOL_CHARSET;
        lstrcpyA(symbols.lfFaceName, "Marlett");
        font.CreatePointFontIndirect(&symbols, dc);
    }
    return font;
}

char CSCBButton::Glyph(BOOL horz, BOOL expanded, BOOL alone) const
{
    if (m_hitCode == kHideHit)
        return 'r';
    if (horz)
        return expanded || alone ? '3' : '4';
    return expanded ? '6' : '5';
}

void CSCBButton::Paint(CDC* dc, BOOL horz, BOOL expanded, BOOL alone) const
{
    CFont* oldFont = dc->SelectObject(&GlyphFont(dc));
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    CPoint text = m_origin + CSize(2, 2);
    if (m_pushed && m_hot)
        text += CSize(1, 1);
    char glyph = Glyph(horz, expanded, alone);
    dc->TextOut(text.x, text.y, &glyph, 1);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);

    CRect frame = GetRect();
    if (m_pushed && m_hot) {
        dc->Draw3dRect(&frame, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DLIGHT));
        frame.DeflateRect(1, 1);
        dc->Draw3dRect(&frame, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    } else if (m_hot || m_pushed) {
        // The expand button of a bar alone on its row does nothing: no frame.
        if (m_hitCode == kExpandHit && alone && !expanded)
            return;
        dc->Draw3dRect(&frame, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
}
