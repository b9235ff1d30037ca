// Records the messages a window receives, for tests that drive real windows:
// subclass a window of the code under test, or make a hidden recording
// window to stand as a notify target, then compare what arrived with the
// expected sequence.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/gtest.h"

namespace testwin {

struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageLog {
public:
    // Records only the listed messages; an empty list records every message.
    explicit MessageLog(std::vector<UINT> recorded = {});
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Subclasses the window: its messages are recorded, then handled by its
    // own procedure as before. Undone when the log is destroyed.
    bool Attach(HWND window);

    // A hidden top-level window of this thread that records the messages
    // it receives from WM_USER up (the program's own) and answers them 0;
    // destroyed with the log.
    HWND CreateRecorder();

    void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    const std::vector<LoggedMessage>& Entries() const { return m_entries; }
    std::vector<UINT> Messages() const;
    size_t Count(UINT message) const;
    void Clear() { m_entries.clear(); }

    // Pumps this thread's messages until the message has been recorded (or
    // the count of it reaches n); false after the timeout.
    bool WaitFor(UINT message, DWORD timeoutMs, size_t n = 1);

private:
    struct Subclass {
        HWND window;
        WNDPROC original;
    };
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static MessageLog* FromWindow(HWND window);
    WNDPROC OriginalOf(HWND window) const;

    std::vector<UINT> m_recorded;
    std::vector<LoggedMessage> m_entries;
    std::vector<Subclass> m_subclasses;
    std::vector<HWND> m_recorders;
};

// Pumps this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);

// Succeeds when the recorded messages, in order, equal the expected ones;
// the failure lists both sequences in hexadecimal.
testing::AssertionResult MessagesAre(const MessageLog& log, const std::vector<UINT>& expected);

}  // namespace testwin
