#include "tests/views/support/view_test_support.h"

#include <commctrl.h>

#include <string>

#include "platform/zrui/layer_manager_dialog.h"
#include "resources/zrui_ids.h"
#include "tests/drawing/draw_thread/draw_thread_harness.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_files.h"

namespace viewtest {

namespace {

const DWORD kWaitMs = 20000;
// How long nothing may arrive before the windows count as settled.
const DWORD kQuietMs = 150;

}  // namespace

bool Settle(TDwgDrawThread* thread)
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
        bool idle = !thread->IsBusy() && !thread->IsOpening();
        if (any || !idle)
            lastMessage = GetTickCount();
        else if (GetTickCount() - lastMessage > kQuietMs)
            return true;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    return false;
}

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

int CountColour(const CGDIDevice& picture, DWORD rgb)
{
    int count = 0;
    for (int y = 0; y < picture.m_nHeight; ++y)
        for (int x = 0; x < picture.m_nWidth; ++x)
            count += drawtest::PixelAt(picture, x, y) == rgb ? 1 : 0;
    return count;
}

void SwitchLayerOff(HWND dialog, const char* layer)
{
    HWND list = GetDlgItem(dialog, IDC_ZRUI_LAYER_LIST);
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = layer;
    int row = (int)SendMessageA(list, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find);
    ASSERT_GE(row, 0);
    RECT cell = {};
    cell.top = ZrUI::CLayerManagerDialog::kOnColumn;
    cell.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETSUBITEMRECT, row, (LPARAM)&cell);
    testwin::ClickAt(list, {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
}

}  // namespace viewtest
