#include "tests/views/viewer/viewer_harness.h"

#include "core/appsw.h"
#include "resources/resource.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"

namespace viewtest {

namespace {

const int kFrameWidth = 640;
const int kFrameHeight = 480;

}  // namespace

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
    // Away from the pointer, which rests where an earlier test left it: the
    // display's own mouse messages would reach the view amid a test's
    // gestures.
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    int x = pointer.x < GetSystemMetrics(SM_CXSCREEN) / 2 ? GetSystemMetrics(SM_CXSCREEN) - kFrameWidth : 0;
    int y = pointer.y < GetSystemMetrics(SM_CYSCREEN) / 2 ? GetSystemMetrics(SM_CYSCREEN) - kFrameHeight : 0;
    ::SetWindowPos(m_frame->GetSafeHwnd(), HWND_TOP, x, y, kFrameWidth, kFrameHeight, SWP_SHOWWINDOW);
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
    return OpenPath(drawtest::Fixture(fixture));
}

bool ViewerTest::OpenPath(const std::string& path)
{
    AppSW.SetViewPath(path.c_str());
    m_frame->UpdateTitle();
    CRect client;
    m_frame->GetClientRect(&client);
    m_thread->OpenFile(-1, path.c_str(), client.Width(), client.Height(), false);
    return Settle() && m_thread->GetFileKind() >= 0;
}

bool ViewerTest::Settle()
{
    return viewtest::Settle(m_thread);
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

void ViewerTest::Command(UINT id)
{
    m_frame->SendMessage(WM_COMMAND, id, 0);
    Settle();
}

CommandState ViewerTest::StateOf(UINT id)
{
    CommandState state;
    state.m_nID = id;
    state.DoUpdate(m_frame, TRUE);
    return state;
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
    MSG msg = {ViewWindow(), WM_KEYDOWN, key, 0, 0, {0, 0}};
    if (!m_frame->PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Settle();
}

}  // namespace viewtest
