// A running drawing thread for tests: a hidden recording window as its
// notify target, the test files, and the drawing library's own picture of a
// file to compare the thread's picture with.
#pragma once
#include <windows.h>

#include <string>

#include "drawing/common/draw_messages.h"
#include "drawing/draw_thread/draw_thread.h"
#include "tests/support/message_log.h"
#include "tests/support/registry_sandbox.h"

namespace drawtest {

// A test file (DRAWING_FIXTURES) as a Win32 path.
std::string Fixture(const char* name);

// Pixel (x, y) of a device, 0x00RRGGBB.
DWORD PixelAt(const CGDIDevice& device, int x, int y);
bool SamePixels(const CGDIDevice& a, const CGDIDevice& b);
// Pixels that differ from the colour at (0, 0), and their bounding box.
int CountForeground(const CGDIDevice& device, RECT* box);
// What the drawing library draws of the file at that size (opened and
// sized, then zoomExtents when asked, then `zoomIns` zoom-in steps).
void LibraryPicture(const char* fixture, int width, int height, bool zoomExtents, int zoomIns, bool quickMode,
                    CGDIDevice& picture);
// Ends the thread as the program's stop sequence does; false when it did
// not end in time.
bool StopThread(TDwgDrawThread* thread);

class DrawThreadTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Pumps until n WM_DRAW_DONE have arrived in all; false after 20 s.
    bool WaitForDone(size_t n = 1);
    bool OpenAndWait(const char* fixture, int width, int height, bool zoomExtents = false);
    // The thread's last picture (empty when it could not be copied).
    void TakePicture(CGDIDevice& picture);
    // The library's picture in the thread's quick mode.
    void LibraryPicture(const char* fixture, int width, int height, bool zoomExtents, int zoomIns,
                        CGDIDevice& picture);
    // The messages recorded so far: message, wParam and lParam of each.
    std::vector<std::vector<LONG_PTR>> Recorded() const;

    RegistrySandbox m_registry;
    testwin::MessageLog m_log{{WM_DRAW_DONE, WM_DRAW_OPENED, WM_DRAW_PROGRESS}};
    HWND m_window = NULL;
    TDwgDrawThread* m_thread = NULL;
};

}  // namespace drawtest
