// A view frame in view mode over a running drawing thread, as the
// application sets it up: the frame is the thread's notify window, the
// mode switches are recorded. Files are opened as the browser opens them
// and the tests drive the view with the messages a user's mouse and
// keyboard make, then look at what the view shows on the screen.
#pragma once
#include <windows.h>

#include <string>

#include "graphics/gdi_device.h"
#include "tests/drawing/draw_thread/draw_thread_harness.h"
#include "tests/support/appsw_actions_log.h"
#include "tests/support/registry_sandbox.h"
#include "tests/views/support/view_test_support.h"
#include "views/viewer/view_frame.h"

namespace viewtest {

// The enable and check state a command's update handlers give.
struct CommandState : CCmdUI {
    BOOL enabled = FALSE;
    int check = 0;
    void Enable(BOOL on) override { enabled = on; }
    void SetCheck(int state) override { check = state; }
};

class ViewerTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a test file as view mode does and waits until the view shows
    // it; false after 20 s.
    bool Open(const char* fixture);
    // The same for a file given by its Win32 path.
    bool OpenPath(const std::string& path);
    // Pumps messages until the thread is idle and nothing has arrived for
    // a while; false after 20 s.
    bool Settle();
    // What the drawing view shows on the screen.
    void CaptureView(CGDIDevice& picture);
    // Bounding box of the pixels that differ from the background, and
    // their count.
    int Foreground(RECT* box);

    void Command(UINT id);
    // What the frame's update handlers say of the command.
    CommandState StateOf(UINT id);
    // Input in the drawing view's client coordinates.
    void Click(UINT down, UINT up, WPARAM buttons, POINT at);
    void Drag(UINT down, UINT up, WPARAM buttons, POINT from, POINT to);
    void Wheel(short delta, POINT at, WPARAM keys = 0);
    void Key(UINT key);

    CDwgView* View() { return m_frame->GetView(); }
    HWND ViewWindow() { return m_frame->GetView()->GetSafeHwnd(); }

    RegistrySandbox m_registry;
    testwin::AppSWActionsLog m_actions;
    TDwgDrawThread* m_thread = NULL;
    CViewFrame* m_frame = NULL;
};

}  // namespace viewtest
