#include "tests/support/message_log.h"

#include <stdio.h>

namespace testwin {

namespace {

const char kLogProperty[] = "HarbeckTestMessageLog";
const char kRecorderClass[] = "HarbeckTestRecorder";

std::string HexList(const std::vector<UINT>& messages)
{
    std::string text;
    char number[16];
    for (UINT message : messages) {
        snprintf(number, sizeof(number), "%s0x%X", text.empty() ? "" : " ", message);
        text += number;
    }
    return text.empty() ? "(none)" : text;
}

}  // namespace

MessageLog::MessageLog(std::vector<UINT> recorded) : m_recorded(std::move(recorded)) {}

MessageLog::~MessageLog()
{
    for (const Subclass& subclass : m_subclasses) {
        if (!IsWindow(subclass.window))
            continue;
        SetWindowLongPtrA(subclass.window, GWLP_WNDPROC, (LONG_PTR)subclass.original);
        RemovePropA(subclass.window, kLogProperty);
    }
    for (HWND recorder : m_recorders) {
        if (IsWindow(recorder))
            DestroyWindow(recorder);
    }
}

bool MessageLog::Attach(HWND window)
{
    if (!IsWindow(window) || GetPropA(window, kLogProperty) != NULL)
        return false;
    SetPropA(window, kLogProperty, this);
    WNDPROC original = (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)&MessageLog::SubclassProc);
    m_subclasses.push_back({window, original});
    return true;
}

HWND MessageLog::CreateRecorder()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &MessageLog::RecorderProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = kRecorderClass;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    HWND window = CreateWindowExA(0, kRecorderClass, "", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    if (window == NULL)
        return NULL;
    SetPropA(window, kLogProperty, this);
    m_recorders.push_back(window);
    return window;
}

void MessageLog::Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_recorded.empty()) {
        bool wanted = false;
        for (UINT recorded : m_recorded)
            wanted = wanted || recorded == message;
        if (!wanted)
            return;
    }
    m_entries.push_back({window, message, wParam, lParam});
}

std::vector<UINT> MessageLog::Messages() const
{
    std::vector<UINT> messages;
    for (const LoggedMessage& entry : m_entries)
        messages.push_back(entry.message);
    return messages;
}

size_t MessageLog::Count(UINT message) const
{
    size_t count = 0;
    for (const LoggedMessage& entry : m_entries)
        count += entry.message == message ? 1 : 0;
    return count;
}

bool MessageLog::WaitFor(UINT message, DWORD timeoutMs, size_t n)
{
    DWORD start = GetTickCount();
    while (Count(message) < n) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

MessageLog* MessageLog::FromWindow(HWND window)
{
    return (MessageLog*)GetPropA(window, kLogProperty);
}

WNDPROC MessageLog::OriginalOf(HWND window) const
{
    for (const Subclass& subclass : m_subclasses) {
        if (subclass.window == window)
            return subclass.original;
    }
    return NULL;
}

LRESULT CALLBACK MessageLog::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageLog* log = FromWindow(window);
    if (log == NULL)
        return DefWindowProcA(window, message, wParam, lParam);
    WNDPROC original = log->OriginalOf(window);
    log->Record(window, message, wParam, lParam);
    if (original == NULL)
        return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(original, window, message, wParam, lParam);
}

LRESULT CALLBACK MessageLog::RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageLog* log = FromWindow(window);
    if (log != NULL && message >= WM_USER)
        log->Record(window, message, wParam, lParam);
    if (message < WM_USER)
        return DefWindowProcA(window, message, wParam, lParam);
    return 0;
}

void PumpMessages(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

testing::AssertionResult MessagesAre(const MessageLog& log, const std::vector<UINT>& expected)
{
    std::vector<UINT> actual = log.Messages();
    if (actual == expected)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "expected " << HexList(expected) << "\n  actual " << HexList(actual);
}

}  // namespace testwin
