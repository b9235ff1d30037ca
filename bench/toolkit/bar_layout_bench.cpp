// Resizes a docking frame with four docked bars (a tool bar on top, two
// sizing bars on the left, one on the right) and a status bar, and a bare
// frame that lays out five plain child windows the same way, through the
// same sizes; prints the mean, median, 95th percentile and worst time of one
// layout + repaint of each, and how many steps took over 16 ms. The frames
// are measured twice: as top-level windows (the resize then includes the
// display server's own work on the frame's window) and as child windows of
// one host window (layout and painting alone). Run it through
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

// Both frames take the window class the browse frame registers: class
// style 0, so a resize repaints what it uncovered and what moved, not every
// child window.
BOOL UsePlainFrameClass(CREATESTRUCTA& cs, BOOL defaultsTaken)
{
    if (!defaultsTaken)
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, nullptr);
    return TRUE;
}

class CBenchFrame : public CCJFrameWnd {
public:
    CCJToolBar m_toolBar;
    CCJStatusBar m_statusBar;
    CCJControlBar m_bars[3];
    CStatic m_pane;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        return UsePlainFrameClass(cs, CCJFrameWnd::PreCreateWindow(cs));
    }

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
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        return UsePlainFrameClass(cs, CFrameWnd::PreCreateWindow(cs));
    }

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

// What a step repaints after the resize: nothing (the windows are moved
// without redrawing), what the resize itself invalidated, or every window
// with its frame.
enum class Repaint { kNone, kWhatChanged, kEverything };

struct Timing {
    double mean;
    double median;
    double percentile95;
    double worst;
    int overBudget;  // steps over 16 ms
};

Timing Summarize(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    double sum = 0;
    int over = 0;
    for (double time : times) {
        sum += time;
        over += time > 16.0;
    }
    size_t count = times.size();
    return {sum / count, times[count / 2], times[std::min(count - 1, count * 95 / 100)], times.back(), over};
}

// One step: a new frame size (its layout runs on WM_SIZE) and the repaint
// asked for, drawn before the step ends.
Timing TimeResizes(CFrameWnd* frame, int steps, Repaint repaint)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int step = 0; step < steps; ++step) {
        int width = 900 + (step % 20) * 12, height = 640 + (step % 15) * 10;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        frame->SetWindowPos((HWND)nullptr, 0, 0, width, height,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                (repaint == Repaint::kNone ? SWP_NOREDRAW : 0));
        if (repaint == Repaint::kWhatChanged)
            frame->RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
        else if (repaint == Repaint::kEverything)
            frame->RedrawWindow(nullptr, nullptr,
                                RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        QueryPerformanceCounter(&end);
        times.push_back(double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
        Pump();
    }
    return Summarize(times);
}

void PrintTiming(const char* frameName, const Timing& timing)
{
    printf("    %-8s mean %6.2f  median %6.2f  95%% %6.2f  worst %6.2f ms  over 16 ms: %d\n", frameName,
           timing.mean, timing.median, timing.percentile95, timing.worst, timing.overBudget);
}

// Times one kind of step on the docking frame and then on the bare one,
// each alone on the screen.
void MeasureStep(const char* title, CFrameWnd* docking, CFrameWnd* bare, int steps, Repaint repaint)
{
    docking->ShowWindow(SW_SHOW);
    Pump();
    TimeResizes(docking, 20, repaint);
    Timing ours = TimeResizes(docking, steps, repaint);
    docking->ShowWindow(SW_HIDE);
    bare->ShowWindow(SW_SHOW);
    Pump();
    TimeResizes(bare, 20, repaint);
    Timing peer = TimeResizes(bare, steps, repaint);
    bare->ShowWindow(SW_HIDE);
    Pump();
    printf("  %s\n", title);
    PrintTiming("docking", ours);
    PrintTiming("bare", peer);
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
    printf("%s frames, %d steps (docking: 4 docked bars + status bar; bare: 5 plain child windows)\n", kind,
           steps);
    MeasureStep("resize + RecalcLayout + the repaint the resize asks for", docking, bare, steps,
                Repaint::kWhatChanged);
    MeasureStep("resize + RecalcLayout + every window repainted", docking, bare, steps, Repaint::kEverything);
    MeasureStep("resize + RecalcLayout without painting", docking, bare, steps, Repaint::kNone);
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
