// A docking frame laid out as the browse frame is: a tool bar on top, a
// status bar below, two sizing bars ("Dir Tree" above "PreView") docked
// left, a third sizing bar docked right and a pane in the middle; and the
// helpers the bar tests share to drive it as a mouse would.
#pragma once
#include "tests/support/gtest.h"

#include "tests/support/registry_sandbox.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/frame_wnd.h"
#include "toolkit/bars/status_bar.h"
#include "toolkit/bars/tool_bar.h"

#include <string>

namespace barstest {

const UINT kTreeBarId = 106;
const UINT kPreviewBarId = 105;
const UINT kThirdBarId = 107;

// A sizing bar whose one child fills its client area, as the program's
// bars hold their panes.
class CPaneBar : public CCJControlBar {
public:
    CStatic m_pane;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};

class CTestFrame : public CCJFrameWnd {
public:
    CCJToolBar m_toolBar;
    CCJStatusBar m_statusBar;
    CPaneBar m_treeBar;
    CPaneBar m_previewBar;
    CPaneBar m_thirdBar;
    CStatic m_pane;
    int m_openCount = 0;
    BOOL m_quickMode = FALSE;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnOpen() { ++m_openCount; }
    afx_msg void OnQuickMode() { m_quickMode = !m_quickMode; }
    afx_msg void OnUpdateQuickMode(CCmdUI* state) { state->SetCheck(m_quickMode); }
    DECLARE_MESSAGE_MAP()
};

// Each test: a private registry, the application's profile "Pellmoor" /
// "Harbeck", and a frame shown at a known place.
class BarsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new frame at (40, 30), 900 x 640, laid out.
    CTestFrame* MakeFrame();
    void CloseFrame();
    // Lets the frame do its idle work (delayed layouts, command updates).
    void Idle();

    // Presses at a screen point with the hit code on a bar, moves to a
    // second screen point and releases there, as a mouse does.
    void DragNonClient(CWnd* bar, UINT hitTest, CPoint from, CPoint to);
    // The bar's window rectangle in the frame's client coordinates.
    CRect InFrame(CWnd* bar) const;
    // The window as it has drawn itself, read from its own surface (other
    // programs' windows may lie over it), saved as "<name>.bmp" among the
    // toolkit tests' screenshots; returns its path.
    std::string Screenshot(CWnd* window, const char* name) const;
    // The frame with its bars' floating frames drawn over it where they lie.
    std::string FrameScreenshot(const char* name) const;
    // The frame's pixel at a screen point.
    COLORREF ScreenPixel(CPoint screenPoint) const;

    RegistrySandbox m_sandbox;
    CWinApp m_app{"Harbeck"};
    CTestFrame* m_frame = nullptr;
};

}  // namespace barstest
