#include "tests/views/viewer/viewer_harness.h"

#include <string.h>

#include "core/appsw.h"
#include "resources/resource.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"

namespace viewtest {

namespace {

const DWORD kWaitMs = 20000;
// How long nothing may arrive before the view counts as settled.
const DWORD kQuietMs = 150;

}  // namespace

void CaptureWindow(HWND window, CGDIDevice& picture)
{
    RECT client;
    GetClientRect(window, &client);
    ASSERT_TRUE(picture.Create(client.right, client.bottom, 3) || picture.m_nWidth == client.right);
    HDC screen = GetDC(window);
    BitBlt(picture.m_hDC, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    GdiFlush();
}

void KeepScreenshot(const CGDIDevice& picture, const char* name)
{
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    DWORD imageSize = (DWORD)picture.m_nStride * picture.m_nHeight;
    file.bfSize = file.bfOffBits + imageSize;
    BITMAPINFOHEADER info = *picture.m_pHeader;
    info.biSizeImage = imageSize;
    std::string bytes((const char*)&file, sizeof(file));
    bytes.append((const char*)&info, sizeof(info));
    bytes.append((const char*)picture.m_pBits, imageSize);
    std::string folder = testfiles::BinaryDir() + "/tests/views/screenshots";
    CreateDirectoryA(testfiles::ToWinePath(folder).c_str(), NULL);
    EXPECT_TRUE(testfiles::WriteFileBytes(testfiles::ToWinePath(folder + "/" + name + ".bmp"), bytes));
}

void ViewerTest::SetUp()
{
    ASSERT_TRUE(m_registry.IsActive());
    AppSW.mode = APPMODE_VIEW;
    m_thread = new TDwgDrawThread;
    ASSERT_TRUE(m_thread->Create());
    AppSW.drawThread = m_thread;
    m_frame = new CViewFrame;
    ASSERT_TRUE(m_frame->LoadFrame(IDR_VIEW_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, NULL));
    AppSW.viewFrame = m_frame;
    m_thread->SetNotifyWnd(m_frame->GetSafeHwnd());
    m_frame->ShowWindow(SW_SHOW);
    ::SetWindowPos(m_frame->GetSafeHwnd(), HWND_TOP, 0, 0, 640, 480, SWP_SHOWWINDOW);
    SetForegroundWindow(m_frame->GetSafeHwnd());
    m_frame->UpdateWindow();
}

void ViewerTest::TearDown()
{
    if (m_frame != NULL)
        m_frame->DestroyWindow();
    if (m_thread != NULL) {
        EXPECT_TRUE(drawtest::StopThread(m_thread));
        delete m_thread;
    }
    AppSW = CAppSW();
}

bool ViewerTest::Open(const char* fixture)
{
    std::string path = drawtest::Fixture(fixture);
    AppSW.SetViewPath(path.c_str());
    m_frame->UpdateTitle();
    CRect client;
    m_frame->GetClientRect(&client);
    m_thread->OpenFile(-1, path.c_str(), client.Width(), client.Height(), false);
    return Settle() && m_thread->GetFileKind() >= 0;
}

bool ViewerTest::Settle()
{
    DWORD start = GetTickCount();
    DWORD lastMessage = GetTickCount();
    while (GetTickCount() - start < kWaitMs) {
        MSG msg;
        bool any = false;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            // Timers tick on their own; only other messages mean that
            // something is still going on.
            if (msg.message != WM_TIMER)
                any = true;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        bool idle = !m_thread->m_busy && !m_thread->m_opening;
        if (any || !idle)
            lastMessage = GetTickCount();
        else if (GetTickCount() - lastMessage > kQuietMs)
            return true;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    return false;
}

void ViewerTest::CaptureView(CGDIDevice& picture)
{
    View()->UpdateWindow();
    CaptureWindow(ViewWindow(), picture);
}

int ViewerTest::Foreground(RECT* box)
{
    CGDIDevice picture;
    CaptureView(picture);
    return drawtest::CountForeground(picture, box);
}

int ViewerTest::CountColour(const CGDIDevice& picture, DWORD rgb)
{
    int count = 0;
    for (int y = 0; y < picture.m_nHeight; ++y)
        for (int x = 0; x < picture.m_nWidth; ++x)
            count += drawtest::PixelAt(picture, x, y) == rgb ? 1 : 0;
    return count;
}

void ViewerTest::Command(UINT id)
{
    m_frame->SendMessage(WM_COMMAND, id, 0);
    Settle();
}

void ViewerTest::Click(UINT down, UINT up, WPARAM buttons, POINT at)
{
    Drag(down, up, buttons, at, at);
}

void ViewerTest::Drag(UINT down, UINT up, WPARAM buttons, POINT from, POINT to)
{
    HWND view = ViewWindow();
    SendMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
    SendMessageA(view, down, buttons, MAKELPARAM(from.x, from.y));
    const int steps = 4;
    for (int i = 1; i <= steps; ++i) {
        int x = from.x + (to.x - from.x) * i / steps;
        int y = from.y + (to.y - from.y) * i / steps;
        SendMessageA(view, WM_MOUSEMOVE, buttons, MAKELPARAM(x, y));
        Settle();
    }
    SendMessageA(view, up, 0, MAKELPARAM(to.x, to.y));
    Settle();
}

void ViewerTest::Wheel(short delta, POINT at, WPARAM keys)
{
    POINT screen = at;
    ClientToScreen(ViewWindow(), &screen);
    m_frame->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(keys, (WORD)delta), MAKELPARAM(screen.x, screen.y));
    Settle();
}

void ViewerTest::Key(UINT key)
{
    MSG msg = {ViewWindow(), WM_KEYDOWN, key, 0};
    if (!m_frame->PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Settle();
}

}  // namespace viewtest
