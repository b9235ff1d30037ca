#include "toolkit/controls/cavus.h"

IMPLEMENT_DYNAMIC(CCavus, CStatic)

BEGIN_MESSAGE_MAP(CCavus, CStatic)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CCavus* CCavus::s_selected = nullptr;

namespace {
const COLORREF kSelectionFrame = RGB(200, 50, 50);
const int kFitMargin = 4;
}

CCavus::CCavus()
{
    s_selected = nullptr;
}

CCavus::~CCavus()
{
    if (s_selected == this)
        s_selected = nullptr;
}

// Clicks reach the tile itself.
void CCavus::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    ModifyStyle(0, SS_NOTIFY);
}

BOOL CCavus::CreateDib(int width, int height, int bitsPerPixel)
{
    return m_picture.Create(width, height, bitsPerPixel);
}

BOOL CCavus::LoadDib(UINT resourceId, LPCSTR type)
{
    return m_picture.LoadFromResource(resourceId, type);
}

BOOL CCavus::CreateDibFitWindow(int bitsPerPixel)
{
    CRect window;
    GetWindowRect(&window);
    return CreateDib(window.Width() - kFitMargin, window.Height() - kFitMargin, bitsPerPixel);
}

CDC* CCavus::GetDibDC()
{
    CClientDC reference(this);
    return m_picture.BeginMemDC(&reference);
}

CRect CCavus::GetDibRect() const
{
    return CRect(0, 0, m_picture.GetWidth(), m_picture.GetHeight());
}

void CCavus::Refresh()
{
    m_picture.EndMemDC();
    if (GetSafeHwnd())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CCavus::Select()
{
    CCavus* previous = s_selected;
    s_selected = this;
    if (previous && previous != this && previous->GetSafeHwnd())
        previous->Invalidate(TRUE);
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CCavus::OnPaint()
{
    CPaintDC dc(this);
    GetClientRect(&m_lastClient);
    m_picture.StretchDraw(&dc, 0, 0, m_lastClient.Width(), m_lastClient.Height(), 0, 0, m_picture.GetWidth(),
                          m_picture.GetHeight(), SRCCOPY);
    if (m_selectable && IsSelected()) {
        CBrush frame(kSelectionFrame);
        for (int inset = 1; inset <= 3; ++inset) {
            CRect ring = m_lastClient;
            ring.DeflateRect(inset, inset);
            dc.FrameRect(ring, &frame);
        }
    }
}

void CCavus::OnLButtonDown(UINT, CPoint)
{
    if (m_selectable)
        Select();
    Default();
}

void CCavus::OnLButtonDblClk(UINT, CPoint)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_CAVUS_DBLCLK, 0, 0);
    Default();
}
