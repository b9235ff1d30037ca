// The drawing thread: owns the open drawing and runs numbered drawing
// commands for the preview pane and the view frame, answering their window.
#pragma once
#include <windows.h>

#include "drawing/common_thread.h"
#include "drawing/draw_commands.h"
#include "platform/classlib/classlib_core.h"

class TDwgDrawThread : public CDrawCommonThread {
public:
    TDwgDrawThread();
    ~TDwgDrawThread() override;

    void OnProgress(int value) override;
    DWORD Run() override;

    // Opens a file: a load in progress is abandoned, the newest request wins.
    void OpenFile(int kind, const char* path, int width, int height, bool zoomExtents);
    // Signals the command loop: always when forced, else under the wake rule.
    void Wake(bool force);
    // A view command with its points; dropped while a file opens, while a
    // command runs, or when nothing is loaded.
    void PostCommand(int code, const POINT* first, const POINT* second, bool sync);
    void SetPassword(const char* password, void* companion);
    // Does nothing yet: the drawing thread runs no commands so far.
    void RedrawIfIdle();

    CString GetFilePath() const { return m_path; }
    int GetFileKind() const { return m_fileKind; }
    int GetPendingCommand() const { return m_pendingCommand; }
    HANDLE GetEventHandle() const { return m_event->GetHandle(); }

    // Asks the drawing library to abandon the file it is loading.
    volatile BYTE m_cancel;

private:
    bool IsSomethingLoaded() const;
    bool WakeRuleHolds() const;

    int m_fileKind;
    int m_requestedWidth;
    int m_requestedHeight;
    CWin32ThreadEvent* m_event;
    CString m_password;
    void* m_companion;
    volatile BYTE m_busy;
    volatile BYTE m_opening;
    CString m_path;
    POINT m_firstPoint;
    POINT m_secondPoint;
    volatile int m_pendingCommand;
};
