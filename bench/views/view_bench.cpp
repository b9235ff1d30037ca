// Times view mode on a large DXF in a real view frame: a mouse-wheel zoom
// step and a pan drag frame, each from the input message to the repainted
// view, beside the bare drawing library's render of the same view change
// (the peer: what the views and the thread add is the difference). Quick
// and full mode; each figure is the median of several runs.
#include "views/viewer/view_frame.h"

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "core/appsw.h"
#include "drawing/draw_thread/draw_thread.h"
#include "resources/resource.h"

namespace {

const int kRuns = 9;
const DWORD kTimeoutMs = 120000;
const int kPanStep = 12;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Pumps until the thread is idle with nothing queued, then paints the view.
bool Settle(TDwgDrawThread& thread, CViewFrame& frame)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kTimeoutMs) {
        MSG message;
        bool any = false;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message != WM_TIMER)
                any = true;
            DispatchMessageA(&message);
        }
        if (!any && !thread.IsBusy() && !thread.IsOpening()) {
            frame.GetView()->UpdateWindow();
            GdiFlush();
            return true;
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_ALLINPUT);
    }
    return false;
}

struct Figures {
    double wheel;
    double pan;
};

Figures TimeFrame(TDwgDrawThread& thread, CViewFrame& frame)
{
    HWND view = frame.GetView()->GetSafeHwnd();
    CRect client;
    frame.GetView()->GetClientRect(&client);
    POINT centre = {client.Width() / 2, client.Height() / 2};
    POINT screen = centre;
    ClientToScreen(view, &screen);
    std::vector<double> wheel, pan;
    frame.SendMessage(WM_COMMAND, ID_VIEW_PAN, 0);
    for (int run = 0; run < kRuns; ++run) {
        frame.SendMessage(WM_COMMAND, ID_VIEW_ZOOM_ALL, 0);
        Settle(thread, frame);
        LARGE_INTEGER start = Now();
        frame.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(screen.x, screen.y));
        Settle(thread, frame);
        wheel.push_back(Milliseconds(start, Now()));

        SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
        Settle(thread, frame);
        start = Now();
        SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(centre.x + kPanStep, centre.y + kPanStep));
        Settle(thread, frame);
        pan.push_back(Milliseconds(start, Now()));
        SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(centre.x + kPanStep, centre.y + kPanStep));
        Settle(thread, frame);
    }
    return {Median(wheel), Median(pan)};
}

Figures TimeBare(const char* path, int width, int height, bool quickMode)
{
    CGDIDevice device;
    device.Create(width, height, 3);
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    Figures figures = {-1, -1};
    if (drawing->open(path, "") != 0) {
        CDrawing::DeleteDrawing(drawing);
        return figures;
    }
    drawing->setQuickMode(quickMode);
    drawing->setViewSize(width, height);
    std::vector<double> wheel, pan;
    for (int run = 0; run < kRuns; ++run) {
        drawing->zoomExtents(0, 0, 1.0);
        drawing->draw(device.m_hDC);
        LARGE_INTEGER start = Now();
        drawing->zoomInAt(width / 2, height / 2, 1);
        drawing->draw(device.m_hDC);
        GdiFlush();
        wheel.push_back(Milliseconds(start, Now()));
        start = Now();
        drawing->pan(width / 2, height / 2, width / 2 + kPanStep, height / 2 - kPanStep);
        drawing->draw(device.m_hDC);
        GdiFlush();
        pan.push_back(Milliseconds(start, Now()));
    }
    CDrawing::DeleteDrawing(drawing);
    return {Median(wheel), Median(pan)};
}

void Report(const char* mode, const Figures& view, const Figures& bare)
{
    printf("%s mode: wheel zoom step %.1f ms (bare library %.1f ms), pan drag frame %.1f ms (bare library "
           "%.1f ms); goal in quick mode under 100 ms a step\n",
           mode, view.wheel, bare.wheel, view.pan, bare.pan);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: view_bench FILE.dxf\n");
        return 2;
    }
    const char* path = argv[1];
    AppSW.mode = APPMODE_VIEW;
    TDwgDrawThread thread;
    if (!thread.Create()) {
        fprintf(stderr, "the drawing thread did not start\n");
        return 1;
    }
    AppSW.drawThread = &thread;
    CViewFrame* frame = new CViewFrame;
    if (!frame->LoadFrame(IDR_VIEW_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, NULL)) {
        fprintf(stderr, "the view frame was not made\n");
        return 1;
    }
    AppSW.viewFrame = frame;
    thread.SetNotifyWnd(frame->GetSafeHwnd());
    frame->ShowWindow(SW_SHOW);
    ::SetWindowPos(frame->GetSafeHwnd(), HWND_TOP, 0, 0, 1280, 960, SWP_SHOWWINDOW);
    AppSW.SetViewPath(path);
    CRect client;
    frame->GetClientRect(&client);
    thread.OpenFile(-1, path, client.Width(), client.Height(), true);
    if (!Settle(thread, *frame) || !thread.HasDrawing()) {
        fprintf(stderr, "the drawing did not open\n");
        return 1;
    }
    CRect view;
    frame->GetView()->GetClientRect(&view);
    printf("%d x %d view, median of %d runs\n", view.Width(), view.Height(), kRuns);
    const bool modes[] = {true, false};
    for (bool quick : modes) {
        thread.SetQuickMode(quick);
        frame->SendMessage(WM_COMMAND, ID_VIEW_REGEN, 0);
        Settle(thread, *frame);
        Report(quick ? "quick" : "full", TimeFrame(thread, *frame),
               TimeBare(path, view.Width(), view.Height(), quick));
    }
    frame->DestroyWindow();
    thread.Stop(5000);
    return 0;
}
