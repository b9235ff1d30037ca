#include "tests/zrui/dialog_driver.h"

#include <stdio.h>
#include <stdlib.h>

namespace zruitest {

namespace {

DialogScript* g_activeScript = nullptr;

BOOL CALLBACK CollectDialog(HWND window, LPARAM list)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window))
        ((std::vector<HWND>*)list)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> ActiveDialogs()
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, (LPARAM)&dialogs);
    return dialogs;
}

DialogScript::DialogScript() = default;

DialogScript::~DialogScript()
{
    if (m_timer)
        KillTimer(nullptr, m_timer);
    if (g_activeScript == this)
        g_activeScript = nullptr;
}

DialogScript& DialogScript::Then(const char* caption, std::function<void(HWND)> action)
{
    m_steps.push_back(Step{caption ? caption : "", caption == nullptr, action});
    return *this;
}

void DialogScript::Start(DWORD patienceMs)
{
    g_activeScript = this;
    m_patienceMs = patienceMs;
    m_lastProgress = GetTickCount();
    m_timer = SetTimer(nullptr, 0, 20, OnTimer);
}

void CALLBACK DialogScript::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_activeScript)
        g_activeScript->Tick();
}

void DialogScript::Tick()
{
    if (m_running || m_gaveUp)
        return;
    std::vector<HWND> dialogs = ActiveDialogs();
    if (m_next == m_steps.size()) {
        // A dialog the script did not expect would wait forever.
        if (!dialogs.empty() && GetTickCount() - m_lastProgress > m_patienceMs)
            GiveUp(dialogs, "(none)");
        return;
    }
    const Step& step = m_steps[m_next];
    for (HWND dialog : dialogs) {
        char caption[256] = "";
        GetWindowTextA(dialog, caption, sizeof(caption));
        if (step.anyCaption || step.caption == caption) {
            m_running = true;
            ++m_next;
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            step.action(dialog);
            m_running = false;
            m_lastProgress = GetTickCount();
            return;
        }
    }
    if (GetTickCount() - m_lastProgress > m_patienceMs)
        GiveUp(dialogs, step.caption.c_str());
}

void DialogScript::GiveUp(const std::vector<HWND>& dialogs, const char* awaited)
{
    fprintf(stderr, "DialogScript: waited for \"%s\"; cancelling", awaited);
    m_gaveUp = true;
    for (HWND dialog : dialogs) {
        char caption[256] = "";
        GetWindowTextA(dialog, caption, sizeof(caption));
        fprintf(stderr, " \"%s\"", caption);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    fprintf(stderr, "\n");
}

void Click(HWND dialog, int controlId)
{
    PostMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

void SetText(HWND dialog, int controlId, const char* text)
{
    SetDlgItemTextA(dialog, controlId, text);
}

std::string GetText(HWND dialog, int controlId)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, controlId, text, sizeof(text));
    return text;
}

void ClickAt(HWND window, POINT point, bool doubleClick)
{
    LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
    if (doubleClick) {
        PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(window, WM_LBUTTONUP, 0, at);
    }
}

void SaveShot(HWND window, const char* name)
{
    const char* folder = getenv("HARBECK_ZRUI_SHOTS");
    if (!folder || !*folder)
        return;
    RECT box;
    GetWindowRect(window, &box);
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
    SelectObject(memory, previous);
    GdiFlush();
    DWORD rowBytes = ((DWORD)width * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + rowBytes * height;
    char path[MAX_PATH];
    snprintf(path, sizeof(path), "%s\\%s.bmp", folder, name);
    HANDLE output = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (output != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(output, &file, sizeof(file), &written, nullptr);
        WriteFile(output, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr);
        WriteFile(output, bits, rowBytes * height, &written, nullptr);
        CloseHandle(output);
    }
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace zruitest
