// Resizes a docking frame with four docked bars (a tool bar on top, two
// sizing bars on the left, one on the right) and a status bar, and a bare
// frame that lays out four plain child windows the same way, through the
// same sizes; prints the mean and worst time of one layout + repaint of
// each. The frames are measured twice: as top-level windows (the resize then
// includes the display server's own work) and as child windows of one
// host window (layout and painting alone). Run it through
// bench/toolkit/bar_layout_bench.sh.
//
//   bar_layout_bench.exe [steps]
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/frame_wnd.h"
#include "toolkit/bars/status_bar.h"
#include "toolkit/bars/tool_bar.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

namespace {

class CBenchFrame : public CCJFrameWnd {
public:
    CCJToolBar m_toolBar;
    CCJStatusBar m_statusBar;
    CCJControlBar m_bars[3];
    CStatic m_pane;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CCJFrameWnd::OnCreate(cs) == -1)
            return -1;
        m_pane.Create("", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST);
        m_toolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR);
        const UINT buttons[] = {100, 101, 0, 102, 103, 104, 0, 105, 106, 107, 108};
        m_toolBar.SetButtons(buttons, 11);
        const UINT panes[] = {0};
        m_statusBar.Create(this);
        m_statusBar.SetIndicators(panes, 1);
        m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_toolBar);
        const char* titles[] = {"Dir Tree", "PreView", "Third"};
        const UINT sides[] = {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};
        for (int i = 0; i < 3; ++i) {
            m_bars[i].Create(this, 105 + i, titles[i], 225, 100 + 20 * i, 0x11400, TRUE);
            m_bars[i].EnableDocking(CBRS_ALIGN_ANY);
            RecalcLayout();
            CRect below;
            m_bars[0].GetWindowRect(&below);
            below.OffsetRect(0, below.Height());
            DockControlBar(&m_bars[i], sides[i], i == 1 ? &below : nullptr);
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchFrame, CCJFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// The peer: a frame that places four plain windows and a pane itself.
class CBareFrame : public CFrameWnd {
public:
    CStatic m_children[5];

    void RecalcLayout(BOOL) override
    {
        if (!m_children[4].m_hWnd)
            return;
        CRect client;
        GetClientRect(&client);
        HDWP defer = BeginDeferWindowPos(5);
        const int top = 26, bottom = 22, left = 225, right = 225;
        CRect places[5] = {CRect(0, 0, client.right, top),
                           CRect(0, client.bottom - bottom, client.right, client.bottom),
                           CRect(0, top, left, client.bottom - bottom),
                           CRect(client.right - right, top, client.right, client.bottom - bottom),
                           CRect(left, top, client.right - right, client.bottom - bottom)};
        for (int i = 0; i < 5; ++i)
            defer = DeferWindowPos(defer, m_children[i].m_hWnd, nullptr, places[i].left, places[i].top,
                                   places[i].Width(), places[i].Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        EndDeferWindowPos(defer);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        for (CStatic& child : m_children)
            child.Create("", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, 1);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBareFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Timing {
    double mean;
    double worst;
};

// One step: a new frame size (its layout runs on WM_SIZE) and a repaint of
// the frame with every child, drawn before the step ends.
Timing TimeResizes(CFrameWnd* frame, int steps, bool paint = true)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int step = 0; step < steps; ++step) {
        int width = 900 + (step % 20) * 12, height = 640 + (step % 15) * 10;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        frame->SetWindowPos((HWND)nullptr, 0, 0, width, height,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (paint ? 0 : SWP_NOREDRAW));
        if (paint)
            frame->RedrawWindow(nullptr, nullptr,
                                RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        QueryPerformanceCounter(&end);
        times.push_back(double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
        Pump();
    }
    double sum = 0;
    for (double time : times)
        sum += time;
    return {sum / times.size(), *std::max_element(times.begin(), times.end())};
}

// Times both frames, made top-level or as children of the host.
void Measure(const char* kind, CWnd* host, int steps)
{
    CBenchFrame* docking = new CBenchFrame;
    CBareFrame* bare = new CBareFrame;
    DWORD style = host ? WS_CHILD | WS_CLIPSIBLINGS : WS_OVERLAPPEDWINDOW;
    if (!docking->Create(nullptr, "Docking frame", style, CRect(10, 10, 910, 650), host) ||
        !bare->Create(nullptr, "Bare frame", style, CRect(10, 10, 910, 650), host)) {
        fprintf(stderr, "the frames could not be made\n");
        exit(1);
    }
    // Warm-up, then the timed runs, each frame alone on the screen.
    docking->ShowWindow(SW_SHOW);
    Pump();
    TimeResizes(docking, 20);
    Timing ours = TimeResizes(docking, steps);
    Timing oursLayout = TimeResizes(docking, steps, false);
    docking->ShowWindow(SW_HIDE);
    bare->ShowWindow(SW_SHOW);
    Pump();
    TimeResizes(bare, 20);
    Timing peer = TimeResizes(bare, steps);
    Timing peerLayout = TimeResizes(bare, steps, false);
    printf("%s frames, resize + RecalcLayout + repaint, %d steps\n", kind, steps);
    printf("  docking frame, 4 docked bars + status bar: mean %.2f ms, worst %.2f ms\n", ours.mean, ours.worst);
    printf("  bare frame, 5 plain child windows:          mean %.2f ms, worst %.2f ms\n", peer.mean, peer.worst);
    printf("%s frames, resize + RecalcLayout without painting\n", kind);
    printf("  docking frame: mean %.2f ms, worst %.2f ms\n", oursLayout.mean, oursLayout.worst);
    printf("  bare frame:    mean %.2f ms, worst %.2f ms\n", peerLayout.mean, peerLayout.worst);
    docking->DestroyWindow();
    bare->DestroyWindow();
    Pump();
}

}  // namespace

int main(int argc, char** argv)
{
    int steps = argc > 1 ? atoi(argv[1]) : 200;
    if (steps < 1)
        steps = 200;
    Measure("top-level", nullptr, steps);
    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_WINDOW + 1)), "Host",
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 1200, 900, nullptr, nullptr);
    Measure("child", &host, steps);
    host.DestroyWindow();
    return 0;
}
