#include "tests/app/dialog_driver.h"

#include <vector>

namespace apptest {

namespace {

DialogDriver* g_driver = NULL;

struct DialogSearch {
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM parameter)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    ((DialogSearch*)parameter)->found = window;
    return FALSE;
}

}  // namespace

DialogDriver::DialogDriver(std::function<void(HWND dialog)> action)
    : m_action(action),
      m_timer(SetTimer(NULL, 0, 50, Tick)),
      m_acted(false)
{
    g_driver = this;
}

DialogDriver::~DialogDriver()
{
    if (m_timer != 0)
        KillTimer(NULL, m_timer);
    g_driver = NULL;
}

VOID CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR timer, DWORD)
{
    DialogDriver* driver = g_driver;
    if (driver == NULL || driver->m_timer != timer || driver->m_acted)
        return;
    DialogSearch search = {NULL};
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&search);
    if (search.found == NULL)
        return;
    KillTimer(NULL, timer);
    driver->m_timer = 0;
    driver->m_acted = true;
    driver->m_action(search.found);
}

std::string WindowText(HWND window)
{
    std::vector<char> text(GetWindowTextLengthA(window) + 1);
    GetWindowTextA(window, text.data(), (int)text.size());
    return text.data();
}

std::string ControlText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

void ClickControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    RECT area;
    GetClientRect(control, &area);
    LPARAM middle = MAKELPARAM(area.right / 2, area.bottom / 2);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(control, WM_LBUTTONUP, 0, middle);
}

bool SaveWindowPicture(HWND window, const std::string& path)
{
    UpdateWindow(window);
    RECT frame;
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels((size_t)stride * height);
    GetDIBits(memory, picture, 0, height, pixels.data(), (BITMAPINFO*)&header, DIB_RGB_COLORS);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);

    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(header);
    fileHeader.bfSize = fileHeader.bfOffBits + (DWORD)pixels.size();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &fileHeader, sizeof(fileHeader), &written, NULL) &&
              WriteFile(file, &header, sizeof(header), &written, NULL) &&
              WriteFile(file, pixels.data(), (DWORD)pixels.size(), &written, NULL);
    CloseHandle(file);
    return ok;
}

}  // namespace apptest
