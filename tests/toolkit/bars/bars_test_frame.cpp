#include "tests/toolkit/bars/bars_test_frame.h"

#include "tests/support/message_log.h"
#include "tests/toolkit/bars/bars_test_ids.h"
#include "tests/toolkit/common/window_capture.h"

#include <algorithm>
#include <vector>

namespace barstest {

BEGIN_MESSAGE_MAP(CPaneBar, CCJControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

int CPaneBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CCJControlBar::OnCreate(cs) == -1)
        return -1;
    return m_pane.Create("", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, 1) ? 0 : -1;
}

void CPaneBar::OnSize(UINT, int cx, int cy)
{
    m_pane.MoveWindow(0, 0, cx, cy);
}

BEGIN_MESSAGE_MAP(CTestFrame, CCJFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_TEST_OPEN, &CTestFrame::OnOpen)
    ON_COMMAND(ID_TEST_CHECKED, &CTestFrame::OnQuickMode)
    ON_UPDATE_COMMAND_UI(ID_TEST_CHECKED, &CTestFrame::OnUpdateQuickMode)
END_MESSAGE_MAP()

int CTestFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CCJFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_pane.Create("", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST))
        return -1;
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT, 0x50402834, CRect(0, 0, 0, 0),
                            AFX_IDW_TOOLBAR) ||
        !m_toolBar.LoadToolBar(IDR_TEST_TOOLBAR))
        return -1;
    const UINT indicators[] = {0};
    if (!m_statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_statusBar.SetIndicators(indicators, 1))
        return -1;
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar);

    if (!m_treeBar.Create(this, kTreeBarId, "Dir Tree", 225, 100, 0x11400, TRUE) ||
        !m_previewBar.Create(this, kPreviewBarId, "PreView", 225, 80, 0x11400, TRUE) ||
        !m_thirdBar.Create(this, kThirdBarId, "Third", 180, 120, 0x11400, TRUE))
        return -1;
    for (CControlBar* bar : {(CControlBar*)&m_treeBar, (CControlBar*)&m_previewBar, (CControlBar*)&m_thirdBar})
        bar->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_treeBar, AFX_IDW_DOCKBAR_LEFT);
    RecalcLayout();
    // The preview bar goes below the tree bar, in the same column.
    CRect below;
    m_treeBar.GetWindowRect(&below);
    below.OffsetRect(0, below.Height());
    DockControlBar(&m_previewBar, AFX_IDW_DOCKBAR_LEFT, &below);
    DockControlBar(&m_thirdBar, AFX_IDW_DOCKBAR_RIGHT);
    return 0;
}

void BarsTest::SetUp()
{
    ASSERT_TRUE(m_sandbox.IsActive());
    m_app.SetRegistryKey("Pellmoor");
}

void BarsTest::TearDown()
{
    CloseFrame();
}

CTestFrame* BarsTest::MakeFrame()
{
    m_frame = new CTestFrame;
    if (!m_frame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW, CRect(40, 30, 940, 670))) {
        delete m_frame;
        m_frame = nullptr;
        return nullptr;
    }
    m_frame->ShowWindow(SW_SHOWNORMAL);
    m_frame->RecalcLayout();
    Idle();
    return m_frame;
}

void BarsTest::CloseFrame()
{
    if (m_frame) {
        m_frame->DestroyWindow();
        m_frame = nullptr;
    }
    testwin::PumpMessages(20);
}

void BarsTest::Idle()
{
    // Twice: a layout may ask for another one.
    for (int pass = 0; pass < 2; ++pass) {
        testwin::PumpMessages(10);
        m_frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        m_frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    }
    m_frame->UpdateWindow();
    testwin::PumpMessages(30);
}

void BarsTest::DragNonClient(CWnd* bar, UINT hitTest, CPoint from, CPoint to)
{
    ::SetCursorPos(from.x, from.y);
    bar->SendMessage(WM_NCLBUTTONDOWN, hitTest, MAKELPARAM(from.x, from.y));
    // The capture holder gets the moves, in its own client coordinates.
    HWND capture = ::GetCapture();
    ASSERT_NE(nullptr, capture);
    const int steps = 4;
    for (int step = 1; step <= steps; ++step) {
        CPoint point = from + CSize((to.x - from.x) * step / steps, (to.y - from.y) * step / steps);
        ::SetCursorPos(point.x, point.y);
        ::ScreenToClient(capture, &point);
        ::SendMessageA(capture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    }
    CPoint release = to;
    ::ScreenToClient(capture, &release);
    ::SendMessageA(capture, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    Idle();
}

CRect BarsTest::InFrame(CWnd* bar) const
{
    CRect rect;
    bar->GetWindowRect(&rect);
    m_frame->ScreenToClient(&rect);
    return rect;
}

std::string BarsTest::Screenshot(CWnd* window, const char* name) const
{
    return testwin::ScreenPicture::OfWindow(window->m_hWnd).Save(name);
}

std::string BarsTest::FrameScreenshot(const char* name) const
{
    std::vector<CWnd*> windows = {m_frame};
    for (CControlBar* bar : m_frame->m_listControlBars) {
        if (!bar->m_hWnd || !bar->IsVisible() || !bar->IsFloating())
            continue;
        CWnd* floating = bar->GetDockingFrame();
        if (std::find(windows.begin(), windows.end(), floating) == windows.end())
            windows.push_back(floating);
    }
    CRect frame;
    m_frame->GetWindowRect(&frame);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, frame.Width(), frame.Height());
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    for (CWnd* window : windows) {
        CRect place;
        window->GetWindowRect(&place);
        HDC own = ::GetWindowDC(window->m_hWnd);
        ::BitBlt(memory, place.left - frame.left, place.top - frame.top, place.Width(), place.Height(), own, 0, 0,
                 SRCCOPY);
        ::ReleaseDC(window->m_hWnd, own);
    }
    std::string path = testwin::ScreenPicture::OfDC(memory, CRect(0, 0, frame.Width(), frame.Height())).Save(name);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return path;
}

COLORREF BarsTest::ScreenPixel(CPoint screenPoint) const
{
    // Read from the frame's own surface: windows of other test programs
    // may lie over it on the shared desktop.
    CRect window;
    m_frame->GetWindowRect(&window);
    HDC frame = ::GetWindowDC(m_frame->m_hWnd);
    COLORREF colour = ::GetPixel(frame, screenPoint.x - window.left, screenPoint.y - window.top);
    ::ReleaseDC(m_frame->m_hWnd, frame);
    return colour;
}

}  // namespace barstest
