// Times the drawing thread on a large DXF at 1920 x 1080: DCMD_OPEN_EXTENTS
// to WM_DRAW_DONE beside a bare CDrawing open, zoom to extents and render of
// the same file (the peer: what the thread adds is the difference), then one
// zoom-in step to WM_DRAW_DONE, through the loop and on the caller, in quick
// and in full mode. Each figure is the median of several runs.
#include "drawing/draw_thread/draw_thread.h"

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "core/appsw.h"
#include "drawing/common/draw_messages.h"

namespace {

const int kWidth = 1920;
const int kHeight = 1080;
const int kRuns = 5;
const DWORD kTimeoutMs = 120000;

LARGE_INTEGER g_answeredAt;
LPARAM g_answeredCode = 0;
bool g_answered = false;

LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAW_DONE) {
        QueryPerformanceCounter(&g_answeredAt);
        g_answeredCode = lParam;
        g_answered = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Pumps messages until WM_DRAW_DONE of the code arrives; its arrival time.
bool WaitForDone(int code, LARGE_INTEGER* at)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kTimeoutMs) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        if (g_answered && g_answeredCode == code) {
            g_answered = false;
            *at = g_answeredAt;
            return true;
        }
    }
    return false;
}

double ThreadOpen(TDwgDrawThread& thread, const char* path)
{
    g_answered = false;
    LARGE_INTEGER start = Now();
    thread.OpenFile(-1, path, kWidth, kHeight, true);
    LARGE_INTEGER done;
    if (!WaitForDone(DCMD_OPEN_EXTENTS, &done))
        return -1;
    return Seconds(start, done);
}

double BareOpen(const char* path, bool quickMode, CGDIDevice& device)
{
    LARGE_INTEGER start = Now();
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    if (drawing->open(path, "") != 0) {
        CDrawing::DeleteDrawing(drawing);
        return -1;
    }
    drawing->setQuickMode(quickMode);
    drawing->setViewSize(kWidth, kHeight);
    drawing->zoomExtents(0, 0, 1.0);
    drawing->draw(device.m_hDC);
    GdiFlush();
    LARGE_INTEGER done = Now();
    CDrawing::DeleteDrawing(drawing);
    return Seconds(start, done);
}

// One zoom-in step from the whole drawing, through the loop or at once on
// this thread; milliseconds to WM_DRAW_DONE.
double ZoomIn(TDwgDrawThread& thread, bool synchronous)
{
    thread.PostCommand(DCMD_ZOOM_EXTENTS, NULL, NULL, true);
    LARGE_INTEGER done;
    WaitForDone(DCMD_ZOOM_EXTENTS, &done);
    g_answered = false;
    LARGE_INTEGER start = Now();
    if (synchronous)
        thread.PostCommand(DCMD_ZOOM_IN, NULL, NULL, true);
    else
        thread.SetCommand(DCMD_ZOOM_IN);
    if (!WaitForDone(DCMD_ZOOM_IN, &done))
        return -1;
    return Seconds(start, done) * 1000.0;
}

void ReportZoom(TDwgDrawThread& thread, const char* mode)
{
    std::vector<double> loop, caller;
    for (int run = 0; run < kRuns; ++run) {
        loop.push_back(ZoomIn(thread, false));
        caller.push_back(ZoomIn(thread, true));
    }
    printf("zoom in to WM_DRAW_DONE, %s mode: %.1f ms through the loop, %.1f ms on the caller\n", mode,
           Median(loop), Median(caller));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: draw_thread_bench FILE.dxf\n");
        return 2;
    }
    const char* path = argv[1];
    AppSW.mode = APPMODE_VIEW;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = NotifyProc;
    windowClass.lpszClassName = "DrawThreadBench";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("DrawThreadBench", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);

    TDwgDrawThread thread;
    thread.SetNotifyWnd(window);
    if (!thread.Create()) {
        fprintf(stderr, "the drawing thread did not start\n");
        return 1;
    }
    CGDIDevice device;
    device.Create(kWidth, kHeight, 3);
    // The first open warms the file cache and the thread's device.
    ThreadOpen(thread, path);
    std::vector<double> threaded, bare;
    for (int run = 0; run < kRuns; ++run) {
        bare.push_back(BareOpen(path, thread.IsQuickMode(), device));
        threaded.push_back(ThreadOpen(thread, path));
    }
    double threadSeconds = Median(threaded), bareSeconds = Median(bare);
    printf("%d x %d, quick mode %s, median of %d runs\n", kWidth, kHeight, thread.IsQuickMode() ? "on" : "off",
           kRuns);
    printf("drawing thread, DCMD_OPEN_EXTENTS to WM_DRAW_DONE: %.3f s\n", threadSeconds);
    printf("bare CDrawing open + zoom extents + render:       %.3f s\n", bareSeconds);
    printf("ratio %.2f (goal at most 1.10)\n", threadSeconds / bareSeconds);

    bool quick = thread.GetViewFlag();
    thread.SetQuickMode(true);
    ReportZoom(thread, "quick");
    thread.SetQuickMode(false);
    ReportZoom(thread, "full");
    thread.SetQuickMode(quick);

    thread.Stop(5000);
    DestroyWindow(window);
    return 0;
}
