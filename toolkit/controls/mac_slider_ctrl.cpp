#include "toolkit/controls/mac_slider_ctrl.h"

#include <algorithm>

#include "toolkit/controls/pen_line.h"

IMPLEMENT_DYNAMIC(CMacSliderCtrl, CSliderCtrl)

BEGIN_MESSAGE_MAP(CMacSliderCtrl, CSliderCtrl)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CMacSliderCtrl::OnCustomDraw)
END_MESSAGE_MAP()

namespace {

const int kShadeStep = 51;

enum PenIndex { kFace, kLight1, kLight2, kDark1, kDark2, kDarkShadowMix, kShadowMix, kHighlight };

COLORREF Midway(COLORREF from, COLORREF to)
{
    return RGB(GetRValue(from) + (GetRValue(to) - GetRValue(from)) / 2,
               GetGValue(from) + (GetGValue(to) - GetGValue(from)) / 2,
               GetBValue(from) + (GetBValue(to) - GetBValue(from)) / 2);
}

int Raised(int channel, int amount)
{
    return channel + amount < 256 ? channel + amount : channel;
}

int Lowered(int channel, int amount)
{
    return channel >= amount ? channel - amount : channel;
}

}  // namespace

COLORREF CMacSliderCtrl::Lighten(COLORREF colour, int amount)
{
    return RGB(Raised(GetRValue(colour), amount), Raised(GetGValue(colour), amount),
               Raised(GetBValue(colour), amount));
}

COLORREF CMacSliderCtrl::Darken(COLORREF colour, int amount)
{
    return RGB(Lowered(GetRValue(colour), amount), Lowered(GetGValue(colour), amount),
               Lowered(GetBValue(colour), amount));
}

CMacSliderCtrl::Shades CMacSliderCtrl::ShadesOf(COLORREF face)
{
    Shades shades;
    shades.face = face;
    shades.light1 = Lighten(face, kShadeStep);
    shades.light2 = Lighten(shades.light1, kShadeStep);
    shades.dark1 = Darken(face, kShadeStep);
    shades.dark2 = Darken(shades.dark1, kShadeStep);
    shades.shadowMix = Midway(face, ::GetSysColor(COLOR_BTNSHADOW));
    shades.darkShadowMix = Midway(::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_3DDKSHADOW));
    shades.highlight = ::GetSysColor(COLOR_3DHILIGHT);
    return shades;
}

CMacSliderCtrl::CMacSliderCtrl()
    : m_channelColour(::GetSysColor(COLOR_WINDOW)), m_faceColour(::GetSysColor(COLOR_BTNFACE))
{
    SetFace(m_faceColour);
}

void CMacSliderCtrl::SetFace(COLORREF face)
{
    m_shades = ShadesOf(face);
    const COLORREF colours[8] = {m_shades.face,  m_shades.light1,        m_shades.light2,    m_shades.dark1,
                                 m_shades.dark2, m_shades.darkShadowMix, m_shades.shadowMix, m_shades.highlight};
    for (int i = 0; i < 8; ++i) {
        m_pens[i].DeleteObject();
        m_pens[i].CreatePen(PS_SOLID, 1, colours[i]);
    }
}

