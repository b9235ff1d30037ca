#include "tests/support/dialog_script.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <iterator>

namespace testwin {

namespace {

// The scripts alive, oldest first; only the newest answers dialogs.
std::vector<DialogScript*> g_scripts;
// The dialogs an action of some script is running on.
std::set<HWND> g_busy;

BOOL CALLBACK CollectDialog(HWND window, LPARAM list)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window))
        ((std::vector<HWND>*)list)->push_back(window);
    return TRUE;
}

// The dialog windows of this thread that are visible and enabled, topmost
// first.
std::vector<HWND> ActiveDialogs()
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, (LPARAM)&dialogs);
    return dialogs;
}

}  // namespace

DialogScript::DialogScript()
{
    g_scripts.push_back(this);
}

DialogScript::DialogScript(std::vector<Action> anyDialogSteps) : DialogScript()
{
    for (const Action& action : anyDialogSteps)
        Then(nullptr, action);
    Start();
}

DialogScript::~DialogScript()
{
    if (m_timer)
        KillTimer(nullptr, m_timer);
    g_scripts.erase(std::remove(g_scripts.begin(), g_scripts.end(), this), g_scripts.end());
}

DialogScript& DialogScript::Then(const char* caption, Action action)
{
    m_steps.push_back(Step{caption ? caption : "", caption == nullptr, action});
    return *this;
}

DialogScript& DialogScript::ThenEach(Action action)
{
    m_each = action;
    return *this;
}

DialogScript& DialogScript::Start(DWORD patienceMs)
{
    m_patienceMs = patienceMs;
    m_lastProgress = GetTickCount();
    if (!m_timer)
        m_timer = SetTimer(nullptr, 0, 20, OnTimer);
    return *this;
}

void CALLBACK DialogScript::OnTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!g_scripts.empty() && g_scripts.back()->m_timer == timer)
        g_scripts.back()->Tick();
}

HWND DialogScript::Match(const Step& step, const std::vector<HWND>& dialogs) const
{
    for (HWND dialog : dialogs) {
        if (g_busy.count(dialog) != 0)
            continue;
        if (step.anyCaption || step.caption == WindowText(dialog))
            return dialog;
    }
    return nullptr;
}

void DialogScript::Tick()
{
    if (m_gaveUp)
        return;
    std::vector<HWND> dialogs = ActiveDialogs();
    if (m_next == m_steps.size()) {
        for (auto answered = m_answeredByEach.begin(); answered != m_answeredByEach.end();)
            answered = IsWindow(*answered) ? std::next(answered) : m_answeredByEach.erase(answered);
        for (HWND dialog : dialogs) {
            // Once each: an answer posted is not yet taken when the timer
            // comes round again.
            if (g_busy.count(dialog) != 0 || m_answeredByEach.count(dialog) != 0)
                continue;
            if (m_each) {
                m_answeredByEach.insert(dialog);
                Run(m_each, dialog);
            } else if (GetTickCount() - m_lastProgress > m_patienceMs) {
                GiveUp(dialogs, "(none)");
            }
            return;
        }
        return;
    }
    const Step& step = m_steps[m_next];
    HWND dialog = Match(step, dialogs);
    if (dialog != nullptr) {
        ++m_next;
        Run(step.action, dialog);
        return;
    }
    if (GetTickCount() - m_lastProgress > m_patienceMs)
        GiveUp(dialogs, step.caption.c_str());
}

void DialogScript::Run(const Action& action, HWND dialog)
{
    g_busy.insert(dialog);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Action running = action;
    running(dialog);
    g_busy.erase(dialog);
    m_lastProgress = GetTickCount();
}

void DialogScript::GiveUp(const std::vector<HWND>& dialogs, const char* awaited)
{
    fprintf(stderr, "DialogScript: waited for \"%s\"; cancelling", awaited);
    m_gaveUp = true;
    for (HWND dialog : dialogs) {
        fprintf(stderr, " \"%s\"", WindowText(dialog).c_str());
        Cancel(dialog);
    }
    fprintf(stderr, "\n");
}

void Click(HWND dialog, int controlId)
{
    PostMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

void Press(HWND dialog, int controlId)
{
    SendMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

void Cancel(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void ClickControl(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    RECT area;
    GetClientRect(control, &area);
    LPARAM middle = MAKELPARAM(area.right / 2, area.bottom / 2);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(control, WM_LBUTTONUP, 0, middle);
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

void SetText(HWND dialog, int controlId, const std::string& text)
{
    SetDlgItemTextA(dialog, controlId, text.c_str());
}

std::string GetText(HWND dialog, int controlId)
{
    return WindowText(GetDlgItem(dialog, controlId));
}

std::string WindowText(HWND window)
{
    std::vector<char> text(GetWindowTextLengthA(window) + 1);
    GetWindowTextA(window, text.data(), (int)text.size());
    return text.data();
}

std::string MessageBoxText(HWND box)
{
    return GetText(box, 0xFFFF);
}

bool SaveWindowPicture(HWND window, const std::string& path)
{
    UpdateWindow(window);
    RECT frame;
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr);
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
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(header);
    fileHeader.bfSize = fileHeader.bfOffBits + (DWORD)pixels.size();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &fileHeader, sizeof(fileHeader), &written, nullptr) &&
              WriteFile(file, &header, sizeof(header), &written, nullptr) &&
              WriteFile(file, pixels.data(), (DWORD)pixels.size(), &written, nullptr);
    CloseHandle(file);
    return ok;
}

void SavePictureIfAsked(HWND window, const std::string& name)
{
    const char* folder = getenv("HARBECK_DIALOG_PICTURES");
    if (folder != nullptr && *folder != '\0')
        SaveWindowPicture(window, std::string(folder) + "\\" + name);
}

}  // namespace testwin