void CMacSliderCtrl::OnCustomDraw(NMHDR* header, LRESULT* result)
{
    NMCUSTOMDRAW* draw = (NMCUSTOMDRAW*)header;
    if (draw->dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (draw->dwDrawStage != CDDS_ITEMPREPAINT || draw->dwItemSpec == TBCD_TICS) {
        *result = CDRF_DODEFAULT;
        return;
    }
    CDC dc;
    dc.Attach(draw->hdc);
    int saved = dc.SaveDC();
    CRect rect(draw->rc);
    if (draw->dwItemSpec == TBCD_THUMB) {
        // A thumb being dragged is drawn darker. Some track bars mark the
        // drag only by holding the mouse.
        bool dragged = (draw->uItemState & CDIS_SELECTED) != 0 || ::GetCapture() == m_hWnd;
        if (dragged)
            SetFace(Darken(m_faceColour, kShadeStep));
        DrawThumb(dc, rect);
        if (dragged)
            SetFace(m_faceColour);
    } else if (draw->dwItemSpec == TBCD_CHANNEL) {
        COLORREF channel = m_channelColour;
        if (!IsWindowEnabled())
            m_channelColour = ::GetSysColor(COLOR_BTNFACE);
        DrawChannel(dc, rect);
        m_channelColour = channel;
    }
    dc.RestoreDC(saved);
    dc.Detach();
    *result = CDRF_SKIPDEFAULT;
}

void CMacSliderCtrl::DrawChannel(CDC& dc, CRect rect)
{
    CRect channel;
    GetChannelRect(&channel);
    bool vertical = channel.Height() > channel.Width();
    if (GetRangeMin() != 0 || GetRangeMax() != 0) {
        if (vertical)
            rect.DeflateRect(1, 0);
        else
            rect.DeflateRect(0, 1);
    }
    if ((vertical ? rect.Height() : rect.Width()) >= 4) {
        CBrush fill(m_channelColour);
        CBrush* oldBrush = dc.SelectObject(&fill);
        CPen* oldPen = dc.SelectObject(&m_pens[kDarkShadowMix]);
        dc.RoundRect(rect.left, rect.top, rect.right, rect.bottom, 2, 2);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
    }
    // A sunken groove: shadow on the left and top, light on the right and bottom.
    DrawPenLine(dc, m_pens[kShadowMix], rect.left, rect.bottom - 1, rect.left, rect.top);
    DrawPenLine(dc, m_pens[kShadowMix], rect.left, rect.top, rect.right - 1, rect.top);
    DrawPenLine(dc, m_pens[kHighlight], rect.left, rect.bottom - 1, rect.right - 1, rect.bottom - 1);
    DrawPenLine(dc, m_pens[kHighlight], rect.right - 1, rect.bottom - 1, rect.right - 1, rect.top - 1);
}

void CMacSliderCtrl::DrawThumb(CDC& dc, const CRect& rect)
{
    DWORD style = GetStyle();
    CPen frame(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOWFRAME));
    CBrush face(m_shades.face);
    CPen* oldPen = dc.SelectObject(&frame);
    CBrush* oldBrush = dc.SelectObject(&face);
    bool upright = rect.Height() > rect.Width();
    if (style & TBS_BOTH)
        DrawBothSidedThumb(dc, rect);
    else
        DrawPointedThumb(dc, rect, upright, (style & TBS_TOP) != 0);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void CMacSliderCtrl::DrawBothSidedThumb(CDC& dc, const CRect& rect)
{
    dc.RoundRect(rect.left, rect.top, rect.right, rect.bottom, 2, 2);
    CRect inner = rect;
    inner.DeflateRect(1, 1);
    dc.Draw3dRect(inner, m_shades.light1, m_shades.dark1);
    dc.SetPixel(inner.left, inner.top, m_shades.light2);
    dc.SetPixel(inner.right - 1, inner.top, m_shades.face);
    dc.SetPixel(inner.right - 1, inner.bottom - 1, m_shades.dark2);
    dc.SetPixel(inner.left, inner.bottom - 1, m_shades.face);
}

// A thumb that ends in a point half its short side deep: toward the top
// (upright) or the left when pointFirst, else toward the bottom or right.
// The outline is drawn upright in (u, v) = (across, along) and turned for
// lying thumbs.
void CMacSliderCtrl::DrawPointedThumb(CDC& dc, const CRect& rect, bool upright, bool pointFirst)
{
    int across = upright ? rect.Width() : rect.Height();
    int along = upright ? rect.Height() : rect.Width();
    int depth = std::max<int>(1, across / 2);
    int mid = (across - 1) / 2;
    // Body from v = 0 to along - 1 - depth, then the point at v = along - 1.
    CPoint outline[5] = {{0, 0}, {across - 1, 0}, {across - 1, along - 1 - depth}, {mid, along - 1},
                         {0, along - 1 - depth}};
    auto place = [&](CPoint p) {
        int v = pointFirst ? along - 1 - p.y : p.y;
        return upright ? CPoint(rect.left + p.x, rect.top + v) : CPoint(rect.left + v, rect.top + p.x);
    };
    POINT points[5];
    for (int i = 0; i < 5; ++i)
        points[i] = place(outline[i]);
    dc.Polygon(points, 5);

    // Light on the first side, dark on the other; the back light when it
    // faces the top or left.
    auto edge = [&](int pen, CPoint from, CPoint to) {
        CPoint a = place(from);
        CPoint b = place(to);
        DrawPenLine(dc, m_pens[pen], a.x, a.y, b.x, b.y);
    };
    edge(kLight1, {1, along - 2 - depth}, {1, 1});
    edge(pointFirst ? kDark1 : kLight1, {1, 1}, {across - 2, 1});
    edge(kLight2, {1, along - 1 - depth}, {mid, along - 2});
    edge(kDark1, {across - 2, 1}, {across - 2, along - 2 - depth});
    edge(kDark2, {across - 2, along - 1 - depth}, {mid, along - 2});
}
